// Drawing routines of the base services: bevelled frames, the 52 plot
// marks, rectangle outlines and colour mixing.
#pragma once

#include "vorn/foundation/basics.h"
#include "vorn/platform/graphics/canvas.h"

namespace vorn {

// Draws a frame of Style on the pixels of the rectangle Left..Right,
// Top..Bottom (both edges included) and nothing inside it. The colours are
// C1 highlight, C2 light, C3 shadow, C4 dark shadow and C5 the line of the
// one-line style; callers usually pass $FFFFFF, $C0C0C0, $808080, $000000.
// The light falls from the top left: a sunken frame is shadow and dark
// shadow at the top and left, highlight and light at the bottom and right;
// a raised frame the other way round. The ridge (fsEmbossed) and the groove
// (fsEngraved) are two single-line rings of highlight and shadow. Lines use
// the canvas's pen mode; the pen is restored afterwards.
void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor C1, TColor C2, TColor C3, TColor C4, TColor C5);

constexpr int NumPlotMarks = 52;

// Draws plot mark Mark (0..51) centred on (X, Y) in the pen's colour and
// mode; other mark numbers draw nothing. Marks span at most 15 x 15
// pixels: 0 is a single pixel, then dots, crosses, squares, circles,
// diamonds, triangles pointing in four directions, stars, pentagons and
// hexagons, open and filled, with inner marks and in three sizes.
void DrawMarkOnCanvas(TCanvas* Canvas, int Mark, int X, int Y);
// Half the width of the square that holds Mark (0 for unknown marks), and
// whether the mark sets the pixel at offset (DX, DY) from its centre.
int MarkExtent(int Mark);
bool MarkCovers(int Mark, int DX, int DY);

// The outline through the four corners (Left, Top) and (Right, Bottom),
// both included, in the current pen.
void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom);

// The shadow and highlight line colours of a colour scheme: fixed grey and
// white for csBWG, the system's button shadow and highlight otherwise.
struct TSchemeLines {
  TColor Gray;
  TColor White;
};
constexpr TSchemeLines SchemeLines(TColorScheme Scheme) {
  return Scheme == csBWG ? TSchemeLines{clGray, clWhite} : TSchemeLines{clBtnShadow, clBtnHighlight};
}

// The colour halfway between C1 and C2 (system colours are resolved first).
TColor MeanColor(TColor C1, TColor C2);

}  // namespace vorn
