// TMiniCal: Easter over the whole calendar against an independent rule,
// holiday lookup and precedence, date setters and month/year stepping,
// the month layout and ISO week numbers across year ends (reference
// values from Python's datetime.isocalendar), mouse navigation, sizing
// and a few drawn pixels.
#include "vorn/pickers/minical.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "vorn/foundation/drawing.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

// The Meeus/Jones/Butcher rule, an arithmetic independent of Gauss's.
void ReferenceEaster(int Y, int& Day, int& Month) {
  const int a = Y % 19, b = Y / 100, c = Y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25;
  const int g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4;
  const int l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
  Month = (h + l - 7 * m + 114) / 31;
  Day = (h + l - 7 * m + 114) % 31 + 1;
}

TEST(CalcEasterSunday, MatchesPublishedDatesAndAnIndependentRuleForEveryYear) {
  struct Case {
    int Year, Day, Month;
  };
  for (const Case& c : {Case{1583, 10, 4}, Case{1700, 11, 4}, Case{1818, 22, 3}, Case{1886, 25, 4},
                        Case{1943, 25, 4}, Case{2000, 23, 4}, Case{2008, 23, 3}, Case{2011, 24, 4},
                        Case{2024, 31, 3}, Case{2025, 20, 4}, Case{2038, 25, 4}, Case{2285, 22, 3}}) {
    int d = 0, m = 0;
    CalcEasterSunday(c.Year, d, m);
    EXPECT_EQ(d, c.Day) << c.Year;
    EXPECT_EQ(m, c.Month) << c.Year;
  }
  for (int y = MinDateYear; y <= MaxDateYear; ++y) {
    int d = 0, m = 0, rd = 0, rm = 0;
    CalcEasterSunday(y, d, m);
    ReferenceEaster(y, rd, rm);
    ASSERT_EQ(d * 100 + m, rd * 100 + rm) << y;
  }
}

class MiniCalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cal = std::make_unique<TMiniCal>(nullptr);
    cal->SetOnChange([this](TObject*) { ++changes; });
  }
  void Show(int Y, int M, int D) {
    cal->SetDate(EncodeDate(Y, M, D));
    changes = 0;
  }
  std::string Holiday(int Y, int M, int D) const {
    std::string caption;
    return cal->CheckHoliday(Y, M, D, caption) ? caption : "-";
  }
  void ExpectDate(int Y, int M, int D) const {
    EXPECT_EQ(cal->Year(), Y);
    EXPECT_EQ(cal->Month(), M);
    EXPECT_EQ(cal->Day(), D);
  }

  std::unique_ptr<TMiniCal> cal;
  int changes = 0;
};

TEST_F(MiniCalTest, StartsOnTodayWithTheBuiltInHolidaysAndDefaults) {
  EXPECT_EQ(cal->Date(), std::floor(Date()));
  EXPECT_EQ(cal->Width(), 300);
  EXPECT_EQ(cal->Height(), 180);
  EXPECT_EQ(cal->NumHolidays(), 8);
  EXPECT_EQ(cal->ColCount(), 8);
  EXPECT_EQ(cal->RowCount(), 8);
  EXPECT_EQ(cal->DayColors(dwMon), 0xF8F8F8);
  EXPECT_EQ(cal->DayColors(dwSat), 0xBBDDEE);
  EXPECT_EQ(cal->DayColors(dwSun), 0xCCEEFF);
  EXPECT_EQ(changes, 0);  // reading DayColors has no side effects
  int d = 0, m = 0, y = 0;
  bool repeat = false;
  std::string text;
  ASSERT_TRUE(cal->RetrieveHoliday(1, d, m, y, repeat, text));
  EXPECT_EQ(text, "Christmas Day");
  EXPECT_EQ(y, TMiniCal::RepeatYear);
  EXPECT_TRUE(repeat);
  d = 77;
  EXPECT_FALSE(cal->RetrieveHoliday(0, d, m, y, repeat, text));
  EXPECT_FALSE(cal->RetrieveHoliday(9, d, m, y, repeat, text));
  EXPECT_EQ(d, 77);
}

