// TNumIO2: a self-drawn numeric input field. An optional text left of a
// text box that holds the number, optional spin buttons, an optional text
// right of them and an optional horizontal gauge below.
//
// The number lives as text in an input buffer that the user edits key by
// key. Every edit is tested against the input format (numformat.h) and
// undone when it would make the text invalid, so the buffer always holds a
// valid text of its format or one of the unfinished texts "", "-", "+" and,
// in the dynamic format, a lone prefix; an exponent number fills the whole
// buffer (TNumFieldFormat::CheckOnline). Digits typed into an empty
// fixed-point buffer get the separator and the decimal places at once.
// The buffer holds printable ASCII only, so byte positions are character
// positions. The caret blinks on a hidden timer window while the field has
// the focus; spin buttons step the value by an increment or along a list of
// pivot values; the gauge sets the value by position.
//
// Property setters repaint at once by calling Paint, which draws the whole
// field into an off-screen bitmap and copies it to the canvas in one step.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "vorn/foundation/basics.h"
#include "vorn/numio/numformat.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/runtime/timers.h"

namespace vorn {

class TBitmap;

// Raised while the gauge is dragged, with the value it now shows.
using TOnGaugeChangeEvent = std::function<void(TObject* Sender, TShiftState Shift, double GaugeValue)>;

class TNumIO2 : public TCustomControl {
 public:
  explicit TNumIO2(TComponent* AOwner);
  ~TNumIO2() override;
  TNumIO2(const TNumIO2&) = delete;
  TNumIO2& operator=(const TNumIO2&) = delete;

  // ---- the number ---------------------------------------------------------------
  // The input buffer. A new text is taken only when it is empty or valid in
  // the current format (and printable ASCII); it puts caret and selection
  // at 0. Other texts are ignored.
  [[nodiscard]] const std::string& Text() const { return FInBuffer; }
  void SetText(const std::string& Value) override;
  // The buffer read as a number in the current format; writing replaces the
  // buffer by the value's text (no range check, no change event).
  [[nodiscard]] double Value() const { return GetNioValue(); }
  void SetValue(double X) { SetNioValue(X); }
  // Value rounded to an integer; EVORNNumIO2Error when it does not fit.
  [[nodiscard]] int IntegerValue() const { return GetNioIntValue(); }
  [[nodiscard]] bool CheckValidity(std::string_view Instring) const;
  // True when Value lies outside RangeLow..RangeHigh or compares with
  // neither.
  [[nodiscard]] bool OutOfRange() const;

  [[nodiscard]] TInFormat InputFormat() const { return FInputFormat; }
  void SetInputFormat(TInFormat Value);
  [[nodiscard]] TDecPSep DecPlaceSep() const { return FDecPSep; }
  void SetDecPlaceSep(TDecPSep Value);
  [[nodiscard]] int FixPointDecPlaces() const { return FDecP; }
  void SetFixPointDecPlaces(int Value);
  [[nodiscard]] int SignificantDigits() const { return FSigDig; }
  void SetSignificantDigits(int Value);
  [[nodiscard]] double RangeLow() const { return FMinimum; }
  void SetRangeLow(double Value);
  [[nodiscard]] double RangeHigh() const { return FMaximum; }
  void SetRangeHigh(double Value);

