#include "script/core/value.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "platform/rt/numtext.h"
#include "platform/rt/utf8.h"
#include "script/core/base_engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"

namespace engine {

namespace {
const char* const kTypeNames[] = {"vtUndefined", "vtNull", "vtInteger",  "vtDouble", "vtString",
                                  "vtObject",    "vtBool", "vtFunction", "vtInfinity", "vtNaN",
                                  "vtDispatch",  "vtRegExp", "vtEvent"};
}

const char* ValueTypeName(TJValueType type) { return type <= vtEvent ? kTypeNames[type] : ""; }

TJStringRep* TJStringRep::Make(std::string_view text) { return MakeRoomy(text, {}, 0); }

TJStringRep* TJStringRep::Make2(std::string_view a, std::string_view b) { return MakeRoomy(a, b, 0); }

TJStringRep* TJStringRep::MakeRoomy(std::string_view a, std::string_view b, size_t spare) {
  size_t n = a.size() + b.size();
  if (n > kMaxSize) throw std::bad_alloc();
  size_t capacity = std::min(n + spare, kMaxSize);
  auto* rep = static_cast<TJStringRep*>(std::malloc(offsetof(TJStringRep, data) + capacity + 1));
  if (!rep) throw std::bad_alloc();
  rep->refs = 1;
  rep->size = uint32_t(n);
  rep->capacity = uint32_t(capacity);
  rep->chars = kUnknown;
  rep->marks = nullptr;
  if (!a.empty()) std::memcpy(rep->data, a.data(), a.size());
  if (!b.empty()) std::memcpy(rep->data + a.size(), b.data(), b.size());
  rep->data[n] = '\0';
  return rep;
}

void TJStringRep::Free(TJStringRep* rep) {
  std::free(rep->marks);
  std::free(rep);
}

TJStringRep* TJStringRep::Reserve(TJStringRep* rep, size_t capacity) {
  if (capacity > kMaxSize) throw std::bad_alloc();
  if (!rep) return MakeRoomy({}, {}, capacity);
  if (capacity <= rep->capacity) return rep;
  auto* grown = static_cast<TJStringRep*>(std::realloc(rep, offsetof(TJStringRep, data) + capacity + 1));
  if (!grown) throw std::bad_alloc();  // the rep stays as it was
  grown->capacity = uint32_t(capacity);
  return grown;
}

TJStringRep* TJStringRep::Append(TJStringRep* rep, std::string_view more) {
  size_t n = size_t(rep->size) + more.size();
  if (n > kMaxSize) throw std::bad_alloc();
  if (n > rep->capacity) rep = Reserve(rep, std::min(std::max(n, size_t(rep->capacity) * 2), kMaxSize));
  std::memcpy(rep->data + rep->size, more.data(), more.size());
  rep->data[n] = '\0';
  uint32_t oldSize = rep->size;
  rep->size = uint32_t(n);
  // Single-byte text that gains single-byte characters stays single-byte; anything else is counted
  // again when next asked.
  bool singleByte = rep->chars == oldSize &&
                    std::all_of(more.begin(), more.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  rep->dropIndex();
  if (singleByte) rep->chars = uint32_t(n);
  return rep;
}

void TJStringRep::dropIndex() const {
  std::free(marks);
  marks = nullptr;
  chars = kUnknown;
}

uint32_t TJStringRep::CharCount() const {
  if (chars == kUnknown) {
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    size_t count = 0;
    for (size_t pos = 0; pos < size; ++count) pos += s[pos] < 0x80 ? 1 : rt::utf8::charLength(view(), pos);
    chars = uint32_t(count);
  }
  return chars;
}

// Texts shorter than this are walked from their start; longer ones get an index of positions.
static constexpr size_t kIndexFrom = 256;

void TJStringRep::buildMarks() const {
  size_t count = CharCount();
  auto* table = static_cast<uint32_t*>(std::malloc((count / kMarkStep + 1) * sizeof(uint32_t)));
  if (!table) throw std::bad_alloc();
  const auto* s = reinterpret_cast<const unsigned char*>(data);
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) {
    if (i % kMarkStep == 0) table[i / kMarkStep] = uint32_t(pos);
    pos += s[pos] < 0x80 ? 1 : rt::utf8::charLength(view(), pos);
  }
  if (count % kMarkStep == 0) table[count / kMarkStep] = uint32_t(pos);
  marks = table;
}

size_t TJStringRep::ByteOfChar(size_t index) const {
  size_t count = CharCount();
  if (index >= count) return size;
  if (count == size) return index;
  size_t pos = 0, at = 0;
  if (size >= kIndexFrom) {
    if (!marks) buildMarks();
    at = index - index % kMarkStep;
    pos = marks[index / kMarkStep];
  }
  const auto* s = reinterpret_cast<const unsigned char*>(data);
  for (; at < index; ++at) pos += s[pos] < 0x80 ? 1 : rt::utf8::charLength(view(), pos);
  return pos;
}

size_t TJStringRep::CharOfByte(size_t offset) const {
  size_t count = CharCount();
  if (offset >= size) return count;
  if (count == size) return offset;
  size_t pos = 0, at = 0;
  if (size >= kIndexFrom) {
    if (!marks) buildMarks();
    size_t slots = count / kMarkStep + 1;
    const uint32_t* hit = std::upper_bound(marks, marks + slots, uint32_t(offset)) - 1;
    at = size_t(hit - marks) * kMarkStep;
    pos = *hit;
  }
  const auto* s = reinterpret_cast<const unsigned char*>(data);
  while (pos < offset) {
    pos += s[pos] < 0x80 ? 1 : rt::utf8::charLength(view(), pos);
    ++at;
  }
  return at;
}

bool TJStringRep::IsCharStart(size_t offset) const {
  if (offset >= size) return offset == size;
  if (CharCount() == size) return true;
  return ByteOfChar(CharOfByte(offset)) == offset;
}

void TJValue::SetDispatch(rt::IDispatch* d) {
  if (d) d->AddRef();
  Clear();
  type_ = vtDispatch;
  u_.disp = d;
}

void TJValue::SetEvent(const rt::Method& m) {
  Clear();
  type_ = vtEvent;
  u_.ev = new TJEventRep{1, m};
}

void TJValue::SetRegExp(std::string_view source, std::string_view flags) {
  TJStringRep* rep = source.empty() ? nullptr : TJStringRep::Make(source);
  Clear();
  type_ = vtRegExp;
  u_.str = rep;
  std::memcpy(flags_, flags.data(), std::min<size_t>(flags.size(), 7));
}

bool TJValue::AppendString(const TJValue& more) {
  if (type_ != vtString) return false;
  std::string_view add;
  std::string number;
  switch (more.ValueType()) {
    case vtString: add = more.vString(); break;
    case vtInteger:
    case vtDouble:
      number = AsString(&more);
      add = number;
      break;
    default: return false;
  }
  if (add.empty()) return true;
  if (!u_.str) {
    if (more.ValueType() == vtString) *this = more; else SetString(add);
    return true;
  }
  if (u_.str->refs == 1) {
    u_.str = TJStringRep::Append(u_.str, add);
    return true;
  }
  size_t size = size_t(u_.str->size) + add.size();
  SetStringRep(TJStringRep::MakeRoomy(u_.str->view(), add, size));
  return true;
}

// --- argument lists ---

int32_t ArgCount(const TJValueList* list) { return list ? list->Count() : 0; }
bool IsParam1(const TJValueList* list) { return ArgCount(list) >= 1; }
bool IsParam2(const TJValueList* list) { return ArgCount(list) >= 2; }
bool IsParam3(const TJValueList* list) { return ArgCount(list) >= 3; }
bool IsParam4(const TJValueList* list) { return ArgCount(list) >= 4; }

// --- known classes ---

namespace {
const rt::ClassInfo* gKnown[9] = {};
}

void RegisterKnownClass(TJKnownClass kind, const rt::ClassInfo& info) { gKnown[int(kind)] = &info; }

bool IsKnownClass(const TJObject* object, TJKnownClass kind) {
  const rt::ClassInfo* info = gKnown[int(kind)];
  return object && info && object->InheritsFrom(*info);
}

bool IsExactKnownClass(const TJObject* object, TJKnownClass kind) {
  const rt::ClassInfo* info = gKnown[int(kind)];
  return object && info && &object->ClassType() == info;
}

// --- kind tests ---

namespace {
bool objectOf(const TJValue* v, TJKnownClass kind) { return v && IsKnownClass(v->vObject(), kind); }
}  // namespace

bool IsNumber(const TJValue* v) {
  if (!v) return false;
  TJValueType t = v->ValueType();
  return t == vtInteger || t == vtDouble || objectOf(v, TJKnownClass::Number);
}

bool IsString(const TJValue* v) {
  if (!v) return false;
  return v->ValueType() == vtString || objectOf(v, TJKnownClass::String) || objectOf(v, TJKnownClass::StringBuffer);
}

bool IsNumberObject(const TJValue* v) { return objectOf(v, TJKnownClass::Number); }
bool IsStringObject(const TJValue* v) { return objectOf(v, TJKnownClass::String); }
bool IsRegExpObject(const TJValue* v) { return objectOf(v, TJKnownClass::RegExp); }
bool IsVCLObject(const TJValue* v) { return objectOf(v, TJKnownClass::VCL); }
bool IsIndexedObject(const TJValue* v) { return v && v->vObject() && v->vObject()->IsIndexed(); }

namespace {
bool functionOfType(const TJValue* v, TJFuncType type) {
  return v && v->vFunction() && v->vFunction()->GetFuncType() == type;
}
}  // namespace

bool IsScriptFunction(const TJValue* v) { return functionOfType(v, ftScript); }
bool IsClassFunction(const TJValue* v) { return functionOfType(v, ftClass); }
bool IsModuleFunction(const TJValue* v) { return functionOfType(v, ftModule); }

bool IsNumeric(const TJValue* v) {
  if (!v) return false;
  switch (v->ValueType()) {
    case vtInteger: case vtDouble: case vtBool: return true;
    case vtString: {
      double d;
      return TextToDouble(v->vString(), d);
    }
    default: break;
  }
  if (IsNumberObject(v)) return true;
  if (IsString(v)) {
    double d;
    return TextToDouble(AsString(v), d);
  }
  return false;
}

bool SameType(const TJValue* a, const TJValue* b) { return a && b && a->ValueType() == b->ValueType(); }

bool SameFunction(const TJValue* a, const TJValue* b) {
  return a && b && a->ValueType() == vtFunction && b->ValueType() == vtFunction && a->vFunction() == b->vFunction();
}

// --- number conversions ---

int32_t DoubleToInteger(double d) {
  if (!std::isfinite(d)) return 0;
  double r = std::nearbyint(d);
  if (r >= -2147483648.0 && r <= 2147483647.0) return int32_t(r);
  double m = std::fmod(r, 4294967296.0);  // exact; keeps the sign of r
  if (m < 0) m += 4294967296.0;
  return int32_t(uint32_t(m));
}

namespace {
int32_t truncToInteger(double d) {
  if (!std::isfinite(d)) return 0;
  double t = std::trunc(d);
  if (t >= -2147483648.0 && t <= 2147483647.0) return int32_t(t);
  double m = std::fmod(t, 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return int32_t(uint32_t(m));
}
}  // namespace

bool TextToInteger(std::string_view text, int32_t& value) { return rt::TryStrToInt(text, value); }

namespace {

// Whether a text can be a number at all: both readings start, after blanks, with a digit, a sign,
// a decimal point or "$" (hexadecimal). Most texts fail here, without being parsed.
[[gnu::always_inline]] inline bool MayBeNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i == text.size()) return false;
  char c = text[i];
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == '$';
}

}  // namespace

