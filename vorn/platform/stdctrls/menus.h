// Popup menus and their items. A popup menu is shown by the host at a
// screen point; choosing an item runs its OnClick.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/components.h"

namespace vorn {

class TControl;

// Where a popup menu stands against the point it opens at: its left edge,
// its right edge or its middle there.
enum TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  [[nodiscard]] bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  [[nodiscard]] bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  [[nodiscard]] bool Checked() const { return FChecked; }
  void SetChecked(bool Value) { FChecked = Value; }
  // A caption of "-" makes a separator line.
  [[nodiscard]] bool IsLine() const { return FCaption == "-"; }
  // The item's image, drawn left of the caption; transparent (the colour
  // of its bottom-left pixel is left out) unless the program says otherwise.
  [[nodiscard]] TBitmap* Bitmap() const { return FBitmap.get(); }

  // Sub-items, for submenus. Items added here are owned by this item
  // unless they have an owner already.
  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] TMenuItem* Items(int Index) const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  void Clear();
  [[nodiscard]] TMenuItem* Parent() const { return FParent; }
  [[nodiscard]] int MenuIndex() const;
  // The item of that name among all descendants, or null.
  [[nodiscard]] TMenuItem* Find(const std::string& ACaption) const;

  // Runs OnClick (when enabled).
  virtual void Click();
  [[nodiscard]] const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent E) { FOnClick = std::move(E); }

 private:
  std::string FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TNotifyEvent FOnClick;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);

  [[nodiscard]] TMenuItem* Items() const { return FItems; }
  // Raises OnPopup, then shows the menu at a screen point.
  virtual void Popup(int X, int Y);
  [[nodiscard]] TControl* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TControl* Value) { FPopupComponent = Value; }
  [[nodiscard]] bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  [[nodiscard]] TPoint PopupPoint() const { return FPopupPoint; }
  [[nodiscard]] TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }

  [[nodiscard]] const TNotifyEvent& OnPopup() const { return FOnPopup; }
  void SetOnPopup(TNotifyEvent E) { FOnPopup = std::move(E); }

 private:
  TMenuItem* FItems;  // owned as a component
  TControl* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  TPoint FPopupPoint;
  TPopupAlignment FAlignment = paLeft;
  TNotifyEvent FOnPopup;
};

}  // namespace vorn
