#include "vorn/gauges/onoffbut.h"

#include <algorithm>

#include "vorn/foundation/drawing.h"

namespace vorn {
namespace {

constexpr const char* kResourceNames[OnOffButStyleCount] = {
    nullptr,      "CHECKBOX", "RADIOBUT",   "SLIDETOPBOT", "SLIDELFTRGT", "COLSLIDETB",
    "COLSLIDELR", "LEDREDGREEN", "ARROWTR", "ARROWUD",     "ARROWLR",     "TRAFFICLGT",
    "BEVELEDLED", "SMILEYS",  "SMILEYRG",   "BULB",        "BUTLAMP",     "HDLEFT",
    "HDRIGHT",    "USER1",    "USER2",      "USER3",       "USER4",       "USER5"};

// The sample whose height is the height of every side text.
constexpr const char* kTextSample = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";
constexpr int kUserGlyphSize = 20;

std::unique_ptr<TBitmap> BlankGlyph(int W, int H) {
  auto bmp = std::make_unique<TBitmap>(W, H);
  bmp->Canvas()->Brush()->SetColor(OnOffKeyColor);
  bmp->Canvas()->FillRect(Rect(0, 0, W, H));
  return bmp;
}

}  // namespace

const char* OnOffButResourceName(TOnOffButStyle Style) {
  return Style < OnOffButStyleCount ? kResourceNames[Style] : nullptr;
}

// ---- life cycle ----------------------------------------------------------------------------

TOnOffBut::TOnOffBut(TComponent* AOwner) : TGraphicControl(AOwner) {
  // The default user glyphs: a cross when off, a circle when on, blank
  // when disabled.
  for (bool on : {false, true}) {
    for (bool enabled : {false, true}) {
      FUserImg[on][enabled] = BlankGlyph(kUserGlyphSize, kUserGlyphSize);
      FButImg[on][enabled] = std::make_unique<TBitmap>();
    }
  }
  TCanvas& off = *FUserImg[false][true]->Canvas();
  off.Pen()->SetColor(clBlack);
  off.MoveTo(0, 0);
  off.LineTo(20, 20);
  off.MoveTo(0, 20);
  off.LineTo(20, 0);
  TCanvas& on = *FUserImg[true][true]->Canvas();
  on.Pen()->SetColor(clBlack);
  on.Brush()->SetStyle(bsClear);
  on.Ellipse(5, 5, 15, 15);
  FMask = std::make_unique<TBitmap>();
  FImage = std::make_unique<TBitmap>();
  LoadGlyphs();
  SetBounds(Left(), Top(), 100, 50);
}

TOnOffBut::~TOnOffBut() = default;

void TOnOffBut::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TOnOffBut*>(Source);
  if (src == nullptr) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (src == this) return;
  FLeftSpace = src->FLeftSpace;
  FTopSpace = src->FTopSpace;
  FAutoCenter = src->FAutoCenter;
  FLeftText = src->FLeftText;
  FRightText = src->FRightText;
  FTopText = src->FTopText;
  FBottomText = src->FBottomText;
  FLTAlignment = src->FLTAlignment;
  FRTAlignment = src->FRTAlignment;
  FTTAlignment = src->FTTAlignment;
  FBTAlignment = src->FBTAlignment;
  FFrameStyle = src->FFrameStyle;
  FColorBakG = src->FColorBakG;
  FColBlackLine = src->FColBlackLine;
  FColGrayLine = src->FColGrayLine;
  FColWhiteLine = src->FColWhiteLine;
  FColorScheme = src->FColorScheme;
  FOnOff = src->FOnOff;
  for (int on = 0; on < 2; ++on) {
    for (int enabled = 0; enabled < 2; ++enabled) {
      FButImg[on][enabled]->Assign(src->FButImg[on][enabled].get());
      FUserImg[on][enabled]->Assign(src->FUserImg[on][enabled].get());
    }
  }
  FButStyle = src->FButStyle;
  FMouseAction = src->FMouseAction;
  FColorTxt = src->FColorTxt;
  FGlyphWidth = src->FGlyphWidth;
  FGlyphHeight = src->FGlyphHeight;
  FTransParent = src->FTransParent;
  SetEnabled(src->FEnabled);
  Invalidate();
}

