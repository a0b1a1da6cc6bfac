// A depth-first walk below one folder that reads every folder relative to its open parent, so depth
// and path length have no limit, and names everything it could not read.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DirectoryListing.h"

namespace brisko::platform {

// Something the walk could not read and the system's reason.
struct WalkProblem {
  std::string path;  // a folder ends with the separator
  std::string reason;
};

class DirectoryWalker {
 public:
  // Lists `folder` (a trailing separator is added); with recurse its subfolders are entered too.
  DirectoryWalker(const std::string& folder, bool recurse);
  ~DirectoryWalker();
  DirectoryWalker(const DirectoryWalker&) = delete;
  DirectoryWalker& operator=(const DirectoryWalker&) = delete;

  // The next entry and its folder (with a trailing separator); false once the walk is over. A
  // folder's entries come sorted by name, those of a subfolder right after the subfolder itself.
  // Symbolic links are listed as themselves and never followed.
  bool Next(std::string& folder, DirectoryItem& item);
  // The subfolder Next gave last is not entered.
  void SkipFolder() { enter_ = false; }

  // What could not be read so far: a folder that could not be opened or listed to its end, an entry
  // whose status could not be read. Whatever it holds is missing from the walk.
  const std::vector<WalkProblem>& Unreadable() const { return unreadable_; }

 private:
  struct Level;
  // Lists folder `name` of `parent` (the root itself when parent is null) as a new level, or null.
  std::unique_ptr<Level> Open(const Level* parent, const std::string& name, const std::string& folder);

  std::vector<std::unique_ptr<Level>> stack_;
  std::vector<WalkProblem> unreadable_;
  bool recurse_;
  bool enter_ = false;  // the last entry is a folder to enter before the next
};

}  // namespace brisko::platform
