#include "vorn/platform/stdctrls/datetimepicker.h"

#include <algorithm>
#include <cmath>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/controls/forms.h"
#include "vorn/platform/stdctrls/bevels.h"
#include "vorn/platform/controls/scrollbars.h"

namespace vorn {
namespace {

constexpr int kButtonWidth = 17;

bool InCalendar(TDateTime Value) {
  return std::isfinite(Value) && Value > MinDateTime - 1 && Value < MaxDateTime + 1;
}

// A serial taken apart into its fields and put together again.
struct TParts {
  int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0;
};

TParts PartsOf(TDateTime Value) {
  TParts p;
  int msec = 0;
  DecodeDate(Value, p.Year, p.Month, p.Day);
  DecodeTime(Value, p.Hour, p.Minute, p.Second, msec);
  return p;
}

// The whole-day serial of a date plus a time of day, in the serials'
// convention (before day 0 the time still counts forward from midnight).
TDateTime Combine(TDateTime Day, TDateTime TimeOfDay) { return Day >= 0 ? Day + TimeOfDay : Day - TimeOfDay; }

// The day is kept inside the month, so that stepping the month or the
// year never makes a date that does not exist.
TDateTime FromParts(TParts P) {
  P.Year = std::clamp(P.Year, MinDateYear, MaxDateYear);
  P.Month = std::clamp(P.Month, 1, 12);
  P.Day = std::clamp(P.Day, 1, DaysInAMonth(P.Year, P.Month));
  return Combine(EncodeDate(P.Year, P.Month, P.Day), EncodeTime(P.Hour, P.Minute, P.Second, 0));
}

TDateTime WholeDay(TDateTime Value) { return std::trunc(Value); }
TDateTime TimeOfDay(TDateTime Value) { return std::fabs(Value - std::trunc(Value)); }

int Wrap(int Value, int Low, int High) {
  const int span = High - Low + 1;
  return Low + ((Value - Low) % span + span) % span;
}

bool IsEditable(TDateField Field) { return Field != dfLiteral && Field != dfInvalid; }

bool IsYear(TDateField F) { return F == dfYear4 || F == dfYear2; }
bool IsMonth(TDateField F) { return F == dfMonthLong || F == dfMonthShort || F == dfMonth2 || F == dfMonth1; }
bool IsWeekday(TDateField F) { return F == dfWeekdayLong || F == dfWeekdayShort; }
bool IsDay(TDateField F) { return F == dfDay2 || F == dfDay1; }
bool IsHour24(TDateField F) { return F == dfHour2 || F == dfHour1; }
bool IsHour12(TDateField F) { return F == dfHour12Two || F == dfHour12One; }
bool IsMinute(TDateField F) { return F == dfMinute2 || F == dfMinute1; }
bool IsSecond(TDateField F) { return F == dfSecond2 || F == dfSecond1; }
bool IsAmPm(TDateField F) { return F == dfAmPm2 || F == dfAmPm1; }

}  // namespace

// ---- TDateTimePicker -------------------------------------------------------------------------

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csOpaque);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 186, 21);
  const TDateTime now = Now();
  FDateTime = InCalendar(now) ? now : 0;
  Reformat();
}

TDateTimePicker::~TDateTimePicker() {
  delete FDropWindow;  // and the calendar in it
  FDropWindow = nullptr;
  FCalendar = nullptr;
}

void TDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDropWindow) {
    FDropWindow = nullptr;
    FCalendar = nullptr;
  }
  if (AComponent == FCalendar) FCalendar = nullptr;
}

void TDateTimePicker::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

void TDateTimePicker::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (DroppedDown() ? DLGC_WANTALLKEYS : 0);
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (Value == FKind) return;
  CloseUp(false);
  FKind = Value;
  Reformat();
}

void TDateTimePicker::SetFormat(const std::string& Value) {
  if (Value == FFormat) return;
  FFormat = Value;
  Reformat();
}

