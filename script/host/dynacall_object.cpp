#include "script/host/dynacall_object.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "platform/com/automation.h"
#include "platform/dll/call_signature.h"
#include "platform/dll/library.h"
#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "script/core/function.h"
#include "script/core/value_list.h"
#include "script/host/activex_object.h"
#include "script/host/file_name.h"
#include "script/host/string_buffer_object.h"
#include "script/stdlib/number_object.h"
#include "script/stdlib/string_object.h"

namespace host {

using namespace engine;

namespace {

constexpr char kLoadError[] = "EDLLLoadError";
constexpr char kCallError[] = "EDynaCallError";
constexpr char kStructError[] = "EStructError";
constexpr char kInvalidParameter[] = "invalid parameter";

std::wstring ToWide(std::string_view text) {
  std::wstring out;
  for (size_t pos = 0; pos < text.size();) {
    size_t length = 1;
    out.push_back(wchar_t(rt::utf8::decode(text, pos, &length)));
    pos += length ? length : 1;
  }
  return out;
}

std::string FromWide(const std::wstring& wide) {
  std::string out;
  for (wchar_t c : wide) rt::utf8::append(out, char32_t(c));
  return out;
}

int64_t Round64(double d) {
  if (!std::isfinite(d)) return 0;
  if (d >= 9.2233720368547758e18) return INT64_MAX;
  if (d <= -9.2233720368547758e18) return INT64_MIN;
  return int64_t(std::nearbyint(d));
}

TJStruct* StructOf(const TJValue* v) { return v ? dynamic_cast<TJStruct*>(v->vObject()) : nullptr; }

TJStringBufferObject* StringBufferOf(const TJValue* v) {
  return v ? dynamic_cast<TJStringBufferObject*>(v->vObject()) : nullptr;
}

// Writable memory of known size an argument brings along: a Struct's block or a StringBuffer's
// bytes (which have a zero byte after them). Null for other values.
struct Buffer {
  char* data = nullptr;
  size_t size = 0;
};
Buffer OwnStorage(const TJValue* v) {
  if (TJStruct* s = StructOf(v)) return {s->Data(), s->Size()};
  if (TJStringBufferObject* b = StringBufferOf(v)) return {b->Data(), b->Size()};
  return {};
}

}  // namespace

uint64_t AsPointer(const TJValue* value) {
  if (!value) return 0;
  if (value->ValueType() == vtInteger) return uint64_t(int64_t(value->vInteger()));
  return uint64_t(Round64(AsDouble(value)));
}

void SetPointer(TJValue& value, uint64_t address) {
  int64_t signedAddress = int64_t(address);
  if (signedAddress >= INT32_MIN && signedAddress <= INT32_MAX) value.SetInteger(int32_t(signedAddress));
  else value.SetDouble(double(signedAddress));
}

// ---------------------------------------------------------------------------------------------
// DynaCall

const rt::ClassInfo& TJDynaCall::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TJDynaCall>("TJDynaCall", &TJObject::StaticClassInfo()).build();
  return info;
}

TJDynaCall::TJDynaCall(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("DynaCall"); }

TJDynaCall::~TJDynaCall() { unloadAll(); }

void TJDynaCall::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("register", &TJDynaCall::DoRegister);
  RegistMethod("sendMessage", &TJDynaCall::DoSendMessage);
  RegistMethod("postMessage", &TJDynaCall::DoPostMessage);
  RegistMethod("copyMemory", &TJDynaCall::DoCopyMemory);
  RegistMethod("moveMemory", &TJDynaCall::DoCopyMemory);
  RegistMethod("fillMemory", &TJDynaCall::DoFillMemory);
}

void TJDynaCall::unloadAll() {
  // Declarations still held elsewhere see their library closed and refuse to call.
  for (auto& entry : libraries_) entry.second->Close();
  libraries_.clear();
}

void TJDynaCall::Clear() {
  TJObject::Clear();
  unloadAll();
}

void TJDynaCall::Dispose() {
  unloadAll();
  TJObject::Dispose();
}

std::shared_ptr<dll::Library> TJDynaCall::findLibrary(std::string_view name) const {
  for (const auto& entry : libraries_)
    if (rt::sameText(entry.first, name)) return entry.second;
  return nullptr;
}

