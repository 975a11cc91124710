// The date/time picker driven through the headless host: field editing
// with keys, digits and the mouse, the range, and the drop-down calendar.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/datetimepicker.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {
namespace {

class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    picker = new TDateTimePicker(form.get());
    picker->SetParent(form.get());
    picker->SetBounds(10, 10, 180, 22);
    picker->SetFormat("dd.MM.yyyy");
    picker->SetDateTime(EncodeDate(2016, 1, 31));
    picker->SetOnChange([this](TObject*) { ++changes; });
    picker->SetOnKeyPress([this](TObject*, char32_t& Key) {
      if (Key == U'\r') ++enters;
    });
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 250, 100, 22);
    form->Show();
    picker->SetFocus();
  }
  [[nodiscard]] std::string Shown() const { return picker->Text(); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TDateTimePicker* picker = nullptr;
  TEdit* other = nullptr;
  int changes = 0;
  int enters = 0;
};

TEST_F(PickerTest, UpAndDownStepTheFieldWrapAndKeepTheDayInTheMonth) {
  EXPECT_EQ(Shown(), "31.01.2016");
  host.PressKey(VK_RIGHT);  // the month
  host.PressKey(VK_UP);
  EXPECT_EQ(Shown(), "29.02.2016");  // a leap year's February
  for (int i = 0; i < 10; ++i) host.PressKey(VK_UP);
  EXPECT_EQ(Shown(), "29.12.2016");
  host.PressKey(VK_UP);  // wraps within the year
  EXPECT_EQ(Shown(), "29.01.2016");
  host.PressKey(VK_HOME);  // the day
  host.PressKey(VK_DOWN, {});
  EXPECT_EQ(Shown(), "28.01.2016");
  for (int i = 0; i < 28; ++i) host.PressKey(VK_DOWN);
  EXPECT_EQ(Shown(), "31.01.2016");  // 1 - 1 wraps to the month's last day
  host.PressKey(VK_END);  // the year
  host.PressKey(VK_UP);
  host.PressKey(VK_LEFT);
  host.PressKey(VK_UP);
  EXPECT_EQ(Shown(), "28.02.2017");
  EXPECT_EQ(changes, 43);
}

TEST_F(PickerTest, DigitsFillAFieldAndMoveOnWhenNoFurtherDigitFits) {
  host.Type("5");  // 5x would be above 31: the day is complete
  EXPECT_EQ(picker->FieldIndex(), 1);
  EXPECT_EQ(Shown(), "05.01.2016");
  host.Type("1");  // may still become 10..12
  EXPECT_EQ(picker->FieldIndex(), 1);
  host.Type("2");
  EXPECT_EQ(picker->FieldIndex(), 2);
  EXPECT_EQ(Shown(), "05.12.2016");
  host.Type("1987");
  EXPECT_EQ(Shown(), "05.12.1987");
  host.PressKey(VK_HOME);
  host.Type("31");
  host.Type("2");  // month 2 keeps the day inside February
  EXPECT_EQ(Shown(), "28.02.1987");
  host.Type("x");  // not a digit: nothing
  EXPECT_EQ(Shown(), "28.02.1987");
}

TEST_F(PickerTest, TheRangeHoldsForCodeKeysAndTyping) {
  picker->SetMinDate(EncodeDate(2016, 1, 10));
  picker->SetMaxDate(EncodeDate(2016, 3, 5));
  picker->SetDateTime(EncodeDate(2015, 6, 1));
  EXPECT_EQ(Shown(), "10.01.2016");
  host.PressKey(VK_RIGHT);
  for (int i = 0; i < 5; ++i) host.PressKey(VK_UP);
  EXPECT_EQ(Shown(), "05.03.2016");
  picker->SetMaxDate(EncodeDate(2010, 1, 1));  // below MinDate: MinDate follows
  EXPECT_EQ(picker->MinDate(), EncodeDate(2010, 1, 1));
  EXPECT_EQ(Shown(), "01.01.2010");
}

TEST_F(PickerTest, TwelveHourClockStepsThroughNoonAndLettersSetTheHalf) {
  picker->SetKind(dtkTime);
  picker->SetFormat("hh:mm tt");
  picker->SetDateTime(EncodeDate(2016, 1, 31) + EncodeTime(11, 59, 0, 0));
  EXPECT_TRUE(picker->ButtonRect().IsEmpty());
  EXPECT_EQ(Shown(), "11:59 AM");
  host.PressKey(VK_UP);
  EXPECT_EQ(Shown(), "12:59 PM");
  host.PressKey(VK_END);
  host.Type("a");
  EXPECT_EQ(Shown(), "12:59 AM");
  EXPECT_EQ(picker->DateTime(), EncodeDate(2016, 1, 31) + EncodeTime(0, 59, 0, 0));
  host.PressKey(VK_HOME);
  host.Type("7");
  EXPECT_EQ(Shown(), "07:59 AM");
  EXPECT_EQ(picker->FieldIndex(), 1);
}

