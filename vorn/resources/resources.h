// The pictures compiled into the library (buttons, display elements, check
// boxes), found by name. Each entry holds the bytes of a picture file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vorn {

struct TResourceImage {
  const char* Name;
  const std::uint8_t* Data;
  std::size_t Size;
};

// Every built-in picture, sorted by name.
std::span<const TResourceImage> ResourceImages();

// The picture of that name (names compare without regard to case), or null.
const TResourceImage* FindResourceImage(std::string_view name);

}  // namespace vorn
