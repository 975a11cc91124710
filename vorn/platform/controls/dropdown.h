// Drop-downs of controls that open a list or a calendar below themselves:
// where the drop-down goes on the form and how the button that opens it
// looks. The drop-down is a control of the form itself, above every other
// control, so that no parent clips it.
#pragma once

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/canvas.h"

namespace vorn {

// The bounds, in the form's client coordinates, of a drop-down of the
// given size for Anchor: below it when it fits there or there is at least
// as much room below as above, otherwise above it; moved left to stay on
// the form. A drop-down wider or taller than the form is cut to it.
TRect DropDownBounds(const TControl& Anchor, int Width, int Height);

// Puts Drop on Anchor's form at Bounds, shows it and brings it to the top.
// False when Anchor is not on a form.
bool ShowDropDown(TControl& Anchor, TControl& Drop, const TRect& Bounds);

// The button face with a downward arrow in its middle.
void DrawDropDownButton(TCanvas& Canvas, const TRect& Button, bool Enabled = true);

}  // namespace vorn
