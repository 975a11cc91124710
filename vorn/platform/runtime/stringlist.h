// TStrings: an ordered list of texts, each with an object pointer beside
// it (not owned; controls use it to carry a value per item). Controls that
// show a list (combo box items) hand one out and follow its changes
// through OnChange, raised once per change, or once at the outer EndUpdate
// for changes made between BeginUpdate and EndUpdate.
#pragma once

#include <string>
#include <vector>

#include "vorn/platform/runtime/classes.h"

namespace vorn {

// Raised for an index outside the list.
class EStringListError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

class TStrings : public TPersistent {
 public:
  TStrings() = default;

  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] const std::string& Strings(int Index) const;
  void SetStrings(int Index, const std::string& Value);
  [[nodiscard]] TObject* Objects(int Index) const;
  void SetObjects(int Index, TObject* Value);

  // Adds at the end; returns the new item's index.
  int Add(const std::string& S) { return AddObject(S, nullptr); }
  int AddObject(const std::string& S, TObject* AObject);
  void Insert(int Index, const std::string& S);
  void Delete(int Index);
  void Clear();
  // The first item whose text equals S exactly, or -1.
  [[nodiscard]] int IndexOf(const std::string& S) const;
  [[nodiscard]] int IndexOfObject(const TObject* AObject) const;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void Assign(const TPersistent* Source) override;

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }

 private:
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
  };
  void CheckIndex(int Index, int Limit) const;
  void Changed();

  std::vector<TItem> FItems;
  int FUpdateCount = 0;
  bool FChangedInUpdate = false;
  TNotifyEvent FOnChange;
};

}  // namespace vorn