bool TextToDouble(std::string_view text, double& value) {
  if (!MayBeNumber(text)) return false;
  if (rt::TryStrToFloat(text, value)) return true;
  int32_t i;
  if (rt::TryStrToInt(text, i)) {
    value = i;
    return true;
  }
  return false;
}

std::string DoubleToText(double d) { return rt::FloatToStr(d); }

// --- conversions ---

int32_t AsInteger(const TJValue* v) {
  if (!v) return 0;
  switch (v->ValueType()) {
    case vtInteger: return v->vInteger();
    case vtDouble: return DoubleToInteger(v->vDouble());
    case vtString: {
      int32_t i;
      return TextToInteger(v->vString(), i) ? i : 0;
    }
    case vtObject: return DoubleToInteger(v->vObject()->ToNumber());
    case vtBool: return v->vBool() ? 1 : 0;
    default: return 0;
  }
}

int32_t AsChar(const TJValue* v) {
  if (!v) return 0;
  switch (v->ValueType()) {
    case vtInteger: return v->vInteger();
    case vtDouble: return truncToInteger(v->vDouble());
    case vtString: return v->vString().empty() ? 0 : static_cast<unsigned char>(v->vString()[0]);
    case vtObject: return v->vObject()->ToChar();
    case vtBool: return v->vBool() ? 1 : 0;
    default: return 0;
  }
}

