// The script value: one record for every variable, argument, result, member and constant.
//
// A TJValue is 16 bytes: the TJValueType tag, seven bytes that hold the flags of a regular
// expression literal, and an 8-byte payload. Copying is cheap: text is an immutable shared buffer,
// objects, functions and dispatch interfaces are counted references. A value that holds an object
// the engine has disposed reads as undefined.
//
// Numbers: vtInteger (32-bit) and vtDouble; infinities and NaN are tags of their own, so a
// vtDouble is always finite (SetDouble turns an infinity or NaN into its tag).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/rt/method.h"
#include "platform/rt/variant.h"
#include "script/core/function.h"
#include "script/core/object.h"

namespace engine {

enum TJValueType : uint8_t {
  vtUndefined = 0, vtNull, vtInteger, vtDouble, vtString, vtObject, vtBool, vtFunction,
  vtInfinity, vtNaN, vtDispatch, vtRegExp, vtEvent,
};
// "vtUndefined" ... "vtEvent": error messages quote these names.
const char* ValueTypeName(TJValueType type);
constexpr TJValueTypes TypeBit(TJValueType t) { return TJValueTypes(1u << t); }

// Immutable shared text. Never empty: the empty text is a null pointer. Make returns a rep that
// holds one reference for its first owner. Only the single owner of a rep may append to it
// (Append), so a text that is shared never changes. The character count and an index of
// character positions are worked out when first asked for and kept with the text.
struct TJStringRep {
  int32_t refs;
  uint32_t size;
  uint32_t capacity;              // bytes the data can hold (a NUL follows them)
  mutable uint32_t chars;         // characters; kUnknown until counted
  mutable uint32_t* marks;        // byte offset of every kMarkStep-th character, once built
  char data[1];

  static constexpr uint32_t kUnknown = 0xFFFFFFFFu;
  static constexpr size_t kMarkStep = 16;
  // The longest text a rep holds.
  static constexpr size_t kMaxSize = 0x7FFFFFF0u;

  static TJStringRep* Make(std::string_view text);
  static TJStringRep* Make2(std::string_view a, std::string_view b);
  // a + b with room for `spare` more bytes.
  static TJStringRep* MakeRoomy(std::string_view a, std::string_view b, size_t spare);
  static void Free(TJStringRep* rep);
  // Appends to a rep with a single owner (refs == 1), growing it geometrically; answers the rep,
  // which may have moved.
  static TJStringRep* Append(TJStringRep* rep, std::string_view more);
  // Room for `capacity` bytes in a rep with a single owner, or in a new one holding nothing when
  // `rep` is null; answers the rep, which may have moved. Lets a writer fill `data` past `size` in
  // place and then set `size` and the NUL after it (the character count stays unknown).
  static TJStringRep* Reserve(TJStringRep* rep, size_t capacity);
  std::string_view view() const { return {data, size}; }

  uint32_t CharCount() const;
  bool IsSingleByte() const { return CharCount() == size; }
  // Byte offset of the 0-based character `index`; the size when the text has fewer characters.
  size_t ByteOfChar(size_t index) const;
  // Character index of a byte offset that starts a character (or is the size).
  size_t CharOfByte(size_t offset) const;
  // Whether a byte offset starts a character (the size counts as one).
  bool IsCharStart(size_t offset) const;

 private:
  void buildMarks() const;
  void dropIndex() const;
};

// A bound event handler (code, data) as event properties hold it.
struct TJEventRep {
  int32_t refs;
  rt::Method method;
};

class TJValue {
 public:
  // One store of the whole record: a copy made soon after reads it back in one piece.
  TJValue() { zeroBits(); }
  // Copies and moves take the record whole (two words): the tag, the flags and the payload.
  TJValue(const TJValue& o) {
    copyBits(o);
    retain();
  }
  TJValue(TJValue&& o) noexcept {
    copyBits(o);
    o.zeroBits();
  }
  // The old value is released after the new one is in place: its release may free what held `o`.
  TJValue& operator=(const TJValue& o) {
    if (!IsCounted(type_) && !IsCounted(o.type_)) {  // numbers and the like: nothing to count
      copyBits(o);
      return *this;
    }
    if (this != &o) {
      TJValue old(std::move(*this));
      copyBits(o);
      retain();
    }
    return *this;
  }
  TJValue& operator=(TJValue&& o) noexcept {
    if (this != &o) {
      TJValue old(std::move(*this));
      copyBits(o);
      o.zeroBits();
    }
    return *this;
  }
  ~TJValue() { release(); }
  void swap(TJValue& o) noexcept {
    unsigned char t[sizeof(TJValue)];
    std::memcpy(t, static_cast<const void*>(this), sizeof t);
    copyBits(o);
    std::memcpy(static_cast<void*>(&o), t, sizeof t);
  }

