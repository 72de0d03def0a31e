#include "support/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/rt/utf8.h"
#include "support/jconvert.h"

namespace support {

namespace {

// One converter per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts the one character `in` and appends it; false when iconv has no conversion for it.
  bool convert(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0)
      return false;
    out.append(buffer, dst - buffer);
    return true;
  }

  // Converts a run of whole characters at once; false when anything in it fails.
  bool convertRun(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    size_t before = out.size();
    out.resize(before + in.size() * 3 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data() + before;
    size_t dstLeft = out.size() - before;
    size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
    if (r == static_cast<size_t>(-1) || srcLeft != 0) {
      out.resize(before);
      return false;
    }
    out.resize(out.size() - dstLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& toSjis() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}
Converter& toUtf8() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string Utf8ToSjis(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  if (rt::utf8::isValid(text) && toSjis().convertRun(text, out)) return out;
  for (size_t i = 0; i < text.size();) {
    size_t len = 0;
    char32_t cp = rt::utf8::decode(text, i, &len);
    std::string_view ch = text.substr(i, len);
    if (static_cast<unsigned char>(ch[0]) < 0x80) {
      out += ch[0];
    } else if (cp >= 0xDC80 && cp <= 0xDCFF && len == 1) {
      out += ch[0];  // a stray byte is carried over
    } else if (!toSjis().convert(ch, out)) {
      out += '?';
    }
    i += len;
  }
  return out;
}

std::string SjisToUtf8(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() * 3 / 2);
  if (toUtf8().convertRun(text, out)) return out;
  for (size_t i = 0; i < text.size();) {
    unsigned char a = static_cast<unsigned char>(text[i]);
    unsigned char b = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (a < 0x80) {
      out += char(a);
      ++i;
    } else if (IsSjisLeadByte(a) && b >= 0x40 && b <= 0xFC && b != 0x7F) {
      if (!toUtf8().convert(text.substr(i, 2), out)) out += '?';
      i += 2;
    } else {
      if (!toUtf8().convert(text.substr(i, 1), out)) out += char(a);  // a stray byte is carried over
      ++i;
    }
  }
  return out;
}

}  // namespace support
