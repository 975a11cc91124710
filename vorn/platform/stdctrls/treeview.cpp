#include "vorn/platform/stdctrls/treeview.h"

#include <algorithm>

#include "vorn/platform/runtime/host.h"
#include "vorn/platform/runtime/utf8.h"

namespace vorn {
namespace {

constexpr std::int64_t kTypingPause = 1000;  // ms between keys of one typed prefix
constexpr int kButtonHalf = 4;               // expand buttons are 9 x 9 pixels
constexpr TColor kLineColor = 0xA0A0A0;

char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool StartsWithNoCase(const std::string& Text, const std::string& Prefix) {
  if (Prefix.size() > Text.size()) return false;
  for (std::size_t i = 0; i < Prefix.size(); ++i) {
    if (AsciiLower(Text[i]) != AsciiLower(Prefix[i])) return false;
  }
  return true;
}

void AddShown(std::vector<TTreeNode*>& Rows, TTreeNode* Node) {
  Rows.push_back(Node);
  if (!Node->Expanded()) return;
  for (int i = 0; i < Node->Count(); ++i) AddShown(Rows, Node->Item(i));
}

}  // namespace

// ---- TTreeNode ------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent, std::string AText)
    : FOwner(AOwner), FParent(AParent), FText(std::move(AText)) {}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

void TTreeNode::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  TreeView()->Invalidate();
}

void TTreeNode::SetImageIndex(int Value) {
  FImageIndex = Value;
  TreeView()->Invalidate();
}

TTreeNode* TTreeNode::Item(int Index) const {
  return Index >= 0 && Index < Count() ? FChildren[static_cast<std::size_t>(Index)].get() : nullptr;
}

int TTreeNode::Index() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  for (std::size_t i = 0; i < siblings.size(); ++i) {
    if (siblings[i].get() == this) return static_cast<int>(i);
  }
  return -1;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = FParent; p != nullptr; p = p->FParent) ++level;
  return level;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  const int i = Index();
  return i + 1 < static_cast<int>(siblings.size()) ? siblings[static_cast<std::size_t>(i + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  const int i = Index();
  return i > 0 ? siblings[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

void TTreeNode::SetHasChildren(bool Value) {
  if (Value == FHasChildren) return;
  FHasChildren = Value;
  TreeView()->ShapeChanged();
}

void TTreeNode::SetExpanded(bool Value) { TreeView()->ExpandNode(this, Value); }

void TTreeNode::Expand(bool Recurse) {
  TCustomTreeView* view = TreeView();
  TDestroyGuard guard(view);
  view->ExpandNode(this, true);
  if (!Recurse || guard.Gone()) return;
  for (int i = 0; i < Count(); ++i) {
    Item(i)->Expand(true);
    if (guard.Gone()) return;
  }
}

void TTreeNode::Collapse(bool Recurse) {
  TCustomTreeView* view = TreeView();
  TDestroyGuard guard(view);
  if (Recurse) {
    for (int i = 0; i < Count(); ++i) {
      Item(i)->Collapse(true);
      if (guard.Gone()) return;
    }
  }
  view->ExpandNode(this, false);
}

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool Value) {
  if (Value) {
    TreeView()->SetSelected(this);
  } else if (Selected()) {
    TreeView()->SetSelected(nullptr);
  }
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* p = FParent; p != nullptr; p = p->FParent) {
    if (!p->FExpanded) return false;
  }
  return true;
}

void TTreeNode::MakeVisible() {
  TCustomTreeView* view = TreeView();
  TDestroyGuard guard(view);
  std::vector<TTreeNode*> chain;
  for (TTreeNode* p = FParent; p != nullptr; p = p->FParent) chain.push_back(p);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    view->ExpandNode(*it, true);
    if (guard.Gone()) return;
  }
  view->ScrollIntoView(this);
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
  TCustomTreeView* view = TreeView();
  for (auto& child : FChildren) view->NodeRemoving(child.get());
  FChildren.clear();
  view->ShapeChanged();
}

