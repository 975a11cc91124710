// TRotLab: the origin shift for each alignment and angle, centring,
// rotated ink where it belongs, the embossed disabled text and the frame.
#include "vorn/displays/rotlab.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

TEST(RotatedTextShiftTest, FollowsTheAnchorTable) {
  // Angle 0: the centre line is horizontal.
  EXPECT_EQ(RotatedTextShift(taLeftJustify, 0, 30, 8), (TPoint{0, -8}));
  EXPECT_EQ(RotatedTextShift(taCenter, 0, 30, 8), (TPoint{-30, -8}));
  EXPECT_EQ(RotatedTextShift(taRightJustify, 0, 30, 8), (TPoint{-60, -8}));
  // 90 degrees: the text runs upwards; its top edge lies to the left.
  EXPECT_EQ(RotatedTextShift(taLeftJustify, 90, 30, 8), (TPoint{-8, 0}));
  EXPECT_EQ(RotatedTextShift(taCenter, 90, 30, 8), (TPoint{-8, 30}));
  // 180 degrees, right-justified: the text ends at the anchor upside down.
  EXPECT_EQ(RotatedTextShift(taRightJustify, 180, 30, 8), (TPoint{60, 8}));
  // 45 degrees: -8 sin 45 = -5.66 and -8 cos 45 rounded.
  EXPECT_EQ(RotatedTextShift(taLeftJustify, 45, 30, 8), (TPoint{-6, -6}));
  // 30 degrees, half a pixel: -1 * sin 30 = -0.5 rounds to the even 0.
  EXPECT_EQ(RotatedTextShift(taLeftJustify, 30, 0, 1).X, 0);
}

class RotLabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 260, 260);
    form->SetColor(clWhite);
    lab = new TRotLab(form.get());
    lab->SetParent(form.get());
    lab->SetFrameStyle(fsNone);
    lab->SetCaption("Hxxxxxxxxxxxxxxxxxxx");
    lab->Font()->SetColor(clBlack);
    form->Show();
  }
  // Bounding box of the non-white pixels of the label.
  TRect Ink() {
    auto shot = HeadlessHost().Snapshot(*lab);
    TRect r{10000, 10000, -1, -1};
    for (int y = 0; y < shot->Height(); ++y)
      for (int x = 0; x < shot->Width(); ++x)
        if (shot->Canvas()->Pixels(x, y) != clWhite) {
          r.Left = std::min(r.Left, x);
          r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1);
          r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
  }
  std::unique_ptr<TForm> form;
  TRotLab* lab = nullptr;
};

TEST_F(RotLabTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(lab->Width(), 200);
  EXPECT_EQ(lab->Height(), 200);
  EXPECT_EQ(lab->Alignment(), taCenter);
  EXPECT_TRUE(lab->AntiAlias());
  EXPECT_TRUE(lab->AutoCenter());
  EXPECT_TRUE(lab->Transparent());
  EXPECT_EQ(lab->TextAngle(), 0);
  EXPECT_EQ(lab->Font()->Name(), "Arial");
  EXPECT_EQ(lab->Font()->Size(), 11);
  EXPECT_EQ(lab->Color(), clBtnFace);
  TRotLab fresh(nullptr);
  EXPECT_EQ(fresh.PosX(), 10);
  EXPECT_EQ(fresh.FrameStyle(), fsLowered);
}

TEST_F(RotLabTest, AutoCenterKeepsTheAnchorInTheMiddle) {
  lab->SetPosX(5);
  EXPECT_EQ(lab->PosX(), 100);
  lab->SetBounds(0, 0, 120, 80);
  EXPECT_EQ(lab->PosX(), 60);
  EXPECT_EQ(lab->PosY(), 40);
  lab->SetAutoCenter(false);
  lab->SetPosX(5);
  lab->SetPosY(7);
  EXPECT_EQ(lab->PosX(), 5);
  EXPECT_EQ(lab->PosY(), 7);
  lab->SetAutoCenter(true);
  EXPECT_EQ(lab->PosX(), 60);
}

