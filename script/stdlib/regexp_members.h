// The group members of a RegExp object: "$0" .. "$9" (and "$10" .. after a match of more groups),
// which every match rewrites. Writing ten members at each match costs more than many matches, and
// most are never read: a match may leave its group texts waiting, and they are written when the
// object is next asked for a member by name (GetValue, SetValue, RemoveKey of the owner). Until a
// script writes or removes a member of its own accord, "$0" .. "$9" stay members of the owner all
// along, so that waiting changes no name a script can see, only when the texts are written.
#pragma once

#include <cstdint>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"

namespace stdlib {

class TJGroupMembers {
 public:
  static constexpr size_t kNamed = 10;  // "$0" .. "$9" always exist

  // "$0" .. "$9" := the empty text, at once (made when missing).
  void Blank(engine::TJObject& owner);
  // "$i" := groups[i] for every group, and with `rest` the empty text for the others up to "$9".
  void Write(engine::TJObject& owner, const std::vector<engine::TJValue>& groups, bool rest);
  // Write(groups, true) or Blank, when a member is next asked for (at once when that cannot wait).
  void Defer(engine::TJObject& owner, const std::vector<engine::TJValue>& groups);
  void DeferBlank(engine::TJObject& owner);
  // Writes what waits.
  void Settle(engine::TJObject& owner) {
    if (waiting_) settle(owner);
  }
  // A script writes or removes a member now: what waits is written first, and from now on every
  // change is written at once.
  void Touched(engine::TJObject& owner);
  // The members are gone (the owner cleared or disposed): nothing waits, nothing is known.
  void Forget();
  // Whether a script wrote or removed a member, or a match made members past "$9".
  bool Changed() const { return touched_ || extra_; }

 private:
  void write(engine::TJObject& owner, size_t i, const engine::TJValue& value);
  void settle(engine::TJObject& owner);

  uint16_t blank_ = 0;  // bit i: "$i" holds the empty text as written here
  bool touched_ = false;
  bool extra_ = false;
  bool waiting_ = false;                  // pending_ is to be written (with blanks after it)
  std::vector<engine::TJValue> pending_;  // the group texts that wait
};

}  // namespace stdlib
