// TMiniCal: a month calendar on an 8 x 8 draw grid.
//
//   row 0     | "#" |  <<  |  <  |   month year   |  >  |  >>  |
//   row 1     | "#" | weekday names (from FirstDayOfWeek on)   |
//   rows 2..7 | ISO week number | six weeks of days             |
//
// The "#" button spans rows 0 and 1 and jumps to today; the month label is
// drawn by column 5 over columns 3..5. The first of the shown month always
// lies in row 2; days before and after it belong to the neighbouring months
// and are drawn in ColorInactiveMonth. Day d of a day cell is
// 7 Row - 14 + MonthOffset + Col - 1.
//
// Holidays: a list of fixed-date holidays, each either yearly or of one
// year (eight yearly ones are built in), plus six that move with Easter
// Sunday (Easter Sunday and Monday, Ascension, Pentecost, Whit Monday,
// Corpus Christi). A list entry wins over a movable holiday on the same
// day. The selected date's holiday caption becomes the control's hint.
//
// Dates run from 1 January 1 to 31 December 9999; setters that would leave
// that range, or name a day that does not exist, raise EConvertError and
// keep the date. Navigation by mouse beyond the range does nothing.
//
// Painting: double buffered (the default), the calendar draws itself once
// into a bitmap of its size and a repaint copies that bitmap while nothing
// it shows has changed. Every setter that changes what is shown goes
// through Invalidate, which drops the bitmap; a change of size, of today's
// date or of the system colour table is noticed at the next paint. A
// calendar only partly visible, or not double buffered, draws straight
// onto its form, so that its cost follows the visible part.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/grids/grids.h"
#include "vorn/platform/runtime/dates.h"

namespace vorn {

enum TDayOfWeek : std::uint8_t { dwMon, dwTue, dwWed, dwThu, dwFri, dwSat, dwSun };
using TDayColors = std::array<TColor, 7>;

// Easter Sunday of a Gregorian year (Gauss's rule); Month is 3 or 4.
void CalcEasterSunday(int Year, int& Day, int& Month);

class TMiniCal : public TCustomDrawGrid {
 public:
  // Year of a yearly holiday in the list.
  static constexpr int RepeatYear = -99999;

  explicit TMiniCal(TComponent* AOwner);

  // ---- the date -------------------------------------------------------------------
  [[nodiscard]] TDateTime Date() const { return FDate; }
  void SetDate(TDateTime Value);
  [[nodiscard]] int Day() const;
  [[nodiscard]] int Month() const;
  [[nodiscard]] int Year() const;
  // Negative years, months outside 0..12 and days outside 0..days in the
  // month are ignored; 0 and other dates that do not exist raise.
  void SetDay(int Value);
  void SetMonth(int Value);
  void SetYear(int Value);
  void NextMonth() { StepMonth(+1); }
  void PrevMonth() { StepMonth(-1); }
  void NextYear() { StepYear(+1); }
  void PrevYear() { StepYear(-1); }
  void LastDayOfMonth();

  // ---- holidays --------------------------------------------------------------------
  // Whether the day is a holiday; Caption receives its name (cleared first).
  bool CheckHoliday(int AYear, int AMonth, int ADay, std::string& Caption) const;
  void ClearHolidayList();
  void AddHoliday(int ADay, int AMonth, int AYear, const std::string& Caption);
  void AddRepeatHoliday(int ADay, int AMonth, const std::string& Caption);
  // Entry HDIndex (1-based); false and outputs untouched outside the list.
  bool RetrieveHoliday(int HDIndex, int& ADay, int& AMonth, int& AYear, bool& IsRepeatHDay,
                       std::string& Description) const;
  [[nodiscard]] int NumHolidays() const { return static_cast<int>(FHolidays.size()); }

