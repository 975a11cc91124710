// TThumbnails: a scrollable grid of square slides, one per slide number in
// Min..Max. The viewer keeps no pictures: while painting it asks the host,
// slide by slide and for the visible slides only, how to show each one and
// for its picture (OnImageRequest), and scales the picture into the slide
// keeping its aspect ratio.
//
// Geometry (S = SlideSize, D = SlideDistance, M = SlideMargin, pitch
// P = S + D + 2M, F = FirstThumbIdx): the slide in row r and column c
// (from 1) is number Trunc(F) + nx (r - 1) + c - 1; its box starts at
// x0 = (c - 1) P + 10, y0 = (r - 1) P + D - Round(Frac(F) P) + 10 and
// measures S + 2M square. The integer part of F always names the first
// slide of a row (rows are counted from slide 1); the fraction scrolls that
// row partly out at the top. A 10-pixel strip of background hides the
// partly scrolled slides at the top and bottom edge.
//
// The slides are rendered into an off-screen bitmap that is kept; the
// focus outline (the slide under the mouse) is drawn over it on every
// paint, so moving the focus repaints two slides' areas and asks the host
// for nothing. Every other change, and any Invalidate from outside,
// renders the slides afresh.
//
// Selection: ssmSingle selects exactly the clicked slide; ssmMultiple
// selects only the clicked slide on a plain click, toggles it with Ctrl and
// selects the range from the last clicked slide with Shift; ssmDisabled
// never changes the selection by mouse.
//
// A request handler that throws leaves its slide empty; painting goes on
// and the first error of a paint goes to Application's exception handler
// afterwards. Handlers may delete the viewer.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

#include "vorn/foundation/basics.h"
#include "vorn/foundation/bitfield.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {

enum TSlideSelectMode : std::uint8_t { ssmDisabled, ssmSingle, ssmMultiple };
enum TImageRequestProcessing : std::uint8_t { irpShowEmpty, irpShowSlide, irpShowFrameOnly, irpShowNothing };

// ImgBuffer is the viewer's scratch picture, empty (0 x 0) at each request:
// the handler sizes it and draws the slide's picture into it. It may also
// point it at a picture of its own, which stays the handler's.
using TImageRequestEvent = std::function<void(TObject* Sender, int ThumbID, TImageRequestProcessing& HowToProcess,
                                              int& MarkIt, TBitmap*& ImgBuffer)>;
using TSlideRenderedEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int X, int Y, int ThumbID)>;
using TImageClickEvent = std::function<void(TObject* Sender, int X, int Y, int ThumbID)>;

class TThumbnails : public TGraphicControl {
 public:
  explicit TThumbnails(TComponent* AOwner);
  ~TThumbnails() override;

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // ---- slides and scrolling ---------------------------------------------------------
  [[nodiscard]] int Min() const { return FMin; }
  void SetMin(int Value);
  // At least 1.
  [[nodiscard]] int Max() const { return FMax; }
  void SetMax(int Value);
  [[nodiscard]] double FirstThumbIdx() const { return FFirstThumbIx; }
  void SetFirstThumbIdx(double Value) { SetFirstThumbIx(Value); }
  void SetFirstThumbIx(double Value);
  [[nodiscard]] int NumSlidesHoriz() const { return FNumSldX; }
  [[nodiscard]] int NumSlidesVert() const { return FNumSldY; }
  // 50..Width.
  [[nodiscard]] int SlideSize() const { return FThumbBaseSize; }
  void SetSlideSize(int Value);
  // 0..100.
  [[nodiscard]] int SlideDistance() const { return FSLideDist; }
  void SetSlideDistance(int Value);
  [[nodiscard]] int SlideMargin() const { return FSlideMargin; }
  void SetSlideMargin(int Value);

  // ---- selection and focus ------------------------------------------------------------
  [[nodiscard]] TSlideSelectMode SlideSelectMode() const { return FSelectMode; }
  void SetSlideSelectMode(TSlideSelectMode Value);
  [[nodiscard]] bool SlideSelected(int SldNum) const { return GetSelectedSlide(SldNum); }
  void SetSlideSelected(int SldNum, bool Value) { SetSelectedSlide(SldNum, Value); }
  [[nodiscard]] bool GetSelectedSlide(int SldNum) const;
  void SetSelectedSlide(int SldNum, bool Value);
  void ResetAllSelections();
  // Min - 1 when nothing is selected.
  [[nodiscard]] int FirstSelectedSlide() const;
  [[nodiscard]] int NumSlidesSelected() const;
  // The slide under the mouse, 0 for none.
  [[nodiscard]] int FocusedSlide() const { return FLastHiLite; }
  // 0..10; 0 shows no focus outline.
  [[nodiscard]] int FocusLinewidth() const { return FHiliteThickness; }
  void SetFocusLinewidth(int Value);

  // ---- geometry ------------------------------------------------------------------------
  // The slide number under a pixel, 0 for none (gaps, margins, outside
  // Min..Max).
  [[nodiscard]] int CalcSlideIndex(int XPos, int YPos) const;
  // The top left pixel of a slide's box.
  void CalcSlidePos(int SldNum, int& XPos, int& YPos) const;

