// Tree view: a self-drawn outline of nodes with lines, expand buttons,
// selection, keyboard navigation, a vertical scroll bar and hot tracking.
//
// - TTreeNode: a node with text, user data, image index and children. A
//   node with HasChildren set shows an expand button before its children
//   are added (lazy filling: OnExpanding adds them).
// - TTreeNodes: the node store of one tree view (add, insert, delete,
//   clear, the flat list of all nodes in order).
// - TCustomTreeView/TTreeView: the control.
//
// Rows: the shown nodes are the roots and the children of expanded shown
// nodes, in order. One row walker (ShownRows) feeds painting, hit tests,
// keyboard steps and scrolling; it is rebuilt only after the tree's shape
// or expansion changed, and painting touches the visible rows only.
//
// Events: OnChanging may veto a new selection, OnChange reports it;
// OnExpanding/OnCollapsing may veto, OnExpanded/OnCollapsed report. They
// fire for changes by code too. Handlers may delete the tree view.
//
// Keys: Up/Down step, Home/End go to the first and last row, PageUp/
// PageDown by a page, Left collapses (or goes to the parent), Right
// expands (or goes to the first child), "+" / "-" expand and collapse,
// typed characters jump to the next row whose text starts with them
// (characters typed within a second add up to one prefix).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/controls/controls.h"

