// Picture file reading and writing: BMP files built byte by byte for every
// header kind, depth and orientation; PNG and JPEG files made with libpng
// and libjpeg; round trips; and hostile data (truncation, lying headers,
// huge sizes, random damage) that must be refused cleanly.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "vorn/platform/graphics/imagecodec.h"
#include "vorn/platform/graphics/imagefile.h"

namespace vorn {
namespace {

using TBytes = std::vector<std::uint8_t>;

// ---- BMP files built byte by byte ------------------------------------------

void PutU16(TBytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(TBytes& b, std::size_t at, std::uint32_t v) {
  PutU16(b, at, v);
  PutU16(b, at + 2, v >> 16);
}
void AppendU32(TBytes& b, std::uint32_t v) {
  b.resize(b.size() + 4);
  PutU32(b, b.size() - 4, v);
}

struct TBmpSpec {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 1;
  std::int32_t Height = 1;  // negative: top-down
  std::uint16_t Bits = 24;
  std::uint32_t Compression = 0;
  std::uint32_t ColorsUsed = 0;
  std::vector<std::uint32_t> Palette;  // 0x00RRGGBB
  std::vector<std::uint32_t> Masks;    // red, green, blue[, alpha]
  std::vector<TBytes> Rows;            // file order, unpadded
  TBytes Rle;                          // pixel data used as is for RLE
};

TBytes BuildBmp(const TBmpSpec& spec) {
  TBytes b(14 + spec.HeaderSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutU32(b, 14, spec.HeaderSize);
  if (spec.HeaderSize == 12) {
    PutU16(b, 18, static_cast<std::uint32_t>(spec.Width));
    PutU16(b, 20, static_cast<std::uint32_t>(spec.Height));
    PutU16(b, 22, 1);
    PutU16(b, 24, spec.Bits);
  } else if (spec.HeaderSize == 16) {
    PutU32(b, 18, static_cast<std::uint32_t>(spec.Width));
    PutU32(b, 22, static_cast<std::uint32_t>(spec.Height));
    PutU16(b, 26, 1);
    PutU16(b, 28, spec.Bits);
  } else {
    PutU32(b, 18, static_cast<std::uint32_t>(spec.Width));
    PutU32(b, 22, static_cast<std::uint32_t>(spec.Height));
    PutU16(b, 26, 1);
    PutU16(b, 28, spec.Bits);
    PutU32(b, 30, spec.Compression);
    PutU32(b, 46, spec.ColorsUsed);
    for (std::size_t i = 0; i < spec.Masks.size(); ++i) {
      if (spec.HeaderSize > 40) {
        PutU32(b, 54 + 4 * i, spec.Masks[i]);
      } else {
        AppendU32(b, spec.Masks[i]);
      }
    }
  }
  for (const std::uint32_t c : spec.Palette) {
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
    b.push_back(static_cast<std::uint8_t>(c >> 16));
    if (spec.HeaderSize != 12) b.push_back(0);
  }
  PutU32(b, 10, static_cast<std::uint32_t>(b.size()));
  b.insert(b.end(), spec.Rle.begin(), spec.Rle.end());
  for (const TBytes& row : spec.Rows) {
    b.insert(b.end(), row.begin(), row.end());
    b.resize(b.size() + (4 - row.size() % 4) % 4, 0);
  }
  PutU32(b, 2, static_cast<std::uint32_t>(b.size()));
  return b;
}

TImageData Read(const TBytes& b) { return ReadImage(b.data(), b.size()); }

// The message of the EInvalidGraphic the data raises; fails the test when
// it raises nothing or something else.
std::string Refusal(const TBytes& b) {
  try {
    Read(b);
  } catch (const EInvalidGraphic& e) {
    return e.what();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "unexpected exception: " << e.what();
    return {};
  }
  ADD_FAILURE() << "data was accepted";
  return {};
}

#define EXPECT_REFUSED(bytes, fragment) EXPECT_NE(Refusal(bytes).find(fragment), std::string::npos) << Refusal(bytes)

// A 3 x 2 1-bit picture: rows (top first) 1 0 1 / 0 1 1.
TBmpSpec OneBitSpec() {
  TBmpSpec s;
  s.Width = 3;
  s.Height = 2;
  s.Bits = 1;
  s.Palette = {0x000000, 0xFFFFFF};
  s.Rows = {{0b01100000}, {0b10100000}};  // bottom row first
  return s;
}

// A 3 x 2 top-down 4-bit picture with three colours.
TBmpSpec FourBitTopDownSpec() {
  TBmpSpec s;
  s.Width = 3;
  s.Height = -2;
  s.Bits = 4;
  s.ColorsUsed = 3;
  s.Palette = {0x102030, 0x405060, 0x708090};
  s.Rows = {{0x01, 0x20}, {0x21, 0x00}};
  return s;
}

TBmpSpec EightBitCoreSpec() {
  TBmpSpec s;
  s.HeaderSize = 12;
  s.Width = 2;
  s.Height = 2;
  s.Bits = 8;
  s.Palette.assign(256, 0);
  s.Palette[7] = 0xFF0000;
  s.Palette[200] = 0x00FF00;
  s.Rows = {{7, 200}, {200, 7}};
  return s;
}

TBmpSpec Rgb24Spec() {
  TBmpSpec s;
  s.Width = 3;
  s.Height = 2;
  s.Rows = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF}};
  return s;
}

TBmpSpec Rgb16Spec() {
  TBmpSpec s;
  s.Width = 3;
  s.Height = 1;
  s.Bits = 16;
  s.Rows = {{0xFF, 0x7F, 0x00, 0x7C, 0x01, 0x00}};  // white, red, blue 1/31
  return s;
}

// Masks in an unusual order (red in the low byte) with alpha, V5 header.
TBmpSpec Bitfields32Spec() {
  TBmpSpec s;
  s.HeaderSize = 124;
  s.Width = 2;
  s.Height = -1;
  s.Bits = 32;
  s.Compression = 3;
  s.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  s.Rows = {{0x11, 0x22, 0x33, 0x80, 0xAA, 0xBB, 0xCC, 0xFF}};
  return s;
}

TBmpSpec Rle8Spec() {
  TBmpSpec s;
  s.Width = 4;
  s.Height = 3;
  s.Bits = 8;
  s.Compression = 1;
  s.Palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
  s.Rle = {3, 1, 0, 0,                // bottom row: 1 1 1 (last pixel skipped)
           0, 3, 2, 3, 1, 0,          // literal 2 3 1, padded
           1, 2, 0, 0,                // 2, end of line
           0, 2, 2, 0,                // delta: two right on the top row
           2, 3, 0, 1};               // 3 3, end of bitmap
  return s;
}

TBmpSpec Rle4Spec() {
  TBmpSpec s;
  s.Width = 5;
  s.Height = 2;
  s.Bits = 4;
  s.Compression = 2;
  s.ColorsUsed = 3;
  s.Palette = {0x000000, 0x111111, 0x222222};
  s.Rle = {5, 0x12, 0, 0,         // bottom row: 1 2 1 2 1
           0, 3, 0x21, 0x00, 0, 0, 0, 1};  // literal 2 1 0, end of bitmap (tail unset)
  return s;
}

std::vector<TBmpSpec> AllValidSpecs() {
  return {OneBitSpec(), FourBitTopDownSpec(), EightBitCoreSpec(), Rgb24Spec(),
          Rgb16Spec(),  Bitfields32Spec(),    Rle8Spec(),         Rle4Spec()};
}

TEST(BmpRead, PaletteDepthsGiveIndicesPaletteAndPixels) {
  const TImageData one = Read(BuildBmp(OneBitSpec()));
  EXPECT_EQ(one.Width, 3);
  EXPECT_EQ(one.Height, 2);
  EXPECT_EQ(one.SourceBits, 1);
  EXPECT_EQ(one.Indices, (TBytes{1, 0, 1, 0, 1, 1}));
  EXPECT_EQ(one.Palette, (std::vector<TColor>{clBlack, clWhite}));
  EXPECT_EQ(one.Pixels[0], 0xFFFFFFu);
  EXPECT_EQ(one.Pixels[1], 0u);

  const TImageData four = Read(BuildBmp(FourBitTopDownSpec()));
  EXPECT_EQ(four.Height, 2);
  EXPECT_EQ(four.Indices, (TBytes{0, 1, 2, 2, 1, 0}));
  ASSERT_EQ(four.Palette.size(), 3u);  // the count in the header, not 16
  EXPECT_EQ(four.Palette[0], RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(four.Pixels[2], 0x708090u);

  const TImageData core = Read(BuildBmp(EightBitCoreSpec()));
  EXPECT_EQ(core.Palette.size(), 256u);
  EXPECT_EQ(core.Indices, (TBytes{200, 7, 7, 200}));
  EXPECT_EQ(core.Pixels[0], 0x00FF00u);
  EXPECT_EQ(core.Pixels[1], 0xFF0000u);
  EXPECT_TRUE(core.Alpha.empty());
}

TEST(BmpRead, TrueColourDepths) {
  const TImageData rgb = Read(BuildBmp(Rgb24Spec()));
  EXPECT_EQ(rgb.SourceBits, 24);
  EXPECT_TRUE(rgb.Palette.empty());
  EXPECT_TRUE(rgb.Indices.empty());
  EXPECT_EQ(rgb.Pixels, (std::vector<TPixel>{0x0000FF, 0x00FF00, 0xFF0000, 0x030201, 0x060504, 0x090807}));

  const TImageData r16 = Read(BuildBmp(Rgb16Spec()));
  EXPECT_EQ(r16.Pixels, (std::vector<TPixel>{0xFFFFFF, 0xFF0000, 0x000008}));

  const TImageData r32 = Read(BuildBmp(Bitfields32Spec()));
  EXPECT_EQ(r32.Pixels, (std::vector<TPixel>{0x112233, 0xAABBCC}));
  EXPECT_EQ(r32.Alpha, (TBytes{0x80, 0xFF}));
}

TEST(BmpRead, MasksOfAnyWidthScaleToEightBits) {
  TBmpSpec s;
  s.Bits = 16;
  s.Width = 2;
  s.Compression = 3;
  s.Masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5, after a 40-byte header
  s.Rows = {{0xE0, 0x07, 0x20, 0x00}};  // full green; green 1/63
  EXPECT_EQ(Read(BuildBmp(s)).Pixels, (std::vector<TPixel>{0x00FF00, 0x000400}));

  s.HeaderSize = 56;  // 2-10-10-10 with the masks inside the header
  s.Bits = 32;
  s.Masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
  s.Rows = {{0xFF, 0x03, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x60}};  // blue full, alpha 3; red 512, alpha 1
  const TImageData deep = Read(BuildBmp(s));
  EXPECT_EQ(deep.Pixels, (std::vector<TPixel>{0x0000FF, 0x800000}));
  EXPECT_EQ(deep.Alpha, (TBytes{255, 85}));
}

TEST(BmpRead, AlphaChannel) {
  TBmpSpec s;
  s.HeaderSize = 108;
  s.Width = 2;
  s.Bits = 32;
  s.Masks = {0, 0, 0, 0xFF000000};  // BI_RGB with an alpha mask in the header
  s.Rows = {{1, 2, 3, 0, 4, 5, 6, 0}};
  const TImageData zeroAlpha = Read(BuildBmp(s));
  EXPECT_TRUE(zeroAlpha.Alpha.empty()) << "an all-zero alpha channel means opaque";
  EXPECT_EQ(zeroAlpha.Pixels, (std::vector<TPixel>{0x030201, 0x060504}));

  s.Rows = {{1, 2, 3, 0, 4, 5, 6, 9}};
  EXPECT_EQ(Read(BuildBmp(s)).Alpha, (TBytes{0, 9}));

  s.HeaderSize = 40;  // no alpha mask: the fourth byte is padding
  s.Masks.clear();
  EXPECT_TRUE(Read(BuildBmp(s)).Alpha.empty());
}

TEST(BmpRead, RleRunsLiteralsDeltasAndSkippedPixels) {
  const TImageData rle8 = Read(BuildBmp(Rle8Spec()));
  EXPECT_EQ(rle8.SourceBits, 8);
  // Top row first: delta skipped two pixels of the top row.
  EXPECT_EQ(rle8.Indices, (TBytes{0, 0, 3, 3,  //
                                  2, 3, 1, 2,  //
                                  1, 1, 1, 0}));
  EXPECT_EQ(rle8.Pixels[2], 0xFF0000u);

  const TImageData rle4 = Read(BuildBmp(Rle4Spec()));
  EXPECT_EQ(rle4.Indices, (TBytes{2, 1, 0, 0, 0,  //
                                  1, 2, 1, 2, 1}));
}

// Writers that encode the padded row run past the picture's width; such
// pixels, and deltas past the right edge, are dropped at the row end.
TEST(BmpRead, RleRunsAndDeltasAreClippedAtTheRowEnd) {
  TBmpSpec s = Rle8Spec();
  s.Rle = {6, 1, 0, 0,           // bottom row: six pixels into a row of four
           0, 5, 2, 3, 2, 3, 2, 0,  // literal of five, one beyond the row
           0, 0,                 // end of line
           0, 2, 3, 0, 1, 3,     // delta to x 3, then a run of one: x 3 only
           0, 2, 9, 0,           // delta far past the right edge
           4, 2, 0, 1};          // nothing more shows on this row
  EXPECT_EQ(Read(BuildBmp(s)).Indices, (TBytes{0, 0, 0, 3,  //
                                               2, 3, 2, 3,  //
                                               1, 1, 1, 1}));

  TBmpSpec four = Rle4Spec();
  four.Rle = {8, 0x12, 0, 0,               // bottom row: 1 2 1 2 1, three clipped
              0, 7, 0x21, 0x21, 0x21, 0x20, 0, 1};  // literal of seven, two clipped
  EXPECT_EQ(Read(BuildBmp(four)).Indices, (TBytes{2, 1, 2, 1, 2,  //
                                                  1, 2, 1, 2, 1}));
}

TEST(BmpRead, Os2Headers) {
  TBmpSpec s = FourBitTopDownSpec();  // 4-byte palette entries
  s.Height = 2;
  s.HeaderSize = 64;
  const TImageData os2 = Read(BuildBmp(s));
  EXPECT_EQ(os2.Indices, (TBytes{2, 1, 0, 0, 1, 2}));
  EXPECT_EQ(os2.Palette.size(), 3u);
  EXPECT_EQ(os2.Pixels[0], 0x708090u);

  s = Rgb24Spec();
  s.HeaderSize = 16;
  EXPECT_EQ(Read(BuildBmp(s)).Pixels, Read(BuildBmp(Rgb24Spec())).Pixels);
  s.HeaderSize = 64;
  s.Bits = 32;  // no 16- or 32-bit pixels in this format
  EXPECT_REFUSED(BuildBmp(s), "unsupported depth");
}

// With colour masks in a V4 or V5 header the alpha channel is declared, so
// a fully transparent picture stays transparent.
TEST(BmpRead, DeclaredAlphaIsHonouredEvenWhenAllZero) {
  TBmpSpec s = Bitfields32Spec();
  s.Rows = {{0x11, 0x22, 0x33, 0, 0xAA, 0xBB, 0xCC, 0}};
  EXPECT_EQ(Read(BuildBmp(s)).Alpha, (TBytes{0, 0}));
  s.HeaderSize = 108;
  EXPECT_EQ(Read(BuildBmp(s)).Alpha, (TBytes{0, 0}));

  TBmpSpec argb = Rgb16Spec();  // 1-5-5-5 with alpha clear everywhere
  argb.HeaderSize = 108;
  argb.Compression = 3;
  argb.Masks = {0x7C00, 0x03E0, 0x001F, 0x8000};
  EXPECT_EQ(Read(BuildBmp(argb)).Alpha, (TBytes{0, 0, 0}));
}

TEST(BmpRead, ShortPaletteWithoutCountUsesWhatFits) {
  TBmpSpec s = EightBitCoreSpec();
  s.HeaderSize = 40;
  s.Palette.resize(201);  // count 0 means 256, but only 201 entries precede the pixels
  const TImageData image = Read(BuildBmp(s));
  EXPECT_EQ(image.Palette.size(), 201u);
  EXPECT_EQ(image.Indices, (TBytes{200, 7, 7, 200}));
}

// ---- hostile BMP data -------------------------------------------------------

TEST(BmpHostile, LyingOffsetsAndPaletteCounts) {
  TBytes b = BuildBmp(Rgb24Spec());
  PutU32(b, 10, 1'000'000);
  EXPECT_REFUSED(b, "beyond the end");
  PutU32(b, 10, 20);
  EXPECT_REFUSED(b, "inside the headers");

  TBmpSpec s = EightBitCoreSpec();
  s.HeaderSize = 40;
  s.ColorsUsed = 300;
  EXPECT_REFUSED(BuildBmp(s), "too large");
  s.ColorsUsed = 0xFFFFFFFF;
  EXPECT_REFUSED(BuildBmp(s), "too large");

  s = OneBitSpec();
  s.ColorsUsed = 2;
  b = BuildBmp(s);
  PutU32(b, 10, 14 + 40 + 4);  // room for one entry only, but two declared
  EXPECT_REFUSED(b, "does not fit");
}

TEST(BmpHostile, BadSizes) {
  const std::vector<std::pair<int, int>> sizes{{0, 1},      {1, 0},         {-5, 1},        {65536, 1},
                                                {1, 65536}, {40000, 40000}, {1, INT32_MIN}, {INT32_MIN, 1}};
  for (const auto& [w, h] : sizes) {
    TBmpSpec s = Rgb24Spec();
    s.Width = w;
    s.Height = h;
    EXPECT_FALSE(Refusal(BuildBmp(s)).empty()) << w << " x " << h;
  }
  TBmpSpec s = Rgb24Spec();
  s.Width = 65535;
  s.Height = 65535;
  EXPECT_REFUSED(BuildBmp(s), "exceeds the limit");
  // Within the limits, but the pixels are not in the file: refused before
  // the picture memory is taken.
  s.Width = 8000;
  s.Height = 8000;
  EXPECT_REFUSED(BuildBmp(s), "pixel data needs");
}

TEST(BmpHostile, PixelsAndRunsOutsideThePicture) {
  TBmpSpec s = OneBitSpec();
  s.Bits = 8;
  s.ColorsUsed = 2;
  s.Rows = {{0, 1, 5}, {1, 1, 0}};
  EXPECT_REFUSED(BuildBmp(s), "palette index 5");

  s = Rle8Spec();
  s.Rle = {0, 2, 0, 5, 1, 1, 0, 1};  // delta above the last row
  EXPECT_REFUSED(BuildBmp(s), "past the last row");
  s.Rle = {2, 1, 0, 0};
  EXPECT_REFUSED(BuildBmp(s), "end-of-bitmap");
  s.Rle = {9, 1, 0, 0, 0};  // a clipped run, then the file is cut short
  EXPECT_REFUSED(BuildBmp(s), "end-of-bitmap");
  s.Rle = {0, 9, 1, 1};  // literal longer than the data
  EXPECT_REFUSED(BuildBmp(s), "RLE literal");
  s.Rle = {2, 9, 0, 1};
  EXPECT_REFUSED(BuildBmp(s), "palette index 9");
}

TEST(BmpHostile, UnsupportedOrInconsistentHeaders) {
  TBmpSpec s = Rgb24Spec();
  s.Bits = 2;
  EXPECT_REFUSED(BuildBmp(s), "unsupported depth");
  s.Bits = 24;
  s.Compression = 4;
  EXPECT_REFUSED(BuildBmp(s), "JPEG");
  s.Compression = 1;
  EXPECT_REFUSED(BuildBmp(s), "RLE8");
  s.Compression = 3;
  EXPECT_REFUSED(BuildBmp(s), "colour masks need");
  TBytes unknownSize = BuildBmp(Rgb24Spec());
  PutU32(unknownSize, 14, 20);
  EXPECT_REFUSED(unknownSize, "header size 20");
  s = Rgb24Spec();
  s.HeaderSize = 64;  // OS/2: 3 and 4 are Huffman and 24-bit RLE
  s.Compression = 3;
  EXPECT_REFUSED(BuildBmp(s), "Huffman");
  s.Compression = 4;
  EXPECT_REFUSED(BuildBmp(s), "24-bit RLE");
  TBytes b = BuildBmp(Rgb24Spec());
  PutU16(b, 26, 3);
  EXPECT_REFUSED(b, "plane");

  s = Rgb16Spec();
  s.Compression = 3;
  s.Masks = {0xF800, 0x0FE0, 0x001F};
  EXPECT_REFUSED(BuildBmp(s), "overlap");
  s.Masks = {0xF800, 0x05E0, 0x001F};
  EXPECT_REFUSED(BuildBmp(s), "contiguous");
  s.Masks = {0xF8000, 0x07E0, 0x001F};
  EXPECT_REFUSED(BuildBmp(s), "beyond the 16-bit");
  s.Masks = {0, 0x07E0, 0x001F};
  EXPECT_REFUSED(BuildBmp(s), "empty");
}

bool Consistent(const TImageData& image) {
  const auto count = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
  return image.Pixels.size() == count && (image.Indices.empty() || image.Indices.size() == count) &&
         (image.Alpha.empty() || image.Alpha.size() == count);
}

// Every prefix, and every file with random bytes damaged, is either read
// into a consistent picture or refused with EInvalidGraphic.
void ExpectSafeOnDamage(const TBytes& valid, int mutations) {
  for (std::size_t length = 0; length < valid.size(); ++length) {
    const TBytes prefix(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
    try {
      EXPECT_TRUE(Consistent(ReadImage(prefix.data(), prefix.size())));
    } catch (const EInvalidGraphic&) {
    }
  }
  std::mt19937 random(1234);
  for (int i = 0; i < mutations; ++i) {
    TBytes damaged = valid;
    const int hits = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < hits; ++k) {
      damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
    }
    try {
      EXPECT_TRUE(Consistent(ReadImage(damaged.data(), damaged.size())));
    } catch (const EInvalidGraphic&) {
    }
  }
}

TEST(BmpHostile, TruncatedOrDamagedFilesNeverCrash) {
  for (const TBmpSpec& spec : AllValidSpecs()) ExpectSafeOnDamage(BuildBmp(spec), 500);
  const TBytes truncated = [] {
    TBytes b = BuildBmp(Rgb24Spec());
    b.pop_back();
    b.pop_back();
    b.pop_back();
    b.pop_back();  // the last row's padding is optional; a pixel byte is not
    return b;
  }();
  EXPECT_REFUSED(truncated, "pixel data needs");
  const TBytes valid = BuildBmp(Rgb24Spec());
  EXPECT_REFUSED(TBytes(valid.begin(), valid.begin() + 20), "data ends inside");
}

// ---- BMP writing ------------------------------------------------------------

TBytes WriteWith(void (*writer)(std::ostream&, const TImageData&), const TImageData& image) {
  std::ostringstream out;
  writer(out, image);
  const std::string s = out.str();
  return TBytes(s.begin(), s.end());
}

TImageData Gradient(int width, int height) {
  TImageData image;
  image.Width = width;
  image.Height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.Pixels.push_back(static_cast<TPixel>(((x * 37) & 0xFF) << 16 | ((y * 91) & 0xFF) << 8 | (x ^ y)));
    }
  }
  return image;
}

TImageData PalettePicture() {
  TImageData image;
  image.Width = 3;
  image.Height = 2;
  image.Palette = {clRed, clLime, clBlue};
  image.Indices = {0, 1, 2, 2, 1, 0};
  for (const auto index : image.Indices) image.Pixels.push_back(ColorToPixel(image.Palette[index]));
  return image;
}

TEST(BmpWrite, TrueColourRoundTripIsBottomUpAndPadded) {
  const TImageData image = Gradient(5, 3);
  const TBytes file = WriteWith(WriteBmp, image);
  EXPECT_EQ(file[28], 24);
  EXPECT_EQ(file.size(), 54u + 16u * 3u);
  EXPECT_EQ(file[54], image.Pixels[10] & 0xFF) << "first stored row is the bottom one";
  const TImageData back = Read(file);
  EXPECT_EQ(back.Pixels, image.Pixels);
  EXPECT_TRUE(back.Palette.empty());
}

TEST(BmpWrite, PaletteRoundTripKeepsPaletteAndIndices) {
  const TImageData image = PalettePicture();
  const TBytes file = WriteWith(WriteBmp, image);
  EXPECT_EQ(file[28], 8);
  const TImageData back = Read(file);
  EXPECT_EQ(back.Palette, image.Palette);
  EXPECT_EQ(back.Indices, image.Indices);
  EXPECT_EQ(back.Pixels, image.Pixels);
}

TEST(BmpWrite, TransparentPicturesStayTransparent) {
  TImageData image = Gradient(3, 2);
  image.Alpha.assign(6, 0);
  const TImageData back = Read(WriteWith(WriteBmp, image));
  EXPECT_EQ(back.Pixels, image.Pixels);
  EXPECT_EQ(back.Alpha, image.Alpha);
}

TEST(BmpWrite, ChangedPixelsAndAlphaAreNotLost) {
  TImageData image = PalettePicture();
  image.Pixels[4] = 0x123456;  // drawn on after reading: the palette no longer describes it
  const TImageData back = Read(WriteWith(WriteBmp, image));
  EXPECT_EQ(back.Pixels, image.Pixels);
  EXPECT_TRUE(back.Indices.empty());

  image = Gradient(3, 2);
  image.Alpha = {0, 50, 100, 150, 200, 255};
  const TBytes file = WriteWith(WriteBmp, image);
  EXPECT_EQ(file[28], 32);
  const TImageData translucent = Read(file);
  EXPECT_EQ(translucent.Pixels, image.Pixels);
  EXPECT_EQ(translucent.Alpha, image.Alpha);
}

TEST(ImageWrite, InconsistentDataAndFailingStreamsAreRefused) {
  for (auto* writer : {&WriteBmp, &WritePng}) {
    TImageData image = Gradient(2, 2);
    image.Pixels.pop_back();
    std::ostringstream out;
    EXPECT_THROW(writer(out, image), EInvalidGraphic);
    image = PalettePicture();
    image.Indices[0] = 3;
    EXPECT_THROW(writer(out, image), EInvalidGraphic);
    image = Gradient(2, 2);
    image.Alpha = {1, 2, 3};
    EXPECT_THROW(writer(out, image), EInvalidGraphic);
    image = TImageData{};
    EXPECT_THROW(writer(out, image), EInvalidGraphic);
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_THROW(writer(broken, Gradient(2, 2)), EInvalidGraphic);
  }
}

// ---- PNG ----------------------------------------------------------------------

struct TPngSpec {
  int Width = 1;
  int Height = 1;
  int BitDepth = 8;
  int ColorType = PNG_COLOR_TYPE_RGB;
  bool Interlaced = false;
  TBytes Rows;  // packed rows as libpng expects them
  std::vector<png_color> Palette;
  TBytes Trans;
  png_color_16 TransColor{};
  bool HasTransColor = false;
  std::string CompressedText;  // one zTXt chunk before the image data
};

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void TestPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void TestPngWrite(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

bool EncodeRows(png_structp png, png_infop info, const TPngSpec* spec, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(spec->Width), static_cast<png_uint_32>(spec->Height),
               spec->BitDepth, spec->ColorType, spec->Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec->Palette.empty()) png_set_PLTE(png, info, spec->Palette.data(), static_cast<int>(spec->Palette.size()));
  if (!spec->Trans.empty() || spec->HasTransColor) {
    png_set_tRNS(png, info, spec->Trans.empty() ? nullptr : spec->Trans.data(), static_cast<int>(spec->Trans.size()),
                 spec->HasTransColor ? &spec->TransColor : nullptr);
  }
  png_text text{};
  if (!spec->CompressedText.empty()) {
    text.compression = PNG_TEXT_COMPRESSION_zTXt;
    text.key = const_cast<char*>("Comment");
    text.text = const_cast<char*>(spec->CompressedText.c_str());
    text.text_length = spec->CompressedText.size();
    png_set_text(png, info, &text, 1);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

TBytes EncodePng(TPngSpec spec) {
  TBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, TestPngError, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, TestPngWrite, nullptr);
  png_set_check_for_invalid_index(png, 0);  // the tests write bad indices on purpose
  const std::size_t rowBytes = spec.Rows.size() / static_cast<std::size_t>(spec.Height);
  std::vector<png_bytep> rows;
  for (int y = 0; y < spec.Height; ++y) rows.push_back(spec.Rows.data() + static_cast<std::size_t>(y) * rowBytes);
  const bool ok = EncodeRows(png, info, &spec, rows.data());
  png_destroy_write_struct(&png, &info);
  EXPECT_TRUE(ok);
  return out;
}

TEST(PngRead, GreyDepthsInterlaceAndTransparency) {
  TPngSpec grey;
  grey.Width = 3;
  grey.Height = 3;
  grey.BitDepth = 16;
  grey.ColorType = PNG_COLOR_TYPE_GRAY;
  grey.Interlaced = true;
  for (int i = 0; i < 9; ++i) {
    grey.Rows.push_back(static_cast<std::uint8_t>(i * 30));
    grey.Rows.push_back(0xFF);
  }
  grey.TransColor.gray = 0x1EFF;  // the second pixel is transparent
  grey.HasTransColor = true;
  const TImageData image = Read(EncodePng(grey));
  EXPECT_EQ(image.SourceBits, 8);
  ASSERT_EQ(image.Pixels.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    const int sample16 = i * 30 * 256 + 0xFF;
    const TPixel pixel = image.Pixels[static_cast<std::size_t>(i)];
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), (sample16 + 128) / 257, 1) << i;  // 16 to 8 bits
    EXPECT_EQ(pixel, (pixel & 0xFF) * 0x010101u) << "grey stays grey";
  }
  EXPECT_EQ(image.Alpha, (TBytes{255, 0, 255, 255, 255, 255, 255, 255, 255}));

