#include "vorn/platform/graphics/fontengine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace vorn {
namespace {

constexpr TPixel kPaper = 0x123456;
constexpr TPixel kInk = 0xABCDEF;

struct TPixmap {
  int Width;
  int Height;
  std::vector<TPixel> Pixels;

  TPixmap(int width, int height, TPixel fill = kPaper)
      : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height, fill) {}
  [[nodiscard]] TSurface Surface() { return {Pixels.data(), Width, Height, Width}; }
  [[nodiscard]] TPixel At(int x, int y) const { return Pixels[y * Width + x]; }
};

// The box around every pixel that differs from the background.
struct TInk {
  int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN;  // inclusive
  int Count = 0;
};

TInk FindInk(const TPixmap& map, TPixel background = kPaper) {
  TInk ink;
  for (int y = 0; y < map.Height; ++y) {
    for (int x = 0; x < map.Width; ++x) {
      if (map.At(x, y) == background) continue;
      ++ink.Count;
      ink.Left = std::min(ink.Left, x);
      ink.Right = std::max(ink.Right, x);
      ink.Top = std::min(ink.Top, y);
      ink.Bottom = std::max(ink.Bottom, y);
    }
  }
  return ink;
}

TFontSpec Spec(const std::string& name, int height, bool antialias = true) {
  TFontSpec spec;
  spec.Name = name;
  spec.Height = height;
  spec.Antialias = antialias;
  return spec;
}

TPixmap Draw(const TFontSpec& spec, int x, int y, const std::string& text, int width = 200,
             int height = 200, TPixel color = kInk, TPixel paper = kPaper) {
  TPixmap map(width, height, paper);
  AcquireFont(spec)->DrawText(map.Surface(), Rect(0, 0, width, height), x, y, text, color);
  return map;
}

// ---- metrics ---------------------------------------------------------------------

TEST(FontMetrics, HeightIsAscentPlusDescentAndGrowsWithEm) {
  for (const char* family : {"Arial", "Times New Roman", "Courier New", "default"}) {
    int previous = 0;
    for (int em = 6; em <= 60; em += 3) {
      const TTextMetric& m = AcquireFont(Spec(family, -em))->Metric();
      EXPECT_EQ(m.Height, m.Ascent + m.Descent) << family << " em " << em;
      EXPECT_EQ(m.InternalLeading, m.Height - em) << family << " em " << em;
      EXPECT_GT(m.Height, previous) << family << " em " << em;
      EXPECT_GT(m.AveCharWidth, 0);
      EXPECT_GE(m.MaxCharWidth, m.AveCharWidth);
      previous = m.Height;
    }
  }
}

TEST(FontMetrics, PositiveHeightGivesThatCellHeight) {
  for (const char* family : {"Arial", "Tahoma", "Courier New"}) {
    for (int cell = 8; cell <= 80; cell += 4) {
      const int height = AcquireFont(Spec(family, cell))->Metric().Height;
      EXPECT_NEAR(height, cell, 1) << family << " cell " << cell;
    }
  }
}

TEST(FontMetrics, ZeroHeightIsTheElevenPixelDefault) {
  EXPECT_EQ(AcquireFont(Spec("Arial", 0))->Metric().Height,
            AcquireFont(Spec("Arial", -11))->Metric().Height);
  EXPECT_EQ(AcquireFont(Spec("Arial", 0))->TextExtent("Sample"),
            AcquireFont(Spec("Arial", -11))->TextExtent("Sample"));
}

TEST(FontMetrics, ArialLayoutFiguresAtTheDefaultSize) {
  // Layouts are computed from these; Arial-compatible advances must give
  // the classic 8-point figures.
  const TTextMetric& m = AcquireFont(Spec("Arial", -11))->Metric();
  EXPECT_EQ(m.Height, 13);
  EXPECT_EQ(m.Ascent, 10);
  EXPECT_EQ(m.AveCharWidth, 5);
}

TEST(FontMetrics, ExtremeHeightsAreClampedNotHonoured) {
  for (int height : {INT_MIN, INT_MIN + 1, -1000000, -1, 1, 1000000, INT_MAX}) {
    auto font = AcquireFont(Spec("Arial", height));
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->Metric().Height, 0) << height;
    EXPECT_LT(font->Metric().Height, 4096) << height;
    TPixmap map(16, 16);
    font->DrawText(map.Surface(), Rect(0, 0, 16, 16), 0, 0, "W", kInk);
  }
}

