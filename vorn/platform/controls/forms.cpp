#include "vorn/platform/controls/forms.h"

#include <algorithm>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/runtime/host.h"

namespace vorn {

namespace {

bool IsInside(const TControl* Control, const TControl* Ancestor) {
  for (const TControl* c = Control; c != nullptr; c = c->Parent()) {
    if (c == Ancestor) return true;
  }
  return false;
}

// Runs an input handler so that nothing it throws reaches the host loop.
template <typename F>
void Guarded(TObject* Sender, F&& f) {
  try {
    f();
  } catch (...) {
    Application()->HandleException(Sender);
  }
}

std::uint32_t DownMessage(TMouseButton b, bool dbl) {
  switch (b) {
    case mbRight: return dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case mbMiddle: return dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    default: return dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
  }
}

std::uint32_t UpMessage(TMouseButton b) {
  switch (b) {
    case mbRight: return WM_RBUTTONUP;
    case mbMiddle: return WM_MBUTTONUP;
    default: return WM_LBUTTONUP;
  }
}

TShiftStateItem ButtonState(TMouseButton b) {
  switch (b) {
    case mbRight: return ssRight;
    case mbMiddle: return ssMiddle;
    default: return ssLeft;
  }
}

int ButtonKey(TMouseButton b) {
  switch (b) {
    case mbRight: return VK_RBUTTON;
    case mbMiddle: return VK_MBUTTON;
    default: return VK_LBUTTON;
  }
}

// The parent through which OnEnter and OnExit travel: null at the form.
TWinControl* EnteredParent(const TControl* Control) {
  TWinControl* parent = Control->Parent();
  return parent != nullptr && parent->Parent() != nullptr ? parent : nullptr;
}

bool CanTakeFocus(const TWinControl* Control, const TCustomForm* Form) {
  return Control != nullptr && IsLiveControl(Control) && IsInside(Control, Form) && Control->CanFocus();
}

// Offers a dialog key or character to the shown, enabled controls in
// order (a disabled or hidden container hides its children) until one
// takes it.
bool OfferToControls(TWinControl* Parent, std::uint32_t Msg, WPARAM WParam) {
  std::vector<TControl*> children;
  for (int i = 0; i < Parent->ControlCount(); ++i) children.push_back(Parent->Controls(i));
  for (TControl* c : children) {
    if (!IsLiveControl(c) || c->Parent() != Parent || !c->Visible() || !c->Enabled()) continue;
    TMessage m{Msg, WParam, 0, 0};
    c->WndProc(m);
    if (m.Result != 0) return true;
    if (!IsLiveControl(c)) continue;
    if (auto* inner = dynamic_cast<TWinControl*>(c); inner != nullptr && OfferToControls(inner, Msg, WParam)) return true;
  }
  return false;
}

bool IsAccelKey(Word Key) { return (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'); }

std::vector<TCustomForm*>& Released() {
  static std::vector<TCustomForm*> forms;
  return forms;
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FIsForm = true;
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  Font()->SetName("Tahoma");
  SetParentFont(false);
  FCanvas->SetFont(Font());
}

// The form's canvas measures and writes in the form's font, also before
// the form is shown.
void TCustomForm::CMFontChanged(TMessage& Message) {
  FCanvas->SetFont(Font());
  TWinControl::CMFontChanged(Message);
}

TCustomForm::~TCustomForm() {
  Destroying();
  auto& released = Released();
  released.erase(std::remove(released.begin(), released.end(), this), released.end());
  if (FShownOnHost) {
    FShownOnHost = false;
    CurrentHost().FormHidden(*this);
  }
  CurrentHost().FormDestroyed(*this);
  // Children go now, while this is still a form, so that their
  // departure is recorded here.
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);
  FIsForm = false;
}

// ---- showing ---------------------------------------------------------------------------

void TCustomForm::SetVisible(bool Value) {
  if (Value == Visible() && Value == FShownOnHost) return;
  TControl::SetVisible(Value);
  if (ComponentState().Contains(csDestroying)) return;
  if (Value && !FShownOnHost) {
    FShownOnHost = true;
    FSurface.SetSize(Width(), Height());
    CreateHandles();
    Realign();
    if (FActiveControl == nullptr) {
      if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
    }
    MarkDirty(this, {0, 0, Width(), Height()});
    CurrentHost().FormShown(*this);
    TDestroyGuard guard(this);
    Guarded(this, [&] {
      RaiseEvent(FOnShow, this);
    });
    if (!guard.Gone() && FActiveControl != nullptr) EnterChain(FActiveControl);
  } else if (!Value && FShownOnHost) {
    TDestroyGuard guard(this);
    SetWindowActive(false);  // OnDeactivate runs
    if (guard.Gone()) return;
    FShownOnHost = false;
    FCapture = nullptr;
    FHover = nullptr;
    CurrentHost().FormHidden(*this);
    Guarded(this, [&] {
      RaiseEvent(FOnHide, this);
    });
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  SetWindowActive(true);
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  RaiseEvent(FOnCloseQuery, this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  RaiseEvent(FOnClose, this, Action);
}

void TCustomForm::Close() {
  TDestroyGuard guard(this);
  if (!CloseQuery() || guard.Gone()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (guard.Gone() || action == caNone) return;
  if (FModal) {
    FCloseRaised = true;
    FModalResult = mrCancel;
    return;
  }
  if (action == caHide || action == caMinimize) {
    Hide();
  } else if (action == caFree) {
    Release();
  }
}

TModalResult TCustomForm::ShowModal() {
  FModalResult = mrNone;
  FModal = true;
  FCloseRaised = false;
  TDestroyGuard guard(this);
  Show();
  TModalResult result = mrCancel;
  try {
    result = CurrentHost().RunModal(*this);
  } catch (...) {
    if (!guard.Gone()) {
      FModal = false;
      Hide();
    }
    throw;
  }
  if (guard.Gone()) return result;
  if (FModalResult == mrNone) FModalResult = result;
  if (!FCloseRaised) {
    // Closed by its modal result (a button): OnClose still learns of it.
    TCloseAction action = caHide;
    Guarded(this, [&] { DoClose(action); });
    if (guard.Gone()) return result;
  }
  FModal = false;
  Hide();
  return FModalResult;
}

void TCustomForm::Release() {
  Hide();
  auto& list = Released();
  if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
  CurrentHost().FormDirty(*this);
}

void TCustomForm::FreeReleasedForms() {
  auto& list = Released();
  while (!list.empty()) {
    TCustomForm* form = list.back();
    list.pop_back();
    delete form;
  }
}

// ---- focus -------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control != nullptr && (!IsInside(Control, this) || !Control->CanFocus())) return;
  if (FExiting) {
    FPendingFocus = Control;
    return;
  }
  if (Control == FActiveControl) return;
  TDestroyGuard formGuard(this);
  if (!MoveFocus(Control)) return;
  // The controls the focus leaves exit, innermost first.
  while (FEntered != nullptr && (Control == nullptr || !IsInside(Control, FEntered))) {
    TWinControl* leaving = FEntered;
    FExiting = true;
    FPendingFocus = Control;
    FPendingGone = false;
    Guarded(this, [&] { leaving->Perform(CM_EXIT, 0, 0); });
    if (formGuard.Gone()) return;
    FExiting = false;
    const bool leavingGone = FEntered != leaving;  // destroyed by its own OnExit
    // A target that went away or cannot take the focus any more takes
    // nothing; the focus stays.
    TWinControl* wanted = FPendingGone ? nullptr : FPendingFocus;
    if (FPendingGone || (wanted != nullptr && !CanTakeFocus(wanted, this))) {
      wanted = !leavingGone && CanTakeFocus(leaving, this) ? leaving : nullptr;
    }
    if (leavingGone) {
      if (wanted != Control && !MoveFocus(wanted)) return;
      Control = wanted;
      continue;
    }
    if (wanted != nullptr && IsInside(wanted, leaving)) {
      // OnExit kept the focus in the control it was leaving.
      if (wanted != FActiveControl && !MoveFocus(wanted)) return;
      Control = wanted;
      break;
    }
    FEntered = EnteredParent(leaving);
    if (wanted != Control) {
      // OnExit sent the focus elsewhere: that replaces the pending change.
      if (!MoveFocus(wanted)) return;
      Control = wanted;
    }
  }
  // The controls it enters get OnEnter, outermost first.
  if (Control != nullptr) EnterChain(Control);
}

bool TCustomForm::MoveFocus(TWinControl* Control) {
  TDestroyGuard formGuard(this);
  TWinControl* old = FActiveControl;
  FActiveControl = Control;
  Guarded(this, [&] {
    if (old != nullptr && FActive && IsLiveControl(old)) old->Perform(WM_KILLFOCUS, 0, 0);
    if (Control != nullptr && FActive && FActiveControl == Control && IsLiveControl(Control)) {
      Control->Perform(WM_SETFOCUS, 0, 0);
    }
  });
  // A handler may have moved the focus on itself; that change stands.
  return !formGuard.Gone() && FActiveControl == Control;
}

void TCustomForm::EnterChain(TWinControl* Control) {
  std::vector<TWinControl*> chain;
  for (TWinControl* c = Control; c != nullptr && c != this; c = c->Parent()) {
    if (FEntered != nullptr && IsInside(FEntered, c)) break;  // entered already
    chain.push_back(c);
  }
  TDestroyGuard formGuard(this);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (FActiveControl != Control || !IsLiveControl(*it)) return;
    TWinControl* entering = *it;
    FEntered = entering;
    Guarded(this, [&] { entering->Perform(CM_ENTER, 0, 0); });
    if (formGuard.Gone()) return;
  }
}

void TCustomForm::FocusLeaves(TControl* Control) {
  if (Control == this || FActiveControl == nullptr || !IsInside(FActiveControl, Control)) return;
  TWinControl* next = FindNextControl(FActiveControl, true, true, false);
  if (next != nullptr && IsInside(next, Control)) next = nullptr;
  SetActiveControl(next);
}

void TCustomForm::SetWindowActive(bool Value) {
  if (Value == FActive) return;
  if (Value && !FShownOnHost) return;
  FActive = Value;
  Guarded(this, [&] {
    if (Value) {
      if (FActiveControl != nullptr) FActiveControl->Perform(WM_SETFOCUS, 0, 0);
      RaiseEvent(FOnActivate, this);
    } else {
      if (FActiveControl != nullptr) FActiveControl->Perform(WM_KILLFOCUS, 0, 0);
      RaiseEvent(FOnDeactivate, this);
    }
  });
}

void TCustomForm::ControlGone(TControl* Control) {
  if (FCapture != nullptr && IsInside(FCapture, Control)) FCapture = nullptr;
  if (FHover != nullptr && IsInside(FHover, Control)) FHover = nullptr;
  if (FActiveControl != nullptr && IsInside(FActiveControl, Control)) FActiveControl = nullptr;
  if (FEntered != nullptr && IsInside(FEntered, Control)) FEntered = Control == this ? nullptr : EnteredParent(Control);
  if (FPendingFocus != nullptr && IsInside(FPendingFocus, Control)) {
    FPendingFocus = nullptr;
    FPendingGone = true;
  }
  FDirty.erase(std::remove_if(FDirty.begin(), FDirty.end(),
                              [&](const DirtyPart& d) { return d.Root != this && IsInside(d.Root, Control); }),
               FDirty.end());
}

// ---- painting -----------------------------------------------------------------------------

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (resized && FShownOnHost) {
    FSurface.SetSize(Width(), Height());
    MarkDirty(this, {0, 0, Width(), Height()});
  }
}

void TCustomForm::MarkDirty(TWinControl* Root, const TRect& SurfaceRect) {
  if (!FShownOnHost || SurfaceRect.IsEmpty()) return;
  for (DirtyPart& d : FDirty) {
    if (d.Root == Root) {
      d.Rect = UnionRect(d.Rect, SurfaceRect);
      CurrentHost().FormDirty(*this);
      return;
    }
  }
  FDirty.push_back({Root, SurfaceRect});
  CurrentHost().FormDirty(*this);
}

void TCustomForm::PaintTree(TControl* Control, const TRect& Clip) {
  if (!Control->Visible()) return;
  const TRect area = IntersectRect(Control->VisibleSurfaceRect(), Clip);
  if (area.IsEmpty()) return;
  Control->FInPaint = true;
  Control->FPaintClip = area;
  Guarded(Control, [&] {
    if (auto* w = dynamic_cast<TWinControl*>(Control)) w->PaintBackground(*Control->Canvas());
    Control->Paint();
  });
  if (!IsLiveControl(Control)) return;
  Control->FInPaint = false;
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    const std::vector<TControl*> children = w->FControls;
    for (TControl* c : children) {
      if (IsLiveControl(c) && c->Parent() == w) PaintTree(c, area);
    }
  }
}

TRect TCustomForm::PaintDirty() {
  TRect painted;
  int rounds = 0;
  // Painting may mark more parts dirty; a few rounds settle it.
  while (!FDirty.empty() && rounds++ < 4) {
    std::vector<DirtyPart> parts;
    parts.swap(FDirty);
    for (std::size_t i = 0; i < parts.size(); ++i) {
      // A part that an ancestor's part already covers is painted with it.
      bool covered = false;
      for (std::size_t j = 0; j < parts.size() && !covered; ++j) {
        if (i == j || parts[j].Root == parts[i].Root) continue;
        covered = IsInside(parts[i].Root, parts[j].Root) &&
                  UnionRect(parts[j].Rect, parts[i].Rect) == parts[j].Rect;
      }
      if (covered || !IsLiveControl(parts[i].Root)) continue;
      PaintTree(parts[i].Root, parts[i].Rect);
      painted = UnionRect(painted, parts[i].Rect);
    }
  }
  if (!painted.IsEmpty()) SurfaceChanged();
  return painted;
}

// ---- input ------------------------------------------------------------------------------------

TControl* TCustomForm::TargetAt(TPoint P) const {
  if (TControl* c = ControlAtPos(P, false)) {
    // A control inside a disabled parent gets nothing.
    for (const TControl* p = c; p != nullptr; p = p->Parent()) {
      if (!p->Enabled()) return nullptr;
    }
    return c;
  }
  return const_cast<TCustomForm*>(this);
}

void TCustomForm::SetHover(TControl* Control) {
  if (Control == FHover) return;
  TControl* old = FHover;
  FHover = Control;
  if (old != nullptr && IsLiveControl(old)) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (Control != nullptr && IsLiveControl(Control) && FHover == Control) Control->Perform(CM_MOUSEENTER, 0, 0);
}

void TCustomForm::InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, bool Double) {
  Guarded(this, [&] {
    SetKeyDown(ButtonKey(Button), true);
    // A press outside an open drop-down only closes it.
    TDestroyGuard formGuard(this);
    if (TDropDownWindow::DismissFor(this)) {
      if (!formGuard.Gone()) FSwallowRelease = true;
      return;
    }
    FButtons.Include(ButtonState(Button));
    TControl* target = FCapture != nullptr ? FCapture : TargetAt({X, Y});
    if (target == nullptr) return;
    TDestroyGuard guard(target);
    SetHover(target);
    if (guard.Gone()) return;
    if (FCapture == nullptr && target->ControlStyle().Contains(csCaptureMouse)) FCapture = target;
    const TPoint o = target->WindowOrigin();
    target->Perform(DownMessage(Button, Double), static_cast<WPARAM>((Shift + FButtons).Bits()),
                    PointToLParam({X - o.X, Y - o.Y}));
  });
}

void TCustomForm::InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard formGuard(this);
  if (FSwallowRelease) {
    SetKeyDown(ButtonKey(Button), false);
    FSwallowRelease = false;
    return;
  }
  Guarded(this, [&] {
    SetKeyDown(ButtonKey(Button), false);
    FButtons.Exclude(ButtonState(Button));
    TControl* target = FCapture != nullptr ? FCapture : TargetAt({X, Y});
    if (FButtons.Empty()) FCapture = nullptr;
    if (target == nullptr) return;
    const TPoint o = target->WindowOrigin();
    target->Perform(UpMessage(Button), static_cast<WPARAM>((Shift + FButtons).Bits()),
                    PointToLParam({X - o.X, Y - o.Y}));
    if (Button != mbRight || formGuard.Gone()) return;
    // The context menu goes to the control under the pointer, then up
    // through its parents until one takes it.
    for (TControl* c = TargetAt({X, Y}); c != nullptr && IsLiveControl(c); c = c->Parent()) {
      if (c->Perform(WM_CONTEXTMENU, 0, PointToLParam(ClientToScreen({X, Y}))) != 0) break;
    }
  });
  if (!formGuard.Gone() && FButtons.Empty()) InputMouseMove(KeyboardShiftState(), X, Y);
}

