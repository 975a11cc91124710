// Less common drawing paths: fonts' size rules, hatches, mirrored and
// keyed transfers, focus rectangles, inside-frame pens, bitmap copies.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"

namespace vorn {
namespace {

TEST(FontTest, SizeAndHeightAreTiedAtNinetySixPixelsPerInch) {
  TFont f;
  f.SetSize(8);
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
  int changes = 0;
  f.SetOnChange([&](TObject*) { ++changes; });
  f.SetName(f.Name());  // unchanged: no notification
  f.SetStyle({fsBold});
  f.SetColor(clRed);
  EXPECT_EQ(changes, 2);
  TFont copy;
  copy.Assign(&f);
  EXPECT_EQ(copy.Height(), -16);
  EXPECT_TRUE(copy.Style().Contains(fsBold));
  EXPECT_EQ(copy.Color(), clRed);
  // Orientation is kept within one turn for the text engine.
  f.SetOrientation(-900);
  EXPECT_EQ(f.Spec().Orientation, 2700);
}

TEST(FontTest, TakingTheLookOfAFontThatHasNotDrawnKeepsTheInstanceOnlyForTheSameFace) {
  TFont control;  // a control's font: assigned to canvases, never drawn with itself
  TFont canvas;
  canvas.Assign(&control);
  const TFontInstance* first = &canvas.Instance();
  control.SetColor(clRed);  // the colour is not part of the face
  canvas.Assign(&control);
  EXPECT_EQ(&canvas.Instance(), first);
  EXPECT_EQ(canvas.Color(), clRed);
  const int height = canvas.Instance().TextExtent("Wy").cy;
  for (const auto& change : std::vector<std::function<void(TFont&)>>{
           [](TFont& f) { f.SetSize(20); }, [](TFont& f) { f.SetStyle({fsBold}); },
           [](TFont& f) { f.SetOrientation(900); }, [](TFont& f) { f.SetQuality(fqNonAntialiased); },
           [](TFont& f) { f.SetName("DejaVu Serif"); }}) {
    TFont other;
    change(other);
    canvas.Assign(&other);
    EXPECT_NE(&canvas.Instance(), first);
    EXPECT_EQ(&canvas.Instance(), &other.Instance());
    canvas.Assign(&control);
    EXPECT_EQ(canvas.Instance().TextExtent("Wy").cy, height);
  }
  TFont big;
  big.SetSize(30);
  canvas.Assign(&big);
  EXPECT_GT(canvas.Instance().TextExtent("Wy").cy, height);
}

TEST(HatchTest, HatchedBrushesPaintLinesAndLeaveGaps) {
  TBitmap bmp(16, 16);
  TCanvas& c = *bmp.Canvas();
  c.Brush()->SetColor(clBlack);
  c.Brush()->SetStyle(bsHorizontal);
  c.FillRect(Rect(0, 0, 16, 16));
  int black = 0;
  for (int y = 0; y < 16; ++y) {
    int row = 0;
    for (int x = 0; x < 16; ++x) row += c.Pixels(x, y) == clBlack;
    EXPECT_TRUE(row == 0 || row == 16) << y;
    black += row;
  }
  EXPECT_EQ(black, 32);  // one line in every eight rows
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clWhite);
  c.FillRect(Rect(0, 0, 16, 16));
  c.Brush()->SetColor(clBlack);
  c.Brush()->SetStyle(bsDiagCross);
  c.FillRect(Rect(0, 0, 16, 16));
  EXPECT_EQ(c.Pixels(0, 0), clBlack);
  EXPECT_EQ(c.Pixels(7, 0), clBlack);
  EXPECT_EQ(c.Pixels(3, 0), clWhite);
}

TEST(BlitTest, NegativeWidthsMirror) {
  TBitmap src(3, 1);
  src.Canvas()->SetPixels(0, 0, clRed);
  src.Canvas()->SetPixels(1, 0, clLime);
  src.Canvas()->SetPixels(2, 0, clBlue);
  TBitmap dst(3, 1);
  // Destination from x = 3 backwards: the picture comes out mirrored.
  dst.Canvas()->StretchBlt(3, 0, -3, 1, src.Canvas(), 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(dst.Canvas()->Pixels(1, 0), clLime);
  EXPECT_EQ(dst.Canvas()->Pixels(2, 0), clRed);
}

TEST(BlitTest, PatternAndDestinationOnlyOperations) {
  TBitmap dst(4, 1);
  TCanvas& c = *dst.Canvas();
  c.Brush()->SetColor(clNavy);
  c.StretchBlt(0, 0, 2, 1, nullptr, 0, 0, 0, 0, cmPatCopy);
  EXPECT_EQ(c.Pixels(0, 0), clNavy);
  EXPECT_EQ(c.Pixels(2, 0), clWhite);
  c.StretchBlt(0, 0, 4, 1, nullptr, 0, 0, 0, 0, cmDstInvert);
  EXPECT_EQ(c.Pixels(0, 0), 0x7FFFFF);
  EXPECT_EQ(c.Pixels(3, 0), clBlack);
  c.StretchBlt(0, 0, 4, 1, nullptr, 0, 0, 0, 0, cmWhiteness);
  EXPECT_EQ(c.Pixels(1, 0), clWhite);
  // An operation without a fast path goes through its truth table:
  // $5A0049 is pattern xor destination.
  c.Brush()->SetColor(0x0F0F0F);
  c.StretchBlt(0, 0, 1, 1, nullptr, 0, 0, 0, 0, cmPatInvert);
  EXPECT_EQ(c.Pixels(0, 0), 0xF0F0F0);
}

TEST(FocusRectTest, DrawingItTwiceRemovesIt) {
  TBitmap bmp(20, 10);
  TCanvas& c = *bmp.Canvas();
  c.DrawFocusRect(Rect(2, 2, 18, 8));
  int changed = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) changed += c.Pixels(x, y) != clWhite;
  EXPECT_GT(changed, 10);
  EXPECT_EQ(c.Pixels(10, 5), clWhite);  // inside untouched
  c.DrawFocusRect(Rect(2, 2, 18, 8));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 20; ++x) {
      EXPECT_EQ(c.Pixels(x, y), clWhite) << x << "," << y;
    }
  }
}

