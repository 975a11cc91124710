#include "vorn/pickers/minical.h"

#include <algorithm>
#include <cmath>

#include "vorn/foundation/drawing.h"

namespace vorn {
namespace {

constexpr int kLanguages = 4;

struct TFixedHoliday {
  int Day;
  int Month;
  std::array<const char*, kLanguages> Caption;  // English, German, French, Spanish
};

constexpr std::array<TFixedHoliday, 8> kBuiltInHolidays{{
    {25, 12, {"Christmas Day", "Weihnachten", "Noël", "Navidad"}},
    {26, 12, {"Boxing Day", "Stephanitag", "Jour de boxe", "Día de San Esteban"}},
    {1, 1, {"New Year's Day", "Neujahrstag", "Nouvel An Jour", "Día de Año Nuevo"}},
    {6, 1, {"Epiphany", "Hl. Drei Könige", "Épiphanie", "Epifanía"}},
    {15, 8, {"Assumption of Mary", "Maria Himmelfahrt", "Assomption", "Asunción"}},
    {1, 11, {"All Saints", "Allerheiligen", "La Toussaint", "Día de Todos los Santos"}},
    {8, 12, {"Immaculate Conception", "Maria Empfängnis", "Immaculée Conception", "Inmaculada Concepción"}},
    {1, 5, {"Labor Day", "Tag der Arbeit", "Fête du Travail", "Día del Trabajo"}},
}};

struct TMovableHoliday {
  int DaysAfterEaster;
  std::array<const char*, kLanguages> Caption;
};

constexpr std::array<TMovableHoliday, 6> kMovableHolidays{{
    {0, {"Easter Day", "Ostersonntag", "Le jour de Pâques", "Domingo de Resurrección"}},
    {1, {"Easter Monday", "Ostermontag", "Lundi de Pâques", "Lunes de Pascua"}},
    {39, {"Ascension Day", "Christi Himmelfahrt", "Ascension du Christ", "Ascensión de Cristo"}},
    {49, {"Pentecost", "Pfingstsonntag", "Dimanche de Pentecôte", "Domingo de Pentecostés"}},
    {50, {"Whit Monday", "Pfingstmontag", "Lundi de Pentecôte", "Lunes de Pentecostés"}},
    {60, {"Corpus Christi", "Fronleichnam", "Corpus Christi", "Corpus Cristi"}},
}};

// Day number counted from 1 March, for the months March to June.
int MarchDayNumber(int Month, int Day) {
  constexpr std::array<int, 4> kStart{0, 31, 61, 92};
  return kStart[static_cast<std::size_t>(Month - 3)] + Day;
}

}  // namespace

void CalcEasterSunday(int Year, int& Day, int& Month) {
  const int k = Year / 100;
  const int m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
  const int s = 2 - (3 * k + 3) / 4;
  const int a = Year % 19;
  const int d = (19 * a + m) % 30;
  const int r = (d + a / 11) / 29;
  const int og = 21 + d - r;
  const int sz = 7 - (Year + Year / 4 + s) % 7;
  const int oe = 7 - (og - sz) % 7;
  Day = og + oe;
  Month = 3;
  if (Day > 31) {
    Day -= 31;
    Month = 4;
  }
}

// ---- life cycle ----------------------------------------------------------------------

TMiniCal::TMiniCal(TComponent* AOwner) : TCustomDrawGrid(AOwner) {
  FUpdating = true;  // no layout work until everything is set
  SetDefaultDrawing(false);
  SetColCount(8);
  SetRowCount(8);
  SetFixedCols(1);
  SetFixedRows(2);
  SetGridLineWidth(1);
  SetScrollBars(ssNone);
  TGridOptions options = Options();
  options.Exclude(goRangeSelect);
  options.Include(goDrawFocusSelected);
  SetOptions(options);
  SetDoubleBuffered(true);
  SetShowHint(true);
  FDate = std::floor(::vorn::Date());
  LoadBuiltInHolidays();
  FUpdating = false;
  SetBounds(Left(), Top(), 300, 180);
  UpdateLayout();
}

// ---- holidays -------------------------------------------------------------------------

int TMiniCal::LanguageIndex() const {
  return FLanguage >= lgEnglish && FLanguage <= lgSpanish ? FLanguage - lgEnglish : 0;
}

void TMiniCal::LoadBuiltInHolidays() {
  FHolidays.clear();
  const auto lang = static_cast<std::size_t>(LanguageIndex());
  for (const TFixedHoliday& h : kBuiltInHolidays) FHolidays.push_back({h.Day, h.Month, RepeatYear, h.Caption[lang]});
}

bool TMiniCal::CheckHoliday(int AYear, int AMonth, int ADay, std::string& Caption) const {
  Caption.clear();
  for (const THoliday& h : FHolidays) {
    if (h.Day == ADay && h.Month == AMonth && (h.Year == RepeatYear || h.Year == AYear)) {
      Caption = h.Caption;
      return true;
    }
  }
  if (!FShowMovHdays || AMonth < 3 || AMonth > 6) return false;
  int easterDay = 0;
  int easterMonth = 0;
  CalcEasterSunday(AYear, easterDay, easterMonth);
  const int offset = MarchDayNumber(AMonth, ADay) - MarchDayNumber(easterMonth, easterDay);
  for (const TMovableHoliday& h : kMovableHolidays) {
    if (h.DaysAfterEaster == offset) {
      Caption = h.Caption[static_cast<std::size_t>(LanguageIndex())];
      return true;
    }
  }
  return false;
}

void TMiniCal::ClearHolidayList() {
  FHolidays.clear();
  UpdateLayout();
}

void TMiniCal::AddHoliday(int ADay, int AMonth, int AYear, const std::string& Caption) {
  FHolidays.push_back({ADay, AMonth, AYear, Caption});
  UpdateLayout();
}

void TMiniCal::AddRepeatHoliday(int ADay, int AMonth, const std::string& Caption) {
  AddHoliday(ADay, AMonth, RepeatYear, Caption);
}

bool TMiniCal::RetrieveHoliday(int HDIndex, int& ADay, int& AMonth, int& AYear, bool& IsRepeatHDay,
                               std::string& Description) const {
  if (HDIndex < 1 || HDIndex > NumHolidays()) return false;
  const THoliday& h = FHolidays[static_cast<std::size_t>(HDIndex - 1)];
  ADay = h.Day;
  AMonth = h.Month;
  AYear = h.Year;
  IsRepeatHDay = h.Year == RepeatYear;
  Description = h.Caption;
  return true;
}

// ---- properties ------------------------------------------------------------------------

void TMiniCal::SetShownColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TMiniCal::SetDayColors(TDayOfWeek Day, TColor Value) {
  FDayColors[Day % 7] = Value;
  Changed();
}

void TMiniCal::SetFirstDayOfWeek(TDayOfWeek Value) {
  if (Value == F1stDayWeek) return;
  F1stDayWeek = static_cast<TDayOfWeek>(Value % 7);
  Changed();
}

void TMiniCal::SetIndicateHolidays(bool Value) {
  FIndicateHolid = Value;
  UpdateLayout();
}

void TMiniCal::SetLanguage(TLanguage Value) {
  FLanguage = Value;
  LoadBuiltInHolidays();
  UpdateLayout();
}

void TMiniCal::SetMarkToday(bool Value) {
  FMarkToday = Value;
  Invalidate();
}

void TMiniCal::SetShowHolidayHint(bool Value) {
  FShowHDayHint = Value;
  SetHint("");
  if (Value) SetShowHint(true);
  UpdateLayout();
}

void TMiniCal::SetShowMonthShort(bool Value) {
  FMonthShort = Value;
  Invalidate();
}

void TMiniCal::SetShowMovableHolidays(bool Value) {
  FShowMovHdays = Value;
  UpdateLayout();
}

void TMiniCal::SetCtl3D(bool Value) {
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  Invalidate();
}

// ---- the date ---------------------------------------------------------------------------

int TMiniCal::Day() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  return d;
}

