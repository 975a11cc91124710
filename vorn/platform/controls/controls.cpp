#include "vorn/platform/controls/controls.h"

#include <algorithm>
#include <unordered_set>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/runtime/utf8.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {

namespace {

std::unordered_set<const TControl*>& LiveControls() {
  static std::unordered_set<const TControl*> live;
  return live;
}

TShiftState ShiftFromWParam(WPARAM w) { return TShiftState::FromBits(static_cast<std::uint64_t>(w)); }

int& WheelLines() {
  static int lines = 3;
  return lines;
}

// Lower case for the letters of ASCII and Latin-1.
char32_t FoldCase(char32_t c) {
  const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
  return upper ? c + 0x20 : c;
}

}  // namespace

bool IsLiveControl(const TControl* Control) { return LiveControls().count(Control) != 0; }

int WheelScrollLines() { return WheelLines(); }
void SetWheelScrollLines(int Value) { WheelLines() = std::max(1, Value); }

bool IsAccel(char32_t Key, const std::string& Caption) {
  const std::u32string text = Utf8ToU32(Caption);
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {  // "&&" draws one '&'
      ++i;
      continue;
    }
    return FoldCase(text[i + 1]) == FoldCase(Key);
  }
  return false;
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* c = Control;
  while (c != nullptr && c->FParent != nullptr) c = c->FParent;
  return c != nullptr && c->FIsForm ? static_cast<TCustomForm*>(const_cast<TControl*>(c)) : nullptr;
}

// ---- TControl ------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FCanvas(std::make_unique<TCanvas>()), FFont(std::make_unique<TFont>()) {
  LiveControls().insert(this);
  FFont->SetOnChange([this](TObject*) { FontChanged(); });
  FCanvas->SetOnChange([this](TObject*) {
    if (TCustomForm* form = GetParentForm(this)) form->SurfaceChanged();
  });
}

TControl::~TControl() {
  Destroying();
  if (FParent != nullptr) FParent->RemoveControl(this);
  LiveControls().erase(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  // A control cannot sit inside itself or its own children; such a move is
  // refused before the control leaves its present parent.
  for (const TControl* p = AParent; p != nullptr; p = p->FParent) {
    if (p == this) return;
  }
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (AParent != nullptr) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (resized) Resize();
  Invalidate();
  if (FParent != nullptr && FAlign != alNone) FParent->Realign();
}

void TControl::SetAlign(TAlign Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  if (FParent != nullptr) FParent->Realign();
}

TPoint TControl::WindowOrigin() const {
  TPoint p{0, 0};
  for (const TControl* c = this; c->FParent != nullptr; c = c->FParent) {
    p.X += c->FLeft;
    p.Y += c->FTop;
  }
  return p;
}

TPoint TControl::ClientOrigin() const {
  const TControl* root = this;
  while (root->FParent != nullptr) root = root->FParent;
  const TPoint w = WindowOrigin();
  return {root->FLeft + w.X, root->FTop + w.Y};
}

TPoint TControl::ClientToScreen(TPoint P) const {
  const TPoint o = ClientOrigin();
  return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint o = ClientOrigin();
  return {P.X - o.X, P.Y - o.Y};
}

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  if (!Value) Invalidate();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  if (!Value) {
    if (TCustomForm* form = GetParentForm(this)) {
      // The focused control (this or one inside) exits as on Tab.
      TDestroyGuard guard(this);
      form->FocusLeaves(this);
      if (guard.Gone()) return;
      form->ControlGone(this);
    }
  }
  if (FParent != nullptr && FAlign != alNone) FParent->Realign();
}

bool TControl::Showing() const {
  if (!FVisible) return false;
  if (FParent != nullptr) return FParent->Showing();
  return FIsForm && static_cast<const TCustomForm*>(this)->FShownOnHost;
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
  if (!Value) {
    if (TCustomForm* form = GetParentForm(this)) {
      TDestroyGuard guard(this);
      form->FocusLeaves(this);
      if (guard.Gone()) return;
      form->ControlGone(this);
    }
  }
}

