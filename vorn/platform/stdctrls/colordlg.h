// The colour dialog: a modal form to pick a colour from 48 basic colours,
// 16 custom colours, or by red, green and blue (0..255) or hue (0..359),
// saturation and value (0..100), with a preview of the colour.
//
//   TColorDialog dialog(nullptr);
//   dialog.SetColor(clRed);
//   if (dialog.Execute()) use(dialog.Color());
//
// "Add to custom colours" stores the current colour in the next custom
// slot (slots are filled in turn, then overwritten from the first). The
// custom colours are kept by the dialog component between executions.
// Under the headless host the form is shown through the modal handler,
// which may use the form's controls (TColorDialogForm) to pick a colour.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/graphics/color.h"

namespace vorn {

class TEdit;
class TButton;
class TPanel;

// Hue 0..359 degrees, saturation and value 0..100 (rounded).
struct THSV {
  int H = 0;
  int S = 0;
  int V = 0;
};
THSV RGBToHSV(TColor RGB);
// H is taken modulo 360; S and V are clamped to 0..100.
TColor HSVToRGB(const THSV& HSV);

constexpr int BasicColorCount = 48;
constexpr int CustomColorCount = 16;
extern const std::array<TColor, BasicColorCount> BasicColors;

// Colour cells in a grid; a click picks one.
class TColorCells : public TCustomControl {
 public:
  TColorCells(TComponent* AOwner, int Columns, int Rows);
  [[nodiscard]] int CellCount() const { return static_cast<int>(FColors.size()); }
  [[nodiscard]] TColor CellColor(int Index) const;
  void SetCellColor(int Index, TColor Value);
  // The highlighted cell, -1 for none.
  [[nodiscard]] int Current() const { return FCurrent; }
  void SetCurrent(int Value);
  // The cell's rectangle in client coordinates.
  [[nodiscard]] TRect CellBounds(int Index) const;
  void SetOnPick(std::function<void(int Index)> Handler) { FOnPick = std::move(Handler); }

  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  int FColumns;
  int FRows;
  std::vector<TColor> FColors;
  int FCurrent = -1;
  std::function<void(int Index)> FOnPick;
};

class TColorDialogForm : public TForm {
 public:
  TColorDialogForm(TComponent* AOwner, TColor Start, const std::array<TColor, CustomColorCount>& Custom);

  [[nodiscard]] TColor Color() const { return FColor; }
  // Sets the colour and every field showing it.
  void SetColor(TColor Value);
  [[nodiscard]] const std::array<TColor, CustomColorCount>& CustomColors() const { return FCustom; }
  void AddCustomColor();

  [[nodiscard]] TColorCells* BasicCells() const { return FBasic; }
  [[nodiscard]] TColorCells* CustomCells() const { return FCustomCells; }
  // Red, green, blue, hue, saturation, value.
  [[nodiscard]] TEdit* Field(int Index) const { return FFields[static_cast<std::size_t>(Index)]; }
  [[nodiscard]] TPanel* Preview() const { return FPreview; }
  [[nodiscard]] TButton* OkButton() const { return FOk; }
  [[nodiscard]] TButton* CancelButton() const { return FCancel; }
  [[nodiscard]] TButton* AddButton() const { return FAdd; }

 private:
  void ShowColor(int SkipField);
  void FieldChanged(int Index);

  TColor FColor;
  std::array<TColor, CustomColorCount> FCustom;
  int FNextCustom = 0;
  bool FUpdating = false;
  TColorCells* FBasic = nullptr;
  TColorCells* FCustomCells = nullptr;
  std::array<TEdit*, 6> FFields{};
  TPanel* FPreview = nullptr;
  TButton* FOk = nullptr;
  TButton* FCancel = nullptr;
  TButton* FAdd = nullptr;
};

class TColorDialog : public TComponent {
 public:
  explicit TColorDialog(TComponent* AOwner);

  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  [[nodiscard]] TColor CustomColor(int Index) const;
  void SetCustomColor(int Index, TColor Value);
  // Shows the dialog; true when it was closed with OK (Color then holds
  // the chosen colour, as an RGB value).
  bool Execute();

 private:
  TColor FColor = 0x000000;
  std::array<TColor, CustomColorCount> FCustom;
};

}  // namespace vorn
