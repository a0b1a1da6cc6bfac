// libFuzzer target: archive bytes in; the directory is read (with the repair scan) and every entry is
// decoded to memory with a size cap.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zip/MemoryStream.h"
#include "zip/ZipErrors.h"
#include "zip/ZipExtractRun.h"
#include "zip/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brisko::zip;
  const std::vector<uint8_t> bytes(data, data + size);
  ZipReader reader;
  reader.StreamOpener = [&bytes](const std::string&) { return std::make_unique<MemoryStream>(bytes); };
  reader.IncompleteZipMode = IncompleteArchiveRule::AssumeBad;
  reader.Password = "Secret#123";
  reader.KeepZipOpen = true;  // one stream for all entries
  try {
    reader.SetZipName("fuzz.zip");
    reader.ReadDirectory();
    for (int i = 0; i < reader.EntryCount() && i < 64; ++i) {
      std::vector<uint8_t> out;
      ZipExtractRun::ExtractToBuffer(reader, i, 8u << 20, out);
    }
  } catch (const ZipError&) {
    // Rejecting a damaged archive is the expected outcome.
  }
  return 0;
}
