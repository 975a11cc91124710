#include "vorn/platform/graphics/graphics.h"

namespace vorn {

void TGraphicsObject::Changed() {
  if (FOnChange) FOnChange(this);
}

// ---- TFont -----------------------------------------------------------------

TFont::TFont() = default;

void TFont::Assign(const TPersistent* Source) {
  if (const auto* f = dynamic_cast<const TFont*>(Source)) {
    if (f == this) return;
    // A font that has not drawn yet has no instance; taking its look
    // keeps the one this font already has for the same face, so that a
    // canvas given the same font before every drawing looks it up once.
    const bool sameFace = FName == f->FName && FHeight == f->FHeight && FStyle == f->FStyle &&
                          FOrientation == f->FOrientation && FQuality == f->FQuality;
    FName = f->FName;
    FHeight = f->FHeight;
    FColor = f->FColor;
    FStyle = f->FStyle;
    FOrientation = f->FOrientation;
    FQuality = f->FQuality;
    FPitch = f->FPitch;
    FCharset = f->FCharset;
    if (f->FInstance || !sameFace) FInstance = f->FInstance;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TFont::Update() {
  FInstance.reset();
  Changed();
}

void TFont::SetName(const std::string& Value) {
  if (Value == FName) return;
  FName = Value;
  Update();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, ScreenPixelsPerInch, 72)); }

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Update();
}

void TFont::SetColor(TColor Value) {
  // The colour does not enter the engine's instance.
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Update();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Update();
}

void TFont::SetQuality(TFontQuality Value) {
  if (Value == FQuality) return;
  FQuality = Value;
  Update();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Update();
}

void TFont::SetCharset(std::uint8_t Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Update();
}

TFontSpec TFont::Spec() const {
  TFontSpec spec;
  spec.Name = FName;
  spec.Height = FHeight;
  spec.Bold = FStyle.Contains(fsBold);
  spec.Italic = FStyle.Contains(fsItalic);
  spec.Underline = FStyle.Contains(fsUnderline);
  spec.StrikeOut = FStyle.Contains(fsStrikeOut);
  spec.Antialias = FQuality != fqNonAntialiased;
  // Keep the angle in one turn so that equal looks share one instance.
  spec.Orientation = ((FOrientation % 3600) + 3600) % 3600;
  return spec;
}

const TFontInstance& TFont::Instance() const {
  if (!FInstance) FInstance = AcquireFont(Spec());
  return *FInstance;
}

// ---- TPen ------------------------------------------------------------------

void TPen::Assign(const TPersistent* Source) {
  if (const auto* p = dynamic_cast<const TPen*>(Source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 1) Value = 1;
  if (Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

// ---- TBrush ----------------------------------------------------------------

void TBrush::Assign(const TPersistent* Source) {
  if (const auto* b = dynamic_cast<const TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  // A colour always makes a clear brush solid, even the same colour.
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

}  // namespace vorn