// register(dll, procedure [, sig, sig, sig]): declares the procedure as a member function.
void TJDynaCall::DoRegister(TJValueList* args, TJValue& result) {
  result.SetObject(this);
  std::string library = ArgCount(args) > 0 ? AsString(&(*args)[0]) : std::string();
  std::string proc = ArgCount(args) > 1 ? AsString(&(*args)[1]) : std::string();
  if (library.empty() || proc.empty()) ThrowError(kLoadError, "register error: " + library + " " + proc);
  SystemPath(library, kLoadError, library);
  std::vector<std::string> texts;
  for (int32_t i = 2; i < ArgCount(args) && i < 5; ++i) texts.push_back(AsString(&(*args)[i]));
  dll::CallSignature sig = dll::ParseCallSignature(texts);

  std::shared_ptr<dll::Library> lib = findLibrary(library);
  void* address = nullptr;
  if (lib) {
    address = lib->Proc(proc);
    if (!address) ThrowError(kLoadError, proc);
  } else {
    lib = dll::Library::Load(library);
    if (!lib) ThrowError(kLoadError, library);
    address = lib->Proc(proc);
    if (!address) ThrowError(kLoadError, proc);  // the library closes as `lib` goes
    libraries_.emplace_back(library, lib);
  }

  IJFunction* f = NewFunction();
  TJValue value;
  value.SetFunction(f);
  f->SetFuncType(ftDynaCall);
  f->SetName(proc);
  TDynaDeclare& d = f->GetDynaDeclare();
  d.Library = library;
  d.Proc = proc;
  d.ArgFlags = sig.args;
  d.ResultFlag = sig.result;
  d.Address = address;
  d.CallConv = dll::CallSignatureFlags(sig.flags);
  d.Module = lib;
  TJObject::PutMember(proc, value, false, nullptr);
}

// There are no window messages here: nothing is sent, and the answers are those of a window that
// does not exist.
void TJDynaCall::DoSendMessage(TJValueList*, TJValue& result) { result.SetInteger(0); }

void TJDynaCall::DoPostMessage(TJValueList*, TJValue& result) { result.SetBool(false); }

namespace {

// Byte counts of copies and fills: one no address range can hold is refused before it becomes a size.
constexpr double kMaxMemoryCount = double(PTRDIFF_MAX);

// An address argument: its memory, and its size when it is an object of ours (0 = unknown, a raw
// address). Plain strings are read-only sources.
struct Address {
  void* data = nullptr;
  size_t size = 0;
  bool known = false;
  stdlib::TJStringObject* stringObject = nullptr;
  std::string text;  // a copy of a string's characters
};

bool ResolveAddress(const TJValue& v, bool destination, Address& out) {
  if (Buffer own = OwnStorage(&v); own.data) {
    out.data = own.data;
    out.size = own.size;
    out.known = true;
    return true;
  }
  if (auto* so = dynamic_cast<stdlib::TJStringObject*>(v.vObject())) {
    // Written through a copy that is stored back afterwards.
    out.stringObject = so;
    out.text = so->Text();
    out.data = out.text.data();
    out.size = out.text.size() + 1;  // the zero byte after the characters
    out.known = true;
    return true;
  }
  if (v.ValueType() == vtString) {
    if (destination) return false;
    out.text = std::string(v.vString());
    out.data = out.text.data();
    out.size = out.text.size() + 1;
    out.known = true;
    return true;
  }
  if (v.ValueType() == vtInteger || v.ValueType() == vtDouble || IsNumberObject(&v)) {
    out.data = reinterpret_cast<void*>(uintptr_t(AsPointer(&v)));
    return out.data != nullptr;
  }
  return false;
}

void StoreBack(Address& a) {
  if (a.stringObject) a.stringObject->SetText(a.text.substr(0, std::strlen(a.text.c_str())));
}

}  // namespace

// copyMemory(destination, source, count): the count may not pass the end of an object of ours;
// raw addresses are copied through a guard that fails instead of faulting.
void TJDynaCall::DoCopyMemory(TJValueList* args, TJValue& result) {
  result.Clear();
  if (ArgCount(args) < 3) return;
  Address to, from;
  double count = AsDouble(&(*args)[2]);
  if (!ResolveAddress((*args)[0], true, to) || !ResolveAddress((*args)[1], false, from) || !(count >= 1) ||
      count >= kMaxMemoryCount)
    ThrowError(kLoadError, kInvalidParameter);
  size_t n = size_t(count);
  if ((to.known && n > to.size) || (from.known && n > from.size)) ThrowError(kLoadError, kInvalidParameter);
  bool ok = to.known && from.known ? (std::memmove(to.data, from.data, n), true) : dll::GuardedCopy(to.data, from.data, n);
  if (!ok) ThrowError(kLoadError, kInvalidParameter);
  StoreBack(to);
}

