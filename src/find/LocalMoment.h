// Converts file-system times (UTC seconds) to the local day count the finder's date filters use.
#pragma once

#include <cstdint>
#include <ctime>

namespace brisko::find {

// A local moment split into whole days since 1899-12-30 and seconds of that day.
struct LocalMoment {
  int64_t days = 0;
  int32_t seconds = 0;
};

LocalMoment ToLocalMoment(std::time_t utc);

}  // namespace brisko::find