double AsDouble(const TJValue* v) {
  if (!v) return 0;
  switch (v->ValueType()) {
    case vtInteger: return v->vInteger();
    case vtDouble: return v->vDouble();
    case vtString: {
      double d;
      return TextToDouble(v->vString(), d) ? d : 0;
    }
    case vtObject: return v->vObject()->ToNumber();
    case vtBool: return v->vBool() ? 1 : 0;
    default: return 0;
  }
}

float AsSingle(const TJValue* v) { return float(AsDouble(v)); }

std::string AsString(const TJValue* v) {
  if (!v) return {};
  switch (v->ValueType()) {
    case vtUndefined: return "undefined";
    case vtNull: return "null";
    case vtInteger: return rt::IntToStr(v->vInteger());
    case vtDouble: return DoubleToText(v->vDouble());
    case vtString: return std::string(v->vString());
    case vtObject: return v->vObject()->ToString(nullptr);
    case vtBool: return v->vBool() ? "true" : "false";
    case vtFunction: return "function " + (v->vFunction() ? v->vFunction()->GetName() : std::string());
    case vtInfinity: return v->vNegative() ? "-infinity" : "infinity";
    case vtNaN: return "NaN";
    case vtDispatch: return "dispatch" + std::to_string(reinterpret_cast<uintptr_t>(v->vDispatch()));
    case vtRegExp: return "/" + std::string(v->vString()) + "/" + std::string(v->vRegExpFlags());
    case vtEvent: return {};
  }
  return {};
}