  TPngSpec bits;
  bits.Width = 10;
  bits.BitDepth = 1;
  bits.ColorType = PNG_COLOR_TYPE_GRAY;
  bits.Rows = {0b10110000, 0b01000000};
  const TImageData mono = Read(EncodePng(bits));
  EXPECT_EQ(mono.Pixels[0], 0xFFFFFFu);
  EXPECT_EQ(mono.Pixels[1], 0u);
  EXPECT_EQ(mono.Pixels[9], 0xFFFFFFu);
  EXPECT_TRUE(mono.Alpha.empty());
}

TEST(PngRead, SixteenBitSamplesRoundToTheNearestStep) {
  TPngSpec all;  // every 16-bit value once
  all.Width = 256;
  all.Height = 256;
  all.BitDepth = 16;
  all.ColorType = PNG_COLOR_TYPE_GRAY;
  for (int v = 0; v < 65536; ++v) {
    all.Rows.push_back(static_cast<std::uint8_t>(v >> 8));
    all.Rows.push_back(static_cast<std::uint8_t>(v));
  }
  const TImageData image = Read(EncodePng(all));
  int wrong = 0;
  for (std::uint32_t v = 0; v < 65536 && wrong < 5; ++v) {
    const std::uint32_t expected = (v * 255 + 32767) / 65535;
    if ((image.Pixels[v] & 0xFF) != expected) {
      ADD_FAILURE() << "sample " << v << " gives " << (image.Pixels[v] & 0xFF) << ", not " << expected;
      ++wrong;
    }
  }
}

