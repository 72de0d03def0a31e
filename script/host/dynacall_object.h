// The script classes "DynaCall" and "Struct". A DynaCall object loads shared libraries and declares
// their exported functions by call signature; each declaration is a member function value
// that calls the C function. A Struct is a packed block of typed members, read and written by
// name or by index, and handed to C functions as a pointer to its own memory.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"

namespace engine {
class TJEngine;
class IJFunction;
}  // namespace engine

namespace dll {
class Library;
}

namespace host {

class TJDynaCall : public engine::TJObject {
  RT_CLASS(TJDynaCall)
 public:
  TJDynaCall(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJDynaCall() override;

  void RegistMethods() override;
  void Clear() override;
  void Dispose() override;

  void DoRegister(engine::TJValueList* args, engine::TJValue& result);
  void DoSendMessage(engine::TJValueList* args, engine::TJValue& result);
  void DoPostMessage(engine::TJValueList* args, engine::TJValue& result);
  void DoCopyMemory(engine::TJValueList* args, engine::TJValue& result);
  void DoFillMemory(engine::TJValueList* args, engine::TJValue& result);

 private:
  void unloadAll();
  std::shared_ptr<dll::Library> findLibrary(std::string_view name) const;

  std::vector<std::pair<std::string, std::shared_ptr<dll::Library>>> libraries_;  // names ignore case
};

class TJStruct : public engine::TJObject {
  RT_CLASS(TJStruct)
 public:
  TJStruct(engine::TJBaseEngine* engine, engine::TJValueList* param);
  static bool IsMakeGlobalInstance() { return false; }
  static bool IsIndexedClass() { return true; }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Clear() override;
  void Dispose() override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  // The memory block itself, zero bytes included.
  std::string ToString(const engine::TJValue* argument) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override { return int32_t(members_.size()); }
  void GetItem(int32_t index, engine::TJValue& value) override;

  int32_t Length() const { return int32_t(members_.size()); }
  // The block handed to C functions: its own storage, never a copy.
  char* Data() { return block_.data(); }
  size_t Size() const { return block_.size(); }
  // The description: one line per member, a rule, and the sizes.
  std::string Describe() const;

  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoDefine(engine::TJValueList* args, engine::TJValue& result);
  void DoSizeOf(engine::TJValueList* args, engine::TJValue& result);
  void DoToString(engine::TJValueList* args, engine::TJValue& result);

 private:
  struct Member {
    std::string name;
    char type;       // the type letter; '0' for a raw block
    int32_t size;
    int32_t position;  // 1-based
    std::string text;  // what a string member points at
    std::wstring wide;
    engine::TJRef<TJStruct> nested;  // a structure an s member points at
  };
  Member* find(std::string_view name, bool bracketAccess);
  void readMember(Member& m, engine::TJValue& value);
  void writeMember(Member& m, const engine::TJValue& value);
  void define(engine::TJValueList* args);
  void clearStructure();

  std::string block_;
  std::vector<Member> members_;
};

// The interpreter's call of a declared C function.
void CallDynaCallFunction(engine::TJEngine& engine, engine::IJFunction* function, engine::TJValueList* args,
                          engine::TJValue& result);
void InstallDynaCallHooks();

// A number as a C address (addresses travel as numbers: integers, or doubles above 2^31).
uint64_t AsPointer(const engine::TJValue* value);
void SetPointer(engine::TJValue& value, uint64_t address);

}  // namespace host
