// Fuzzes the reader: archive bytes in memory, directory read in two modes, every entry walked.
#include <cstdint>
#include <memory>
#include <vector>

#include "zip/MemoryStream.h"
#include "zip/ZipErrors.h"
#include "zip/ZipReader.h"

namespace {

using namespace brisko::zip;

// Opens the protected member-data helpers to the fuzzer.
class FuzzReader : public ZipReader {
 public:
  void TouchData(int index) {
    OpenArchive();
    SeekToData(Entry(index));
  }
};

void Walk(const std::vector<uint8_t>& bytes, IncompleteArchiveRule mode, EntryOrder sort) {
  FuzzReader reader;
  reader.StreamOpener = [&bytes](const std::string&) { return std::make_unique<MemoryStream>(bytes); };
  reader.OnGetNextDisk = [](ZipReader&, int, std::string& name) { name.clear(); };
  reader.IncompleteZipMode = mode;
  reader.SortMode = sort;
  reader.KeepZipOpen = true;
  reader.SetZipName("fuzz.zip");
  try {
    reader.ReadDirectory();
    for (int i = 0; i < reader.EntryCount(); ++i) {
      (void)reader.EntryName(i);
      (void)reader.EntryPath(i);
      (void)reader.EntryDateTime(i);
      (void)reader.EntryComment(i);
      try {
        reader.TouchData(i);
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
