#include "vorn/platform/stdctrls/colordlg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn {
namespace {

constexpr int kCell = 22;  // cell pitch of the colour grids
constexpr std::array<const char*, 6> kFieldNames{"Red:", "Green:", "Blue:", "Hue:", "Sat:", "Val:"};
constexpr std::array<int, 6> kFieldMax{255, 255, 255, 359, 100, 100};

int RoundToInt(double X) { return static_cast<int>(std::nearbyint(X)); }

TColor MakeRGB(int R, int G, int B) {
  return static_cast<TColor>(R) | (static_cast<TColor>(G) << 8) | (static_cast<TColor>(B) << 16);
}

// A whole number 0..Max, nothing else.
bool ParseField(const std::string& Text, int Max, int& Value) {
  if (Text.empty()) return false;
  const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return error == std::errc() && end == Text.data() + Text.size() && Value >= 0 && Value <= Max;
}

}  // namespace

const std::array<TColor, BasicColorCount> BasicColors{
    0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000, 0xC080FF, 0xFF80FF,  //
    0x0000FF, 0x00FFFF, 0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080, 0xFF00FF,  //
    0x404080, 0x4080FF, 0x00FF00, 0x808000, 0x804000, 0xFF8080, 0x400080, 0x8000FF,  //
    0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000, 0x800080, 0xFF0080,  //
    0x000040, 0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040,  //
    0x000000, 0x008080, 0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x404040, 0xFFFFFF,  //
};

THSV RGBToHSV(TColor RGB) {
  const TColor c = ColorToRGB(RGB);
  const double r = (c & 0xFF) / 255.0;
  const double g = ((c >> 8) & 0xFF) / 255.0;
  const double b = ((c >> 16) & 0xFF) / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double delta = max - min;
  double h = 0;
  if (delta > 0) {
    if (max == r) {
      h = std::fmod((g - b) / delta, 6.0);
    } else if (max == g) {
      h = (b - r) / delta + 2;
    } else {
      h = (r - g) / delta + 4;
    }
    h *= 60;
    if (h < 0) h += 360;
  }
  THSV result{RoundToInt(h) % 360, max > 0 ? RoundToInt(delta / max * 100) : 0, RoundToInt(max * 100)};
  return result;
}

TColor HSVToRGB(const THSV& HSV) {
  const double h = ((HSV.H % 360) + 360) % 360 / 60.0;
  const double s = std::clamp(HSV.S, 0, 100) / 100.0;
  const double v = std::clamp(HSV.V, 0, 100) / 100.0;
  const int sector = static_cast<int>(h) % 6;
  const double f = h - std::floor(h);
  const double p = v * (1 - s);
  const double q = v * (1 - s * f);
  const double t = v * (1 - s * (1 - f));
  double r = v, g = t, b = p;
  switch (sector) {
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    case 5: r = v; g = p; b = q; break;
    default: break;
  }
  return MakeRGB(RoundToInt(r * 255), RoundToInt(g * 255), RoundToInt(b * 255));
}

// ---- TColorCells ----------------------------------------------------------------------

TColorCells::TColorCells(TComponent* AOwner, int Columns, int Rows)
    : TCustomControl(AOwner), FColumns(Columns), FRows(Rows), FColors(static_cast<std::size_t>(Columns * Rows), 0xFFFFFF) {
  SetBounds(0, 0, Columns * kCell + 2, Rows * kCell + 2);
  SetTabStop(true);
}

TColor TColorCells::CellColor(int Index) const {
  return Index >= 0 && Index < CellCount() ? FColors[static_cast<std::size_t>(Index)] : 0;
}

void TColorCells::SetCellColor(int Index, TColor Value) {
  if (Index < 0 || Index >= CellCount()) return;
  FColors[static_cast<std::size_t>(Index)] = Value;
  Invalidate();
}

void TColorCells::SetCurrent(int Value) {
  if (Value < -1 || Value >= CellCount()) Value = -1;
  if (Value == FCurrent) return;
  FCurrent = Value;
  Invalidate();
}

TRect TColorCells::CellBounds(int Index) const {
  const int x = 1 + (Index % FColumns) * kCell;
  const int y = 1 + (Index / FColumns) * kCell;
  return {x, y, x + kCell, y + kCell};
}

void TColorCells::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(ClientRect());
  c.Pen()->SetWidth(1);
  for (int i = 0; i < CellCount(); ++i) {
    const TRect r = CellBounds(i);
    c.Pen()->SetColor(i == FCurrent ? clBlack : clGray);
    c.Brush()->SetColor(FColors[static_cast<std::size_t>(i)]);
    c.Rectangle(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    if (i == FCurrent) {
      c.Brush()->SetStyle(bsClear);
      c.Rectangle(r);
      if (Focused()) c.DrawFocusRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
      c.Brush()->SetStyle(bsSolid);
    }
  }
}

void TColorCells::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft || X < 1 || Y < 1) return;
  const int col = (X - 1) / kCell;
  const int row = (Y - 1) / kCell;
  if (col >= FColumns || row >= FRows) return;
  if (CanFocus()) SetFocus();
  SetCurrent(row * FColumns + col);
  if (FOnPick) FOnPick(FCurrent);
}

// ---- TColorDialogForm --------------------------------------------------------------------

