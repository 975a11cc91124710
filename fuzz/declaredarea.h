// The picture area a file's header declares, read without decoding, so that
// fuzz targets can leave out pictures that are slow to decode but legal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "vorn/platform/graphics/imagefile.h"

namespace vorn::fuzz {

inline std::int64_t ReadUnsigned(const std::uint8_t* p, int bytes, bool bigEndian) {
  std::int64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[bigEndian ? i : bytes - 1 - i];
  return v;
}

// Width x height of a BMP (info or core header) or PNG (IHDR); 0 for other
// data or when the header is cut short; beyond kMaxImagePixels when a side
// is beyond kMaxImageSide.
inline std::int64_t DeclaredArea(const std::uint8_t* data, std::size_t size) {
  std::int64_t width = 0;
  std::int64_t height = 0;
  const TImageFormat format = DetectImageFormat(data, size);
  if (format == TImageFormat::Bmp && size >= 26 && ReadUnsigned(data + 14, 4, false) == 12) {
    width = ReadUnsigned(data + 18, 2, false);
    height = ReadUnsigned(data + 20, 2, false);
  } else if (format == TImageFormat::Bmp && size >= 26) {
    width = std::abs(std::int64_t{static_cast<std::int32_t>(ReadUnsigned(data + 18, 4, false))});
    height = std::abs(std::int64_t{static_cast<std::int32_t>(ReadUnsigned(data + 22, 4, false))});
  } else if (format == TImageFormat::Png && size >= 24) {
    width = ReadUnsigned(data + 16, 4, true);
    height = ReadUnsigned(data + 20, 4, true);
  }
  if (width > kMaxImageSide || height > kMaxImageSide) return kMaxImagePixels + 1;
  return width * height;
}

// A few bytes of BMP RLE or of deflate can legitimately describe tens of
// millions of pixels; decoding those is slow and exercises nothing new.
// Sizes above the limit still go through: they must be refused.
inline bool SlowButLegal(const std::uint8_t* data, std::size_t size) {
  const std::int64_t area = DeclaredArea(data, size);
  return area > (std::int64_t{1} << 20) && area <= kMaxImagePixels;
}

}  // namespace vorn::fuzz
