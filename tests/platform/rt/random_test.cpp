#include <gtest/gtest.h>

#include <vector>

#include "platform/rt/random.h"

TEST(Random, SequenceFromSeedZero) {
  rt::RandSeed = 0;
  std::vector<int> got;
  for (int i = 0; i < 8; ++i) got.push_back(rt::Random(8));
  EXPECT_EQ(got, (std::vector<int>{0, 0, 6, 1, 2, 5, 2, 1}));
  EXPECT_EQ(rt::RandSeed, 0x296b6d78u) << std::hex << rt::RandSeed;
}

TEST(Random, SequenceFromOtherSeed) {
  rt::RandSeed = 12345;
  std::vector<int> got;
  for (int i = 0; i < 5; ++i) got.push_back(rt::Random(100));
  EXPECT_EQ(got, (std::vector<int>{38, 28, 7, 55, 63}));
}

TEST(Random, FloatIsSeedOverTwoToThe32) {
  rt::RandSeed = 0;
  EXPECT_DOUBLE_EQ(rt::Random(), 1.0 / 4294967296.0);
  for (int i = 0; i < 1000; ++i) {
    double r = rt::Random();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

TEST(Random, RangeStaysInside) {
  rt::Randomize();
  for (int n : {1, 2, 7, 255, 1000000}) {
    for (int i = 0; i < 200; ++i) {
      int v = rt::Random(n);
      ASSERT_GE(v, 0);
      ASSERT_LT(v, n);
    }
  }
}
