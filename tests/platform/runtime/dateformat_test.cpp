// Date and time texts in the picker's letters: reading, writing, and both
// checked against Python's datetime where the machine has python3.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>

#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/dateformat.h"
#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {
namespace {

struct ReadCase {
  const char* Format;
  const char* Text;
  int Year, Month, Day, Hour, Minute, Second;  // all 0: the result is 0
};

TEST(PickerTextTest, ReadsEveryTokenAndGivesZeroWhenSomethingDoesNotMatch) {
  const ReadCase cases[] = {
      {"dd.MM.yyyy", "24.12.2016", 2016, 12, 24, 0, 0, 0},
      {"dd.MM.yyyy", "2016/12/24", 0, 0, 0, 0, 0, 0},  // the literal '.' does not match
      {"dd.MM.yyyy", "24.12.16", 0, 0, 0, 0, 0, 0},    // yyyy needs four digits
      {"d.M.yyyy", "5.3.2020", 2020, 3, 5, 0, 0, 0},
      {"d.M.yyyy", " 5.+3.2020", 2020, 3, 5, 0, 0, 0},  // blanks and a sign before an integer
      {"d.M.yyyy", "x.3.2020", 0, 0, 0, 0, 0, 0},
      {"MMMM d, yyyy", "february 29, 2024", 2024, 2, 29, 0, 0, 0},
      {"MMMM d, yyyy", "Febr 29, 2024", 0, 0, 0, 0, 0, 0},
      {"ddd, dd MMM yyyy HH:mm:ss", "Tue, 24 DEC 2019 23:59:58", 2019, 12, 24, 23, 59, 58},
      {"dddd dd.MM.yyyy", "Wednesday 01.01.2020", 2020, 1, 1, 0, 0, 0},
      {"dddd dd.MM.yyyy", "Wed 01.01.2020", 0, 0, 0, 0, 0, 0},  // dddd wants the long name
      {"hh:mm tt", "12:30 am", 0, 0, 0, 0, 30, 0},
      {"hh:mm tt", "01:05 PM", 0, 0, 0, 13, 5, 0},
      {"h:mm t", "12:00 p", 0, 0, 0, 12, 0, 0},
      {"HH:mm tt", "09:00 PM", 0, 0, 0, 9, 0, 0},  // a 24-hour field ignores the half
      {"HH:mm", "9:30", 0, 0, 0, 0, 0, 0},
      {"H:m:s", "9:5:7 and more", 0, 0, 0, 9, 5, 7},  // text after the format is left over
      {"HH'h'mm", "14h05", 0, 0, 0, 14, 5, 0},
      {"HH''mm", "1405", 0, 0, 0, 14, 5, 0},  // '' outside a quote is an empty literal
      {"'it''s' HH", "it's 07", 0, 0, 0, 7, 0, 0},
      {"yyy", "201", 0, 0, 0, 0, 0, 0},         // no token has three y
      {"'open HH", "open 07", 0, 0, 0, 0, 0, 0},  // an unterminated quote
      {"dd.MM.yyyy", "24.12", 0, 0, 0, 0, 0, 0},  // text ends before the format
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(std::string(c.Format) + " / " + c.Text);
    const TDateTime got = PickerTextToDateTime(c.Format, c.Text);
    TDateTime want = 0;
    if (c.Year != 0) want = EncodeDate(c.Year, c.Month, c.Day);
    want += EncodeTime(c.Hour, c.Minute, c.Second, 0);
    EXPECT_DOUBLE_EQ(got, want);
  }
}

TEST(PickerTextTest, TwoDigitYearsFollowTheCenturyWindow) {
  SetNowHook([] { return EncodeDate(2026, 6, 1); });
  EXPECT_EQ(PickerTextToDateTime("dd.MM.yy", "01.01.76"), EncodeDate(1976, 1, 1));
  EXPECT_EQ(PickerTextToDateTime("dd.MM.yy", "01.01.75"), EncodeDate(2075, 1, 1));
  FormatSettings().TwoDigitYearCenturyWindow = 0;
  EXPECT_EQ(PickerTextToDateTime("dd.MM.yy", "01.01.10"), EncodeDate(2010, 1, 1));
  EXPECT_EQ(PickerTextToDateTime("dd.MM.yy", "01.01.99"), EncodeDate(2099, 1, 1));
  ResetFormatSettings();
  SetNowHook(nullptr);
}

TEST(PickerTextTest, ADateOrTimeThatDoesNotExistIsAConversionErrorNamingTheText) {
  for (const auto& [format, text] : {std::pair{"dd.MM.yyyy", "31.04.2016"}, std::pair{"dd.MM.yyyy", "29.02.2100"},
                                     std::pair{"dd.MM", "24.12"},  // year 0 with a month and a day
                                     std::pair{"HH:mm", "25:00"}, std::pair{"d.M.yyyy", "-1.3.2020"},
                                     std::pair{"hh tt", "13 PM"}}) {
    SCOPED_TRACE(text);
    try {
      (void)PickerTextToDateTime(format, text);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
  }
}

TEST(PickerTextTest, WritingUsesEnglishNamesAndTheTwelveHourClock) {
  const TDateTime t = EncodeDate(2016, 12, 4) + EncodeTime(0, 7, 9, 0);
  EXPECT_EQ(FormatPickerDateTime("dddd d MMMM yy, h:m:s t", t), "Sunday 4 December 16, 12:7:9 A");
  EXPECT_EQ(FormatPickerDateTime("ddd dd MMM yyyy hh:mm:ss tt", t + 0.5), "Sun 04 Dec 2016 12:07:09 PM");
  EXPECT_EQ(FormatPickerDateTime("'d''M' yyy", t), "d'M yyy");  // an invalid run shows as written
  EXPECT_EQ(FormatPickerDateTime("yyyy", EncodeDate(5, 1, 1)), "0005");
  EXPECT_EQ(FormatPickerDateTime("yyyy", MaxDateTime + 1), "");
  EXPECT_EQ(FormatPickerDateTime("yyyy", std::nan("")), "");
}

// Runs python3 with a script; empty output when python3 is missing.
std::string Python(const std::string& Script) {
  const std::string command = "python3 -c '" + Script + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

TEST(PickerTextTest, WritingAndReadingAgreeWithPythonsDatetime) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> days(static_cast<int>(MinDateTime), static_cast<int>(MaxDateTime));
  std::uniform_int_distribution<int> seconds(0, 86399);
  std::vector<std::pair<int, int>> samples;
  for (int i = 0; i < 300; ++i) samples.emplace_back(days(random), seconds(random));
  samples.emplace_back(static_cast<int>(MinDateTime), 0);
  samples.emplace_back(static_cast<int>(MaxDateTime), 86399);
  std::string list;
  for (const auto& [d, s] : samples) list += "(" + std::to_string(d) + "," + std::to_string(s) + "),";
  const std::string out = Python(
      "import datetime\n"
      "base = datetime.datetime(1899, 12, 30)\n"
      "for d, s in [" + list + "]:\n"
      "  t = base + datetime.timedelta(days=d, seconds=s)\n"
      "  print(\"%04d-%02d-%02d %s %s %02d:%02d:%02d %02d%s\" % (t.year, t.month, t.day, "
      "[\"Monday\",\"Tuesday\",\"Wednesday\",\"Thursday\",\"Friday\",\"Saturday\",\"Sunday\"][t.weekday()], "
      "[\"Jan\",\"Feb\",\"Mar\",\"Apr\",\"May\",\"Jun\",\"Jul\",\"Aug\",\"Sep\",\"Oct\",\"Nov\",\"Dec\"][t.month-1], "
      "t.hour, t.minute, t.second, (t.hour + 11) % 12 + 1, \"AM\" if t.hour < 12 else \"PM\"))\n");
  if (out.empty()) GTEST_SKIP() << "python3 is not available";
  std::istringstream lines(out);
  const char* format = "yyyy-MM-dd dddd MMM HH:mm:ss hhtt";
  for (const auto& [d, s] : samples) {
    std::string want;
    ASSERT_TRUE(std::getline(lines, want));
    const TDateTime serial = d >= 0 ? d + s / 86400.0 : d - s / 86400.0;
    EXPECT_EQ(FormatPickerDateTime(format, serial), want) << d << " " << s;
    EXPECT_NEAR(PickerTextToDateTime(format, want), serial, 1e-6) << want;
  }
}

TEST(PickerTextTest, MonthLengthsAgreeWithPythonsCalendar) {
  const std::string out = Python(
      "import calendar\n"
      "print(\" \".join(str(calendar.monthrange(y, m)[1]) for y in (1, 4, 100, 1600, 1900, 2000, 2024, 2100, 9999) "
      "for m in range(1, 13)))\n");
  if (out.empty()) GTEST_SKIP() << "python3 is not available";
  std::istringstream numbers(out);
  for (const int y : {1, 4, 100, 1600, 1900, 2000, 2024, 2100, 9999}) {
    for (int m = 1; m <= 12; ++m) {
      int want = 0;
      numbers >> want;
      EXPECT_EQ(DaysInAMonth(y, m), want) << y << "-" << m;
    }
  }
}

}  // namespace
}  // namespace vorn
