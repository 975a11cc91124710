// TMeter: an analog panel meter. A circular-arc scale with ticks and
// labels, a main needle and an optional second one, coloured sections for
// the low, normal and high range, two limit lamps, a caption and a needle
// anchor, inside rims and an outer frame. TNeedleLayout describes a needle.
//
// Geometry and angles: see meterscale.h (dial angles clockwise from
// straight down, polar angles counter-clockwise from the x axis).
//
// Range logic: the setters keep MeterMinValue < MeterMaxValue,
// Min <= ThresholdLow <= ThresholdHigh <= Max and both values within the
// range; a logarithmic scale keeps both range ends above 1e-100. NaN and
// infinite range ends, thresholds and values are ignored. While the
// component loads from a stream (csLoading) the value, range, threshold and
// Logarithmic setters store raw values; Loaded clamps Value into the range,
// loads the images and paints.
//
// Range events: every accepted change of Value (of ValueSec) raises exactly
// one of OnOverFlow (value >= ThresholdHigh, lights the high lamp),
// OnNormalRange or OnUnderFlow (value <= ThresholdLow, lights the low
// lamp), and only while the value's needle is visible. The threshold
// setters raise OnUnderFlow / OnOverFlow when Value lies at or beyond the
// new threshold. Code-driven and user-driven changes alike fire them.
//
// Painting has three layers, drawn in this order:
// - the dial: background colour or image, section ring, scale line, minor
//   and major ticks, labels and caption;
// - the needles: the second needle, then the main one, each with its
//   shadow;
// - the cover: rims, inner bevel, anchor, limit lamps, OnMeterRendered and
//   the outer frame.
// The dial is kept in a bitmap and drawn again only when something it
// shows changes (size, rims, layout, range, thresholds, scale settings,
// colours, fonts, caption, background image, the label event). A change of
// a value alone restores the dial under the old and the new needle and
// draws needles and cover there, clipped; the picture equals one painted
// from scratch (PaintTo) pixel for pixel. With OnBeforeDrawNeedle or
// OnMeterRendered assigned the whole picture is composed on every paint.
// The dial is only rebuilt when the meter itself sees a change: a label
// event handler that changes its mind must be assigned again.
//
// Every visible change paints at once onto the control's canvas.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/gauges/meterscale.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {

class TNeedleLayout : public TPersistent {
 public:
  TNeedleLayout() = default;

  // Copies every property but OnChange, then raises OnChange once.
  void Assign(const TPersistent* Source) override;

  [[nodiscard]] TColor ColorBody() const { return FColorFill; }
  void SetColorBody(TColor Value);
  [[nodiscard]] TColor ColorOutline() const { return FColorLine; }
  void SetColorOutline(TColor Value);
  // Length of the two head barbs in pixels.
  [[nodiscard]] int HeadSize() const { return FSize1; }
  void SetHeadSize(int Value);
  // Width of the shaft in pixels.
  [[nodiscard]] int Thickness() const { return FThickness; }
  void SetThickness(int Value);
  // Needle length in percent of the radius less 4 pixels, 0..100.
  [[nodiscard]] int PercentNeedleLength() const { return FPctNeedleLeng; }
  void SetPercentNeedleLength(int Value);
  // Opening angle of the head in degrees, 0..180.
  [[nodiscard]] int HeadAngle() const { return FAngle1; }
  void SetHeadAngle(int Value);
  // Distance from the tip back to where the shaft meets the head.
  [[nodiscard]] int HeadMidLeng() const { return FBackShift1; }
  void SetHeadMidLeng(int Value);
  // The shadow lies ShadowDx pixels left of and ShadowDy pixels above the
  // needle; no shadow while both are 0.
  [[nodiscard]] int ShadowDx() const { return FShadowDx; }
  void SetShadowDx(int Value);
  [[nodiscard]] int ShadowDy() const { return FShadowDy; }
  void SetShadowDy(int Value);
  [[nodiscard]] TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  [[nodiscard]] bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }

 protected:
  void Changed();

 private:
  template <typename T>
  void Store(T& Field, T Value);

  TColor FColorFill = 0;
  TColor FColorLine = 0;
  int FSize1 = 0;
  int FThickness = 0;
  int FPctNeedleLeng = 0;
  int FAngle1 = 0;
  int FBackShift1 = 0;
  int FShadowDx = 0;
  int FShadowDy = 0;
  TColor FShadowColor = 0;
  TNotifyEvent FOnChange;
  bool FVisible = false;
};

