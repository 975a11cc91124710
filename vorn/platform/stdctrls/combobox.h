// Combo boxes: a text with a button that drops down a list of items.
//
// Styles:
// - csDropDown: the text is an edit field with everything the single-line
//   edit does (caret, selection, clipboard, undo); the list proposes texts.
//   ItemIndex follows the text: the item equal to it, or -1.
// - csDropDownList: the text is always one of the items, or empty; keys
//   and typed letters pick items.
// - csOwnerDrawFixed: as csDropDownList, but every item, in the list and
//   in the box, is drawn by DrawItem (by default OnDrawItem) in rows
//   ItemHeight pixels high; the box is ItemHeight + 6 pixels high.
//
// The list drops down in a window of its own below the box (Alt+Down, F4,
// a click on the button, or in the list styles a click anywhere on the
// box). While it is open the box keeps the keys: Up, Down, PageUp,
// PageDown, Home, End and typed letters move the highlight, Enter, F4,
// Alt+Up or a click takes the highlighted item, Escape or a click outside
// closes it without choosing. It shows DropDownCount rows and scrolls
// (wheel, scroll bar, keys) when there are more items. On the closed box
// the same keys (in csDropDown Up, Down, PageUp and PageDown only) and the
// wheel choose items directly.
//
// Events (a handler may delete the combo box):
// - OnChange: the text changed: typed, an item chosen by the user, or Text
//   assigned by the program, as with the edit. Setting ItemIndex or
//   changing Items in code does not raise it.
// - OnSelect: the user chose an item; after OnChange.
// - OnDropDown: before the list opens; a handler may fill Items.
// - OnCloseUp: after the list closed, with or without a choice (after
//   OnChange and OnSelect of the choice).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "vorn/platform/runtime/stringlist.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {

class TDropDownWindow;
class TComboListBox;

enum TComboBoxStyle : std::uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

enum TOwnerDrawStateItem : std::uint8_t {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomComboBox : public TCustomEdit {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  // csSimple and csOwnerDrawVariable behave as csDropDown and
  // csOwnerDrawFixed.
  [[nodiscard]] TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  [[nodiscard]] TStrings* Items() const { return FItems.get(); }
  // The chosen item, or -1.
  [[nodiscard]] int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // A list style selects the item with that text; any other text leaves
  // no item chosen and the box empty.
  void SetText(const std::string& Value) override;
  [[nodiscard]] int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value < 1 ? 1 : Value; }
  // The height of a list row: set for csOwnerDrawFixed, else the font's.
  [[nodiscard]] int ItemHeight() const;
  void SetItemHeight(int Value);

  [[nodiscard]] bool DroppedDown() const;
  void SetDroppedDown(bool Value);
  // Opens the list (raising OnDropDown first).
  void DropDown();
  // Closes the list; with Accept the highlighted item becomes the choice.
  void CloseUp(bool Accept);
  // The open list: the item highlighted and the first item shown.
  [[nodiscard]] int ListHighlight() const;
  [[nodiscard]] int ListTopIndex() const;
  [[nodiscard]] TDropDownWindow* DropDownWindow() const { return FWindow; }

  // Draws one item into Rect on Canvas (the box's, or the list's while the
  // list paints). The canvas comes prepared: font, and the brush and font
  // colour of the selection state. The default raises OnDrawItem and,
  // without a handler, fills Rect and writes the item's text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  [[nodiscard]] TCanvas* Canvas() const override;

  [[nodiscard]] const TNotifyEvent& OnSelect() const { return FOnSelect; }
  void SetOnSelect(TNotifyEvent E) { FOnSelect = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent E) { FOnDropDown = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TNotifyEvent E) { FOnCloseUp = std::move(E); }
  [[nodiscard]] const TDrawItemEvent& OnDrawItem() const { return FOnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent E) { FOnDrawItem = std::move(E); }

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Change() override;
  [[nodiscard]] TRect TextArea() const override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  // Whether the text is an edit field (csDropDown, csSimple).
  [[nodiscard]] bool Editable() const { return FStyle == csDropDown || FStyle == csSimple; }
  [[nodiscard]] bool OwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }

 private:
  friend class TComboListBox;
  // Makes Index the choice and shows its text; a user's choice raises
  // OnChange (when the text changed) and OnSelect.
  void ChooseItem(int Index, bool ByUser);
  // Keys that move through the items; false for other keys.
  bool NavigateKey(Word Key, TShiftState Shift);
  // The item to go to for a key from item From (wrapping for letters).
  [[nodiscard]] int ItemForKey(Word Key, int From) const;
  [[nodiscard]] int ItemStartingWith(char32_t Letter, int From) const;
  void ItemsChanged();
  [[nodiscard]] TRect ButtonRect() const;
  // Draws an item with the canvas prepared for its state.
  void PaintItem(TCanvas& C, int Index, const TRect& Rect, TOwnerDrawState State);
  void PaintListStyleText(TCanvas& C);
  void UpdateOwnerDrawHeight();

  TComboBoxStyle FStyle = csDropDown;
  std::unique_ptr<TStrings> FItems;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  int FItemHeight = 16;
  bool FQuiet = false;          // code changes the text: no OnChange
  bool FChoosing = false;       // the text follows a chosen item
  bool FSwallowChar = false;    // the key that closed the list also sends a character
  TDropDownWindow* FWindow = nullptr;  // owned as a component
  TComboListBox* FList = nullptr;      // on FWindow
  mutable TCanvas* FItemCanvas = nullptr;  // the list's canvas while it paints items
  TNotifyEvent FOnSelect, FOnDropDown, FOnCloseUp;
  TDrawItemEvent FOnDrawItem;
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

}  // namespace vorn
