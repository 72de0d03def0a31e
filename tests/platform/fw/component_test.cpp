#include "platform/fw/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/errors.h"

namespace fw {
namespace {

// Records the notifications it hears.
class Listener : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<std::pair<TComponent*, TOperation>> heard;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    heard.push_back({c, op});
  }
};

TEST(Component, OwnerFreesWhatItOwns) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TComponent(owner);
  auto* b = new TComponent(a);
  auto alive = b->LivenessToken();
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(a->Owner(), owner);
  EXPECT_FALSE(alive.expired());
  owner->Free();
  EXPECT_TRUE(alive.expired());
}

TEST(Component, FreeingAnOwnedComponentLeavesItsOwner) {
  auto* owner = new Listener(nullptr);
  auto* a = new TComponent(owner);
  auto* b = new TComponent(owner);
  EXPECT_EQ(b->ComponentIndex(), 1);
  a->Free();
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
  ASSERT_FALSE(owner->heard.empty());
  EXPECT_EQ(owner->heard.back().first, a);
  EXPECT_EQ(owner->heard.back().second, opRemove);
  delete owner;
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
  try {
    b->SetName("button1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.message(), "A component named button1 already exists");
  }
  try {
    b->SetName("1abc");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.message(), "'1abc' is not a valid component name");
  }
  a->SetName("BUTTON1");  // same name in another case is fine for the component itself
  EXPECT_EQ(a->Name(), "BUTTON1");
  b->SetName("");
  auto* c = new TComponent(nullptr);
  c->SetName("button1");
  EXPECT_THROW(owner.InsertComponent(c), EComponentError);
  EXPECT_EQ(c->Owner(), nullptr);
  delete c;
}

TEST(Component, FreeNotificationWorksBothWays) {
  Listener watcher(nullptr);
  auto* target = new TComponent(nullptr);
  target->FreeNotification(&watcher);
  delete target;
  ASSERT_EQ(watcher.heard.size(), 1u);
  EXPECT_EQ(watcher.heard[0].second, opRemove);

  // The watcher goes first: the target must not call it later.
  auto* w2 = new Listener(nullptr);
  TComponent target2(nullptr);
  target2.FreeNotification(w2);
  delete w2;
  target2.FreeNotification(&watcher);
  target2.RemoveFreeNotification(&watcher);
}

TEST(Component, OwnedComponentsHearAboutSiblingRemoval) {
  TComponent owner(nullptr);
  auto* listener = new Listener(&owner);
  auto* other = new TComponent(&owner);
  listener->heard.clear();
  other->Free();
  ASSERT_EQ(listener->heard.size(), 1u);
  EXPECT_EQ(listener->heard[0].first, other);
  EXPECT_EQ(listener->heard[0].second, opRemove);
}

TEST(Component, IndexesAndErrors) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  auto* c = new TComponent(&owner);
  c->SetComponentIndex(0);
  EXPECT_EQ(owner.Components(0), c);
  EXPECT_EQ(owner.Components(1), a);
  EXPECT_EQ(owner.Components(2), b);
  try {
    owner.Components(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.message(), "List index out of bounds (3)");
  }
  EXPECT_EQ(TComponent(nullptr).ComponentIndex(), -1);
}

}  // namespace
}  // namespace fw
