// Controls on a headless form: painting, focus, keys, mouse and deletion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/timers.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {
namespace {

// A focusable control that records what reaches it.
class Probe : public TCustomControl {
 public:
  explicit Probe(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 40, 20);
  }
  std::vector<std::string> log;
  int paints = 0;
  bool takeKeysInNotification = false;
  bool wantTab = false;
  TColor fill = clRed;

  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(Rect(-100, -100, 1000, 1000));  // clipped to the control
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back("down" + std::string(s.Contains(ssDouble) ? "2" : "") + " " + std::to_string(x) + "," +
                  std::to_string(y));
    TCustomControl::MouseDown(b, s, x, y);
  }
  void MouseMove(TShiftState s, int x, int y) override {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    TCustomControl::MouseMove(s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back("up");
    TCustomControl::MouseUp(b, s, x, y);
  }
  void Click() override { log.push_back("click"); }
  void DblClick() override { log.push_back("dblclick"); }
  void KeyDown(Word& k, TShiftState s) override {
    log.push_back("key " + std::to_string(k) + (s.Contains(ssShift) ? "+shift" : ""));
  }
  void KeyPress(char32_t& c) override { log.push_back(std::string("char ") + static_cast<char>(c)); }
  void DoEnter() override { log.push_back("enter"); }
  void DoExit() override { log.push_back("exit"); }
  void MouseEnter() override { log.push_back("mouseenter"); }
  void MouseLeave() override { log.push_back("mouseleave"); }

 protected:
  void CNKeyDown(TMessage& m) override {
    if (takeKeysInNotification) {
      log.push_back("cn " + std::to_string(m.WParam));
      m.Result = 1;
      return;
    }
    TCustomControl::CNKeyDown(m);
  }
  void WMGetDlgCode(TMessage& m) override { m.Result = wantTab ? DLGC_WANTTAB : 0; }
  void WMSetFocus(TMessage&) override { log.push_back("setfocus"); }
  void WMKillFocus(TMessage&) override { log.push_back("killfocus"); }
};

class Graphic : public TGraphicControl {
 public:
  explicit Graphic(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 10, 10); }
  int paints = 0;
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(Rect(-50, -50, 500, 500));
  }
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 120);
    form->SetColor(clWhite);
  }
  Probe* AddProbe(int x, int y) {
    auto* p = new Probe(form.get());
    p->SetParent(form.get());
    p->SetBounds(x, y, 40, 20);
    return p;
  }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
};

TEST_F(ControlTest, ShownFormPaintsControlsClippedToTheirBounds) {
  auto* p = AddProbe(10, 10);
  auto* g = new Graphic(form.get());
  g->SetParent(form.get());
  g->SetBounds(100, 50, 10, 10);
  form->Show();
  auto shot = host.Snapshot(*form);
  EXPECT_EQ(shot->Canvas()->Pixels(10, 10), clRed);
  EXPECT_EQ(shot->Canvas()->Pixels(49, 29), clRed);
  EXPECT_EQ(shot->Canvas()->Pixels(50, 10), clWhite);
  EXPECT_EQ(shot->Canvas()->Pixels(9, 10), clWhite);
  EXPECT_EQ(shot->Canvas()->Pixels(105, 55), clBlue);
  EXPECT_EQ(shot->Canvas()->Pixels(110, 55), clWhite);
  EXPECT_EQ(p->paints, 1);
  EXPECT_EQ(g->paints, 1);
}

TEST_F(ControlTest, InvalidationCoalescesAndRepaintsOnlyTheDirtyControl) {
  std::vector<Probe*> probes;
  for (int i = 0; i < 50; ++i) probes.push_back(AddProbe((i % 10) * 20, (i / 10) * 24));
  for (auto* p : probes) p->SetWidth(18);
  form->Show();
  host.ProcessMessages();
  for (auto* p : probes) p->paints = 0;
  probes[7]->Invalidate();
  probes[7]->Invalidate();
  probes[7]->fill = clLime;
  host.ProcessMessages();
  for (int i = 0; i < 50; ++i) EXPECT_EQ(probes[static_cast<std::size_t>(i)]->paints, i == 7 ? 1 : 0) << i;
  EXPECT_EQ(form->SurfaceBitmap().Canvas()->Pixels(probes[7]->Left() + 1, probes[7]->Top() + 1), clLime);
  // Repaint paints at once, without waiting for the host.
  probes[3]->Repaint();
  EXPECT_EQ(probes[3]->paints, 1);
}

