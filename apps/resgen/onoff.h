// The pictures of the on/off buttons: one picture per style, 2 x 2 glyphs
// (on left, off right; enabled top, disabled bottom) on the key colour.
#pragma once

#include <functional>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"

namespace vorn::resgen {

struct TGeneratedPicture {
  const char* Name;
  int Width, Height;
  std::function<void(TBitmap&)> Draw;  // draws into a bitmap of Width x Height
};

const std::vector<TGeneratedPicture>& OnOffPictures();

}  // namespace vorn::resgen
