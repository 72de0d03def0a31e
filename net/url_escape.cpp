#include "net/url_escape.h"

#include <cstring>

#include "regex/regexpr.h"

namespace net {

namespace {

bool IsSafe(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         std::strchr("!'()*-._", c) != nullptr;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string UrlEncode(const std::string& text, const std::string& extraSafe, bool spaceAsPlus) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c == 0) break;
    if (IsSafe(c) || extraSafe.find(ch) != std::string::npos) {
      out += ch;
    } else if (c == ' ' && spaceAsPlus) {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string UrlDecode(const std::string& text, bool plusAsSpace) {
  if (!IsUrlEncoded(text)) return text;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      out += '%';
      ++i;
    } else if (c == '%' && i + 2 < text.size()) {
      int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
      out += static_cast<char>(hi >= 0 && lo >= 0 ? hi * 16 + lo : 0);
      i += 2;
    } else if (c == '+' && plusAsSpace) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

std::string Escape(const std::string& text) { return UrlEncode(text, "", true); }
std::string Unescape(const std::string& text) { return UrlDecode(text, true); }
std::string EncodeURI(const std::string& text) { return UrlEncode(text, ";/?:@&=+,#", false); }
std::string EncodeURIComponent(const std::string& text) { return UrlEncode(text, "", false); }
std::string DecodeURI(const std::string& text) { return UrlDecode(text, false); }
std::string DecodeURIComponent(const std::string& text) { return UrlDecode(text, false); }


bool IsUrlEncoded(const std::string& text) { return regex::MatchOnce("\\%[0-9a-fA-F][0-9a-fA-F]", text); }

}  // namespace net
