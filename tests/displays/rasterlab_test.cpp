// TRasterLab: the built-in font's glyph bits, dot and grid placement to
// the pixel, block bands, auto height and centre, scrolling on the virtual
// clock in all four directions, glyph sets from fonts and odd input.
#include "vorn/displays/rasterlab.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/displays/picture.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

using testpic::Picture;

std::vector<int> Rows(const TRDCharMatrix& M, int Code) {
  return std::vector<int>(M.BitData[Code], M.BitData[Code] + 12);
}

TEST(RasterFontTest, BuiltInGlyphsMatchTheReferenceExamples) {
  const TRDCharMatrix& f = BuiltInRasterFont();
  EXPECT_EQ(f.FontWidth, 7);
  EXPECT_EQ(f.FontHeight, 12);
  EXPECT_EQ(Rows(f, '0'), (std::vector<int>{0x00, 0x1C, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x1C, 0x00, 0x00}));
  EXPECT_EQ(Rows(f, 'A'), (std::vector<int>{0x00, 0x08, 0x08, 0x14, 0x14, 0x22, 0x3E, 0x22, 0x22, 0x77, 0x00, 0x00}));
  EXPECT_EQ(Rows(f, '.'), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0}));
  EXPECT_EQ(Rows(f, 'g'), (std::vector<int>{0, 0, 0, 0, 0x7E, 0x21, 0x21, 0x21, 0x3E, 0x20, 0x20, 0x1E}));
  EXPECT_EQ(Rows(f, ' '), (std::vector<int>(12, 0)));
  const std::pair<int, std::pair<int, int>> spans[] = {{'0', {1, 5}}, {'A', {0, 6}}, {'.', {3, 3}},
                                                       {'g', {0, 6}}, {' ', {0, 6}}, {0xA0, {0, 6}}};
  for (const auto& [code, span] : spans) {
    EXPECT_EQ(f.LeftMostBit[code], span.first) << code;
    EXPECT_EQ(f.RightMostBit[code], span.second) << code;
  }
  // Nothing below 32, nothing beyond row 11 or column 6.
  EXPECT_EQ(f.BitData[31][3], 0u);
  for (int code = 32; code < 256; ++code)
    for (int r = 0; r < 32; ++r) ASSERT_EQ(f.BitData[code][r] & ~(r < 12 ? 0x7Fu : 0u), 0u) << code;
}

TEST(RasterFontTest, EveryPrintableCodeHasItsOwnGlyph) {
  const TRDCharMatrix& f = BuiltInRasterFont();
  auto glyph = [&](int code) { return Rows(f, code); };
  for (int code = 33; code < 256; ++code) {
    if (code >= 127 && code <= 160) continue;
    EXPECT_NE(glyph(code), std::vector<int>(12, 0)) << code;
  }
  // Accented letters keep their base and add an accent above it.
  EXPECT_NE(glyph(0xC4), glyph('A'));
  EXPECT_NE(glyph(0xC4), glyph(0xC5));
  EXPECT_EQ(glyph(0xE4)[4], glyph('a')[4]);
  EXPECT_NE(glyph(0xE4)[1], 0);
  EXPECT_NE(glyph(0xE7)[11], 0);  // cedilla below
  EXPECT_NE(glyph('O'), glyph('0'));
}

TEST(RasterFontTest, CharactersOutsideLatin1ShowAsQuestionMarks) {
  EXPECT_EQ(TRasterLab::GlyphCode(U'\u20AC'), '?');
  EXPECT_EQ(TRasterLab::GlyphCode(U'\n'), '?');
  EXPECT_EQ(TRasterLab::GlyphCode(U'\u00E9'), 0xE9);
  EXPECT_EQ(TRasterLab::GlyphCode(U'~'), '~');
}

class RasterLabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 200);
    lab = new TRasterLab(form.get());
    lab->SetParent(form.get());
    form->Show();
  }
  void TearDown() override { SetTimersUnavailable(false); }
  std::unique_ptr<TBitmap> Shot() { return HeadlessHost().Snapshot(*lab); }
  std::unique_ptr<TForm> form;
  TRasterLab* lab = nullptr;
};

