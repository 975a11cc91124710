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
  host.PressKey(VK_RETURN);  // the default button answers Return
  EXPECT_EQ(okClicks, 2);
  host.PressKey(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 2);
  // Pressing and leaving before release is no click.
  host.Drag(*ok, 5, 5, 200, 5);
  EXPECT_EQ(okClicks, 2);
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
