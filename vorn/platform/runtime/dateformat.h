// Date and time texts in the date/time picker's format letters, written
// and read back. Unlike FormatDateTime's classic letters these are case
// sensitive and know no separators from the settings:
//
//   yyyy yy        year (4 digits, 2 digits)
//   MMMM MMM MM M  month (long name, short name, 2 digits, number)
//   dddd ddd       weekday (long, short name)
//   dd d           day of the month
//   HH H           hour 0..23;  hh h  hour 1..12 on the 12-hour clock
//   mm m  ss s     minute, second
//   tt t           AM/PM, A/P
//   'text'         literal text ('' inside stands for one quote)
//
// Any other character is literal text; a run of a format letter of another
// length ("yyy", "MMMMM", "y") or an unterminated quote makes the format
// invalid. Names are the English ones, whatever the settings say, so that
// a text written here always reads back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/platform/runtime/dates.h"

namespace vorn {

enum TDateField : std::uint8_t {
  dfLiteral,
  dfInvalid,  // a run of a format letter of a length no token has, or an open quote
  dfYear4,
  dfYear2,
  dfMonthLong,
  dfMonthShort,
  dfMonth2,
  dfMonth1,
  dfWeekdayLong,
  dfWeekdayShort,
  dfDay2,
  dfDay1,
  dfHour2,
  dfHour1,
  dfHour12Two,
  dfHour12One,
  dfMinute2,
  dfMinute1,
  dfSecond2,
  dfSecond1,
  dfAmPm2,
  dfAmPm1,
};

struct TDateToken {
  TDateField Field = dfLiteral;
  std::string Text;  // the literal text (quotes resolved) or the run as written
};

// The format split into tokens, left to right; never fails.
std::vector<TDateToken> SplitDateFormat(std::string_view Format);
// False when any token is dfInvalid.
bool DateFormatValid(const std::vector<TDateToken>& Tokens);

// The text of one token for a serial (literals and invalid runs as written).
// The serial must lie in MinDateTime..MaxDateTime + 1 (exclusive).
std::string DateTokenText(const TDateToken& Token, TDateTime DateTime);
// The whole text; "" for a serial outside the calendar (as FormatDateTime).
std::string FormatPickerDateTime(std::string_view Format, TDateTime DateTime);

// Reads Text with Format. Every token consumes text from the left: yyyy,
// MM, dd, HH, hh, mm and ss exactly that many digits, yy two digits read
// in the century window of the settings, M d H h m s a leading integer
// (blanks and a sign allowed), MMMM, MMM, dddd and ddd the English names
// (any case), tt and t two and one characters ("am", "a" in any case mean
// before noon, anything else after noon), literals themselves. Text left
// over after the format is ignored. Gives 0 when something does not match
// or the format is invalid; otherwise the date from year, month and day
// plus the time, or only the time when year, month and day are all 0.
// Raises EConvertError naming the text when the date or the time it reads
// does not exist (day 31 in a 30-day month, year 0 with a month, hour 25).
TDateTime PickerTextToDateTime(std::string_view Format, std::string_view Text);

// The English names, month 1..12, weekday 1 = Sunday .. 7 = Saturday.
const std::string& EnglishMonthName(int Month, bool Long);
const std::string& EnglishDayName(int Weekday, bool Long);

}  // namespace vorn
