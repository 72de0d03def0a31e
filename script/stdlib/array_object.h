// The script class "Array": an indexed object whose items are script values. The interpreter makes
// one for every array literal and `new Array(...)`; other objects hand lists back to scripts in
// arrays (names, split and match results, argument lists).
//
// Bracket access with an integer text (a[3], a["$10"]) reads or replaces an item; an index at or
// beyond the end first grows the array to hold it, also on a read. Everything else (dot access,
// other names) is an ordinary member.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/core/object.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace stdlib {

class TJArrayObject : public engine::TJObject {
  RT_CLASS(TJArrayObject)
 public:
  TJArrayObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  static bool IsIndexedClass() { return true; }

  engine::TJValueList& Items() { return items_; }
  // Appends a copy; returns its index.
  int32_t Add(const engine::TJValue& value) { return items_.Add(value); }
  // Inserts before the item at the index (0..count).
  void InsertItem(int32_t index, const engine::TJValue& value);
  // Removes the item; "EIndexError" (empty message) when there is none.
  void DeleteItem(int32_t index);
  // Pads with undefined or cuts from the end; a negative length empties the array.
  void SetLength(int64_t length) { items_.SetCount(length); }

  // Published: length.
  int32_t length() const { return items_.Count(); }
  void setLength(int32_t length) { SetLength(length); }

  void RegistMethods() override;
  void Clear() override;
  void Dispose() override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  // The items joined by ",".
  std::string ToString(const engine::TJValue* argument) override;
  void ValueOf(engine::TJValue& value) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override { return items_.Count(); }
  void GetItem(int32_t index, engine::TJValue& value) override;
  // a[i] and a[i] = v with a number i that names an item: as GetMember / PutMember with its text.
  bool ReadItem(const engine::TJValue& key, engine::TJValue& value) override;
  bool WriteItem(const engine::TJValue& key, const engine::TJValue& value) override;

  // The items' texts joined by the separator; undefined and null items give empty text. An array
  // met again while its own text is being made (one that holds itself) gives empty text.
  std::string Join(std::string_view separator);

  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoSort(engine::TJValueList* args, engine::TJValue& result);
  void DoConcat(engine::TJValueList* args, engine::TJValue& result);
  void DoJoin(engine::TJValueList* args, engine::TJValue& result);
  void DoPop(engine::TJValueList* args, engine::TJValue& result);
  void DoPush(engine::TJValueList* args, engine::TJValue& result);
  void DoReverse(engine::TJValueList* args, engine::TJValue& result);
  void DoShift(engine::TJValueList* args, engine::TJValue& result);
  void DoSlice(engine::TJValueList* args, engine::TJValue& result);
  void DoSplice(engine::TJValueList* args, engine::TJValue& result);
  void DoUnshift(engine::TJValueList* args, engine::TJValue& result);
  void DoAssign(engine::TJValueList* args, engine::TJValue& result);

 private:
  // A new array of this array's engine.
  TJArrayObject* NewArray();
  // The item at an index of at least 0, growing the array to reach it.
  void readAt(int32_t index, engine::TJValue& value);
  void writeAt(int32_t index, const engine::TJValue& value);

  engine::TJValueList items_;
};

}  // namespace stdlib
