// Text helpers of the base services: splitting, padding, searching and
// trimming strings, UTF-8 length limits and case folding, fixed-point
// formatting, reading numbers and lines, passwords and folder paths.
//
// Texts are UTF-8. Positions and counts are in bytes unless a function says
// it counts characters (code points).
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/platform/runtime/utf8.h"

namespace vorn {

// ---- UTF-8 ------------------------------------------------------------------------

// The longest prefix of Text of at most MaxBytes bytes that does not end
// inside a multi-byte character.
std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes);
inline std::string CutToBytes(std::string_view Text, std::size_t MaxBytes) {
  return std::string(Utf8Prefix(Text, MaxBytes));
}

// Case folding for comparisons: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic capitals become small letters. The result has the same length
// in bytes as the input, so Out must hold Text.size() bytes.
void FoldCaseInto(std::string_view Text, char* Out);
std::string FoldCase(std::string_view Text);
// Compares without regard to case: negative, 0 or positive.
int CompareText(std::string_view A, std::string_view B);
inline bool SameText(std::string_view A, std::string_view B) { return CompareText(A, B) == 0; }

// ---- splitting, padding, searching -------------------------------------------------

// Splits S at every character found in Delims and returns the number of
// items. Empty items between two delimiters are kept (so "a;;b" gives three
// items); an empty item after a final delimiter is not counted, so a path
// with a trailing separator gives the same items as without it. An empty S
// gives no items.
int Tokenize(std::string_view S, std::string_view Delims, std::vector<std::string>& Items);

// S cut or padded with blanks to exactly N characters (code points).
std::string LeftString(std::string_view S, int N);

// The 1-based byte position of the N-th occurrence of Sub in S, searching
// from position Start; occurrences do not overlap. 0 when there is no such
// occurrence or an argument is out of range.
int NumberedPos(std::string_view Sub, std::string_view S, int Start, int N,
                bool IgnoreCase = false);

std::string ReplaceCharInString(std::string_view S, char OldChar, char NewChar);
// S with C appended unless S already ends with it (an empty S becomes C).
std::string EnsureTrailingChar(std::string_view S, char C);
std::string EnsureTrailingBkSlash(std::string_view S);
// S without the leading (trailing) run of characters found in Chars.
std::string StripLeadingChars(std::string_view S, std::string_view Chars);
std::string StripTrailingChars(std::string_view S, std::string_view Chars);
// S without the ASCII control characters (codes 0..31 and 127).
std::string RemoveControlChars(std::string_view S);

// ---- numbers -------------------------------------------------------------------------

// X in fixed-point notation with Decimals digits after the point (at most
// 100), right-aligned in a field of at least Width characters. Negative
// Decimals give scientific notation with 15 significant digits. NaN and
// infinities read "NaN", "+Inf" and "-Inf".
std::string strff(double X, int Width, int Decimals);

// True when the whole of Text reads as a decimal number: optional blanks,
// an optional sign, digits with at most one decimal separator ("." or ","),
// an optional exponent, optional blanks. Value gets the number, limited to
// plus or minus the largest double; on false Value is left unchanged.
bool ParseDecimalNumber(std::string_view Text, double& Value);

// ---- passwords, streams, folders -------------------------------------------------

// N letters and digits drawn from the system's random source; empty for
// N <= 0.
std::string InventPassword(int N);

// Reads the next line of Stream without its line end (LF, CR LF or a lone
// CR). A last line without a line end is still a line. AtEnd becomes true
// when nothing follows the returned line. MaxLength > 0 cuts longer lines
// to that many bytes (the rest of the line is skipped).
std::string ReadLnStream(std::istream& Stream, bool& AtEnd, std::size_t MaxLength = 0);

// True when Path names an existing folder.
bool DirExists(const std::string& Path);

// The folder that contains Path (POSIX paths, "/" separated); trailing
// separators are ignored. The root is its own parent; a relative name
// without a folder part gives an empty string.
std::string ParentDir(std::string_view Path);

}  // namespace vorn
