// The coloured ring under a meter's scale: every section is the pie of the
// outer radius between two directions, and the disk of the inner radius
// then clears the middle with the dial colour. Drawn plainly, each pie
// fills its whole wedge only to have most of it painted over; here each
// pie is clipped to the box of its own part of the ring and, over a dial of
// one colour, the clearing disk to the boxes the pies touched. The pixels
// are those of the plain drawing.
#pragma once

#include <span>

#include "vorn/platform/graphics/canvas.h"

namespace vorn {

// One section: the pie runs counter-clockwise from the direction of From
// to the direction of To (points as Pie takes them).
struct TRingSection {
  TColor Color;
  TPoint From, To;
};

// The ring about (CX, CY): the pies in the box CX - Outer .. CX + Outer + 1,
// CY - Outer .. CY + Outer, the disk in CX - Inner .. CX + Inner + 1,
// CY - Inner .. CY + Inner, both with pen and brush of their colour.
// PlainDial: an area whose pixels have the colour Dial already, so that
// the disk need not repaint there what no pie reached (empty: none).
// Leaves the canvas's clip as it found it; pen and brush end in Dial.
void PaintSectionRing(TCanvas& C, int CX, int CY, int Outer, int Inner, std::span<const TRingSection> Sections,
                      TColor Dial, const TRect& PlainDial);

}  // namespace vorn
