// BMP reading and writing.
//
// The reader is strict: it accepts the 12-byte core header, the 40-byte info
// header and its 52/56/108/124-byte successors, and the 16- and 64-byte
// headers of the second OS/2 bitmap format; 1, 4 and 8 bits per pixel
// through a palette (uncompressed or RLE), 16 and 32 bits through colour
// masks, and 24 bits. Every offset and size in the headers is checked
// against the data before anything is read or allocated, in 64-bit
// arithmetic, so lying headers are refused instead of over-read.
//
// RLE runs and deltas that pass the end of a row are clipped there, as
// common writers encode the padded row; data that is really missing stays
// an error.
#include <algorithm>
#include <array>
#include <bit>
#include <ostream>
#include <string>

#include "vorn/platform/graphics/imagecodec.h"
#include "vorn/platform/graphics/imagefile.h"

namespace vorn {

namespace {

using imagecodec::Fail;
using imagecodec::MakePixel;

constexpr std::string_view kFormat = "BMP";

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kOs2ShortHeaderSize = 16;
constexpr std::uint32_t kOs2HeaderSize = 64;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV2HeaderSize = 52;
constexpr std::uint32_t kV3HeaderSize = 56;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;

template <class T>
std::string Str(T value) {
  return std::to_string(value);
}

// Little-endian reads that refuse to go past the end of the data.
class TByteSource {
 public:
  TByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  [[nodiscard]] std::uint64_t Size() const { return size_; }

  void Need(std::uint64_t offset, std::uint64_t count, std::string_view what) const {
    if (offset > size_ || count > size_ - offset) {
      Fail(kFormat, "data ends inside the " + std::string(what) + " (needs " + Str(count) + " bytes at offset " +
                        Str(offset) + ", file has " + Str(size_) + ")");
    }
  }
  [[nodiscard]] const std::uint8_t* At(std::uint64_t offset, std::uint64_t count, std::string_view what) const {
    Need(offset, count, what);
    return data_ + offset;
  }
  [[nodiscard]] std::uint8_t U8(std::uint64_t offset, std::string_view what) const {
    return *At(offset, 1, what);
  }
  [[nodiscard]] std::uint16_t U16(std::uint64_t offset, std::string_view what) const {
    const std::uint8_t* p = At(offset, 2, what);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  [[nodiscard]] std::uint32_t U32(std::uint64_t offset, std::string_view what) const {
    const std::uint8_t* p = At(offset, 4, what);
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
  }
  [[nodiscard]] std::int32_t I32(std::uint64_t offset, std::string_view what) const {
    return static_cast<std::int32_t>(U32(offset, what));
  }

 private:
  const std::uint8_t* data_;
  std::uint64_t size_;
};

// One colour channel of a 16- or 32-bit pixel: a contiguous run of bits,
// scaled to 0..255 whatever its width.
class TChannelMask {
 public:
  TChannelMask() = default;
  TChannelMask(std::uint32_t mask, std::string_view name) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    const std::uint32_t bits = mask >> shift_;
    if ((bits & (bits + 1)) != 0) {
      Fail(kFormat, std::string(name) + " mask 0x" + Hex(mask) + " is not a contiguous run of bits");
    }
    max_ = bits;
  }

  [[nodiscard]] bool Present() const { return mask_ != 0; }
  [[nodiscard]] std::uint32_t Mask() const { return mask_; }
  [[nodiscard]] std::uint8_t Scale(std::uint32_t value) const {
    if (max_ == 0) return 0;
    const std::uint64_t v = (value & mask_) >> shift_;
    return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_);
  }

 private:
  static std::string Hex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
  }

  std::uint32_t mask_ = 0;
  int shift_ = 0;
  std::uint64_t max_ = 0;
};

struct TChannelMasks {
  TChannelMask Red, Green, Blue, Alpha;
  // The file declares its alpha channel outright (an alpha mask beside the
  // colour masks, as V4 and V5 headers carry them), so alpha 0 means
  // transparent even when every pixel has it.
  bool AlphaDeclared = false;
};

