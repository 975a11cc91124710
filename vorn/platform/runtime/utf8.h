// UTF-8 helpers for code that counts characters: caret positions and
// selections count code points, storage stays UTF-8. Invalid bytes count
// as one character each (read as Latin-1), as the text engine draws them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

std::u32string Utf8ToU32(std::string_view Text);
std::string U32ToUtf8(std::u32string_view Text);
void AppendUtf8(std::string& Out, char32_t Ch);
// Number of characters.
std::size_t Utf8Length(std::string_view Text);
// Characters Start..Start+Count-1 (clamped to the text).
std::string Utf8Substr(std::string_view Text, std::size_t Start, std::size_t Count = std::string::npos);
// Byte offset of character Index (Text.size() at or past the end).
std::size_t Utf8Offset(std::string_view Text, std::size_t Index);

}  // namespace vorn
