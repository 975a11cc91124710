// Gallery page of the date/time picker.
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/stdctrls/datetimepicker.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn::gallery {
namespace {

struct Sample {
  const char* Caption;
  TDateTimeKind Kind;
  const char* Format;
};

void Build(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  const Sample samples[] = {
      {"Date, dd.MM.yyyy", dtkDate, "dd.MM.yyyy"},
      {"Date with names", dtkDate, "dddd, d MMMM yyyy"},
      {"Short names, two-digit year", dtkDate, "ddd dd MMM yy"},
      {"Time, 24-hour clock", dtkTime, "HH:mm:ss"},
      {"Time, 12-hour clock", dtkTime, "hh:mm tt"},
      {"Quoted literal text", dtkTime, "H'h'mm 'and' s's'"},
      {"Date from 2020 to 2030", dtkDate, "yyyy-MM-dd"},
  };
  const TDateTime shown = EncodeDate(2016, 12, 24) + EncodeTime(17, 45, 30, 0);
  int y = 0;
  TDateTimePicker* last = nullptr;
  for (const Sample& s : samples) {
    auto* label = new TLabel(owner);
    label->SetParent(&parent);
    label->SetBounds(0, y + 3, 200, 17);
    label->SetCaption(s.Caption);
    auto* picker = new TDateTimePicker(owner);
    picker->SetParent(&parent);
    picker->SetBounds(210, y, 220, 22);
    picker->SetKind(s.Kind);
    picker->SetFormat(s.Format);
    picker->SetDateTime(shown);
    last = picker;
    y += 32;
  }
  last->SetMinDate(EncodeDate(2020, 1, 1));
  last->SetMaxDate(EncodeDate(2030, 12, 31));
  last->SetDateTime(EncodeDate(2024, 2, 29));
  auto* note = new TLabel(owner);
  note->SetParent(&parent);
  note->SetAutoSize(false);
  note->SetWordWrap(true);
  note->SetBounds(0, y + 10, 440, 80);
  note->SetCaption("Left/Right choose a field, Up/Down or the wheel step it, digits type it. "
                   "Alt+Down, F4 or the button open the month calendar of a date picker.");
}

VORN_GALLERY_PAGE(TPage{4, "datetimepicker", "Date/time picker",
                        "TDateTimePicker: a date or a time edited one field at a time, with a drop-down "
                        "month calendar for dates.",
                        Build});

}  // namespace
}  // namespace vorn::gallery
