// The bridge's table of wrappers for framework objects that are not components: one wrapper per
// live object, nothing kept alive by the table, nothing handed out once the object is gone.
#include <gtest/gtest.h>

#include <memory>

#include "platform/fw/button.h"
#include "platform/fw/collection.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"
#include "script/gui/caster.h"
#include "script/gui/wrapper_cache.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using engine::TJObject;
using engine::TJRef;
using engine::TJVCLPersistent;
using guitest::TGuiScript;

std::unique_ptr<fw::TCollection> NewCollection() {
  return std::make_unique<fw::TCollection>([](fw::TCollection* c) { return new fw::TCollectionItem(c); });
}

std::string CheckMessage(TJVCLPersistent* w) {
  try {
    w->CheckVCL(nullptr, 0);
  } catch (const engine::EJRuntimeError& e) {
    return e.ErrorType + ": " + e.message();
  }
  return "no error";
}

TEST(GuiWrapperCache, OneWrapperPerLiveObjectNotOwnedAndGoneWithTheObject) {
  TGuiScript s;
  engine::TJEngine& e = s.Component().Engine();
  auto items = NewCollection();
  fw::TCollectionItem* a = items->Add();
  fw::TCollectionItem* b = items->Add();

  TJRef<TJVCLPersistent> wa(gui::WrapLive(&e, a));
  ASSERT_TRUE(wa);
  EXPECT_EQ(wa->VCL(), a);
  EXPECT_FALSE(wa->Owned());
  EXPECT_EQ(gui::WrapLive(&e, a), wa.get());
  TJRef<TJVCLPersistent> wb(gui::WrapLive(&e, b));
  EXPECT_NE(wb.get(), wa.get());

  // A wrapper of a different engine is a different object.
  TGuiScript other;
  TJRef<TJVCLPersistent> wo(gui::WrapLive(&other.Component().Engine(), a));
  EXPECT_NE(wo.get(), wa.get());

  // The item is deleted: its wrappers read as unbound and are never handed out again; releasing
  // them leaves the collection alone.
  items->Delete(0);
  EXPECT_FALSE(wa->HasVCL());
  EXPECT_EQ(CheckMessage(wa.get()), "EVCLError: TPersistent - VCL is null");
  EXPECT_EQ(gui::WrapperCache().Find(&e, a), nullptr);
  wa->ReleaseVCL();
  wo.reset();
  EXPECT_EQ(items->Count(), 1);

  // A new item, possibly at the freed one's address, gets a wrapper of its own.
  fw::TCollectionItem* c = items->Add();
  TJRef<TJVCLPersistent> wc(gui::WrapLive(&e, c));
  EXPECT_NE(wc.get(), wa.get());
  EXPECT_EQ(wc->VCL(), c);
  EXPECT_EQ(gui::WrapLive(&e, b), wb.get());

  // Freeing the whole collection ends every tie at once.
  items.reset();
  EXPECT_FALSE(wb->HasVCL());
  EXPECT_FALSE(wc->HasVCL());
}

TEST(GuiWrapperCache, DroppedWrappersAreFreedAndTheTableStaysSmall) {
  TGuiScript s;
  engine::TJEngine& e = s.Component().Engine();
  auto items = NewCollection();
  fw::TCollectionItem* a = items->Add();
  const size_t before = e.Factory().Objects().Count();
  gui::WrapperCache().Sweep();
  const size_t listed = gui::WrapperCache().Size();
  for (int i = 0; i < 10000; ++i) {
    TJRef<TJVCLPersistent> w(gui::WrapLive(&e, a));
    ASSERT_EQ(w->VCL(), a);
  }
  // Nothing held the wrappers: each was freed, and the table kept no reference to them.
  EXPECT_EQ(e.Factory().Objects().Count(), before);
  gui::WrapperCache().Sweep();
  EXPECT_EQ(gui::WrapperCache().Size(), listed);

  // Many objects wrapped once and dropped: the table is swept as it grows.
  for (int i = 0; i < 2000; ++i) items->Add();
  for (int i = 0; i < items->Count(); ++i) TJRef<TJVCLPersistent> w(gui::WrapLive(&e, items->Items(i)));
  EXPECT_LT(gui::WrapperCache().Size(), listed + 200);
  EXPECT_EQ(e.Factory().Objects().Count(), before);
}

TEST(GuiWrapperCache, ComponentsGoToTheCasterAndNullOrDeadObjectsGiveNothing) {
  TGuiScript s;
  engine::TJEngine& e = s.Component().Engine();
  auto button = std::make_unique<fw::TButton>(nullptr);
  TJObject* cast = gui::GetCaster().Cast(button.get(), &e);
  TJRef<TJObject> hold(cast);
  EXPECT_EQ(gui::WrapLive(&e, button.get(), button->LivenessToken()), cast);

  EXPECT_EQ(gui::WrapLive(&e, static_cast<rt::TPersistent*>(nullptr), {}), nullptr);
  auto items = NewCollection();
  fw::TCollectionItem* a = items->Add();
  std::weak_ptr<const void> token = a->LivenessToken();
  items->Clear();
  fw::TCollectionItem* b = items->Add();
  // A stale token never binds, whatever lives at the address now.
  EXPECT_EQ(gui::WrapLive(&e, b, token), nullptr);
  EXPECT_NE(gui::WrapLive(&e, b), nullptr);
}

}  // namespace
