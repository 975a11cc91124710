// TColSel: palettes, naming through OnColorNameChange, selection by
// colour, the indexed properties' ranges, the colour dialog on opening
// over the bar, and the drawn bar, edit mark and text position.
#include "vorn/pickers/colsel.h"

#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/colordlg.h"

namespace vorn {
namespace {

class ColSelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 300);
    sel = new TColSel(form.get());
    sel->SetParent(form.get());
    sel->SetBounds(10, 10, 200, 24);
    form->Show();
    host.Advance(0);
  }
  void TearDown() override { host.SetModalHandler(nullptr); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TColSel* sel = nullptr;
};

TEST_F(ColSelTest, MadeInCodeTheListIsEmptyUntilAPaletteIsLoaded) {
  EXPECT_EQ(sel->NumColors(), 20);
  EXPECT_EQ(sel->Items()->Count(), 0);
  EXPECT_EQ(sel->SelColor(), PredefinedColors[0].Color);
  EXPECT_EQ(sel->SelColorID(), "");
  sel->SetNumColors(16);
  EXPECT_EQ(sel->Items()->Count(), 16);
  EXPECT_EQ(sel->ItemIndex(), 0);
  EXPECT_EQ(sel->Items()->Strings(0), ColorToString(PredefinedColors[0].Color));
  sel->SetNumColors(0);
  sel->SetNumColors(48);
  EXPECT_EQ(sel->NumColors(), 16);
}

TEST_F(ColSelTest, PalettesTakeTheirPartOfThePredefinedColours) {
  sel->LoadWindowsSystemPalette();
  EXPECT_EQ(sel->NumColors(), 27);
  EXPECT_EQ(sel->Colors(1), PredefinedColors[20].Color);
  EXPECT_EQ(sel->Colors(27), PredefinedColors[46].Color);
  EXPECT_EQ(sel->Colors(28), 0u);
  EXPECT_EQ(sel->SelectedEntry(), 1);
  EXPECT_EQ(sel->Items()->Count(), 27);
  sel->LoadStandardPalette();
  EXPECT_EQ(sel->NumColors(), 47);
  sel->LoadBasicVGAPalette();
  EXPECT_EQ(sel->NumColors(), 16);
  sel->LoadExtendedPalette();
  EXPECT_EQ(sel->NumColors(), 20);
  EXPECT_EQ(sel->Colors(20), PredefinedColors[19].Color);
}

TEST_F(ColSelTest, SelColorFindsTheFirstEqualColourOrRecoloursTheSelection) {
  sel->LoadExtendedPalette();
  sel->SetColors(5, clRed);  // clRed is also an earlier entry of the basic colours
  int firstRed = 0;
  for (int i = 1; i <= 20 && firstRed == 0; ++i) {
    if (ColorToRGB(sel->Colors(i)) == ColorToRGB(clRed)) firstRed = i;
  }
  ASSERT_GT(firstRed, 0);
  sel->SetSelColor(clRed);
  EXPECT_EQ(sel->SelectedEntry(), std::min(firstRed, 5));
  EXPECT_EQ(sel->ItemIndex(), sel->SelectedEntry() - 1);
  sel->SetSelColor(0x123456);  // in no entry
  EXPECT_EQ(sel->SelectedEntry(), std::min(firstRed, 5));
  EXPECT_EQ(sel->SelColor(), 0x123456u);
  EXPECT_EQ(sel->SelColorID(), ColorToString(0x123456));
  // System colours compare by their RGB value.
  sel->LoadWindowsSystemPalette();
  sel->SetSelColor(ColorToRGB(sel->Colors(3)));
  EXPECT_EQ(sel->SelectedEntry(), 3);
}

TEST_F(ColSelTest, ChoosingAnItemSelectsItsEntry) {
  sel->LoadBasicVGAPalette();
  int changes = 0;
  sel->SetOnChange([&](TObject*) { ++changes; });
  sel->SetFocus();
  host.PressKey(VK_DOWN);
  host.PressKey(VK_DOWN);
  EXPECT_EQ(sel->SelectedEntry(), 3);
  EXPECT_EQ(sel->SelColor(), sel->Colors(3));
  EXPECT_EQ(sel->SelColorID(), sel->ColorNames(3));
  EXPECT_EQ(changes, 2);
}