// What the headers say, checked against each other and against the data.
struct TBmpLayout {
  std::int64_t Width = 0;
  std::int64_t Height = 0;
  bool TopDown = false;
  int Bits = 0;
  std::uint32_t Compression = kBiRgb;
  std::uint32_t HeaderSize = 0;
  std::uint32_t ColorsUsed = 0;
  // Mask fields as stored (red, green, blue, alpha) and how many there are.
  std::array<std::uint32_t, 4> MaskFields{};
  int MaskFieldCount = 0;
  std::uint64_t PaletteOffset = 0;
  std::uint64_t PaletteEntrySize = 4;
  std::uint64_t PaletteCount = 0;
  std::uint64_t PixelOffset = 0;
};

bool IsMaskCompression(std::uint32_t compression) {
  return compression == kBiBitfields || compression == kBiAlphaBitfields;
}

void ReadCoreHeader(const TByteSource& src, TBmpLayout& layout) {
  constexpr std::string_view kWhat = "core header";
  layout.Width = src.U16(18, kWhat);
  layout.Height = src.U16(20, kWhat);
  if (src.U16(22, kWhat) != 1) Fail(kFormat, "plane count is not 1");
  layout.Bits = src.U16(24, kWhat);
  layout.PaletteEntrySize = 3;
  layout.PaletteOffset = kFileHeaderSize + kCoreHeaderSize;
}

// The second OS/2 format: the fields of the 40-byte header (the 16-byte
// form stops after the depth), then fields we do not need. Its compression
// codes 3 and 4 mean Huffman and 24-bit RLE, not colour masks.
void ReadOs2Header(const TByteSource& src, TBmpLayout& layout) {
  constexpr std::string_view kWhat = "OS/2 header";
  layout.Width = src.I32(18, kWhat);
  layout.Height = src.I32(22, kWhat);
  if (src.U16(26, kWhat) != 1) Fail(kFormat, "plane count is not 1");
  layout.Bits = src.U16(28, kWhat);
  layout.PaletteOffset = kFileHeaderSize + layout.HeaderSize;
  if (layout.HeaderSize == kOs2ShortHeaderSize) return;
  layout.Compression = src.U32(30, kWhat);
  layout.ColorsUsed = src.U32(46, kWhat);
  if (layout.Compression == 3) Fail(kFormat, "OS/2 Huffman compression is not supported");
  if (layout.Compression == 4) Fail(kFormat, "OS/2 24-bit RLE compression is not supported");
}

void ReadInfoHeader(const TByteSource& src, TBmpLayout& layout) {
  constexpr std::string_view kWhat = "info header";
  layout.Width = src.I32(18, kWhat);
  const std::int64_t height = src.I32(22, kWhat);
  layout.TopDown = height < 0;
  layout.Height = height < 0 ? -height : height;
  if (src.U16(26, kWhat) != 1) Fail(kFormat, "plane count is not 1");
  layout.Bits = src.U16(28, kWhat);
  layout.Compression = src.U32(30, kWhat);
  layout.ColorsUsed = src.U32(46, kWhat);
  layout.PaletteOffset = kFileHeaderSize + layout.HeaderSize;

  // Later headers carry the masks; the 40-byte header is followed by them
  // when the compression asks for masks.
  const std::uint64_t masksAt = kFileHeaderSize + kInfoHeaderSize;
  if (layout.HeaderSize >= kV3HeaderSize) {
    layout.MaskFieldCount = 4;
  } else if (layout.HeaderSize >= kV2HeaderSize) {
    layout.MaskFieldCount = 3;
  } else if (layout.Compression == kBiBitfields || layout.Compression == kBiAlphaBitfields) {
    layout.MaskFieldCount = layout.Compression == kBiAlphaBitfields ? 4 : 3;
    layout.PaletteOffset += 4 * static_cast<std::uint64_t>(layout.MaskFieldCount);
  }
  for (int i = 0; i < layout.MaskFieldCount; ++i) {
    layout.MaskFields[static_cast<std::size_t>(i)] = src.U32(masksAt + 4 * static_cast<std::uint64_t>(i), "colour masks");
  }
}

