// The row filter of the report list view: an expression compiled once and
// then matched against the texts of each row's filtered columns.
//
// fmSimple: the expression is one substring; a row matches when any of
//   its cells contains it.
// fmBoolean: words and double-quoted phrases combined with AND, OR, NOT
//   (upper case; also &, |, !) and parentheses. NOT binds tightest, then
//   AND, then OR; words side by side mean AND. A word (or phrase) is true
//   when any of the row's cells contains it. In a phrase, "" stands for
//   one double quote. Example: `(red | "dark blue") !green` matches rows
//   that mention red or dark blue and nowhere green.
// fmGrep: a regular expression (RE2 syntax, UTF-8); a row matches when it
//   matches somewhere in any cell. Matching takes time linear in the
//   text: no pattern can make the view hang.
//
// IgnoreCase folds ASCII letters for fmSimple and fmBoolean and all of
// Unicode (by RE2's rules) for fmGrep.
//
// An expression of nothing but blanks matches every row. An invalid
// expression raises EVORNRepListError whose message gives the byte
// position (1-based) of the fault.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/foundation/basics.h"

namespace vorn {

// Raised by the report list view: memory failures, invalid filters.
class EVORNRepListError : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

enum TFilterMode : std::uint8_t { fmSimple, fmBoolean, fmGrep };

class TRowMatcher {
 public:
  // Nesting of parentheses and NOT deeper than this is refused.
  static constexpr int MaxDepth = 100;

  TRowMatcher(std::string_view Expression, TFilterMode Mode, bool IgnoreCase);
  ~TRowMatcher();
  TRowMatcher(const TRowMatcher&) = delete;
  TRowMatcher& operator=(const TRowMatcher&) = delete;

  // True when the expression matches every row.
  [[nodiscard]] bool MatchesAll() const { return FMatchesAll; }
  [[nodiscard]] bool Matches(std::span<const std::string_view> Cells) const;
  // The expression in prefix form, words in brackets (for tests):
  // "OR(AND([a],NOT([b])),[c d])".
  [[nodiscard]] std::string Describe() const;

 private:
  struct TNode {
    enum TKind : std::uint8_t { nkWord, nkNot, nkAnd, nkOr } Kind;
    int Word = -1;              // nkWord: index into FWords
    std::vector<int> Children;  // nodes
  };
  class TParser;

  [[nodiscard]] bool AnyContains(std::span<const std::string_view> Cells, const std::string& Needle) const;
  [[nodiscard]] bool Evaluate(int Node, std::span<const std::string_view> Cells) const;
  [[nodiscard]] std::string DescribeNode(int Node) const;

  TFilterMode FMode;
  bool FIgnoreCase;
  bool FMatchesAll = false;
  std::vector<std::string> FWords;  // folded when ignoring case
  std::vector<TNode> FNodes;
  int FRoot = -1;
  struct TRegex;
  std::unique_ptr<TRegex> FRegex;
};

}  // namespace vorn
