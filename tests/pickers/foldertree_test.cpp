// TFolderTree on temporary folder trees: listing rules (hidden folders,
// sorting, expand buttons), path selection and normalisation, hostile names
// (invalid UTF-8, line breaks, 255 bytes), folders without permission or
// vanishing while shown, 10,000 subfolders, loops of symbolic links, and
// creating and removing folders.
#include "vorn/pickers/foldertree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A memory file system where there is one: big trees are slow to
    // build and remove on disk.
    std::string pattern = (fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    pattern += "/vorn-foldertree-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    base = pattern;
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 400);
    tree = new TFolderTree(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(0, 0, 300, 400);
    tree->SetOnDirChanged([this](TObject*) { ++dirChanges; });
    form->Show();
    host.Advance(0);
  }
  void TearDown() override {
    form.reset();
    std::error_code ec;
    fs::permissions(base, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& entry : fs::recursive_directory_iterator(base, ec)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(base, ec);
  }
  void Make(const std::string& Relative) { fs::create_directories(base + "/" + Relative); }
  std::vector<std::string> Names(const std::string& Relative) const {
    std::vector<TFolderEntry> list;
    TFolderTree::GetSubDirs(base + "/" + Relative, list);
    std::vector<std::string> names;
    for (const auto& e : list) names.push_back(e.Name + (e.HasSubFolders ? "+" : ""));
    return names;
  }

  THeadlessHost& host = HeadlessHost();
  std::string base;
  std::unique_ptr<TForm> form;
  TFolderTree* tree = nullptr;
  int dirChanges = 0;
};

TEST_F(FolderTreeTest, StartsAtTheRootWithAnExpandButton) {
  EXPECT_EQ(tree->Directory(), "/");
  ASSERT_NE(tree->Selected(), nullptr);
  EXPECT_EQ(tree->Selected()->Text(), "/");
  EXPECT_TRUE(tree->Selected()->HasChildren());
  EXPECT_FALSE(TFolderTree::IsRead(tree->Selected()));
}

TEST_F(FolderTreeTest, DisablingShowsTheButtonFaceAndEnablingTheTreeColourAgain) {
  tree->SetTreeColor(0x00FFFF);
  tree->SetEnabled(false);
  EXPECT_EQ(tree->Color(), clBtnFace);
  tree->SetTreeColor(0x00FF00);  // kept for when the tree is enabled again
  EXPECT_EQ(tree->Color(), clBtnFace);
  tree->SetEnabled(true);
  EXPECT_EQ(tree->Color(), 0x00FF00u);
}

TEST_F(FolderTreeTest, ListsShownFoldersSortedWithButtonsWhereFoldersFollow) {
  Make("Beta/inner");
  Make("alpha");
  Make("Alpha2/.only-hidden");
  Make(".hidden/x");
  Make("gamma");
  std::ofstream(base + "/file.txt") << "not a folder";
  EXPECT_EQ(Names(""), (std::vector<std::string>{"alpha", "Alpha2", "Beta+", "gamma"}));
  std::vector<TFolderEntry> list;
  EXPECT_FALSE(TFolderTree::GetSubDirs(base + "/missing", list));
  EXPECT_FALSE(TFolderTree::GetSubDirs(base + "/file.txt", list));
  EXPECT_FALSE(TFolderTree::GetSubDirs(base + "/gamma", list));  // exists, but empty
}

TEST_F(FolderTreeTest, SelectPathReadsTheWayAndNormalises) {
  Make("a/b/c");
  Make("a/other");
  ASSERT_TRUE(tree->SelectPath(base + "/a/b"));
  EXPECT_EQ(tree->Directory(), base + "/a/b/");
  EXPECT_EQ(dirChanges, 1);
  TTreeNode* b = tree->Selected();
  EXPECT_EQ(b->Text(), "b");
  EXPECT_TRUE(b->Parent()->Expanded());
  EXPECT_EQ(b->Parent()->Count(), 2);
  ASSERT_TRUE(tree->SelectPath(base + "//a/./other/../b/"));
  EXPECT_EQ(tree->Directory(), base + "/a/b/");
  EXPECT_EQ(dirChanges, 1);  // the same folder: no change reported
  // A folder that does not exist changes nothing.
  const TTreeNode* before = tree->Selected();
  EXPECT_FALSE(tree->SelectPath(base + "/a/nothing"));
  EXPECT_FALSE(tree->SelectPath(base + "/A/b"));  // names are case sensitive
  EXPECT_FALSE(tree->SelectPath(""));
  EXPECT_FALSE(tree->SelectPath(base + "/a/b/c/../../../../" + fs::path(base).filename().string() + "/zz"));
  EXPECT_EQ(tree->Selected(), before);
  EXPECT_EQ(tree->Directory(), base + "/a/b/");
  // A hidden folder on the way: the deepest shown folder is selected.
  Make(".secret/inside");
  EXPECT_FALSE(tree->SelectPath(base + "/.secret/inside"));
  EXPECT_EQ(tree->Directory(), base + "/");
}

TEST_F(FolderTreeTest, AnyNameBytesAreShownAndSelectable) {
  const std::string invalid = "bad\xff\xfe";
  const std::string newline = "line\nbreak";
  const std::string longName(255, 'n');
  Make(invalid);
  Make(newline);
  Make(longName);
  EXPECT_EQ(Names("").size(), 3u);
  for (const std::string& name : {invalid, newline, longName}) {
    ASSERT_TRUE(tree->SelectPath(base + "/" + name)) << name;
    EXPECT_EQ(tree->Selected()->Text(), name);
  }
  host.Advance(0);  // painting such names is fine too
}

