// The script class "StringBuffer": a mutable byte string. Positions and lengths count bytes (no
// character awareness), `buf[i]` reads and writes one byte (a negative i counts from the end), and
// the engine takes a value holding a buffer as a string wherever it tests for strings.
//
// C++ code that lets other code write into a buffer (a DLL call's output) uses Data() and Size():
// the bytes are one contiguous block with a NUL byte after the last, and stay where they are until
// the buffer's length changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJStringBufferObject : public engine::TJObject {
  RT_CLASS(TJStringBufferObject)
 public:
  TJStringBufferObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  static bool IsIndexedClass() { return true; }

  const std::string& Buffer() const { return text_; }
  void SetBuffer(std::string text) { text_ = std::move(text); }
  char* Data() { return text_.data(); }
  size_t Size() const { return text_.size(); }

  // Published properties.
  std::string Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  int32_t Length() const;
  // Cuts or extends the buffer (new bytes are 0); a negative length raises "EStringError".
  void SetLength(int32_t length);

  void RegistMethods() override;
  void Dispose() override;
  // Bracket access reads and writes bytes only (no fallback to ordinary members).
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  std::string ToString(const engine::TJValue* argument) override;
  int32_t ToChar() override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override { return Length(); }
  void GetItem(int32_t index, engine::TJValue& value) override;

  void DoAppend(engine::TJValueList* args, engine::TJValue& result);
  void DoCharCodeAt(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoInsert(engine::TJValueList* args, engine::TJValue& result);
  void DoLastIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoReplace(engine::TJValueList* args, engine::TJValue& result);
  void DoSlice(engine::TJValueList* args, engine::TJValue& result);
  void DoSubstr(engine::TJValueList* args, engine::TJValue& result);
  void DoSubstring(engine::TJValueList* args, engine::TJValue& result);
  void DoFill(engine::TJValueList* args, engine::TJValue& result);

 private:
  // The byte index a bracket name stands for; "EIndexError" with the name when there is none.
  size_t byteIndex(std::string_view name) const;
  void deleteRange(int32_t start, int32_t end);
  void insertAt(int32_t position, std::string_view text);
  void resize(int64_t length, char fill);

  std::string text_;
};

}  // namespace host
