// The script class "Base64": Base64 and the "B" encoding of mail header words. The header coders
// work on Shift_JIS bytes: encodeHeader takes Shift_JIS text, decodeHeader answers it.
#pragma once

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJBase64Object : public engine::TJObject {
  RT_CLASS(TJBase64Object)
 public:
  TJBase64Object(engine::TJBaseEngine* engine, engine::TJValueList* param);

  void RegistMethods() override;

  void DoEncode(engine::TJValueList* args, engine::TJValue& result);
  void DoDecode(engine::TJValueList* args, engine::TJValue& result);
  void DoEncodeHeader(engine::TJValueList* args, engine::TJValue& result);
  void DoDecodeHeader(engine::TJValueList* args, engine::TJValue& result);
};

}  // namespace host