bool TControl::EnabledWithParents() const {
  for (const TControl* c = this; c != nullptr; c = c->FParent) {
    if (!c->FEnabled) return false;
  }
  return true;
}

void TControl::FontChanged() {
  if (!FUpdatingFont) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (Value == FColor && !FParentColor) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu != nullptr) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = Value;
  if (Value != nullptr) FreeNotification(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FPopupMenu != nullptr && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// ---- painting ---------------------------------------------------------------------------

TRect TControl::VisibleSurfaceRect() const {
  if (!Showing()) return {};
  const TPoint o = WindowOrigin();
  TRect r{o.X, o.Y, o.X + FWidth, o.Y + FHeight};
  for (const TControl* p = FParent; p != nullptr; p = p->FParent) {
    const TPoint po = p->WindowOrigin();
    r = IntersectRect(r, {po.X, po.Y, po.X + p->ClientWidth(), po.Y + p->ClientHeight()});
  }
  return r.IsEmpty() ? TRect{} : r;
}

void TControl::BindCanvas(TCanvas& ACanvas) const {
  TCustomForm* form = GetParentForm(this);
  TRect clip = VisibleSurfaceRect();
  if (FInPaint) clip = IntersectRect(clip, FPaintClip);
  if (form == nullptr || clip.IsEmpty() || form->SurfaceBitmap().Empty()) {
    ACanvas.Detach();
    return;
  }
  ACanvas.Attach(form->SurfaceBitmap().Surface(), WindowOrigin(), clip);
}

TCanvas* TControl::Canvas() const {
  BindCanvas(*FCanvas);
  return FCanvas.get();
}

void TControl::InvalidateRect(const TRect& R) {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  const TPoint o = WindowOrigin();
  TRect r = R;
  r.Offset(o.X, o.Y);
  r = IntersectRect(r, VisibleSurfaceRect());
  if (r.IsEmpty()) return;
  TWinControl* root = FParent != nullptr ? FParent : dynamic_cast<TWinControl*>(this);
  if (root != nullptr) form->MarkDirty(root, r);
}

void TControl::Invalidate() { InvalidateRect(ClientRect()); }

void TControl::Update() {
  if (TCustomForm* form = GetParentForm(this)) form->PaintDirty();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

bool TControl::HitTest(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }

// ---- messages -------------------------------------------------------------------------------

LRESULT TControl::Perform(std::uint32_t Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      MouseMessage(Message);
      break;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<std::int16_t>(static_cast<std::uint16_t>((Message.WParam >> 16) & 0xFFFF));
      const TShiftState shift = TShiftState::FromBits(static_cast<std::uint64_t>(Message.WParam & 0xFFFF));
      Message.Result = DoMouseWheel(shift, delta, LParamToPoint(Message.LParam)) ? 1 : 0;
      break;
    }
    case WM_CONTEXTMENU: {
      // LParam -1: opened from the keyboard, at the control's own point.
      const TPoint screen =
          Message.LParam == -1 ? ClientToScreen(KeyboardPopupPoint()) : LParamToPoint(Message.LParam);
      bool handled = false;
      TDestroyGuard guard(this);
      DoContextPopup(ScreenToClient(screen), handled);
      if (guard.Gone()) {
        Message.Result = 1;
        break;
      }
      if (!handled && FPopupMenu != nullptr) {
        ShowPopupMenu(FPopupMenu, this, screen.X, screen.Y);
        handled = true;
      }
      Message.Result = handled ? 1 : 0;
      break;
    }
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: DefaultHandler(Message); break;
  }
}

void TControl::DefaultHandler(TMessage& Message) { Message.Result = 0; }