void TOnOffBut::AssignTo(TPersistent* Dest) const {
  if (auto* dest = dynamic_cast<TOnOffBut*>(Dest)) {
    dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

// ---- glyphs ------------------------------------------------------------------------------------

// Cuts a 2 x 2 picture into the four glyphs of Into; built aside so that a
// picture of the wrong layout leaves Into as it was.
void TOnOffBut::SplitGlyphs(const TBitmap& Picture, TGlyphSet& Into, const std::string& Source) const {
  const int W = Picture.Width();
  const int H = Picture.Height();
  if (W < 2 || H < 2 || W % 2 != 0 || H % 2 != 0) {
    throw EVORNError("Component \"" + Name() + "\": glyph picture " + Source + " is " + std::to_string(W) +
                     " x " + std::to_string(H) + " pixels, not 2 x 2 glyphs of equal size");
  }
  const int GW = W / 2;
  const int GH = H / 2;
  TGlyphSet parts;
  for (int on = 0; on < 2; ++on) {
    for (int enabled = 0; enabled < 2; ++enabled) {
      auto glyph = std::make_unique<TBitmap>(GW, GH);
      const int sx = on ? 0 : GW;
      const int sy = enabled ? 0 : GH;
      for (int y = 0; y < GH; ++y) {
        const TPixel* from = Picture.ScanLine(sy + y) + sx;
        std::copy(from, from + GW, glyph->ScanLine(y));
      }
      parts[on][enabled] = std::move(glyph);
    }
  }
  Into = std::move(parts);
}

void TOnOffBut::LoadGlyphs() {
  if (FButStyle == oobsUser) {
    for (int on = 0; on < 2; ++on) {
      for (int enabled = 0; enabled < 2; ++enabled) FButImg[on][enabled]->Assign(FUserImg[on][enabled].get());
    }
    FGlyphWidth = FUserImg[true][true]->Width();
    FGlyphHeight = FUserImg[true][true]->Height();
    return;
  }
  TBitmap picture;
  picture.LoadFromResourceName(kResourceNames[FButStyle]);
  SplitGlyphs(picture, FButImg, kResourceNames[FButStyle]);
  FGlyphWidth = picture.Width() / 2;
  FGlyphHeight = picture.Height() / 2;
}

const TBitmap* TOnOffBut::Glyph(bool On, bool Enabled) const { return FButImg[On][Enabled].get(); }

void TOnOffBut::SetUserGlyph(const TBitmap* Img) {
  if (Img == nullptr) throw EVORNError("Component \"" + Name() + "\": no glyph picture");
  SplitGlyphs(*Img, FUserImg, "(bitmap)");
  if (FButStyle != oobsUser) return;
  LoadGlyphs();
  if (FAutoCenter) AdjustAutoCenter();
  Changed();
}

void TOnOffBut::LoadUserGlyph(const std::string& FileName) {
  TBitmap picture;
  try {
    picture.LoadFromFile(FileName);
  } catch (const std::exception& e) {
    throw EVORNError("Component \"" + Name() + "\": cannot load glyph file \"" + FileName + "\": " + e.what());
  }
  if (picture.Empty()) throw EVORNError("Component \"" + Name() + "\": glyph file \"" + FileName + "\" is empty");
  TGlyphSet checked;
  SplitGlyphs(picture, checked, "file \"" + FileName + "\"");  // raises naming the file
  SetUserGlyph(&picture);
}

void TOnOffBut::SetButtonStyle(TOnOffButStyle Value) {
  if (Value == FButStyle || Value >= OnOffButStyleCount) return;
  const TOnOffButStyle old = FButStyle;
  FButStyle = Value;
  try {
    LoadGlyphs();
  } catch (...) {
    FButStyle = old;
    throw;
  }
  if (FAutoCenter) AdjustAutoCenter();
  Invalidate();
}

// ---- place ------------------------------------------------------------------------------------

void TOnOffBut::AdjustAutoCenter() {
  FLeftSpace = (Width() - FGlyphWidth) / 2;
  FTopSpace = (Height() - FGlyphHeight) / 2;
}

void TOnOffBut::SetAutoCenter(bool Value) {
  if (Value == FAutoCenter) return;
  FAutoCenter = Value;
  if (Value) AdjustAutoCenter();
  Changed();
}

void TOnOffBut::SetLeftSpace(int Value) {
  if (Value < 0 || Value == FLeftSpace) return;
  if (FAutoCenter) {
    AdjustAutoCenter();
  } else {
    FLeftSpace = std::min(Value, Width());
  }
  Invalidate();
}

void TOnOffBut::SetTopSpace(int Value) {
  if (Value < 0 || Value == FTopSpace) return;
  if (FAutoCenter) {
    AdjustAutoCenter();
  } else {
    FTopSpace = std::min(Value, Height());
  }
  Invalidate();
}

void TOnOffBut::Resize() {
  TGraphicControl::Resize();
  if (Parent() == nullptr || !FAutoCenter) return;
  AdjustAutoCenter();
  if (FTransParent) {
    Invalidate();
  } else {
    Changed();
  }
}

// ---- texts and look ------------------------------------------------------------------------------

void TOnOffBut::SetSideText(std::string& Field, const std::string& Value) {
  if (Value == Field) return;
  Field = Value;
  Invalidate();
}
void TOnOffBut::SetLeftText(const std::string& Value) { SetSideText(FLeftText, Value); }
void TOnOffBut::SetRightText(const std::string& Value) { SetSideText(FRightText, Value); }
void TOnOffBut::SetTopText(const std::string& Value) { SetSideText(FTopText, Value); }
void TOnOffBut::SetBottomText(const std::string& Value) { SetSideText(FBottomText, Value); }

void TOnOffBut::SetAlignment(TAlignment& Field, TAlignment Value) {
  if (Value == Field || Value > taCenter) return;
  Field = Value;
  Invalidate();
}
void TOnOffBut::SetLeftTextAlignment(TAlignment Value) { SetAlignment(FLTAlignment, Value); }
void TOnOffBut::SetRightTextAlignment(TAlignment Value) { SetAlignment(FRTAlignment, Value); }
void TOnOffBut::SetTopTextAlignment(TAlignment Value) { SetAlignment(FTTAlignment, Value); }
void TOnOffBut::SetBottomTextAlignment(TAlignment Value) { SetAlignment(FBTAlignment, Value); }

void TOnOffBut::SetColorBackgnd(TColor Value) {
  if (Value == FColorBakG) return;
  FColorBakG = Value;
  Changed();
}

void TOnOffBut::SetColorText(TColor Value) {
  if (Value == FColorTxt) return;
  FColorTxt = Value;
  Changed();
}

void TOnOffBut::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  FColGrayLine = Value == csBWG ? 0x808080 : clBtnShadow;
  FColWhiteLine = Value == csBWG ? 0xFFFFFF : clBtnHighlight;
  Invalidate();
}

void TOnOffBut::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Changed();
}

