#include "vorn/displays/rotlab.h"

#include <cmath>
#include <numbers>

#include "vorn/foundation/drawing.h"

namespace vorn {

TPoint RotatedTextShift(TAlignment Alignment, int AngleDeg, int W2, int H2) {
  const double a = AngleDeg / 180.0 * std::numbers::pi;
  const double s = std::sin(a), c = std::cos(a);
  const double w = Alignment == taLeftJustify ? 0.0 : Alignment == taCenter ? W2 : 2.0 * W2;
  const double dx = -w * c - H2 * s;
  const double dy = w * s - H2 * c;
  return {static_cast<int>(std::nearbyint(dx)), static_cast<int>(std::nearbyint(dy))};
}

TRotLab::TRotLab(TComponent* AOwner) : TCustomLabel(AOwner) {
  SetAutoSize(false);
  TCustomLabel::SetTransparent(true);
  TControl::SetColor(FBgColor);
  Font()->SetName("Arial");
  Font()->SetSize(11);
  SetBounds(0, 0, 200, 200);
  SetOnResize([this](TObject*) { HandleResize(); });
}

void TRotLab::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TRotLab*>(Source);
  if (s == nullptr) {
    TCustomLabel::Assign(Source);
    return;
  }
  FAutoCenter = s->FAutoCenter;
  FFrameStyle = s->FFrameStyle;
  FTextAngle = s->FTextAngle;
  FTextPosX = s->FTextPosX;
  FTextPosY = s->FTextPosY;
  FAntiAlias = s->FAntiAlias;
  Invalidate();
}

void TRotLab::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TRotLab*>(Dest)) {
    d->Assign(this);
    return;
  }
  TCustomLabel::AssignTo(Dest);
}

void TRotLab::Redraw() {
  if (FTransparent) {
    Invalidate();
  } else {
    Repaint();
  }
}

void TRotLab::Center() {
  FTextPosX = Width() / 2;
  FTextPosY = Height() / 2;
}

void TRotLab::SetParent(TWinControl* AParent) {
  TCustomLabel::SetParent(AParent);
  HandleResize();
}

void TRotLab::HandleResize() {
  if (Parent() == nullptr || !FAutoCenter) return;
  Center();
  Redraw();
}

void TRotLab::SetAlignment(TAlignment Value) {
  if (Value == FAlignment || Value > taCenter) return;
  FAlignment = Value;
  Redraw();
}

void TRotLab::SetAntiAlias(bool Value) {
  if (Value == FAntiAlias) return;
  FAntiAlias = Value;
  Redraw();
}

void TRotLab::SetAutoCenter(bool Value) {
  if (Value == FAutoCenter) return;
  FAutoCenter = Value;
  if (Value) Center();
  Redraw();
}

void TRotLab::SetColor(TColor Value) {
  if (Value == FBgColor) return;
  FBgColor = Value;
  TControl::SetColor(Value);
  Redraw();
}

void TRotLab::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Redraw();
}

void TRotLab::SetPosX(int Value) {
  if (Value == FTextPosX) return;
  if (FAutoCenter) {
    Center();
  } else {
    FTextPosX = Value;
  }
  Redraw();
}

void TRotLab::SetPosY(int Value) {
  if (Value == FTextPosY) return;
  if (FAutoCenter) {
    Center();
  } else {
    FTextPosY = Value;
  }
  Redraw();
}

void TRotLab::SetTextAngle(int Value) {
  if (Value == FTextAngle) return;
  FTextAngle = Value;
  Redraw();
}

void TRotLab::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  TCustomLabel::SetTransparent(Value);
  Redraw();
}

void TRotLab::SelectRotatedFont(TCanvas& C) const {
  C.SetFont(Font());
  TFont& f = *C.Font();
  // Whole turns are dropped so that any angle gives a valid orientation.
  f.SetOrientation((FTextAngle % 360) * 10);
  f.SetCharset(DEFAULT_CHARSET);
  f.SetQuality(FAntiAlias ? fqAntialiased : fqDefault);
  f.SetPitch(fpDefault);
}

TPoint TRotLab::TextOrigin() const {
  TCanvas& c = *Canvas();
  SelectRotatedFont(c);
  const std::string& t = Caption();
  const TPoint shift = RotatedTextShift(FAlignment, FTextAngle % 360, c.TextWidth(t) / 2, c.TextHeight(t) / 2);
  return {FTextPosX + shift.X, FTextPosY + shift.Y};
}

void TRotLab::DoDrawText(TRect& /*Rect*/, unsigned Flags) {
  if (Flags & DT_CALCRECT) return;
  TCanvas& c = *Canvas();
  const TPoint at = TextOrigin();  // leaves the turned font on the canvas
  c.Brush()->SetStyle(bsClear);
  const std::string& t = Caption();
  if (!Enabled()) {
    c.Font()->SetColor(clBtnHighlight);
    c.TextOut(at.X + 1, at.Y + 1, t);
    c.Font()->SetColor(clBtnShadow);
  }
  c.TextOut(at.X, at.Y, t);
}

void TRotLab::Paint() {
  if (!Visible()) return;
  TCustomLabel::Paint();
  DrawFrame(Canvas(), FFrameStyle, 0, 0, Width() - 1, Height() - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

}  // namespace vorn
