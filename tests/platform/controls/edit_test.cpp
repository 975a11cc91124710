// The single-line edit control driven through the headless host.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {
namespace {

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 100);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 200, 24);
    edit->SetOnChange([this](TObject*) { ++changes; });
    form->Show();
    edit->SetFocus();
  }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TEdit* edit = nullptr;
  int changes = 0;
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndRaisesChangeEachTime) {
  host.Type("hello");
  EXPECT_EQ(edit->Text(), "hello");
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(edit->SelStart(), 5);
  host.PressKey(VK_LEFT);
  host.PressKey(VK_LEFT);
  host.Type("XY");
  EXPECT_EQ(edit->Text(), "helXYlo");
  host.PressKey(VK_BACK);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(edit->Text(), "helXo");
  host.PressKey(VK_HOME);
  host.PressKey(VK_BACK);  // nothing before the caret
  EXPECT_EQ(edit->Text(), "helXo");
}

TEST_F(EditTest, ShiftArrowsSelectAndTypingReplacesTheSelection) {
  host.Type("abcdef");
  host.PressKey(VK_LEFT, {ssShift});
  host.PressKey(VK_LEFT, {ssShift});
  EXPECT_EQ(edit->SelStart(), 4);
  EXPECT_EQ(edit->SelLength(), 2);
  EXPECT_EQ(edit->SelText(), "ef");
  host.Type("Z");
  EXPECT_EQ(edit->Text(), "abcdZ");
  host.PressKey(VK_HOME, {ssShift});  // extends from the caret to the start
  EXPECT_EQ(edit->SelText(), "abcdZ");
  host.PressKey(VK_RIGHT);  // collapses to the selection's end
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_EQ(edit->SelStart(), 5);
}

TEST_F(EditTest, ClipboardKeysCopyCutPasteAndSelectAll) {
  host.Type("one two");
  host.PressKey('A', {ssCtrl});
  EXPECT_EQ(edit->SelLength(), 7);
  host.PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "one two");
  host.PressKey(VK_END);
  host.PressKey(VK_LEFT, {ssShift, ssCtrl});
  EXPECT_EQ(edit->SelText(), "two");
  host.PressKey('X', {ssCtrl});
  EXPECT_EQ(edit->Text(), "one ");
  EXPECT_EQ(Clipboard()->AsText(), "two");
  Clipboard()->SetAsText("a\r\nb");
  host.PressKey('V', {ssCtrl});
  EXPECT_EQ(edit->Text(), "one ab");  // one line: line ends drop out
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(edit->Text(), "one ");
}

TEST_F(EditTest, MaxLengthAndReadOnlyLimitTheUserNotTheProgram) {
  edit->SetMaxLength(3);
  host.Type("12345");
  EXPECT_EQ(edit->Text(), "123");
  Clipboard()->SetAsText("xyz");
  host.PressKey('V', {ssCtrl});
  EXPECT_EQ(edit->Text(), "123");
  edit->SetText("longer than three");
  EXPECT_EQ(edit->Text(), "longer than three");
  edit->SetReadOnly(true);
  const int before = changes;
  host.Type("q");
  host.PressKey(VK_BACK);
  host.PressKey('X', {ssCtrl});
  EXPECT_EQ(edit->Text(), "longer than three");
  EXPECT_EQ(changes, before);
  host.PressKey('A', {ssCtrl});
  host.PressKey('C', {ssCtrl});  // copying is still allowed
  EXPECT_EQ(Clipboard()->AsText(), "longer than three");
}

TEST_F(EditTest, AssigningTheSameTextIsNoChange) {
  edit->SetText("x");
  EXPECT_EQ(changes, 1);
  edit->SetText("x");
  EXPECT_EQ(changes, 1);
}

TEST_F(EditTest, MouseClickPlacesTheCaretAndDragSelects) {
  edit->SetText("0123456789");
  const int x3 = edit->XOfChar(3), x7 = edit->XOfChar(7);
  host.Click(*edit, x3, 12);
  EXPECT_EQ(edit->SelStart(), 3);
  EXPECT_EQ(edit->SelLength(), 0);
  host.Drag(*edit, x3, 12, x7, 12);
  EXPECT_EQ(edit->SelStart(), 3);
  EXPECT_EQ(edit->SelLength(), 4);
  host.Drag(*edit, x7, 12, x3, 12);  // backwards
  EXPECT_EQ(edit->SelText(), "3456");
  EXPECT_EQ(edit->CharAtX(-50), 0);
  EXPECT_EQ(edit->CharAtX(5000), 10);
}

TEST_F(EditTest, DoubleClickSelectsAWord) {
  edit->SetText("alpha beta gamma");
  host.DoubleClick(*edit, edit->XOfChar(8), 12);
  EXPECT_EQ(edit->SelText(), "beta");
}

