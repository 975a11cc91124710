// Gallery pages of the calendar, the thumbnail viewer, the folder tree, the
// auto-repeat button, the tree view and the colour dialog.
#include <array>
#include <memory>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/pickers/colsel.h"
#include "vorn/pickers/foldertree.h"
#include "vorn/pickers/minical.h"
#include "vorn/pickers/repsbut.h"
#include "vorn/pickers/thumbnails.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/colordlg.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/panel.h"
#include "vorn/platform/stdctrls/treeview.h"

namespace vorn::gallery {
namespace {

TLabel* Caption(TWinControl& Parent, int X, int Y, int W, const std::string& Text) {
  auto* label = new TLabel(Parent.Owner());
  label->SetParent(&Parent);
  label->SetBounds(X, Y, W, 17);
  label->SetCaption(Text);
  return label;
}

template <typename T>
T* Place(TWinControl& Parent, int X, int Y, int W, int H) {
  auto* control = new T(Parent.Owner());
  control->SetParent(&Parent);
  control->SetBounds(X, Y, W, H);
  return control;
}

// ---- calendar ---------------------------------------------------------------------------

void BuildMiniCal(TWinControl& parent) {
  Caption(parent, 0, 0, 300, "English, weeks from Monday, December 2024");
  auto* cal = Place<TMiniCal>(parent, 0, 18, 300, 180);
  cal->SetDate(EncodeDate(2024, 12, 10));
  Caption(parent, 320, 0, 300, "German, weeks from Sunday, long month names");
  auto* de = Place<TMiniCal>(parent, 320, 18, 300, 180);
  de->SetLanguage(lgGerman);
  de->SetFirstDayOfWeek(dwSun);
  de->SetShowMonthShort(false);
  de->SetDate(EncodeDate(2024, 5, 20));  // Whit Monday
  Caption(parent, 0, 210, 300, "Small, a one-off holiday on 3 October 2025");
  auto* small = Place<TMiniCal>(parent, 0, 228, 220, 140);
  small->AddHoliday(3, 10, 2025, "Unity Day");
  small->SetDate(EncodeDate(2025, 10, 3));
}

VORN_GALLERY_PAGE(TPage{70, "minical", "Month calendar",
                        "ISO week numbers, weekday colours, yearly, one-off and Easter-based holidays; the "
                        "buttons step by month and year, \"#\" jumps to today.",
                        BuildMiniCal});

// ---- thumbnails -----------------------------------------------------------------------------

void BuildThumbnails(TWinControl& parent) {
  Caption(parent, 0, 0, 600, "100,000 slides; pictures drawn on request, every seventh slide left empty");
  auto* view = Place<TThumbnails>(parent, 0, 18, 600, 380);
  view->SetMax(100000);
  view->SetSlideSize(110);
  view->SetSlideSelectMode(ssmMultiple);
  view->SetSlideSelected(3, true);
  view->SetSlideSelected(5, true);
  view->SetOnImageRequest([](TObject*, int Id, TImageRequestProcessing& How, int& Mark, TBitmap*& Buffer) {
    if (Id % 7 == 0) return;  // the empty slide with its number
    How = irpShowSlide;
    const int w = Id % 2 == 0 ? 160 : 90;
    const int h = Id % 2 == 0 ? 90 : 160;
    Buffer->SetSize(w, h);
    TCanvas& c = *Buffer->Canvas();
    for (int y = 0; y < h; y += 4) {
      c.Brush()->SetColor(static_cast<TColor>(((Id * 40) & 0xFF) | ((y * 255 / h) << 8) | (0x80 << 16)));
      c.FillRect({0, y, w, y + 4});
    }
    c.Pen()->SetColor(0xFFFFFF);
    c.Brush()->SetColor(0x2080FF);
    c.Ellipse(w / 4, h / 4, w * 3 / 4, h * 3 / 4);
    if (Id % 5 == 0) Mark = 12;
  });
}

VORN_GALLERY_PAGE(TPage{71, "thumbnails", "Thumbnail viewer",
                        "Slides whose pictures the host draws on request, fitted with their aspect kept; the "
                        "mouse outlines a slide, clicks select (Ctrl toggles, Shift selects a range).",
                        BuildThumbnails});

// ---- folder tree and tree view ----------------------------------------------------------------

void BuildFolderTree(TWinControl& parent) {
  Caption(parent, 0, 0, 300, "Folder tree, opened at /tmp");
  auto* tree = Place<TFolderTree>(parent, 0, 18, 300, 360);
  auto* dir = Caption(parent, 0, 384, 600, "");
  tree->SetOnDirChanged([tree, dir](TObject*) { dir->SetCaption("Directory: " + tree->Directory()); });
  tree->SelectPath("/tmp");
  Caption(parent, 320, 0, 300, "Tree view with hot tracking");
  auto* view = Place<TTreeView>(parent, 320, 18, 260, 200);
  view->SetHotTrack(true);
  TTreeNodes& n = *view->Items();
  TTreeNode* fruit = n.AddChild(nullptr, "Fruit");
  n.AddChild(fruit, "Apple");
  TTreeNode* citrus = n.AddChild(fruit, "Citrus");
  n.AddChild(citrus, "Lemon");
  n.AddChild(citrus, "Orange");
  n.AddChild(fruit, "Pear");
  TTreeNode* veg = n.AddChild(nullptr, "Vegetables");
  n.AddChild(veg, "Carrot");
  n.AddChild(veg, "Leek");
  n.AddChild(nullptr, "Bread");
  fruit->Expand(true);
  view->SetSelected(citrus->Item(1));
}

VORN_GALLERY_PAGE(TPage{72, "foldertree", "Folder tree and tree view",
                        "Folders read when they are opened; hidden folders stay hidden and links that loop are "
                        "not opened. The tree view beside it: lines, buttons, keys and typed names.",
                        BuildFolderTree});

// ---- auto-repeat button and colour dialog ------------------------------------------------------

void BuildButtons(TWinControl& parent) {
  Caption(parent, 0, 0, 400, "Hold the buttons: repeats after 500 ms, then every 100 ms");
  auto* value = Caption(parent, 70, 26, 100, "0");
  auto count = std::make_shared<int>(0);
  auto* down = Place<TRepSpeedButton>(parent, 0, 22, 30, 24);
  down->SetCaption("-");
  auto* up = Place<TRepSpeedButton>(parent, 34, 22, 30, 24);
  up->SetCaption("+");
  for (auto [button, step] : {std::pair{down, -1}, std::pair{up, +1}}) {
    button->SetRepeatClickInterval(100);
    auto bump = [count, value, step = step](TObject*) {
      *count += step;
      value->SetCaption(std::to_string(*count));
    };
    button->SetOnClick(bump);
    button->SetOnRepeatClick(bump);
  }
  Caption(parent, 0, 70, 400, "Colour dialog");
  auto* preview = Place<TPanel>(parent, 110, 88, 80, 25);
  preview->SetShowCaption(false);
  preview->SetColor(0x40A0E0);
  auto* pick = Place<TButton>(parent, 0, 88, 100, 25);
  pick->SetCaption("&Choose...");
  pick->SetOnClick([preview](TObject*) {
    TColorDialog dialog(nullptr);
    dialog.SetColor(preview->Color());
    if (dialog.Execute()) preview->SetColor(dialog.Color());
  });
  Caption(parent, 220, 70, 200, "Colour selector (entry 1 editable)");
  auto* colsel = Place<TColSel>(parent, 220, 88, 200, 24);
  colsel->LoadStandardPalette();
  colsel->SetColorEditAllowed(1, true);
  colsel->SetSelColor(clRed);
  colsel->SetDropDownCount(12);
  Caption(parent, 440, 70, 200, "Disabled, system palette");
  auto* off = Place<TColSel>(parent, 440, 88, 200, 24);
  off->LoadWindowsSystemPalette();
  off->SetEnabled(false);
  Caption(parent, 0, 126, 400, "The dialog's form:");
  std::array<TColor, CustomColorCount> custom{};
  custom.fill(clWhite);
  custom[0] = 0x40A0E0;
  auto* form = new TColorDialogForm(parent.Owner(), 0x40A0E0, custom);
  form->SetBorderStyle(bsNone);
  form->SetParent(&parent);
  form->SetBounds(0, 144, 440, 330);
  form->Show();
}

VORN_GALLERY_PAGE(TPage{73, "pickbuttons", "Repeat button, colours",
                        "Speed buttons that repeat while held; colour selectors (open over the bar of an editable "
                        "entry for the dialog); the colour dialog with basic and custom colours, RGB and HSV fields.",
                        BuildButtons});

}  // namespace
}  // namespace vorn::gallery