// ---- TTreeNodes -------------------------------------------------------------------------

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* Parent) {
  return Parent != nullptr ? Parent->FChildren : FRoots;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* Parent, std::size_t Position, const std::string& S) {
  auto& siblings = SiblingsOf(Parent);
  Position = std::min(Position, siblings.size());
  auto node = std::make_unique<TTreeNode>(this, Parent, S);
  TTreeNode* result = node.get();
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(Position), std::move(node));
  FOwner->ShapeChanged();
  return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& S) {
  TTreeNode* parent = Sibling != nullptr ? Sibling->Parent() : nullptr;
  return InsertAt(parent, SiblingsOf(parent).size(), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
  return InsertAt(Sibling != nullptr ? Sibling->Parent() : nullptr, 0, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& S) {
  return InsertAt(Parent, SiblingsOf(Parent).size(), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) { return InsertAt(Parent, 0, S); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::string& S) {
  if (Sibling == nullptr) return Add(nullptr, S);
  return InsertAt(Sibling->Parent(), static_cast<std::size_t>(Sibling->Index()), S);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (Node == nullptr || Node->FOwner != this) return;
  auto& siblings = SiblingsOf(Node->Parent());
  const int index = Node->Index();
  if (index < 0) return;
  FOwner->NodeRemoving(Node);
  siblings.erase(siblings.begin() + index);
  FOwner->ShapeChanged();
}

void TTreeNodes::Clear() {
  for (auto& root : FRoots) FOwner->NodeRemoving(root.get());
  FRoots.clear();
  FOwner->ShapeChanged();
}

int TTreeNodes::Count() const {
  int count = 0;
  std::function<void(const TTreeNode*)> walk = [&](const TTreeNode* n) {
    ++count;
    for (int i = 0; i < n->Count(); ++i) walk(n->Item(i));
  };
  for (const auto& root : FRoots) walk(root.get());
  return count;
}

TTreeNode* TTreeNodes::Item(int Index) const {
  if (Index < 0) return nullptr;
  int left = Index;
  std::function<TTreeNode*(TTreeNode*)> walk = [&](TTreeNode* n) -> TTreeNode* {
    if (left-- == 0) return n;
    for (int i = 0; i < n->Count(); ++i) {
      if (TTreeNode* found = walk(n->Item(i))) return found;
    }
    return nullptr;
  };
  for (const auto& root : FRoots) {
    if (TTreeNode* found = walk(root.get())) return found;
  }
  return nullptr;
}

TTreeNode* TTreeNodes::Root(int Index) const {
  return Index >= 0 && Index < RootCount() ? FRoots[static_cast<std::size_t>(Index)].get() : nullptr;
}

void TTreeNodes::BeginUpdate() { ++FOwner->FUpdateCount; }

void TTreeNodes::EndUpdate() {
  if (FOwner->FUpdateCount > 0 && --FOwner->FUpdateCount == 0) FOwner->ShapeChanged();
}

// ---- TCustomTreeView: nodes ----------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), FNodes(std::make_unique<TTreeNodes>(this)) {
  SetBounds(Left(), Top(), 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
}

TCustomTreeView::~TCustomTreeView() {
  FSelected = nullptr;
  FHot = nullptr;
  FNodes.reset();
}

void TCustomTreeView::ShapeChanged() {
  FRowsValid = false;
  if (FUpdateCount > 0) return;
  FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
  Invalidate();
}

void TCustomTreeView::NodeRemoving(TTreeNode* Node) {
  for (const TTreeNode* p = FSelected; p != nullptr; p = p->Parent()) {
    if (p == Node) {
      FSelected = nullptr;
      break;
    }
  }
  for (const TTreeNode* p = FHot; p != nullptr; p = p->Parent()) {
    if (p == Node) {
      FHot = nullptr;
      break;
    }
  }
}

const std::vector<TTreeNode*>& TCustomTreeView::ShownRows() const {
  if (!FRowsValid) {
    FRows.clear();
    for (int i = 0; i < FNodes->RootCount(); ++i) AddShown(FRows, FNodes->Root(i));
    FRowsValid = true;
  }
  return FRows;
}

int TCustomTreeView::ShownRowCount() const { return static_cast<int>(ShownRows().size()); }

int TCustomTreeView::RowOf(const TTreeNode* Node) const {
  const auto& rows = ShownRows();
  const auto it = std::find(rows.begin(), rows.end(), Node);
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

bool TCustomTreeView::ExpandNode(TTreeNode* Node, bool Value) {
  if (Node == nullptr || Node->FExpanded == Value) return true;
  TDestroyGuard guard(this);
  if (Value) {
    if (!Node->HasChildren() || !CanExpand(Node) || guard.Gone()) return false;
    // The handler may have found nothing to show.
    if (Node->Count() == 0) {
      Node->FHasChildren = false;
      ShapeChanged();
      return false;
    }
    Node->FExpanded = true;
    ShapeChanged();
    Expanded(Node);
    return !guard.Gone();
  }
  if (!CanCollapse(Node) || guard.Gone()) return false;
  Node->FExpanded = false;
  ShapeChanged();
  // A selection inside the collapsed part moves to the collapsed node.
  for (const TTreeNode* p = FSelected != nullptr ? FSelected->Parent() : nullptr; p != nullptr; p = p->Parent()) {
    if (p == Node) {
      SetSelected(Node);
      if (guard.Gone()) return false;
      break;
    }
  }
  Collapsed(Node);
  return !guard.Gone();
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  RaiseEvent(FOnExpanding, this, Node, allow);
  return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  RaiseEvent(FOnCollapsing, this, Node, allow);
  return allow;
}

void TCustomTreeView::Expanded(TTreeNode* Node) { RaiseEvent(FOnExpanded, this, Node); }
void TCustomTreeView::Collapsed(TTreeNode* Node) { RaiseEvent(FOnCollapsed, this, Node); }

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  RaiseEvent(FOnChanging, this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) { RaiseEvent(FOnChange, this, Node); }

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (Value == FSelected) return;
  TDestroyGuard guard(this);
  if (!CanChange(Value) || guard.Gone()) return;
  FSelected = Value;
  if (Value != nullptr) Value->MakeVisible();
  if (guard.Gone()) return;
  Invalidate();
  Change(Value);
}

void TCustomTreeView::FullExpand() {
  for (int i = 0; i < FNodes->RootCount(); ++i) FNodes->Root(i)->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (int i = 0; i < FNodes->RootCount(); ++i) FNodes->Root(i)->Collapse(true);
}

// ---- geometry --------------------------------------------------------------------------------

int TCustomTreeView::RowHeight() const {
  Canvas()->SetFont(Font());
  return std::max(16, Canvas()->TextHeight("Ag") + 2);
}

int TCustomTreeView::VisibleRowCount() const { return std::max(1, ClientHeight() / RowHeight()); }

bool TCustomTreeView::ScrollBarShown() const { return ShownRowCount() > VisibleRowCount(); }

int TCustomTreeView::MaxTopIndex() const { return std::max(0, ShownRowCount() - VisibleRowCount()); }

void TCustomTreeView::SetTopIndex(int Value) {
  Value = std::clamp(Value, 0, MaxTopIndex());
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  Invalidate();
}

TTreeNode* TCustomTreeView::TopItem() const {
  const auto& rows = ShownRows();
  return FTopIndex < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(FTopIndex)] : nullptr;
}

void TCustomTreeView::ScrollIntoView(const TTreeNode* Node) {
  const int row = RowOf(Node);
  if (row < 0) return;
  if (row < FTopIndex) {
    SetTopIndex(row);
  } else if (row >= FTopIndex + VisibleRowCount()) {
    SetTopIndex(row - VisibleRowCount() + 1);
  }
}

int TCustomTreeView::RowAt(int Y) const {
  if (Y < 0) return -1;
  const int row = FTopIndex + Y / RowHeight();
  return row < ShownRowCount() ? row : -1;
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  if (X < 0 || X >= ClientWidth() - (ScrollBarShown() ? ScrollBarSize : 0)) return nullptr;
  const int row = RowAt(Y);
  return row < 0 ? nullptr : ShownRows()[static_cast<std::size_t>(row)];
}

int TCustomTreeView::TextLeft(const TTreeNode* Node) const {
  return (Node->Level() + (FShowRoot ? 1 : 0)) * FIndent + 3;
}

TRect TCustomTreeView::ButtonRect(int Row, const TTreeNode* Node) const {
  const int h = RowHeight();
  const int cx = (Node->Level() + (FShowRoot ? 1 : 0)) * FIndent - FIndent / 2;
  const int cy = (Row - FTopIndex) * h + h / 2;
  return {cx - kButtonHalf, cy - kButtonHalf, cx + kButtonHalf + 1, cy + kButtonHalf + 1};
}

void TCustomTreeView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FNodes) FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
}