// fillMemory(destination, count [, byte])
void TJDynaCall::DoFillMemory(TJValueList* args, TJValue& result) {
  result.Clear();
  if (ArgCount(args) < 2) return;
  Address to;
  double count = AsDouble(&(*args)[1]);
  if (!ResolveAddress((*args)[0], true, to) || !(count >= 1) || count >= kMaxMemoryCount)
    ThrowError(kLoadError, kInvalidParameter);
  size_t n = size_t(count);
  if (to.known && n > to.size) ThrowError(kLoadError, kInvalidParameter);
  uint8_t byte = ArgCount(args) > 2 ? uint8_t(AsChar(&(*args)[2])) : 0;
  bool ok = to.known ? (std::memset(to.data, byte, n), true) : dll::GuardedFill(to.data, n, byte);
  if (!ok) ThrowError(kLoadError, kInvalidParameter);
  StoreBack(to);
}

// ---------------------------------------------------------------------------------------------
// Calls

namespace {

// One converted argument: the C argument, and the cell a by-reference letter points at.
struct DynaValue {
  char letter;
  dll::CArg arg{dll::CType::Pointer, 0};
  int64_t cell = 0;  // 1-, 2-, 4- and 8-byte values pointed at by letters 1, 2, 4, 8
  std::string text;
  std::wstring wide;
  rt::ComPtr<rt::IDispatch> dispatch;
};

void ValuesToDynaValues(const std::string& letters, TJValueList* args, std::vector<DynaValue>& out) {
  out.resize(letters.size());
  for (size_t i = 0; i < letters.size(); ++i) {
    DynaValue& d = out[i];
    d.letter = rt::asciiLower(letters[i]);
    const TJValue& v = ArgCount(args) > int32_t(i) ? (*args)[int32_t(i)] : TJValue::Null();
    bool none = IsNullOrUndefined(&v);
    switch (d.letter) {
      case 'c': d.arg = dll::CArg::Int(dll::CType::UInt8, uint8_t(AsChar(&v))); break;
      case 't': d.arg = dll::CArg::Int(dll::CType::SInt16, int16_t(AsInteger(&v))); break;
      case 'b': case 'l': d.arg = dll::CArg::Int(dll::CType::SInt32, AsInteger(&v)); break;
      case 'u': d.arg = dll::CArg::Int(dll::CType::UInt32, uint32_t(AsPointer(&v))); break;
      case 'h': case 'p': d.arg = {dll::CType::Pointer, AsPointer(&v)}; break;
      case 'i': d.arg = dll::CArg::Int(dll::CType::SInt64, Round64(AsDouble(&v))); break;
      case 'f': d.arg = dll::CArg::Float(float(AsDouble(&v))); break;
      case 'd': d.arg = dll::CArg::Double(AsDouble(&v)); break;
      case '1': case '2': case '4': case '8':
        if (none) break;  // a null pointer
        if (d.letter == '1') d.cell = uint8_t(AsChar(&v));
        else if (d.letter == '2') d.cell = int16_t(AsInteger(&v));
        else if (d.letter == '4') d.cell = AsInteger(&v);
        else d.cell = Round64(AsDouble(&v));
        d.arg = dll::CArg::Ptr(&d.cell);
        break;
      case 's':
        if (none) break;
        if (Buffer own = OwnStorage(&v); own.data) {
          d.arg = dll::CArg::Ptr(own.data);  // the object's own memory: what C writes stays there
        } else {
          d.text = AsString(&v);
          d.arg = dll::CArg::Ptr(d.text.c_str());
        }
        break;
      case 'w':
        if (none) break;
        d.wide = ToWide(AsString(&v));
        d.arg = dll::CArg::Ptr(d.wide.c_str());
        break;
      case 'a': case 'k': {
        com::IDispatch* disp = DispatchOf(v);
        d.dispatch = disp;
        d.arg = dll::CArg::Ptr(disp);
        break;
      }
      default:
        ThrowError(kCallError, "arguments flag error");
    }
  }
}

// The C type of the result: the float and double flags, else the result letter.
dll::CType ResultType(char letter, int32_t flags) {
  if (flags & dll::kFlagFloatResult) return dll::CType::Float;
  if (flags & dll::kFlagDoubleResult) return dll::CType::Double;
  switch (letter) {
    case 'b': case 'l': case 'u': return dll::CType::SInt32;
    case 'c': return dll::CType::UInt8;
    case 't': return dll::CType::SInt16;
    case 'i': return dll::CType::SInt64;
    case 'f': return dll::CType::Float;
    case 'd': return dll::CType::Double;
    case 'h': case 'p': case 's': case 'w': case 'a': case 'k': return dll::CType::Pointer;
    default: return dll::CType::Void;
  }
}

void DynaValueToValue(char letter, const dll::CResult& r, TJBaseEngine* engine, TJValue& out) {
  switch (letter) {
    case 'a': case 'k': {
      // Only a dispatch object of our own that is alive comes back; any other address is null.
      void* p = reinterpret_cast<void*>(uintptr_t(r.i));
      if (!com::IsLiveDispatch(p)) {
        out.SetNull();
        return;
      }
      rt::Variant v;
      v.vt = rt::VT_DISPATCH;
      v.disp = static_cast<com::IDispatch*>(p);
      VariantToValue(v, engine, out);
      return;
    }
    case 'b': out.SetBool(int32_t(r.i) != 0); return;
    case 'c': case 'l': case 't': case 'u': out.SetInteger(int32_t(r.i)); return;
    case 'h': case 'p': SetPointer(out, uint64_t(r.i)); return;
    case 'd': out.SetDouble(r.d); return;
    case 'f': out.SetDouble(r.d); return;
    case 'i': out.SetDouble(double(r.i)); return;
    case 's': {
      std::string text;
      if (!dll::GuardedReadText(reinterpret_cast<const void*>(uintptr_t(r.i)), text)) ThrowError(kCallError, "result read error");
      out.SetString(text);
      return;
    }
    case 'w': {
      std::wstring wide;
      if (!dll::GuardedReadWide(reinterpret_cast<const void*>(uintptr_t(r.i)), wide)) ThrowError(kCallError, "result read error");
      out.SetString(FromWide(wide));
      return;
    }
    default: out.SetNull(); return;
  }
}

void WriteBackDynaValues(const std::vector<DynaValue>& values, TJValueList* args) {
  for (size_t i = 0; i < values.size() && int32_t(i) < ArgCount(args); ++i) {
    const DynaValue& d = values[i];
    if (d.letter != '1' && d.letter != '2' && d.letter != '4' && d.letter != '8') continue;
    auto* number = dynamic_cast<stdlib::TJNumberObject*>((*args)[int32_t(i)].vObject());
    if (!number) continue;
    if (d.letter == '8') number->SetValue(TJValue::Double(double(d.cell)));
    else if (d.letter == '1') number->SetValue(TJValue::Integer(uint8_t(d.cell)));
    else if (d.letter == '2') number->SetValue(TJValue::Integer(int16_t(d.cell)));
    else number->SetValue(TJValue::Integer(int32_t(d.cell)));
  }
}

}  // namespace

