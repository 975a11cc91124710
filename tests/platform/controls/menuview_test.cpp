// Popup menus on the screen: submenus beside their items, keyboard and
// mouse navigation, item images and the disabled look, driven through the
// headless host's popup handler.
#include <gtest/gtest.h>

#include <memory>
#include <string>


#include "vorn/platform/hosts/headless.h"
#ifdef VORN_HAVE_RESGEN
#endif
#include "vorn/platform/stdctrls/menuview.h"

namespace vorn {
namespace {

TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption, std::string* Log = nullptr) {
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(Caption);
  if (Log != nullptr) item->SetOnClick([Log, Caption](TObject*) { *Log += Caption + ";"; });
  Parent->Add(item);
  return item;
}

class MenuViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    menu = std::make_unique<TPopupMenu>(nullptr);
    mark = AddItem(menu->Items(), "Mark");
    AddItem(mark, "Range", &log);
    AddItem(mark, "Column", &log);
    AddItem(menu->Items(), "-");
    off = AddItem(menu->Items(), "Off", &log);
    off->SetEnabled(false);
    AddItem(menu->Items(), "Copy", &log);
  }
  void TearDown() override { host.SetPopupHandler(nullptr); }
  // Opens the menu at (X, Y); Drive acts while it is on the screen, then
  // the chosen item runs as the window host runs it.
  void Open(int X, int Y, const std::function<void(TMenuTracker&)>& Drive) {
    host.SetPopupHandler([&](TPopupMenu& m, int x, int y) {
      TMenuItem* chosen = nullptr;
      {
        TMenuTracker tracker(m, x, y);
        Drive(tracker);
        chosen = tracker.Done() ? tracker.Chosen() : nullptr;
      }
      if (chosen != nullptr) chosen->Click();
    });
    menu->Popup(X, Y);
  }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  std::unique_ptr<TPopupMenu> menu;
  TMenuItem* mark = nullptr;
  TMenuItem* off = nullptr;
  std::string log;
};

TEST_F(MenuViewTest, KeysWalkIntoAndOutOfSubmenusAndChoose) {
  Open(40, 30, [&](TMenuTracker& t) {
    EXPECT_EQ(t.LevelCount(), 1);
    EXPECT_EQ(t.Level(0)->Left(), 40);
    host.PressKey(VK_DOWN);  // "Mark"
    host.PressKey(VK_RIGHT);
    ASSERT_EQ(t.LevelCount(), 2);
    TMenuView* sub = t.Level(1);
    // Beside its item, with its first row highlighted.
    EXPECT_GE(sub->Left(), t.Level(0)->Left() + t.Level(0)->Width() - 4);
    EXPECT_EQ(sub->Top(), t.Level(0)->Top() + t.Level(0)->ItemRect(0).Top - 2);
    EXPECT_EQ(sub->Hot(), 0);
    host.PressKey(VK_DOWN);
    host.PressKey(VK_LEFT);  // back out, "Mark" still highlighted
    EXPECT_EQ(t.LevelCount(), 1);
    EXPECT_EQ(t.Level(0)->Hot(), 0);
    host.PressKey(VK_RETURN);  // Enter on a submenu item opens it too
    ASSERT_EQ(t.LevelCount(), 2);
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RETURN);
    EXPECT_TRUE(t.Done());
    EXPECT_FALSE(t.Level(0)->Visible());
  });
  EXPECT_EQ(log, "Column;");
}

TEST_F(MenuViewTest, UpDownSkipSeparatorsAndWrapAndDisabledItemsStayOpen) {
  Open(0, 0, [&](TMenuTracker& t) {
    host.PressKey(VK_UP);  // from nothing: the last row
    EXPECT_EQ(t.Level(0)->Item(t.Level(0)->Hot())->Caption(), "Copy");
    host.PressKey(VK_DOWN);  // wraps to the first
    EXPECT_EQ(t.Level(0)->Hot(), 0);
    host.PressKey(VK_DOWN);  // over the separator
    EXPECT_EQ(t.Level(0)->Item(t.Level(0)->Hot())->Caption(), "Off");
    host.PressKey(VK_RETURN);  // disabled: nothing happens
    host.PressKey(VK_RIGHT);  // no submenu: nothing happens
    EXPECT_FALSE(t.Done());
    EXPECT_EQ(t.LevelCount(), 1);
    host.PressKey(VK_ESCAPE);
    EXPECT_TRUE(t.Done());
    EXPECT_EQ(t.Chosen(), nullptr);
  });
  EXPECT_EQ(log, "");
}

