#include "script/stdlib/regexp_object.h"

#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"

namespace stdlib {

using namespace engine;

namespace {

constexpr int32_t kNoLimit = 2147483646;
constexpr int kModifierI = 1, kModifierR = 2, kModifierM = 5;

}  // namespace

// ---------------------------------------------------------------------------------------------
// TJRegExp

TJRegExp::TJRegExp() : engine_(std::make_unique<regex::TRegExpr>()) {
  engine_->WriteModifier(kModifierR, false);
  Reset();
}

void TJRegExp::Reset() {
  index = -1;
  lastIndex = -1;
  lastMatch.clear();
  leftContext.clear();
  rightContext.clear();
  lastParen.clear();
  groups.clear();
}

void TJRegExp::RecordMatch(const regex::TRegExpr& engine, std::string_view subject, std::vector<std::string>* list) {
  Reset();
  std::string whole = engine.GroupText(0);
  if (list) list->push_back(whole);
  lastMatch = whole;
  int start = engine.GroupPos(0);
  int length = engine.GroupLen(0);
  index = start > 0 ? start - 1 : -1;
  lastIndex = start > 0 && length >= 0 ? start + length - 1 : -1;
  int64_t bytePos = engine.GroupBytePos(0), byteLen = engine.GroupByteLen(0);
  if (bytePos >= 0 && size_t(bytePos) <= subject.size()) {
    leftContext.assign(subject.substr(0, size_t(bytePos)));
    if (byteLen >= 0 && size_t(bytePos + byteLen) <= subject.size()) rightContext.assign(subject.substr(size_t(bytePos + byteLen)));
  }
  int last = engine.LastGroup();
  groups.assign(size_t(std::max(last, 0)) + 1, std::string());
  groups[0] = std::move(whole);
  for (int i = 1; i <= last; ++i) {
    groups[size_t(i)] = engine.GroupText(i);
    lastParen = groups[size_t(i)];
  }
}

bool TJRegExp::Exec(std::string_view subject, std::vector<std::string>* list) {
  input.assign(subject);
  if (list) list->clear();
  std::string text = input;  // the state's copy may change under a hook; the search keeps its own
  try {
    if (!engine_->Exec(text)) return false;
    RecordMatch(*engine_, text, list);
    while (global && engine_->ExecNext()) RecordMatch(*engine_, text, list);
    return true;
  } catch (const regex::ERegExpr&) {
    return false;
  }
}

std::string TJRegExp::Replace(std::string_view subject, std::string_view templ, const ReplaceCallback* callback) {
  std::string text(subject);
  input = text;
  std::string result;
  // A callback runs script code that may use this object again (search, replace, change the
  // pattern): the search then runs on a private engine of its own.
  std::unique_ptr<regex::TRegExpr> own;
  regex::TRegExpr* engine = engine_.get();
  if (callback) {
    own = std::make_unique<regex::TRegExpr>();
    own->SetExpression(engine_->Expression());
    own->SetModifiers(engine_->Modifiers());
    engine = own.get();
  }
  try {
    size_t pos = 0;
    if (engine->Exec(text)) {
      bool more = global;  // read once: a callback that changes the flag does not change this run
      do {
        size_t start = size_t(engine->GroupBytePos(0));
        size_t length = size_t(engine->GroupByteLen(0));
        if (start > pos) result.append(text, pos, start - pos);
        RecordMatch(*engine, text, nullptr);
        if (callback)
          result += (*callback)(*this);
        else
          result += engine->ExpandTemplate(templ);
        pos = start + length;
      } while (more && engine->ExecNext());
    }
    if (pos < text.size()) result.append(text, pos, std::string::npos);
  } catch (const regex::ERegExpr&) {
    // what was built before the error stands
  }
  return result;
}

bool TJRegExp::Split(std::string_view subject, std::vector<std::string>& list, int32_t limit) {
  input.assign(subject);
  list.clear();
  if (limit < 0) limit = kNoLimit;
  bool ok = true;
  std::string text = input;
  try {
    engine_->SplitText(text, list);
  } catch (const regex::ERegExpr&) {
    ok = false;
  }
  if (size_t(limit) < list.size()) list.resize(size_t(limit));
  return ok;
}

void TJRegExp::Assign(const TJRegExp& other) {
  if (&other == this) return;
  index = other.index;
  lastIndex = other.lastIndex;
  lastMatch = other.lastMatch;
  leftContext = other.leftContext;
  rightContext = other.rightContext;
  lastParen = other.lastParen;
  groups = other.groups;
  SetIgnoreCase(other.IgnoreCase());
  global = other.global;
  SetSource(other.Source());
  SetMultiline(other.Multiline());
  input = other.input;
}

// ---------------------------------------------------------------------------------------------
// TJRegExpObject

const rt::ClassInfo& TJRegExpObject::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built =
        rt::ClassBuilder<TJRegExpObject>("TJRegExpObject", &TJObject::StaticClassInfo())
            .property("ignoreCase", &TJRegExpObject::ignoreCase, &TJRegExpObject::setIgnoreCase)
            .property("global", &TJRegExpObject::global, &TJRegExpObject::setGlobal)
            .property("source", &TJRegExpObject::source, &TJRegExpObject::setSource)
            .property("multiline", &TJRegExpObject::multiline, &TJRegExpObject::setMultiline)
            .property("input", &TJRegExpObject::input, &TJRegExpObject::setInput)
            .property("index", &TJRegExpObject::index)
            .property("lastIndex", &TJRegExpObject::lastIndex)
            .property("lastMatch", &TJRegExpObject::lastMatch)
            .property("lastParen", &TJRegExpObject::lastParen)
            .property("leftContext", &TJRegExpObject::leftContext)
            .property("rightContext", &TJRegExpObject::rightContext)
            .build();
    RegisterKnownClass(TJKnownClass::RegExp, built);
    return built;
  }();
  return info;
}

