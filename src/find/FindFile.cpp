// The file finder component.
#include "find/FindFile.h"

#include <algorithm>

#include "find/FolderSearch.h"
#include "find/SearchThread.h"
#include "platform/PathRules.h"

namespace brisko::find {

namespace {

bool HasFolderPart(const std::string& value) {
  return std::any_of(value.begin(), value.end(),
                     [](char c) { return platform::IsSeparator(c) || platform::IsPathDelimOrDrive(c); });
}

// Targets name folders, so they compare the way the platform's file names do.
bool SameTarget(const std::string& a, const std::string& b) { return platform::PathKey(a) == platform::PathKey(b); }

}  // namespace

FindFile::FindFile() : alive_(std::make_shared<std::atomic<bool>>(true)) {}

FindFile::~FindFile() {
  *alive_ = false;
  thread_.reset();  // terminates and joins
}

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
  if (pattern.empty()) pattern = "*.*";
  else if (pattern.find('.') == std::string::npos) pattern += ".*";
  std::vector<std::string> targets;
  size_t start = 0;
  for (;;) {
    size_t end = location_.find(';', start);
    std::string part = location_.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string target = FolderSearch::FullFolder(part) + pattern;
    if (std::none_of(targets.begin(), targets.end(), [&](const std::string& t) { return SameTarget(t, target); }))
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
  s.subfolders = Subfolders;
  s.attributes = Attributes;
  s.exactAttribute = ExactAttribute;
  s.sizeMin = SizeMin;
  s.sizeMax = SizeMax;
  s.created = {CreatedBefore, CreatedAfter};
  s.modified = {ModifiedBefore, ModifiedAfter};
  s.accessed = {AccessedBefore, AccessedAfter};
  s.containing = Containing;
  s.ignoreCase = IgnoreCase;
  return s;
}

void FindFile::Execute() {
  if (busy_) return;
  state_ = std::make_unique<SearchState>(CopyState());
  busy_ = true;
  aborted_ = false;

  if (!Threaded || !PostToOwner) {
    FolderSearch::Callbacks callbacks;
    callbacks.newFolder = [this](const std::string& folder) {
      bool ignore = false;
      if (OnNewFolder) OnNewFolder(*this, folder, ignore);
      return ignore;
    };
    callbacks.found = [this](const std::string& folder, FoundFile& info) {
      if (OnFound) OnFound(*this, folder, info);
    };
    FolderSearch(*state_, aborted_, std::move(callbacks)).Run();
    Complete();
    return;
  }

  SearchThread::Handlers handlers;
  std::weak_ptr<std::atomic<bool>> alive = alive_;
  handlers.newFolder = [this](const std::string& folder) {
    bool ignore = false;
    if (OnNewFolder) OnNewFolder(*this, folder, ignore);
    return ignore;
  };
  handlers.found = [this](const std::string& folder, FoundFile& info) {
    if (OnFound) OnFound(*this, folder, info);
  };
  handlers.terminated = [this, alive] {
    auto token = alive.lock();
    if (token && *token) ThreadTerminated();
  };
  thread_ = std::make_unique<SearchThread>(*state_, aborted_, PostToOwner, std::move(handlers));
}

void FindFile::ThreadTerminated() {
  if (thread_) {
    thread_->WaitFor();
    thread_.reset();
  }
  Complete();
}

void FindFile::Complete() {
  state_.reset();
  busy_ = false;
  if (OnComplete) OnComplete(*this);
}

}  // namespace brisko::find