TColorDialogForm::TColorDialogForm(TComponent* AOwner, TColor Start, const std::array<TColor, CustomColorCount>& Custom)
    : TForm(AOwner), FColor(ColorToRGB(Start)), FCustom(Custom) {
  SetCaption("Color");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 440, 330);
  auto label = [this](int X, int Y, const std::string& Text) {
    auto* l = new TLabel(this);
    l->SetParent(this);
    l->SetBounds(X, Y, 160, 16);
    l->SetCaption(Text);
  };
  label(8, 6, "Basic colours:");
  FBasic = new TColorCells(this, 8, 6);
  FBasic->SetParent(this);
  FBasic->SetBounds(8, 24, FBasic->Width(), FBasic->Height());
  for (int i = 0; i < BasicColorCount; ++i) FBasic->SetCellColor(i, BasicColors[static_cast<std::size_t>(i)]);
  FBasic->SetOnPick([this](int Index) {
    FCustomCells->SetCurrent(-1);
    SetColor(FBasic->CellColor(Index));
  });
  label(8, 164, "Custom colours:");
  FCustomCells = new TColorCells(this, 8, 2);
  FCustomCells->SetParent(this);
  FCustomCells->SetBounds(8, 182, FCustomCells->Width(), FCustomCells->Height());
  for (int i = 0; i < CustomColorCount; ++i) FCustomCells->SetCellColor(i, FCustom[static_cast<std::size_t>(i)]);
  FCustomCells->SetOnPick([this](int Index) {
    FBasic->SetCurrent(-1);
    SetColor(FCustomCells->CellColor(Index));
  });
  FAdd = new TButton(this);
  FAdd->SetParent(this);
  FAdd->SetBounds(8, 236, 178, 25);
  FAdd->SetCaption("&Add to custom colours");
  FAdd->SetOnClick([this](TObject*) { AddCustomColor(); });

  FPreview = new TPanel(this);
  FPreview->SetParent(this);
  FPreview->SetBounds(200, 24, 228, 90);
  FPreview->SetBevelOuter(bvLowered);
  FPreview->SetShowCaption(false);
  for (int i = 0; i < 6; ++i) {
    const int x = i < 3 ? 200 : 320;
    const int y = 128 + (i % 3) * 30;
    label(x, y + 3, kFieldNames[static_cast<std::size_t>(i)]);
    auto* edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(x + 46, y, 56, 23);
    edit->SetOnChange([this, i](TObject*) { FieldChanged(i); });
    FFields[static_cast<std::size_t>(i)] = edit;
  }
  FOk = new TButton(this);
  FOk->SetParent(this);
  FOk->SetBounds(252, 292, 80, 25);
  FOk->SetCaption("OK");
  FOk->SetDefault(true);
  FOk->SetModalResult(mrOk);
  FCancel = new TButton(this);
  FCancel->SetParent(this);
  FCancel->SetBounds(348, 292, 80, 25);
  FCancel->SetCaption("Cancel");
  FCancel->SetCancel(true);
  FCancel->SetModalResult(mrCancel);
  ShowColor(-1);
}

void TColorDialogForm::SetColor(TColor Value) {
  FColor = ColorToRGB(Value);
  ShowColor(-1);
}

void TColorDialogForm::AddCustomColor() {
  FCustom[static_cast<std::size_t>(FNextCustom)] = FColor;
  FCustomCells->SetCellColor(FNextCustom, FColor);
  FCustomCells->SetCurrent(FNextCustom);
  FNextCustom = (FNextCustom + 1) % CustomColorCount;
}

// Shows FColor in the preview and every field except SkipField (the one
// being typed in, which keeps its text).
void TColorDialogForm::ShowColor(int SkipField) {
  FUpdating = true;
  FPreview->SetColor(FColor);
  const THSV hsv = RGBToHSV(FColor);
  const std::array<int, 6> values{static_cast<int>(FColor & 0xFF), static_cast<int>((FColor >> 8) & 0xFF),
                                  static_cast<int>((FColor >> 16) & 0xFF), hsv.H, hsv.S, hsv.V};
  for (int i = 0; i < 6; ++i) {
    // Typing in a hue field must not have its own text rewritten, nor the
    // other HSV fields rounded from the RGB value it produced.
    if (i == SkipField || (SkipField >= 3 && i >= 3)) continue;
    FFields[static_cast<std::size_t>(i)]->SetText(std::to_string(values[static_cast<std::size_t>(i)]));
  }
  FUpdating = false;
}

void TColorDialogForm::FieldChanged(int Index) {
  if (FUpdating) return;
  std::array<int, 6> v{};
  for (int i = 0; i < 6; ++i) {
    if (!ParseField(FFields[static_cast<std::size_t>(i)]->Text(), kFieldMax[static_cast<std::size_t>(i)],
                    v[static_cast<std::size_t>(i)])) {
      return;  // an unfinished or wrong entry changes nothing yet
    }
  }
  FColor = Index < 3 ? MakeRGB(v[0], v[1], v[2]) : HSVToRGB({v[3], v[4], v[5]});
  FBasic->SetCurrent(-1);
  FCustomCells->SetCurrent(-1);
  ShowColor(Index);
}

// ---- TColorDialog --------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner) : TComponent(AOwner) { FCustom.fill(0xFFFFFF); }

TColor TColorDialog::CustomColor(int Index) const {
  return Index >= 0 && Index < CustomColorCount ? FCustom[static_cast<std::size_t>(Index)] : 0;
}

void TColorDialog::SetCustomColor(int Index, TColor Value) {
  if (Index >= 0 && Index < CustomColorCount) FCustom[static_cast<std::size_t>(Index)] = Value;
}

bool TColorDialog::Execute() {
  TColorDialogForm form(nullptr, FColor, FCustom);
  const bool ok = form.ShowModal() == mrOk;
  FCustom = form.CustomColors();  // custom colours are kept also on Cancel
  if (ok) FColor = form.Color();
  return ok;
}

}  // namespace vorn
