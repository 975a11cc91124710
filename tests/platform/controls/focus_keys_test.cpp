// Focus and keys under demanding use: handlers that delete their control,
// OnExit handlers that keep or move the focus, hidden and disabled focused
// controls, buttons and accelerators, popup menus from the keyboard, AltGr
// and wheel notches.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/menus.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn {
namespace {

class FocusKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
  }
  void TearDown() override { host.SetPopupHandler(nullptr); }

  TEdit* AddEdit(TWinControl* Parent, int Top) {
    auto* e = new TEdit(form.get());
    e->SetParent(Parent);
    e->SetBounds(10, Top, 150, 24);
    return e;
  }
  TButton* AddButton(TWinControl* Parent, const std::string& Caption, int Left) {
    auto* b = new TButton(form.get());
    b->SetParent(Parent);
    b->SetBounds(Left, 250, 75, 25);
    b->SetCaption(Caption);
    return b;
  }
  // Counts OnEnter and OnExit of a control.
  struct Visits {
    int Enters = 0;
    int Exits = 0;
  };
  void Count(TWinControl* Control, Visits& V) {
    Control->SetOnEnter([&V](TObject*) { ++V.Enters; });
    Control->SetOnExit([&V](TObject*) { ++V.Exits; });
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
};

// ---- handlers that delete their control -----------------------------------------------

TEST_F(FocusKeysTest, AKeyPreviewHandlerThatDeletesTheFocusedControlEndsTheKey) {
  TEdit* doomed = AddEdit(form.get(), 10);
  TEdit* other = AddEdit(form.get(), 40);
  int formKeys = 0, doomedKeys = 0;
  doomed->SetOnKeyDown([&](TObject*, Word&, TShiftState) { ++doomedKeys; });
  form->SetKeyPreview(true);
  form->SetOnKeyDown([&](TObject*, Word& Key, TShiftState) {
    ++formKeys;
    if (Key == VK_DELETE && doomed != nullptr) {
      delete doomed;
      doomed = nullptr;
    }
  });
  form->Show();
  doomed->SetFocus();
  host.PressKey(VK_DELETE);
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(formKeys, 1);  // the key went nowhere after the deletion
  EXPECT_EQ(doomedKeys, 0);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  other->SetFocus();
  host.Type("ok");
  EXPECT_EQ(other->Text(), "ok");
}

TEST_F(FocusKeysTest, AnEditThatDeletesItselfInItsOwnKeyHandlersIsNotTouchedAgain) {
  TEdit* edit = AddEdit(form.get(), 10);
  edit->SetOnKeyDown([&](TObject*, Word& Key, TShiftState) {
    if (Key == VK_ESCAPE) {
      delete edit;
      edit = nullptr;
    }
  });
  form->Show();
  edit->SetFocus();
  host.PressKey(VK_ESCAPE);
  EXPECT_EQ(edit, nullptr);

  edit = AddEdit(form.get(), 10);
  edit->SetOnKeyPress([&](TObject*, char32_t& Key) {
    if (Key == 'q') {
      delete edit;
      edit = nullptr;
    }
  });
  edit->SetFocus();
  host.Type("aq");
  EXPECT_EQ(edit, nullptr);

  // A mouse handler that deletes the control, and OnChange doing the same.
  edit = AddEdit(form.get(), 10);
  edit->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, int, int) {
    delete edit;
    edit = nullptr;
  });
  host.Click(*form, 20, 20);
  EXPECT_EQ(edit, nullptr);
  edit = AddEdit(form.get(), 10);
  edit->SetFocus();
  edit->SetOnChange([&](TObject*) {
    delete edit;
    edit = nullptr;
  });
  host.Type("xy");
  EXPECT_EQ(edit, nullptr);
}

TEST_F(FocusKeysTest, AGuardNoticesDestructionEvenWhenTheAddressIsReused) {
  auto* first = new TEdit(form.get());
  TDestroyGuard guard(first);
  EXPECT_FALSE(guard.Gone());
  delete first;
  auto* second = new TEdit(form.get());  // may well land at the same address
  EXPECT_TRUE(guard.Gone());
  TDestroyGuard again(second);
  EXPECT_FALSE(again.Gone());
  EXPECT_TRUE(TDestroyGuard(nullptr).Gone());
}

// ---- OnEnter and OnExit ------------------------------------------------------------------

TEST_F(FocusKeysTest, OnExitThatKeepsTheFocusNeverSendsOnExitToAControlNotEntered) {
  TEdit* a = AddEdit(form.get(), 10);
  TEdit* b = AddEdit(form.get(), 40);
  Visits va, vb;
  // The classic validation: an empty field keeps the focus.
  for (TEdit* e : {a, b}) {
    e->SetOnExit([e, &va, &vb, a](TObject*) {
      ++(e == a ? va : vb).Exits;
      if (e->Text().empty()) e->SetFocus();
    });
    e->SetOnEnter([e, &va, &vb, a](TObject*) { ++(e == a ? va : vb).Enters; });
  }
  form->Show();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(va.Enters, 1);  // the first control enters when the form shows
  host.PressKey(VK_TAB);
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(va.Exits, 1);
  EXPECT_EQ(vb.Enters, 0);
  EXPECT_EQ(vb.Exits, 0);
  host.Type("x");
  host.PressKey(VK_TAB);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(vb.Enters, 1);
  host.PressKey(VK_TAB);  // b is empty and keeps the focus
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(vb.Exits, 1);
  EXPECT_EQ(va.Enters, 1);
  EXPECT_EQ(va.Exits, 2);
}

