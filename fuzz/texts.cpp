// Text readers of the toolkit: colour names, dates, date formats and the
// UTF-8 helpers. Any input gives a value, false or the documented
// exception, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/platform/graphics/color.h"
#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/dates.h"
#include "vorn/platform/runtime/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    (void)vorn::StringToColor(text);
  } catch (const vorn::EConvertError&) {
  }
  vorn::TDateTime d = 0;
  if (vorn::TryStrToDate(text, d)) {
    int y = 0, m = 0, day = 0;
    vorn::DecodeDate(d, y, m, day);
    if (y < 1 || y > 9999 || m < 1 || m > 12 || day < 1 || day > 31) __builtin_trap();
  }
  // The text as a date format, applied to a fixed moment.
  const std::string formatted = vorn::FormatDateTime(text.substr(0, 256), 46000.5);
  if (formatted.size() > 64 * 256 + 64) __builtin_trap();
  const std::u32string wide = vorn::Utf8ToU32(text);
  if (wide.size() != vorn::Utf8Length(text)) __builtin_trap();
  (void)vorn::Utf8Substr(text, wide.size() / 2, 3);
  return 0;
}
