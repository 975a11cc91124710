// PNG reading and writing through libpng.
//
// libpng reports errors by calling our error function, which longjmps back
// to the setjmp of the phase that made the call. Each phase is a small
// function whose frame holds nothing with a destructor, so the jump skips no
// C++ cleanup; buffers are taken by the caller between phases, and the
// libpng structures are released by a guard in the caller.
//
// The reader keeps no ancillary chunk but tRNS: text, profiles and the like
// are skipped unread, so a small file cannot make libpng inflate and hold
// megabytes of text. libpng's own memory is counted and bounded.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "vorn/platform/graphics/imagecodec.h"
#include "vorn/platform/graphics/imagefile.h"

namespace vorn {

namespace {

using imagecodec::Fail;
using imagecodec::MakePixel;

constexpr std::string_view kFormat = "PNG";
// No chunk we keep comes near this size; larger ones are skipped.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{1} << 20;
// Chunks libpng may store for later (text, unknown chunks) at most.
constexpr png_uint_32 kMaxCachedChunks = 32;
// libpng's own memory for one read: its structures, row buffers and
// inflate state, a few megabytes at most for the widest picture.
constexpr std::size_t kMaxDecoderBytes = std::size_t{32} << 20;

// State shared with the libpng callbacks: plain data only.
struct TPngContext {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Pos = 0;
  std::vector<std::uint8_t>* Output = nullptr;
  std::size_t HeapBytes = 0;
  std::size_t HeapPeak = 0;
  char Message[256] = "unknown libpng error";
};

thread_local std::size_t tLastDecoderPeak = 0;

// libpng's allocations, each with its size in front so that the count
// stays exact; refused beyond kMaxDecoderBytes.
constexpr std::size_t kBlockHeader = alignof(std::max_align_t);

png_voidp OnPngMalloc(png_structp png, png_alloc_size_t size) {
  auto* context = static_cast<TPngContext*>(png_get_mem_ptr(png));
  if (size > kMaxDecoderBytes - context->HeapBytes) return nullptr;
  auto* block = static_cast<std::uint8_t*>(std::malloc(size + kBlockHeader));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  context->HeapBytes += size;
  context->HeapPeak = std::max(context->HeapPeak, context->HeapBytes);
  return block + kBlockHeader;
}

void OnPngFree(png_structp png, png_voidp pointer) {
  if (pointer == nullptr) return;
  auto* context = static_cast<TPngContext*>(png_get_mem_ptr(png));
  std::uint8_t* block = static_cast<std::uint8_t*>(pointer) - kBlockHeader;
  std::size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  context->HeapBytes -= size;
  std::free(block);
}

void OnPngError(png_structp png, png_const_charp message) {
  auto* context = static_cast<TPngContext*>(png_get_error_ptr(png));
  if (context != nullptr && message != nullptr) {
    std::strncpy(context->Message, message, sizeof context->Message - 1);
    context->Message[sizeof context->Message - 1] = '\0';
  }
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void OnPngRead(png_structp png, png_bytep out, png_size_t count) {
  auto* context = static_cast<TPngContext*>(png_get_io_ptr(png));
  if (count > context->Size - context->Pos) png_error(png, "data ends early (truncated file)");
  std::memcpy(out, context->Data + context->Pos, count);
  context->Pos += count;
}

bool AppendBytes(std::vector<std::uint8_t>& out, const png_byte* data, png_size_t count) noexcept {
  try {
    out.insert(out.end(), data, data + count);
    return true;
  } catch (...) {
    return false;
  }
}

void OnPngWrite(png_structp png, png_bytep data, png_size_t count) {
  auto* context = static_cast<TPngContext*>(png_get_io_ptr(png));
  if (!AppendBytes(*context->Output, data, count)) png_error(png, "out of memory while encoding");
}

void OnPngFlush(png_structp /*png*/) {}

// ---- reading ---------------------------------------------------------------

class TPngReadStructs {
 public:
  explicit TPngReadStructs(TPngContext& context)
      : context_(context),
        png_(png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning, &context,
                                      OnPngMalloc, OnPngFree)) {
    if (png_ == nullptr) Fail(kFormat, "cannot create the decoder");
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) {
      png_destroy_read_struct(&png_, nullptr, nullptr);
      Fail(kFormat, "cannot create the decoder");
    }
    png_set_read_fn(png_, &context, OnPngRead);
  }
  ~TPngReadStructs() {
    png_destroy_read_struct(&png_, &info_, nullptr);
    tLastDecoderPeak = context_.HeapPeak;
  }
  TPngReadStructs(const TPngReadStructs&) = delete;
  TPngReadStructs& operator=(const TPngReadStructs&) = delete;