void CallDynaCallFunction(TJEngine& engine, IJFunction* function, TJValueList* args, TJValue& result) {
  TDynaDeclare d = function->GetDynaDeclare();  // a copy: the call may replace the member
  auto lib = std::static_pointer_cast<dll::Library>(d.Module);
  if (!lib || !lib->IsLoaded() || !d.Address) ThrowError(kCallError, "library not loaded: " + d.Library);
  std::vector<DynaValue> values;
  ValuesToDynaValues(d.ArgFlags, args, values);
  std::vector<dll::CArg> cargs;
  for (const DynaValue& v : values) cargs.push_back(v.arg);
  char letter = d.ResultFlag.empty() ? '\0' : rt::asciiLower(d.ResultFlag[0]);
  if ((d.CallConv & dll::kFlagFloatResult) && letter != 'f') letter = 'f';
  else if (!(d.CallConv & dll::kFlagFloatResult) && (d.CallConv & dll::kFlagDoubleResult) && letter != 'd') letter = 'd';
  dll::CResult r;
  if (!dll::Call(d.Address, cargs, ResultType(letter, d.CallConv), r)) ThrowError(kCallError, "call error: " + d.Proc);
  DynaValueToValue(letter, r, &engine, result);
  WriteBackDynaValues(values, args);
}

