// Writing the values of binary form data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/fw/filer_values.h"
#include "platform/fw/stream.h"

namespace fw {

class TValueWriter {
 public:
  explicit TValueWriter(TStream& stream) : stream_(stream) {}

  TStream& Stream() { return stream_; }

  void WriteValue(TValueType value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteSignature();
  void WritePrefix(uint8_t flags, int32_t childPos);

  // The smallest of the 8, 16 and 32-bit forms; the 64-bit form only beyond 32 bits.
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  void WriteFloat(double value);
  void WriteSingle(float value);
  void WriteCurrency(int64_t value);  // value x 10000
  void WriteDate(double value);
  // Up to 255 bytes as a short string, longer as a long string.
  void WriteString(std::string_view value);
  // The text as UTF-16 code units (vaWString).
  void WriteWideString(std::string_view value);
  // True, False, nil and Null (any case) become their own tags.
  void WriteIdent(std::string_view ident);
  void WriteStr(std::string_view value);  // raw short string; longer than 255 bytes is an error
  void WriteBinary(std::string_view bytes);
  void WriteSetElement(std::string_view name) { WriteStr(name); }

  void WriteByte(uint8_t b) { stream_.WriteBuffer(&b, 1); }
  void WriteInt16Raw(int16_t v);
  void WriteInt32Raw(int32_t v);
  void WriteInt64Raw(int64_t v);

 private:
  TStream& stream_;
};

}  // namespace fw
