// Gallery pages of the progress bar, the on/off buttons and the mark
// selector.
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/gauges/marksel.h"
#include "vorn/gauges/onoffbut.h"
#include "vorn/gauges/progbar.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn::gallery {
namespace {

TLabel* Caption(TWinControl& Parent, int X, int Y, int W, const std::string& Text) {
  auto* label = new TLabel(Parent.Owner());
  label->SetParent(&Parent);
  label->SetBounds(X, Y, W, 17);
  label->SetCaption(Text);
  return label;
}

// ---- progress bar ---------------------------------------------------------------------------

TProgBar* Bar(TWinControl& Parent, int X, int Y, int W, int H, double Value) {
  auto* bar = new TProgBar(Parent.Owner());
  bar->SetParent(&Parent);
  bar->SetBounds(X, Y, W, H);
  bar->SetValue(Value);
  return bar;
}

void BuildProgBar(TWinControl& parent) {
  Caption(parent, 0, 0, 300, "Default: plain bar, value text at (14, 14)");
  Bar(parent, 0, 18, 300, 28, 35);
  const char* modes[] = {"Gradient, cover", "Gradient, stretch", "Gradient, move"};
  for (int m = 0; m < 3; ++m) {
    Caption(parent, 0, 56 + m * 48, 300, modes[m]);
    TProgBar* bar = Bar(parent, 0, 74 + m * 48, 300, 28, 60);
    bar->SetShowColorGradient(true);
    bar->SetColorMapMode(static_cast<TColorMapping>(m));
    bar->SetTextPosX(150);
    bar->Font()->SetColor(clWhite);
  }
  Caption(parent, 0, 204, 300, "Grid every 10 pixels, growing leftward");
  TProgBar* grid = Bar(parent, 0, 222, 300, 28, 45);
  grid->SetDirection(diLeft);
  grid->SetGridDist(10);
  grid->SetColorGrid(0xE0E0E0);
  grid->SetTextPosX(286);
  grid->SetTextAlignment(taRightJustify);
  grid->SetColorMin(0x207020);
  Caption(parent, 0, 260, 300, "Auto increment (0.5 every 100 ms), wraps at 100");
  TProgBar* autoBar = Bar(parent, 0, 278, 300, 28, 0);
  autoBar->SetShowColorGradient(true);
  autoBar->SetColorMin(0x00C0FF);
  autoBar->SetColorMax(0x0000A0);
  autoBar->SetTextDecPlaces(1);
  autoBar->SetStartInterval(500);
  autoBar->SetRepeatInterval(100);
  autoBar->SetAutoIncStep(0.5);
  autoBar->SetOnAutoInc([autoBar](TObject*) {
    if (autoBar->Value() > 100) autoBar->SetValue(0);
  });
  autoBar->SetAutoInc(true);
  Caption(parent, 0, 316, 300, "Scientific text (-1), outer frame 5, inner 4");
  TProgBar* sci = Bar(parent, 0, 334, 300, 28, 72.5);
  sci->SetTextDecPlaces(-1);
  sci->SetTextPosX(150);
  sci->SetFrameStyleOuter(fsEngraved);
  sci->SetFrameStyleInner(fsEmbossed);
  sci->SetColorBackGnd(0xFFFFFF);

  const char* dirs[] = {"up", "down"};
  for (int d = 0; d < 2; ++d) {
    const int x = 340 + d * 70;
    Caption(parent, x, 0, 60, dirs[d]);
    TProgBar* v = Bar(parent, x, 18, 40, 220, 65);
    v->SetDirection(d == 0 ? diUp : diDown);
    v->SetShowColorGradient(true);
    v->SetColorMapMode(cgmCover);
    v->SetGridDist(20);
    v->SetTextAngle(90);
    v->SetTextPosX(20);
    v->SetTextPosY(110);
    v->Font()->SetColor(clWhite);
    v->Font()->SetStyle(TFontStyles{fsBold});
  }
  Caption(parent, 490, 0, 250, "Centred text at 0, 90, 180, 270 degrees");
  const int angles[] = {0, 90, 180, 270};
  for (int a = 0; a < 4; ++a) {
    TProgBar* t = Bar(parent, 490 + (a % 2) * 130, 18 + (a / 2) * 130, 120, 120, 0);
    t->SetColorBackGnd(0xFFFFFF);
    t->SetGridDist(0);
    t->SetTextPosX(60);
    t->SetTextPosY(60);
    t->SetTextAngle(angles[a]);
    t->SetOnShowValue([a](TObject*, std::string& Text) { Text = "centre " + std::to_string(a * 90); });
  }
}

VORN_GALLERY_PAGE(TPage{30, "progbar", "Progress bar",
                        "Bars between margins with colour-table gradients (cover, stretch, move), grid lines, "
                        "four growth directions, frames and a value text that turns about its anchor.",
                        BuildProgBar});

// ---- on/off buttons ------------------------------------------------------------------------------

const char* const kStyleNames[OnOffButStyleCount] = {
    "User (default)", "Checkbox", "RadioBut", "SlideTB", "SlideLR", "ColSlideTB", "ColSlideLR", "LedRedGreen",
    "ArrowTopRgt", "ArrowUpDown", "ArrowLeftRight", "TrafficLPed", "BeveledLed", "SmileyYellow", "SmileyRedGrn",
    "Bulb", "ButLamp", "HDLeft", "HDRight", "User1", "User2", "User3", "User4", "User5"};

TOnOffBut* Button(TWinControl& Parent, TOnOffButStyle Style, int X, int Y, bool On, bool Enabled) {
  auto* b = new TOnOffBut(Parent.Owner());
  b->SetParent(&Parent);
  b->SetButtonStyle(Style);
  b->SetFrameStyle(fsNone);
  b->SetBounds(X, Y, b->GlyphWidth() + 6, b->GlyphHeight() + 4);
  b->SetOnOff(On);
  b->SetEnabled(Enabled);
  b->SetMouseAction(oomaPlain);
  return b;
}

void BuildOnOffBut(TWinControl& parent) {
  Caption(parent, 100, 0, 300, "on        off       disabled");
  Caption(parent, 480, 0, 300, "on        off       disabled");
  int y[2] = {20, 20};
  const int order[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 0};
  for (int i = 0; i < OnOffButStyleCount; ++i) {
    const auto style = static_cast<TOnOffButStyle>(order[i]);
    const int col = i < 12 ? 0 : 1;
    const int x0 = col * 385;
    TOnOffBut probe(nullptr);
    probe.SetButtonStyle(style);
    const int gw = probe.GlyphWidth() + 8;
    Caption(parent, x0, y[col] + (probe.GlyphHeight() - 10) / 2, 95, kStyleNames[style]);
    Button(parent, style, x0 + 100, y[col], true, true);
    Button(parent, style, x0 + 100 + gw, y[col], false, true);
    Button(parent, style, x0 + 100 + 2 * gw, y[col], true, false);
    Button(parent, style, x0 + 100 + 3 * gw, y[col], false, false);
    y[col] += probe.GlyphHeight() + 8;
  }
  // A group of three: one stays on.
  Caption(parent, 0, y[0] + 14, 95, "Group (radio)");
  for (int i = 0; i < 3; ++i) {
    auto* b = new TOnOffBut(parent.Owner());
    b->SetParent(&parent);
    b->SetButtonStyle(oobsLedRedGreen);
    b->SetBounds(100 + i * 95, y[0] + 4, 90, 40);
    b->SetAutoCenter(false);
    b->SetLeftSpace(4);
    b->SetTopSpace(12);
    b->SetRightText("Line " + std::to_string(i + 1));
    b->SetMouseAction(oomaPlain);
    b->SetOnOff(i == 0);
    b->SetGroupIndex(1);
    b->SetAllowAllOff(false);
  }
}

VORN_GALLERY_PAGE(TPage{31, "onoffbut", "On/off buttons",
                        "Every button style on, off and disabled (click to switch), and a group of three LEDs "
                        "of which exactly one is on.",
                        BuildOnOffBut});

// ---- mark selector ---------------------------------------------------------------------------------

void BuildMarkSel(TWinControl& parent) {
  auto* status = Caption(parent, 0, 220, 260, "Click a mark to select it.");
  auto* sel = new TMarkSel(parent.Owner());
  sel->SetParent(&parent);
  sel->SetBounds(0, 20, 265, 178);
  sel->SetNrOfColumns(9);
  sel->SetSelected(9);
  sel->SetOnMarkClick([status](TObject*, int, int, int Mark) {
    status->SetCaption("Selected mark " + std::to_string(Mark));
  });
  Caption(parent, 0, 0, 236, "All 52 marks, 9 x 6 cells");

  auto* few = new TMarkSel(parent.Owner());
  few->SetParent(&parent);
  few->SetBounds(290, 20, 200, 120);
  few->SetNrOfColumns(6);
  few->SetNrOfRows(3);
  few->HideAllMarks();
  for (int m : {1, 2, 3, 9, 14, 20, 21, 30, 33, 40, 45, 51}) few->SetVis(m, true);
  few->SetFrameStyle(fsRaised);
  few->SetColorBackGnd(0xFFFFFF);
  few->SetColorMarks(0x800000);
  few->SetSelected(14);
  Caption(parent, 290, 0, 250, "12 marks shown, 6 x 3");

  auto* off = new TMarkSel(parent.Owner());
  off->SetParent(&parent);
  off->SetBounds(290, 180, 200, 120);
  off->SetNrOfColumns(6);
  off->SetNrOfRows(3);
  off->HideAllMarks();
  for (int m : {4, 5, 6, 7, 8, 10, 11, 12, 13}) off->SetVis(m, true);
  off->SetSelected(5);
  off->SetEnabled(false);
  Caption(parent, 290, 160, 250, "Disabled");
}

VORN_GALLERY_PAGE(TPage{32, "marksel", "Mark selector",
                        "The plot marks in a grid of cells; the mark nearest to the mouse is highlighted and a "
                        "click selects it. Hidden marks take no cell.",
                        BuildMarkSel});

}  // namespace
}  // namespace vorn::gallery
