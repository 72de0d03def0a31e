#include "script/host/string_buffer_object.h"

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/stdlib/text_routines.h"

namespace host {

using namespace engine;

namespace {

constexpr const char* kStringError = "EStringError";

// Runs `f`; a buffer the memory cannot hold is the script's error "EStringError" with `message`.
template <class F>
void growing(const char* message, F&& f) {
  try {
    f();
  } catch (const std::bad_alloc&) {
    ThrowError(kStringError, message);
  } catch (const std::length_error&) {
    ThrowError(kStringError, message);
  }
}

int32_t clampLength(size_t n) { return n > size_t(INT32_MAX) ? INT32_MAX : int32_t(n); }

// A position argument held to 0 .. length.
size_t clampPosition(int64_t position, size_t length) {
  if (position < 0) return 0;
  return std::min<uint64_t>(uint64_t(position), length);
}

}  // namespace

const rt::ClassInfo& TJStringBufferObject::StaticClassInfo() {
  using T = TJStringBufferObject;
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<T>("TJStringBufferObject", &TJObject::StaticClassInfo())
                                     .property("text", &T::Text, &T::SetText)
                                     .property("length", &T::Length, &T::SetLength)
                                     .build();
    RegisterKnownClass(TJKnownClass::StringBuffer, built);
    return built;
  }();
  return info;
}

// new StringBuffer([value [, fill]]): a number sets the length, the bytes then all being the
// character code of fill (0 without); anything else gives its string form.
TJStringBufferObject::TJStringBufferObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("StringBuffer");
  if (!IsParam1(param)) return;
  const TJValue& first = (*param)[0];
  if (first.ValueType() == vtInteger || first.ValueType() == vtDouble || IsNumberObject(&first)) {
    int32_t length = AsInteger(&first);
    char fill = IsParam2(param) ? char(AsChar(&(*param)[1])) : '\0';
    if (length < 0) ThrowError(kStringError, "length error " + std::to_string(length));
    resize(length, fill);
    return;
  }
  text_ = AsString(&first);
}

void TJStringBufferObject::Dispose() {
  std::string().swap(text_);
  TJObject::Dispose();
}

void TJStringBufferObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("append", &TJStringBufferObject::DoAppend);
  RegistMethod("charCodeAt", &TJStringBufferObject::DoCharCodeAt);
  RegistMethod("delete", &TJStringBufferObject::DoDelete);
  RegistMethod("indexOf", &TJStringBufferObject::DoIndexOf);
  RegistMethod("insert", &TJStringBufferObject::DoInsert);
  RegistMethod("lastIndexOf", &TJStringBufferObject::DoLastIndexOf);
  RegistMethod("replace", &TJStringBufferObject::DoReplace);
  RegistMethod("slice", &TJStringBufferObject::DoSlice);
  RegistMethod("substr", &TJStringBufferObject::DoSubstr);
  RegistMethod("substring", &TJStringBufferObject::DoSubstring);
  RegistMethod("fill", &TJStringBufferObject::DoFill);
}

int32_t TJStringBufferObject::Length() const { return clampLength(text_.size()); }

void TJStringBufferObject::SetLength(int32_t length) {
  if (length < 0) ThrowError(kStringError, "length error " + std::to_string(length));
  resize(length, '\0');
}

// A length the memory cannot hold is the script's error, not the process's end.
void TJStringBufferObject::resize(int64_t length, char fill) {
  try {
    text_.resize(size_t(length), fill);
  } catch (const std::bad_alloc&) {
    ThrowError(kStringError, "length error " + std::to_string(length));
  } catch (const std::length_error&) {
    ThrowError(kStringError, "length error " + std::to_string(length));
  }
}

std::string TJStringBufferObject::ToString(const TJValue*) { return text_; }

int32_t TJStringBufferObject::ToChar() { return text_.empty() ? 0 : static_cast<unsigned char>(text_[0]); }

void TJStringBufferObject::GetItem(int32_t index, TJValue& value) {
  if (index < 0 || size_t(index) >= text_.size()) {
    value.Clear();
    return;
  }
  value.SetString(std::string_view(&text_[size_t(index)], 1));
}

size_t TJStringBufferObject::byteIndex(std::string_view name) const {
  int32_t i = 0;
  if (!TextToInteger(name, i)) ThrowError("EIndexError", std::string(name));
  int64_t index = i;
  if (index < 0) index += int64_t(text_.size());
  if (index < 0 || index >= int64_t(text_.size())) ThrowError("EIndexError", std::string(name));
  return size_t(index);
}

void TJStringBufferObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  if (!bracketAccess) {
    TJObject::GetMember(name, bracketAccess, param, value);
    return;
  }
  value.SetString(std::string_view(&text_[byteIndex(name)], 1));
}

void TJStringBufferObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess,
                                     TJValueList* param) {
  if (!bracketAccess) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  size_t index = byteIndex(name);
  text_[index] = char(AsChar(&value));
}

// --- methods ---

void TJStringBufferObject::DoAppend(TJValueList* args, TJValue& result) {
  growing("append error", [&] {
    for (int32_t i = 0; i < ArgCount(args); ++i) text_ += AsString(&(*args)[i]);
  });
  result.SetObject(this);
}

