// What the engine needs of its Global object: the print and read paths, the script's arguments,
// the `terminated` switch of the event loop, and the `finalizer` array. The standard library's
// Global class (script/stdlib/global.h) derives from it and adds the global functions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "script/core/object.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace engine {

class TJGlobalBase : public TJObject {
  RT_CLASS(TJGlobalBase)
 public:
  TJGlobalBase(TJBaseEngine* engine, TJValueList* param);
  ~TJGlobalBase() override;

  // Receives every text the object prints.
  std::function<void(const std::string& text)> OnPrint;
  // Asked for input: count characters (-1: all), or one line; sets success.
  std::function<void(std::string& text, bool& success, int32_t count, bool line)> OnRead;

  void Print(std::string_view text);
  void PrintValue(const TJValue& value);
  // The text and CR LF.
  void PrintLine(std::string_view text);
  // Raises "EFileError" "read error: STDIN" when nobody supplies the input.
  std::string Read(int32_t count, bool line);

  bool Terminated() const { return terminated_; }
  void StartEventLoop() { terminated_ = false; }
  void Terminate() { terminated_ = true; }

  // The script's arguments (an Array; null while no Array class is registered).
  TJObject* Arguments() const { return arguments_.get(); }
  // Replaces the arguments with copies of the values.
  void SetArguments(const TJValueList* values);
  TJObject* Finalizer() const { return finalizer_.get(); }
  // Empties the finalizer array: its functions belong to the program being cleared.
  void ClearFinalizer();

  // Counts the changes to the set of the object's members (new members, clearing), so that a
  // name the object did not have can be known to be still missing.
  uint64_t MemberEpoch() const { return memberEpoch_; }
  void PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) override;
  void Clear() override;

 private:
  TJObject* NewArray(const TJValueList* values);

  TJRef<TJObject> arguments_;
  TJRef<TJObject> finalizer_;
  bool terminated_ = true;
  uint64_t memberEpoch_ = 0;
};

}  // namespace engine
