// Gallery page of the self-drawn numeric input field: every input format,
// spin buttons with an increment and with pivots, gauges, side texts, a
// value out of range, a disabled field and the six frame styles.
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/numio/numio2.h"

namespace vorn::gallery {
namespace {

struct TFieldSetup {
  std::string LeftText;
  std::string RightText;
  TInFormat Format = itFloat;
  double Value = 0;
};

TNumIO2* AddField(TWinControl& Parent, int X, int Y, const TFieldSetup& Setup) {
  auto* field = new TNumIO2(Parent.Owner());
  field->SetParent(&Parent);
  field->SetBounds(X, Y, 360, 28);
  field->SetLeftSpace(90);
  field->SetTextBoxWidth(110);
  field->SetGaugeLeftMargin(90);
  field->SetGaugeWidth(110);
  field->SetLeftText(Setup.LeftText);
  field->SetRightText(Setup.RightText);
  field->SetInputFormat(Setup.Format);
  field->SetValue(Setup.Value);
  return field;
}

void AddGauge(TNumIO2& Field, int Height) {
  Field.SetHeight(Height);
  Field.SetGaugeVisible(true);
  Field.SetGaugeHeight(9);
}

void BuildFormats(TWinControl& Parent) {
  constexpr int X = 0;
  int y = 0;
  const auto next = [&y](int Step = 36) { return (y += Step) - Step; };

  TNumIO2* voltage = AddField(Parent, X, next(), {"Voltage", "V (step 0.5)", itFloat, 12.5});
  voltage->SetButVisible(true);
  voltage->SetButIncrem(0.5);

  AddField(Parent, X, next(), {"Energy", "J", itExp, 1234.5})->SetRangeHigh(1e6);

  TNumIO2* gain = AddField(Parent, X, next(), {"Gain", "dB (pivots)", itFixPoint, 5});
  gain->SetFixPointDecPlaces(1);
  gain->SetButVisible(true);
  gain->ButtonPivots = {1, 2, 5, 10, 20, 50};
  gain->SetRangeHigh(50);

  TNumIO2* count = AddField(Parent, X, next(46), {"Count", "of 1000", itInt, 640});
  count->SetButVisible(true);
  count->SetButHeight(28);
  AddGauge(*count, 42);

  AddField(Parent, X, next(), {"Mask", "hex", itHex, 255});
  TNumIO2* mode = AddField(Parent, X, next(), {"Mode", "octal, selected", itOct, 493});
  mode->SetHideSelection(false);
  mode->SetSelBegin(8);
  mode->SetSelEnd(11);
  TNumIO2* bits = AddField(Parent, X, next(), {"Bits", "", itBin, 1234});
  bits->SetTextBoxWidth(260);
  bits->SetAlignment(taRightJustify);
  bits->SetRangeHigh(65535);
  TNumIO2* address = AddField(Parent, X, next(), {"Address", "dynamic", itDynamic, 0});
  address->SetRangeHigh(65535);
  address->SetText("$1F80");

  TNumIO2* limit = AddField(Parent, X, next(46), {"Pressure", "out of range", itFloat, 1500});
  AddGauge(*limit, 42);

  TNumIO2* locked = AddField(Parent, X, next(), {"Disabled", "mm", itFloat, 42.25});
  locked->SetButVisible(true);
  locked->SetEnabled(false);
  TNumIO2* lockedGauge = AddField(Parent, X, next(), {"Disabled", "gauge", itInt, 300});
  AddGauge(*lockedGauge, 42);
  lockedGauge->SetEnabled(false);
}

void BuildFrameStyles(TWinControl& Parent) {
  constexpr int X = 390;
  for (int style = fsNone; style <= fsEngraved; ++style) {
    TNumIO2* field = AddField(Parent, X, style * 52, {"Frame " + std::to_string(style), "", itFloat, 100.0 * style});
    field->SetFrameStyle(static_cast<TFrameStyle>(style));
    field->SetGaugeFrameStyle(static_cast<TFrameStyle>(style));
    field->SetAlignment(style % 2 == 0 ? taCenter : taLeftJustify);
    AddGauge(*field, 44);
    if (style == fsRaised) field->SetColorScheme(csSystem);
  }
  TNumIO2* aligned = AddField(Parent, X, 6 * 52, {"Right", "aligned", itFloat, 3.14159});
  aligned->SetFixPointDecPlaces(5);
  aligned->SetAlignment(taRightJustify);
  aligned->SetRightTextAlignment(taRightJustify);
  aligned->SetLeftTextAlignment(taLeftJustify);
}

void Build(TWinControl& Parent) {
  BuildFormats(Parent);
  BuildFrameStyles(Parent);
}

VORN_GALLERY_PAGE(TPage{10, "numio2", "Numeric input field",
                        "A self-drawn numeric field in every input format: spin buttons stepping by an increment "
                        "or along pivot values, gauges, side texts, a value out of range in warning colours, "
                        "disabled fields, and the six frame styles of box and gauge.",
                        Build});

}  // namespace
}  // namespace vorn::gallery
