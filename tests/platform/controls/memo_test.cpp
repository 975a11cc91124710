// The memo driven through the headless host: lines, keys, mouse,
// clipboard, wrapping, scrolling, and handlers that delete the memo.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/application.h"
#include "vorn/platform/stdctrls/memo.h"

namespace vorn {
namespace {

class MemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(10, 10, 200, 100);
    memo->SetOnChange([this](TObject*) { ++changes; });
    form->Show();
    memo->SetFocus();
  }
  // Client point of a character: its left edge, inside its row.
  TPoint At(int Pos) const {
    const TPoint p = memo->PointOfChar(Pos);
    return {p.X, p.Y + 3};
  }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TMemo* memo = nullptr;
  int changes = 0;
};

TEST_F(MemoTest, LinesAddReadReplaceAndDeleteThroughTheText) {
  EXPECT_EQ(memo->Lines().Count(), 0);
  EXPECT_EQ(memo->Lines().Add("one"), 0);
  EXPECT_EQ(memo->Lines().Add("two"), 1);
  memo->Lines().Add("three");
  EXPECT_EQ(memo->Text(), "one\ntwo\nthree");
  EXPECT_EQ(memo->Lines()[1], "two");
  memo->Lines().SetStrings(1, "TWO");
  memo->Lines().Delete(0);
  memo->Lines().Insert(5, "four");  // past the end: appended
  EXPECT_EQ(memo->Text(), "TWO\nthree\nfour");
  EXPECT_EQ(memo->Lines()[7], "");  // out of range reads empty
  memo->Lines().SetStrings(7, "x");  // and writes nothing
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(changes, 6);
  // Assigned breaks of every kind become one; a final break opens no line.
  memo->SetText("a\r\nb\rc\n");
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(memo->Lines()[2], "c");
  memo->Lines().Add("d");
  EXPECT_EQ(memo->Text(), "a\nb\nc\nd");
  memo->Lines().Clear();
  EXPECT_EQ(memo->Text(), "");
  // Lines read before typing are not served again after it.
  memo->SetText("ab\ncd");
  EXPECT_EQ(memo->Lines()[1], "cd");
  memo->SetFocus();
  host.PressKey(VK_END, {ssCtrl});
  host.Type("e\nf");
  EXPECT_EQ(memo->Lines()[1], "cde");
  EXPECT_EQ(memo->Lines()[2], "f");
}

TEST_F(MemoTest, EnterBreaksLinesAndCaretKeysMoveByRows) {
  host.Type("abc");
  host.PressKey(VK_RETURN);
  host.Type("de");
  EXPECT_EQ(memo->Text(), "abc\nde");
  EXPECT_EQ(memo->CaretPos(), (TPoint{2, 1}));
  host.PressKey(VK_UP);
  EXPECT_EQ(memo->CaretPos(), (TPoint{2, 0}));
  host.PressKey(VK_END);
  host.PressKey(VK_DOWN);  // the shorter line ends the move at its end
  EXPECT_EQ(memo->CaretPos(), (TPoint{2, 1}));
  host.PressKey(VK_HOME);
  host.PressKey(VK_BACK);  // joins the lines
  EXPECT_EQ(memo->Text(), "abcde");
  EXPECT_EQ(memo->SelStart(), 3);
  host.PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(memo->SelStart(), 5);
  host.PressKey(VK_HOME, {ssCtrl, ssShift});
  EXPECT_EQ(memo->SelText(), "abcde");
}

TEST_F(MemoTest, WordJumpsCrossLineBreaks) {
  memo->SetText("one two\nthree");
  host.PressKey(VK_RIGHT, {ssCtrl});
  EXPECT_EQ(memo->SelStart(), 4);
  host.PressKey(VK_RIGHT, {ssCtrl});
  EXPECT_EQ(memo->SelStart(), 8);  // start of "three"
  host.PressKey(VK_LEFT, {ssCtrl, ssShift});
  EXPECT_EQ(memo->SelText(), "two\n");
}

TEST_F(MemoTest, ClipboardKeysAndUndo) {
  memo->SetText("alpha\nbeta");
  host.PressKey(VK_DOWN, {ssShift});  // "alpha\n"
  host.PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "alpha\n");
  host.PressKey(VK_END, {ssCtrl});
  host.PressKey('V', {ssCtrl});
  EXPECT_EQ(memo->Text(), "alpha\nbetaalpha\n");
  EXPECT_EQ(memo->Lines().Count(), 2);
  Clipboard()->SetAsText("x\r\ny");  // pasted breaks are normalised
  host.PressKey(VK_INSERT, {ssShift});
  EXPECT_EQ(memo->Text(), "alpha\nbetaalpha\nx\ny");
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(memo->Text(), "alpha\nbetaalpha\n");
  host.PressKey(VK_HOME, {ssCtrl});
  host.PressKey(VK_RIGHT, {ssShift});
  host.PressKey('X', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "a");
  EXPECT_EQ(memo->Text(), "lpha\nbetaalpha\n");
  // A typed run undoes as one.
  host.Type("xyz");
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(memo->Text(), "lpha\nbetaalpha\n");
}

