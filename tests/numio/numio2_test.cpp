// TNumIO2 driven through the headless host: typing, clipboard, mouse, spin
// buttons, gauge, caret timer, property rules and the painting to the pixel.
#include "vorn/numio/numio2.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class NumIO2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 120);
    field = new TNumIO2(form.get());
    field->SetParent(form.get());
    field->SetBounds(10, 10, 160, 28);
    field->SetOnChange([this](TObject*) { ++changes; });
    form->Show();
    field->SetFocus();
    host.ClearClipboard();
    SetBeepHook([this](unsigned Type) {
      EXPECT_EQ(Type, 0xFFFFu);
      ++beeps;
    });
  }
  void TearDown() override {
    SetBeepHook(nullptr);
    SetTimersUnavailable(false);
  }
  // Caret and selection at P, as a mouse click leaves them.
  void PlaceCaret(int P) {
    field->SetSelEnd(P);
    field->SetSelBegin(P);
  }
  TColor Pixel(const TBitmap& B, int X, int Y) const { return B.Canvas()->Pixels(X, Y); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TNumIO2* field = nullptr;
  int changes = 0;
  int beeps = 0;
};

// ---- defaults and property rules ----------------------------------------------------------

TEST_F(NumIO2Test, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(field->Width(), 160);
  EXPECT_EQ(field->Height(), 28);
  EXPECT_EQ(field->Text(), "");
  EXPECT_EQ(field->Value(), 0.0);
  EXPECT_EQ(field->InputFormat(), itFloat);
  EXPECT_EQ(field->DecPlaceSep(), dsBoth);
  EXPECT_EQ(field->ButHeight(), 28);
  EXPECT_EQ(field->ColorWarnBG(), 0x6088FFF0);
  EXPECT_EQ(field->ColorOutBG(), clBtnFace);
  EXPECT_EQ(field->RangeHigh(), 1000.0);
  EXPECT_FALSE(field->TabStop());
  EXPECT_TRUE(field->HideSelection());
}

TEST_F(NumIO2Test, SettersClampAsTheFieldRequires) {
  field->SetButHeight(100);
  EXPECT_EQ(field->ButHeight(), 28);
  field->SetHeight(10);
  EXPECT_EQ(field->Height(), 18);
  EXPECT_EQ(field->ButHeight(), 18);  // follows the height down
  field->SetButWidth(2);
  EXPECT_EQ(field->ButWidth(), 8);
  field->SetButSpace(99);
  EXPECT_EQ(field->ButSpace(), 50);
  field->SetLeftSpace(-3);
  EXPECT_EQ(field->LeftSpace(), 35);
  field->SetLeftSpace(500);
  EXPECT_EQ(field->LeftSpace(), 160);
  field->SetGaugeLeftMargin(150);
  EXPECT_EQ(field->GaugeLeftMargin(), 160 - 82);
  field->SetGaugeWidth(5000);
  EXPECT_EQ(field->GaugeWidth(), 82);
  field->SetFixPointDecPlaces(0);
  EXPECT_EQ(field->FixPointDecPlaces(), 2);
  field->SetSignificantDigits(40);
  EXPECT_EQ(field->SignificantDigits(), 15);
}

TEST_F(NumIO2Test, AutoSizeFitsTheHeightToTheFont) {
  field->Font()->SetSize(20);
  field->SetAutoSize(true);
  EXPECT_EQ(field->Height(), field->Canvas()->TextHeight("E0") + 6);
  EXPECT_GT(field->Height(), 28);
}

TEST_F(NumIO2Test, RangeLimitsPushEachOther) {
  field->SetRangeLow(2000);
  EXPECT_EQ(field->RangeLow(), 2000.0);
  EXPECT_EQ(field->RangeHigh(), 2000.0);
  field->SetRangeHigh(-5);
  EXPECT_EQ(field->RangeLow(), -5.0);
  field->SetText("-6");
  EXPECT_TRUE(field->OutOfRange());
  field->SetText("-5");
  EXPECT_FALSE(field->OutOfRange());
}

