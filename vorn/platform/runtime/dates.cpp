#include "vorn/platform/runtime/dates.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace vorn {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

// Day 0 of TDateTime (1899-12-30) in days since 1970-01-01.
constexpr std::int64_t kEpochOffset = -25569;

// True for a finite serial of the years MinDateYear..MaxDateYear. Only
// those are turned into day numbers: beyond them the conversion to an
// integer would overflow and the years would not fit.
bool InDateRange(TDateTime dt) { return std::isfinite(dt) && dt > MinDateTime - 1 && dt < MaxDateTime + 1; }

std::string SerialText(TDateTime dt) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", dt);
  return text;
}

std::int64_t DayNumber(TDateTime dt) {
  if (!InDateRange(dt)) throw EConvertError("Invalid date " + SerialText(dt));
  return static_cast<std::int64_t>(std::trunc(dt));
}

// Milliseconds into the day, rounded, for either sign of date.
std::int64_t DayMillis(TDateTime dt) {
  const double frac = std::fabs(dt - std::trunc(dt));
  return std::min<std::int64_t>(86399999, std::llround(frac * 86400000.0));
}

std::function<TDateTime()>& NowHook() {
  static std::function<TDateTime()> hook;
  return hook;
}

std::string Pad(int v, int width) {
  std::string s = std::to_string(v);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
  return s;
}

bool StartsWithNoCase(std::string_view s, std::size_t pos, std::string_view word) {
  if (pos + word.size() > s.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[pos + i])) != word[i]) return false;
  }
  return true;
}

// Counts how often the letter at pos repeats (case-insensitively).
std::size_t RunLength(std::string_view s, std::size_t pos) {
  const int c = std::tolower(static_cast<unsigned char>(s[pos]));
  std::size_t n = 1;
  while (pos + n < s.size() && std::tolower(static_cast<unsigned char>(s[pos + n])) == c) ++n;
  return n;
}

class Formatter {
 public:
  explicit Formatter(TDateTime dt) {
    DecodeDate(dt, year_, month_, day_);
    DecodeTime(dt, hour_, minute_, second_, msec_);
    weekday_ = DayOfWeek(dt);
    hasTime_ = DayMillis(dt) != 0;
  }

  std::string Run(std::string_view f, int depth = 0) {
    std::string out;
    bool ampm = HasAmPm(f);
    std::size_t i = 0;
    bool lastWasHour = false;
    while (i < f.size()) {
      const char c = f[i];
      const int lc = std::tolower(static_cast<unsigned char>(c));
      if (c == '\'' || c == '"') {
        const std::size_t end = f.find(c, i + 1);
        out += f.substr(i + 1, (end == std::string_view::npos ? f.size() : end) - i - 1);
        i = end == std::string_view::npos ? f.size() : end + 1;
        continue;
      }
      if (c == '/') {
        out += FormatSettings().DateSeparator;
        ++i;
        continue;
      }
      if (c == ':') {
        out += FormatSettings().TimeSeparator;
        ++i;
        continue;
      }
      if (lc == 'a' && (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") ||
                        StartsWithNoCase(f, i, "ampm"))) {
        i += AmPm(f, i, out);
        continue;
      }
      const std::size_t n = RunLength(f, i);
      bool hourNow = false;
      switch (lc) {
        case 'y': out += n <= 2 ? Pad(year_ % 100, 2) : Pad(year_, 4); break;
        case 'm':
          if (lastWasHour && n <= 2) {
            out += n == 1 ? std::to_string(minute_) : Pad(minute_, 2);
          } else {
            out += Month(n);
          }
          break;
        case 'd': out += Day(n, depth); break;
        case 'h':
          out += Hour(n <= 1 ? 1 : 2, ampm);
          hourNow = true;
          break;
        case 'n': out += n == 1 ? std::to_string(minute_) : Pad(minute_, 2); break;
        case 's': out += n == 1 ? std::to_string(second_) : Pad(second_, 2); break;
        case 'z': out += n >= 3 ? Pad(msec_, 3) : std::to_string(msec_); break;
        case 't':
          if (depth < 2) out += Run(n == 1 ? FormatSettings().ShortTimeFormat : FormatSettings().LongTimeFormat, depth + 1);
          break;
        case 'c':
          if (depth < 2) {
            out += Run(FormatSettings().ShortDateFormat, depth + 1);
            if (hasTime_) out += " " + Run(FormatSettings().LongTimeFormat, depth + 1);
          }
          break;
        default: out.append(f.substr(i, n)); break;
      }
      if (lc != ' ') lastWasHour = hourNow || (lastWasHour && !std::isalpha(lc));
      i += (lc == 'h' || lc == 't' || lc == 'c') ? std::min<std::size_t>(n, lc == 'h' ? 2 : n) : n;
    }
    return out;
  }

