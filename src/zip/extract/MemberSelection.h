// Which members of an archive a selection item picks, for the callers that turn a user's choice into
// the stored names an extraction takes.
#pragma once

#include <string>
#include <string_view>

namespace brisko::zip {

// How a selection item is read.
enum class SelectionItem {
  Typed,  // as typed on a command line: a wildcard stays one; a plain name is a member or a folder
  Exact,  // a stored name as listed (a folder ends in "/"); wildcard marks in it are ordinary characters
};

// One selection item matched against stored names (folder part included; on Windows '\' and '/'
// alike between folders). A name picks the member of that name and, for a folder (written with or
// without its trailing "/"), every member below it, as the system tells names apart: exactly on
// POSIX, without regard to ASCII case on Windows. A wildcard matches the whole name, its letters
// without regard to case, as the backup's wildcards do. An empty item picks nothing.
class MemberSelector {
 public:
  MemberSelector(const std::string& item, SelectionItem kind);
  bool Matches(std::string_view storedName) const;

 private:
  std::string wildcard_;  // a typed wildcard; empty for a name
  std::string name_;      // the name with '/' between folders and no trailing '/'
};

}  // namespace brisko::zip
