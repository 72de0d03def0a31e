#include "tools/brs/no_windows.h"

#include "script/core/component.h"
#include "script/core/exceptions.h"
#include "script/core/object.h"
#include "script/gui/class_names.h"

namespace brs {

const char kNoWindowsMessage[] =
    "brs runs scripts without windows; run this script with brsw, the windowed script host";

namespace {

class TJNoWindowObject : public engine::TJObject {
  RT_CLASS(TJNoWindowObject)
 public:
  // Not made at start only to fail: the names are there, their instances are not.
  static bool IsMakeGlobalInstance() { return false; }
  TJNoWindowObject(engine::TJBaseEngine* engine, engine::TJValueList* param) : engine::TJObject(engine, param) {
    engine::ThrowError("EVCLError", kNoWindowsMessage);
  }
};

const rt::ClassInfo& TJNoWindowObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJNoWindowObject>("TJNoWindowObject", &engine::TJObject::StaticClassInfo()).build();
  return info;
}

}  // namespace

void InstallNoWindowClasses() {
  engine::HostRegistrations().push_back([](engine::TJEngine& engine) {
    for (const char* name : gui::kVCLClassNames) engine.ImportObject(name, engine::ClassOf<TJNoWindowObject>());
  });
}

}  // namespace brs
