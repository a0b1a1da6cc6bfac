// Directory walk for wildcard entries: the platform's walk, filtered by kind and mask.
#include "zip/write/DirSearch.h"

#include "platform/WildMatch.h"
#include "zip/names/ZipPaths.h"

namespace brisko::zip {

using platform::EntryType;

DirSearch::DirSearch(const std::string& folder, bool recurse, const std::string& mask, bool links)
    : walker_(folder, recurse), mask_(mask), recurse_(recurse), links_(links) {}

std::vector<platform::WalkProblem> DirSearch::Unreadable() const {
  std::vector<platform::WalkProblem> all = walker_.Unreadable();
  all.insert(all.end(), danglingLinks_.begin(), danglingLinks_.end());
  return all;
}

std::string DirSearch::Next() {
  std::string folder;
  platform::DirectoryItem item;
  while (walker_.Next(folder, item)) {
    if (item.type == EntryType::Directory) {
      if (!recurse_) continue;
      status_ = item.status;
      return folder + item.name + kPathDelim;
    }
    // A name without an extension is tested with a "." appended, so "*." selects such files.
    std::string testName = item.name;
    if (testName.find('.') == std::string::npos) testName += '.';
    if (!platform::WildMatch(mask_, testName)) continue;
    const std::string path = folder + item.name;
    const bool asLink = links_ && item.type == EntryType::Symlink;
    const EntryType kind = asLink ? EntryType::Regular : item.targetType;
    if (kind == EntryType::Directory) {  // a link to a folder: not followed
      folderLinks_.push_back(path);
      continue;
    }
    if (kind == EntryType::Special) {
      special_.push_back(path);
      continue;
    }
    if (kind == EntryType::Symlink) {
      danglingLinks_.push_back({path, "the link's target is missing"});
      continue;
    }
    status_ = asLink ? item.linkStatus : item.status;
    return path;
  }
  return {};
}

}  // namespace brisko::zip
