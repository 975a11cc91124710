// The check box pictures menu items show for a setting that is on
// ("CHECKEDBOX") or off ("EMPTYBOX"): a sunken white box, with a tick in
// the first, on a key colour that menus leave out.
#pragma once

#include <vector>

#include "apps/resgen/onoff.h"

namespace vorn::resgen {

const std::vector<TGeneratedPicture>& MenuBoxPictures();

}  // namespace vorn::resgen