TEST_F(FolderTreeTest, UnreadableAndVanishingFoldersGiveFalseAndKeepTheTreeUsable) {
  Make("locked/inside");
  Make("going/child");
  Make("gone/child");
  ASSERT_TRUE(tree->SelectPath(base));
  TTreeNode* gone = tree->Selected()->Item(1);
  ASSERT_EQ(gone->Text(), "gone");
  ASSERT_TRUE(gone->HasChildren());
  fs::remove_all(base + "/gone");
  gone->Expand(false);  // its listing fails: no children, no button
  EXPECT_FALSE(gone->Expanded());
  EXPECT_FALSE(gone->HasChildren());
  ASSERT_TRUE(tree->SelectPath(base + "/going/child"));
  fs::remove_all(base + "/going");
  dirChanges = 0;
  EXPECT_TRUE(tree->RefreshTree());
  EXPECT_EQ(tree->Directory(), base + "/");
  EXPECT_EQ(dirChanges, 1);
  if (geteuid() != 0) {  // permissions do not hold back the superuser
    ::chmod((base + "/locked").c_str(), 0);
    EXPECT_FALSE(tree->SelectPath(base + "/locked/inside"));
    EXPECT_EQ(tree->Directory(), base + "/locked/");
    tree->Selected()->Expand(false);
    EXPECT_EQ(tree->Selected()->Count(), 0);
  }
  host.PressKey(VK_LEFT);
  EXPECT_EQ(tree->Directory(), base + "/");
}

TEST_F(FolderTreeTest, TenThousandSubfoldersAreListedInOrder) {
  Make("many");
  for (int i = 0; i < 10000; ++i) {
    ASSERT_EQ(::mkdir((base + "/many/d" + std::to_string(i)).c_str(), 0755), 0);
  }
  ASSERT_TRUE(tree->SelectPath(base + "/many"));
  TTreeNode* many = tree->Selected();
  many->Expand(false);
  ASSERT_EQ(many->Count(), 10000);
  EXPECT_EQ(many->Item(0)->Text(), "d0");
  EXPECT_EQ(many->Item(1)->Text(), "d1");
  EXPECT_EQ(many->Item(2)->Text(), "d10");
  tree->SetSelected(many->Item(9999));
  EXPECT_EQ(tree->Directory(), base + "/many/d9999/");
  host.PressKey(VK_PRIOR);
  EXPECT_EQ(tree->Selected()->Parent(), many);
  host.Advance(0);
}

TEST_F(FolderTreeTest, LinksToFoldersAreShownButLoopsAreNotOpened) {
  Make("real/sub");
  Make("ring");
  ASSERT_EQ(::symlink("../real", (base + "/ring/toreal").c_str()), 0);
  ASSERT_EQ(::symlink(".", (base + "/ring/self").c_str()), 0);
  ASSERT_EQ(::symlink("..", (base + "/ring/up").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (base + "/ring/dangling").c_str()), 0);
  EXPECT_EQ(Names("ring"), (std::vector<std::string>{"self", "toreal+", "up"}));
  ASSERT_TRUE(tree->SelectPath(base + "/ring/toreal/sub"));
  ASSERT_TRUE(tree->SelectPath(base + "/ring/self"));
  TTreeNode* self = tree->Selected();
  EXPECT_FALSE(self->HasChildren());
  self->Expand(false);
  EXPECT_EQ(self->Count(), 0);
  // A path through the loop exists, but the tree never opens the loop:
  // the walk stops at its first turn.
  EXPECT_FALSE(tree->SelectPath(base + "/ring/self/self/self"));
  EXPECT_EQ(tree->Directory(), base + "/ring/self/");
}

TEST_F(FolderTreeTest, MakesAndRemovesFoldersBelowTheSelection) {
  ASSERT_TRUE(tree->SelectPath(base));
  for (const std::string bad : {"x|y", "a/b", "..", ".", "", "tab\there", "q\"", "<", ">"}) {
    EXPECT_FALSE(tree->MakeSubFolder(bad)) << bad;
  }
  EXPECT_EQ(tree->Directory(), base + "/");
  ASSERT_TRUE(tree->MakeSubFolder("new one"));
  EXPECT_TRUE(fs::is_directory(base + "/new one"));
  EXPECT_EQ(tree->Directory(), base + "/new one/");
  ASSERT_TRUE(tree->MakeSubFolder("deeper"));
  ASSERT_TRUE(tree->SelectPath(base + "/new one"));
  EXPECT_FALSE(tree->RemoveSelectedFolder());  // not empty
  EXPECT_TRUE(fs::is_directory(base + "/new one"));
  ASSERT_TRUE(tree->SelectPath(base + "/new one/deeper"));
  EXPECT_TRUE(tree->RemoveSelectedFolder());
  EXPECT_FALSE(fs::exists(base + "/new one/deeper"));
  EXPECT_EQ(tree->Directory(), base + "/new one/");
  tree->Reset();
  EXPECT_EQ(tree->Directory(), "/");
  EXPECT_FALSE(tree->RemoveSelectedFolder());  // the root
}

}  // namespace
}  // namespace vorn