int TMiniCal::Month() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  return m;
}

int TMiniCal::Year() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  return y;
}

void TMiniCal::SetDate(TDateTime Value) {
  // Only dates the calendar can show: EncodeDate-style range check, and the
  // error of the runtime's date routines.
  int y = 0, m = 0, d = 0;
  DecodeDate(Value, y, m, d);
  FDate = Value;
  Changed();
}

void TMiniCal::SetDateParts(int AYear, int AMonth, int ADay) {
  const TDateTime date = EncodeDate(AYear, AMonth, ADay);  // raises for a day that does not exist
  FDate = date + (FDate - std::floor(FDate));
  Changed();
}

void TMiniCal::SetDay(int Value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  if (Value < 0 || Value > DaysInAMonth(y, m)) return;
  SetDateParts(y, m, Value);
}

void TMiniCal::SetMonth(int Value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  if (Value < 0 || Value > 12) return;
  SetDateParts(y, Value, d);
}

void TMiniCal::SetYear(int Value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  if (Value < 0) return;
  SetDateParts(Value, m, d);
}

void TMiniCal::LastDayOfMonth() {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  SetDateParts(y, m, DaysInAMonth(y, m));
}

void TMiniCal::StepMonth(int Step) {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  m += Step;
  if (m < 1) {
    m = 12;
    --y;
  } else if (m > 12) {
    m = 1;
    ++y;
  }
  if (y < MinDateYear || y > MaxDateYear) {
    throw EConvertError("Invalid date: month outside the calendar's range");
  }
  SetDateParts(y, m, std::min(d, DaysInAMonth(y, m)));
}