TEST_F(ColSelTest, NamesGoThroughTheHandlerAndIndexedPropertiesIgnoreOutsideWrites) {
  sel->SetOnColorNameChange([](TObject*, std::string& Name) { Name = "my " + Name; });
  sel->LoadBasicVGAPalette();
  EXPECT_EQ(sel->Items()->Strings(1), "my " + ColorToString(PredefinedColors[1].Color));
  sel->SetColors(2, 0x010203);
  EXPECT_EQ(sel->ColorNames(2), "my " + ColorToString(0x010203));
  EXPECT_EQ(sel->Items()->Strings(1), sel->ColorNames(2));
  sel->SetColors(17, 0x010203);
  sel->SetColors(0, 0x010203);
  EXPECT_EQ(sel->Colors(17), 0u);
  EXPECT_EQ(sel->ColorNames(17), "");
  sel->SetColorEditAllowed(3, true);
  sel->SetColorEditAllowed(40, true);
  EXPECT_TRUE(sel->ColorEditAllowed(3));
  EXPECT_FALSE(sel->ColorEditAllowed(40));
  sel->SetColorNames(4, "four");
  EXPECT_EQ(sel->Items()->Strings(3), "four");
  sel->SetColorBarWidth(-1);
  EXPECT_EQ(sel->ColorBarWidth(), 30);
}

TEST_F(ColSelTest, OpeningOverTheBarOfAnEditableEntryRunsTheColourDialog) {
  sel->LoadBasicVGAPalette();
  sel->SetColorEditAllowed(1, true);
  int dialogs = 0;
  host.SetModalHandler([&](TCustomForm& Form) {
    ++dialogs;
    dynamic_cast<TColorDialogForm&>(Form).SetColor(0x00FF80);
    return mrOk;
  });
  host.MouseMove(*form, 10 + 40, 20);  // over the text: no dialog
  sel->DropDown();
  EXPECT_EQ(dialogs, 0);
  sel->CloseUp(false);
  host.MouseMove(*form, 10 + 10, 20);
  EXPECT_EQ(sel->MouseAreaCode(), 1);
  sel->DropDown();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(sel->SelColor(), 0x00FF80u);
  EXPECT_EQ(sel->ColorNames(1), ColorToString(0x00FF80));
  sel->CloseUp(false);
  sel->SetColorEditAllowed(1, false);
  sel->DropDown();
  EXPECT_EQ(dialogs, 1);
  sel->CloseUp(false);
}

TEST_F(ColSelTest, DrawsTheBarTheEditMarkAndTheText) {
  sel->LoadBasicVGAPalette();
  sel->SetSelColor(clYellow);
  sel->SetColorEditAllowed(sel->SelectedEntry(), true);
  auto shot = host.Snapshot(*sel);
  // The bar of the shown item: yellow inside, with a black edit mark
  // (yellow is light) at x = 5 from the item's left.
  bool yellow = false, black = false;
  for (int y = 0; y < shot->Height(); ++y) {
    for (int x = 0; x < 40; ++x) {
      const TColor p = shot->Canvas()->Pixels(x, y);
      yellow |= p == ColorToRGB(clYellow);
      black |= p == 0x000000;
    }
  }
  EXPECT_TRUE(yellow);
  EXPECT_TRUE(black);
  sel->SetColorBarWidth(0);
  shot = host.Snapshot(*sel);
  yellow = false;
  for (int y = 0; y < shot->Height(); ++y) {
    for (int x = 0; x < 40; ++x) yellow |= shot->Canvas()->Pixels(x, y) == ColorToRGB(clYellow);
  }
  EXPECT_FALSE(yellow);
}

}  // namespace
}  // namespace vorn
