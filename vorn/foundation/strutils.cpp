#include "vorn/foundation/strutils.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <istream>
#include <limits>
#include <random>
#include <system_error>

namespace vorn {

namespace {

constexpr bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Small letter of a code point whose UTF-8 form has two bytes; the result
// has two bytes as well.
constexpr unsigned FoldTwoByte(unsigned cp) {
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
  if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) return cp | 1u;
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return (cp & 1u) ? cp + 1 : cp;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 0x20;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  return cp;
}

constexpr char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// ---- UTF-8 ----------------------------------------------------------------------

std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes) {
  if (Text.size() <= MaxBytes) return Text;
  std::size_t n = MaxBytes;
  // Step back over continuation bytes to the start of the cut character.
  while (n > 0 && IsContinuation(static_cast<unsigned char>(Text[n]))) --n;
  return Text.substr(0, n);
}

void FoldCaseInto(std::string_view Text, char* Out) {
  const std::size_t n = Text.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(Text[i]);
    if (b < 0x80) {
      Out[i] = FoldAscii(Text[i]);
      ++i;
    } else if ((b & 0xE0) == 0xC0 && i + 1 < n && IsContinuation(static_cast<unsigned char>(Text[i + 1]))) {
      const unsigned cp =
          FoldTwoByte(((b & 0x1Fu) << 6) | (static_cast<unsigned char>(Text[i + 1]) & 0x3Fu));
      Out[i] = static_cast<char>(0xC0 | (cp >> 6));
      Out[i + 1] = static_cast<char>(0x80 | (cp & 0x3F));
      i += 2;
    } else {
      Out[i] = Text[i];
      ++i;
    }
  }
}

std::string FoldCase(std::string_view Text) {
  std::string out(Text.size(), '\0');
  FoldCaseInto(Text, out.data());
  return out;
}

int CompareText(std::string_view A, std::string_view B) {
  const int c = FoldCase(A).compare(FoldCase(B));
  return (c > 0) - (c < 0);
}

// ---- splitting, padding, searching ---------------------------------------------

int Tokenize(std::string_view S, std::string_view Delims, std::vector<std::string>& Items) {
  Items.clear();
  std::size_t start = 0;
  while (start < S.size()) {
    const std::size_t stop = S.find_first_of(Delims, start);
    if (stop == std::string_view::npos) {
      Items.emplace_back(S.substr(start));
      break;
    }
    Items.emplace_back(S.substr(start, stop - start));
    start = stop + 1;
  }
  return static_cast<int>(Items.size());
}

std::string LeftString(std::string_view S, int N) {
  if (N <= 0) return {};
  std::size_t bytes = 0;
  int chars = 0;
  while (bytes < S.size() && chars < N) {
    ++bytes;
    while (bytes < S.size() && IsContinuation(static_cast<unsigned char>(S[bytes]))) ++bytes;
    ++chars;
  }
  std::string out(S.substr(0, bytes));
  out.append(static_cast<std::size_t>(N - chars), ' ');
  return out;
}

int NumberedPos(std::string_view Sub, std::string_view S, int Start, int N, bool IgnoreCase) {
  if (Sub.empty() || N < 1 || Start < 1 || static_cast<std::size_t>(Start) > S.size()) return 0;
  const std::string foldedS = IgnoreCase ? FoldCase(S) : std::string();
  const std::string foldedSub = IgnoreCase ? FoldCase(Sub) : std::string();
  const std::string_view hay = IgnoreCase ? std::string_view(foldedS) : S;
  const std::string_view needle = IgnoreCase ? std::string_view(foldedSub) : Sub;
  std::size_t from = static_cast<std::size_t>(Start - 1);
  for (int found = 0;;) {
    const std::size_t at = hay.find(needle, from);
    if (at == std::string_view::npos) return 0;
    if (++found == N) return static_cast<int>(at + 1);
    from = at + needle.size();
  }
}

std::string ReplaceCharInString(std::string_view S, char OldChar, char NewChar) {
  std::string out(S);
  std::replace(out.begin(), out.end(), OldChar, NewChar);
  return out;
}

std::string EnsureTrailingChar(std::string_view S, char C) {
  std::string out(S);
  if (out.empty() || out.back() != C) out.push_back(C);
  return out;
}

std::string EnsureTrailingBkSlash(std::string_view S) { return EnsureTrailingChar(S, '\\'); }

std::string StripLeadingChars(std::string_view S, std::string_view Chars) {
  const std::size_t first = S.find_first_not_of(Chars);
  return first == std::string_view::npos ? std::string() : std::string(S.substr(first));
}

std::string StripTrailingChars(std::string_view S, std::string_view Chars) {
  const std::size_t last = S.find_last_not_of(Chars);
  return last == std::string_view::npos ? std::string() : std::string(S.substr(0, last + 1));
}

std::string RemoveControlChars(std::string_view S) {
  std::string out;
  out.reserve(S.size());
  for (char c : S) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 32 && b != 127) out.push_back(c);
  }
  return out;
}

// ---- numbers -----------------------------------------------------------------------

