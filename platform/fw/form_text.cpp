#include "platform/fw/form_text.h"

#include <cmath>
#include <cstring>

#include "platform/fw/errors.h"
#include "platform/fw/parser.h"
#include "platform/fw/value_reader.h"
#include "platform/fw/value_writer.h"
#include "platform/rt/numtext.h"
#include "platform/rt/utf8.h"

namespace fw {

namespace {

// --- text to binary ---

class TextToBinary {
 public:
  TextToBinary(TParser& parser, TValueWriter& writer) : p_(parser), w_(writer) {}

  void Run() {
    w_.WriteSignature();
    ConvertObject(0);
  }

 private:
  void Deeper(int depth) {
    if (depth > MaxFilerNesting) p_.Error(msg::NestingTooDeep);
  }

  void WriteShort(const std::string& s) {
    if (s.size() > 255) p_.Error(msg::IdentifierExpected);
    w_.WriteStr(s);
  }

  void ConvertHeader(bool isInherited, bool isInline) {
    p_.CheckToken(TParser::toSymbol);
    std::string className = p_.TokenString();
    std::string objectName;
    if (p_.NextToken() == ':') {
      p_.NextToken();
      p_.CheckToken(TParser::toSymbol);
      objectName = className;
      className = p_.TokenString();
      p_.NextToken();
    }
    uint8_t flags = 0;
    int32_t position = -1;
    if (isInherited) flags |= ffInherited;
    if (isInline) flags |= ffInline;
    if (p_.Token() == '[') {
      p_.NextToken();
      p_.CheckToken(TParser::toInteger);
      if (p_.TokenInt() < INT32_MIN || p_.TokenInt() > INT32_MAX) p_.Error(msg::InvalidNumber);
      position = int32_t(p_.TokenInt());
      p_.NextToken();
      p_.CheckToken(']');
      p_.NextToken();
      flags |= ffChildPos;
    }
    w_.WritePrefix(flags, position);
    WriteShort(className);
    WriteShort(objectName);
  }

  bool AtObjectStart() const {
    return p_.TokenSymbolIs("OBJECT") || p_.TokenSymbolIs("INHERITED") || p_.TokenSymbolIs("INLINE");
  }

  void ConvertObject(int depth) {
    Deeper(depth);
    bool isInherited = false, isInline = false;
    if (p_.TokenSymbolIs("INHERITED")) {
      isInherited = true;
    } else if (p_.TokenSymbolIs("INLINE")) {
      isInline = true;
    } else {
      p_.CheckTokenSymbol("OBJECT");
    }
    p_.NextToken();
    ConvertHeader(isInherited, isInline);
    while (!p_.TokenSymbolIs("END") && !AtObjectStart()) {
      if (p_.Token() == TParser::toEOF) p_.CheckTokenSymbol("END");
      ConvertProperty(depth);
    }
    w_.WriteListEnd();
    while (!p_.TokenSymbolIs("END")) {
      if (p_.Token() == TParser::toEOF) p_.CheckTokenSymbol("END");
      ConvertObject(depth + 1);
    }
    w_.WriteListEnd();
    p_.NextToken();
  }

  void ConvertProperty(int depth) {
    p_.CheckToken(TParser::toSymbol);
    std::string name = p_.TokenString();
    p_.NextToken();
    while (p_.Token() == '.') {
      p_.NextToken();
      p_.CheckToken(TParser::toSymbol);
      name += '.';
      name += p_.TokenString();
      p_.NextToken();
    }
    WriteShort(name);
    p_.CheckToken('=');
    p_.NextToken();
    ConvertValue(depth + 1);
  }