TEST_F(FocusKeysTest, AFocusChangeAskedForInOnExitReplacesThePendingOne) {
  TEdit* a = AddEdit(form.get(), 10);
  TEdit* b = AddEdit(form.get(), 40);
  TEdit* c = AddEdit(form.get(), 70);
  Visits vb, vc;
  Count(b, vb);
  Count(c, vc);
  a->SetOnExit([&](TObject*) { c->SetFocus(); });
  form->Show();
  host.PressKey(VK_TAB);  // towards b, but a's OnExit wants c
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(vb.Enters, 0);
  EXPECT_EQ(vb.Exits, 0);
  EXPECT_EQ(vc.Enters, 1);
  c->SetFocus();
  EXPECT_EQ(vc.Enters, 1);  // already there: nothing happens
}

TEST_F(FocusKeysTest, HidingOrDisablingTheFocusedControlExitsItAndMovesOnAsTabWould) {
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 200, 120);
  TEdit* a = AddEdit(panel, 10);
  TEdit* b = AddEdit(panel, 40);
  TEdit* c = AddEdit(form.get(), 150);
  Visits va, vb, vc;
  Count(a, va);
  Count(b, vb);
  Count(c, vc);
  form->Show();
  b->SetFocus();
  b->Hide();
  EXPECT_EQ(vb.Exits, 1);
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(vc.Enters, 1);
  c->SetEnabled(false);
  EXPECT_EQ(vc.Exits, 1);
  EXPECT_TRUE(a->Focused());  // wraps around to the start
  // Hiding a container with the focus inside it.
  c->SetEnabled(true);
  panel->Hide();
  EXPECT_EQ(va.Exits, 2);  // once for b->SetFocus, once now
  EXPECT_TRUE(c->Focused());
  // Nothing left to take the focus: it goes nowhere, with OnExit.
  c->Hide();
  EXPECT_EQ(vc.Exits, 2);
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(FocusKeysTest, WhenOnExitDeletesTheTargetTheFocusStays) {
  TEdit* a = AddEdit(form.get(), 10);
  TEdit* b = AddEdit(form.get(), 40);
  a->SetOnExit([&](TObject*) {
    delete b;
    b = nullptr;
  });
  form->Show();
  host.PressKey(VK_TAB);  // towards b, which goes away in a's OnExit
  EXPECT_EQ(b, nullptr);
  EXPECT_TRUE(a->Focused());
  // An OnExit that deletes its own control and the target as well.
  b = AddEdit(form.get(), 40);
  TEdit* c = AddEdit(form.get(), 70);
  a->SetOnExit([&](TObject*) {
    delete b;
    b = nullptr;
    delete a;
    a = nullptr;
  });
  host.PressKey(VK_TAB);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  c->SetFocus();
  EXPECT_TRUE(c->Focused());
}

// ---- buttons ------------------------------------------------------------------------------

