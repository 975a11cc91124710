#include "vorn/resources/resources.h"

#include <cctype>

namespace vorn {

const TResourceImage* FindResourceImage(std::string_view name) {
  for (const auto& entry : ResourceImages()) {
    const std::string_view candidate = entry.Name;
    if (candidate.size() != name.size() || candidate.empty()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(candidate[i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    }
    if (same) return &entry;
  }
  return nullptr;
}

}  // namespace vorn