  // ---- look and behaviour ---------------------------------------------------------------
  [[nodiscard]] bool AutoSwitch() const { return FAutoSwitch; }
  void SetAutoSwitch(bool Value) { FAutoSwitch = Value; }
  [[nodiscard]] TColor ColorActiveMonth() const { return FColorActMon; }
  void SetColorActiveMonth(TColor Value) { SetShownColor(FColorActMon, Value); }
  [[nodiscard]] TColor ColorInactiveMonth() const { return FColorInactMon; }
  void SetColorInactiveMonth(TColor Value) { SetShownColor(FColorInactMon, Value); }
  [[nodiscard]] TColor ColorWeekNoBg() const { return FColorWknBg; }
  void SetColorWeekNoBg(TColor Value) { SetShownColor(FColorWknBg, Value); }
  [[nodiscard]] TColor ColorWeekNoFg() const { return FColorWknFg; }
  void SetColorWeekNoFg(TColor Value) { SetShownColor(FColorWknFg, Value); }
  [[nodiscard]] TColor ColorDayIdBg() const { return FColorDayIdBg; }
  void SetColorDayIdBg(TColor Value) { SetShownColor(FColorDayIdBg, Value); }
  [[nodiscard]] TColor ColorDayIdFg() const { return FColorDayIdFg; }
  void SetColorDayIdFg(TColor Value) { SetShownColor(FColorDayIdFg, Value); }
  [[nodiscard]] TColor ColorSelectedBg() const { return FColorSelBg; }
  void SetColorSelectedBg(TColor Value) { SetShownColor(FColorSelBg, Value); }
  [[nodiscard]] TColor ColorSelectedFg() const { return FColorSelFg; }
  void SetColorSelectedFg(TColor Value) { SetShownColor(FColorSelFg, Value); }
  [[nodiscard]] TColor ColorHolidayBg() const { return FColorHdayBg; }
  void SetColorHolidayBg(TColor Value) { SetShownColor(FColorHdayBg, Value); }
  [[nodiscard]] TColor ColorHolidayFg() const { return FColorHdayFg; }
  void SetColorHolidayFg(TColor Value) { SetShownColor(FColorHdayFg, Value); }
  [[nodiscard]] TColor ColorToday() const { return FColorToday; }
  void SetColorToday(TColor Value) { SetShownColor(FColorToday, Value); }
  // Background of the day cells of a weekday. Reading has no side effects;
  // writing recomputes the layout and fires OnChange.
  [[nodiscard]] TColor DayColors(TDayOfWeek Day) const { return FDayColors[Day % 7]; }
  void SetDayColors(TDayOfWeek Day, TColor Value);
  [[nodiscard]] TDayOfWeek FirstDayOfWeek() const { return F1stDayWeek; }
  void SetFirstDayOfWeek(TDayOfWeek Value);
  [[nodiscard]] bool IndicateHolidays() const { return FIndicateHolid; }
  void SetIndicateHolidays(bool Value);
  // Texts in English, German, French or Spanish; other values use English.
  // Setting it resets the holiday list to the built-in holidays.
  [[nodiscard]] TLanguage Language() const { return FLanguage; }
  void SetLanguage(TLanguage Value);
  [[nodiscard]] bool MarkToday() const { return FMarkToday; }
  void SetMarkToday(bool Value);
  [[nodiscard]] bool ShowHolidayHint() const { return FShowHDayHint; }
  void SetShowHolidayHint(bool Value);
  [[nodiscard]] bool ShowMonthShort() const { return FMonthShort; }
  void SetShowMonthShort(bool Value);
  [[nodiscard]] bool ShowMovableHolidays() const { return FShowMovHdays; }
  void SetShowMovableHolidays(bool Value);
  // The 3-D frames of the buttons.
  [[nodiscard]] bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  // ---- geometry ----------------------------------------------------------------------
  // Offset of the first of the shown month (see the day formula above).
  [[nodiscard]] int MonthOffset() const { return FMonOfs; }
  // Day number of a day cell: below 1 or above the month's length for the
  // neighbouring months.
  [[nodiscard]] int DayOfCell(int ACol, int ARow) const { return 7 * ARow - 14 + FMonOfs + ACol - 1; }
  // ISO week number shown in week row ARow (2..7): the week of the month's
  // first day plus ARow - 2 weeks; 0 beyond the last date there is.
  [[nodiscard]] int WeekNumberOfRow(int ARow) const;

