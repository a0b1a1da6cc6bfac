// brisko-zip x: extracts the entries of an archive (all, or the members named) into a folder.
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ZipCli.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/extract/ExtractJob.h"
#include "zip/extract/MemberSelection.h"
#include "zip/format/MethodNames.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/PrintableText.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::app {
namespace {

using zip::OverwriteRule;
using zip::SkipReason;

constexpr const char* kUsage =
    "x [-P PASSWORD] [-d DIR] [-j] [-o prompt|always|never|newer|older] ARCHIVE [MEMBER...]";

int UsageError(const char* detail) {
  std::fprintf(stderr, "brisko-zip x: %s\nusage: brisko-zip %s\n", detail, kUsage);
  return 2;
}

bool ParseOverwrite(const std::string& text, OverwriteRule& mode) {
  static const struct {
    const char* name;
    OverwriteRule mode;
  } kModes[] = {{"prompt", OverwriteRule::Prompt},
                {"always", OverwriteRule::Always},
                {"never", OverwriteRule::Never},
                {"newer", OverwriteRule::IfNewer},
                {"older", OverwriteRule::IfOlder}};
  for (const auto& m : kModes) {
    if (text == m.name) {
      mode = m.mode;
      return true;
    }
  }
  return false;
}

const char* SkipText(SkipReason reason) {
  switch (reason) {
    case SkipReason::BadPassword:
      return zip::kMsgPasswordNotAccepted;
    case SkipReason::NoOverwrite:
      return "existing file kept";
    default:
      return "cannot be created (or its stored path is unsafe)";
  }
}

std::string Printable(const std::string& text) {
  return zip::PrintableText(text);
}

// Terminal answers to "replace?": y/n for one file, A/N for all that follow.
class OverwritePrompt {
 public:
  bool Ask(const std::string& fname) {
    if (all_ != 0) return all_ > 0;
    for (;;) {
      std::fprintf(stderr, "replace %s? [y]es, [n]o, [A]ll, [N]one: ", Printable(fname).c_str());
      std::fflush(stderr);
      std::string answer;
      if (!std::getline(std::cin, answer)) {
        all_ = -1;  // no terminal input: keep every existing file
        std::fprintf(stderr, "\n");
        return false;
      }
      if (answer == "y" || answer == "Y") return true;
      if (answer == "n") return false;
      if (answer == "A") return (all_ = 1) > 0;
      if (answer == "N") return (all_ = -1) > 0;
    }
  }

 private:
  int all_ = 0;  // 1 all yes, -1 all no
};

// Reports on the terminal what the extraction left out; answers the overwrite question there.
// Without a password, encrypted members are counted and named once at the end.
class ExtractReport : public SignalStoppedObserver<zip::ExtractObserver> {
 public:
  ExtractReport(const zip::ArchiveDirectory& archive, bool havePassword)
      : archive_(archive), havePassword_(havePassword) {}

  int failures = 0;
  int lockedMembers = 0;  // encrypted members skipped for want of a password
  bool started = false;

  zip::JobStart OnStartUnZipInfo(int, int64_t) override {
    started = true;
    return zip::JobStart::Go;
  }
  zip::ExistingFile OnPromptForOverwrite(int, const std::string& fname) override {
    return prompt_.Ask(fname) ? zip::ExistingFile::Replace : zip::ExistingFile::Keep;
  }
  void OnSkippingFile(SkipReason reason, const std::string& name, int index) override {
    if (reason == SkipReason::NoOverwrite) return;
    ++failures;
    if (reason == SkipReason::UnknownMethod) {
      std::fprintf(stderr, "%s: %s, not written\n", Printable(archive_.Entry(index).StoredName()).c_str(),
                   zip::UnsupportedMethodText(archive_.Entry(index).DataMethod()).c_str());
      return;
    }
    if (reason == SkipReason::BadPassword && !havePassword_) {
      ++lockedMembers;
      return;
    }
    std::fprintf(stderr, "%s: skipped, %s\n", Printable(name).c_str(), SkipText(reason));
  }
  void OnDamagedMember(int index, const zip::EntryCheck& check) override {
    std::fprintf(stderr, "%s: %s, not written\n", Printable(archive_.Entry(index).StoredName()).c_str(),
                 zip::DescribeEntryCheck(check).c_str());
    ++failures;
  }

 private:
  const zip::ArchiveDirectory& archive_;
  const bool havePassword_;
  OverwritePrompt prompt_;
};

int RunExtract(int argc, char** argv) {
  std::string password, dir, archivePath;
  std::vector<std::string> members;
  bool junkPaths = false;
  OverwriteRule mode = OverwriteRule::Prompt;
  CommandLine line;
  line.Value("-P", password, "-P needs a password");
  line.Value("-d", dir, "-d needs a folder");
  line.Flag("-j", [&] { junkPaths = true; });
  constexpr const char* kOverwriteWords = "-o takes prompt, always, never, newer or older";
  line.Value(
      "-o", [&](const std::string& value) { return ParseOverwrite(value, mode) ? "" : kOverwriteWords; },
      kOverwriteWords);
  std::vector<std::string> operands;
  std::string problem = line.Parse({argv + 1, argv + argc}, operands);
  for (size_t i = 0; i < operands.size() && problem.empty(); ++i) {
    const std::string& word = operands[i];
    if (!archivePath.empty() && !word.empty() && word[0] != '-')
      members.push_back(word);  // a stored name, a folder or a wildcard
    else
      problem = TakeArchiveOperand(word, archivePath);
  }
  if (!problem.empty()) return UsageError(problem.c_str());
  if (archivePath.empty()) return UsageError("no archive given");

  zip::ArchiveDirectory archive;
  ExtractReport report(archive, !password.empty());
  zip::ExtractOptions options;
  options.doAll = members.empty();
  options.recreateDirs = !junkPaths;
  options.overwriteMode = mode;
  options.password = password;
  options.destDir = dir;
  try {
    archive.SetZipName(archivePath);
    if (!members.empty()) {
      archive.ReadDirectory();
      for (const std::string& member : members) {
        if (!archive.DirectoryLoaded()) break;  // not an archive: the extraction says so
        const zip::MemberSelector item(member, zip::SelectionItem::Typed);
        bool found = false;
        for (int i = 0; i < archive.EntryCount(); ++i) {
          if (!item.Matches(archive.Entry(i).FullName())) continue;
          options.members.push_back(archive.Entry(i).FullName());
          found = true;
        }
        if (!found) {
          std::fprintf(stderr, "%s: not in the archive\n", Printable(member).c_str());
          ++report.failures;
        }
      }
    }
    zip::ExtractJob(archive, std::move(options), &report).Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brisko-zip x: %s: %s\n", archivePath.c_str(), Printable(e.what()).c_str());
    return report.started ? 1 : 2;
  }
  if (!archive.DirectoryNote().empty()) {
    std::fprintf(stderr, "brisko-zip x: %s: warning: %s\n", archivePath.c_str(),
                 Printable(archive.DirectoryNote()).c_str());
    ++report.failures;
  }
  if (report.lockedMembers > 0)
    std::fprintf(stderr, "brisko-zip x: %s: password required (-P): %d encrypted member(s) not extracted\n",
                 archivePath.c_str(), report.lockedMembers);
  const int failures = report.failures;
  return failures == 0 ? 0 : 1;
}

const bool registered = RegisterCommand({"x", kUsage, RunExtract});

}  // namespace
}  // namespace brisko::app
