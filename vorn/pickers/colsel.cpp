#include "vorn/pickers/colsel.h"

#include <array>
#include <cmath>

#include "vorn/platform/stdctrls/colordlg.h"

namespace vorn {

TColSel::TColSel(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  for (int i = 1; i <= MaxColors; ++i) {
    FColors[Slot(i)] = PredefinedColors[Slot(i)].Color;
    FColorNames[Slot(i)] = ColorToString(FColors[Slot(i)]);
  }
  TCustomComboBox::SetOnDropDown([this](TObject* Sender) {
    TDestroyGuard guard(this);
    BeforeDropDown();
    if (!guard.Gone()) RaiseEvent(FOnUserDropDown, Sender);
  });
}

// ---- entries ------------------------------------------------------------------------------

void TColSel::Name(int Index, TColor Value) {
  std::string name = ColorToString(Value);
  RaiseEvent(FOnCNameChange, this, name);
  FColorNames[Slot(Index)] = name;
  // The list shows names: keep its item in step.
  if (Index - 1 < Items()->Count()) Items()->SetStrings(Index - 1, name);
}

TColor TColSel::Colors(int Index) const { return Inside(Index) ? FColors[Slot(Index)] : 0; }

void TColSel::SetColors(int Index, TColor Value) {
  if (!Inside(Index)) return;
  FColors[Slot(Index)] = Value;
  Name(Index, Value);
  Invalidate();
}

std::string TColSel::ColorNames(int Index) const { return Inside(Index) ? FColorNames[Slot(Index)] : std::string(); }

void TColSel::SetColorNames(int Index, const std::string& Value) {
  if (!Inside(Index)) return;
  FColorNames[Slot(Index)] = Value;
  if (Index - 1 < Items()->Count()) Items()->SetStrings(Index - 1, Value);
  Invalidate();
}

bool TColSel::ColorEditAllowed(int Index) const { return Inside(Index) && FIsUserEditable[Slot(Index)]; }

void TColSel::SetColorEditAllowed(int Index, bool Value) {
  if (!Inside(Index)) return;
  FIsUserEditable[Slot(Index)] = Value;
  Invalidate();
}

void TColSel::SetAllColorEditFlags() {
  FIsUserEditable.fill(true);
  Invalidate();
}

void TColSel::ResetAllColorEditFlags() {
  FIsUserEditable.fill(false);
  Invalidate();
}

void TColSel::SetColorBarWidth(int Value) {
  if (Value < 0 || Value == FColorBarWidth) return;
  FColorBarWidth = Value;
  Invalidate();
}

void TColSel::SetNumColors(int Value) {
  if (Value < 1 || Value > MaxColors) return;
  FSelColorIx = 1;
  FNumColors = Value;
  FillList();
}

void TColSel::LoadPalette(int First, int Count) {
  FSelColorIx = 1;
  FNumColors = Count;
  for (int i = 1; i <= Count; ++i) {
    FColors[Slot(i)] = PredefinedColors[Slot(First + i - 1)].Color;
    std::string name = ColorToString(FColors[Slot(i)]);
    RaiseEvent(FOnCNameChange, this, name);
    FColorNames[Slot(i)] = name;
  }
  FillList();
}

void TColSel::FillList() {
  TStrings& items = *Items();
  items.BeginUpdate();
  items.Clear();
  for (int i = 1; i <= FNumColors; ++i) items.Add(FColorNames[Slot(i)]);
  items.EndUpdate();
  SetItemIndex(FSelColorIx - 1);
  Invalidate();
}

void TColSel::Loaded() {
  TCustomComboBox::Loaded();
  FillList();
}

// ---- selection ----------------------------------------------------------------------------

TColor TColSel::SelColor() const { return Colors(FSelColorIx); }

std::string TColSel::SelColorID() const { return ItemIndex() >= 0 ? ColorNames(FSelColorIx) : std::string(); }

void TColSel::SetSelColor(TColor Value) {
  const TColor rgb = ColorToRGB(Value);
  for (int i = 1; i <= FNumColors; ++i) {
    if (ColorToRGB(FColors[Slot(i)]) == rgb) {
      FSelColorIx = i;
      Name(i, FColors[Slot(i)]);
      if (i - 1 < Items()->Count()) SetItemIndex(i - 1);
      Invalidate();
      return;
    }
  }
  FColors[Slot(FSelColorIx)] = Value;
  Name(FSelColorIx, rgb);
  Invalidate();
}

void TColSel::Change() {
  if (ItemIndex() >= 0) FSelColorIx = ItemIndex() + 1;
  TCustomComboBox::Change();
}

// ---- mouse and the dialog ---------------------------------------------------------------------

void TColSel::MouseMove(TShiftState Shift, int X, int Y) {
  FMouseAreaCode = X < FColorBarWidth ? 1 : 0;
  TCustomComboBox::MouseMove(Shift, X, Y);
}

void TColSel::BeforeDropDown() {
  if (FMouseAreaCode != 1 || !ColorEditAllowed(FSelColorIx)) return;
  TDestroyGuard guard(this);
  TColorDialog dialog(nullptr);
  dialog.SetColor(FColors[Slot(FSelColorIx)]);
  if (dialog.Execute() && !guard.Gone()) {
    FColors[Slot(FSelColorIx)] = dialog.Color();
    Name(FSelColorIx, ColorToRGB(dialog.Color()));
  }
  if (!guard.Gone()) Invalidate();
}

void TColSel::SetEnabled(bool Value) {
  FEnabled = Value;
  TCustomComboBox::SetEnabled(Value);
  Invalidate();
}

// ---- drawing --------------------------------------------------------------------------------

void TColSel::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  const int entry = Index + 1;
  if (!Inside(entry)) return;
  TCanvas& c = *Canvas();
  const TColor savedBrush = c.Brush()->Color();
  const TColor savedPen = c.Pen()->Color();
  const TColor savedFont = c.Font()->Color();
  const int l = Rect.Left, t = Rect.Top, b = Rect.Bottom;
  const int w = FColorBarWidth;
  if (w > 0) {
    if (!FEnabled) {
      c.Pen()->SetColor(0xC0C0C0);
      c.Brush()->SetColor(0xC0C0C0);
      c.Rectangle(l - 1, t - 1, l + 3 + w, b + 1);
      c.Pen()->SetColor(0x808080);
    }
    c.Brush()->SetColor(FColors[Slot(entry)]);
    c.Rectangle(l + 3, t + 2, l + 3 + w, b - 2);
  }
  if (FIsUserEditable[Slot(entry)] && w >= 12 && FEnabled) {
    const TColor rgb = ColorToRGB(FColors[Slot(entry)]);
    const double r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, bl = (rgb >> 16) & 0xFF;
    c.Pen()->SetColor(std::sqrt(r * r + bl * bl + 2 * g * g) / 2 > 180 ? 0x000000 : 0xFFFFFF);
    const std::array<TPoint, 7> mark{TPoint{l + 5, t + 4},  TPoint{l + 5, b - 5},  TPoint{l + 8, b - 5},
                                     TPoint{l + 11, b - 8}, TPoint{l + 11, t + 7}, TPoint{l + 8, t + 4},
                                     TPoint{l + 5, t + 4}};
    c.Polyline(mark);
    c.Pen()->SetColor(0x000000);
  }
  if (FEnabled && State.Contains(odSelected) && !State.Contains(odComboBoxEdit)) {
    // The highlighted row of the open list must stand out.
    c.Font()->SetColor(clHighlightText);
    c.Brush()->SetColor(clHighlight);
  } else if (FEnabled) {
    c.Font()->SetColor(0x000000);
    c.Brush()->SetColor(Color());
  } else {
    c.Font()->SetColor(0x808080);
    c.Brush()->SetColor(0xC0C0C0);
  }
  TRect text = Rect;
  text.Left = l + 3 + w;
  c.TextRect(text, text.Left + 3, t + (b - t - c.TextHeight(FColorNames[Slot(entry)])) / 2, FColorNames[Slot(entry)]);
  c.Brush()->SetColor(savedBrush);
  c.Pen()->SetColor(savedPen);
  c.Font()->SetColor(savedFont);
}

}  // namespace vorn
