// ZipWriter: expanding the file list (wildcards, excludes) and naming members.
#include <filesystem>
#include <system_error>

#include "platform/Platform.h"
#include "zip/DirSearch.h"
#include "zip/WildMatch.h"
#include "zip/ZipPaths.h"
#include "zip/ZipWriter.h"
#include "zip/ZipWriterRun.h"

namespace brisko::zip {

namespace fs = std::filesystem;

bool ZipWriter::MatchesPatternList(const std::vector<std::string>& patterns, const std::string& path) {
  if (patterns.empty()) return false;
  std::string lowerPath = LowerAscii(path);
  std::string lowerName = LowerAscii(ExtractNamePart(path));
  for (const auto& pattern : patterns) {
    std::string p = LowerAscii(pattern);
    if (p.empty()) continue;
    const std::string& text = p.find(kPathDelim) != std::string::npos ? lowerPath : lowerName;
    if (WildMatch(p, text)) return true;
  }
  return false;
}

std::string ZipWriter::StoredNameOf(const std::string& path) const {
  StoredPathOptions options;
  options.storePaths = fStorePaths;
  options.relativePaths = fRelativePaths;
  options.storeVolumes = fStoreVolumes;
  options.rootDir = RootDir();
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

bool ZipWriter::InArchive(Run& run, const std::string& path) const {
  const SortedEntries* list = fZipContents.get();
  if (!list) return false;
  if (run.ArchiveNames.empty()) {
    for (int i = 0; i < list->Count(); ++i) run.ArchiveNames.insert(NameKey(list->Item(i)->FullName()));
  }
  return run.ArchiveNames.count(NameKey(StoredNameOf(path))) != 0;
}

namespace {
// True when path is the archive itself, also when the two spellings differ ("./a.zip" and "a.zip").
bool IsSameFile(const std::string& path, const std::string& archive) {
  if (SameName(path, archive)) return true;
  if (!SameName(ExtractNamePart(path), ExtractNamePart(archive))) return false;
  std::error_code ec;
  return fs::equivalent(fs::path(path), fs::path(archive), ec) && !ec;
}
}  // namespace

void ZipWriter::ExpandFileList(Run& run) {
  run.TotalBytes = 0;
  run.DoneBytes = 0;
  if (ZipAction == AddAction::Freshen && !DirectoryLoaded() && platform::StatFile(ZipName()).exists)
    ReadDirectory();
  std::vector<std::string> wildcards;
  std::vector<std::string> kept;
  for (std::string entry : FilesList) {
    if (entry.empty()) continue;
    if (entry.back() == kPathDelim) {
      kept.push_back(entry);
      continue;
    }
    if (IsWildcard(entry)) {
      wildcards.push_back(entry);
      continue;
    }
    if (ExtractDirPart(entry).empty() && !RootDir().empty()) entry = IncludeTrailingDelim(RootDir()) + entry;
    if (MatchesPatternList(ExcludeList, entry)) continue;
    platform::FileStat st = platform::StatFile(entry, StoreLinks);
    if (!st.exists) {
      if (OnNoSuchFile) OnNoSuchFile(*this, entry);
      continue;
    }
    if (SkipIfArchiveBitNotSet && (st.attributes & platform::faArchive) == 0) continue;
    if (ZipAction == AddAction::Freshen && !InArchive(run, entry)) continue;
    kept.push_back(entry);
    if (!st.isDirectory) run.TotalBytes += static_cast<int64_t>(st.size);
  }
  FilesList = std::move(kept);
  for (const auto& entry : wildcards) ExpandWildcard(run, entry);
}

void ZipWriter::ExpandWildcard(Run& run, const std::string& wildEntry) {
  bool recurse = Recurse;
  std::string entry = wildEntry;
  if (entry[0] == '|') {
    recurse = false;
    entry.erase(0, 1);
  } else if (entry[0] == '>') {
    recurse = true;
    entry.erase(0, 1);
  }
  std::string folder = ExtractDirPart(entry);
  if (folder.empty()) folder = RootDir();
  if (folder.empty()) return;
  std::string mask = ExtractNamePart(entry);
  if (mask == "*.*") mask = "*";
  if (!platform::StatFile(folder).isDirectory) {
    if (OnNoSuchFile) OnNoSuchFile(*this, IncludeTrailingDelim(folder));
    return;
  }
  DirSearch search(folder, recurse, mask, StoreLinks);
  uint64_t size = 0;
  for (std::string path = search.Next(size); !path.empty(); path = search.Next(size)) {
    if (OnRecursingFile) OnRecursingFile(*this, path);
    if (path.back() == kPathDelim) {
      if (recurse && AddDirEntriesOnRecurse && !MatchesPatternList(ExcludeList, path) &&
          !MatchesPatternList(ExcludeList, ExcludeTrailingDelim(path)))
        FilesList.push_back(path);
      continue;
    }
    if (MatchesPatternList(ExcludeList, path)) continue;
    ProcessMessages();
    if (IsSameFile(path, ZipName())) continue;
    if (SkipIfArchiveBitNotSet && (platform::StatFile(path).attributes & platform::faArchive) == 0) continue;
    if (ZipAction == AddAction::Freshen && !InArchive(run, path)) continue;
    FilesList.push_back(path);
    run.TotalBytes += static_cast<int64_t>(size);
  }
  if (OnUnlistableFolder)
    for (const std::string& unlistable : search.Unlistable()) OnUnlistableFolder(*this, unlistable);
}

}  // namespace brisko::zip