TEST_F(MiniCalTest, HolidaysYearlyOneOffMovableAndTheirPrecedence) {
  EXPECT_EQ(Holiday(2024, 5, 20), "Whit Monday");
  EXPECT_EQ(Holiday(2025, 5, 20), "-");
  EXPECT_EQ(Holiday(2025, 6, 9), "Whit Monday");
  EXPECT_EQ(Holiday(2024, 3, 31), "Easter Day");
  EXPECT_EQ(Holiday(2024, 4, 1), "Easter Monday");
  EXPECT_EQ(Holiday(2024, 5, 9), "Ascension Day");
  EXPECT_EQ(Holiday(2024, 5, 30), "Corpus Christi");
  EXPECT_EQ(Holiday(1, 1, 1), "New Year's Day");
  EXPECT_EQ(Holiday(9999, 1, 1), "New Year's Day");
  cal->AddHoliday(3, 10, 1990, "Unity");
  EXPECT_EQ(Holiday(1990, 10, 3), "Unity");
  EXPECT_EQ(Holiday(1991, 10, 3), "-");
  // Easter 2008 was 23 March, Ascension 1 May: the list entry Labor Day wins.
  EXPECT_EQ(Holiday(2008, 5, 1), "Labor Day");
  cal->AddRepeatHoliday(31, 3, "Own day");
  EXPECT_EQ(Holiday(2024, 3, 31), "Own day");
  cal->SetShowMovableHolidays(false);
  EXPECT_EQ(Holiday(2024, 5, 20), "-");
  cal->SetShowMovableHolidays(true);
  cal->SetLanguage(lgGerman);
  EXPECT_EQ(cal->NumHolidays(), 8);  // added holidays are gone
  EXPECT_EQ(Holiday(1990, 10, 3), "-");
  EXPECT_EQ(Holiday(2024, 12, 25), "Weihnachten");
  EXPECT_EQ(Holiday(2024, 5, 20), "Pfingstmontag");
  cal->SetLanguage(static_cast<TLanguage>(9));  // unknown languages read English
  EXPECT_EQ(Holiday(2024, 5, 20), "Whit Monday");
  EXPECT_EQ(Holiday(2024, 1, 6), "Epiphany");
  cal->ClearHolidayList();
  EXPECT_EQ(cal->NumHolidays(), 0);
  EXPECT_EQ(Holiday(2024, 12, 25), "-");
}

TEST_F(MiniCalTest, TheSelectedHolidayBecomesTheHint) {
  Show(2024, 12, 25);
  EXPECT_EQ(cal->Hint(), "Christmas Day");
  cal->SetDate(EncodeDate(2024, 12, 27));
  EXPECT_EQ(cal->Hint(), "");
  cal->SetDate(EncodeDate(2024, 12, 26));
  EXPECT_EQ(cal->Hint(), "Boxing Day");
  cal->SetIndicateHolidays(false);
  EXPECT_EQ(cal->Hint(), "");
}

TEST_F(MiniCalTest, DateSettersKeepTheDateOnDaysThatDoNotExist) {
  Show(2023, 1, 30);
  EXPECT_THROW(cal->SetMonth(2), EConvertError);
  ExpectDate(2023, 1, 30);
  EXPECT_THROW(cal->SetDay(0), EConvertError);
  EXPECT_THROW(cal->SetYear(0), EConvertError);
  EXPECT_THROW(cal->SetYear(10000), EConvertError);
  EXPECT_THROW(cal->SetDate(MaxDateTime + 5), EConvertError);
  EXPECT_THROW(cal->SetDate(std::nan("")), EConvertError);
  ExpectDate(2023, 1, 30);
  EXPECT_EQ(changes, 0);
  cal->SetDay(32);    // ignored
  cal->SetMonth(13);  // ignored
  cal->SetYear(-5);   // ignored
  ExpectDate(2023, 1, 30);
  cal->SetDay(31);
  cal->SetMonth(3);
  cal->SetYear(2020);
  ExpectDate(2020, 3, 31);
  EXPECT_EQ(changes, 3);
  cal->LastDayOfMonth();
  ExpectDate(2020, 3, 31);
  Show(9999, 12, 31);
  EXPECT_THROW(cal->NextMonth(), EConvertError);
  EXPECT_THROW(cal->NextYear(), EConvertError);
  ExpectDate(9999, 12, 31);
  Show(1, 1, 1);
  EXPECT_THROW(cal->PrevMonth(), EConvertError);
  ExpectDate(1, 1, 1);
}