TEST_F(NumIO2Test, TextTakesOnlyValidTextsAndResetsTheCaret) {
  field->SetText("12.5");
  PlaceCaret(3);
  field->SetText("abc");
  EXPECT_EQ(field->Text(), "12.5");
  EXPECT_EQ(field->CaretPos(), 3);
  field->SetText("1\xC3\xA9");  // not ASCII
  EXPECT_EQ(field->Text(), "12.5");
  field->SetText("7");
  EXPECT_EQ(field->CaretPos(), 0);
  field->SetText("");
  EXPECT_EQ(field->Text(), "");
}

TEST_F(NumIO2Test, FormatSettingsRewriteTheBuffer) {
  field->SetText("1.5");
  field->SetFixPointDecPlaces(3);
  EXPECT_EQ(field->Text(), "1.500");
  field->SetInputFormat(itExp);
  EXPECT_EQ(field->Text(), " 1.50000E+00");
  field->SetValue(255.4);
  field->SetInputFormat(itHex);
  EXPECT_EQ(field->Text(), "000000FF");
  EXPECT_EQ(field->IntegerValue(), 255);
}

TEST_F(NumIO2Test, DecimalSeparatorChangeConvertsTheBuffer) {
  field->SetText("1,5");
  field->SetDecPlaceSep(dsPoint);  // from "either": every separator becomes "."
  EXPECT_EQ(field->Text(), "1.5");
  field->SetDecPlaceSep(dsComma);
  EXPECT_EQ(field->Text(), "1,5");
  EXPECT_EQ(field->Value(), 1.5);
  field->SetValue(2.25);  // written with the field's own separator
  EXPECT_EQ(field->Text(), "2,25");
  EXPECT_TRUE(field->CheckValidity(field->Text()));
}

TEST_F(NumIO2Test, ValueKeepsCaretAndSelectionInsideAShorterBuffer) {
  field->SetText("123456.75");
  field->SetSelBegin(5);
  field->SetSelEnd(9);
  field->SetValue(1);
  EXPECT_EQ(field->Text(), "1.00");
  EXPECT_LE(field->SelEnd(), 4);
  EXPECT_LE(field->CaretPos(), 4);
  host.PressKey(VK_BACK);  // deletes what is left of the selection without crashing
  EXPECT_TRUE(field->CheckValidity(field->Text()) || field->Text().empty());
}

TEST_F(NumIO2Test, IntegerValueOverflowNamesTheComponent) {
  field->SetName("Speed");
  field->SetText("2147483647.5");
  try {
    (void)field->IntegerValue();
    FAIL() << "no exception";
  } catch (const EVORNNumIO2Error& E) {
    EXPECT_STREQ(E.what(), "Component \"Speed\": integer overflow");
  }
}

TEST_F(NumIO2Test, AssignCopiesTheEditingStateButNotButtonsOrGauge) {
  field->SetText("42.5");
  field->SetLeftText("x");
  field->SetRangeHigh(40);
  field->SetColorScheme(csSystem);
  field->SetButVisible(true);
  field->SetGaugeVisible(true);
  auto* other = new TNumIO2(form.get());
  other->Assign(field);
  EXPECT_EQ(other->Text(), "42.5");
  EXPECT_EQ(other->LeftText(), "x");
  EXPECT_EQ(other->RangeHigh(), 40.0);
  EXPECT_EQ(other->ColorScheme(), csSystem);
  EXPECT_FALSE(other->ButVisible());
  EXPECT_FALSE(other->GaugeVisible());
  auto* third = new TNumIO2(form.get());
  field->Assign(third);
  EXPECT_EQ(field->Text(), "");
  EXPECT_TRUE(field->ButVisible());
}

// ---- typing ------------------------------------------------------------------------------

