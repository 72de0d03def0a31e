// Free-notification between objects that refer to each other, and weak references.
//
// TJNotify links two notifiers both ways (FreeNotification); when one is destroyed, every linked
// notifier hears of it through Notification and forgets it. TJWeakRef is the light form used for
// the links that must not keep their target alive (a function's bound object, a scope's with
// object): it reads null once the target is gone, without a link on the target's side.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rt/method.h"
#include "platform/rt/persistent.h"
#include "support/small_blocks.h"

namespace engine {

class TJNotify : public rt::TPersistent {
  RT_CLASS(TJNotify)
 public:
  TJNotify() = default;
  ~TJNotify() override;

  // Links both ways; nothing more when already linked.
  void FreeNotification(TJNotify* other);
  // Removes the link on this side only.
  void RemoveFreeNotification(TJNotify* other);
  // Removes the link to `other` on both sides.
  void Unlink(TJNotify* other);
  // `sender` is going away: forget it, then tell OnNotify.
  virtual void Notification(TJNotify* sender);
  bool IsLinked(const TJNotify* other) const;

  rt::Event<void(TJNotify* sender)> OnNotify;

  // The shared cell that weak references read; made on first use, cleared on destruction.
  struct Anchor {
    SUPPORT_SMALL_BLOCKS
    int32_t refs = 0;
    TJNotify* target;
  };
  Anchor* WeakAnchor();

 private:
  std::unique_ptr<std::vector<TJNotify*>> links_;
  Anchor* anchor_ = nullptr;
};

// A reference that does not keep its target alive and reads null once the target is destroyed.
template <class T>
class TJWeakRef {
 public:
  TJWeakRef() = default;
  TJWeakRef(T* target) { reset(target); }
  TJWeakRef(const TJWeakRef& o) : anchor_(o.anchor_) { if (anchor_) ++anchor_->refs; }
  TJWeakRef& operator=(const TJWeakRef& o) {
    if (this != &o) {
      drop();
      anchor_ = o.anchor_;
      if (anchor_) ++anchor_->refs;
    }
    return *this;
  }
  ~TJWeakRef() { drop(); }

  void reset(T* target = nullptr) {
    if (target && anchor_ && anchor_->target == target) return;  // already this target's
    drop();
    if (target) {
      anchor_ = target->WeakAnchor();
      ++anchor_->refs;
    }
  }
  T* get() const { return anchor_ ? static_cast<T*>(anchor_->target) : nullptr; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }

 private:
  void drop() {
    if (anchor_ && --anchor_->refs == 0 && !anchor_->target) delete anchor_;
    anchor_ = nullptr;
  }
  TJNotify::Anchor* anchor_ = nullptr;
};

}  // namespace engine