// ---- measuring -------------------------------------------------------------------

TEST(FontMeasure, WidthGrowsWithTheStringAndIsAdditive) {
  const std::vector<std::string> pieces = {
      "a",  "W",  "iiii", " ", "Hello", "0.125", "\xC3\xA4\xE2\x82\xAC", "\xE2\x9C\x93",
      "fi", "AV", "To"};
  for (const TFontSpec& spec : {Spec("Arial", -11), Spec("Arial", -11, false),
                                Spec("Times New Roman", -17), Spec("DejaVu Math TeX Gyre", -13)}) {
    auto font = AcquireFont(spec);
    for (const auto& a : pieces) {
      for (const auto& b : pieces) {
        const int wa = font->TextExtent(a).cx;
        const int wb = font->TextExtent(b).cx;
        EXPECT_GT(wa, 0) << a;
        // No kerning: "AV" and "To" too are the sums of their letters.
        EXPECT_EQ(font->TextExtent(a + b).cx, wa + wb) << spec.Name << ": " << a << "|" << b;
      }
    }
  }
}

TEST(FontMeasure, CharAdvanceSumsToTheExtent) {
  auto font = AcquireFont(Spec("Liberation Serif", -15));
  const std::string text = "Grid \xC3\x9F \xE2\x82\xAC 42";
  int sum = 0;
  for (std::size_t pos = 0; pos < text.size();) sum += font->CharAdvance(NextCodePoint(text, pos));
  EXPECT_EQ(sum, font->TextExtent(text).cx);
}

TEST(FontMeasure, EmptyStringHasZeroWidthAndCellHeight) {
  auto font = AcquireFont(Spec("Arial", -14));
  EXPECT_EQ(font->TextExtent(""), (TSize{0, font->Metric().Height}));
}

TEST(FontMeasure, CrispAndAntialiasedTextMeasureAlike) {
  const std::string text = "The quick brown fox jumps over 13 lazy dogs";
  for (int em : {9, 11, 13, 16, 24}) {
    EXPECT_EQ(AcquireFont(Spec("Arial", -em, true))->TextExtent(text),
              AcquireFont(Spec("Arial", -em, false))->TextExtent(text))
        << em;
  }
}

TEST(FontMeasure, SynthesizedBoldWidensEveryCharacter) {
  // The face has no bold style, so bold is made from the regular outlines.
  TFontSpec regular = Spec("DejaVu Math TeX Gyre", -14);
  TFontSpec bold = regular;
  bold.Bold = true;
  for (char32_t ch : {U'a', U'm', U'0', U'Q'}) {
    EXPECT_EQ(AcquireFont(bold)->CharAdvance(ch), AcquireFont(regular)->CharAdvance(ch) + 1);
  }
  EXPECT_GT(FindInk(Draw(bold, 4, 4, "mmmm")).Count, FindInk(Draw(regular, 4, 4, "mmmm")).Count);
}

TEST(FontMeasure, CharactersTheFaceLacksComeFromTheFallbackFace) {
  // Liberation Sans has no check mark; DejaVu Sans has.
  EXPECT_EQ(AcquireFont(Spec("Arial", -20))->CharAdvance(U'\u2713'),
            AcquireFont(Spec("DejaVu Sans", -20))->CharAdvance(U'\u2713'));
  EXPECT_GT(FindInk(Draw(Spec("Arial", -20), 4, 4, "\xE2\x9C\x93")).Count, 0);
  // Nobody has a private-use character: it still takes room.
  EXPECT_GT(AcquireFont(Spec("Arial", -20))->CharAdvance(U'\uE123'), 0);
}

// ---- UTF-8 -----------------------------------------------------------------------

TEST(Utf8, DecodesWellFormedSequences) {
  const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  std::size_t pos = 0;
  EXPECT_EQ(NextCodePoint(text, pos), U'A');
  EXPECT_EQ(NextCodePoint(text, pos), U'\u00E9');
  EXPECT_EQ(NextCodePoint(text, pos), U'\u20AC');
  EXPECT_EQ(NextCodePoint(text, pos), U'\U0001F600');
  EXPECT_EQ(pos, text.size());
}

