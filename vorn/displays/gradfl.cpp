#include "vorn/displays/gradfl.h"

#include <algorithm>

#include "vorn/foundation/drawing.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {

TGradFill::TGradFill(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  SetBounds(0, 0, 121, 121);
}

// The effective colours follow the base colours, exchanged while flipped.
void TGradFill::ApplyFlip() {
  FColorFirst = FColorsFlipped ? FColLastOrg : FColFirstOrg;
  FColorLast = FColorsFlipped ? FColFirstOrg : FColLastOrg;
}

void TGradFill::SetColorFirst(TColor Value) {
  (FColorsFlipped ? FColLastOrg : FColFirstOrg) = Value;
  FColorFirst = Value;
  Invalidate();
}

void TGradFill::SetColorLast(TColor Value) {
  (FColorsFlipped ? FColFirstOrg : FColLastOrg) = Value;
  FColorLast = Value;
  Invalidate();
}

void TGradFill::SetColorFlipped(bool Value) {
  FColorsFlipped = Value;
  ApplyFlip();
  Invalidate();
}

void TGradFill::SetFillType(TGradType Value) {
  if (Value > gtMidBandVert || Value == FGradType) return;
  FGradType = Value;
  Invalidate();
}

void TGradFill::SetFrameStyle(TFrameStyle Value) {
  FFrameStyle = Value;
  Invalidate();
}

void TGradFill::SetGridColor(TColor Value) {
  FGridColor = Value;
  Invalidate();
}

void TGradFill::SetGridMode(TGridMode Value) {
  FGridMode = Value > gmBoth ? gmNone : Value;
  Invalidate();
}

void TGradFill::SetNrColors(int Value) {
  FNrColors = std::clamp(Value, 1, 255);
  Invalidate();
}

int TGradFill::BandStart(int K, int Size) const { return MulDiv(K, Size, FNrColors); }

TColor TGradFill::BandColor(int K) const {
  const TColor first = ColorToRGB(FColorFirst);
  const TColor last = ColorToRGB(FColorLast);
  const int n = FNrColors;
  const bool midBand = FGradType == gtMidBandHoriz || FGradType == gtMidBandVert;
  const int m = n / 2;
  // A single band has no step to take: it shows the first colour.
  if (n < 2 || (midBand && m == 0)) return first;
  auto channel = [&](int a, int b) {
    const int d = b - a;
    if (!midBand) return a + MulDiv(K, d, n);
    return a + (K > m ? MulDiv(n - K - 1, d, m) : MulDiv(K, d, m));
  };
  return RGB(channel(GetRValue(first), GetRValue(last)), channel(GetGValue(first), GetGValue(last)),
             channel(GetBValue(first), GetBValue(last)));
}

void TGradFill::DrawGradient(TBitmap& Bmp) const {
  const int w = Bmp.Width();
  const int h = Bmp.Height();
  if (w <= 0 || h <= 0) return;
  TCanvas& c = *Bmp.Canvas();
  const bool rows = FGradType == gtHoriz || FGradType == gtMidBandHoriz;
  for (int k = 0; k < FNrColors; ++k) {
    c.Brush()->SetColor(BandColor(k));
    if (rows) {
      c.FillRect(Rect(0, BandStart(k, h), w, BandStart(k + 1, h)));
    } else {
      c.FillRect(Rect(BandStart(k, w), 0, BandStart(k + 1, w), h));
    }
  }
  if (FGridMode != gmNone) {
    c.Brush()->SetColor(FGridColor);
    for (int k = 1; k < FNrColors; ++k) {
      if (FGridMode == gmHoriz || FGridMode == gmBoth) {
        const int y = BandStart(k, h);
        c.FillRect(Rect(0, y, w, y + 1));
      }
      if (FGridMode == gmVert || FGridMode == gmBoth) {
        const int x = BandStart(k, w);
        c.FillRect(Rect(x, 0, x + 1, h));
      }
    }
  }
  DrawFrame(&c, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

void TGradFill::Paint() {
  if (Width() > 0 && Height() > 0) {
    TBitmap bmp(Width(), Height());
    DrawGradient(bmp);
    TCanvas& dest = *Canvas();
    dest.SetCopyMode(cmSrcCopy);
    dest.Draw(0, 0, &bmp);
  }
  if (FOnPaint) FOnPaint(this);
}

}  // namespace vorn
