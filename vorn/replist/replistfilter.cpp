#include "vorn/replist/replistfilter.h"

#include <re2/re2.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace vorn {

namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
  return t;
}
constexpr std::array<unsigned char, 256> Fold = MakeFoldTable();

std::string FoldAscii(std::string_view S) {
  std::string out(S);
  for (char& ch : out) ch = static_cast<char>(Fold[static_cast<unsigned char>(ch)]);
  return out;
}

// Needle in Hay. Cells are mostly short, where a plain scan costs less
// than the library's search (a call per cell and per candidate); long
// cells still go to the library. A first pass without branches looks for
// a place where the needle's first and last bytes both fit: most cells
// have none and are done without a mispredicted jump.
inline bool ContainsExact(std::string_view Hay, std::string_view Needle) {
  constexpr std::size_t kShortCell = 64;
  if (Hay.size() > kShortCell) return Hay.find(Needle) != std::string_view::npos;
  const std::size_t n = Needle.size();
  if (n == 0) return true;
  if (Hay.size() < n) return false;
  const char first = Needle[0];
  const char last = Needle[n - 1];
  const char* const h = Hay.data();
  const std::size_t places = Hay.size() - n + 1;
  bool candidate = false;
  for (std::size_t i = 0; i < places; ++i) candidate |= (h[i] == first) & (h[i + n - 1] == last);
  if (!candidate) return false;
  for (std::size_t i = 0; i < places; ++i) {
    if (h[i] == first && Hay.compare(i, n, Needle) == 0) return true;
  }
  return false;
}

// Needle (already folded) in Hay, ASCII letters compared without case.
bool ContainsFolded(std::string_view Hay, std::string_view Needle) {
  if (Needle.empty()) return true;
  if (Hay.size() < Needle.size()) return false;
  const unsigned char first = static_cast<unsigned char>(Needle[0]);
  const unsigned char upper = first >= 'a' && first <= 'z' ? static_cast<unsigned char>(first - 32) : first;
  const std::size_t last = Hay.size() - Needle.size();
  for (std::size_t i = 0; i <= last; ++i) {
    const auto ch = static_cast<unsigned char>(Hay[i]);
    if (ch != first && ch != upper) continue;
    std::size_t k = 1;
    while (k < Needle.size() && Fold[static_cast<unsigned char>(Hay[i + k])] == static_cast<unsigned char>(Needle[k])) ++k;
    if (k == Needle.size()) return true;
  }
  return false;
}

bool IsBlank(char Ch) { return Ch == ' ' || Ch == '\t' || Ch == '\n' || Ch == '\r' || Ch == '\f' || Ch == '\v'; }

[[noreturn]] void Fail(std::size_t Position, const std::string& Reason) {
  throw EVORNRepListError("invalid filter expression at position " + std::to_string(Position + 1) + ": " +
                          Reason);
}

}  // namespace

// The literal text every match of Pattern must contain, when it starts
// with one: the leading characters up to the first metacharacter (less the
// last one when a quantifier follows). Empty when unsure (alternation).
std::string RequiredPrefix(std::string_view Pattern) {
  if (Pattern.find('|') != std::string_view::npos) return {};
  std::size_t end = 0;
  while (end < Pattern.size() && std::strchr("\\^$.|?*+()[]{}", Pattern[end]) == nullptr) ++end;
  if (end < Pattern.size() && std::strchr("?*{", Pattern[end]) != nullptr) {
    if (end == 0) return {};
    --end;
    while (end > 0 && (static_cast<unsigned char>(Pattern[end]) & 0xC0) == 0x80) --end;  // whole character
  }
  return std::string(Pattern.substr(0, end));
}

struct TRowMatcher::TRegex {
  TRegex(std::string_view Pattern, bool IgnoreCase)
      : Re(re2::StringPiece(Pattern.data(), Pattern.size()), OptionsFor(IgnoreCase)),
        Prefix(IgnoreCase ? std::string() : RequiredPrefix(Pattern)) {}
  static RE2::Options OptionsFor(bool IgnoreCase) {
    RE2::Options o;
    o.set_log_errors(false);
    o.set_case_sensitive(!IgnoreCase);
    o.set_encoding(RE2::Options::EncodingUTF8);
    return o;
  }
  RE2 Re;
  std::string Prefix;  // a cheap test before the regular expression runs
};

// ---- the boolean expression parser --------------------------------------------------------------
//
//   expr   := term { ("OR" | "|") term }
//   term   := factor { ["AND" | "&"] factor }
//   factor := ("NOT" | "!") factor | "(" expr ")" | word | phrase