TEST_F(NumIO2Test, TypingIsCheckedKeyByKey) {
  field->SetBeep(true);
  host.Type("1.5");
  EXPECT_EQ(field->Text(), "1.5");
  EXPECT_EQ(changes, 3);
  host.Type(".");
  EXPECT_EQ(field->Text(), "1.5");
  EXPECT_EQ(field->CaretPos(), 3);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(changes, 3);  // a refused key raises no OnChange
  field->SetText("");
  host.Type("-");
  EXPECT_EQ(field->Text(), "-");
  host.Type("5");
  EXPECT_EQ(field->Text(), "-5");
}

TEST_F(NumIO2Test, ShiftedDigitsTypeThePrefixesOfTheDynamicFormat) {
  host.Type("$");
  EXPECT_EQ(field->Text(), "");  // refused in a decimal field
  field->SetInputFormat(itDynamic);
  field->SetText("12");
  host.PressKey(VK_HOME);
  host.PressKey('4', {ssShift});
  EXPECT_EQ(field->Text(), "$12");
  host.PressKey(VK_END);
  host.Type("F");
  EXPECT_EQ(field->Value(), 0x12F);
}

TEST_F(NumIO2Test, KeypadDecimalTypesAComma) {
  host.PressKey(VK_NUMPAD0 + 1);
  host.PressKey(VK_DECIMAL);
  host.PressKey(VK_NUMPAD0 + 5);
  EXPECT_EQ(field->Text(), "1,5");
  EXPECT_EQ(field->Value(), 1.5);
}

TEST_F(NumIO2Test, DeletingAtTheEdgesChangesNothing) {
  field->SetText("12");
  host.PressKey(VK_BACK);  // caret at 0
  host.PressKey(VK_END);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(field->Text(), "12");
  EXPECT_EQ(changes, 0);
  host.PressKey(VK_LEFT);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(field->Text(), "1");
  EXPECT_EQ(changes, 1);
}

TEST_F(NumIO2Test, DeletingEverythingLeavesTheZeroText) {
  field->SetText("12.5");
  field->SetSelEnd(4);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(field->Text(), "0.00");
  EXPECT_EQ(field->CaretPos(), 0);
}

TEST_F(NumIO2Test, TypingReplacesTheSelection) {
  field->SetText("1234");
  field->SetSelBegin(1);
  field->SetSelEnd(3);
  host.Type("9");
  EXPECT_EQ(field->Text(), "194");
  EXPECT_EQ(field->CaretPos(), 2);
}

TEST_F(NumIO2Test, ControlKeysCopyCutAndPaste) {
  field->SetText("1234");
  field->SetSelBegin(1);
  field->SetSelEnd(3);
  host.PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "23");
  host.PressKey('X', {ssCtrl});
  EXPECT_EQ(field->Text(), "14");
  host.PressKey('V', {ssCtrl});
  EXPECT_EQ(field->Text(), "1234");
  EXPECT_EQ(field->CaretPos(), 3);
  Clipboard()->SetAsText("5x");
  host.PressKey('V', {ssCtrl});
  EXPECT_EQ(field->Text(), "1234");  // refused as a whole
  Clipboard()->SetAsText("\xC3\xA9");
  field->SetInputFormat(itExp);  // a decimal test that stops at the end of the number
  host.PressKey(VK_END);
  host.PressKey('V', {ssCtrl});
  EXPECT_EQ(field->Text(), " 1.23400E+03");
  EXPECT_EQ(changes, 2);
}

TEST_F(NumIO2Test, ReadOnlyFieldOnlyCopies) {
  field->SetText("56");
  field->SetSelEnd(2);
  field->SetReadOnly(true);
  host.PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "56");
  Clipboard()->SetAsText("1");
  host.PressKey('V', {ssCtrl});
  host.Type("7");
  host.PressKey(VK_DELETE);
  EXPECT_EQ(field->Text(), "56");
  EXPECT_FALSE(field->CaretVisible());
}

