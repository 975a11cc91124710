// Calendar arithmetic and date formatting.
#include <gtest/gtest.h>

#include "vorn/platform/runtime/dates.h"

#include <limits>

namespace vorn {
namespace {

TEST(DateTest, DayZeroAndTheCalendarAroundIt) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  int y = 0, m = 0, d = 0;
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  int h = 0, n = 0, s = 0, ms = 0;
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(h, 6);
  DecodeDate(EncodeDate(1, 1, 1), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 10101);
  DecodeDate(EncodeDate(9999, 12, 31), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 99991231);
}

TEST(DateTest, InvalidDatesAreRefused) {
  TDateTime t = 0;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, t));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, t));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, t));
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, t));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, t));
  EXPECT_FALSE(TryEncodeDate(2020, 13, 1, t));
  EXPECT_THROW(EncodeDate(2020, 4, 31), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateTest, SerialsOutsideTheCalendarAreInvalidDates) {
  // The calendar's ends, as Python's datetime counts them from 1899-12-30.
  EXPECT_EQ(MinDateTime, -693593.0);
  EXPECT_EQ(MaxDateTime, 2958465.0);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", MinDateTime - 0.75), "0001-01-01 18:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", MaxDateTime + 0.75), "9999-12-31 18:00");
  const double inf = std::numeric_limits<double>::infinity();
  for (const double serial : {MinDateTime - 1, MaxDateTime + 1, 9.2e18, 9.3e18, 1e19, -1e19, 1e300, -1e300, inf, -inf,
                              std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", serial), "") << serial;
    EXPECT_EQ(DateTimeToStr(serial), "") << serial;
    int y = 0, m = 0, d = 0;
    EXPECT_THROW(DecodeDate(serial, y, m, d), EConvertError) << serial;
    EXPECT_THROW((void)DayOfWeek(serial), EConvertError) << serial;
    EXPECT_THROW((void)WeekOfTheYear(serial), EConvertError) << serial;
    EXPECT_THROW((void)IncMonth(serial, 1), EConvertError) << serial;
  }
  EXPECT_THROW((void)IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
  EXPECT_THROW((void)IncMonth(EncodeDate(2000, 1, 1), std::numeric_limits<int>::max()), EConvertError);
  EXPECT_THROW((void)IncMonth(EncodeDate(2000, 1, 1), std::numeric_limits<int>::min()), EConvertError);
  EXPECT_EQ(IncMonth(EncodeDate(1, 2, 1), -1), EncodeDate(1, 1, 1));
}

TEST(DateTest, WeekDaysAndIsoWeeks) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 8)), 3);     // a Tuesday, Sunday = 1
  EXPECT_EQ(DayOfTheWeek(EncodeDate(2026, 12, 8)), 2);  // Monday = 1
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);    // day 0 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);
  int year = 0;
  EXPECT_EQ(WeekOfTheYear(EncodeDate(2021, 1, 3), year), 53);
  EXPECT_EQ(year, 2020);
  EXPECT_EQ(WeekOfTheYear(EncodeDate(2019, 12, 30), year), 1);
  EXPECT_EQ(year, 2020);
  EXPECT_EQ(WeekOfTheYear(EncodeDate(2026, 12, 8)), 50);
}

TEST(DateTest, IncMonthKeepsTheDayWhereItCan) {
  int y = 0, m = 0, d = 0;
  DecodeDate(IncMonth(EncodeDate(2024, 1, 31), 1), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
  DecodeDate(IncMonth(EncodeDate(2024, 3, 15), -15), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20221215);
}

TEST(DateTest, FormatLetters) {
  ResetFormatSettings();
  const TDateTime t = EncodeDateTime(2026, 3, 7, 14, 5, 9, 42);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t), "2026-03-07 14:05:09.042");
  EXPECT_EQ(FormatDateTime("d/m/yy", t), "7-3-26");
  EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", t), "Sat Saturday Mar March");
  EXPECT_EQ(FormatDateTime("h:mm am/pm", t), "2:05 pm");
  EXPECT_EQ(FormatDateTime("hh:mm AMPM", t), "02:05 PM");
  EXPECT_EQ(FormatDateTime("'day' d \"of\" mmmm", t), "day 7 of March");
  EXPECT_EQ(FormatDateTime("c", t), "2026-03-07 14:05:09");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 3, 7)), "2026-03-07");
  FormatSettings().DateSeparator = '.';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", t), "07.03.2026");
  ResetFormatSettings();
}

TEST(DateTest, ReadingDatesUsesTheFormatOrderAndTheCenturyWindow) {
  ResetFormatSettings();
  SetNowHook([] { return EncodeDate(2026, 6, 1); });
  TDateTime d = 0;
  ASSERT_TRUE(TryStrToDate("2026-12-08", d));
  EXPECT_EQ(d, EncodeDate(2026, 12, 8));
  ASSERT_TRUE(TryStrToDate("30/1/2", d));
  EXPECT_EQ(d, EncodeDate(2030, 1, 2));
  ASSERT_TRUE(TryStrToDate("80-1-2", d));
  EXPECT_EQ(d, EncodeDate(1980, 1, 2));
  EXPECT_FALSE(TryStrToDate("2026-02-30", d));
  EXPECT_FALSE(TryStrToDate("2026-02", d));
  EXPECT_FALSE(TryStrToDate("12345678901-1-1", d));
  SetNowHook(nullptr);
}

}  // namespace
}  // namespace vorn
