#include "vorn/foundation/mathfuncs.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vorn {

namespace {

std::string_view TrimBlanks(std::string_view t) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!t.empty() && blank(t.front())) t.remove_prefix(1);
  while (!t.empty() && blank(t.back())) t.remove_suffix(1);
  return t;
}

}  // namespace

bool ReadDecInt(std::string_view Text, int& Value) {
  std::string_view t = TrimBlanks(Text);
  // from_chars reads a minus sign but no plus sign; after a plus sign a
  // digit must follow.
  const bool plus = !t.empty() && t.front() == '+';
  if (plus) t.remove_prefix(1);
  if (t.empty() || (plus && (t.front() < '0' || t.front() > '9'))) return false;
  int v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size()) return false;
  Value = v;
  return true;
}

bool IsValidDecInt(std::string_view Text) {
  int ignored = 0;
  return ReadDecInt(Text, ignored);
}

int IntNeg(double X) {
  if (std::isnan(X)) return 0;
  const double f = std::floor(X);
  if (f <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (f >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(f);
}

}  // namespace vorn
