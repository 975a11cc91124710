// Gallery pages of the analog meter: every layout, and a page with a
// logarithmic scale, sections, lamps, two needles and a needle that
// follows the mouse.
#include <cstdio>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/gauges/meter.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn::gallery {
namespace {

TLabel* Note(TWinControl& Parent, int X, int Y, int W, const std::string& Text) {
  auto* label = new TLabel(Parent.Owner());
  label->SetParent(&Parent);
  label->SetBounds(X, Y, W, 17);
  label->SetCaption(Text);
  return label;
}

TMeter* Meter(TWinControl& Parent, int X, int Y, int W, int H) {
  auto* meter = new TMeter(Parent.Owner());
  meter->SetParent(&Parent);
  meter->SetBounds(X, Y, W, H);
  return meter;
}

void BuildLayouts(TWinControl& parent) {
  const char* names[] = {"mlCirc90", "mlCirc120", "mlCirc180", "mlCirc270", "mlCirc300", "mlCirc360"};
  for (int i = 0; i < 6; ++i) {
    const int x = (i % 3) * 256, y = (i / 3) * 200;
    Note(parent, x, y, 250, names[i]);
    TMeter* m = Meter(parent, x, y + 18, 246, 172);
    m->SetMeterLayout(static_cast<TMeterLayout>(i));
    m->SetMeterMaxValue(100);
    m->SetThresholdLow(20);
    m->SetThresholdHigh(80);
    m->SetScaleBkVisible(i % 2 == 1);
    m->SetScaleBkWidth(8);
    m->SetMeterDecPlaces(0);
    m->SetMeterNrTicks(i < 2 ? 4 : 8);
    m->SetValue(35 + i * 9);
    m->SetCaption("Layout " + std::to_string(i));
  }
  Note(parent, 0, 404, 760, "Sections on the 120, 270 and 360 degree dials; the lamps light when the value leaves 20..80.");
}

VORN_GALLERY_PAGE(TPage{33, "meter-layouts", "Analog meter layouts",
                        "The six scale layouts at 246 x 172 pixels, range 0..100.", BuildLayouts});

void BuildScales(TWinControl& parent) {
  Note(parent, 0, 0, 370, "Logarithmic 1..1000 with sections, both lamps");
  TMeter* log = Meter(parent, 0, 18, 370, 250);
  log->SetMeterMaxValue(1000);
  log->SetMeterMinValue(1);
  log->SetLogarithmic(true);
  log->SetMeterLayout(mlCirc120);
  log->SetMeterDecPlaces(0);
  log->SetMeterShortTicks(false);
  log->SetThresholdLow(3);
  log->SetThresholdHigh(300);
  log->SetScaleBkVisible(true);
  log->SetScaleBkWidth(6);
  log->SetValue(600);
  log->SetCaption("Hz");
  log->NeedleLayout()->SetShadowDx(-4);
  log->NeedleLayout()->SetShadowDy(-4);

  Note(parent, 390, 0, 370, "Two needles: value and set point");
  TMeter* two = Meter(parent, 390, 18, 370, 250);
  two->SetMeterLayout(mlCirc300);
  two->SetMeterMaxValue(200);
  two->SetMeterNrTicks(10);
  two->SetMeterDecPlaces(0);
  two->SetFrameStyle(fsEngraved);
  two->SetColorBakG(0xE8F4FF);
  two->NeedleLayout()->SetThickness(4);
  two->NeedleLayout()->SetColorBody(0x303030);
  two->NeedleLayout()->SetShadowDx(-3);
  two->NeedleLayout()->SetShadowDy(-3);
  two->NeedleLayoutSec()->SetVisible(true);
  two->NeedleLayoutSec()->SetColorBody(0x0000E0);
  two->NeedleLayoutSec()->SetColorOutline(0x000080);
  two->NeedleLayoutSec()->SetPercentNeedleLength(80);
  two->NeedleLayoutSec()->SetHeadSize(12);
  two->SetValue(128);
  two->SetValueSec(150);
  two->SetCaption("bar");

  Note(parent, 0, 286, 370, "Move the mouse over the dial: the needle follows");
  TMeter* follow = Meter(parent, 0, 304, 370, 230);
  follow->SetMeterLayout(mlCirc180);
  follow->SetMeterMinValue(-50);
  follow->SetMeterMaxValue(50);
  follow->SetMeterNrTicks(10);
  follow->SetMeterDecPlaces(0);
  follow->SetThresholdLow(-30);
  follow->SetThresholdHigh(30);
  follow->SetScaleBkVisible(true);
  follow->SetScaleBkWidth(5);
  follow->SetColorCover(0x605040);
  follow->SetAnchorSize(18);
  TLabel* status = Note(parent, 390, 304, 370, "Value under the mouse: -");
  follow->SetOnMouseMoveInMeter([follow, status](TObject*, bool Within, TShiftState, double Value) {
    char text[64];
    if (Within) {
      std::snprintf(text, sizeof text, "Value under the mouse: %.2f", Value);
      follow->SetValue(Value);
    } else {
      std::snprintf(text, sizeof text, "Value under the mouse: outside the scale");
    }
    status->SetCaption(text);
  });
  follow->SetValue(10);
}

VORN_GALLERY_PAGE(TPage{34, "meter", "Analog meter",
                        "A logarithmic scale with coloured sections and both limit lamps, a second needle, and a "
                        "needle that follows the mouse (the value under the pointer).",
                        BuildScales});

}  // namespace
}  // namespace vorn::gallery
