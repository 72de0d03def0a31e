#include "script/host/crc_object.h"

#include <exception>

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/file_name.h"
#include "support/crc.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJCRCObject::StaticClassInfo() {
  using T = TJCRCObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJCRCObject", &TJObject::StaticClassInfo())
                                         .property("CRC16", &T::CRC16)
                                         .property("CRC32", &T::CRC32)
                                         .build();
  return info;
}

TJCRCObject::TJCRCObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("CRC"); }

void TJCRCObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("calc", &TJCRCObject::DoCalc);
  RegistMethod("calcFile", &TJCRCObject::DoCalcFile);
}

void TJCRCObject::DoCalc(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) ThrowError("ECRCError", "calc error");
  support::CalcStrCrc(crc16_, crc32_, AsString(&(*args)[0]));
  result.SetObject(this);
}

// calcFile(name): a file that is missing, cannot be opened or cannot be read to its end leaves
// both values all ones and is an error; so does a name that is no regular file (a pipe or device
// may never end) or one the file system cannot be given.
void TJCRCObject::DoCalcFile(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) ThrowError("ECRCError", "calcFile error");
  bool done = false;
  try {
    std::string fileName = AsString(&(*args)[0]);
    done = support::CalcFileCrc(crc16_, crc32_, SystemPath(fileName, "ECRCError", "calcFile error"));
  } catch (const std::exception&) {
    done = false;
  }
  if (!done) {
    crc16_ = 0xFFFF;
    crc32_ = 0xFFFFFFFF;
    ThrowError("ECRCError", "calcFile error");
  }
  result.SetObject(this);
}

}  // namespace host
