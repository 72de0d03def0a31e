#include "script/host/base64_object.h"

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "support/base64.h"
#include "support/jconvert.h"

namespace host {

using namespace engine;

namespace {

// The one argument's text; "EBase64Error" with `message` without it.
std::string argument(TJValueList* args, const char* message) {
  if (!IsParam1(args)) ThrowError("EBase64Error", message);
  return AsString(&(*args)[0]);
}

}  // namespace

const rt::ClassInfo& TJBase64Object::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJBase64Object>("TJBase64Object", &TJObject::StaticClassInfo()).build();
  return info;
}

TJBase64Object::TJBase64Object(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Base64");
}

void TJBase64Object::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("encode", &TJBase64Object::DoEncode);
  RegistMethod("decode", &TJBase64Object::DoDecode);
  RegistMethod("encodeHeader", &TJBase64Object::DoEncodeHeader);
  RegistMethod("decodeHeader", &TJBase64Object::DoDecodeHeader);
}

void TJBase64Object::DoEncode(TJValueList* args, TJValue& result) {
  result.SetString(support::EncodeBase64(argument(args, "encode error")));
}

void TJBase64Object::DoDecode(TJValueList* args, TJValue& result) {
  result.SetString(support::DecodeBase64(argument(args, "decode error")));
}

void TJBase64Object::DoEncodeHeader(TJValueList* args, TJValue& result) {
  result.SetString(support::EncodeMimeHeader(argument(args, "encodeHeader error")));
}

// The decoded words come as JIS; the answer is Shift_JIS.
void TJBase64Object::DoDecodeHeader(TJValueList* args, TJValue& result) {
  result.SetString(support::JisToSjis(support::DecodeMimeHeader(argument(args, "decodeHeader error"))));
}

}  // namespace host