void CheckDepthAndCompression(const TBmpLayout& layout) {
  const int bits = layout.Bits;
  switch (layout.Compression) {
    case kBiRgb:
      if (bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
          ((bits == 16 || bits == 32) && layout.HeaderSize != kCoreHeaderSize &&
           layout.HeaderSize != kOs2ShortHeaderSize && layout.HeaderSize != kOs2HeaderSize)) {
        return;
      }
      break;
    case kBiRle8:
      if (bits == 8) return;
      Fail(kFormat, "RLE8 compression needs 8 bits per pixel, header says " + Str(bits));
    case kBiRle4:
      if (bits == 4) return;
      Fail(kFormat, "RLE4 compression needs 4 bits per pixel, header says " + Str(bits));
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (bits == 16 || bits == 32) return;
      Fail(kFormat, "colour masks need 16 or 32 bits per pixel, header says " +
                        Str(bits));
    case kBiJpeg:
      Fail(kFormat, "embedded JPEG data is not supported");
    case kBiPng:
      Fail(kFormat, "embedded PNG data is not supported");
    default:
      Fail(kFormat, "unknown compression " + Str(layout.Compression));
  }
  Fail(kFormat, "unsupported depth of " + Str(bits) + " bits per pixel");
}

// Sizes the palette and checks that it and the pixel data lie in the file.
void PlacePalette(const TByteSource& src, TBmpLayout& layout) {
  if (layout.PixelOffset < layout.PaletteOffset) {
    Fail(kFormat, "pixel data offset " + Str(layout.PixelOffset) + " lies inside the headers, which end at " +
                      Str(layout.PaletteOffset));
  }
  if (layout.PixelOffset > src.Size()) {
    Fail(kFormat, "pixel data offset " + Str(layout.PixelOffset) + " is beyond the end of the file (" +
                      Str(src.Size()) + " bytes)");
  }
  if (layout.Bits > 8) return;

  const std::uint64_t maxColors = std::uint64_t{1} << layout.Bits;
  if (layout.ColorsUsed > maxColors) {
    Fail(kFormat, "palette of " + Str(layout.ColorsUsed) + " colours is too large for " +
                      Str(layout.Bits) + "-bit pixels");
  }
  layout.PaletteCount = layout.ColorsUsed != 0 ? layout.ColorsUsed : maxColors;
  const std::uint64_t room = (layout.PixelOffset - layout.PaletteOffset) / layout.PaletteEntrySize;
  if (layout.PaletteCount <= room) return;
  // Without an explicit count, some writers store only the colours used.
  if (layout.ColorsUsed == 0 && room > 0) {
    layout.PaletteCount = room;
    return;
  }
  Fail(kFormat, "palette of " + Str(layout.PaletteCount) + " colours does not fit before the pixel data at offset " +
                    Str(layout.PixelOffset));
}

TBmpLayout ReadLayout(const TByteSource& src) {
  src.Need(0, kFileHeaderSize + 4, "file header");
  if (src.U8(0, "file header") != 'B' || src.U8(1, "file header") != 'M') Fail(kFormat, "signature is not 'BM'");
  TBmpLayout layout;
  layout.PixelOffset = src.U32(10, "file header");
  layout.HeaderSize = src.U32(14, "file header");
  switch (layout.HeaderSize) {
    case kCoreHeaderSize:
      src.Need(kFileHeaderSize, layout.HeaderSize, "core header");
      ReadCoreHeader(src, layout);
      break;
    case kOs2ShortHeaderSize:
    case kOs2HeaderSize:
      src.Need(kFileHeaderSize, layout.HeaderSize, "OS/2 header");
      ReadOs2Header(src, layout);
      break;
    case kInfoHeaderSize:
    case kV2HeaderSize:
    case kV3HeaderSize:
    case kV4HeaderSize:
    case kV5HeaderSize:
      src.Need(kFileHeaderSize, layout.HeaderSize, "info header");
      ReadInfoHeader(src, layout);
      break;
    default:
      Fail(kFormat, "unsupported header size " + Str(layout.HeaderSize));
  }
  imagecodec::CheckImageSize(layout.Width, layout.Height, kFormat);
  CheckDepthAndCompression(layout);
  PlacePalette(src, layout);
  return layout;
}