void InstallDynaCallHooks() { EngineExtensions().CallDynaCall = CallDynaCallFunction; }

// ---------------------------------------------------------------------------------------------
// Struct

const rt::ClassInfo& TJStruct::StaticClassInfo() {
  using T = TJStruct;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TJStruct", &TJObject::StaticClassInfo()).property("length", &T::Length).build();
  return info;
}

TJStruct::TJStruct(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("Struct"); }

void TJStruct::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("clear", &TJStruct::DoClear);
  RegistMethod("define", &TJStruct::DoDefine);
  RegistMethod("sizeOf", &TJStruct::DoSizeOf);
  RegistMethod("toString", &TJStruct::DoToString);
}

void TJStruct::AfterCreate(TJValueList* param) {
  if (ArgCount(param) > 0) define(param);
}

void TJStruct::clearStructure() {
  members_.clear();
  block_.clear();
}

void TJStruct::Clear() {
  TJObject::Clear();
  clearStructure();
}

void TJStruct::Dispose() {
  clearStructure();
  TJObject::Dispose();
}

namespace {

int32_t TypeSize(char type) {
  switch (type) {
    case 'c': return 1;
    case 't': return 2;
    case 'l': case 'u': case 'b': case 'f': return 4;
    case 'h': case 'p': case 's': case 'w': return int32_t(sizeof(void*));
    case 'i': case 'd': return 8;
    default: return 0;
  }
}

std::string Trim(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return std::string(s.substr(a, b - a));
}

}  // namespace

void TJStruct::define(TJValueList* args) {
  if (ArgCount(args) == 0) ThrowError(kStructError, "need member type");
  Clear();
  std::vector<Member> members;
  int64_t size = 0;
  for (int32_t n = 0; n < args->Count(); ++n) {
    std::string text = AsString(&(*args)[n]);
    size_t colon = text.find(':');
    std::string name = colon == std::string::npos ? std::string() : Trim(std::string_view(text).substr(0, colon));
    std::string type = rt::lowerCase(Trim(colon == std::string::npos ? std::string_view(text) : std::string_view(text).substr(colon + 1)));
    if (name.empty()) name = "__" + std::to_string(n);
    if (type.empty()) ThrowError(kStructError, "need member type");
    Member m{name, type[0], 0, int32_t(size + 1), {}, {}, {}};
    if (type.find_first_not_of("0123456789") == std::string::npos) {
      long long raw = type.size() > 9 ? -1 : std::stoll(type);
      if (raw <= 0 || raw > (1 << 24)) ThrowError(kStructError, "member type error");
      m.type = '0';
      m.size = int32_t(raw);
    } else {
      m.size = TypeSize(m.type);
      if (m.size == 0) ThrowError(kStructError, "member type error");
    }
    size += m.size;
    if (size > (int64_t(1) << 28)) ThrowError(kStructError, "member type error");
    members.push_back(std::move(m));
  }
  members_ = std::move(members);
  block_.assign(size_t(size), '\0');
  for (const Member& m : members_) RegistProperty(m.name, TJValue());
}

TJStruct::Member* TJStruct::find(std::string_view name, bool bracketAccess) {
  for (Member& m : members_)
    if (m.name == name) return &m;
  if (bracketAccess && !name.empty() && name.find_first_not_of("-0123456789") == std::string_view::npos) {
    char* end = nullptr;
    std::string digits(name);
    long index = std::strtol(digits.c_str(), &end, 10);
    if (*end != '\0') return nullptr;
    if (index < 0) index += long(members_.size());
    if (index >= 0 && size_t(index) < members_.size()) return &members_[size_t(index)];
  }
  return nullptr;
}

void TJStruct::readMember(Member& m, TJValue& value) {
  const char* p = block_.data() + m.position - 1;
  auto load = [p](auto x) {
    std::memcpy(&x, p, sizeof x);
    return x;
  };
  switch (m.type) {
    case '0': value.SetString(std::string_view(p, strnlen(p, size_t(m.size)))); return;
    case 'c': value.SetInteger(load(uint8_t())); return;
    case 't': value.SetInteger(load(int16_t())); return;
    case 'l': case 'u': value.SetInteger(load(int32_t())); return;
    case 'h': case 'p': SetPointer(value, load(uint64_t())); return;
    case 'i': value.SetDouble(double(load(int64_t()))); return;
    case 'b': value.SetBool(load(int32_t()) != 0); return;
    case 'f': value.SetDouble(load(float())); return;
    case 'd': value.SetDouble(load(double())); return;
    case 's': {
      if (m.nested) {
        value.SetObject(m.nested.get());
        return;
      }
      std::string text;
      if (!dll::GuardedReadText(load(static_cast<const void*>(nullptr)), text)) ThrowError(kStructError, "member read error");
      value.SetString(text);
      return;
    }
    case 'w': {
      std::wstring wide;
      if (!dll::GuardedReadWide(load(static_cast<const void*>(nullptr)), wide)) ThrowError(kStructError, "member read error");
      value.SetString(FromWide(wide));
      return;
    }
    default: value.Clear(); return;
  }
}

