#include "script/stdlib/regexp_members.h"

#include <string>

namespace stdlib {

using namespace engine;

namespace {

const char* const kNames[TJGroupMembers::kNamed] = {"$0", "$1", "$2", "$3", "$4", "$5", "$6", "$7", "$8", "$9"};

const TJValue& blankText() {
  static const TJValue blank = TJValue::String("");
  return blank;
}

}  // namespace

void TJGroupMembers::write(TJObject& owner, size_t i, const TJValue& value) {
  if (i >= kNamed) {
    extra_ = true;
    owner.RegistProperty("$" + std::to_string(i), value);
    return;
  }
  uint16_t bit = uint16_t(1u << i);
  bool blank = value.ValueType() == vtString && value.vString().empty();
  if (blank && (blank_ & bit)) return;
  blank_ = blank ? uint16_t(blank_ | bit) : uint16_t(blank_ & ~bit);
  owner.RegistProperty(kNames[i], value);
}

void TJGroupMembers::Blank(TJObject& owner) {
  waiting_ = false;
  pending_.clear();
  for (size_t i = 0; i < kNamed; ++i) write(owner, i, blankText());
}

void TJGroupMembers::Write(TJObject& owner, const std::vector<TJValue>& groups, bool rest) {
  Settle(owner);
  for (size_t i = 0; i < groups.size(); ++i) write(owner, i, groups[i]);
  for (size_t i = groups.size(); rest && i < kNamed; ++i) write(owner, i, blankText());
}

void TJGroupMembers::Defer(TJObject& owner, const std::vector<TJValue>& groups) {
  // Members past "$9" are new names: they are made at once, as is everything once a script has
  // changed the members itself.
  if (touched_ || groups.size() > kNamed || owner.IsDisposed()) {
    Write(owner, groups, true);
    return;
  }
  pending_.assign(groups.begin(), groups.end());
  waiting_ = true;
}

void TJGroupMembers::DeferBlank(TJObject& owner) {
  if (touched_ || owner.IsDisposed()) {
    Blank(owner);
    return;
  }
  pending_.clear();
  waiting_ = true;
}

void TJGroupMembers::settle(TJObject& owner) {
  waiting_ = false;
  std::vector<TJValue> groups;
  groups.swap(pending_);
  if (owner.IsDisposed()) return;
  Write(owner, groups, true);
}

void TJGroupMembers::Touched(TJObject& owner) {
  Settle(owner);
  touched_ = true;
  blank_ = 0;
}

void TJGroupMembers::Forget() {
  waiting_ = false;
  pending_.clear();
  blank_ = 0;
  touched_ = extra_ = false;
}

}  // namespace stdlib
