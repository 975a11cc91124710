#include "vorn/platform/stdctrls/combobox.h"

#include <algorithm>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/runtime/utf8.h"
#include "vorn/platform/stdctrls/bevels.h"
#include "vorn/platform/controls/scrollbars.h"

namespace vorn {

namespace {

// Case folding for the letter jump: ASCII and the Latin-1 letters.
char32_t FoldCase(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  return c;
}

bool IsMoveKey(Word Key) {
  return Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END;
}

// The width of the drop-down button at the right of the box.
constexpr int kButtonWidth = 17;

}  // namespace

// ---- the list --------------------------------------------------------------------------------

// The list in the drop-down window. It takes no focus: the combo box keeps
// the keys and steers it. One geometry (RowRect, IndexAt, BarState) serves
// painting, the mouse and scrolling into view.
class TComboListBox : public TCustomControl {
 public:
  TComboListBox(TComponent* AOwner, TCustomComboBox* ACombo) : TCustomControl(AOwner), FCombo(ACombo) {
    FControlStyle.Include(csOpaque);
  }

  [[nodiscard]] int Highlight() const { return FHighlight; }
  [[nodiscard]] int TopIndex() const { return FTopIndex; }
  [[nodiscard]] int Rows() const { return FRows; }

  void Reset(int ARows, int AHighlight) {
    FRows = std::max(1, ARows);
    FTopIndex = 0;
    FPressed = false;
    FDragging = false;
    SetHighlight(AHighlight);
    if (FHighlight >= 0) ScrollTo(FHighlight - FRows / 2);
  }

  void SetHighlight(int Index) {
    const int count = Count();
    FHighlight = count == 0 || Index < 0 ? -1 : std::min(Index, count - 1);
    if (FHighlight >= 0 && FHighlight < FTopIndex) FTopIndex = FHighlight;
    if (FHighlight >= FTopIndex + FRows) FTopIndex = FHighlight - FRows + 1;
    Invalidate();
  }

  void ScrollTo(int Top) {
    const int top = std::clamp(Top, 0, std::max(0, Count() - FRows));
    if (top == FTopIndex) return;
    FTopIndex = top;
    Invalidate();
  }

  // The list's contents changed under it.
  void ItemsChanged() {
    SetHighlight(FHighlight);
    ScrollTo(FTopIndex);
    Invalidate();
  }

