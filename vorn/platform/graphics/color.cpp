#include "vorn/platform/graphics/color.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>

#include "vorn/platform/runtime/classes.h"

namespace vorn {

namespace {

// Classic desktop defaults, as 0x00BBGGRR.
constexpr std::array<TColor, SystemColorCount> kDefaultSysColors = {
    0xC8D0D4,  //  0 scroll bar
    0xA56E3A,  //  1 desktop background
    0x6A240A,  //  2 active caption
    0x808080,  //  3 inactive caption
    0xC8D0D4,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC8D0D4,  // 10 active border
    0xC8D0D4,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x6A240A,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC8D0D4,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC8D0D4,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x404040,  // 21 3-D dark shadow
    0xC8D0D4,  // 22 3-D light
    0x000000,  // 23 tooltip text
    0xE1FFFF,  // 24 tooltip background
    0xB5B5B5,  // 25 (unused slot)
    0x800000,  // 26 hot-tracked item
    0xF0CAA6,  // 27 gradient of the active caption
    0xC0C0C0,  // 28 gradient of the inactive caption
    0xC56A31,  // 29 menu highlight
    0xC8D0D4,  // 30 menu bar
};

std::array<TColor, SystemColorCount>& SysColors() {
  static std::array<TColor, SystemColorCount> table = kDefaultSysColors;
  return table;
}

struct ColorName {
  TColor color;
  const char* name;
};

constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= SystemColorCount) return clBlack;
  return SysColors()[static_cast<std::size_t>(index)];
}

void SetSysColor(int index, TColor color) {
  if (index < 0 || index >= SystemColorCount) return;
  SysColors()[static_cast<std::size_t>(index)] = ColorToRGB(color);
}

void ResetSysColors() { SysColors() = kDefaultSysColors; }

TColor ColorToRGB(TColor color) {
  if (color == clNone) return clBlack;
  if (color == clDefault) return GetSysColor(5);
  const auto u = static_cast<std::uint32_t>(color);
  if ((u & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(u & 0xFFu));
  return static_cast<TColor>(u & 0x00FFFFFFu);
}

TPixel ColorToDevice(TColor color) { return ColorToPixel(ColorToRGB(color)); }

const char* ColorIdentName(TColor color) {
  for (const auto& entry : kColorNames) {
    if (entry.color == color) return entry.name;
  }
  return nullptr;
}

bool ColorToIdent(TColor color, std::string& ident) {
  const char* name = ColorIdentName(color);
  if (name != nullptr) ident = name;
  return name != nullptr;
}

bool IdentToColor(std::string_view ident, TColor& color) {
  for (const auto& entry : kColorNames) {
    if (EqualNoCase(ident, entry.name)) {
      color = entry.color;
      return true;
    }
  }
  return false;
}

std::string ColorToString(TColor color) {
  std::string name;
  if (ColorToIdent(color, name)) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
  return buf;
}

TColor StringToColor(std::string_view text) {
  TColor color = 0;
  if (IdentToColor(text, color)) return color;
  std::string_view digits = text;
  int base = 10;
  bool negative = false;
  if (!digits.empty() && digits.front() == '$') {
    digits.remove_prefix(1);
    base = 16;
  } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  } else if (!digits.empty() && digits.front() == '-') {
    digits.remove_prefix(1);
    negative = true;
  }
  std::uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  auto [ptr, ec] = std::from_chars(digits.data(), end, value, base);
  const std::uint64_t limit = negative ? 0x80000000ull : 0xFFFFFFFFull;
  if (digits.empty() || ec != std::errc() || ptr != end || value > limit) {
    throw EConvertError("'" + std::string(text) + "' is not a valid colour");
  }
  const auto bits = static_cast<std::uint32_t>(negative ? (0 - value) : value);
  return static_cast<TColor>(bits);
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t q = product / c;
  const std::int64_t r = product % c;
  // Round half away from zero: compare twice the remainder with the divisor.
  const std::int64_t twice = 2 * (r < 0 ? -r : r);
  const std::int64_t absC = c < 0 ? -static_cast<std::int64_t>(c) : c;
  if (twice >= absC) q += ((product < 0) != (c < 0)) ? -1 : 1;
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int>(q);
}

}  // namespace vorn