TJRegExpObject::TJRegExpObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("RegExp");
  ClearMatch();
  if (!IsParam1(param)) return;
  const TJValue& pattern = (*param)[0];
  if (pattern.ValueType() == vtRegExp) {
    SetRegExpValue(pattern);
    return;
  }
  try {
    regexp_.SetSource(AsString(&pattern));
  } catch (const EJError&) {
    // a pattern that cannot be read stays empty
  }
  if (IsParam2(param)) setFlags(AsString(&(*param)[1]));
}

void TJRegExpObject::setFlags(std::string_view flags) {
  if (rt::utf8::charCount(flags) > 3) return;  // a longer text is no flag text at all
  regexp_.SetIgnoreCase(flags.find('i') != std::string_view::npos);
  regexp_.global = flags.find('g') != std::string_view::npos;
  regexp_.SetMultiline(flags.find('m') != std::string_view::npos);
}

void TJRegExpObject::ClearMatch() {
  for (int i = 0; i <= 9; ++i) RegistProperty("$" + std::to_string(i), TJValue::String(""));
  regexp_.Reset();
}

void TJRegExpObject::SetDollarMembers() {
  for (size_t i = 0; i < regexp_.groups.size(); ++i)
    RegistProperty("$" + std::to_string(i), TJValue::String(regexp_.groups[i]));
}

void TJRegExpObject::SetRegExpValue(const TJValue& value) {
  if (value.ValueType() != vtRegExp) {
    regexp_.SetSource(AsString(&value));
    return;
  }
  regexp_.SetSource(value.vString());
  std::string_view flags = value.vRegExpFlags();
  regexp_.SetMultiline(flags.find('m') != std::string_view::npos);
  regexp_.global = flags.find('g') != std::string_view::npos;
  regexp_.SetIgnoreCase(flags.find('i') != std::string_view::npos);
}

bool TJRegExpObject::TestValue(const TJValue& value) {
  TJKeepAlive keep(this);
  ClearMatch();
  if (OnBeforeMatch) OnBeforeMatch(this);
  bool matched = regexp_.Test(AsString(&value));
  SetDollarMembers();
  if (OnAfterMatch) OnAfterMatch(this);
  return matched;
}

void TJRegExpObject::Assign(const TJRegExpObject& source) {
  regexp_.Assign(source.regexp_);
  SetDollarMembers();
}

void TJRegExpObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("exec", &TJRegExpObject::DoExec);
  RegistMethod("test", &TJRegExpObject::DoTest);
  RegistMethod("replace", &TJRegExpObject::DoReplace);
  RegistMethod("split", &TJRegExpObject::DoSplit);
}

