#include "script/host/strings_object.h"

#include <exception>

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/file_name.h"
#include "support/regular_file.h"
#include "support/replace_file.h"

namespace host {

using namespace engine;

namespace {

constexpr const char* kStringsError = "EStringsError";

// Runs `f`; a failure of the list or the file system reaches the script as "EStringsError" with
// `message`. Script errors, abort and exit pass unchanged.
template <class F>
void guarded(const char* message, F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const std::exception&) {
    ThrowError(kStringsError, message);
  }
}

// The same for an index access: any failure is "EIndexError" with the name as message.
template <class F>
void indexGuarded(std::string_view name, F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const std::exception&) {
    ThrowError("EIndexError", std::string(name));
  }
}

// Text with every CR LF replaced by `separator`.
std::string joinWith(const std::string& text, const std::string& separator) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += separator;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The wrapper of a list owned elsewhere

const rt::ClassInfo& TJBaseStringsObject::StaticClassInfo() {
  using T = TJBaseStringsObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJBaseStringsObject", &TJObject::StaticClassInfo())
                                         .property("text", &T::Text, &T::SetText)
                                         .property("commaText", &T::CommaText, &T::SetCommaText)
                                         .property("length", &T::Length)
                                         .property("count", &T::Length)
                                         .build();
  return info;
}

TJBaseStringsObject::TJBaseStringsObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Strings");
}

fw::TStrings* TJBaseStringsObject::Strings() const { return watched_ && alive_.expired() ? nullptr : strings_; }

void TJBaseStringsObject::SetStrings(fw::TStrings* strings, bool watch) {
  strings_ = strings;
  watched_ = strings && watch;
  alive_ = watched_ ? strings->LivenessToken() : std::weak_ptr<const void>();
}

fw::TStrings& TJBaseStringsObject::CheckStrings() const {
  fw::TStrings* s = Strings();
  if (!s) ThrowError(kStringsError, "strings is null");
  return *s;
}

void TJBaseStringsObject::Dispose() {
  SetStrings(nullptr);
  TJObject::Dispose();
}

void TJBaseStringsObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("add", &TJBaseStringsObject::DoAdd);
  RegistMethod("insert", &TJBaseStringsObject::DoInsert);
  RegistMethod("delete", &TJBaseStringsObject::DoDelete);
  RegistMethod("clear", &TJBaseStringsObject::DoClear);
  RegistMethod("indexOf", &TJBaseStringsObject::DoIndexOf);
  RegistMethod("saveToFile", &TJBaseStringsObject::DoSaveToFile);
  RegistMethod("loadFromFile", &TJBaseStringsObject::DoLoadFromFile);
  RegistMethod("assign", &TJBaseStringsObject::DoAssign);
  RegistMethod("addStrings", &TJBaseStringsObject::DoAddStrings);
}

std::string TJBaseStringsObject::Text() const {
  std::string text;
  guarded("text error", [&] { text = CheckStrings().Text(); });
  return text;
}

void TJBaseStringsObject::SetText(std::string text) {
  guarded("text error", [&] { CheckStrings().SetText(text); });
}

std::string TJBaseStringsObject::CommaText() const {
  std::string text;
  guarded("commaText error", [&] { text = CheckStrings().CommaText(); });
  return text;
}

void TJBaseStringsObject::SetCommaText(std::string text) {
  guarded("commaText error", [&] { CheckStrings().SetCommaText(text); });
}

int32_t TJBaseStringsObject::Length() const { return CheckStrings().Count(); }

int32_t TJBaseStringsObject::GetCount() { return CheckStrings().Count(); }

void TJBaseStringsObject::GetItem(int32_t index, TJValue& value) {
  fw::TStrings& s = CheckStrings();
  if (index < 0 || index >= s.Count()) {
    value.Clear();
    return;
  }
  value.SetString(s.Get(index));
}

void TJBaseStringsObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJObject::GetMember(name, bracketAccess, param, value);
    return;
  }
  fw::TStrings& s = CheckStrings();
  if (index < 0 || index >= s.Count()) ThrowError("EIndexError", std::string(name));
  indexGuarded(name, [&] { value.SetString(s.Get(index)); });
}

void TJBaseStringsObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess,
                                    TJValueList* param) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  fw::TStrings& s = CheckStrings();
  if (index < 0 || index >= s.Count()) ThrowError("EIndexError", std::string(name));
  std::string text = AsString(&value);
  indexGuarded(name, [&] { s.Put(index, text); });
}