TEST_F(RasterLabTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(lab->Width(), 400);
  EXPECT_EQ(lab->Height(), 68);
  EXPECT_EQ(lab->Text(), "Text");
  EXPECT_EQ(lab->DotSize(), 3);
  EXPECT_EQ(lab->DotSpacing(), 1);
  EXPECT_EQ(lab->CharBlockMode(), rdbmOn);
  EXPECT_EQ(lab->ColorDotOn(), 0x00FF00);
  EXPECT_EQ(lab->ColorDotOff(), 0x404040);
  EXPECT_EQ(lab->ScrollInterval(), 100);
  EXPECT_TRUE(lab->ScrollLoop());
  EXPECT_TRUE(lab->Proportional());
  EXPECT_EQ(lab->PosX(), 1);
  EXPECT_EQ(lab->Font()->Name(), "default");
  EXPECT_EQ(std::memcmp(&lab->CharMatrix(), &BuiltInRasterFont(), sizeof(TRDCharMatrix)), 0);
}

TEST_F(RasterLabTest, SettersClampAsDocumented) {
  lab->SetScrollInterval(5);
  EXPECT_EQ(lab->ScrollInterval(), 10);
  lab->SetScrollIncrement(-3);
  EXPECT_EQ(lab->ScrollIncrement(), 3);
  lab->SetScrollIncrement(0);
  EXPECT_EQ(lab->ScrollIncrement(), 1);
  lab->SetDotSize(0);
  EXPECT_EQ(lab->DotSize(), 1);
  lab->SetDotSize(99);
  EXPECT_EQ(lab->DotSize(), 32);
  lab->SetDotSpacing(9);
  EXPECT_EQ(lab->DotSpacing(), 3);
  lab->SetDotSpacing(-1);
  EXPECT_EQ(lab->DotSpacing(), 0);
}

// Dot size 1, spacing 1 (pitch 2) from (1, 1): grid lines on the even rows
// and columns, cells on the odd ones; "T" lights its top bar on glyph row
// 1 (pixel row 3) and its stem in column 3 (pixel column 7); the block
// band after the glyph blanks pixel column 15.
TEST_F(RasterLabTest, DotsAndGridSitOnThePitch) {
  lab->SetFrameStyle(fsNone);
  lab->SetDotSize(1);
  lab->SetBounds(0, 0, 18, 8);
  lab->SetText("T");
  auto shot = Shot();
  EXPECT_EQ(Picture(*shot, {{clBlack, '.'}, {0x404040, 'o'}, {0x00FF00, '#'}}),
            (std::vector<std::string>{
                "..................",
                ".o.o.o.o.o.o.o...o",
                "..................",
                ".#.#.#.#.#.#.#...o",
                "..................",
                ".o.o.o.#.o.o.o...o",
                "..................",
                ".o.o.o.#.o.o.o...o",
            }));
  EXPECT_EQ(lab->TextBitLength(), 17);
}

TEST_F(RasterLabTest, BlockModesAndSpacing) {
  lab->SetFrameStyle(fsNone);
  lab->SetDotSize(1);
  lab->SetBounds(0, 0, 18, 4);
  lab->SetText("T");
  lab->SetCharBlockMode(rdbmRaster);  // grid without the bands
  EXPECT_EQ(Picture(*Shot(), {{clBlack, '.'}, {0x404040, 'o'}, {0x00FF00, '#'}})[3], ".#.#.#.#.#.#.#.o.o");
  lab->SetCharBlockMode(rdbmOff);  // no grid: unlit dots are background
  EXPECT_EQ(Picture(*Shot(), {{clBlack, '.'}, {0x404040, 'o'}, {0x00FF00, '#'}})[3], ".#.#.#.#.#.#.#....");
  lab->SetCharBlockMode(rdbmRaster);
  lab->SetDotSpacing(0);  // cells touch: no gaps at all
  EXPECT_EQ(Picture(*Shot(), {{clBlack, '.'}, {0x404040, 'o'}, {0x00FF00, '#'}})[2], "o#######oooooooooo");
}

