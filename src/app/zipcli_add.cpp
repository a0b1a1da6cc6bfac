// brisko-zip a: creates or updates an archive from files, folders and wildcard entries.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/ZipCli.h"
#include "platform/Platform.h"
#include "zip/WildMatch.h"
#include "zip/ZipErrors.h"
#include "zip/ZipPaths.h"
#include "zip/ZipWriter.h"

namespace brisko::app {
namespace {

constexpr const char* kUsage =
    "usage: brisko-zip a [-0 ... -9] [-r] [-j] [-y] [-P PASSWORD [--aes]] [-x PATTERN]... [-z COMMENT] [--threads N]\n"
    "                    ARCHIVE ENTRY...\n"
    "  --aes  encrypt with AES-256 instead of the traditional cipher (needs -P)";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "brisko-zip: %s\n", problem);
  std::fprintf(stderr, "%s\n", kUsage);
  return 2;
}

// A plain folder argument stands for every file in it; with links stored, a link to a folder is
// the link itself.
std::string EntryFor(const std::string& argument, bool links) {
  if (zip::IsWildcard(argument)) return argument;
  platform::FileStat st = platform::StatFile(argument, links);
  if (st.exists && st.isDirectory && !st.isSymlink) return zip::IncludeTrailingDelim(argument) + "*";
  return argument;
}

int CmdAdd(int argc, char** argv) {
  zip::ZipWriter writer;
  writer.PackLevel = 6;
  writer.SetStorePaths(true);
  StopOnSignals(writer);
  bool junkPaths = false;
  std::string comment;
  bool haveComment = false;
  std::vector<std::string> operands;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--") {
      for (++i; i < argc; ++i) operands.push_back(argv[i]);
      break;
    }
    if (arg.size() == 2 && arg[0] == '-' && arg[1] >= '0' && arg[1] <= '9') {
      writer.PackLevel = arg[1] - '0';
    } else if (arg == "-r") {
      writer.Recurse = true;
      writer.AddDirEntriesOnRecurse = true;  // empty folders come back on extraction
    } else if (arg == "-y") {
      writer.StoreLinks = true;
    } else if (arg == "-j") {
      junkPaths = true;
    } else if (arg == "--threads") {
      if (i + 1 >= argc) return Usage("option --threads needs a value");
      const std::string value = argv[++i];
      if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos)
        return Usage("--threads takes a number (0 = one per core)");
      writer.Threads = std::stoi(value);
    } else if (arg == "--aes") {
      writer.Encryption = zip::MemberEncryption::Aes256;
    } else if (arg == "-P" || arg == "-x" || arg == "-z") {
      if (i + 1 >= argc) return Usage(("option " + arg + " needs a value").c_str());
      std::string value = argv[++i];
      if (arg == "-P") writer.Password = value;
      else if (arg == "-x") writer.ExcludeList.push_back(value);
      else {
        comment = value;
        haveComment = true;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("unknown option " + arg).c_str());
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() < 2) return Usage("an archive and at least one entry are needed");
  if (writer.Encryption == zip::MemberEncryption::Aes256 && writer.Password.empty())
    return Usage("--aes needs a password (-P)");
  if (junkPaths) writer.SetStorePaths(false);

  bool problems = false;
  const bool showProgress = ::isatty(2) != 0;
  writer.OnNoSuchFile = [&](zip::ZipWriter&, const std::string& name) {
    std::fprintf(stderr, "brisko-zip: warning: %s: no such file\n", name.c_str());
    problems = true;
  };
  writer.OnUnlistableFolder = [&](zip::ZipWriter&, const std::string& folder) {
    std::fprintf(stderr, "brisko-zip: warning: %s: folder cannot be read, skipped\n", folder.c_str());
    problems = true;
  };
  writer.OnSkippingFile = [&](zip::ZipReader&, zip::SkipReason reason, const std::string& name, int, bool&) {
    if (reason == zip::SkipReason::FileOpenError) {
      std::fprintf(stderr, "brisko-zip: warning: %s: cannot be opened, skipped\n", name.c_str());
      problems = true;
    } else {
      std::fprintf(stderr, "brisko-zip: warning: %s: a member of that name is already present, skipped\n",
                   name.c_str());
    }
  };
  int lastPercent = -1;
  if (showProgress) {
    writer.OnTotalPercentDone = [&](zip::ZipReader&, int percent) {
      if (percent == lastPercent) return;
      lastPercent = percent;
      std::fprintf(stderr, "\rAdding: %3d%%", percent);
      std::fflush(stderr);
    };
  }
  try {
    writer.SetZipName(operands[0]);
    if (haveComment) writer.SetZipComment(comment);
    for (size_t i = 1; i < operands.size(); ++i) writer.FilesList.push_back(EntryFor(operands[i], writer.StoreLinks));
    writer.Zip();
  } catch (const zip::NotAnArchiveError& e) {
    if (lastPercent >= 0) std::fprintf(stderr, "\n");
    std::fprintf(stderr, "brisko-zip: %s: %s\n", operands[0].c_str(), e.what());
    return 2;
  } catch (const zip::BadArchiveError& e) {
    if (lastPercent >= 0) std::fprintf(stderr, "\n");
    std::fprintf(stderr, "brisko-zip: %s: %s\n", operands[0].c_str(), e.what());
    return 2;
  } catch (const std::exception& e) {
    if (lastPercent >= 0) std::fprintf(stderr, "\n");
    std::fprintf(stderr, "brisko-zip: %s\n", e.what());
    return 1;
  }
  if (lastPercent >= 0) std::fprintf(stderr, "\r%-20s\r", "");
  return problems ? 1 : 0;
}

const bool registered = RegisterCommand(
    {"a", "a [-0..-9] [-r] [-j] [-P PASS [--aes]] [-x PAT]... [-z TEXT] [--threads N] ARCHIVE ENTRY...", &CmdAdd});

}  // namespace
}  // namespace brisko::app