std::string TJBaseStringsObject::ToString(const TJValue* argument) {
  std::string text = Text();
  if (!argument) return text;
  return joinWith(text, AsString(argument));
}

// add([value ...]): appends the string form of each argument (one empty line without any); the
// index of the last line added.
void TJBaseStringsObject::DoAdd(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  int32_t index = -1;
  guarded("add error", [&] {
    if (ArgCount(args) == 0) {
      index = s.Add(std::string());
      return;
    }
    for (int32_t i = 0; i < ArgCount(args); ++i) index = s.Add(AsString(&(*args)[i]));
  });
  result.SetInteger(index);
}

void TJBaseStringsObject::AddLines(TJValueList* args) {
  fw::TStrings& s = CheckStrings();
  if (ArgCount(args) == 0) {
    s.Add(std::string());
    return;
  }
  for (int32_t i = 0; i < ArgCount(args); ++i) s.Add(AsString(&(*args)[i]));
}

// insert(index, text): a bad index is a script error, like a missing argument.
void TJBaseStringsObject::DoInsert(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam2(args)) ThrowError(kStringsError, "insert error");
  int32_t index = AsInteger(&(*args)[0]);
  std::string text = AsString(&(*args)[1]);
  if (index < 0 || index > s.Count()) ThrowError(kStringsError, "insert error");
  guarded("insert error", [&] { s.Insert(index, text); });
  result.SetObject(this);
}

void TJBaseStringsObject::DoDelete(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam1(args)) ThrowError(kStringsError, "delete error");
  int32_t index = AsInteger(&(*args)[0]);
  if (index < 0 || index >= s.Count()) ThrowError(kStringsError, "delete error");
  guarded("delete error", [&] { s.Delete(index); });
  result.SetObject(this);
}

void TJBaseStringsObject::DoClear(TJValueList*, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  guarded("clear error", [&] { s.Clear(); });
  result.SetObject(this);
}

void TJBaseStringsObject::DoIndexOf(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam1(args)) {
    result.SetInteger(-1);
    return;
  }
  std::string text = AsString(&(*args)[0]);
  int32_t index = -1;
  guarded("indexOf error", [&] { index = s.IndexOf(text); });
  result.SetInteger(index);
}

// saveToFile(name): the lines as text, CR LF after each. The old file stays whole until the new
// one is complete on the disk.
void TJBaseStringsObject::DoSaveToFile(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam1(args)) ThrowError(kStringsError, "saveToFile error");
  std::string fileName = AsString(&(*args)[0]);
  SystemPath(fileName, kStringsError, "saveToFile error");
  std::string text;
  guarded("saveToFile error", [&] { text = s.Text(); });
  if (!support::ReplaceFileContents(fileName, text)) ThrowError(kStringsError, "saveToFile error");
  result.SetObject(this);
}

// loadFromFile(name): the file's lines replace the list's; a file that cannot be read leaves the
// list as it was. Only a regular file is read: a pipe could keep the script waiting and a device
// never end.
void TJBaseStringsObject::DoLoadFromFile(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam1(args)) ThrowError(kStringsError, "loadFromFile error");
  std::string fileName = AsString(&(*args)[0]);
  std::string contents;
  if (!support::ReadRegularFile(SystemPath(fileName, kStringsError, "loadFromFile error"), contents))
    ThrowError(kStringsError, "loadFromFile error");
  guarded("loadFromFile error", [&] {
    fw::TStringList loaded;
    loaded.SetText(contents);
    std::string text = loaded.Text();
    s.SetText(text);
  });
  result.SetObject(this);
}

bool TJBaseStringsObject::CollectLines(const TJValue& value, std::vector<std::string>& lines) {
  TJObject* o = value.vObject();
  if (!o) return false;
  if (auto* list = dynamic_cast<TJBaseStringsObject*>(o)) {
    fw::TStrings& s = list->CheckStrings();
    for (int i = 0; i < s.Count(); ++i) lines.push_back(s.Get(i));
    return true;
  }
  if (!o->IsIndexed()) return false;
  int32_t count = o->GetCount();
  for (int32_t i = 0; i < count; ++i) {
    TJValue item;
    o->GetItem(i, item);
    lines.push_back(AsString(&item));
  }
  return true;
}

