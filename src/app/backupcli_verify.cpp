// brisko-backup verify ARCHIVE [--password P]: reads an archive back and checks every member, as a
// backup run does with each new archive.
#include <cstdio>
#include <string>

#include "app/BackupCli.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/names/PrintableText.h"

namespace brisko::app {
namespace {

int CmdVerify(const BackupCliContext& context) {
  std::string archive, password;
  const auto& args = context.args;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--password" && i + 1 < args.size()) {
      password = args[++i];
    } else if (archive.empty() && !args[i].empty() && args[i] != "--password") {
      archive = args[i];
    } else {
      return kExitUsage;
    }
  }
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
