#include "game/pixels.h"

#include <gtest/gtest.h>

#include "tests/game/pixel_image.h"

namespace {

using game::RGB;
using game_test::Image;

TEST(Pixels, FillColorSetsEveryPixelAndLeavesEmptyBitmapsAlone) {
  Image img(3, 2, 0);
  game::FillColor(img.view(), 1, 2, 3);
  for (uint32_t p : img.px) EXPECT_EQ(p, 0xFF030201u);
  game::PixelView empty{nullptr, 0, 0, 5};
  game::FillColor(empty, 1, 2, 3);  // nothing to do, nothing touched
  game::Grayscale(empty);
  game::BlendRectColor(empty, 0, 0, 5, 5, 0, 10);
}

TEST(Pixels, BlendRectVariantsDifferByOneInTheWeight) {
  struct Case {
    int alpha;
    uint8_t old, colour, plain, mmx;
  };
  // plain: (old * (255 - a) + (a + 1) * c) >> 8; MMX: (old * (256 - a) + c * a) >> 8
  const Case cases[] = {
      {0, 200, 0, 199, 200},    // alpha 0 still moves the plain blend by 1/256
      {255, 10, 200, 200, 199},
      {100, 100, 255, 161, 160},
      {6, 0, 255, 6, 5},
      {300, 10, 200, 200, 199},  // alpha above 255 counts as 255
  };
  for (const Case& c : cases) {
    Image a(1, 1, 0xFF000000u | c.old << 16 | c.old << 8 | c.old), b = a;
    game::BlendRectColor(a.view(), 0, 0, 1, 1, RGB(c.colour, c.colour, c.colour), c.alpha);
    game::BlendRectColorMMX(b.view(), 0, 0, 1, 1, RGB(c.colour, c.colour, c.colour), c.alpha);
    EXPECT_EQ(a.at(0, 0) & 0xFF, c.plain) << "alpha " << c.alpha;
    EXPECT_EQ(b.at(0, 0) & 0xFF, c.mmx) << "alpha " << c.alpha;
    EXPECT_EQ(a.at(0, 0) >> 24, 0xFFu);  // the fourth byte is not touched
  }
}

TEST(Pixels, BlendRectUsesTheColourChannelsInPixelOrder) {
  Image img(1, 1, 0);
  game::BlendRectColorMMX(img.view(), 0, 0, 1, 1, RGB(255, 0, 0), 128);  // red
  EXPECT_EQ(img.at(0, 0), 0x007F0000u);
}

TEST(Pixels, BlendRectIsClippedToTheBitmap) {
  Image img(4, 3, 0);
  game::BlendRectColorMMX(img.view(), -2, 1, 4, 10, RGB(0, 0, 255), 255);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(img.rgb(x, y), (y >= 1 && x < 2) ? 0xFEu : 0u) << x << "," << y;
  Image untouched = img;
  game::BlendRectColorMMX(img.view(), 4, 0, 2, 2, RGB(0, 0, 255), 255);
  game::BlendRectColor(img.view(), -5, -5, 5, 5, RGB(0, 0, 255), 255);
  EXPECT_EQ(img.px, untouched.px);
}

TEST(Pixels, BlendDrawKeyedSkipsKeyPixelsAndClipsAgainstBothBitmaps) {
  Image src(3, 1, 0);
  src.at(1, 0) = 0x00FF8000;
  src.at(2, 0) = 0x00102030;
  Image dest(3, 2, 0x00646464);
  game::BlendDrawKeyed(src.view(), -1, 1, 3, 1, 0, 0, dest.view(), RGB(0, 0, 0), 128);
  EXPECT_EQ(dest.rgb(0, 1), 0x00B17232u);  // source (1, 0): (255*128 + 100*128) >> 8 = 177 ...
  EXPECT_EQ(dest.rgb(1, 1), 0x003A424Au);  // source (2, 0)
  EXPECT_EQ(dest.rgb(2, 1), 0x00646464u);  // nothing left to copy there
  EXPECT_EQ(dest.rgb(0, 0), 0x00646464u);  // key pixel (0, 0) never shows
  Image again(3, 2, 0x00646464);
  game::BlendDrawKeyed(src.view(), 0, 0, 3, 1, 0, 0, again.view(), RGB(255, 128, 0), 255);
  EXPECT_EQ(again.rgb(1, 0), 0x00646464u);  // that colour is now the key
  EXPECT_EQ(again.rgb(2, 0), 0x00102030u);
  EXPECT_EQ(again.rgb(0, 0), 0u);  // and black is not
}

TEST(Pixels, GrayscaleWeighsRedGreenAndBlue) {
  Image img(3, 1, 0);
  img.at(0, 0) = 0x00FF0000;
  img.at(1, 0) = 0x0000FF00;
  img.at(2, 0) = 0x000000FF;
  game::Grayscale(img.view());
  EXPECT_EQ(img.rgb(0, 0), 0x004C4C4Cu);  // 77 * 255 >> 8
  EXPECT_EQ(img.rgb(1, 0), 0x00959595u);  // 150 * 255 >> 8
  EXPECT_EQ(img.rgb(2, 0), 0x001C1C1Cu);  // 29 * 255 >> 8
}

TEST(Pixels, ClipBlitRect) {
  struct Case {
    int dx, dy, w, h, sx, sy;
    bool ok;
    int odx, ody, ow, oh, osx, osy;
  };
  const Case cases[] = {
      {5, 5, 10, 10, 0, 0, true, 5, 5, 10, 10, 0, 0},
      {-3, -2, 10, 10, 0, 0, true, 0, 0, 7, 8, 3, 2},    // overhang left and top
      {95, 95, 10, 10, 0, 0, true, 95, 95, 5, 5, 0, 0},  // past the right and bottom edge
      {0, 0, 30, 30, 15, 15, true, 0, 0, 5, 5, 15, 15},  // cut by the 20 x 20 source
      {0, 0, 10, 10, -4, 0, true, 4, 0, 6, 10, 0, 0},    // source overhang moves the destination
      {100, 0, 10, 10, 0, 0, false, 0, 0, 0, 0, 0, 0},
      {-10, 0, 10, 10, 0, 0, false, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    int dx = c.dx, dy = c.dy, w = c.w, h = c.h, sx = c.sx, sy = c.sy;
    bool ok = game::ClipBlitRect(dx, dy, w, h, sx, sy, 100, 100, 20, 20);
    EXPECT_EQ(ok, c.ok) << c.dx << "," << c.dy;
    if (ok && c.ok) {
      EXPECT_EQ(std::vector<int>({dx, dy, w, h, sx, sy}), std::vector<int>({c.odx, c.ody, c.ow, c.oh, c.osx, c.osy}));
    }
  }
}

TEST(Pixels, TextInkIsSampledTwoByTwoWithAHalfPixelShiftDown) {
  // Ink 2w + 1 by 2h + 1 for a 2 x 2 output: white, with black ink under output pixel (1, 0) only.
  Image ink(5, 5, 0x00FFFFFF);
  for (int y : {1, 2})
    for (int x : {2, 3}) ink.at(x, y) = 0;
  ink.at(0, 0) = 0;  // row 0 is never sampled
  Image dest(2, 2, 0x00101010);
  game::BlendTextInk(dest.view(), 0, 0, 2, 2, ink.view(), RGB(255, 255, 255));
  EXPECT_EQ(dest.rgb(1, 0), 0x00FEFEFEu);  // j = 1: (1 * 16 + 255 * 255) >> 8
  EXPECT_EQ(dest.rgb(0, 0), 0x00101010u);  // j = 256: unchanged
  EXPECT_EQ(dest.rgb(0, 1), 0x00101010u);

  Image half(5, 5, 0x00FFFFFF);
  half.at(0, 1) = half.at(1, 1) = 0;  // half the samples of output (0, 0) inked
  Image d2(2, 2, 0);
  game::BlendTextInk(d2.view(), 0, 0, 2, 2, half.view(), RGB(200, 0, 0));
  EXPECT_EQ(d2.rgb(0, 0), static_cast<uint32_t>((200 * (256 - 128)) >> 8) << 16);  // j = 510/4 + 1 = 128
}

TEST(Pixels, TextInkIsCutAtEveryEdge) {
  Image ink(9, 5, 0);  // all ink: w 4, h 2
  Image dest(3, 3, 0);
  game::BlendTextInk(dest.view(), 1, -1, 4, 2, ink.view(), RGB(0, 255, 0));
  EXPECT_EQ(dest.rgb(1, 0), 0x0000FE00u);
  EXPECT_EQ(dest.rgb(2, 0), 0x0000FE00u);
  EXPECT_EQ(dest.rgb(0, 0), 0u);
  EXPECT_EQ(dest.rgb(1, 1), 0u);  // only one row of the two fits
  Image dest2(3, 3, 0);
  game::BlendTextInk(dest2.view(), -3, 0, 4, 2, ink.view(), RGB(0, 255, 0));
  EXPECT_EQ(dest2.count(0x00FE00), 2);  // the last column of the text, two rows
}

}  // namespace