  // ---- caret and selection -------------------------------------------------------
  [[nodiscard]] int SelBegin() const { return FSelBegin; }
  void SetSelBegin(int P);
  [[nodiscard]] int SelEnd() const { return FSelEnd; }
  void SetSelEnd(int P);
  // Where the caret stands (characters before it) and whether it is in its
  // visible phase.
  [[nodiscard]] int CaretPos() const { return FCaretPos; }
  [[nodiscard]] bool CaretVisible() const { return FCaretVisib; }
  [[nodiscard]] bool HideSelection() const { return FHideSel; }
  void SetHideSelection(bool Value) { StoreAndPaint(FHideSel, Value); }
  [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  [[nodiscard]] bool Beep() const { return FBeep; }
  void SetBeep(bool Value) { FBeep = Value; }
  // The area under the mouse after its last move: 0 left text, 1 text box,
  // 2 right of the box.
  [[nodiscard]] int MouseAreaCode() const { return FMouseAreaCode; }

  // ---- layout ---------------------------------------------------------------------------
  [[nodiscard]] int LeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);
  [[nodiscard]] int TextBoxWidth() const { return FTextBoxWidth; }
  void SetTextBoxWidth(int Value) { StoreAndPaint(FTextBoxWidth, Value); }
  [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { StoreAndPaint(FAlignment, Value); }
  [[nodiscard]] const std::string& LeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value) { StoreAndPaint(FLeftText, Value); }
  [[nodiscard]] const std::string& RightText() const { return FRightText; }
  void SetRightText(const std::string& Value) { StoreAndPaint(FRightText, Value); }
  [[nodiscard]] TAlignment LeftTextAlignment() const { return FLTAlignment; }
  void SetLeftTextAlignment(TAlignment Value) { StoreAndPaint(FLTAlignment, Value); }
  [[nodiscard]] TAlignment RightTextAlignment() const { return FRTAlignment; }
  void SetRightTextAlignment(TAlignment Value) { StoreAndPaint(FRTAlignment, Value); }
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value) { StoreAndPaint(FFrameStyle, Value); }
  [[nodiscard]] bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { StoreAndPaint(FAutoSize, Value); }
  // Height: at least 18; a larger ButHeight follows it down.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // ---- colours ---------------------------------------------------------------------------
  [[nodiscard]] TColor ColorBoxBG() const { return FColorBoxBG; }
  void SetColorBoxBG(TColor Value) { StoreAndPaint(FColorBoxBG, Value); }
  [[nodiscard]] TColor ColorBoxText() const { return FColorBoxText; }
  void SetColorBoxText(TColor Value) { StoreAndPaint(FColorBoxText, Value); }
  [[nodiscard]] TColor ColorOutBG() const { return FColorOutBG; }
  void SetColorOutBG(TColor Value) { StoreAndPaint(FColorOutBG, Value); }
  [[nodiscard]] TColor ColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor Value) { StoreAndPaint(FColorOutText, Value); }
  [[nodiscard]] TColor ColorWarnBG() const { return FColorWarnBG; }
  void SetColorWarnBG(TColor Value);
  [[nodiscard]] TColor ColorWarnText() const { return FColorWarnTxt; }
  void SetColorWarnText(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);

  // ---- spin buttons ------------------------------------------------------------------
  [[nodiscard]] bool ButVisible() const { return FButVisible; }
  void SetButVisible(bool Value) { StoreAndPaint(FButVisible, Value); }
  [[nodiscard]] bool But3D() const { return FBut3D; }
  void SetBut3D(bool Value) { StoreAndPaint(FBut3D, Value); }
  [[nodiscard]] int ButHeight() const { return FButHeight; }
  void SetButHeight(int Value);
  [[nodiscard]] int ButWidth() const { return FButWidth; }
  void SetButWidth(int Value);
  [[nodiscard]] int ButSpace() const { return FButSpace; }
  void SetButSpace(int Value);
  [[nodiscard]] double ButIncrem() const { return FButIncrem; }
  void SetButIncrem(double Value) { StoreAndPaint(FButIncrem, Value); }
  [[nodiscard]] TColor ButColor() const { return FButColor; }
  void SetButColor(TColor Value) { StoreAndPaint(FButColor, Value); }

  // ---- gauge ---------------------------------------------------------------------------
  [[nodiscard]] bool GaugeVisible() const { return FGaugeVisib; }
  void SetGaugeVisible(bool Value) { StoreAndPaint(FGaugeVisib, Value); }
  [[nodiscard]] int GaugeHeight() const { return FGaugeHeight; }
  void SetGaugeHeight(int Value);
  [[nodiscard]] int GaugeWidth() const { return FGaugeWidth; }
  void SetGaugeWidth(int Value);
  [[nodiscard]] int GaugeLeftMargin() const { return FGaugeLeftMarg; }
  void SetGaugeLeftMargin(int Value);
  [[nodiscard]] int GaugeTopMargin() const { return FGaugeTopMarg; }
  void SetGaugeTopMargin(int Value);
  [[nodiscard]] TColor GaugeColor() const { return FGaugeColor; }
  void SetGaugeColor(TColor Value) { StoreAndPaint(FGaugeColor, Value); }
  [[nodiscard]] TColor GaugeColorBg() const { return FGaugeColorBg; }
  void SetGaugeColorBg(TColor Value) { StoreAndPaint(FGaugeColorBg, Value); }
  [[nodiscard]] TColor GaugeColorFrame() const { return FGaugeColorFrm; }
  void SetGaugeColorFrame(TColor Value) { StoreAndPaint(FGaugeColorFrm, Value); }
  [[nodiscard]] TFrameStyle GaugeFrameStyle() const { return FGaugeFrameSt; }
  void SetGaugeFrameStyle(TFrameStyle Value) { StoreAndPaint(FGaugeFrameSt, Value); }

  // Values the spin buttons and the gauge snap to, in ascending order; the
  // host fills it.
  TDoubleArray ButtonPivots;

  // ---- events ---------------------------------------------------------------------------
  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }
  [[nodiscard]] const TOnGaugeChangeEvent& OnGaugeChange() const { return FOnGaugeChange; }
  void SetOnGaugeChange(TOnGaugeChangeEvent E) { FOnGaugeChange = std::move(E); }
  // Raises OnChange.
  void Changed();

  // ---- geometry --------------------------------------------------------------------------
  // The pixel column in front of character position Pos.
  [[nodiscard]] int CharPosToXCoords(int Pos) const;
  // The character position nearest to pixel column X, by the average
  // character width; 0..Length of the buffer.
  [[nodiscard]] int XCoordsToCharPos(int X) const;

  // ---- framework overrides -------------------------------------------------------------
  void Paint() override;
  void SetEnabled(bool Value) override;
  void SetFocus() override;
  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(const TPersistent* Source) override;

 protected:
  void AssignTo(TPersistent* Dest) const override;
  void CreateWnd() override;
  void CNKeyDown(TMessage& Message) override;
  void CNKeyUp(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;

 private:
  // The measures one paint works with.
  struct TLayout {
    int W = 0, H = 0;  // control size
    int G = 0;         // height of the gauge band
    int TY = 0;        // top row of every text
    int LS = 0, TB = 0, BS = 0, BW = 0, BH2 = 0;
    int BO = 0;        // width the buttons take
    bool OutOfRange = false;
  };

  template <typename T>
  void StoreAndPaint(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Paint();
  }

  // ---- format ----
  [[nodiscard]] TNumFieldFormat FieldFormat() const;
  [[nodiscard]] double GetNioValue() const;
  void SetNioValue(double X);
  [[nodiscard]] int GetNioIntValue() const;
  // Printable ASCII that passes the online check.
  [[nodiscard]] bool BufferAcceptable(std::string_view Buffer) const;
  void ConvertSeparators(TDecPSep OldSetting, TDecPSep NewSetting);
  void ClampPositions();
  [[nodiscard]] int BufferLength() const { return static_cast<int>(FInBuffer.size()); }

  // ---- caret timer ----
  void UpdateTimer();
  void TimerWndProc(TMessage& Message);
  void CaretTimerTick();

  // ---- keys ----
  [[nodiscard]] bool ControlKey(Word Key);
  [[nodiscard]] bool PlainKey(Word Key);
  [[nodiscard]] char CharOfKey(Word Key) const;
  [[nodiscard]] bool SelectionEmpty() const { return FSelBegin >= FSelEnd; }
  [[nodiscard]] std::string SelectedText() const;
  void RemoveSelection();
  void DeleteSelection();
  [[nodiscard]] bool DeleteBackward();
  [[nodiscard]] bool DeleteForward();
  void TypeChar(char C);
  void PasteClipboard();
  void CompleteFixPoint();
  void ApplyFixPointSelection();
  void BeepIfWanted() const;

  // ---- mouse ----
  [[nodiscard]] int GaugeBandHeight() const;
  [[nodiscard]] bool InTextArea(int Y) const;
  [[nodiscard]] bool InGaugeBand(int Y) const;
  [[nodiscard]] double GaugeValueAt(int X) const;
  [[nodiscard]] int NearestPivotIndex(double V) const;
  void SpinButtonClicked(bool Lower);

  // ---- painting ----
  [[nodiscard]] TCanvas& MeasureCanvas() const;
  [[nodiscard]] TLayout MakeLayout(int TextHeight) const;
  void DrawSideText(TCanvas& C, int X, int TY, const std::string& S) const;
  void PaintLeftText(TCanvas& C, const TLayout& L) const;
  void PaintButtons(TCanvas& C, const TLayout& L) const;
  void PaintRightText(TCanvas& C, const TLayout& L) const;
  void PaintGauge(TCanvas& C, const TLayout& L) const;
  void PaintTextBox(TCanvas& C, const TLayout& L) const;
  void PaintNumber(TCanvas& C, const TLayout& L) const;
  void PaintSelection(TCanvas& C, const TLayout& L) const;
  void DrawBevel(TCanvas& C, TFrameStyle Style, std::span<const TPoint> UpperLeft,
                 std::span<const TPoint> LowerRight) const;

  int FLeftSpace = 35;
  bool FSuppressPaint = true;
  int FTextBoxWidth = 80;
  bool FValueChanged = false;
  int FDecP = 2;
  int FSigDig = 6;
  bool FEnabled = true;
  int FButWidth = 18;
  int FButSpace = 3;
  double FButIncrem = 1.0;
  bool FButVisible = false;
  bool FBut3D = true;
  int FButHeight = 28;
  TColor FButColor = clSilver;
  HWND FCaretTimerH = 0;
  std::string FInBuffer;
  int FCaretPos = 0;
  bool FCaretVisib = false;
  bool FGaugeVisib = false;
  int FGaugeHeight = 8;
  int FGaugeWidth = 82;
  int FGaugeLeftMarg = 35;
  int FGaugeTopMarg = 3;
  TColor FGaugeColor = clNavy;
  TColor FGaugeColorBg = clSilver;
  TColor FGaugeColorFrm = clGray;
  TFrameStyle FGaugeFrameSt = fsLowered;
  std::string FLeftText;
  std::string FRightText;
  TFrameStyle FFrameStyle = fsLowered;
  TAlignment FAlignment = taCenter;
  TAlignment FLTAlignment = taRightJustify;
  TAlignment FRTAlignment = taLeftJustify;
  int FMouseAreaCode = 0;
  TColor FColorBoxBG = clWhite;
  TColor FColorBoxText = clBlack;
  TColor FColorOutBG = clBtnFace;
  TColor FColorOutText = clBlack;
  TColor FColBlackLine = clBlack;
  TColor FColGrayLine = clGray;
  TColor FColWhiteLine = clWhite;
  TColor FColorWarnBG = 0x6088FFF0;
  TColor FColorWarnTxt = clRed;
  TColorScheme FColorScheme = csBWG;
  int FSelBegin = 0;
  int FSelEnd = 0;
  TDecPSep FDecPSep = dsBoth;
  TInFormat FInputFormat = itFloat;
  bool FKeyShifted = false;
  bool FKeyCntrl = false;
  bool FHideSel = true;
  double FMaximum = 1000.0;
  double FMinimum = 0.0;
  bool FOnlineCheck = true;
  bool FBeep = false;
  bool FReadOnly = false;
  bool FAutoSize = false;
  TNotifyEvent FOnChange;
  TOnGaugeChangeEvent FOnGaugeChange;
};

}  // namespace vorn
