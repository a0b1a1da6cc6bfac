// The recursive folder walk of the file finder.
#include "find/FolderSearch.h"

#include <filesystem>

#include "find/SearchFilters.h"
#include "platform/DirectoryWalker.h"
#include "platform/DosDateTime.h"
#include "platform/FsPath.h"
#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "platform/WildMatch.h"

namespace brisko::find {

using platform::IsSeparator;

namespace {

// The folder without its trailing separator, except for a root ("/", "C:\").
std::string ReportedFolder(const std::string& folder) {
  std::string f = folder;
  bool root = f.size() == 1 || (f.size() == 3 && f[1] == ':');
  if (!root && f.size() > 1 && IsSeparator(f.back())) f.pop_back();
  return f;
}

FoundFile MakeRecord(const platform::DirectoryItem& item) {
  FoundFile rec;
  rec.name = item.name;
  rec.size = item.size;
  rec.time = platform::DosDateTimeFromTime(item.lastWrite);
  rec.attr = item.attributes;
  rec.creationTime = item.created;
  rec.lastWriteTime = item.lastWrite;
  rec.lastAccessTime = item.lastAccess;
  return rec;
}

}  // namespace

FolderSearch::FolderSearch(const SearchState& state, bool& aborted, Callbacks callbacks)
    : state_(state), aborted_(aborted), callbacks_(std::move(callbacks)) {}

void FolderSearch::SplitTarget(const std::string& target, std::string& folder, std::string& pattern) {
  size_t cut = target.size();
  while (cut > 0 && !IsSeparator(target[cut - 1])) --cut;
  pattern = target.substr(cut);
  folder = FullFolder(target.substr(0, cut));
}

std::string FolderSearch::FullFolder(const std::string& part) {
  std::filesystem::path full =
      part.empty() ? std::filesystem::current_path() : std::filesystem::absolute(platform::FsPath(part));
  std::string folder = platform::Utf8Of(full.lexically_normal());
  if (folder.empty() || !IsSeparator(folder.back())) folder += platform::kPathDelim;
  return folder;
}

void FolderSearch::Run() noexcept {
  try {
    for (const std::string& target : state_.targets) {
      std::string folder, pattern;
      SplitTarget(target, folder, pattern);
      SearchFolder(folder, pattern);
      if (aborted_) break;
    }
  } catch (...) {
    aborted_ = true;
  }
}

void FolderSearch::SearchFolder(const std::string& folder, const std::string& pattern) {
  if (callbacks_.newFolder && callbacks_.newFolder(ReportedFolder(folder))) return;
  platform::DirectoryWalker walker(folder, state_.subfolders);
  std::string itemFolder;
  platform::DirectoryItem item;
  while (walker.Next(itemFolder, item)) {
    if (aborted_) return;
    // Dot entries are left out, and so is everything below a dot folder.
    if (item.name.empty() || item.name[0] == '.') {
      walker.SkipFolder();
      continue;
    }
    // Patterns match as the desktop's file enumeration does: "readme.*" also finds "readme".
    if (platform::WildMatch(pattern, item.name, {.dotStarMatchesPlainName = true}) &&
        PassesFilters(state_, itemFolder, item)) {
      FoundFile rec = MakeRecord(item);
      if (callbacks_.found) callbacks_.found(ReportedFolder(itemFolder), rec);
    }
    // Linked folders are not followed (the walk lists them as links): a link to a parent would never end.
    if (item.type == platform::EntryType::Directory && state_.subfolders && callbacks_.newFolder &&
        callbacks_.newFolder(ReportedFolder(itemFolder + item.name + platform::kPathDelim)))
      walker.SkipFolder();
  }
}

}  // namespace brisko::find
