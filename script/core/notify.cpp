#include "script/core/notify.h"

#include <algorithm>

namespace engine {

const rt::ClassInfo& TJNotify::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJNotify>("TJNotify", &rt::TPersistent::StaticClassInfo()).build();
  return info;
}

TJNotify::~TJNotify() {
  if (anchor_) {
    anchor_->target = nullptr;
    if (anchor_->refs == 0) delete anchor_;
    anchor_ = nullptr;
  }
  // Tell every linked notifier, the last link first; a handler may unlink others meanwhile.
  while (links_ && !links_->empty()) {
    TJNotify* other = links_->back();
    links_->pop_back();
    other->Notification(this);
  }
}

TJNotify::Anchor* TJNotify::WeakAnchor() {
  if (!anchor_) anchor_ = new Anchor{0, this};
  return anchor_;
}

bool TJNotify::IsLinked(const TJNotify* other) const {
  return links_ && std::find(links_->begin(), links_->end(), other) != links_->end();
}

void TJNotify::FreeNotification(TJNotify* other) {
  if (!other || other == this || IsLinked(other)) return;
  if (!links_) links_ = std::make_unique<std::vector<TJNotify*>>();
  links_->push_back(other);
  other->FreeNotification(this);
}

void TJNotify::RemoveFreeNotification(TJNotify* other) {
  if (!links_) return;
  auto it = std::find(links_->begin(), links_->end(), other);
  if (it != links_->end()) links_->erase(it);
  if (links_->empty()) links_.reset();
}

void TJNotify::Unlink(TJNotify* other) {
  if (!other) return;
  RemoveFreeNotification(other);
  other->RemoveFreeNotification(this);
}

void TJNotify::Notification(TJNotify* sender) {
  if (!sender) return;
  RemoveFreeNotification(sender);
  if (OnNotify) OnNotify(sender);
}

}  // namespace engine
