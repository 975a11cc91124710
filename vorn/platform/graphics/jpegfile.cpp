// JPEG reading through libjpeg.
//
// libjpeg reports fatal errors through error_exit, which by default ends the
// process; ours longjmps back to the phase that made the call instead. As
// with PNG, each phase is a small function whose frame holds nothing with a
// destructor, and the caller owns the buffers and releases the decoder.
//
// Decoding work is bounded by the file's size before any pixel memory is
// taken: a survey of the markers counts the scans and the 8x8 blocks each
// one passes over, and a file that asks for far more work than its bytes
// can describe is refused (see CheckDecodeWork).
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>

#include "vorn/platform/graphics/imagecodec.h"
#include "vorn/platform/graphics/imagefile.h"

namespace vorn {

namespace {

using imagecodec::Fail;
using imagecodec::MakePixel;

constexpr std::string_view kFormat = "JPEG";
// A progressive file may hold any number of scans, each a pass over the
// whole picture; a small file with thousands of them would take minutes.
constexpr int kMaxScans = 1000;
// Every block of a Huffman-coded picture has its DC value coded with at
// least one bit, so a file cannot describe more than 8 blocks per byte.
// Pictures up to kJpegFreeBlocks blocks are always read.
constexpr std::uint64_t kBlocksPerByte = 8;
// Passes of scans over blocks, plus the final pass that turns blocks into
// pixels. A real progressive file needs about 20 per byte; a flat one of
// many scans a few times that.
constexpr std::uint64_t kBlockPassesPerByte = 128;

// The error manager libjpeg sees, with where to jump and what went wrong.
struct TJpegErrors {
  jpeg_error_mgr Manager{};
  std::jmp_buf Jump{};
  bool DataEndedEarly = false;
  char Message[JMSG_LENGTH_MAX] = "unknown libjpeg error";
};

TJpegErrors& ErrorsOf(j_common_ptr cinfo) {
  // The manager is the first member of TJpegErrors, a standard-layout type.
  return *reinterpret_cast<TJpegErrors*>(cinfo->err);
}

void OnJpegError(j_common_ptr cinfo) {
  TJpegErrors& errors = ErrorsOf(cinfo);
  errors.Manager.format_message(cinfo, errors.Message);
  std::longjmp(errors.Jump, 1);
}

// Warnings are not shown; the one that means the data was cut short is
// remembered so that a truncated file is refused rather than half grey.
void OnJpegMessage(j_common_ptr cinfo, int level) {
  TJpegErrors& errors = ErrorsOf(cinfo);
  if (level < 0 && errors.Manager.msg_code == JWRN_JPEG_EOF) errors.DataEndedEarly = true;
}

void OnJpegProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor == 0) return;
  const auto* decoder = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decoder->input_scan_number > kMaxScans) {
    TJpegErrors& errors = ErrorsOf(cinfo);
    std::snprintf(errors.Message, sizeof errors.Message, "more than %d scans", kMaxScans);
    std::longjmp(errors.Jump, 1);
  }
}

// The decoder and its error manager, released however reading ends.
class TJpegDecoder {
 public:
  TJpegDecoder(const std::uint8_t* data, std::size_t size) {
    info_.err = jpeg_std_error(&errors_.Manager);
    errors_.Manager.error_exit = OnJpegError;
    errors_.Manager.emit_message = OnJpegMessage;
    progress_.progress_monitor = OnJpegProgress;
    if (!Create(&info_, &errors_, data, size)) {
      jpeg_destroy_decompress(&info_);
      Fail(kFormat, errors_.Message);
    }
    info_.progress = &progress_;
  }
  ~TJpegDecoder() { jpeg_destroy_decompress(&info_); }
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;

  j_decompress_ptr Info() { return &info_; }
  TJpegErrors& Errors() { return errors_; }

 private:
  static bool Create(j_decompress_ptr info, TJpegErrors* errors, const std::uint8_t* data, std::size_t size) {
    if (setjmp(errors->Jump)) return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    return true;
  }

  jpeg_decompress_struct info_{};
  TJpegErrors errors_;
  jpeg_progress_mgr progress_{};
};

// Phase 1: the markers up to the first scan.
bool JpegReadHeader(j_decompress_ptr info, TJpegErrors* errors) {
  if (setjmp(errors->Jump)) return false;
  jpeg_read_header(info, TRUE);
  return true;
}

// Phase 2: decode every scanline into rows of out_color_components bytes.
bool JpegReadPixels(j_decompress_ptr info, TJpegErrors* errors, std::uint8_t* out, std::size_t rowBytes) {
  if (setjmp(errors->Jump)) return false;
  jpeg_start_decompress(info);
  if (info->output_components * static_cast<std::size_t>(info->output_width) != rowBytes) {
    std::strcpy(errors->Message, "unexpected sample layout after decoding");
    return false;
  }
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = out + static_cast<std::size_t>(info->output_scanline) * rowBytes;
    if (jpeg_read_scanlines(info, &row, 1) != 1) {
      std::strcpy(errors->Message, "decoder stopped before the last row");
      return false;
    }
  }
  jpeg_finish_decompress(info);
  return true;
}

// ---- the marker survey ---------------------------------------------------------

// Scans in the data and how many block passes they make, from the markers
// alone, in one walk over the bytes: segments are skipped by their length,
// entropy-coded data up to the next marker that is not a restart.
struct TScanSurvey {
  int Scans = 0;
  std::uint64_t BlockPasses = 0;
};

std::uint64_t ComponentBlocks(const jpeg_decompress_struct& info, int componentId) {
  for (int i = 0; i < info.num_components; ++i) {
    const jpeg_component_info& c = info.comp_info[i];
    if (c.component_id == componentId) {
      return std::uint64_t{c.width_in_blocks} * std::uint64_t{c.height_in_blocks};
    }
  }
  return 0;
}