TEST_F(ControlTest, TabMovesFocusInTabOrderSkippingWhatCannotTakeIt) {
  auto* a = AddProbe(0, 0);
  auto* b = AddProbe(50, 0);
  auto* c = AddProbe(100, 0);
  auto* d = AddProbe(150, 0);
  c->SetEnabled(false);
  d->SetTabStop(false);
  form->Show();
  EXPECT_TRUE(a->Focused());
  host.PressKey(VK_TAB);
  EXPECT_TRUE(b->Focused());
  host.PressKey(VK_TAB);
  EXPECT_TRUE(a->Focused());  // c disabled, d no tab stop: wraps around
  host.PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(b->Focused());
  b->SetTabOrder(0);
  host.PressKey(VK_TAB);
  EXPECT_TRUE(a->Focused());
  // A control can ask its parent to move on, as a field does for Tab.
  a->Parent()->Perform(WM_NEXTDLGCTL, 0, 0);
  EXPECT_TRUE(b->Focused());
}

TEST_F(ControlTest, FocusChangesSendKillSetExitEnterInThatOrder) {
  auto* a = AddProbe(0, 0);
  auto* b = AddProbe(50, 0);
  form->Show();
  a->log.clear();
  b->log.clear();
  b->SetFocus();
  EXPECT_EQ(a->log, (std::vector<std::string>{"killfocus", "exit"}));
  EXPECT_EQ(b->log, (std::vector<std::string>{"setfocus", "enter"}));
  EXPECT_FALSE(a->Focused());
}

TEST_F(ControlTest, KeysReachTheFocusedControlAndNotificationsCanTakeThem) {
  auto* a = AddProbe(0, 0);
  form->Show();
  a->log.clear();
  host.Type("aB");
  EXPECT_EQ(a->log, (std::vector<std::string>{"key 65", "char a", "key 16+shift", "key 66+shift", "char B"}));
  a->log.clear();
  a->takeKeysInNotification = true;
  host.PressKey(VK_LEFT);
  EXPECT_EQ(a->log, (std::vector<std::string>{"cn 37"}));
}

TEST_F(ControlTest, AControlThatWantsTabKeepsIt) {
  auto* a = AddProbe(0, 0);
  auto* b = AddProbe(50, 0);
  form->Show();
  a->wantTab = true;
  a->log.clear();
  host.PressKey(VK_TAB);
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(a->log, (std::vector<std::string>{"key 9", "char \t"}));
  (void)b;
}

TEST_F(ControlTest, MouseCaptureKeepsMovesWithThePressedControl) {
  auto* a = AddProbe(0, 0);
  auto* b = AddProbe(100, 0);
  form->Show();
  host.MouseDown(*form, 5, 5);
  host.MouseMove(*form, 110, 5);  // over b, but a holds the capture
  host.MouseUp(*form, 110, 5);
  EXPECT_EQ(form->CaptureControl(), nullptr);
  // No click (released outside); the pointer leaves once the capture ends.
  // The first control got the focus (and OnEnter) when the form showed.
  const std::vector<std::string> expectA = {"setfocus", "enter", "mouseenter", "move 5,5", "down 5,5",
                                            "move 110,5", "up", "mouseleave"};
  EXPECT_EQ(a->log, expectA);
  EXPECT_TRUE(std::find(b->log.begin(), b->log.end(), "move 10,5") != b->log.end());
}

TEST_F(ControlTest, ClickAndDoubleClickSequences) {
  auto* a = AddProbe(10, 10);
  form->Show();
  a->log.clear();
  host.Click(*a, 3, 4);
  EXPECT_EQ(a->log, (std::vector<std::string>{"mouseenter", "move 3,4", "down 3,4", "click", "up", "move 3,4"}));
  a->log.clear();
  host.DoubleClick(*a, 3, 4);
  const std::vector<std::string> expect = {"move 3,4", "down 3,4", "click", "up", "move 3,4",
                                           "dblclick", "down2 3,4", "up", "move 3,4"};
  EXPECT_EQ(a->log, expect);
}

TEST_F(ControlTest, WheelGoesUpThroughParentsUntilHandled) {
  auto* panel = new TCustomControl(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 100, 100);
  auto* inner = new Probe(form.get());
  inner->SetParent(panel);
  int seen = 0;
  panel->SetOnMouseWheelDown([&](TObject*, TShiftState, TPoint, bool& handled) {
    ++seen;
    handled = true;
  });
  form->Show();
  host.Wheel(*inner, 5, 5, -WHEEL_DELTA);
  EXPECT_EQ(seen, 1);
}