std::string strff(double X, int Width, int Decimals) {
  std::string text;
  if (std::isnan(X)) {
    text = "NaN";
  } else if (std::isinf(X)) {
    text = X > 0 ? "+Inf" : "-Inf";
  } else {
    std::array<char, 512> buf{};
    const auto result =
        Decimals < 0
            ? std::to_chars(buf.data(), buf.data() + buf.size(), X, std::chars_format::scientific, 14)
            : std::to_chars(buf.data(), buf.data() + buf.size(), X, std::chars_format::fixed,
                            std::min(Decimals, 100));
    text.assign(buf.data(), result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
  }
  if (Width > 0 && text.size() < static_cast<std::size_t>(Width))
    text.insert(0, static_cast<std::size_t>(Width) - text.size(), ' ');
  return text;
}

namespace {

// The syntax check of ParseDecimalNumber. On success Body is the number
// without blanks and Order the power of ten of its leading digit (for
// clamping results out of the double range).
struct TNumberShape {
  std::string_view Body;
  long Order = 0;
};

std::size_t SkipDigits(std::string_view t, std::size_t i) {
  while (i < t.size() && IsDigit(t[i])) ++i;
  return i;
}

bool CheckNumberShape(std::string_view Text, TNumberShape& Shape) {
  std::size_t b = 0, e = Text.size();
  while (b < e && IsBlank(Text[b])) ++b;
  while (e > b && IsBlank(Text[e - 1])) --e;
  const std::string_view t = Text.substr(b, e - b);
  std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  const std::size_t intStart = i;
  i = SkipDigits(t, i);
  const std::size_t intDigits = i - intStart;
  const std::size_t intZeros = t.substr(intStart, intDigits).find_first_not_of('0');
  // Power of ten of the leading significant digit, without the exponent.
  long order = intZeros == std::string_view::npos ? 0 : static_cast<long>(intDigits - intZeros);
  std::size_t fracDigits = 0;
  if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
    const std::size_t fracStart = ++i;
    i = SkipDigits(t, i);
    fracDigits = i - fracStart;
    if (intZeros == std::string_view::npos) {
      const std::size_t fracZeros = t.substr(fracStart, fracDigits).find_first_not_of('0');
      order = -static_cast<long>(fracZeros == std::string_view::npos ? fracDigits : fracZeros);
    }
  }
  if (intDigits + fracDigits == 0) return false;
  long exponent = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t expStart = i;
    for (; i < t.size() && IsDigit(t[i]); ++i)
      exponent = std::min(exponent * 10 + (t[i] - '0'), 100000L);
    if (i == expStart) return false;
    if (negative) exponent = -exponent;
  }
  if (i != t.size()) return false;
  Shape.Body = t;
  Shape.Order = exponent + order;
  return true;
}

}  // namespace

bool ParseDecimalNumber(std::string_view Text, double& Value) {
  TNumberShape shape;
  if (!CheckNumberShape(Text, shape)) return false;
  std::string body(shape.Body);
  if (body[0] == '+') body.erase(0, 1);
  std::replace(body.begin(), body.end(), ',', '.');
  double v = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), v);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: saturate or flush to zero.
    const double magnitude = shape.Order > 0 ? std::numeric_limits<double>::max() : 0.0;
    v = body[0] == '-' ? -magnitude : magnitude;
  } else if (result.ec != std::errc() || result.ptr != body.data() + body.size()) {
    return false;
  }
  Value = v;
  return true;
}

// ---- passwords, streams, folders -----------------------------------------------

std::string InventPassword(int N) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  if (N <= 0) return {};
  std::random_device source;
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string out(static_cast<std::size_t>(N), ' ');
  for (char& c : out) c = kAlphabet[pick(source)];
  return out;
}

std::string ReadLnStream(std::istream& Stream, bool& AtEnd, std::size_t MaxLength) {
  std::string line;
  using Traits = std::istream::traits_type;
  for (;;) {
    const Traits::int_type ch = Stream.get();
    if (Traits::eq_int_type(ch, Traits::eof())) break;
    const char c = Traits::to_char_type(ch);
    if (c == '\n') break;
    if (c == '\r') {
      if (Traits::eq_int_type(Stream.peek(), Traits::to_int_type('\n'))) Stream.get();
      break;
    }
    if (MaxLength == 0 || line.size() < MaxLength) line.push_back(c);
  }
  if (MaxLength > 0) line.resize(Utf8Prefix(line, MaxLength).size());
  AtEnd = !Stream.good() || Traits::eq_int_type(Stream.peek(), Traits::eof());
  return line;
}

bool DirExists(const std::string& Path) {
  std::error_code ec;
  return !Path.empty() && std::filesystem::is_directory(Path, ec);
}

std::string ParentDir(std::string_view Path) {
  std::size_t end = Path.size();
  while (end > 1 && Path[end - 1] == '/') --end;
  const std::string_view trimmed = Path.substr(0, end);
  if (trimmed == "/") return "/";
  const std::size_t slash = trimmed.rfind('/');
  if (slash == std::string_view::npos) return {};
  std::size_t parentEnd = slash;
  while (parentEnd > 0 && trimmed[parentEnd - 1] == '/') --parentEnd;
  return parentEnd == 0 ? std::string("/") : std::string(trimmed.substr(0, parentEnd));
}

}  // namespace vorn