std::vector<TColor> ReadPalette(const TByteSource& src, const TBmpLayout& layout) {
  std::vector<TColor> palette;
  palette.reserve(static_cast<std::size_t>(layout.PaletteCount));
  const std::uint8_t* entry = src.At(layout.PaletteOffset, layout.PaletteCount * layout.PaletteEntrySize, "palette");
  for (std::uint64_t i = 0; i < layout.PaletteCount; ++i, entry += layout.PaletteEntrySize) {
    palette.push_back(RGB(entry[2], entry[1], entry[0]));
  }
  return palette;
}

void CheckMasksDisjoint(const TChannelMasks& masks, int bits) {
  const std::array<std::uint32_t, 4> all{masks.Red.Mask(), masks.Green.Mask(), masks.Blue.Mask(),
                                         masks.Alpha.Mask()};
  std::uint32_t seen = 0;
  for (const auto mask : all) {
    if ((seen & mask) != 0) Fail(kFormat, "colour masks overlap");
    seen |= mask;
  }
  if (bits < 32 && (seen >> bits) != 0) {
    Fail(kFormat, "colour masks use bits beyond the " + Str(bits) + "-bit pixel");
  }
}

TChannelMasks ChannelMasks(const TBmpLayout& layout) {
  TChannelMasks masks;
  const auto& fields = layout.MaskFields;
  if (IsMaskCompression(layout.Compression)) {
    masks.Red = TChannelMask(fields[0], "red");
    masks.Green = TChannelMask(fields[1], "green");
    masks.Blue = TChannelMask(fields[2], "blue");
    if (!masks.Red.Present() || !masks.Green.Present() || !masks.Blue.Present()) {
      Fail(kFormat, "a colour mask is empty");
    }
  } else if (layout.Bits == 16) {
    masks.Red = TChannelMask(0x7C00, "red");
    masks.Green = TChannelMask(0x03E0, "green");
    masks.Blue = TChannelMask(0x001F, "blue");
  } else {
    masks.Red = TChannelMask(0xFF0000, "red");
    masks.Green = TChannelMask(0x00FF00, "green");
    masks.Blue = TChannelMask(0x0000FF, "blue");
  }
  // The alpha mask field is honoured with explicit masks and, for 32-bit
  // pixels, with plain RGB data too (writers of translucent BMPs use both).
  const bool alphaApplies = IsMaskCompression(layout.Compression) || layout.Bits == 32;
  if (layout.MaskFieldCount == 4 && alphaApplies) masks.Alpha = TChannelMask(fields[3], "alpha");
  masks.AlphaDeclared = masks.Alpha.Present() && IsMaskCompression(layout.Compression);
  CheckMasksDisjoint(masks, layout.Bits);
  return masks;
}

// Bytes from one row start to the next: rows are padded to 4 bytes.
std::uint64_t RowStride(const TBmpLayout& layout) {
  return (static_cast<std::uint64_t>(layout.Width) * static_cast<std::uint64_t>(layout.Bits) + 31) / 32 * 4;
}

// Rows are stored bottom-up unless the height was negative.
std::int64_t ImageRow(const TBmpLayout& layout, std::int64_t fileRow) {
  return layout.TopDown ? fileRow : layout.Height - 1 - fileRow;
}

// Pixel rows of uncompressed data, in file order. The last row needs no
// padding after its last pixel.
class TRowSource {
 public:
  TRowSource(const TByteSource& src, const TBmpLayout& layout) : stride_(RowStride(layout)) {
    const std::uint64_t rowBytes =
        (static_cast<std::uint64_t>(layout.Width) * static_cast<std::uint64_t>(layout.Bits) + 7) / 8;
    const std::uint64_t need = stride_ * static_cast<std::uint64_t>(layout.Height - 1) + rowBytes;
    if (need > src.Size() - layout.PixelOffset) {
      Fail(kFormat, "pixel data needs " + Str(need) + " bytes, the file holds " +
                        Str(src.Size() - layout.PixelOffset) + " after offset " + Str(layout.PixelOffset));
    }
    first_ = src.At(layout.PixelOffset, need, "pixel data");
  }
  [[nodiscard]] const std::uint8_t* Row(std::int64_t fileRow) const {
    return first_ + static_cast<std::uint64_t>(fileRow) * stride_;
  }