  void Paint() override {
    TCanvas& c = *Canvas();
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clWindow);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(ClientRect());
    const int last = std::min(Count(), FTopIndex + FRows);
    for (int index = FTopIndex; index < last; ++index) {
      TOwnerDrawState state;
      if (index == FHighlight) state = TOwnerDrawState{odSelected, odFocused};
      FCombo->PaintItem(c, index, RowRect(index), state);
    }
    if (HasBar()) PaintScrollBar(c, BarState());
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TDestroyGuard guard(this);
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || guard.Gone()) return;
    const TScrollBarState bar = BarState();
    switch (ScrollBarPartAt(bar, {X, Y})) {
      case TScrollBarPart::LineUp: ScrollTo(FTopIndex - 1); return;
      case TScrollBarPart::LineDown: ScrollTo(FTopIndex + 1); return;
      case TScrollBarPart::PageUp: ScrollTo(FTopIndex - FRows); return;
      case TScrollBarPart::PageDown: ScrollTo(FTopIndex + FRows); return;
      case TScrollBarPart::Thumb:
        FDragging = true;
        FGrab = Y - ScrollBarThumb(bar).Top;
        return;
      case TScrollBarPart::None: break;
    }
    const int index = IndexAt({X, Y});
    if (index < 0) return;
    FPressed = true;
    SetHighlight(index);
  }

  void MouseMove(TShiftState Shift, int X, int Y) override {
    TDestroyGuard guard(this);
    TCustomControl::MouseMove(Shift, X, Y);
    if (guard.Gone()) return;
    if (FDragging) {
      ScrollTo(ScrollBarPositionAt(BarState(), Y - FGrab));
      return;
    }
    // The highlight follows the pointer over the rows.
    const int index = IndexAt({X, Y});
    if (index >= 0 && index != FHighlight) SetHighlight(index);
  }

  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TDestroyGuard guard(this);
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || guard.Gone()) return;
    FDragging = false;
    const bool pressed = FPressed;
    FPressed = false;
    const int index = IndexAt({X, Y});
    if (pressed && index >= 0) {
      SetHighlight(index);
      FCombo->CloseUp(true);
    }
  }

  bool DoMouseWheelDown(TShiftState, TPoint) override {
    ScrollTo(FTopIndex + WheelScrollLines());
    return true;
  }
  bool DoMouseWheelUp(TShiftState, TPoint) override {
    ScrollTo(FTopIndex - WheelScrollLines());
    return true;
  }

 private:
  [[nodiscard]] int Count() const { return FCombo->Items()->Count(); }
  [[nodiscard]] bool HasBar() const { return Count() > FRows; }
  [[nodiscard]] TRect ItemsArea() const {
    return {1, 1, Width() - 1 - (HasBar() ? ScrollBarSize : 0), Height() - 1};
  }
  [[nodiscard]] TRect RowRect(int Index) const {
    const TRect area = ItemsArea();
    const int h = FCombo->ItemHeight();
    const int top = area.Top + (Index - FTopIndex) * h;
    return {area.Left, top, area.Right, top + h};
  }
  [[nodiscard]] int IndexAt(TPoint P) const {
    const TRect area = ItemsArea();
    if (!area.Contains(P)) return -1;
    const int index = FTopIndex + (P.Y - area.Top) / std::max(1, FCombo->ItemHeight());
    return index < std::min(Count(), FTopIndex + FRows) ? index : -1;
  }
  [[nodiscard]] TScrollBarState BarState() const {
    TScrollBarState s;
    if (!HasBar()) return s;
    s.Bar = {Width() - 1 - ScrollBarSize, 1, Width() - 1, Height() - 1};
    s.Vertical = true;
    s.Position = FTopIndex;
    s.Max = Count() - FRows;
    s.Page = FRows;
    return s;
  }

  TCustomComboBox* FCombo;
  int FHighlight = -1;
  int FTopIndex = 0;
  int FRows = 1;
  bool FPressed = false;   // the left button went down on a row
  bool FDragging = false;  // the thumb is being dragged
  int FGrab = 0;           // where in the thumb it was grabbed
};

// ---- TCustomComboBox ---------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomEdit(AOwner), FItems(std::make_unique<TStrings>()) {
  SetBounds(Left(), Top(), 145, 21);
  FItems->SetOnChange([this](TObject*) { ItemsChanged(); });
}

TCustomComboBox::~TCustomComboBox() {
  Destroying();  // the drop-down closing below sees the box as gone
  FItems->SetOnChange(nullptr);
  delete FWindow;
  FWindow = nullptr;
  FList = nullptr;
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value == FStyle) return;
  CloseUp(false);
  FStyle = Value;
  SetCursor(Editable() ? crIBeam : crDefault);
  if (!Editable()) {
    // A list style shows an item's text or nothing.
    ChooseItem(FItemIndex, false);
  }
  UpdateOwnerDrawHeight();
  Invalidate();
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= FItems->Count()) Value = -1;
  if (Value == FItemIndex) return;
  ChooseItem(Value, false);
}

void TCustomComboBox::SetText(const std::string& Value) {
  if (Editable()) {
    TCustomEdit::SetText(Value);
    return;
  }
  const int index = FItems->IndexOf(Value);
  FItemIndex = index;
  TFlagScope choosing(this, FChoosing, true);
  TCustomEdit::SetText(index >= 0 ? Value : std::string());
}

int TCustomComboBox::ItemHeight() const {
  if (OwnerDrawn()) return FItemHeight;
  TCanvas& c = *TCustomEdit::Canvas();
  c.SetFont(Font());
  return c.TextHeight("Ag") + 2;
}

void TCustomComboBox::SetItemHeight(int Value) {
  Value = std::clamp(Value, 1, 255);
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  UpdateOwnerDrawHeight();
  Invalidate();
}