TEST_F(EditTest, TabIntoTheFieldSelectsAllButAClickDoesNot) {
  auto* other = new TEdit(form.get());
  other->SetParent(form.get());
  other->SetTop(50);
  other->SetText("second");
  host.PressKey(VK_TAB);
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(other->SelLength(), 6);
  host.Click(*edit, 5, 12);
  EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EditTest, CaretBlinksWhileFocusedAndStopsAfter) {
  host.Type("abc");
  auto caretColumnDark = [&] {
    auto shot = host.Snapshot(*edit);
    const int x = edit->XOfChar(3);
    for (int y = 4; y < 20; ++y) {
      if (shot->Canvas()->Pixels(x, y) == ColorToRGB(clWindowText)) return true;
    }
    return false;
  };
  EXPECT_TRUE(caretColumnDark());
  host.Advance(500);
  EXPECT_FALSE(caretColumnDark());
  host.Advance(500);
  EXPECT_TRUE(caretColumnDark());
  form->SetActiveControl(nullptr);
  host.Advance(1000);
  EXPECT_FALSE(caretColumnDark());
}

TEST_F(EditTest, SelectionIsHighlightedOnlyWhileFocusedByDefault) {
  edit->SetText("selected");
  edit->SelectAll();
  host.ProcessMessages();
  auto highlighted = [&] {
    auto shot = host.Snapshot(*edit);
    int n = 0;
    for (int y = 0; y < edit->Height(); ++y)
      for (int x = 0; x < edit->Width(); ++x) n += shot->Canvas()->Pixels(x, y) == ColorToRGB(clHighlight);
    return n;
  };
  EXPECT_GT(highlighted(), 100);
  form->SetActiveControl(nullptr);
  EXPECT_EQ(highlighted(), 0);
  edit->SetHideSelection(false);
  host.ProcessMessages();
  EXPECT_EQ(highlighted(), 0);  // shown, but in the inactive colour
}

TEST_F(EditTest, CharactersCountAsCodePoints) {
  host.Type("a");
  edit->SetSelText("ÄÖ");
  EXPECT_EQ(edit->Text(), "aÄÖ");
  EXPECT_EQ(edit->SelStart(), 3);
  host.PressKey(VK_BACK);
  EXPECT_EQ(edit->Text(), "aÄ");
}

TEST_F(EditTest, DeletingIsAllowedInATextLongerThanMaxLength) {
  edit->SetText("abcdefgh");  // the program may assign more than the limit
  edit->SetMaxLength(4);
  edit->SelectAll();
  host.PressKey(VK_RIGHT);
  host.PressKey(VK_LEFT, {ssShift});
  host.PressKey(VK_LEFT, {ssShift});
  host.PressKey(VK_BACK);
  EXPECT_EQ(edit->Text(), "abcdef");
  host.PressKey(VK_HOME);
  host.PressKey(VK_RIGHT, {ssShift});
  host.PressKey(VK_DELETE);
  EXPECT_EQ(edit->Text(), "bcdef");
  host.PressKey(VK_RIGHT, {ssShift});
  host.PressKey('X', {ssCtrl});
  EXPECT_EQ(edit->Text(), "cdef");
  EXPECT_EQ(Clipboard()->AsText(), "b");
  host.Type("z");  // at the limit typing adds nothing
  EXPECT_EQ(edit->Text(), "cdef");
  // Typing over a selection in a too long text does not turn into a deletion.
  edit->SetText("abcdefgh");
  edit->SelectAll();
  edit->SetSelLength(2);
  host.Type("z");
  EXPECT_EQ(edit->Text(), "abcdefgh");
}

TEST_F(EditTest, UndoTakesBackAWholeTypedRun) {
  host.Type("hello");
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(edit->Text(), "");
  host.PressKey('Z', {ssCtrl});  // and undoing the undo brings it back
  EXPECT_EQ(edit->Text(), "hello");
  // A caret move ends the run.
  host.PressKey(VK_END);
  host.Type(" big");
  host.PressKey(VK_LEFT);
  host.PressKey(VK_RIGHT);
  host.Type(" world");
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(edit->Text(), "hello big");
  // So does a deletion: it undoes on its own.
  host.Type("gest");
  host.PressKey(VK_BACK);
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(edit->Text(), "hello biggest");
  // Typing over a selection undoes back to the selected text.
  edit->SelectAll();
  host.Type("new");
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(edit->Text(), "hello biggest");
  // A paste is a change of its own.
  host.PressKey(VK_END);
  host.Type("!");
  Clipboard()->SetAsText("??");
  host.PressKey('V', {ssCtrl});
  host.PressKey('Z', {ssCtrl});
  EXPECT_EQ(edit->Text(), "hello biggest!");
}

TEST_F(EditTest, APasswordFieldIsOneWord) {
  edit->SetPasswordChar('*');
  host.Type("correct horse battery");
  host.PressKey(VK_LEFT, {ssCtrl});
  EXPECT_EQ(edit->SelStart(), 0);
  host.PressKey(VK_RIGHT, {ssCtrl});
  EXPECT_EQ(edit->SelStart(), 21);
  host.PressKey(VK_LEFT, {ssCtrl, ssShift});
  EXPECT_EQ(edit->SelLength(), 21);
  host.PressKey(VK_RIGHT);
  host.DoubleClick(*edit, edit->XOfChar(3), 10);
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 21);
  // Without the mask words stop at blanks.
  edit->SetPasswordChar(0);
  edit->SetSelStart(21);
  host.PressKey(VK_LEFT, {ssCtrl});
  EXPECT_EQ(edit->SelStart(), 14);
}

}  // namespace
}  // namespace vorn