class TRowMatcher::TParser {
 public:
  TParser(TRowMatcher& Owner, std::string_view Text) : FOwner(Owner), FText(Text) {}

  int Parse() {
    SkipBlanks();
    const int root = Expr(0);
    SkipBlanks();
    if (FPos < FText.size()) {
      Fail(FPos, FText[FPos] == ')' ? "')' without '('" : "unexpected text");
    }
    return root;
  }

 private:
  enum TTok : std::uint8_t { tkEnd, tkWord, tkPhrase, tkAnd, tkOr, tkNot, tkOpen, tkClose };

  void SkipBlanks() {
    while (FPos < FText.size() && IsBlank(FText[FPos])) ++FPos;
  }
  [[nodiscard]] static bool IsWordChar(char Ch) {
    return !IsBlank(Ch) && Ch != '(' && Ch != ')' && Ch != '&' && Ch != '|' && Ch != '!' && Ch != '"';
  }
  [[nodiscard]] std::string_view WordAt(std::size_t At) const {
    std::size_t end = At;
    while (end < FText.size() && IsWordChar(FText[end])) ++end;
    return FText.substr(At, end - At);
  }
  // Kind of the token at the current position (blanks skipped).
  TTok Peek() {
    SkipBlanks();
    if (FPos >= FText.size()) return tkEnd;
    switch (FText[FPos]) {
      case '(': return tkOpen;
      case ')': return tkClose;
      case '&': return tkAnd;
      case '|': return tkOr;
      case '!': return tkNot;
      case '"': return tkPhrase;
      default: break;
    }
    const std::string_view w = WordAt(FPos);
    if (w == "AND") return tkAnd;
    if (w == "OR") return tkOr;
    if (w == "NOT") return tkNot;
    return tkWord;
  }
  void SkipOperator() {
    const char ch = FText[FPos];
    FPos += ch == '&' || ch == '|' || ch == '!' || ch == '(' || ch == ')' ? 1 : WordAt(FPos).size();
  }
  void Enter(int Depth) const {
    if (Depth > MaxDepth) Fail(FPos, "nested too deeply");
  }

  int Expr(int Depth) {
    Enter(Depth);
    std::vector<int> terms{Term(Depth)};
    while (Peek() == tkOr) {
      SkipOperator();
      terms.push_back(Term(Depth));
    }
    return Combine(TNode::nkOr, std::move(terms));
  }

  int Term(int Depth) {
    std::vector<int> factors{Factor(Depth)};
    for (;;) {
      const TTok t = Peek();
      if (t == tkAnd) {
        SkipOperator();
      } else if (t != tkWord && t != tkPhrase && t != tkNot && t != tkOpen) {
        break;
      }
      factors.push_back(Factor(Depth));
    }
    return Combine(TNode::nkAnd, std::move(factors));
  }

  int Factor(int Depth) {
    Enter(Depth);
    switch (Peek()) {
      case tkNot: {
        SkipOperator();
        const int child = Factor(Depth + 1);
        return Add({TNode::nkNot, -1, {child}});
      }
      case tkOpen: {
        const std::size_t open = FPos;
        ++FPos;
        if (Peek() == tkClose) Fail(FPos, "empty parentheses");
        const int inner = Expr(Depth + 1);
        if (Peek() != tkClose) Fail(FText.size() > FPos ? FPos : open, "'(' without ')'");
        ++FPos;
        return inner;
      }
      case tkWord: {
        const std::string_view w = WordAt(FPos);
        FPos += w.size();
        return AddWord(std::string(w));
      }
      case tkPhrase: return Phrase();
      case tkEnd: Fail(FPos, "a word is missing at the end");
      case tkClose: Fail(FPos, "a word is missing before ')'");
      default: Fail(FPos, "a word is missing before the operator");
    }
  }

  int Phrase() {
    const std::size_t open = FPos++;
    std::string text;
    for (;;) {
      if (FPos >= FText.size()) Fail(open, "unterminated quoted phrase");
      const char ch = FText[FPos++];
      if (ch != '"') {
        text += ch;
      } else if (FPos < FText.size() && FText[FPos] == '"') {
        text += '"';
        ++FPos;
      } else {
        break;
      }
    }
    return AddWord(std::move(text));
  }

