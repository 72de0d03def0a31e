#include "script/stdlib/regexp_object.h"

#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"

namespace stdlib {

using namespace engine;

namespace {

constexpr int32_t kNoLimit = 2147483646;
constexpr int kModifierI = 1, kModifierR = 2, kModifierM = 5;

// A text value to search: a string is shared as it is, anything else becomes its text.
TJValue textValue(const TJValue& value) {
  if (value.ValueType() == vtString) return value;
  return TJValue::String(AsString(&value));
}

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
  spans_.clear();
  values_.clear();
  subject_.Clear();
}

void TJRegExp::Forget() {
  Reset();
  input_.Clear();
  searched_.Clear();
}

void TJRegExp::raiseTooComplex(const regex::ERegExpr& e) const {
  ThrowError(jeRegExpr, {e.message(), Source()});
}

std::string TJRegExp::Group(size_t i) const {
  if (i >= spans_.size() || spans_[i].start < 0) return std::string();
  std::string_view text = subject_.vString();
  return std::string(text.substr(size_t(spans_[i].start), size_t(spans_[i].end - spans_[i].start)));
}

const std::vector<TJValue>& TJRegExp::GroupValues() const {
  if (values_.size() == spans_.size()) return values_;
  std::string_view text = subject_.vString();
  values_.clear();
  for (const Span& span : spans_) {
    if (span.start < 0)
      values_.push_back(TJValue::String(""));
    else if (span.start == 0 && size_t(span.end) == text.size())
      values_.push_back(subject_);
    else
      values_.push_back(TJValue::String(text.substr(size_t(span.start), size_t(span.end - span.start))));
  }
  return values_;
}

std::string TJRegExp::LeftContext() const {
  if (spans_.empty() || spans_[0].start < 0) return std::string();
  return std::string(subject_.vString().substr(0, size_t(spans_[0].start)));
}

std::string TJRegExp::RightContext() const {
  if (spans_.empty() || spans_[0].start < 0) return std::string();
  return std::string(subject_.vString().substr(size_t(spans_[0].end)));
}

void TJRegExp::RecordMatch(const regex::TRegExpr& engine, const TJValue& subject) {
  // Character positions come from the subject's text, which keeps its count and an index of
  // positions for every search of it.
  index = lastIndex = -1;
  int64_t start = engine.GroupBytePos(0), length = engine.GroupByteLen(0);
  const TJStringRep* rep = subject.vStringRep();
  if (start >= 0) {
    index = rep ? int32_t(rep->CharOfByte(size_t(start))) : 0;
    if (length >= 0) lastIndex = rep ? int32_t(rep->CharOfByte(size_t(start + length))) : 0;
  }
  if (subject_.vStringRep() != rep) subject_ = subject;
  int last = std::max(engine.LastGroup(), 0);
  values_.clear();
  spans_.resize(size_t(last) + 1);
  for (int i = 0; i <= last; ++i) {
    int64_t from = engine.GroupBytePos(i), bytes = engine.GroupByteLen(i);
    spans_[size_t(i)] = from < 0 || bytes < 0 ? Span{-1, -1} : Span{from, from + bytes};
  }
}

void TJRegExp::addMatch(TJValueList& list) const {
  list.AddString(searched_.vString().substr(size_t(engine_->GroupBytePos(0)), size_t(engine_->GroupByteLen(0))));
}

bool TJRegExp::search(const TJValue& subject, TJValueList* list, bool all) {
  input_ = textValue(subject);
  if (list) list->Clear();
  // The state's input may change under a hook; the search holds the text it reads.
  searched_ = input_;
  bool matched = false;
  try {
    if (!engine_->ExecBorrowed(searched_.vString())) return false;
    matched = true;
    // Only the last match becomes the state (no script runs in between); the list takes every
    // whole match on the way.
    if (list) addMatch(*list);
    if (all && list) {
      while (engine_->ExecFurther()) addMatch(*list);
    } else if (all) {
      engine_->ExecToLast();
    }
    RecordMatch(*engine_, searched_);
    return true;
  } catch (const regex::ERegExpr& e) {
    // A search that stops on an error leaves the last match it found as the state.
    if (matched) RecordMatch(*engine_, searched_);
    if (e.ErrorCode == regex::reeMatchTooComplex) raiseTooComplex(e);
    return false;
  }
}

bool TJRegExp::Exec(const TJValue& subject, TJValueList* list) { return search(subject, list, global); }

bool TJRegExp::Test(const TJValue& subject) { return search(subject, nullptr, global); }

std::string TJRegExp::Replace(const TJValue& subject, std::string_view templ, const ReplaceCallback* callback,
                              bool tested) {
  TJValue held = textValue(subject);
  tested = tested && !global && engine_->IsCompiled() && input_.vStringRep() == held.vStringRep();
  input_ = held;
  std::string_view text = held.vString();
  std::string result;
  if (tested) {
    // The match of the test is the first one of this text: it is replaced as it stands (the
    // engine still holds it for the template).
    if (spans_.empty()) return std::string(text);
    size_t start = size_t(spans_[0].start), end = size_t(spans_[0].end);
    result.append(text.substr(0, start));
    result += callback ? (*callback)(*this) : engine_->ExpandTemplate(templ);
    result.append(text.substr(end));
    return result;
  }
  // A callback runs script code that may use this object again (search, replace, change the
  // pattern): the search then runs on a private engine of its own.
  std::unique_ptr<regex::TRegExpr> own;
  regex::TRegExpr* engine = engine_.get();
  if (callback) {
    own = std::make_unique<regex::TRegExpr>();
    own->SetExpression(engine_->Expression());
    own->SetModifiers(engine_->Modifiers());
    engine = own.get();
  } else {
    searched_ = held;
  }
  try {
    size_t pos = 0;
    if (engine->ExecBorrowed(text)) {
      bool more = global;  // read once: a callback that changes the flag does not change this run
      do {
        size_t start = size_t(engine->GroupBytePos(0));
        size_t length = size_t(engine->GroupByteLen(0));
        if (start > pos) result.append(text.substr(pos, start - pos));
        RecordMatch(*engine, held);
        if (callback)
          result += (*callback)(*this);
        else
          result += engine->ExpandTemplate(templ);
        pos = start + length;
      } while (more && engine->ExecNext());
    }
    if (pos < text.size()) result.append(text.substr(pos));
  } catch (const regex::ERegExpr& e) {
    if (e.ErrorCode == regex::reeMatchTooComplex) raiseTooComplex(e);
    // what was built before the error stands
  }
  return result;
}

bool TJRegExp::Split(const TJValue& subject, TJValueList& list, int32_t limit) {
  input_ = textValue(subject);
  searched_ = input_;
  list.Clear();
  std::string_view text = searched_.vString();
  bool ok = true;
  try {
    // The pieces between the matches, and the rest after the last one.
    size_t prev = 0;
    for (bool found = engine_->ExecBorrowed(text); found; found = engine_->ExecNext()) {
      size_t start = size_t(engine_->GroupBytePos(0));
      list.AddString(text.substr(prev, start - prev));
      prev = start + size_t(engine_->GroupByteLen(0));
    }
    list.AddString(text.substr(prev));
  } catch (const regex::ERegExpr& e) {
    if (e.ErrorCode == regex::reeMatchTooComplex) raiseTooComplex(e);
    ok = false;
  }
  if (limit >= 0 && limit < list.Count()) list.SetCount(limit);
  return ok;
}

void TJRegExp::Assign(const TJRegExp& other) {
  if (&other == this) return;
  index = other.index;
  lastIndex = other.lastIndex;
  subject_ = other.subject_;
  spans_ = other.spans_;
  values_ = other.GroupValues();
  SetIgnoreCase(other.IgnoreCase());
  global = other.global;
  SetSource(other.Source());
  SetMultiline(other.Multiline());
  input_ = other.input_;
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
  dollarsPending_ = false;
  dollars_.Blank(*this);
  regexp_.Reset();
}

void TJRegExpObject::BeginMirroredMatch() {
  regexp_.Reset();
  dollarsPending_ = true;
}

void TJRegExpObject::EndWithoutMatch() {
  if (!dollarsPending_) return;
  dollarsPending_ = false;
  dollars_.DeferBlank(*this);
}

void TJRegExpObject::SetDollarMembers() { dollars_.Write(*this, regexp_.GroupValues(), false); }

void TJRegExpObject::ReplaceDollarMembers() { dollars_.Defer(*this, regexp_.GroupValues()); }

void TJRegExpObject::writeGroupMembers() {
  if (!lazyDollars_) ReplaceDollarMembers();
}

void TJRegExpObject::blankGroupMembers() {
  if (!lazyDollars_) dollars_.DeferBlank(*this);
}

void TJRegExpObject::groupMembersSeen() {
  if (!lazyDollars_) return;
  lazyDollars_ = false;
  ReplaceDollarMembers();
}

template <class Search>
bool TJRegExpObject::matchBetweenHooks(Search&& search, bool afterHookOnFailure) {
  TJKeepAlive keep(this);
  regexp_.Reset();
  if (OnBeforeMatch) OnBeforeMatch(this);
  bool matched = false;
  try {
    matched = search();
  } catch (...) {
    blankGroupMembers();
    if (OnNoMatch) OnNoMatch(this);
    throw;
  }
  if (!matched && !afterHookOnFailure) {
    blankGroupMembers();
    if (OnNoMatch) OnNoMatch(this);
    return false;
  }
  writeGroupMembers();
  if (OnAfterMatch) OnAfterMatch(this);
  return matched;
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
  return matchBetweenHooks([&] { return regexp_.Test(value); }, true);
}

void TJRegExpObject::Assign(const TJRegExpObject& source) {
  regexp_.Assign(source.regexp_);
  if (dollarsPending_) {
    dollarsPending_ = false;
    ReplaceDollarMembers();
  } else {
    SetDollarMembers();
  }
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
  dollars_.Forget();  // the members are gone
  ClearMatch();
}

void TJRegExpObject::Dispose() {
  dollars_.Forget();
  TJObject::Dispose();
}

bool TJRegExpObject::AdoptValue(const TJValue& value) {
  regexp_.Forget();
  dollarsPending_ = false;
  if (value.ValueType() == vtRegExp) {
    // The group members a script could see now are those of no match: blank.
    lazyDollars_ = true;
    SetRegExpValue(value);
    return true;
  }
  return !dollars_.Changed() && NativesIntact();
}

void TJRegExpObject::ValueOf(TJValue& value) {
  groupMembersSeen();
  TJObject::ValueOf(value);
}

bool TJRegExpObject::GetValue(std::string_view name, TJValue& value, TJValueList* param) {
  if (!name.empty() && name[0] == '$') dollars_.Settle(*this);
  return TJObject::GetValue(name, value, param);
}

bool TJRegExpObject::SetValue(std::string_view name, const TJValue& value, TJValueList* param) {
  dollars_.Touched(*this);
  return TJObject::SetValue(name, value, param);
}

bool TJRegExpObject::RemoveKey(std::string_view name) {
  dollars_.Touched(*this);
  return TJObject::RemoveKey(name);
}

std::string TJRegExpObject::ToString(const TJValue*) {
  std::string text = "/" + regexp_.Source() + "/";
  if (regexp_.IgnoreCase()) text += 'i';
  if (regexp_.global) text += 'g';
  if (regexp_.Multiline()) text += 'm';
  return text;
}

namespace {

TJValue makeArray(TJBaseEngine* engine, const TJValueList& items) {
  if (!engine) return TJValue::Null();
  return TJValue::Object(engine->MakeArray(items));
}

}  // namespace

void TJRegExpObject::DoExec(TJValueList* args, TJValue& result) {
  result.SetNull();
  matchBetweenHooks([&] {
    TJValue subject = TJValue::String("");
    if (IsParam1(args))
      subject = (*args)[0];
    else if (OnGetInput)
      subject = OnGetInput();
    TJValueList matches;
    if (!regexp_.Exec(subject, &matches)) return false;
    result = makeArray(Engine(), matches);
    return true;
  }, false);
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
  TJValue subject = (*args)[0];
  // A text was searched as it is by the test: its match stands for the first one of the replace.
  bool tested = subject.ValueType() == vtString;
  TJValue replacement;
  if (IsParam2(args)) replacement = (*args)[1];
  if (IsFunction(&replacement)) {
    groupMembersSeen();
    TJRegExp::ReplaceCallback callback = [this, &replacement](TJRegExp& re) -> std::string {
      // Whole match, groups, position and input of this match, with this object as `this`.
      TJValueList callArgs;
      for (const TJValue& group : re.GroupValues()) callArgs.Add(group);
      callArgs.AddInteger(re.index);
      callArgs.Add(re.InputValue());
      TJValue answer;
      if (auto* engine = dynamic_cast<TJEngine*>(Engine()))
        engine->CallFunction(replacement, &callArgs, answer, this);
      else if (Engine())
        Engine()->CallHandler(replacement, &callArgs, answer, this);
      return AsString(&answer);
    };
    result.SetString(regexp_.Replace(subject, {}, &callback, tested));
  } else {
    result.SetString(regexp_.Replace(subject, AsString(&replacement), nullptr, tested));
  }
}

void TJRegExpObject::DoSplit(TJValueList* args, TJValue& result) {
  TJValueList pieces;
  if (IsParam1(args)) {
    int32_t limit = IsParam2(args) ? AsInteger(&(*args)[1]) : kNoLimit;
    regexp_.Split((*args)[0], pieces, limit);
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
  ext.NewObjectBinders.push_back({&TJRegExpObject::StaticClassInfo(), [](TJEngine& engine, TJObject* object) {
    auto* regexp = dynamic_cast<TJRegExpObject*>(object);
    if (!regexp) return;
    auto engineWide = [&engine]() { return dynamic_cast<TJRegExpObject*>(engine.RegExpObject()); };
    regexp->OnBeforeMatch = [engineWide](TJRegExpObject* self) {
      TJRegExpObject* all = engineWide();
      if (all && all != self) all->BeginMirroredMatch();
    };
    regexp->OnNoMatch = [engineWide](TJRegExpObject* self) {
      TJRegExpObject* all = engineWide();
      if (all && all != self) all->EndWithoutMatch();
    };
    regexp->OnAfterMatch = [engineWide](TJRegExpObject* self) {
      TJRegExpObject* all = engineWide();
      if (all && all != self) all->Assign(*self);
    };
    regexp->OnGetInput = [engineWide]() -> TJValue {
      TJRegExpObject* all = engineWide();
      return all ? all->RegExp().InputValue() : TJValue::String("");
    };
  }});
}

}  // namespace stdlib