  [[nodiscard]] png_structp Png() const { return png_; }
  [[nodiscard]] png_infop Info() const { return info_; }

 private:
  TPngContext& context_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// Phase 1: the signature and the chunks up to the first image data.
bool PngReadHeader(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
  // A negative count skips every ancillary chunk libpng knows except tRNS,
  // and every unknown chunk, without reading their data.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  return true;
}

// Phase 2: transformations to one byte per sample. Palette pictures become
// one index per byte; the others become RGB or RGBA.
bool PngSetTransforms(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  const png_byte colorType = png_get_color_type(png, info);
  const png_byte bitDepth = png_get_bit_depth(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_packing(png);
  } else {
    // libpng scales 16-bit samples exactly: v * 255 / 65535, rounded.
    if (bitDepth == 16) png_set_scale_16(png);
    if (bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return true;
}

// Phase 3: all rows (every pass of an interlaced picture) and the chunks
// after them.
bool PngReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

void FillPaletteImage(png_structp png, png_infop info, const std::vector<std::uint8_t>& samples,
                      TImageData& image) {
  png_colorp colors = nullptr;
  int colorCount = 0;
  if (png_get_PLTE(png, info, &colors, &colorCount) == 0 || colorCount <= 0) {
    Fail(kFormat, "palette picture has no palette");
  }
  png_bytep trans = nullptr;
  int transCount = 0;
  png_get_tRNS(png, info, &trans, &transCount, nullptr);
  if (trans == nullptr) transCount = 0;

  for (int i = 0; i < colorCount; ++i) image.Palette.push_back(RGB(colors[i].red, colors[i].green, colors[i].blue));
  image.Indices = samples;
  if (transCount > 0) image.Alpha.resize(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const int index = samples[i];
    if (index >= colorCount) {
      const auto width = static_cast<std::size_t>(image.Width);
      Fail(kFormat, "pixel (" + std::to_string(i % width) + ", " + std::to_string(i / width) +
                        ") uses palette index " + std::to_string(index) + " but the palette has " +
                        std::to_string(colorCount) + " colours");
    }
    const png_color& c = colors[index];
    image.Pixels[i] = MakePixel(c.red, c.green, c.blue);
    if (transCount > 0) image.Alpha[i] = index < transCount ? trans[index] : 255;
  }
}

void FillColorImage(const std::vector<std::uint8_t>& samples, std::size_t channels, TImageData& image) {
  if (channels == 4) image.Alpha.resize(image.Pixels.size());
  const std::uint8_t* s = samples.data();
  for (std::size_t i = 0; i < image.Pixels.size(); ++i, s += channels) {
    image.Pixels[i] = MakePixel(s[0], s[1], s[2]);
    if (channels == 4) image.Alpha[i] = s[3];
  }
}

// ---- writing ---------------------------------------------------------------

class TPngWriteStructs {
 public:
  explicit TPngWriteStructs(TPngContext& context)
      : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning)) {
    if (png_ == nullptr) Fail(kFormat, "cannot create the encoder");
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) {
      png_destroy_write_struct(&png_, nullptr);
      Fail(kFormat, "cannot create the encoder");
    }
    png_set_write_fn(png_, &context, OnPngWrite, OnPngFlush);
  }
  ~TPngWriteStructs() { png_destroy_write_struct(&png_, &info_); }
  TPngWriteStructs(const TPngWriteStructs&) = delete;
  TPngWriteStructs& operator=(const TPngWriteStructs&) = delete;

