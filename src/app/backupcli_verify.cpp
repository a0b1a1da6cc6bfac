// brisko-backup verify ARCHIVE [--password P]: reads an archive back and checks every member, as a
// backup run does with each new archive.
#include <cstdio>
#include <string>
#include <vector>

#include "app/BackupCli.h"
#include "app/CommandLine.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/names/PrintableText.h"

namespace brisko::app {
namespace {

int CmdVerify(const BackupCliContext& context) {
  std::string archive, password;
  CommandLine line;
  line.Value("--password", password);
  std::vector<std::string> operands;
  if (!line.Parse(context.args, operands).empty() || operands.size() > 1) return kExitUsage;
  if (!operands.empty()) archive = operands[0];
  if (archive.empty()) return kExitUsage;
  const zip::ArchiveCheck check = zip::CheckArchive(archive, password);
  for (const auto& problem : check.problems)
    std::printf("%s: %s\n", zip::PrintableText(problem.member).c_str(), problem.reason.c_str());
  if (!check.Ok()) {
    std::fprintf(stderr, "Error: %s failed verification: %s\n", archive.c_str(),
                 zip::PrintableText(check.Summary()).c_str());
    return kExitFailed;
  }
  std::printf("%s: %d member(s) verified\n", archive.c_str(), check.members);
  return kExitOk;
}

const bool registered = RegisterBackupCommand({"verify", "verify ARCHIVE [--password P]", &CmdVerify});

}  // namespace
}  // namespace brisko::app
