// Every built-in picture the resources generator draws, in one list, so
// that the generator writes them all and a test can check the committed
// files against a fresh drawing.
#pragma once

#include <vector>

#include "apps/resgen/onoff.h"

namespace vorn::resgen {

// The seven-segment display's element shapes (sevenseg.cpp).
const std::vector<TGeneratedPicture>& SevenSegPictures();

// The library's emblem, used as window icon (logo.cpp).
const std::vector<TGeneratedPicture>& LogoPictures();

// The lists above, the on/off button pictures and the menu boxes.
std::vector<TGeneratedPicture> AllPictures();

}  // namespace vorn::resgen
