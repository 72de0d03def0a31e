#include "platform/fw/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/fw/errors.h"
#include "platform/fw/graphic.h"

namespace fw {

uint32_t ColorToPixel(TColor color) {
  uint32_t rgb = ColorToRGB(color);
  return 0xFF000000u | (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

TColor PixelToColor(uint32_t pixel) { return RGB(uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)); }

static QColor ToQColor(TColor c) {
  uint32_t rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

static QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

const rt::ClassInfo& TCanvas::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TCanvas>("TCanvas", &TPersistent::StaticClassInfo())
                                         .property("Brush", &TCanvas::Brush, &TCanvas::SetBrush)
                                         .property("CopyMode", &TCanvas::CopyMode, &TCanvas::SetCopyMode)
                                         .defaultValue(cmSrcCopy)
                                         .property("Font", &TCanvas::Font, &TCanvas::SetFont)
                                         .property("Pen", &TCanvas::Pen, &TCanvas::SetPen)
                                         .build();
  return info;
}

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush) {}

TCanvas::~TCanvas() {
  delete font_;
  delete pen_;
  delete brush_;
}

QImage& TCanvas::RequireSurface() const {
  if (!surface_ || surface_->isNull()) throw EInvalidOperation(msg::NoCanvasHandle);
  // Palette and one-bit images are drawn on as 32-bit images.
  if (surface_->format() == QImage::Format_Indexed8 || surface_->format() == QImage::Format_Mono ||
      surface_->format() == QImage::Format_MonoLSB)
    *surface_ = surface_->convertToFormat(QImage::Format_RGB32);
  return *surface_;
}

TRect TCanvas::ClipRect() const {
  if (!surface_) return {};
  return {0, 0, surface_->width(), surface_->height()};
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::BeginPaint(QPainter& p, bool usePen, bool useBrush) {
  p.begin(&RequireSurface());
  p.setRenderHint(QPainter::Antialiasing, false);
  if (usePen && pen_->Style() != psClear && pen_->Mode() != pmNop) {
    QPen pen(ToQColor(pen_->Color()));
    int w = pen_->Width();
    pen.setWidth(w <= 1 ? 0 : w);
    if (w > 1) {
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
    }
    switch (pen_->Style()) {
      case psDash: pen.setStyle(Qt::DashLine); break;
      case psDot: pen.setStyle(Qt::DotLine); break;
      case psDashDot: pen.setStyle(Qt::DashDotLine); break;
      case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
      default: pen.setStyle(Qt::SolidLine);
    }
    switch (pen_->Mode()) {
      case pmBlack: pen.setColor(Qt::black); break;
      case pmWhite: pen.setColor(Qt::white); break;
      case pmNot: p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
      case pmNotCopy: p.setCompositionMode(QPainter::RasterOp_NotSource); break;
      case pmXor: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
      case pmNotXor: p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
      case pmMerge: p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
      case pmMask: p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
      default: break;
    }
    p.setPen(pen);
  } else {
    p.setPen(Qt::NoPen);
  }
  if (useBrush && brush_->Style() != bsClear) {
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (brush_->Style()) {
      case bsHorizontal: style = Qt::HorPattern; break;
      case bsVertical: style = Qt::VerPattern; break;
      case bsFDiagonal: style = Qt::FDiagPattern; break;
      case bsBDiagonal: style = Qt::BDiagPattern; break;
      case bsCross: style = Qt::CrossPattern; break;
      case bsDiagCross: style = Qt::DiagCrossPattern; break;
      default: break;
    }
    p.setBrush(QBrush(ToQColor(brush_->Color()), style));
  } else {
    p.setBrush(Qt::NoBrush);
  }
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  Changing();
  {
    QPainter p;
    BeginPaint(p, true, false);
    p.drawLine(penPos_.X, penPos_.Y, x, y);
  }
  penPos_ = {x, y};
  Changed();
}

// The outline of a shape inside (x1, y1)-(x2, y2), right and bottom exclusive.
static QRect ShapeRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  return QRect(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Changing();
  {
    QPainter p;
    BeginPaint(p);
    p.drawRect(ShapeRect(x1, y1, x2, y2));
  }
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  if (r.IsEmpty()) return;
  Changing();
  {
    QPainter p;
    BeginPaint(p, false, true);
    if (brush_->Style() != bsClear) p.fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), p.brush());
  }
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.IsEmpty()) return;
  Changing();
  {
    QPainter p;
    BeginPaint(p, false, false);
    QColor c = ToQColor(brush_->Color());
    p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
  }
  Changed();
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Changing();
  {
    QPainter p;
    BeginPaint(p);
    p.drawEllipse(ShapeRect(x1, y1, x2, y2));
  }
  Changed();
}

void TCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h) {
  Changing();
  {
    QPainter p;
    BeginPaint(p);
    p.drawRoundedRect(ShapeRect(x1, y1, x2, y2), w / 2.0, h / 2.0);
  }
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  {
    QPainter p;
    BeginPaint(p);
    QPolygon poly;
    for (auto& pt : points) poly << QPoint(pt.X, pt.Y);
    p.drawPolygon(poly);
  }
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  {
    QPainter p;
    BeginPaint(p, true, false);
    QPolygon poly;
    for (auto& pt : points) poly << QPoint(pt.X, pt.Y);
    p.drawPolyline(poly);
  }
  penPos_ = points.back();
  Changed();
}

// Angles of the radial lines through (x, y) from the centre of the bounding box, in Qt's
// sixteenths of a degree, counter-clockwise.
static int ArcAngle(const QRect& r, int32_t x, int32_t y) {
  double cx = r.x() + r.width() / 2.0, cy = r.y() + r.height() / 2.0;
  double a = std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
  return int(std::lround(a * 16));
}

void TCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) {
  Changing();
  {
    QPainter p;
    BeginPaint(p, true, false);
    QRect r = ShapeRect(x1, y1, x2, y2);
    int a1 = ArcAngle(r, x3, y3), a2 = ArcAngle(r, x4, y4);
    int span = a2 - a1;
    if (span <= 0) span += 360 * 16;
    p.drawArc(r, a1, span);
  }
  Changed();
}

void TCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) {
  Changing();
  {
    QPainter p;
    BeginPaint(p);
    QRect r = ShapeRect(x1, y1, x2, y2);
    int a1 = ArcAngle(r, x3, y3), a2 = ArcAngle(r, x4, y4);
    int span = a2 - a1;
    if (span <= 0) span += 360 * 16;
    p.drawPie(r, a1, span);
  }
  Changed();
}

TSize TCanvas::TextExtent(std::string_view text) const {
  QFontMetrics m(font_->ToQFont());
  return {int32_t(m.horizontalAdvance(ToQString(text))), int32_t(m.height())};
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  Changing();
  TSize size{};
  {
    QPainter p;
    BeginPaint(p, false, false);
    QFont f = font_->ToQFont();
    p.setFont(f);
    QFontMetrics m(f);
    QString s = ToQString(text);
    size = {int32_t(m.horizontalAdvance(s)), int32_t(m.height())};
    if (brush_->Style() != bsClear) p.fillRect(QRect(x, y, size.cx, size.cy), ToQColor(brush_->Color()));
    p.setPen(ToQColor(font_->Color()));
    p.drawText(QPoint(x, y + m.ascent()), s);
  }
  penPos_ = {x + size.cx, y};
  Changed();
}

void TCanvas::TextRect(const TRect& r, int32_t x, int32_t y, std::string_view text) {
  Changing();
  {
    QPainter p;
    BeginPaint(p, false, false);
    QFont f = font_->ToQFont();
    p.setFont(f);
    QFontMetrics m(f);
    QRect clip(r.Left, r.Top, r.Width(), r.Height());
    if (brush_->Style() != bsClear) p.fillRect(clip, ToQColor(brush_->Color()));
    p.setClipRect(clip);
    p.setPen(ToQColor(font_->Color()));
    p.drawText(QPoint(x, y + m.ascent()), ToQString(text));
  }
  Changed();
}

