// Ownership, names, free notifications and the loading protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vorn/platform/runtime/components.h"

namespace vorn {
namespace {

class Tracked : public TComponent {
 public:
  Tracked(TComponent* owner, std::vector<std::string>* log, std::string tag)
      : TComponent(owner), log_(log), tag_(std::move(tag)) {}
  ~Tracked() override { log_->push_back("~" + tag_); }
  TComponent* watched = nullptr;
  bool loadingSeenInLoaded = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove && c == watched) watched = nullptr;
  }

 private:
  std::vector<std::string>* log_;
  std::string tag_;
};

TEST(ComponentTest, OwnerFreesOwnedComponentsLastCreatedFirst) {
  std::vector<std::string> log;
  auto* owner = new Tracked(nullptr, &log, "owner");
  new Tracked(owner, &log, "a");
  new Tracked(owner, &log, "b");
  EXPECT_EQ(owner->ComponentCount(), 2);
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"~owner", "~b", "~a"}));
}

TEST(ComponentTest, DeletingAnOwnedComponentEarlyTakesItOutOfTheList) {
  std::vector<std::string> log;
  Tracked owner(nullptr, &log, "owner");
  auto* a = new Tracked(&owner, &log, "a");
  auto* b = new Tracked(&owner, &log, "b");
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(owner.Components(5), nullptr);
}

TEST(ComponentTest, NamesAreIdentifiersAndUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Field1");
  EXPECT_EQ(owner.FindComponent("field1"), a);
  EXPECT_THROW(b->SetName("FIELD1"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("Field2");
  EXPECT_EQ(b->Name(), "Field2");
}

TEST(ComponentTest, FreeNotificationClearsAPointerToADeletedComponent) {
  std::vector<std::string> log;
  Tracked holder(nullptr, &log, "holder");
  auto* menu = new TComponent(nullptr);
  holder.watched = menu;
  menu->FreeNotification(&holder);
  delete menu;
  EXPECT_EQ(holder.watched, nullptr);
  // The holder going first leaves nothing behind in the other.
  auto* other = new TComponent(nullptr);
  {
    Tracked shortLived(nullptr, &log, "short");
    other->FreeNotification(&shortLived);
  }
  delete other;  // must not touch the destroyed holder
}

TEST(ComponentTest, LoadingFromAFormSetsAndClearsTheLoadingState) {
  TComponent owner(nullptr);
  bool loadingDuringAssign = false;
  auto* c = CreateAsFromForm<TComponent>(&owner, [&](TComponent& comp) {
    loadingDuringAssign = comp.ComponentState().Contains(csLoading);
    comp.SetName("Loaded1");
  });
  EXPECT_TRUE(loadingDuringAssign);
  EXPECT_FALSE(c->ComponentState().Contains(csLoading));
  EXPECT_EQ(c->Owner(), &owner);
}

TEST(ComponentTest, DesigningSpreadsToOwnedComponents) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
  auto* b = new TComponent(&owner);
  EXPECT_TRUE(b->ComponentState().Contains(csDesigning));
}

}  // namespace
}  // namespace vorn