// Text chunks are skipped unread: many large compressed comments cost
// neither memory nor inflating.
TEST(PngRead, TextChunksAreNotKept) {
  TPngSpec s;
  s.Rows = {10, 20, 30};
  s.CompressedText.assign(std::size_t{4} << 20, 'x');
  const TBytes one = EncodePng(s);
  // Repeat the zTXt chunk (length, type, data, CRC) 24 times.
  const std::string bytes(one.begin(), one.end());
  const std::size_t type = bytes.find("zTXt");
  ASSERT_NE(type, std::string::npos);
  const std::size_t start = type - 4;
  const std::size_t length = (std::size_t{one[start]} << 24) | (std::size_t{one[start + 1]} << 16) |
                             (std::size_t{one[start + 2]} << 8) | one[start + 3];
  const TBytes chunk(one.begin() + static_cast<std::ptrdiff_t>(start),
                     one.begin() + static_cast<std::ptrdiff_t>(start + 12 + length));
  TBytes many = one;
  for (int i = 0; i < 23; ++i) many.insert(many.begin() + static_cast<std::ptrdiff_t>(start), chunk.begin(), chunk.end());

  const TImageData image = Read(many);
  EXPECT_EQ(image.Pixels, (std::vector<TPixel>{0x0A141E}));
  EXPECT_LT(imagecodec::LastPngDecoderPeakBytes(), std::size_t{1} << 20);
}

