// Locale-like settings: one process-wide set with fixed defaults that a
// program may change in code. Nothing is read from the environment.
#pragma once

#include <array>
#include <string>

namespace vorn {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '-';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  // In date formats "/" stands for DateSeparator and ":" for TimeSeparator.
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames = {"January", "February", "March",     "April",
                                                "May",     "June",     "July",      "August",
                                                "September", "October", "November", "December"};
  // Sunday first, as day numbers of DayOfWeek count.
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
  // Two-digit years fall in the hundred years that start this many years
  // before the current year.
  int TwoDigitYearCenturyWindow = 50;
};

// The settings in use; change fields directly.
TFormatSettings& FormatSettings();
// Back to the defaults above.
void ResetFormatSettings();

}  // namespace vorn