 private:
  std::uint64_t stride_;
  const std::uint8_t* first_ = nullptr;
};

std::size_t PixelIndex(const TImageData& image, std::int64_t x, std::int64_t y) {
  return static_cast<std::size_t>(y * image.Width + x);
}

// Index of pixel x in a row of 1, 4 or 8 bits per pixel; the leftmost
// pixel sits in the high bits.
std::uint8_t PackedIndex(const std::uint8_t* row, std::int64_t x, int bits) {
  const std::uint64_t bit = static_cast<std::uint64_t>(x) * static_cast<std::uint64_t>(bits);
  const int shift = 8 - bits - static_cast<int>(bit % 8);
  return static_cast<std::uint8_t>((row[bit / 8] >> shift) & ((1 << bits) - 1));
}

// Pixels of a palette picture from its indices; refuses indices beyond the
// palette.
void ResolveIndices(TImageData& image) {
  const std::size_t count = image.Palette.size();
  for (std::size_t i = 0; i < image.Indices.size(); ++i) {
    const auto index = image.Indices[i];
    if (index >= count) {
      const auto width = static_cast<std::size_t>(image.Width);
      Fail(kFormat, "pixel (" + Str(i % width) + ", " + Str(i / width) + ") uses palette index " + Str(index) +
                        " but the palette has " + Str(count) + " colours");
    }
    image.Pixels[i] = ColorToPixel(image.Palette[index]);
  }
}

void DecodeIndexed(const TRowSource& rows, const TBmpLayout& layout, TImageData& image) {
  image.Indices.resize(image.Pixels.size());
  for (std::int64_t r = 0; r < layout.Height; ++r) {
    const std::uint8_t* row = rows.Row(r);
    const std::int64_t y = ImageRow(layout, r);
    for (std::int64_t x = 0; x < layout.Width; ++x) {
      image.Indices[PixelIndex(image, x, y)] = PackedIndex(row, x, layout.Bits);
    }
  }
  ResolveIndices(image);
}

void DecodeRgb24(const TRowSource& rows, const TBmpLayout& layout, TImageData& image) {
  for (std::int64_t r = 0; r < layout.Height; ++r) {
    const std::uint8_t* p = rows.Row(r);
    const std::int64_t y = ImageRow(layout, r);
    for (std::int64_t x = 0; x < layout.Width; ++x, p += 3) {
      image.Pixels[PixelIndex(image, x, y)] = MakePixel(p[2], p[1], p[0]);
    }
  }
}

