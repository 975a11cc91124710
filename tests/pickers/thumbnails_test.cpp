// TThumbnails: property rules, slide geometry and hit tests, scrolling by
// rows, which slides a paint asks for, pictures fitted into slides and
// smoothed, hostile request handlers, and the three selection modes.
#include "vorn/pickers/thumbnails.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <stdexcept>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/application.h"

namespace vorn {
namespace {

class ThumbnailsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 700, 500);
    view = new TThumbnails(form.get());
    view->SetParent(form.get());
    view->SetOnImageRequest([this](TObject*, int Id, TImageRequestProcessing& How, int&, TBitmap*&) {
      requested.insert(Id);
      How = irpShowEmpty;
    });
    form->Show();
    host.Advance(0);
  }
  void TearDown() override { Application()->SetOnException(nullptr); }
  std::unique_ptr<TBitmap> Paint() {
    requested.clear();
    view->Invalidate();
    return host.Snapshot(*view);
  }
  TPoint Center(int Slide) const {
    int x = 0, y = 0;
    view->CalcSlidePos(Slide, x, y);
    const int half = view->SlideMargin() + view->SlideSize() / 2;
    return {x + half, y + half};
  }
  void ClickSlide(int Slide) {
    const TPoint p = Center(Slide);
    host.Click(*view, p.X, p.Y);
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TThumbnails* view = nullptr;
  std::set<int> requested;
};

TEST_F(ThumbnailsTest, PropertiesAreClampedAsDocumented) {
  EXPECT_EQ(view->Width(), 260);
  EXPECT_EQ(view->Height(), 400);
  EXPECT_EQ(view->NumSlidesHoriz(), 1);  // (260 + 2 - 20) div 136
  EXPECT_EQ(view->NumSlidesVert(), 3);   // 400 div 136 + 1
  view->SetSlideSize(30);
  EXPECT_EQ(view->SlideSize(), 50);
  view->SetSlideSize(5000);
  EXPECT_EQ(view->SlideSize(), 260);
  view->SetFocusLinewidth(12);
  EXPECT_EQ(view->FocusLinewidth(), 10);
  view->SetFocusLinewidth(-1);
  EXPECT_EQ(view->FocusLinewidth(), 0);
  view->SetMax(0);
  EXPECT_EQ(view->Max(), 1);
  view->SetSlideDistance(500);
  EXPECT_EQ(view->SlideDistance(), 100);
  view->SetSlideMargin(-3);
  EXPECT_EQ(view->SlideMargin(), 0);
  EXPECT_EQ(view->FirstSelectedSlide(), view->Min() - 1);
  // Min above Max: no slides, nothing selectable, nothing requested.
  view->SetMin(10);
  view->SetMax(5);
  view->SetSelectedSlide(7, true);
  EXPECT_EQ(view->NumSlidesSelected(), 0);
  Paint();
  EXPECT_TRUE(requested.empty());
}

TEST_F(ThumbnailsTest, ScrollPositionStartsARowAndKeepsTheFraction) {
  view->SetBounds(0, 0, 426, 400);  // (426 + 2 - 20) div 136 = 3 per row
  Paint();
  ASSERT_EQ(view->NumSlidesHoriz(), 3);
  view->SetFirstThumbIdx(7);
  EXPECT_DOUBLE_EQ(view->FirstThumbIdx(), 7.0);
  view->SetFirstThumbIdx(8);
  EXPECT_DOUBLE_EQ(view->FirstThumbIdx(), 7.0 + 1.0 / 3.0);
  view->SetFirstThumbIdx(-50);
  EXPECT_DOUBLE_EQ(view->FirstThumbIdx(), 1.0);
  view->SetFirstThumbIdx(1e9);
  EXPECT_DOUBLE_EQ(view->FirstThumbIdx(), 100.0 + 0.0 / 3);  // 100 starts a row: 1, 4, ..., 100
  // Negative slide numbers keep rows counted from slide 1.
  view->SetMin(-10);
  view->SetFirstThumbIdx(-4);
  EXPECT_DOUBLE_EQ(view->FirstThumbIdx(), -5.0 + 1.0 / 3.0);
}