TEST_F(FocusKeysTest, ReturnGoesToTheFocusedButtonElseToTheEnabledDefaultButton) {
  TEdit* edit = AddEdit(form.get(), 10);
  TButton* ok = AddButton(form.get(), "OK", 10);
  TButton* cancel = AddButton(form.get(), "Cancel", 100);
  ok->SetDefault(true);
  int okClicks = 0, cancelClicks = 0;
  ok->SetOnClick([&](TObject*) { ++okClicks; });
  cancel->SetOnClick([&](TObject*) { ++cancelClicks; });
  form->Show();
  edit->SetFocus();
  host.PressKey(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  cancel->SetFocus();
  host.PressKey(VK_RETURN);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(okClicks, 1);
  host.PressKey(VK_SPACE);
  EXPECT_EQ(cancelClicks, 2);

  // A default button inside a disabled panel is disabled for Return too.
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(200, 200, 190, 90);
  ok->SetParent(panel);
  panel->SetEnabled(false);
  edit->SetFocus();
  host.PressKey(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  panel->SetEnabled(true);
  host.PressKey(VK_RETURN);
  EXPECT_EQ(okClicks, 2);
}

TEST_F(FocusKeysTest, AcceleratorsWorkWithAltAndAloneWhereNothingTypes) {
  TEdit* edit = AddEdit(form.get(), 10);
  TEdit* name = AddEdit(form.get(), 40);
  TButton* save = AddButton(form.get(), "&Save", 10);
  TButton* other = AddButton(form.get(), "Sa&&ve", 100);
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  label->SetCaption("&Name:");
  label->SetFocusControl(name);
  int saves = 0, others = 0;
  save->SetOnClick([&](TObject*) { ++saves; });
  other->SetOnClick([&](TObject*) { ++others; });
  form->Show();
  edit->SetFocus();
  host.PressKey('S', {ssAlt});
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(edit->Text(), "");
  host.Type("s");  // a text field types the letter
  EXPECT_EQ(edit->Text(), "s");
  EXPECT_EQ(saves, 1);
  host.PressKey('N', {ssAlt});
  EXPECT_TRUE(name->Focused());
  // With a button focused a letter alone is an accelerator.
  other->SetFocus();
  host.Type("S");
  EXPECT_EQ(saves, 2);
  host.Type("v");  // "&&" is a literal ampersand, not an accelerator
  EXPECT_EQ(others, 0);
  save->SetEnabled(false);
  host.PressKey('S', {ssAlt});
  EXPECT_EQ(saves, 2);
  EXPECT_TRUE(IsAccel(U'ä', "&Ärger"));
  EXPECT_FALSE(IsAccel('a', "A&&b"));
  EXPECT_FALSE(IsAccel('a', "trailing&"));
}

// ---- popup menus from the keyboard ---------------------------------------------------------

TEST_F(FocusKeysTest, TheMenuKeyAndShiftF10OpenThePopupMenuAtTheCaret) {
  TEdit* edit = AddEdit(form.get(), 10);
  auto* menu = new TPopupMenu(form.get());
  edit->SetPopupMenu(menu);
  int popups = 0;
  TPoint at;
  host.SetPopupHandler([&](TPopupMenu& M, int X, int Y) {
    ++popups;
    at = {X, Y};
    EXPECT_EQ(M.PopupComponent(), edit);
  });
  form->Show();
  edit->SetFocus();
  host.Type("hello");
  host.PressKey(VK_APPS);
  EXPECT_EQ(popups, 1);
  const TPoint caret = edit->ClientToScreen({edit->XOfChar(5), 0});
  EXPECT_EQ(at.X, caret.X);
  EXPECT_GT(at.Y, caret.Y);
  EXPECT_LT(at.Y, caret.Y + edit->Height());
  host.PressKey(VK_F10, {ssShift});
  EXPECT_EQ(popups, 2);
  host.PressKey(VK_F10);
  host.PressKey(VK_F10, {ssCtrl, ssShift});
  EXPECT_EQ(popups, 2);
  // A handler that takes the key keeps the menu closed.
  edit->SetOnKeyDown([](TObject*, Word& Key, TShiftState) {
    if (Key == VK_APPS) Key = 0;
  });
  host.PressKey(VK_APPS);
  EXPECT_EQ(popups, 2);
}

// ---- AltGr ------------------------------------------------------------------------------------

TEST_F(FocusKeysTest, CharactersTypedWithAltGrAreTextNotShortcuts) {
  EXPECT_EQ(ControlCharOfKey('A', true, false), 1U);
  EXPECT_EQ(ControlCharOfKey('A', true, true), 0U);
  EXPECT_EQ(ControlCharOfKey(VK_RETURN, true, true), 13U);
  TEdit* edit = AddEdit(form.get(), 10);
  form->Show();
  edit->SetFocus();
  host.Type("ab");
  host.TypeWithAltGr('A', U'\u0105');  // Polish a-ogonek, where Ctrl+A selects all
  host.TypeWithAltGr('Z', U'\u017C');  // z-dot, where Ctrl+Z undoes
  host.TypeWithAltGr('Q', '@');
  host.TypeWithAltGr('E', U'\u20AC');
  EXPECT_EQ(edit->Text(), "ab\u0105\u017C@\u20AC");
  host.PressKey('A', {ssCtrl});  // without Alt it still selects all
  EXPECT_EQ(edit->SelLength(), 6);
}

// ---- wheel --------------------------------------------------------------------------------------

TEST_F(FocusKeysTest, WheelStepsRunOncePerWholeNotch) {
  TEdit* edit = AddEdit(form.get(), 10);
  int downs = 0, ups = 0, raw = 0;
  edit->SetOnMouseWheelDown([&](TObject*, TShiftState, TPoint, bool& Handled) {
    ++downs;
    Handled = true;
  });
  edit->SetOnMouseWheelUp([&](TObject*, TShiftState, TPoint, bool& Handled) {
    ++ups;
    Handled = true;
  });
  form->SetOnMouseWheel([&](TObject*, TShiftState, int, TPoint, bool&) { ++raw; });
  form->Show();
  host.Wheel(*edit, 5, 5, -3 * WHEEL_DELTA);
  EXPECT_EQ(downs, 3);
  for (int i = 0; i < 4; ++i) host.Wheel(*edit, 5, 5, WHEEL_DELTA / 4);
  EXPECT_EQ(ups, 1);
  host.Wheel(*edit, 5, 5, WHEEL_DELTA / 4);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(raw, 0);  // parts of a notch stay with the control that takes the wheel
}

}  // namespace
}  // namespace vorn
