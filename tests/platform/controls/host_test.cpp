// The headless host: forms, activation, snapshots, keyboard state.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn {
namespace {

TEST(HeadlessHostTest, TheLastShownFormIsActiveAndHidingGivesTheFocusBack) {
  auto& host = HeadlessHost();
  TForm first(nullptr), second(nullptr);
  auto* a = new TEdit(&first);
  a->SetParent(&first);
  auto* b = new TEdit(&second);
  b->SetParent(&second);
  first.Show();
  EXPECT_TRUE(a->Focused());
  second.Show();
  EXPECT_EQ(host.ActiveForm(), &second);
  EXPECT_FALSE(a->Focused());
  EXPECT_TRUE(b->Focused());
  host.Type("x");
  EXPECT_EQ(b->Text(), "x");
  EXPECT_EQ(a->Text(), "");
  second.Hide();
  EXPECT_EQ(host.ActiveForm(), &first);
  EXPECT_TRUE(a->Focused());
}

TEST(HeadlessHostTest, ASnapshotOfAControlIsItsPartOfTheForm) {
  auto& host = HeadlessHost();
  TForm form(nullptr);
  form.SetColor(clWhite);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(30, 20, 50, 40);
  panel->SetBevelOuter(bvNone);
  panel->SetColor(clTeal);
  form.Show();
  auto shot = host.Snapshot(*panel);
  EXPECT_EQ(shot->Width(), 50);
  EXPECT_EQ(shot->Height(), 40);
  EXPECT_EQ(shot->Canvas()->Pixels(0, 0), clTeal);
  EXPECT_EQ(shot->Canvas()->Pixels(49, 39), clTeal);
  auto whole = host.Snapshot(form);
  EXPECT_EQ(whole->Canvas()->Pixels(29, 20), clWhite);
  EXPECT_EQ(whole->Canvas()->Pixels(30, 20), clTeal);
}

TEST(HeadlessHostTest, ModifierKeysShowInTheKeyboardState) {
  auto& host = HeadlessHost();
  TForm form(nullptr);
  form.Show();
  host.KeyDown(VK_SHIFT);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_TRUE(KeyboardShiftState().Contains(ssShift));
  host.KeyUp(VK_SHIFT);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  EXPECT_FALSE(KeyboardShiftState().Contains(ssShift));
  EXPECT_EQ(GetKeyState(1000), 0);
}

TEST(HeadlessHostTest, ShownFormsAreVisibleToChildrenAndHiddenOnesAreNot) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  EXPECT_FALSE(edit->Showing());
  EXPECT_FALSE(edit->CanFocus() && edit->Focused());
  form.Show();
  EXPECT_TRUE(edit->Showing());
  EXPECT_TRUE(edit->HandleAllocated());
  edit->Hide();
  EXPECT_FALSE(edit->Showing());
  EXPECT_FALSE(edit->CanFocus());
}

TEST(ApplicationTest, ExceptionsWithoutAHandlerAreShownAndCounted) {
  const int before = Application()->ShownExceptions();
  try {
    throw std::runtime_error("shown");
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  EXPECT_EQ(Application()->ShownExceptions(), before + 1);
  // A handler that throws itself is contained.
  Application()->SetOnException([](TObject*, const std::exception&) { throw 1; });
  try {
    throw 42;
  } catch (...) {
    EXPECT_NO_THROW(Application()->HandleException(nullptr));
  }
  Application()->SetOnException(nullptr);
}

}  // namespace
}  // namespace vorn
