// Fuzz target for date/time texts in the picker's letters. The input is a
// format and a text (first byte: the format's length). Reading gives 0, a
// serial inside the calendar, or EConvertError. When the format holds a
// whole date and time in fixed-width fields, a serial written with it
// reads back to the same second.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/dateformat.h"

namespace {

using namespace vorn;

// True when every field is fixed width and year, month, day, hour, minute
// and second are all there, with one kind of hour.
bool ReadsBackExactly(const std::vector<TDateToken>& Tokens) {
  bool year = false, month = false, day = false, hour24 = false, hour12 = false, half = false, minute = false,
       second = false;
  for (const TDateToken& t : Tokens) {
    switch (t.Field) {
      case dfYear4: year = true; break;
      case dfMonthLong: case dfMonthShort: case dfMonth2: month = true; break;
      case dfDay2: day = true; break;
      case dfHour2: hour24 = true; break;
      case dfHour12Two: hour12 = true; break;
      case dfAmPm2: case dfAmPm1: half = true; break;
      case dfMinute2: minute = true; break;
      case dfSecond2: second = true; break;
      case dfLiteral: case dfWeekdayLong: case dfWeekdayShort: break;
      default: return false;  // a field of any length, a two-digit year, an invalid run
    }
  }
  const bool hours = hour24 ? !hour12 : hour12 && half;
  return year && month && day && hours && minute && second;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9 || size > 9 + 256) return 0;
  double raw = 0;
  std::memcpy(&raw, data, sizeof raw);
  const std::size_t formatLength = std::min<std::size_t>(data[8], size - 9);
  const std::string_view format(reinterpret_cast<const char*>(data) + 9, formatLength);
  const std::string_view text(reinterpret_cast<const char*>(data) + 9 + formatLength, size - 9 - formatLength);

  try {
    const TDateTime read = PickerTextToDateTime(format, text);
    if (!std::isfinite(read) || read <= MinDateTime - 1 || read >= MaxDateTime + 1) std::abort();
  } catch (const EConvertError&) {
  }

  // Writing any serial with any format never fails; inside the calendar a
  // complete fixed-width format reads its text back.
  const std::string written = FormatPickerDateTime(format, raw);
  const bool inside = std::isfinite(raw) && raw > MinDateTime && raw < MaxDateTime;
  if (!inside) {
    if (!written.empty()) std::abort();
    return 0;
  }
  const double whole = std::trunc(raw);
  const double serial = whole + (raw >= 0 ? 1 : -1) * std::floor(std::fabs(raw - whole) * 86400.0) / 86400.0;
  if (!ReadsBackExactly(SplitDateFormat(format))) return 0;
  const std::string again = FormatPickerDateTime(format, serial);
  try {
    // Compared as texts: -0.5 and 0.5 are the same moment of day 0.
    const TDateTime back = PickerTextToDateTime(format, again);
    if (FormatPickerDateTime(format, back) != again) std::abort();
  } catch (const EConvertError&) {
    std::abort();
  }
  return 0;
}
