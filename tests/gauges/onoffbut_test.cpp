// TOnOffBut: glyph sizes of every style, placement rules, groups, mouse
// modes and hit test, user glyphs and their errors, the picture with its
// transparency mask, and the generated pictures against the committed ones.
#include "vorn/gauges/onoffbut.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>

#include "vorn/platform/hosts/headless.h"
#ifdef VORN_HAVE_RESGEN
#endif

namespace vorn {
namespace {

class OnOffButTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 200);
    but = Make(10, 10);
    form->Show();
    host.Advance(0);
  }
  TOnOffBut* Make(int X, int Y) {
    auto* b = new TOnOffBut(form.get());
    b->SetParent(form.get());
    b->SetBounds(X, Y, 100, 50);
    return b;
  }
  static std::string TempFile(const std::string& Name) {
    std::filesystem::create_directories(VORN_TEST_OUTPUT_DIR);
    return std::string(VORN_TEST_OUTPUT_DIR) + "/" + Name;
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TOnOffBut* but = nullptr;
};

TEST_F(OnOffButTest, StartsWithTheDocumentedDefaults) {
  TOnOffBut fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 100);
  EXPECT_EQ(fresh.Height(), 50);
  EXPECT_EQ(fresh.ButtonStyle(), oobsColSlideLR);
  EXPECT_EQ(fresh.GlyphWidth(), 30);
  EXPECT_EQ(fresh.GlyphHeight(), 18);
  EXPECT_TRUE(fresh.OnOff());
  EXPECT_TRUE(fresh.AllowAllOff());
  EXPECT_EQ(fresh.MouseAction(), oomaFocused);
  EXPECT_EQ(fresh.FrameStyle(), fsLowered);
  EXPECT_EQ(fresh.LeftTextAlignment(), taRightJustify);
  EXPECT_EQ(fresh.RightTextAlignment(), taLeftJustify);
  EXPECT_EQ(fresh.ColorBackgnd(), clBtnFace);
  // The documented start values; centring happens on the first resize or
  // style change.
  EXPECT_EQ(fresh.LeftSpace(), 35);
  EXPECT_EQ(fresh.TopSpace(), 18);
}

TEST_F(OnOffButTest, EveryStyleHasItsPictureOfTheDocumentedSize) {
  struct Size {
    TOnOffButStyle Style;
    int W, H;
  };
  const Size sizes[] = {{oobsCheckbox, 16, 16},      {oobsRadioBut, 14, 14},   {oobsSlideTB, 18, 30},
                        {oobsSlideLR, 30, 18},       {oobsColSlideTB, 18, 30}, {oobsColSlideLR, 30, 18},
                        {oobsLedRedGreen, 14, 14},   {oobsArrowTopRgt, 25, 25}, {oobsArrowUpDown, 25, 25},
                        {oobsArrowLeftRight, 25, 25}, {oobsTrafficLPed, 31, 31}, {oobsBeveledLed, 17, 17},
                        {oobsSmileyYellow, 18, 18},  {oobsSmileyRedGrn, 18, 18}, {oobsBulb, 39, 49},
                        {oobsButLamp, 49, 24},       {oobsHDLeft, 48, 16},     {oobsHDRight, 48, 16},
                        {oobsUser1, 24, 24},         {oobsUser2, 24, 24},      {oobsUser3, 24, 24},
                        {oobsUser4, 24, 24},         {oobsUser5, 24, 24},      {oobsUser, 20, 20}};
  for (const Size& s : sizes) {
    but->SetButtonStyle(s.Style);
    EXPECT_EQ(but->GlyphWidth(), s.W) << int(s.Style);
    EXPECT_EQ(but->GlyphHeight(), s.H) << int(s.Style);
    EXPECT_EQ(but->Glyph(false, false)->Width(), s.W);
    EXPECT_EQ(but->LeftSpace(), (100 - s.W) / 2);
    EXPECT_EQ(but->TopSpace(), (50 - s.H) / 2);
    if (s.Style != oobsUser) {
      // The on and off glyphs differ, and the disabled ones are grey.
      const TBitmap* on = but->Glyph(true, true);
      const TBitmap* off = but->Glyph(false, true);
      bool differ = false;
      for (int y = 0; y < s.H && !differ; ++y)
        for (int x = 0; x < s.W && !differ; ++x) differ = on->Canvas()->Pixels(x, y) != off->Canvas()->Pixels(x, y);
      EXPECT_TRUE(differ) << int(s.Style);
      const TBitmap* grey = but->Glyph(true, false);
      for (int y = 0; y < s.H; ++y) {
        for (int x = 0; x < s.W; ++x) {
          const TColor c = grey->Canvas()->Pixels(x, y);
          if (c == OnOffKeyColor) continue;
          ASSERT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << int(s.Style);
        }
      }
    }
  }
  but->SetButtonStyle(static_cast<TOnOffButStyle>(24));  // unknown: ignored
  EXPECT_EQ(but->ButtonStyle(), oobsUser);
}

