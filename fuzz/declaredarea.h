// The picture area a file's header declares, read without decoding, so that
// fuzz targets can leave out pictures that are slow to decode but legal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/oracle.h"
#include "vorn/platform/graphics/imagefile.h"

namespace vorn::fuzz {

inline std::int64_t ReadUnsigned(const std::uint8_t* p, int bytes, bool bigEndian) {
  std::int64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[bigEndian ? i : bytes - 1 - i];
  return v;
}

// The frame header of a JPEG: sides and number of components. The markers
// before it are skipped by their lengths; false when the data ends first or
// a scan comes before it.
struct TJpegFrame {
  std::int64_t Width = 0;
  std::int64_t Height = 0;
  int Components = 0;
};

VORN_FUZZ_ORACLE inline bool JpegFrame(const std::uint8_t* data, std::size_t size, TJpegFrame& frame) {
  std::size_t at = 2;
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return false;
    const std::uint8_t marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return false;
    const bool isFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) {
      if (at + 10 > size) return false;
      frame.Height = ReadUnsigned(data + at + 5, 2, true);
      frame.Width = ReadUnsigned(data + at + 7, 2, true);
      frame.Components = data[at + 9];
      return true;
    }
    at += 2 + static_cast<std::size_t>(ReadUnsigned(data + at + 2, 2, true));
  }
  return false;
}

// Start-of-scan markers anywhere in the data: at least the scans the reader
// finds, since coded data never holds that byte pair.
VORN_FUZZ_ORACLE inline std::int64_t JpegScanMarkers(const std::uint8_t* data, std::size_t size) {
  std::int64_t scans = 0;
  for (std::size_t i = 0; i + 1 < size; ++i) scans += data[i] == 0xFF && data[i + 1] == 0xDA;
  return scans;
}

// True when the JPEG reader surely decodes the picture rather than refusing
// it for the work it needs: an upper bound of its 8x8 blocks (every
// component at full size) and of the passes over them stays within what
// the reader accepts from a file of any size. Pictures it would refuse go
// through: the refusal is quick and is what is being tried.
VORN_FUZZ_ORACLE inline bool JpegSurelyDecoded(const TJpegFrame& frame, std::int64_t scans) {
  const std::int64_t blocks = frame.Components * ((frame.Width + 7) / 8) * ((frame.Height + 7) / 8);
  return blocks <= static_cast<std::int64_t>(kJpegFreeBlocks) &&
         blocks * (scans + 1) <= static_cast<std::int64_t>(kJpegFreeBlockPasses);
}

// Width x height of a BMP (info or core header) or PNG (IHDR); 0 for other
// data or when the header is cut short; beyond kMaxImagePixels when a side
// is beyond kMaxImageSide.
VORN_FUZZ_ORACLE inline std::int64_t DeclaredArea(const std::uint8_t* data, std::size_t size) {
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

// A few bytes of BMP RLE, of deflate or of JPEG can legitimately describe
// millions of pixels; decoding those is slow and exercises nothing a
// picture of 128 x 128 does not. Up to that size a picture's buffers are
// also reused from one run to the next, where larger ones take fresh pages
// every time. Sizes above the readers' limits still go through: they must
// be refused.
VORN_FUZZ_ORACLE inline bool SlowButLegal(const std::uint8_t* data, std::size_t size) {
  constexpr std::int64_t kSmall = std::int64_t{1} << 14;
  TJpegFrame frame;
  if (DetectImageFormat(data, size) == TImageFormat::Jpeg && JpegFrame(data, size, frame)) {
    return frame.Width * frame.Height > kSmall && JpegSurelyDecoded(frame, JpegScanMarkers(data, size));
  }
  const std::int64_t area = DeclaredArea(data, size);
  return area > kSmall && area <= kMaxImagePixels;
}

}  // namespace vorn::fuzz
