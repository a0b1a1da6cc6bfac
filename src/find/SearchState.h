// The copies of targets and filters that one search works on, taken when it starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "find/FindTypes.h"

namespace brisko::find {

// Date-time values are day counts since 1899-12-30 with the time of day as the fraction; 0 = no bound.
struct DateBounds {
  double before = 0;
  double after = 0;
};

struct SearchState {
  std::vector<std::string> targets;  // folder + pattern each
  std::vector<std::string> excludes;
  bool subfolders = true;
  FileAttributes attributes;
  bool exactAttribute = false;
  uint64_t sizeMin = 0;
  uint64_t sizeMax = 0;
  DateBounds created;
  DateBounds modified;
  DateBounds accessed;
  std::string containing;  // empty = no text filter
  bool ignoreCase = true;
};

}  // namespace brisko::find