std::uint32_t MaskedValue(const std::uint8_t* p, int bits) {
  std::uint32_t value = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
  if (bits == 32) value |= (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
  return value;
}

void DecodeMasked(const TRowSource& rows, const TBmpLayout& layout, const TChannelMasks& masks,
                  TImageData& image) {
  if (masks.Alpha.Present()) image.Alpha.resize(image.Pixels.size());
  const auto bytesPerPixel = static_cast<std::uint64_t>(layout.Bits / 8);
  for (std::int64_t r = 0; r < layout.Height; ++r) {
    const std::uint8_t* p = rows.Row(r);
    const std::int64_t y = ImageRow(layout, r);
    for (std::int64_t x = 0; x < layout.Width; ++x, p += bytesPerPixel) {
      const std::uint32_t value = MaskedValue(p, layout.Bits);
      const std::size_t at = PixelIndex(image, x, y);
      image.Pixels[at] = MakePixel(masks.Red.Scale(value), masks.Green.Scale(value), masks.Blue.Scale(value));
      if (!image.Alpha.empty()) image.Alpha[at] = masks.Alpha.Scale(value);
    }
  }
  // Many writers of plain 32-bit pixels leave the fourth byte zero; such a
  // picture is meant to be opaque, not invisible.
  const bool allZero = std::all_of(image.Alpha.begin(), image.Alpha.end(), [](std::uint8_t a) { return a == 0; });
  if (allZero && !masks.AlphaDeclared) image.Alpha.clear();
}

// RLE4/RLE8 decoding into palette indices. Pixels skipped by end-of-line
// and delta codes keep index 0.
class TRleDecoder {
 public:
  TRleDecoder(const TByteSource& src, const TBmpLayout& layout, TImageData& image)
      : src_(src), layout_(layout), image_(image), pos_(layout.PixelOffset) {}

  void Run() {
    image_.Indices.assign(image_.Pixels.size(), 0);
    for (;;) {
      const std::uint8_t count = Next();
      const std::uint8_t value = Next();
      if (count > 0) {
        Repeat(count, value);
        continue;
      }
      switch (value) {
        case 0:  // end of line
          x_ = 0;
          ++row_;
          break;
        case 1:  // end of bitmap
          return;
        case 2: {  // delta: move right and up (in file order)
          const std::uint8_t dx = Next();
          const std::uint8_t dy = Next();
          x_ += dx;
          row_ += dy;
          break;
        }
        default:
          Literal(value);
          break;
      }
    }
  }

 private:
  [[nodiscard]] bool Rle4() const { return layout_.Compression == kBiRle4; }

  std::uint8_t Next() {
    if (pos_ >= src_.Size()) Fail(kFormat, "RLE data ends before the end-of-bitmap code");
    return src_.U8(pos_++, "RLE data");
  }

  // Pixels past the end of the row are dropped: writers that encode the
  // padded row, and deltas that pass the right edge, are common.
  void Put(std::uint8_t index) {
    if (row_ >= layout_.Height) Fail(kFormat, "RLE data runs past the last row");
    if (x_ < layout_.Width) image_.Indices[PixelIndex(image_, x_, ImageRow(layout_, row_))] = index;
    ++x_;
  }

  // A run of count pixels; RLE4 alternates the two nibbles of value.
  void Repeat(std::uint8_t count, std::uint8_t value) {
    for (int i = 0; i < count; ++i) {
      if (Rle4()) {
        Put(static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F));
      } else {
        Put(value);
      }
    }
  }

  // count pixels stored as they are, padded to an even number of bytes.
  void Literal(std::uint8_t count) {
    const std::uint64_t bytes = Rle4() ? (count + 1u) / 2u : count;
    const std::uint8_t* data = src_.At(pos_, bytes, "RLE literal run");
    for (int i = 0; i < count; ++i) {
      if (Rle4()) {
        const std::uint8_t b = data[i / 2];
        Put(static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F));
      } else {
        Put(data[i]);
      }
    }
    pos_ += bytes + (bytes & 1u);
  }

  const TByteSource& src_;
  const TBmpLayout& layout_;
  TImageData& image_;
  std::uint64_t pos_;
  std::int64_t x_ = 0;
  std::int64_t row_ = 0;
};

// ---- writing ---------------------------------------------------------------