void TDateTimePicker::Reformat() {
  FShownFormat = FFormat.empty() ? std::string(FKind == dtkDate ? DefaultDateFormat : DefaultTimeFormat) : FFormat;
  FTokens = SplitDateFormat(FShownFormat);
  FFields.clear();
  for (std::size_t i = 0; i < FTokens.size(); ++i) {
    if (IsEditable(FTokens[i].Field)) FFields.push_back(static_cast<int>(i));
  }
  FField = std::clamp(FField, 0, std::max(0, FieldCount() - 1));
  FTyped.clear();
  UpdateShownText();
}

void TDateTimePicker::UpdateShownText() {
  std::string shown;
  for (const TDateToken& token : FTokens) shown += DateTokenText(token, FDateTime);
  TCustomControl::SetText(shown);
  Invalidate();
}

TDateTime TDateTimePicker::Clamped(TDateTime Value) const { return std::clamp(Value, FMinDate, FMaxDate); }

void TDateTimePicker::SetDateTime(TDateTime Value) {
  if (!std::isfinite(Value)) return;
  Value = Clamped(Value);
  if (Value == FDateTime) return;
  FDateTime = Value;
  UpdateShownText();
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
  if (!std::isfinite(Value)) return;
  FMinDate = std::clamp(Value, MinDateTime, MaxDateTime + 86399.0 / 86400.0);
  FMaxDate = std::max(FMaxDate, FMinDate);
  SetDateTime(FDateTime);
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
  if (!std::isfinite(Value)) return;
  FMaxDate = std::clamp(Value, MinDateTime, MaxDateTime + 86399.0 / 86400.0);
  FMinDate = std::min(FMinDate, FMaxDate);
  SetDateTime(FDateTime);
}

void TDateTimePicker::SetText(const std::string& Value) {
  const std::string& format = FShownFormat;
  try {
    const TDateTime read = PickerTextToDateTime(format, Value);
    // 0 is also what a text that does not match gives; take it only when
    // the text really is the one 0 shows.
    if (read != 0 || FormatPickerDateTime(format, 0) == Value) SetDateTime(read);
  } catch (const EConvertError&) {
    // A date that does not exist changes nothing.
  }
}

void TDateTimePicker::UserSets(TDateTime Value) {
  Value = Clamped(Value);
  if (Value == FDateTime) {
    Invalidate();
    return;
  }
  FDateTime = Value;
  TDestroyGuard guard(this);
  UpdateShownText();
  RaiseEvent(FOnChange, this);
}

// ---- fields ---------------------------------------------------------------------------------

void TDateTimePicker::SetFieldIndex(int Value) {
  if (FFields.empty()) return;
  Value = std::clamp(Value, 0, FieldCount() - 1);
  FTyped.clear();
  if (Value == FField) return;
  FField = Value;
  Invalidate();
}

TDateField TDateTimePicker::FieldKind(int Index) const {
  if (Index < 0 || Index >= FieldCount()) return dfLiteral;
  return FTokens[static_cast<std::size_t>(FFields[static_cast<std::size_t>(Index)])].Field;
}

void TDateTimePicker::StepField(int Delta) {
  const TDateField field = FieldKind(FField);
  FTyped.clear();
  TParts p = PartsOf(FDateTime);
  if (IsYear(field)) {
    p.Year = Wrap(p.Year + Delta, MinDateYear, MaxDateYear);
  } else if (IsMonth(field)) {
    p.Month = Wrap(p.Month + Delta, 1, 12);
  } else if (IsDay(field)) {
    p.Day = Wrap(p.Day + Delta, 1, DaysInAMonth(p.Year, p.Month));
  } else if (IsWeekday(field)) {
    const TDateTime day = WholeDay(FDateTime) + Delta;
    if (!InCalendar(day)) return;
    UserSets(Combine(day, TimeOfDay(FDateTime)));
    return;
  } else if (IsHour24(field) || IsHour12(field)) {
    p.Hour = Wrap(p.Hour + Delta, 0, 23);
  } else if (IsMinute(field)) {
    p.Minute = Wrap(p.Minute + Delta, 0, 59);
  } else if (IsSecond(field)) {
    p.Second = Wrap(p.Second + Delta, 0, 59);
  } else if (IsAmPm(field)) {
    p.Hour = (p.Hour + 12) % 24;
  } else {
    return;
  }
  UserSets(FromParts(p));
}