TEST_F(NumIO2Test, FixedPointDecimalsAreOverwrittenWhenReachedByKey) {
  field->SetInputFormat(itFixPoint);
  field->SetText("12.34");
  for (int k = 0; k < 3; ++k) host.PressKey(VK_RIGHT);
  EXPECT_EQ(field->SelBegin(), 3);
  EXPECT_EQ(field->SelEnd(), 4);
  host.Type("7");
  EXPECT_EQ(field->Text(), "12.74");
  PlaceCaret(3);  // as a click leaves it: nothing selected
  host.Type("8");
  EXPECT_EQ(field->Text(), "12.74");
  host.PressKey(VK_END);  // the selection stops at the end of the buffer
  EXPECT_EQ(field->SelBegin(), 5);
  EXPECT_EQ(field->SelEnd(), 5);
  host.Type("1");
  EXPECT_EQ(field->Text(), "12.74");
}

TEST_F(NumIO2Test, TabMovesTheFocusAndModifiersDoNotStick) {
  auto* next = new TNumIO2(form.get());
  next->SetParent(form.get());
  next->SetBounds(10, 50, 160, 28);
  next->SetTabStop(true);
  host.PressKey(VK_TAB);
  EXPECT_TRUE(next->Focused());
  field->SetFocus();
  host.KeyDown(VK_CONTROL);
  next->SetFocus();
  host.KeyUp(VK_CONTROL);  // reaches the other field
  field->SetFocus();
  host.Type("3");
  EXPECT_EQ(field->Text(), "3");
}

TEST_F(NumIO2Test, TabAndShiftTabLeaveAReadOnlyField) {
  auto* before = new TNumIO2(form.get());
  before->SetParent(form.get());
  before->SetBounds(10, 50, 160, 28);
  before->SetTabStop(true);
  auto* after = new TNumIO2(form.get());
  after->SetParent(form.get());
  after->SetBounds(10, 80, 160, 28);
  after->SetTabStop(true);
  field->SetTabOrder(1);  // tab order: before, field, after
  field->SetTabStop(true);
  field->SetReadOnly(true);
  field->SetFocus();
  host.PressKey(VK_TAB);
  EXPECT_TRUE(after->Focused());
  field->SetFocus();
  host.PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(before->Focused());
  // An editable field goes backwards on Shift+Tab as well.
  field->SetReadOnly(false);
  field->SetFocus();
  host.PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(before->Focused());
  EXPECT_EQ(changes, 0);
}

TEST_F(NumIO2Test, ExponentFieldsTakeOnlyWholeNumbersWhileTyping) {
  field->SetInputFormat(itExp);
  field->SetText("");
  field->SetBeep(true);
  for (Word Key : {Word('1'), Word('A'), Word('2'), Word(VK_OEM_MINUS), Word('3')}) host.PressKey(Key);
  EXPECT_EQ(field->Text(), "123");
  EXPECT_EQ(beeps, 2);
  for (Word Key : {Word('E'), Word(VK_OEM_MINUS), Word('5')}) host.PressKey(Key);
  EXPECT_EQ(field->Text(), "123E-5");  // an open exponent is a step on the way
  EXPECT_DOUBLE_EQ(field->Value(), 123e-5);
  host.PressKey(VK_HOME);
  host.PressKey('B');
  EXPECT_EQ(field->Text(), "123E-5");
}

TEST_F(NumIO2Test, ALonePrefixIsAStepOfTypingInTheDynamicFormat) {
  field->SetInputFormat(itDynamic);
  field->SetText("");
  for (const auto& [Key, Prefix] : {std::pair{'4', "$"}, std::pair{'5', "%"}, std::pair{'6', "&"}}) {
    field->SetText("");
    host.PressKey(Key, {ssShift});
    EXPECT_EQ(field->Text(), Prefix);
    EXPECT_EQ(field->Value(), 0);
  }
  field->SetText("");
  host.PressKey('4', {ssShift});
  host.Type("FF");
  EXPECT_EQ(field->Text(), "$FF");
  EXPECT_EQ(field->Value(), 255);
  host.PressKey(VK_BACK);
  host.PressKey(VK_BACK);
  EXPECT_EQ(field->Text(), "$");  // and the way back
  host.PressKey('5', {ssShift});  // no second prefix
  EXPECT_EQ(field->Text(), "$");
}

