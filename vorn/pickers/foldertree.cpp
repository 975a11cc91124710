#include "vorn/pickers/foldertree.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "vorn/foundation/strutils.h"
#include "vorn/platform/runtime/application.h"

namespace vorn {
namespace {

// The data of a node whose folders were read points here.
int ReadMarker = 0;

struct TDirCloser {
  void operator()(DIR* D) const { closedir(D); }
};
using TDirHandle = std::unique_ptr<DIR, TDirCloser>;

bool IsFolder(const std::string& Path) {
  struct stat st {};
  return stat(Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether a directory entry is a folder (following links).
bool EntryIsFolder(const std::string& Parent, const dirent* Entry) {
  if (Entry->d_type == DT_DIR) return true;
  if (Entry->d_type != DT_LNK && Entry->d_type != DT_UNKNOWN) return false;
  return IsFolder(Parent + Entry->d_name);
}

bool Shown(const char* Name) { return Name[0] != '.'; }

std::string RealPath(const std::string& Path) {
  char buffer[PATH_MAX];
  return realpath(Path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

std::string WithSlash(std::string Path) {
  if (Path.empty() || Path.back() != '/') Path += '/';
  return Path;
}

// Whether Ancestor is Path or one of its ancestors (both real paths).
bool IsAncestorOrSelf(const std::string& Ancestor, const std::string& Path) {
  if (Ancestor.empty() || Path.empty()) return false;
  if (Ancestor == "/") return true;
  return Path == Ancestor || (Path.size() > Ancestor.size() && Path.compare(0, Ancestor.size(), Ancestor) == 0 &&
                              Path[Ancestor.size()] == '/');
}

// Whether Folder (with a trailing "/") holds a shown folder.
bool HasShownFolder(const std::string& Folder) {
  TDirHandle dir(opendir(Folder.c_str()));
  if (!dir) return false;
  while (const dirent* entry = readdir(dir.get())) {
    if (Shown(entry->d_name) && EntryIsFolder(Folder, entry)) return true;
  }
  return false;
}

char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool NameLess(const TFolderEntry& A, const TFolderEntry& B) {
  const std::size_t n = std::min(A.Name.size(), B.Name.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto a = static_cast<unsigned char>(AsciiLower(A.Name[i]));
    const auto b = static_cast<unsigned char>(AsciiLower(B.Name[i]));
    if (a != b) return a < b;
  }
  if (A.Name.size() != B.Name.size()) return A.Name.size() < B.Name.size();
  return A.Name < B.Name;
}

// Path made absolute and free of ".", ".." and repeated separators.
std::string NormalPath(const std::string& Path) {
  std::string absolute = Path;
  if (absolute.empty() || absolute[0] != '/') {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) return {};
    absolute = std::string(buffer) + "/" + absolute;
  }
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= absolute.size()) {
    const std::size_t slash = std::min(absolute.find('/', start), absolute.size());
    const std::string part = absolute.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::string result = "/";
  for (const std::string& part : parts) result += part + "/";
  return result;
}

class TWaitCursor {
 public:
  TWaitCursor() : FSaved(Screen()->Cursor()) { Screen()->SetCursor(crHourGlass); }
  ~TWaitCursor() { Screen()->SetCursor(FSaved); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  TCursor FSaved;
};

}  // namespace

TFolderTree::TFolderTree(TComponent* AOwner) : TCustomTreeView(AOwner) {
  SetReadOnly(true);
  Reset();
}

// ---- listing ----------------------------------------------------------------------------

bool TFolderTree::GetSubDirs(const std::string& Path, std::vector<TFolderEntry>& DirList) {
  const std::string folder = WithSlash(Path);
  TDirHandle dir(opendir(folder.c_str()));
  if (!dir) return false;
  const std::string real = RealPath(folder);
  std::vector<TFolderEntry> found;
  while (const dirent* entry = readdir(dir.get())) {
    if (!Shown(entry->d_name) || !EntryIsFolder(folder, entry)) continue;
    const std::string child = folder + entry->d_name + "/";
    bool hasSub = false;
    // A link back to this folder or above would show the same folders
    // again, without end: it is shown but not opened.
    if (entry->d_type == DT_DIR || !IsAncestorOrSelf(RealPath(child), real)) hasSub = HasShownFolder(child);
    found.push_back({entry->d_name, hasSub});
  }
  std::stable_sort(found.begin(), found.end(), NameLess);
  DirList.insert(DirList.end(), found.begin(), found.end());
  return !DirList.empty();
}

bool TFolderTree::GetSubDirs(const TTreeNode* Node, std::vector<TFolderEntry>& DirList) const {
  if (Node == nullptr || LeadsIntoLoop(Node)) return false;
  return GetSubDirs(NodePath(Node), DirList);
}

std::string TFolderTree::NodePath(const TTreeNode* Node) const {
  if (Node == nullptr) return {};
  if (Node->Parent() == nullptr) return WithSlash(Node->Text());
  return NodePath(Node->Parent()) + Node->Text() + "/";
}

bool TFolderTree::IsRead(const TTreeNode* Node) { return Node != nullptr && Node->Data() == &ReadMarker; }

bool TFolderTree::LeadsIntoLoop(const TTreeNode* Node) const {
  const std::string real = RealPath(NodePath(Node));
  if (real.empty()) return false;
  for (const TTreeNode* p = Node->Parent(); p != nullptr; p = p->Parent()) {
    if (RealPath(NodePath(p)) == real) return true;
  }
  return false;
}

void TFolderTree::ReadChildren(TTreeNode* Node) {
  if (IsRead(Node)) return;
  TWaitCursor wait;
  std::vector<TFolderEntry> list;
  GetSubDirs(Node, list);
  TTreeNodes& nodes = *Items();
  nodes.BeginUpdate();
  Node->DeleteChildren();
  if (!list.empty()) {
    Node->SetData(&ReadMarker);
    for (const TFolderEntry& entry : list) {
      TTreeNode* child = nodes.AddChild(Node, entry.Name);
      if (entry.HasSubFolders) nodes.AddChild(child, PlaceholderText);
    }
  }
  nodes.EndUpdate();
}

bool TFolderTree::CanExpand(TTreeNode* Node) {
  ReadChildren(Node);
  return TCustomTreeView::CanExpand(Node);
}

// ---- selection ------------------------------------------------------------------------------

void TFolderTree::DirChanged(const std::string& Before) {
  if (FDirectory != Before) RaiseEvent(FOnDirChange, this);
}

void TFolderTree::Change(TTreeNode* Node) {
  TDestroyGuard guard(this);
  Click();
  if (guard.Gone()) return;
  const std::string before = FDirectory;
  if (Node != nullptr) FDirectory = NodePath(Node);
  TCustomTreeView::Change(Node);
  if (!guard.Gone()) DirChanged(before);
}

void TFolderTree::Rebuild() {
  TTreeNodes& nodes = *Items();
  nodes.BeginUpdate();
  nodes.Clear();
  TTreeNode* root = nodes.AddChild(nullptr, RootPath);
  nodes.AddChild(root, PlaceholderText);
  nodes.EndUpdate();
  SetTopIndex(0);
}

void TFolderTree::Reset() {
  Rebuild();
  SetSelected(Items()->GetFirstNode());
}

bool TFolderTree::SelectPath(const std::string& Path) {
  const std::string path = Path.empty() ? std::string() : NormalPath(Path);
  if (path.empty() || !IsFolder(path)) return false;
  TDestroyGuard guard(this);
  Rebuild();
  TTreeNode* node = Items()->GetFirstNode();
  bool complete = true;
  std::size_t start = 1;
  while (true) {
    node->Expand(false);
    if (guard.Gone()) return false;
    if (start >= path.size()) break;
    const std::size_t slash = path.find('/', start);
    const std::string name = path.substr(start, slash - start);
    start = slash + 1;
    TTreeNode* next = nullptr;
    for (int i = 0; i < node->Count() && next == nullptr; ++i) {
      if (node->Item(i)->Text() == name) next = node->Item(i);
    }
    if (next == nullptr) {
      complete = false;  // a hidden or unreadable folder on the way
      break;
    }
    node = next;
  }
  SetSelected(node);
  if (guard.Gone()) return false;
  if (CanFocus()) SetFocus();
  return complete;
}

bool TFolderTree::RefreshTree() {
  std::string dir = FDirectory;
  bool ok = SelectPath(dir);
  while (!ok && !dir.empty()) {
    const std::string parent = WithSlash(ParentDir(dir));
    if (parent == WithSlash(dir)) break;  // the root is its own parent: no endless climb
    dir = parent;
    ok = SelectPath(dir);
  }
  return ok;
}

// ---- changes on disk ---------------------------------------------------------------------------

bool TFolderTree::MakeSubFolder(const std::string& FolderName) {
  TTreeNode* selected = Selected();
  if (selected == nullptr || FolderName.empty() || FolderName == "." || FolderName == "..") return false;
  for (const char ch : FolderName) {
    const auto code = static_cast<unsigned char>(ch);
    if (code <= 31 || code == 127 || ch == '"' || ch == '<' || ch == '>' || ch == '|' || ch == '/') return false;
  }
  const std::string path = NodePath(selected) + FolderName;
  if (mkdir(path.c_str(), 0777) != 0 && !(errno == EEXIST && IsFolder(path))) return false;
  return SelectPath(path);
}

bool TFolderTree::RemoveSelectedFolder() {
  TTreeNode* selected = Selected();
  if (selected == nullptr || selected->Parent() == nullptr) return false;
  const std::string path = NodePath(selected);
  const std::string parent = NodePath(selected->Parent());
  if (rmdir(path.c_str()) != 0) return false;
  TDestroyGuard guard(this);
  Application()->ProcessMessages();
  if (!guard.Gone()) SelectPath(parent);
  return true;
}

// ---- look -----------------------------------------------------------------------------------------

void TFolderTree::SetTreeColor(TColor Value) {
  FColorBak = Value;
  if (Enabled()) SetColor(Value);
}

void TFolderTree::SetEnabled(bool Value) {
  // A colour set through the control itself while enabled is kept too.
  if (!Value && Enabled()) FColorBak = Color();
  SetColor(Value ? FColorBak : clBtnFace);
  TCustomTreeView::SetEnabled(Value);
}

void TFolderTree::Loaded() {
  TCustomTreeView::Loaded();
  if (Color() == 0x000000) SetColor(0xFFFFFF);  // a black tree from a form means "not set"
  FColorBak = Color();
  FullCollapse();
}

}  // namespace vorn
