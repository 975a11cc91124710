// The combo box: items and choice in every style, the drop-down list with
// keys, mouse, wheel and scrolling, owner drawing, and handlers that
// delete the box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/combobox.h"
#include "vorn/platform/stdctrls/scrollbars.h"

namespace vorn {
namespace {

// A shown form with a combo box and a button beside it; the box records
// its events in order.
class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    combo = new TComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 120, 21);
    button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 150, 80, 25);
    button->SetOnClick([this](TObject*) { log.push_back("button"); });
    for (const char* s : {"apple", "banana", "blueberry", "cherry", "date"}) combo->Items()->Add(s);
    combo->SetOnChange([this](TObject*) { log.push_back("change:" + combo->Text()); });
    combo->SetOnSelect([this](TObject*) { log.push_back("select:" + std::to_string(combo->ItemIndex())); });
    combo->SetOnDropDown([this](TObject*) { log.push_back("dropdown"); });
    combo->SetOnCloseUp([this](TObject*) { log.push_back("closeup"); });
    form->Show();
    combo->SetFocus();
    host().ProcessMessages();
  }
  void TearDown() override {
    host().SetModalHandler(nullptr);
    form.reset();
  }
  static THeadlessHost& host() { return HeadlessHost(); }
  std::string Log() const {
    std::string out;
    for (const auto& s : log) out += (out.empty() ? "" : " ") + s;
    return out;
  }
  // Clicks a row of the open list (in the list's client coordinates).
  void ClickRow(int Row) {
    TDropDownWindow* list = TDropDownWindow::Current();
    ASSERT_NE(list, nullptr);
    host().Click(*list, 10, 1 + Row * combo->ItemHeight() + combo->ItemHeight() / 2);
  }

  std::unique_ptr<TForm> form;
  TComboBox* combo = nullptr;
  TButton* button = nullptr;
  std::vector<std::string> log;
};

TEST_F(ComboTest, ItemsTextAndIndexStayInStepInEveryStyle) {
  // The edit style: the index follows the text, typed or assigned.
  combo->SetText("cherry");
  EXPECT_EQ(combo->ItemIndex(), 3);
  combo->SetText("kiwi");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "kiwi");
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), "banana");
  EXPECT_EQ(Log(), "change:cherry change:kiwi");  // ItemIndex in code raises nothing
  combo->SetItemIndex(7);                           // out of range: no choice
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");

  // A list style shows an item or nothing.
  combo->SetText("date");
  combo->SetStyle(csDropDownList);
  EXPECT_EQ(combo->ItemIndex(), 4);
  combo->SetText("kiwi");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  combo->SetText("banana");
  EXPECT_EQ(combo->ItemIndex(), 1);
  // Items changing under the choice: renamed, removed, cleared.
  combo->Items()->SetStrings(1, "BANANA");
  EXPECT_EQ(combo->Text(), "BANANA");
  combo->Items()->Delete(4);
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->Items()->Clear();
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  EXPECT_EQ(combo->Items()->Count(), 0);
}

TEST_F(ComboTest, StringsCarryObjectsAndRefuseBadIndexes) {
  TStrings list;
  int changes = 0;
  list.SetOnChange([&](TObject*) { ++changes; });
  TObject marker;
  EXPECT_EQ(list.AddObject("a", &marker), 0);
  EXPECT_EQ(list.Add("b"), 1);
  list.Insert(0, "z");
  EXPECT_EQ(list.IndexOf("a"), 1);
  EXPECT_EQ(list.IndexOf("A"), -1);  // exact match
  EXPECT_EQ(list.Objects(1), &marker);
  EXPECT_EQ(list.IndexOfObject(&marker), 1);
  EXPECT_EQ(changes, 3);
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 4);  // once for the whole update
  EXPECT_THROW((void)list.Strings(3), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(5, "x"), EStringListError);
  EXPECT_EQ(list.Count(), 3);
}

TEST_F(ComboTest, KeysOnTheClosedListStyleChooseItems) {
  combo->SetStyle(csDropDownList);
  host().PressKey(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 0);
  host().PressKey(VK_END);
  EXPECT_EQ(combo->ItemIndex(), 4);
  host().PressKey(VK_DOWN);  // stays at the end, no event
  host().PressKey(VK_HOME);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(Log(), "change:apple select:0 change:date select:4 change:apple select:0");
  log.clear();
  // Letters jump to the next item starting with them, wrapping, in any case.
  host().Type("b");
  EXPECT_EQ(combo->Text(), "banana");
  host().Type("B");
  EXPECT_EQ(combo->Text(), "blueberry");
  host().Type("b");
  EXPECT_EQ(combo->Text(), "banana");
  host().Type("x");  // no item: nothing happens
  EXPECT_EQ(combo->Text(), "banana");
  EXPECT_FALSE(combo->DroppedDown());
  // Enter on the closed box is left to the form and the key press handler.
  std::string pressed;
  combo->SetOnKeyPress([&](TObject*, char32_t& k) { pressed += static_cast<char>(k); });
  host().PressKey(VK_RETURN);
  EXPECT_EQ(pressed, "\r");
}

