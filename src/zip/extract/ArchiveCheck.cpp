// The whole-archive check over TestEntry.
#include "zip/extract/ArchiveCheck.h"

#include <cstdio>
#include <exception>

#include "zip/extract/EntryTest.h"
#include "zip/format/MethodNames.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/ZipPaths.h"
#include "zip/read/ArchiveDirectory.h"
#include "zip/threads/DecodeAhead.h"

namespace brisko::zip {

std::string ArchiveCheck::Summary() const {
  if (!archiveError.empty()) return archiveError;
  if (problems.empty())
    return directoryNote.empty() ? std::to_string(members) + " member(s) checked" : directoryNote;
  std::string text = problems.front().member + ": " + problems.front().reason;
  if (problems.size() > 1) text += " (and " + std::to_string(problems.size() - 1) + " more member(s))";
  return text;
}

namespace {
std::string BadCrcText(uint32_t calc, uint32_t stored) {
  char text[64];
  std::snprintf(text, sizeof text, "bad CRC %08x (should be %08x)", calc, stored);
  return text;
}
}  // namespace

std::string DescribeBadData(const ZipEntry& entry, uint32_t calcCrc) {
  return entry.HasAuthCode() ? kMsgAltered : BadCrcText(calcCrc, entry.crc32);
}

std::string DescribeEntryCheck(const EntryCheck& check) {
  switch (check.result) {
    case EntryResult::Ok:
      return "OK";
    case EntryResult::BadPassword:
      return kMsgPasswordNotAccepted;
    case EntryResult::BadCRC:
      if (check.size != check.expectedSize)
        return "decodes to " + std::to_string(check.size) + " bytes (should be " +
               std::to_string(check.expectedSize) + ")";
      return BadCrcText(check.calcCrc, check.storedCrc);
    case EntryResult::UnknownMethod:
      return UnsupportedMethodText(check.method);
    case EntryResult::TooLarge:
      return kMsgBiggerThanUncompressed;
    case EntryResult::Altered:
      return check.message;
    case EntryResult::DataError:
      break;
  }
  return "damaged data (" + check.message + ")";
}

namespace {
// Passes "Incomplete Zip File" on instead of showing an empty archive; the rest goes to the caller's
// observer.
class CheckObserver : public ArchiveObserver {
 public:
  explicit CheckObserver(ArchiveObserver* host) : host_(host) {}
  std::optional<IncompleteArchiveRule> OnIncompleteZip(IncompleteArchiveRule current) override {
    return current;
  }
  bool CancelRequested() override { return host_ && host_->CancelRequested(); }
  void OnTotalPercentDone(int percent) override {
    if (host_) host_->OnTotalPercentDone(percent);
  }

 private:
  ArchiveObserver* host_;
};
}  // namespace

ArchiveCheck CheckArchive(const std::string& path, const std::string& password, ArchiveObserver* host) {
  ArchiveCheck result;
  CheckObserver observer(host);
  DirectoryOptions options;
  options.keepZipOpen = true;
  ArchiveDirectory archive(options, &observer);
  try {
    archive.SetZipName(path);
    archive.ReadDirectory();
    // An empty file is where the writer starts a new archive, not an archive to check.
    if (archive.ArchiveIsOpen() && archive.Archive().Size() == 0) throw NotAnArchiveError(kMsgNotValidZip);
    result.directoryNote = archive.DirectoryNote();
    const int count = archive.EntryCount();
    const auto ahead = DecodeAhead::Start(archive, password, 0);
    for (int i = 0; i < count; ++i) {
      const EntryCheck check = TestEntryDecodedAhead(archive, i, password, ahead.get());
      ++result.members;
      if (check.result != EntryResult::Ok)
        result.problems.push_back({archive.Entry(i).StoredName(), DescribeEntryCheck(check)});
      observer.OnTotalPercentDone(Percentage(i + 1, count));
    }
  } catch (const CanceledError&) {
    throw;
  } catch (const ZipError& e) {
    result.archiveError = e.what();
  }
  archive.CloseArchive();
  return result;
}

}  // namespace brisko::zip
