#include "support/base64.h"

#include <gtest/gtest.h>

#include <string>

using support::DecodeBase64;
using support::EncodeBase64;

TEST(Base64, StandardVectors) {
  const char* vectors[][2] = {{"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
                              {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                              {"foobar", "Zm9vYmFy"}};
  for (auto& v : vectors) {
    EXPECT_EQ(EncodeBase64(v[0]), v[1]);
    EXPECT_EQ(DecodeBase64(v[1]), v[0]);
  }
  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  EXPECT_EQ(EncodeBase64(std::string("\xff\xfe\x00", 3)), "//4A");
  EXPECT_EQ(DecodeBase64(EncodeBase64(all)), all);
}

TEST(Base64, TolerantDecoding) {
  struct Case {
    std::string text, bytes;
  } cases[] = {
      {"Zm9v\r\nYmFy", "foobar"},  // line breaks between groups
      {"Zm\r\n9vYmFy", "foobar"},  // and inside a group
      {"Zm9 vY*mFy", "foobar"},    // characters outside the alphabet are skipped
      {"Zg", "f"},                 // unpadded final groups
      {"Zm8", "fo"},
      {"Z", ""},                   // a lone symbol holds no byte
      {"Zg==Zm8=", "ffo"},         // padded groups one after another
      {"====", ""},
      {"=Zg=", ""},
      {"Zm9vY", "foo"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeBase64(c.text), c.bytes) << c.text;
}