bool AsBool(const TJValue* v) {
  if (!v) return false;
  switch (v->ValueType()) {
    case vtInteger: return v->vInteger() != 0;
    case vtDouble: return std::trunc(v->vDouble()) != 0;
    case vtString: case vtRegExp: return !v->vString().empty();
    case vtObject: return v->vObject()->ToBoolean();
    case vtBool: return v->vBool();
    case vtFunction: case vtInfinity: case vtNaN: return true;
    case vtDispatch: return v->vDispatch() != nullptr;
    default: return false;
  }
}

rt::IDispatch* AsDispatch(const TJValue* v) { return v ? v->vDispatch() : nullptr; }

std::string TypeOf(const TJValue* v) {
  if (!v) return {};
  TJValueType t = v->ValueType();
  if (t == vtInteger || t == vtDouble || t == vtNaN || t == vtInfinity) return "number";
  if (IsObject(v)) return "object";
  if (IsString(v)) return "string";
  switch (t) {
    case vtRegExp: return "regexp";
    case vtBool: return "boolean";
    case vtFunction: return "function";
    case vtUndefined: return "undefined";
    case vtNull: return "null";
    case vtDispatch: return "dispatch";
    case vtEvent: return "event";
    default: return {};
  }
}

// --- operators ---

namespace {

[[noreturn]] void throwUndefined() { ThrowError(jeUndefined); }

bool isBadOperand(TJValueType t) { return t == vtFunction || t == vtInfinity || t == vtNaN; }

void setInfinityOrNaN(double left, double right, TJValue& result) {
  if (left != 0 || right != 0)
    result.SetInfinity((left < 0) != (right < 0));
  else
    result.SetNaN();
}

void concat(const TJValue& left, const TJValue& right, TJValue& result) {
  std::string_view a, b;
  std::string sa, sb;
  if (left.ValueType() == vtString) a = left.vString(); else { sa = AsString(&left); a = sa; }
  if (right.ValueType() == vtString) b = right.vString(); else { sb = AsString(&right); b = sb; }
  if (a.empty() && right.ValueType() == vtString) { result = right; return; }
  if (b.empty() && left.ValueType() == vtString) { result = left; return; }
  if (a.empty() && b.empty()) { result.SetString({}); return; }
  result.SetStringRep(TJStringRep::Make2(a, b));
}

int compareBytes(std::string_view a, std::string_view b) { return a.compare(b); }

bool numericEqual(const TJValue& a, const TJValue& b) {
  TJValueType ta = a.ValueType(), tb = b.ValueType();
  if (ta == vtInteger && tb == vtInteger) return a.vInteger() == b.vInteger();
  return AsDouble(&a) == AsDouble(&b);
}

bool isNumberTag(TJValueType t) { return t == vtInteger || t == vtDouble; }

}  // namespace

