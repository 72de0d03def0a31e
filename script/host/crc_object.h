// The script class "CRC": the CRC-16 and CRC-32 of a text's bytes or of a file. `CRC16` and
// `CRC32` hold the last results (all ones before the first); `CRC32` reads as a signed 32-bit
// integer, so values from 0x80000000 up are negative.
#pragma once

#include <cstdint>

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJCRCObject : public engine::TJObject {
  RT_CLASS(TJCRCObject)
 public:
  TJCRCObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  int32_t CRC16() const { return crc16_; }
  int32_t CRC32() const { return int32_t(crc32_); }

  void RegistMethods() override;

  void DoCalc(engine::TJValueList* args, engine::TJValue& result);
  void DoCalcFile(engine::TJValueList* args, engine::TJValue& result);

 private:
  uint16_t crc16_ = 0xFFFF;
  uint32_t crc32_ = 0xFFFFFFFF;
};

}  // namespace host