void TDateTimePicker::TypeDigit(int Digit) {
  const TDateField field = FieldKind(FField);
  TParts p = PartsOf(FDateTime);
  int maximum = 0, digits = 2, minimum = 0;
  if (field == dfYear4) {
    maximum = MaxDateYear, digits = 4, minimum = MinDateYear;
  } else if (field == dfYear2) {
    maximum = 99;
  } else if (IsMonth(field)) {
    maximum = 12, minimum = 1;
  } else if (IsDay(field)) {
    maximum = DaysInAMonth(p.Year, p.Month), minimum = 1;
  } else if (IsHour24(field)) {
    maximum = 23;
  } else if (IsHour12(field)) {
    maximum = 12, minimum = 1;
  } else if (IsMinute(field) || IsSecond(field)) {
    maximum = 59;
  } else {
    return;  // names of weekdays and the half of the day take no digits
  }
  FTyped += static_cast<char>('0' + Digit);
  int value = std::stoi(FTyped);
  if (value > maximum) {
    FTyped = std::string(1, static_cast<char>('0' + Digit));
    value = Digit;
  }
  const bool complete = static_cast<int>(FTyped.size()) >= digits || value * 10 > maximum;
  if (value >= minimum) {
    if (field == dfYear4) p.Year = value;
    if (field == dfYear2) p.Year = p.Year / 100 * 100 + value;
    if (IsMonth(field)) p.Month = value;
    if (IsDay(field)) p.Day = value;
    if (IsHour24(field)) p.Hour = value;
    if (IsHour12(field)) p.Hour = value % 12 + (p.Hour >= 12 ? 12 : 0);
    if (IsMinute(field)) p.Minute = value;
    if (IsSecond(field)) p.Second = value;
    const std::string typed = FTyped;
    TDestroyGuard guard(this);
    UserSets(FromParts(p));
    if (guard.Gone()) return;
    FTyped = typed;
  }
  if (complete) {
    FTyped.clear();
    if (FField + 1 < FieldCount()) SetFieldIndex(FField + 1);
  }
}

// ---- calendar -------------------------------------------------------------------------------

bool TDateTimePicker::DroppedDown() const { return FDropWindow != nullptr && FCalendar != nullptr && FDropWindow->IsOpen(); }

void TDateTimePicker::DropDown() {
  if (FKind != dtkDate || DroppedDown() || !EnabledWithParents() || GetParentForm(this) == nullptr) return;
  TDestroyGuard guard(this);
  RaiseEvent(FOnDropDown, this);
  if (guard.Gone() || DroppedDown()) return;
  if (FDropWindow == nullptr) {
    FDropWindow = new TDropDownWindow(this);
    FDropWindow->SetOnDismiss([this](TObject*) { CloseUp(false); });
  }
  if (FCalendar == nullptr) {
    FCalendar = new TPickerCalendar(this, this);
    FCalendar->SetParent(FDropWindow);
  }
  FCalendar->SetFont(Font());
  FCalendar->SetCursorDay(WholeDay(FDateTime));
  const TPoint size = TPickerCalendar::PreferredSize();
  FCalendar->SetBounds(0, 0, size.X, size.Y);
  FCalendar->Show();
  FDropWindow->DropDown(this, size.X, size.Y);
  Invalidate();
}

void TDateTimePicker::CloseUp(bool Accept) {
  if (!DroppedDown()) return;
  const TDateTime day = FCalendar->CursorDay();
  FDropWindow->Hide();
  Invalidate();
  TDestroyGuard guard(this);
  if (Accept) UserSets(Combine(day, TimeOfDay(FDateTime)));
  if (guard.Gone()) return;
  RaiseEvent(FOnCloseUp, this);
}