TEST(PngRead, PaletteKeepsIndicesAndTransparency) {
  TPngSpec s;
  s.Width = 5;
  s.BitDepth = 2;
  s.ColorType = PNG_COLOR_TYPE_PALETTE;
  s.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  s.Trans = {128};
  s.Rows = {0b00011000, 0b01000000};  // 0 1 2 0 1
  const TImageData image = Read(EncodePng(s));
  EXPECT_EQ(image.Indices, (TBytes{0, 1, 2, 0, 1}));
  EXPECT_EQ(image.Palette, (std::vector<TColor>{clRed, clLime, clBlue}));
  EXPECT_EQ(image.Pixels[2], 0x0000FFu);
  EXPECT_EQ(image.Alpha, (TBytes{128, 255, 255, 128, 255}));

  s.Rows = {0b00011100, 0b01000000};  // index 3 is beyond the three colours
  EXPECT_FALSE(Refusal(EncodePng(s)).empty());
}

TEST(PngWrite, RoundTrips) {
  const TImageData rgb = Gradient(7, 4);
  const TImageData rgbBack = Read(WriteWith(WritePng, rgb));
  EXPECT_EQ(rgbBack.Pixels, rgb.Pixels);
  EXPECT_TRUE(rgbBack.Alpha.empty());
  EXPECT_EQ(rgbBack.SourceBits, 24);

  TImageData rgba = Gradient(3, 2);
  rgba.Alpha = {0, 1, 127, 128, 254, 255};
  const TImageData rgbaBack = Read(WriteWith(WritePng, rgba));
  EXPECT_EQ(rgbaBack.Pixels, rgba.Pixels);
  EXPECT_EQ(rgbaBack.Alpha, rgba.Alpha);

  TImageData palette = PalettePicture();
  palette.Alpha = {10, 255, 30, 30, 255, 10};  // one alpha per palette entry
  const TImageData paletteBack = Read(WriteWith(WritePng, palette));
  EXPECT_EQ(paletteBack.Palette, palette.Palette);
  EXPECT_EQ(paletteBack.Indices, palette.Indices);
  EXPECT_EQ(paletteBack.Alpha, palette.Alpha);

  palette.Alpha[0] = 11;  // alpha no longer follows the indices: RGBA keeps it
  const TImageData mixedBack = Read(WriteWith(WritePng, palette));
  EXPECT_EQ(mixedBack.Pixels, palette.Pixels);
  EXPECT_EQ(mixedBack.Alpha, palette.Alpha);
}

