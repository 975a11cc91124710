// TNumIO2: the editing model (keys, clipboard, online check, mouse, spin
// buttons, gauge, caret timer) and the painting of the field.
#include "vorn/numio/numio2.h"

#include <algorithm>
#include <cmath>

#include "vorn/foundation/strutils.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/application.h"
#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {

namespace {

constexpr std::uintptr_t kCaretTimer = 1;
constexpr unsigned kCaretPeriodMs = 500;
constexpr int kMinHeight = 18;
constexpr int kMaxDecimals = 15;
constexpr unsigned kSimpleBeep = 0xFFFF;
// Holds the tallest ascenders and deepest descenders of a font, so that its
// height is the height every text row of the field needs.
constexpr const char* kSampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

bool IsPrintableAscii(std::string_view S) {
  return std::all_of(S.begin(), S.end(), [](char C) { return C >= ' ' && C <= '~'; });
}

bool IsUnfinishedNumber(std::string_view S) { return S.empty() || S == "-" || S == "+"; }

// Shift turns the digits 4, 5 and 6 into the prefixes of the dynamic format.
char ShiftedChar(char C) {
  switch (C) {
    case '4': return '$';
    case '5': return '%';
    case '6': return '&';
    default: return C;
  }
}

// x clamped to lo..hi, hi winning when the two cross.
int Limit(int X, int Lo, int Hi) { return std::min(std::max(X, Lo), Hi); }

// x rounded to the nearest integer, ties to even.
int RoundToInt(double X) { return static_cast<int>(std::nearbyint(X)); }

}  // namespace

// ---- life cycle ------------------------------------------------------------------------

TNumIO2::TNumIO2(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csOpaque);  // Paint covers the whole area
  SetBounds(Left(), Top(), 160, 28);
  FButHeight = Height();
  FCaretTimerH = AllocateHWnd([this](TMessage& Message) { TimerWndProc(Message); });
  FSuppressPaint = true;
  try {
    UpdateTimer();
  } catch (...) {
    DeallocateHWnd(FCaretTimerH);  // the destructor does not run for a failed construction
    throw;
  }
}

TNumIO2::~TNumIO2() {
  KillTimer(FCaretTimerH, kCaretTimer);
  DeallocateHWnd(FCaretTimerH);
}

void TNumIO2::CreateWnd() {
  TCustomControl::CreateWnd();
  FSuppressPaint = false;
}

// ---- the number ------------------------------------------------------------------------

TNumFieldFormat TNumIO2::FieldFormat() const {
  TNumFieldFormat Format;
  Format.InputFormat = FInputFormat;
  Format.DecPlaceSep = FDecPSep;
  Format.FixPointDecPlaces = FDecP;
  Format.SignificantDigits = FSigDig;
  return Format;
}

bool TNumIO2::CheckValidity(std::string_view Instring) const { return FieldFormat().CheckValidity(Instring); }

bool TNumIO2::BufferAcceptable(std::string_view Buffer) const {
  return IsPrintableAscii(Buffer) && FieldFormat().CheckOnline(Buffer);
}

double TNumIO2::GetNioValue() const { return FieldFormat().GetNioValue(FInBuffer); }

int TNumIO2::GetNioIntValue() const { return FieldFormat().GetNioIntValue(FInBuffer, Name()); }

void TNumIO2::SetNioValue(double X) {
  FInBuffer = FieldFormat().NioValueText(X);
  ClampPositions();
  Paint();
}

// Caret and selection stay where they are when the buffer is replaced, as
// far as the new text reaches.
void TNumIO2::ClampPositions() {
  const int Len = BufferLength();
  FCaretPos = Limit(FCaretPos, 0, Len);
  FSelBegin = Limit(FSelBegin, 0, Len);
  FSelEnd = Limit(FSelEnd, FSelBegin, Len);
}

void TNumIO2::SetText(const std::string& Value) {
  if (!Value.empty() && !(IsPrintableAscii(Value) && CheckValidity(Value))) return;
  FInBuffer = Value;
  FCaretPos = 0;
  FSelBegin = 0;
  FSelEnd = 0;
  Paint();
}

bool TNumIO2::OutOfRange() const {
  const double V = Value();
  return !(V >= FMinimum && V <= FMaximum);
}

void TNumIO2::SetInputFormat(TInFormat Value) {
  if (Value == FInputFormat) return;
  const double Old = GetNioValue();
  FInputFormat = Value;
  SetNioValue(Old);
}

void TNumIO2::SetDecPlaceSep(TDecPSep Value) {
  if (Value == FDecPSep) return;
  const double Before = GetNioValue();
  ConvertSeparators(FDecPSep, Value);
  FDecPSep = Value;
  if (!BufferAcceptable(FInBuffer)) {
    SetNioValue(Before);  // a text the new setting refuses is written anew
    return;
  }
  Paint();
}