void TDateTimePicker::CalendarPicked(TDateTime Day) {
  if (!DroppedDown()) return;
  FCalendar->SetCursorDay(Day);
  CloseUp(true);
}

// ---- input ------------------------------------------------------------------------------------

void TDateTimePicker::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);
  if (guard.Gone() || Key == 0) return;
  if (DroppedDown()) {
    switch (Key) {
      case VK_LEFT: FCalendar->MoveCursor(-1); break;
      case VK_RIGHT: FCalendar->MoveCursor(1); break;
      case VK_UP:
        if (Shift.Contains(ssAlt)) {
          CloseUp(true);
        } else {
          FCalendar->MoveCursor(-7);
        }
        break;
      case VK_DOWN: FCalendar->MoveCursor(7); break;
      case VK_PRIOR: FCalendar->TurnMonth(-1); break;
      case VK_NEXT: FCalendar->TurnMonth(1); break;
      case VK_HOME: {
        TParts p = PartsOf(FCalendar->CursorDay());
        FCalendar->MoveCursor(1 - p.Day);
        break;
      }
      case VK_END: {
        TParts p = PartsOf(FCalendar->CursorDay());
        FCalendar->MoveCursor(DaysInAMonth(p.Year, p.Month) - p.Day);
        break;
      }
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_F1 + 3: {  // F4
        const bool accept = Key != VK_ESCAPE;
        FSwallowChar = Key != VK_F1 + 3;
        Key = 0;
        CloseUp(accept);
        return;
      }
      default: return;
    }
    Key = 0;
    return;
  }
  if ((Key == VK_DOWN && Shift.Contains(ssAlt)) || Key == VK_F1 + 3) {
    Key = 0;
    DropDown();
    return;
  }
  switch (Key) {
    case VK_LEFT: SetFieldIndex(FField - 1); break;
    case VK_RIGHT: SetFieldIndex(FField + 1); break;
    case VK_HOME: SetFieldIndex(0); break;
    case VK_END: SetFieldIndex(FieldCount() - 1); break;
    case VK_UP: StepField(1); break;
    case VK_DOWN: StepField(-1); break;
    default: return;
  }
  Key = 0;
}

void TDateTimePicker::KeyPress(char32_t& Key) {
  if (SwallowClosingChar(FSwallowChar, Key)) return;
  TDestroyGuard guard(this);
  TCustomControl::KeyPress(Key);
  if (guard.Gone() || Key == 0) return;
  if (Key >= U'0' && Key <= U'9') {
    TypeDigit(static_cast<int>(Key - U'0'));
    Key = 0;
    return;
  }
  const char32_t lower = Key >= U'A' && Key <= U'Z' ? Key - U'A' + U'a' : Key;
  if ((lower == U'a' || lower == U'p') && IsAmPm(FieldKind(FField))) {
    TParts p = PartsOf(FDateTime);
    p.Hour = p.Hour % 12 + (lower == U'p' ? 12 : 0);
    UserSets(FromParts(p));
    Key = 0;
  }
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  if (CanFocus() && !Focused()) SetFocus();
  if (guard.Gone()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft) return;
  if (ButtonRect().Contains({X, Y})) {
    if (DroppedDown()) {
      CloseUp(false);
    } else {
      DropDown();
    }
    return;
  }
  const std::vector<TTokenSpan> spans = Spans();
  int best = -1;
  for (int f = 0; f < FieldCount(); ++f) {
    const TTokenSpan& s = spans[static_cast<std::size_t>(FFields[static_cast<std::size_t>(f)])];
    // The nearest field: the one under the point, else the last one left of it.
    if (best < 0 || X >= s.Left) best = f;
    if (X < s.Right) break;
  }
  if (best >= 0) SetFieldIndex(best);
}

bool TDateTimePicker::DoMouseWheelDown(TShiftState, TPoint) {
  if (DroppedDown()) {
    FCalendar->TurnMonth(1);
  } else {
    StepField(-1);
  }
  return true;
}

bool TDateTimePicker::DoMouseWheelUp(TShiftState, TPoint) {
  if (DroppedDown()) {
    FCalendar->TurnMonth(-1);
  } else {
    StepField(1);
  }
  return true;
}

