#include "game/raster.h"

#include <gtest/gtest.h>

#include "platform/rt/random.h"
#include "tests/game/pixel_image.h"

namespace {

using game::RGB;
using game_test::Image;

TEST(Raster, FilledEllipseCoversItsBoxRoundedAndIsClipped) {
  Image img(8, 8, 0);
  game::Raster r(img.view());
  r.fillEllipse(1, 1, 7, 7, RGB(255, 0, 0));
  EXPECT_EQ(img.count(0xFF0000), 32);  // rows of 4, 6, 6, 6, 6, 4
  EXPECT_EQ(img.rgb(1, 1), 0u);        // corners stay out
  EXPECT_EQ(img.rgb(2, 1), 0xFF0000u);
  EXPECT_EQ(img.rgb(6, 3), 0xFF0000u);
  EXPECT_EQ(img.rgb(7, 3), 0u);  // right edge of the box is outside
  r.fillEllipse(-3, -3, 3, 3, RGB(0, 0, 255));
  EXPECT_EQ(img.count(0x0000FF), 8);  // the lower right quarter of a 6 x 6 disc: rows of 3, 3, 2
}

// A keyed shape must look exactly like drawing it on a black scratch and blending that with black
// as the key colour.
TEST(Raster, KeyedShapesMatchTheScratchRoute) {
  Image direct(30, 30, 0x00336699), viaScratch = direct;
  game::Raster r(direct.view());
  r.blendEllipseKeyed(3, 4, 17, 18, RGB(10, 200, 30), 77);
  r.blendRingKeyed(20, 20, 6.5, 2, RGB(0, 255, 255), 40, {10, 10, 15, 15});

  Image scratch(15, 15, 0);
  game::Raster s(scratch.view());
  s.fillEllipse(0, 0, 14, 14, RGB(10, 200, 30));
  game::BlendDrawKeyed(scratch.view(), 3, 4, 14, 14, 0, 0, viaScratch.view(), 0, 77);
  Image scratch2(15, 15, 0);
  game::Raster s2(scratch2.view());
  s2.ring(10, 10, 6.5, 2, RGB(0, 255, 255));
  game::BlendDrawKeyed(scratch2.view(), 10, 10, 15, 15, 0, 0, viaScratch.view(), 0, 40);
  EXPECT_EQ(direct.px, viaScratch.px);
}

TEST(Raster, RingsKeepTheirWidthRoundTheCircle) {
  Image img(40, 40, 0);
  game::Raster r(img.view());
  r.ring(20, 20, 10, 4, RGB(255, 255, 255));
  for (int x = 0; x < 40; ++x)  // along the middle row: ring pixels only at distance 8..12
    EXPECT_EQ(img.rgb(x, 20) != 0, std::abs(x + 0.5 - 20) >= 8 && std::abs(x + 0.5 - 20) < 12) << x;
  Image thin(40, 40, 0);
  game::Raster t(thin.view());
  t.ring(20, 20, 10, 0, RGB(255, 255, 255));
  EXPECT_GT(thin.count(0xFFFFFF), 50);
  EXPECT_EQ(thin.rgb(20, 20), 0u);
}

TEST(Raster, LinesLeaveOutTheEndPixelAndThickenAcross) {
  Image img(10, 10, 0);
  game::Raster r(img.view());
  r.line(1, 1, 6, 1, RGB(0, 255, 0), 1);
  EXPECT_EQ(img.count(0x00FF00), 5);
  EXPECT_EQ(img.rgb(6, 1), 0u);
  r.line(2, 3, 2, 8, RGB(0, 0, 255), 2);  // steep: the neighbour to the right
  EXPECT_EQ(img.count(0x0000FF), 10);
  EXPECT_EQ(img.rgb(3, 7), 0x0000FFu);
  r.line(-5, -5, 20, 20, RGB(255, 0, 0), 1);  // leaves the picture on both ends
  EXPECT_EQ(img.rgb(0, 0), 0xFF0000u);
  EXPECT_EQ(img.rgb(9, 9), 0xFF0000u);
  r.line(4, 4, 4, 4, RGB(9, 9, 9), 1);  // no length: nothing
  EXPECT_EQ(img.count(0x090909), 0);
}

// Lines that leave the picture are drawn pixel by pixel with bounds checks, lines wholly inside by a
// faster walk; both must put a line on the same pixels.
TEST(Raster, LinesCutAtTheEdgeMatchLinesWhollyInside) {
  rt::RandSeed = 99;
  for (int i = 0; i < 200; ++i) {
    int x0 = rt::Random(100) - 40, y0 = rt::Random(64), x1 = rt::Random(100) - 40, y1 = rt::Random(64);
    int width = 1 + rt::Random(2);
    Image cut(64, 64, 0), whole(128, 64, 0);
    game::Raster(cut.view()).line(x0, y0, x1, y1, RGB(255, 255, 255), width);
    game::Raster(whole.view()).line(x0 + 64, y0, x1 + 64, y1, RGB(255, 255, 255), width);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) ASSERT_EQ(cut.rgb(x, y), whole.rgb(x + 64, y)) << i << ": " << x << "," << y;
  }
}

TEST(Raster, SpritesAreDrawnWithBlackTransparent) {
  Image sprite(2, 2, 0);
  sprite.at(1, 0) = 0x00ABCDEF;
  Image img(4, 4, 0x00111111);
  game::Raster r(img.view());
  r.drawSprite(2, 3, sprite.view());
  EXPECT_EQ(img.rgb(3, 3), 0xABCDEFu);
  EXPECT_EQ(img.rgb(2, 3), 0x111111u);
  EXPECT_EQ(img.count(0xABCDEF), 1);
}

// A whitening batch gives the same picture as whitening the whole buffer at each step.
TEST(Raster, WhiteningBatchEqualsWhiteningEveryTime) {
  Image batched(64, 48), direct(64, 48);
  for (size_t i = 0; i < batched.px.size(); ++i) batched.px[i] = direct.px[i] = 0xFF000000u | (i * 2654435761u >> 8);
  game::Raster b(batched.view()), d(direct.view());
  b.beginWhitenBatch(6);
  rt::RandSeed = 12345;
  for (int step = 0; step < 40; ++step) {
    int x0 = rt::Random(64), y0 = rt::Random(48), x1 = rt::Random(64), y1 = rt::Random(48);
    game::TColor c = RGB(0, 150 + rt::Random(105), 255);
    for (game::Raster* r : {&b, &d}) {
      r->whiten(6);
      r->line(x0, y0, x1, y1, c, 1 + step % 2);
      if (step % 5 == 0) r->fillEllipse(x0, y0, x0 + 7, y0 + 7, RGB(255, 0, 0));
    }
  }
  // A blend inside the batch sees the whitenings before it.
  b.blendEllipseKeyed(10, 10, 30, 30, RGB(0, 255, 0), 100);
  d.blendEllipseKeyed(10, 10, 30, 30, RGB(0, 255, 0), 100);
  b.whiten(6);
  d.whiten(6);
  b.endWhitenBatch();
  EXPECT_FALSE(b.inWhitenBatch());
  EXPECT_EQ(batched.px, direct.px);
}

}  // namespace