void TNumIO2::ConvertSeparators(TDecPSep OldSetting, TDecPSep NewSetting) {
  if (NewSetting == dsBoth) return;
  const char Locale = FormatSettings().DecimalSeparator;
  const char OldChar = OldSetting == dsComma ? ',' : OldSetting == dsLocale ? Locale : '.';
  const char NewChar = NewSetting == dsComma ? ',' : NewSetting == dsPoint ? '.' : Locale;
  if (OldSetting == dsBoth) {
    FInBuffer = ReplaceCharInString(ReplaceCharInString(FInBuffer, '.', NewChar), ',', NewChar);
  } else if (OldChar != NewChar) {
    FInBuffer = ReplaceCharInString(FInBuffer, OldChar, NewChar);
  }
}

void TNumIO2::SetFixPointDecPlaces(int Value) {
  if (Value == FDecP || Value < 1) return;
  FDecP = std::min(Value, kMaxDecimals);
  SetNioValue(GetNioValue());
}

void TNumIO2::SetSignificantDigits(int Value) {
  if (Value == FSigDig || Value < 1) return;
  FSigDig = std::min(Value, kMaxDecimals);
  SetNioValue(GetNioValue());
}

void TNumIO2::SetRangeLow(double Value) {
  FMinimum = Value;
  if (FMaximum < FMinimum) FMaximum = FMinimum;
  Paint();
}

void TNumIO2::SetRangeHigh(double Value) {
  FMaximum = Value;
  if (FMinimum > FMaximum) FMinimum = FMaximum;
  Paint();
}

// ---- caret, selection and simple settings ------------------------------------------------

void TNumIO2::SetSelBegin(int P) {
  P = Limit(P, 0, BufferLength());
  FSelBegin = P;
  FCaretPos = P;
  if (FSelEnd < P) FSelEnd = P;
  Paint();
}

void TNumIO2::SetSelEnd(int P) {
  P = Limit(P, 0, BufferLength());
  FSelEnd = P;
  FCaretPos = P;
  if (FSelBegin > P) FSelBegin = P;
  Paint();
}

void TNumIO2::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  if (!Value) {
    UpdateTimer();
    return;
  }
  KillTimer(FCaretTimerH, kCaretTimer);
  FCaretVisib = false;
  Paint();
}

void TNumIO2::SetLeftSpace(int Value) {
  if (Value == FLeftSpace || Value < 0) return;
  FLeftSpace = std::min(Value, Width());
  Paint();
}

void TNumIO2::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, std::max(AHeight, kMinHeight));
  if (FButHeight > Height()) FButHeight = Height();
}

void TNumIO2::SetColorWarnBG(TColor Value) {
  FColorWarnBG = Value;
  Paint();
}

void TNumIO2::SetColorWarnText(TColor Value) {
  FColorWarnTxt = Value;
  Paint();
}

void TNumIO2::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  FColGrayLine = Value == csBWG ? clGray : clBtnShadow;
  FColWhiteLine = Value == csBWG ? clWhite : clBtnHighlight;
  Paint();
}

void TNumIO2::SetButHeight(int Value) {
  if (Value == FButHeight) return;
  FButHeight = Limit(Value, kMinHeight, Height());
  Paint();
}

void TNumIO2::SetButWidth(int Value) {
  if (Value == FButWidth) return;
  FButWidth = Limit(Value, 8, 50);
  Paint();
}

void TNumIO2::SetButSpace(int Value) {
  if (Value == FButSpace) return;
  FButSpace = Limit(Value, 0, 50);
  Paint();
}

void TNumIO2::SetGaugeHeight(int Value) {
  if (Value == FGaugeHeight) return;
  FGaugeHeight = std::max(std::min(Value, Height() - FGaugeTopMarg - kMinHeight), 3);
  Paint();
}

void TNumIO2::SetGaugeLeftMargin(int Value) {
  if (Value == FGaugeLeftMarg) return;
  FGaugeLeftMarg = std::max(std::min(Value, Width() - FGaugeWidth), 0);
  Paint();
}

void TNumIO2::SetGaugeTopMargin(int Value) {
  if (Value == FGaugeTopMarg) return;
  FGaugeTopMarg = std::max(std::min(Value, Height() - FGaugeHeight - kMinHeight), 0);
  Paint();
}

void TNumIO2::SetGaugeWidth(int Value) {
  if (Value == FGaugeWidth) return;
  FGaugeWidth = std::min(std::max(Value, 10), Width() - FGaugeLeftMarg);
  Paint();
}

void TNumIO2::SetEnabled(bool Value) {
  FEnabled = Value;
  TCustomControl::SetEnabled(Value);
  Paint();
}

void TNumIO2::Changed() {
  if (FOnChange) FOnChange(this);
}

