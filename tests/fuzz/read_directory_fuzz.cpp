// Fuzzes the reader: archive bytes in memory, directory read in two modes, every entry walked.
#include <cstdint>
#include <string>
#include <vector>

#include "zip/format/ZipErrors.h"
#include "zip/io/MemoryStream.h"
#include "zip/read/ArchiveDirectory.h"

namespace {

using namespace brisko::zip;

// Refuses every further disk of a split set.
class NoMoreDisks : public ArchiveObserver {
 public:
  std::optional<std::string> OnGetNextDisk(int, const std::string&) override { return std::string(); }
};

void Walk(const std::vector<uint8_t>& bytes, IncompleteArchiveRule mode, EntryOrder sort) {
  MemoryStreamOpener opener(bytes);
  NoMoreDisks observer;
  ArchiveDirectory reader({sort, mode, true, &opener}, &observer);
  reader.SetZipName("fuzz.zip");
  try {
    reader.ReadDirectory();
    for (int i = 0; i < reader.EntryCount(); ++i) {
      (void)reader.EntryName(i);
      (void)reader.EntryPath(i);
      (void)reader.EntryDateTime(i);
      (void)reader.EntryComment(i);
      try {
        reader.OpenArchive();
        reader.SeekToData(reader.Entry(i));
      } catch (const ZipError&) {
      }
    }
    (void)reader.ZipComment();
  } catch (const ZipError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  Walk(bytes, IncompleteArchiveRule::AssumeNotAZip, EntryOrder::ByName);
  Walk(bytes, IncompleteArchiveRule::AssumeBad, EntryOrder::ByRate);
  return 0;
}
