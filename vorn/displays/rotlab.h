// TRotLab: a label whose caption is drawn at any angle around an anchor
// point (PosX, PosY), optionally kept at the control's centre and framed.
//
// The text is written with a font turned by TextAngle degrees
// (counter-clockwise) about its top-left reference point. The origin is
// shifted from the anchor so that the anchor lies on the text's vertical
// centre line: at its start (taLeftJustify), middle (taCenter) or end
// (taRightJustify). With W2, H2 half the unrotated text width and height
// and A the angle:
//
//   taLeftJustify    DX = -H2 sin A                DY = -H2 cos A
//   taCenter         DX = -W2 cos A - H2 sin A     DY = W2 sin A - H2 cos A
//   taRightJustify   DX = -2 W2 cos A - H2 sin A   DY = 2 W2 sin A - H2 cos A
//
// each rounded to the nearest integer, ties to even. Property changes
// invalidate while Transparent (the parent paints the background first)
// and repaint at once otherwise.
#pragma once

#include "vorn/foundation/basics.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn {

// The shift of the text origin from the anchor, by the table above.
TPoint RotatedTextShift(TAlignment Alignment, int AngleDeg, int W2, int H2);

class TRotLab : public TCustomLabel {
 public:
  explicit TRotLab(TComponent* AOwner);

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  [[nodiscard]] bool AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool Value);
  [[nodiscard]] bool AutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  [[nodiscard]] TColor Color() const { return FBgColor; }
  void SetColor(TColor Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  [[nodiscard]] int PosX() const { return FTextPosX; }
  void SetPosX(int Value);
  [[nodiscard]] int PosY() const { return FTextPosY; }
  void SetPosY(int Value);
  [[nodiscard]] int TextAngle() const { return FTextAngle; }
  void SetTextAngle(int Value);
  [[nodiscard]] bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // Where the caption's origin (its unrotated top-left corner) goes now.
  [[nodiscard]] TPoint TextOrigin() const;

  void Paint() override;
  // Placed on a parent with AutoCenter, the anchor moves to the centre.
  void SetParent(TWinControl* AParent) override;

 protected:
  void DoDrawText(TRect& Rect, unsigned Flags) override;

 private:
  void Center();
  void Redraw();
  void HandleResize();
  // Gives the canvas the label's font turned by TextAngle.
  void SelectRotatedFont(TCanvas& C) const;

  int FTextAngle = 0;
  int FTextPosX = 10;
  int FTextPosY = 10;
  bool FAntiAlias = true;
  bool FAutoCenter = true;
  TColor FBgColor = clBtnFace;
  bool FTransparent = true;
  TAlignment FAlignment = taCenter;
  TFrameStyle FFrameStyle = fsLowered;
};

}  // namespace vorn
