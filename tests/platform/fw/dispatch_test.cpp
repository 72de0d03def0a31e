// Nothing is freed under a running handler: what is let go of while a dispatch scope is open waits
// in the release list until the message loop finds no scope open; a loop run from inside a handler
// leaves the list alone. Forms released, menu items cleared, list items and tree nodes deleted from
// inside their own events keep their memory until then, while they read as gone at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fw/application.h"
#include "platform/fw/dispatch.h"
#include "platform/fw/form.h"
#include "platform/fw/list_view.h"
#include "platform/fw/menus.h"
#include "platform/fw/registration.h"
#include "platform/fw/tree_view.h"

namespace fw {
namespace {

class DispatchTest : public testing::Test {
 protected:
  void SetUp() override { RegisterFrameworkClasses(); }
  void TearDown() override { DestroyApplication(); }
  TFakeMessagePump pump;
  TFakeTimers timers;
  TServiceScope services{&pump, &timers};
};

// A component that says when it goes.
class TWatched : public TComponent {
 public:
  TWatched(std::vector<std::string>& log, std::string name) : TComponent(nullptr), log_(log), name_(std::move(name)) {}
  ~TWatched() override { log_.push_back("free " + name_); }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

TEST_F(DispatchTest, ReleasesWaitForTheOutermostScopeAndTheLoop) {
  std::vector<std::string> log;
  FreeWhenIdle(new TWatched(log, "now"));
  EXPECT_EQ(log, std::vector<std::string>{"free now"});
  log.clear();
  {
    TDispatchScope outer;
    FreeWhenIdle(new TWatched(log, "a"));
    {
      TDispatchScope inner;
      ReleaseWhenIdle([&] {
        log.push_back("release b");
        // What a release lets go of goes in the same turn of the loop.
        FreeWhenIdle(new TWatched(log, "c"));
      });
      // A loop run from inside the handler leaves the list alone.
      Application()->ProcessMessages();
      EXPECT_FALSE(RunReleases());
    }
    Application()->ProcessMessages();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(PendingReleases(), 2u);
  }
  // Closing the last scope frees nothing by itself: the loop does.
  EXPECT_TRUE(log.empty());
  Application()->ProcessMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"free a", "release b", "free c"}));
  EXPECT_EQ(PendingReleases(), 0u);
}

TEST_F(DispatchTest, AComponentFreedMeanwhileIsNotFreedAgain) {
  auto* owner = new TComponent(nullptr);
  auto* child = new TComponent(owner);
  {
    TDispatchScope scope;
    FreeWhenIdle(child);
    owner->Free();  // frees the child with it
  }
  Application()->ProcessMessages();
  EXPECT_EQ(PendingReleases(), 0u);
}

TEST_F(DispatchTest, ReleasedFormGoesAfterThePendingEventsAndNeverUnderAHandler) {
  std::vector<std::string> log;
  auto* form = new TForm(nullptr);
  auto alive = form->LivenessToken();
  form->OnDestroy = TNotifyEvent([](void* l, TObject*) { static_cast<std::vector<std::string>*>(l)->push_back("destroyed"); }, &log);
  Application()->Post([&] { log.push_back("earlier event"); });
  {
    TDispatchScope handler;
    form->Release();
    Application()->ProcessMessages();  // a handler's doEvents
    EXPECT_FALSE(alive.expired());
  }
  EXPECT_FALSE(alive.expired());
  Application()->ProcessMessages();
  EXPECT_TRUE(alive.expired());
  EXPECT_EQ(log, (std::vector<std::string>{"earlier event", "destroyed"}));
}

TEST_F(DispatchTest, ClearedMenuItemsKeepTheirMemoryWhileAHandlerRuns) {
  auto* menu = new TMainMenu(nullptr);
  auto* top = new TMenuItem(menu);
  menu->Items()->Add(top);
  auto* child = new TMenuItem(menu);
  top->Add(child);
  auto childAlive = child->LivenessToken();
  bool clicked = false;
  child->OnClick = TNotifyEvent([](void* p, TObject* sender) {
    *static_cast<bool*>(p) = true;
    TDispatchScope handler;
    auto* item = static_cast<TMenuItem*>(sender);
    item->Parent()->Clear();
    // The item is out of the menu, but still there for the code that clicked it.
    EXPECT_EQ(item->Parent(), nullptr);
  }, &clicked);
  child->Click();
  EXPECT_TRUE(clicked);
  EXPECT_EQ(top->Count(), 0);
  EXPECT_FALSE(childAlive.expired());
  Application()->ProcessMessages();
  EXPECT_TRUE(childAlive.expired());
  menu->Free();
}

TEST_F(DispatchTest, DeletedListItemsAndTreeNodesReadAsGoneAtOnce) {
  auto* form = new TForm(nullptr);
  auto* list = new TListView(form);
  list->SetParent(form);
  TListItem* item = list->Items()->Add();
  list->Items()->Add();
  auto* tree = new TTreeView(form);
  tree->SetParent(form);
  TTreeNode* node = tree->Items()->Add(nullptr, "a");
  tree->Items()->AddChild(node, "a1");
  {
    TDispatchScope handler;
    list->Items()->Clear();
    tree->Items()->Clear();
    EXPECT_EQ(list->Items()->Count(), 0);
    EXPECT_EQ(tree->Items()->Count(), 0);
    EXPECT_TRUE(item->Deleted());
    EXPECT_TRUE(item->LivenessToken().expired());
    EXPECT_EQ(item->ListView(), nullptr);
    EXPECT_TRUE(node->Deleted());
    EXPECT_TRUE(node->LivenessToken().expired());
    EXPECT_EQ(PendingReleases(), 4u);
  }
  Application()->ProcessMessages();
  EXPECT_EQ(PendingReleases(), 0u);
  form->Free();
}

TEST_F(DispatchTest, AListItemDeletedFromItsOwnDeletionIsNotAnnouncedTwice) {
  auto* list = new TListView(nullptr);
  for (int i = 0; i < 3; ++i) list->Items()->Add()->SetCaption("i" + std::to_string(i));
  struct TState {
    TListView* list;
    std::vector<std::string> seen;
  } state{list, {}};
  list->OnDeletion = TLVDeletedEvent([](void* p, TObject*, TListItem* item) {
    auto* s = static_cast<TState*>(p);
    s->seen.push_back(item->Caption());
    if (s->seen.size() == 1) s->list->Items()->Clear();
  }, &state);
  list->Items()->Clear();
  EXPECT_EQ(state.seen, (std::vector<std::string>{"i2", "i1", "i0"}));
  EXPECT_EQ(list->Items()->Count(), 0);
  list->Free();
}

}  // namespace
}  // namespace fw