  // Convenience makers.
  static TJValue Integer(int32_t i) { TJValue v; v.SetInteger(i); return v; }
  static TJValue Double(double d) { TJValue v; v.SetDouble(d); return v; }
  static TJValue String(std::string_view s) { TJValue v; v.SetString(s); return v; }
  static TJValue Bool(bool b) { TJValue v; v.SetBool(b); return v; }
  static TJValue Null() { TJValue v; v.SetNull(); return v; }
  static TJValue Object(TJObject* o) { TJValue v; v.SetObject(o); return v; }

  // The tag; a disposed object reads as vtUndefined.
  TJValueType ValueType() const {
    if (type_ == vtObject && u_.obj->IsDisposed()) return vtUndefined;
    return type_;
  }

  // Builders: each clears first, then sets tag and field.
  void Clear() {
    release();
    zeroBits();
  }
  void SetNull() { Clear(); type_ = vtNull; }
  void SetInteger(int32_t i) { Clear(); type_ = vtInteger; u_.i = i; }
  // An infinity or NaN becomes vtInfinity or vtNaN.
  void SetDouble(double d) {
    Clear();
    if (std::isnan(d)) {
      type_ = vtNaN;
    } else if (std::isinf(d)) {
      type_ = vtInfinity;
      u_.b = d < 0;
    } else {
      type_ = vtDouble;
      u_.d = d;
    }
  }
  void SetString(std::string_view s) { Clear(); type_ = vtString; u_.str = s.empty() ? nullptr : TJStringRep::Make(s); }
  // Takes over a rep made by TJStringRep::Make (which holds one reference).
  void SetStringRep(TJStringRep* rep) { Clear(); type_ = vtString; u_.str = rep; }
  // A null object gives vtNull.
  void SetObject(TJObject* o) {
    if (o) o->IncRef();
    Clear();
    if (o) { type_ = vtObject; u_.obj = o; } else { type_ = vtNull; }
  }
  void SetBool(bool b) { Clear(); type_ = vtBool; u_.b = b; }
  void SetInfinity(bool negative) { Clear(); type_ = vtInfinity; u_.b = negative; }
  void SetNaN() { Clear(); type_ = vtNaN; }
  void SetDispatch(rt::IDispatch* d);
  void SetEvent(const rt::Method& m);
  void SetFunction(IJFunction* f) {
    if (f) f->AddRef();
    Clear();
    type_ = vtFunction;
    u_.fn = f;
  }
  // Flags: at most 7 characters of g, i and m.
  void SetRegExp(std::string_view source, std::string_view flags);
  // A string becomes itself followed by the text of `more` (a string or a number), as `+` would
  // make it. The text grows in place while this value alone holds it (room doubling as it grows);
  // a shared text is copied with room to grow and stays as it was for its other holders. False,
  // with nothing done, for any other pair of values.
  bool AppendString(const TJValue& more);

  // Fields (meaningful only for the matching tag).
  int32_t vInteger() const { return u_.i; }
  double vDouble() const { return u_.d; }
  bool vBool() const { return u_.b; }
  bool vNegative() const { return u_.b; }
  TJObject* vObject() const { return type_ == vtObject && !u_.obj->IsDisposed() ? u_.obj : nullptr; }
  IJFunction* vFunction() const { return type_ == vtFunction ? u_.fn : nullptr; }
  rt::IDispatch* vDispatch() const { return type_ == vtDispatch ? u_.disp : nullptr; }
  // Text of a vtString, source of a vtRegExp.
  std::string_view vString() const {
    return (type_ == vtString || type_ == vtRegExp) && u_.str ? u_.str->view() : std::string_view();
  }
  TJStringRep* vStringRep() const { return type_ == vtString || type_ == vtRegExp ? u_.str : nullptr; }
  std::string_view vRegExpFlags() const { return {flags_, strnlen(flags_, 7)}; }
  rt::Method vEvent() const { return type_ == vtEvent && u_.ev ? u_.ev->method : rt::Method{}; }