  void ConvertValue(int depth) {
    Deeper(depth);
    switch (p_.Token()) {
      case TParser::toString:
      case TParser::toWString: {
        std::string s;
        bool wide = false;
        for (;;) {
          s += p_.TokenString();
          wide = wide || p_.Token() == TParser::toWString;
          if (p_.NextToken() != '+') break;
          p_.NextToken();
          if (p_.Token() != TParser::toWString) p_.CheckToken(TParser::toString);
        }
        if (wide) {
          w_.WriteWideString(s);
        } else {
          w_.WriteString(s);
        }
        return;
      }
      case TParser::toSymbol: {
        std::string ident = p_.TokenComponentIdent();
        if (ident.size() > 255) p_.Error(msg::IdentifierExpected);
        w_.WriteIdent(ident);
        break;
      }
      case TParser::toInteger: w_.WriteInteger(p_.TokenInt()); break;
      case TParser::toFloat:
        switch (p_.FloatType()) {
          case 's': w_.WriteSingle(float(p_.TokenFloat())); break;
          case 'c': {
            double c = std::nearbyint(p_.TokenFloat() * 10000.0);
            if (!(std::fabs(c) < 9.2e18)) p_.Error(msg::InvalidNumber);
            w_.WriteCurrency(int64_t(c));
            break;
          }
          case 'd': w_.WriteDate(p_.TokenFloat()); break;
          default: w_.WriteFloat(p_.TokenFloat());
        }
        break;
      case '[': {
        p_.NextToken();
        w_.WriteValue(vaSet);
        if (p_.Token() != ']') {
          for (;;) {
            if (p_.Token() != TParser::toInteger) p_.CheckToken(TParser::toSymbol);
            WriteShort(p_.TokenString());
            p_.NextToken();
            if (p_.Token() == ']') break;
            p_.CheckToken(',');
            p_.NextToken();
          }
        }
        w_.WriteStr("");
        break;
      }
      case '(': {
        p_.NextToken();
        w_.WriteListBegin();
        while (p_.Token() != ')') {
          if (p_.Token() == TParser::toEOF) p_.CheckToken(')');
          ConvertValue(depth + 1);
        }
        w_.WriteListEnd();
        break;
      }
      case '{': w_.WriteBinary(p_.HexToBinary()); break;
      case '<': {
        p_.NextToken();
        w_.WriteValue(vaCollection);
        while (p_.Token() != '>') {
          p_.CheckTokenSymbol("item");
          p_.NextToken();
          if (p_.Token() == '[') {
            p_.NextToken();
            p_.CheckToken(TParser::toInteger);
            w_.WriteInteger(p_.TokenInt());
            p_.NextToken();
            p_.CheckToken(']');
            p_.NextToken();
          }
          w_.WriteListBegin();
          while (!p_.TokenSymbolIs("end")) {
            if (p_.Token() == TParser::toEOF) p_.CheckTokenSymbol("end");
            ConvertProperty(depth + 1);
          }
          w_.WriteListEnd();
          p_.NextToken();
        }
        w_.WriteListEnd();
        break;
      }
      default: p_.Error(msg::InvalidPropertyValue);
    }
    p_.NextToken();
  }

  TParser& p_;
  TValueWriter& w_;
};

// --- binary to text ---

constexpr size_t kStringPiece = 64;
constexpr size_t kBytesPerLine = 32;

class BinaryToText {
 public:
  BinaryToText(TValueReader& reader, std::string& out) : r_(reader), out_(out) {}

  void Run() {
    r_.ReadSignature();
    ConvertObject(0);
  }

 private:
  void Indent(int level) { out_.append(size_t(level) * 2, ' '); }
  void NewLine(int level) {
    out_ += "\r\n";
    Indent(level);
  }

  void ConvertObject(int level) {
    if (level > MaxFilerNesting) throw EReadError(msg::InvalidImage);
    uint8_t flags;
    int32_t position;
    r_.ReadPrefix(flags, position);
    std::string className = r_.ReadStr();
    std::string objectName = r_.ReadStr();
    Indent(level);
    out_ += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    if (!objectName.empty()) out_ += objectName + ": ";
    out_ += className;
    if (flags & ffChildPos) out_ += " [" + std::to_string(position) + "]";
    out_ += "\r\n";
    while (!r_.EndOfList()) ConvertProperty(level + 1);
    r_.ReadListEnd();
    while (!r_.EndOfList()) ConvertObject(level + 1);
    r_.ReadListEnd();
    Indent(level);
    out_ += "end\r\n";
  }

  void ConvertProperty(int level) {
    Indent(level);
    out_ += r_.ReadStr();
    out_ += " = ";
    ConvertValue(level);
    out_ += "\r\n";
  }

  // One run of text: printable bytes inside quotes, control characters and the quote as #n.
  void WriteQuoted(std::string_view s, bool wide) {
    bool inQuote = false;
    size_t i = 0;
    while (i < s.size()) {
      uint8_t c = uint8_t(s[i]);
      if (wide && c >= 0x80) {
        size_t len = 1;
        char32_t cp = rt::utf8::decode(s, i, &len);
        if (inQuote) out_ += '\'';
        inQuote = false;
        out_ += '#' + std::to_string(uint32_t(cp));
        i += len ? len : 1;
        continue;
      }
      if (c >= ' ' && c != '\'') {
        if (!inQuote) out_ += '\'';
        inQuote = true;
        out_ += char(c);
      } else {
        if (inQuote) out_ += '\'';
        inQuote = false;
        out_ += '#' + std::to_string(c);
      }
      ++i;
    }
    if (inQuote) out_ += '\'';
  }

  void WriteString(const std::string& s, int level, bool wide) {
    if (s.empty()) {
      out_ += "''";
      return;
    }
    if (s.size() <= kStringPiece) {
      WriteQuoted(s, wide);
      return;
    }
    // Long texts: one piece per line, one level deeper, joined by "+"; pieces end on a character
    // boundary.
    size_t pos = 0;
    bool first = true;
    while (pos < s.size()) {
      size_t end = std::min(s.size(), pos + kStringPiece);
      while (end < s.size() && end > pos + 1 && (uint8_t(s[end]) & 0xC0) == 0x80) --end;
      if (!first) out_ += " +";
      NewLine(level + 1);
      WriteQuoted(std::string_view(s).substr(pos, end - pos), wide);
      pos = end;
      first = false;
    }
  }

