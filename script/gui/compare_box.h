// The result box a sort hands a script comparer (`onCompare` of list and tree views): a Number
// object without the class constants every Number instance carries. A sort asks for one per
// comparison, so a box the handler neither kept nor touched beyond its value serves the next
// comparison too (it cannot be told from a new one).
#pragma once

#include <cstdint>

#include "script/core/object.h"

namespace gui {

class TCompareBoxSlot {
 public:
  // A box holding `value`: the one from the last comparison when it is as good as new.
  engine::TJObject* Box(engine::TJBaseEngine* engine, int32_t value);
  void Reset() { box_.reset(); }

 private:
  engine::TJRef<engine::TJObject> box_;
};

}  // namespace gui