TEST_F(MenuViewTest, EscapeClosesOnlyTheDeepestSubmenu) {
  AddItem(mark, "More");
  AddItem(mark->Items(2), "Deep", &log);
  Open(0, 0, [&](TMenuTracker& t) {
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RIGHT);
    host.PressKey(VK_UP);  // "More"
    host.PressKey(VK_RIGHT);
    ASSERT_EQ(t.LevelCount(), 3);
    host.PressKey(VK_ESCAPE);
    EXPECT_EQ(t.LevelCount(), 2);
    EXPECT_FALSE(t.Done());
    host.PressKey(VK_RIGHT);
    host.PressKey(VK_RETURN);
  });
  EXPECT_EQ(log, "Deep;");
}

TEST_F(MenuViewTest, HoverOpensSubmenusAndClickChooses) {
  Open(20, 20, [&](TMenuTracker& t) {
    TMenuView& root = *t.Level(0);
    const TRect markRow = root.ItemRect(0);
    host.MouseMove(root, markRow.Left + 10, markRow.Top + 3);
    ASSERT_EQ(t.LevelCount(), 2);
    // Moving to an item without sub-items closes the submenu.
    const TRect copyRow = root.ItemRect(3);
    host.MouseMove(root, copyRow.Left + 10, copyRow.Top + 3);
    EXPECT_EQ(t.LevelCount(), 1);
    // A click on a disabled item keeps the menu open.
    const TRect offRow = root.ItemRect(2);
    host.Click(root, offRow.Left + 10, offRow.Top + 3);
    EXPECT_FALSE(t.Done());
    host.MouseMove(root, markRow.Left + 10, markRow.Top + 3);
    TMenuView& sub = *t.Level(1);
    const TRect range = sub.ItemRect(0);
    host.MouseMove(sub, range.Left + 5, range.Top + 3);
    host.Click(sub, range.Left + 5, range.Top + 3);
    EXPECT_TRUE(t.Done());
  });
  EXPECT_EQ(log, "Range;");
}

TEST_F(MenuViewTest, PressOutsideClosesEveryLevelAndGoesNoFurther) {
  int formClicks = 0;
  form->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, int, int) { ++formClicks; });
  Open(100, 100, [&](TMenuTracker& t) {
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RIGHT);
    ASSERT_EQ(t.LevelCount(), 2);
    host.Click(*form, 5, 5);
    EXPECT_TRUE(t.Done());
    EXPECT_EQ(t.Chosen(), nullptr);
  });
  EXPECT_EQ(formClicks, 0);
  EXPECT_EQ(TMenuTracker::Active(), nullptr);
  host.Click(*form, 5, 5);  // with the menu gone, presses arrive again
  EXPECT_EQ(formClicks, 1);
}

TEST_F(MenuViewTest, SubmenuOpensLeftWhereTheScreenEnds) {
  const int sw = CurrentHost().ScreenWidth();
  Open(sw - 130, 10, [&](TMenuTracker& t) {
    EXPECT_LE(t.Level(0)->Left() + t.Level(0)->Width(), sw);
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RIGHT);
    ASSERT_EQ(t.LevelCount(), 2);
    EXPECT_LT(t.Level(1)->Left(), t.Level(0)->Left());
    host.PressKey(VK_ESCAPE);
    host.PressKey(VK_ESCAPE);
  });
}

TEST_F(MenuViewTest, AlignmentPlacesTheMenuAgainstThePoint) {
  for (TPopupAlignment a : {paLeft, paRight, paCenter}) {
    menu->SetAlignment(a);
    Open(300, 50, [&](TMenuTracker& t) {
      const TMenuView& v = *t.Level(0);
      const int expected = a == paLeft ? 300 : a == paRight ? 300 - v.Width() : 300 - v.Width() / 2;
      EXPECT_EQ(v.Left(), expected) << static_cast<int>(a);
      t.Cancel();
    });
  }
}