void TDateTimePicker::DoExit() {
  CloseUp(false);
  TCustomControl::DoExit();
}

// ---- painting ----------------------------------------------------------------------------------

TRect TDateTimePicker::ButtonRect() const {
  if (FKind != dtkDate) return {0, 0, 0, 0};
  return {std::max(2, Width() - 2 - kButtonWidth), 2, std::max(2, Width() - 2), std::max(2, Height() - 2)};
}

std::vector<TDateTimePicker::TTokenSpan> TDateTimePicker::Spans() const {
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  std::vector<TTokenSpan> spans;
  spans.reserve(FTokens.size());
  int x = TextLeft();
  for (const TDateToken& token : FTokens) {
    const int w = c.TextWidth(DateTokenText(token, FDateTime));
    spans.push_back({x, x + w});
    x += w;
  }
  return spans;
}

void TDateTimePicker::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  const TRect button = ButtonRect();
  TRect area = r;
  if (!button.IsEmpty()) area.Right = button.Left;
  const TRect savedClip = c.ClipRect();
  c.SetClipRect(IntersectRect(area, savedClip));
  const std::vector<TTokenSpan> spans = Spans();
  c.SetFont(Font());
  const int lineHeight = c.TextHeight("Ag");
  const int y = area.Top + std::max(0, (area.Height() - lineHeight) / 2);
  const int current = Focused() && !FFields.empty() && !DroppedDown() ? FFields[static_cast<std::size_t>(FField)] : -1;
  for (std::size_t i = 0; i < FTokens.size(); ++i) {
    const bool highlighted = static_cast<int>(i) == current;
    if (highlighted) {
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(clHighlight);
      c.FillRect({spans[i].Left, y, spans[i].Right, y + lineHeight});
    }
    c.Font()->SetColor(highlighted ? clHighlightText : EnabledWithParents() ? Font()->Color() : clGrayText);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(spans[i].Left, y, DateTokenText(FTokens[i], FDateTime));
  }
  c.SetClipRect(savedClip);
  if (button.IsEmpty()) return;
  DrawButtonFace(c, button);
  DrawArrow(c, button, adDown);
}

// ---- TPickerCalendar -------------------------------------------------------------------------

TPickerCalendar::TPickerCalendar(TComponent* AOwner, TDateTimePicker* APicker) : TCustomControl(AOwner), FPicker(APicker) {
  FControlStyle.Include(csOpaque);
  SetVisible(false);
}

TPoint TPickerCalendar::PreferredSize() { return {7 * CellWidth + 2, TitleHeight + WeekdayHeight + 6 * CellHeight + 4}; }

void TPickerCalendar::SetCursorDay(TDateTime Day) {
  Day = WholeDay(Day);
  const TDateTime low = WholeDay(FPicker->MinDate());
  const TDateTime high = WholeDay(FPicker->MaxDate());
  FCursorDay = std::clamp(Day, low, high);
  Invalidate();
}

void TPickerCalendar::MoveCursor(int Days) { SetCursorDay(FCursorDay + Days); }

void TPickerCalendar::TurnMonth(int Months) {
  TParts p = PartsOf(FCursorDay);
  const int month = p.Year * 12 + (p.Month - 1) + Months;
  p.Year = month / 12;
  p.Month = month % 12 + 1;
  if (p.Year < MinDateYear || p.Year > MaxDateYear) return;
  p.Hour = p.Minute = p.Second = 0;
  SetCursorDay(FromParts(p));
}

TDateTime TPickerCalendar::FirstShownDay() const {
  const TParts p = PartsOf(FCursorDay);
  const TDateTime first = EncodeDate(p.Year, p.Month, 1);
  return first - (DayOfWeek(first) - 1);
}

TDateTime TPickerCalendar::DayOfCell(int Index) const { return FirstShownDay() + Index; }

TRect TPickerCalendar::PrevArrowRect() const { return {1, 1, 1 + CellWidth, 1 + TitleHeight}; }

