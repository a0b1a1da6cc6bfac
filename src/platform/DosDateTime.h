// DOS date-time values (FAT directory entries, ZIP headers): making them from file times and the clock,
// repair, conversion.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/CivilDate.h"

namespace brisko::platform {

// DOS date-time: time in the low 16 bits (seconds/2, minutes, hours), date in the high 16 bits
// (day, month, years since 1980).
struct DosParts {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

DosParts SplitDosDateTime(uint32_t dos);
uint32_t MakeDosDateTime(const DosParts& parts);

// A UTC time (seconds since the Unix epoch) in local time and DOS form; odd seconds drop.
// Times before 1980 give 1980-01-01 00:00:00, times after 2107 give 2107-12-31 23:59:58.
uint32_t DosDateTimeFromTime(std::time_t utc);

// The current local time in DOS form.
uint32_t DosDateTimeNow();

// Leaves a valid value unchanged; otherwise clamps each bad part alone: seconds/2 to 29, minutes to 59,
// hours to 23, day 0 to 1, month 0 to 1 and above 12 to 12, year field 120 and above to 119.
uint32_t RepairDosDateTime(uint32_t dos);

// Converts to a date-time value; false when the value is not a real calendar moment (e.g. day 31 of
// April). The conversion needs no time zone: DOS values are local times already.
bool DosDateTimeToDateTime(uint32_t dos, DateTime& out);

// Converts a DOS (local) date-time to UTC seconds, for setting a file's last-write time; -1 when invalid.
std::time_t DosDateTimeToTime(uint32_t dos);

// "yyyy-mm-dd HH:mm:ss" of a DOS date-time, from its fields as stored.
std::string FormatDosDateTime(uint32_t dos);

}  // namespace brisko::platform
