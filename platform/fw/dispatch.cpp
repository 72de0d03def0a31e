#include "platform/fw/dispatch.h"

#include <deque>
#include <memory>
#include <utility>

#include "platform/fw/application.h"
#include "platform/fw/component.h"
#include "platform/fw/services.h"

namespace fw {

namespace {

int gDepth = 0;
std::deque<std::function<void()>>& releases() {
  static auto* list = new std::deque<std::function<void()>>;
  return *list;
}

// The loop may be waiting for input: it has to turn once to see the list.
void keep(std::function<void()> release) {
  releases().push_back(std::move(release));
  if (releases().size() == 1)
    if (IMessagePump* pump = MessagePump()) pump->Wake();
}

std::function<void()> freeing(TComponent* component) {
  return [component, alive = component->LivenessToken()] {
    if (!alive.expired()) component->Free();
  };
}

}  // namespace

TDispatchScope::TDispatchScope() { ++gDepth; }
TDispatchScope::~TDispatchScope() { --gDepth; }

int DispatchDepth() { return gDepth; }

void ReleaseWhenIdle(std::function<void()> release) {
  if (gDepth == 0) {
    release();
    return;
  }
  keep(std::move(release));
}

void FreeWhenIdle(TComponent* component) {
  if (!component) return;
  if (gDepth == 0) {
    component->Free();
    return;
  }
  keep(freeing(component));
}

void FreeLater(TComponent* component) {
  if (!component) return;
  // Its turn comes after the events pending now; a handler's own loop that meets it leaves it in
  // the release list.
  Application()->Post([component, alive = component->LivenessToken()] {
    if (!alive.expired()) FreeWhenIdle(component);
  });
}

bool RunReleases() {
  if (gDepth > 0 || releases().empty()) return false;
  // One at a time from the front: a release may add more, and one that fails leaves the rest.
  while (gDepth == 0 && !releases().empty()) {
    std::function<void()> release = std::move(releases().front());
    releases().pop_front();
    release();
  }
  return true;
}

size_t PendingReleases() { return releases().size(); }

}  // namespace fw
