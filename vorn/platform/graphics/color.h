// Colours: TColor values, the named constants, the system colour table.
//
// A TColor is 0x00BBGGRR (red in the low byte). A value 0xFF0000nn names
// system colour nn, looked up in a table the platform owns; a program may
// change the table to theme every component at once. Any other value with a
// non-zero high byte draws as its low 24 bits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

using TColor = std::int32_t;

// Pixels in bitmaps are stored as 0x00RRGGBB (blue in the low byte), the
// layout of 32-bit device-independent pictures and of window surfaces.
using TPixel = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor SystemColor(int index) { return clSystemColor | index; }

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

constexpr int SystemColorCount = 31;

// The platform's system colour table (classic defaults). Index 0..30;
// values are plain 0x00BBGGRR colours. Changing an entry changes how every
// later drawing with that system colour looks.
TColor GetSysColor(int index);
void SetSysColor(int index, TColor color);
void ResetSysColors();

// Resolves system colours through the table and drops a foreign high byte.
// clNone and clDefault resolve to black and to the window colour.
TColor ColorToRGB(TColor color);

constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Conversions between a resolved colour and a stored pixel.
constexpr TPixel ColorToPixel(TColor rgb) {
  const auto c = static_cast<std::uint32_t>(rgb);
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr TColor PixelToColor(TPixel p) {
  return static_cast<TColor>(((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu));
}
// ColorToRGB then ColorToPixel.
TPixel ColorToDevice(TColor color);

// "clRed" for named colours, else "$00BBGGRR" with eight hex digits.
std::string ColorToString(TColor color);
// The inverse: a colour name, "$hex", "0xhex" or a decimal number.
// Raises EConvertError for anything else.
TColor StringToColor(std::string_view text);
// Name lookups without raising; false when the name or value is unknown.
bool IdentToColor(std::string_view ident, TColor& color);
bool ColorToIdent(TColor color, std::string& ident);
// The name of a named colour ("clRed"), or null.
const char* ColorIdentName(TColor color);

// a * b / c rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit in an int.
int MulDiv(int a, int b, int c);

}  // namespace vorn
