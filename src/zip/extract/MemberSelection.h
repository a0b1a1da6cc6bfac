// Which members of an archive an extraction picks: selection items turned into the extractor's
// FilesList patterns, and the match the extractor applies to them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::zip {

// How a selection item is read.
enum class SelectionItem {
  Typed,  // as typed on a command line: a wildcard stays one; a plain name is a member or a folder
  Exact,  // a stored name as listed (a folder ends in "/"); wildcard marks in it are ordinary characters
};

// The FilesList patterns that pick `item`: a member of that name and, for a folder (written with or
// without its trailing "/"), every member below it. Empty for an empty item.
std::vector<std::string> SelectionPatterns(const std::string& item, SelectionItem kind);

// Whether the stored name (folder part included) matches one of the patterns, as the extractor
// matches FilesList: whole name, ASCII letters without regard to case unless matchCase, and on
// Windows '\' and '/' alike between folders.
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view storedName,
                       bool matchCase = false);

// One selection item as the extractor matches it. A name (or folder) picks members as the system
// tells names apart: exactly on POSIX, without regard to case on Windows. A wildcard's letters match
// without regard to case, as the backup's wildcards do.
struct ItemPatterns {
  std::vector<std::string> patterns;
  bool matchCase = false;  // patterns go to the extractor's namesList, else to its filesList
  bool Matches(std::string_view storedName) const {
    return MatchesAnyPattern(patterns, storedName, matchCase);
  }
};
ItemPatterns PatternsOf(const std::string& item, SelectionItem kind);

}  // namespace brisko::zip