TEST(Utf8, MalformedBytesComeOutAsLatin1OneAtATime) {
  const std::vector<std::string> malformed = {
      "\xE9",              // lone lead byte
      "\x80\xBF",          // stray continuation bytes
      "\xC0\xAF",          // overlong slash
      "\xE0\x80\xAF",      // overlong three-byte form
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xE2\x82",          // truncated euro sign
      "\xFF\xFE",          // never valid
      "\xC3(",             // continuation missing
  };
  for (const auto& text : malformed) {
    std::size_t pos = 0;
    const auto first = static_cast<unsigned char>(text[0]);
    EXPECT_EQ(NextCodePoint(text, pos), static_cast<char32_t>(first)) << text;
    EXPECT_EQ(pos, 1u) << text;
  }
}

TEST(Utf8, InvalidTextMeasuresLikeItsLatin1Reading) {
  auto font = AcquireFont(Spec("Arial", -13));
  // "caf\xE9" is Latin-1 for "café"; the same text in UTF-8 must match.
  EXPECT_EQ(font->TextExtent("caf\xE9").cx, font->TextExtent("caf\xC3\xA9").cx);
  EXPECT_EQ(font->TextExtent("\xE2\x82").cx, font->CharAdvance(0xE2) + font->CharAdvance(0x82));
  TPixmap map(60, 30);
  font->DrawText(map.Surface(), Rect(0, 0, 60, 30), 2, 2, "\xFF\xC0\xED\xA0\x80\xF4", kInk);
  EXPECT_GT(FindInk(map).Count, 0);
}

// ---- family mapping ------------------------------------------------------------------

