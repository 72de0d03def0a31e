#include "support/crypt3.h"

#include <crypt.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

using support::TCrypt3;

namespace {
const char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

std::string systemCrypt(const std::string& key, const std::string& salt) {
  crypt_data data{};
  const char* r = crypt_r(key.c_str(), salt.c_str(), &data);
  return r ? r : "";
}
}  // namespace

TEST(Crypt3, KnownResults) {
  struct Case {
    const char* key;
    const char* salt;
    const char* hash;
  } cases[] = {
      {"test", "ab", "abgOeLfPimXQo"},
      {"12345678", "zz", "zzRtj6pNdfpLE"},
      // only the first eight characters count
      {"123456789", "zz", "zzRtj6pNdfpLE"},
      // extra salt characters are ignored
      {"test", "abXYZ", "abgOeLfPimXQo"},
  };
  TCrypt3 c;
  for (const Case& k : cases) EXPECT_EQ(c.Crypt(k.key, k.salt), k.hash) << k.key << " " << k.salt;
}

TEST(Crypt3, AgreesWithTheSystemForOrdinarySalts) {
  std::mt19937 gen(20240601);
  TCrypt3 c;
  for (int n = 0; n < 500; ++n) {
    std::string key;
    int len = int(gen() % 12);
    for (int i = 0; i < len; ++i) key += char(1 + gen() % 255);  // no NUL: the system stops there
    std::string salt{kAlphabet[gen() % 64], kAlphabet[gen() % 64]};
    ASSERT_EQ(c.Crypt(key, salt), systemCrypt(key, salt)) << n;
  }
}

TEST(Crypt3, UnusualSalts) {
  TCrypt3 c;
  EXPECT_EQ(c.Crypt("secret", ""), "");

  // One character: it is written twice; the missing second character has the value 0.
  std::string one = c.Crypt("secret", "a");
  ASSERT_EQ(one.size(), 13u);
  EXPECT_EQ(one.substr(0, 2), "aa");
  EXPECT_EQ(one.substr(2), c.Crypt("secret", "a.").substr(2));

  // Characters outside the alphabet count as 0 and are echoed as given.
  std::string odd = c.Crypt("secret", "!\xff");
  EXPECT_EQ(odd.substr(0, 2), "!\xff");
  EXPECT_EQ(odd.substr(2), c.Crypt("secret", "..").substr(2));

  // The eighth bit of key characters is dropped.
  EXPECT_EQ(c.Crypt("\xc1", "xy"), c.Crypt("A", "xy"));
  // A salt change after a cached one is honoured.
  EXPECT_EQ(c.Crypt("test", "zz").substr(2), systemCrypt("test", "zz").substr(2));
  EXPECT_EQ(c.Crypt("test", "ab"), "abgOeLfPimXQo");
}
