// Gallery page of the edit-based numeric field.
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/numio/numio.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn::gallery {
namespace {

struct Sample {
  const char* Caption;
  TInFormat Format;
  double Low, High, Value;
};

void Build(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  const Sample samples[] = {
      {"Dynamic, -1e6 .. 1e6", itDynamic, -1e6, 1e6, 12.5},
      {"Float, 0 .. 100", itFloat, 0, 100, 42.125},
      {"Fixed point, 2 places", itFixPoint, 0, 1000, 3.14159},
      {"Integer, -50 .. 50", itInt, -50, 50, -17},
      {"Hexadecimal", itHex, 0, 65535, 255},
      {"Exponential", itExp, -1e30, 1e30, 6.02214076e23},
      {"Exponential, full range", itExp, -uc_MaxDouble, uc_MaxDouble, -2.5e-200},
  };
  int y = 0;
  for (const Sample& s : samples) {
    auto* label = new TLabel(owner);
    label->SetParent(&parent);
    label->SetBounds(0, y + 3, 180, 17);
    label->SetCaption(s.Caption);
    auto* field = new TNumIO(owner);
    field->SetParent(&parent);
    field->SetBounds(190, y, 150, 22);
    field->SetRangeLow(s.Low);
    field->SetRangeHigh(s.High);
    field->SetInputFormat(s.Format);
    field->SetBeep(true);
    field->SetValue(s.Value);
    y += 32;
  }
  auto* note = new TLabel(owner);
  note->SetParent(&parent);
  note->SetAutoSize(false);
  note->SetWordWrap(true);
  note->SetBounds(0, y + 10, 420, 60);
  note->SetCaption("Type into the fields: a change that leaves the format or the range is undone "
                   "and the last accepted text comes back.");
}

VORN_GALLERY_PAGE(TPage{11, "numio", "Numeric edit field",
                        "TNumIO: a standard edit field that checks its text after every change against "
                        "an input format and a value range.",
                        Build});

}  // namespace
}  // namespace vorn::gallery