TEST_F(ThumbnailsTest, HitTestsFindSlidesAndNothingInGapsOrOutsideTheRange) {
  view->SetBounds(0, 0, 426, 400);
  Paint();
  for (int n : {1, 2, 3, 4, 6, 7}) {
    const TPoint c = Center(n);
    EXPECT_EQ(view->CalcSlideIndex(c.X, c.Y), n) << n;
  }
  int x = 0, y = 0;
  view->CalcSlidePos(2, x, y);
  EXPECT_EQ(x, 136 + 10);
  EXPECT_EQ(y, 2 + 10);
  const int box = 120 + 14;
  EXPECT_EQ(view->CalcSlideIndex(x, y), 2);
  EXPECT_EQ(view->CalcSlideIndex(x + box, y + box), 2);
  EXPECT_EQ(view->CalcSlideIndex(x + box + 1, y + 5), 0);  // the gap between slides
  EXPECT_EQ(view->CalcSlideIndex(5, 50), 0);                // the left edge strip
  EXPECT_EQ(view->CalcSlideIndex(420, 50), 0);              // right of the third column
  view->SetMax(4);
  const TPoint c6 = Center(6);
  EXPECT_EQ(view->CalcSlideIndex(c6.X, c6.Y), 0);
  // Scrolled by a third of a row: positions follow the fraction.
  view->SetMax(100);
  view->SetFirstThumbIdx(8);
  view->CalcSlidePos(7, x, y);
  EXPECT_EQ(y, 2 - 45 + 10);  // Round(136 / 3) = 45
  const TPoint c10 = Center(10);
  EXPECT_EQ(view->CalcSlideIndex(c10.X, c10.Y), 10);
}

TEST_F(ThumbnailsTest, APaintAsksForTheVisibleSlidesOnly) {
  view->SetMax(100000);
  view->SetFirstThumbIdx(50000);
  Paint();
  EXPECT_EQ(requested, (std::set<int>{50000, 50001, 50002}));
  int first = 0, last = 0;
  view->SetOnFirstImageRequest([&](TObject*) { ++first; });
  view->SetOnLastImageRequest([&](TObject*) { ++last; });
  Paint();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 1);
}

TEST_F(ThumbnailsTest, MovingTheFocusRepaintsWithoutAskingForPictures) {
  int focusChanges = 0;
  view->SetOnFocusChange([&](TObject*) { ++focusChanges; });
  Paint();
  host.Advance(0);
  requested.clear();
  const TPoint c = Center(2);
  host.MouseMove(*form, c.X, c.Y);
  host.Advance(0);
  EXPECT_EQ(view->FocusedSlide(), 2);
  EXPECT_EQ(focusChanges, 1);
  EXPECT_TRUE(requested.empty());
  auto shot = host.Snapshot(*view);
  int x = 0, y = 0;
  view->CalcSlidePos(2, x, y);
  EXPECT_EQ(shot->Canvas()->Pixels(x + 2, y + 40), view->ColorFocus());
  host.MouseMove(*form, c.X, c.Y + 1);
  EXPECT_EQ(focusChanges, 1);
}

TEST_F(ThumbnailsTest, PicturesAreFittedKeepingTheirAspectAndSmoothedWithAntiAlias) {
  TBitmap checker(240, 120);  // 2:1, a one-pixel checkerboard
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 240; ++x) checker.Canvas()->SetPixels(x, y, (x + y) % 2 == 0 ? 0x000000 : 0xFFFFFF);
  }
  view->SetOnImageRequest([&](TObject*, int Id, TImageRequestProcessing& How, int&, TBitmap*& Buffer) {
    How = irpShowSlide;
    if (Id == 1) Buffer = &checker;  // a picture of the host's own
  });
  auto shot = Paint();
  int x = 0, y = 0;
  view->CalcSlidePos(1, x, y);
  const int left = x + 7, top = y + 7;
  // 120 x 60 centred vertically: rows 30..89 of the picture area.
  EXPECT_EQ(shot->Canvas()->Pixels(left + 60, top + 10), view->ColorCover());
  const TColor nearest = shot->Canvas()->Pixels(left + 60, top + 60);
  EXPECT_TRUE(nearest == 0x000000 || nearest == 0xFFFFFF) << std::hex << nearest;
  // Slide 2 got no picture: it stays empty, showing the cover.
  view->CalcSlidePos(2, x, y);
  EXPECT_EQ(shot->Canvas()->Pixels(x + 67, y + 67), view->ColorCover());
  view->SetAntiAlias(true);
  shot = Paint();
  view->CalcSlidePos(1, x, y);
  const TColor smooth = shot->Canvas()->Pixels(x + 7 + 60, y + 7 + 60);
  EXPECT_GT(smooth & 0xFF, 0x40u);
  EXPECT_LT(smooth & 0xFF, 0xC0u);
}

