#include "vorn/platform/runtime/stringlist.h"

namespace vorn {

void TStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) {
    throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  }
}

const std::string& TStrings::Strings(int Index) const {
  CheckIndex(Index, Count());
  return FItems[static_cast<std::size_t>(Index)].Text;
}

void TStrings::SetStrings(int Index, const std::string& Value) {
  CheckIndex(Index, Count());
  FItems[static_cast<std::size_t>(Index)].Text = Value;
  Changed();
}

TObject* TStrings::Objects(int Index) const {
  CheckIndex(Index, Count());
  return FItems[static_cast<std::size_t>(Index)].Object;
}

void TStrings::SetObjects(int Index, TObject* Value) {
  CheckIndex(Index, Count());
  FItems[static_cast<std::size_t>(Index)].Object = Value;
  Changed();
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  FItems.push_back({S, AObject});
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int Index, const std::string& S) {
  CheckIndex(Index, Count() + 1);
  FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
  Changed();
}

void TStrings::Delete(int Index) {
  CheckIndex(Index, Count());
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TStrings::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

int TStrings::IndexOf(const std::string& S) const {
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i].Text == S) return static_cast<int>(i);
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i].Object == AObject) return static_cast<int>(i);
  }
  return -1;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0 || !FChangedInUpdate) return;
  FChangedInUpdate = false;
  RaiseEvent(FOnChange, this);
}

void TStrings::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TStrings*>(Source)) {
    if (other == this) return;
    FItems = other->FItems;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::Changed() {
  if (FUpdateCount > 0) {
    FChangedInUpdate = true;
    return;
  }
  RaiseEvent(FOnChange, this);
}

}  // namespace vorn