 private:
  void copyBits(const TJValue& o) { std::memcpy(static_cast<void*>(this), static_cast<const void*>(&o), sizeof(TJValue)); }
  void zeroBits() { std::memset(static_cast<void*>(this), 0, sizeof(TJValue)); }
  // The tags whose payload holds a reference.
  static constexpr uint32_t kCountedTypes = (1u << vtString) | (1u << vtObject) | (1u << vtFunction) |
                                            (1u << vtDispatch) | (1u << vtRegExp) | (1u << vtEvent);
  static bool IsCounted(TJValueType t) { return (kCountedTypes >> t) & 1u; }
  void retain() {
    if (!IsCounted(type_)) return;
    switch (type_) {
      case vtString: case vtRegExp: if (u_.str) ++u_.str->refs; break;
      case vtObject: u_.obj->IncRef(); break;
      case vtFunction: if (u_.fn) u_.fn->AddRef(); break;
      case vtDispatch: if (u_.disp) u_.disp->AddRef(); break;
      case vtEvent: if (u_.ev) ++u_.ev->refs; break;
      default: break;
    }
  }
  void release() {
    if (!IsCounted(type_)) return;
    switch (type_) {
      case vtString: case vtRegExp: if (u_.str && --u_.str->refs == 0) TJStringRep::Free(u_.str); break;
      case vtObject: u_.obj->DecRef(); break;
      case vtFunction: if (u_.fn) u_.fn->Release(); break;
      case vtDispatch: if (u_.disp) u_.disp->Release(); break;
      case vtEvent: if (u_.ev && --u_.ev->refs == 0) delete u_.ev; break;
      default: break;
    }
  }

