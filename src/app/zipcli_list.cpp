// brisko-zip l: lists the entries of an archive in archive order (sizes, ratio, method, encryption, mode,
// time, CRC, name) with totals, then its comment; or the names alone.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ZipCli.h"
#include "platform/CivilDate.h"
#include "platform/DosDateTime.h"
#include "platform/Platform.h"
#include "zip/format/MethodNames.h"
#include "zip/names/PrintableText.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::app {
namespace {

// Passes "Incomplete Zip File" on instead of showing an empty archive.
class PassIncomplete : public zip::ArchiveObserver {
 public:
  std::optional<zip::IncompleteArchiveRule> OnIncompleteZip(zip::IncompleteArchiveRule current) override {
    return current;
  }
};

constexpr const char* kUsage =
    "l [-1] [-r] ARCHIVE   (-1: names only, one a line; -r: salvage entries of an archive without a "
    "directory)";

// "AES-256", "ZipCrypto" or "-".
std::string EncryptionLabel(const zip::ZipEntry& e) {
  if (e.compressionMethod == zip::kMethodAes && e.aes) return "AES-" + std::to_string(e.aes->Bits());
  return e.IsEncrypted() ? "ZipCrypto" : "-";
}

// "drwxr-xr-x" for members from Unix hosts; else the type and DOS attributes "d-rhsa" style.
std::string ModeLabel(const zip::ZipEntry& e) {
  if (const uint32_t mode = e.UnixMode(); mode != 0) {
    constexpr uint32_t kTypeMask = 0170000;
    const uint32_t type = mode & kTypeMask;
    std::string text = type == 0040000 ? "d" : type == 0120000 ? "l" : type == 0100000 ? "-" : "?";
    const char* bits = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) text += (mode & (0400u >> i)) ? bits[i] : '-';
    return text;
  }
  const uint32_t dos = e.externalAttributes;
  std::string text = (dos & platform::kAttrDirectory) || e.FileName().empty() ? "d" : "-";
  text += (dos & platform::kAttrReadOnly) ? 'r' : '-';
  text += (dos & platform::kAttrHidden) ? 'h' : '-';
  text += (dos & platform::kAttrSysFile) ? 's' : '-';
  text += (dos & platform::kAttrArchive) ? 'a' : '-';
  return text;
}

// The member's time in local time: the extended or NTFS time when it has one, else the DOS time.
std::string TimeLabel(const zip::ZipEntry& e) {
  std::tm local{};
  if (!e.unixTime || !platform::ToLocalTime(static_cast<std::time_t>(*e.unixTime), local))
    return platform::FormatDosDateTime(e.dateTime);
  return platform::FormatDateTimeFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                        local.tm_min, local.tm_sec);
}

// How much smaller the data became, in whole percent.
int Ratio(uint64_t size, uint64_t compressed) {
  if (size == 0 || compressed >= size) return 0;
  return static_cast<int>((size - compressed) * 100 / size);
}

int UsageError(const char* detail) {
  std::fprintf(stderr, "brisko-zip l: %s\nusage: brisko-zip %s\n", detail, kUsage);
  return 2;
}

void PrintTable(const zip::ArchiveDirectory& reader) {
  std::printf("%10s  %10s  %5s  %-9s  %-10s  %-10s  %-19s  %-8s  %s\n", "Size", "Compressed", "Ratio",
              "Method", "Encryption", "Mode", "Modified", "CRC-32", "Name");
  const std::string rule = "----------  ----------  -----";
  std::printf("%s  ---------  ----------  ----------  -------------------  --------  ----\n", rule.c_str());
  uint64_t size = 0, compressed = 0;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    const zip::ZipEntry& e = reader.Entry(i);
    size += e.uncompressedSize;
    compressed += e.compressedSize;
    std::printf("%10llu  %10llu  %4d%%  %-9s  %-10s  %-10s  %-19s  %08x  %s\n",
                static_cast<unsigned long long>(e.uncompressedSize),
                static_cast<unsigned long long>(e.compressedSize),
                Ratio(e.uncompressedSize, e.compressedSize), zip::MethodName(e.DataMethod()).c_str(),
                EncryptionLabel(e).c_str(), ModeLabel(e).c_str(), TimeLabel(e).c_str(), e.crc32,
                zip::PrintableText(e.StoredName()).c_str());
  }
  std::printf("%s  %*s----\n", rule.c_str(), 9 + 2 + 10 + 2 + 10 + 2 + 19 + 2 + 8 + 2, "");
  std::printf("%10llu  %10llu  %4d%%  %*s%d member(s)\n", static_cast<unsigned long long>(size),
              static_cast<unsigned long long>(compressed), Ratio(size, compressed),
              9 + 2 + 10 + 2 + 10 + 2 + 19 + 2 + 8 + 2, "", reader.EntryCount());
}

int RunList(int argc, char** argv) {
  std::string archive;
  bool repair = false;
  bool namesOnly = false;
  CommandLine line;
  line.Flag("-r", [&] { repair = true; });
  line.Flag("-1", [&] { namesOnly = true; });
  std::vector<std::string> operands;
  std::string problem = line.Parse({argv + 1, argv + argc}, operands);
  for (size_t i = 0; i < operands.size() && problem.empty(); ++i)
    problem = TakeArchiveOperand(operands[i], archive);
  if (!problem.empty()) return UsageError(problem.c_str());
  if (archive.empty()) return UsageError("no archive given");

  zip::DirectoryOptions options;
  if (repair) options.incompleteZipMode = zip::IncompleteArchiveRule::AssumeBad;
  PassIncomplete observer;
  zip::ArchiveDirectory reader(options, &observer);
  try {
    reader.SetZipName(archive);
    reader.ReadDirectory();
    if (namesOnly) {
      for (int i = 0; i < reader.EntryCount(); ++i)
        std::printf("%s\n", zip::PrintableText(reader.Entry(i).StoredName()).c_str());
    } else {
      PrintTable(reader);
      const std::string& comment = reader.ZipComment();
      if (!comment.empty()) std::printf("%s\n", zip::PrintableText(comment, true).c_str());
    }
    if (!reader.DirectoryNote().empty()) {
      std::fprintf(stderr, "brisko-zip l: %s: warning: %s\n", archive.c_str(),
                   zip::PrintableText(reader.DirectoryNote()).c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brisko-zip l: %s: %s\n", archive.c_str(), zip::PrintableText(e.what()).c_str());
    return 2;
  }
  return 0;
}

const bool registered = RegisterCommand({"l", kUsage, RunList});

}  // namespace
}  // namespace brisko::app
