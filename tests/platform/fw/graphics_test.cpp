#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>

#include "platform/fw/bitmap.h"
#include "platform/fw/canvas.h"
#include "platform/fw/colors.h"
#include "platform/fw/errors.h"
#include "platform/fw/picture.h"
#include "platform/fw/stream.h"
#include "tests/platform/fw/gui_environment.h"

namespace fw {
namespace {

uint32_t Px(TBitmap& b, int x, int y) { return b.Image().pixel(x, y) & 0xFFFFFF; }

TEST(Colors, SystemColoursNamesAndComponents) {
  EXPECT_EQ(RGB(1, 2, 3), 0x030201);
  EXPECT_EQ(ColorToRGB(clBtnFace), uint32_t(RGB(212, 208, 200)));
  EXPECT_EQ(ColorToRGB(clRed), 0xFFu);
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("clwindowtext"), clWindowText);
  EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
  EXPECT_THROW(StringToColor("purple-ish"), rt::EConvertError);
  EXPECT_EQ(ColorToPixel(RGB(10, 20, 30)), 0xFF0A141Eu);
  EXPECT_EQ(PixelToColor(0xFF0A141E), RGB(10, 20, 30));
}

TEST(Bitmap, ResizingKeepsPixelsAndFillsWhite) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  b.SetSize(4, 3);
  EXPECT_EQ(Px(b, 3, 2), 0xFFFFFFu);
  b.ScanLine(1)[0] = 0x11;  // blue
  b.ScanLine(1)[1] = 0x22;  // green
  b.ScanLine(1)[2] = 0x33;  // red
  EXPECT_EQ(b.Canvas()->Pixel(0, 1), RGB(0x33, 0x22, 0x11));
  b.SetSize(6, 5);
  EXPECT_EQ(b.Canvas()->Pixel(0, 1), RGB(0x33, 0x22, 0x11));
  EXPECT_EQ(Px(b, 5, 4), 0xFFFFFFu);
  EXPECT_THROW(b.ScanLine(5), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
  b.SetSize(5, 0);
  EXPECT_EQ(b.Width(), 5);
  EXPECT_TRUE(b.Empty());
  EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
}

TEST(Bitmap, PixelFormatsDecideTheRowLayout) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(3, 1);
  b.Canvas()->SetPixel(1, 0, RGB(1, 2, 3));
  const uint8_t* row = b.ScanLine(0);
  EXPECT_EQ(row[3], 3);  // blue
  EXPECT_EQ(row[4], 2);
  EXPECT_EQ(row[5], 1);  // red
  b.SetPixelFormat(pf32bit);
  row = b.ScanLine(0);
  EXPECT_EQ(row[4], 3);
  EXPECT_EQ(row[6], 1);
}

TEST(Bitmap, BmpFilesRoundTripInEachFormat) {
  for (TPixelFormat pf : {pf32bit, pf24bit, pf8bit, pf1bit}) {
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(5, 3);
    b.Canvas()->SetPixel(0, 0, clBlack);
    b.Canvas()->SetPixel(4, 2, clBlack);
    b.SetPixelFormat(pf);
    std::string bytes = b.SaveToBytes();
    ASSERT_EQ(bytes.substr(0, 2), "BM");
    TBitmap c;
    c.LoadFromBytes(bytes);
    EXPECT_EQ(c.PixelFormat(), pf) << int(pf);
    EXPECT_EQ(c.Width(), 5);
    EXPECT_EQ(c.Height(), 3);
    c.SetPixelFormat(pf32bit);
    EXPECT_EQ(Px(c, 0, 0), 0u);
    EXPECT_EQ(Px(c, 4, 2), 0u);
    EXPECT_EQ(Px(c, 1, 1), 0xFFFFFFu);
  }
  TBitmap bad;
  EXPECT_THROW(bad.LoadFromBytes("BM not really a bitmap at all"), EInvalidGraphic);
  EXPECT_THROW(bad.LoadFromBytes(""), EInvalidGraphic);
}

TEST(Bitmap, TransparentDrawSkipsTheKeyColour) {
  TBitmap sprite;
  sprite.SetSize(2, 2);
  sprite.Canvas()->Brush()->SetColor(clBlack);
  sprite.Canvas()->FillRect(Rect(0, 0, 2, 2));
  sprite.Canvas()->SetPixel(1, 1, clRed);
  sprite.SetTransparent(true);
  sprite.SetTransparentColor(clBlack);
  TBitmap back;
  back.SetSize(4, 4);
  back.Canvas()->Brush()->SetColor(clBlue);
  back.Canvas()->FillRect(Rect(0, 0, 4, 4));
  back.Canvas()->Draw(1, 1, &sprite);
  EXPECT_EQ(back.Canvas()->Pixel(1, 1), clBlue);
  EXPECT_EQ(back.Canvas()->Pixel(2, 2), clRed);
  // Partly outside: clipped, no crash.
  back.Canvas()->Draw(3, -1, &sprite);
  EXPECT_EQ(back.Canvas()->Pixel(3, 0), clBlue);
  back.Canvas()->Draw(-1, 2, &sprite);
  EXPECT_EQ(back.Canvas()->Pixel(0, 3), clRed);
  sprite.SetTransparent(false);
  back.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(back.Canvas()->Pixel(0, 0), clBlack);
}

