// TNumLab: a numeric label. A value shown as text in a framed box, with an
// optional text left and right of it:
//
//   |<- LeftSpace ->|<------ LabelWidth ------>|
//     left text      [        3.14            ]   right text
//
// The host sets Value; the label repaints at once. OnBeforeDisplay may
// rewrite the text just before it is drawn; a text wider than the box
// (LabelWidth - 6) shows OverflowIndicator instead, centred or aligned by
// the indicator's own width. State texts are never replaced.
//
// Value texts by DisplayType (Precision = P):
//   dtFloat      P significant digits, fixed or "1.5E-6" (no trailing zeros)
//   dtFixP       P decimals                           "3.14"
//   dtExp        P significant digits                 "1.23E+003"
//   dtInt        rounded, ties to even                "4"
//   dtZeroInt    rounded, at least P digits           "007", "-042"
//   dtHex/Oct/Bin rounded, upper-case digits of the 32-bit pattern,
//                at least P digits                    "FFFFFFFF" for -1
//   dtDateTime   FormatDateTime(DTFormat, Value)
//   dtState      StateText
//   dtDeg        P decimals and a degree sign         "12.50°"
//   dtDegMin     degrees and minutes with P decimals  "12°30.00'"
//   dtDegMinSec  degrees, minutes, seconds            "12°30'15.00\""
//   dtEEng       exponent a multiple of 3, P digits   "12.3E+03"
//   dtEEngNoDP   the SI prefix in place of the point  "4k7", "100m"
// NaN and infinite values show "NAN", "INF" and "-INF" in every numeric
// format. Comma and ForcePlusSign apply to all formats but dtHex,
// dtDateTime, dtState and dtBin.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "vorn/foundation/basics.h"
#include "vorn/platform/controls/controls.h"

namespace vorn {

class TBitmap;

enum TDisplay : std::uint8_t {
  dtFloat,
  dtFixP,
  dtExp,
  dtHex,
  dtZeroInt,
  dtInt,
  dtDateTime,
  dtState,
  dtBin,
  dtOct,
  dtDeg,
  dtDegMin,
  dtDegMinSec,
  dtEEng,
  dtEEngNoDP
};

using TBeforeDisplayEvent = std::function<void(TObject* Sender, std::string& Text)>;

// The settings a value text depends on.
struct TNumLabFormat {
  TDisplay Display = dtFixP;
  int Precision = 2;
  bool Comma = false;
  bool PlusSign = false;
  std::string DTFormat = "mmm-dd, yyyy";
  std::string StateText = "undefined";
};

// The text of Value as the label shows it before OnBeforeDisplay.
std::string NumLabText(const TNumLabFormat& Format, double Value);

class TNumLab : public TGraphicControl {
 public:
  explicit TNumLab(TComponent* AOwner);

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  [[nodiscard]] TColor ColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor Value);
  [[nodiscard]] TColor ColorLabText() const { return FColorLabText; }
  void SetColorLabText(TColor Value);
  [[nodiscard]] TColor ColorOutBakG() const { return FColorOutBakG; }
  void SetColorOutBakG(TColor Value);
  [[nodiscard]] TColor ColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  [[nodiscard]] bool Comma() const { return FComma; }
  void SetComma(bool Value);
  [[nodiscard]] TDisplay DisplayType() const { return FDisplayType; }
  void SetDisplayType(TDisplay Value);
  [[nodiscard]] const std::string& DTFormat() const { return FDtFormat; }
  void SetDTFormat(const std::string& Value);
  [[nodiscard]] bool Empty() const { return FEmpty; }
  void SetEmpty(bool Value);
  void SetEnabled(bool Value) override;
  [[nodiscard]] bool ForcePlusSign() const { return FPlusSign; }
  void SetForcePlusSign(bool Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  [[nodiscard]] int LabelWidth() const { return FLabWidth; }
  void SetLabelWidth(int Value);
  [[nodiscard]] int LeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);
  [[nodiscard]] const std::string& LeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  [[nodiscard]] const std::string& RightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  [[nodiscard]] TAlignment LeftTextAlignment() const { return FLTAlignment; }
  void SetLeftTextAlignment(TAlignment Value);
  [[nodiscard]] TAlignment RightTextAlignment() const { return FRTAlignment; }
  void SetRightTextAlignment(TAlignment Value);
  [[nodiscard]] const std::string& OverflowIndicator() const { return FOverFlowIndi; }
  void SetOverflowIndicator(const std::string& Value);
  [[nodiscard]] int Precision() const { return FDecP; }
  void SetPrecision(int Value);
  [[nodiscard]] const std::string& StateText() const { return FStateText; }
  void SetStateText(const std::string& Value);
  [[nodiscard]] bool Transparent() const { return FTransParent; }
  void SetTransparent(bool Value);
  [[nodiscard]] double Value() const { return FLabValue; }
  void SetValue(double Value);
  [[nodiscard]] const TBeforeDisplayEvent& OnBeforeDisplay() const { return FOnBeforeDisplay; }
  void SetOnBeforeDisplay(TBeforeDisplayEvent Handler) { FOnBeforeDisplay = std::move(Handler); }

  // 0 left of the box, 1 over the box, 2 right of it, after the last move.
  [[nodiscard]] int MouseAreaCode() const { return FMouseAreaCode; }
  // The text the box shows now: the value text after OnBeforeDisplay, or
  // the overflow indicator (empty when Empty).
  [[nodiscard]] std::string ShownText() const;

  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  [[nodiscard]] TNumLabFormat Format() const;
  [[nodiscard]] std::string ShownText(TCanvas& C) const;
  // The inside of the box, where the value is drawn.
  [[nodiscard]] TRect ValueRect() const;
  void PaintSideTexts(TCanvas& C, int TY) const;
  void PaintSideText(TCanvas& C, int X, int TY, const std::string& S, int LightX) const;
  void PaintBox(TCanvas& C) const;
  void PaintValue(TCanvas& C, int TY) const;
  void CopyToScreen(const TBitmap& Bmp);
  // Setters repaint at once.
  void Changed() { Repaint(); }

  int FLeftSpace = 35;
  bool FEmpty = false;
  int FLabWidth = 80;
  int FDecP = 2;
  bool FComma = false;
  bool FPlusSign = false;
  bool FTransParent = false;
  std::string FLeftText, FRightText;
  TFrameStyle FFrameStyle = fsLowered;
  std::string FStateText = "undefined";
  TAlignment FAlignment = taCenter;
  TAlignment FLTAlignment = taRightJustify;
  TAlignment FRTAlignment = taLeftJustify;
  int FMouseAreaCode = 0;
  std::string FOverFlowIndi = "*********";
  double FLabValue = 0.0;
  bool FEnabled = true;
  TColor FColorLabBakG = clBtnFace;
  TColor FColorLabText = clBlack;
  TColor FColorOutBakG = clBtnFace;
  TColor FColorOutText = clBlack;
  TColor FColBlackLine = clBlack;
  TColor FColGrayLine = clGray;
  TColor FColWhiteLine = clWhite;
  TColorScheme FColorScheme = csBWG;
  TDisplay FDisplayType = dtFixP;
  std::string FDtFormat = "mmm-dd, yyyy";
  TBeforeDisplayEvent FOnBeforeDisplay;
};

}  // namespace vorn