void TControl::MouseMessage(TMessage& Message) {
  const TPoint p = LParamToPoint(Message.LParam);
  const TShiftState shift = ShiftFromWParam(Message.WParam);
  switch (Message.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, p.X, p.Y); break;
    case WM_LBUTTONDOWN: DispatchMouseDown(mbLeft, shift, p, false); break;
    case WM_LBUTTONDBLCLK: DispatchMouseDown(mbLeft, shift, p, true); break;
    case WM_RBUTTONDOWN: DispatchMouseDown(mbRight, shift, p, false); break;
    case WM_RBUTTONDBLCLK: DispatchMouseDown(mbRight, shift, p, true); break;
    case WM_MBUTTONDOWN: DispatchMouseDown(mbMiddle, shift, p, false); break;
    case WM_MBUTTONDBLCLK: DispatchMouseDown(mbMiddle, shift, p, true); break;
    case WM_LBUTTONUP: DispatchMouseUp(mbLeft, shift, p); break;
    case WM_RBUTTONUP: DispatchMouseUp(mbRight, shift, p); break;
    case WM_MBUTTONUP: DispatchMouseUp(mbMiddle, shift, p); break;
    default: break;
  }
}

void TControl::DispatchMouseDown(TMouseButton Button, TShiftState Shift, TPoint P, bool Double) {
  const bool doubles = Double && FControlStyle.Contains(csDoubleClicks);
  if (Button == mbLeft) {
    FControlState.Include(csLButtonDown);
    if (FControlStyle.Contains(csClickEvents) && !doubles) FControlState.Include(csClicked);
    if (doubles && FControlStyle.Contains(csClickEvents)) {
      TDestroyGuard guard(this);
      DblClick();
      if (guard.Gone()) return;
    }
  }
  if (doubles) Shift.Include(ssDouble);
  MouseDown(Button, Shift, P.X, P.Y);
}

