#include "game/abitmap.h"

#include <gtest/gtest.h>

#include "platform/rt/paths.h"
#include "tests/game/qt_environment.h"

namespace {

const auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new game_test::QtEnvironment);

uint32_t rgbAt(game::TABitmap& b, int x, int y) {
  return reinterpret_cast<const uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFF;
}

TEST(TABitmap, StaysAt32BitsWhateverHappens) {
  game::TABitmap b;
  EXPECT_EQ(b.PixelFormat(), fw::pf32bit);
  EXPECT_FALSE(b.IsDrawable());
  b.SetPixelFormat(fw::pf24bit);
  b.SetSize(3, 2);
  EXPECT_EQ(b.PixelFormat(), fw::pf32bit);
  EXPECT_TRUE(b.IsDrawable());
  fw::TBitmap other;
  other.SetPixelFormat(fw::pf24bit);
  other.SetSize(4, 4);
  b.Assign(&other);
  EXPECT_EQ(b.PixelFormat(), fw::pf32bit);
  EXPECT_EQ(b.Width(), 4);
}

// The generated sprites load as 20 x 20 pictures on the transparent black, with their colours intact.
TEST(TABitmap, LoadsTheGameSprites) {
  for (const char* name : {"my.bmp", "e0.bmp", "e1.bmp", "e2.bmp", "e3.bmp", "e4.bmp", "e5.bmp"}) {
    game::TABitmap b;
    b.LoadFromFile(rt::exeDir() + "dat/" + name);
    ASSERT_EQ(b.Width(), 20) << name;
    ASSERT_EQ(b.Height(), 20) << name;
    EXPECT_EQ(b.PixelFormat(), fw::pf32bit);
    EXPECT_EQ(rgbAt(b, 0, 19), 0u) << name;  // the bottom-left pixel is background
    int ink = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        uint32_t p = rgbAt(b, x, y);
        if (p == 0) continue;
        ++ink;
        EXPECT_GE(std::max({p & 0xFF, p >> 8 & 0xFF, p >> 16}), 16u) << name;  // never near-black
      }
    EXPECT_GT(ink, 80) << name;
  }
}

TEST(TABitmap, RoutinesWorkOnTheBitmapsOwnRows) {
  game::TABitmap b, dest;
  b.SetSize(4, 4);
  dest.SetSize(4, 4);
  b.FillColor(0, 0, 0);
  dest.FillColor(0x10, 0x20, 0x30);
  b.BlendRectColorMMX(1, 1, 2, 2, fw::RGB(255, 0, 0), 255);
  b.BlendDrawKeyed(0, 0, 4, 4, 0, 0, dest, fw::clBlack, 255);
  EXPECT_EQ(rgbAt(dest, 1, 1), 0xFD0000u);  // (254 * 255 + 0x30) >> 8
  EXPECT_EQ(rgbAt(dest, 0, 0), 0x302010u);
  dest.Grayscale();
  uint32_t g = rgbAt(dest, 0, 0);
  EXPECT_EQ(g & 0xFF, g >> 16);
  b.BlendRectColor(0, 0, 4, 4, fw::clWhite, 255);
  EXPECT_EQ(rgbAt(b, 3, 3), 0xFFFFFFu);
}

TEST(TABitmap, SmoothTextInksOnlyItsAreaAndIsCutAtTheEdges) {
  game::TABitmap b;
  b.SetSize(200, 60);
  b.FillColor(0, 0, 0);
  fw::TFont font;
  font.SetSize(15);
  font.SetColor(fw::clWhite);
  b.DrawSmoothText(10, 5, "=  Start  =", font);
  int inside = 0, outside = 0, maxX = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      uint32_t p = rgbAt(b, x, y);
      if (p == 0) continue;
      EXPECT_EQ(p & 0xFF, p >> 16);  // white ink: grey levels only
      (x >= 10 && y >= 5 && y < 5 + 30) ? ++inside : ++outside;
      maxX = std::max(maxX, x);
    }
  EXPECT_GT(inside, 60);
  EXPECT_EQ(outside, 0);
  EXPECT_LT(maxX, 150);

  game::TABitmap small;
  small.SetSize(30, 8);
  small.FillColor(0, 0, 0);
  small.DrawSmoothText(-5, 2, "SCORE :  123 ", font);  // runs off every edge: cut, no harm
  int ink = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 30; ++x) ink += rgbAt(small, x, y) != 0;
  EXPECT_GT(ink, 10);
}

}  // namespace