// ---- look ---------------------------------------------------------------------------------------

void TCustomTreeView::SetShowLines(bool Value) {
  FShowLines = Value;
  Invalidate();
}

void TCustomTreeView::SetShowButtons(bool Value) {
  FShowButtons = Value;
  Invalidate();
}

void TCustomTreeView::SetShowRoot(bool Value) {
  FShowRoot = Value;
  Invalidate();
}

void TCustomTreeView::SetIndent(int Value) {
  FIndent = std::clamp(Value, 8, 200);
  Invalidate();
}

void TCustomTreeView::SetHotTrack(bool Value) {
  FHotTrack = Value;
  if (!Value) FHot = nullptr;
  Invalidate();
}

// ---- painting ------------------------------------------------------------------------------------

void TCustomTreeView::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect(ClientRect());
  const auto& rows = ShownRows();
  const int h = RowHeight();
  const int last = std::min(static_cast<int>(rows.size()), FTopIndex + ClientHeight() / h + 1);
  for (int row = FTopIndex; row < last; ++row) PaintRow(c, row, rows[static_cast<std::size_t>(row)]);
  if (ScrollBarShown()) PaintScrollBar(c);
}

void TCustomTreeView::PaintLines(TCanvas& C, int Row, const TTreeNode* Node) const {
  const int h = RowHeight();
  const int top = (Row - FTopIndex) * h;
  const int offset = FShowRoot ? 1 : 0;
  auto dotsV = [&](int X, int Y1, int Y2) {
    for (int y = Y1 + ((Y1 + X) & 1); y < Y2; y += 2) C.SetPixels(X, y, kLineColor);
  };
  auto dotsH = [&](int X1, int X2, int Y) {
    for (int x = X1 + ((X1 + Y) & 1); x < X2; x += 2) C.SetPixels(x, Y, kLineColor);
  };
  const int level = Node->Level();
  if (level + offset == 0) return;  // roots without root lines
  const int cx = (level + offset) * FIndent - FIndent / 2;
  const int cy = top + h / 2;
  const bool hasPrevious = Node->Parent() != nullptr || Node->GetPrevSibling() != nullptr;
  dotsV(cx, hasPrevious ? top : cy, Node->GetNextSibling() != nullptr ? top + h : cy);
  dotsH(cx, cx + FIndent / 2 + 2, cy);
  // The lines of the ancestors that go on below this row.
  int x = cx;
  for (const TTreeNode* p = Node->Parent(); p != nullptr; p = p->Parent()) {
    x -= FIndent;
    if (p->Level() + offset == 0) break;
    if (p->GetNextSibling() != nullptr) dotsV(x, top, top + h);
  }
}

