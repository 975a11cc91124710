#include "vorn/platform/stdctrls/menus.h"

#include <algorithm>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/runtime/host.h"

namespace vorn {

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FBitmap(std::make_unique<TBitmap>()) {
  FBitmap->SetTransparent(true);
}

TMenuItem::~TMenuItem() {
  Destroying();
  if (FParent != nullptr) FParent->Remove(this);
  // Sub-items owned by someone else stay alive but lose their parent.
  for (TMenuItem* item : FItems) item->FParent = nullptr;
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item == nullptr || Item == this || Item->FParent == this) return;
  if (Item->FParent != nullptr) Item->FParent->Remove(Item);
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->Owner() == nullptr) InsertComponent(Item);
}

void TMenuItem::Remove(TMenuItem* Item) {
  const auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) {
    TMenuItem* item = FItems.back();
    if (item->Owner() == this) {
      delete item;
    } else {
      Remove(item);
    }
  }
}

int TMenuItem::MenuIndex() const {
  if (FParent == nullptr) return -1;
  const auto& list = FParent->FItems;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  for (TMenuItem* item : FItems) {
    if (item->FCaption == ACaption) return item;
    if (TMenuItem* inner = item->Find(ACaption)) return inner;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (FEnabled) RaiseEvent(FOnClick, this);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = {X, Y};
  RaiseEvent(FOnPopup, this);
  CurrentHost().ShowPopup(*this, X, Y);
}

void ShowPopupMenu(TPopupMenu* Menu, TControl* PopupComponent, int X, int Y) {
  if (Menu == nullptr || !Menu->AutoPopup()) return;
  Menu->SetPopupComponent(PopupComponent);
  Menu->Popup(X, Y);
}

}  // namespace vorn
