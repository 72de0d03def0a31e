// The per-class prototype object that the factory keeps: members that every object of the class
// name finds when it lacks them itself. A script may replace it by another object.
#pragma once

#include "script/core/object.h"
#include "script/core/value.h"

namespace engine {

class TJPrototypeObject : public TJObject {
  RT_CLASS(TJPrototypeObject)
 public:
  TJPrototypeObject(TJBaseEngine* engine, TJValueList* param);
  ~TJPrototypeObject() override;

  // The replacement when set, else this prototype.
  TJObject* GetTarget();
  TJObject* Replacement() const { return replacement_.get(); }
  void SetReplacement(TJObject* object);

  void RegistMethods() override {}  // a prototype has no natives of its own
  void GetPropertyList(std::vector<std::string>& names) override;
  void Dispose() override;

 protected:
  bool GetPrototypeValue(std::string_view name, TJValue& value, TJValueList* param) override { return false; }

 private:
  TJRef<TJObject> replacement_;
};

}  // namespace engine
