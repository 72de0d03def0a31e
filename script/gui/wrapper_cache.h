// One wrapper per live framework object that is not a component (a status panel, a list column, a
// list item, a tree node...). Components find their one wrapper through their bridge link (the
// caster); the objects below have no such link, so the bridge keeps a weak table instead:
//
//   - asking twice for the same live object answers the same wrapper, as long as something still
//     holds that wrapper (a script variable, a handler's argument list);
//   - the table holds no reference: a wrapper nobody holds is freed as usual and leaves the table,
//     so a form that reads its items over and over does not collect wrappers;
//   - the wrapper is tied to the object's liveness token: once the object is freed the wrapper
//     reads as unbound ("VCL is null") and the table never hands it out again, even when a new
//     object comes to live at the same address.
//
// Use:
//
//   TJValue v;
//   v.SetObject(gui::WrapLive<TJVCLBaseListItem>(Engine(), item));   // item->LivenessToken()
//   v.SetObject(gui::WrapLive(Engine(), panel, panel->LivenessToken()));  // a generic wrapper
//
// A component handed in goes to the caster (its one wrapper); null answers null. Everything runs
// on the GUI thread.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <utility>

#include "platform/rt/persistent.h"
#include "script/core/notify.h"
#include "script/core/object.h"
#include "script/core/vcl_persistent.h"

namespace gui {

class TJWrapperCache {
 public:
  // The wrapper remembered for the object in this engine while both are alive, else null.
  engine::TJVCLPersistent* Find(engine::TJBaseEngine* engine, const rt::TPersistent* object);
  // Remembers `wrapper` (bound to `object`) for the object's life; it replaces an earlier one.
  void Remember(engine::TJBaseEngine* engine, const rt::TPersistent* object, std::weak_ptr<const void> token,
                engine::TJVCLPersistent* wrapper);
  // Entries still listed (dead ones leave on the next sweep).
  size_t Size() const { return entries_.size(); }
  // Drops the entries whose wrapper or object is gone.
  void Sweep();

 private:
  struct Entry {
    engine::TJWeakRef<engine::TJObject> wrapper;
    std::weak_ptr<const void> token;
  };
  static bool Dead(const Entry& e);
  std::map<std::pair<engine::TJBaseEngine*, const rt::TPersistent*>, Entry> entries_;
  size_t sweepAt_ = 64;
};

TJWrapperCache& WrapperCache();

// Makes a wrapper of class W bound (not owned) to the object and tied to its token.
engine::TJObject* MakeLiveWrapper(engine::TJBaseEngine* engine, rt::TPersistent* object,
                                  std::weak_ptr<const void> token, engine::TJObject* made);
// The component's wrapper through the caster, or null when `object` is no component.
engine::TJObject* ComponentWrapper(engine::TJBaseEngine* engine, rt::TPersistent* object);

// The one wrapper of class W for the live object (found or made); null for null or an object
// already freed. The made wrapper has no holder yet: the caller's value takes the first.
template <class W = engine::TJVCLPersistent>
W* WrapLive(engine::TJBaseEngine* engine, rt::TPersistent* object, std::weak_ptr<const void> token) {
  if (!object) return nullptr;
  if (engine::TJObject* component = ComponentWrapper(engine, object)) return dynamic_cast<W*>(component);
  if (token.expired()) return nullptr;
  if (auto* found = dynamic_cast<W*>(WrapperCache().Find(engine, object))) return found;
  return static_cast<W*>(MakeLiveWrapper(engine, object, std::move(token),
                                         engine::TJObject::Create<W>(engine, nullptr, true)));
}

// The same for objects that hand out their own token (collection items, string lists...).
template <class W = engine::TJVCLPersistent, class O>
W* WrapLive(engine::TJBaseEngine* engine, O* object) {
  return object ? WrapLive<W>(engine, object, object->LivenessToken()) : nullptr;
}

}  // namespace gui
