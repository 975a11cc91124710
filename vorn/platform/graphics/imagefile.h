// Reading and writing picture files: BMP (read and write), PNG (read and
// write) and JPEG (read). Readers take the format from the data's
// signature, never from a file name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "vorn/platform/graphics/color.h"

namespace vorn {

// Raised for data that is not a picture we can read: unknown signature,
// truncated data, inconsistent headers, bad palettes, sizes beyond the limit.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Pictures larger than this many pixels are refused before any pixel memory
// is taken, whatever their headers claim (256 MiB of 32-bit pixels).
constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;
// Neither side may exceed this.
constexpr int kMaxImageSide = 65535;
// JPEG pictures of up to this many 8x8 blocks (4096 x 4096 grey), and
// with up to this many passes of scans over blocks, are read whatever the
// size of their file; beyond them the work must be in proportion to it.
constexpr std::uint64_t kJpegFreeBlocks = std::uint64_t{1} << 18;
constexpr std::uint64_t kJpegFreeBlockPasses = std::uint64_t{1} << 22;

enum class TImageFormat : std::uint8_t { Unknown, Bmp, Png, Jpeg };

// A decoded picture, top row first.
struct TImageData {
  int Width = 0;
  int Height = 0;
  // Width * Height pixels, 0x00RRGGBB.
  std::vector<TPixel> Pixels;
  // Bits per pixel of the source (1, 4, 8, 16, 24, 32; PNG/JPEG: 8 * channels).
  int SourceBits = 32;
  // Palette pictures keep their palette (0x00BBGGRR colours) and one
  // palette index per pixel, top row first; both empty otherwise.
  std::vector<TColor> Palette;
  std::vector<std::uint8_t> Indices;
  // Per-pixel alpha (0 transparent .. 255 opaque) when the source had it;
  // empty otherwise. Pixels are stored unpremultiplied.
  std::vector<std::uint8_t> Alpha;
};

TImageFormat DetectImageFormat(const std::uint8_t* data, std::size_t size);

// Decode a whole file image held in memory. Raise EInvalidGraphic.
TImageData ReadImage(const std::uint8_t* data, std::size_t size);
TImageData ReadBmp(const std::uint8_t* data, std::size_t size);
TImageData ReadPng(const std::uint8_t* data, std::size_t size);
TImageData ReadJpeg(const std::uint8_t* data, std::size_t size);

// Encoders. BMP: palette pictures (Palette and Indices set, up to 256
// colours) are written with 8 bits per pixel, others with 24 bits, bottom-up;
// a picture with any alpha below 255 is written with 32 bits and an alpha
// mask so that its translucency survives. PNG: palette pictures as 8-bit
// palette PNG (alpha per entry through tRNS when the alpha follows the
// indices), others as 8-bit RGB, or RGBA when Alpha is set. A palette is
// used only when every pixel equals its palette colour, so pixels changed
// after reading are never lost. Raise EInvalidGraphic when the data is
// inconsistent (sizes, indices beyond the palette) or the stream fails.
void WriteBmp(std::ostream& out, const TImageData& image);
void WritePng(std::ostream& out, const TImageData& image);

// Whole-stream helpers: read the stream from its position to its end.
// Raise EInvalidGraphic when the stream fails or holds more than
// kMaxImageFileBytes.
constexpr std::size_t kMaxImageFileBytes = std::size_t{1} << 30;
std::vector<std::uint8_t> ReadAllBytes(std::istream& in);

}  // namespace vorn