TEST_F(MenuViewTest, ImagesDisabledLookAndSubmenuArrowArePainted) {
  // A black square on white as the image of the enabled and of the
  // disabled item; white, the bottom-left colour, is left out.
  for (TMenuItem* item : {mark->Items(0), off}) {
    item->Bitmap()->SetSize(16, 16);
    item->Bitmap()->Canvas()->Brush()->SetColor(clBlack);
    item->Bitmap()->Canvas()->FillRect({4, 4, 12, 12});
  }
  mark->Items(1)->SetEnabled(false);
  Open(0, 0, [&](TMenuTracker& t) {
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RIGHT);
    auto root = host.Snapshot(*t.Level(0));
    auto sub = host.Snapshot(*t.Level(1));
    const TRect offRow = t.Level(0)->ItemRect(2);
    const TRect rangeRow = t.Level(1)->ItemRect(0);
    const TRect markRow = t.Level(0)->ItemRect(0);
    const int imageY = offRow.Top + (offRow.Height() - 16) / 2;
    // The enabled image as it is; the disabled one in the shadow colour.
    EXPECT_EQ(sub->Canvas()->Pixels(rangeRow.Left + 4 + 8, rangeRow.Top + (rangeRow.Height() - 16) / 2 + 8), clBlack);
    EXPECT_EQ(root->Canvas()->Pixels(offRow.Left + 4 + 8, imageY + 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(sub->Canvas()->Pixels(rangeRow.Left + 4 + 1, rangeRow.Top + (rangeRow.Height() - 16) / 2 + 1),
              ColorToRGB(clHighlight));  // the row is highlighted
    // A disabled caption is grey, an enabled one is not.
    auto hasColour = [](const TBitmap& b, const TRect& r, TColor c) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left + 26; x < r.Right - 18; ++x) {
          if (b.Canvas()->Pixels(x, y) == ColorToRGB(c)) return true;
        }
      }
      return false;
    };
    EXPECT_TRUE(hasColour(*sub, t.Level(1)->ItemRect(1), clGrayText));
    EXPECT_FALSE(hasColour(*root, t.Level(0)->ItemRect(3), clGrayText));
    // The highlighted row with a submenu shows the arrow at its right.
    bool arrow = false;
    for (int x = markRow.Right - 14; x < markRow.Right - 4; ++x) {
      if (root->Canvas()->Pixels(x, (markRow.Top + markRow.Bottom) / 2) == ColorToRGB(clHighlightText)) arrow = true;
    }
    EXPECT_TRUE(arrow);
    host.PressKey(VK_ESCAPE);
    host.PressKey(VK_ESCAPE);
  });
}

TEST_F(MenuViewTest, ChosenHandlerMayDeleteTheMenu) {
  menu->Items()->Items(3)->SetOnClick([&](TObject*) { menu.reset(); });
  Open(0, 0, [&](TMenuTracker&) {
    host.PressKey(VK_UP);
    host.PressKey(VK_RETURN);
  });
  EXPECT_EQ(menu, nullptr);
}

// A menu deleted while it is on the screen (by a timer, say) closes: its
// levels let go of the items, keys and the mouse reach nothing freed, and
// nothing is chosen.
TEST_F(MenuViewTest, MenuDeletedWhileOpenClosesWithoutTouchingIt) {
  bool chosen = true;
  host.SetPopupHandler([&](TPopupMenu& m, int x, int y) {
    TMenuTracker tracker(m, x, y);
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RIGHT);  // "Mark" with its submenu open
    ASSERT_EQ(tracker.LevelCount(), 2);
    menu.reset();
    EXPECT_TRUE(tracker.Done());
    EXPECT_EQ(tracker.Level(0)->ParentItem(), nullptr);
    EXPECT_EQ(tracker.Level(1)->ItemCount(), 0);
    host.PressKey(VK_RETURN);
    tracker.Level(1)->MouseMove({}, 10, 10);
    tracker.Level(1)->MouseUp(mbLeft, {}, 10, 10);
    tracker.Level(0)->Repaint();
    chosen = tracker.Chosen() != nullptr;
  });
  menu->Popup(0, 0);
  EXPECT_FALSE(chosen);
}

TEST_F(MenuViewTest, ChosenItemDeletedBeforeItRunsIsDropped) {
  TMenuItem* copy = menu->Items()->Items(3);
  host.SetPopupHandler([&](TPopupMenu& m, int x, int y) {
    TMenuTracker tracker(m, x, y);
    host.PressKey(VK_UP);
    host.PressKey(VK_RETURN);
    ASSERT_EQ(tracker.Chosen(), copy);
    delete copy;
    EXPECT_EQ(tracker.Chosen(), nullptr);
    EXPECT_EQ(tracker.Level(0)->ItemCount(), 0);
  });
  menu->Popup(0, 0);
  EXPECT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(log, "");
}

// The box pictures menus use for settings: built in by name, transparent
// around the box, the tick only in the checked one.
TEST(MenuBoxPictures, BuiltInByNameWithTheTickOnlyWhenChecked) {
  TBitmap checked, empty;
  checked.LoadFromResourceName("CHECKEDBOX");
  empty.LoadFromResourceName("EMPTYBOX");
  ASSERT_EQ(checked.Width(), 16);
  ASSERT_EQ(empty.Height(), 16);
  int differing = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const TColor a = checked.Canvas()->Pixels(x, y), b = empty.Canvas()->Pixels(x, y);
      if (a == b) continue;
      ++differing;
      EXPECT_EQ(a, clBlack);
      EXPECT_EQ(b, clWhite);  // the tick lies inside the white box
    }
  }
  EXPECT_EQ(differing, 21);
  EXPECT_NE(empty.Canvas()->Pixels(0, 15), empty.Canvas()->Pixels(7, 7));  // key colour outside
}

}  // namespace
}  // namespace vorn