void TCustomComboBox::UpdateOwnerDrawHeight() {
  if (OwnerDrawn()) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // An owner-drawn box is as high as its item and frame.
  if (OwnerDrawn()) AHeight = FItemHeight + 6;
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::ItemsChanged() {
  const int count = FItems->Count();
  if (Editable()) {
    if (!FChoosing) FItemIndex = FItems->IndexOf(Text());
  } else if (FItemIndex >= 0) {
    // The chosen item stays chosen where it moved to; renamed in place
    // it stays too, with its new text; gone, nothing is chosen.
    int index = FItemIndex < count && FItems->Strings(FItemIndex) == Text() ? FItemIndex : FItems->IndexOf(Text());
    if (index < 0 && count == FLastCount) index = FItemIndex;
    ChooseItem(index, false);
  }
  FLastCount = count;
  if (FList != nullptr) FList->ItemsChanged();
  Invalidate();
}

void TCustomComboBox::Change() {
  if (!FChoosing) {
    // Typed or assigned text: the item equal to it is the choice.
    FItemIndex = FItems->IndexOf(Text());
    if (DroppedDown() && FItemIndex >= 0) FList->SetHighlight(FItemIndex);
  }
  if (FQuiet) return;
  TCustomEdit::Change();
}

void TCustomComboBox::ChooseItem(int Index, bool ByUser) {
  if (Index < -1 || Index >= FItems->Count()) Index = -1;
  FItemIndex = Index;
  const std::string text = Index >= 0 ? FItems->Strings(Index) : std::string();
  TDestroyGuard guard(this);
  {
    TFlagScope choosing(this, FChoosing, true);
    TFlagScope quiet(this, FQuiet, !ByUser);
    TCustomEdit::SetText(text);  // OnChange when the user changed the text
  }
  if (guard.Gone()) return;
  if (Editable() && Focused()) SelectAll();
  Invalidate();
  if (ByUser) RaiseEvent(FOnSelect, this);
}

// ---- the list -----------------------------------------------------------------------------

bool TCustomComboBox::DroppedDown() const { return FWindow != nullptr && FWindow->IsOpen(); }

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value) {
    DropDown();
  } else {
    CloseUp(false);
  }
}

int TCustomComboBox::ListHighlight() const { return DroppedDown() ? FList->Highlight() : -1; }
int TCustomComboBox::ListTopIndex() const { return DroppedDown() ? FList->TopIndex() : 0; }

void TCustomComboBox::DropDown() {
  if (DroppedDown() || !EnabledWithParents() || GetParentForm(this) == nullptr) return;
  TDestroyGuard guard(this);
  RaiseEvent(FOnDropDown, this);
  if (guard.Gone() || DroppedDown() || !Showing()) return;
  if (FWindow == nullptr) {
    FWindow = new TDropDownWindow(this);
    FWindow->SetOnDismiss([this](TObject*) { CloseUp(false); });
    FList = new TComboListBox(FWindow, this);
    FList->SetParent(FWindow);
  }
  FWindow->SetFont(Font());
  const int rows = std::clamp(FItems->Count(), 1, FDropDownCount);
  const int height = rows * ItemHeight() + 2;
  FList->SetBounds(0, 0, Width(), height);
  FList->Reset(rows, FItemIndex);
  FWindow->DropDown(this, Width(), height);
  Invalidate();
}

void TCustomComboBox::CloseUp(bool Accept) {
  if (!DroppedDown()) return;
  const int chosen = FList->Highlight();
  FWindow->Hide();
  Invalidate();
  TDestroyGuard guard(this);
  if (Accept && chosen >= 0) {
    ChooseItem(chosen, true);
    if (guard.Gone()) return;
  }
  RaiseEvent(FOnCloseUp, this);
}

// ---- input ------------------------------------------------------------------------------------

int TCustomComboBox::ItemForKey(Word Key, int From) const {
  const int count = FItems->Count();
  if (count == 0) return -1;
  const int page = std::max(1, std::min(FDropDownCount, count) - 1);
  switch (Key) {
    case VK_UP: return From < 0 ? 0 : std::max(0, From - 1);
    case VK_DOWN: return std::min(count - 1, From + 1);
    case VK_PRIOR: return std::max(0, From - page);
    case VK_NEXT: return std::min(count - 1, std::max(0, From) + page);
    case VK_HOME: return 0;
    case VK_END: return count - 1;
    default: return From;
  }
}

