// Gallery page of the standard controls a dialog is built from: combo
// boxes in every style, right-aligned labels of fixed width, and a button
// that opens a small modal dialog.
#include <iterator>
#include <memory>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/combobox.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn::gallery {
namespace {

TLabel* FieldLabel(TComponent* Owner, TWinControl& Parent, int Top, const std::string& Caption) {
  auto* label = new TLabel(Owner);
  label->SetParent(&Parent);
  label->SetAutoSize(false);
  label->SetAlignment(taRightJustify);
  label->SetBounds(0, Top + 3, 130, 18);
  label->SetCaption(Caption);
  return label;
}

// A colour swatch and the colour's name per item, the colour taken from
// the item's place in the list.
void DrawSwatch(TCustomComboBox* Box, int Index, const TRect& Rect, TOwnerDrawState State) {
  static const TColor colours[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua, clBlack, clWhite};
  TCanvas& c = *Box->Canvas();
  c.FillRect(Rect);
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(colours[static_cast<std::size_t>(Index) % std::size(colours)]);
  c.Rectangle(Rect.Left + 2, Rect.Top + 2, Rect.Left + 30, Rect.Bottom - 2);
  c.Brush()->SetStyle(bsClear);
  c.Font()->SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
  c.TextOut(Rect.Left + 36, Rect.Top + (Rect.Height() - c.TextHeight("Ag")) / 2, Box->Items()->Strings(Index));
}

// The dialog: a name and a size, OK and Cancel; returns the modal result
// and what was entered.
int RunDialog(TComponent* Owner, std::string& Result) {
  auto dialog = std::make_unique<TForm>(Owner);
  dialog->SetBorderStyle(bsDialog);
  dialog->SetCaption("A small dialog");
  dialog->SetBounds(200, 200, 320, 150);
  FieldLabel(dialog.get(), *dialog, 45, "Name:")->SetWidth(90);
  auto* name = new TEdit(dialog.get());
  name->SetParent(dialog.get());
  name->SetBounds(100, 45, 200, 21);
  name->SetText("Sample");
  FieldLabel(dialog.get(), *dialog, 75, "Size:")->SetWidth(90);
  auto* size = new TComboBox(dialog.get());
  size->SetParent(dialog.get());
  size->SetStyle(csDropDownList);
  size->SetBounds(100, 75, 120, 21);
  for (const char* s : {"small", "medium", "large", "huge"}) size->Items()->Add(s);
  size->SetItemIndex(1);
  // Return presses OK and Escape presses Cancel, wherever the focus is.
  auto* ok = new TButton(dialog.get());
  ok->SetParent(dialog.get());
  ok->SetBounds(140, 4, 81, 29);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = new TButton(dialog.get());
  cancel->SetParent(dialog.get());
  cancel->SetBounds(225, 4, 81, 29);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  const int result = dialog->ShowModal();
  Result = name->Text() + ", " + size->Text();
  return result;
}

void BuildStandardControls(TWinControl& Parent) {
  TComponent* owner = Parent.Owner();
  auto* status = new TLabel(owner);
  status->SetParent(&Parent);
  status->SetBounds(140, 130, 400, 18);
  status->SetCaption("Choose something.");
  const auto report = [status](TCustomComboBox* Box) {
    status->SetCaption(Box->Name() + ": \"" + Box->Text() + "\" (item " + std::to_string(Box->ItemIndex()) + ")");
  };

  FieldLabel(owner, Parent, 0, "Editable:");
  auto* editable = new TComboBox(owner);
  editable->SetName("Editable");
  editable->SetParent(&Parent);
  editable->SetBounds(140, 0, 180, 21);
  for (const char* s : {"apple", "banana", "blueberry", "cherry", "date", "elderberry"}) editable->Items()->Add(s);
  editable->SetText("banana");
  editable->SetOnChange([=](TObject*) { report(editable); });

  FieldLabel(owner, Parent, 30, "List, 40 items:");
  auto* list = new TComboBox(owner);
  list->SetName("List");
  list->SetParent(&Parent);
  list->SetStyle(csDropDownList);
  list->SetBounds(140, 30, 180, 21);
  list->SetDropDownCount(8);
  list->Items()->BeginUpdate();
  for (int i = 1; i <= 40; ++i) list->Items()->Add("Line " + std::to_string(i));
  list->Items()->EndUpdate();
  list->SetItemIndex(11);
  list->SetOnSelect([=](TObject*) { report(list); });

  FieldLabel(owner, Parent, 60, "Owner-drawn:");
  auto* colours = new TComboBox(owner);
  colours->SetName("Colours");
  colours->SetParent(&Parent);
  colours->SetStyle(csOwnerDrawFixed);
  colours->SetItemHeight(18);
  colours->SetBounds(140, 60, 180, 24);
  for (const char* s : {"Red", "Lime", "Blue", "Yellow", "Fuchsia", "Aqua", "Black", "White"}) colours->Items()->Add(s);
  colours->SetItemIndex(2);
  colours->SetOnDrawItem([colours](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
    DrawSwatch(colours, Index, R, State);
  });
  colours->SetOnSelect([=](TObject*) { report(colours); });

  FieldLabel(owner, Parent, 95, "Disabled:");
  auto* disabled = new TComboBox(owner);
  disabled->SetParent(&Parent);
  disabled->SetStyle(csDropDownList);
  disabled->SetBounds(140, 95, 180, 21);
  disabled->Items()->Add("cannot change");
  disabled->SetItemIndex(0);
  disabled->SetEnabled(false);

  auto* open = new TButton(owner);
  open->SetParent(&Parent);
  open->SetBounds(140, 160, 140, 28);
  open->SetCaption("Open a dialog...");
  open->SetOnClick([owner, status](TObject*) {
    std::string entered;
    const int result = RunDialog(owner, entered);
    status->SetCaption(std::string(result == mrOk ? "OK: " : "Cancel: ") + entered);
  });
}

VORN_GALLERY_PAGE(TPage{4, "stdctrls", "Combo boxes and dialogs",
                        "Combo boxes in every style: an editable one, a list of 40 lines that scrolls, owner-drawn "
                        "colour swatches and a disabled one, with right-aligned labels of fixed width. The button "
                        "opens a small modal dialog with OK and Cancel.",
                        BuildStandardControls});

}  // namespace
}  // namespace vorn::gallery