TEST_F(ControlTest, RightClickOpensThePopupMenu) {
  auto* a = AddProbe(0, 0);
  auto* menu = new TPopupMenu(form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption("Copy");
  menu->Items()->Add(item);
  int clicked = 0;
  item->SetOnClick([&](TObject*) { ++clicked; });
  a->SetPopupMenu(menu);
  host.SetPopupHandler([&](TPopupMenu& m, int, int) { m.Items()->Find("Copy")->Click(); });
  form->Show();
  host.Click(*a, 5, 5, mbRight);
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(menu->PopupComponent(), a);
  host.SetPopupHandler(nullptr);
  delete menu;
  EXPECT_EQ(a->PopupMenu(), nullptr);
}

TEST_F(ControlTest, DeletingAControlWithCaptureFocusAndTimerLeavesNothingDangling) {
  auto* a = AddProbe(0, 0);
  const HWND w = AllocateHWnd([](TMessage&) {});
  SetTimer(w, 1, 100, nullptr);
  form->Show();
  a->SetFocus();
  host.MouseDown(*form, 5, 5);
  EXPECT_EQ(form->CaptureControl(), a);
  delete a;
  DeallocateHWnd(w);
  EXPECT_EQ(form->CaptureControl(), nullptr);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(form->HoverControl(), nullptr);
  host.MouseMove(*form, 6, 6);
  host.MouseUp(*form, 6, 6);
  host.PressKey('A');
  host.Advance(300);
}

TEST_F(ControlTest, AControlMayDeleteItselfInItsClickHandler) {
  auto* a = AddProbe(0, 0);
  a->SetOnClick([&](TObject*) { delete a; });
  form->Show();
  host.Click(*form, 5, 5);  // Probe overrides Click, so use the event path below
  auto* g = new Graphic(form.get());
  g->SetParent(form.get());
  g->SetBounds(100, 0, 10, 10);
  g->SetOnClick([g](TObject*) { delete g; });
  host.Click(*form, 105, 5);
  EXPECT_EQ(form->ControlCount(), 1);
}

TEST_F(ControlTest, ExceptionsInHandlersGoToTheApplication) {
  auto* g = new Graphic(form.get());
  g->SetParent(form.get());
  g->SetOnClick([](TObject*) { throw std::runtime_error("click failed"); });
  std::string caught;
  Application()->SetOnException([&](TObject*, const std::exception& e) { caught = e.what(); });
  form->Show();
  EXPECT_NO_THROW(host.Click(*g, 1, 1));
  EXPECT_EQ(caught, "click failed");
  Application()->SetOnException(nullptr);
}

TEST_F(ControlTest, ParentFontFlowsToChildrenUntilTheyChangeTheirOwn) {
  auto* a = AddProbe(0, 0);
  auto* b = AddProbe(50, 0);
  form->Font()->SetSize(14);
  EXPECT_EQ(a->Font()->Size(), 14);
  b->Font()->SetColor(clRed);
  EXPECT_FALSE(b->ParentFont());
  form->Font()->SetSize(9);
  EXPECT_EQ(a->Font()->Size(), 9);
  EXPECT_EQ(b->Font()->Size(), 14);
}

TEST_F(ControlTest, ButtonBroadcastReachesEverySibling) {
  auto* a = AddProbe(0, 0);
  auto* b = AddProbe(50, 0);
  int seen = 0;
  a->SetOnResize(nullptr);
  TMessage m{CM_BUTTONPRESSED, 3, reinterpret_cast<LPARAM>(a), 0};
  struct Counter : Probe {
    using Probe::Probe;
    int* seen = nullptr;
    void WndProc(TMessage& msg) override {
      if (msg.Msg == CM_BUTTONPRESSED) ++*seen;
      Probe::WndProc(msg);
    }
  };
  auto* c = new Counter(form.get());
  c->seen = &seen;
  c->SetParent(form.get());
  form->Broadcast(m);
  EXPECT_EQ(seen, 1);
  (void)b;
}

TEST_F(ControlTest, ModalFormsRunThroughTheHandler) {
  TForm dialog(nullptr);
  host.SetModalHandler([](TCustomForm& f) {
    EXPECT_TRUE(f.Showing());
    f.SetModalResult(mrOk);
    return mrOk;
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_FALSE(dialog.Showing());
  host.SetModalHandler(nullptr);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST_F(ControlTest, ClipboardHoldsText) {
  Clipboard()->SetAsText("1.5\t2");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), "1.5\t2");
  host.ClearClipboard();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(ControlTest, AlignedChildrenFillTheirParent) {
  auto* top = new TCustomControl(form.get());
  top->SetParent(form.get());
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* rest = new TCustomControl(form.get());
  rest->SetParent(form.get());
  rest->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 30));
  EXPECT_EQ(rest->BoundsRect(), Rect(0, 30, 200, 120));
  form->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(rest->BoundsRect(), Rect(0, 30, 300, 200));
}

}  // namespace
}  // namespace vorn