TEST_F(RotLabTest, CentredTextSitsOnTheAnchor) {
  lab->SetAutoCenter(false);
  lab->SetPosX(100);
  lab->SetPosY(100);
  const TRect r = Ink();
  EXPECT_NEAR((r.Left + r.Right) / 2.0, 100, 2);
  EXPECT_NEAR((r.Top + r.Bottom) / 2.0, 100, 3);
  EXPECT_GT(r.Width(), r.Height());
}

TEST_F(RotLabTest, NinetyDegreesRunsUpwardsFromTheAnchor) {
  lab->SetAlignment(taLeftJustify);
  lab->SetTextAngle(90);
  const TRect r = Ink();
  EXPECT_GT(r.Height(), r.Width());
  EXPECT_LE(r.Bottom, 101);  // starts at the anchor...
  EXPECT_GE(r.Bottom, 95);
  EXPECT_LT(r.Top, 60);  // ...and runs upwards
  EXPECT_NEAR((r.Left + r.Right) / 2.0, 100, 3);
}

TEST_F(RotLabTest, HalfTurnRightJustifiedEndsAtTheAnchor) {
  lab->SetAlignment(taRightJustify);
  lab->SetTextAngle(180);
  const TRect r = Ink();
  EXPECT_GE(r.Left, 99);  // the text lies right of the anchor
  EXPECT_LE(r.Left, 105);
  EXPECT_NEAR((r.Top + r.Bottom) / 2.0, 100, 3);
  // The origin is on the far side: the shift is (2 W2, H2).
  const TPoint o = lab->TextOrigin();
  EXPECT_GT(o.X, r.Right - 3);
}

TEST_F(RotLabTest, DisabledTextIsEmbossed) {
  lab->SetCaption("I");
  lab->Font()->SetSize(30);
  lab->SetEnabled(false);
  auto shot = HeadlessHost().Snapshot(*lab);
  int shadow = 0, light = 0;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = 0; x < shot->Width(); ++x) {
      shadow += shot->Canvas()->Pixels(x, y) == ColorToRGB(clBtnShadow);
      light += shot->Canvas()->Pixels(x, y) == ColorToRGB(clBtnHighlight);
    }
  EXPECT_GT(shadow, 10);
  EXPECT_GT(light, 0);
}

TEST_F(RotLabTest, OpaqueLabelPaintsItsColourAndFrame) {
  lab->SetTransparent(false);
  lab->SetColor(clYellow);
  lab->SetFrameStyle(fsSimple);
  auto shot = HeadlessHost().Snapshot(*lab);
  EXPECT_EQ(shot->Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(shot->Canvas()->Pixels(5, 5), clYellow);
}

TEST_F(RotLabTest, AssignCopiesGeometryNotColours) {
  lab->SetTextAngle(33);
  lab->SetAutoCenter(false);
  lab->SetPosX(17);
  lab->SetColor(clRed);
  TRotLab other(nullptr);
  other.Assign(lab);
  EXPECT_EQ(other.TextAngle(), 33);
  EXPECT_EQ(other.PosX(), 17);
  EXPECT_EQ(other.Color(), clBtnFace);
}

TEST_F(RotLabTest, RandomAnglesSizesAndCaptionsPaintSafely) {
  std::mt19937 rng(4);
  for (int round = 0; round < 60; ++round) {
    lab->SetTextAngle(static_cast<int>(rng()));
    lab->SetAlignment(static_cast<TAlignment>(rng() % 3));
    lab->SetBounds(0, 0, static_cast<int>(rng() % 250) + 1, static_cast<int>(rng() % 250) + 1);
    lab->SetAntiAlias(rng() % 2);
    lab->SetFrameStyle(static_cast<TFrameStyle>(rng() % 6));
    lab->SetCaption(rng() % 10 == 0 ? std::string(100000, 'x') : std::string(rng() % 20, 'a'));
    ASSERT_NO_THROW(HeadlessHost().Snapshot(*lab)) << round;
  }
}

}  // namespace
}  // namespace vorn
