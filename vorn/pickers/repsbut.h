// TRepSpeedButton: a speed button that repeats while it is held. With the
// left button down on it, OnRepeatClick fires first after
// StartClickInterval ms, then every RepeatClickInterval ms, until the
// button is released or the mouse leaves it. OnClick still fires once on
// release, as for any speed button.
//
// States: idle (no timer) -> left button down -> waiting for the first
// repeat (start delay) -> first tick -> repeating (repeat interval) ->
// release or leave -> idle. The timer is timer 1 on a hidden window of the
// button's own; a handler that throws goes to Application's exception
// handler with the button as sender.
#pragma once

#include <cstdint>

#include "vorn/foundation/basics.h"
#include "vorn/platform/runtime/timers.h"
#include "vorn/platform/stdctrls/buttons.h"

namespace vorn {

class EVORNRepSpeedButton : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

class TRepSpeedButton : public TSpeedButton {
 public:
  static constexpr int MinInterval = 10;

  explicit TRepSpeedButton(TComponent* AOwner);
  ~TRepSpeedButton() override;

  // Values below MinInterval are stored as MinInterval. A change restarts
  // the timer with the new interval while the button is held.
  [[nodiscard]] int RepeatClickInterval() const { return FRepClickIv; }
  void SetRepeatClickInterval(int Value);
  [[nodiscard]] int StartClickInterval() const { return FStartIv; }
  void SetStartClickInterval(int Value);
  [[nodiscard]] const TNotifyEvent& OnRepeatClick() const { return FOnRepeatClick; }
  void SetOnRepeatClick(TNotifyEvent Value);

  // True while the left button is held on the button.
  [[nodiscard]] bool Repeating() const { return FRClickTimerEnabled; }
  // True until the first repeat after a press.
  [[nodiscard]] bool IsStartPhase() const { return FIsStart; }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;

 private:
  void StartTimer();
  void RepeatTimer();
  void RunTimer(int Interval);
  void TimerWndProc(TMessage& Message);
  void DoTick();
  [[nodiscard]] bool Designing() const { return ComponentState().Contains(csDesigning); }

  HWND FRClickTimerHandle = 0;
  bool FRClickTimerEnabled = false;
  TNotifyEvent FOnRepeatClick;
  int FRepClickIv = 200;
  int FStartIv = 500;
  bool FIsStart = true;
};

}  // namespace vorn
