// Regular expressions for scripts.
//
// TJRegExp is the support object behind every script-side regular expression (the RegExp class,
// the String methods, host objects that read their own text forms): one compiled pattern, the
// `global` flag (whether exec and replace go on after the first match) and the state of the last
// match. TJRegExpObject is the script class "RegExp". Positions are 0-based character indexes.
//
// The engine owns one more RegExp object, bound to the name "RegExp": every RegExp object made
// with the factory is hooked to it, so after any match it mirrors that match (pattern, flags,
// input, positions, contexts, groups).
//
// An invalid pattern never raises to the script: exec answers null, test false, replace the text
// built so far, split the pieces found so far. A search that runs out of the engine's work or
// stack budget does raise ("ERegExpr", naming the pattern): its answer would be wrong.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/regexpr.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/core/value_list.h"
#include "script/stdlib/regexp_members.h"

namespace engine {
class TJEngine;
}

namespace stdlib {

class TJRegExp {
 public:
  TJRegExp();
  TJRegExp(const TJRegExp&) = delete;
  TJRegExp& operator=(const TJRegExp&) = delete;

  // The text a replacement callback inserts for the match just recorded in `regexp`.
  using ReplaceCallback = std::function<std::string(TJRegExp& regexp)>;

  // Match state back to "no match"; pattern, flags and input stay.
  void Reset();
  // Reset, and the input and every text held for the last search let go.
  void Forget();
  // Searches `input`; with `global` every further match too. `list` (when given) receives every
  // whole match. False (state unchanged) when nothing matched or the pattern is invalid. A text
  // held by a value is searched in place, never copied.
  bool Exec(const engine::TJValue& input, engine::TJValueList* list);
  bool Exec(std::string_view input, engine::TJValueList* list) { return Exec(engine::TJValue::String(input), list); }
  // Exec without a list: with `global` the state ends on the last match, as after exec.
  bool Test(const engine::TJValue& input);
  bool Test(std::string_view input) { return Test(engine::TJValue::String(input)); }
  // The input with its first match (every match with `global`) replaced by the expansion of
  // `templ`, or by what `callback` answers. The callback may use this object again (even replace
  // with it): the search runs on a private copy of the pattern. `tested`: the state is that of a
  // search of this same text just made (test), so without `global` its match (or none) is the one
  // to replace and is not searched for again.
  std::string Replace(const engine::TJValue& input, std::string_view templ, const ReplaceCallback* callback,
                      bool tested = false);
  std::string Replace(std::string_view input, std::string_view templ, const ReplaceCallback* callback) {
    return Replace(engine::TJValue::String(input), templ, callback);
  }
  // The pieces of `input` between the matches, the first `limit` of them (a negative limit: all).
  // False when the pattern is invalid (the pieces found before stay in the list).
  bool Split(const engine::TJValue& input, engine::TJValueList& list, int32_t limit);
  bool Split(std::string_view input, engine::TJValueList& list, int32_t limit) {
    return Split(engine::TJValue::String(input), list, limit);
  }
  // Notes the current match of `engine` (searching `subject`) as the state: by positions; the
  // texts are cut from the subject when asked for.
  void RecordMatch(const regex::TRegExpr& engine, const engine::TJValue& subject);
  // Match state, flags, pattern and input of another regular expression.
  void Assign(const TJRegExp& other);

  bool IgnoreCase() const { return engine_->Modifiers() & regex::kModI; }
  void SetIgnoreCase(bool on) { engine_->WriteModifier(1, on); }
  bool Multiline() const { return engine_->Modifiers() & regex::kModM; }
  void SetMultiline(bool on) { engine_->WriteModifier(5, on); }
  const std::string& Source() const { return engine_->Expression(); }
  void SetSource(std::string_view source) { engine_->SetExpression(source); }
  regex::TRegExpr& Engine() { return *engine_; }

  // The state of the last match.
  std::string LastMatch() const { return Group(0); }
  std::string LeftContext() const;
  std::string RightContext() const;
  // The highest group's text; empty without groups.
  std::string LastParen() const { return spans_.size() > 1 ? Group(spans_.size() - 1) : std::string(); }
  // Whole match and groups: 0 when nothing is recorded, else the highest group + 1.
  size_t GroupCount() const { return spans_.size(); }
  std::string Group(size_t i) const;
  // Whole match and groups as text values (a group that spans all of the subject shares it),
  // made once per match.
  const std::vector<engine::TJValue>& GroupValues() const;
  // The text the last exec, replace or split worked on (or a script set).
  std::string Input() const { return std::string(input_.vString()); }
  const engine::TJValue& InputValue() const { return input_; }
  void SetInput(std::string_view text) { input_.SetString(text); }

  bool global = false;
  int32_t index = -1;      // start of the last match
  int32_t lastIndex = -1;  // just past the last match

 private:
  struct Span {
    int64_t start, end;  // bytes of the subject; -1 for a group that took no part
  };
  [[noreturn]] void raiseTooComplex(const regex::ERegExpr& e) const;
  bool search(const engine::TJValue& input, engine::TJValueList* list, bool all);
  // The current match of engine_ in searched_, added to `list`.
  void addMatch(engine::TJValueList& list) const;