void TMiniCal::StepYear(int Step) {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  if (m == 2 && d == 29) d = 28;
  SetDateParts(y + Step, m, d);
}

void TMiniCal::Changed() {
  UpdateLayout();
  RaiseEvent(FOnChange, this);
}

void TMiniCal::UpdateLayout() {
  if (FUpdating) return;
  FUpdating = true;
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  const int first = DayOfTheWeek(EncodeDate(y, m, 1));
  const int a = (first - F1stDayWeek + 7) % 7;
  FMonOfs = a == 0 ? -5 : 2 - a;
  if (FShowHDayHint) {
    std::string caption;
    if (FIndicateHolid && CheckHoliday(y, m, d, caption)) {
      SetHint(caption);
    } else {
      SetHint("");
    }
  }
  FUpdating = false;
  Invalidate();
}

// ---- size -----------------------------------------------------------------------------------

void TMiniCal::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TDestroyGuard guard(this);
  TCustomDrawGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!guard.Gone()) ResizeCells();
}

// Seven equal columns and rows; column 0 and row 0 take what is left, so
// that the grid fills the client area exactly.
void TMiniCal::ResizeCells() {
  const int g = GridLineWidth();
  const int w = ClientWidth();
  const int h = ClientHeight();
  const int colWidth = std::max(0, (w - 7 * g) / 8);
  const int rowHeight = std::max(0, (h - 7 * g) / 8);
  SetDefaultColWidth(colWidth);
  SetDefaultRowHeight(rowHeight);
  SetColWidths(0, std::max(0, w - 7 * (colWidth + g) - g));
  SetRowHeights(0, std::max(0, h - 7 * (rowHeight + g) - g));
}

// ---- mouse ----------------------------------------------------------------------------------

void TMiniCal::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft) {
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    return;
  }
  TDestroyGuard guard(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);  // OnMouseDown, without the grid's selecting
  if (guard.Gone()) return;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return;
  // Steps beyond the first or last day the calendar holds do nothing.
  try {
    if (cell.X >= 1 && cell.Y >= 2) {
      ClickDay(cell.X, cell.Y);
    } else {
      ClickButton(cell.X);
    }
  } catch (const EConvertError&) {
  }
}

void TMiniCal::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft) TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
}