TRect TPickerCalendar::NextArrowRect() const { return {Width() - 1 - CellWidth, 1, Width() - 1, 1 + TitleHeight}; }

TRect TPickerCalendar::DayCellRect(int Index) const {
  const int left = 1 + (Index % 7) * CellWidth;
  const int top = 1 + TitleHeight + WeekdayHeight + (Index / 7) * CellHeight;
  return {left, top, left + CellWidth, top + CellHeight};
}

int TPickerCalendar::DayCellAt(TPoint P) const {
  const int column = (P.X - 1) / CellWidth;
  const int row = (P.Y - 1 - TitleHeight - WeekdayHeight) / CellHeight;
  if (P.X < 1 || P.Y < 1 + TitleHeight + WeekdayHeight || column > 6 || row > 5) return -1;
  return row * 7 + column;
}

void TPickerCalendar::Paint() {
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clWindow);
  c.Pen()->SetColor(clBlack);
  c.Rectangle(ClientRect());
  const TParts cursor = PartsOf(FCursorDay);
  // Title with the month turning arrows.
  const TRect title{1, 1, Width() - 1, 1 + TitleHeight};
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(title);
  c.Font()->SetColor(clWindowText);
  c.Brush()->SetStyle(bsClear);
  const std::string caption = EnglishMonthName(cursor.Month, true) + " " + std::to_string(cursor.Year);
  c.TextOut((Width() - c.TextWidth(caption)) / 2, title.Top + (TitleHeight - c.TextHeight(caption)) / 2, caption);
  DrawArrow(c, PrevArrowRect(), adLeft);
  DrawArrow(c, NextArrowRect(), adRight);
  // Weekday initials, Sunday first as DayOfWeek counts.
  c.Brush()->SetStyle(bsClear);
  c.Font()->SetColor(clGrayText);
  for (int w = 0; w < 7; ++w) {
    const std::string name = EnglishDayName(w + 1, false).substr(0, 2);
    const int left = 1 + w * CellWidth;
    c.TextOut(left + (CellWidth - c.TextWidth(name)) / 2, 1 + TitleHeight + 2, name);
  }
  c.Pen()->SetColor(clBtnShadow);
  c.MoveTo(2, TitleHeight + WeekdayHeight);
  c.LineTo(Width() - 2, TitleHeight + WeekdayHeight);
  const TDateTime low = WholeDay(FPicker->MinDate());
  const TDateTime high = WholeDay(FPicker->MaxDate());
  for (int i = 0; i < 42; ++i) {
    const TDateTime day = DayOfCell(i);
    if (!InCalendar(day)) continue;
    const TRect cell = DayCellRect(i);
    const TParts p = PartsOf(day);
    const std::string text = std::to_string(p.Day);
    const bool selected = day == FCursorDay;
    if (selected) {
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(clHighlight);
      c.FillRect(cell);
    }
    const bool outside = p.Month != cursor.Month || day < low || day > high;
    c.Font()->SetColor(selected ? clHighlightText : outside ? clGrayText : clWindowText);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(cell.Right - 5 - c.TextWidth(text), cell.Top + (CellHeight - c.TextHeight(text)) / 2, text);
  }
}

void TPickerCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft) return;
  if (PrevArrowRect().Contains({X, Y})) {
    TurnMonth(-1);
  } else if (NextArrowRect().Contains({X, Y})) {
    TurnMonth(1);
  } else if (const int cell = DayCellAt({X, Y}); cell >= 0) {
    const TDateTime day = DayOfCell(cell);
    if (InCalendar(day) && day >= WholeDay(FPicker->MinDate()) && day <= WholeDay(FPicker->MaxDate())) {
      FPicker->CalendarPicked(day);
    }
  }
}

bool TPickerCalendar::DoMouseWheelDown(TShiftState, TPoint) {
  TurnMonth(1);
  return true;
}

bool TPickerCalendar::DoMouseWheelUp(TShiftState, TPoint) {
  TurnMonth(-1);
  return true;
}

}  // namespace vorn
