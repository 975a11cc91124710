// TComponent: named objects with an owner that frees them.
//
// A component created with an owner is deleted by that owner; deleting it
// earlier removes it from the owner's list. Components live on the heap
// (new T(owner)). Components that keep pointers to other components ask
// for a free notification and drop the pointer in Notification.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/sets.h"

namespace vorn {

enum TComponentStateItem : std::uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation : std::uint8_t { opInsert, opRemove };

// Raised for a name that is not an identifier or is taken within the owner.
class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  [[nodiscard]] TComponent* Owner() const { return FOwner; }
  [[nodiscard]] int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  [[nodiscard]] TComponent* Components(int Index) const;
  [[nodiscard]] TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  [[nodiscard]] const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& NewName);
  [[nodiscard]] std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t Value) { FTag = Value; }

  [[nodiscard]] TComponentState ComponentState() const { return FComponentState; }
  // Design mode of this component and those it owns.
  void SetDesigning(bool Value);

  // The form loader's protocol: BeginLoading sets csLoading; Loaded, called
  // once every property is assigned, clears it and lets the component
  // settle what depends on several properties.
  void BeginLoading();
  virtual void Loaded();

  // AComponent is told (Notification with opRemove) when this component
  // goes away, and this one when AComponent does.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Marks the component as going away; derived destructors may call it
  // first so that handlers they trigger see csDestroying.
  void Destroying();

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::string FName;
  std::intptr_t FTag = 0;
  TComponentState FComponentState;
};

// Builds a component as a form loader does: created with csLoading set,
// Assign(component) sets its properties, then Loaded runs.
template <typename T, typename F>
T* CreateAsFromForm(TComponent* AOwner, F&& Assign) {
  T* component = new T(AOwner);
  component->BeginLoading();
  Assign(*component);
  component->Loaded();
  return component;
}

}  // namespace vorn
