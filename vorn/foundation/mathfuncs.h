// Small numeric routines of the math services.
#pragma once

#include <string_view>

namespace vorn {

// True when Text is a decimal integer that fits an int: optional blanks,
// an optional sign, at least one digit, optional blanks.
bool IsValidDecInt(std::string_view Text);
// The same check, giving the value.
bool ReadDecInt(std::string_view Text, int& Value);

// The largest integer not above X, limited to the int range; 0 for NaN.
int IntNeg(double X);

}  // namespace vorn
