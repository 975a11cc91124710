// The edit-based numeric field: every change is checked, refused changes
// bring the last accepted text back.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/numio/numio.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class NumIOTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    field = new TNumIO(form.get());
    field->SetParent(form.get());
    field->SetOnChange([this](TObject*) { ++changes; });
    SetBeepHook([this](unsigned) { ++beeps; });
    form->Show();
    field->SetFocus();
  }
  void TearDown() override { SetBeepHook(nullptr); }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TNumIO* field = nullptr;
  int changes = 0;
  int beeps = 0;
};

TEST_F(NumIOTest, AFieldMadeInCodeAcceptsOnlyZeroUntilItHasARange) {
  EXPECT_EQ(field->RangeLow(), 0.0);
  EXPECT_EQ(field->RangeHigh(), 0.0);
  host.Type("5");
  EXPECT_EQ(field->Text(), "");
  host.Type("0");
  EXPECT_EQ(field->Text(), "0");
  EXPECT_EQ(changes, 1);
}

TEST_F(NumIOTest, OutOfRangeEditsAreRefusedWithABeep) {
  field->SetRangeHigh(100);
  field->SetBeep(true);
  host.Type("50");
  EXPECT_EQ(field->Text(), "50");
  EXPECT_EQ(changes, 2);
  host.Type("0");
  EXPECT_EQ(field->Text(), "50");
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(field->SelStart(), 2);  // the caret stays where the refused digit went
  host.Type("x");
  EXPECT_EQ(field->Text(), "50");
  EXPECT_EQ(field->Value(), 50.0);
}

TEST_F(NumIOTest, FixedPointFieldsKeepTheirDecimalPlaces) {
  field->SetRangeHigh(1000);
  field->SetInputFormat(itFixPoint);
  host.Type("3");
  EXPECT_EQ(field->Text(), "3.00");
  field->SetText("3.14");
  host.PressKey(VK_END);
  host.Type("9");  // a third decimal is cut off, not rounded in
  EXPECT_EQ(field->Text(), "3.14");
  EXPECT_EQ(field->Value(), 3.14);
  // Removing the separator leaves a whole number, shown with its places.
  host.PressKey(VK_HOME);
  host.PressKey(VK_RIGHT);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(field->Text(), "314.00");
  // A second separator is refused.
  host.PressKey(VK_END);
  host.Type(".");
  EXPECT_EQ(field->Text(), "314.00");
}

TEST_F(NumIOTest, RangeSettersKeepLowBelowHigh) {
  field->SetRangeHigh(5);
  field->SetRangeLow(10);
  EXPECT_EQ(field->RangeLow(), 5.0);
  EXPECT_EQ(field->RangeHigh(), 10.0);
  field->SetRangeHigh(1);
  EXPECT_EQ(field->RangeLow(), 1.0);
  EXPECT_EQ(field->RangeHigh(), 5.0);
  field->SetFixPointDecPlaces(12);
  EXPECT_EQ(field->FixPointDecPlaces(), 8);
  field->SetFixPointDecPlaces(0);
  EXPECT_EQ(field->FixPointDecPlaces(), 1);
}

TEST_F(NumIOTest, ValueIsWrittenInTheFieldsFormat) {
  field->SetRangeLow(-1e9);
  field->SetRangeHigh(1e9);
  field->SetInputFormat(itExp);
  field->SetValue(3.14159);
  EXPECT_EQ(field->Text(), " 3.14159E+00");
  EXPECT_NEAR(field->Value(), 3.14159, 1e-12);
  field->SetInputFormat(itInt);
  field->SetValue(3.14159);
  EXPECT_EQ(field->Text(), "3");
  field->SetInputFormat(itHex);
  field->SetValue(255);
  EXPECT_EQ(field->Text(), "000000FF");
  EXPECT_EQ(field->Value(), 255.0);
  field->SetInputFormat(itBin);
  field->SetValue(5);
  EXPECT_EQ(field->Text(), "00000101");
  field->SetValue(300);  // more than eight binary digits: none is lost
  EXPECT_EQ(field->Text(), "100101100");
  EXPECT_EQ(field->Value(), 300.0);
  field->SetInputFormat(itFloat);
  field->SetDecPlaceSep(dsBoth);
  field->SetText("2,");
  EXPECT_EQ(field->Text(), "2,");
  EXPECT_EQ(field->Value(), 2.0);
}

TEST_F(NumIOTest, ACommaOnlyFieldWritesItsValueWithAComma) {
  field->SetRangeHigh(100);
  field->SetInputFormat(itFloat);
  field->SetDecPlaceSep(dsComma);
  field->SetValue(2.5);
  EXPECT_EQ(field->Text(), "2,50000000");
  EXPECT_EQ(field->Value(), 2.5);
}

TEST_F(NumIOTest, ChangingTheFormatChecksTheTextAgain) {
  field->SetRangeHigh(100);
  field->SetInputFormat(itFloat);
  host.Type("12.5");
  EXPECT_EQ(field->Text(), "12.5");
  field->SetInputFormat(itInt);  // "12.5" is no integer: nothing accepted yet, so empty
  EXPECT_EQ(field->Text(), "");
  host.Type("42");
  EXPECT_EQ(field->Text(), "42");
}

TEST_F(NumIOTest, AssignCopiesFormatRangeAndSettings) {
  field->SetRangeHigh(10);
  field->SetInputFormat(itInt);
  field->SetBeep(true);
  TNumIO other(nullptr);
  other.Assign(field);
  EXPECT_EQ(other.InputFormat(), itInt);
  EXPECT_EQ(other.RangeHigh(), 10.0);
  EXPECT_TRUE(other.Beep());
}

}  // namespace
}  // namespace vorn
