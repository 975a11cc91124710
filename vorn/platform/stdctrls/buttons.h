// Push buttons: click with the mouse, with Space or Return while focused,
// or with the caption's accelerator (Alt+letter; the letter alone while a
// control that types nothing has the focus). Elsewhere on the form Return
// presses the default button and Escape the cancel button, unless the
// button or a parent of it is disabled.
#pragma once

#include <memory>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"

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

 protected:
  void WMGetDlgCode(TMessage& Message) override;

 private:
  void SetDown(bool Value);

  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
  bool FDown = false;
  bool FTracking = false;
};

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };

// A flat or raised button drawn on its parent's surface, with a caption
// and an optional picture. Buttons with the same non-zero GroupIndex on
// one parent work as a group: pressing one releases the others.
class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);

  [[nodiscard]] bool Down() const { return FDown; }
  void SetDown(bool Value);
  [[nodiscard]] int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  [[nodiscard]] bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  [[nodiscard]] bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // The picture; with NumGlyphs 2..4 it holds the up, disabled, down and
  // exclusive images side by side.
  [[nodiscard]] TBitmap* Glyph() const { return FGlyph.get(); }
  [[nodiscard]] int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  [[nodiscard]] TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  [[nodiscard]] int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  [[nodiscard]] TButtonState State() const { return FState; }
  [[nodiscard]] bool MouseInControl() const { return FMouseInControl; }

  void Click() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void WndProc(TMessage& Message) override;

 protected:
  // Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  virtual void CMButtonPressed(TMessage& Message);

 private:
  void SetState(TButtonState Value);
  void DrawGlyphAndCaption(TCanvas& Canvas, const TRect& Area);

  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseInControl = false;
};

}  // namespace vorn