TEST(PenTest, InsideFramePensStayInTheBox) {
  TBitmap bmp(20, 20);
  TCanvas& c = *bmp.Canvas();
  c.Pen()->SetWidth(4);
  c.Pen()->SetStyle(psInsideFrame);
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(4, 4, 16, 16);
  EXPECT_EQ(c.Pixels(3, 10), clWhite);
  EXPECT_EQ(c.Pixels(4, 10), clBlack);
  EXPECT_EQ(c.Pixels(7, 10), clBlack);
  EXPECT_EQ(c.Pixels(8, 10), clWhite);
  EXPECT_EQ(c.Pixels(15, 10), clBlack);
  EXPECT_EQ(c.Pixels(16, 10), clWhite);
  // A centred wide pen reaches outside the box.
  TBitmap wide(20, 20);
  wide.Canvas()->Pen()->SetWidth(4);
  wide.Canvas()->Brush()->SetStyle(bsClear);
  wide.Canvas()->Rectangle(4, 4, 16, 16);
  EXPECT_EQ(wide.Canvas()->Pixels(3, 10), clBlack);
}

TEST(BitmapCopyTest, AssignCopiesPixelsAndLeavesTheSourceAlone) {
  TBitmap a(3, 2);
  a.Canvas()->SetPixels(1, 1, clRed);
  TBitmap b;
  b.Assign(&a);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
  b.Canvas()->SetPixels(1, 1, clLime);
  EXPECT_EQ(a.Canvas()->Pixels(1, 1), clRed);
  // A fixed transparent colour wins over the bottom-left pixel.
  b.SetTransparentColor(clLime);
  EXPECT_EQ(b.TransparentColor(), clLime);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  b.SetTransparentColor(clDefault);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clWhite);
}

}  // namespace
}  // namespace vorn