using TMouseMoveInMeterEvent =
    std::function<void(TObject* Sender, bool WithinRange, TShiftState Shift, double MeterValue)>;
using TmtBeforeDrawScaleLabelEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, std::string& CurrentTickLabel, int ChartX, int ChartY)>;
using TBeforeDrawNeedleEvent = std::function<void(TObject* Sender, TCanvas* Canvas, bool& NeedleDrawn)>;
using TMeterRenderedEvent = std::function<void(TObject* Sender, TCanvas* Canvas)>;

class TMeter : public TGraphicControl {
 public:
  explicit TMeter(TComponent* AOwner);
  ~TMeter() override;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Loaded() override;

  // ---- range and values ------------------------------------------------------------------------
  [[nodiscard]] double Value() const { return FValue; }
  void SetValue(double Value);
  [[nodiscard]] double ValueSec() const { return FValue2; }
  void SetValueSec(double Value);
  [[nodiscard]] double MeterMinValue() const { return FMinValue; }
  void SetMeterMinValue(double Value);
  [[nodiscard]] double MeterMaxValue() const { return FMaxValue; }
  void SetMeterMaxValue(double Value);
  [[nodiscard]] double ThresholdLow() const { return FLowThreshold; }
  void SetThresholdLow(double Value);
  [[nodiscard]] double ThresholdHigh() const { return FHighThreshold; }
  void SetThresholdHigh(double Value);
  [[nodiscard]] bool Logarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool Value);

  // ---- scale ----------------------------------------------------------------------------------------
  [[nodiscard]] TMeterLayout MeterLayout() const { return FMeterLayout; }
  void SetMeterLayout(TMeterLayout Value);
  [[nodiscard]] int MeterDecPlaces() const { return FDecPlaces; }
  void SetMeterDecPlaces(int Value);
  [[nodiscard]] int MeterNrTicks() const { return FNrTicks; }
  void SetMeterNrTicks(int Value);
  [[nodiscard]] bool MeterShortTicks() const { return FShortTicks; }
  void SetMeterShortTicks(bool Value);
  [[nodiscard]] bool MeterScaleLine() const { return FScaleLine; }
  void SetMeterScaleLine(bool Value);
  [[nodiscard]] bool ScaleVisible() const { return FScaleVis; }
  void SetScaleVisible(bool Value);
  // Width of the section ring in percent of the radius, 0..100.
  [[nodiscard]] double ScaleBkWidth() const { return FScaleBakWidth; }
  void SetScaleBkWidth(double Value);
  [[nodiscard]] bool ScaleBkVisible() const { return FScaleBkVis; }
  void SetScaleBkVisible(bool Value);
  [[nodiscard]] int RimBottom() const { return FBRim; }
  void SetRimBottom(int Value);
  [[nodiscard]] int RimTop() const { return FTRim; }
  void SetRimTop(int Value);
  [[nodiscard]] int RimSide() const { return FSRim; }
  void SetRimSide(int Value);

  // ---- colours, fonts, frame ----------------------------------------------------------------------
  [[nodiscard]] TColor ColorBakG() const { return FColorBakG; }
  void SetColorBakG(TColor Value);
  [[nodiscard]] TColor ColorCover() const { return FColorCover; }
  void SetColorCover(TColor Value);
  [[nodiscard]] TColor ColorScale() const { return FColorScale; }
  void SetColorScale(TColor Value);
  [[nodiscard]] TColor ColorSclBkLow() const { return FColorBakGLow; }
  void SetColorSclBkLow(TColor Value);
  [[nodiscard]] TColor ColorSclBkNorm() const { return FColorBakGNorm; }
  void SetColorSclBkNorm(TColor Value);
  [[nodiscard]] TColor ColorSclBkHigh() const { return FColorBakGHigh; }
  void SetColorSclBkHigh(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  // The caption's font (the scale labels use Font).
  [[nodiscard]] TFont* FontCaption() const { return FFontCaption.get(); }
  void SetFontCaption(const TFont* Value);
  // The caption is the control's text.

  // ---- needles and anchor -------------------------------------------------------------------------
  [[nodiscard]] TNeedleLayout* NeedleLayout() const { return FNeedleLayout.get(); }
  void SetNeedleLayout(const TNeedleLayout* Value);
  [[nodiscard]] TNeedleLayout* NeedleLayoutSec() const { return FNeedle2Layout.get(); }
  void SetNeedleLayoutSec(const TNeedleLayout* Value);
  [[nodiscard]] int AnchorSize() const { return FSizeAnchor; }
  void SetAnchorSize(int Value);
  [[nodiscard]] bool AnchorCovered() const { return FAnchorCovrd; }
  void SetAnchorCovered(bool Value);

  // ---- limit lamps -----------------------------------------------------------------------------------
  [[nodiscard]] bool LimWatchHighOn() const { return FLimWatHighOn; }
  void SetLimWatchHighOn(bool Value);
  [[nodiscard]] bool LimWatchLowOn() const { return FLimWatLowOn; }
  void SetLimWatchLowOn(bool Value);
  [[nodiscard]] TColor LimWatchActColor() const { return FLimWatActCol; }
  void SetLimWatchActColor(TColor Value);
  [[nodiscard]] TColor LimWatchPsvColor() const { return FLimWatPsvCol; }
  void SetLimWatchPsvColor(TColor Value);
  // Whether the high (low) lamp is lit: the last accepted value was in the
  // over (under) range.
  [[nodiscard]] bool OverFlowLit() const { return FOFL; }
  [[nodiscard]] bool UnderFlowLit() const { return FUFL; }

  // ---- images -------------------------------------------------------------------------------------------
  // A picture file behind the dial. A missing file clears the name; a file
  // that cannot be read raises EInvalidGraphic and changes nothing.
  [[nodiscard]] const std::string& BackGroundImg() const { return FBakGndFName; }
  void SetBackGroundImg(const std::string& Value);
  [[nodiscard]] TBkgFill BkgndFillMode() const { return FBGFillMode; }
  void SetBkgndFillMode(TBkgFill Value);
  // A picture drawn over the anchor: its palette index 0 (pure black in a
  // picture without a palette) lets the dial show through. A missing or
  // unreadable file clears the name.
  [[nodiscard]] const std::string& AnchorImage() const { return FACoverFName; }
  void SetAnchorImage(const std::string& Value);

  // ---- geometry and mappings --------------------------------------------------------------------------
  [[nodiscard]] int OriginX() const { return FMeterCenterX; }
  [[nodiscard]] int OriginY() const { return FMeterCenterY; }
  [[nodiscard]] double ScaleRadius() const { return FMeterRadius; }
  [[nodiscard]] int MeterAngle() const { return FMeterAngle; }
  // Dial angle of a value clamped into the range (NaN counts as Min).
  [[nodiscard]] double CalcNeedleAngle(double Value) const;
  // The pixel at pctradius percent of the radius in the direction of value.
  void ConvertToPixelCoords(double Value, double pctradius, int& X, int& Y) const;
  // The value in the direction of a pixel; false and 0.0 outside the
  // scale's angular sector (distance from the centre is not tested).
  bool ConvertPixelToValue(int XPos, int YPos, double& MeterValue) const;

  // ---- events ------------------------------------------------------------------------------------------
  [[nodiscard]] const TNotifyEvent& OnOverFlow() const { return FOnOverFlow; }
  void SetOnOverFlow(TNotifyEvent E) { FOnOverFlow = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnUnderFlow() const { return FOnUnderFlow; }
  void SetOnUnderFlow(TNotifyEvent E) { FOnUnderFlow = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnNormalRange() const { return FOnNormalRange; }
  void SetOnNormalRange(TNotifyEvent E) { FOnNormalRange = std::move(E); }
  // Raised on every mouse move over the control, after OnMouseMove.
  [[nodiscard]] const TMouseMoveInMeterEvent& OnMouseMoveInMeter() const { return FOnMMvInMeter; }
  void SetOnMouseMoveInMeter(TMouseMoveInMeterEvent E) { FOnMMvInMeter = std::move(E); }
  // Once per major label while the dial is drawn; an emptied text
  // suppresses the label.
  [[nodiscard]] const TmtBeforeDrawScaleLabelEvent& OnBeforeDrawScaleLabel() const { return FOnBefDrawSclLab; }
  void SetOnBeforeDrawScaleLabel(TmtBeforeDrawScaleLabelEvent E);
  // Once per paint before the needles; NeedleDrawn set true suppresses
  // both needles and their shadows.
  [[nodiscard]] const TBeforeDrawNeedleEvent& OnBeforeDrawNeedle() const { return FOnBefDrawNeedle; }
  void SetOnBeforeDrawNeedle(TBeforeDrawNeedleEvent E);
  // Once per paint after the lamps, before the outer frame.
  [[nodiscard]] const TMeterRenderedEvent& OnMeterRendered() const { return FOnMeterRendered; }
  void SetOnMeterRendered(TMeterRenderedEvent E);

  void DoOverFlowEvent();
  void DoUnderFlowEvent();
  void DoNormalRangeEvent();
  void MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue);

  // ---- painting ------------------------------------------------------------------------------------------
  void Paint() override;
  // Draws the whole meter from scratch onto C (top-left at (0, 0)); draws
  // nothing while the radius is not positive.
  void PaintTo(TCanvas& C) const;
  // The meter's picture, brought up to date from the kept dial; null while
  // the radius is not positive.
  const TBitmap* Picture();
  // How often the dial was drawn into its bitmap (for tests).
  [[nodiscard]] int DialBuilds() const { return FDialBuilds; }

 protected:
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

 private:
  struct TNeedleShape {
    std::vector<TPoint> Body;    // seven points
    std::vector<TPoint> Shadow;  // empty without a shadow
    TRect Bounds;                // covers body and shadow
  };

  void CalcMeterLayoutParams();
  [[nodiscard]] bool Loading() const { return ComponentState().Contains(csLoading); }
  // Something under the needles changed: rebuild the dial, repaint.
  void DialChanged();
  // Something above the dial changed: compose again, repaint.
  void StyleChanged();
  // A value changed: repaint the needles' areas.
  void ValueChanged();
  // Draws the changed part of the picture onto the control.
  void Redraw(bool Everything);
  // Lights a lamp and raises the range event of an accepted value.
  void RaiseRangeEvent(double Value);
  void LoadAnchorImage(const std::string& FileName);
  void BuildAnchorMask();
  [[nodiscard]] double FractionOf(double Value) const;
  [[nodiscard]] double PolarAngle(double Value) const;  // radians
  [[nodiscard]] TPoint PointAt(double PolarRadians, double Radius) const;
  [[nodiscard]] TNeedleShape NeedleShape(const TNeedleLayout& L, double Value) const;
  [[nodiscard]] std::vector<TRect> LampRects() const;

  // Layers; each sets the canvas state it relies on.
  void PaintDial(TCanvas& C) const;
  void PaintBackground(TCanvas& C) const;
  void PaintSections(TCanvas& C) const;
  void PaintScale(TCanvas& C) const;
  // Where the labels of the major ticks are centred (dx, dy: how far
  // inside the scale).
  [[nodiscard]] std::vector<TPoint> LabelCentres(const TCanvas& C, const std::vector<TScaleTick>& Majors, int dx,
                                                 int dy) const;
  void PaintLabel(TCanvas& C, double Value, TPoint Centre) const;
  void PaintCaption(TCanvas& C) const;
  void PrepareUpperLayers(TCanvas& C) const;
  void PaintNeedles(TCanvas& C) const;
  // Needles: second and main, hidden ones as empty shapes.
  void PaintNeedles(TCanvas& C, const std::array<TNeedleShape, 2>& Needles) const;
  [[nodiscard]] std::array<TNeedleShape, 2> CurrentNeedles() const;
  void PaintNeedle(TCanvas& C, const TNeedleShape& Shape, const TNeedleLayout& L) const;
  void PaintCover(TCanvas& C) const;
  // The cover in two parts: the shell (rims, inner bevel, anchor), which
  // no value changes, and the top (lamps, OnMeterRendered, outer frame).
  void PaintShell(TCanvas& C) const;
  void PaintTop(TCanvas& C) const;
  // The shell as a kept overlay for partial repaints; false when it
  // cannot be kept.
  bool BuildShell();
  void OverlayShell(const TRect& R);
  void PaintInnerBevel(TCanvas& C) const;
  void PaintAnchor(TCanvas& C) const;
  void PaintLamp(TCanvas& C, bool High) const;
  void PaintFrame(TCanvas& C) const;

  bool FAnchorCovrd = true;
  std::unique_ptr<TBitmap> AuxBGBmp;
  std::unique_ptr<TBitmap> AuxACBmp;
  std::unique_ptr<TBitmap> AuxACMaskBmp;
  std::string FBakGndFName;
  TBkgFill FBGFillMode = bfSimple;
  std::string FACoverFName;
  bool FLogarithmic = false;
  bool FScaleVis = true;
  int FSizeAnchor = 24;
  bool FLimWatHighOn = true, FLimWatLowOn = true;
  TColor FLimWatActCol = 0x0000FF, FLimWatPsvCol = 0x808080;
  bool FOFL = false, FUFL = false;
  TColor FColorScale = 0x800000;
  TFrameStyle FFrameStyle = fsRaised;
  int FDecPlaces = 1;
  int FNrTicks = 3;
  int FBRim = 10, FSRim = 10, FTRim = 8;
  bool FShortTicks = true;
  bool FScaleLine = true;
  TColor FColorBakG = 0xFFFFFF;
  TColor FColorCover = static_cast<TColor>(0xFF00000F);
  TColor FColBlackLine = 0x000000, FColGrayLine = 0x808080, FColWhiteLine = 0xFFFFFF;
  TColorScheme FColorScheme = csBWG;
  TColor FColorBakGLow = 0x00FF00, FColorBakGNorm = 0x0080FF, FColorBakGHigh = 0x0000FF;
  std::unique_ptr<TFont> FFontCaption;
  double FScaleBakWidth = 0.0;
  bool FScaleBkVis = false;
  double FLowThreshold = 0.0, FHighThreshold = 1.0;
  std::unique_ptr<TNeedleLayout> FNeedleLayout, FNeedle2Layout;
  TMeterLayout FMeterLayout = mlCirc90;
  int FMeterAngle = 90;
  double FMeterRadius = 0.0;
  int FMeterCenterX = 0, FMeterCenterY = 0;
  double FValue = 0.0, FValue2 = 0.0;
  double FMinValue = 0.0, FMaxValue = 1.0;
  TMouseMoveInMeterEvent FOnMMvInMeter;
  TNotifyEvent FOnOverFlow, FOnUnderFlow, FOnNormalRange;
  TmtBeforeDrawScaleLabelEvent FOnBefDrawSclLab;
  TMeterRenderedEvent FOnMeterRendered;
  TBeforeDrawNeedleEvent FOnBefDrawNeedle;

  // The kept layers: the dial alone, and the last composed picture with
  // what it was composed from.
  std::unique_ptr<TBitmap> FDial;
  std::unique_ptr<TBitmap> FPicture;
  bool FDialValid = false;
  bool FPictureValid = false;
  std::array<TNeedleShape, 2> FComposedNeedles;  // second and main needle in FPicture
  bool FComposedOFL = false, FComposedUFL = false;
  std::vector<TRect> FChanged;  // picture areas not yet on the control
  int FDialBuilds = 0;
  // The shell's pixels and the column runs it covers, row by row (the
  // runs of row y are FShellRuns[FShellRowStart[y] .. FShellRowStart[y + 1]));
  // rebuilt after every full composition.
  std::unique_ptr<TBitmap> FShell;
  std::vector<std::pair<int, int>> FShellRuns;
  std::vector<std::size_t> FShellRowStart;
  bool FShellValid = false;
};

}  // namespace vorn