TEST(FontFamilies, MissingFamiliesMapToCompatibleFaces) {
  const std::vector<std::pair<const char*, const char*>> expected = {
      {"Arial", "Liberation Sans"},
      {"aRiAl", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},
      {"Microsoft Sans Serif", "Liberation Sans"},
      {"Tahoma", "DejaVu Sans"},
      {"Verdana", "DejaVu Sans"},
      {"Segoe UI", "DejaVu Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"COURIER", "Liberation Mono"},
      {"Consolas", "Liberation Mono"},
      {"Lucida Console", "Liberation Mono"},
  };
  for (const auto& [requested, family] : expected) {
    EXPECT_EQ(AcquireFont(Spec(requested, -11))->FamilyName(), family) << requested;
  }
}

TEST(FontFamilies, DefaultAndEmptyNamesGiveThePlatformSans) {
  const std::string sans = AcquireFont(Spec("sans-serif", -11))->FamilyName();
  ASSERT_FALSE(sans.empty());
  EXPECT_EQ(AcquireFont(Spec("default", -11))->FamilyName(), sans);
  EXPECT_EQ(AcquireFont(Spec("", -11))->FamilyName(), sans);
}

TEST(FontFamilies, UnknownFamilyStillGetsAFace) {
  auto font = AcquireFont(Spec("No Such Family 7", -11));
  ASSERT_NE(font, nullptr);
  EXPECT_FALSE(font->FamilyName().empty());
  EXPECT_GT(font->TextExtent("abc").cx, 0);
  EXPECT_GT(FindInk(Draw(Spec("No Such Family 7", -11), 2, 2, "abc")).Count, 0);
}

TEST(FontCache, SameSpecSharesOneInstanceAndHeldFontsOutliveEviction) {
  auto held = AcquireFont(Spec("Arial", -12));
  EXPECT_EQ(held, AcquireFont(Spec("Arial", -12)));
  const TSize before = held->TextExtent("keep me");
  for (int i = 0; i < 300; ++i) (void)AcquireFont(Spec("Arial", -5 - i % 150, i % 2 == 0));
  EXPECT_EQ(held->TextExtent("keep me"), before);
  EXPECT_GT(FindInk(Draw(Spec("Arial", -12), 2, 2, "keep me")).Count, 0);
}

TEST(FontCache, GlyphCacheOverflowKeepsResultsStable) {
  auto font = AcquireFont(Spec("DejaVu Sans", -10));
  const TPixmap first = Draw(Spec("DejaVu Sans", -10), 2, 2, "abc \xC3\xA9");
  std::string many;
  for (char32_t ch = 0x4E00; ch < 0x4E00 + 6000; ++ch) {
    many += static_cast<char>(0xE0 | (ch >> 12));
    many += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    many += static_cast<char>(0x80 | (ch & 0x3F));
  }
  EXPECT_GT(font->TextExtent(many).cx, 0);
  EXPECT_EQ(Draw(Spec("DejaVu Sans", -10), 2, 2, "abc \xC3\xA9").Pixels, first.Pixels);
}

TEST(FontCache, ConcurrentDrawingMatchesSequential) {
  const TFontSpec spec = Spec("Liberation Sans", -15);
  const std::string text = "Parallel \xC3\xBC text 0123";
  const TPixmap expected = Draw(spec, 3, 3, text, 200, 30);
  std::vector<TPixmap> results(4, TPixmap(200, 30));
  std::vector<std::thread> threads;
  for (auto& result : results) {
    threads.emplace_back([&result, &spec, &text] {
      for (int i = 0; i < 20; ++i) {
        std::fill(result.Pixels.begin(), result.Pixels.end(), kPaper);
        AcquireFont(spec)->DrawText(result.Surface(), Rect(0, 0, 200, 30), 3, 3, text, kInk);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& result : results) EXPECT_EQ(result.Pixels, expected.Pixels);
}

// ---- drawing ---------------------------------------------------------------------

TEST(FontDraw, InkStaysInsideTheTextCell) {
  for (const TFontSpec& spec : {Spec("Arial", -11), Spec("Arial", -11, false),
                                Spec("Times New Roman", -19), Spec("Courier New", -15)}) {
    auto font = AcquireFont(spec);
    const std::string text = "Hjgpqy|[]";
    const int x = 13, y = 9;
    const TInk ink = FindInk(Draw(spec, x, y, text));
    ASSERT_GT(ink.Count, 0);
    EXPECT_GE(ink.Top, y) << spec.Name;
    EXPECT_LE(ink.Bottom, y + font->Metric().Height - 1) << spec.Name;
    EXPECT_GE(ink.Left, x) << spec.Name;
    EXPECT_LE(ink.Right, x + font->TextExtent(text).cx - 1) << spec.Name;
  }
}

TEST(FontDraw, ItalicInkOverhangsOnlyToTheRight) {
  for (const char* family : {"Arial", "DejaVu Math TeX Gyre"}) {  // real and synthesized
    TFontSpec spec = Spec(family, -16);
    spec.Italic = true;
    auto font = AcquireFont(spec);
    const TInk ink = FindInk(Draw(spec, 10, 10, "Hdf"));
    EXPECT_GE(ink.Left, 10) << family;
    EXPECT_GE(ink.Top, 10) << family;
    EXPECT_LE(ink.Bottom, 10 + font->Metric().Height - 1) << family;
    const int overhang = (font->Metric().Ascent + 3) / 4;
    EXPECT_LE(ink.Right, 10 + font->TextExtent("Hdf").cx - 1 + overhang) << family;
  }
}

TEST(FontDraw, OnlyPixelsInsideTheClipChange) {
  for (int orientation : {0, 450, 900}) {
    TFontSpec spec = Spec("Arial", -18);
    spec.Orientation = orientation;
    spec.Underline = true;
    const std::string text = "Clipped text sample";
    const TPixmap full = Draw(spec, 20, 80, text);
    const TRect clip = Rect(37, 41, 83, 96);
    TPixmap clipped(200, 200);
    AcquireFont(spec)->DrawText(clipped.Surface(), clip, 20, 80, text, kInk);
    int inside = 0;
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool in = clip.Contains({x, y});
        const TPixel want = in ? full.At(x, y) : kPaper;
        ASSERT_EQ(clipped.At(x, y), want) << orientation << " at " << x << "," << y;
        inside += (in && want != kPaper) ? 1 : 0;
      }
    }
    EXPECT_GT(inside, 0) << orientation;
  }
}

TEST(FontDraw, ClipOutsideTheSurfaceAndFarCoordinatesAreHarmless) {
  auto font = AcquireFont(Spec("Arial", -12));
  TPixmap map(40, 20);
  font->DrawText(map.Surface(), Rect(-100, -100, 1000, 1000), 2, 2, "Wide", kInk);
  EXPECT_GT(FindInk(map).Count, 0);
  for (const TPoint at : {TPoint{INT_MAX - 3, 0}, TPoint{INT_MIN, 0}, TPoint{0, INT_MAX - 3},
                          TPoint{0, INT_MIN}, TPoint{INT_MIN, INT_MIN}}) {
    TPixmap blank(40, 20);
    font->DrawText(blank.Surface(), Rect(0, 0, 40, 20), at.X, at.Y, "Far away", kInk);
    EXPECT_EQ(FindInk(blank).Count, 0);
  }
  TSurface none;
  font->DrawText(none, Rect(0, 0, 10, 10), 0, 0, "x", kInk);
  TPixmap untouched(20, 20);
  font->DrawText(untouched.Surface(), Rect(5, 5, 5, 20), 0, 0, "xxxx", kInk);
  EXPECT_EQ(FindInk(untouched).Count, 0);
}

TEST(FontDraw, CrispTextWritesOnlyTheExactColour) {
  const TPixmap map = Draw(Spec("Arial", -13, false), 4, 4, "Crisp @ 0.5% gjy", 200, 30);
  int inked = 0;
  for (TPixel pixel : map.Pixels) {
    ASSERT_TRUE(pixel == kPaper || pixel == kInk) << std::hex << pixel;
    inked += pixel == kInk ? 1 : 0;
  }
  EXPECT_GT(inked, 20);
}

TEST(FontDraw, AntialiasedTextBlendsByCoverage) {
  const std::string text = "Smooth @ 0.5% gjy";
  const TFontSpec spec = Spec("Arial", -13);
  const TPixmap white = Draw(spec, 4, 4, text, 200, 30, 0xFFFFFF, 0x000000);
  const TPixmap black = Draw(spec, 4, 4, text, 200, 30, 0x000000, 0xFFFFFF);
  int partial = 0;
  for (std::size_t i = 0; i < white.Pixels.size(); ++i) {
    const TPixel w = white.Pixels[i];
    // Grey levels: all channels equal, and the inverse drawing is the
    // complement (blending rounds symmetrically).
    ASSERT_EQ(w, (w & 0xFF) * 0x010101u);
    ASSERT_EQ(black.Pixels[i], 0xFFFFFFu - w);
    partial += (w != 0 && w != 0xFFFFFF) ? 1 : 0;
  }
  EXPECT_GT(partial, 20);
}

TEST(FontDraw, BlendingKeepsChannelsApart) {
  const TPixmap red = Draw(Spec("Arial", -13), 4, 4, "Red text", 100, 30, 0xFF0000, 0x000000);
  const TInk ink = FindInk(red, 0x000000);
  ASSERT_GT(ink.Count, 0);
  for (TPixel pixel : red.Pixels) ASSERT_EQ(pixel & 0xFFFF, 0u);
  // Same colour as the paper: blending anything leaves it as it was.
  EXPECT_EQ(FindInk(Draw(Spec("Arial", -13), 4, 4, "Same", 100, 30, kPaper, kPaper)).Count, 0);
}

TEST(FontDraw, EmptyStringDrawsNothing) {
  TFontSpec spec = Spec("Arial", -13);
  spec.Underline = true;
  spec.StrikeOut = true;
  EXPECT_EQ(FindInk(Draw(spec, 4, 4, "")).Count, 0);
}

TEST(FontDraw, UnderlineAddsALineBelowTheBaseline) {
  TFontSpec spec = Spec("Arial", -16);
  TFontSpec underlined = spec;
  underlined.Underline = true;
  auto font = AcquireFont(spec);
  const std::string text = "Under";
  const TPixmap plain = Draw(spec, 10, 10, text);
  const TPixmap lined = Draw(underlined, 10, 10, text);
  const int baseline = 10 + font->Metric().Ascent;
  const int width = font->TextExtent(text).cx;
  int extra = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (plain.At(x, y) == lined.At(x, y)) continue;
      ++extra;
      EXPECT_GE(y, baseline);
      EXPECT_LT(y, 10 + font->Metric().Height);
      EXPECT_GE(x, 10);
      EXPECT_LT(x, 10 + width);
    }
  }
  EXPECT_GE(extra, width - 4);  // one full row, less what the glyphs already covered
}