// ---- Assign -----------------------------------------------------------------------------

void TNumIO2::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TNumIO2*>(Source);
  if (S == nullptr) {
    TCustomControl::Assign(Source);
    return;
  }
  FLeftSpace = S->FLeftSpace;
  FTextBoxWidth = S->FTextBoxWidth;
  FDecP = S->FDecP;
  FSigDig = S->FSigDig;
  FLeftText = S->FLeftText;
  FRightText = S->FRightText;
  FFrameStyle = S->FFrameStyle;
  FAlignment = S->FAlignment;
  FRTAlignment = S->FRTAlignment;
  FLTAlignment = S->FLTAlignment;
  FColorBoxBG = S->FColorBoxBG;
  FColorBoxText = S->FColorBoxText;
  FColorOutBG = S->FColorOutBG;
  FColorOutText = S->FColorOutText;
  FColBlackLine = S->FColBlackLine;
  FColGrayLine = S->FColGrayLine;
  FColWhiteLine = S->FColWhiteLine;
  FColorScheme = S->FColorScheme;
  FInputFormat = S->FInputFormat;
  FInBuffer = S->FInBuffer;
  FCaretPos = S->FCaretPos;
  FCaretVisib = S->FCaretVisib;
  FMouseAreaCode = S->FMouseAreaCode;
  FColorWarnBG = S->FColorWarnBG;
  FColorWarnTxt = S->FColorWarnTxt;
  FSelBegin = S->FSelBegin;
  FSelEnd = S->FSelEnd;
  FDecPSep = S->FDecPSep;
  FKeyShifted = S->FKeyShifted;
  FKeyCntrl = S->FKeyCntrl;
  FHideSel = S->FHideSel;
  FMaximum = S->FMaximum;
  FMinimum = S->FMinimum;
  FOnlineCheck = S->FOnlineCheck;
  FBeep = S->FBeep;
  FAutoSize = S->FAutoSize;
  SetReadOnly(S->FReadOnly);  // through the setter, so that the caret timer follows
  Paint();
}

void TNumIO2::AssignTo(TPersistent* Dest) const {
  if (auto* D = dynamic_cast<TNumIO2*>(Dest)) {
    D->Assign(this);
    return;
  }
  TCustomControl::AssignTo(Dest);
}

// ---- caret timer ---------------------------------------------------------------------------

void TNumIO2::UpdateTimer() {
  KillTimer(FCaretTimerH, kCaretTimer);
  FCaretVisib = true;
  if (SetTimer(FCaretTimerH, kCaretTimer, kCaretPeriodMs, nullptr) == 0) {
    throw EVORNNumIO2Error("Component \"" + Name() + "\": no timer available");
  }
  Paint();
}

void TNumIO2::TimerWndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FCaretTimerH, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    CaretTimerTick();
  } catch (...) {
    Application()->HandleException(this);
  }
}

// Blinks the caret while the field has the focus; the first tick after the
// focus has gone stops the timer and hides the caret.
void TNumIO2::CaretTimerTick() {
  if (Focused()) {
    FCaretVisib = !FCaretVisib;
  } else {
    KillTimer(FCaretTimerH, kCaretTimer);
    FCaretVisib = false;
  }
  Paint();
}

void TNumIO2::SetFocus() {
  TCustomControl::SetFocus();
  if (!FReadOnly) UpdateTimer();
}

void TNumIO2::Click() {
  SetFocus();
  if (!FReadOnly) UpdateTimer();
  TCustomControl::Click();
}

void TNumIO2::WMSetFocus(TMessage&) {
  if (!FReadOnly) UpdateTimer();
}

// Shift and Control released while another control has the keyboard would
// otherwise stay held for this field.
void TNumIO2::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  FKeyShifted = false;
  FKeyCntrl = false;
}

// ---- keys --------------------------------------------------------------------------------

void TNumIO2::CNKeyUp(TMessage& Message) {
  Message.Result = 0;
  const auto Key = static_cast<Word>(Message.WParam);
  if (Key == VK_SHIFT) FKeyShifted = false;
  if (Key == VK_CONTROL) FKeyCntrl = false;
}

