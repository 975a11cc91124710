// TColSel: a drop-down list for choosing a colour. Each entry shows a
// colour bar and the colour's name. The list holds up to 47 colours from
// PredefinedColors in one of four palettes (basic VGA 16, extended 20,
// standard 47, system 27); entries marked editable are changed with the
// colour dialog by opening the list while the mouse is over the colour
// bar.
//
// Entries are numbered 1..NumColors; list item k shows entry k + 1. A
// selector made in code has an empty list until NumColors is set or a
// palette is loaded (or Loaded runs after loading from a form).
//
// Names: every new name of an entry is made with ColorToString (from the
// colour value for Colors and palettes, from its RGB value for SelColor
// and the dialog) and offered to OnColorNameChange, which may replace it.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "vorn/foundation/basics.h"
#include "vorn/platform/stdctrls/combobox.h"

namespace vorn {

using TOnColorNameChangeEvent = std::function<void(TObject* Sender, std::string& ColorName)>;

class TColSel : public TCustomComboBox {
 public:
  static constexpr int MaxColors = NumPredefinedColors;

  explicit TColSel(TComponent* AOwner);

  [[nodiscard]] int ColorBarWidth() const { return FColorBarWidth; }
  // Negative widths are ignored.
  void SetColorBarWidth(int Value);
  [[nodiscard]] int NumColors() const { return FNumColors; }
  // 1..47; selects entry 1 and fills the list.
  void SetNumColors(int Value);
  [[nodiscard]] TColor SelColor() const;
  // Selects the first entry of the same RGB value, or recolours the
  // selected entry when there is none.
  void SetSelColor(TColor Value);
  [[nodiscard]] std::string SelColorID() const;
  // The selected entry (1-based).
  [[nodiscard]] int SelectedEntry() const { return FSelColorIx; }

  // Entries 1..NumColors; reads outside give 0, "" or false, writes there
  // are ignored.
  [[nodiscard]] TColor Colors(int Index) const;
  void SetColors(int Index, TColor Value);
  [[nodiscard]] std::string ColorNames(int Index) const;
  void SetColorNames(int Index, const std::string& Value);
  [[nodiscard]] bool ColorEditAllowed(int Index) const;
  void SetColorEditAllowed(int Index, bool Value);
  void SetAllColorEditFlags();
  void ResetAllColorEditFlags();

  void LoadBasicVGAPalette() { LoadPalette(1, 16); }
  void LoadExtendedPalette() { LoadPalette(1, 20); }
  void LoadStandardPalette() { LoadPalette(1, 47); }
  void LoadWindowsSystemPalette() { LoadPalette(21, 27); }

  [[nodiscard]] const TOnColorNameChangeEvent& OnColorNameChange() const { return FOnCNameChange; }
  void SetOnColorNameChange(TOnColorNameChangeEvent Value) { FOnCNameChange = std::move(Value); }
  // The host's handler of the list opening; the selector runs its colour
  // dialog before it.
  void SetOnDropDown(TNotifyEvent Value) { FOnUserDropDown = std::move(Value); }

  void SetEnabled(bool Value) override;
  void Loaded() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  // 1 while the mouse is over the colour bar, else 0.
  [[nodiscard]] int MouseAreaCode() const { return FMouseAreaCode; }

 protected:
  void Change() override;

 private:
  [[nodiscard]] bool Inside(int Index) const { return Index >= 1 && Index <= FNumColors; }
  [[nodiscard]] std::size_t Slot(int Index) const { return static_cast<std::size_t>(Index - 1); }
  void Name(int Index, TColor Value);
  void LoadPalette(int First, int Count);
  void FillList();
  void BeforeDropDown();

  int FColorBarWidth = 30;
  int FSelColorIx = 1;
  int FNumColors = 20;
  bool FEnabled = true;
  int FMouseAreaCode = 0;
  std::array<TColor, MaxColors> FColors{};
  std::array<std::string, MaxColors> FColorNames;
  std::array<bool, MaxColors> FIsUserEditable{};
  TOnColorNameChangeEvent FOnCNameChange;
  TNotifyEvent FOnUserDropDown;
};

}  // namespace vorn
