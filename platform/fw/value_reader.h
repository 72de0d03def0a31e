// Reading the values of binary form data: one tagged value at a time.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/filer_values.h"
#include "platform/fw/stream.h"

namespace fw {

class TValueReader {
 public:
  explicit TValueReader(TStream& stream) : stream_(stream) {}

  TStream& Stream() { return stream_; }

  TValueType ReadValue();
  TValueType NextValue();
  // Every value tag the format knows; others make the data invalid.
  static bool IsValueType(uint8_t tag) { return tag <= vaUTF8String; }

  void CheckValue(TValueType expected);
  bool EndOfList();
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  void ReadSignature();
  // The optional header prefix of a component: flags and, with ffChildPos, the position.
  void ReadPrefix(uint8_t& flags, int32_t& childPos);

  int32_t ReadInteger();
  int64_t ReadInt64();
  bool ReadBoolean();
  double ReadFloat();
  float ReadSingle();
  int64_t ReadCurrency();  // value x 10000
  double ReadDate();
  std::string ReadString();  // short, long, wide and UTF-8 strings, as UTF-8 text
  std::string ReadIdent();   // identifiers, and True, False, nil, Null
  std::string ReadStr();     // a raw short string (length byte, bytes)
  std::string ReadBinary();  // vaBinary: the bytes
  void SkipValue();

  // The bytes of a value of the given kind after its tag has been read.
  uint8_t ReadByte();
  int16_t ReadInt16Raw();
  int32_t ReadInt32Raw();
  int64_t ReadInt64Raw();
  std::string ReadBytes(int64_t count);

  [[noreturn]] void PropValueError();

 private:
  void SkipValueAt(int depth);
  TStream& stream_;
};

}  // namespace fw
