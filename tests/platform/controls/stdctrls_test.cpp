// The toolkit's standard controls and the text layout they use.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn {
namespace {

TEST(DrawTextTest, WordBreakKeepsLinesWithinTheWidthAndCalcRectMeasures) {
  TBitmap bmp(200, 200);
  TCanvas& c = *bmp.Canvas();
  const int line = c.TextHeight("Ag");
  TRect r = Rect(0, 0, c.TextWidth("alpha beta") + 2, 0);
  DrawText(c, "alpha beta alpha beta", r, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(r.Height(), 2 * line);
  EXPECT_LE(r.Width(), c.TextWidth("alpha beta") + 2);
  TRect one = Rect(0, 0, 10, 0);
  DrawText(c, "a\nbb\nccc", one, DT_CALCRECT);
  EXPECT_EQ(one.Height(), 3 * line);
  EXPECT_EQ(one.Width(), c.TextWidth("ccc"));
  TRect amp = Rect(0, 0, 100, 0);
  DrawText(c, "&File && more", amp, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(amp.Width(), c.TextWidth("File & more"));
}

TEST(DrawTextTest, CentredTextIsClippedToItsRectangle) {
  TBitmap bmp(100, 40);
  TCanvas& c = *bmp.Canvas();
  TRect r = Rect(20, 10, 40, 30);
  DrawText(c, "WWWWWWWWWWWW", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  bool inside = false;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (c.Pixels(x, y) == clWhite) continue;
      EXPECT_TRUE(r.Contains({x, y})) << x << "," << y;
      inside = true;
    }
  }
  EXPECT_TRUE(inside);
}

TEST(StdCtrlsTest, LabelSizesItselfToItsCaption) {
  TForm form(nullptr);
  auto* l = new TLabel(&form);
  l->SetParent(&form);
  l->SetCaption("Hello");
  TCanvas probe;
  probe.SetFont(l->Font());
  EXPECT_EQ(l->Width(), probe.TextWidth("Hello"));
  EXPECT_EQ(l->Height(), probe.TextHeight("Hello"));
  l->SetAlignment(taRightJustify);
  const int right = l->Left() + l->Width();
  l->SetCaption("Hello, world");
  EXPECT_EQ(l->Left() + l->Width(), right);  // grows to the left
}

TEST(StdCtrlsTest, ButtonsClickByMouseSpaceAndDialogKeys) {
  TForm form(nullptr);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = new TButton(&form);
  cancel->SetParent(&form);
  cancel->SetLeft(100);
  cancel->SetCancel(true);
  int okClicks = 0, cancelClicks = 0;
  ok->SetOnClick([&](TObject*) { ++okClicks; });
  cancel->SetOnClick([&](TObject*) { ++cancelClicks; });
  auto& host = HeadlessHost();
  form.Show();
  host.Click(*ok, 5, 5);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(form.ModalResult(), mrOk);
  cancel->SetFocus();
  host.PressKey(VK_SPACE);
  EXPECT_EQ(cancelClicks, 1);
  host.PressKey(VK_RETURN);  // a focused button takes Return itself
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(cancelClicks, 2);
  host.PressKey(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 3);
  // Pressing and leaving before release is no click.
  host.Drag(*ok, 5, 5, 200, 5);
  EXPECT_EQ(okClicks, 1);
}

TEST(StdCtrlsTest, PanelPaintsItsBevelAndCaption) {
  TForm form(nullptr);
  form.SetColor(clWhite);
  auto* p = new TPanel(&form);
  p->SetParent(&form);
  p->SetBounds(10, 10, 100, 40);
  p->SetCaption("Panel");
  form.Show();
  auto shot = HeadlessHost().Snapshot(*p);
  EXPECT_EQ(shot->Canvas()->Pixels(0, 0), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(shot->Canvas()->Pixels(99, 39), ColorToRGB(clBtnShadow));
  bool text = false;
  for (int x = 30; x < 70 && !text; ++x)
    for (int y = 12; y < 28 && !text; ++y) text = shot->Canvas()->Pixels(x, y) != ColorToRGB(clBtnFace);
  EXPECT_TRUE(text);
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

TEST(SpeedButtonTest, ClickFiresOnReleaseInsideOnly) {
  TForm form(nullptr);
  auto* b = new TSpeedButton(&form);
  b->SetParent(&form);
  b->SetCaption("Go");
  int clicks = 0;
  b->SetOnClick([&](TObject*) { ++clicks; });
  form.Show();
  auto& host = HeadlessHost();
  host.MouseDown(form, 5, 5);
  EXPECT_EQ(b->State(), bsDown);
  host.MouseUp(form, 5, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->State(), bsUp);
  host.Drag(*b, 5, 5, 100, 100);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->State(), bsUp);
}

TEST(SpeedButtonTest, AGroupKeepsOneButtonDown) {
  TForm form(nullptr);
  TSpeedButton* buttons[3];
  for (int i = 0; i < 3; ++i) {
    buttons[i] = new TSpeedButton(&form);
    buttons[i]->SetParent(&form);
    buttons[i]->SetLeft(i * 30);
    buttons[i]->SetGroupIndex(1);
  }
  // A plain control in the same parent receives the group message too.
  auto* other = new TButton(&form);
  other->SetParent(&form);
  other->SetTop(40);
  form.Show();
  auto& host = HeadlessHost();
  host.Click(*buttons[0], 5, 5);
  EXPECT_TRUE(buttons[0]->Down());
  host.Click(*buttons[2], 5, 5);
  EXPECT_FALSE(buttons[0]->Down());
  EXPECT_TRUE(buttons[2]->Down());
  host.Click(*buttons[2], 5, 5);  // stays down: the group needs one
  EXPECT_TRUE(buttons[2]->Down());
  buttons[2]->SetAllowAllUp(true);
  host.Click(*buttons[2], 5, 5);
  EXPECT_FALSE(buttons[2]->Down());
}

TEST(SpeedButtonTest, TheGlyphIsDrawnWithoutItsTransparentColour) {
  TForm form(nullptr);
  auto* b = new TSpeedButton(&form);
  b->SetParent(&form);
  b->SetBounds(0, 0, 30, 30);
  b->Glyph()->SetSize(8, 8);
  b->Glyph()->Canvas()->Brush()->SetColor(clFuchsia);  // bottom-left pixel: the key
  b->Glyph()->Canvas()->FillRect(Rect(0, 0, 8, 8));
  b->Glyph()->Canvas()->Brush()->SetColor(clRed);
  b->Glyph()->Canvas()->FillRect(Rect(2, 2, 6, 6));
  form.Show();
  auto shot = HeadlessHost().Snapshot(*b);
  int red = 0, key = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      red += shot->Canvas()->Pixels(x, y) == clRed;
      key += shot->Canvas()->Pixels(x, y) == clFuchsia;
    }
  }
  EXPECT_EQ(red, 16);
  EXPECT_EQ(key, 0);
}

}  // namespace
}  // namespace vorn
