#include "script/stdlib/number_object.h"

#include <cmath>
#include <limits>

#include "platform/rt/numtext.h"
#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
#include "script/core/value_list.h"
#include "script/stdlib/number_format.h"

namespace stdlib {

using namespace engine;

const rt::ClassInfo& TJNumberObject::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<TJNumberObject>("TJNumberObject", &TJObject::StaticClassInfo())
                                     .property("number", &TJNumberObject::number, &TJNumberObject::setNumber)
                                     .property("int", &TJNumberObject::asInt, &TJNumberObject::setInt)
                                     .property("asChar", &TJNumberObject::asChar, &TJNumberObject::setAsChar)
                                     .build();
    RegisterKnownClass(TJKnownClass::Number, built);
    return built;
  }();
  return info;
}

TJNumberObject::TJNumberObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Number");
  if (IsParam1(param) && IsNumeric(&(*param)[0]))
    value_ = (*param)[0];
  else
    value_.SetInteger(0);
}

bool TJNumberObject::AdoptValue(const TJValue& value) {
  if (IsNumeric(&value)) value_ = value; else value_.SetInteger(0);
  return true;
}

std::string CharOfCode(int32_t code) {
  if (code >= 0 && code < 0x80) return std::string(1, char(code));
  return rt::utf8::encode(char32_t(uint32_t(code)));
}

int32_t CodeOfFirstChar(std::string_view text) {
  return text.empty() ? 0 : int32_t(rt::utf8::decode(text, 0));
}

double TJNumberObject::number() const { return AsDouble(&value_); }
void TJNumberObject::setNumber(double value) { value_.SetDouble(value); }
int32_t TJNumberObject::asInt() const { return AsInteger(&value_); }
void TJNumberObject::setInt(int32_t value) { value_.SetInteger(value); }
std::string TJNumberObject::asChar() const { return CharOfCode(AsChar(&value_)); }
void TJNumberObject::setAsChar(std::string text) { value_.SetInteger(CodeOfFirstChar(text)); }

void TJNumberObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("toString", &TJObject::DoToString);
  RegistMethod("toExponential", &TJNumberObject::DoToExponential);
  RegistMethod("toFixed", &TJNumberObject::DoToFixed);
  RegistMethod("toPrecision", &TJNumberObject::DoToFixed);
  RegistMethod("toChar", &TJNumberObject::DoToChar);
}

void TJNumberObject::RegistProperties() {
  TJValue v;
  v.SetNaN();
  RegistProperty("NaN", v);
  // The runtime's MaxDouble constant, not the largest double: scripts that print it see "1.7E308".
  RegistProperty("MAX_VALUE", TJValue::Double(1.7E308));
  RegistProperty("MIN_VALUE", TJValue::Double(std::numeric_limits<double>::denorm_min()));
  v.SetInfinity(false);
  RegistProperty("POSITIVE_INFINITY", v);
  v.SetInfinity(true);
  RegistProperty("NEGATIVE_INFINITY", v);
}

std::string TJNumberObject::ToString(const TJValue* radix) {
  switch (radix ? AsInteger(radix) : 0) {
    case 2: return IntToBin(AsInteger(&value_));
    case 8: return IntToOct(AsInteger(&value_));
    case 16: return rt::IntToHex(uint32_t(AsInteger(&value_)), 1);
    default: return AsString(&value_);
  }
}

void TJNumberObject::ValueOf(TJValue& value) { value = value_; }
double TJNumberObject::ToNumber() { return AsDouble(&value_); }
bool TJNumberObject::ToBoolean() { return AsBool(&value_); }
int32_t TJNumberObject::ToChar() { return AsChar(&value_); }

namespace {

// The value as a double for the formats: infinities and NaN as they are.
double formatValue(const TJValue& v) {
  switch (v.ValueType()) {
    case vtInfinity: return v.vNegative() ? -HUGE_VAL : HUGE_VAL;
    case vtNaN: return std::numeric_limits<double>::quiet_NaN();
    default: return AsDouble(&v);
  }
}

}  // namespace

// toExponential([digits]): digits + 1 significant digits; without an argument as many as needed.
void TJNumberObject::DoToExponential(TJValueList* args, TJValue& result) {
  int significant = IsParam1(args) ? std::max(AsInteger(&(*args)[0]), 0) + 1 : 0;
  result.SetString(FormatExponent(formatValue(value_), significant));
}

// toFixed([digits]) and toPrecision([digits]): digits after the point, 0 without an argument.
void TJNumberObject::DoToFixed(TJValueList* args, TJValue& result) {
  int decimals = IsParam1(args) ? AsInteger(&(*args)[0]) : 0;
  result.SetString(FormatFixed(formatValue(value_), decimals));
}

void TJNumberObject::DoToChar(TJValueList*, TJValue& result) { result.SetString(asChar()); }

}  // namespace stdlib