TEST_F(MemoTest, TabTypesOnlyWhenWantedElseTheFormMovesOn) {
  auto* other = new TMemo(form.get());
  other->SetParent(form.get());
  other->SetBounds(220, 10, 100, 100);
  memo->SetFocus();
  host.PressKey(VK_TAB);
  EXPECT_EQ(memo->Text(), "");
  EXPECT_TRUE(other->Focused());
  memo->SetWantTabs(true);
  memo->SetFocus();
  host.PressKey(VK_TAB);
  EXPECT_EQ(memo->Text(), "\t");
  EXPECT_TRUE(memo->Focused());
}

TEST_F(MemoTest, MaxLengthAndReadOnlyLimitTheUserNotTheProgram) {
  memo->SetMaxLength(5);
  host.Type("abc");
  host.PressKey(VK_RETURN);
  host.Type("defg");
  EXPECT_EQ(memo->Text(), "abc\nd");  // the break counts as a character
  Clipboard()->SetAsText("zzz");
  host.PressKey(VK_LEFT, {ssShift});
  host.PressKey('V', {ssCtrl});  // replaces one: room for one
  EXPECT_EQ(memo->Text(), "abc\nz");
  memo->SetText("longer than five");
  EXPECT_EQ(memo->Text(), "longer than five");
  memo->SetReadOnly(true);
  const int before = changes;
  host.Type("q");
  host.PressKey(VK_RETURN);
  host.PressKey(VK_DELETE);
  host.PressKey('A', {ssCtrl});
  host.PressKey('X', {ssCtrl});
  EXPECT_EQ(memo->Text(), "longer than five");
  EXPECT_EQ(changes, before);
  EXPECT_EQ(Clipboard()->AsText(), "zzz");
  host.PressKey('C', {ssCtrl});  // copying still works
  EXPECT_EQ(Clipboard()->AsText(), "longer than five");
}

TEST_F(MemoTest, MouseClicksDragsAndDoubleClicksSelect) {
  memo->SetText("first line\nsecond line\nthird");
  const TPoint s = At(14);  // the "o" of "second"
  host.Click(*memo, s.X, s.Y);
  EXPECT_EQ(memo->SelStart(), 14);
  const TPoint e = At(25);  // the "i" of "third"
  host.Drag(*memo, s.X, s.Y, e.X, e.Y);
  EXPECT_EQ(memo->SelText(), "ond line\nth");
  host.DoubleClick(*memo, At(2).X, At(2).Y);
  EXPECT_EQ(memo->SelText(), "first");
  // Shift+click extends from the caret.
  host.Click(*memo, At(0).X - 1, At(0).Y);
  host.MouseDown(*form, 10 + At(8).X, 10 + At(8).Y);
  host.MouseUp(*form, 10 + At(8).X, 10 + At(8).Y);
  EXPECT_EQ(memo->SelLength(), 0);
  host.KeyDown(VK_SHIFT);
  host.Click(*memo, At(13).X, At(13).Y);
  host.KeyUp(VK_SHIFT);
  EXPECT_EQ(memo->SelText(), "ne\nse");
  // A click below the last row lands on the last row.
  host.Click(*memo, 5, 95);
  EXPECT_EQ(memo->CaretPos().Y, 2);
}

TEST_F(MemoTest, WordWrapBreaksAfterBlanksAndRowsFitTheBox) {
  memo->SetText("the quick brown fox jumps over the lazy dog and runs far away from here");
  ASSERT_TRUE(memo->WordWrap());
  EXPECT_GT(memo->RowCount(), 1);
  EXPECT_EQ(memo->Lines().Count(), 1);
  // The first row ends after a blank, and its text fits.
  host.PressKey(VK_HOME, {ssCtrl});
  host.PressKey(VK_END);  // end of the first row, not of the line
  const int rowEnd = memo->SelStart();
  EXPECT_LT(rowEnd, 70);
  EXPECT_EQ(memo->Text()[static_cast<std::size_t>(rowEnd - 1)], ' ');
  EXPECT_LE(memo->PointOfChar(rowEnd - 1).X, 200 - 4);
  host.PressKey(VK_DOWN);
  EXPECT_GT(memo->PointOfChar(memo->SelStart()).Y, memo->PointOfChar(0).Y);
  // A word longer than a row is cut where the width runs out.
  memo->SetText(std::string(80, 'w'));
  EXPECT_GT(memo->RowCount(), 1);
  // Without wrapping: one row, and the box scrolls sideways to the caret.
  memo->SetWordWrap(false);
  EXPECT_EQ(memo->RowCount(), 1);
  host.PressKey(VK_END);
  EXPECT_GT(memo->ScrollX(), 0);
  const TPoint caret = memo->PointOfChar(memo->SelStart());
  EXPECT_GE(caret.X, 0);
  EXPECT_LT(caret.X, 200);
  host.PressKey(VK_HOME);
  EXPECT_EQ(memo->ScrollX(), 0);
}

