#include "net/ftp_reply.h"

#include <arpa/inet.h>

#include <string_view>

namespace net {

namespace {

bool SmallNumber(std::string_view s, int limit, int& value) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  if (b == e || e - b > 5) return false;
  value = 0;
  for (size_t i = b; i < e; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return value <= limit;
}

}  // namespace

bool ParsePasvReply(const std::string& text, uint32_t& address, uint16_t& port) {
  size_t open = text.find('(');
  if (open == std::string::npos) return false;
  size_t close = text.find(')', open + 1);
  if (close == std::string::npos) return false;
  std::string_view inside = std::string_view(text).substr(open + 1, close - open - 1);
  int n[6];
  size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    size_t comma = i < 5 ? inside.find(',', at) : inside.size();
    if (comma == std::string_view::npos) return false;
    if (!SmallNumber(inside.substr(at, comma - at), 255, n[i])) return false;
    at = comma + 1;
  }
  int p = n[4] * 256 + n[5];
  if (p == 0) return false;
  address = htonl((uint32_t(n[0]) << 24) | (uint32_t(n[1]) << 16) | (uint32_t(n[2]) << 8) | uint32_t(n[3]));
  port = static_cast<uint16_t>(p);
  return true;
}

bool ParseEpsvReply(const std::string& text, uint16_t& port) {
  size_t open = text.find('(');
  if (open == std::string::npos || open + 6 > text.size()) return false;
  char d = text[open + 1];
  if (d < 33 || d > 126 || (d >= '0' && d <= '9')) return false;
  if (text[open + 2] != d || text[open + 3] != d) return false;
  size_t end = text.find(d, open + 4);
  if (end == std::string::npos || end + 1 >= text.size() || text[end + 1] != ')') return false;
  int value;
  if (!SmallNumber(std::string_view(text).substr(open + 4, end - open - 4), 65535, value) || value == 0) return false;
  port = static_cast<uint16_t>(value);
  return true;
}

}  // namespace net
