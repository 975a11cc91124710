// Fuzz target for dates over any serial: formatting with any format gives
// a text (empty outside the calendar), and decoding gives a real date that
// encodes back to the serial's day, or the invalid-date error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/dates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 12 || size > 12 + 128) return 0;
  double serial = 0;
  std::memcpy(&serial, data, sizeof serial);
  std::int32_t months = 0;
  std::memcpy(&months, data + 8, sizeof months);
  const std::string_view format(reinterpret_cast<const char*>(data) + 12, size - 12);

  const bool inside = std::isfinite(serial) && serial > vorn::MinDateTime - 1 && serial < vorn::MaxDateTime + 1;
  const std::string text = vorn::FormatDateTime(format, serial);
  if (!inside && !text.empty()) std::abort();
  if (text.size() > 64 * format.size() + 256) std::abort();
  try {
    int y = 0, m = 0, d = 0;
    vorn::DecodeDate(serial, y, m, d);
    if (!inside || vorn::EncodeDate(y, m, d) != std::trunc(serial)) std::abort();
    const int weekday = vorn::DayOfWeek(serial);
    const int week = vorn::WeekOfTheYear(serial);
    if (weekday < 1 || weekday > 7 || week < 1 || week > 53) std::abort();
  } catch (const vorn::EConvertError&) {
    if (inside) std::abort();
  }
  try {
    const vorn::TDateTime later = vorn::IncMonth(serial, months);
    if (!(later > vorn::MinDateTime - 1 && later < vorn::MaxDateTime + 1)) std::abort();
  } catch (const vorn::EConvertError&) {
  }
  return 0;
}
