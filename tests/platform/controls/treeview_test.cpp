// Tree view: node store operations, lazy expansion with vetoes, selection
// events, the keyboard, mouse on buttons and rows, scrolling and hot
// tracking, and handlers that delete the view.
#include "vorn/platform/stdctrls/treeview.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class TreeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 300);
    tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(0, 0, 200, 200);
    form->Show();
    tree->SetFocus();
    host.Advance(0);
  }
  // a (a1, a2 (a21)), b, c
  void Build() {
    TTreeNodes& n = *tree->Items();
    a = n.AddChild(nullptr, "alpha");
    a1 = n.AddChild(a, "a1");
    a2 = n.AddChild(a, "a2");
    a21 = n.AddChild(a2, "a21");
    b = n.Add(a, "beta");
    c = n.Add(a, "gamma");
  }
  void ClickRow(int Row, int X = 60) { host.Click(*tree, X, Row * tree->RowHeight() + tree->RowHeight() / 2); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TTreeView* tree = nullptr;
  TTreeNode *a = nullptr, *a1 = nullptr, *a2 = nullptr, *a21 = nullptr, *b = nullptr, *c = nullptr;
};

TEST_F(TreeViewTest, NodesAreAddedInsertedAndDeletedInOrder) {
  Build();
  TTreeNodes& n = *tree->Items();
  EXPECT_EQ(n.Count(), 6);
  EXPECT_EQ(n.Item(3), a21);
  EXPECT_EQ(n.Item(4), b);
  EXPECT_EQ(n.Item(6), nullptr);
  EXPECT_EQ(a21->Level(), 2);
  EXPECT_EQ(b->Index(), 1);
  TTreeNode* first = n.AddFirst(b, "first");
  EXPECT_EQ(n.GetFirstNode(), first);
  TTreeNode* mid = n.Insert(c, "mid");
  EXPECT_EQ(mid->GetNextSibling(), c);
  EXPECT_EQ(c->GetPrevSibling(), mid);
  TTreeNode* a0 = n.AddChildFirst(a, "a0");
  EXPECT_EQ(a->GetFirstChild(), a0);
  int tag = 5;
  a21->SetData(&tag);
  a21->SetImageIndex(3);
  EXPECT_EQ(a21->Data(), &tag);
  EXPECT_EQ(a21->ImageIndex(), 3);
  tree->SetSelected(a21);
  a2->Delete();  // takes the selected child along
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(a->Count(), 2);
  a->DeleteChildren();
  EXPECT_FALSE(a->HasChildren());
  n.Clear();
  EXPECT_EQ(n.Count(), 0);
  EXPECT_EQ(tree->ShownRowCount(), 0);
}

TEST_F(TreeViewTest, ExpandingFillsLazilyAndHandlersMayVeto) {
  TTreeNode* lazy = tree->Items()->AddChild(nullptr, "lazy");
  lazy->SetHasChildren(true);
  int expanding = 0, expanded = 0;
  bool allow = true;
  tree->SetOnExpanding([&](TObject*, TTreeNode* Node, bool& Allow) {
    ++expanding;
    Allow = allow;
    if (allow && Node->Count() == 0) {
      tree->Items()->AddChild(Node, "x");
      tree->Items()->AddChild(Node, "y");
    }
  });
  tree->SetOnExpanded([&](TObject*, TTreeNode*) { ++expanded; });
  allow = false;
  lazy->Expand(false);
  EXPECT_FALSE(lazy->Expanded());
  EXPECT_EQ(tree->ShownRowCount(), 1);
  allow = true;
  lazy->Expand(false);
  EXPECT_TRUE(lazy->Expanded());
  EXPECT_EQ(tree->ShownRowCount(), 3);
  EXPECT_EQ(expanding, 2);
  EXPECT_EQ(expanded, 1);
  // A collapse veto keeps the children shown.
  tree->SetOnCollapsing([](TObject*, TTreeNode*, bool& Allow) { Allow = false; });
  lazy->Collapse(false);
  EXPECT_TRUE(lazy->Expanded());
  tree->SetOnCollapsing(nullptr);
  // Collapsing moves a hidden selection to the collapsed node.
  tree->SetSelected(lazy->Item(1));
  lazy->Collapse(false);
  EXPECT_EQ(tree->Selected(), lazy);
  // A handler that finds nothing leaves the node without a button.
  TTreeNode* empty = tree->Items()->AddChild(nullptr, "empty");
  empty->SetHasChildren(true);
  tree->SetOnExpanding([](TObject*, TTreeNode*, bool&) {});
  empty->Expand(false);
  EXPECT_FALSE(empty->Expanded());
  EXPECT_FALSE(empty->HasChildren());
}