void TOnOffBut::SetTransparent(bool Value) {
  if (Value == FTransParent) return;
  FTransParent = Value;
  Invalidate();
}

void TOnOffBut::SetEnabled(bool Value) {
  FEnabled = Value;
  TGraphicControl::SetEnabled(Value);
  Invalidate();
}

// ---- state and groups -------------------------------------------------------------------------------

void TOnOffBut::Changed() { Paint(); }

void TOnOffBut::SetOnOff(bool Value) {
  if (Value == FOnOff) return;
  if (!Value && FGroupIndex != 0 && !FAllowAllOff) return;
  FOnOff = Value;
  Changed();
  if (FOnOff) UpdateExclusive();
}

void TOnOffBut::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TOnOffBut::SetAllowAllOff(bool Value) {
  if (Value == FAllowAllOff) return;
  FAllowAllOff = Value;
  UpdateExclusive();
}

void TOnOffBut::SetMode(TOOButMode Value) {
  FMode = Value;
  if (Value == oobmSpeedBut) FOnOff = false;
  Invalidate();
}

void TOnOffBut::SetMouseAction(TOOButMouseAction Value) { FMouseAction = Value; }

void TOnOffBut::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage message{CM_BUTTONPRESSED, FGroupIndex, reinterpret_cast<LPARAM>(static_cast<TObject*>(this)), 0};
  Parent()->Broadcast(message);
}

