#include "platform/fw/registration.h"

#include "platform/fw/component.h"
#include "platform/rt/typeinfo.h"

namespace fw {

void RegisterFrameworkClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  rt::RegisterClass(TComponent::StaticClassInfo());
}

}  // namespace fw
