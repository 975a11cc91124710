// Alignment, hit testing, visibility and coordinates of controls.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn {
namespace {

TPanel* AddPanel(TWinControl& parent, TAlign align, int size) {
  auto* p = new TPanel(parent.Owner() != nullptr ? parent.Owner() : &parent);
  p->SetParent(&parent);
  p->SetWidth(size);
  p->SetHeight(size);
  p->SetAlign(align);
  return p;
}

TEST(LayoutTest, AlignedChildrenShareTheParentInOrder) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* top = AddPanel(form, alTop, 20);
  auto* bottom = AddPanel(form, alBottom, 30);
  auto* left = AddPanel(form, alLeft, 40);
  auto* right = AddPanel(form, alRight, 50);
  auto* client = AddPanel(form, alClient, 10);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 170, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 40, 170));
  EXPECT_EQ(right->BoundsRect(), Rect(250, 20, 300, 170));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 20, 250, 170));
  // A hidden aligned control gives its room to the others.
  top->Hide();
  EXPECT_EQ(client->BoundsRect(), Rect(40, 0, 250, 170));
}

TEST(LayoutTest, CoordinatesGoThroughEveryParent) {
  TForm form(nullptr);
  form.SetBounds(100, 50, 300, 200);
  auto* outer = new TPanel(&form);
  outer->SetParent(&form);
  outer->SetBounds(10, 20, 200, 150);
  auto* inner = new TPanel(&form);
  inner->SetParent(outer);
  inner->SetBounds(5, 6, 50, 40);
  EXPECT_EQ(inner->WindowOrigin(), Point(15, 26));
  EXPECT_EQ(inner->ClientToScreen(Point(1, 2)), Point(116, 78));
  EXPECT_EQ(inner->ScreenToClient(Point(116, 78)), Point(1, 2));
  EXPECT_EQ(inner->ParentForm(), &form);
}

TEST(LayoutTest, TheControlUnderThePointIsTheTopmostVisibleEnabledOne) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* below = new TPanel(&form);
  below->SetParent(&form);
  below->SetBounds(0, 0, 100, 100);
  auto* above = new TPanel(&form);
  above->SetParent(&form);
  above->SetBounds(50, 0, 100, 100);
  EXPECT_EQ(form.ControlAtPos(Point(60, 10), false), above);
  EXPECT_EQ(form.ControlAtPos(Point(10, 10), false), below);
  above->SetEnabled(false);
  EXPECT_EQ(form.ControlAtPos(Point(60, 10), false), below);
  EXPECT_EQ(form.ControlAtPos(Point(60, 10), true), above);
  below->BringToFront();
  above->SetEnabled(true);
  EXPECT_EQ(form.ControlAtPos(Point(60, 10), false), below);
  EXPECT_EQ(form.ControlAtPos(Point(140, 99), false), above);
  EXPECT_EQ(form.ControlAtPos(Point(199, 10), false), nullptr);
}

TEST(LayoutTest, ReparentingMovesAControlAndItsFocus) {
  TForm form(nullptr);
  auto* a = new TPanel(&form);
  a->SetParent(&form);
  auto* b = new TPanel(&form);
  b->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetParent(a);
  form.Show();
  edit->SetFocus();
  EXPECT_TRUE(edit->Focused());
  edit->SetParent(b);
  EXPECT_EQ(edit->Parent(), b);
  EXPECT_EQ(a->ControlCount(), 0);
  EXPECT_EQ(b->ControlCount(), 1);
  EXPECT_EQ(form.ActiveControl(), nullptr);  // focus left with the move
  edit->SetParent(edit);  // a control cannot sit inside itself
  EXPECT_EQ(edit->Parent(), b);
  a->SetParent(b);
  b->SetParent(a);  // nor inside its own child
  EXPECT_EQ(b->Parent(), &form);
}

TEST(LayoutTest, PasswordFieldsShowMaskCharactersAndRefuseToCopy) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetPasswordChar(U'*');
  form.Show();
  edit->SetFocus();
  HeadlessHost().Type("secret");
  EXPECT_EQ(edit->Text(), "secret");
  Clipboard()->SetAsText("before");
  HeadlessHost().PressKey('A', {ssCtrl});
  HeadlessHost().PressKey('C', {ssCtrl});
  HeadlessHost().PressKey('X', {ssCtrl});
  EXPECT_EQ(Clipboard()->AsText(), "before");
  EXPECT_EQ(edit->Text(), "secret");
}

}  // namespace
}  // namespace vorn
