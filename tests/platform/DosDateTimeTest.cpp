// DOS date-time repair, conversion and formatting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/DosDateTime.h"
#include "support/TestEnvironment.h"

namespace brisko::platform {
namespace {

uint32_t Dos(int year, int month, int day, int hour, int minute, int sec2) {
  return static_cast<uint32_t>(sec2 | (minute << 5) | (hour << 11)) |
         (static_cast<uint32_t>(day | (month << 5) | ((year - 1980) << 9)) << 16);
}

TEST(DosDateTime, RepairTable) {
  struct Case {
    const char* label;
    uint32_t in;
    uint32_t out;
  };
  const Case cases[] = {
      {"valid stays", Dos(2021, 6, 15, 12, 34, 28), Dos(2021, 6, 15, 12, 34, 28)},
      {"month 13 day 0", Dos(2021, 13, 0, 10, 31, 0), Dos(2021, 12, 1, 10, 31, 0)},
      {"month 0", Dos(2000, 0, 5, 0, 0, 0), Dos(2000, 1, 5, 0, 0, 0)},
      {"seconds 31*2", Dos(2000, 1, 5, 0, 0, 31), Dos(2000, 1, 5, 0, 0, 29)},
      {"minutes 63", Dos(2000, 1, 5, 0, 63, 1), Dos(2000, 1, 5, 0, 59, 1)},
      {"hours 24", Dos(2000, 1, 5, 24, 1, 1), Dos(2000, 1, 5, 23, 1, 1)},
      {"year 2100", Dos(2100, 3, 5, 1, 1, 1), Dos(2099, 3, 5, 1, 1, 1)},
      {"all zero", 0, Dos(1980, 1, 1, 0, 0, 0)},
      {"all ones", 0xFFFFFFFF, Dos(2099, 12, 31, 23, 59, 29)},
  };
  for (const Case& c : cases) EXPECT_EQ(RepairDosDateTime(c.in), c.out) << c.label;
}

TEST(DosDateTime, ConversionToDateTimeValue) {
  DateTime v = 0;
  ASSERT_TRUE(DosDateTimeToDateTime(Dos(1980, 1, 1, 0, 0, 0), v));
  EXPECT_DOUBLE_EQ(v, 29221.0);  // 1980-01-01 is day 29221 after 1899-12-30
  ASSERT_TRUE(DosDateTimeToDateTime(Dos(2000, 3, 1, 12, 0, 0), v));
  EXPECT_DOUBLE_EQ(v, 36586.5);
  EXPECT_FALSE(DosDateTimeToDateTime(Dos(2001, 2, 29, 0, 0, 0), v));  // not a leap year
  EXPECT_FALSE(DosDateTimeToDateTime(Dos(2001, 4, 31, 0, 0, 0), v));
}

TEST(DosDateTime, FromTimeDropsOddSecondsAndRangeEnds) {
  test::ScopedTimeZone utc("UTC");
  // 2022-03-04 05:06:09 UTC
  EXPECT_EQ(DosDateTimeFromTime(1646370369), Dos(2022, 3, 4, 5, 6, 4));
  EXPECT_EQ(DosDateTimeFromTime(0), Dos(1980, 1, 1, 0, 0, 0));                // 1970: clamped
  EXPECT_EQ(DosDateTimeFromTime(4102444800), Dos(2100, 1, 1, 0, 0, 0));       // 2100-01-01
  EXPECT_EQ(DosDateTimeFromTime(7258118400), Dos(2107, 12, 31, 23, 59, 29));  // 2200: clamped
  EXPECT_EQ(DosDateTimeToTime(Dos(2022, 3, 4, 5, 6, 4)), 1646370368);
  EXPECT_EQ(DosDateTimeToTime(Dos(2022, 2, 30, 0, 0, 0)), -1);
  EXPECT_EQ(FormatDosDateTime(Dos(2022, 3, 4, 5, 6, 4)), "2022-03-04 05:06:08");
}

}  // namespace
}  // namespace brisko::platform
