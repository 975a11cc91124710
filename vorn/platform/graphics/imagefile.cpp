// Format detection, the reader dispatch and the helpers the codecs share.
#include "vorn/platform/graphics/imagefile.h"

#include <algorithm>
#include <array>
#include <istream>
#include <ostream>

#include "vorn/platform/graphics/imagecodec.h"

namespace vorn {

namespace {

bool StartsWith(const std::uint8_t* data, std::size_t size, std::initializer_list<std::uint8_t> prefix) {
  return size >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data);
}

}  // namespace

TImageFormat DetectImageFormat(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) return TImageFormat::Unknown;
  if (StartsWith(data, size, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return TImageFormat::Png;
  if (StartsWith(data, size, {0xFF, 0xD8, 0xFF})) return TImageFormat::Jpeg;
  if (StartsWith(data, size, {'B', 'M'})) return TImageFormat::Bmp;
  return TImageFormat::Unknown;
}

TImageData ReadImage(const std::uint8_t* data, std::size_t size) {
  switch (DetectImageFormat(data, size)) {
    case TImageFormat::Bmp: return ReadBmp(data, size);
    case TImageFormat::Png: return ReadPng(data, size);
    case TImageFormat::Jpeg: return ReadJpeg(data, size);
    case TImageFormat::Unknown: break;
  }
  throw EInvalidGraphic(size == 0 ? "picture data is empty" : "unknown picture format");
}

std::vector<std::uint8_t> ReadAllBytes(std::istream& in) {
  constexpr std::size_t kChunk = 64 * 1024;
  std::vector<std::uint8_t> bytes;
  std::array<char, kChunk> chunk{};
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > kMaxImageFileBytes - bytes.size()) {
      throw EInvalidGraphic("picture file is larger than " + std::to_string(kMaxImageFileBytes) + " bytes");
    }
    bytes.insert(bytes.end(), chunk.data(), chunk.data() + got);
  }
  if (in.bad()) throw EInvalidGraphic("reading the picture stream failed");
  return bytes;
}

namespace imagecodec {

void Fail(std::string_view format, std::string_view what) {
  std::string message(format);
  message += ": ";
  message += what;
  throw EInvalidGraphic(message);
}

void CheckImageSize(std::int64_t width, std::int64_t height, std::string_view format) {
  if (width <= 0 || height <= 0) {
    Fail(format, "picture size " + std::to_string(width) + " x " + std::to_string(height) + " is not positive");
  }
  if (width > kMaxImageSide || height > kMaxImageSide) {
    Fail(format, "picture size " + std::to_string(width) + " x " + std::to_string(height) +
                     " exceeds the limit of " + std::to_string(kMaxImageSide) + " per side");
  }
  if (width * height > kMaxImagePixels) {
    Fail(format, "picture of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels exceeds the limit of " + std::to_string(kMaxImagePixels) + " pixels");
  }
}

TImageData MakeImage(std::int64_t width, std::int64_t height, int sourceBits, std::string_view format) {
  CheckImageSize(width, height, format);
  TImageData image;
  image.Width = static_cast<int>(width);
  image.Height = static_cast<int>(height);
  image.SourceBits = sourceBits;
  image.Pixels.assign(static_cast<std::size_t>(width * height), 0);
  return image;
}

void CheckImageData(const TImageData& image, std::string_view format) {
  CheckImageSize(image.Width, image.Height, format);
  const auto count = static_cast<std::size_t>(std::int64_t{image.Width} * image.Height);
  if (image.Pixels.size() != count) {
    Fail(format, "picture holds " + std::to_string(image.Pixels.size()) + " pixels, its size needs " +
                     std::to_string(count));
  }
  if (!image.Alpha.empty() && image.Alpha.size() != count) {
    Fail(format, "alpha holds " + std::to_string(image.Alpha.size()) + " values for " + std::to_string(count) +
                     " pixels");
  }
  if (image.Indices.empty()) return;
  if (image.Indices.size() != count) {
    Fail(format, "palette indices hold " + std::to_string(image.Indices.size()) + " values for " +
                     std::to_string(count) + " pixels");
  }
  const auto highest = *std::max_element(image.Indices.begin(), image.Indices.end());
  if (highest >= image.Palette.size()) {
    Fail(format, "palette index " + std::to_string(highest) + " is beyond the palette of " +
                     std::to_string(image.Palette.size()) + " colours");
  }
}

bool HasExactPalette(const TImageData& image) {
  if (image.Palette.empty() || image.Palette.size() > 256 || image.Indices.size() != image.Pixels.size()) {
    return false;
  }
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    const auto index = image.Indices[i];
    if (index >= image.Palette.size()) return false;
    if (ColorToPixel(image.Palette[index] & 0xFFFFFF) != image.Pixels[i]) return false;
  }
  return true;
}

bool HasTranslucency(const TImageData& image) {
  return std::any_of(image.Alpha.begin(), image.Alpha.end(), [](std::uint8_t a) { return a != 255; });
}

std::vector<std::uint8_t> AlphaPerPaletteEntry(const TImageData& image) {
  if (image.Alpha.empty() || image.Alpha.size() != image.Indices.size()) return {};
  std::vector<std::uint8_t> entryAlpha(image.Palette.size(), 255);
  std::vector<bool> seen(image.Palette.size(), false);
  for (std::size_t i = 0; i < image.Indices.size(); ++i) {
    const auto index = image.Indices[i];
    if (index >= image.Palette.size()) return {};
    if (seen[index] && entryAlpha[index] != image.Alpha[i]) return {};
    seen[index] = true;
    entryAlpha[index] = image.Alpha[i];
  }
  return entryAlpha;
}

void WriteAllBytes(std::ostream& out, const std::vector<std::uint8_t>& bytes, std::string_view format) {
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) Fail(format, "writing to the stream failed");
}

}  // namespace imagecodec

}  // namespace vorn
