// The file finder component.
#include "find/FindFile.h"

#include <algorithm>

#include "find/FolderSearch.h"
#include "platform/PathRules.h"

namespace brisko::find {

namespace {

bool HasFolderPart(const std::string& value) {
  return std::any_of(value.begin(), value.end(),
                     [](char c) { return platform::IsSeparator(c) || platform::IsPathDelimOrDrive(c); });
}

// Targets name folders, so they compare the way the platform's file names do.
bool SameTarget(const std::string& a, const std::string& b) {
  return platform::PathKey(a) == platform::PathKey(b);
}

}  // namespace

void FindFile::SetFilename(const std::string& value) {
  if (HasFolderPart(value)) throw FinderError(value + "\n\rInvalid filename specified");
  filename_ = value;
}

void FindFile::SetLocation(const std::string& value) {
  if (value.find_first_of("*?") != std::string::npos)
    throw FinderError(value + "\n\rlocation cannot to be contained wildcards");
  location_ = value;
}

std::vector<std::string> FindFile::BuildTargets() const {
  if (!includeFiles_.empty()) return includeFiles_;
  std::string pattern = filename_;
  if (pattern.empty())
    pattern = "*.*";
  else if (pattern.find('.') == std::string::npos)
    pattern += ".*";
  std::vector<std::string> targets;
  size_t start = 0;
  for (;;) {
    size_t end = location_.find(';', start);
    std::string part = location_.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string target = FolderSearch::FullFolder(part) + pattern;
    if (std::none_of(targets.begin(), targets.end(),
                     [&](const std::string& t) { return SameTarget(t, target); }))
      targets.push_back(target);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return targets;
}

SearchState FindFile::CopyState() const {
  SearchState s;
  s.targets = BuildTargets();
  s.excludes = excludeFiles_;
  s.subfolders = subfolders;
  s.attributes = attributes;
  s.exactAttribute = exactAttribute;
  s.sizeMin = sizeMin;
  s.sizeMax = sizeMax;
  s.created = {createdBefore, createdAfter};
  s.modified = {modifiedBefore, modifiedAfter};
  s.accessed = {accessedBefore, accessedAfter};
  s.containing = containing;
  s.ignoreCase = ignoreCase;
  return s;
}

void FindFile::Execute() {
  if (busy_) return;
  SearchState state = CopyState();
  busy_ = true;
  aborted_ = false;
  FolderSearch::Callbacks callbacks;
  callbacks.newFolder = [this](const std::string& folder) {
    bool ignore = false;
    if (onNewFolder) onNewFolder(*this, folder, ignore);
    return ignore;
  };
  callbacks.found = [this](const std::string& folder, FoundFile& info) {
    if (onFound) onFound(*this, folder, info);
  };
  FolderSearch(state, aborted_, std::move(callbacks)).Run();
  busy_ = false;
  if (onComplete) onComplete(*this);
}

}  // namespace brisko::find