void TCustomForm::InputMouseMove(TShiftState Shift, int X, int Y) {
  Guarded(this, [&] {
    TDestroyGuard formGuard(this);
    if (FCapture == nullptr) SetHover(TargetAt({X, Y}));
    if (formGuard.Gone()) return;
    TControl* target = FCapture != nullptr ? FCapture : TargetAt({X, Y});
    if (target == nullptr) return;
    const TPoint o = target->WindowOrigin();
    target->Perform(WM_MOUSEMOVE, static_cast<WPARAM>((Shift + FButtons).Bits()), PointToLParam({X - o.X, Y - o.Y}));
  });
}

void TCustomForm::InputMouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) {
  Guarded(this, [&] {
    const WPARAM w = static_cast<WPARAM>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(WheelDelta)) << 16) |
                                         static_cast<std::uint32_t>(Shift.Bits() & 0xFFFF));
    const LPARAM l = PointToLParam(ClientToScreen({X, Y}));
    for (TControl* c = TargetAt({X, Y}); c != nullptr && IsLiveControl(c); c = c->Parent()) {
      if (c->Perform(WM_MOUSEWHEEL, w, l) != 0) break;
    }
  });
}

void TCustomForm::InputMouseLeave() {
  Guarded(this, [&] { SetHover(nullptr); });
}