  template <class F>
  static std::string FloatText(F v) {
    if (!std::isfinite(v)) throw EReadError(msg::InvalidPropertyValue);
    std::string s = rt::ShortestText(v);
    if (s.find_first_of(".eE") == std::string::npos) s += ".0";
    for (char& c : s)
      if (c == 'e') c = 'E';
    return s;
  }

  void ConvertValue(int level) {
    if (level > MaxFilerNesting) throw EReadError(msg::InvalidImage);
    switch (r_.NextValue()) {
      case vaList: {
        r_.ReadValue();
        out_ += '(';
        while (!r_.EndOfList()) {
          NewLine(level + 1);
          ConvertValue(level + 1);
        }
        r_.ReadListEnd();
        out_ += ')';
        break;
      }
      case vaInt8:
      case vaInt16:
      case vaInt32: out_ += std::to_string(r_.ReadInteger()); break;
      case vaInt64: out_ += std::to_string(r_.ReadInt64()); break;
      case vaExtended: out_ += FloatText(r_.ReadFloat()); break;
      case vaSingle: out_ += FloatText(r_.ReadSingle()) + 's'; break;
      case vaCurrency: {
        int64_t c = r_.ReadCurrency();
        uint64_t mag = c < 0 ? uint64_t(0) - uint64_t(c) : uint64_t(c);
        std::string s = (c < 0 ? "-" : "") + std::to_string(mag / 10000);
        std::string frac = std::to_string(mag % 10000);
        s += '.' + std::string(4 - frac.size(), '0') + frac;
        out_ += s + 'c';
        break;
      }
      case vaDate: out_ += FloatText(r_.ReadDate()) + 'd'; break;
      case vaWString: WriteString(r_.ReadString(), level, true); break;
      case vaString:
      case vaLString:
      case vaUTF8String: WriteString(r_.ReadString(), level, false); break;
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull: out_ += r_.ReadIdent(); break;
      case vaBinary: {
        std::string bytes = r_.ReadBinary();
        static const char hex[] = "0123456789ABCDEF";
        out_ += '{';
        for (size_t i = 0; i < bytes.size(); i += kBytesPerLine) {
          NewLine(level + 1);
          for (size_t j = i; j < std::min(bytes.size(), i + kBytesPerLine); ++j) {
            out_ += hex[uint8_t(bytes[j]) >> 4];
            out_ += hex[uint8_t(bytes[j]) & 15];
          }
        }
        out_ += '}';
        break;
      }
      case vaSet: {
        r_.ReadValue();
        out_ += '[';
        bool first = true;
        for (;;) {
          std::string e = r_.ReadStr();
          if (e.empty()) break;
          if (!first) out_ += ", ";
          out_ += e;
          first = false;
        }
        out_ += ']';
        break;
      }
      case vaCollection: {
        r_.ReadValue();
        out_ += '<';
        while (!r_.EndOfList()) {
          NewLine(level + 1);
          out_ += "item";
          TValueType v = r_.NextValue();
          if (v == vaInt8 || v == vaInt16 || v == vaInt32) out_ += " [" + std::to_string(r_.ReadInteger()) + "]";
          out_ += "\r\n";
          r_.ReadListBegin();
          while (!r_.EndOfList()) ConvertProperty(level + 2);
          r_.ReadListEnd();
          Indent(level + 1);
          out_ += "end";
        }
        r_.ReadListEnd();
        out_ += '>';
        break;
      }
    }
  }

  TValueReader& r_;
  std::string& out_;
};

}  // namespace

void ObjectTextToBinary(TStream& input, TStream& output) {
  TParser parser(input);
  TValueWriter writer(output);
  TextToBinary(parser, writer).Run();
}

void ObjectBinaryToText(TStream& input, TStream& output) {
  TValueReader reader(input);
  std::string out;
  BinaryToText(reader, out).Run();
  output.WriteBuffer(out.data(), int64_t(out.size()));
}

std::string ObjectTextToBinary(const std::string& text) {
  TStringStream in(text), out;
  ObjectTextToBinary(in, out);
  return out.DataString();
}

std::string ObjectBinaryToText(const std::string& binary) {
  TStringStream in(binary), out;
  ObjectBinaryToText(in, out);
  return out.DataString();
}

TStreamOriginalFormat TestStreamFormat(TStream& stream) {
  int64_t pos = stream.Position();
  char buf[32] = {};
  int64_t n = stream.Read(buf, sizeof buf);
  stream.SetPosition(pos);
  if (n >= 4 && std::memcmp(buf, FilerSignature, 4) == 0) return sofBinary;
  int64_t i = 0;
  // A UTF-8 byte-order mark may precede the text.
  if (n >= 3 && uint8_t(buf[0]) == 0xEF && uint8_t(buf[1]) == 0xBB && uint8_t(buf[2]) == 0xBF) i = 3;
  while (i < n && uint8_t(buf[i]) <= ' ') ++i;
  std::string_view rest(buf + i, size_t(n - i));
  auto startsWith = [&](std::string_view word) {
    return rest.size() >= word.size() && rt::sameText(rest.substr(0, word.size()), word);
  };
  if (startsWith("object") || startsWith("inherited") || startsWith("inline")) return sofText;
  return sofUnknown;
}

}  // namespace fw