TEST_F(RasterLabTest, ProportionalAndFixedWidths) {
  lab->SetText("i");
  const int narrow = lab->TextLength();
  lab->SetText("W");
  EXPECT_LT(narrow, lab->TextLength());
  lab->SetProportional(false);
  EXPECT_EQ(lab->TextLength(), (7 + 1) * 4);
  lab->SetText("i");
  EXPECT_EQ(lab->TextLength(), (7 + 1) * 4);
}

TEST_F(RasterLabTest, AutoHeightAndAutoCenter) {
  lab->SetAutoHeight(true);
  EXPECT_EQ(lab->Height(), 1 + 4 * 12);
  lab->SetFrameStyle(fsEmbossed);
  lab->SetDotSize(4);
  EXPECT_EQ(lab->Height(), 2 + 5 * 12);
  lab->SetAutoCenter(true);
  EXPECT_EQ(lab->PosX(), (400 - lab->TextLength()) / 2 + 2 + 1);
  lab->SetText(std::string(200, 'W'));
  EXPECT_LT(lab->PosX(), 1);
  lab->SetAutoCenter(false);
  EXPECT_EQ(lab->PosX(), 1);
}

TEST_F(RasterLabTest, ScrollRightRestartsFromTheLeftOnTheClock) {
  auto& host = HeadlessHost();
  lab->SetBounds(0, 0, 40, 20);
  lab->SetScrollInterval(10);
  lab->SetScrollIncrement(15);
  int steps = 0, restarts = 0;
  lab->SetOnScrollTimer([&](TObject*) { ++steps; });
  lab->SetOnScrollLoopRestart([&](TObject*) { ++restarts; });
  lab->SetScrollMode(rdsmRight);
  host.Advance(20);
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(lab->ScrollPosX(), 30);
  EXPECT_EQ(restarts, 0);
  host.Advance(10);  // 45 is beyond the width of 40: start over left of the display
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(lab->ScrollPosX(), -lab->TextBitLength());
  lab->SetScrollMode(rdsmOff);
  EXPECT_EQ(lab->ScrollPosX(), 0);
  host.Advance(100);
  EXPECT_EQ(steps, 3);
}

TEST_F(RasterLabTest, LeftDownAndUpMirrorTheRightRule) {
  auto& host = HeadlessHost();
  lab->SetBounds(0, 0, 40, 20);
  lab->SetScrollInterval(10);
  lab->SetScrollIncrement(30);
  int restarts = 0;
  lab->SetOnScrollLoopRestart([&](TObject*) { ++restarts; });
  host.Advance(1);
  lab->Repaint();  // the text length is measured by a paint
  const int length = lab->TextBitLength();
  lab->SetScrollMode(rdsmLeft);
  int steps = 0;
  while (restarts == 0 && steps < 100) {
    host.Advance(10);
    ++steps;
  }
  EXPECT_EQ(steps, length / 30 + 1);
  EXPECT_EQ(lab->ScrollPosX(), 40);
  lab->SetScrollMode(rdsmOff);
  lab->SetScrollIncrement(15);
  lab->SetScrollMode(rdsmDown);
  host.Advance(10);
  EXPECT_EQ(lab->ScrollPosY(), 15);
  host.Advance(10);  // 30 is below the height of 20: start over above the display
  EXPECT_EQ(restarts, 2);
  EXPECT_EQ(lab->ScrollPosY(), -12 * 4);
  lab->SetScrollMode(rdsmOff);
  lab->SetScrollMode(rdsmUp);
  host.Advance(30);
  EXPECT_EQ(lab->ScrollPosY(), -45);
  EXPECT_EQ(restarts, 2);
  host.Advance(10);  // -60: the text has left at the top, it enters from below
  EXPECT_EQ(restarts, 3);
  EXPECT_EQ(lab->ScrollPosY(), 20);
}

TEST_F(RasterLabTest, WithoutALoopTheTextJustLeaves) {
  auto& host = HeadlessHost();
  lab->SetScrollLoop(false);
  lab->SetScrollInterval(10);
  lab->SetScrollIncrement(1000);
  lab->SetScrollMode(rdsmRight);
  host.Advance(100);
  EXPECT_EQ(lab->ScrollPosX(), 10000);
}