void TCustomTreeView::PaintRow(TCanvas& C, int Row, const TTreeNode* Node) const {
  const int h = RowHeight();
  const int top = (Row - FTopIndex) * h;
  if (FShowLines) PaintLines(C, Row, Node);
  const bool rootButton = Node->Level() > 0 || FShowRoot;
  if (FShowButtons && rootButton && Node->HasChildren()) {
    const TRect b = ButtonRect(Row, Node);
    C.Pen()->SetColor(clGray);
    C.Pen()->SetWidth(1);
    C.Brush()->SetColor(clWindow);
    C.Rectangle(b);
    const int cx = (b.Left + b.Right) / 2;
    const int cy = (b.Top + b.Bottom) / 2;
    C.Brush()->SetColor(clWindowText);
    C.FillRect({b.Left + 2, cy, b.Right - 2, cy + 1});
    if (!Node->Expanded()) C.FillRect({cx, b.Top + 2, cx + 1, b.Bottom - 2});
  }
  C.SetFont(Font());
  const int x = TextLeft(Node);
  const TSize size = C.TextExtent(Node->Text());
  const TRect textRect{x - 1, top, x + size.cx + 3, top + h};
  if (Node == FSelected) {
    C.Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
    C.FillRect(textRect);
    C.Font()->SetColor(Focused() ? clHighlightText : clWindowText);
  } else if (FHotTrack && Node == FHot) {
    C.Font()->SetColor(clHotLight);
    C.Font()->SetStyle(TFontStyles{fsUnderline});
  }
  C.Brush()->SetStyle(bsClear);
  C.TextOut(x + 1, top + (h - size.cy) / 2, Node->Text());
  C.Brush()->SetStyle(bsSolid);
  if (Node == FSelected && Focused()) C.DrawFocusRect(textRect);
}