// A key goes to the form first when it previews keys (its handler may
// delete the focused control, which ends the key), then Alt with a letter
// or digit is offered as an accelerator to the captions on the form, then
// the focused control gets the notification and the key message. A key
// down nobody took that is the Menu key or Shift+F10 opens the popup menu
// of the focused control (or the nearest parent with one) at the control's
// own point: the caret, the current cell.
void TCustomForm::DispatchKey(std::uint32_t Notification, std::uint32_t Message, Word Key) {
  TWinControl* target = FActiveControl;
  if (target == nullptr || !target->CanFocus()) target = this;
  TDestroyGuard formGuard(this);
  TDestroyGuard targetGuard(target);
  if (FKeyPreview && target != this) {
    Word k = Key;
    if (Message == WM_KEYDOWN) {
      KeyDown(k, KeyboardShiftState());
    } else {
      KeyUp(k, KeyboardShiftState());
    }
    // A handler that deleted the focused control (or the form) ends the key.
    if (k == 0 || formGuard.Gone() || targetGuard.Gone()) return;
    target = FActiveControl;
    if (target == nullptr || !target->CanFocus()) target = this;
    targetGuard = TDestroyGuard(target);
  }
  const TShiftState shift = KeyboardShiftState();
  if (Message == WM_KEYDOWN && IsAccelKey(Key) && shift.Contains(ssAlt) && !shift.Contains(ssCtrl)) {
    if (OfferAccelerator(static_cast<char32_t>(Key))) return;
    if (formGuard.Gone() || targetGuard.Gone()) return;
  }
  if (target->Perform(Notification, Key, 0) != 0) return;
  if (targetGuard.Gone()) return;
  const LRESULT taken = target->Perform(Message, Key, 0);
  if (Message != WM_KEYDOWN || taken != 0 || targetGuard.Gone() || formGuard.Gone()) return;
  // The Menu key and Shift+F10 open the focused control's popup menu.
  const bool shiftOnly = shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  if (Key == VK_APPS || (Key == VK_F10 && shiftOnly)) PopupFromKeyboard(target);
}