 private:
  static bool HasAmPm(std::string_view f) {
    for (std::size_t i = 0; i < f.size(); ++i) {
      if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") || StartsWithNoCase(f, i, "ampm")) return true;
    }
    return false;
  }
  std::size_t AmPm(std::string_view f, std::size_t i, std::string& out) const {
    const bool pm = hour_ >= 12;
    if (StartsWithNoCase(f, i, "am/pm")) {
      out += std::string(pm ? f.substr(i + 3, 2) : f.substr(i, 2));
      return 5;
    }
    if (StartsWithNoCase(f, i, "a/p")) {
      out += pm ? f[i + 2] : f[i];
      return 3;
    }
    out += pm ? FormatSettings().TimePMString : FormatSettings().TimeAMString;
    return 4;
  }
  std::string Month(std::size_t n) const {
    if (n == 1) return std::to_string(month_);
    if (n == 2) return Pad(month_, 2);
    if (n == 3) return FormatSettings().ShortMonthNames[static_cast<std::size_t>(month_ - 1)];
    return FormatSettings().LongMonthNames[static_cast<std::size_t>(month_ - 1)];
  }
  std::string Day(std::size_t n, int depth) {
    switch (n) {
      case 1: return std::to_string(day_);
      case 2: return Pad(day_, 2);
      case 3: return FormatSettings().ShortDayNames[static_cast<std::size_t>(weekday_ - 1)];
      case 4: return FormatSettings().LongDayNames[static_cast<std::size_t>(weekday_ - 1)];
      case 5: return depth < 2 ? Run(FormatSettings().ShortDateFormat, depth + 1) : "";
      default: return depth < 2 ? Run(FormatSettings().LongDateFormat, depth + 1) : "";
    }
  }
  std::string Hour(int width, bool twelve) const {
    int h = hour_;
    if (twelve) {
      h %= 12;
      if (h == 0) h = 12;
    }
    return width == 1 ? std::to_string(h) : Pad(h, 2);
  }

  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0, msec_ = 0, weekday_ = 1;
  bool hasTime_ = false;
};

}  // namespace

bool IsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

int DaysInAMonth(int Year, int Month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : kDays[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < MinDateYear || Year > MaxDateYear || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInAMonth(Year, Month)) {
    return false;
  }
  Date = static_cast<double>(DaysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)) - kEpochOffset);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime d = 0;
  if (!TryEncodeDate(Year, Month, Day, d)) {
    throw EConvertError("Invalid date " + std::to_string(Year) + "-" + std::to_string(Month) + "-" +
                        std::to_string(Day));
  }
  return d;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999) return false;
  Time = (((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / 86400000.0;
  return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime t = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, t)) throw EConvertError("Invalid time");
  return t;
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec) {
  const TDateTime d = EncodeDate(Year, Month, Day);
  const TDateTime t = EncodeTime(Hour, Min, Sec, MSec);
  return d >= 0 ? d + t : d - t;
}

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day) {
  CivilFromDays(DayNumber(Date) + kEpochOffset, Year, Month, Day);
}

void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec) {
  const std::int64_t ms = std::isfinite(Time) ? DayMillis(Time) : 0;
  Hour = static_cast<int>(ms / 3600000);
  Min = static_cast<int>(ms / 60000 % 60);
  Sec = static_cast<int>(ms / 1000 % 60);
  MSec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime Date) {
  // Day 0 (1899-12-30) was a Saturday.
  const std::int64_t d = DayNumber(Date);
  return static_cast<int>(((d - 1) % 7 + 7) % 7) + 1;
}

