// The global functions for escaping, evaluating code, testing and converting numbers, and testing
// values.
#include "net/url_escape.h"
#include "script/core/engine.h"
#include "script/core/symbols.h"
#include "script/stdlib/global_natives.h"

namespace stdlib {

using namespace engine;

namespace {

// The first argument as text through one of the escaping routines.
void Escaped(std::string (*routine)(const std::string&), TJValueList* args, TJValue& result) {
  result.SetString(routine(AsString(IsParam1(args) ? &(*args)[0] : nullptr)));
}

}  // namespace

// escape(text): URL-encoded, blanks as "+"; undefined without an argument.
void DoEscape(TJGlobalObject&, TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  Escaped(net::Escape, args, result);
}

void DoUnescape(TJGlobalObject&, TJValueList* args, TJValue& result) { Escaped(net::Unescape, args, result); }
void DoDecodeURI(TJGlobalObject&, TJValueList* args, TJValue& result) { Escaped(net::DecodeURI, args, result); }
void DoDecodeURIComponent(TJGlobalObject&, TJValueList* args, TJValue& result) {
  Escaped(net::DecodeURIComponent, args, result);
}
void DoEncodeURI(TJGlobalObject&, TJValueList* args, TJValue& result) { Escaped(net::EncodeURI, args, result); }
void DoEncodeURIComponent(TJGlobalObject&, TJValueList* args, TJValue& result) {
  Escaped(net::EncodeURIComponent, args, result);
}

// eval(code): runs the text as the body of a function in the caller's scope; its result.
void DoEval(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  result.Clear();
  TJEngine* engine = dynamic_cast<TJEngine*>(self.Engine());
  if (!IsParam1(args) || !engine) return;
  // A text value is read in place (the argument list holds it for the call); others convert.
  const TJValue& arg = (*args)[0];
  std::string converted;
  std::string_view code;
  if (arg.ValueType() == vtString) {
    code = arg.vString();
  } else {
    converted = AsString(&arg);
    code = converted;
  }
  TJLocalSymbolTable* scope = engine->CurrentScope();
  engine->EvalCode(code, scope ? scope->GetWithObject() : nullptr, result);
}

// isFinite(value): a number, a Boolean or a numeric text, and neither infinite nor NaN.
void DoIsFinite(TJGlobalObject&, TJValueList* args, TJValue& result) {
  result.SetBool(IsParam1(args) && IsNumeric(&(*args)[0]));
}

// isNaN(value): the value is NaN itself (a text is not); undefined without an argument.
void DoIsNaN(TJGlobalObject&, TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  result.SetBool(IsNaN(&(*args)[0]));
}

// parseFloat(value): the number of a numeric value, else NaN.
void DoParseFloat(TJGlobalObject&, TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
  } else if (IsNumeric(&(*args)[0])) {
    result.SetDouble(AsDouble(&(*args)[0]));
  } else {
    result.SetNaN();
  }
}

namespace {

// A text of one to nine decimal digits (no leading zero), perhaps after "-": its value, read at once
// (the general path reads such a text twice, once to see it is a number and once to convert it).
bool PlainDecimal(const TJValue& v, int32_t& out) {
  if (v.ValueType() != vtString) return false;
  std::string_view t = v.vString();
  const bool negative = !t.empty() && t[0] == '-';
  if (negative) t.remove_prefix(1);
  if (t.empty() || t.size() > 9 || (t[0] == '0' && t.size() > 1)) return false;
  int32_t n = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  out = negative ? -n : n;
  return true;
}

}  // namespace

// parseInt(value): the integer of a numeric value (a double rounded, a text read as an integer
// text or 0), else NaN.
void DoParseInt(TJGlobalObject&, TJValueList* args, TJValue& result) {
  int32_t plain;
  if (IsParam1(args) && PlainDecimal((*args)[0], plain)) {
    result.SetInteger(plain);
  } else if (!IsParam1(args)) {
    result.Clear();
  } else if (IsNumeric(&(*args)[0])) {
    result.SetInteger(AsInteger(&(*args)[0]));
  } else {
    result.SetNaN();
  }
}

void DoIsNull(TJGlobalObject&, TJValueList* args, TJValue& result) { result.SetBool(IsParam1(args) && IsNull(&(*args)[0])); }

void DoIsUndefined(TJGlobalObject&, TJValueList* args, TJValue& result) {
  result.SetBool(IsParam1(args) && IsUndefined(&(*args)[0]));
}

// nameOf(value): the class name of an object; null for anything else.
void DoNameOf(TJGlobalObject&, TJValueList* args, TJValue& result) {
  TJObject* object = IsParam1(args) ? (*args)[0].vObject() : nullptr;
  if (object)
    result.SetString(object->Name());
  else
    result.SetNull();
}

}  // namespace stdlib
