// Panels: containers with bevels and a centred caption.
#pragma once

#include "vorn/platform/controls/controls.h"

namespace vorn {

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);

  [[nodiscard]] TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  [[nodiscard]] TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  [[nodiscard]] int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  [[nodiscard]] bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);

  void Paint() override;

 private:
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  TAlignment FAlignment = taCenter;
  bool FShowCaption = true;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

}  // namespace vorn
