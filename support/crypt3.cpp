// DES as in the standard: bit 1 is the most significant bit of each block. The 48-bit expansion of
// the right half is where crypt(3) mixes in its salt: salt bit k (0..11) swaps expansion bits k and
// k + 24. The S-boxes and the P permutation are folded into one table per S-box.
#include "support/crypt3.h"

#include <array>

namespace support {

namespace {

constexpr char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

constexpr uint8_t kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                             62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                             57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                             61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr uint8_t kFP[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                             38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                             36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                             34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                            2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                              10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                              63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                              14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
                              23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
                              41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
                              44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10, 3,  13, 4,  7,  15, 2,
     8,  14, 12, 0,  1,  10, 6,  9,  11, 5, 0,  14, 7,  11, 10, 4,  13, 1,  5,  8,  12, 6,
     9,  3,  2,  15, 13, 8,  10, 1,  3,  15, 4,  2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,  13, 7,  0,  9,  3,  4,
     6,  10, 2,  8,  5,  14, 12, 11, 15, 1,  13, 6,  4,  9,  8,  15, 3,  0,  11, 1,  2,  12,
     5,  10, 14, 7,  1,  10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3,  0,  6,  9,  10, 1,  2,  8,  5,  11, 12, 4,  15, 13, 8,  11, 5,  6,  15,
     0,  3,  4,  7,  2,  12, 1,  10, 14, 9,  10, 6,  9,  0,  12, 11, 7,  13, 15, 1,  3,  14,
     5,  2,  8,  4,  3,  15, 0,  6,  10, 1,  13, 8,  9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5,  0,  15, 10, 3,  9,  8,  6,  4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0,  14, 11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11, 10, 15, 4,  2,  7,  12,
     9,  5,  6,  1,  13, 14, 0,  11, 3,  8,  9,  14, 15, 5,  2,  8,  12, 3,  7,  0,  4,  10,
     1,  13, 11, 6,  4,  3,  2,  12, 9,  5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0,  8,  13, 3,  12, 9,  7,  5,  10, 6,  1,  13, 0,  11, 7,  4,  9,
     1,  10, 14, 3,  5,  12, 2,  15, 8,  6,  1,  4,  11, 13, 12, 3,  7,  14, 10, 15, 6,  8,
     0,  5,  9,  2,  6,  11, 13, 8,  1,  4,  10, 7,  9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,  1,  15, 13, 8,  10, 3,
     7,  4,  12, 5,  6,  11, 0,  14, 9,  2,  7,  11, 4,  1,  9,  12, 14, 2,  0,  6,  10, 13,
     15, 3,  5,  8,  2,  1,  14, 7,  4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Output bit i (1-based from the top of an n-bit result) is input bit table[i] of a `width`-bit
// input, also counted from the top.
constexpr uint64_t permute(uint64_t in, const uint8_t* table, int n, int width) {
  uint64_t out = 0;
  for (int i = 0; i < n; ++i) out = (out << 1) | ((in >> (width - table[i])) & 1);
  return out;
}

// S-box j of a raw 6-bit group (row from the outer bits, column from the inner four), already
// moved through P.
constexpr std::array<std::array<uint32_t, 64>, 8> makeSP() {
  std::array<std::array<uint32_t, 64>, 8> sp{};
  for (int j = 0; j < 8; ++j)
    for (int x = 0; x < 64; ++x) {
      int row = ((x >> 4) & 2) | (x & 1);
      int col = (x >> 1) & 15;
      uint64_t s = uint64_t(kS[j][row * 16 + col]) << (28 - 4 * j);
      sp[j][x] = static_cast<uint32_t>(permute(s, kP, 32, 32));
    }
  return sp;
}
constexpr auto kSP = makeSP();

// The 48-bit expansion: group i is bits 4i .. 4i+5 of the half, wrapping around its ends.
inline uint64_t expand(uint32_t r) {
  uint32_t rr = (r >> 1) | (r << 31);
  uint64_t x = (uint64_t(rr) << 32) | rr;
  uint64_t e = 0;
  for (int i = 0; i < 8; ++i) e = (e << 6) | ((x >> (58 - 4 * i)) & 63);
  return e;
}

int saltValue(char c) {
  for (int i = 0; i < 64; ++i)
    if (kAlphabet[i] == c) return i;
  return 0;
}

}  // namespace

std::string TCrypt3::Crypt(std::string_view key, std::string_view salt) {
  if (salt.empty()) return {};
  char s0 = salt[0];
  char s1 = salt.size() > 1 ? salt[1] : '\0';
  if (!haveSalt_ || s0 != saltChars_[0] || s1 != saltChars_[1]) {
    uint32_t bits = uint32_t(saltValue(s0)) | (uint32_t(s1 ? saltValue(s1) : 0) << 6);
    // Salt bit k swaps expansion bits k and k + 24 (from the top); in the low half of the 48-bit
    // value bit k from the top is bit 23 - k.
    saltMask_ = 0;
    for (int k = 0; k < 12; ++k)
      if (bits & (1u << k)) saltMask_ |= 1u << (23 - k);
    saltChars_[0] = s0;
    saltChars_[1] = s1;
    haveSalt_ = true;
  }

  uint64_t keyBlock = 0;
  for (size_t i = 0; i < 8; ++i) {
    unsigned char c = i < key.size() ? static_cast<unsigned char>(key[i]) : 0;
    keyBlock = (keyBlock << 8) | ((c << 1) & 0xFE);
  }
  uint64_t cd = permute(keyBlock, kPC1, 56, 64);
  uint32_t c = uint32_t(cd >> 28) & 0x0FFFFFFF, d = uint32_t(cd) & 0x0FFFFFFF;
  uint64_t subkeys[16];
  for (int round = 0; round < 16; ++round) {
    for (int s = 0; s < kShifts[round]; ++s) {
      c = ((c << 1) | (c >> 27)) & 0x0FFFFFFF;
      d = ((d << 1) | (d >> 27)) & 0x0FFFFFFF;
    }
    subkeys[round] = permute((uint64_t(c) << 28) | d, kPC2, 48, 56);
  }

  uint64_t mask = saltMask_;
  uint64_t block = 0;
  for (int iteration = 0; iteration < 25; ++iteration) {
    uint64_t lr = permute(block, kIP, 64, 64);
    uint32_t l = uint32_t(lr >> 32), r = uint32_t(lr);
    for (int round = 0; round < 16; ++round) {
      uint64_t e = expand(r);
      uint64_t t = ((e >> 24) ^ e) & mask;
      e ^= t | (t << 24);
      e ^= subkeys[round];
      uint32_t f = 0;
      for (int j = 0; j < 8; ++j) f |= kSP[j][(e >> (42 - 6 * j)) & 63];
      uint32_t next = l ^ f;
      l = r;
      r = next;
    }
    block = permute((uint64_t(r) << 32) | l, kFP, 64, 64);
  }

  std::string out;
  out.reserve(13);
  out += s0;
  out += s1 ? s1 : s0;
  for (int i = 0; i < 10; ++i) out += kAlphabet[(block >> (58 - 6 * i)) & 63];
  out += kAlphabet[(block & 15) << 2];
  return out;
}

}  // namespace support