TEST_F(MemoTest, TallTextScrollsWithCaretWheelAndBar) {
  memo->SetScrollBars(ssVertical);
  for (int i = 0; i < 30; ++i) memo->Lines().Add("line " + std::to_string(i));
  EXPECT_EQ(memo->TopRow(), 0);
  host.PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(memo->TopRow(), 30 - memo->VisibleRows());
  const TPoint p = memo->PointOfChar(memo->SelStart());
  EXPECT_GE(p.Y, 0);
  EXPECT_LE(p.Y, 100);
  host.Wheel(*memo, 50, 50, WHEEL_DELTA);  // up three rows
  EXPECT_EQ(memo->TopRow(), 30 - memo->VisibleRows() - 3);
  host.Wheel(*memo, 50, 50, -10 * WHEEL_DELTA);
  EXPECT_EQ(memo->TopRow(), 30 - memo->VisibleRows());  // not past the end
  // The bar's up arrow steps one row; a click in the track pages.
  host.Click(*memo, 200 - 2 - 8, 2 + 8);
  EXPECT_EQ(memo->TopRow(), 30 - memo->VisibleRows() - 1);
  host.Click(*memo, 200 - 2 - 8, 24);
  EXPECT_EQ(memo->TopRow(), std::max(0, 30 - 2 * memo->VisibleRows() - 1));
  // Clicks on the bar move no caret.
  EXPECT_EQ(memo->CaretPos().Y, 29);
  host.PressKey(VK_PRIOR);
  EXPECT_LT(memo->CaretPos().Y, 29);
}

TEST_F(MemoTest, PaintShowsTheSelectionOnlyWhereItIs) {
  memo->SetText("aaaa\nbbbb\ncccc");
  memo->SetSelStart(5);
  memo->SetSelLength(4);  // the second line
  auto shot = host.Snapshot(*memo);
  const TPoint row1 = memo->PointOfChar(1), row2 = memo->PointOfChar(6);
  const int h = memo->PointOfChar(5).Y - memo->PointOfChar(0).Y;
  int inRow1 = 0, inRow2 = 0;
  for (int x = 3; x < 100; ++x) {
    for (int dy = 0; dy < h; ++dy) {
      if (shot->Canvas()->Pixels(x, row1.Y + dy) == ColorToRGB(clHighlight)) ++inRow1;
      if (shot->Canvas()->Pixels(x, row2.Y + dy) == ColorToRGB(clHighlight)) ++inRow2;
    }
  }
  EXPECT_EQ(inRow1, 0);
  EXPECT_GT(inRow2, 0);
}

TEST_F(MemoTest, TextStaysOffTheBorderAndTheScrollBar) {
  memo->SetWordWrap(false);
  memo->SetScrollBars(ssVertical);
  form->SetActiveControl(nullptr);
  auto bare = host.Snapshot(*memo);
  memo->SetText(std::string(60, 'W') + "\n" + std::string(60, 'W'));
  auto full = host.Snapshot(*memo);
  // Right of the text area (the bar and the border) nothing changes.
  int changed = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 200 - 2 - 16; x < 200; ++x) {
      if (bare->Canvas()->Pixels(x, y) != full->Canvas()->Pixels(x, y)) ++changed;
    }
  }
  EXPECT_EQ(changed, 0);
}

// ---- handlers that delete the memo -------------------------------------------------

TEST_F(MemoTest, HandlersMayDeleteTheMemo) {
  memo->SetOnChange([this](TObject*) {
    delete memo;
    memo = nullptr;
  });
  host.Type("a");
  EXPECT_EQ(memo, nullptr);
  host.Type("bc");
  host.PressKey(VK_RETURN);

  memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetFocus();
  memo->SetOnKeyPress([this](TObject*, char32_t&) {
    delete memo;
    memo = nullptr;
  });
  host.Type("x");
  EXPECT_EQ(memo, nullptr);

  memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetBounds(10, 10, 100, 60);
  memo->SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, int, int) {
    delete memo;
    memo = nullptr;
  });
  host.Click(*form, 20, 20);
  EXPECT_EQ(memo, nullptr);

  memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetFocus();
  memo->SetText("abc");
  memo->SetOnKeyDown([this](TObject*, Word&, TShiftState) {
    delete memo;
    memo = nullptr;
  });
  host.PressKey(VK_DELETE);
  EXPECT_EQ(memo, nullptr);
}

}  // namespace
}  // namespace vorn
