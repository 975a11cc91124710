// Dates and times. A TDateTime counts days since 1899-12-30 (day 0); the
// fraction is the time of day. Days before day 0 are negative, with the
// time still counted forward from midnight: -1.25 is 1899-12-29 06:00.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {

using TDateTime = double;

constexpr int MinDateYear = 1;
constexpr int MaxDateYear = 9999;
// The serials of 0001-01-01 00:00 and of 9999-12-31 (any time that day).
// Routines that need the date of a serial outside MinDateTime..MaxDateTime
// + 1 (exclusive), or of an infinite or NaN one, raise EConvertError
// ("Invalid date ..."); FormatDateTime and the ...ToStr functions give "".
constexpr TDateTime MinDateTime = -693593.0;
constexpr TDateTime MaxDateTime = 2958465.0;

bool IsLeapYear(int Year);
// 28..31; 0 for a month outside 1..12.
int DaysInAMonth(int Year, int Month);

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
// Raises EConvertError for a date that does not exist.
TDateTime EncodeDate(int Year, int Month, int Day);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec);
void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime Date);
// ISO numbering: 1 = Monday .. 7 = Sunday.
int DayOfTheWeek(TDateTime Date);
// ISO 8601 week number 1..53; Year receives the week's year.
int WeekOfTheYear(TDateTime Date, int& Year);
int WeekOfTheYear(TDateTime Date);
int DayOfTheYear(TDateTime Date);
TDateTime IncMonth(TDateTime Date, int Months);

// The clock: local date and time. A hook may replace it (tests, replays).
TDateTime Now();
TDateTime Date();
TDateTime Time();
void SetNowHook(std::function<TDateTime()> Hook);

// Formats with the classic letters: d dd ddd dddd ddddd dddddd, m mm mmm
// mmmm (minutes right after an hour), yy yyyy, h hh, n nn, s ss, z zzz,
// t tt, c, am/pm a/p ampm, / and : for the separators, text in quotes.
std::string FormatDateTime(std::string_view Format, TDateTime DateTime);
std::string DateToStr(TDateTime Date);
std::string TimeToStr(TDateTime Time);
std::string DateTimeToStr(TDateTime DateTime);

// Reads a date in ShortDateFormat's order (year, month and day numbers
// separated by any non-digits); two-digit years use the century window.
bool TryStrToDate(std::string_view Text, TDateTime& Date);

}  // namespace vorn