TEST_F(MiniCalTest, MonthAndYearStepsKeepTheDayWhereTheMonthHasIt) {
  Show(2023, 1, 31);
  cal->NextMonth();
  ExpectDate(2023, 2, 28);
  Show(2024, 1, 31);
  cal->NextMonth();
  ExpectDate(2024, 2, 29);
  cal->NextYear();
  ExpectDate(2025, 2, 28);
  Show(2024, 3, 31);
  cal->PrevMonth();
  ExpectDate(2024, 2, 29);
  Show(2024, 12, 15);
  cal->NextMonth();
  ExpectDate(2025, 1, 15);
  cal->PrevMonth();
  ExpectDate(2024, 12, 15);
  Show(2024, 2, 29);
  cal->PrevYear();
  ExpectDate(2023, 2, 28);
  EXPECT_EQ(changes, 1);
}

TEST_F(MiniCalTest, TheFirstOfTheMonthLiesInRowTwoAtItsWeekday) {
  // January 2024 starts on a Monday: the 1st in column 1, nothing before it.
  Show(2024, 1, 10);
  EXPECT_EQ(cal->DayOfCell(1, 2), 1);
  // September 2024 starts on a Sunday: six days of August come first.
  Show(2024, 9, 10);
  EXPECT_EQ(cal->DayOfCell(7, 2), 1);
  EXPECT_EQ(cal->DayOfCell(1, 2), -5);
  cal->SetFirstDayOfWeek(dwSun);
  EXPECT_EQ(changes, 1);
  // A month starting on the first weekday begins in column 1 -- never with
  // a row of the previous month only.
  EXPECT_EQ(cal->DayOfCell(1, 2), 1);
  Show(2024, 1, 10);  // Monday the 1st, weeks from Sunday
  EXPECT_EQ(cal->DayOfCell(2, 2), 1);
}

TEST_F(MiniCalTest, WeekNumbersAcrossYearEndsMatchIsoCalendar) {
  struct Case {
    int Year, Month;
    int Weeks[6];
  };
  // Python: [(date(y,m,1) + timedelta(7*r)).isocalendar()[1] for r in range(6)]
  const Case cases[] = {
      {2020, 12, {49, 50, 51, 52, 53, 1}}, {2021, 1, {53, 1, 2, 3, 4, 5}},  {2015, 12, {49, 50, 51, 52, 53, 1}},
      {2016, 1, {53, 1, 2, 3, 4, 5}},      {2008, 12, {49, 50, 51, 52, 1, 2}}, {2009, 12, {49, 50, 51, 52, 53, 1}},
      {2010, 1, {53, 1, 2, 3, 4, 5}},      {2026, 12, {49, 50, 51, 52, 53, 1}}, {2027, 1, {53, 1, 2, 3, 4, 5}},
      {1, 1, {1, 2, 3, 4, 5, 6}},          {9999, 12, {48, 49, 50, 51, 52, 0}},
  };
  for (const Case& c : cases) {
    Show(c.Year, c.Month, 1);
    for (int row = 2; row <= 7; ++row) {
      EXPECT_EQ(cal->WeekNumberOfRow(row), c.Weeks[row - 2]) << c.Year << "-" << c.Month << " row " << row;
    }
  }
}

