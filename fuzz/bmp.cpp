// Fuzz target for the BMP reader: any input is either refused with
// EInvalidGraphic or read into a picture whose fields agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/declaredarea.h"
#include "vorn/platform/graphics/imagefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (vorn::fuzz::SlowButLegal(data, size)) return 0;
  try {
    const vorn::TImageData image = vorn::ReadBmp(data, size);
    const auto count = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
    if (image.Pixels.size() != count) std::abort();
    if (!image.Indices.empty() && image.Indices.size() != count) std::abort();
    if (!image.Alpha.empty() && image.Alpha.size() != count) std::abort();
    for (const auto index : image.Indices) {
      if (index >= image.Palette.size()) std::abort();
    }
  } catch (const vorn::EInvalidGraphic&) {
  }
  return 0;
}