bool IsStandaloneMarker(std::uint8_t marker) {
  return marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7);
}

// Position of the first marker at or after pos inside entropy-coded data.
std::size_t SkipEntropyData(const std::uint8_t* data, std::size_t size, std::size_t pos) {
  for (; pos + 1 < size; ++pos) {
    if (data[pos] != 0xFF) continue;
    const std::uint8_t next = data[pos + 1];
    if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) return pos;
  }
  return size;
}

TScanSurvey SurveyScans(const std::uint8_t* data, std::size_t size, const jpeg_decompress_struct& info) {
  TScanSurvey survey;
  std::size_t pos = 2;  // after the start-of-image marker
  while (pos + 1 < size) {
    if (data[pos] != 0xFF || data[pos + 1] == 0xFF) {  // stray bytes or fill
      ++pos;
      continue;
    }
    const std::uint8_t marker = data[pos + 1];
    if (marker == 0xD9) break;  // end of image
    if (IsStandaloneMarker(marker)) {
      pos += 2;
      continue;
    }
    if (pos + 4 > size) break;
    const std::size_t length = (std::size_t{data[pos + 2]} << 8) | data[pos + 3];
    if (marker == 0xDA && length >= 3 && pos + 2 + length <= size) {
      if (++survey.Scans > kMaxScans) {
        Fail(kFormat, "more than " + std::to_string(kMaxScans) + " scans");
      }
      const std::size_t count = std::min<std::size_t>(data[pos + 4], (length - 3) / 2);
      for (std::size_t i = 0; i < count; ++i) survey.BlockPasses += ComponentBlocks(info, data[pos + 5 + 2 * i]);
      pos = SkipEntropyData(data, size, pos + 2 + length);
      continue;
    }
    pos += 2 + length;
  }
  return survey;
}

// Refuses, before decoding, a file whose picture or scans need more work
// than its size can describe.
void CheckDecodeWork(const std::uint8_t* data, std::size_t size, const jpeg_decompress_struct& info) {
  std::uint64_t blocks = 0;
  for (int i = 0; i < info.num_components; ++i) {
    blocks += std::uint64_t{info.comp_info[i].width_in_blocks} * std::uint64_t{info.comp_info[i].height_in_blocks};
  }
  if (blocks > std::max(kJpegFreeBlocks, kBlocksPerByte * size)) {
    Fail(kFormat, "a picture of " + std::to_string(blocks) + " blocks cannot be coded in " + std::to_string(size) +
                      " bytes");
  }
  const TScanSurvey survey = SurveyScans(data, size, info);
  const std::uint64_t passes = survey.BlockPasses + blocks;
  if (passes > std::max(kJpegFreeBlockPasses, kBlockPassesPerByte * size)) {
    Fail(kFormat, std::to_string(survey.Scans) + " scans over " + std::to_string(blocks) +
                      " blocks are too much work for " + std::to_string(size) + " bytes");
  }
}

// Output colour space and samples per pixel for the file's colour space.
int ChooseOutput(j_decompress_ptr info) {
  switch (info->jpeg_color_space) {
    case JCS_GRAYSCALE:
      info->out_color_space = JCS_GRAYSCALE;
      return 1;
    case JCS_CMYK:
    case JCS_YCCK:
      info->out_color_space = JCS_CMYK;
      return 4;
    case JCS_RGB:
    case JCS_YCbCr:
      info->out_color_space = JCS_RGB;
      return 3;
    default:
      Fail(kFormat, "unsupported colour space " + std::to_string(static_cast<int>(info->jpeg_color_space)));
  }
}

// CMYK from Adobe files is stored inverted (255 = no ink).
TPixel CmykToPixel(const std::uint8_t* s, bool inverted) {
  auto channel = [&](std::uint8_t ink) {
    const unsigned c = inverted ? ink : 255u - ink;
    const unsigned k = inverted ? s[3] : 255u - s[3];
    return (c * k + 127) / 255;
  };
  return MakePixel(channel(s[0]), channel(s[1]), channel(s[2]));
}

void FillPixels(const std::vector<std::uint8_t>& samples, int components, bool adobe, TImageData& image) {
  const std::uint8_t* s = samples.data();
  for (TPixel& pixel : image.Pixels) {
    switch (components) {
      case 1: pixel = MakePixel(s[0], s[0], s[0]); break;
      case 3: pixel = MakePixel(s[0], s[1], s[2]); break;
      default: pixel = CmykToPixel(s, adobe); break;
    }
    s += components;
  }
}

}  // namespace

TImageData ReadJpeg(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0) Fail(kFormat, "data is empty");
  TJpegDecoder decoder(data, size);
  j_decompress_ptr info = decoder.Info();
  TJpegErrors& errors = decoder.Errors();

  if (!JpegReadHeader(info, &errors)) Fail(kFormat, errors.Message);
  imagecodec::CheckImageSize(info->image_width, info->image_height, kFormat);
  CheckDecodeWork(data, size, *info);
  const int components = ChooseOutput(info);
  const bool adobe = info->saw_Adobe_marker != 0;

  TImageData image = imagecodec::MakeImage(info->image_width, info->image_height, 8 * info->num_components, kFormat);
  const std::size_t rowBytes = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(components);
  std::vector<std::uint8_t> samples(rowBytes * static_cast<std::size_t>(image.Height));
  if (!JpegReadPixels(info, &errors, samples.data(), rowBytes)) Fail(kFormat, errors.Message);
  if (errors.DataEndedEarly) Fail(kFormat, "data ends early (truncated file)");

  FillPixels(samples, components, adobe, image);
  return image;
}

}  // namespace vorn
