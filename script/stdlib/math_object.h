// The script class "Math": mathematical constants (read-only published properties) and functions.
//
// Arguments convert to doubles, with infinity and NaN kept as such; results that are infinite or
// NaN come back as the infinity and NaN values. ceil, floor and round answer integers when the
// result fits 32 bits and doubles beyond. Making a Math object restarts the runtime random
// generator from the clock.
#pragma once

#include "script/core/object.h"
#include "script/core/value.h"

namespace stdlib {

class TJMathObject : public engine::TJObject {
  RT_CLASS(TJMathObject)
 public:
  TJMathObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  double E() const;
  double LN2() const;
  double LN10() const;
  double LOG2E() const;
  double LOG10E() const;
  double SQRT1_2() const;
  double SQRT2() const;
  double PI() const;

  void RegistMethods() override;

  void DoAbs(engine::TJValueList* args, engine::TJValue& result);
  void DoExp(engine::TJValueList* args, engine::TJValue& result);
  void DoLog(engine::TJValueList* args, engine::TJValue& result);
  void DoSqrt(engine::TJValueList* args, engine::TJValue& result);
  void DoCeil(engine::TJValueList* args, engine::TJValue& result);
  void DoFloor(engine::TJValueList* args, engine::TJValue& result);
  void DoRound(engine::TJValueList* args, engine::TJValue& result);
  void DoSin(engine::TJValueList* args, engine::TJValue& result);
  void DoCos(engine::TJValueList* args, engine::TJValue& result);
  void DoTan(engine::TJValueList* args, engine::TJValue& result);
  void DoAsin(engine::TJValueList* args, engine::TJValue& result);
  void DoAcos(engine::TJValueList* args, engine::TJValue& result);
  void DoAtan(engine::TJValueList* args, engine::TJValue& result);
  void DoAtan2(engine::TJValueList* args, engine::TJValue& result);
  void DoMax(engine::TJValueList* args, engine::TJValue& result);
  void DoMin(engine::TJValueList* args, engine::TJValue& result);
  void DoPow(engine::TJValueList* args, engine::TJValue& result);
  void DoRandom(engine::TJValueList* args, engine::TJValue& result);
};

}  // namespace stdlib
