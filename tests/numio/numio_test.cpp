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
  // The separator cannot be deleted, nor typed a second time.
  host.PressKey(VK_HOME);
  host.PressKey(VK_RIGHT);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(field->Text(), "3.14");
  host.PressKey(VK_END);
  host.Type(".");
  EXPECT_EQ(field->Text(), "3.14");
}

// Typing into a fixed-point field: the digits stand in the order typed,
// the separator key moves into the decimals, decimals are overwritten.
TEST_F(NumIOTest, FixedPointTypingFollowsTheKeys) {
  field->SetRangeLow(-100000);
  field->SetRangeHigh(100000);
  field->SetInputFormat(itFixPoint);
  field->SetBeep(true);
  struct Step {
    const char* Keys;
    const char* Text;
    int Caret;
  };
  const auto run = [&](std::initializer_list<Step> Steps) {
    for (const Step& S : Steps) {
      host.Type(S.Keys);
      EXPECT_EQ(field->Text(), S.Text) << S.Keys;
      EXPECT_EQ(field->SelStart(), S.Caret) << S.Keys;
    }
  };
  run({{"1", "1.00", 1}, {"2", "12.00", 2}, {"3", "123.00", 3}});
  field->SelectAll();
  run({{"7", "7.00", 1}, {"8", "78.00", 2}});
  field->SelectAll();
  run({{"1", "1.00", 1}, {".", "1.00", 2}, {"5", "1.50", 3}});
  field->SelectAll();
  run({{"12", "12.00", 2}, {".", "12.00", 3}, {"345", "12.34", 5}});
  host.PressKey(VK_HOME);
  run({{"9", "912.34", 1}, {".", "912.34", 4}, {"0", "912.04", 5}});
  field->SelectAll();
  run({{"-", "-0.00", 2}, {"4", "-4.00", 2}, {".25", "-4.25", 5}});
  EXPECT_EQ(field->Value(), -4.25);
  field->SelectAll();
  run({{"-0.5", "-0.50", 4}});
  EXPECT_EQ(field->Value(), -0.5);
  EXPECT_EQ(beeps, 0);
}

TEST_F(NumIOTest, FixedPointBackspaceAndDeleteAroundTheSeparator) {
  field->SetRangeHigh(1000);
  field->SetInputFormat(itFixPoint);
  field->SetText("12.34");
  const auto press = [&](int Caret, Word Key, const char* Text, int After) {
    field->SetSelStart(Caret);
    host.PressKey(Key);
    EXPECT_EQ(field->Text(), Text) << Caret << " " << Key;
    EXPECT_EQ(field->SelStart(), After) << Caret << " " << Key;
  };
  press(3, VK_BACK, "12.34", 2);    // over the separator: the caret steps past it
  press(2, VK_DELETE, "12.34", 2);  // the separator stays
  press(2, VK_BACK, "1.34", 1);
  press(2, VK_DELETE, "1.40", 2);   // the decimals move up, a zero fills in
  press(4, VK_BACK, "1.40", 3);
  press(1, VK_BACK, "0.40", 1);
  EXPECT_EQ(field->Value(), 0.4);
}

// A value written by the program is what a refused key brings back.
TEST_F(NumIOTest, WrittenValuesAreTheLastAcceptedText) {
  field->SetRangeHigh(100);
  field->SetInputFormat(itInt);
  field->SetValue(50);
  host.PressKey(VK_END);
  host.Type("x");
  EXPECT_EQ(field->Text(), "50");
  host.Type("9");  // 509 leaves the range
  EXPECT_EQ(field->Text(), "50");
  EXPECT_EQ(field->Value(), 50.0);
  field->SetInputFormat(itFixPoint);
  field->SetValue(12.5);
  const int before = changes;
  host.PressKey(VK_HOME);
  host.Type("x");
  EXPECT_EQ(field->Text(), "12.50");
  EXPECT_EQ(field->SelStart(), 0);
  EXPECT_EQ(changes, before);
}

TEST_F(NumIOTest, LargeExponentsAreWrittenInFull) {
  field->SetRangeLow(-uc_MaxDouble);
  field->SetRangeHigh(uc_MaxDouble);
  for (TInFormat Format : {itExp, itDynamic}) {
    field->SetInputFormat(Format);
    field->SetValue(1e150);
    EXPECT_EQ(field->Text(), " 1.00000E+150");
    EXPECT_EQ(field->Value(), 1e150);
    field->SetValue(-2.5e-200);
    EXPECT_EQ(field->Text(), "-2.50000E-200");
    EXPECT_EQ(field->Value(), -2.5e-200);
    host.Type("x");
    EXPECT_EQ(field->Value(), -2.5e-200);
  }
}

TEST_F(NumIOTest, IntegerTextsStayWithin32Bits) {
  field->SetRangeLow(-1e12);
  field->SetRangeHigh(1e12);
  field->SetInputFormat(itInt);
  host.Type("2147483647");
  EXPECT_EQ(field->Text(), "2147483647");
  host.Type("0");
  EXPECT_EQ(field->Text(), "2147483647");
  field->SetText("214748364");
  host.PressKey(VK_END);
  host.Type("8");
  EXPECT_EQ(field->Text(), "214748364");
  field->SetText("-214748364");
  host.PressKey(VK_END);
  host.Type("8");
  EXPECT_EQ(field->Text(), "-2147483648");
  host.Type("0");
  EXPECT_EQ(field->Text(), "-2147483648");
  field->SetValue(3e9);
  EXPECT_EQ(field->Text(), "2147483647");
  EXPECT_EQ(field->Value(), 2147483647.0);
  field->SetValue(-3e9);
  EXPECT_EQ(field->Text(), "-2147483648");
  EXPECT_EQ(field->Value(), -2147483648.0);
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