TEST_F(NumIO2Test, AnEmptyFixedPointFieldTakesDigits) {
  field->SetInputFormat(itFixPoint);
  field->SetText("");
  host.Type("5");
  EXPECT_EQ(field->Text(), "5.00");
  EXPECT_EQ(field->CaretPos(), 1);
  host.Type("7");
  EXPECT_EQ(field->Text(), "57.00");
  EXPECT_EQ(field->CaretPos(), 2);
  field->SetText("");
  host.Type("-3");
  EXPECT_EQ(field->Text(), "-3.00");
  EXPECT_EQ(field->Value(), -3);
  field->SetText("");
  host.Type(".");
  EXPECT_EQ(field->Text(), ".00");
  host.Type("5");  // the caret stands in the decimals: the digit overwrites
  EXPECT_EQ(field->Text(), ".50");
  field->SetText("");
  host.Type("x");
  EXPECT_EQ(field->Text(), "");
}

TEST_F(NumIO2Test, IntegerTextsKeepTheirSignWhenTheyOverflow) {
  field->SetInputFormat(itInt);
  field->SetText("");
  host.Type("-99999999999");
  EXPECT_EQ(field->Text(), "-99999999999");
  EXPECT_EQ(field->Value(), -2147483648.0);
  EXPECT_THROW((void)field->IntegerValue(), EVORNNumIO2Error);
  field->SetText("99999999999");
  EXPECT_EQ(field->Value(), 2147483647.0);
  EXPECT_THROW((void)field->IntegerValue(), EVORNNumIO2Error);
  field->SetText("-2147483648");
  EXPECT_EQ(field->IntegerValue(), -2147483647 - 1);
}

// ---- mouse, spin buttons, gauge ----------------------------------------------------------------

TEST_F(NumIO2Test, SpinButtonsStepWithinTheRange) {
  field->SetButVisible(true);
  field->SetText("999.5");
  host.Click(*field, 127, 5);  // upper button
  EXPECT_EQ(field->Value(), 1000.0);
  EXPECT_EQ(changes, 1);
  host.Click(*field, 127, 5);
  EXPECT_EQ(field->Value(), 1000.0);
  EXPECT_EQ(changes, 2);  // raised also when the value stays
  host.Click(*field, 127, 20);
  EXPECT_EQ(field->Value(), 999.0);
}

TEST_F(NumIO2Test, SpinButtonsWalkThePivots) {
  field->SetButVisible(true);
  field->ButtonPivots = {1, 2, 5, 10};
  const auto step = [this](double From, int Y) {
    field->SetValue(From);
    host.Click(*field, 127, Y);
    return field->Value();
  };
  EXPECT_EQ(step(2, 5), 5.0);
  EXPECT_EQ(step(2, 20), 1.0);
  EXPECT_EQ(step(3.4, 5), 5.0);
  EXPECT_EQ(step(3.4, 20), 2.0);
  EXPECT_EQ(step(10, 5), 10.0);
  EXPECT_EQ(step(1, 20), 1.0);
}

TEST_F(NumIO2Test, GaugeClicksSetTheEndsAndDragsReportWhileMoving) {
  field->SetGaugeVisible(true);
  std::vector<double> reported;
  field->SetOnGaugeChange([&](TObject*, TShiftState, double V) { reported.push_back(V); });
  host.MouseDown(*form, 10 + 35, 10 + 26);
  EXPECT_EQ(field->Value(), 0.0);
  EXPECT_EQ(changes, 0);
  host.MouseUp(*form, 10 + 35, 10 + 26);
  EXPECT_EQ(changes, 1);
  host.Click(*field, 35 + 82, 26);
  EXPECT_EQ(field->Value(), 1000.0);
  EXPECT_TRUE(reported.empty());
  host.Drag(*field, 35, 26, 35 + 41, 26, 2);
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_EQ(reported.back(), 500.0);
  EXPECT_EQ(field->Value(), 500.0);
  EXPECT_EQ(changes, 3);
}