  TJValueType type_ = vtUndefined;
  char flags_[7] = {};
  union Payload {
    uint64_t bits;
    int32_t i;
    double d;
    bool b;
    TJObject* obj;
    TJStringRep* str;
    IJFunction* fn;
    rt::IDispatch* disp;
    TJEventRep* ev;
  } u_;
};
static_assert(sizeof(TJValue) == 16);

// --- argument lists (a nil list has no arguments) ---
int32_t ArgCount(const TJValueList* list);
bool IsParam1(const TJValueList* list);
bool IsParam2(const TJValueList* list);
bool IsParam3(const TJValueList* list);
bool IsParam4(const TJValueList* list);

// --- builders ---
inline void ClearValue(TJValue& v) { v.Clear(); }
inline void BuildNull(TJValue& v) { v.SetNull(); }
inline void BuildInteger(TJValue& v, int32_t i) { v.SetInteger(i); }
inline void BuildDouble(TJValue& v, double d) { v.SetDouble(d); }
inline void BuildString(TJValue& v, std::string_view s) { v.SetString(s); }
inline void BuildObject(TJValue& v, TJObject* o) { v.SetObject(o); }
inline void BuildBool(TJValue& v, bool b) { v.SetBool(b); }
inline void BuildInfinity(TJValue& v, bool negative) { v.SetInfinity(negative); }
inline void BuildNaN(TJValue& v) { v.SetNaN(); }
inline void BuildDispatch(TJValue& v, rt::IDispatch* d) { v.SetDispatch(d); }
inline void BuildEvent(TJValue& v, const rt::Method& m) { v.SetEvent(m); }
inline void BuildFunction(TJValue& v, IJFunction* f) { v.SetFunction(f); }
inline void BuildRegExp(TJValue& v, std::string_view source, std::string_view flags) { v.SetRegExp(source, flags); }

// --- kind tests (a nil pointer answers false unless said otherwise) ---
inline bool IsUndefined(const TJValue* v) { return v && v->ValueType() == vtUndefined; }
inline bool IsNull(const TJValue* v) { return v && v->ValueType() == vtNull; }
// True for a nil pointer too.
inline bool IsNullOrUndefined(const TJValue* v) { return !v || v->ValueType() <= vtNull; }
inline bool IsInteger(const TJValue* v) { return v && v->ValueType() == vtInteger; }
inline bool IsDouble(const TJValue* v) { return v && v->ValueType() == vtDouble; }
inline bool IsBool(const TJValue* v) { return v && v->ValueType() == vtBool; }
inline bool IsFunction(const TJValue* v) { return v && v->ValueType() == vtFunction; }
inline bool IsInfinity(const TJValue* v) { return v && v->ValueType() == vtInfinity; }
inline bool IsNaN(const TJValue* v) { return v && v->ValueType() == vtNaN; }
inline bool IsDispatch(const TJValue* v) { return v && v->ValueType() == vtDispatch; }
inline bool IsRegExp(const TJValue* v) { return v && v->ValueType() == vtRegExp; }
inline bool IsEvent(const TJValue* v) { return v && v->ValueType() == vtEvent; }
inline bool IsObject(const TJValue* v) { return v && v->ValueType() == vtObject; }
bool IsNumber(const TJValue* v);
bool IsString(const TJValue* v);
bool IsNumberObject(const TJValue* v);
bool IsStringObject(const TJValue* v);
bool IsRegExpObject(const TJValue* v);
bool IsVCLObject(const TJValue* v);
bool IsIndexedObject(const TJValue* v);
bool IsScriptFunction(const TJValue* v);
bool IsClassFunction(const TJValue* v);
bool IsModuleFunction(const TJValue* v);
bool IsNumeric(const TJValue* v);
bool SameType(const TJValue* a, const TJValue* b);
bool SameFunction(const TJValue* a, const TJValue* b);

// Is-a tests that the standard and host objects answer for their classes. The classes live above
// this layer, so they register their class information here when they are first made.
enum class TJKnownClass { Number, String, StringBuffer, RegExp, VCL, Boolean, Date, ActiveX, Array };
void RegisterKnownClass(TJKnownClass kind, const rt::ClassInfo& info);
bool IsKnownClass(const TJObject* object, TJKnownClass kind);
// The class itself, not a descendant.
bool IsExactKnownClass(const TJObject* object, TJKnownClass kind);

// --- conversions (a nil pointer converts to 0, false or empty text) ---
int32_t AsInteger(const TJValue* v);
int32_t AsChar(const TJValue* v);
double AsDouble(const TJValue* v);
float AsSingle(const TJValue* v);
std::string AsString(const TJValue* v);
bool AsBool(const TJValue* v);
// AsBool of a value at hand, with the Boolean that comparisons give answered in place.
inline bool Truth(const TJValue& v) { return v.ValueType() == vtBool ? v.vBool() : AsBool(&v); }
rt::IDispatch* AsDispatch(const TJValue* v);
std::string TypeOf(const TJValue* v);

// The number conversions under the value rules, for use on raw numbers and texts.
// A double rounded half to even into 32 bits (wrapping modulo 2^32 when out of range; non-finite
// gives 0).
int32_t DoubleToInteger(double d);
// Text to integer: decimal, or hexadecimal after "$"; false for anything else.
bool TextToInteger(std::string_view text, int32_t& value);
// Text to double: decimal float text, else the integer rule; false when both fail.
bool TextToDouble(std::string_view text, double& value);
// The general number format (15 significant digits, "." decimal separator).
std::string DoubleToText(double d);

// --- operators (codes of the syntax tree) ---
enum TJOperatorCode : uint8_t {
  opAdd = 2, opSub = 3, opDiv = 4, opMul = 5, opMod = 6, opIntDiv = 7,
  opMulAssign = 9, opDivAssign = 10, opAddAssign = 11, opSubAssign = 12, opModAssign = 13,
  opShlAssign = 14, opShrAssign = 15, opUShrAssign = 16, opAndAssign = 17, opXorAssign = 18, opOrAssign = 19,
  opPlus = 22, opMinus = 23,
  opNot = 40, opLogOr = 41, opLogOr2 = 42, opLogAnd = 43, opLogAnd2 = 44,
  opShl = 45, opShr = 46, opUShr = 47,
  opLT = 48, opGT = 49, opLE = 50, opGE = 51, opEQ = 52, opNE = 53, opSEQ = 54, opSNE = 55,
  opBitAnd = 56, opBitXor = 57, opBitOr = 58, opBitNot = 59,
};
void CalcUnary(int code, const TJValue& value, TJValue& result);
void CalcBinary(int code, const TJValue& left, const TJValue& right, TJValue& result);
void CalcAssign(int code, const TJValue& left, const TJValue& right, TJValue& result);
void CalcLogical(int code, const TJValue& left, const TJValue& right, TJValue& result);
bool SameTypeEquals(const TJValue& a, const TJValue& b);
// The comparison `code` (opLT ... opSNE) of two texts into `answer`, as CalcLogical gives it, where
// no number reading is needed; false (nothing answered) when both texts may be numbers and the
// order is asked for.
bool CompareTexts(int code, std::string_view left, std::string_view right, bool& answer);

// --- automation ---
class TJBaseEngine;
// With an engine, dates and dispatches become objects through the engine's hooks.
void VariantToValue(const rt::Variant& variant, TJBaseEngine* engine, TJValue& value);
void ValueToVariant(const TJValue& value, rt::Variant& variant);
const char* DispatchKindName(int kind);
int DispatchInvokeFlags(int kind);

}  // namespace engine