void TControl::DispatchMouseUp(TMouseButton Button, TShiftState Shift, TPoint P) {
  if (Button == mbLeft) {
    FControlState.Exclude(csLButtonDown);
    if (FControlState.Contains(csClicked)) {
      FControlState.Exclude(csClicked);
      if (ClientRect().Contains(P)) {
        TDestroyGuard guard(this);
        Click();
        if (guard.Gone()) return;
      }
    }
  }
  MouseUp(Button, Shift, P.X, P.Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  RaiseEvent(FOnMouseDown, this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  RaiseEvent(FOnMouseMove, this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  RaiseEvent(FOnMouseUp, this, Button, Shift, X, Y);
}

void TControl::Click() {
  RaiseEvent(FOnClick, this);
}

void TControl::DblClick() {
  RaiseEvent(FOnDblClick, this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  TDestroyGuard guard(this);
  RaiseEvent(FOnMouseWheel, this, Shift, WheelDelta, MousePos, handled);
  if (handled || guard.Gone()) return true;
  // Wheels with fine steps send parts of a notch, others several notches
  // at once: the down and up steps run once per whole notch.
  if (WheelDelta == 0) return FWheelTaken;
  if ((FWheelRest < 0) != (WheelDelta < 0)) FWheelRest = 0;
  FWheelRest += WheelDelta;
  // A part of a notch goes where the last whole notch went.
  handled = FWheelTaken;
  while (FWheelRest <= -WHEEL_DELTA || FWheelRest >= WHEEL_DELTA) {
    const bool down = FWheelRest < 0;
    FWheelRest += down ? WHEEL_DELTA : -WHEEL_DELTA;
    handled = down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
    if (guard.Gone()) return true;
    FWheelTaken = handled;
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  RaiseEvent(FOnMouseWheelDown, this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  RaiseEvent(FOnMouseWheelUp, this, Shift, MousePos, handled);
  return handled;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  RaiseEvent(FOnContextPopup, this, MousePos, Handled);
}

void TControl::MouseEnter() {
  RaiseEvent(FOnMouseEnter, this);
}

void TControl::MouseLeave() {
  RaiseEvent(FOnMouseLeave, this);
}

void TControl::Resize() {
  RaiseEvent(FOnResize, this);
}

TPoint TControl::KeyboardPopupPoint() const { return {FWidth / 2, FHeight / 2}; }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || FParent == nullptr) return;
  FUpdatingFont = true;
  FFont->Assign(FParent->Font());
  FUpdatingFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || FParent == nullptr) return;
  FColor = FParent->Color();
  Perform(CM_COLORCHANGED, 0, 0);
  FParentColor = true;
}

void TControl::CMMouseEnter(TMessage&) { MouseEnter(); }
void TControl::CMMouseLeave(TMessage&) { MouseLeave(); }

void TControl::BringToFront() {
  if (FParent == nullptr) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (FParent == nullptr) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  Invalidate();
}

// ---- TGraphicControl ------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

// ---- TWinControl ----------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  SetColor(clBtnFace);
}

TWinControl::~TWinControl() {
  Destroying();
  // Child controls go with their parent, the topmost first.
  while (!FControls.empty()) delete FControls.back();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) return nullptr;
  return FControls[static_cast<std::size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (AControl == nullptr || AControl->FParent == this) return;
  for (const TControl* p = this; p != nullptr; p = p->FParent) {
    if (p == AControl) return;  // a control cannot sit inside itself
  }
  FControls.push_back(AControl);
  AControl->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(w);
  if (AControl->FParentFont) AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (AControl->FParentColor) AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (FHandleCreated) {
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) w->CreateHandles();
  }
  if (AControl->FAlign != alNone) Realign();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (AControl == nullptr || AControl->FParent != this) return;
  AControl->Invalidate();
  if (TCustomForm* form = GetParentForm(this)) form->ControlGone(AControl);
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), AControl), FTabList.end());
  AControl->FParent = nullptr;
  if (AControl->FAlign != alNone) Realign();
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled, bool AllWindows) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->FVisible || (!AllowDisabled && !c->FEnabled)) continue;
    if (!AllWindows && dynamic_cast<TWinControl*>(c) != nullptr) continue;
    const TPoint local{P.X - c->FLeft, P.Y - c->FTop};
    if (!c->HitTest(local.X, local.Y)) continue;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TControl* inner = w->ControlAtPos(local, AllowDisabled, AllWindows)) return inner;
    }
    return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  // A copy: handlers may add or remove controls.
  const std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    if (!IsLiveControl(c)) continue;
    c->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::Realign() {
  TRect r = ClientRect();
  AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl* /*AControl*/, TRect& Rect) {
  auto place = [&](TAlign which) {
    for (TControl* c : FControls) {
      if (c->FAlign != which || !c->FVisible) continue;
      switch (which) {
        case alTop:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), c->FHeight);
          Rect.Top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(Rect.Left, Rect.Bottom - c->FHeight, Rect.Width(), c->FHeight);
          Rect.Bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(Rect.Left, Rect.Top, c->FWidth, Rect.Height());
          Rect.Left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(Rect.Right - c->FWidth, Rect.Top, c->FWidth, Rect.Height());
          Rect.Right -= c->FWidth;
          break;
        case alClient:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
          break;
        default:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (resized) Realign();
}

void TWinControl::Invalidate() { InvalidateRect(ClientRect()); }

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const auto& list = Parent()->FTabList;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->FTabList;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  Value = std::clamp(Value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + Value, this);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c != nullptr; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return GetParentForm(this) != nullptr;
}

bool TWinControl::Focused() const {
  const TCustomForm* form = GetParentForm(this);
  return form != nullptr && form->Active() && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  if (form == this) {
    form->SetWindowActive(true);
    return;
  }
  if (!CanFocus()) return;
  form->SetActiveControl(this);
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> order;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
    for (TWinControl* c : w->FTabList) {
      order.push_back(c);
      collect(c);
    }
  };
  collect(this);
  if (order.empty()) return nullptr;
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  std::ptrdiff_t start = std::find(order.begin(), order.end(), CurControl) - order.begin();
  if (start >= n) start = GoForward ? n - 1 : 0;
  for (std::ptrdiff_t k = 1; k <= n; ++k) {
    const std::ptrdiff_t i = ((GoForward ? start + k : start - k) % n + n) % n;
    TWinControl* c = order[static_cast<std::size_t>(i)];
    if (c == CurControl) continue;
    if (!c->CanFocus()) continue;
    if (CheckTabStop && !c->FTabStop) continue;
    if (CheckParent && c->Parent() != this) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, false)) next->SetFocus();
}