namespace vorn {

class TTreeNodes;
class TCustomTreeView;

class TTreeNode {
 public:
  TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent, std::string AText);
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  [[nodiscard]] const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  [[nodiscard]] void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  [[nodiscard]] int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);

  [[nodiscard]] TTreeNode* Parent() const { return FParent; }
  [[nodiscard]] int Count() const { return static_cast<int>(FChildren.size()); }
  // Child Index (from 0), null outside.
  [[nodiscard]] TTreeNode* Item(int Index) const;
  [[nodiscard]] int Index() const;
  [[nodiscard]] int Level() const;
  [[nodiscard]] TTreeNode* GetFirstChild() const { return Item(0); }
  [[nodiscard]] TTreeNode* GetLastChild() const { return Item(Count() - 1); }
  [[nodiscard]] TTreeNode* GetNextSibling() const;
  [[nodiscard]] TTreeNode* GetPrevSibling() const;
  // Children exist, or HasChildren was set.
  [[nodiscard]] bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool Value);
  [[nodiscard]] bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  // With Recurse, the whole subtree.
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  [[nodiscard]] bool Selected() const;
  void SetSelected(bool Value);
  [[nodiscard]] bool IsVisible() const;
  // Expands the ancestors and scrolls the node into view.
  void MakeVisible();
  void Delete();
  void DeleteChildren();
  [[nodiscard]] TTreeNodes* Owner() const { return FOwner; }
  [[nodiscard]] TCustomTreeView* TreeView() const;

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;

  TTreeNodes* FOwner;
  TTreeNode* FParent;
  std::string FText;
  void* FData = nullptr;
  int FImageIndex = -1;
  bool FHasChildren = false;
  bool FExpanded = false;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // A node after the last sibling of Sibling (a root when Sibling is null).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
  // A last (first) child of Parent (a root when Parent is null).
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
  // A node just before Sibling (the last root when Sibling is null).
  TTreeNode* Insert(TTreeNode* Sibling, const std::string& S);
  void Delete(TTreeNode* Node);
  void Clear();
  // All nodes, depth first.
  [[nodiscard]] int Count() const;
  [[nodiscard]] TTreeNode* Item(int Index) const;
  [[nodiscard]] TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  [[nodiscard]] int RootCount() const { return static_cast<int>(FRoots.size()); }
  [[nodiscard]] TTreeNode* Root(int Index) const;
  // Changes between the calls repaint once at the end.
  void BeginUpdate();
  void EndUpdate();
  [[nodiscard]] TCustomTreeView* Owner() const { return FOwner; }

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InsertAt(TTreeNode* Parent, std::size_t Position, const std::string& S);
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* Parent);

  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
};

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TCustomControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  [[nodiscard]] TTreeNodes* Items() const { return FNodes.get(); }
  [[nodiscard]] TTreeNode* Selected() const { return FSelected; }
  void SetSelected(TTreeNode* Value);
  void FullExpand();
  void FullCollapse();
  // The node of the row under a point, null for none.
  [[nodiscard]] TTreeNode* GetNodeAt(int X, int Y) const;
  // Row index of the first shown row.
  [[nodiscard]] int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  [[nodiscard]] TTreeNode* TopItem() const;
  // Shown rows and rows that fit fully.
  [[nodiscard]] int ShownRowCount() const;
  [[nodiscard]] int VisibleRowCount() const;
  [[nodiscard]] int RowHeight() const;

  // ---- look -----------------------------------------------------------------------
  [[nodiscard]] bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  [[nodiscard]] bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  [[nodiscard]] bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value);
  [[nodiscard]] int Indent() const { return FIndent; }
  void SetIndent(int Value);
  [[nodiscard]] bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  [[nodiscard]] TTreeNode* HotNode() const { return FHot; }
  [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

  // ---- events ---------------------------------------------------------------------
  void SetOnChanging(TTVChangingEvent E) { FOnChanging = std::move(E); }
  void SetOnChange(TTVChangedEvent E) { FOnChange = std::move(E); }
  [[nodiscard]] const TTVChangedEvent& OnChange() const { return FOnChange; }
  void SetOnExpanding(TTVExpandingEvent E) { FOnExpanding = std::move(E); }
  void SetOnCollapsing(TTVCollapsingEvent E) { FOnCollapsing = std::move(E); }
  void SetOnExpanded(TTVExpandedEvent E) { FOnExpanded = std::move(E); }
  void SetOnCollapsed(TTVExpandedEvent E) { FOnCollapsed = std::move(E); }

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  static constexpr int ScrollBarSize = 16;

 protected:
  // Hooks around expansion and selection; the defaults raise the events.
  virtual bool CanExpand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Expanded(TTreeNode* Node);
  virtual void Collapsed(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  void WMGetDlgCode(TMessage& Message) override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;

  // Called by the nodes.
  void ShapeChanged();
  void NodeRemoving(TTreeNode* Node);
  bool ExpandNode(TTreeNode* Node, bool Value);

  const std::vector<TTreeNode*>& ShownRows() const;
  [[nodiscard]] int RowOf(const TTreeNode* Node) const;
  [[nodiscard]] int RowAt(int Y) const;
  [[nodiscard]] int TextLeft(const TTreeNode* Node) const;
  [[nodiscard]] TRect ButtonRect(int Row, const TTreeNode* Node) const;
  [[nodiscard]] bool ScrollBarShown() const;
  [[nodiscard]] int MaxTopIndex() const;
  void ScrollIntoView(const TTreeNode* Node);
  void SelectRow(int Row);
  void PaintRow(TCanvas& C, int Row, const TTreeNode* Node) const;
  void PaintLines(TCanvas& C, int Row, const TTreeNode* Node) const;
  void PaintScrollBar(TCanvas& C) const;
  bool JumpToPrefix(char32_t Key);

  std::unique_ptr<TTreeNodes> FNodes;
  TTreeNode* FSelected = nullptr;
  TTreeNode* FHot = nullptr;
  int FTopIndex = 0;
  bool FShowLines = true;
  bool FShowButtons = true;
  bool FShowRoot = true;
  int FIndent = 19;
  bool FHotTrack = false;
  bool FReadOnly = false;
  int FUpdateCount = 0;
  mutable bool FRowsValid = false;
  mutable std::vector<TTreeNode*> FRows;
  std::string FTypedPrefix;
  std::int64_t FLastTyped = -1000000;
  TTVChangingEvent FOnChanging;
  TTVChangedEvent FOnChange;
  TTVExpandingEvent FOnExpanding;
  TTVCollapsingEvent FOnCollapsing;
  TTVExpandedEvent FOnExpanded, FOnCollapsed;
};

class TTreeView : public TCustomTreeView {
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};

}  // namespace vorn
