#include "script/gui/wrapper_cache.h"

#include <algorithm>

#include "platform/fw/component.h"
#include "script/gui/caster.h"

namespace gui {

using namespace engine;

TJWrapperCache& WrapperCache() {
  static TJWrapperCache* cache = new TJWrapperCache;
  return *cache;
}

bool TJWrapperCache::Dead(const Entry& e) {
  TJObject* w = e.wrapper.get();
  return !w || w->IsDisposed() || e.token.expired();
}

TJVCLPersistent* TJWrapperCache::Find(TJBaseEngine* engine, const rt::TPersistent* object) {
  auto it = entries_.find({engine, object});
  if (it == entries_.end()) return nullptr;
  if (Dead(it->second)) {
    entries_.erase(it);
    return nullptr;
  }
  auto* wrapper = static_cast<TJVCLPersistent*>(it->second.wrapper.get());
  // Bound elsewhere since (assign never rebinds, but a family might): no longer this object's.
  if (wrapper->VCL() != object) {
    entries_.erase(it);
    return nullptr;
  }
  return wrapper;
}

void TJWrapperCache::Remember(TJBaseEngine* engine, const rt::TPersistent* object, std::weak_ptr<const void> token,
                              TJVCLPersistent* wrapper) {
  Entry& e = entries_[{engine, object}];
  e.wrapper.reset(wrapper);
  e.token = std::move(token);
  if (entries_.size() >= sweepAt_) {
    Sweep();
    sweepAt_ = std::max<size_t>(64, entries_.size() * 2);
  }
}

void TJWrapperCache::Sweep() {
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (Dead(it->second)) it = entries_.erase(it);
    else ++it;
  }
}

TJObject* MakeLiveWrapper(TJBaseEngine* engine, rt::TPersistent* object, std::weak_ptr<const void> token,
                          TJObject* made) {
  auto* wrapper = dynamic_cast<TJVCLPersistent*>(made);
  if (!wrapper) return nullptr;
  TJKeepAlive keep(made);
  if (!wrapper->AttachVCL(object, false)) return nullptr;
  wrapper->TrackLiveness(token);
  WrapperCache().Remember(engine, object, std::move(token), wrapper);
  return made;
}

TJObject* ComponentWrapper(TJBaseEngine* engine, rt::TPersistent* object) {
  if (!dynamic_cast<fw::TComponent*>(object)) return nullptr;
  return GetCaster().Cast(object, engine);
}

}  // namespace gui
