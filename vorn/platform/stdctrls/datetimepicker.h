// The date/time picker: a date or a time shown in a format of the
// picker's letters (dateformat.h) and edited one field at a time.
//
// Keys: Left/Right (and Home/End) choose the field; Up/Down step it,
// wrapping within the field (month 12 + 1 gives month 1 of the same year)
// and keeping the day inside the month (January 31 + 1 month gives
// February 28 or 29); digits type the field's number, moving on to the
// next field when no further digit could fit; 'a'/'p' set the half of
// the day. A weekday field steps the date by a day. Every value is kept
// inside MinDate..MaxDate.
//
// A date picker has a button at its right that drops a month calendar
// down in a drop-down window (a click on it, Alt+Down or F4). While it is
// open the picker keeps the focus and its keys steer the calendar:
// Left/Right a day, Up/Down a week, PageUp/PageDown a month, Home/End the
// first and last day of the month, Enter takes the day, Escape closes; a
// click on a day takes it, the arrows at the top and the wheel turn the
// month. It closes without change when the picker loses the focus or the
// mouse is pressed anywhere outside it.
//
// OnChange runs after every change the user makes (keys, calendar), not
// after changes made in code (SetDateTime, SetMinDate, ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/runtime/dateformat.h"

namespace vorn {

enum TDateTimeKind : std::uint8_t { dtkDate, dtkTime };

class TPickerCalendar;
class TDropDownWindow;

class TDateTimePicker : public TCustomControl {
 public:
  static constexpr const char* DefaultDateFormat = "dd.MM.yyyy";
  static constexpr const char* DefaultTimeFormat = "HH:mm:ss";

  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;

  [[nodiscard]] TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  // An empty format shows the kind's default format.
  [[nodiscard]] const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& Value);
  // The format the text is shown in: Format, or the kind's default.
  [[nodiscard]] const std::string& ShownFormat() const { return FShownFormat; }
  [[nodiscard]] TDateTime DateTime() const { return FDateTime; }
  // Kept inside MinDate..MaxDate; a NaN or infinite value is ignored.
  void SetDateTime(TDateTime Value);
  [[nodiscard]] TDateTime MinDate() const { return FMinDate; }
  // Raising MinDate above MaxDate raises MaxDate with it (and the other
  // way round); the value moves into the new range.
  void SetMinDate(TDateTime Value);
  [[nodiscard]] TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  // Assigning a text reads it with the format; a text that does not read
  // (or gives a date that does not exist) leaves the value as it was.
  void SetText(const std::string& Value) override;

  // ---- fields ------------------------------------------------------------------------
  [[nodiscard]] int FieldCount() const { return static_cast<int>(FFields.size()); }
  // The field being edited, 0-based; -1 when the format has no field.
  [[nodiscard]] int FieldIndex() const { return FFields.empty() ? -1 : FField; }
  void SetFieldIndex(int Value);
  [[nodiscard]] TDateField FieldKind(int Index) const;
  // Steps the current field by Delta (wrapping, as Up/Down do).
  void StepField(int Delta);

  // ---- calendar ---------------------------------------------------------------------------
  [[nodiscard]] bool DroppedDown() const;
  void DropDown();
  void CloseUp(bool Accept);
  // The calendar control while it exists (for tests and pictures).
  [[nodiscard]] TPickerCalendar* Calendar() const { return FCalendar; }

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent E) { FOnDropDown = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TNotifyEvent E) { FOnCloseUp = std::move(E); }

  // The button's rectangle; empty for a time picker.
  [[nodiscard]] TRect ButtonRect() const;

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void DoExit() override;

 protected:
  void WMGetDlgCode(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMFontChanged(TMessage& Message) override;

 private:
  friend class TPickerCalendar;
  // Where each token of the format lies in the client area.
  struct TTokenSpan {
    int Left = 0;
    int Right = 0;
  };
  void Reformat();
  void UpdateShownText();
  [[nodiscard]] std::vector<TTokenSpan> Spans() const;
  [[nodiscard]] int TextLeft() const { return 4; }
  // A user change: stores the value and raises OnChange when it differs.
  void UserSets(TDateTime Value);
  void TypeDigit(int Digit);
  [[nodiscard]] TDateTime Clamped(TDateTime Value) const;
  void CalendarPicked(TDateTime Day);

  TDateTimeKind FKind = dtkDate;
  std::string FFormat;
  std::string FShownFormat;  // FFormat, or the kind's default when it is empty
  std::vector<TDateToken> FTokens;
  std::vector<int> FFields;  // indices into FTokens of the editable tokens
  int FField = 0;
  std::string FTyped;  // digits typed into the current field so far
  TDateTime FDateTime = 0;
  TDateTime FMinDate = MinDateTime;
  TDateTime FMaxDate = MaxDateTime + 86399.0 / 86400.0;
  TDropDownWindow* FDropWindow = nullptr;  // holds the calendar
  TPickerCalendar* FCalendar = nullptr;
  bool FSwallowChar = false;  // the key that closed the calendar also sends a character
  TNotifyEvent FOnChange, FOnDropDown, FOnCloseUp;
};

// The month calendar that drops down below a date picker, filling its
// drop-down window. It takes no focus: the picker keeps the keys and
// steers it.
class TPickerCalendar : public TCustomControl {
 public:
  TPickerCalendar(TComponent* AOwner, TDateTimePicker* APicker);

  // The day the cursor is on (a whole serial); the month shown is its month.
  [[nodiscard]] TDateTime CursorDay() const { return FCursorDay; }
  void SetCursorDay(TDateTime Day);
  void MoveCursor(int Days);
  void TurnMonth(int Months);

  // Geometry shared by painting and the mouse: the title, the arrows and
  // the 6 x 7 day cells (Index 0..41, starting on a Sunday).
  [[nodiscard]] TRect PrevArrowRect() const;
  [[nodiscard]] TRect NextArrowRect() const;
  [[nodiscard]] TRect DayCellRect(int Index) const;
  [[nodiscard]] int DayCellAt(TPoint P) const;
  // The day shown in cell Index.
  [[nodiscard]] TDateTime DayOfCell(int Index) const;
  [[nodiscard]] static TPoint PreferredSize();

  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

 private:
  static constexpr int CellWidth = 28;
  static constexpr int CellHeight = 18;
  static constexpr int TitleHeight = 22;
  static constexpr int WeekdayHeight = 18;
  [[nodiscard]] TDateTime FirstShownDay() const;

  TDateTimePicker* FPicker;
  TDateTime FCursorDay = 0;
};

}  // namespace vorn
