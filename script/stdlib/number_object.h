// The script class "Number": the object form of a number, also the out-parameter that DLL calls
// and GUI events write numbers back into.
//
// The value is kept exactly as it was passed when it is numeric: an integer, a double, a Boolean,
// a numeric text (which stays text: new Number("0012").toString() is "0012") or a Number object;
// anything else becomes the integer 0.
#pragma once

#include <string>

#include "script/core/object.h"
#include "script/core/value.h"

namespace stdlib {

class TJNumberObject : public engine::TJObject {
  RT_CLASS(TJNumberObject)
 public:
  TJNumberObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  const engine::TJValue& Value() const { return value_; }
  void SetValue(const engine::TJValue& value) { value_ = value; }

  // Published: number (the value as a double), int (as a 32-bit integer), asChar (the character of
  // the value's code; writing a text stores the code of its first character, the empty text 0).
  double number() const;
  void setNumber(double value);
  int32_t asInt() const;
  void setInt(int32_t value);
  std::string asChar() const;
  void setAsChar(std::string text);

  void RegistMethods() override;
  void RegistProperties() override;
  // Radix 2, 8 or 16 writes the integer value in that base; anything else the value's text.
  std::string ToString(const engine::TJValue* radix) override;
  void ValueOf(engine::TJValue& value) override;
  double ToNumber() override;
  bool ToBoolean() override;
  int32_t ToChar() override;
  bool AdoptValue(const engine::TJValue& value) override;

  void DoToExponential(engine::TJValueList* args, engine::TJValue& result);
  void DoToFixed(engine::TJValueList* args, engine::TJValue& result);
  void DoToChar(engine::TJValueList* args, engine::TJValue& result);

 private:
  engine::TJValue value_;
};

// The text of one character: the character whose code point is `code` (0xDC80..0xDCFF give the
// raw byte 0x80..0xFF back). The inverse of the code of a text's first character.
std::string CharOfCode(int32_t code);
int32_t CodeOfFirstChar(std::string_view text);

}  // namespace stdlib
