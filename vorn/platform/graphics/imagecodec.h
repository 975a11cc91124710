// Helpers shared by the picture file readers and writers. Not part of the
// public interface: only the codec sources include this.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/platform/graphics/imagefile.h"

namespace vorn::imagecodec {

// Raise EInvalidGraphic with "<format>: <what>".
[[noreturn]] void Fail(std::string_view format, std::string_view what);

// Raise unless width x height is a picture size we accept: both sides
// positive, neither above kMaxImageSide, the area not above kMaxImagePixels.
void CheckImageSize(std::int64_t width, std::int64_t height, std::string_view format);

// A black picture of a checked size with its pixel memory taken.
TImageData MakeImage(std::int64_t width, std::int64_t height, int sourceBits,
                     std::string_view format);

// Raise unless the fields of a picture to be written agree with each other:
// a valid size, Width * Height pixels, Alpha and Indices empty or one per
// pixel, every index inside the palette.
void CheckImageData(const TImageData& image, std::string_view format);

// True when the picture can be written as palette indices without changing
// any pixel: a palette of 1..256 colours, one index per pixel, and every
// pixel equal to its palette colour.
bool HasExactPalette(const TImageData& image);

// True when Alpha holds at least one value other than 255.
bool HasTranslucency(const TImageData& image);

// Alpha for the palette picture when every pixel of one index has the same
// alpha (one value per palette entry); empty when the picture has no alpha
// or the alpha does not follow the indices.
std::vector<std::uint8_t> AlphaPerPaletteEntry(const TImageData& image);

// Write the bytes and raise when the stream fails.
void WriteAllBytes(std::ostream& out, const std::vector<std::uint8_t>& bytes,
                   std::string_view format);

// The most memory libpng itself held during the last PNG read on this
// thread (its structures, buffers and any chunk data it kept).
std::size_t LastPngDecoderPeakBytes();

constexpr TPixel MakePixel(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

}  // namespace vorn::imagecodec