TEST_F(ComboTest, TheEditStyleTypesAndUsesTheClipboard) {
  host().Type("blue");
  EXPECT_EQ(combo->Text(), "blue");
  EXPECT_EQ(combo->ItemIndex(), -1);
  host().Type("berry");
  EXPECT_EQ(combo->ItemIndex(), 2);
  host().PressKey(VK_HOME);  // the caret, not the items
  EXPECT_EQ(combo->SelStart(), 0);
  EXPECT_EQ(combo->ItemIndex(), 2);
  host().PressKey('A', {ssCtrl});
  host().PressKey('C', {ssCtrl});
  EXPECT_EQ(host().ClipboardText(), "blueberry");
  host().PressKey(VK_DOWN);  // Up and Down choose items
  EXPECT_EQ(combo->Text(), "cherry");
  host().SetClipboardText("date");
  host().PressKey('A', {ssCtrl});
  host().PressKey('V', {ssCtrl});
  EXPECT_EQ(combo->Text(), "date");
  EXPECT_EQ(combo->ItemIndex(), 4);
  // A list style copies its whole text and takes no paste.
  combo->SetStyle(csDropDownList);
  host().ClearClipboard();
  host().PressKey('C', {ssCtrl});
  EXPECT_EQ(host().ClipboardText(), "date");
  host().SetClipboardText("apple");
  host().PressKey('V', {ssCtrl});
  EXPECT_EQ(combo->Text(), "date");
}

TEST_F(ComboTest, TheListOpensWithKeysAndTakesOrDropsTheHighlight) {
  combo->SetStyle(csDropDownList);
  combo->SetItemIndex(1);
  host().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(combo->DroppedDown());
  TDropDownWindow* list = TDropDownWindow::Current();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(combo->ListHighlight(), 1);
  // The list lies below the box, as wide, and leaves the keyboard with it.
  const TPoint below = combo->ClientToScreen({0, combo->Height()});
  EXPECT_EQ(list->Left(), below.X);
  EXPECT_EQ(list->Top(), below.Y);
  EXPECT_EQ(list->Width(), combo->Width());
  EXPECT_EQ(list->Height(), 5 * combo->ItemHeight() + 2);
  EXPECT_EQ(host().ActiveForm(), form.get());
  EXPECT_TRUE(combo->Focused());
  host().PressKey(VK_DOWN);
  host().PressKey(VK_DOWN);
  host().Type("d");  // letters move the highlight too
  EXPECT_EQ(combo->ListHighlight(), 4);
  EXPECT_EQ(combo->ItemIndex(), 1);  // nothing chosen yet
  std::string pressed;
  combo->SetOnKeyPress([&](TObject*, char32_t& k) { pressed += static_cast<char>(k); });
  host().PressKey(VK_RETURN);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), "date");
  EXPECT_EQ(pressed, "");  // the Enter that closed the list goes no further
  EXPECT_EQ(Log(), "dropdown change:date select:4 closeup");
  log.clear();
  // Escape closes without choosing; F4 opens and takes.
  host().PressKey(VK_F4);
  host().PressKey(VK_HOME);
  host().PressKey(VK_ESCAPE);
  EXPECT_EQ(combo->ItemIndex(), 4);
  host().PressKey(VK_F4);
  host().PressKey(VK_UP);
  host().PressKey(VK_F4);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(Log(), "dropdown closeup dropdown change:cherry select:3 closeup");
  EXPECT_EQ(TDropDownWindow::Current(), nullptr);
}