void TJRegExpObject::Clear() {
  TJObject::Clear();
  ClearMatch();
}

std::string TJRegExpObject::ToString(const TJValue*) {
  std::string text = "/" + regexp_.Source() + "/";
  if (regexp_.IgnoreCase()) text += 'i';
  if (regexp_.global) text += 'g';
  if (regexp_.Multiline()) text += 'm';
  return text;
}

namespace {

TJValue makeArray(TJBaseEngine* engine, const std::vector<std::string>& items) {
  if (!engine) return TJValue::Null();
  TJValueList list;
  for (const std::string& item : items) list.AddString(item);
  return TJValue::Object(engine->MakeArray(list));
}

}  // namespace

void TJRegExpObject::DoExec(TJValueList* args, TJValue& result) {
  TJKeepAlive keep(this);
  result.SetNull();
  ClearMatch();
  if (OnBeforeMatch) OnBeforeMatch(this);
  std::string subject;
  if (IsParam1(args))
    subject = AsString(&(*args)[0]);
  else if (OnGetInput)
    subject = OnGetInput();
  std::vector<std::string> matches;
  if (!regexp_.Exec(subject, &matches)) return;
  result = makeArray(Engine(), matches);
  SetDollarMembers();
  if (OnAfterMatch) OnAfterMatch(this);
}

void TJRegExpObject::DoTest(TJValueList* args, TJValue& result) {
  bool matched = IsParam1(args) && TestValue((*args)[0]);
  result.SetBool(matched);
}

void TJRegExpObject::DoReplace(TJValueList* args, TJValue& result) {
  TJKeepAlive keep(this);
  result.SetString("");
  if (!IsParam1(args)) return;
  TJValue ignored;
  DoTest(args, ignored);
  std::string subject = AsString(&(*args)[0]);
  TJValue replacement;
  if (IsParam2(args)) replacement = (*args)[1];
  if (IsFunction(&replacement)) {
    TJRegExp::ReplaceCallback callback = [this, &replacement](TJRegExp& re) -> std::string {
      // Whole match, groups, position and input of this match, with this object as `this`.
      TJValueList callArgs;
      for (const std::string& group : re.groups) callArgs.AddString(group);
      callArgs.AddInteger(re.index);
      callArgs.AddString(re.input);
      TJValue answer;
      if (auto* engine = dynamic_cast<TJEngine*>(Engine()))
        engine->CallFunction(replacement, &callArgs, answer, this);
      else if (Engine())
        Engine()->CallHandler(replacement, &callArgs, answer, this);
      return AsString(&answer);
    };
    result.SetString(regexp_.Replace(subject, {}, &callback));
  } else {
    result.SetString(regexp_.Replace(subject, AsString(&replacement), nullptr));
  }
}

void TJRegExpObject::DoSplit(TJValueList* args, TJValue& result) {
  std::vector<std::string> pieces;
  if (IsParam1(args)) {
    int32_t limit = IsParam2(args) ? AsInteger(&(*args)[1]) : kNoLimit;
    regexp_.Split(AsString(&(*args)[0]), pieces, limit);
  }
  result = makeArray(Engine(), pieces);
}

// ---------------------------------------------------------------------------------------------
// The engine-wide object

void InstallRegExp() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  TJEngineExtensions& ext = EngineExtensions();
  ext.MakeRegExp = [](TJEngine& engine) -> TJObject* {
    return TJObject::Create<TJRegExpObject>(&engine, nullptr, false);
  };
  ext.NewObjectBinders.push_back([](TJEngine& engine, TJObject* object) {
    auto* regexp = dynamic_cast<TJRegExpObject*>(object);
    if (!regexp) return;
    auto engineWide = [&engine]() { return dynamic_cast<TJRegExpObject*>(engine.RegExpObject()); };
    regexp->OnBeforeMatch = [engineWide](TJRegExpObject* self) {
      TJRegExpObject* all = engineWide();
      if (all && all != self) all->ClearMatch();
    };
    regexp->OnAfterMatch = [engineWide](TJRegExpObject* self) {
      TJRegExpObject* all = engineWide();
      if (all && all != self) all->Assign(*self);
    };
    regexp->OnGetInput = [engineWide]() -> std::string {
      TJRegExpObject* all = engineWide();
      return all ? all->input() : std::string();
    };
  });
}

}  // namespace stdlib