TEST_F(TreeViewTest, SelectionEventsAndVeto) {
  Build();
  std::vector<std::string> log;
  bool allow = true;
  tree->SetOnChanging([&](TObject*, TTreeNode* Node, bool& Allow) {
    log.push_back("changing " + Node->Text());
    Allow = allow;
  });
  tree->SetOnChange([&](TObject*, TTreeNode* Node) { log.push_back("change " + Node->Text()); });
  tree->SetSelected(b);
  allow = false;
  tree->SetSelected(c);
  EXPECT_EQ(tree->Selected(), b);
  allow = true;
  a21->SetSelected(true);  // expands its ancestors
  EXPECT_TRUE(a->Expanded());
  EXPECT_TRUE(a2->Expanded());
  EXPECT_EQ(log, (std::vector<std::string>{"changing beta", "change beta", "changing gamma", "changing a21",
                                            "change a21"}));
}

TEST_F(TreeViewTest, KeyboardWalksExpandsCollapsesAndJumpsToNames) {
  Build();
  tree->SetSelected(a);
  host.PressKey(VK_DOWN);
  EXPECT_EQ(tree->Selected(), b);  // a is collapsed
  host.PressKey(VK_UP);
  host.PressKey(VK_RIGHT);
  EXPECT_TRUE(a->Expanded());
  host.PressKey(VK_RIGHT);
  EXPECT_EQ(tree->Selected(), a1);
  host.PressKey(VK_LEFT);
  EXPECT_EQ(tree->Selected(), a);
  host.PressKey(VK_LEFT);
  EXPECT_FALSE(a->Expanded());
  host.PressKey(VK_END);
  EXPECT_EQ(tree->Selected(), c);
  host.PressKey(VK_HOME);
  EXPECT_EQ(tree->Selected(), a);
  host.PressKey(VK_NEXT);
  EXPECT_EQ(tree->Selected(), c);  // a page beyond the end stops at the last row
  host.PressKey(VK_PRIOR);
  EXPECT_EQ(tree->Selected(), a);
  host.Type("g");
  EXPECT_EQ(tree->Selected(), c);
  host.Advance(2000);
  host.Type("BE");
  EXPECT_EQ(tree->Selected(), b);
  host.Advance(2000);
  host.Type("z");  // no match: the selection stays
  EXPECT_EQ(tree->Selected(), b);
}

TEST_F(TreeViewTest, MouseTogglesOnButtonsAndSelectsOnRows) {
  Build();
  const int buttonX = tree->Indent() / 2;
  ClickRow(0, buttonX);
  EXPECT_TRUE(a->Expanded());
  EXPECT_EQ(tree->Selected(), nullptr);
  ClickRow(2);  // a2
  EXPECT_EQ(tree->Selected(), a2);
  EXPECT_EQ(tree->GetNodeAt(60, 3 * tree->RowHeight() + 2), b);
  EXPECT_EQ(tree->GetNodeAt(60, 40 * tree->RowHeight()), nullptr);
  host.DoubleClick(*tree, 60, 2 * tree->RowHeight() + 3);
  EXPECT_TRUE(a2->Expanded());
  ClickRow(0, buttonX);
  EXPECT_FALSE(a->Expanded());
  EXPECT_EQ(tree->Selected(), a);
}

TEST_F(TreeViewTest, ScrollsToTheSelectionByWheelAndScrollBar) {
  TTreeNodes& n = *tree->Items();
  n.BeginUpdate();
  for (int i = 0; i < 100; ++i) n.AddChild(nullptr, "node " + std::to_string(i));
  n.EndUpdate();
  const int visible = tree->VisibleRowCount();
  ASSERT_LT(visible, 100);
  tree->SetSelected(n.Root(50));
  EXPECT_LE(tree->TopIndex(), 50);
  EXPECT_GT(tree->TopIndex() + visible, 50);
  tree->SetTopIndex(1000);
  EXPECT_EQ(tree->TopIndex(), 100 - visible);
  host.Wheel(*tree, 50, 50, 120);
  EXPECT_EQ(tree->TopIndex(), 100 - visible - 3);
  host.Click(*tree, 195, 20);  // the track above the thumb: a page up
  EXPECT_EQ(tree->TopIndex(), 100 - visible - 3 - (visible - 1));
  host.Click(*tree, 195, 5);  // the up arrow
  EXPECT_EQ(tree->TopIndex(), 100 - visible - 3 - (visible - 1) - 1);
}

TEST_F(TreeViewTest, HotTrackingFollowsTheMouseOverTexts) {
  Build();
  tree->SetHotTrack(true);
  host.MouseMove(*form, 40, tree->RowHeight() + 5);
  EXPECT_EQ(tree->HotNode(), b);
  host.MouseMove(*form, 190, tree->RowHeight() + 5);  // right of the text
  EXPECT_EQ(tree->HotNode(), nullptr);
}

TEST_F(TreeViewTest, HandlersMayDeleteTheView) {
  Build();
  tree->SetOnChange([this](TObject*, TTreeNode*) {
    delete tree;
    tree = nullptr;
  });
  host.Click(*form, 60, 5);
  EXPECT_EQ(tree, nullptr);
  host.Advance(0);
}

}  // namespace
}  // namespace vorn
