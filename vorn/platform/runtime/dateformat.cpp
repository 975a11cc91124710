#include "vorn/platform/runtime/dateformat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {
namespace {

const std::array<std::string, 12> kLongMonths = {"January", "February", "March",     "April",   "May",      "June",
                                                 "July",    "August",   "September", "October", "November", "December"};
const std::array<std::string, 12> kShortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const std::array<std::string, 7> kLongDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
const std::array<std::string, 7> kShortDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool IsFormatLetter(char C) {
  return C == 'y' || C == 'M' || C == 'd' || C == 'H' || C == 'h' || C == 'm' || C == 's' || C == 't';
}

// The field of a run of Count letters C; dfInvalid for lengths no token has.
TDateField FieldOfRun(char C, std::size_t Count) {
  switch (C) {
    case 'y': return Count == 4 ? dfYear4 : Count == 2 ? dfYear2 : dfInvalid;
    case 'M': return Count == 4 ? dfMonthLong : Count == 3 ? dfMonthShort : Count == 2 ? dfMonth2 : Count == 1 ? dfMonth1 : dfInvalid;
    case 'd': return Count == 4 ? dfWeekdayLong : Count == 3 ? dfWeekdayShort : Count == 2 ? dfDay2 : Count == 1 ? dfDay1 : dfInvalid;
    case 'H': return Count == 2 ? dfHour2 : Count == 1 ? dfHour1 : dfInvalid;
    case 'h': return Count == 2 ? dfHour12Two : Count == 1 ? dfHour12One : dfInvalid;
    case 'm': return Count == 2 ? dfMinute2 : Count == 1 ? dfMinute1 : dfInvalid;
    case 's': return Count == 2 ? dfSecond2 : Count == 1 ? dfSecond1 : dfInvalid;
    default: return Count == 2 ? dfAmPm2 : Count == 1 ? dfAmPm1 : dfInvalid;  // 't'
  }
}

void AddLiteral(std::vector<TDateToken>& Tokens, std::string_view Text) {
  if (!Tokens.empty() && Tokens.back().Field == dfLiteral) {
    Tokens.back().Text += Text;
  } else {
    Tokens.push_back({dfLiteral, std::string(Text)});
  }
}

std::string Padded(int Value, int Digits) {
  std::string s = std::to_string(Value);
  if (static_cast<int>(s.size()) < Digits) s.insert(0, static_cast<std::size_t>(Digits) - s.size(), '0');
  return s;
}

char Lower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool EqualFolded(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) { return Lower(X) == Lower(Y); });
}

bool StartsFolded(std::string_view Text, std::string_view Prefix) {
  return Text.size() >= Prefix.size() && EqualFolded(Text.substr(0, Prefix.size()), Prefix);
}

// The values a text gives, read token by token.
struct TReadValues {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  bool AfterNoon = false;
  bool TwelveHour = false;
};

// Reads exactly Count digits from the front of Text.
bool ReadFixed(std::string_view& Text, std::size_t Count, int& Value) {
  if (Text.size() < Count) return false;
  int v = 0;
  for (std::size_t i = 0; i < Count; ++i) {
    if (Text[i] < '0' || Text[i] > '9') return false;
    v = v * 10 + (Text[i] - '0');
  }
  Value = v;
  Text.remove_prefix(Count);
  return true;
}

// Reads a leading integer: blanks, one sign, at least one digit. Saturates
// far outside every field's range, which encoding then refuses.
bool ReadInteger(std::string_view& Text, int& Value) {
  std::size_t i = 0;
  while (i < Text.size() && Text[i] == ' ') ++i;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
  const std::size_t first = i;
  std::int64_t v = 0;
  for (; i < Text.size() && Text[i] >= '0' && Text[i] <= '9'; ++i) v = std::min<std::int64_t>(v * 10 + (Text[i] - '0'), 1000000000);
  if (i == first) return false;
  Value = static_cast<int>(negative ? -v : v);
  Text.remove_prefix(i);
  return true;
}