TEST_F(ComboTest, TheMouseOpensChoosesAndAClickOutsideOnlyCloses) {
  host().Click(*combo, combo->Width() - 5, 10);  // the button
  ASSERT_TRUE(combo->DroppedDown());
  ClickRow(3);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), "cherry");
  EXPECT_EQ(Log(), "dropdown change:cherry select:3 closeup");
  log.clear();
  // In the edit style a click on the text places the caret.
  host().Click(*combo, 5, 10);
  EXPECT_FALSE(combo->DroppedDown());
  // A click outside closes the list and does nothing else.
  host().Click(*combo, combo->Width() - 5, 10);
  host().Click(*button, 10, 10);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(Log(), "dropdown closeup");
  host().Click(*button, 10, 10);
  EXPECT_EQ(Log(), "dropdown closeup button");
  log.clear();
  // A list style opens from anywhere on the box; a second click closes.
  combo->SetStyle(csDropDownList);
  host().Click(*combo, 5, 10);
  EXPECT_TRUE(combo->DroppedDown());
  host().Click(*combo, 5, 10);
  EXPECT_FALSE(combo->DroppedDown());
  // Hovering moves the highlight; a press in the list outside the rows chooses nothing.
  host().Click(*combo, 5, 10);
  TDropDownWindow* list = TDropDownWindow::Current();
  host().MouseMove(*list, 10, 1 + combo->ItemHeight() + 2);
  EXPECT_EQ(combo->ListHighlight(), 1);
  EXPECT_EQ(combo->ItemIndex(), 3);
  // The focus leaving closes the list.
  button->SetFocus();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 3);
}

TEST_F(ComboTest, ALongListScrollsByKeysWheelAndScrollBar) {
  combo->Items()->Clear();
  for (int i = 0; i < 30; ++i) combo->Items()->Add("item " + std::to_string(i));
  combo->SetDropDownCount(6);
  combo->SetItemIndex(20);
  combo->DropDown();
  TDropDownWindow* list = TDropDownWindow::Current();
  ASSERT_NE(list, nullptr);
  const int h = combo->ItemHeight();
  EXPECT_EQ(list->Height(), 6 * h + 2);
  // The chosen item is in view.
  EXPECT_LE(combo->ListTopIndex(), 20);
  EXPECT_GT(combo->ListTopIndex() + 6, 20);
  host().PressKey(VK_HOME);
  EXPECT_EQ(combo->ListTopIndex(), 0);
  host().PressKey(VK_NEXT);
  EXPECT_EQ(combo->ListHighlight(), 5);
  host().PressKey(VK_NEXT);
  EXPECT_EQ(combo->ListHighlight(), 10);
  EXPECT_EQ(combo->ListTopIndex(), 5);
  host().PressKey(VK_END);
  EXPECT_EQ(combo->ListTopIndex(), 24);
  // The wheel scrolls the list without moving the highlight.
  host().Wheel(*list, 10, 10, WHEEL_DELTA);
  EXPECT_EQ(combo->ListTopIndex(), 24 - WheelScrollLines());
  EXPECT_EQ(combo->ListHighlight(), 29);
  for (int i = 0; i < 20; ++i) host().Wheel(*list, 10, 10, WHEEL_DELTA);
  EXPECT_EQ(combo->ListTopIndex(), 0);
  // The scroll bar: the thumb (just below the upper arrow at the top), the
  // upper arrow, the track above the thumb.
  const int barX = list->Width() - 8;
  host().Drag(*list, barX, 1 + ScrollBarThickness + 2, barX, list->Height());
  EXPECT_EQ(combo->ListTopIndex(), 24);
  host().Click(*list, barX, 5);
  EXPECT_EQ(combo->ListTopIndex(), 23);
  host().Click(*list, barX, 1 + ScrollBarThickness + 2);
  EXPECT_EQ(combo->ListTopIndex(), 17);
  EXPECT_TRUE(combo->DroppedDown());  // the bar chooses nothing
  EXPECT_EQ(combo->ItemIndex(), 20);
  // A row shown after scrolling is the one a click takes.
  ClickRow(2);
  EXPECT_EQ(combo->ItemIndex(), 19);
}

TEST_F(ComboTest, TheListOpensAboveWhenTheScreenHasNoRoomBelow) {
  form->SetTop(host().ScreenHeight() - 60);
  combo->DropDown();
  TDropDownWindow* list = TDropDownWindow::Current();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Top() + list->Height(), combo->ClientToScreen({0, 0}).Y);
}

// A box that draws its items as colour swatches, the way a colour
// selector builds on the owner-drawn style.
class TSwatchCombo : public TComboBox {
 public:
  using TComboBox::TComboBox;
  std::vector<int> drawn;
  std::vector<bool> inBox;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override {
    drawn.push_back(Index);
    inBox.push_back(State.Contains(odComboBoxEdit));
    TCanvas& c = *Canvas();
    c.Brush()->SetColor(static_cast<TColor>(Items()->Objects(Index) != nullptr ? clRed : clBlue));
    c.FillRect(Rect);
  }
};