TEST(Canvas, ShapesUseThePenAndBrushTheyKeep) {
  TBitmap b;
  b.SetSize(20, 20);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  c->Pen()->SetColor(clBlue);
  c->Rectangle(2, 2, 10, 10);
  EXPECT_EQ(c->Pixel(2, 2), clBlue);    // outline
  EXPECT_EQ(c->Pixel(9, 9), clBlue);    // right and bottom edges are exclusive
  EXPECT_EQ(c->Pixel(10, 10), clWhite);
  EXPECT_EQ(c->Pixel(5, 5), clRed);     // interior
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clLime);
  c->Ellipse(0, 0, 20, 20);
  EXPECT_EQ(c->Pixel(10, 10), clWhite);  // not filled
  EXPECT_EQ(c->Pixel(10, 0), clLime);
  // A colour makes a clear brush solid again.
  c->Brush()->SetColor(clYellow);
  EXPECT_EQ(c->Brush()->Style(), bsSolid);
  c->FillRect(Rect(12, 12, 14, 14));
  EXPECT_EQ(c->Pixel(13, 13), clYellow);
  EXPECT_EQ(c->Pixel(14, 14), clWhite);
  c->Pen()->SetStyle(psClear);
  c->MoveTo(0, 19);
  c->LineTo(19, 19);
  EXPECT_EQ(c->Pixel(5, 19), clWhite);
  EXPECT_EQ(c->PenPos(), Point(19, 19));
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(3);
  c->MoveTo(0, 16);
  c->LineTo(19, 16);
  EXPECT_EQ(c->Pixel(8, 15), clBlack);
  EXPECT_EQ(c->Pixel(8, 17), clBlack);
}

TEST(Canvas, TextDrawsInTheFontColourAndMovesThePen) {
  fwtest::EnsureGuiApplication();
  TBitmap b;
  b.SetSize(200, 40);
  TCanvas* c = b.Canvas();
  c->Font()->SetColor(clRed);
  c->Font()->SetHeight(-20);
  c->Brush()->SetStyle(bsClear);
  TSize ext = c->TextExtent("Hello");
  EXPECT_GT(ext.cx, 20);
  EXPECT_GE(ext.cy, 20);
  c->TextOut(5, 5, "Hello");
  EXPECT_EQ(c->PenPos(), Point(5 + ext.cx, 5));
  int red = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      uint32_t p = Px(b, x, y);
      bool inked = p != 0xFFFFFF;
      if (inked && (GetBValue(PixelToColor(p)) < 128) && x >= 5 && x < 5 + ext.cx) ++red;
      if (inked && (x < 5 || x >= 5 + ext.cx + 2)) ++outside;
    }
  EXPECT_GT(red, 20);
  EXPECT_EQ(outside, 0);
  // An opaque brush fills the text cell.
  c->Brush()->SetColor(clBlue);
  c->TextOut(100, 0, "x");
  EXPECT_EQ(c->Pixel(100, 0), clBlue);
}

TEST(Canvas, BitBltClipsAndAppliesRasterOps) {
  TBitmap src, dst;
  src.SetSize(4, 4);
  src.Canvas()->Brush()->SetColor(RGB(0xF0, 0x0F, 0x00));
  src.Canvas()->FillRect(Rect(0, 0, 4, 4));
  dst.SetSize(4, 4);
  dst.Canvas()->Brush()->SetColor(RGB(0x0F, 0x0F, 0xFF));
  dst.Canvas()->FillRect(Rect(0, 0, 4, 4));
  BitBlt(*dst.Canvas(), 2, 2, 10, 10, *src.Canvas(), 0, 0);
  EXPECT_EQ(dst.Canvas()->Pixel(3, 3), RGB(0xF0, 0x0F, 0x00));
  EXPECT_EQ(dst.Canvas()->Pixel(1, 1), RGB(0x0F, 0x0F, 0xFF));
  BitBlt(*dst.Canvas(), -3, -3, 4, 4, *src.Canvas(), 0, 0, cmSrcInvert);
  EXPECT_EQ(dst.Canvas()->Pixel(0, 0), RGB(0xFF, 0x00, 0xFF));
  EXPECT_EQ(dst.Canvas()->Pixel(1, 0), RGB(0x0F, 0x0F, 0xFF));
  BitBlt(*dst.Canvas(), 0, 0, 1, 1, *src.Canvas(), 0, 0, cmWhiteness);
  EXPECT_EQ(dst.Canvas()->Pixel(0, 0), clWhite);
  TCanvas nothing;
  EXPECT_THROW(nothing.Rectangle(0, 0, 1, 1), EInvalidOperation);
}

TEST(Picture, LoadsByExtensionAndRefusesUnknownOnes) {
  std::string dir = testing::TempDir();
  TBitmap b;
  b.SetSize(3, 2);
  b.SaveToFile(dir + "fw_pic.bmp");
  QImage png(4, 5, QImage::Format_RGB32);
  png.fill(Qt::red);
  png.save(QString::fromStdString(dir + "fw_pic.png"));
  TPicture p;
  p.LoadFromFile(dir + "fw_pic.bmp");
  EXPECT_EQ(p.Width(), 3);
  p.LoadFromFile(dir + "fw_pic.png");
  EXPECT_EQ(p.Height(), 5);
  EXPECT_EQ(p.Bitmap()->Canvas()->Pixel(0, 0), clRed);
  try {
    p.LoadFromFile(dir + "fw_pic.xyz");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.message(), "Unknown picture file extension (xyz)");
  }
  EXPECT_EQ(p.Height(), 5);  // unchanged after the failure
  std::remove((dir + "fw_pic.bmp").c_str());
  std::remove((dir + "fw_pic.png").c_str());
}

}  // namespace
}  // namespace fw
