// Day-count date-times and their stored text forms.
#include "core/DateTimeValue.h"

#include <gtest/gtest.h>

#include "core/DateTimeParseError.h"
#include "support/ThrownMessage.h"

namespace brisko::core {
namespace {

using brisko::test::ThrownMessage;

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  // Before day 0 the time is kept as a positive fraction below the (negative) day.
  DateTime date = *TryEncodeDate(y, mo, d);
  DateTime time = *TryEncodeTime(h, mi, s);
  return date >= 0 ? date + time : date - time;
}

TEST(DateTimeValueTest, DayCountsMatchTheOrigin) {
  EXPECT_EQ(*TryEncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(*TryEncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(*TryEncodeDate(1970, 1, 1), 25569.0);
  EXPECT_EQ(*TryEncodeDate(2024, 3, 5), 45356.0);
  EXPECT_DOUBLE_EQ(*TryEncodeTime(6, 0, 0), 0.25);
  EXPECT_FALSE(TryEncodeTime(0, 90, 0));  // 90 minutes is no time of day
  EXPECT_DOUBLE_EQ(90.0 / kMinutesPerDay, *TryEncodeTime(1, 30, 0));
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0));
}

TEST(DateTimeValueTest, DecodeRoundTripsAcrossYears) {
  for (int y : {1, 1899, 1900, 1980, 2000, 2024, 2100, 9999}) {
    for (int m : {1, 2, 12}) {
      DateTime v = At(y, m, 28, 23, 59, 59);
      EXPECT_EQ(DecodeDate(v), std::chrono::year{y} / m / 28);
      EXPECT_EQ(DecodeTime(v).to_duration(), std::chrono::seconds{86399}) << y << "-" << m;
    }
  }
}

TEST(DateTimeValueTest, TextForms) {
  DateTime v = At(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDate(v), "2024-03-05");
  EXPECT_EQ(FormatTime(v), "14:07:09");
  EXPECT_EQ(FormatDateTime(v), "2024-03-05 14:07:09");
  EXPECT_EQ(DateTimeToStr(v), "2024-03-05 14:07:09");
  EXPECT_EQ(DateTimeToStr(At(2024, 3, 5)), "2024-03-05");
  EXPECT_EQ(FormatDateTime(At(2024, 3, 5)), "2024-03-05 00:00:00");
  // Values a hair below a whole second round to it rather than showing the second before.
  EXPECT_EQ(FormatTime(*TryEncodeTime(9, 30, 15) - 1e-10), "09:30:15");
}

TEST(DateTimeValueTest, WeekdaysStartWithSunday) {
  EXPECT_EQ(DayOfWeek(0), 7);  // 1899-12-30 was a Saturday
  EXPECT_EQ(WeekdayName(At(2024, 3, 8)), "Friday");
  EXPECT_EQ(WeekdayName(At(2024, 3, 10)), "Sunday");
  EXPECT_EQ(DayOfWeek(At(2024, 3, 10, 23, 59, 59)), 1);
}

TEST(DateTimeValueTest, ParsingTheStoredForms) {
  struct Case {
    const char* text;
    std::optional<DateTime> expected;
  } cases[] = {
      {"2024-03-05 14:07:09", At(2024, 3, 5, 14, 7, 9)},
      {"  2024-3-5   14:07  ", At(2024, 3, 5, 14, 7, 0)},
      {"2024-03-05", At(2024, 3, 5)},
      {"2024-03-05 ", At(2024, 3, 5)},
      {"24-03-05 01:02:03", At(2024, 3, 5, 1, 2, 3)},
      {"99-01-01", At(1999, 1, 1)},
      {"2024-02-30 10:00:00", std::nullopt},
      {"2024-03-05 24:00:00", std::nullopt},
      {"2024-03-05 12:60:00", std::nullopt},
      {"2024/03/05", std::nullopt},
      {"05-03-2024", std::nullopt},
      {"2024-03-05T14:07:09", std::nullopt},
      {"garbage", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    auto got = TryStrToDateTime(c.text);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << "'" << c.text << "'";
    if (got) {
      EXPECT_NEAR(*got, *c.expected, 1e-9) << "'" << c.text << "'";
    }
  }
  EXPECT_NEAR(*TryStrToTime("09:00:00"), 0.375, 1e-12);
  EXPECT_NEAR(*TryStrToTime("9:5"), *TryEncodeTime(9, 5, 0), 1e-12);
  EXPECT_FALSE(TryStrToTime("12:00:00 PM"));
  EXPECT_FALSE(TryStrToTime("Monday"));
  EXPECT_FALSE(TryStrToDate("2024-03-05 10:00"));
}

TEST(DateTimeValueTest, ParseFailuresCarryTheStoredText) {
  EXPECT_EQ(ThrownMessage<DateTimeParseError>([&] { StrToDateTime("2024-13-01"); }),
            "'2024-13-01' is not a valid date and time");
  EXPECT_THROW(StrToTime("x"), DateTimeParseError);
}

TEST(DateTimeValueTest, LocalTimeConversionsRoundTrip) {
  DateTime v = At(2024, 7, 1, 10, 20, 30);
  EXPECT_NEAR(FromTimeT(ToTimeT(v)), v, 1e-9);
  std::tm broken{};
  broken.tm_year = 124;
  broken.tm_mon = 6;
  broken.tm_mday = 1;
  broken.tm_hour = 10;
  broken.tm_min = 20;
  broken.tm_sec = 30;
  EXPECT_NEAR(FromTm(broken), v, 1e-9);
}

}  // namespace
}  // namespace brisko::core
