// TMarkSel: picks one of the 52 plot marks. The shown marks fill a grid of
// NrOfColumns x NrOfRows cells row by row, in index order; hidden marks
// take no cell, and marks beyond the last row are drawn below the grid.
// Mark 0 is always shown (as a diagonal cross with ShowZeroAsCross). The
// mark nearest to the mouse is highlighted straight on the control; a
// left click selects the nearest mark (however far away) and reports it.
//
// Cell geometry, from the control size W x H: cell width
// dh = (W - 4) div NrOfColumns, height dv = (H - 4) div NrOfRows; the n-th
// shown mark has its centre at (dh div 2 + dh * (n mod NrOfColumns),
// dv div 2 + dv * (n div NrOfColumns)); marks are drawn two pixels right
// and below that centre.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "vorn/foundation/basics.h"
#include "vorn/foundation/drawing.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {

using TMarkClickEvent = std::function<void(TObject* Sender, int X, int Y, int Mark)>;

class TMarkSel : public TGraphicControl {
 public:
  explicit TMarkSel(TComponent* AOwner);

  [[nodiscard]] int NrOfColumns() const { return FNrCols; }
  void SetNrOfColumns(int Value);
  [[nodiscard]] int NrOfRows() const { return FNrRows; }
  void SetNrOfRows(int Value);
  [[nodiscard]] TColor ColorBackGnd() const { return FColorBG; }
  void SetColorBackGnd(TColor Value);
  [[nodiscard]] TColor ColorMarks() const { return FColorFG; }
  void SetColorMarks(TColor Value);
  [[nodiscard]] TColor ColorHiLiteBG() const { return FColorHiLite; }
  void SetColorHiLiteBG(TColor Value);
  [[nodiscard]] TColor ColorHiLiteSymbol() const { return FColorHiSymb; }
  void SetColorHiLiteSymbol(TColor Value);
  [[nodiscard]] TColor ColorSelBG() const { return FColorSelBG; }
  void SetColorSelBG(TColor Value);
  [[nodiscard]] TColor ColorSelFG() const { return FColorSelFG; }
  void SetColorSelFG(TColor Value);
  void SetEnabled(bool Value) override;
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  // -1 = none.
  [[nodiscard]] int Selected() const { return FSelected; }
  void SetSelected(int Value);
  [[nodiscard]] bool ShowZeroAsCross() const { return FZeroAsCross; }
  void SetShowZeroAsCross(bool Value);

  // Visibility of a mark; indices outside 0..51 read mark 0. Mark 0 is
  // always shown, so SetVis takes only 1..51.
  [[nodiscard]] bool GetVis(int ix) const;
  void SetVis(int ix, bool Value);
  void ShowAllMarks();
  void HideAllMarks();

  // The cell centre of a shown mark after the last layout (hidden marks
  // keep their last place), and the shown mark nearest to a point (the
  // lowest index among equally near ones).
  [[nodiscard]] TPoint MarkCoords(int ix) const;
  [[nodiscard]] int NearestMark(int X, int Y) const;
  [[nodiscard]] int LastHiLite() const { return FLastHiLite; }

  [[nodiscard]] const TMarkClickEvent& OnMarkClick() const { return FOnMarkClick; }
  void SetOnMarkClick(TMarkClickEvent E) { FOnMarkClick = std::move(E); }
  [[nodiscard]] const TMarkClickEvent& OnMarkDblClick() const { return FOnMarkDblClick; }
  void SetOnMarkDblClick(TMarkClickEvent E) { FOnMarkDblClick = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TNotifyEvent E) { FOnPaint = std::move(E); }

  // Lays the marks out and draws the whole selector onto a bitmap of the
  // control's size.
  void DrawMarks(TBitmap& Bitmap);
  void Paint() override;
  // Highlights mark ix on the control; restores the last highlighted cell.
  void HiLite(int ix);
  void ResetLastHiLite();

  void MouseMove(TShiftState Shift, int X, int Y) override;
  void WndProc(TMessage& Message) override;

 private:
  // Fills FMarkCoords from the current size, grid and visibility.
  void Layout() const;
  void Changed();
  void DrawMark(TCanvas& C, int ix) const;
  void DrawCellBox(TCanvas& C, int ix, int Grow, int Shift) const;
  void WMMarkClick(TPoint P, const TMarkClickEvent& Event);

  std::array<bool, NumPlotMarks> FMarkVis{};
  mutable std::array<TPoint, NumPlotMarks> FMarkCoords{};
  TColor FColorBG = clBtnFace;
  TColor FColorFG = 0x000000;
  TColor FColorSelFG = 0x800000;
  TColor FColorSelBG = 0xFFFFFF;
  int FSelected = -1;
  TFrameStyle FFrameStyle = fsEngraved;
  int FLastHiLite = 0;
  TColor FColorHiLite = 0x0000FF;
  TColor FColorHiSymb = 0xFFFFFF;
  int FNrCols = 8;
  int FNrRows = 6;
  bool FEnabled = true;
  bool FZeroAsCross = true;
  mutable int FMarkMarginHorz = 0, FMarkMarginVert = 0;
  mutable int FMarkDistHorz = 0, FMarkDistVert = 0;
  TMarkClickEvent FOnMarkClick, FOnMarkDblClick;
  TNotifyEvent FOnPaint;
  std::unique_ptr<TBitmap> FOffScreen;
};

}  // namespace vorn
