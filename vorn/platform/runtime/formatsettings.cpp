#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

void ResetFormatSettings() { FormatSettings() = TFormatSettings{}; }

}  // namespace vorn
