// TRepSpeedButton: repeat timing on the virtual clock, the interval rules,
// which buttons start and stop repetition, leaving while held, handler
// failures and a button deleted by its own handler.
#include "vorn/pickers/repsbut.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/application.h"

namespace vorn {
namespace {

class RepSpeedButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 100);
    but = new TRepSpeedButton(form.get());
    but->SetName("Rep1");
    but->SetParent(form.get());
    but->SetBounds(10, 10, 40, 30);
    but->SetOnRepeatClick([this](TObject* Sender) {
      EXPECT_EQ(Sender, but);
      ++repeats;
    });
    but->SetOnClick([this](TObject*) { ++clicks; });
    form->Show();
    host.Advance(0);
  }
  void TearDown() override { SetTimersUnavailable(false); }
  void Press(TMouseButton B = mbLeft) { host.MouseDown(*form, 20, 20, B); }
  void Release(TMouseButton B = mbLeft) { host.MouseUp(*form, 20, 20, B); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TRepSpeedButton* but = nullptr;
  int repeats = 0;
  int clicks = 0;
};

TEST_F(RepSpeedButtonTest, IntervalsHaveTheirDefaultsAndALowerBound) {
  EXPECT_EQ(but->RepeatClickInterval(), 200);
  EXPECT_EQ(but->StartClickInterval(), 500);
  but->SetRepeatClickInterval(5);
  EXPECT_EQ(but->RepeatClickInterval(), 10);
  but->SetStartClickInterval(0);
  EXPECT_EQ(but->StartClickInterval(), 10);
  but->SetStartClickInterval(-100);
  EXPECT_EQ(but->StartClickInterval(), 10);
}

TEST_F(RepSpeedButtonTest, HoldingRepeatsAfterTheStartDelayThenAtTheRepeatInterval) {
  Press();
  EXPECT_TRUE(but->Repeating());
  host.Advance(499);
  EXPECT_EQ(repeats, 0);
  host.Advance(1);
  EXPECT_EQ(repeats, 1);
  EXPECT_FALSE(but->IsStartPhase());
  host.Advance(199);
  EXPECT_EQ(repeats, 1);
  host.Advance(1);
  EXPECT_EQ(repeats, 2);
  host.Advance(1000);
  EXPECT_EQ(repeats, 7);
  EXPECT_EQ(clicks, 0);
  Release();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(but->Repeating());
  EXPECT_EQ(timers::RunningCount(), 0);
  host.Advance(2000);
  EXPECT_EQ(repeats, 7);
  // The next press waits the start delay again.
  Press();
  host.Advance(400);
  EXPECT_EQ(repeats, 7);
  host.Advance(100);
  EXPECT_EQ(repeats, 8);
  Release();
}

TEST_F(RepSpeedButtonTest, AShortClickFiresOnClickOnceAndNeverRepeats) {
  Press();
  host.Advance(499);
  Release();
  host.Advance(5000);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(repeats, 0);
}

TEST_F(RepSpeedButtonTest, OtherButtonsNeitherStartNorStopRepetition) {
  Press(mbRight);
  host.Advance(1000);
  Release(mbRight);
  EXPECT_EQ(repeats, 0);
  EXPECT_FALSE(but->Repeating());

  Press();
  host.Advance(500);
  EXPECT_EQ(repeats, 1);
  but->Perform(WM_RBUTTONDOWN, 0, 0);
  but->Perform(WM_RBUTTONUP, 0, 0);
  host.Advance(200);
  EXPECT_EQ(repeats, 2);
  Release();
}

TEST_F(RepSpeedButtonTest, IntervalChangesRestartOnlyAHeldButton) {
  but->SetRepeatClickInterval(50);
  but->SetStartClickInterval(60);
  EXPECT_EQ(timers::RunningCount(), 0);
  Press();
  host.Advance(60);
  EXPECT_EQ(repeats, 1);
  // While repeating, a new start delay puts the button back to waiting.
  but->SetStartClickInterval(300);
  EXPECT_TRUE(but->IsStartPhase());
  host.Advance(299);
  EXPECT_EQ(repeats, 1);
  host.Advance(1);
  EXPECT_EQ(repeats, 2);
  but->SetRepeatClickInterval(20);
  host.Advance(20);
  EXPECT_EQ(repeats, 3);
  Release();
}

TEST_F(RepSpeedButtonTest, LeavingWhileHeldStopsAndLeavingIdleReportsNoRelease) {
  int ups = 0;
  but->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; });
  but->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(ups, 0);
  Press();
  host.Advance(500);
  EXPECT_EQ(repeats, 1);
  but->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(ups, 1);
  EXPECT_FALSE(but->Repeating());
  host.Advance(1000);
  EXPECT_EQ(repeats, 1);
  Release();
}

TEST_F(RepSpeedButtonTest, AThrowingHandlerGoesToTheApplicationAndRepeatingGoesOn) {
  int handled = 0;
  Application()->SetOnException([&](TObject* Sender, const std::exception&) {
    EXPECT_EQ(Sender, but);
    ++handled;
  });
  but->SetOnRepeatClick([](TObject*) { throw std::runtime_error("boom"); });
  Press();
  host.Advance(700);
  EXPECT_EQ(handled, 2);
  Release();
  Application()->SetOnException(nullptr);
}

TEST_F(RepSpeedButtonTest, NoTimerRaisesTheComponentError) {
  SetTimersUnavailable(true);
  try {
    but->MouseDown(mbLeft, {}, 5, 5);
    FAIL() << "no error";
  } catch (const EVORNRepSpeedButton& e) {
    EXPECT_STREQ(e.what(), "Component \"Rep1\": no timer available");
  }
  SetTimersUnavailable(false);
  but->MouseUp(mbLeft, {}, 5, 5);
  EXPECT_FALSE(but->Repeating());
}

TEST_F(RepSpeedButtonTest, AHandlerMayDeleteTheButton) {
  but->SetOnRepeatClick([this](TObject*) {
    delete but;
    but = nullptr;
  });
  Press();
  host.Advance(500);
  EXPECT_EQ(but, nullptr);
  EXPECT_EQ(timers::RunningCount(), 0);
  host.Advance(1000);
  Release();
}

TEST_F(RepSpeedButtonTest, DesignTimeStartsNoTimer) {
  TRepSpeedButton designed(nullptr);
  designed.SetDesigning(true);
  designed.SetOnRepeatClick([](TObject*) {});
  designed.SetRepeatClickInterval(30);
  designed.SetStartClickInterval(30);
  EXPECT_EQ(timers::RunningCount(), 0);
}

}  // namespace
}  // namespace vorn
