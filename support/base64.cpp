#include "support/base64.h"

#include <array>

namespace support {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr int kPad = 64;
constexpr int kSkip = -1;

constexpr std::array<int, 256> makeValues() {
  std::array<int, 256> v{};
  for (int& x : v) x = kSkip;
  for (int i = 0; i < 64; ++i) v[static_cast<unsigned char>(kAlphabet[i])] = i;
  v['='] = kPad;
  return v;
}
constexpr auto kValues = makeValues();

// Bytes held by a group of `count` symbols (1..4), padding included.
void flushGroup(const int* s, int count, std::string& out) {
  if (count < 2 || s[0] == kPad || s[1] == kPad) return;
  out += static_cast<char>((s[0] << 2) | (s[1] >> 4));
  if (count < 3 || s[2] == kPad) return;
  out += static_cast<char>(((s[1] & 15) << 4) | (s[2] >> 2));
  if (count < 4 || s[3] == kPad) return;
  out += static_cast<char>(((s[2] & 3) << 6) | s[3]);
}

}  // namespace

std::string EncodeBase64(std::string_view data) {
  std::string out;
  out.reserve((data.size() + 2) / 3 * 4);
  size_t i = 0;
  auto byte = [&](size_t k) { return static_cast<unsigned char>(data[k]); };
  for (; i + 3 <= data.size(); i += 3) {
    uint32_t v = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  size_t rest = data.size() - i;
  if (rest == 1) {
    uint32_t v = byte(i) << 16;
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    uint32_t v = (byte(i) << 16) | (byte(i + 1) << 8);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

std::string DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  int group[4];
  int count = 0;
  for (char c : text) {
    int v = kValues[static_cast<unsigned char>(c)];
    if (v == kSkip) continue;
    group[count++] = v;
    if (count == 4) {
      flushGroup(group, 4, out);
      count = 0;
    }
  }
  if (count) flushGroup(group, count, out);
  return out;
}

}  // namespace support
