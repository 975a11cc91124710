// Gallery page of the memo and of popup menus with submenus and images.
#include <memory>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/memo.h"
#include "vorn/platform/stdctrls/menus.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn::gallery {
namespace {

TMenuItem* AddItem(TMenuItem* Parent, TComponent* Owner, const std::string& Caption, TLabel* Report) {
  auto* item = new TMenuItem(Owner);
  item->SetCaption(Caption);
  Parent->Add(item);
  item->SetOnClick([Report, item](TObject*) {
    std::string path = item->Caption();
    for (TMenuItem* p = item->Parent(); p != nullptr && p->Parent() != nullptr; p = p->Parent()) {
      path = p->Caption() + " > " + path;
    }
    Report->SetCaption("Chosen: " + path);
  });
  return item;
}

// A menu like a table's: marking submenus, a disabled item, a setting
// shown as a checked or empty box.
TPopupMenu* BuildMenu(TComponent* Owner, TLabel* Report) {
  auto* menu = new TPopupMenu(Owner);
  for (const char* group : {"Mark as type A", "Mark as type B", "Unmark type A"}) {
    TMenuItem* sub = AddItem(menu->Items(), Owner, group, Report);
    for (const char* scope : {"Range", "Column", "Row", "All"}) AddItem(sub, Owner, scope, Report);
  }
  TMenuItem* more = AddItem(menu->Items(), Owner, "More", Report);
  TMenuItem* deeper = AddItem(more, Owner, "Deeper", Report);
  AddItem(deeper, Owner, "Deepest", Report);
  AddItem(more, Owner, "Beside", Report);
  AddItem(menu->Items(), Owner, "-", Report);
  AddItem(menu->Items(), Owner, "Copy", Report);
  AddItem(menu->Items(), Owner, "Paste", Report)->SetEnabled(false);
  TMenuItem* readOnly = AddItem(menu->Items(), Owner, "Data Read-Only", Report);
  readOnly->Bitmap()->LoadFromResourceName("EMPTYBOX");
  auto on = std::make_shared<bool>(false);
  readOnly->SetOnClick([readOnly, on, Report](TObject*) {
    *on = !*on;
    readOnly->Bitmap()->LoadFromResourceName(*on ? "CHECKEDBOX" : "EMPTYBOX");
    Report->SetCaption(*on ? "Data read-only: on" : "Data read-only: off");
  });
  TMenuItem* locked = AddItem(menu->Items(), Owner, "Locked setting", Report);
  locked->Bitmap()->LoadFromResourceName("CHECKEDBOX");
  locked->SetEnabled(false);
  return menu;
}

void BuildMemoPage(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  auto* wrapped = new TMemo(owner);
  wrapped->SetParent(&parent);
  wrapped->SetBounds(0, 0, 260, 120);
  wrapped->SetScrollBars(ssVertical);
  wrapped->Lines().Add("A memo with word wrap: long lines break after a blank to fit the box.");
  wrapped->Lines().Add("Enter starts a new line; Tab moves to the next control.");
  for (int i = 1; i <= 8; ++i) wrapped->Lines().Add("Line " + std::to_string(i) + " of a text taller than the box.");

  auto* plain = new TMemo(owner);
  plain->SetParent(&parent);
  plain->SetBounds(280, 0, 260, 120);
  plain->SetWordWrap(false);
  plain->SetWantTabs(true);
  plain->SetScrollBars(ssBoth);
  plain->SetText("Without word wrap a long line scrolls sideways to the caret.\nThis memo takes Tab as a character.\n\tindented\n");
  plain->SetSelStart(10);
  plain->SetSelLength(27);
  plain->SetHideSelection(false);

  auto* comment = new TMemo(owner);
  comment->SetParent(&parent);
  comment->SetBounds(0, 135, 260, 60);
  comment->SetColor(static_cast<TColor>(0x808000));
  comment->Font()->SetColor(clWhite);
  comment->SetMaxLength(80);
  comment->SetText("A coloured memo limited to 80 characters.");

  auto* report = new TLabel(owner);
  report->SetParent(&parent);
  report->SetBounds(280, 190, 300, 20);
  report->SetCaption("Chosen: nothing yet");

  auto* target = new TPanel(owner);
  target->SetParent(&parent);
  target->SetBounds(280, 135, 260, 45);
  target->SetBevelOuter(bvLowered);
  target->SetCaption("Right-click: menu with submenus");
  target->SetPopupMenu(BuildMenu(owner, report));
}

VORN_GALLERY_PAGE(TPage{1, "memo", "Memo and menus",
                        "Memos: word-wrapped with a vertical scroll bar, unwrapped with both bars and a kept "
                        "selection, coloured with a length limit. The panel's right-click menu has submenus "
                        "(also two levels deep), a disabled item and items with check box images.",
                        BuildMemoPage});

}  // namespace
}  // namespace vorn::gallery
