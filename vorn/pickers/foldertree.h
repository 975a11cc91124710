// TFolderTree: a tree of the file system's folders below the root "/".
// Subfolders are read when a node is expanded; selecting a node makes its
// path the current Directory (always with a trailing "/").
//
// Listing a folder: every entry that is a folder (symbolic links to
// folders included) and whose name does not start with "." is shown,
// sorted by the ASCII lower-case name (ties by the name's bytes). A folder
// is given an expand button when it holds at least one such folder itself;
// a link that leads back to the folder it sits in or to one of that
// folder's ancestors gets no button and lists nothing, so a loop of links
// can never be walked into. Names are bytes: any name the file system
// holds (invalid UTF-8, line breaks, 255 bytes) is shown and selectable.
//
// Paths compare byte for byte (the file system's names are case
// sensitive). File-system failures (no permission, a folder that vanished,
// a path that is no folder) give false results or empty listings, never an
// exception, and leave the tree usable.
#pragma once

#include <string>
#include <vector>

#include "vorn/platform/stdctrls/treeview.h"

namespace vorn {

struct TFolderEntry {
  std::string Name;
  bool HasSubFolders = false;
};

class TFolderTree : public TCustomTreeView {
 public:
  static constexpr const char* RootPath = "/";
  // Text of the placeholder child of a folder not read yet.
  static constexpr const char* PlaceholderText = "Child";

  explicit TFolderTree(TComponent* AOwner);

  // The selected folder's path with a trailing "/".
  [[nodiscard]] const std::string& Directory() const { return FDirectory; }
  // The root alone, collapsed and selected.
  void Reset();
  // Selects the folder Path (absolute, or relative to the current folder
  // of the process), reading the folders on the way. False, with the tree
  // unchanged, when Path is no folder. When a folder on the way is not
  // shown (a hidden or unreadable one), the deepest folder reached is
  // selected and the result is false.
  bool SelectPath(const std::string& Path);
  // Selects Directory again after changes on disk, or its nearest existing
  // ancestor.
  bool RefreshTree();
  // Creates the folder FolderName inside the selected one and selects it.
  // The name must be one folder name: no control characters, no '"', '<',
  // '>', '|' or '/', and not "." or "..".
  bool MakeSubFolder(const std::string& FolderName);
  // Removes the selected folder when it is empty and selects its parent.
  bool RemoveSelectedFolder();
  // Appends the subfolders of Path (sorted) to DirList; false when Path is
  // no readable folder, otherwise whether DirList is then non-empty.
  static bool GetSubDirs(const std::string& Path, std::vector<TFolderEntry>& DirList);
  bool GetSubDirs(const TTreeNode* Node, std::vector<TFolderEntry>& DirList) const;
  // The path of a node, with a trailing "/".
  [[nodiscard]] std::string NodePath(const TTreeNode* Node) const;
  // Whether the node's folders were read.
  [[nodiscard]] static bool IsRead(const TTreeNode* Node);

  [[nodiscard]] bool OldTreeStyle() const { return FUseOldStyle; }
  // Kept for callers; there is only one tree style here.
  void SetOldTreeStyle(bool Value) { FUseOldStyle = Value; }
  // The colour of the enabled tree; a disabled tree shows the button face.
  void SetTreeColor(TColor Value);
  void SetEnabled(bool Value) override;
  void Loaded() override;
  [[nodiscard]] const TNotifyEvent& OnDirChanged() const { return FOnDirChange; }
  void SetOnDirChanged(TNotifyEvent Value) { FOnDirChange = std::move(Value); }

 protected:
  bool CanExpand(TTreeNode* Node) override;
  void Change(TTreeNode* Node) override;

 private:
  void Rebuild();
  void ReadChildren(TTreeNode* Node);
  [[nodiscard]] bool LeadsIntoLoop(const TTreeNode* Node) const;
  void DirChanged(const std::string& Before);

  std::string FDirectory;
  bool FUseOldStyle = true;
  TColor FColorBak = clWindow;
  TNotifyEvent FOnDirChange;
};

}  // namespace vorn
