#include "vorn/pickers/repsbut.h"

#include <algorithm>
#include <utility>

#include "vorn/platform/runtime/application.h"

namespace vorn {
namespace {
constexpr std::uintptr_t kRepeatTimer = 1;
}  // namespace

TRepSpeedButton::TRepSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  FRClickTimerHandle = AllocateHWnd([this](TMessage& Message) { TimerWndProc(Message); });
}

TRepSpeedButton::~TRepSpeedButton() {
  KillTimer(FRClickTimerHandle, kRepeatTimer);
  DeallocateHWnd(FRClickTimerHandle);
}

void TRepSpeedButton::SetRepeatClickInterval(int Value) {
  Value = std::max(Value, MinInterval);
  if (Value == FRepClickIv) return;
  FRepClickIv = Value;
  if (!Designing()) RepeatTimer();
}

void TRepSpeedButton::SetStartClickInterval(int Value) {
  Value = std::max(Value, MinInterval);
  if (Value == FStartIv) return;
  FStartIv = Value;
  if (!Designing()) StartTimer();
}

void TRepSpeedButton::SetOnRepeatClick(TNotifyEvent Value) {
  FOnRepeatClick = std::move(Value);
  if (!Designing()) RepeatTimer();
}

void TRepSpeedButton::RunTimer(int Interval) {
  KillTimer(FRClickTimerHandle, kRepeatTimer);
  if (Interval <= 0 || !FRClickTimerEnabled) return;
  if (SetTimer(FRClickTimerHandle, kRepeatTimer, static_cast<unsigned>(Interval), nullptr) == 0) {
    throw EVORNRepSpeedButton("Component \"" + Name() + "\": no timer available");
  }
}

void TRepSpeedButton::StartTimer() {
  FIsStart = true;
  RunTimer(FStartIv);
}

void TRepSpeedButton::RepeatTimer() {
  FIsStart = false;
  RunTimer(FRepClickIv);
}

void TRepSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft) return;
  FRClickTimerEnabled = true;
  StartTimer();
}

void TRepSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft) return;
  FRClickTimerEnabled = false;
  RepeatTimer();  // repetition is off: this only stops the timer
}

void TRepSpeedButton::MouseLeave() {
  TDestroyGuard guard(this);
  TSpeedButton::MouseLeave();
  // A held button completes as if released on it and stops repeating.
  // A button that is not held has nothing to complete: leaving it must not
  // report a release that never happened.
  if (guard.Gone() || !FRClickTimerEnabled) return;
  MouseUp(mbLeft, {}, 0, 0);
}

void TRepSpeedButton::DoTick() {
  if (FIsStart) RepeatTimer();
  RaiseEvent(FOnRepeatClick, this);
}

void TRepSpeedButton::TimerWndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FRClickTimerHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    DoTick();
  } catch (...) {
    Application()->HandleException(this);
  }
}

}  // namespace vorn
