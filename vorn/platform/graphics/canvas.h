// TCanvas: drawing on a surface with a pen, a brush and a font, following
// the classic raster rules to the pixel (tools/gdiref compares them with
// the reference drawing interface):
// - Rectangle(X1, Y1, X2, Y2) covers columns X1..X2-1 and rows Y1..Y2-1,
//   outline with the pen, inside with the brush; without a pen the filled
//   area is one pixel smaller to the right and bottom. A one-pixel box with
//   a pen draws nothing (its outline path has no length).
// - Wide pens cover the pen's dot (a width x width ellipse, an even
//   width's extra pixel above and left) at every point of the path and a
//   band of the pen's width along every segment: round joins and ends.
// - Dashed and dotted pens run their pattern on across the segments of a
//   path; on a rectangle it starts at the top right corner, on ellipses
//   and round rectangles at the right end of the upper right quarter, and
//   runs counter-clockwise.
// - LineTo draws from the pen position and leaves out its end point.
// - Curves follow the incremental walk of their ellipse through the box's
//   corner pixels. Ellipse and RoundRect fill the round rectangle region of
//   the exclusive box, with or without a pen, and stroke the walk; corners of
//   two pixels or less across or down make RoundRect a Rectangle. Where the
//   walk of a corner much taller than wide ends short of the box, the inside
//   ends with it. Arc, Pie and Chord take the walk counter-clockwise from the
//   first outline pixel at or past the start point's direction to the last
//   one before the end point's, directions seen from the centre pixel
//   (X1 + W/2, Y1 + H/2) (a start point there means 0 degrees; two directions
//   that reach the same outline pixel give the whole ellipse, unless the end
//   lies less than half a turn on from the start: then the arc is that one
//   pixel, so that a thin slice never becomes a whole disk); Pie closes the
//   path through the centre pixel, Chord straight; their inside is the
//   polygon of the path (left and top edges in, right and bottom out), with
//   or without a pen.
// - Polygon fills by the alternate rule and outlines with the pen.
// - The pen mode applies to lines and to the inside of figures, which is
//   painted under the outline; FillRect, text and block transfers ignore it.
// - TextOut paints the brush behind the text cell unless the brush is clear.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "vorn/platform/graphics/graphics.h"
#include "vorn/platform/graphics/surface.h"
#include "vorn/platform/graphics/types.h"

namespace vorn {

class TGraphic;
namespace raster {
struct TSweep;
class TEllipseShape;
}

// Ternary raster operations for block transfers.
using TCopyMode = std::int32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;
constexpr TCopyMode SRCCOPY = cmSrcCopy;
constexpr TCopyMode SRCAND = cmSrcAnd;
constexpr TCopyMode SRCPAINT = cmSrcPaint;
constexpr TCopyMode SRCINVERT = cmSrcInvert;
constexpr TCopyMode NOTSRCCOPY = cmNotSrcCopy;

// Stretch modes: colour on colour takes the nearest pixel, halftone
// averages the area each target pixel covers.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// The value Pixels gives for a point outside the drawable area.
constexpr TColor CLR_INVALID = -1;

enum TFillStyle : std::uint8_t { fsSurface, fsBorder };

// Coordinates beyond this magnitude are taken as this far out: figures
// that large look the same in any visible area, and the arithmetic on
// them can never overflow.
constexpr int kMaxCanvasCoord = 1 << 27;
constexpr int ClampCoord(int V) { return V < -kMaxCanvasCoord ? -kMaxCanvasCoord : V > kMaxCanvasCoord ? kMaxCanvasCoord : V; }
constexpr TRect ClampRect(const TRect& R) {
  return {ClampCoord(R.Left), ClampCoord(R.Top), ClampCoord(R.Right), ClampCoord(R.Bottom)};
}
enum TFillMode : std::uint8_t { fmAlternate, fmWinding };

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  // ---- binding to pixels -------------------------------------------------
  // Draw into surface; logical (0, 0) lies at device point Origin, and
  // nothing outside DeviceClip (device coordinates, within the surface)
  // changes. Hosts use this for controls that share a window surface.
  void Attach(const TSurface& surface, TPoint origin, const TRect& deviceClip);
  void Attach(const TSurface& surface);
  void Detach();
  [[nodiscard]] bool HandleAllocated() const { return FSurface.Valid(); }
  [[nodiscard]] const TSurface& Surface() const { return FSurface; }
  [[nodiscard]] TPoint Origin() const { return FOrigin; }