int TCustomComboBox::ItemStartingWith(char32_t Letter, int From) const {
  const int count = FItems->Count();
  const char32_t wanted = FoldCase(Letter);
  for (int step = 1; step <= count; ++step) {
    const int index = ((From < 0 ? -1 : From) + step) % count;
    const std::u32string text = Utf8ToU32(FItems->Strings(index));
    if (!text.empty() && FoldCase(text.front()) == wanted) return index;
  }
  return -1;
}

bool TCustomComboBox::NavigateKey(Word Key, TShiftState Shift) {
  const bool alt = Shift.Contains(ssAlt);
  const bool toggles = Key == VK_F4 || (alt && (Key == VK_DOWN || Key == VK_UP));
  if (DroppedDown()) {
    if (toggles || Key == VK_RETURN || Key == VK_ESCAPE) {
      FSwallowChar = Key == VK_RETURN || Key == VK_ESCAPE;
      CloseUp(Key != VK_ESCAPE);
      return true;
    }
    if (!IsMoveKey(Key) || alt) return false;
    FList->SetHighlight(ItemForKey(Key, FList->Highlight()));
    return true;
  }
  if (toggles) {
    if (!(alt && Key == VK_UP)) DropDown();
    return true;
  }
  // Home and End move the caret of an edit field.
  const bool listKey = IsMoveKey(Key) && (!Editable() || (Key != VK_HOME && Key != VK_END));
  if (!listKey || alt) return false;
  const int next = ItemForKey(Key, FItemIndex);
  if (next != FItemIndex && next >= 0) ChooseItem(next, true);
  return true;
}

void TCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);  // OnKeyDown
  if (Key == 0 || guard.Gone()) return;
  const Word key = Key;
  Key = 0;
  if (NavigateKey(key, Shift)) return;
  if (guard.Gone()) return;
  Key = key;
  if (Editable()) {
    EditKeyDown(Key, Shift);
  } else if (Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) && (Key == 'C' || Key == VK_INSERT)) {
    // A list style has no selection inside its text: copying takes it all.
    if (!Text().empty()) Clipboard()->SetAsText(Text());
    Key = 0;
  }
}

void TCustomComboBox::KeyPress(char32_t& Key) {
  if (SwallowClosingChar(FSwallowChar, Key)) return;
  TDestroyGuard guard(this);
  TCustomControl::KeyPress(Key);  // OnKeyPress
  if (Key == 0 || guard.Gone()) return;
  if (Editable()) {
    EditKeyPress(Key);
    return;
  }
  if (Key <= ' ' || Key == 127) return;
  const int from = DroppedDown() ? FList->Highlight() : FItemIndex;
  const int index = ItemStartingWith(Key, from);
  if (index < 0) return;
  if (DroppedDown()) {
    FList->SetHighlight(index);
  } else if (index != FItemIndex) {
    ChooseItem(index, true);
  }
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool onButton = Button == mbLeft && (!Editable() || ButtonRect().Contains({X, Y}));
  if (!onButton) {
    TCustomEdit::MouseDown(Button, Shift, X, Y);
    return;
  }
  TDestroyGuard guard(this);
  if (!Focused() && CanFocus()) SetFocus();
  if (guard.Gone()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);  // OnMouseDown
  if (guard.Gone()) return;
  if (DroppedDown()) {
    CloseUp(false);
  } else {
    DropDown();
  }
}

bool TCustomComboBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomEdit::DoMouseWheelDown(Shift, MousePos) || guard.Gone()) return true;
  if (DroppedDown()) {
    FList->ScrollTo(FList->TopIndex() + WheelScrollLines());
  } else if (Focused()) {
    NavigateKey(VK_DOWN, {});
  }
  return true;
}

bool TCustomComboBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomEdit::DoMouseWheelUp(Shift, MousePos) || guard.Gone()) return true;
  if (DroppedDown()) {
    FList->ScrollTo(FList->TopIndex() - WheelScrollLines());
  } else if (Focused()) {
    NavigateKey(VK_UP, {});
  }
  return true;
}