// The 1-based index of the name Text starts with (whole name), or 0.
template <std::size_t N>
int ReadName(std::string_view& Text, const std::array<std::string, N>& Names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (StartsFolded(Text, Names[i])) {
      Text.remove_prefix(Names[i].size());
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int WindowedYear(int TwoDigits) {
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  const int window = FormatSettings().TwoDigitYearCenturyWindow;
  const int start = year - window;
  int result = (start / 100) * 100 + TwoDigits;
  if (window != 0 && result < start) result += 100;
  return result;
}

// Consumes the text of one token; false when it does not match.
bool ReadToken(const TDateToken& Token, std::string_view& Text, TReadValues& V) {
  switch (Token.Field) {
    case dfLiteral:
      if (Text.substr(0, Token.Text.size()) != Token.Text) return false;
      Text.remove_prefix(Token.Text.size());
      return true;
    case dfInvalid: return false;
    case dfYear4: return ReadFixed(Text, 4, V.Year);
    case dfYear2: {
      int y2 = 0;
      if (!ReadFixed(Text, 2, y2)) return false;
      V.Year = WindowedYear(y2);
      return true;
    }
    case dfMonthLong: return (V.Month = ReadName(Text, kLongMonths)) != 0;
    case dfMonthShort: {
      for (std::size_t i = 0; i < kShortMonths.size(); ++i) {
        if (Text.size() >= 3 && EqualFolded(Text.substr(0, 3), kShortMonths[i])) {
          V.Month = static_cast<int>(i) + 1;
          Text.remove_prefix(3);
          return true;
        }
      }
      return false;
    }
    case dfMonth2: return ReadFixed(Text, 2, V.Month);
    case dfMonth1: return ReadInteger(Text, V.Month);
    case dfWeekdayLong: return ReadName(Text, kLongDays) != 0;
    case dfWeekdayShort: return ReadName(Text, kShortDays) != 0;
    case dfDay2: return ReadFixed(Text, 2, V.Day);
    case dfDay1: return ReadInteger(Text, V.Day);
    case dfHour2: return ReadFixed(Text, 2, V.Hour);
    case dfHour1: return ReadInteger(Text, V.Hour);
    case dfHour12Two: V.TwelveHour = true; return ReadFixed(Text, 2, V.Hour);
    case dfHour12One: V.TwelveHour = true; return ReadInteger(Text, V.Hour);
    case dfMinute2: return ReadFixed(Text, 2, V.Minute);
    case dfMinute1: return ReadInteger(Text, V.Minute);
    case dfSecond2: return ReadFixed(Text, 2, V.Second);
    case dfSecond1: return ReadInteger(Text, V.Second);
    case dfAmPm2:
      if (Text.size() < 2) return false;
      V.AfterNoon = !EqualFolded(Text.substr(0, 2), "am");
      Text.remove_prefix(2);
      return true;
    case dfAmPm1:
      if (Text.empty()) return false;
      V.AfterNoon = Lower(Text[0]) != 'a';
      Text.remove_prefix(1);
      return true;
  }
  return false;
}

}  // namespace

const std::string& EnglishMonthName(int Month, bool Long) {
  const std::size_t i = static_cast<std::size_t>(std::clamp(Month, 1, 12) - 1);
  return Long ? kLongMonths[i] : kShortMonths[i];
}

const std::string& EnglishDayName(int Weekday, bool Long) {
  const std::size_t i = static_cast<std::size_t>(std::clamp(Weekday, 1, 7) - 1);
  return Long ? kLongDays[i] : kShortDays[i];
}

std::vector<TDateToken> SplitDateFormat(std::string_view Format) {
  std::vector<TDateToken> tokens;
  std::size_t i = 0;
  while (i < Format.size()) {
    const char c = Format[i];
    if (IsFormatLetter(c)) {
      std::size_t j = i;
      while (j < Format.size() && Format[j] == c) ++j;
      tokens.push_back({FieldOfRun(c, j - i), std::string(Format.substr(i, j - i))});
      i = j;
    } else if (c == '\'') {
      std::string text;
      std::size_t j = i + 1;
      bool closed = false;
      while (j < Format.size()) {
        if (Format[j] != '\'') {
          text += Format[j++];
        } else if (j + 1 < Format.size() && Format[j + 1] == '\'') {
          text += '\'';
          j += 2;
        } else {
          closed = true;
          ++j;
          break;
        }
      }
      if (closed) {
        AddLiteral(tokens, text);
      } else {
        tokens.push_back({dfInvalid, std::string(Format.substr(i))});
      }
      i = j;
    } else {
      std::size_t j = i;
      while (j < Format.size() && !IsFormatLetter(Format[j]) && Format[j] != '\'') ++j;
      AddLiteral(tokens, Format.substr(i, j - i));
      i = j;
    }
  }
  return tokens;
}

bool DateFormatValid(const std::vector<TDateToken>& Tokens) {
  return std::none_of(Tokens.begin(), Tokens.end(), [](const TDateToken& T) { return T.Field == dfInvalid; });
}

std::string DateTokenText(const TDateToken& Token, TDateTime DateTime) {
  if (Token.Field == dfLiteral || Token.Field == dfInvalid) return Token.Text;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
  DecodeDate(DateTime, year, month, day);
  DecodeTime(DateTime, hour, minute, second, msec);
  const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
  switch (Token.Field) {
    case dfYear4: return Padded(year, 4);
    case dfYear2: return Padded(year % 100, 2);
    case dfMonthLong: return EnglishMonthName(month, true);
    case dfMonthShort: return EnglishMonthName(month, false);
    case dfMonth2: return Padded(month, 2);
    case dfMonth1: return std::to_string(month);
    case dfWeekdayLong: return EnglishDayName(DayOfWeek(DateTime), true);
    case dfWeekdayShort: return EnglishDayName(DayOfWeek(DateTime), false);
    case dfDay2: return Padded(day, 2);
    case dfDay1: return std::to_string(day);
    case dfHour2: return Padded(hour, 2);
    case dfHour1: return std::to_string(hour);
    case dfHour12Two: return Padded(hour12, 2);
    case dfHour12One: return std::to_string(hour12);
    case dfMinute2: return Padded(minute, 2);
    case dfMinute1: return std::to_string(minute);
    case dfSecond2: return Padded(second, 2);
    case dfSecond1: return std::to_string(second);
    case dfAmPm2: return hour < 12 ? "AM" : "PM";
    case dfAmPm1: return hour < 12 ? "A" : "P";
    default: return {};
  }
}

std::string FormatPickerDateTime(std::string_view Format, TDateTime DateTime) {
  if (!std::isfinite(DateTime) || DateTime <= MinDateTime - 1 || DateTime >= MaxDateTime + 1) return {};
  std::string out;
  for (const TDateToken& token : SplitDateFormat(Format)) out += DateTokenText(token, DateTime);
  return out;
}

TDateTime PickerTextToDateTime(std::string_view Format, std::string_view Text) {
  const std::vector<TDateToken> tokens = SplitDateFormat(Format);
  if (!DateFormatValid(tokens)) return 0;
  TReadValues v;
  std::string_view rest = Text;
  for (const TDateToken& token : tokens) {
    if (!ReadToken(token, rest, v)) return 0;
  }
  if (v.TwelveHour) {
    if (!v.AfterNoon && v.Hour == 12) v.Hour = 0;
    if (v.AfterNoon && v.Hour != 12) v.Hour += 12;
  }
  TDateTime time = 0;
  if (!TryEncodeTime(v.Hour, v.Minute, v.Second, 0, time)) {
    throw EConvertError("'" + std::string(Text) + "' is not a valid time");
  }
  if (v.Year == 0 && v.Month == 0 && v.Day == 0) return time;
  TDateTime date = 0;
  if (!TryEncodeDate(v.Year, v.Month, v.Day, date)) {
    throw EConvertError("'" + std::string(Text) + "' is not a valid date");
  }
  return date >= 0 ? date + time : date - time;
}

}  // namespace vorn