void CalcUnary(int code, const TJValue& value, TJValue& result) {
  TJValueType t = value.ValueType();
  if (t == vtUndefined) { result.Clear(); throwUndefined(); }
  if (t == vtFunction || t == vtNaN) { result.Clear(); ThrowError(jeOperandType, {ValueTypeName(t)}); }
  switch (code) {
    case opPlus:
      if (t == vtDouble || t == vtInfinity) { TJValue copy(value); result = std::move(copy); }
      else result.SetInteger(AsInteger(&value));
      return;
    case opMinus:
      if (t == vtDouble) result.SetDouble(-value.vDouble());
      else if (t == vtInfinity) result.SetInfinity(!value.vNegative());
      else result.SetInteger(int32_t(0u - uint32_t(AsInteger(&value))));
      return;
    case opBitNot:
      if (t == vtInfinity) { result.Clear(); ThrowError(jeOperandType, {"vtInfinity"}); }
      result.SetInteger(~AsInteger(&value));
      return;
    default:
      result.Clear();
      return;
  }
}

void CalcBinary(int code, const TJValue& left, const TJValue& right, TJValue& result) {
  TJValueType lt = left.ValueType(), rtag = right.ValueType();
  if (lt == vtUndefined || rtag == vtUndefined) { result.Clear(); throwUndefined(); }
  if (isBadOperand(lt) || isBadOperand(rtag)) {
    result.Clear();
    ThrowError(jeOperandTypes, {ValueTypeName(lt), ValueTypeName(rtag)});
  }
  switch (code) {
    case opAdd: {
      if (IsString(&left) || IsString(&right)) {
        TJValue out;
        concat(left, right, out);
        result = std::move(out);
        return;
      }
      double l = AsDouble(&left), r = AsDouble(&right), s = l + r;
      if (std::isinf(s)) result.SetInfinity(l < 0); else result.SetDouble(s);
      return;
    }
    case opSub: {
      double l = AsDouble(&left), r = AsDouble(&right), s = l - r;
      if (std::isinf(s)) result.SetInfinity(l < 0); else result.SetDouble(s);
      return;
    }
    case opMul: {
      double l = AsDouble(&left), r = AsDouble(&right), s = l * r;
      if (std::isinf(s)) result.SetInfinity((l < 0) != (r < 0)); else result.SetDouble(s);
      return;
    }
    case opDiv: {
      double l = AsDouble(&left), r = AsDouble(&right);
      if (r == 0) { result.Clear(); setInfinityOrNaN(l, r, result); return; }
      double q = l / r;
      if (std::isinf(q)) result.SetInfinity((l < 0) != (r < 0)); else result.SetDouble(q);
      return;
    }
    case opMod: {
      int32_t l = AsInteger(&left), r = AsInteger(&right);
      if (r == 0) result.SetNaN();
      else if (r == -1) result.SetInteger(0);  // INT_MIN % -1 would trap
      else result.SetInteger(l % r);
      return;
    }
    case opIntDiv: {
      int32_t l = AsInteger(&left), r = AsInteger(&right);
      if (r == 0) { result.Clear(); setInfinityOrNaN(l, r, result); }
      else if (r == -1) result.SetInteger(int32_t(0u - uint32_t(l)));  // wraps for INT_MIN
      else result.SetInteger(l / r);
      return;
    }
    case opShl: result.SetInteger(int32_t(uint32_t(AsInteger(&left)) << (AsInteger(&right) & 31))); return;
    case opShr: result.SetInteger(AsInteger(&left) >> (AsInteger(&right) & 31)); return;
    case opUShr: result.SetInteger(int32_t(uint32_t(AsInteger(&left)) >> (AsInteger(&right) & 31))); return;
    case opBitAnd: result.SetInteger(AsInteger(&left) & AsInteger(&right)); return;
    case opBitXor: result.SetInteger(AsInteger(&left) ^ AsInteger(&right)); return;
    case opBitOr: result.SetInteger(AsInteger(&left) | AsInteger(&right)); return;
    default: result.Clear(); return;
  }
}

