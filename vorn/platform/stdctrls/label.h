// Labels: a caption drawn on the parent's surface. A label with a
// FocusControl hands the focus to it when its accelerator is pressed
// ("&Name:" with Alt+N).
#pragma once

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/drawtext.h"

namespace vorn {

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);

  [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  [[nodiscard]] TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  [[nodiscard]] bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  [[nodiscard]] bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  [[nodiscard]] bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  [[nodiscard]] bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  [[nodiscard]] TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

  void Paint() override;
  void SetText(const std::string& Value) override;
  void WndProc(TMessage& Message) override;

 protected:
  // Draws the caption into Rect with DrawText flags; with DT_CALCRECT it
  // only measures. Labels that draw text their own way override this.
  virtual void DoDrawText(TRect& Rect, unsigned Flags);
  [[nodiscard]] unsigned TextFlags() const;
  void AdjustBounds();
  void CMFontChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

}  // namespace vorn
