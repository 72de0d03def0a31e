#include "platform/rt/persistent.h"

namespace rt {

const ClassInfo& TPersistent::StaticClassInfo() {
  static const ClassInfo& info = ClassBuilder<TPersistent>("TPersistent", nullptr).build();
  return info;
}

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest->ClassName());
}

}  // namespace rt