// addStrings(value): the lines of a string list, the items of an Array or any other indexed
// object, or, for a value that is no object, the arguments themselves as add takes them. The
// source is read whole first, so a list can add itself.
void TJBaseStringsObject::DoAddStrings(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam1(args)) ThrowError(kStringsError, "addStrings error");
  const TJValue& value = (*args)[0];
  if (value.ValueType() != vtObject) {
    guarded("addStrings error", [&] { AddLines(args); });
    result.SetObject(this);
    return;
  }
  std::vector<std::string> lines;
  if (!CollectLines(value, lines)) ThrowError(kStringsError, "addStrings error");
  guarded("addStrings error", [&] {
    for (const std::string& line : lines) s.Add(line);
  });
  result.SetObject(this);
}

// assign(value): clears the list, then as addStrings, in one update bracket. The source is read
// before the list is cleared, so assigning a list to itself keeps its lines.
void TJBaseStringsObject::DoAssign(TJValueList* args, TJValue& result) {
  fw::TStrings& s = CheckStrings();
  if (!IsParam1(args)) ThrowError(kStringsError, "addStrings error");
  const TJValue& value = (*args)[0];
  std::vector<std::string> lines;
  bool plain = value.ValueType() != vtObject;
  if (!plain && !CollectLines(value, lines)) ThrowError(kStringsError, "addStrings error");
  guarded("addStrings error", [&] {
    s.BeginUpdate();
    try {
      s.Clear();
      if (plain)
        AddLines(args);
      else
        for (const std::string& line : lines) s.Add(line);
    } catch (...) {
      s.EndUpdate();
      throw;
    }
    s.EndUpdate();
  });
  result.SetObject(this);
}

// ---------------------------------------------------------------------------------------------
// The list of its own

const rt::ClassInfo& TJStringsObject::StaticClassInfo() {
  using T = TJStringsObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJStringsObject", &TJBaseStringsObject::StaticClassInfo())
                                         .property("sorted", &T::Sorted, &T::SetSorted)
                                         .property("caseSensitive", &T::CaseSensitive, &T::SetCaseSensitive)
                                         .property("duplicates", &T::Duplicates, &T::SetDuplicates)
                                         .build();
  return info;
}

TJStringsObject::TJStringsObject(TJBaseEngine* engine, TJValueList* param)
    : TJBaseStringsObject(engine, param), list_(std::make_unique<fw::TStringList>()) {
  RegistName("StringList");
  SetStrings(list_.get());
  if (IsParam1(param) && IsString(&(*param)[0])) list_->SetText(AsString(&(*param)[0]));
}

TJStringsObject::~TJStringsObject() = default;

void TJStringsObject::Dispose() {
  TJBaseStringsObject::Dispose();
  list_.reset();
}

void TJStringsObject::RegistMethods() {
  TJBaseStringsObject::RegistMethods();
  RegistMethod("sort", &TJStringsObject::DoSort);
}

fw::TStringList& TJStringsObject::checkList() const {
  CheckStrings();
  return *list_;
}

bool TJStringsObject::Sorted() const { return checkList().Sorted(); }

void TJStringsObject::SetSorted(bool sorted) {
  fw::TStringList& l = checkList();
  guarded("sorted error", [&] { l.SetSorted(sorted); });
}

bool TJStringsObject::CaseSensitive() const { return checkList().CaseSensitive(); }

void TJStringsObject::SetCaseSensitive(bool value) {
  fw::TStringList& l = checkList();
  guarded("caseSensitive error", [&] { l.SetCaseSensitive(value); });
}

bool TJStringsObject::Duplicates() const { return checkList().Duplicates() == fw::dupAccept; }

void TJStringsObject::SetDuplicates(bool accept) { checkList().SetDuplicates(accept ? fw::dupAccept : fw::dupIgnore); }

void TJStringsObject::DoSort(TJValueList*, TJValue& result) {
  fw::TStringList& l = checkList();
  guarded("sort error", [&] { l.Sort(); });
  result.SetObject(this);
}

// ---------------------------------------------------------------------------------------------

TJBaseStringsObject* WrapStrings(TJBaseEngine* engine, fw::TStrings* strings) {
  auto* wrapper = TJObject::Create<TJBaseStringsObject>(engine);
  wrapper->SetStrings(strings);
  return wrapper;
}

TJStringsObject* NewStringsObject(TJBaseEngine* engine, const std::vector<std::string>& lines) {
  auto* object = TJObject::Create<TJStringsObject>(engine);
  for (const std::string& line : lines) object->List()->Add(line);
  return object;
}

}  // namespace host
