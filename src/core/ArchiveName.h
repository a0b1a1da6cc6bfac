// The naming rule of archives: folder + prefix + suffix (none, date stamp or number) + ".zip".
#pragma once

#include <string>

#include "core/DateTimeValue.h"
#include "core/ProjectKinds.h"

namespace brisko::core {

// The date suffix of a moment: "yyyy-mm-dd_HHhMMmSSs" (5 March 2024 14:07:09 gives
// "2024-03-05_14h07m09s"): with the year, a backup never meets last year's archive of the same day.
std::string DateSuffix(DateTime moment);

// The number suffix: with isAppend0, padded with "0" to `width` digits; wider numbers unchanged.
std::string NumberSuffix(int number, bool isAppend0, int width);

// The full archive path: the trimmed folder (a separator added when it is not empty and lacks
// one), the trimmed prefix, the suffix of the kind, ".zip". `moment` is used for the Date kind,
// `number` for the Number kind.
std::string ComposeArchivePath(const std::string& folder, const std::string& prefix, SuffixKind kind,
                               int number, bool isAppend0, int width, DateTime moment);

}  // namespace brisko::core
