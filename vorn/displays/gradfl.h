// TGradFill: a rectangle filled with a stepped colour gradient in
// horizontal or vertical bands, typically placed behind other controls.
//
// - NrColors bands (1..255); band k covers rows (or columns) MulDiv(k, H, N)
//   up to MulDiv(k + 1, H, N), so band sizes differ by at most one pixel.
// - gtHoriz/gtVert run from the first to the last colour; the mid-band
//   types reach the last colour in the middle and fall back symmetrically.
//   With a single band every type shows the first colour.
// - The grid of GridMode draws one-pixel lines in GridColor on the first
//   row (column) of every band but the first: gmHoriz horizontal lines at
//   MulDiv(k, H, N), gmVert vertical lines at MulDiv(k, W, N), gmBoth both,
//   whatever the band direction.
// - Every setter invalidates; OnPaint follows each paint.
#pragma once

#include <cstdint>
#include <utility>

#include "vorn/foundation/basics.h"
#include "vorn/platform/controls/controls.h"

namespace vorn {

class TBitmap;

enum TGradType : std::uint8_t { gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert };
enum TGridMode : std::uint8_t { gmNone, gmHoriz, gmVert, gmBoth };

class TGradFill : public TGraphicControl {
 public:
  explicit TGradFill(TComponent* AOwner);

  [[nodiscard]] TColor ColorFirst() const { return FColorFirst; }
  void SetColorFirst(TColor Value);
  [[nodiscard]] TColor ColorLast() const { return FColorLast; }
  void SetColorLast(TColor Value);
  [[nodiscard]] bool ColorFlipped() const { return FColorsFlipped; }
  void SetColorFlipped(bool Value);
  [[nodiscard]] TGradType FillType() const { return FGradType; }
  void SetFillType(TGradType Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  [[nodiscard]] TColor GridColor() const { return FGridColor; }
  void SetGridColor(TColor Value);
  [[nodiscard]] TGridMode GridMode() const { return FGridMode; }
  void SetGridMode(TGridMode Value);
  [[nodiscard]] int NrColors() const { return FNrColors; }
  void SetNrColors(int Value);
  [[nodiscard]] const TNotifyEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TNotifyEvent Handler) { FOnPaint = std::move(Handler); }

  // Draws the bands, the grid and the frame over the whole of Bmp.
  void DrawGradient(TBitmap& Bmp) const;
  void Paint() override;

  // The colour of band K (0-based) by the current settings.
  [[nodiscard]] TColor BandColor(int K) const;
  // The first row (horizontal bands) or column of band K for an extent
  // of Size pixels; BandStart(N, Size) is Size.
  [[nodiscard]] int BandStart(int K, int Size) const;

 private:
  void ApplyFlip();

  int FNrColors = 16;
  TGradType FGradType = gtHoriz;
  TColor FColorFirst = 0x000080;
  TColor FColorLast = 0x00FFFF;
  TColor FColFirstOrg = 0x000080;
  TColor FColLastOrg = 0x00FFFF;
  bool FColorsFlipped = false;
  TFrameStyle FFrameStyle = fsNone;
  TGridMode FGridMode = gmNone;
  TColor FGridColor = 0x800000;
  TNotifyEvent FOnPaint;
};

}  // namespace vorn