  // ---- state -----------------------------------------------------------------
  [[nodiscard]] TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  [[nodiscard]] TPen* Pen() const { return FPen.get(); }
  void SetPen(const TPen* Value) { FPen->Assign(Value); }
  [[nodiscard]] TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TBrush* Value) { FBrush->Assign(Value); }
  [[nodiscard]] TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  [[nodiscard]] TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { FPenPos = Value; }
  [[nodiscard]] int StretchBltMode() const { return FStretchBltMode; }
  // Returns the previous mode, 0 for an unknown one (which is ignored).
  int SetStretchBltMode(int Mode);
  [[nodiscard]] TFillMode PolyFillMode() const { return FFillMode; }
  void SetPolyFillMode(TFillMode Value) { FFillMode = Value; }

  // The clip rectangle in logical coordinates.
  [[nodiscard]] TRect ClipRect() const;
  // Narrow drawing to Rect (logical) within the bound area; ResetClip
  // widens it to the whole bound area again.
  void SetClipRect(const TRect& Rect);
  void ResetClip();

  // ---- lines and figures ---------------------------------------------------
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(std::span<const TPoint> Points);
  void Polygon(std::span<const TPoint> Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void DrawFocusRect(const TRect& Rect);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

  // ---- pixels --------------------------------------------------------------------
  [[nodiscard]] TColor Pixels(int X, int Y) const;
  void SetPixels(int X, int Y, TColor Color);

  // ---- text ------------------------------------------------------------------------
  void TextOut(int X, int Y, std::string_view Text);
  // Fills Rect with the brush (unless clear) and draws Text at (X, Y)
  // clipped to Rect.
  void TextRect(const TRect& Rect, int X, int Y, std::string_view Text);
  [[nodiscard]] TSize TextExtent(std::string_view Text) const;
  [[nodiscard]] int TextWidth(std::string_view Text) const { return TextExtent(Text).cx; }
  [[nodiscard]] int TextHeight(std::string_view Text) const { return TextExtent(Text).cy; }

  // ---- pictures and block transfers -------------------------------------------
  // Draws a picture at its own size with CopyMode; transparent bitmaps
  // leave their transparent colour out.
  void Draw(int X, int Y, const TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, const TGraphic* Graphic);
  // Copies Source of another canvas (or of this one) onto Dest with
  // CopyMode, stretching when the sizes differ.
  void CopyRect(const TRect& Dest, const TCanvas* Canvas, const TRect& Source);
  // The general transfer: logical rectangles given as position and size
  // (negative sizes mirror), an explicit raster operation.
  bool StretchBlt(int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY, int SW,
                  int SH, TCopyMode Rop);
  bool BitBlt(int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY, TCopyMode Rop) {
    return StretchBlt(X, Y, W, H, Source, SX, SY, W, H, Rop);
  }
  // Transfers from a raw surface (device coordinates of that surface).
  void StretchFromSurface(const TRect& Dest, const TSurface& Source, const TRect& SourceRect,
                          bool UseKey = false, TPixel Key = 0);

  // Raised after every drawing operation.
  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }

 private:
  [[nodiscard]] TRect DeviceClip() const;
  [[nodiscard]] TPoint ToDevice(int X, int Y) const;
  [[nodiscard]] TRect ToDevice(const TRect& R) const;
  [[nodiscard]] bool PenVisible() const;
  [[nodiscard]] bool BrushVisible() const;
  void Changed();
  void StrokePath(std::span<const TPoint> devicePoints, bool closed);
  void StrokeThin(std::span<const TPoint> devicePoints, bool closed);
  // Row spans (y, x0, x1 exclusive) of a figure's inside, handed to a painter.
  using TSpanSink = std::function<void(int, int, int)>;
  void PaintFigure(const TRect& clip, std::span<const TPoint> path, bool closed,
                   const std::function<void(const TSpanSink&)>& inside);
  void ArcFigure(int kind, TRect box, TPoint start, TPoint end);
  void RoundFigure(TRect box, int ew, int eh);
  void FillRotatedCell(int X, int Y, TSize extent, int orientation);
  void EllipticFigure(int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void DrawText(int X, int Y, std::string_view Text, const TRect& deviceClip);

  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TSurface FSurface;
  TPoint FOrigin;
  TRect FBaseClip;  // device
  TRect FClip;      // device, within FBaseClip
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  int FStretchBltMode = COLORONCOLOR;
  TFillMode FFillMode = fmAlternate;
  TNotifyEvent FOnChange;
};

// The drawing interface's names for the same operations.
int SetStretchBltMode(TCanvas* Canvas, int Mode);
bool StretchBlt(TCanvas* Dest, int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY,
                int SW, int SH, TCopyMode Rop);
bool BitBlt(TCanvas* Dest, int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY,
            TCopyMode Rop);

}  // namespace vorn
