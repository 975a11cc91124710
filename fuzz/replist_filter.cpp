// Fuzz target for the report list's filter expressions: any bytes compile
// to a matcher or raise EVORNRepListError; a boolean expression that
// compiles gives the opposite verdict under NOT, and a regular expression
// the same verdicts inside a group, on every sample row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vorn/replist/replistfilter.h"

namespace {

const std::string_view kRows[][3] = {{"red apple", "5", ""},
                                     {"Dark \"blue\" plum", "(8)", "a|b"},
                                     {"\xC3\x84pfel", "AND", "!x"},
                                     {"", "", ""}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto mode = static_cast<vorn::TFilterMode>(data[0] % 3);
  const bool ignoreCase = (data[0] & 4) != 0;
  const std::string expression(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    const vorn::TRowMatcher matcher(expression, mode, ignoreCase);
    bool verdicts[4];
    for (int r = 0; r < 4; ++r) verdicts[r] = matcher.Matches(kRows[r]);
    if (mode == vorn::fmGrep && !matcher.MatchesAll()) {
      // A group in front leaves no literal prefix to look for first: the
      // verdicts must not change.
      try {
        const vorn::TRowMatcher grouped("(?:" + expression + ")", mode, ignoreCase);
        for (int r = 0; r < 4; ++r) {
          if (grouped.Matches(kRows[r]) != verdicts[r]) std::abort();
        }
      } catch (const vorn::EVORNRepListError&) {
      }
    }
    if (mode == vorn::fmBoolean && !matcher.MatchesAll()) {
      const vorn::TRowMatcher negated("!(" + expression + ")", mode, ignoreCase);
      for (int r = 0; r < 4; ++r) {
        if (negated.Matches(kRows[r]) == verdicts[r]) std::abort();
      }
    }
  } catch (const vorn::EVORNRepListError&) {
    // a clear refusal
  }
  return 0;
}
