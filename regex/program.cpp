#include "regex/program.h"

#include <cstdio>

#include "platform/rt/utf8.h"

namespace regex {

size_t Program::nodeSize(size_t at) const {
  const uint8_t* p = &code[at];
  switch (p[0]) {
    case rxLiteral:
    case rxLiteralNoCase: return kHeaderSize + 5 + readU32(p + kHeaderSize + 1);
    case rxStar:
    case rxPlus:
    case rxStarLazy:
    case rxPlusLazy:
    case rxRange:
    case rxRangeLazy: return repeatOperand(p[0]);
    case rxLoop:
    case rxLoopLazy: return kHeaderSize + 12;
    case rxAnyOfThree:
    case rxNoneOfThree: return kHeaderSize + 12;
    case rxAnyOfSet: return kHeaderSize + 21 + 8 * size_t(readU32(p + kHeaderSize + 17));
    case rxBackRef:
    case rxBackRefNoCase: return kHeaderSize + 1;
    case rxIterMark: return kHeaderSize + 4;
    case rxIterBack: return kHeaderSize + 8;
    default: return kHeaderSize;
  }
}

std::string OpName(uint8_t op) {
  switch (op) {
    case rxEnd: return "rxEnd";
    case rxInputStart: return "rxInputStart";
    case rxInputEnd: return "rxInputEnd";
    case rxAny: return "rxAny";
    case rxBranch: return "rxBranch";
    case rxBack: return "rxBack";
    case rxLiteral: return "rxLiteral";
    case rxEmpty: return "rxEmpty";
    case rxStar: return "rxStar";
    case rxPlus: return "rxPlus";
    case rxDigit: return "rxDigit";
    case rxNotDigit: return "rxNotDigit";
    case rxRange: return "rxRange";
    case rxComment: return "rxComment";
    case rxLiteralNoCase: return "rxLiteralNoCase";
    case rxLoopEntry: return "rxLoopEntry";
    case rxLoop: return "rxLoop";
    case rxAnyOfThree: return "rxAnyOfThree";
    case rxNoneOfThree: return "rxNoneOfThree";
    case rxAnyOfSet: return "rxAnyOfSet";
    case rxBackRef: return "rxBackRef";
    case rxBackRefNoCase: return "rxBackRefNoCase";
    case rxStarLazy: return "rxStarLazy";
    case rxPlusLazy: return "rxPlusLazy";
    case rxRangeLazy: return "rxRangeLazy";
    case rxLoopLazy: return "rxLoopLazy";
    case rxLineStart: return "rxLineStart";
    case rxLineEnd: return "rxLineEnd";
    case rxAnyButSeparator: return "rxAnyButSeparator";
    case rxWordBoundary: return "rxWordBoundary";
    case rxNotWordBoundary: return "rxNotWordBoundary";
    case rxIterMark: return "rxIterMark";
    case rxIterBack: return "rxIterBack";
    default:
      if (isOpen(op)) return "rxOpen" + std::to_string(op - rxOpen + 1);
      if (isClose(op)) return "rxClose" + std::to_string(op - rxClose + 1);
      return "?";
  }
}

namespace {

std::string quoted(const uint8_t* p, size_t n) {
  std::string out = "\"";
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = p[i];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

std::string codePoint(char32_t c) {
  if (c >= 0x20 && c < 0x7F && c != '\\') return std::string(1, char(c));
  char buf[16];
  std::snprintf(buf, sizeof buf, "\\x{%X}", unsigned(c));
  return buf;
}

std::string lookAhead(uint16_t la) {
  if (!(la & kLookAhead)) return "";
  return std::string(" la=") + ((la & kLookAheadNoCase) ? "i:" : "") + codePoint(la & 0xFF);
}

std::string operands(const Program& prog, size_t at) {
  const uint8_t* p = &prog.code[at];
  const uint8_t* o = p + kHeaderSize;
  uint8_t op = p[0];
  switch (op) {
    case rxLiteral:
    case rxLiteralNoCase: return " " + quoted(o + 5, readU32(o + 1));
    case rxRange:
    case rxRangeLazy:
      return " " + std::to_string(readU32(o)) + ".." + std::to_string(readU32(o + 4)) +
             lookAhead(readU16(o + 8));
    case rxStar:
    case rxPlus:
    case rxStarLazy:
    case rxPlusLazy: return lookAhead(readU16(o));
    case rxLoop:
    case rxLoopLazy:
      return " " + std::to_string(readU32(o)) + ".." + std::to_string(readU32(o + 4)) + " body=" +
             std::to_string(int64_t(at) + readI32(o + 8));
    case rxAnyOfThree:
    case rxNoneOfThree:
      return " " + codePoint(readU32(o)) + codePoint(readU32(o + 4)) + codePoint(readU32(o + 8));
    case rxAnyOfSet: {
      std::string s = " [";
      for (char32_t c = 0; c < 128; ++c)
        if ((o[c >> 3] >> (c & 7)) & 1) s += codePoint(c);
      uint32_t n = readU32(o + 17);
      for (uint32_t i = 0; i < n; ++i) {
        char32_t lo = readU32(o + 21 + 8 * i), hi = readU32(o + 25 + 8 * i);
        s += codePoint(lo);
        if (hi != lo) s += "-" + codePoint(hi);
      }
      return s + "]";
    }
    case rxBackRef:
    case rxBackRefNoCase: return " \\" + std::to_string(o[0]);
    case rxIterMark: return " r" + std::to_string(readU32(o));
    case rxIterBack:
      return " r" + std::to_string(readU32(o)) + " exit=" + std::to_string(int64_t(at) + readI32(o + 4));
    default: return "";
  }
}

}  // namespace

std::string DumpProgram(const Program& prog) {
  std::string out;
  if (prog.code.empty()) return out;
  for (size_t at = 1; at < prog.code.size(); at += prog.nodeSize(at)) {
    out += std::to_string(at) + ": " + OpName(prog.op(at)) + operands(prog, at);
    size_t nx = prog.next(at);
    out += nx ? " (" + std::to_string(nx) + ")\n" : " (-)\n";
  }
  return out;
}

}  // namespace regex