void TNumIO2::CNKeyDown(TMessage& Message) {
  Message.Result = 0;
  const auto Key = static_cast<Word>(Message.WParam);
  if (Key == VK_SHIFT) {
    FKeyShifted = true;
    return;
  }
  if (Key == VK_CONTROL) {
    FKeyCntrl = true;
    return;
  }
  if (Key == VK_TAB) {
    // The form's dialog-key handling moves the focus, backwards with Shift;
    // a read-only field lets Tab go as well, so the focus is never caught.
    TCustomControl::CNKeyDown(Message);
    return;
  }
  if (FReadOnly && !(FKeyCntrl && Key == 'C')) return;

  const std::string SavedBuffer = FInBuffer;
  const int SavedCaret = FCaretPos;
  bool ChangeFlag = FKeyCntrl ? ControlKey(Key) : PlainKey(Key);
  if (IsUnfinishedNumber(SavedBuffer)) CompleteFixPoint();
  if (FOnlineCheck && !BufferAcceptable(FInBuffer)) {
    FInBuffer = SavedBuffer;
    FCaretPos = SavedCaret;
    ChangeFlag = false;
    BeepIfWanted();
  }
  ClampPositions();  // an edit before a selection can leave it behind the end
  ApplyFixPointSelection();
  if (!FReadOnly) FCaretVisib = true;  // a read-only field keeps its caret hidden
  if (ChangeFlag) Changed();
  Paint();
}

// Ctrl+C, Ctrl+V, Ctrl+X; true when the buffer was changed.
bool TNumIO2::ControlKey(Word Key) {
  switch (Key) {
    case 'C':
      if (!SelectionEmpty()) Clipboard()->SetAsText(SelectedText());
      return false;
    case 'V':
      if (!Clipboard()->HasFormat(CF_TEXT)) return false;
      PasteClipboard();
      return true;
    case 'X':
      if (SelectionEmpty()) return false;
      Clipboard()->SetAsText(SelectedText());
      DeleteSelection();
      return true;
    default:
      BeepIfWanted();
      return false;
  }
}

// Keys without Control; true when the buffer was changed.
bool TNumIO2::PlainKey(Word Key) {
  const int Len = BufferLength();
  switch (Key) {
    case VK_BACK: return DeleteBackward();
    case VK_DELETE: return DeleteForward();
    case VK_END: FCaretPos = Len; return false;
    case VK_HOME: FCaretPos = 0; return false;
    case VK_LEFT:
    case VK_UP: FCaretPos = std::max(FCaretPos - 1, 0); return false;
    case VK_RIGHT:
    case VK_DOWN: FCaretPos = std::min(FCaretPos + 1, Len); return false;
    default: break;
  }
  const char C = CharOfKey(Key);
  if (C == 0) {
    BeepIfWanted();
    return false;
  }
  TypeChar(C);
  return true;
}

// The character a key types, or 0 for a key that types none.
char TNumIO2::CharOfKey(Word Key) const {
  char C = 0;
  if (Key >= '0' && Key <= '9') {
    C = static_cast<char>(Key);
  } else if (Key >= 'A' && Key <= 'F') {
    C = static_cast<char>(Key);
  } else if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) {
    C = static_cast<char>('0' + (Key - VK_NUMPAD0));
  } else if (Key == VK_ADD || Key == VK_OEM_PLUS) {
    C = '+';
  } else if (Key == VK_SUBTRACT || Key == VK_OEM_MINUS) {
    C = '-';
  } else if (Key == VK_DECIMAL || Key == VK_OEM_COMMA) {
    C = ',';
  } else if (Key == VK_OEM_PERIOD) {
    C = '.';
  }
  return FKeyShifted ? ShiftedChar(C) : C;
}

std::string TNumIO2::SelectedText() const {
  return FInBuffer.substr(static_cast<std::size_t>(FSelBegin), static_cast<std::size_t>(FSelEnd - FSelBegin));
}

// Takes the selected characters out; caret and selection end go to its
// start.
void TNumIO2::RemoveSelection() {
  if (SelectionEmpty()) return;
  FInBuffer.erase(static_cast<std::size_t>(FSelBegin), static_cast<std::size_t>(FSelEnd - FSelBegin));
  FCaretPos = FSelBegin;
  FSelEnd = FSelBegin;
}

// RemoveSelection, and an emptied buffer shows zero in the current format.
void TNumIO2::DeleteSelection() {
  RemoveSelection();
  if (FInBuffer.empty()) FInBuffer = FieldFormat().NioValueText(0);
  FCaretPos = FSelBegin;
  FSelEnd = FSelBegin;
}

bool TNumIO2::DeleteBackward() {
  if (!SelectionEmpty()) {
    DeleteSelection();
    return true;
  }
  if (FCaretPos <= 0) return false;
  FInBuffer.erase(static_cast<std::size_t>(FCaretPos - 1), 1);
  --FCaretPos;
  return true;
}

bool TNumIO2::DeleteForward() {
  if (!SelectionEmpty()) {
    DeleteSelection();
    return true;
  }
  if (FCaretPos >= BufferLength()) return false;
  FInBuffer.erase(static_cast<std::size_t>(FCaretPos), 1);
  return true;
}

void TNumIO2::TypeChar(char C) {
  RemoveSelection();
  FInBuffer.insert(static_cast<std::size_t>(FCaretPos), 1, C);
  ++FCaretPos;
}