TEST(PngHostile, TruncatedDamagedAndHugeFilesAreRefused) {
  TImageData image = Gradient(6, 5);
  image.Alpha.assign(30, 77);
  const TBytes file = WriteWith(WritePng, image);
  ExpectSafeOnDamage(file, 1000);
  EXPECT_REFUSED(TBytes(file.begin(), file.end() - 13), "PNG");

  TBytes huge = file;  // 60000 x 60000: within libpng's limits, beyond ours
  PutU32(huge, 16, 0);
  huge[18] = 0xEA;
  huge[19] = 0x60;
  huge[22] = 0xEA;
  huge[23] = 0x60;
  const std::uint32_t crc = Crc32(huge.data() + 12, 17);
  huge[29] = static_cast<std::uint8_t>(crc >> 24);
  huge[30] = static_cast<std::uint8_t>(crc >> 16);
  huge[31] = static_cast<std::uint8_t>(crc >> 8);
  huge[32] = static_cast<std::uint8_t>(crc);
  EXPECT_REFUSED(huge, "exceeds the limit");
}

// ---- JPEG ---------------------------------------------------------------------

TBytes EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space, const TBytes& samples,
                  bool progressive = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * static_cast<std::size_t>(width * components));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  TBytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

// Blocks of flat colour survive compression within a few levels.
void ExpectNear(TPixel actual, TPixel expected, const std::string& where) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    EXPECT_NEAR(a, e, 8) << where << " channel at bit " << shift;
  }
}

