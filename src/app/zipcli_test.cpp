// brisko-zip t: decodes every entry of an archive and checks its CRC-32 (and authentication code),
// writing no files.
#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ZipCli.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/names/PrintableText.h"

namespace brisko::app {
namespace {

constexpr const char* kUsage = "t [-P PASSWORD] ARCHIVE";

int UsageError(const char* detail) {
  std::fprintf(stderr, "brisko-zip t: %s\nusage: brisko-zip %s\n", detail, kUsage);
  return 2;
}

int RunTest(int argc, char** argv) {
  std::string password, archive;
  CommandLine line;
  line.Value("-P", password, "-P needs a password");
  std::vector<std::string> operands;
  std::string problem = line.Parse({argv + 1, argv + argc}, operands);
  for (size_t i = 0; i < operands.size() && problem.empty(); ++i)
    problem = TakeArchiveOperand(operands[i], archive);
  if (!problem.empty()) return UsageError(problem.c_str());
  if (archive.empty()) return UsageError("no archive given");

  zip::ArchiveCheck check;
  try {
    check = zip::CheckArchive(archive, password);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brisko-zip t: %s: %s\n", archive.c_str(), e.what());
    return 2;
  }
  if (!check.directoryNote.empty())
    std::fprintf(stderr, "brisko-zip t: %s: %s\n", archive.c_str(),
                 zip::PrintableText(check.directoryNote).c_str());
  int locked = 0;  // members that need the password not given
  for (const auto& problem : check.problems) {
    if (password.empty() && problem.reason == zip::kMsgPasswordNotAccepted)
      ++locked;
    else
      std::printf("%s: %s\n", zip::PrintableText(problem.member).c_str(), problem.reason.c_str());
  }
  if (locked > 0) std::printf("password required (-P): %d encrypted member(s) not tested\n", locked);
  if (!check.archiveError.empty()) {
    std::fprintf(stderr, "brisko-zip t: %s: %s\n", archive.c_str(),
                 zip::PrintableText(check.archiveError).c_str());
    return 2;
  }
  return check.problems.empty() && check.directoryNote.empty() ? 0 : 1;
}

const bool registered = RegisterCommand({"t", kUsage, RunTest});

}  // namespace
}  // namespace brisko::app