  // ---- look -----------------------------------------------------------------------------
  [[nodiscard]] bool AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool Value);
  [[nodiscard]] TColor ColorBackGnd() const { return FColorBG; }
  void SetColorBackGnd(TColor Value) { SetLook(FColorBG, Value); }
  [[nodiscard]] TColor ColorCover() const { return FColorCover; }
  void SetColorCover(TColor Value) { SetLook(FColorCover, Value); }
  [[nodiscard]] TColor ColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor Value) { SetLook(FColorSelected, Value); }
  [[nodiscard]] TColor ColorFocus() const { return FColorHilite; }
  void SetColorFocus(TColor Value) { SetLook(FColorHilite, Value); }
  [[nodiscard]] TColor ColorMark() const { return FMarkColor; }
  void SetColorMark(TColor Value) { SetLook(FMarkColor, Value); }
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value) { SetLook(FFrameStyle, Value); }
  [[nodiscard]] TFrameStyle OuterFrameStyle() const { return FOuterFrameStyle; }
  void SetOuterFrameStyle(TFrameStyle Value) { SetLook(FOuterFrameStyle, Value); }
  [[nodiscard]] TFrameStyle InnerFrameStyle() const { return FInnerFrameStyle; }
  void SetInnerFrameStyle(TFrameStyle Value) { SetLook(FInnerFrameStyle, Value); }

  // ---- events ----------------------------------------------------------------------------
  void SetOnImageRequest(TImageRequestEvent Value) { FOnImageRequest = std::move(Value); Invalidate(); }
  void SetOnSlideRendered(TSlideRenderedEvent Value) { FOnSlideRendered = std::move(Value); }
  void SetOnImageClick(TImageClickEvent Value) { FOnImageClick = std::move(Value); }
  void SetOnImageDblClick(TImageClickEvent Value) { FOnImageDblClick = std::move(Value); }
  void SetOnFocusChange(TNotifyEvent Value) { FOnHiliteChange = std::move(Value); }
  void SetOnFirstImageRequest(TNotifyEvent Value) { FOnFirstImgRequ = std::move(Value); }
  void SetOnLastImageRequest(TNotifyEvent Value) { FOnLastImgRequ = std::move(Value); }

  void Invalidate() override;
  void Paint() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;

 private:
  template <typename T>
  void SetLook(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }
  [[nodiscard]] int Pitch() const { return FThumbBaseSize + FSLideDist + 2 * FSlideMargin; }
  [[nodiscard]] int ScrollPixels() const;
  void ResizeSelection();
  // The scroll position for Value: clamped to Min..Max, its integer part
  // moved to the first slide of its row.
  [[nodiscard]] double RowPosition(double Value) const;
  // Renders the slides into FSlides; false when a handler deleted the viewer.
  bool RenderSlides();
  bool RenderSlide(TCanvas& C, int Number, int X0, int Y0, TBitmap& Buffer, std::exception_ptr& Error);
  void DrawPicture(TCanvas& C, const TBitmap& Picture, int X0, int Y0) const;
  [[nodiscard]] TRect FocusRect(int SldNum) const;
  void DrawFocus(TCanvas& C) const;
  void MoveFocus(int SldNum);
  void SelectByClick(int SldNum, TShiftState Shift);

  TFrameStyle FFrameStyle = fsLowered;
  TColor FColorBG = clBtnFace;
  TColor FColBlackLine = 0x000000;
  TColor FColGrayLine = 0x808080;
  TColor FColWhiteLine = 0xFFFFFF;
  TColorScheme FColorScheme = csBWG;
  double FFirstThumbIx = 1.0;
  int FMin = 1;
  int FMax = 100;
  int FNumSldX = 2;
  int FNumSldY = 1;
  int FThumbBaseSize = 120;
  int FSLideDist = 2;
  int FSlideMargin = 7;
  TFrameStyle FOuterFrameStyle = fsRaised;
  TFrameStyle FInnerFrameStyle = fsLowered;
  TImageRequestEvent FOnImageRequest;
  TSlideRenderedEvent FOnSlideRendered;
  TImageClickEvent FOnImageClick, FOnImageDblClick;
  TNotifyEvent FOnHiliteChange;
  TNotifyEvent FOnFirstImgRequ, FOnLastImgRequ;
  bool FAntiAlias = false;
  TColor FColorCover = 0xC0C0C0;
  TColor FColorSelected = 0x800000;
  TColor FColorHilite = 0xFF0000;
  TColor FMarkColor = 0x000000;
  int FLastHiLite = 0;
  int FHiliteThickness = 1;
  bool FIsWorking = false;
  TBitFld FSelectedSlide;
  TSlideSelectMode FSelectMode = ssmSingle;
  int FLastClickedSlide = 0;
  // The rendered slides, kept for paints that only move the focus.
  std::unique_ptr<TBitmap> FSlides;
  bool FSlidesValid = false;
  TPoint FLastClick{-1, -1};
};

}  // namespace vorn
