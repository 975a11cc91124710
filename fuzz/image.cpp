// Fuzz target for every picture reader behind ReadImage (BMP, PNG, JPEG),
// with the same invariants as the BMP target; a picture that is read must
// also survive being written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "fuzz/declaredarea.h"
#include "vorn/platform/graphics/imagefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (vorn::fuzz::SlowButLegal(data, size)) return 0;
  vorn::TImageData image;
  try {
    image = vorn::ReadImage(data, size);
  } catch (const vorn::EInvalidGraphic&) {
    return 0;
  }
  const auto count = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
  if (image.Pixels.size() != count) std::abort();
  if (!image.Indices.empty() && image.Indices.size() != count) std::abort();
  if (!image.Alpha.empty() && image.Alpha.size() != count) std::abort();
  if (count <= 4096) {
    std::ostringstream bmp;
    std::ostringstream png;
    vorn::WriteBmp(bmp, image);
    vorn::WritePng(png, image);
  }
  return 0;
}