void CalcAssign(int code, const TJValue& left, const TJValue& right, TJValue& result) {
  int op = 0;
  switch (code) {
    case opMulAssign: op = opMul; break;
    case opDivAssign: op = opDiv; break;
    case opAddAssign: op = opAdd; break;
    case opSubAssign: op = opSub; break;
    case opModAssign: op = opMod; break;
    case opShlAssign: op = opShl; break;
    case opShrAssign: op = opShr; break;
    case opUShrAssign: op = opUShr; break;
    case opAndAssign: op = opBitAnd; break;
    case opXorAssign: op = opBitXor; break;
    case opOrAssign: op = opBitOr; break;
    default: result.Clear(); return;
  }
  CalcBinary(op, left, right, result);
}

namespace {

bool lessFamily(int code, const TJValue& left, const TJValue& right) {
  TJValueType lt = left.ValueType(), rtag = right.ValueType();
  auto cmp = [code](auto a, auto b) {
    switch (code) {
      case opLT: return a < b;
      case opGT: return a > b;
      case opLE: return a <= b;
      default: return a >= b;
    }
  };
  if (lt == vtInteger && rtag == vtInteger) return cmp(left.vInteger(), right.vInteger());
  if (lt == vtDouble && rtag == vtDouble) return cmp(left.vDouble(), right.vDouble());
  // Two texts compare as numbers only when both are numbers: most are not, and compare where
  // they lie.
  if (bool answer; lt == vtString && rtag == vtString && CompareTexts(code, left.vString(), right.vString(), answer))
    return answer;
  bool lInf = lt == vtInfinity, rInf = rtag == vtInfinity;
  if ((IsNumeric(&left) || lInf) && (IsNumeric(&right) || rInf)) {
    if (lInf && !rInf) {
      bool neg = left.vNegative();
      return (code == opLT || code == opLE) ? neg : !neg;
    }
    if (rInf && !lInf) {
      bool neg = right.vNegative();
      return (code == opLT || code == opLE) ? !neg : neg;
    }
    if (lInf && rInf) {
      bool ln = left.vNegative(), rn = right.vNegative();
      switch (code) {
        case opLT: return ln && !rn;
        case opGT: return !ln && rn;
        case opLE: return ln;
        default: return rn;
      }
    }
    return cmp(AsDouble(&left), AsDouble(&right));
  }
  if (lt != vtNaN && rtag != vtNaN) {
    // Texts compare where they lie; only other values are converted.
    std::string ownA, ownB;
    std::string_view a = lt == vtString ? left.vString() : std::string_view(ownA = AsString(&left));
    std::string_view b = rtag == vtString ? right.vString() : std::string_view(ownB = AsString(&right));
    return cmp(compareBytes(a, b), 0);
  }
  return false;
}

}  // namespace

