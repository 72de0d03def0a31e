#include "platform/fw/value_writer.h"

#include <cstring>

#include "platform/fw/errors.h"
#include "platform/rt/utf8.h"

namespace fw {

void TValueWriter::WriteValue(TValueType value) { WriteByte(value); }

void TValueWriter::WriteInt16Raw(int16_t v) {
  uint8_t b[2] = {uint8_t(v), uint8_t(uint16_t(v) >> 8)};
  stream_.WriteBuffer(b, 2);
}

void TValueWriter::WriteInt32Raw(int32_t v) {
  uint32_t u = uint32_t(v);
  uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
  stream_.WriteBuffer(b, 4);
}

void TValueWriter::WriteInt64Raw(int64_t v) {
  uint64_t u = uint64_t(v);
  uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = uint8_t(u >> (8 * i));
  stream_.WriteBuffer(b, 8);
}

void TValueWriter::WriteSignature() { stream_.WriteBuffer(FilerSignature, 4); }

void TValueWriter::WritePrefix(uint8_t flags, int32_t childPos) {
  if (flags == 0) return;
  WriteByte(uint8_t(0xF0 | flags));
  if (flags & ffChildPos) WriteInteger(childPos);
}

void TValueWriter::WriteInteger(int64_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    WriteByte(uint8_t(int8_t(value)));
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    WriteInt16Raw(int16_t(value));
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValue(vaInt32);
    WriteInt32Raw(int32_t(value));
  } else {
    WriteValue(vaInt64);
    WriteInt64Raw(value);
  }
}

void TValueWriter::WriteFloat(double value) {
  WriteValue(vaExtended);
  uint8_t b[10];
  DoubleToExtended(value, b);
  stream_.WriteBuffer(b, 10);
}

void TValueWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  stream_.WriteBuffer(&value, 4);
}

void TValueWriter::WriteCurrency(int64_t value) {
  WriteValue(vaCurrency);
  WriteInt64Raw(value);
}

void TValueWriter::WriteDate(double value) {
  WriteValue(vaDate);
  int64_t bits;
  std::memcpy(&bits, &value, 8);
  WriteInt64Raw(bits);
}

void TValueWriter::WriteStr(std::string_view value) {
  if (value.size() > 255) throw EWriteError(msg::WriteError);
  WriteByte(uint8_t(value.size()));
  stream_.WriteBuffer(value.data(), int64_t(value.size()));
}

void TValueWriter::WriteString(std::string_view value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(value);
  } else {
    WriteValue(vaLString);
    WriteInt32Raw(int32_t(value.size()));
    stream_.WriteBuffer(value.data(), int64_t(value.size()));
  }
}

void TValueWriter::WriteWideString(std::string_view value) {
  std::u16string w = Utf8ToUtf16(value);
  WriteValue(vaWString);
  WriteInt32Raw(int32_t(w.size()));
  for (char16_t c : w) WriteInt16Raw(int16_t(c));
}

void TValueWriter::WriteIdent(std::string_view ident) {
  if (rt::sameText(ident, "False")) {
    WriteValue(vaFalse);
  } else if (rt::sameText(ident, "True")) {
    WriteValue(vaTrue);
  } else if (rt::sameText(ident, "nil")) {
    WriteValue(vaNil);
  } else if (rt::sameText(ident, "Null")) {
    WriteValue(vaNull);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TValueWriter::WriteBinary(std::string_view bytes) {
  WriteValue(vaBinary);
  WriteInt32Raw(int32_t(bytes.size()));
  stream_.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

}  // namespace fw
