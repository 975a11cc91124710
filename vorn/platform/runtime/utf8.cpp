#include "vorn/platform/runtime/utf8.h"

#include "vorn/platform/graphics/fontengine.h"

namespace vorn {

std::u32string Utf8ToU32(std::string_view Text) {
  std::u32string out;
  out.reserve(Text.size());
  std::size_t pos = 0;
  while (pos < Text.size()) out.push_back(NextCodePoint(Text, pos));
  return out;
}

void AppendUtf8(std::string& Out, char32_t Ch) {
  if (Ch > 0x10FFFF || (Ch >= 0xD800 && Ch <= 0xDFFF)) Ch = 0xFFFD;
  if (Ch < 0x80) {
    Out += static_cast<char>(Ch);
  } else if (Ch < 0x800) {
    Out += static_cast<char>(0xC0 | (Ch >> 6));
    Out += static_cast<char>(0x80 | (Ch & 0x3F));
  } else if (Ch < 0x10000) {
    Out += static_cast<char>(0xE0 | (Ch >> 12));
    Out += static_cast<char>(0x80 | ((Ch >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Ch & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Ch >> 18));
    Out += static_cast<char>(0x80 | ((Ch >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Ch >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Ch & 0x3F));
  }
}

std::string U32ToUtf8(std::u32string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (char32_t c : Text) AppendUtf8(out, c);
  return out;
}

std::size_t Utf8Length(std::string_view Text) {
  std::size_t n = 0, pos = 0;
  while (pos < Text.size()) {
    NextCodePoint(Text, pos);
    ++n;
  }
  return n;
}

std::size_t Utf8Offset(std::string_view Text, std::size_t Index) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < Index && pos < Text.size(); ++i) NextCodePoint(Text, pos);
  return pos;
}

std::string Utf8Substr(std::string_view Text, std::size_t Start, std::size_t Count) {
  const std::size_t from = Utf8Offset(Text, Start);
  if (Count == std::string::npos) return std::string(Text.substr(from));
  const std::size_t to = from + Utf8Offset(Text.substr(from), Count);
  return std::string(Text.substr(from, to - from));
}

}  // namespace vorn
