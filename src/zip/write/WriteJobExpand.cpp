// WriteJob: expanding the file list (wildcards, excludes) and naming members.
#include <filesystem>
#include <system_error>

#include "platform/FsPath.h"
#include "platform/Platform.h"
#include "platform/WildMatch.h"
#include "zip/names/ZipPaths.h"
#include "zip/write/DirSearch.h"
#include "zip/write/WriteJob.h"
#include "zip/write/WriteJobState.h"

namespace brisko::zip {

namespace fs = std::filesystem;

namespace {
// The root folder with one trailing separator, or empty.
std::string RootFolder(const WriteOptions& options) {
  return options.rootDir.empty() ? std::string() : IncludeTrailingDelim(options.rootDir);
}
}  // namespace

bool WriteJob::MatchesPatternList(const std::vector<std::string>& patterns, const std::string& path) {
  if (patterns.empty()) return false;
  // Compared in their name keys: on Windows a pattern may separate folders with '/' as well as '\'.
  // The match itself ignores the case of ASCII letters.
  const std::string pathKey = NameKey(path);
  const std::string nameKey = NameKey(ExtractNamePart(path));
  for (const auto& pattern : patterns) {
    const std::string p = NameKey(pattern);
    if (p.empty()) continue;
    const std::string& text = p.find(kPathDelim) != std::string::npos ? pathKey : nameKey;
    if (platform::WildMatch(p, text)) return true;
  }
  return false;
}

std::string WriteJob::StoredNameOf(const std::string& path) const {
  StoredPathOptions options;
  options.storePaths = options_.storePaths || options_.relativePaths;
  options.relativePaths = options_.relativePaths;
  options.rootDir = RootFolder(options_);
  bool isDir = !path.empty() && path.back() == kPathDelim;
  if (isDir) {
    std::string dir = StoredDirectoryFor(path, options);
    // Without stored paths a folder member keeps its own name rather than an empty one.
    if (dir.empty()) {
      std::string name = ExtractNamePart(ExcludeTrailingDelim(path));
      if (name.empty() || name == "." || name == "..") return {};
      dir = name + kPathDelim;
    }
    return dir;
  }
  return StoredDirectoryFor(path, options) + ExtractNamePart(path);
}

bool WriteJob::InArchive(State& run, const std::string& path) const {
  const SortedEntries* list = archive_.Contents();
  if (!list) return false;
  if (run.archiveNames.empty()) {
    for (int i = 0; i < list->Count(); ++i) run.archiveNames.insert(NameKey(list->Item(i)->FullName()));
  }
  return run.archiveNames.count(NameKey(StoredNameOf(path))) != 0;
}

namespace {
// True when path is the archive itself, also when the two spellings differ ("./a.zip" and "a.zip").
bool IsSameFile(const std::string& path, const std::string& archive) {
  if (SameName(path, archive)) return true;
  if (!SameName(ExtractNamePart(path), ExtractNamePart(archive))) return false;
  std::error_code ec;
  return fs::equivalent(platform::FsPath(path), platform::FsPath(archive), ec) && !ec;
}
}  // namespace

void WriteJob::ExpandFileList(State& run) {
  run.totalBytes = 0;
  run.doneBytes = 0;
  if (options_.zipAction == AddAction::Freshen && !archive_.DirectoryLoaded() &&
      platform::StatFile(archive_.ZipName()).exists)
    archive_.ReadDirectory();
  std::vector<std::string> wildcards;
  std::vector<std::string> kept;
  for (std::string entry : options_.filesList) {
    if (entry.empty()) continue;
    if (entry.back() == kPathDelim) {
      if (List(run, entry, platform::StatFile(ExcludeTrailingDelim(entry)))) kept.push_back(entry);
      continue;
    }
    if (platform::IsWildcard(entry)) {
      wildcards.push_back(entry);
      continue;
    }
    if (ExtractDirPart(entry).empty() && !options_.rootDir.empty()) entry = RootFolder(options_) + entry;
    if (MatchesPatternList(options_.excludeList, entry)) continue;
    platform::FileStat st = platform::StatFile(entry, options_.storeLinks);
    if (!st.exists) {
      observer_->OnNoSuchFile(entry);
      continue;
    }
    if (options_.zipAction == AddAction::Freshen && !InArchive(run, entry)) continue;
    if (!List(run, entry, st)) continue;
    kept.push_back(entry);
    if (!st.isDirectory) run.totalBytes += static_cast<int64_t>(st.size);
  }
  options_.filesList = std::move(kept);
  for (const auto& entry : wildcards) ExpandWildcard(run, entry);
}

bool WriteJob::List(State& run, const std::string& path, const platform::FileStat& status) {
  if (options_.select && !options_.select(path, status)) return false;
  run.listed[path] = status;
  return true;
}

void WriteJob::ExpandWildcard(State& run, const std::string& wildEntry) {
  bool recurse = options_.recurse;
  std::string entry = wildEntry;
  if (entry[0] == '|') {
    recurse = false;
    entry.erase(0, 1);
  } else if (entry[0] == '>') {
    recurse = true;
    entry.erase(0, 1);
  }
  std::string folder = ExtractDirPart(entry);
  if (folder.empty()) folder = RootFolder(options_);
  if (folder.empty()) return;
  std::string mask = ExtractNamePart(entry);
  if (mask == "*.*") mask = "*";
  if (!platform::StatFile(folder).isDirectory) {
    observer_->OnNoSuchFile(IncludeTrailingDelim(folder));
    return;
  }
  DirSearch search(folder, recurse, mask, options_.storeLinks);
  for (std::string path = search.Next(); !path.empty(); path = search.Next()) {
    observer_->OnRecursingFile(path);
    if (path.back() == kPathDelim) {
      if (recurse && options_.addDirEntriesOnRecurse && !MatchesPatternList(options_.excludeList, path) &&
          !MatchesPatternList(options_.excludeList, ExcludeTrailingDelim(path)) &&
          List(run, path, search.Status()))
        options_.filesList.push_back(path);
      continue;
    }
    if (MatchesPatternList(options_.excludeList, path)) continue;
    archive_.CheckCancel();
    if (IsSameFile(path, archive_.ZipName())) continue;
    if (options_.zipAction == AddAction::Freshen && !InArchive(run, path)) continue;
    if (!List(run, path, search.Status())) continue;
    options_.filesList.push_back(path);
    run.totalBytes += static_cast<int64_t>(search.Status().size);
  }
  for (const platform::WalkProblem& problem : search.Unreadable())
    observer_->OnUnreadableEntry(problem.path, problem.reason);
  for (const std::string& special : search.Special())
    if (!MatchesPatternList(options_.excludeList, special)) observer_->OnSpecialFile(special);
  for (const std::string& link : search.FolderLinks())
    if (!MatchesPatternList(options_.excludeList, link)) observer_->OnFolderLinkPassed(link);
}

}  // namespace brisko::zip
