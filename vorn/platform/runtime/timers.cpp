#include "vorn/platform/runtime/timers.h"

#include <algorithm>
#include <map>
#include <vector>

#include "vorn/platform/runtime/application.h"
#include "vorn/platform/runtime/host.h"

namespace vorn {

namespace {

struct Timer {
  HWND Wnd;
  std::uintptr_t Id;
  std::int64_t Interval;
  std::int64_t Due;
  std::uint64_t Order;  // start order breaks ties between equal due times
};

struct Registry {
  std::map<HWND, TWndMethod> Windows;
  std::vector<Timer> Timers;
  HWND NextHandle = 0x1000;
  std::uint64_t NextOrder = 0;
  bool Unavailable = false;
};

Registry& Reg() {
  static Registry registry;
  return registry;
}

std::int64_t Now() { return CurrentHost().ClockMs(); }

Timer* Find(HWND Wnd, std::uintptr_t Id) {
  for (Timer& t : Reg().Timers) {
    if (t.Wnd == Wnd && t.Id == Id) return &t;
  }
  return nullptr;
}

// The timer due first, if any is due by Limit.
Timer* FirstDue(std::int64_t Limit) {
  Timer* best = nullptr;
  for (Timer& t : Reg().Timers) {
    if (t.Due > Limit) continue;
    if (best == nullptr || t.Due < best->Due || (t.Due == best->Due && t.Order < best->Order)) best = &t;
  }
  return best;
}

void Deliver(HWND Wnd, std::uintptr_t Id) {
  auto it = Reg().Windows.find(Wnd);
  if (it == Reg().Windows.end()) return;
  // The procedure may deallocate its own window: call a copy.
  const TWndMethod method = it->second;
  TMessage m{WM_TIMER, static_cast<WPARAM>(Id), 0, 0};
  try {
    method(m);
  } catch (...) {
    if (Application() != nullptr) Application()->HandleException(nullptr);
  }
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  const HWND h = Reg().NextHandle++;
  Reg().Windows[h] = std::move(Method);
  return h;
}

void DeallocateHWnd(HWND Wnd) {
  auto& timers = Reg().Timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.Wnd == Wnd; }),
               timers.end());
  Reg().Windows.erase(Wnd);
}

bool IsWindow(HWND Wnd) { return Reg().Windows.count(Wnd) != 0; }

std::uintptr_t SetTimer(HWND Wnd, std::uintptr_t IDEvent, unsigned Elapse, void* TimerFunc) {
  if (Reg().Unavailable || TimerFunc != nullptr || !IsWindow(Wnd) || IDEvent == 0) return 0;
  const std::int64_t interval = std::max<std::int64_t>(10, Elapse);
  Timer* t = Find(Wnd, IDEvent);
  if (t == nullptr) {
    Reg().Timers.push_back({Wnd, IDEvent, interval, 0, 0});
    t = &Reg().Timers.back();
  }
  t->Interval = interval;
  t->Due = Now() + interval;
  t->Order = Reg().NextOrder++;
  CurrentHost().TimersChanged();
  return IDEvent;
}

bool KillTimer(HWND Wnd, std::uintptr_t IDEvent) {
  auto& timers = Reg().Timers;
  const auto before = timers.size();
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.Wnd == Wnd && t.Id == IDEvent; }),
               timers.end());
  return timers.size() != before;
}

LRESULT DefWindowProc(HWND /*Wnd*/, std::uint32_t /*Msg*/, WPARAM /*WParam*/, LPARAM /*LParam*/) { return 0; }

LRESULT SendMessage(HWND Wnd, std::uint32_t Msg, WPARAM WParam, LPARAM LParam) {
  auto it = Reg().Windows.find(Wnd);
  if (it == Reg().Windows.end()) return 0;
  const TWndMethod method = it->second;
  TMessage m{Msg, WParam, LParam, 0};
  method(m);
  return m.Result;
}

void SetTimersUnavailable(bool Value) { Reg().Unavailable = Value; }

namespace timers {

std::int64_t NextDue() {
  std::int64_t due = -1;
  for (const Timer& t : Reg().Timers) {
    if (due < 0 || t.Due < due) due = t.Due;
  }
  return due;
}

void FireDue(std::int64_t NowMs) {
  // Collect first: handlers may start and stop timers.
  std::vector<std::pair<HWND, std::uintptr_t>> due;
  std::vector<Timer> sorted = Reg().Timers;
  std::sort(sorted.begin(), sorted.end(), [](const Timer& a, const Timer& b) {
    return a.Due != b.Due ? a.Due < b.Due : a.Order < b.Order;
  });
  for (const Timer& t : sorted) {
    if (t.Due <= NowMs) due.emplace_back(t.Wnd, t.Id);
  }
  for (const auto& [wnd, id] : due) {
    Timer* t = Find(wnd, id);
    if (t == nullptr || t->Due > NowMs) continue;  // killed or restarted meanwhile
    t->Due = NowMs + t->Interval;
    Deliver(wnd, id);
  }
}

void StepTo(std::int64_t Target, const std::function<void(std::int64_t)>& SetNow) {
  // Bounded: a timer cannot fire more often than every 10 ms of clock time.
  while (Timer* t = FirstDue(Target)) {
    const std::int64_t at = t->Due;
    SetNow(at);
    t->Due = at + t->Interval;
    Deliver(t->Wnd, t->Id);
  }
  SetNow(Target);
}

int RunningCount() { return static_cast<int>(Reg().Timers.size()); }

}  // namespace timers

}  // namespace vorn