// The clipboard text goes in at the caret; a selection stays.
void TNumIO2::PasteClipboard() {
  const std::string Pasted = Clipboard()->AsText();
  FInBuffer.insert(static_cast<std::size_t>(FCaretPos), Pasted);
  FCaretPos += static_cast<int>(Pasted.size());
}

// The first characters typed into an empty fixed-point buffer (or one
// holding a lone sign) make a number without its decimal places yet ("5",
// "-5", "."): they are completed with the separator and zeros, so that
// typing can start there. The caret stays behind what was typed.
void TNumIO2::CompleteFixPoint() {
  if (FInputFormat != itFixPoint || IsUnfinishedNumber(FInBuffer)) return;
  if (!CheckFloatText(FInBuffer, ResolveSepMode(FDecPSep))) return;
  const char Separator = FieldFormat().FixPointSeparator();
  const std::size_t At = FInBuffer.find(Separator);
  if (At == std::string::npos) {
    FInBuffer += Separator;
    FInBuffer.append(static_cast<std::size_t>(FDecP), '0');
  } else if (const auto Decimals = static_cast<int>(FInBuffer.size() - At - 1); Decimals < FDecP) {
    FInBuffer.append(static_cast<std::size_t>(FDecP - Decimals), '0');
  }
}

// In a fixed-point field a caret among the decimal places selects the
// character after it, so that the next digit replaces it.
void TNumIO2::ApplyFixPointSelection() {
  if (FInputFormat != itFixPoint) return;
  const int Len = BufferLength();
  if (FCaretPos > Len - FDecP - 1) {
    FSelBegin = FCaretPos;
    FSelEnd = std::min(FCaretPos + 1, Len);
  } else {
    FSelBegin = FSelEnd;
  }
}

void TNumIO2::BeepIfWanted() const {
  if (FBeep) MessageBeep(kSimpleBeep);
}

// ---- mouse ---------------------------------------------------------------------------------

int TNumIO2::GaugeBandHeight() const { return FGaugeVisib ? FGaugeHeight + FGaugeTopMarg + 1 : 0; }

bool TNumIO2::InTextArea(int Y) const { return Y > 0 && Y < Height() - GaugeBandHeight(); }

bool TNumIO2::InGaugeBand(int Y) const { return FGaugeVisib && Y > Height() - GaugeBandHeight(); }

int TNumIO2::NearestPivotIndex(double V) const {
  int Best = 0;
  double BestDistance = uc_MaxReal;
  for (std::size_t I = 0; I < ButtonPivots.size(); ++I) {
    const double Distance = std::fabs(V - ButtonPivots[I]);
    if (Distance < BestDistance) {
      Best = static_cast<int>(I);
      BestDistance = Distance;
    }
  }
  return Best;
}

// The value at gauge column X: by position between the range limits,
// snapped to the nearest pivot, kept within the range.
double TNumIO2::GaugeValueAt(int X) const {
  const double Fraction = FGaugeWidth > 0 ? static_cast<double>(X - FGaugeLeftMarg) / FGaugeWidth : 0.0;
  double V = std::lerp(FMinimum, FMaximum, Fraction);
  if (!ButtonPivots.empty()) V = ButtonPivots[static_cast<std::size_t>(NearestPivotIndex(V))];
  if (V < FMinimum) V = FMinimum;
  if (V > FMaximum) V = FMaximum;
  return V;
}

void TNumIO2::SpinButtonClicked(bool Lower) {
  double V = Value();
  if (ButtonPivots.empty()) {
    V += Lower ? -FButIncrem : FButIncrem;
    if (V < FMinimum) V = FMinimum;
    if (V > FMaximum) V = FMaximum;
    SetNioValue(V);
  } else {
    const double E = std::pow(10.0, -FDecP);
    const int Last = static_cast<int>(ButtonPivots.size()) - 1;
    int I = NearestPivotIndex(V);
    const double Pivot = ButtonPivots[static_cast<std::size_t>(I)];
    if (!Lower && V >= Pivot - E && I < Last) ++I;
    if (Lower && V <= Pivot + E && I > 0) --I;
    SetNioValue(ButtonPivots[static_cast<std::size_t>(I)]);
  }
  Changed();
}

