// DirSearch: a depth-first walk that lists the files below a folder matching a mask.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brisko::zip {

// One listed folder: its entries read in one pass, and the position of the walk in them.
struct DirSearchEntry {
  enum class Kind : uint8_t { File, Directory, Other };
  struct Entry {
    std::string name;
    Kind kind = Kind::Other;
  };
  std::string folder;  // always ends with the separator
  std::vector<Entry> entries;
  size_t index = 0;
  bool Exhausted() const { return index >= entries.size(); }
};

class DirSearch {
 public:
  // Opens the first listing of folder (a trailing separator is added when missing).
  // A folder that cannot be listed yields nothing and is kept in Unlistable(). With links, every
  // symbolic link that matches is returned as itself (whatever it points at), to be stored as a link.
  DirSearch(const std::string& folder, bool recurse, const std::string& mask, bool links = false);

  // The next result: a matching file as folder + name (its size in size), or with recursion a
  // subfolder as its path plus a trailing separator (size 0), reported before its contents.
  // Returns "" once the walk is over. Folders whose names begin with "." and folders with the
  // hidden attribute are ordinary folders: a backup leaves nothing out without saying so.
  // Symbolic links to folders are not followed (they could loop), and only regular files
  // (directly or through a link) are returned: pipes and devices would block or never end.
  std::string Next(uint64_t& size);

  // Folders met so far whose entries could not be read (no permission, removed, I/O error), each
  // with a trailing separator: whatever they hold is missing from the results.
  const std::vector<std::string>& Unlistable() const { return unlistable_; }

 private:
  void Open(const std::string& folder);

  std::vector<DirSearchEntry> stack_;
  std::vector<std::string> unlistable_;  // grows with the depth; no fixed limit
  std::string mask_;
  bool recurse_;
  bool links_;
};

}  // namespace brisko::zip
