// brisko-zip t: decodes every entry of an archive and checks its CRC-32, writing no files.
#include <cstdio>
#include <exception>
#include <string>

#include "app/ZipCli.h"
#include "zip/ZipExtractRun.h"
#include "zip/ZipReader.h"

namespace brisko::app {
namespace {

using zip::TEntryResult;
using zip::TZipReader;

constexpr const char* kUsage = "t [-P PASSWORD] ARCHIVE";

int UsageError(const char* detail) {
  std::fprintf(stderr, "brisko-zip t: %s\nusage: brisko-zip %s\n", detail, kUsage);
  return 2;
}

std::string Describe(const zip::TEntryCheck& check) {
  char crc[64];
  switch (check.Result) {
    case TEntryResult::erOk:
      return "OK";
    case TEntryResult::erBadPassword:
      return "password not accepted";
    case TEntryResult::erBadCRC:
      std::snprintf(crc, sizeof crc, "bad CRC %08x (should be %08x)", check.CalcCRC, check.StoredCRC);
      return crc;
    case TEntryResult::erUnknownMethod:
      return "Unknown Compression Method";
    case TEntryResult::erTooLarge:
      return "File is larger than uncompressed size!";
    case TEntryResult::erAltered:
      return check.Message;
    case TEntryResult::erDataError:
      break;
  }
  return "damaged data (" + check.Message + ")";
}

int RunTest(int argc, char** argv) {
  std::string password, archive;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-P") {
      if (i + 1 >= argc) return UsageError("-P needs a password");
      password = argv[++i];
    } else if (std::string error = TakeArchiveOperand(arg, archive); !error.empty()) {
      return UsageError(error.c_str());
    }
  }
  if (archive.empty()) return UsageError("no archive given");

  TZipReader reader;
  reader.Password = password;
  reader.KeepZipOpen = true;
  // With a handler the reader lets "Incomplete Zip File" reach us instead of showing an empty archive.
  reader.OnInCompleteZip = [](TZipReader&, zip::TIncompleteZipMode&) {};
  int failures = 0;
  try {
    reader.SetZipName(archive);
    reader.ReadDirectory();
    if (!reader.DirectoryNote().empty())
      std::fprintf(stderr, "brisko-zip t: %s: warning: %s\n", archive.c_str(), reader.DirectoryNote().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brisko-zip t: %s: %s\n", archive.c_str(), e.what());
    return 2;
  }
  try {
    for (int i = 0; i < reader.EntryCount(); ++i) {
      const zip::TEntryCheck check = zip::ZipExtractRun::TestEntry(reader, i);
      if (check.Result == TEntryResult::erOk) continue;
      std::printf("%s: %s\n", TerminalSafe(reader.Entry(i).StoredName()).c_str(), Describe(check).c_str());
      ++failures;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brisko-zip t: %s: %s\n", archive.c_str(), e.what());
    return 2;
  }
  reader.CloseArchive();
  return failures == 0 ? 0 : 1;
}

const bool registered = RegisterCommand({"t", kUsage, RunTest});

}  // namespace
}  // namespace brisko::app