TEST_F(NumIO2Test, GaugeSnapsToPivots) {
  field->SetGaugeVisible(true);
  field->ButtonPivots = {100, 400, 1100};
  host.Click(*field, 35 + 20, 26);  // 243.9, nearest pivot 100
  EXPECT_EQ(field->Value(), 100.0);
  host.Click(*field, 35 + 82, 26);  // nearest pivot 1100, clamped to the range
  EXPECT_EQ(field->Value(), 1000.0);
}

TEST_F(NumIO2Test, MouseSelectsAndReportsTheArea) {
  field->SetText("123456");
  const int Left = field->CharPosToXCoords(0);
  const int Right = field->CharPosToXCoords(6);
  host.Drag(*field, Left - 20, 10, Right + 20, 10);
  EXPECT_EQ(field->SelBegin(), 0);
  EXPECT_EQ(field->SelEnd(), 6);
  EXPECT_EQ(field->XCoordsToCharPos(0), 0);
  EXPECT_EQ(field->XCoordsToCharPos(159), 6);
  host.MouseMove(*form, 10 + 130, 20);
  EXPECT_EQ(field->MouseAreaCode(), 2);
  host.MouseMove(*form, 10 + 50, 20);
  EXPECT_EQ(field->MouseAreaCode(), 1);
  host.MouseMove(*form, 10 + 5, 20);
  EXPECT_EQ(field->MouseAreaCode(), 0);
}

// ---- caret timer -----------------------------------------------------------------------------

TEST_F(NumIO2Test, CaretBlinksWhileFocusedAndStopsAfterwards) {
  const int CaretX = 35 + 1 + 40;  // empty buffer, centred
  EXPECT_EQ(Pixel(*host.Snapshot(*field), CaretX, 10), clBlack);
  host.Advance(500);
  EXPECT_FALSE(field->CaretVisible());
  EXPECT_EQ(Pixel(*host.Snapshot(*field), CaretX, 10), clWhite);
  host.Advance(500);
  EXPECT_TRUE(field->CaretVisible());
  const int Running = timers::RunningCount();
  auto* other = new TNumIO2(form.get());
  other->SetParent(form.get());
  other->SetTop(60);
  EXPECT_TRUE(other->CaretVisible());
  EXPECT_NE(Pixel(*host.Snapshot(*other), CaretX, 10), clBlack);  // not drawn without the focus
  other->SetFocus();
  EXPECT_EQ(Pixel(*host.Snapshot(*other), CaretX, 10), clBlack);
  EXPECT_EQ(timers::RunningCount(), Running + 1);
  host.Advance(500);
  EXPECT_FALSE(field->CaretVisible());
  EXPECT_EQ(timers::RunningCount(), Running);  // this field's timer stopped
  host.Click(*field, 60, 10);
  EXPECT_TRUE(field->CaretVisible());
}

TEST_F(NumIO2Test, MissingTimerRaisesTheComponentError) {
  SetTimersUnavailable(true);
  EXPECT_THROW(TNumIO2 orphan(nullptr), EVORNNumIO2Error);
  field->SetName("Rate");
  field->SetReadOnly(true);
  try {
    field->SetReadOnly(false);
    FAIL() << "no exception";
  } catch (const EVORNNumIO2Error& E) {
    EXPECT_STREQ(E.what(), "Component \"Rate\": no timer available");
  }
  EXPECT_TRUE(field->CaretVisible());
}

// ---- painting -----------------------------------------------------------------------------------