void TWinControl::HandleNeeded() {
  if (!FHandleCreated && GetParentForm(this) != nullptr && Showing()) CreateHandles();
}

void TWinControl::CreateHandles() {
  if (!FHandleCreated) {
    FHandleCreated = true;
    CreateWnd();
  }
  const std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandles();
  }
}

void TWinControl::CreateWnd() {}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  RaiseEvent(FOnKeyDown, this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  RaiseEvent(FOnKeyUp, this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  RaiseEvent(FOnKeyPress, this, Key);
}

void TWinControl::DoEnter() {
  RaiseEvent(FOnEnter, this);
}

void TWinControl::DoExit() {
  RaiseEvent(FOnExit, this);
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_NEXTDLGCTL: WMNextDlgCtl(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED: {
      TControl::WndProc(Message);
      TMessage m{Message.Msg == CM_FONTCHANGED ? CM_PARENTFONTCHANGED : CM_PARENTCOLORCHANGED, 0, 0, 0};
      Broadcast(m);
      break;
    }
    default: TControl::WndProc(Message); break;
  }
}

void TWinControl::CNKeyDown(TMessage& Message) {
  // Dialog keys (Tab, Return, Escape) go to the form unless the control
  // asks for them through its dialog code.
  Message.Result = 0;
  LRESULT mask = 0;
  switch (static_cast<Word>(Message.WParam)) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_RETURN: mask = DLGC_WANTRETURN; break;
    case VK_ESCAPE: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask == 0) return;
  if ((Perform(WM_GETDLGCODE, 0, 0) & (mask | DLGC_WANTALLKEYS)) != 0) return;
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form->Perform(CM_DIALOGKEY, Message.WParam, 0) != 0) Message.Result = 1;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  // A control that types nothing (a button) lets a plain letter press the
  // caption whose accelerator it is.
  Message.Result = 0;
  const auto ch = static_cast<char32_t>(Message.WParam);
  if (ch <= ' ' || (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) != 0) return;
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form->Perform(CM_DIALOGCHAR, Message.WParam, 0) != 0) Message.Result = 1;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  Word key = static_cast<Word>(Message.WParam);
  KeyDown(key, KeyboardShiftState());
  Message.Result = key == 0 ? 1 : 0;
}

void TWinControl::WMKeyUp(TMessage& Message) {
  Word key = static_cast<Word>(Message.WParam);
  KeyUp(key, KeyboardShiftState());
  Message.Result = key == 0 ? 1 : 0;
}

void TWinControl::WMChar(TMessage& Message) {
  char32_t ch = static_cast<char32_t>(Message.WParam);
  KeyPress(ch);
  Message.Result = ch == 0 ? 1 : 0;
}

void TWinControl::WMSetFocus(TMessage&) {}
void TWinControl::WMKillFocus(TMessage&) {}
// A window control takes the characters typed into it unless it says
// otherwise; buttons do, so that letters reach caption accelerators.
void TWinControl::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTCHARS; }

void TWinControl::WMNextDlgCtl(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  form->SelectNext(form->ActiveControl(), Message.WParam == 0, true);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::PaintBackground(TCanvas& ACanvas) {
  if (FControlStyle.Contains(csOpaque)) return;
  ACanvas.Brush()->SetColor(Color());
  ACanvas.FillRect(ClientRect());
}

// ---- TCustomControl ---------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

}  // namespace vorn
