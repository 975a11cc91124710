// Hidden message windows and their timers.
//
// AllocateHWnd gives a component a window of its own that receives only
// the messages sent to it, timer messages in particular. SetTimer starts a
// periodic timer on such a window; each period the window's procedure gets
// WM_TIMER with the timer's id in WParam. Time comes from the current host:
// a virtual clock under the headless host, the real clock under a window
// host. Handles are numbers, never pointers, so a stale handle is harmless.
#pragma once

#include <cstdint>
#include <functional>

#include "vorn/platform/runtime/messages.h"

namespace vorn {

using HWND = std::uintptr_t;
using TWndMethod = std::function<void(TMessage& Message)>;

HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
[[nodiscard]] bool IsWindow(HWND Wnd);

// Starts or restarts timer IDEvent of Wnd; returns IDEvent (non-zero), or
// 0 when the window is unknown or timers are unavailable. Intervals below
// 10 ms run at 10 ms. The callback argument of the classic call must be null.
std::uintptr_t SetTimer(HWND Wnd, std::uintptr_t IDEvent, unsigned Elapse, void* TimerFunc);
bool KillTimer(HWND Wnd, std::uintptr_t IDEvent);
// The default handling of a message of a hidden window: nothing, result 0.
LRESULT DefWindowProc(HWND Wnd, std::uint32_t Msg, WPARAM WParam, LPARAM LParam);
// Sends a message to a hidden window's procedure; 0 for an unknown window.
LRESULT SendMessage(HWND Wnd, std::uint32_t Msg, WPARAM WParam, LPARAM LParam);

// For tests: while set, SetTimer fails (returns 0).
void SetTimersUnavailable(bool Value);

namespace timers {
// The time in milliseconds of the earliest pending timer, or -1.
std::int64_t NextDue();
// Fires, in order of their due times, every timer due at or before Now.
// Each fires once per call even when several periods have passed, as
// timer messages do; the next period counts from Now.
void FireDue(std::int64_t Now);
// Fires the timers due up to Target one period at a time, calling SetNow
// with each due time first: a virtual clock that steps through time.
void StepTo(std::int64_t Target, const std::function<void(std::int64_t)>& SetNow);
// Number of running timers (for tests of leaks).
int RunningCount();
}  // namespace timers

}  // namespace vorn