bool TCustomForm::OfferAccelerator(char32_t Char) {
  return Perform(CM_DIALOGCHAR, static_cast<WPARAM>(Char), 0) != 0;
}

void TCustomForm::PopupFromKeyboard(TWinControl* Target) {
  const TPoint screen = Target->ClientToScreen(Target->KeyboardPopupPoint());
  for (TControl* c = Target; c != nullptr && IsLiveControl(c); c = c->Parent()) {
    if (c->Perform(WM_CONTEXTMENU, 0, PointToLParam(screen)) != 0) break;
  }
}

void TCustomForm::InputKeyDown(Word Key) {
  SetKeyDown(Key, true);
  Guarded(this, [&] { DispatchKey(CN_KEYDOWN, WM_KEYDOWN, Key); });
}

void TCustomForm::InputKeyUp(Word Key) {
  SetKeyDown(Key, false);
  Guarded(this, [&] { DispatchKey(CN_KEYUP, WM_KEYUP, Key); });
}

void TCustomForm::InputChar(char32_t Char) {
  Guarded(this, [&] {
    TWinControl* target = FActiveControl;
    if (target == nullptr || !target->CanFocus()) target = this;
    TDestroyGuard formGuard(this);
    TDestroyGuard targetGuard(target);
    if (FKeyPreview && target != this) {
      char32_t c = Char;
      KeyPress(c);
      if (c == 0 || formGuard.Gone() || targetGuard.Gone()) return;
      Char = c;
    }
    if (target->Perform(CN_CHAR, static_cast<WPARAM>(Char), 0) != 0) return;
    if (!targetGuard.Gone()) target->Perform(WM_CHAR, static_cast<WPARAM>(Char), 0);
  });
}

void TCustomForm::WndProc(TMessage& Message) {
  if (Message.Msg == CM_DIALOGKEY) {
    const auto key = static_cast<Word>(Message.WParam);
    if (key == VK_TAB) {
      SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
      Message.Result = 1;
      return;
    }
    if (key == VK_RETURN || key == VK_ESCAPE) {
      // Default and cancel buttons answer these.
      Message.Result = OfferToControls(this, CM_DIALOGKEY, Message.WParam) ? 1 : 0;
      return;
    }
  }
  if (Message.Msg == CM_DIALOGCHAR) {
    Message.Result = OfferToControls(this, CM_DIALOGCHAR, Message.WParam) ? 1 : 0;
    return;
  }
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = 0;  // keys typed with no control focused may be accelerators
    return;
  }
  TWinControl::WndProc(Message);
}

}  // namespace vorn