  std::unique_ptr<regex::TRegExpr> engine_;
  engine::TJValue input_;
  engine::TJValue subject_;   // the text of the recorded match
  engine::TJValue searched_;  // the text engine_ reads in place
  std::vector<Span> spans_;
  mutable std::vector<engine::TJValue> values_;  // GroupValues, empty until asked for
};

class TJRegExpObject : public engine::TJObject {
  RT_CLASS(TJRegExpObject)
 public:
  // new RegExp(pattern [, flags]) or new RegExp(/literal/flags). Flags: a text of at most three
  // characters; "i" ignoreCase, "g" global, "m" multiline, other letters ignored.
  TJRegExpObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  TJRegExp& RegExp() { return regexp_; }

  // Hooks (set on factory-made objects by the engine): before and after a match, and the input
  // of exec without an argument.
  std::function<void(TJRegExpObject*)> OnBeforeMatch;
  std::function<void(TJRegExpObject*)> OnAfterMatch;
  // Instead of the after hook when a match ends without a result (nothing found, or an error).
  std::function<void(TJRegExpObject*)> OnNoMatch;
  std::function<engine::TJValue()> OnGetInput;

  // Published.
  bool ignoreCase() const { return regexp_.IgnoreCase(); }
  void setIgnoreCase(bool on) { regexp_.SetIgnoreCase(on); }
  bool global() const { return regexp_.global; }
  void setGlobal(bool on) { regexp_.global = on; }
  std::string source() const { return regexp_.Source(); }
  void setSource(std::string text) { regexp_.SetSource(text); }
  bool multiline() const { return regexp_.Multiline(); }
  void setMultiline(bool on) { regexp_.SetMultiline(on); }
  std::string input() const { return regexp_.Input(); }
  void setInput(std::string text) { regexp_.SetInput(text); }
  int32_t index() const { return regexp_.index; }
  int32_t lastIndex() const { return regexp_.lastIndex; }
  std::string lastMatch() const { return regexp_.LastMatch(); }
  std::string lastParen() const { return regexp_.LastParen(); }
  std::string leftContext() const { return regexp_.LeftContext(); }
  std::string rightContext() const { return regexp_.RightContext(); }

  // "$0" .. "$9" emptied, then the match state reset.
  void ClearMatch();
  // ClearMatch for a match of another object that this one mirrors: the group members change
  // only once the match ends, by Assign (to its groups) or EndWithoutMatch (emptied).
  void BeginMirroredMatch();
  void EndWithoutMatch();
  // "$i" := group i for every group of the last match.
  void SetDollarMembers();
  // ClearMatch and SetDollarMembers in one (the members written when next read).
  void ReplaceDollarMembers();
  // Pattern and flags of a literal (or the text of any other value as the pattern).
  void SetRegExpValue(const engine::TJValue& value);
  // The test of the value's text, with both hooks around it.
  bool TestValue(const engine::TJValue& value);
  // Takes over another RegExp object's pattern, flags and match.
  void Assign(const TJRegExpObject& source);

  // A regular-expression value: pattern and flags as new RegExp(value) takes them, no match, no
  // input. An empty value: the object lets go of its texts, answering whether it is still as good
  // as new (no member written or removed by a script, no native read as a member).
  bool AdoptValue(const engine::TJValue& value) override;
  bool GetValue(std::string_view name, engine::TJValue& value, engine::TJValueList* param) override;
  bool SetValue(std::string_view name, const engine::TJValue& value, engine::TJValueList* param) override;
  void ValueOf(engine::TJValue& value) override;
  bool RemoveKey(std::string_view name) override;
  void Dispose() override;

  void RegistMethods() override;
  void Clear() override;
  std::string ToString(const engine::TJValue* argument) override;

  void DoExec(engine::TJValueList* args, engine::TJValue& result);
  void DoTest(engine::TJValueList* args, engine::TJValue& result);
  void DoReplace(engine::TJValueList* args, engine::TJValue& result);
  void DoSplit(engine::TJValueList* args, engine::TJValue& result);

 private:
  void setFlags(std::string_view flags);
  bool dollarsPending_ = false;  // a mirrored match began: the group members wait for its end
  TJGroupMembers dollars_;
  // Lent to a value and not yet seen by a script (as `this` of a replace callback or the result of
  // valueOf): the group members are left as they are until it is seen.
  bool lazyDollars_ = false;
  void groupMembersSeen();
  void writeGroupMembers();
  void blankGroupMembers();
  // Runs `search` between the hooks with the match state cleared before it; the group members
  // change once, after it (emptied when it raises or finds nothing).
  template <class Search>
  bool matchBetweenHooks(Search&& search, bool afterHookOnFailure);

  TJRegExp regexp_;
};

// The engine-wide RegExp object and the hooks that tie every new RegExp object to it.
void InstallRegExp();

}  // namespace stdlib
