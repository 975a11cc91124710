// Push buttons: click with the mouse or with Space; Return presses the
// default button of a form and Escape its cancel button.
#pragma once

#include "vorn/platform/controls/controls.h"

namespace vorn {

class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* AOwner);

  [[nodiscard]] bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  [[nodiscard]] bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // A non-zero result closes a modal form with it when clicked.
  [[nodiscard]] int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }

  void Click() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void WndProc(TMessage& Message) override;

  [[nodiscard]] bool Down() const { return FDown; }

 private:
  void SetDown(bool Value);

  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
  bool FDown = false;
  bool FTracking = false;
};

}  // namespace vorn
