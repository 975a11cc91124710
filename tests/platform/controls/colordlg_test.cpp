// Colour dialog: HSV conversions against Python's colorsys, and the modal
// form driven through the headless host: picking cells, typing RGB and
// HSV values, wrong entries, custom colours, OK and Cancel.
#include "vorn/platform/stdctrls/colordlg.h"

#include <gtest/gtest.h>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn {
namespace {

TColor RGB(int R, int G, int B) { return static_cast<TColor>(R | (G << 8) | (B << 16)); }

TEST(ColorConversion, MatchesColorsys) {
  // Python: colorsys.rgb_to_hsv on channels / 255, rounded to degrees and percent.
  struct Case {
    int R, G, B, H, S, V;
  };
  for (const Case& c : {Case{255, 0, 0, 0, 100, 100}, Case{0, 255, 0, 120, 100, 100}, Case{0, 0, 255, 240, 100, 100},
                        Case{255, 255, 0, 60, 100, 100}, Case{128, 64, 32, 20, 75, 50}, Case{10, 200, 150, 164, 95, 78},
                        Case{0, 0, 0, 0, 0, 0}, Case{255, 255, 255, 0, 0, 100}, Case{200, 100, 250, 280, 60, 98},
                        Case{1, 2, 3, 210, 67, 1}}) {
    const THSV hsv = RGBToHSV(RGB(c.R, c.G, c.B));
    EXPECT_EQ(hsv.H, c.H) << c.R << "," << c.G << "," << c.B;
    EXPECT_EQ(hsv.S, c.S) << c.R << "," << c.G << "," << c.B;
    EXPECT_EQ(hsv.V, c.V) << c.R << "," << c.G << "," << c.B;
  }
  // Python: colorsys.hsv_to_rgb(h / 360, s / 100, v / 100), channels * 255 rounded.
  for (const Case& c : {Case{255, 0, 0, 0, 100, 100}, Case{204, 153, 102, 30, 50, 80}, Case{115, 140, 153, 200, 25, 60},
                        Case{255, 0, 4, 359, 100, 100}, Case{102, 102, 102, 90, 0, 40}, Case{51, 13, 51, 300, 75, 20}}) {
    EXPECT_EQ(HSVToRGB({c.H, c.S, c.V}), RGB(c.R, c.G, c.B)) << c.H << "," << c.S << "," << c.V;
  }
  EXPECT_EQ(HSVToRGB({720, 150, -5}), RGB(0, 0, 0));  // wrapped hue, clamped saturation and value
  EXPECT_EQ(RGBToHSV(clBtnFace).V, RGBToHSV(ColorToRGB(clBtnFace)).V);
}

class ColorDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { host.SetModalHandler(nullptr); }
  THeadlessHost& host = HeadlessHost();
};

TEST_F(ColorDialogTest, PickingACellAndOkReturnsItsColour) {
  TColorDialog dialog(nullptr);
  dialog.SetColor(0x123456);
  host.SetModalHandler([&](TCustomForm& Form) {
    auto& f = dynamic_cast<TColorDialogForm&>(Form);
    EXPECT_EQ(f.Field(0)->Text(), "86");  // red of $123456
    EXPECT_EQ(f.Field(2)->Text(), "18");
    const TRect cell = f.BasicCells()->CellBounds(28);
    host.Click(*f.BasicCells(), cell.Left + 5, cell.Top + 5);
    EXPECT_EQ(f.Color(), BasicColors[28]);
    EXPECT_EQ(f.Preview()->Color(), BasicColors[28]);
    host.Click(*f.OkButton(), 10, 10);
    return Form.ModalResult();
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), BasicColors[28]);
}

TEST_F(ColorDialogTest, TypedRgbAndHsvValuesUpdateEachOtherAndWrongEntriesChangeNothing) {
  TColorDialog dialog(nullptr);
  host.SetModalHandler([&](TCustomForm& Form) {
    auto& f = dynamic_cast<TColorDialogForm&>(Form);
    f.Field(0)->SetText("128");
    f.Field(1)->SetText("64");
    f.Field(2)->SetText("32");
    EXPECT_EQ(f.Color(), RGB(128, 64, 32));
    EXPECT_EQ(f.Field(3)->Text(), "20");
    EXPECT_EQ(f.Field(4)->Text(), "75");
    EXPECT_EQ(f.Field(5)->Text(), "50");
    f.Field(3)->SetText("200");
    f.Field(4)->SetText("25");
    f.Field(5)->SetText("60");
    EXPECT_EQ(f.Color(), RGB(115, 140, 153));
    EXPECT_EQ(f.Field(0)->Text(), "115");
    for (const char* bad : {"", "256", "-1", "1e2", "12x", "99999999999"}) {
      f.Field(0)->SetText(bad);
      EXPECT_EQ(f.Color(), RGB(115, 140, 153)) << bad;
    }
    f.Field(0)->SetText("0");
    EXPECT_EQ(f.Color(), RGB(0, 140, 153));
    return mrCancel;
  });
  dialog.SetColor(clRed);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), clRed);
}

TEST_F(ColorDialogTest, CustomColoursAreAddedInTurnAndKept) {
  TColorDialog dialog(nullptr);
  host.SetModalHandler([&](TCustomForm& Form) {
    auto& f = dynamic_cast<TColorDialogForm&>(Form);
    f.SetColor(0x010203);
    host.Click(*f.AddButton(), 10, 10);
    f.SetColor(0x040506);
    f.AddCustomColor();
    EXPECT_EQ(f.CustomCells()->CellColor(1), 0x040506u);
    return mrCancel;
  });
  dialog.Execute();
  EXPECT_EQ(dialog.CustomColor(0), 0x010203u);
  EXPECT_EQ(dialog.CustomColor(1), 0x040506u);
  EXPECT_EQ(dialog.CustomColor(16), 0u);
  host.SetModalHandler([&](TCustomForm& Form) {
    auto& f = dynamic_cast<TColorDialogForm&>(Form);
    const TRect cell = f.CustomCells()->CellBounds(1);
    host.Click(*f.CustomCells(), cell.Left + 5, cell.Top + 5);
    return mrOk;
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), 0x040506u);
}

}  // namespace
}  // namespace vorn