void TCustomComboBox::WMKillFocus(TMessage& Message) {
  TDestroyGuard guard(this);
  CloseUp(false);
  if (!guard.Gone()) TCustomEdit::WMKillFocus(Message);
}

void TCustomComboBox::CMEnabledChanged(TMessage& Message) {
  if (!Enabled()) CloseUp(false);
  TCustomEdit::CMEnabledChanged(Message);
}

void TCustomComboBox::CMVisibleChanged(TMessage& Message) {
  if (!Visible()) CloseUp(false);
  TCustomEdit::CMVisibleChanged(Message);
}

void TCustomComboBox::WMGetDlgCode(TMessage& Message) {
  TCustomEdit::WMGetDlgCode(Message);
  // While the list is open, Enter and Escape close it instead of
  // reaching the form's buttons.
  if (DroppedDown()) Message.Result |= DLGC_WANTALLKEYS;
}

// ---- painting -------------------------------------------------------------------------------

TRect TCustomComboBox::ButtonRect() const {
  const TRect r{2, 2, Width() - 2, Height() - 2};
  return {std::max(r.Left, r.Right - kButtonWidth), r.Top, r.Right, r.Bottom};
}

TRect TCustomComboBox::TextArea() const {
  TRect area = TCustomEdit::TextArea();
  area.Right = std::max(area.Left, ButtonRect().Left - 1);
  return area;
}

TCanvas* TCustomComboBox::Canvas() const {
  return FItemCanvas != nullptr ? FItemCanvas : TCustomEdit::Canvas();
}

void TCustomComboBox::PaintItem(TCanvas& C, int Index, const TRect& Rect, TOwnerDrawState State) {
  C.SetFont(Font());
  C.Brush()->SetStyle(bsSolid);
  const bool selected = State.Contains(odSelected);
  C.Brush()->SetColor(selected ? clHighlight : Color());
  C.Font()->SetColor(selected ? clHighlightText : State.Contains(odDisabled) ? clGrayText : Font()->Color());
  TCanvas* outer = FItemCanvas;
  FItemCanvas = &C;
  const TRect savedClip = C.ClipRect();
  C.SetClipRect(IntersectRect(Rect, savedClip));
  TDestroyGuard guard(this);
  try {
    if (Index >= 0 && (OwnerDrawn() || !FItems->Strings(Index).empty())) {
      DrawItem(Index, Rect, State);
    } else {
      C.FillRect(Rect);
    }
  } catch (...) {
    if (!guard.Gone()) FItemCanvas = outer;
    C.SetClipRect(savedClip);
    throw;
  }
  C.SetClipRect(savedClip);
  if (!guard.Gone()) FItemCanvas = outer;
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (FOnDrawItem) {
    RaiseEvent(FOnDrawItem, this, Index, Rect, State);
    return;
  }
  TCanvas& c = *Canvas();
  c.FillRect(Rect);
  if (Index < 0 || Index >= FItems->Count()) return;
  const std::string& text = FItems->Strings(Index);
  const int y = Rect.Top + std::max(0, (Rect.Height() - c.TextHeight("Ag")) / 2);
  c.Brush()->SetStyle(bsClear);
  c.TextOut(Rect.Left + 2, y, text);
}

void TCustomComboBox::PaintListStyleText(TCanvas& C) {
  const TRect area = TextArea();
  TRect item{area.Left + 1, area.Top + 1, area.Right, area.Bottom - 1};
  TOwnerDrawState state{odComboBoxEdit};
  if (!Enabled()) state.Include(odDisabled);
  if (Focused() && !DroppedDown()) {
    state.Include(odSelected);
    state.Include(odFocused);
  }
  PaintItem(C, FItemIndex, item, state);
  if (state.Contains(odFocused)) C.DrawFocusRect(item);
}

void TCustomComboBox::Paint() {
  if (Editable()) {
    TCustomEdit::Paint();
  } else {
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
    // A disabled box keeps its colour (a dialog may give read-only fields
    // a colour of their own) and greys its text.
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(Color());
    c.FillRect(r);
    PaintListStyleText(c);
  }
  TCanvas& c = *Canvas();
  const TRect button = ButtonRect();
  DrawButtonFace(c, button);
  DrawArrow(c, button, adDown);
}

}  // namespace vorn