class MiniCalFormTest : public MiniCalTest {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    cal = std::unique_ptr<TMiniCal>(new TMiniCal(nullptr));
    cal->SetParent(form.get());
    cal->SetOnChange([this](TObject*) { ++changes; });
    form->Show();
    host.Advance(0);
  }
  void TearDown() override {
    cal.reset();
    form.reset();
  }
  void ClickCell(int ACol, int ARow) {
    const TRect r = cal->CellRect(ACol, ARow);
    host.Click(*cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
};

TEST_F(MiniCalFormTest, CellsFillTheControlAndColumnZeroAndRowZeroTakeTheRest) {
  cal->SetBounds(0, 0, 300, 180);
  EXPECT_EQ(cal->DefaultColWidth(), (300 - 7) / 8);
  EXPECT_EQ(cal->DefaultRowHeight(), (180 - 7) / 8);
  int width = 0;
  for (int c = 0; c < 8; ++c) width += cal->ColWidths(c) + 1;
  int height = 0;
  for (int r = 0; r < 8; ++r) height += cal->RowHeights(r) + 1;
  EXPECT_EQ(width, cal->ClientWidth());
  EXPECT_EQ(height, cal->ClientHeight());
  cal->SetBounds(0, 0, 5, 5);  // too small for anything: no negative sizes
  for (int c = 0; c < 8; ++c) EXPECT_GE(cal->ColWidths(c), 0);
}

TEST_F(MiniCalFormTest, ClicksSelectDaysAndStepThroughMonths) {
  Show(2024, 9, 10);  // September 2024, the 1st in column 7 of row 2
  ClickCell(3, 3);    // the 4th
  ExpectDate(2024, 9, 4);
  EXPECT_EQ(changes, 1);
  ClickCell(1, 2);  // 26 August
  ExpectDate(2024, 8, 26);
  Show(2024, 12, 10);
  ClickCell(7, 7);  // beyond December: January of the next year
  EXPECT_EQ(cal->Year(), 2025);
  EXPECT_EQ(cal->Month(), 1);
  cal->SetAutoSwitch(false);
  Show(2024, 9, 10);
  ClickCell(1, 2);
  ExpectDate(2024, 9, 10);
  EXPECT_EQ(changes, 0);
  ClickCell(6, 0);
  ExpectDate(2024, 10, 10);
  ClickCell(2, 0);
  ClickCell(2, 0);
  ExpectDate(2024, 8, 10);
  ClickCell(7, 0);
  ExpectDate(2025, 8, 10);
  ClickCell(1, 0);
  ExpectDate(2024, 8, 10);
  ClickCell(4, 0);  // the month label does nothing
  ExpectDate(2024, 8, 10);
  ClickCell(0, 0);  // "#": today
  EXPECT_EQ(cal->Date(), std::floor(Date()));
  host.Click(*cal, 100, 100, mbRight);
  EXPECT_EQ(cal->Date(), std::floor(Date()));
  // At the end of the calendar the buttons do nothing.
  Show(9999, 12, 31);
  ClickCell(7, 0);
  ClickCell(6, 0);
  ExpectDate(9999, 12, 31);
}

TEST_F(MiniCalFormTest, DrawsSelectionHolidaysAndWeekends) {
  Show(2024, 12, 10);
  cal->SetMarkToday(false);
  auto shot = host.Snapshot(*cal);
  auto px = [&](int ACol, int ARow) {
    const TRect r = cal->CellRect(ACol, ARow);
    return shot->Canvas()->Pixels(r.Left + 1, r.Top + 1);
  };
  // December 2024 starts on a Sunday: the 10th is Tuesday of row 4.
  EXPECT_EQ(px(2, 4), cal->ColorSelectedBg());
  EXPECT_EQ(px(3, 6), cal->ColorHolidayBg());  // 25th, Wednesday
  EXPECT_EQ(px(7, 3), cal->ColorHolidayBg());  // 8th, Sunday
  EXPECT_EQ(px(6, 3), cal->DayColors(dwSat));
  EXPECT_EQ(px(7, 4), cal->DayColors(dwSun));
  EXPECT_EQ(px(1, 3), cal->DayColors(dwMon));
  EXPECT_EQ(px(0, 3), cal->ColorWeekNoBg());
  EXPECT_EQ(px(1, 1), cal->ColorDayIdBg());
  Show(2024, 12, 25);
  shot = host.Snapshot(*cal);
  EXPECT_EQ(px(3, 6), MeanColor(cal->ColorSelectedBg(), cal->ColorHolidayBg()));
}

TEST_F(MiniCalFormTest, AChangeHandlerMayDeleteTheCalendar) {
  Show(2024, 9, 10);
  cal->SetOnChange([this](TObject*) { cal.reset(); });
  ClickCell(3, 3);
  EXPECT_EQ(cal, nullptr);
  host.Advance(0);
}

}  // namespace
}  // namespace vorn