void TCanvas::Draw(int32_t x, int32_t y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(*this, Bounds(x, y, graphic->Width(), graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  QImage& src = source.RequireSurface();
  QImage& dst = RequireSurface();
  Changing();
  if (dest.Width() == sourceRect.Width() && dest.Height() == sourceRect.Height()) {
    BitBlt(*this, dest.Left, dest.Top, dest.Width(), dest.Height(), source, sourceRect.Left, sourceRect.Top,
           copyMode_);
  } else {
    QPainter p(&dst);
    p.drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), src,
                QRect(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height()));
  }
  Changed();
}

TColor TCanvas::Pixel(int32_t x, int32_t y) const {
  if (!surface_ || x < 0 || y < 0 || x >= surface_->width() || y >= surface_->height()) return -1;
  return PixelToColor(surface_->pixel(x, y));
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color) {
  QImage& img = RequireSurface();
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
  Changing();
  img.setPixel(x, y, ColorToPixel(color));
  Changed();
}

void BitBlt(TCanvas& dest, int32_t x, int32_t y, int32_t w, int32_t h, TCanvas& source, int32_t sx, int32_t sy,
            TCopyMode rop) {
  if (!dest.Surface() || dest.Surface()->isNull()) throw EInvalidOperation(msg::NoCanvasHandle);
  QImage& dst = *dest.Surface();
  bool needsSource = rop != cmBlackness && rop != cmWhiteness && rop != cmDstInvert;
  if (dst.format() != QImage::Format_RGB32 && dst.format() != QImage::Format_ARGB32)
    dst = dst.convertToFormat(QImage::Format_RGB32);
  QImage converted;
  const QImage* src = nullptr;
  if (needsSource) {
    if (!source.Surface() || source.Surface()->isNull()) throw EInvalidOperation(msg::NoCanvasHandle);
    src = source.Surface();
    if (src->format() != QImage::Format_RGB32 && src->format() != QImage::Format_ARGB32) {
      converted = src->convertToFormat(QImage::Format_RGB32);
      src = &converted;
    }
    // Clip against the source.
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    w = std::min(w, src->width() - sx);
    h = std::min(h, src->height() - sy);
  }
  // Clip against the destination.
  if (x < 0) { sx -= x; w += x; x = 0; }
  if (y < 0) { sy -= y; h += y; y = 0; }
  w = std::min(w, dst.width() - x);
  h = std::min(h, dst.height() - y);
  if (w <= 0 || h <= 0) return;
  for (int32_t row = 0; row < h; ++row) {
    auto* d = reinterpret_cast<uint32_t*>(dst.scanLine(y + row)) + x;
    const uint32_t* s = src ? reinterpret_cast<const uint32_t*>(src->constScanLine(sy + row)) + sx : nullptr;
    switch (rop) {
      case cmSrcCopy: std::memcpy(d, s, size_t(w) * 4); break;
      case cmSrcAnd: for (int i = 0; i < w; ++i) d[i] &= s[i] | 0xFF000000u; break;
      case cmSrcPaint: for (int i = 0; i < w; ++i) d[i] |= s[i]; break;
      case cmSrcInvert: for (int i = 0; i < w; ++i) d[i] = (d[i] ^ s[i]) | 0xFF000000u; break;
      case cmNotSrcCopy: for (int i = 0; i < w; ++i) d[i] = ~s[i] | 0xFF000000u; break;
      case cmSrcErase: for (int i = 0; i < w; ++i) d[i] = (s[i] & ~d[i]) | 0xFF000000u; break;
      case cmMergePaint: for (int i = 0; i < w; ++i) d[i] = (~s[i] | d[i]) | 0xFF000000u; break;
      case cmBlackness: for (int i = 0; i < w; ++i) d[i] = 0xFF000000u; break;
      case cmWhiteness: for (int i = 0; i < w; ++i) d[i] = 0xFFFFFFFFu; break;
      case cmDstInvert: for (int i = 0; i < w; ++i) d[i] = ~d[i] | 0xFF000000u; break;
      default: std::memcpy(d, s, size_t(w) * 4); break;
    }
  }
  dest.Changed();
}

}  // namespace fw