// The number as the field draws it: the font of the field, at its text row.
std::unique_ptr<TBitmap> ReferenceText(const TNumIO2& Field, int X, const std::string& Text) {
  auto B = std::make_unique<TBitmap>(Field.Width(), Field.Height());
  TCanvas& C = *B->Canvas();
  C.SetFont(Field.Font());
  C.Brush()->SetColor(clWhite);
  C.FillRect({0, 0, Field.Width(), Field.Height()});
  const int TY = (Field.Height() - C.TextHeight("(8g]}\xC3\x9C\xC3\x84\xC2\xA7")) / 2;
  C.Font()->SetColor(clBlack);
  C.TextOut(X, TY, Text);
  return B;
}

TEST_F(NumIO2Test, DefaultFieldIsDrawnToThePixel) {
  host.Advance(500);  // caret hidden
  const std::string Number = "1234567890123456789";
  field->SetRangeHigh(1e30);
  field->SetText(Number);
  const auto B = host.Snapshot(*field);
  const TColor Out = ColorToRGB(clBtnFace);
  EXPECT_EQ(Pixel(*B, 34, 5), Out);
  EXPECT_EQ(Pixel(*B, 35, 5), clGray);    // box outline, left
  EXPECT_EQ(Pixel(*B, 80, 0), clGray);    // top
  EXPECT_EQ(Pixel(*B, 116, 20), clGray);  // right
  EXPECT_EQ(Pixel(*B, 80, 26), clGray);   // bottom
  for (int Y = 1; Y <= 25; ++Y) EXPECT_EQ(Pixel(*B, 36, Y), clBlack) << Y;
  for (int X = 36; X <= 115; ++X) EXPECT_EQ(Pixel(*B, X, 1), clBlack) << X;
  EXPECT_NE(Pixel(*B, 116, 1), clBlack);  // a line leaves out its end point
  for (int X = 36; X <= 116; ++X) EXPECT_EQ(Pixel(*B, X, 27), clWhite) << X;
  for (int Y = 1; Y <= 27; ++Y) EXPECT_EQ(Pixel(*B, 117, Y), clWhite) << Y;
  EXPECT_EQ(Pixel(*B, 117, 0), Out);
  EXPECT_EQ(Pixel(*B, 118, 5), Out);

  const int TW = field->Canvas()->TextWidth(Number);
  ASSERT_GT(TW, 80);  // long enough to be clipped on both sides
  const auto Ref = ReferenceText(*field, 37 + (80 - TW) / 2, Number);
  int Differences = 0;
  for (int Y = 2; Y < 25; ++Y) {
    for (int X = 38; X <= 113; ++X) Differences += Pixel(*B, X, Y) != Pixel(*Ref, X, Y);
  }
  EXPECT_EQ(Differences, 0);
  for (int Y = 2; Y < 25; ++Y) {
    EXPECT_EQ(Pixel(*B, 37, Y), clWhite) << Y;
    EXPECT_EQ(Pixel(*B, 114, Y), clWhite) << Y;
  }
}

TEST_F(NumIO2Test, OutOfRangeValueTakesTheWarningColours) {
  host.Advance(500);
  field->SetText("2000");
  auto B = host.Snapshot(*field);
  EXPECT_EQ(Pixel(*B, 40, 5), 0x88FFF0);
  EXPECT_EQ(Pixel(*B, 35, 5), clGray);
  bool RedText = false;
  for (int X = 38; X < 114; ++X) {
    for (int Y = 2; Y < 25; ++Y) RedText = RedText || Pixel(*B, X, Y) == clRed;
  }
  EXPECT_TRUE(RedText);
  field->SetFrameStyle(fsNone);
  B = host.Snapshot(*field);
  EXPECT_EQ(Pixel(*B, 35, 5), 0x88FFF0);  // the outline takes the warning colour too
  EXPECT_EQ(Pixel(*B, 80, 27), 0x88FFF0);
}

