#include "script/gui/compare_box.h"

#include "script/core/published.h"
#include "script/stdlib/number_object.h"

namespace gui {

using namespace engine;

namespace {

class TJCompareBox : public stdlib::TJNumberObject {
  RT_CLASS(TJCompareBox)
 public:
  using TJNumberObject::TJNumberObject;
  using TJNumberObject::SetValue;
  void RegistProperties() override {}
  // Number reads and writes members as any object does; the value's own properties (looked up
  // once here) leave the box as good as new.
  bool GetValue(std::string_view name, TJValue& value, TJValueList* param) override {
    const rt::PropInfo* p = ClassType().findProperty(name);
    if (!p) touched_ = true;
    else if (engine::GetPublishedProperty(this, *p, value, Engine())) return true;
    return TJObject::GetValue(name, value, param);
  }
  bool SetValue(std::string_view name, const TJValue& value, TJValueList* param) override {
    const rt::PropInfo* p = ClassType().findProperty(name);
    if (!p) {
      touched_ = true;
      return TJObject::SetValue(name, value, param);
    }
    engine::SetPublishedProperty(this, *p, value);  // a refused value is dropped, as for any object
    return true;
  }
  bool RemoveKey(std::string_view name) override {
    touched_ = true;
    return TJNumberObject::RemoveKey(name);
  }
  void Clear() override {
    touched_ = true;
    TJNumberObject::Clear();
  }
  // Held by the view alone and never touched but through its value: as good as new.
  bool AsNew() const { return RefCount() == 1 && !touched_ && !IsDisposed(); }

 private:
  // Set by a member other than the value's own properties: a name the script added, or a method
  // read as a value (which stays on as a member).
  bool touched_ = false;
};

}  // namespace

const rt::ClassInfo& TJCompareBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJCompareBox>("TJCompareBox", &stdlib::TJNumberObject::StaticClassInfo()).build();
  return info;
}

TJObject* TCompareBoxSlot::Box(TJBaseEngine* engine, int32_t value) {
  auto* box = static_cast<TJCompareBox*>(box_.get());
  if (!box || !box->AsNew()) {
    box = TJObject::Create<TJCompareBox>(engine);
    box_ = TJRef<TJObject>(box);
  }
  box->SetValue(TJValue::Integer(value));
  return box;
}

}  // namespace gui