  int Combine(TNode::TKind Kind, std::vector<int>&& Items) {
    if (Items.size() == 1) return Items.front();
    return Add({Kind, -1, std::move(Items)});
  }
  int AddWord(std::string Word) {
    FOwner.FWords.push_back(FOwner.FIgnoreCase ? FoldAscii(Word) : std::move(Word));
    return Add({TNode::nkWord, static_cast<int>(FOwner.FWords.size() - 1), {}});
  }
  int Add(TNode Node) {
    FOwner.FNodes.push_back(std::move(Node));
    return static_cast<int>(FOwner.FNodes.size() - 1);
  }

  TRowMatcher& FOwner;
  std::string_view FText;
  std::size_t FPos = 0;
};

// ---- the matcher ------------------------------------------------------------------------------------

TRowMatcher::TRowMatcher(std::string_view Expression, TFilterMode Mode, bool IgnoreCase)
    : FMode(Mode), FIgnoreCase(IgnoreCase) {
  FMatchesAll = std::all_of(Expression.begin(), Expression.end(), IsBlank);
  if (FMatchesAll) return;
  switch (Mode) {
    case fmSimple:
      FWords.push_back(IgnoreCase ? FoldAscii(Expression) : std::string(Expression));
      break;
    case fmBoolean: {
      TParser parser(*this, Expression);
      FRoot = parser.Parse();
      break;
    }
    case fmGrep: {
      FRegex = std::make_unique<TRegex>(Expression, IgnoreCase);
      if (!FRegex->Re.ok()) {
        const std::string& arg = FRegex->Re.error_arg();
        const std::size_t at = arg.empty() ? std::string_view::npos : Expression.find(arg);
        Fail(at == std::string_view::npos ? 0 : at, FRegex->Re.error());
      }
      break;
    }
    default: Fail(0, "unknown filter mode");
  }
}

TRowMatcher::~TRowMatcher() = default;

// The row loops call the searches directly: this runs for every row of a
// filter, and a call per cell costs as much as the search of a short cell.
bool TRowMatcher::AnyContains(std::span<const std::string_view> Cells, const std::string& Needle) const {
  if (FIgnoreCase)
    return std::any_of(Cells.begin(), Cells.end(), [&](std::string_view c) { return ContainsFolded(c, Needle); });
  return std::any_of(Cells.begin(), Cells.end(), [&](std::string_view c) { return ContainsExact(c, Needle); });
}

bool TRowMatcher::Evaluate(int Node, std::span<const std::string_view> Cells) const {
  const TNode& n = FNodes[static_cast<std::size_t>(Node)];
  switch (n.Kind) {
    case TNode::nkWord: return AnyContains(Cells, FWords[static_cast<std::size_t>(n.Word)]);
    case TNode::nkNot: return !Evaluate(n.Children.front(), Cells);
    case TNode::nkAnd:
      return std::all_of(n.Children.begin(), n.Children.end(), [&](int c) { return Evaluate(c, Cells); });
    case TNode::nkOr:
      return std::any_of(n.Children.begin(), n.Children.end(), [&](int c) { return Evaluate(c, Cells); });
  }
  return false;
}

bool TRowMatcher::Matches(std::span<const std::string_view> Cells) const {
  if (FMatchesAll) return true;
  switch (FMode) {
    case fmSimple: return AnyContains(Cells, FWords.front());
    case fmBoolean: return Evaluate(FRoot, Cells);
    case fmGrep:
      return std::any_of(Cells.begin(), Cells.end(), [&](std::string_view c) {
        if (!FRegex->Prefix.empty() && c.find(FRegex->Prefix) == std::string_view::npos) return false;
        return RE2::PartialMatch(re2::StringPiece(c.data(), c.size()), FRegex->Re);
      });
  }
  return false;
}

std::string TRowMatcher::DescribeNode(int Node) const {
  const TNode& n = FNodes[static_cast<std::size_t>(Node)];
  if (n.Kind == TNode::nkWord) return "[" + FWords[static_cast<std::size_t>(n.Word)] + "]";
  std::string s = n.Kind == TNode::nkNot ? "NOT(" : n.Kind == TNode::nkAnd ? "AND(" : "OR(";
  for (std::size_t i = 0; i < n.Children.size(); ++i) {
    if (i > 0) s += ",";
    s += DescribeNode(n.Children[i]);
  }
  return s + ")";
}

std::string TRowMatcher::Describe() const {
  if (FMatchesAll) return "*";
  if (FMode == fmBoolean) return DescribeNode(FRoot);
  return "[" + (FMode == fmSimple ? FWords.front() : FRegex->Re.pattern()) + "]";
}

}  // namespace vorn
