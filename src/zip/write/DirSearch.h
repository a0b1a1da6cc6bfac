// DirSearch: the files below a folder whose names match a mask, through the platform's folder walk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DirectoryWalker.h"

namespace brisko::zip {

class DirSearch {
 public:
  // Starts at folder (a trailing separator is added when missing). With links, every symbolic link
  // that matches is returned as itself (whatever it points at), to be stored as a link.
  DirSearch(const std::string& folder, bool recurse, const std::string& mask, bool links = false);

  // The next result: a matching file as folder + name, or with recursion a subfolder as its path plus
  // a trailing separator, reported before its contents.
  // Returns "" once the walk is over. Folders whose names begin with "." and folders with the
  // hidden attribute are ordinary folders: a backup leaves nothing out without saying so.
  // Symbolic links to folders are not followed (they could loop), and only regular files
  // (directly or through a link) are returned: pipes and devices would block or never end.
  std::string Next();
  // The status of what Next returned last as the walk saw it (a link kept as a link: its own).
  const platform::FileStat& Status() const { return status_; }

  // What could not be read so far (folders with a trailing separator), with the system's reason:
  // whatever it holds is missing from the results. A link without a target is here too, unless
  // links are returned as themselves.
  std::vector<platform::WalkProblem> Unreadable() const;
  // Matching pipes, sockets and devices met so far (and links to them, unless links are returned as
  // themselves): they have no content to store.
  const std::vector<std::string>& Special() const { return special_; }
  // Matching links to folders met so far while links are followed: not followed, so left out.
  const std::vector<std::string>& FolderLinks() const { return folderLinks_; }

 private:
  platform::DirectoryWalker walker_;
  std::vector<platform::WalkProblem> danglingLinks_;
  std::vector<std::string> special_;
  std::vector<std::string> folderLinks_;
  platform::FileStat status_;
  std::string mask_;
  bool recurse_;
  bool links_;
};

}  // namespace brisko::zip
