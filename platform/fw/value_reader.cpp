#include "platform/fw/value_reader.h"

#include <cstring>

#include "platform/fw/errors.h"

namespace fw {

uint8_t TValueReader::ReadByte() {
  uint8_t b;
  stream_.ReadBuffer(&b, 1);
  return b;
}

int16_t TValueReader::ReadInt16Raw() {
  uint8_t b[2];
  stream_.ReadBuffer(b, 2);
  return int16_t(uint16_t(b[0] | (b[1] << 8)));
}

int32_t TValueReader::ReadInt32Raw() {
  uint8_t b[4];
  stream_.ReadBuffer(b, 4);
  return int32_t(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
}

int64_t TValueReader::ReadInt64Raw() {
  uint8_t b[8];
  stream_.ReadBuffer(b, 8);
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
  return int64_t(v);
}

std::string TValueReader::ReadBytes(int64_t count) {
  if (count < 0) throw EReadError(msg::InvalidImage);
  // Refuse lengths the stream cannot hold before allocating for them.
  int64_t rest = stream_.Size() - stream_.Position();
  if (count > rest) throw EReadError(msg::ReadError);
  std::string s(size_t(count), '\0');
  stream_.ReadBuffer(s.data(), count);
  return s;
}

TValueType TValueReader::ReadValue() {
  uint8_t b = ReadByte();
  if (!IsValueType(b)) throw EReadError(msg::InvalidImage);
  return TValueType(b);
}

bool TValueReader::EndOfList() {
  uint8_t b = ReadByte();
  stream_.Seek(-1, soCurrent);
  return b == vaNull;
}

TValueType TValueReader::NextValue() {
  TValueType v = ReadValue();
  stream_.Seek(-1, soCurrent);
  return v;
}

void TValueReader::PropValueError() { throw EReadError(msg::InvalidPropertyValue); }

void TValueReader::CheckValue(TValueType expected) {
  if (ReadValue() != expected) {
    stream_.Seek(-1, soCurrent);
    SkipValue();
    PropValueError();
  }
}

void TValueReader::ReadSignature() {
  char sig[4];
  if (stream_.Read(sig, 4) != 4 || std::memcmp(sig, FilerSignature, 4) != 0) throw EReadError(msg::InvalidImage);
}

void TValueReader::ReadPrefix(uint8_t& flags, int32_t& childPos) {
  flags = 0;
  childPos = -1;
  uint8_t b;
  if (stream_.Read(&b, 1) != 1) throw EReadError(msg::ReadError);
  if ((b & 0xF0) == 0xF0) {
    flags = b & 0x0F;
    if (flags & ffChildPos) childPos = ReadInteger();
  } else {
    stream_.Seek(-1, soCurrent);
  }
}

int32_t TValueReader::ReadInteger() {
  switch (ReadValue()) {
    case vaInt8: return int8_t(ReadByte());
    case vaInt16: return ReadInt16Raw();
    case vaInt32: return ReadInt32Raw();
    default:
      stream_.Seek(-1, soCurrent);
      SkipValue();
      PropValueError();
  }
}

int64_t TValueReader::ReadInt64() {
  if (NextValue() == vaInt64) {
    ReadValue();
    return ReadInt64Raw();
  }
  return ReadInteger();
}

bool TValueReader::ReadBoolean() {
  TValueType v = ReadValue();
  if (v == vaTrue) return true;
  if (v == vaFalse) return false;
  stream_.Seek(-1, soCurrent);
  SkipValue();
  PropValueError();
}

double TValueReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      uint8_t b[10];
      stream_.ReadBuffer(b, 10);
      return ExtendedToDouble(b);
    }
    case vaSingle: return ReadSingle();
    case vaDate: return ReadDate();
    case vaCurrency: return double(ReadCurrency()) / 10000.0;
    case vaInt64: return double(ReadInt64());
    default: return double(ReadInteger());
  }
}

float TValueReader::ReadSingle() {
  if (NextValue() == vaSingle) {
    ReadValue();
    uint8_t b[4];
    stream_.ReadBuffer(b, 4);
    float f;
    std::memcpy(&f, b, 4);
    return f;
  }
  return float(ReadInteger());
}

int64_t TValueReader::ReadCurrency() {
  if (NextValue() == vaCurrency) {
    ReadValue();
    return ReadInt64Raw();
  }
  return int64_t(ReadInteger()) * 10000;
}

double TValueReader::ReadDate() {
  if (NextValue() == vaDate) {
    ReadValue();
    int64_t bits = ReadInt64Raw();
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }
  return double(ReadInteger());
}

std::string TValueReader::ReadStr() {
  uint8_t len = ReadByte();
  return ReadBytes(len);
}

std::string TValueReader::ReadString() {
  switch (ReadValue()) {
    case vaString: return ReadStr();
    case vaLString:
    case vaUTF8String: return ReadBytes(uint32_t(ReadInt32Raw()));
    case vaWString: {
      int64_t units = uint32_t(ReadInt32Raw());
      std::string raw = ReadBytes(units * 2);
      std::u16string w(size_t(units), u'\0');
      for (int64_t i = 0; i < units; ++i)
        w[size_t(i)] = char16_t(uint8_t(raw[size_t(2 * i)]) | (uint8_t(raw[size_t(2 * i + 1)]) << 8));
      return Utf16ToUtf8(w);
    }
    default:
      stream_.Seek(-1, soCurrent);
      SkipValue();
      PropValueError();
  }
}

std::string TValueReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default:
      stream_.Seek(-1, soCurrent);
      SkipValue();
      PropValueError();
  }
}

std::string TValueReader::ReadBinary() {
  CheckValue(vaBinary);
  return ReadBytes(uint32_t(ReadInt32Raw()));
}

void TValueReader::SkipValue() { SkipValueAt(0); }

void TValueReader::SkipValueAt(int depth) {
  if (depth > MaxFilerNesting) throw EReadError(msg::InvalidImage);
  auto skip = [&](int64_t n) {
    int64_t rest = stream_.Size() - stream_.Position();
    if (n < 0 || n > rest) throw EReadError(msg::ReadError);
    stream_.Seek(n, soCurrent);
  };
  switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: break;
    case vaList:
      while (!EndOfList()) SkipValueAt(depth + 1);
      ReadValue();
      break;
    case vaInt8: skip(1); break;
    case vaInt16: skip(2); break;
    case vaInt32: skip(4); break;
    case vaExtended: skip(10); break;
    case vaString:
    case vaIdent: skip(ReadByte()); break;
    case vaBinary:
    case vaLString:
    case vaUTF8String: skip(uint32_t(ReadInt32Raw())); break;
    case vaWString: skip(int64_t(uint32_t(ReadInt32Raw())) * 2); break;
    case vaSet:
      for (;;) {
        uint8_t n = ReadByte();
        if (n == 0) break;
        skip(n);
      }
      break;
    case vaCollection:
      while (!EndOfList()) {
        TValueType v = NextValue();
        if (v == vaInt8 || v == vaInt16 || v == vaInt32) SkipValueAt(depth + 1);
        CheckValue(vaList);
        while (!EndOfList()) {  // properties: name, value
          ReadStr();
          SkipValueAt(depth + 1);
        }
        ReadValue();
      }
      ReadValue();
      break;
    case vaSingle: skip(4); break;
    case vaCurrency:
    case vaDate:
    case vaInt64: skip(8); break;
  }
}

}  // namespace fw