TEST_F(OnOffButTest, SpacesFollowTheirRules) {
  but->SetAutoCenter(false);
  but->SetLeftSpace(-1);
  EXPECT_EQ(but->LeftSpace(), 35);
  but->SetLeftSpace(500);
  EXPECT_EQ(but->LeftSpace(), 100);
  but->SetTopSpace(3);
  EXPECT_EQ(but->TopSpace(), 3);
  but->SetAutoCenter(true);
  EXPECT_EQ(but->LeftSpace(), 35);
  EXPECT_EQ(but->TopSpace(), 16);
  but->SetLeftSpace(2);  // re-centres instead
  EXPECT_EQ(but->LeftSpace(), 35);
  but->SetButtonStyle(oobsCheckbox);
  EXPECT_EQ(but->LeftSpace(), 42);
  but->SetButtonStyle(oobsBulb);
  EXPECT_EQ(but->LeftSpace(), 30);
  EXPECT_EQ(but->TopSpace(), 0);
  but->SetBounds(10, 10, 121, 81);  // resizing re-centres
  EXPECT_EQ(but->LeftSpace(), 41);
  EXPECT_EQ(but->TopSpace(), 16);
}

// ---- groups --------------------------------------------------------------------------------

TEST_F(OnOffButTest, GroupKeepsOneButtonOn) {
  TOnOffBut* b2 = Make(120, 10);
  TOnOffBut* b3 = Make(240, 10);
  TOnOffBut* other = Make(10, 100);  // another group
  for (TOnOffBut* b : {but, b2, b3}) b->SetGroupIndex(1);
  other->SetGroupIndex(2);
  // Joining the group switched the earlier members off as the later ones came on.
  EXPECT_FALSE(but->OnOff());
  EXPECT_FALSE(b2->OnOff());
  EXPECT_TRUE(b3->OnOff());
  EXPECT_TRUE(other->OnOff());
  b3->SetAllowAllOff(false);  // shared by the whole group
  EXPECT_FALSE(but->AllowAllOff());
  EXPECT_FALSE(b2->AllowAllOff());
  EXPECT_TRUE(other->AllowAllOff());
  b3->SetOnOff(false);  // refused
  EXPECT_TRUE(b3->OnOff());
  host.Click(*b3, 50, 25);  // clicking the one that is on changes nothing
  EXPECT_TRUE(b3->OnOff());
  host.Click(*but, 50, 25);
  EXPECT_TRUE(but->OnOff());
  EXPECT_FALSE(b3->OnOff());
  EXPECT_TRUE(other->OnOff());
  b2->SetOnOff(true);
  EXPECT_FALSE(but->OnOff());
}

TEST_F(OnOffButTest, WithoutGroupNothingIsBroadcast) {
  TOnOffBut* b2 = Make(120, 10);
  but->SetOnOff(false);
  b2->SetOnOff(true);
  but->SetOnOff(true);
  EXPECT_TRUE(b2->OnOff());
}

// ---- mouse ----------------------------------------------------------------------------------

TEST_F(OnOffButTest, FocusedModeTakesOnlyClicksStrictlyInsideTheGlyph) {
  // Glyph 30 x 18 at LeftSpace 35, TopSpace 16.
  but->SetAutoCenter(false);
  but->SetTopSpace(16);
  EXPECT_FALSE(but->SwitchesAt(35, 20));
  EXPECT_TRUE(but->SwitchesAt(36, 20));
  EXPECT_TRUE(but->SwitchesAt(64, 33));
  EXPECT_FALSE(but->SwitchesAt(65, 20));  // LeftSpace + glyph width
  EXPECT_FALSE(but->SwitchesAt(40, 34));  // TopSpace + glyph height
  int clicks = 0;
  but->SetOnClick([&](TObject*) { ++clicks; });
  host.Click(*but, 5, 5);
  EXPECT_TRUE(but->OnOff());
  EXPECT_EQ(clicks, 0);
  host.Click(*but, 50, 25);
  EXPECT_FALSE(but->OnOff());
  EXPECT_EQ(clicks, 1);
  host.Click(*but, 50, 25, mbRight);
  EXPECT_FALSE(but->OnOff());
  but->SetMouseAction(oomaPlain);
  host.Click(*but, 5, 5);
  EXPECT_TRUE(but->OnOff());
  but->SetMouseAction(oomaNone);
  host.Click(*but, 50, 25);
  EXPECT_TRUE(but->OnOff());
}