void TJStruct::writeMember(Member& m, const TJValue& value) {
  char* p = block_.data() + m.position - 1;
  auto store = [p](auto x) { std::memcpy(p, &x, sizeof x); };
  bool none = IsNullOrUndefined(&value);
  switch (m.type) {
    case '0': {
      std::string text = none ? std::string() : AsString(&value);
      if (text.size() > size_t(m.size) - 1) text.resize(size_t(m.size) - 1);
      std::memcpy(p, text.data(), text.size());
      p[text.size()] = '\0';
      break;
    }
    case 'c': store(uint8_t(AsChar(&value))); break;
    case 't': store(int16_t(AsInteger(&value))); break;
    case 'l': case 'u': case 'b': store(int32_t(AsInteger(&value))); break;
    case 'h': case 'p': store(AsPointer(&value)); break;
    case 'i': store(Round64(AsDouble(&value))); break;
    case 'f': store(float(AsDouble(&value))); break;
    case 'd': store(AsDouble(&value)); break;
    case 's':
      m.nested.reset();
      m.text.clear();
      if (none) {
        store(static_cast<const void*>(nullptr));
      } else if (TJStruct* s = StructOf(&value); s && s != this) {
        m.nested = s;  // held, so the block the pointer names stays alive
        store(static_cast<const void*>(s->Data()));
      } else {
        m.text = AsString(&value);
        store(static_cast<const void*>(m.text.c_str()));
      }
      break;
    case 'w':
      m.wide = none ? std::wstring() : ToWide(AsString(&value));
      store(none ? nullptr : static_cast<const void*>(m.wide.c_str()));
      break;
    default: break;
  }
}

void TJStruct::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  if (Member* m = find(name, bracketAccess)) {
    readMember(*m, value);
    return;
  }
  TJObject::GetMember(name, bracketAccess, param, value);
}

void TJStruct::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  Member* m = find(name, bracketAccess);
  if (!m) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  writeMember(*m, value);
  if (!TJObject::SetValue(m->name, value, nullptr)) ThrowError(kStructError, "member not found");
}

void TJStruct::GetItem(int32_t index, TJValue& value) {
  if (index < 0 || index >= int32_t(members_.size())) {
    value.Clear();
    return;
  }
  readMember(members_[size_t(index)], value);
}

std::string TJStruct::ToString(const TJValue*) { return block_; }

std::string TJStruct::Describe() const {
  std::string out;
  for (const Member& m : members_) {
    std::string type;
    switch (m.type) {
      case '0': type = "char[" + std::to_string(m.size) + "]"; break;
      case 'c': type = "char"; break;
      case 't': type = "short"; break;
      case 'h': case 'l': case 'p': case 'u': type = "long"; break;
      case 'i': type = "int64"; break;
      case 'b': type = "bool"; break;
      case 's': type = m.nested ? "struct" : "string"; break;
      case 'w': type = "widestring"; break;
      case 'f': type = "float"; break;
      case 'd': type = "double"; break;
    }
    out += m.name + " : " + type + " (" + std::to_string(m.size) + ")\r\n";
  }
  out += std::string(24, '-') + "\r\n";
  out += std::to_string(members_.size()) + "members / " + std::to_string(block_.size()) + "bytes";
  return out;
}

void TJStruct::DoClear(TJValueList*, TJValue& result) {
  Clear();
  result.SetObject(this);
}

void TJStruct::DoDefine(TJValueList* args, TJValue& result) {
  define(args);
  result.SetObject(this);
}

void TJStruct::DoSizeOf(TJValueList*, TJValue& result) { result.SetInteger(int32_t(block_.size())); }

void TJStruct::DoToString(TJValueList*, TJValue& result) { result.SetString(Describe()); }

}  // namespace host