void TOnOffBut::CMButtonPressed(TMessage& Message) {
  auto* sender = dynamic_cast<TOnOffBut*>(reinterpret_cast<TObject*>(Message.LParam));
  if (sender == nullptr || sender == this || Message.WParam != FGroupIndex) return;
  if (sender->FOnOff && FOnOff) {
    FOnOff = false;
    Changed();
  }
  FAllowAllOff = sender->FAllowAllOff;
}

void TOnOffBut::WndProc(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    CMButtonPressed(Message);
    return;
  }
  TGraphicControl::WndProc(Message);
}

// ---- mouse ---------------------------------------------------------------------------------------------

bool TOnOffBut::SwitchesAt(int X, int Y) const {
  switch (FMouseAction) {
    case oomaNone: return false;
    case oomaPlain: return true;
    default:
      return FLeftSpace < X && X < FLeftSpace + FGlyphWidth && FTopSpace < Y && Y < FTopSpace + FGlyphHeight;
  }
}

void TOnOffBut::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !SwitchesAt(X, Y)) return;
  if (FGroupIndex != 0 && !FAllowAllOff && FOnOff) return;
  FOnOff = !FOnOff;
  Changed();
  if (FOnOff) UpdateExclusive();
}

void TOnOffBut::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FMouseAction == oomaNone) return;
  // A push button goes off on every release, also one outside the glyph,
  // so that it never stays on once the mouse button is up.
  if (FMode == oobmSpeedBut && FOnOff) {
    FOnOff = false;
    Changed();
  }
  if (SwitchesAt(X, Y)) TGraphicControl::Click();
}

void TOnOffBut::Click() {}

// ---- painting ----------------------------------------------------------------------------------------------

void TOnOffBut::PaintTexts(TCanvas& C, TCanvas& M) const {
  const int W = Width();
  const int th = C.TextHeight(kTextSample);
  const int LS = FLeftSpace, TS = FTopSpace, GW = FGlyphWidth, GH = FGlyphHeight;
  const auto out = [&](const std::string& Text, int X, int Y) {
    if (FEnabled) {
      C.Font()->SetColor(FColorTxt);
      C.TextOut(X, Y, Text);
    } else {
      C.Brush()->SetStyle(bsClear);
      C.Font()->SetColor(0xFFFFFF);
      C.TextOut(X + 1, Y + 1, Text);
      C.Font()->SetColor(0x808080);
      C.TextOut(X, Y, Text);
      M.TextOut(X + 1, Y + 1, Text);
    }
    M.TextOut(X, Y, Text);
  };
  const auto pick = [](TAlignment A, int Left, int Right, int Centre) {
    return A == taLeftJustify ? Left : A == taRightJustify ? Right : Centre;
  };
  const int sideY = TS + (GH - th) / 2;
  if (!FLeftText.empty()) {
    const int w = C.TextWidth(FLeftText);
    out(FLeftText, pick(FLTAlignment, 4, LS - w - 3, (LS - w) / 2), sideY);
  }
  if (!FRightText.empty()) {
    const int w = C.TextWidth(FRightText);
    out(FRightText, pick(FRTAlignment, LS + GW + 4, W - w - 4, (W - w - LS - GW) / 2 + LS + GW + 1), sideY);
  }
  if (!FTopText.empty()) {
    const int w = C.TextWidth(FTopText);
    out(FTopText, pick(FTTAlignment, 4, W - w - 4, LS + (GW - w) / 2), TS - th - 4);
  }
  if (!FBottomText.empty()) {
    const int w = C.TextWidth(FBottomText);
    out(FBottomText, pick(FBTAlignment, 4, W - w - 4, LS + (GW - w) / 2), TS + GH + 4);
  }
}

