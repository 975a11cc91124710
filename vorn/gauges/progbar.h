// TProgBar: a progress bar. The bar area lies inside four margins; the bar
// fills it in proportion to (Value - Min) / (Max - Min), in the first entry
// of a 1024-entry colour table or with the whole table as a gradient, laid
// over the bar by ColorMapMode:
// - cgmCover: the table spans the full bar area; a partly filled bar shows
//   the part of the table its length covers;
// - cgmStretch: the whole table is squeezed into the filled length;
// - cgmMove: the table's end sits at the bar's tip (entry 1023 there).
// Direction: diUp grows from the bottom, diDown from the top, diLeft from
// the right and diRight from the left. Optional grid lines every GridDist
// pixels, a background picture stretched into the bar area, an inner frame
// around the bar area (2 pixels outside it) and an outer frame around the
// control, and a value text that may be rotated about its anchor.
//
// Value, Min and Max are never clamped: a value outside the range draws a
// bar longer than the area or none at all. Min equal to Max counts as an
// empty bar for Value <= Min and a full one above it; a NaN value as an
// empty bar. Every visible change repaints at once.
//
// Auto increment: while AutoInc is on, a timer adds AutoIncStep to Value
// first after StartInterval ms, then every RepeatInterval ms, and raises
// OnAutoInc after each step.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "vorn/foundation/basics.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/timers.h"

namespace vorn {

class EVORNProgBar : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

enum TColorMapping : std::uint8_t { cgmCover, cgmStretch, cgmMove };

// Lets the host change the value text before it is drawn.
using TBeforeShowValueEvent = std::function<void(TObject* Sender, std::string& ValueText)>;

// The colour Fraction of the way from C1 to C2 (Fraction clamped to 0..1;
// each channel truncated toward zero; top byte 0).
TColor ColorBlend(TColor C1, TColor C2, double Fraction);

class TProgBar : public TGraphicControl {
 public:
  static constexpr int ColorTableSize = 1024;

  explicit TProgBar(TComponent* AOwner);
  ~TProgBar() override;

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // ---- value and range ---------------------------------------------------------------
  [[nodiscard]] double Value() const { return FProgValue; }
  void SetValue(double Value);
  [[nodiscard]] double Min() const { return FProgMin; }
  void SetMin(double Value);
  [[nodiscard]] double Max() const { return FProgMax; }
  void SetMax(double Value);
  // The smaller argument becomes Min, the larger Max.
  void SetRange(double AMin, double AMax);
  [[nodiscard]] TDirection Direction() const { return FDirection; }
  void SetDirection(TDirection Value);

  // ---- colours -------------------------------------------------------------------------
  [[nodiscard]] TColor ColorBackGnd() const { return FColorBakG; }
  void SetColorBackGnd(TColor Value);
  [[nodiscard]] TColor ColorMargin() const { return FColorMargin; }
  void SetColorMargin(TColor Value);
  [[nodiscard]] TColor ColorGrid() const { return FColorGrid; }
  void SetColorGrid(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  // Entries 0 and 1023 of the colour table; writing one blends the
  // entries between them again.
  [[nodiscard]] TColor ColorMin() const { return FBarColorArray[0]; }
  void SetColorMin(TColor Value);
  [[nodiscard]] TColor ColorMax() const { return FBarColorArray[ColorTableSize - 1]; }
  void SetColorMax(TColor Value);
  // One entry of the colour table (ix outside 0..1023 reads 0 and writes
  // nothing); writing does not repaint.
  [[nodiscard]] TColor GetBarColorElem(int ix) const;
  void SetBarColorElem(int ix, TColor Value);
  [[nodiscard]] TColorMapping ColorMapMode() const { return FColorMapMode; }
  void SetColorMapMode(TColorMapping Value);
  [[nodiscard]] bool ShowColorGradient() const { return FColorGrad; }
  void SetShowColorGradient(bool Value);
  [[nodiscard]] int GridDist() const { return FGridDist; }
  void SetGridDist(int Value);

  // ---- frames, margins, background ------------------------------------------------------
  [[nodiscard]] TFrameStyle FrameStyleOuter() const { return FOuterFrameSt; }
  void SetFrameStyleOuter(TFrameStyle Value);
  [[nodiscard]] TFrameStyle FrameStyleInner() const { return FInnerFrameSt; }
  void SetFrameStyleInner(TFrameStyle Value);
  [[nodiscard]] int MarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int Value);
  [[nodiscard]] int MarginRight() const { return FMarginRight; }
  void SetMarginRight(int Value);
  [[nodiscard]] int MarginTop() const { return FMarginTop; }
  void SetMarginTop(int Value);
  [[nodiscard]] int MarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int Value);
  // A picture file drawn into the bar area. A file that cannot be read
  // changes nothing; an empty name drops the picture.
  [[nodiscard]] const std::string& BackGroundImg() const { return FBakGndFile; }
  void SetBackGroundImg(const std::string& Value);