void TCustomTreeView::PaintScrollBar(TCanvas& C) const {
  const int w = ClientWidth();
  const int h = ClientHeight();
  const TRect bar{w - ScrollBarSize, 0, w, h};
  C.Brush()->SetColor(clBtnFace);
  C.FillRect(bar);
  const int track = std::max(1, h - 2 * ScrollBarSize);
  const int rows = std::max(1, ShownRowCount());
  const int thumb = std::max(8, track * VisibleRowCount() / rows);
  const int span = std::max(1, MaxTopIndex());
  const int thumbTop = ScrollBarSize + (track - thumb) * FTopIndex / span;
  C.Pen()->SetColor(clGray);
  C.Brush()->SetColor(0xD0D0D0);
  C.Rectangle(bar.Left, thumbTop, bar.Right, thumbTop + thumb);
  C.Brush()->SetColor(clGray);
  // Arrows at both ends.
  for (int i = 0; i < 4; ++i) {
    const int cx = bar.Left + ScrollBarSize / 2;
    C.FillRect({cx - i, 6 + i, cx + i + 1, 7 + i});
    C.FillRect({cx - i, h - 7 - i, cx + i + 1, h - 6 - i});
  }
}

// ---- input ------------------------------------------------------------------------------------------

void TCustomTreeView::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomTreeView::SelectRow(int Row) {
  const auto& rows = ShownRows();
  if (rows.empty()) return;
  Row = std::clamp(Row, 0, static_cast<int>(rows.size()) - 1);
  SetSelected(rows[static_cast<std::size_t>(Row)]);
}

void TCustomTreeView::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);
  if (guard.Gone() || Key == 0) return;
  const int row = FSelected != nullptr ? RowOf(FSelected) : -1;
  const int page = std::max(1, VisibleRowCount() - 1);
  switch (Key) {
    case VK_UP: SelectRow(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: SelectRow(row + 1); break;
    case VK_HOME: SelectRow(0); break;
    case VK_END: SelectRow(ShownRowCount() - 1); break;
    case VK_PRIOR: SelectRow(row < 0 ? 0 : row - page); break;
    case VK_NEXT: SelectRow(row + page); break;
    case VK_LEFT:
      if (FSelected == nullptr) break;
      if (FSelected->Expanded()) {
        ExpandNode(FSelected, false);
      } else if (FSelected->Parent() != nullptr) {
        SetSelected(FSelected->Parent());
      }
      break;
    case VK_RIGHT:
      if (FSelected == nullptr) break;
      if (!FSelected->Expanded()) {
        ExpandNode(FSelected, true);
      } else if (FSelected->GetFirstChild() != nullptr) {
        SetSelected(FSelected->GetFirstChild());
      }
      break;
    case VK_ADD: ExpandNode(FSelected, true); break;
    case VK_SUBTRACT: ExpandNode(FSelected, false); break;
    default: return;
  }
  if (!guard.Gone()) Key = 0;
}