// Copies the glyph of the current state; its key-coloured pixels take the
// background colour and all others become opaque in the mask.
void TOnOffBut::PaintGlyph(TBitmap& Image, TBitmap& Mask) const {
  const TBitmap& glyph = *FButImg[FOnOff][FEnabled];
  const TPixel key = ColorToPixel(OnOffKeyColor);
  const TPixel background = FTransParent ? 0 : ColorToDevice(FColorBakG);
  const TPixel white = ColorToPixel(0xFFFFFF);
  const int x0 = FLeftSpace + 1;
  const int y0 = FTopSpace + 1;
  const int xFrom = std::max(0, -x0);
  const int xTo = std::min(glyph.Width(), Image.Width() - x0);
  for (int gy = std::max(0, -y0); gy < std::min(glyph.Height(), Image.Height() - y0); ++gy) {
    const TPixel* from = glyph.ScanLine(gy);
    TPixel* to = Image.ScanLine(y0 + gy);
    TPixel* mask = Mask.ScanLine(y0 + gy);
    for (int gx = xFrom; gx < xTo; ++gx) {
      const bool isKey = (from[gx] & 0xFFFFFFu) == key;
      to[x0 + gx] = isKey ? background : from[gx];
      mask[x0 + gx] = isKey ? white : 0;
    }
  }
}

void TOnOffBut::PaintTo(TBitmap& Image, TBitmap& Mask) const {
  const int W = Width();
  const int H = Height();
  TCanvas& C = *Image.Canvas();
  TCanvas& M = *Mask.Canvas();
  M.SetFont(Font());
  M.Pen()->SetColor(0xFFFFFF);
  M.Brush()->SetColor(0xFFFFFF);
  M.Rectangle(0, 0, W, H);
  M.Font()->SetColor(0x000000);
  M.Brush()->SetStyle(bsClear);
  const TColor background = FTransParent ? 0x000000 : FColorBakG;
  C.SetFont(Font());
  C.Pen()->SetColor(background);
  C.Brush()->SetColor(background);
  C.Rectangle(0, 0, W, H);
  PaintTexts(C, M);
  PaintGlyph(Image, Mask);
  DrawFrame(&C, FFrameStyle, 0, 0, W - 1, H - 1, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000, 0x000000);
  DrawFrame(&M, FFrameStyle, 0, 0, W - 1, H - 1, 0, 0, 0, 0, 0);
}

void TOnOffBut::Paint() {
  if (!Visible() && !ComponentState().Contains(csDesigning)) return;
  TCanvas* target = Canvas();
  if (target == nullptr || !target->HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  for (TBitmap* bmp : {FImage.get(), FMask.get()}) {
    if (bmp->Width() != Width() || bmp->Height() != Height()) bmp->SetSize(Width(), Height());
  }
  PaintTo(*FImage, *FMask);
  if (!FTransParent) {
    target->SetCopyMode(cmSrcCopy);
    target->Draw(0, 0, FImage.get());
    return;
  }
  target->SetCopyMode(cmSrcAnd);
  target->Draw(0, 0, FMask.get());
  target->SetCopyMode(cmSrcPaint);
  target->Draw(0, 0, FImage.get());
  target->SetCopyMode(cmSrcCopy);
}

}  // namespace vorn