TBytes FlatHalves(int width, int height, const TBytes& left, const TBytes& right) {
  TBytes samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const TBytes& c = x < width / 2 ? left : right;
      samples.insert(samples.end(), c.begin(), c.end());
    }
  }
  return samples;
}

TEST(JpegRead, ColourGreyAndCmyk) {
  const TBytes colour = EncodeJpeg(32, 16, 3, JCS_RGB, FlatHalves(32, 16, {200, 30, 30}, {20, 40, 220}));
  const TImageData image = Read(colour);
  EXPECT_EQ(image.Width, 32);
  EXPECT_EQ(image.Height, 16);
  EXPECT_EQ(image.SourceBits, 24);
  ExpectNear(image.Pixels[8 * 32 + 4], 0xC81E1E, "left");
  ExpectNear(image.Pixels[8 * 32 + 28], 0x1428DC, "right");

  const TImageData grey = Read(EncodeJpeg(16, 8, 1, JCS_GRAYSCALE, FlatHalves(16, 8, {40}, {220})));
  EXPECT_EQ(grey.SourceBits, 8);
  ExpectNear(grey.Pixels[2], 0x282828, "grey left");
  ExpectNear(grey.Pixels[14], 0xDCDCDC, "grey right");

  // Adobe CMYK stores ink inverted: 255 means none.
  const TImageData cmyk = Read(EncodeJpeg(16, 8, 4, JCS_CMYK, FlatHalves(16, 8, {255, 0, 0, 255}, {255, 255, 255, 128})));
  EXPECT_EQ(cmyk.SourceBits, 32);
  ExpectNear(cmyk.Pixels[2], 0xFF0000, "cmyk red");
  ExpectNear(cmyk.Pixels[14], 0x808080, "cmyk grey");
}