TEST_F(PickerTest, AssignedTextReadsWithTheFormatAndBadTextChangesNothing) {
  picker->SetText("24.12.2016");
  EXPECT_EQ(picker->DateTime(), EncodeDate(2016, 12, 24));
  picker->SetText("31.04.2016");
  picker->SetText("junk");
  EXPECT_EQ(picker->DateTime(), EncodeDate(2016, 12, 24));
  EXPECT_EQ(changes, 0);  // code-driven changes raise no OnChange
}

TEST_F(PickerTest, ClickingAFieldChoosesIt) {
  const TRect button = picker->ButtonRect();
  host.Click(*picker, button.Left - 3, 10);  // right of the text: the last field
  EXPECT_EQ(picker->FieldIndex(), 2);
  host.Click(*picker, 5, 10);
  EXPECT_EQ(picker->FieldIndex(), 0);
}

TEST_F(PickerTest, CalendarOpensBelowMovesWithKeysAndEnterTakesTheDay) {
  host.PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(picker->DroppedDown());
  TPickerCalendar* calendar = picker->Calendar();
  // In a drop-down window of its own, just below the picker on the screen.
  auto* window = dynamic_cast<TDropDownWindow*>(calendar->Parent());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Top(), picker->ClientToScreen({0, picker->Height()}).Y);
  EXPECT_EQ(window->Left(), picker->ClientToScreen({0, 0}).X);
  EXPECT_TRUE(picker->Focused());
  host.PressKey(VK_RIGHT);  // Feb 1
  host.PressKey(VK_DOWN);   // Feb 8
  host.PressKey(VK_NEXT);   // Mar 8
  EXPECT_EQ(calendar->CursorDay(), EncodeDate(2016, 3, 8));
  EXPECT_EQ(changes, 0);
  host.PressKey(VK_RETURN);
  EXPECT_FALSE(picker->DroppedDown());
  EXPECT_EQ(picker->DateTime(), EncodeDate(2016, 3, 8));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(enters, 0);  // the Enter belonged to the calendar
  host.PressKey(VK_RETURN);
  EXPECT_EQ(enters, 1);
}

TEST_F(PickerTest, EscapeLeavingAndAClickOutsideCloseWithoutChange) {
  int closeUps = 0;
  picker->SetOnCloseUp([&](TObject*) { ++closeUps; });
  picker->DropDown();
  host.PressKey(VK_LEFT);
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(picker->DroppedDown());
  EXPECT_EQ(picker->DateTime(), EncodeDate(2016, 1, 31));
  picker->DropDown();
  other->SetFocus();
  EXPECT_FALSE(picker->DroppedDown());
  picker->SetFocus();
  picker->DropDown();
  host.PressKey(VK_LEFT);
  host.Click(*form, 350, 150);  // on the form, away from everything
  EXPECT_FALSE(picker->DroppedDown());
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(closeUps, 3);
}

TEST_F(PickerTest, MouseOnTheCalendarTurnsMonthsAndPicksADay) {
  const TRect button = picker->ButtonRect();
  host.Click(*picker, button.Left + 3, 5);
  ASSERT_TRUE(picker->DroppedDown());
  TPickerCalendar* calendar = picker->Calendar();
  const TRect next = calendar->NextArrowRect();
  host.Click(*calendar, next.Left + 3, next.Top + 3);  // February 2016
  EXPECT_EQ(calendar->CursorDay(), EncodeDate(2016, 2, 29));
  // February 2016 starts on a Monday: cell 1 is the 1st, cell 15 the 15th.
  EXPECT_EQ(calendar->DayOfCell(15), EncodeDate(2016, 2, 15));
  host.Wheel(*calendar, 20, 80, -120);  // a notch down: the next month
  EXPECT_EQ(calendar->CursorDay(), EncodeDate(2016, 3, 29));
  host.Wheel(*calendar, 20, 80, 120);
  const TRect cell = calendar->DayCellRect(15);
  host.Click(*calendar, cell.Left + 3, cell.Top + 3);
  EXPECT_FALSE(picker->DroppedDown());
  EXPECT_EQ(picker->DateTime(), EncodeDate(2016, 2, 15));
  EXPECT_EQ(changes, 1);
  host.Click(*picker, button.Left + 3, 5);
  host.Click(*picker, button.Left + 3, 5);  // the button closes it again
  EXPECT_FALSE(picker->DroppedDown());
}

TEST_F(PickerTest, CalendarOpensAboveWhenTheScreenHasNoRoomBelow) {
  form->SetTop(host.ScreenHeight() - 60);
  picker->DropDown();
  ASSERT_TRUE(picker->DroppedDown());
  const TControl* window = picker->Calendar()->Parent();
  EXPECT_EQ(window->Top() + window->Height(), picker->ClientToScreen({0, 0}).Y);
}

TEST_F(PickerTest, TimePickerHasNoCalendarAndTheWheelStepsTheField) {
  picker->SetKind(dtkTime);
  picker->SetFormat("");  // the kind's own format
  picker->DropDown();
  EXPECT_FALSE(picker->DroppedDown());
  picker->SetDateTime(EncodeTime(10, 0, 0, 0));
  EXPECT_EQ(Shown(), "10:00:00");
  host.Wheel(*picker, 5, 5, 120);
  EXPECT_EQ(Shown(), "11:00:00");
}

}  // namespace
}  // namespace vorn