// charCodeAt(position): the byte (0-255), NaN outside the buffer.
void TJStringBufferObject::DoCharCodeAt(TJValueList* args, TJValue& result) {
  int32_t i = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  if (i < 0 || size_t(i) >= text_.size())
    result.SetNaN();
  else
    result.SetInteger(static_cast<unsigned char>(text_[size_t(i)]));
}

void TJStringBufferObject::deleteRange(int32_t start, int32_t end) {
  if (start < 0 || end <= start || size_t(start) >= text_.size()) return;
  size_t from = size_t(start);
  size_t count = std::min<size_t>(size_t(end) - from, text_.size() - from);
  text_.erase(from, count);
}

void TJStringBufferObject::insertAt(int32_t position, std::string_view text) {
  text_.insert(clampPosition(position, text_.size()), text);
}

// delete(start [, end]): removes the bytes from start up to before end (the end of the buffer
// without one).
void TJStringBufferObject::DoDelete(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) ThrowError(kStringError, "delete error");
  int32_t start = AsInteger(&(*args)[0]);
  int32_t end = IsParam2(args) ? AsInteger(&(*args)[1]) : INT32_MAX;
  deleteRange(start, end);
  result.SetObject(this);
}

// indexOf(text [, from]): the first position of text at or after from; -1 when absent.
void TJStringBufferObject::DoIndexOf(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetInteger(-1);
    return;
  }
  std::string sub = AsString(&(*args)[0]);
  int64_t from = IsParam2(args) ? int64_t(AsInteger(&(*args)[1])) + 1 : 1;
  from = std::min<int64_t>(from, int64_t(Length()));
  int32_t pos = stdlib::PosFrom(sub, text_, int32_t(from));
  result.SetInteger(pos - 1);
}

void TJStringBufferObject::DoInsert(TJValueList* args, TJValue& result) {
  if (!IsParam2(args)) ThrowError(kStringError, "insert error");
  growing("insert error", [&] { insertAt(AsInteger(&(*args)[0]), AsString(&(*args)[1])); });
  result.SetObject(this);
}

// lastIndexOf(text [, from]): the last position of text starting at or before from (the whole
// buffer without from; only the first byte with a negative one); -1 when absent.
void TJStringBufferObject::DoLastIndexOf(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetInteger(-1);
    return;
  }
  std::string sub = AsString(&(*args)[0]);
  int32_t from = 0;
  if (IsParam2(args)) {
    int32_t f = AsInteger(&(*args)[1]);
    from = f < 0 ? 1 : (f == INT32_MAX ? f : f + 1);
  }
  int32_t pos = stdlib::LastPos(sub, text_, from);
  result.SetInteger(pos - 1);
}

void TJStringBufferObject::DoReplace(TJValueList* args, TJValue& result) {
  if (!IsParam3(args)) ThrowError(kStringError, "replace error");
  int32_t start = AsInteger(&(*args)[0]);
  int32_t end = AsInteger(&(*args)[1]);
  std::string text = AsString(&(*args)[2]);
  // delete(start, end) and insert(start, text) in one step, so a replace that cannot finish
  // changes nothing.
  size_t count = 0;
  if (start >= 0 && end > start && size_t(start) < text_.size())
    count = std::min<size_t>(size_t(end) - size_t(start), text_.size() - size_t(start));
  growing("replace error", [&] { text_.replace(clampPosition(start, text_.size()), count, text); });
  result.SetObject(this);
}

// slice([start [, end]]): a new buffer with the bytes from start up to before end; negative
// positions count from the length.
void TJStringBufferObject::DoSlice(TJValueList* args, TJValue& result) {
  std::string piece;
  if (IsParam1(args)) {
    int64_t length = int64_t(text_.size());
    int64_t start = AsInteger(&(*args)[0]);
    int64_t end = IsParam2(args) ? int64_t(AsInteger(&(*args)[1])) : length;
    if (start < 0) start += length;
    if (end < 0) end += length;
    size_t from = clampPosition(start, text_.size()), to = clampPosition(end, text_.size());
    if (to > from) piece = text_.substr(from, to - from);
  }
  auto* buffer = TJObject::Create<TJStringBufferObject>(Engine());
  buffer->text_ = std::move(piece);
  result.SetObject(buffer);
}

// substr(start [, length]): length bytes from start, or the rest.
void TJStringBufferObject::DoSubstr(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  size_t from = clampPosition(AsInteger(&(*args)[0]), text_.size());
  size_t count = std::string::npos;
  if (IsParam2(args)) {
    int32_t n = AsInteger(&(*args)[1]);
    count = n < 0 ? 0 : size_t(n);
  }
  result.SetString(std::string_view(text_).substr(from, count));
}

// substring(start [, end]): the bytes between the two positions, the smaller first.
void TJStringBufferObject::DoSubstring(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  size_t a = clampPosition(AsInteger(&(*args)[0]), text_.size());
  size_t b = IsParam2(args) ? clampPosition(AsInteger(&(*args)[1]), text_.size()) : text_.size();
  if (a > b) std::swap(a, b);
  result.SetString(std::string_view(text_).substr(a, b - a));
}

void TJStringBufferObject::DoFill(TJValueList* args, TJValue& result) {
  char c = IsParam1(args) ? char(AsChar(&(*args)[0])) : '\0';
  std::fill(text_.begin(), text_.end(), c);
  result.SetObject(this);
}

}  // namespace host
