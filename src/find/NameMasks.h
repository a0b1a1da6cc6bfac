// The two name-matching rules of the finder: enumeration patterns and exclusion masks.
#pragma once

#include <string>

namespace brisko::find {

// Whether a folder entry's name matches an enumeration pattern ("*.zip", "readme.*"), without
// regard to case, the way the desktop's own file enumeration matches: "*" any run, "?" any one
// character, and a trailing ".*" also matching names without a dot.
bool MatchFindPattern(const std::string& pattern, const std::string& name);

// Whether the item folder + name (folder with a trailing separator) is hit by an exclusion mask.
// The mask's folder part, if any, must equal the end of the item's folder; its name part is
// matched with the segment rule of MatchExcludeName. Case is ignored.
bool MatchesExcludeMask(const std::string& mask, const std::string& folder, const std::string& name);

// The name rule of exclusion masks on upper-cased text: "?" any character but ".", "*" the rest of
// the current dot-separated segment without backtracking; an empty mask matches every name.
bool MatchExcludeName(const std::string& mask, const std::string& name);

}  // namespace brisko::find