TEST(JpegHostile, TruncatedAndDamagedFilesAreRefused) {
  const TBytes file = EncodeJpeg(16, 16, 3, JCS_RGB, FlatHalves(16, 16, {1, 2, 3}, {200, 100, 50}));
  ExpectSafeOnDamage(file, 300);
  EXPECT_REFUSED(TBytes(file.begin(), file.end() - 10), "truncated");
  EXPECT_REFUSED((TBytes{0xFF, 0xD8, 0xFF, 0xD9}), "JPEG");
}

// Start of the marker segment of the given type (0xC2, 0xDA, ...) at or
// after from, found by walking the segments.
std::size_t FindJpegSegment(const TBytes& file, std::uint8_t type, std::size_t from = 2) {
  std::size_t pos = 2;
  while (pos + 4 <= file.size()) {
    if (file[pos] != 0xFF || file[pos + 1] == 0x00 || (file[pos + 1] >= 0xD0 && file[pos + 1] <= 0xD7)) {
      ++pos;  // inside entropy-coded data
      continue;
    }
    if (file[pos + 1] == type && pos >= from) return pos;
    if (file[pos + 1] == 0xDA) {
      pos += 2;  // the scan's data follows: step into it
      continue;
    }
    pos += 2 + ((std::size_t{file[pos + 2]} << 8) | file[pos + 3]);
  }
  return file.size();
}