bool TCustomTreeView::JumpToPrefix(char32_t Key) {
  const std::int64_t now = CurrentHost().ClockMs();
  if (now - FLastTyped > kTypingPause) FTypedPrefix.clear();
  FLastTyped = now;
  AppendUtf8(FTypedPrefix, Key);
  const auto& rows = ShownRows();
  const int n = static_cast<int>(rows.size());
  if (n == 0) return false;
  const int current = FSelected != nullptr ? RowOf(FSelected) : -1;
  // A growing prefix may stay on the current row; a single character moves on.
  const int start = FTypedPrefix.size() > 1 && current >= 0 ? current : current + 1;
  for (int i = 0; i < n; ++i) {
    TTreeNode* node = rows[static_cast<std::size_t>((start + i + n) % n)];
    if (StartsWithNoCase(node->Text(), FTypedPrefix)) {
      SetSelected(node);
      return true;
    }
  }
  return false;
}

void TCustomTreeView::KeyPress(char32_t& Key) {
  TDestroyGuard guard(this);
  TCustomControl::KeyPress(Key);
  if (guard.Gone() || Key < 32 || Key == 127) return;
  if ((Key == '+' || Key == '-') && FTypedPrefix.empty()) return;  // expand and collapse keys
  JumpToPrefix(Key);
  if (!guard.Gone()) Key = 0;
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (guard.Gone()) return;
  if (CanFocus() && !Focused()) SetFocus();
  if (guard.Gone()) return;
  if (ScrollBarShown() && X >= ClientWidth() - ScrollBarSize) {
    if (Button != mbLeft) return;
    const int page = std::max(1, VisibleRowCount() - 1);
    if (Y < ScrollBarSize) {
      SetTopIndex(FTopIndex - 1);
    } else if (Y >= ClientHeight() - ScrollBarSize) {
      SetTopIndex(FTopIndex + 1);
    } else {
      const int track = std::max(1, ClientHeight() - 2 * ScrollBarSize);
      const int position = ScrollBarSize + track * FTopIndex / std::max(1, ShownRowCount());
      SetTopIndex(Y < position ? FTopIndex - page : FTopIndex + page);
    }
    return;
  }
  const int row = RowAt(Y);
  if (row < 0) return;
  TTreeNode* node = ShownRows()[static_cast<std::size_t>(row)];
  const TRect button = ButtonRect(row, node);
  const bool onButton = FShowButtons && node->HasChildren() && X >= button.Left - 2 && X < button.Right + 2;
  if (Button == mbLeft && onButton) {
    ExpandNode(node, !node->Expanded());
    return;
  }
  SetSelected(node);
  if (guard.Gone()) return;
  if (Button == mbLeft && Shift.Contains(ssDouble)) ExpandNode(node, !node->Expanded());
}

void TCustomTreeView::MouseMove(TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomControl::MouseMove(Shift, X, Y);
  if (guard.Gone() || !FHotTrack) return;
  TTreeNode* node = GetNodeAt(X, Y);
  if (node != nullptr && X >= TextLeft(node) + Canvas()->TextWidth(node->Text()) + 4) node = nullptr;
  if (node == FHot) return;
  FHot = node;
  Invalidate();
}

void TCustomTreeView::MouseLeave() {
  TDestroyGuard guard(this);
  TCustomControl::MouseLeave();
  if (guard.Gone() || FHot == nullptr) return;
  FHot = nullptr;
  Invalidate();
}

bool TCustomTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos) || guard.Gone()) return true;
  SetTopIndex(FTopIndex - WheelDelta / 120 * WheelScrollLines());
  return true;
}

}  // namespace vorn
