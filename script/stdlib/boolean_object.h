// The script class "Boolean": the object form of a truth value (also the cancel flag that GUI
// events hand their handlers and read back).
#pragma once

#include <string>

#include "script/core/object.h"
#include "script/core/value.h"

namespace stdlib {

class TJBooleanObject : public engine::TJObject {
  RT_CLASS(TJBooleanObject)
 public:
  TJBooleanObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // Published as `bool`.
  bool Bool() const { return bool_; }
  void SetBool(bool value) { bool_ = value; }

  std::string ToString(const engine::TJValue* argument) override;
  void ValueOf(engine::TJValue& value) override;
  double ToNumber() override;
  bool ToBoolean() override;
  int32_t ToChar() override;

 private:
  bool bool_ = false;
};

}  // namespace stdlib