TEST_F(OnOffButTest, SpeedModeIsOnOnlyWhileHeld) {
  but->SetMode(oobmSpeedBut);
  EXPECT_FALSE(but->OnOff());
  bool onAtClick = true;
  int clicks = 0;
  but->SetOnClick([&](TObject*) {
    ++clicks;
    onAtClick = but->OnOff();
  });
  host.MouseDown(*form, 10 + 50, 10 + 25);
  EXPECT_TRUE(but->OnOff());
  host.MouseUp(*form, 10 + 50, 10 + 25);
  EXPECT_FALSE(but->OnOff());
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(onAtClick);
  // Released away from the glyph: off all the same, but no click.
  host.MouseDown(*form, 10 + 50, 10 + 25);
  EXPECT_TRUE(but->OnOff());
  host.MouseUp(*form, 10 + 2, 10 + 2);
  EXPECT_FALSE(but->OnOff());
  EXPECT_EQ(clicks, 1);
}

// ---- user glyphs ------------------------------------------------------------------------------

TEST_F(OnOffButTest, UserGlyphsTakeTheirSizeFromThePicture) {
  but->SetButtonStyle(oobsUser);
  EXPECT_EQ(but->GlyphWidth(), 20);
  TBitmap pic(40, 30);
  pic.Canvas()->Brush()->SetColor(0x00FF00);
  pic.Canvas()->FillRect(Rect(0, 0, 20, 15));  // on, enabled
  but->SetUserGlyph(&pic);
  EXPECT_EQ(but->GlyphWidth(), 20);
  EXPECT_EQ(but->GlyphHeight(), 15);
  EXPECT_EQ(but->Glyph(true, true)->Canvas()->Pixels(3, 3), 0x00FF00);
  EXPECT_EQ(but->Glyph(false, true)->Canvas()->Pixels(3, 3), 0xFFFFFF);
  EXPECT_EQ(but->TopSpace(), (50 - 15) / 2);
}

