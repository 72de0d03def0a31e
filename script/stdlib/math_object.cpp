#include "script/stdlib/math_object.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/rt/persistent.h"
#include "platform/rt/random.h"
#include "script/core/value_list.h"

namespace stdlib {

using namespace engine;

const rt::ClassInfo& TJMathObject::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TJMathObject>("TJMathObject", &TJObject::StaticClassInfo())
                                         .property("E", &TJMathObject::E)
                                         .property("LN2", &TJMathObject::LN2)
                                         .property("LN10", &TJMathObject::LN10)
                                         .property("LOG2E", &TJMathObject::LOG2E)
                                         .property("LOG10E", &TJMathObject::LOG10E)
                                         .property("SQRT1_2", &TJMathObject::SQRT1_2)
                                         .property("SQRT2", &TJMathObject::SQRT2)
                                         .property("PI", &TJMathObject::PI)
                                         .build();
  return info;
}

TJMathObject::TJMathObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Math");
  rt::Randomize();
}

double TJMathObject::E() const { return std::exp(1.0); }
double TJMathObject::LN2() const { return std::log(2.0); }
double TJMathObject::LN10() const { return std::log(10.0); }
double TJMathObject::LOG2E() const { return 1 / std::log(2.0); }
double TJMathObject::LOG10E() const { return 1 / std::log(10.0); }
double TJMathObject::SQRT1_2() const { return 0.7071067811865476; }
double TJMathObject::SQRT2() const { return 1.4142135623730951; }
double TJMathObject::PI() const { return 3.141592653589793; }

void TJMathObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("abs", &TJMathObject::DoAbs);
  RegistMethod("exp", &TJMathObject::DoExp);
  RegistMethod("log", &TJMathObject::DoLog);
  RegistMethod("sqrt", &TJMathObject::DoSqrt);
  RegistMethod("ceil", &TJMathObject::DoCeil);
  RegistMethod("floor", &TJMathObject::DoFloor);
  RegistMethod("round", &TJMathObject::DoRound);
  RegistMethod("sin", &TJMathObject::DoSin);
  RegistMethod("cos", &TJMathObject::DoCos);
  RegistMethod("tan", &TJMathObject::DoTan);
  RegistMethod("asin", &TJMathObject::DoAsin);
  RegistMethod("acos", &TJMathObject::DoAcos);
  RegistMethod("atan", &TJMathObject::DoAtan);
  RegistMethod("atan2", &TJMathObject::DoAtan2);
  RegistMethod("max", &TJMathObject::DoMax);
  RegistMethod("min", &TJMathObject::DoMin);
  RegistMethod("pow", &TJMathObject::DoPow);
  RegistMethod("random", &TJMathObject::DoRandom);
}

namespace {

// A value as a double, keeping infinity and NaN (the value conversions read both as 0).
double real(const TJValue& v) {
  switch (v.ValueType()) {
    case vtInfinity: return v.vNegative() ? -HUGE_VAL : HUGE_VAL;
    case vtNaN: return std::numeric_limits<double>::quiet_NaN();
    default: return AsDouble(&v);
  }
}

bool numeric(const TJValue& v) { return v.ValueType() == vtInfinity || IsNumeric(&v); }

// A whole number as an integer when it fits 32 bits, else as a double (or infinity, NaN).
void setWhole(TJValue& result, double r) {
  if (r >= -2147483648.0 && r <= 2147483647.0) result.SetInteger(int32_t(r));
  else result.SetDouble(r);
}

template <double (*F)(double)>
void unary(TJValueList* args, TJValue& result) {
  if (IsParam1(args)) result.SetDouble(F(real((*args)[0])));
  else result.Clear();
}

double atanOne(double x) { return std::atan2(x, 1.0); }
double roundEven(double x) { return std::nearbyint(x); }
double ceilOf(double x) { return std::ceil(x); }
double floorOf(double x) { return std::floor(x); }
double expOf(double x) { return std::exp(x); }
double logOf(double x) { return std::log(x); }
double sqrtOf(double x) { return std::sqrt(x); }
double sinOf(double x) { return std::sin(x); }
double cosOf(double x) { return std::cos(x); }
double tanOf(double x) { return std::tan(x); }
double asinOf(double x) { return std::asin(x); }
double acosOf(double x) { return std::acos(x); }

template <double (*F)(double)>
void whole(TJValueList* args, TJValue& result) {
  if (IsParam1(args)) setWhole(result, F(real((*args)[0])));
  else result.Clear();
}

// The scan of max and min: every argument must be numeric; `better(candidate, current)` decides.
void extreme(TJValueList* args, TJValue& result, bool (*better)(double, double), double none) {
  int n = ArgCount(args);
  if (n == 0) {
    result.SetDouble(none);
    return;
  }
  double r = std::numeric_limits<double>::quiet_NaN();
  for (int i = 0; i < n; ++i) {
    const TJValue& v = (*args)[i];
    if (!numeric(v)) {
      result.SetNaN();
      return;
    }
    double d = real(v);
    if (i == 0 || better(d, r)) r = d;
  }
  result.SetDouble(r);
}

}  // namespace

