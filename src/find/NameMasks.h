// The exclusion masks of the finder: a folder part that the item's folder must end with, and a name.
#pragma once

#include <string>

namespace brisko::find {

// Whether the item folder + name (folder with a trailing separator) is hit by an exclusion mask.
// The mask's folder part, if any, must equal the end of the item's folder; its name part is a
// wildcard pattern (an empty one matches every name). Case is ignored.
bool MatchesExcludeMask(const std::string& mask, const std::string& folder, const std::string& name);

}  // namespace brisko::find
