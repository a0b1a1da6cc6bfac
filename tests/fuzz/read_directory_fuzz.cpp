// Fuzzes the reader: archive bytes in memory, directory read in two modes, every entry walked.
#include <cstdint>
#include <memory>
#include <vector>

#include "zip/MemoryStream.h"
#include "zip/ZipExceptions.h"
#include "zip/ZipReader.h"

namespace {

using namespace brisko::zip;

// Opens the protected member-data helpers to the fuzzer.
class FuzzReader : public TZipReader {
 public:
  void TouchData(int index) {
    OpenArchive();
    SeekToData(Entry(index));
  }
};

void Walk(const std::vector<uint8_t>& bytes, TIncompleteZipMode mode, TZipSortMode sort) {
  FuzzReader reader;
  reader.StreamOpener = [&bytes](const std::string&) { return std::make_unique<MemoryStream>(bytes); };
  reader.OnGetNextDisk = [](TZipReader&, int, std::string& name) { name.clear(); };
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
      } catch (const EZipException&) {
      }
    }
    (void)reader.ZipComment();
  } catch (const EZipException&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  Walk(bytes, TIncompleteZipMode::izAssumeNotAZip, TZipSortMode::ByName);
  Walk(bytes, TIncompleteZipMode::izAssumeBad, TZipSortMode::ByRate);
  return 0;
}