TEST_F(ComboTest, OwnerDrawnItemsPaintThroughDrawItemInBoxAndList) {
  auto* swatch = new TSwatchCombo(form.get());
  swatch->SetParent(form.get());
  swatch->SetStyle(csOwnerDrawFixed);
  swatch->SetItemHeight(20);
  swatch->SetBounds(150, 10, 100, 21);
  EXPECT_EQ(swatch->Height(), 26);
  TObject red;
  swatch->Items()->AddObject("red", &red);
  swatch->Items()->Add("blue");
  swatch->SetItemIndex(0);
  host().ProcessMessages();
  auto box = host().Snapshot(*swatch);
  EXPECT_EQ(box->Canvas()->Pixels(10, 13), clRed);
  ASSERT_FALSE(swatch->drawn.empty());
  EXPECT_TRUE(swatch->inBox.back());
  swatch->drawn.clear();
  swatch->DropDown();
  TDropDownWindow* list = TDropDownWindow::Current();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Height(), 2 * 20 + 2);
  auto shot = host().Snapshot(*list);
  EXPECT_EQ(shot->Canvas()->Pixels(10, 1 + 10), clRed);
  EXPECT_EQ(shot->Canvas()->Pixels(10, 21 + 10), clBlue);
  EXPECT_EQ(swatch->drawn, (std::vector<int>{0, 1}));
  EXPECT_FALSE(swatch->inBox.back());
  // The box's own canvas is back after the list painted.
  EXPECT_EQ(swatch->Canvas()->Pixels(10, 13), clRed);

  // OnDrawItem serves a plain owner-drawn box the same way.
  combo->SetStyle(csOwnerDrawFixed);
  std::vector<int> events;
  combo->SetOnDrawItem([&](TWinControl*, int Index, const TRect& R, TOwnerDrawState) {
    events.push_back(Index);
    combo->Canvas()->FillRect(R);
  });
  combo->DropDown();
  host().ProcessMessages();
  EXPECT_EQ(events, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(ComboTest, HandlersMayDeleteTheBoxAtEveryEvent) {
  const auto deleting = [this](TNotifyEvent* hook) {
    *hook = [this](TObject*) {
      delete combo;
      combo = nullptr;
    };
  };
  for (int which = 0; which < 5; ++which) {
    if (combo == nullptr) {
      combo = new TComboBox(form.get());
      combo->SetParent(form.get());
      combo->SetBounds(10, 10, 120, 21);
      for (const char* s : {"one", "two", "three"}) combo->Items()->Add(s);
    }
    combo->SetStyle(csDropDownList);
    combo->SetFocus();
    TNotifyEvent hook;
    deleting(&hook);
    switch (which) {
      case 0: combo->SetOnDropDown(hook); break;
      case 1: combo->SetOnChange(hook); break;
      case 2: combo->SetOnSelect(hook); break;
      case 3: combo->SetOnCloseUp(hook); break;
      default: combo->SetOnKeyPress([this](TObject*, char32_t&) { delete combo; combo = nullptr; }); break;
    }
    host().PressKey(VK_DOWN, {ssAlt});
    if (combo != nullptr) host().PressKey(VK_DOWN);
    if (combo != nullptr) host().PressKey(VK_RETURN);
    if (combo != nullptr) host().Type("t");
    EXPECT_EQ(combo, nullptr) << "event " << which;
    EXPECT_EQ(TDropDownWindow::Current(), nullptr);
  }
  // A click outside whose close-up handler deletes the box.
  combo = new TComboBox(form.get());
  combo->SetParent(form.get());
  combo->Items()->Add("one");
  combo->SetOnCloseUp([this](TObject*) {
    delete combo;
    combo = nullptr;
  });
  combo->DropDown();
  host().Click(*button, 5, 5);
  EXPECT_EQ(combo, nullptr);
  EXPECT_EQ(Log(), "");
}

TEST_F(ComboTest, TheListOfABoxInAModalDialogTakesEnterAndEscape) {
  TForm dialog(nullptr);
  auto* box = new TComboBox(&dialog);
  box->SetParent(&dialog);
  box->SetStyle(csDropDownList);
  box->Items()->Add("low");
  box->Items()->Add("high");
  // As a dialog's Enter handler on its fields does.
  box->SetOnKeyPress([&](TObject*, char32_t& k) {
    if (k == '\r') dialog.SetModalResult(mrOk);
  });
  host().SetModalHandler([&](TCustomForm&) {
    box->SetFocus();
    host().PressKey(VK_F4);
    host().PressKey(VK_ESCAPE);  // closes the list, not the dialog
    host().PressKey(VK_F4);
    host().PressKey(VK_DOWN);
    host().PressKey(VK_RETURN);  // takes the item, not the dialog's Enter
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    host().PressKey(VK_RETURN);
    return mrCancel;
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(box->Text(), "low");
}

}  // namespace
}  // namespace vorn