  void Paint() override;
  void Invalidate() override;
  // While the calendar draws into its bitmap, the bitmap's canvas.
  [[nodiscard]] TCanvas* Canvas() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  // Every cell is filled: the day, week and weekday cells by their text,
  // the others by the buttons drawn over them.
  [[nodiscard]] bool CellsCoverThemselves() const override { return true; }

 private:
  struct THoliday {
    int Day;
    int Month;
    int Year;  // RepeatYear for every year
    std::string Caption;
  };

  void SetShownColor(TColor& Field, TColor Value);
  void LoadBuiltInHolidays();
  void UpdateLayout();
  void Changed();
  void SetDateParts(int AYear, int AMonth, int ADay);
  void StepMonth(int Step);
  void StepYear(int Step);
  void ClickDay(int ACol, int ARow);
  void ClickButton(int ACol);
  void ResizeCells();
  [[nodiscard]] int LanguageIndex() const;
  void DrawButton(TCanvas& C, const TRect& R, const std::string& Text) const;
  void DrawDayCell(TCanvas& C, int ACol, int ARow, const TRect& R) const;
  void DrawFrame3D(TCanvas& C, const TRect& R) const;
  static void CenterText(TCanvas& C, const TRect& R, const std::string& Text);

  bool FAutoSwitch = true;
  TColor FColorActMon = 0x000000;
  TColor FColorInactMon = 0xC0C0C0;
  TColor FColorWknBg = 0xC0C0C0;
  TColor FColorWknFg = 0x000000;
  TColor FColorDayIdBg = 0xC0C0C0;
  TColor FColorDayIdFg = 0x000000;
  TColor FColorSelBg = 0xD0A040;
  TColor FColorSelFg = 0xFFFFFF;
  TColor FColorHdayBg = 0x9BD8F1;
  TColor FColorHdayFg = 0x0000C0;
  TColor FColorToday = 0x0000FF;
  bool FShowHDayHint = true;
  bool FIndicateHolid = true;
  bool FShowMovHdays = true;
  std::vector<THoliday> FHolidays;
  TDateTime FDate = 0;
  TDayColors FDayColors{0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xBBDDEE, 0xCCEEFF};
  TLanguage FLanguage = lgEnglish;
  bool FMarkToday = true;
  int FMonOfs = 0;
  bool FMonthShort = true;
  TNotifyEvent FOnChange;
  bool FUpdating = false;
  // What every day cell of one paint needs, worked out once per paint.
  struct TShownMonth {
    int Year = 0, Month = 0, Day = 0;
    int Length = 0;          // days of the month
    int PreviousLength = 0;  // days of the month before
    int Today = 0;           // today's day when today lies in the month, else 0
  };
  [[nodiscard]] TShownMonth ShownMonth() const;
  TShownMonth FShown;

  // What the kept bitmap depends on beyond the calendar's own settings
  // (whose setters all invalidate).
  struct TPaintKey {
    int Width = -1;
    int Height = -1;
    int Today = 0;
    std::array<TColor, SystemColorCount> SystemColors{};
    bool operator==(const TPaintKey&) const = default;
  };
  [[nodiscard]] TPaintKey CurrentPaintKey() const;
  [[nodiscard]] bool WhollyVisible() const;
  // Draws the grid, then the buttons over it; false when the calendar was
  // deleted meanwhile.
  bool PaintCalendar();
  // The cells of the buttons, drawn after the grid's lines.
  static constexpr std::array<TGridCoord, 6> kButtonCells{
      {{1, 0}, {2, 0}, {5, 0}, {6, 0}, {7, 0}, {0, 1}}};
  [[nodiscard]] static bool IsButtonCell(int ACol, int ARow);
  bool FDrawingButtons = false;
  // Brings the kept bitmap up to date; false when the calendar was deleted.
  bool RenderBuffer(const TPaintKey& Key);
  std::unique_ptr<TBitmap> FBuffer;
  TPaintKey FBufferKey;
  bool FBufferValid = false;
  bool FRendering = false;
  TDayOfWeek F1stDayWeek = dwMon;
  bool FCtl3D = true;
};

}  // namespace vorn