bool CompareTexts(int code, std::string_view left, std::string_view right, bool& answer) {
  switch (code) {
    case opEQ: case opSEQ: answer = left == right; return true;
    case opNE: case opSNE: answer = left != right; return true;
    default: break;
  }
  // Two texts compare as numbers only when both are numbers: most are not, and compare where
  // they lie.
  if (MayBeNumber(left) && MayBeNumber(right)) return false;
  int order = compareBytes(left, right);
  switch (code) {
    case opLT: answer = order < 0; return true;
    case opGT: answer = order > 0; return true;
    case opLE: answer = order <= 0; return true;
    case opGE: answer = order >= 0; return true;
    default: return false;
  }
}

namespace {

bool looseEquals(const TJValue& left, const TJValue& right) {
  TJValueType lt = left.ValueType(), rtag = right.ValueType();
  if (lt == rtag) return SameTypeEquals(left, right);
  if (IsString(&left) && IsString(&right)) return AsString(&left) == AsString(&right);
  if (IsNumeric(&left) && IsNumeric(&right)) return numericEqual(left, right);
  if ((lt == vtNull && rtag == vtUndefined) || (lt == vtUndefined && rtag == vtNull)) return true;
  if (lt == vtNaN || rtag == vtNaN) return false;
  return AsString(&left) == AsString(&right);
}

bool strictEquals(const TJValue& left, const TJValue& right) {
  TJValueType lt = left.ValueType(), rtag = right.ValueType();
  if (lt == rtag) return SameTypeEquals(left, right);
  // Numbers compare by value whatever their representation.
  return isNumberTag(lt) && isNumberTag(rtag) && numericEqual(left, right);
}

}  // namespace

void CalcLogical(int code, const TJValue& left, const TJValue& right, TJValue& result) {
  bool r = false;
  switch (code) {
    case opNot: r = !AsBool(&left); break;
    case opLogOr: case opLogOr2: r = AsBool(&left) || AsBool(&right); break;
    case opLogAnd: case opLogAnd2: r = AsBool(&left) && AsBool(&right); break;
    case opLT: case opGT: case opLE: case opGE: r = lessFamily(code, left, right); break;
    case opEQ: r = looseEquals(left, right); break;
    case opNE: r = !looseEquals(left, right); break;
    case opSEQ: r = strictEquals(left, right); break;
    case opSNE: r = !strictEquals(left, right); break;
    default: break;
  }
  result.SetBool(r);
}

