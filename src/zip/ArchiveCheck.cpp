// The whole-archive check over TestEntry.
#include "zip/ArchiveCheck.h"

#include <cstdio>
#include <exception>

#include "zip/DecodeAhead.h"
#include "zip/ZipErrors.h"
#include "zip/ZipExtractRun.h"
#include "zip/ZipPaths.h"
#include "zip/ZipReader.h"

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
  return entry.HasAuthCode() ? kMsgAltered : BadCrcText(calcCrc, entry.CRC32);
}

std::string DescribeEntryCheck(const EntryCheck& check) {
  switch (check.Result) {
    case EntryResult::Ok:
      return "OK";
    case EntryResult::BadPassword:
      return "password not accepted";
    case EntryResult::BadCRC:
      return BadCrcText(check.CalcCRC, check.StoredCRC);
    case EntryResult::UnknownMethod:
      return "Unknown Compression Method";
    case EntryResult::TooLarge:
      return "File is larger than uncompressed size!";
    case EntryResult::Altered:
      return check.Message;
    case EntryResult::DataError:
      break;
  }
  return "damaged data (" + check.Message + ")";
}

ArchiveCheck CheckArchive(const std::string& path, const std::string& password, const CheckHooks& hooks) {
  ArchiveCheck result;
  ZipReader reader;
  reader.SortMode = EntryOrder::ByNone;
  reader.Password = password;
  reader.KeepZipOpen = true;
  // With a handler the reader passes "Incomplete Zip File" on instead of showing an empty archive.
  reader.OnInCompleteZip = [](ZipReader&, IncompleteArchiveRule&) {};
  reader.DoProcessMessages = static_cast<bool>(hooks.stopRequested);
  reader.OnProcessMessages = [&reader, &hooks] {
    if (hooks.stopRequested()) reader.Cancel();
  };
  try {
    reader.SetZipName(path);
    reader.ReadDirectory();
    result.directoryNote = reader.DirectoryNote();
    const int count = reader.EntryCount();
    const auto ahead =
        ZipExtractRun::StartDecodeAhead(reader, 0, false, [](const ZipEntry&) { return true; });
    for (int i = 0; i < count; ++i) {
      const EntryCheck check = ZipExtractRun::TestEntryDecodedAhead(reader, i, ahead.get());
      ++result.members;
      if (check.Result != EntryResult::Ok)
        result.problems.push_back({reader.Entry(i).StoredName(), DescribeEntryCheck(check)});
      if (hooks.progress) hooks.progress(Percentage(i + 1, count));
    }
  } catch (const CanceledError&) {
    throw;
  } catch (const ZipError& e) {
    result.archiveError = e.what();
  }
  reader.CloseArchive();
  return result;
}

}  // namespace brisko::zip