TEST_F(RasterLabTest, NoTimerRaisesTheUnitError) {
  lab->SetName("Ticker");
  SetTimersUnavailable(true);
  try {
    lab->SetScrollMode(rdsmLeft);
    FAIL() << "no exception";
  } catch (const EVORNRasterLabError& e) {
    EXPECT_STREQ(e.what(), "Component \"Ticker\": no timer available");
  }
}

TEST_F(RasterLabTest, FontsRebuildTheGlyphSet) {
  lab->Font()->SetName("DejaVu Sans");
  lab->Font()->SetSize(10);
  const TRDCharMatrix& m = lab->CharMatrix();
  EXPECT_NE(std::memcmp(&m, &BuiltInRasterFont(), sizeof m), 0);
  EXPECT_GT(m.FontHeight, 8);
  EXPECT_GT(m.RightMostBit['W'] - m.LeftMostBit['W'], m.RightMostBit['i'] - m.LeftMostBit['i']);
  EXPECT_EQ(m.LeftMostBit[' '], 0);
  EXPECT_EQ(m.RightMostBit[' '], m.FontWidth / 2);
  lab->Font()->SetName("DEFAULT");
  EXPECT_EQ(std::memcmp(&lab->CharMatrix(), &BuiltInRasterFont(), sizeof(TRDCharMatrix)), 0);
}

TEST_F(RasterLabTest, ForeignGlyphSetsAreCutToFit) {
  TRDCharMatrix m = BuiltInRasterFont();
  m.FontWidth = 1000;
  m.FontHeight = -4;
  m.LeftMostBit['x'] = 200;
  m.RightMostBit['x'] = 255;
  m.LeftMostBit['y'] = 20;
  m.RightMostBit['y'] = 3;  // an empty glyph has no columns
  lab->SetCharMatrix(m);
  EXPECT_EQ(lab->CharMatrix().FontWidth, 32);
  EXPECT_EQ(lab->CharMatrix().FontHeight, 0);
  EXPECT_EQ(lab->CharMatrix().LeftMostBit['x'], 31);
  lab->SetText("y");
  EXPECT_EQ(lab->TextLength(), 4);
  lab->SetText("xyx");
  EXPECT_NO_THROW(Shot());
}

TEST_F(RasterLabTest, AssignCopiesTheListedProperties) {
  lab->SetText("abc");
  lab->SetColorDotOn(clRed);
  lab->SetColorDotOff(clBlue);
  TRasterLab other(nullptr);
  other.Assign(lab);
  EXPECT_EQ(other.Text(), "abc");
  EXPECT_EQ(other.ColorDotOn(), clRed);
  EXPECT_EQ(other.ColorDotOff(), 0x404040);
}

TEST_F(RasterLabTest, RandomSettingsPaintSafely) {
  std::mt19937 rng(63);
  const std::string texts[] = {"", "\xE2\x82\xAC\xF0\x9F\x98\x80", std::string(100000, 'M'), "\xFF\xC3", "Gr\xC3\xBC\xC3\x9F"};
  for (int round = 0; round < 80; ++round) {
    lab->SetBounds(0, 0, static_cast<int>(rng() % 300) + 1, static_cast<int>(rng() % 80) + 1);
    lab->SetDotSize(static_cast<int>(rng() % 40) - 4);
    lab->SetDotSpacing(static_cast<int>(rng() % 6) - 1);
    lab->SetFrameStyle(static_cast<TFrameStyle>(rng() % 6));
    lab->SetCharBlockMode(static_cast<TRDBlockMode>(rng() % 3));
    lab->SetProportional(rng() % 2);
    lab->SetPosX(static_cast<int>(rng() % 400) - 200);
    lab->SetPosY(static_cast<int>(rng() % 100) - 50);
    lab->SetText(texts[rng() % 5]);
    lab->SetAutoCenter(rng() % 3 == 0);
    lab->SetAutoHeight(rng() % 4 == 0);
    ASSERT_NO_THROW(Shot()) << round;
  }
}

}  // namespace
}  // namespace vorn
