// Converts file-system times (UTC seconds) to the local day count and DOS date-time the finder uses.
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

// Local DOS date-time (time in the low word, date in the high word); moments before 1980
// give 1980-01-01 00:00:00.
uint32_t ToDosDateTime(std::time_t utc);

}  // namespace brisko::find