// abs(x): a double keeps its fraction; anything else is taken as an integer.
void TJMathObject::DoAbs(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) return result.Clear();
  const TJValue& v = (*args)[0];
  switch (v.ValueType()) {
    case vtDouble: case vtInfinity: case vtNaN: result.SetDouble(std::fabs(real(v))); return;
    default: setWhole(result, std::fabs(double(AsInteger(&v)))); return;
  }
}

void TJMathObject::DoExp(TJValueList* args, TJValue& result) { unary<expOf>(args, result); }
void TJMathObject::DoLog(TJValueList* args, TJValue& result) { unary<logOf>(args, result); }
void TJMathObject::DoSqrt(TJValueList* args, TJValue& result) { unary<sqrtOf>(args, result); }
void TJMathObject::DoCeil(TJValueList* args, TJValue& result) { whole<ceilOf>(args, result); }
void TJMathObject::DoFloor(TJValueList* args, TJValue& result) { whole<floorOf>(args, result); }
// round(x): halves go to the even neighbour.
void TJMathObject::DoRound(TJValueList* args, TJValue& result) { whole<roundEven>(args, result); }
void TJMathObject::DoSin(TJValueList* args, TJValue& result) { unary<sinOf>(args, result); }
void TJMathObject::DoCos(TJValueList* args, TJValue& result) { unary<cosOf>(args, result); }
void TJMathObject::DoTan(TJValueList* args, TJValue& result) { unary<tanOf>(args, result); }
void TJMathObject::DoAsin(TJValueList* args, TJValue& result) { unary<asinOf>(args, result); }
void TJMathObject::DoAcos(TJValueList* args, TJValue& result) { unary<acosOf>(args, result); }
void TJMathObject::DoAtan(TJValueList* args, TJValue& result) { unary<atanOne>(args, result); }

void TJMathObject::DoAtan2(TJValueList* args, TJValue& result) {
  if (IsParam2(args)) result.SetDouble(std::atan2(real((*args)[0]), real((*args)[1])));
  else result.Clear();
}

// max(...): the largest argument; NaN when one is not numeric; -infinity without arguments.
void TJMathObject::DoMax(TJValueList* args, TJValue& result) {
  extreme(args, result, [](double d, double r) { return d > r; }, -HUGE_VAL);
}

// min(...): the smallest argument (a NaN current value always gives way); +infinity without.
void TJMathObject::DoMin(TJValueList* args, TJValue& result) {
  extreme(args, result, [](double d, double r) { return !(d >= r); }, HUGE_VAL);
}

void TJMathObject::DoPow(TJValueList* args, TJValue& result) {
  if (IsParam2(args)) result.SetDouble(std::pow(real((*args)[0]), real((*args)[1])));
  else result.Clear();
}

// random(): a double in [0, 1); random(n): an integer 0..n-1 (0 when n is not above 0).
void TJMathObject::DoRandom(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetDouble(rt::Random());
    return;
  }
  int32_t n = AsInteger(&(*args)[0]);
  result.SetInteger(n > 0 ? rt::Random(n) : 0);
}

}  // namespace stdlib
