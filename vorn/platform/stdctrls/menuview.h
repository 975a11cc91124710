// An open popup menu on the screen: a chain of small borderless forms,
// one per open level: the menu itself, then each open submenu beside the
// item it belongs to (to the right, or to the left where the screen ends).
//
// Keyboard (the deepest level takes it): Up and Down move the highlight
// (disabled items are highlighted but cannot be chosen), Right or Enter on
// an item with sub-items opens its submenu, Left and Escape close the
// deepest submenu (Escape on the menu itself closes everything), Enter
// chooses. Mouse: hovering highlights and opens a submenu at once (and
// closes deeper ones), releasing over an enabled item chooses it, a press
// outside every level closes all.
//
// The tracker does not run the chosen item: the host closes the levels
// first and then calls Click, so a handler may delete the menu. A menu or
// item deleted while it is open (by a timer, say) closes the menu: every
// level watches the items it shows and lets go of them.
#pragma once

#include <memory>
#include <vector>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {

class TMenuTracker;

// One level: the visible items of a menu item, one row each.
class TMenuView : public TForm {
 public:
  TMenuView(TMenuTracker& Tracker, TMenuItem& Parent, int Level);

  // The item whose sub-items this level shows; null once it was deleted.
  [[nodiscard]] TMenuItem* ParentItem() const { return FParentItem; }
  [[nodiscard]] int ItemCount() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] TMenuItem* Item(int Index) const;
  // The highlighted row, -1 for none.
  [[nodiscard]] int Hot() const { return FHot; }
  void SetHot(int Index);
  // Client rectangle of a row.
  [[nodiscard]] TRect ItemRect(int Index) const;
  [[nodiscard]] int ItemAt(int X, int Y) const;
  // Moves the highlight by Step over the rows that are no separators.
  void StepHot(int Step);

  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  static constexpr int ImageSize = 16;
  static constexpr int SeparatorHeight = 7;

 private:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintItem(TCanvas& C, int Index);
  TMenuTracker& FTracker;
  TMenuItem* FParentItem;
  int FLevel;
  std::vector<TMenuItem*> FItems;
  int FRowHeight = 20;
  int FHot = -1;
};

class TMenuTracker {
 public:
  // Opens the menu's first level at a screen point.
  TMenuTracker(TPopupMenu& Menu, int X, int Y);
  ~TMenuTracker();
  TMenuTracker(const TMenuTracker&) = delete;
  TMenuTracker& operator=(const TMenuTracker&) = delete;

  // The tracker whose menu is open now (the innermost), or null. Hosts
  // send it the keys and the presses outside its levels.
  static TMenuTracker* Active();

  [[nodiscard]] bool Done() const { return FDone; }
  [[nodiscard]] TMenuItem* Chosen() const { return FChosen; }
  [[nodiscard]] int LevelCount() const { return static_cast<int>(FLevels.size()); }
  [[nodiscard]] TMenuView* Level(int Index) const;
  [[nodiscard]] bool Owns(const TCustomForm* Form) const;

  void KeyDown(Word Key);
  // A press outside every level: closes all, nothing chosen.
  void Cancel();

  // For the levels.
  void OpenSubmenu(int Level, int Index, bool SelectFirst);
  void CloseAbove(int Level);
  void Choose(TMenuItem* Item);
  // An item shown by a level was deleted: the menu closes, and the item
  // is no longer the chosen one.
  void ItemGone(const TComponent* Item);

 private:
  void Finish();
  std::vector<std::unique_ptr<TMenuView>> FLevels;
  TMenuTracker* FOuter;
  TMenuItem* FChosen = nullptr;
  bool FDone = false;
};

}  // namespace vorn
