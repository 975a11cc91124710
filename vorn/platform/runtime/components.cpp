#include "vorn/platform/runtime/components.h"

#include <algorithm>
#include <cctype>

namespace vorn {

namespace {

bool IsIdentifier(const std::string& s) {
  if (s.empty()) return true;  // components may stay nameless
  auto head = [](unsigned char c) { return std::isalpha(c) || c == '_'; };
  if (!head(static_cast<unsigned char>(s[0]))) return false;
  return std::all_of(s.begin(), s.end(), [&](char c) {
    const auto u = static_cast<unsigned char>(c);
    return head(u) || std::isdigit(u);
  });
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone holding a pointer to this component.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  // Owned components go first, the last created first.
  while (!FComponents.empty()) {
    TComponent* child = FComponents.back();
    delete child;  // removes itself from FComponents
  }
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() { FComponentState.Include(csDestroying); }

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) return nullptr;
  return FComponents[static_cast<std::size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents) {
    if (SameName(c->FName, AName)) return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName) != nullptr) {
    throw EComponentError("A component named " + AComponent->FName + " already exists");
  }
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
  AComponent->FOwner = nullptr;
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == FName) return;
  if (!IsIdentifier(NewName)) throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner != nullptr) {
    const TComponent* other = FOwner->FindComponent(NewName);
    if (other != nullptr && other != this) {
      throw EComponentError("A component named " + NewName + " already exists");
    }
  }
  FName = NewName;
}

void TComponent::SetDesigning(bool Value) {
  if (Value) {
    FComponentState.Include(csDesigning);
  } else {
    FComponentState.Exclude(csDesigning);
  }
  for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::BeginLoading() { FComponentState.Include(csLoading); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FFreeNotifies.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
  auto& other = AComponent->FFreeNotifies;
  other.erase(std::remove(other.begin(), other.end(), this), other.end());
}

void TComponent::Notification(TComponent* /*AComponent*/, TOperation /*Operation*/) {}

}  // namespace vorn