TEST_F(NumIO2Test, GaugeFillFollowsTheValue) {
  field->SetHeight(40);
  field->SetGaugeVisible(true);
  field->SetGaugeFrameStyle(fsNone);
  const int Row = 40 - 1 - 4;  // inside the bar
  const auto Filled = [&](int X) { return Pixel(*host.Snapshot(*field), X, Row) == clNavy; };
  field->SetValue(500);
  EXPECT_TRUE(Filled(35 + 40));
  EXPECT_FALSE(Filled(35 + 41));
  field->SetValue(-1);
  EXPECT_FALSE(Filled(35));
  field->SetValue(2000);
  EXPECT_TRUE(Filled(35 + 81));
  field->SetRangeLow(1000);
  field->SetValue(0);
  EXPECT_TRUE(Filled(35 + 81));  // equal limits fill it completely
}

TEST_F(NumIO2Test, DisabledFieldIsGrey) {
  field->SetButVisible(true);
  field->SetGaugeVisible(true);
  field->SetLeftText("8");
  field->SetText("500");
  field->SetEnabled(false);
  host.Advance(500);  // the caret goes with the focus
  const auto B = host.Snapshot(*field);
  EXPECT_EQ(Pixel(*B, 40, 5), clSilver);  // box background
  int Grey = 0, Black = 0, White = 0;
  for (int Y = 2; Y < 14; ++Y) {
    for (int X = 38; X < 114; ++X) {
      Grey += Pixel(*B, X, Y) == clGray;
      Black += Pixel(*B, X, Y) == clBlack;
    }
    for (int X = 0; X < 34; ++X) White += (Pixel(*B, X, Y) & 0xF0F0F0) == 0xF0F0F0;  // glyphs are smoothed
  }
  EXPECT_GT(Grey, 0);
  EXPECT_EQ(Black, 0);
  EXPECT_GT(White, 0);  // the embossed left text
  const int CX = 35 + 1 + 80 + 3 + 9;
  EXPECT_EQ(Pixel(*B, CX, 14 / 2 - 1), clGray);  // the tip of the up arrow
  EXPECT_EQ(Pixel(*B, 40, 28 - 5), clGray);       // the gauge bar
}

TEST_F(NumIO2Test, SystemSchemeUsesSystemLineColours) {
  SetSysColor(16, 0x102030);
  SetSysColor(20, 0x405060);
  field->SetColorScheme(csSystem);
  const auto B = host.Snapshot(*field);
  EXPECT_EQ(Pixel(*B, 35, 5), 0x102030);
  EXPECT_EQ(Pixel(*B, 117, 5), 0x405060);
  EXPECT_EQ(Pixel(*B, 36, 5), clBlack);
  ResetSysColors();
}

TEST_F(NumIO2Test, CaretStaysOffTheBoxEdges) {
  field->SetAlignment(taLeftJustify);
  field->SetTextBoxWidth(30);
  field->SetText("123456789012");  // wider than the box
  field->SetSelBegin(12);
  const auto B = host.Snapshot(*field);
  for (int X = 35 + 30; X < 160; ++X) EXPECT_NE(Pixel(*B, X, 10), clBlack) << X;
}

TEST_F(NumIO2Test, SelectionIsInvertedWithinTheBox) {
  host.Advance(500);
  field->SetAlignment(taLeftJustify);
  field->SetTextBoxWidth(30);
  field->SetRangeHigh(1e30);
  field->SetText("123456789012");
  field->SetSelBegin(0);
  field->SetSelEnd(12);
  const auto B = host.Snapshot(*field);
  // From the first character's column to the box's right limit LS + TB.
  EXPECT_EQ(Pixel(*B, 38, 3), clWhite);
  EXPECT_EQ(Pixel(*B, 39, 3), clBlack);
  EXPECT_EQ(Pixel(*B, 64, 3), clBlack);
  EXPECT_EQ(Pixel(*B, 65, 3), clWhite);
}

}  // namespace
}  // namespace vorn