TEST_F(ThumbnailsTest, AThrowingHandlerLeavesItsSlideEmptyAndTheViewerWorking) {
  int handled = 0;
  Application()->SetOnException([&](TObject* Sender, const std::exception&) {
    EXPECT_EQ(Sender, view);
    ++handled;
  });
  int rendered = 0;
  view->SetOnSlideRendered([&](TObject*, TCanvas*, int, int, int) { ++rendered; });
  view->SetOnImageRequest([&](TObject*, int Id, TImageRequestProcessing& How, int&, TBitmap*& Buffer) {
    requested.insert(Id);
    if (Id == 1) throw std::runtime_error("no such file");
    How = irpShowSlide;
    Buffer = nullptr;  // and no picture for the others
  });
  auto shot = Paint();
  EXPECT_EQ(handled, 1);  // one report per paint
  EXPECT_EQ(rendered, 3);
  EXPECT_EQ(requested.size(), 3u);
  Paint();
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(requested.size(), 3u);
}

TEST_F(ThumbnailsTest, ShowNothingLeavesTheBackgroundButStillReportsTheSlide) {
  int rendered = 0;
  view->SetOnSlideRendered([&](TObject*, TCanvas*, int, int, int) { ++rendered; });
  view->SetOnImageRequest(
      [&](TObject*, int, TImageRequestProcessing& How, int&, TBitmap*&) { How = irpShowNothing; });
  view->SetColorBackGnd(0x123456);
  auto shot = Paint();
  EXPECT_EQ(rendered, 3);
  const TPoint c = Center(1);
  EXPECT_EQ(shot->Canvas()->Pixels(c.X, c.Y), 0x123456);
}

TEST_F(ThumbnailsTest, SelectionModes) {
  view->SetBounds(0, 0, 426, 400);
  Paint();
  ClickSlide(2);
  EXPECT_TRUE(view->SlideSelected(2));
  ClickSlide(4);
  EXPECT_FALSE(view->SlideSelected(2));
  EXPECT_EQ(view->FirstSelectedSlide(), 4);
  host.Click(*view, 5, 5);  // the edge: slide 0
  EXPECT_EQ(view->NumSlidesSelected(), 0);

  view->SetSlideSelectMode(ssmMultiple);
  ClickSlide(2);
  host.KeyDown(VK_CONTROL);
  ClickSlide(4);
  ClickSlide(6);
  ClickSlide(4);  // Ctrl toggles off
  host.KeyUp(VK_CONTROL);
  EXPECT_EQ(view->NumSlidesSelected(), 2);
  EXPECT_TRUE(view->SlideSelected(2));
  EXPECT_TRUE(view->SlideSelected(6));
  ClickSlide(3);  // plain click: only the clicked slide
  EXPECT_EQ(view->NumSlidesSelected(), 1);
  host.KeyDown(VK_SHIFT);
  ClickSlide(7);  // the range 3..7
  host.KeyUp(VK_SHIFT);
  EXPECT_EQ(view->NumSlidesSelected(), 5);
  EXPECT_EQ(view->FirstSelectedSlide(), 3);

  int clicked = -1, doubled = -1;
  view->SetOnImageClick([&](TObject*, int, int, int Id) { clicked = Id; });
  view->SetOnImageDblClick([&](TObject*, int, int, int Id) { doubled = Id; });
  const TPoint c2 = Center(2);
  host.DoubleClick(*view, c2.X, c2.Y);
  EXPECT_EQ(doubled, 2);
  view->SetSlideSelectMode(ssmDisabled);
  EXPECT_EQ(view->NumSlidesSelected(), 0);
  ClickSlide(5);
  EXPECT_EQ(view->NumSlidesSelected(), 0);
  EXPECT_EQ(clicked, 5);
}

TEST_F(ThumbnailsTest, HandlersMayDeleteTheViewer) {
  view->SetOnImageRequest([this](TObject*, int, TImageRequestProcessing&, int&, TBitmap*&) {
    delete view;
    view = nullptr;
  });
  view->Invalidate();
  host.Advance(0);
  EXPECT_EQ(view, nullptr);
}

TEST_F(ThumbnailsTest, AssignCopiesGeometryAndLook) {
  view->SetSlideSize(80);
  view->SetColorCover(0x112233);
  view->SetMax(500);
  TThumbnails other(nullptr);
  other.Assign(view);
  EXPECT_EQ(other.SlideSize(), 80);
  EXPECT_EQ(other.ColorCover(), 0x112233u);
  EXPECT_EQ(other.Max(), 500);
  other.SetSelectedSlide(400, true);
  EXPECT_TRUE(other.SlideSelected(400));
}

}  // namespace
}  // namespace vorn
