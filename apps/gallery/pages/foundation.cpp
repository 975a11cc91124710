// Gallery page of the base drawing routines: frame styles and plot marks.
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/foundation/drawing.h"

namespace vorn::gallery {
namespace {

// The six frame styles in a row on the button face, then the plot marks
// in numbered cells with grey ticks that point at each mark's centre.
class TFoundationSheet : public TCustomControl {
 public:
  explicit TFoundationSheet(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 420, 300);
    FControlStyle.Include(csOpaque);
  }

  void Paint() override {
    TCanvas& c = *Canvas();
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(ClientRect());
    c.Font()->SetName("Tahoma");
    c.Font()->SetSize(7);
    c.Font()->SetColor(clBlack);
    c.Brush()->SetStyle(bsClear);
    for (int style = fsNone; style <= fsEngraved; ++style) {
      const int x = 8 + style * 68;
      DrawFrame(&c, static_cast<TFrameStyle>(style), x, 8, x + 59, 47, clWhite, clSilver, clGray, clBlack, clBlack);
      c.TextOut(x + 26, 22, std::to_string(style));
    }
    constexpr int cols = 10;
    for (int mark = 0; mark < NumPlotMarks; ++mark) {
      const int x = 10 + (mark % cols) * 40;
      const int y = 64 + (mark / cols) * 38;
      c.Brush()->SetColor(clWhite);
      c.FillRect(Rect(x, y, x + 36, y + 34));
      c.Brush()->SetStyle(bsClear);
      c.TextOut(x + 2, y + 1, std::to_string(mark));
      c.Pen()->SetColor(clSilver);
      for (const TRect& tick : {Rect(18, 10, 18, 12), Rect(18, 31, 18, 34), Rect(4, 21, 9, 21), Rect(28, 21, 33, 21)}) {
        c.MoveTo(x + tick.Left, y + tick.Top);
        c.LineTo(x + tick.Right, y + tick.Bottom);
      }
      c.Pen()->SetColor(clNavy);
      DrawMarkOnCanvas(&c, mark, x + 18, y + 21);
    }
  }
};

void Build(TWinControl& parent) {
  auto* sheet = new TFoundationSheet(parent.Owner());
  sheet->SetParent(&parent);
}

VORN_GALLERY_PAGE(TPage{1, "frames-and-marks", "Frames and plot marks",
                        "The base drawing routines: the six frame styles (none, single line, sunken, raised, "
                        "ridge, groove) and the 52 plot marks, each centred on its point.",
                        Build});

}  // namespace
}  // namespace vorn::gallery