  [[nodiscard]] png_structp Png() const { return png_; }
  [[nodiscard]] png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// What the encoder is given: plain pointers into buffers the caller owns.
struct TPngPlan {
  int ColorType = PNG_COLOR_TYPE_RGB;
  std::size_t Channels = 3;
  std::vector<png_color> Palette;
  std::vector<png_byte> Trans;
};

TPngPlan PlanPng(const TImageData& image) {
  TPngPlan plan;
  if (imagecodec::HasExactPalette(image)) {
    std::vector<std::uint8_t> entryAlpha = imagecodec::AlphaPerPaletteEntry(image);
    if (image.Alpha.empty() || !entryAlpha.empty()) {
      plan.ColorType = PNG_COLOR_TYPE_PALETTE;
      plan.Channels = 1;
      for (const TColor c : image.Palette) plan.Palette.push_back({GetRValue(c), GetGValue(c), GetBValue(c)});
      // tRNS may stop before the last entries that are opaque.
      while (!entryAlpha.empty() && entryAlpha.back() == 255) entryAlpha.pop_back();
      plan.Trans = std::move(entryAlpha);
      return plan;
    }
  }
  if (!image.Alpha.empty()) {
    plan.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    plan.Channels = 4;
  }
  return plan;
}

std::vector<std::uint8_t> PngSamples(const TImageData& image, const TPngPlan& plan) {
  if (plan.ColorType == PNG_COLOR_TYPE_PALETTE) return image.Indices;
  std::vector<std::uint8_t> samples;
  samples.reserve(image.Pixels.size() * plan.Channels);
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    const TPixel p = image.Pixels[i];
    samples.push_back(static_cast<std::uint8_t>(p >> 16));
    samples.push_back(static_cast<std::uint8_t>(p >> 8));
    samples.push_back(static_cast<std::uint8_t>(p));
    if (plan.Channels == 4) samples.push_back(image.Alpha[i]);
  }
  return samples;
}

std::vector<png_bytep> RowPointers(std::vector<std::uint8_t>& samples, std::size_t rowBytes, int height) {
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = samples.data() + y * rowBytes;
  return rows;
}

bool PngWriteAll(png_structp png, png_infop info, const TImageData* image, const TPngPlan* plan,
                 png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->Width), static_cast<png_uint_32>(image->Height), 8,
               plan->ColorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!plan->Palette.empty()) {
    png_set_PLTE(png, info, plan->Palette.data(), static_cast<int>(plan->Palette.size()));
  }
  if (!plan->Trans.empty()) {
    png_set_tRNS(png, info, plan->Trans.data(), static_cast<int>(plan->Trans.size()), nullptr);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

namespace imagecodec {
std::size_t LastPngDecoderPeakBytes() { return tLastDecoderPeak; }
}  // namespace imagecodec

TImageData ReadPng(const std::uint8_t* data, std::size_t size) {
  TPngContext context;
  context.Data = data;
  context.Size = data == nullptr ? 0 : size;
  TPngReadStructs structs(context);
  png_structp png = structs.Png();
  png_infop info = structs.Info();

  if (!PngReadHeader(png, info)) Fail(kFormat, context.Message);
  const std::int64_t width = png_get_image_width(png, info);
  const std::int64_t height = png_get_image_height(png, info);
  imagecodec::CheckImageSize(width, height, kFormat);
  const int sourceBits = 8 * png_get_channels(png, info);
  const bool palette = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;

  if (!PngSetTransforms(png, info)) Fail(kFormat, context.Message);
  const std::size_t channels = png_get_channels(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  const bool expected = palette ? channels == 1 : (channels == 3 || channels == 4);
  if (!expected || rowBytes != static_cast<std::size_t>(width) * channels) {
    Fail(kFormat, "unexpected sample layout after conversion");
  }

  TImageData image = imagecodec::MakeImage(width, height, sourceBits, kFormat);
  std::vector<std::uint8_t> samples(rowBytes * static_cast<std::size_t>(height));
  std::vector<png_bytep> rows = RowPointers(samples, rowBytes, image.Height);
  if (!PngReadRows(png, rows.data())) Fail(kFormat, context.Message);

  if (palette) {
    FillPaletteImage(png, info, samples, image);
  } else {
    FillColorImage(samples, channels, image);
  }
  return image;
}

void WritePng(std::ostream& out, const TImageData& image) {
  imagecodec::CheckImageData(image, kFormat);
  const TPngPlan plan = PlanPng(image);
  std::vector<std::uint8_t> samples = PngSamples(image, plan);
  std::vector<png_bytep> rows = RowPointers(samples, static_cast<std::size_t>(image.Width) * plan.Channels,
                                            image.Height);
  std::vector<std::uint8_t> encoded;
  TPngContext context;
  context.Output = &encoded;
  {
    TPngWriteStructs structs(context);
    if (!PngWriteAll(structs.Png(), structs.Info(), &image, &plan, rows.data())) Fail(kFormat, context.Message);
  }
  imagecodec::WriteAllBytes(out, encoded, kFormat);
}

}  // namespace vorn