int DayOfTheWeek(TDateTime Date) {
  const int sundayFirst = DayOfWeek(Date);
  return sundayFirst == 1 ? 7 : sundayFirst - 1;
}

int DayOfTheYear(TDateTime Date) {
  int y = 0, m = 0, d = 0;
  DecodeDate(Date, y, m, d);
  return static_cast<int>(DayNumber(Date) - DayNumber(EncodeDate(y, 1, 1))) + 1;
}

int WeekOfTheYear(TDateTime Date, int& Year) {
  // The week belongs to the year of its Thursday.
  const double thursday = std::trunc(Date) + (4 - DayOfTheWeek(Date));
  int m = 0, d = 0;
  DecodeDate(thursday, Year, m, d);
  return (DayOfTheYear(thursday) - 1) / 7 + 1;
}

int WeekOfTheYear(TDateTime Date) {
  int year = 0;
  return WeekOfTheYear(Date, year);
}

TDateTime IncMonth(TDateTime Date, int Months) {
  int y = 0, m = 0, d = 0;
  DecodeDate(Date, y, m, d);
  const std::int64_t total = std::int64_t{y} * 12 + (m - 1) + Months;
  if (total < std::int64_t{MinDateYear} * 12 || total >= (std::int64_t{MaxDateYear} + 1) * 12)
    throw EConvertError("Invalid date " + SerialText(Date) + " plus " + std::to_string(Months) + " months");
  y = static_cast<int>(total / 12);
  m = static_cast<int>(total % 12) + 1;
  d = std::min(d, DaysInAMonth(y, m));
  const double time = std::fabs(Date - std::trunc(Date));
  const TDateTime day = EncodeDate(y, m, d);
  return day >= 0 ? day + time : day - time;
}

TDateTime Now() {
  if (NowHook()) return NowHook()();
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(ms));
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime n = Now();
  return n - std::trunc(n);
}

void SetNowHook(std::function<TDateTime()> Hook) { NowHook() = std::move(Hook); }

std::string FormatDateTime(std::string_view Format, TDateTime DateTime) {
  if (!InDateRange(DateTime)) return "";
  Formatter f(DateTime);
  return f.Run(Format.empty() ? std::string_view("c") : Format);
}

std::string DateToStr(TDateTime Date) { return FormatDateTime(FormatSettings().ShortDateFormat, Date); }
std::string TimeToStr(TDateTime Time) { return FormatDateTime(FormatSettings().LongTimeFormat, Time); }
std::string DateTimeToStr(TDateTime DateTime) { return FormatDateTime("c", DateTime); }

bool TryStrToDate(std::string_view Text, TDateTime& Date) {
  // The order of year, month and day as ShortDateFormat has them.
  std::string order;
  for (char c : FormatSettings().ShortDateFormat) {
    const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((l == 'y' || l == 'm' || l == 'd') && order.find(l) == std::string::npos) order += l;
  }
  if (order.size() != 3) order = "ymd";
  std::vector<int> numbers;
  std::vector<int> widths;
  std::size_t i = 0;
  while (i < Text.size()) {
    if (!std::isdigit(static_cast<unsigned char>(Text[i]))) {
      ++i;
      continue;
    }
    int v = 0, w = 0;
    while (i < Text.size() && std::isdigit(static_cast<unsigned char>(Text[i])) && w < 5) {
      v = v * 10 + (Text[i] - '0');
      ++w;
      ++i;
    }
    if (i < Text.size() && std::isdigit(static_cast<unsigned char>(Text[i]))) return false;
    numbers.push_back(v);
    widths.push_back(w);
  }
  if (numbers.size() != 3) return false;
  int y = 0, m = 0, d = 0, yWidth = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    if (order[k] == 'y') {
      y = numbers[k];
      yWidth = widths[k];
    } else if (order[k] == 'm') {
      m = numbers[k];
    } else {
      d = numbers[k];
    }
  }
  if (yWidth <= 2) {
    int cy = 0, cm = 0, cd = 0;
    DecodeDate(vorn::Date(), cy, cm, cd);
    const int window = FormatSettings().TwoDigitYearCenturyWindow;
    int century = (cy - window) / 100 * 100;
    if (century + y < cy - window) century += 100;
    y += century;
  }
  return TryEncodeDate(y, m, d, Date);
}

}  // namespace vorn