TEST(FontDraw, StrikeOutCrossesAboveTheBaseline) {
  TFontSpec spec = Spec("Arial", -16);
  spec.StrikeOut = true;
  auto font = AcquireFont(spec);
  const TPixmap map = Draw(spec, 10, 10, "    ");  // spaces: only the line shows
  const TInk ink = FindInk(map);
  ASSERT_GT(ink.Count, 0);
  EXPECT_LT(ink.Bottom, 10 + font->Metric().Ascent);
  EXPECT_GT(ink.Top, 10);
  EXPECT_EQ(ink.Left, 10);
  EXPECT_EQ(ink.Right, 10 + font->TextExtent("    ").cx - 1);
}

// ---- rotation --------------------------------------------------------------------

TInk DrawRotated(int orientation, const std::string& text, int x, int y, bool antialias = true) {
  TFontSpec spec = Spec("Arial", -14, antialias);
  spec.Orientation = orientation;
  return FindInk(Draw(spec, x, y, text));
}

TEST(FontRotation, NinetyDegreesRunsUpwardFromTheReferencePoint) {
  auto font = AcquireFont(Spec("Arial", -14));
  const std::string text = "Upward text";
  const int width = font->TextExtent(text).cx;
  const int height = font->Metric().Height;
  for (bool antialias : {true, false}) {
    const TInk ink = DrawRotated(900, text, 60, 150, antialias);
    EXPECT_LE(ink.Bottom, 150) << antialias;
    EXPECT_GE(ink.Top, 150 - width - 1) << antialias;
    EXPECT_LE(ink.Top, 150 - width + 10) << antialias;  // it does run the whole way
    EXPECT_GE(ink.Left, 60) << antialias;
    EXPECT_LE(ink.Right, 60 + height) << antialias;
  }
}

