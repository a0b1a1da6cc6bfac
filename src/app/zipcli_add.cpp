// brisko-zip a: creates or updates an archive from files, folders and wildcard entries.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ZipCli.h"
#include "platform/Platform.h"
#include "platform/WildMatch.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/ZipPaths.h"
#include "zip/write/WriteJob.h"

namespace brisko::app {
namespace {

constexpr const char* kUsage =
    "usage: brisko-zip a [-0 ... -9] [-u | -f] [-r] [-j] [-y] [-P PASSWORD [--aes]] [-x PATTERN]... "
    "[-z COMMENT]\n"
    "                    [--threads N] ARCHIVE ENTRY...";

constexpr const char* kHelp =
    "      members of the same name are replaced by the files given\n"
    "      -u  update: replace members only by newer files, add new files\n"
    "      -f  freshen: replace members only by newer files, add nothing new\n"
    "      -r  recurse into folders\n"
    "      -y  store symbolic links as links (without it links are followed; those leading nowhere\n"
    "          or to a folder are passed over with a warning)\n"
    "      --aes  encrypt with AES-256 instead of the traditional cipher (needs -P)\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "brisko-zip: %s\n", problem);
  std::fprintf(stderr, "%s\n%s", kUsage, kHelp);
  return 2;
}

// A plain folder argument stands for every file in it; with links stored, a link to a folder is
// the link itself.
std::string EntryFor(const std::string& argument, bool links) {
  if (platform::IsWildcard(argument)) return argument;
  platform::FileStat st = platform::StatFile(argument, links);
  if (st.exists && st.isDirectory && !st.isSymlink) return zip::IncludeTrailingDelim(argument) + "*";
  return argument;
}

// Warns on the terminal about files left out and shows the progress when it is a terminal.
class AddReport : public SignalStoppedObserver<zip::WriteObserver> {
 public:
  bool problems = false;
  bool showProgress = false;
  int lastPercent = -1;

  void OnNoSuchFile(const std::string& name) override {
    std::fprintf(stderr, "brisko-zip: warning: %s: no such file\n", name.c_str());
    problems = true;
  }
  void OnUnreadableEntry(const std::string& path, const std::string& reason) override {
    std::fprintf(stderr, "brisko-zip: warning: %s: cannot be read (%s), skipped\n", path.c_str(),
                 reason.c_str());
    problems = true;
  }
  void OnSpecialFile(const std::string& path) override {
    std::fprintf(stderr, "brisko-zip: warning: %s: not a regular file, skipped\n", path.c_str());
  }
  void OnFolderLinkPassed(const std::string& path) override {
    std::fprintf(stderr, "brisko-zip: warning: %s: a link to a folder, not followed (-y stores the link)\n",
                 path.c_str());
  }
  void OnFileChanged(const std::string& name) override {
    std::fprintf(stderr, "brisko-zip: warning: %s: changed while being read\n", name.c_str());
  }
  void OnSkippingFile(zip::SkipReason reason, const std::string& name, int) override {
    if (reason == zip::SkipReason::FileOpenError) {
      std::fprintf(stderr, "brisko-zip: warning: %s: cannot be opened, skipped\n", name.c_str());
      problems = true;
    } else {
      std::fprintf(stderr, "brisko-zip: warning: %s: a member of that name is already present, skipped\n",
                   name.c_str());
    }
  }
  void OnTotalPercentDone(int percent) override {
    if (!showProgress || percent == lastPercent) return;
    lastPercent = percent;
    std::fprintf(stderr, "\rAdding: %3d%%", percent);
    std::fflush(stderr);
  }
};

int CmdAdd(int argc, char** argv) {
  AddReport report;
  zip::WriteJob writer({}, &report);
  zip::WriteOptions& options = writer.Options();
  options.packLevel = 6;
  options.storePaths = true;
  options.zipAction = zip::AddAction::Replace;
  bool junkPaths = false;
  std::string comment;
  bool haveComment = false;
  CommandLine line;
  for (int level = 0; level <= 9; ++level)
    line.Flag("-" + std::to_string(level), [&options, level] { options.packLevel = level; });
  line.Flag("-u", [&] { options.zipAction = zip::AddAction::Update; });
  line.Flag("-f", [&] { options.zipAction = zip::AddAction::Freshen; });
  line.Flag("-r", [&] {
    options.recurse = true;
    options.addDirEntriesOnRecurse = true;  // empty folders come back on extraction
  });
  line.Flag("-y", [&] { options.storeLinks = true; });
  line.Flag("-j", [&] { junkPaths = true; });
  line.Flag("--aes", [&] { options.encryption = zip::MemberEncryption::Aes256; });
  line.Value("--threads", [&](const std::string& value) -> std::string {
    if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos)
      return "--threads takes a number (0 = one per core)";
    options.threads = std::stoi(value);
    return {};
  });
  line.Value("-P", options.password);
  line.Value("-x", [&](const std::string& value) {
    options.excludeList.push_back(value);
    return std::string();
  });
  line.Value("-z", [&](const std::string& value) {
    comment = value;
    haveComment = true;
    return std::string();
  });
  std::vector<std::string> operands;
  if (std::string problem = line.Parse({argv + 1, argv + argc}, operands); !problem.empty())
    return Usage(problem.c_str());
  if (operands.size() < 2) return Usage("an archive and at least one entry are needed");
  if (options.encryption == zip::MemberEncryption::Aes256 && options.password.empty())
    return Usage("--aes needs a password (-P)");
  if (junkPaths) options.storePaths = false;

  report.showProgress = ::isatty(2) != 0;
  const bool existed = platform::StatFile(operands[0]).exists;
  int added = 0;
  try {
    writer.SetZipName(operands[0]);
    if (haveComment) writer.SetZipComment(comment);
    for (size_t i = 1; i < operands.size(); ++i)
      options.filesList.push_back(EntryFor(operands[i], options.storeLinks));
    added = writer.Run();
    writer.Archive().CloseArchive();
  } catch (const zip::NotAnArchiveError& e) {
    if (report.lastPercent >= 0) std::fprintf(stderr, "\n");
    std::fprintf(stderr, "brisko-zip: %s: %s\n", operands[0].c_str(), e.what());
    return 2;
  } catch (const zip::BadArchiveError& e) {
    if (report.lastPercent >= 0) std::fprintf(stderr, "\n");
    std::fprintf(stderr, "brisko-zip: %s: %s\n", operands[0].c_str(), e.what());
    return 2;
  } catch (const std::exception& e) {
    if (report.lastPercent >= 0) std::fprintf(stderr, "\n");
    std::fprintf(stderr, "brisko-zip: %s\n", e.what());
    return 1;
  }
  if (report.lastPercent >= 0) std::fprintf(stderr, "\r%-20s\r", "");
  if (!existed && added == 0) {
    // An empty archive would only stand for the files that were not there.
    std::remove(operands[0].c_str());
    std::fprintf(stderr, "brisko-zip: %s: nothing to add, no archive written\n", operands[0].c_str());
    return 1;
  }
  return report.problems ? 1 : 0;
}

const bool registered = RegisterCommand({"a",
                                         "a [-0..-9] [-u|-f] [-r] [-j] [-y] [-P PASS [--aes]] [-x PAT]... "
                                         "[-z TEXT] [--threads N] ARCHIVE ENTRY...",
                                         &CmdAdd, kHelp});

}  // namespace
}  // namespace brisko::app