void TMiniCal::ClickDay(int ACol, int ARow) {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  int day = DayOfCell(ACol, ARow);
  const int length = DaysInAMonth(y, m);
  if (day < 1 || day > length) {
    if (!FAutoSwitch) {
      UpdateLayout();
      return;
    }
    if (day < 1) {
      if (--m < 1) {
        m = 12;
        --y;
      }
      day += DaysInAMonth(y, m);
    } else {
      day -= length;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
  if (y >= MinDateYear && y <= MaxDateYear && day >= 1 && day <= DaysInAMonth(y, m)) {
    SetDateParts(y, m, day);
  } else {
    UpdateLayout();
  }
}

void TMiniCal::ClickButton(int ACol) {
  switch (ACol) {
    case 0: SetDate(std::floor(::vorn::Date())); break;
    case 1: PrevYear(); break;
    case 2: PrevMonth(); break;
    case 6: NextMonth(); break;
    case 7: NextYear(); break;
    default: break;
  }
}

// ---- drawing ---------------------------------------------------------------------------------

TMiniCal::TShownMonth TMiniCal::ShownMonth() const {
  TShownMonth shown;
  DecodeDate(FDate, shown.Year, shown.Month, shown.Day);
  shown.Length = DaysInAMonth(shown.Year, shown.Month);
  shown.PreviousLength = shown.Month == 1 ? 31 : DaysInAMonth(shown.Year, shown.Month - 1);
  if (FMarkToday) {
    int y = 0, m = 0, d = 0;
    DecodeDate(::vorn::Date(), y, m, d);
    if (y == shown.Year && m == shown.Month) shown.Today = d;
  }
  return shown;
}

void TMiniCal::Paint() {
  FShown = ShownMonth();
  if (!DoubleBuffered() || !WhollyVisible()) {
    PaintCalendar();
    return;
  }
  const TPaintKey key = CurrentPaintKey();
  if ((!FBufferValid || !(key == FBufferKey)) && !RenderBuffer(key)) return;
  TCanvas& screen = *TCustomDrawGrid::Canvas();
  screen.BitBlt(0, 0, Width(), Height(), FBuffer->Canvas(), 0, 0, SRCCOPY);
}

bool TMiniCal::PaintCalendar() {
  TDestroyGuard guard(this);
  TCustomDrawGrid::Paint();
  if (guard.Gone()) return false;
  // The buttons that span several cells, and the button frames that lie on
  // the grid lines, go over the lines the grid drew after the cells (the
  // grid's pass leaves their cells out: they would be drawn over whole).
  TCanvas& c = *Canvas();
  const TRect saved = c.ClipRect();
  FDrawingButtons = true;
  for (const TGridCoord cell : kButtonCells) {
    const TRect r = CellRect(cell.X, cell.Y);
    if (!r.IsEmpty()) DrawCell(cell.X, cell.Y, r, {gdFixed});
  }
  FDrawingButtons = false;
  c.SetClipRect(saved);
  return true;
}

bool TMiniCal::IsButtonCell(int ACol, int ARow) {
  return std::find(kButtonCells.begin(), kButtonCells.end(), TGridCoord{ACol, ARow}) != kButtonCells.end();
}

// ---- the kept bitmap ---------------------------------------------------------------------------

void TMiniCal::Invalidate() {
  FBufferValid = false;
  TCustomDrawGrid::Invalidate();
}

TCanvas* TMiniCal::Canvas() const {
  if (!FRendering) return TCustomDrawGrid::Canvas();
  // Like the control's own canvas, each call starts unclipped.
  TCanvas* c = FBuffer->Canvas();
  c->ResetClip();
  return c;
}

bool TMiniCal::WhollyVisible() const {
  const TPoint o = WindowOrigin();
  const TRect whole{o.X, o.Y, o.X + Width(), o.Y + Height()};
  return !whole.IsEmpty() && VisibleSurfaceRect() == whole;
}

TMiniCal::TPaintKey TMiniCal::CurrentPaintKey() const {
  TPaintKey key;
  key.Width = Width();
  key.Height = Height();
  key.Today = FShown.Today;
  for (int i = 0; i < SystemColorCount; ++i) key.SystemColors[static_cast<std::size_t>(i)] = GetSysColor(i);
  return key;
}

bool TMiniCal::RenderBuffer(const TPaintKey& Key) {
  if (!FBuffer) FBuffer = std::make_unique<TBitmap>();
  if (FBuffer->Width() != Width() || FBuffer->Height() != Height()) FBuffer->SetSize(Width(), Height());
  FBufferValid = false;
  const TFlagScope rendering(this, FRendering, true);
  if (!PaintCalendar()) return false;
  FBufferKey = Key;
  FBufferValid = true;
  return true;
}

void TMiniCal::CenterText(TCanvas& C, const TRect& R, const std::string& Text) {
  const TSize size = C.TextExtent(Text);
  C.TextRect(R, R.Left + (R.Right - R.Left - size.cx) / 2, R.Top + (R.Bottom - R.Top - size.cy) / 2, Text);
}

void TMiniCal::DrawFrame3D(TCanvas& C, const TRect& R) const {
  if (!FCtl3D) return;
  const int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
  C.Pen()->SetWidth(1);
  C.Pen()->SetColor(0xFFFFFF);
  C.MoveTo(l, b - 1);
  C.LineTo(l, t);
  C.LineTo(r, t);
  C.Pen()->SetColor(0x686868);
  C.MoveTo(l, b);
  C.LineTo(r, b);
  C.LineTo(r, t);
  C.Pen()->SetColor(0x9CA0A5);
  C.MoveTo(l + 1, b - 1);
  C.LineTo(r - 1, b - 1);
  C.LineTo(r - 1, t);
  C.Pen()->SetColor(0xE6E2E2);
  C.MoveTo(l + 1, b - 2);
  C.LineTo(l + 1, t + 1);
  C.LineTo(r - 1, t + 1);
}

void TMiniCal::DrawButton(TCanvas& C, const TRect& R, const std::string& Text) const {
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(clBtnFace);
  CenterText(C, R, Text);
  DrawFrame3D(C, R);
}

void TMiniCal::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) {
  if (!FDrawingButtons && IsButtonCell(ACol, ARow)) return;
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  c.Font()->SetColor(0x000000);
  c.Brush()->SetStyle(bsSolid);
  const auto lang = static_cast<std::size_t>(LanguageIndex() + lgEnglish);
  TRect r = ARect;
  if (ARow == 0) {
    switch (ACol) {
      case 1: DrawButton(c, r, "<<"); break;
      case 2: DrawButton(c, r, "<"); break;
      case 6: DrawButton(c, r, ">"); break;
      case 7: DrawButton(c, r, ">>"); break;
      case 5: {
        // The label spans columns 3 to 5 with the lines between them.
        if (const TRect first = CellRect(3, 0); !first.IsEmpty()) r.Left = first.Left;
        const auto month = static_cast<std::size_t>(Month());
        const char* name = FMonthShort ? MonthShort[lang][month] : MonthLong[lang][month];
        DrawButton(c, r, std::string(name) + " " + std::to_string(Year()));
        break;
      }
      default: break;
    }
    return;
  }
  if (ARow == 1) {
    if (ACol == 0) {
      // "#" spans rows 0 and 1 with the line between them.
      if (const TRect first = CellRect(0, 0); !first.IsEmpty()) r.Top = first.Top;
      DrawButton(c, r, "#");
      return;
    }
    c.Brush()->SetColor(FColorDayIdBg);
    c.Font()->SetColor(FColorDayIdFg);
    CenterText(c, r, WeekDayShort[lang][static_cast<std::size_t>((F1stDayWeek + ACol - 1) % 7)]);
    return;
  }
  if (ACol == 0) {
    c.Brush()->SetColor(FColorWknBg);
    c.Font()->SetColor(FColorWknFg);
    const int week = WeekNumberOfRow(ARow);
    CenterText(c, r, week > 0 ? std::to_string(week) : "");
    return;
  }
  DrawDayCell(c, ACol, ARow, r);
}

int TMiniCal::WeekNumberOfRow(int ARow) const {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  const TDateTime day = EncodeDate(y, m, 1) + 7 * (ARow - 2);
  // The last row of December 9999 lies beyond the last date there is.
  return day >= MinDateTime && day < MaxDateTime + 1 ? WeekOfTheYear(day) : 0;
}

void TMiniCal::DrawDayCell(TCanvas& C, int ACol, int ARow, const TRect& R) const {
  const TShownMonth& shown = FShown;
  const int day = DayOfCell(ACol, ARow);
  C.Brush()->SetColor(FDayColors[static_cast<std::size_t>((ACol + F1stDayWeek - 1) % 7)]);
  if (day < 1 || day > shown.Length) {
    C.Font()->SetColor(FColorInactMon);
    CenterText(C, R, std::to_string(day < 1 ? day + shown.PreviousLength : day - shown.Length));
    return;
  }
  C.Font()->SetColor(FColorActMon);
  std::string caption;
  const bool holiday = FIndicateHolid && CheckHoliday(shown.Year, shown.Month, day, caption);
  if (holiday) {
    C.Brush()->SetColor(FColorHdayBg);
    C.Font()->SetColor(FColorHdayFg);
  }
  if (day == shown.Day) {
    C.Font()->SetColor(FColorSelFg);
    C.Brush()->SetColor(holiday ? MeanColor(FColorSelBg, FColorHdayBg) : FColorSelBg);
  }
  CenterText(C, R, std::to_string(day));
  if (day == shown.Today) {
    C.Pen()->SetWidth(1);
    C.Pen()->SetColor(FColorToday);
    C.Brush()->SetStyle(bsClear);
    C.Ellipse(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    C.Brush()->SetStyle(bsSolid);
  }
}

}  // namespace vorn