TEST(FontRotation, HalfTurnLiesLeftOfAndAboveTheReferencePoint) {
  auto font = AcquireFont(Spec("Arial", -14));
  const std::string text = "Upside down";
  const TInk ink = DrawRotated(1800, text, 150, 100);
  EXPECT_LE(ink.Right, 150);
  EXPECT_GE(ink.Left, 150 - font->TextExtent(text).cx - 1);
  EXPECT_LE(ink.Bottom, 100);
  EXPECT_GE(ink.Top, 100 - font->Metric().Height - 1);
}

TEST(FontRotation, ThreeQuartersRunsDownwardLeftOfTheReferencePoint) {
  auto font = AcquireFont(Spec("Arial", -14));
  const TInk ink = DrawRotated(2700, "Downward", 100, 20);
  EXPECT_GE(ink.Top, 20);
  EXPECT_LE(ink.Bottom, 20 + font->TextExtent("Downward").cx);
  EXPECT_LE(ink.Right, 100);
  EXPECT_GE(ink.Left, 100 - font->Metric().Height);
}

TEST(FontRotation, AnglesAreTakenModuloAFullTurn) {
  TFontSpec a = Spec("Arial", -14);
  TFontSpec b = a;
  a.Orientation = -900;
  b.Orientation = 2700 + 3600 * 3;
  EXPECT_EQ(Draw(a, 100, 20, "Same").Pixels, Draw(b, 100, 20, "Same").Pixels);
  a.Orientation = 3600;
  b.Orientation = 0;
  EXPECT_EQ(Draw(a, 10, 20, "Same").Pixels, Draw(b, 10, 20, "Same").Pixels);
}

TEST(FontRotation, RotatedUnderlineTurnsWithTheText) {
  TFontSpec spec = Spec("Arial", -14);
  spec.Orientation = 900;
  spec.Underline = true;
  auto font = AcquireFont(spec);
  const TInk ink = FindInk(Draw(spec, 60, 150, "    "));
  // A vertical bar right of the baseline (which runs up at X + Ascent).
  ASSERT_GT(ink.Count, 0);
  EXPECT_GE(ink.Left, 60 + font->Metric().Ascent);
  EXPECT_LE(ink.Right, 60 + font->Metric().Height);
  EXPECT_GE(ink.Bottom - ink.Top + 2, font->TextExtent("    ").cx);
}

}  // namespace
}  // namespace vorn