TEST_F(OnOffButTest, BadGlyphFilesRaiseAndKeepTheOldGlyphs) {
  but->SetButtonStyle(oobsUser);
  const TColor before = but->Glyph(false, true)->Canvas()->Pixels(0, 0);
  const std::string odd = TempFile("glyph_odd.png");
  TBitmap(21, 20).SaveToFile(odd);
  const std::string text = TempFile("glyph_text.png");
  std::ofstream(text) << "this is not a picture";
  const std::string cut = TempFile("glyph_cut.png");
  {
    TBitmap good(40, 40);
    std::ostringstream png;
    good.SaveToPngStream(png);
    std::ofstream(cut, std::ios::binary) << png.str().substr(0, png.str().size() / 2);
  }
  for (const std::string& file : {odd, text, cut, TempFile("missing.png")}) {
    try {
      but->LoadUserGlyph(file);
      ADD_FAILURE() << "accepted " << file;
    } catch (const EVORNError& e) {
      EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    EXPECT_EQ(but->GlyphWidth(), 20);
    EXPECT_EQ(but->Glyph(false, true)->Canvas()->Pixels(0, 0), before);
  }
  TBitmap one(1, 1);
  EXPECT_THROW(but->SetUserGlyph(&one), EVORNError);
  EXPECT_THROW(but->SetUserGlyph(nullptr), EVORNError);
  // A good file is taken.
  const std::string good = TempFile("glyph_good.png");
  TBitmap(24, 16).SaveToFile(good);
  but->LoadUserGlyph(good);
  EXPECT_EQ(but->GlyphWidth(), 12);
  EXPECT_EQ(but->GlyphHeight(), 8);
}

// ---- painting ------------------------------------------------------------------------------------

TEST_F(OnOffButTest, KeyPixelsShowTheBackgroundAndTheMaskFollowsTheGlyph) {
  but->SetButtonStyle(oobsRadioBut);  // 14 x 14, corners are key colour
  but->SetColorBackgnd(0x00FFFF);
  TBitmap image(100, 50), mask(100, 50);
  but->PaintTo(image, mask);
  const int x0 = but->LeftSpace() + 1, y0 = but->TopSpace() + 1;
  EXPECT_EQ(image.Canvas()->Pixels(x0, y0), 0x00FFFF);  // corner of the round glyph
  EXPECT_EQ(mask.Canvas()->Pixels(x0, y0), 0xFFFFFF);
  EXPECT_EQ(image.Canvas()->Pixels(x0 + 7, y0 + 7), 0x000000);  // the dot
  EXPECT_EQ(mask.Canvas()->Pixels(x0 + 7, y0 + 7), 0x000000);
  EXPECT_EQ(mask.Canvas()->Pixels(20, 25), 0xFFFFFF);  // empty background
  EXPECT_EQ(mask.Canvas()->Pixels(0, 25), 0x000000);   // frame
  but->SetTransparent(true);
  but->PaintTo(image, mask);
  EXPECT_EQ(image.Canvas()->Pixels(x0, y0), 0x000000);
  EXPECT_EQ(image.Canvas()->Pixels(20, 25), 0x000000);
}

TEST_F(OnOffButTest, TransparentButtonLetsTheParentShowThrough) {
  form->SetColor(0x0000FF);
  but->SetButtonStyle(oobsRadioBut);
  but->SetTransparent(true);
  host.Advance(0);
  auto shot = host.Snapshot(*form);
  EXPECT_EQ(shot->Canvas()->Pixels(10 + 20, 10 + 25), 0x0000FF);
  EXPECT_EQ(shot->Canvas()->Pixels(10 + but->LeftSpace() + 8, 10 + but->TopSpace() + 8), 0x000000);
  EXPECT_EQ(shot->Canvas()->Pixels(10 + but->LeftSpace() + 1, 10 + but->TopSpace() + 1), 0x0000FF);
}

TEST_F(OnOffButTest, SideTextsStandAtTheirAnchors) {
  but->SetBounds(10, 10, 200, 80);
  but->SetButtonStyle(oobsCheckbox);  // 16 x 16 at (92, 32)
  but->SetColorText(0x0000FF);
  but->SetLeftText("Lx");
  but->SetRightText("Rx");
  TBitmap image(200, 80), mask(200, 80);
  but->PaintTo(image, mask);
  int leftMax = -1, rightMin = 1000;
  bool red = false;
  // Text is opaque in the mask; the glyph occupies columns 93..108.
  for (int y = 4; y < 76; ++y) {
    for (int x = 4; x < 196; ++x) {
      if (x >= 93 && x < 109) continue;
      red = red || image.Canvas()->Pixels(x, y) == 0x0000FF;
      if (mask.Canvas()->Pixels(x, y) == 0xFFFFFF) continue;
      if (x < 92) leftMax = std::max(leftMax, x);
      if (x > 108) rightMin = std::min(rightMin, x);
    }
  }
  EXPECT_TRUE(red);
  const int w = image.Canvas()->TextWidth("Lx");
  EXPECT_LT(leftMax, 92 - 3);  // right-justified: the text cell ends 3 pixels before LeftSpace
  EXPECT_GE(leftMax, 92 - 3 - w / 2);
  EXPECT_GE(rightMin, 92 + 16 + 4);  // left-justified 4 pixels after the glyph
  EXPECT_LE(rightMin, 92 + 16 + 4 + w / 2);
}

TEST_F(OnOffButTest, TinySizesPaintWithoutHarm) {
  for (TOnOffButStyle style : {oobsBulb, oobsCheckbox}) {
    but->SetButtonStyle(style);
    but->SetTopText("T");
    but->SetBottomText("B");
    for (int size : {1, 2, 3, 10}) {
      but->SetBounds(10, 10, size, size);
      but->Repaint();
      but->SetEnabled(!but->Enabled());
      but->SetTransparent(size % 2 == 0);
      host.Advance(0);
    }
  }
  SUCCEED();
}

TEST_F(OnOffButTest, AssignCopiesLookStateAndGlyphs) {
  TOnOffBut src(nullptr);
  src.SetButtonStyle(oobsBulb);
  src.SetOnOff(false);
  src.SetLeftText("L");
  src.SetTransparent(true);
  but->Assign(&src);
  EXPECT_EQ(but->ButtonStyle(), oobsBulb);
  EXPECT_EQ(but->GlyphWidth(), 39);
  EXPECT_FALSE(but->OnOff());
  EXPECT_EQ(but->LeftText(), "L");
  EXPECT_TRUE(but->Transparent());
}


}  // namespace
}  // namespace vorn