void TNumIO2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!FReadOnly) FCaretVisib = true;
  if (InTextArea(Y)) {
    const int P = XCoordsToCharPos(X);
    FCaretPos = P;
    FSelBegin = P;
    SetSelEnd(P);
  }
  if (InGaugeBand(Y) && X >= FGaugeLeftMarg && X <= FGaugeLeftMarg + FGaugeWidth) {
    SetNioValue(GaugeValueAt(X));
    FValueChanged = true;
  }
  const int ButLeft = FLeftSpace + FTextBoxWidth + FButSpace;
  if (FButVisible && X > ButLeft && X < ButLeft + FButWidth && Y > 0 && Y < FButHeight) {
    SpinButtonClicked(Y > FButHeight / 2);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TNumIO2::MouseMove(TShiftState Shift, int X, int Y) {
  FMouseAreaCode = X > FLeftSpace + FTextBoxWidth ? 2 : X > FLeftSpace ? 1 : 0;
  if (Shift.Contains(ssLeft)) {
    if (InTextArea(Y)) {
      const int P = XCoordsToCharPos(X);
      if (P > FSelBegin) {
        SetSelEnd(P);
      } else {
        SetSelBegin(P);
      }
    } else if (InGaugeBand(Y) && X >= FGaugeLeftMarg - 1 && X <= FGaugeLeftMarg + FGaugeWidth + 1) {
      const double V = GaugeValueAt(X);
      SetNioValue(V);
      FValueChanged = true;
      if (FOnGaugeChange) FOnGaugeChange(this, Shift, V);
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TNumIO2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FValueChanged) {
    FValueChanged = false;
    Changed();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- geometry ---------------------------------------------------------------------------

TCanvas& TNumIO2::MeasureCanvas() const {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  return *C;
}

int TNumIO2::CharPosToXCoords(int Pos) const {
  const TCanvas& C = MeasureCanvas();
  const int TW = C.TextWidth(FInBuffer);
  const int TP = C.TextWidth(std::string_view(FInBuffer).substr(0, static_cast<std::size_t>(Limit(Pos, 0, BufferLength()))));
  switch (FAlignment) {
    case taLeftJustify: return FLeftSpace + 4 + TP;
    case taRightJustify: return FLeftSpace + FTextBoxWidth - 2 - TW + TP;
    default: return FLeftSpace + 2 + TP + (FTextBoxWidth - TW) / 2;
  }
}

int TNumIO2::XCoordsToCharPos(int X) const {
  if (FInBuffer.empty()) return 0;
  const int Len = BufferLength();
  const int TW = MeasureCanvas().TextWidth(FInBuffer);
  const int A = TW / Len;  // the average character width
  if (A <= 0) return 0;
  int D = 0;
  switch (FAlignment) {
    case taLeftJustify: D = X - FLeftSpace - 3; break;
    case taRightJustify: D = X - FLeftSpace - FTextBoxWidth + 3 + TW; break;
    default: D = X - FLeftSpace - 1 - (FTextBoxWidth - TW) / 2; break;
  }
  D = Limit(D, 0, TW);
  return std::min((D + A / 2) / A, Len);
}

// ---- painting ------------------------------------------------------------------------------

TNumIO2::TLayout TNumIO2::MakeLayout(int TextHeight) const {
  TLayout L;
  L.W = Width();
  L.H = Height();
  L.G = GaugeBandHeight();
  L.TY = (L.H - L.G - TextHeight) / 2;
  L.LS = FLeftSpace;
  L.TB = FTextBoxWidth;
  L.BS = FButSpace;
  L.BW = FButWidth;
  L.BH2 = FButHeight / 2;
  L.BO = FButVisible ? FButWidth + FButSpace : 0;
  L.OutOfRange = OutOfRange();
  return L;
}

void TNumIO2::Paint() {
  if (FSuppressPaint) return;
  if (!Visible() && !ComponentState().Contains(csDesigning)) return;
  TCanvas& Target = MeasureCanvas();
  const int TextHeight = Target.TextHeight(kSampleText);
  if (FAutoSize) TCustomControl::SetBounds(Left(), Top(), Width(), Target.TextHeight("E0") + 6);
  const TLayout L = MakeLayout(TextHeight);
  if (L.W <= 0 || L.H <= 0) return;

  TBitmap Bitmap(L.W, L.H);
  TCanvas& C = *Bitmap.Canvas();
  C.SetFont(Font());
  C.Pen()->SetColor(FColorOutBG);
  C.Brush()->SetColor(FColorOutBG);
  C.Rectangle(0, 0, L.W, L.H);
  PaintLeftText(C, L);
  if (FButVisible) PaintButtons(C, L);
  PaintRightText(C, L);
  if (FGaugeVisib) PaintGauge(C, L);
  PaintTextBox(C, L);
  PaintNumber(C, L);
  PaintSelection(C, L);

  TCanvas& Dest = *Canvas();
  Dest.SetCopyMode(cmSrcCopy);
  Dest.Draw(0, 0, &Bitmap);
}

// A text outside the box: in ColorOutText on the current brush when
// enabled, else embossed (white shifted by one pixel, grey on top).
void TNumIO2::DrawSideText(TCanvas& C, int X, int TY, const std::string& S) const {
  if (FEnabled) {
    C.Font()->SetColor(FColorOutText);
    C.TextOut(X, TY, S);
    return;
  }
  C.Brush()->SetStyle(bsClear);
  C.Font()->SetColor(clWhite);
  C.TextOut(X + 1, TY + 1, S);
  C.Font()->SetColor(clGray);
  C.TextOut(X, TY, S);
}

void TNumIO2::PaintLeftText(TCanvas& C, const TLayout& L) const {
  if (FLeftText.empty()) return;
  const int TWL = C.TextWidth(FLeftText);
  int X = 0;
  switch (FLTAlignment) {
    case taLeftJustify: X = 7; break;
    case taRightJustify: X = L.LS - TWL - 5; break;
    default: X = (L.LS - TWL) / 2; break;
  }
  DrawSideText(C, X, L.TY, FLeftText);
}

void TNumIO2::PaintRightText(TCanvas& C, const TLayout& L) const {
  if (FRightText.empty()) return;
  const int TWR = C.TextWidth(FRightText);
  const int BoxEnd = L.LS + L.BO + L.TB;
  int X = 0;
  switch (FRTAlignment) {
    case taLeftJustify: X = BoxEnd + 7; break;
    case taRightJustify: X = L.W - TWR - 6; break;
    default: X = (L.W - BoxEnd - TWR) / 2 + BoxEnd + 1; break;
  }
  C.Brush()->SetColor(FColorOutBG);
  DrawSideText(C, X, L.TY, FRightText);
}

void TNumIO2::PaintButtons(TCanvas& C, const TLayout& L) const {
  const int BX = L.LS + L.TB + L.BS;
  const int CX = L.LS + 1 + L.TB + L.BS + L.BW / 2;
  const int BH2 = L.BH2;
  C.Pen()->SetColor(clGray);
  C.Brush()->SetColor(FButColor);
  C.Rectangle(BX, 0, BX + L.BW + 1, 2 * BH2 - 1);
  C.MoveTo(BX, BH2 - 1);
  C.LineTo(BX + L.BW, BH2 - 1);
  if (FBut3D) {
    C.Pen()->SetColor(clWhite);
    const TPoint LowerLight[] = {{BX + 1, 2 * BH2 - 3}, {BX + 1, BH2}, {BX + L.BW, BH2}};
    const TPoint UpperLight[] = {{BX + 1, BH2 - 2}, {BX + 1, 1}, {BX + L.BW, 1}};
    C.Polyline(LowerLight);
    C.Polyline(UpperLight);
    C.Pen()->SetColor(clBlack);
    const TPoint Shade[] = {{BX + 1, 2 * BH2 - 1}, {BX + L.BW + 1, 2 * BH2 - 1}, {BX + L.BW + 1, 1}};
    C.Polyline(Shade);
  }
  C.Pen()->SetColor(FEnabled ? clBlack : clGray);
  const int Q = BH2 / 2;
  const int R = BH2 + Q;
  for (int K = 1; K <= 3; ++K) {
    C.MoveTo(CX - K, Q + K - 2);  // up arrow, widening downwards
    C.LineTo(CX + K, Q + K - 2);
    C.MoveTo(CX - K, R - K + 1);  // down arrow, widening upwards
    C.LineTo(CX + K, R - K + 1);
  }
}

void TNumIO2::PaintGauge(TCanvas& C, const TLayout& L) const {
  const int GL = FGaugeLeftMarg;
  const int GR = GL + FGaugeWidth;
  const int GT = L.H - L.G + FGaugeTopMarg;
  const int GB = GT + FGaugeHeight;
  C.Pen()->SetColor(FGaugeFrameSt == fsNone ? FGaugeColorBg : FGaugeColorFrm);
  C.Brush()->SetColor(FGaugeColorBg);
  C.Brush()->SetStyle(bsSolid);
  C.Rectangle(GL, GT, GR, GB);

  long double F = 1;
  if (FMaximum != FMinimum) {
    F = (static_cast<long double>(Value()) - FMinimum) / (static_cast<long double>(FMaximum) - FMinimum);
  }
  if (!(F >= 0)) F = 0;  // also a fraction that is not a number
  if (F > 1) F = 1;
  const int N = RoundToInt(static_cast<double>(FGaugeWidth * F));
  const TColor Bar = FEnabled ? FGaugeColor : clGray;
  C.Pen()->SetColor(Bar);
  C.Brush()->SetColor(Bar);
  if (N > 0) C.Rectangle(GL, GT, GL + N, GB);

  if (FGaugeFrameSt == fsNone) return;
  TColor Frame = FColGrayLine;
  if (FGaugeFrameSt == fsSimple) Frame = FGaugeColorFrm;
  if (FGaugeFrameSt == fsEmbossed) Frame = FColWhiteLine;
  C.Pen()->SetColor(Frame);
  C.Brush()->SetStyle(bsClear);
  C.Rectangle(GL, GT, GR, GB);
  const TPoint UpperLeft[] = {{GL + 1, GB - 2}, {GL + 1, GT + 1}, {GR - 1, GT + 1}};
  const TPoint LowerRight[] = {{GL + 1, GB}, {GR, GB}, {GR, GT}};
  DrawBevel(C, FGaugeFrameSt, UpperLeft, LowerRight);
}

// The two bevel lines of the frame styles 2 to 5; other styles have none.
void TNumIO2::DrawBevel(TCanvas& C, TFrameStyle Style, std::span<const TPoint> UpperLeft,
                        std::span<const TPoint> LowerRight) const {
  TColor First = 0;
  TColor Second = 0;
  switch (Style) {
    case fsLowered: First = FColBlackLine; Second = FColWhiteLine; break;
    case fsRaised: First = FColWhiteLine; Second = FColBlackLine; break;
    case fsEmbossed: First = FColGrayLine; Second = FColGrayLine; break;
    case fsEngraved: First = FColWhiteLine; Second = FColWhiteLine; break;
    default: return;
  }
  C.Pen()->SetColor(First);
  C.Polyline(UpperLeft);
  C.Pen()->SetColor(Second);
  C.Polyline(LowerRight);
}

void TNumIO2::PaintTextBox(TCanvas& C, const TLayout& L) const {
  TColor Pen = FColGrayLine;
  if (FFrameStyle == fsNone) Pen = FEnabled ? FColorBoxBG : clSilver;
  if (FFrameStyle == fsEmbossed) Pen = FColWhiteLine;
  TColor Brush = FColorBoxBG;
  if (L.OutOfRange) {
    Brush = FColorWarnBG;
    if (FFrameStyle == fsNone && FEnabled) Pen = FColorWarnBG;
  }
  if (!FEnabled) Brush = clSilver;
  C.Pen()->SetColor(Pen);
  C.Brush()->SetColor(Brush);
  const int Right = L.LS + L.TB + 2;
  const int Bottom = L.H - L.G;
  if (FFrameStyle == fsNone || FFrameStyle == fsSimple) {
    C.Rectangle(L.LS, 0, Right, Bottom);
    return;
  }
  C.Rectangle(L.LS, 0, Right, Bottom - 1);
  const int B = Bottom - 4;
  const TPoint UpperLeft[] = {{L.LS + 1, B + 1}, {L.LS + 1, 1}, {L.LS + L.TB + 1, 1}};
  const TPoint LowerRight[] = {{L.LS + 1, B + 3}, {Right, B + 3}, {Right, 0}};
  DrawBevel(C, FFrameStyle, UpperLeft, LowerRight);
}

// The number, clipped to the inside of the box, and the caret. The brush is
// still the box's from PaintTextBox.
void TNumIO2::PaintNumber(TCanvas& C, const TLayout& L) const {
  const int TW = C.TextWidth(FInBuffer);
  const int TC = C.TextWidth(std::string_view(FInBuffer).substr(0, static_cast<std::size_t>(FCaretPos)));
  TColor Ink = L.OutOfRange ? FColorWarnTxt : FColorBoxText;
  if (!FEnabled) Ink = clGray;
  C.Font()->SetColor(Ink);
  int X = 0;
  int Caret = 0;  // counted from the box's left edge
  switch (FAlignment) {
    case taLeftJustify:
      X = L.LS + 4;
      Caret = TC + 3;
      break;
    case taRightJustify:
      X = L.LS + L.TB - 2 - TW;
      Caret = L.TB - 3 - TW + TC;
      break;
    default:
      X = L.LS + 2 + (L.TB - TW) / 2;
      Caret = TC + 1 + (L.TB - TW) / 2;
      break;
  }
  const int Bottom = L.H - L.G - 3;
  C.TextRect(TRect{L.LS + 3, 2, L.LS + L.TB - 1, Bottom}, X, L.TY, FInBuffer);
  // The caret belongs to the field with the focus: a field that has never
  // had it shows none before its timer's first tick.
  if (!FCaretVisib || !Focused() || Caret <= 0 || Caret >= L.TB) return;
  C.Pen()->SetColor(clBlack);
  C.MoveTo(L.LS + Caret, 3);
  C.LineTo(L.LS + Caret, Bottom);
}

// The selection, inverted on the bitmap, within the box's columns.
void TNumIO2::PaintSelection(TCanvas& C, const TLayout& L) const {
  if (SelectionEmpty() || (!Focused() && FHideSel)) return;
  const int X1 = Limit(CharPosToXCoords(FSelBegin), L.LS, L.LS + L.TB);
  const int X2 = Limit(CharPosToXCoords(FSelEnd), L.LS, L.LS + L.TB);
  const TRect Area{X1, 3, X2, L.H - L.G - 3};
  C.SetCopyMode(cmNotSrcCopy);
  C.CopyRect(Area, &C, Area);
  C.SetCopyMode(cmSrcCopy);
}

}  // namespace vorn
