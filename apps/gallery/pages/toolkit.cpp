// Gallery pages of the toolkit itself: standard controls and the canvas.
#include <cmath>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/menus.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn::gallery {
namespace {

// A control that draws a small canvas sample: figures, pen modes and
// rotated text, so the drawing rules can be checked by eye.
class TCanvasSample : public TCustomControl {
 public:
  explicit TCanvasSample(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 360, 240);
    FControlStyle.Include(csOpaque);
  }
  void Paint() override {
    TCanvas& c = *Canvas();
    c.Brush()->SetColor(clWhite);
    c.Pen()->SetColor(clGray);
    c.Rectangle(0, 0, Width(), Height());
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clYellow);
    c.Rectangle(12, 12, 82, 62);
    c.Brush()->SetColor(clAqua);
    c.Ellipse(92, 12, 172, 62);
    c.Brush()->SetColor(clFuchsia);
    c.Pie(182, 8, 242, 68, 242, 38, 212, 8);
    const TPoint tri[] = {{262, 62}, {292, 10}, {322, 62}};
    c.Brush()->SetColor(clLime);
    c.Polygon(tri);
    for (int k = 0; k < 12; ++k) {
      const double a = k * 3.14159265358979 / 6;
      c.MoveTo(70, 150);
      c.LineTo(70 + static_cast<int>(std::lround(50 * std::cos(a))), 150 - static_cast<int>(std::lround(50 * std::sin(a))));
    }
    c.Font()->SetName("Arial");
    c.Font()->SetSize(10);
    c.Brush()->SetStyle(bsClear);
    for (int angle = 0; angle < 360; angle += 90) {
      c.Font()->SetOrientation(angle * 10);
      c.TextOut(240, 160, " rotated " + std::to_string(angle));
    }
    c.Font()->SetOrientation(0);
  }
};

void BuildControls(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  auto* label = new TLabel(owner);
  label->SetParent(&parent);
  label->SetBounds(0, 0, 300, 20);
  label->SetCaption("A label with an &accelerator");

  auto* wrapped = new TLabel(owner);
  wrapped->SetParent(&parent);
  wrapped->SetAutoSize(false);
  wrapped->SetWordWrap(true);
  wrapped->SetBounds(0, 30, 220, 60);
  wrapped->SetCaption("A word-wrapped label breaks its caption at blanks to fit its width.");

  auto* disabled = new TLabel(owner);
  disabled->SetParent(&parent);
  disabled->SetBounds(0, 100, 200, 20);
  disabled->SetCaption("A disabled label");
  disabled->SetEnabled(false);

  int x = 260;
  for (TBevelCut cut : {bvRaised, bvLowered}) {
    auto* panel = new TPanel(owner);
    panel->SetParent(&parent);
    panel->SetBounds(x, 0, 150, 60);
    panel->SetBevelOuter(cut);
    panel->SetBevelInner(cut == bvRaised ? bvLowered : bvNone);
    panel->SetCaption(cut == bvRaised ? "Raised panel" : "Lowered panel");
    x += 160;
  }

  auto* counter = new TLabel(owner);
  counter->SetParent(&parent);
  counter->SetBounds(260, 110, 200, 20);
  counter->SetCaption("Clicked 0 times");
  auto clicks = std::make_shared<int>(0);
  auto* button = new TButton(owner);
  button->SetParent(&parent);
  button->SetBounds(260, 75, 110, 28);
  button->SetCaption("Click me");
  button->SetOnClick([counter, clicks](TObject*) {
    counter->SetCaption("Clicked " + std::to_string(++*clicks) + " times");
  });
  auto* off = new TButton(owner);
  off->SetParent(&parent);
  off->SetBounds(380, 75, 110, 28);
  off->SetCaption("Disabled");
  off->SetEnabled(false);

  const char* groupCaptions[] = {"Left", "Centre", "Right"};
  for (int i = 0; i < 3; ++i) {
    auto* sb = new TSpeedButton(owner);
    sb->SetParent(&parent);
    sb->SetBounds(500 + i * 56, 75, 54, 28);
    sb->SetCaption(groupCaptions[i]);
    sb->SetGroupIndex(1);
    sb->SetDown(i == 1);
  }

  auto* menu = new TPopupMenu(owner);
  for (const char* caption : {"Copy", "Paste", "-", "Select all"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  auto* withMenu = new TPanel(owner);
  withMenu->SetParent(&parent);
  withMenu->SetBounds(0, 140, 220, 40);
  withMenu->SetCaption("Right-click for a menu");
  withMenu->SetBevelOuter(bvLowered);
  withMenu->SetPopupMenu(menu);

  auto* edit = new TEdit(owner);
  edit->SetParent(&parent);
  edit->SetBounds(0, 200, 220, 22);
  edit->SetText("An edit field: type here");
  auto* readOnly = new TEdit(owner);
  readOnly->SetParent(&parent);
  readOnly->SetBounds(0, 230, 220, 22);
  readOnly->SetText("Disabled edit field");
  readOnly->SetEnabled(false);

  auto* sample = new TCanvasSample(owner);
  sample->SetParent(&parent);
  sample->SetBounds(260, 150, 360, 240);
}

VORN_GALLERY_PAGE(TPage{0, "toolkit", "Toolkit controls",
                        "The toolkit's own controls: labels (plain, word-wrapped, disabled), panels with "
                        "raised and lowered bevels, push buttons, grouped speed buttons, edit fields, a popup menu and a canvas sample with "
                        "figures and rotated text.",
                        BuildControls});

}  // namespace
}  // namespace vorn::gallery
