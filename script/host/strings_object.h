// String-list objects for scripts.
//
// TJBaseStringsObject shows scripts a framework line list that somebody else owns: a memo's lines,
// a list box's items, the names a directory or mail object collected. Code that hands such a list
// to a script calls WrapStrings:
//
//   engine::TJValue v;
//   v.SetObject(host::WrapStrings(engine, &memo->Lines()));
//
// The wrapper never owns the list. It watches the list's liveness token, so when the owner frees
// the list while a script still holds the wrapper, every member raises "EStringsError"
// "strings is null" instead of touching freed memory; a wrapper made with no list behaves the same.
//
// TJStringsObject (script constructor "Strings") is the same object with a TStringList of its own
// and the sorting switches `sorted`, `caseSensitive` and `duplicates`. C++ code that answers a
// list it builds itself makes one with NewStringsObject and fills List().
//
// Both are indexed: `list[i]` reads and writes line i, for-in visits the lines, `length` counts them.
// Every failure of the list (a bad index, a file that cannot be read or written) reaches the script
// as a script error, never as a C++ exception.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fw/strings.h"
#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJBaseStringsObject : public engine::TJObject {
  RT_CLASS(TJBaseStringsObject)
 public:
  TJBaseStringsObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  static bool IsIndexedClass() { return true; }

  // The wrapped list, or null when there is none or its owner has freed it.
  fw::TStrings* Strings() const;
  // Points the wrapper at another list (null allowed). The list must outlive the wrapper or be
  // freed by its owner, which the wrapper notices. An owner that points the wrapper away before
  // the list goes says `watch` false: the wrapper then spares itself the liveness check.
  void SetStrings(fw::TStrings* strings, bool watch = true);
  // The wrapped list; raises "EStringsError" "strings is null" when there is none.
  fw::TStrings& CheckStrings() const;

  // Published properties.
  std::string Text() const;
  void SetText(std::string text);
  std::string CommaText() const;
  void SetCommaText(std::string text);
  int32_t Length() const;

  void RegistMethods() override;
  void Dispose() override;
  // Bracket access with an integer name reads and writes the line at that index; any other name
  // is an ordinary member.
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  // Without a separator the text (every line followed by CR LF); with one, every line followed by
  // the separator.
  std::string ToString(const engine::TJValue* argument) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;

  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoInsert(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoSaveToFile(engine::TJValueList* args, engine::TJValue& result);
  void DoLoadFromFile(engine::TJValueList* args, engine::TJValue& result);
  void DoAssign(engine::TJValueList* args, engine::TJValue& result);
  void DoAddStrings(engine::TJValueList* args, engine::TJValue& result);

 protected:
  // The texts a value stands for in addStrings: the lines of a string-list object, or the items of
  // any other indexed object; false for an object that is neither.
  static bool CollectLines(const engine::TJValue& value, std::vector<std::string>& lines);
  void AddLines(engine::TJValueList* args);

 private:
  fw::TStrings* strings_ = nullptr;
  std::weak_ptr<const void> alive_;
  bool watched_ = false;
};

class TJStringsObject : public TJBaseStringsObject {
  RT_CLASS(TJStringsObject)
 public:
  TJStringsObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJStringsObject() override;

  // The object's own list (null once the object is disposed).
  fw::TStringList* List() const { return list_.get(); }

  // Published properties.
  bool Sorted() const;
  void SetSorted(bool sorted);
  bool CaseSensitive() const;
  void SetCaseSensitive(bool value);
  bool Duplicates() const;
  void SetDuplicates(bool accept);

  void RegistMethods() override;
  void Dispose() override;

  void DoSort(engine::TJValueList* args, engine::TJValue& result);

 private:
  fw::TStringList& checkList() const;

  std::unique_ptr<fw::TStringList> list_;
};

// A new script value for `strings`, a list owned elsewhere (see the top of this file).
TJBaseStringsObject* WrapStrings(engine::TJBaseEngine* engine, fw::TStrings* strings);
// A new "Strings" object owning a list filled with `lines`.
TJStringsObject* NewStringsObject(engine::TJBaseEngine* engine, const std::vector<std::string>& lines = {});

}  // namespace host
