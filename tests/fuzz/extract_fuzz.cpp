// libFuzzer target: archive bytes in; the directory is read (with the repair scan) and every entry is
// decoded to memory with a size cap.
#include <cstdint>
#include <string>
#include <vector>

#include "zip/extract/EntryTest.h"
#include "zip/extract/ExtractJob.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/MemoryStream.h"
#include "zip/read/ArchiveDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brisko::zip;
  const std::vector<uint8_t> bytes(data, data + size);
  MemoryStreamOpener opener(bytes);
  DirectoryOptions options;
  options.streamOpener = &opener;
  options.incompleteZipMode = IncompleteArchiveRule::AssumeBad;
  options.keepZipOpen = true;  // one stream for all entries
  ArchiveDirectory archive(options);
  try {
    archive.SetZipName("fuzz.zip");
    archive.ReadDirectory();
    for (int i = 0; i < archive.EntryCount() && i < 64; ++i) {
      std::vector<uint8_t> out;
      ExtractToBuffer(archive, i, "Secret#123", 8u << 20, out);
    }
  } catch (const ZipError&) {
    // Rejecting a damaged archive is the expected outcome.
  }
  return 0;
}