class TByteSink {
 public:
  explicit TByteSink(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  void U8(std::uint32_t v) { bytes_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(std::uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(std::uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  void Zeros(std::uint64_t count) { bytes_.insert(bytes_.end(), static_cast<std::size_t>(count), 0); }

 private:
  std::vector<std::uint8_t>& bytes_;
};

constexpr std::uint32_t kPixelsPerMeter = 2835;  // 72 dots per inch
constexpr std::uint32_t kSrgbColorSpace = 0x73524742;  // 'sRGB'

struct TBmpPlan {
  int Bits = 24;
  std::uint32_t HeaderSize = kInfoHeaderSize;
  std::uint32_t Compression = kBiRgb;
  std::uint32_t PaletteCount = 0;
};

void WriteHeaders(TByteSink& sink, const TImageData& image, const TBmpPlan& plan, std::uint64_t stride) {
  const std::uint64_t pixelOffset = kFileHeaderSize + plan.HeaderSize + std::uint64_t{plan.PaletteCount} * 4;
  const std::uint64_t imageBytes = stride * static_cast<std::uint64_t>(image.Height);
  const std::uint64_t fileSize = pixelOffset + imageBytes;
  if (fileSize > 0xFFFFFFFFu) Fail(kFormat, "picture is too large for a BMP file");
  sink.U8('B');
  sink.U8('M');
  sink.U32(static_cast<std::uint32_t>(fileSize));
  sink.U32(0);
  sink.U32(static_cast<std::uint32_t>(pixelOffset));
  sink.U32(plan.HeaderSize);
  sink.U32(static_cast<std::uint32_t>(image.Width));
  sink.U32(static_cast<std::uint32_t>(image.Height));
  sink.U16(1);
  sink.U16(static_cast<std::uint32_t>(plan.Bits));
  sink.U32(plan.Compression);
  sink.U32(static_cast<std::uint32_t>(imageBytes));
  sink.U32(kPixelsPerMeter);
  sink.U32(kPixelsPerMeter);
  sink.U32(plan.PaletteCount);
  sink.U32(0);
  if (plan.HeaderSize == kV4HeaderSize) {
    for (const std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) sink.U32(mask);
    sink.U32(kSrgbColorSpace);
    sink.Zeros(36 + 12);  // end points and gamma, unused with sRGB
  }
}

void WritePixelRow(TByteSink& sink, const TImageData& image, const TBmpPlan& plan, std::int64_t y) {
  const std::size_t start = PixelIndex(image, 0, y);
  for (std::size_t i = start; i < start + static_cast<std::size_t>(image.Width); ++i) {
    if (plan.Bits == 8) {
      sink.U8(image.Indices[i]);
      continue;
    }
    const TPixel p = image.Pixels[i];
    sink.U8(p);
    sink.U8(p >> 8);
    sink.U8(p >> 16);
    if (plan.Bits == 32) sink.U8(image.Alpha[i]);
  }
}

TBmpPlan PlanBmp(const TImageData& image) {
  TBmpPlan plan;
  if (imagecodec::HasTranslucency(image)) {
    // Only 32-bit pixels with an alpha mask keep translucency.
    plan.Bits = 32;
    plan.HeaderSize = kV4HeaderSize;
    plan.Compression = kBiBitfields;
  } else if (imagecodec::HasExactPalette(image)) {
    plan.Bits = 8;
    plan.PaletteCount = static_cast<std::uint32_t>(image.Palette.size());
  }
  return plan;
}

}  // namespace

TImageData ReadBmp(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) size = 0;
  const TByteSource src(data, size);
  const TBmpLayout layout = ReadLayout(src);
  if (layout.Compression == kBiRle4 || layout.Compression == kBiRle8) {
    TImageData image = imagecodec::MakeImage(layout.Width, layout.Height, layout.Bits, kFormat);
    image.Palette = ReadPalette(src, layout);
    TRleDecoder(src, layout, image).Run();
    ResolveIndices(image);
    return image;
  }
  // Everything is checked against the data before pixel memory is taken.
  const TChannelMasks masks = layout.Bits > 8 && layout.Bits != 24 ? ChannelMasks(layout) : TChannelMasks{};
  const TRowSource rows(src, layout);
  TImageData image = imagecodec::MakeImage(layout.Width, layout.Height, layout.Bits, kFormat);
  if (layout.Bits <= 8) {
    image.Palette = ReadPalette(src, layout);
    DecodeIndexed(rows, layout, image);
  } else if (layout.Bits == 24) {
    DecodeRgb24(rows, layout, image);
  } else {
    DecodeMasked(rows, layout, masks, image);
  }
  return image;
}

void WriteBmp(std::ostream& out, const TImageData& image) {
  imagecodec::CheckImageData(image, kFormat);
  const TBmpPlan plan = PlanBmp(image);
  const std::uint64_t stride = (static_cast<std::uint64_t>(image.Width) * static_cast<std::uint64_t>(plan.Bits) + 31) / 32 * 4;
  const std::uint64_t padding = stride - (static_cast<std::uint64_t>(image.Width) * static_cast<std::uint64_t>(plan.Bits) / 8);

  std::vector<std::uint8_t> bytes;
  TByteSink sink(bytes);
  WriteHeaders(sink, image, plan, stride);
  for (std::uint32_t i = 0; i < plan.PaletteCount; ++i) {
    const TColor c = image.Palette[i];
    sink.U8(GetBValue(c));
    sink.U8(GetGValue(c));
    sink.U8(GetRValue(c));
    sink.U8(0);
  }
  for (std::int64_t y = image.Height - 1; y >= 0; --y) {
    WritePixelRow(sink, image, plan, y);
    sink.Zeros(padding);
  }
  imagecodec::WriteAllBytes(out, bytes, kFormat);
}

}  // namespace vorn
