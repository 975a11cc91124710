// Hidden windows and timers on the headless host's virtual clock.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/timers.h"

namespace vorn {
namespace {

struct Recorder {
  std::vector<std::string> log;
  HWND wnd = 0;
  std::string name;
  void Attach(const std::string& n) {
    name = n;
    wnd = AllocateHWnd([this](TMessage& m) {
      if (m.Msg == WM_TIMER) {
        log.push_back(name + "@" + std::to_string(HeadlessHost().ClockMs()));
      } else {
        m.Result = DefWindowProc(wnd, m.Msg, m.WParam, m.LParam);
      }
    });
  }
  ~Recorder() { DeallocateHWnd(wnd); }
};

TEST(TimerTest, PeriodicTimersFireInOrderOnTheVirtualClock) {
  auto& host = HeadlessHost();
  std::vector<std::string> all;
  Recorder a, b;
  a.Attach("a");
  b.Attach("b");
  const auto start = host.ClockMs();
  ASSERT_EQ(SetTimer(a.wnd, 1, 300, nullptr), 1u);
  ASSERT_EQ(SetTimer(b.wnd, 1, 500, nullptr), 1u);
  host.Advance(1000);
  auto at = [&](const std::string& n, int ms) { return n + "@" + std::to_string(start + ms); };
  EXPECT_EQ(a.log, (std::vector<std::string>{at("a", 300), at("a", 600), at("a", 900)}));
  EXPECT_EQ(b.log, (std::vector<std::string>{at("b", 500), at("b", 1000)}));
  EXPECT_TRUE(KillTimer(a.wnd, 1));
  EXPECT_FALSE(KillTimer(a.wnd, 1));
  host.Advance(300);
  EXPECT_EQ(a.log.size(), 3u);
}

TEST(TimerTest, RestartingATimerCountsItsPeriodFromNow) {
  auto& host = HeadlessHost();
  Recorder a;
  a.Attach("a");
  SetTimer(a.wnd, 1, 500, nullptr);
  host.Advance(400);
  SetTimer(a.wnd, 1, 500, nullptr);
  host.Advance(400);
  EXPECT_TRUE(a.log.empty());
  host.Advance(100);
  EXPECT_EQ(a.log.size(), 1u);
}

TEST(TimerTest, SetTimerFailsWhenUnavailableOrForUnknownWindows) {
  Recorder a;
  a.Attach("a");
  SetTimersUnavailable(true);
  EXPECT_EQ(SetTimer(a.wnd, 1, 100, nullptr), 0u);
  SetTimersUnavailable(false);
  EXPECT_EQ(SetTimer(a.wnd, 1, 100, nullptr), 1u);
  EXPECT_EQ(SetTimer(0xDEAD, 1, 100, nullptr), 0u);
  KillTimer(a.wnd, 1);
}

TEST(TimerTest, DeallocatingAWindowStopsItsTimers) {
  const int before = timers::RunningCount();
  {
    Recorder a;
    a.Attach("a");
    SetTimer(a.wnd, 1, 100, nullptr);
    SetTimer(a.wnd, 2, 100, nullptr);
    EXPECT_EQ(timers::RunningCount(), before + 2);
  }
  EXPECT_EQ(timers::RunningCount(), before);
  HeadlessHost().Advance(500);  // nothing left to call
}

TEST(TimerTest, AnExceptionFromATimerReachesTheApplicationHandler) {
  std::string caught;
  Application()->SetOnException([&](TObject*, const std::exception& e) { caught = e.what(); });
  const HWND w = AllocateHWnd([](TMessage& m) {
    if (m.Msg == WM_TIMER) throw std::runtime_error("tick failed");
  });
  SetTimer(w, 1, 50, nullptr);
  EXPECT_NO_THROW(HeadlessHost().Advance(60));
  EXPECT_EQ(caught, "tick failed");
  DeallocateHWnd(w);
  Application()->SetOnException(nullptr);
}

TEST(TimerTest, AHandlerMayStopItsOwnWindow) {
  HWND w = 0;
  int ticks = 0;
  w = AllocateHWnd([&](TMessage& m) {
    if (m.Msg != WM_TIMER) return;
    ++ticks;
    DeallocateHWnd(w);
  });
  SetTimer(w, 1, 10, nullptr);
  HeadlessHost().Advance(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace
}  // namespace vorn