// Work is bounded by the file's size before decoding starts: a small file
// that declares a huge picture, or thousands of scans, is refused at once
// instead of after seconds of decoding filler.
TEST(JpegHostile, WorkBeyondWhatTheDataDescribesIsRefusedBeforeDecoding) {
  const TBytes small = EncodeJpeg(16, 16, 1, JCS_GRAYSCALE, FlatHalves(16, 16, {40}, {220}), true);
  ExpectNear(Read(small).Pixels[15 * 16 + 15], 0xDCDCDC, "progressive");

  TBytes huge = small;  // 8192 x 8192 declared, scans describing 16 x 16
  const std::size_t frame = FindJpegSegment(huge, 0xC2);
  ASSERT_LT(frame, huge.size());
  PutU16(huge, frame + 5, 0x0020);  // height and width are big-endian
  PutU16(huge, frame + 7, 0x0020);
  EXPECT_REFUSED(huge, "blocks cannot be coded in");

  // 1001 scans, each naming a Huffman table the file lacks: counting them
  // must refuse the file before the first is decoded.
  const std::size_t firstScan = FindJpegSegment(small, 0xDA);
  const std::size_t secondScan = FindJpegSegment(small, 0xDA, firstScan + 1);
  ASSERT_LT(secondScan, small.size());
  TBytes scan(small.begin() + static_cast<std::ptrdiff_t>(firstScan),
              small.begin() + static_cast<std::ptrdiff_t>(secondScan));
  scan[6] = 0x33;  // DC and AC table 3 for the scan's one component
  TBytes many(small.begin(), small.begin() + static_cast<std::ptrdiff_t>(firstScan));
  for (int i = 0; i < 1001; ++i) many.insert(many.end(), scan.begin(), scan.end());
  many.push_back(0xFF);
  many.push_back(0xD9);
  EXPECT_REFUSED(many, "more than 1000 scans");
}

// ---- detection and streams ----------------------------------------------------

TEST(ImageFile, FormatComesFromTheSignature) {
  const TBytes bmp = BuildBmp(Rgb24Spec());
  EXPECT_EQ(DetectImageFormat(bmp.data(), bmp.size()), TImageFormat::Bmp);
  const TBytes png = WriteWith(WritePng, Gradient(1, 1));
  EXPECT_EQ(DetectImageFormat(png.data(), png.size()), TImageFormat::Png);
  EXPECT_EQ(DetectImageFormat(png.data(), 7), TImageFormat::Unknown);
  const TBytes jpeg{0xFF, 0xD8, 0xFF, 0xE0};
  EXPECT_EQ(DetectImageFormat(jpeg.data(), jpeg.size()), TImageFormat::Jpeg);
  EXPECT_EQ(DetectImageFormat(nullptr, 10), TImageFormat::Unknown);
  EXPECT_REFUSED((TBytes{'G', 'I', 'F', '8'}), "unknown");
  EXPECT_REFUSED(TBytes{}, "empty");
  EXPECT_THROW(ReadBmp(nullptr, 100), EInvalidGraphic);
  EXPECT_THROW(ReadPng(nullptr, 100), EInvalidGraphic);
  EXPECT_THROW(ReadJpeg(nullptr, 100), EInvalidGraphic);
}

TEST(ImageFile, ReadAllBytesReadsFromThePositionToTheEnd) {
  std::string content(200'000, 'x');
  content[0] = 'a';
  content.back() = 'z';
  std::istringstream in(content);
  in.get();
  const TBytes bytes = ReadAllBytes(in);
  ASSERT_EQ(bytes.size(), content.size() - 1);
  EXPECT_EQ(bytes.front(), 'x');
  EXPECT_EQ(bytes.back(), 'z');
}

}  // namespace
}  // namespace vorn