bool SameTypeEquals(const TJValue& a, const TJValue& b) {
  TJValueType t = a.ValueType();
  if (t != b.ValueType()) return false;
  switch (t) {
    case vtUndefined: case vtNull: return true;
    case vtInteger: return a.vInteger() == b.vInteger();
    case vtDouble: return a.vDouble() == b.vDouble();
    case vtString: return a.vString() == b.vString();
    case vtObject: return a.vObject() == b.vObject();
    case vtBool: return a.vBool() == b.vBool();
    case vtFunction: return a.vFunction() == b.vFunction();
    case vtInfinity: return a.vNegative() == b.vNegative();
    case vtDispatch: return a.vDispatch() == b.vDispatch();
    default: return false;  // NaN, regular expressions and events are never equal
  }
}

// --- automation ---

void VariantToValue(const rt::Variant& variant, TJBaseEngine* engine, TJValue& value) {
  value.Clear();
  switch (variant.vt) {
    case rt::VT_NULL: value.SetNull(); break;
    case rt::VT_I2: case rt::VT_I4: case rt::VT_UI1: value.SetInteger(variant.intVal); break;
    case rt::VT_R4: case rt::VT_R8: value.SetDouble(variant.dblVal); break;
    case rt::VT_DATE:
      if (engine) value.SetObject(engine->MakeDateObject(variant.dblVal));
      if (value.ValueType() == vtNull) value.Clear();
      break;
    case rt::VT_BSTR: case rt::VT_VARIANT: case rt::VT_STRING: value.SetString(variant.text); break;
    case rt::VT_DISPATCH: {
      TJObject* wrapped = engine ? engine->MakeActiveXObject(variant.disp.get()) : nullptr;
      if (wrapped) value.SetObject(wrapped); else value.SetDispatch(variant.disp.get());
      break;
    }
    case rt::VT_BOOL: value.SetBool(variant.boolVal); break;
    default: break;
  }
}

void ValueToVariant(const TJValue& value, rt::Variant& variant) {
  variant = rt::Variant();
  switch (value.ValueType()) {
    case vtNull: variant.vt = rt::VT_NULL; break;
    case vtInteger: variant = rt::Variant::Int(value.vInteger()); break;
    case vtDouble: variant = rt::Variant::Double(value.vDouble()); break;
    case vtString: variant = rt::Variant::Str(std::string(value.vString())); break;
    case vtBool: variant = rt::Variant::Bool(value.vBool()); break;
    case vtDispatch: variant.vt = rt::VT_DISPATCH; variant.disp = value.vDispatch(); break;
    case vtObject: {
      TJObject* o = value.vObject();
      if (IsKnownClass(o, TJKnownClass::ActiveX)) {
        // An automation object's ValueOf answers its dispatch.
        TJValue d;
        o->ValueOf(d);
        if (d.ValueType() == vtDispatch) { variant.vt = rt::VT_DISPATCH; variant.disp = d.vDispatch(); }
      } else if (IsKnownClass(o, TJKnownClass::String) || IsKnownClass(o, TJKnownClass::StringBuffer)) {
        variant = rt::Variant::Str(o->ToString(nullptr));
      } else if (IsKnownClass(o, TJKnownClass::Date)) {
        // Milliseconds since 1970 to days since 1899-12-30.
        variant.vt = rt::VT_DATE;
        variant.dblVal = o->ToNumber() / 86400000.0 + 25569.0;
      } else if (IsKnownClass(o, TJKnownClass::Number)) {
        TJValue n;
        o->ValueOf(n);
        if (n.ValueType() == vtInteger) variant = rt::Variant::Int(n.vInteger());
        else variant = rt::Variant::Double(AsDouble(&n));
      } else if (IsKnownClass(o, TJKnownClass::Boolean)) {
        variant = rt::Variant::Bool(o->ToBoolean());
      }
      break;
    }
    default: break;
  }
}

const char* DispatchKindName(int kind) {
  switch (kind) {
    case 1: return "DISPATCH_PROPERTYGET";
    case 2: return "DISPATCH_PROPERTYPUT";
    default: return "DISPATCH_METHOD";
  }
}

int DispatchInvokeFlags(int kind) { return kind == 2 ? 4 : 3; }

}  // namespace engine