  // ---- value text ---------------------------------------------------------------------------
  [[nodiscard]] bool TextVisible() const { return FShowValue; }
  void SetTextVisible(bool Value);
  [[nodiscard]] int TextPosX() const { return FTextPosX; }
  void SetTextPosX(int Value);
  [[nodiscard]] int TextPosY() const { return FTextPosY; }
  void SetTextPosY(int Value);
  // -2..10: 0..10 decimals; -1 the short scientific form; -2 the long one.
  [[nodiscard]] int TextDecPlaces() const { return FTextDecPlaces; }
  void SetTextDecPlaces(int Value);
  [[nodiscard]] int TextAngle() const { return FTextAngle; }
  void SetTextAngle(int Value);
  [[nodiscard]] TAlignment TextAlignment() const { return FAlignment; }
  void SetTextAlignment(TAlignment Value);
  [[nodiscard]] const TBeforeShowValueEvent& OnShowValue() const { return FOnShowValue; }
  void SetOnShowValue(TBeforeShowValueEvent E) { FOnShowValue = std::move(E); }
  // The value as the bar writes it (before OnShowValue).
  [[nodiscard]] std::string ValueText() const;
  // Where TextOut places a text of width TextW and half height HalfH so
  // that the anchor (X, Y) is the middle of its left end, centre or right
  // end, turned by AngleDeg counter-clockwise about the anchor.
  static TPoint TextOrigin(TAlignment Alignment, int X, int Y, int TextW, int HalfH, int AngleDeg);

  // ---- auto increment ------------------------------------------------------------------------
  [[nodiscard]] bool AutoInc() const { return FTimerEnabled; }
  void SetAutoInc(bool Value);
  [[nodiscard]] double AutoIncStep() const { return FAutoIncStep; }
  void SetAutoIncStep(double Value);
  [[nodiscard]] int StartInterval() const { return FStartIv; }
  void SetStartInterval(int Value);
  [[nodiscard]] int RepeatInterval() const { return FRepeatIv; }
  void SetRepeatInterval(int Value);
  [[nodiscard]] const TNotifyEvent& OnAutoInc() const { return FOnAutoInc; }
  void SetOnAutoInc(TNotifyEvent E);
  [[nodiscard]] bool IsStartPhase() const { return FIsStart; }

  // ---- painting --------------------------------------------------------------------------------
  void Paint() override;
  // Draws the whole control onto C with its top-left corner at (0, 0).
  void PaintTo(TCanvas& C) const;
  // The bar area: margins removed from the control's rectangle.
  [[nodiscard]] TRect BarArea() const;
  // The filled part of the bar area for the current value (may reach past
  // the area; Right < Left or Bottom < Top never happens: an empty bar has
  // zero width or height).
  [[nodiscard]] TRect FilledRect() const;
  // The colour table index of the n-th line of a filled length Len
  // (counted from the bar's base) in a bar area of length Full.
  [[nodiscard]] int GradientIndex(int n, int Len, int Full) const;

 private:
  void Changed();
  void InitTimer();
  void UpdateTimer();
  void StartTimer(int Interval);
  void DoTimer();
  void AutoIncEvent();
  void TimerWndProc(TMessage& Message);
  void RebuildColorTable();
  [[nodiscard]] double Fraction() const;
  [[nodiscard]] bool Designing() const { return ComponentState().Contains(csDesigning); }
  void PaintBar(TCanvas& C, const TRect& Area) const;
  void PaintGrid(TCanvas& C, const TRect& Area, const TRect& Filled) const;
  void PaintFrame(TCanvas& C, TFrameStyle Style, const TRect& R) const;
  void PaintValueText(TCanvas& C) const;

  HWND FTimerHandle = 0;
  bool FTimerEnabled = false;
  TNotifyEvent FOnAutoInc;
  double FAutoIncStep = 1.0;
  int FRepeatIv = 700;
  int FStartIv = 1500;
  bool FIsStart = true;
  TFrameStyle FOuterFrameSt = fsRaised;
  TFrameStyle FInnerFrameSt = fsLowered;
  double FProgValue = 10.0;
  double FProgMax = 100.0;
  double FProgMin = 0.0;
  TDirection FDirection = diRight;
  std::array<TColor, ColorTableSize> FBarColorArray{};
  std::unique_ptr<TBitmap> AuxBmp;
  TColor FColorMargin = 0xC0C0C0;
  TColor FColorBakG = 0xC0C0C0;
  bool FColorGrad = false;
  TColor FColorGrid = 0x000000;
  int FGridDist = 0;
  TColor FColBlackLine = 0x000000;
  TColor FColGrayLine = 0x808080;
  TColor FColWhiteLine = 0xFFFFFF;
  TColorScheme FColorScheme = csBWG;
  TColorMapping FColorMapMode = cgmStretch;
  int FMarginLeft = 4, FMarginRight = 4, FMarginTop = 4, FMarginBottom = 4;
  std::string FBakGndFile;
  int FTextPosX = 14, FTextPosY = 14;
  int FTextDecPlaces = 0;
  int FTextAngle = 0;
  TAlignment FAlignment = taCenter;
  TBeforeShowValueEvent FOnShowValue;
  bool FShowValue = true;
  mutable std::unique_ptr<TBitmap> FOffScreen;  // kept between paints, resized as needed
  mutable std::unique_ptr<TBitmap> FStrip;      // one line of gradient colours
};

}  // namespace vorn
