#include "platform/fw/bitmap.h"

#include <QPainter>
#include <cstring>

#include "platform/fw/errors.h"
#include "platform/fw/stream.h"

namespace fw {

namespace {
const char* const InvalidBitmap = "Bitmap image is not valid";
const char* const ScanLineRange = "Scan line index out of range";

uint32_t le32(const std::string& b, size_t at) {
  return uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8) | (uint8_t(b[at + 2]) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24);
}
void put16(std::string& b, uint16_t v) {
  b += char(v);
  b += char(v >> 8);
}
void put32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b += char(v >> (8 * i));
}

// The pixel format a BMP file stores, from its header.
TPixelFormat FileFormat(const std::string& bytes) {
  if (bytes.size() < 30) return pfDevice;
  uint32_t headerSize = le32(bytes, 14);
  uint16_t bits = headerSize == 12 ? uint16_t(uint8_t(bytes[24]) | (uint8_t(bytes[25]) << 8))
                                   : uint16_t(uint8_t(bytes[28]) | (uint8_t(bytes[29]) << 8));
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfDevice;
  }
}
}  // namespace

const rt::ClassInfo& TBitmap::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TBitmap>("TBitmap", &TGraphic::StaticClassInfo())
                                         .create([](TPersistent*) -> TPersistent* { return new TBitmap; })
                                         .build();
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { delete canvas_; }

QImage::Format TBitmap::QtFormat(TPixelFormat format) {
  switch (format) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    default: return QImage::Format_RGB32;
  }
}

void TBitmap::SetImage(QImage image) {
  image_ = std::move(image);
  width_ = image_.isNull() ? 0 : image_.width();
  height_ = image_.isNull() ? 0 : image_.height();
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == width_ && height == height_) return;
  QImage next;
  if (width > 0 && height > 0) {
    next = QImage(width, height, QImage::Format_RGB32);
    if (next.isNull()) throw EOutOfResources("Out of system resources");
    next.fill(0xFFFFFFFFu);
    if (!image_.isNull()) {
      QPainter p(&next);
      p.drawImage(0, 0, image_);
    }
    if (QtFormat(pixelFormat_) != QImage::Format_RGB32) next = next.convertToFormat(QtFormat(pixelFormat_));
  }
  image_ = std::move(next);
  width_ = width;
  height_ = height;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == pixelFormat_) return;
  pixelFormat_ = format;
  if (!image_.isNull() && image_.format() != QtFormat(format)) image_ = image_.convertToFormat(QtFormat(format));
  Changed();
}

uint8_t* TBitmap::ScanLine(int32_t row) {
  if (image_.isNull() || row < 0 || row >= height_) throw EInvalidGraphicOperation(ScanLineRange);
  return image_.scanLine(row);
}

const uint8_t* TBitmap::ScanLine(int32_t row) const {
  if (image_.isNull() || row < 0 || row >= height_) throw EInvalidGraphicOperation(ScanLineRange);
  return image_.constScanLine(row);
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = new TCanvas;
    canvas_->SetSurface(&image_);
    canvas_->OnChange = TNotifyEvent(
        [](void* self, TObject*) { static_cast<TBitmap*>(self)->Changed(); }, this);
  }
  return canvas_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (image_.isNull()) return clDefault;
  return PixelToColor(image_.pixel(0, height_ - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  transparentMode_ = mode;
  if (mode == tmAuto) transparentColor_ = clDefault;
  Changed();
}

void TBitmap::LoadFromBytes(const std::string& bytes) {
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') throw EInvalidGraphic(InvalidBitmap);
  QImage img;
  if (!img.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), "BMP"))
    throw EInvalidGraphic(InvalidBitmap);
  TPixelFormat format = FileFormat(bytes);
  QImage::Format target = QtFormat(format);
  if (img.format() != target) img = img.convertToFormat(target);
  pixelFormat_ = format;
  SetImage(std::move(img));
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream) { LoadFromBytes(stream.ReadRest()); }

void TBitmap::LoadFromImage(const QImage& image) {
  if (image.isNull()) throw EInvalidGraphic(InvalidBitmap);
  pixelFormat_ = pfDevice;
  SetImage(image.convertToFormat(QImage::Format_RGB32));
  Changed();
}

std::string TBitmap::SaveToBytes() const {
  if (image_.isNull()) return {};
  QImage img = image_;
  int bits;
  switch (img.format()) {
    case QImage::Format_Mono: bits = 1; break;
    case QImage::Format_Indexed8: bits = 8; break;
    case QImage::Format_BGR888: bits = 24; break;
    case QImage::Format_RGB32: bits = 32; break;
    default:
      img = img.convertToFormat(QImage::Format_BGR888);
      bits = 24;
  }
  int colors = bits <= 8 ? int(img.colorCount()) : 0;
  if (bits <= 8 && colors == 0) colors = 1 << bits;
  uint32_t stride = ((uint32_t(width_) * bits + 31) / 32) * 4;
  uint32_t dataOffset = 14 + 40 + uint32_t(colors) * 4;
  uint32_t fileSize = dataOffset + stride * uint32_t(height_);
  std::string b;
  b.reserve(fileSize);
  b += "BM";
  put32(b, fileSize);
  put32(b, 0);
  put32(b, dataOffset);
  put32(b, 40);
  put32(b, uint32_t(width_));
  put32(b, uint32_t(height_));
  put16(b, 1);
  put16(b, uint16_t(bits));
  put32(b, 0);  // no compression
  put32(b, stride * uint32_t(height_));
  put32(b, 3780);  // 96 dots per inch
  put32(b, 3780);
  put32(b, uint32_t(colors));
  put32(b, 0);
  for (int i = 0; i < colors; ++i) {
    QRgb c = i < img.colorCount() ? img.color(i) : 0;
    b += char(qBlue(c));
    b += char(qGreen(c));
    b += char(qRed(c));
    b += '\0';
  }
  size_t rowBytes = (size_t(width_) * bits + 7) / 8;
  for (int y = height_ - 1; y >= 0; --y) {
    const uchar* row = img.constScanLine(y);
    b.append(reinterpret_cast<const char*>(row), rowBytes);
    b.append(stride - rowBytes, '\0');
  }
  return b;
}

void TBitmap::SaveToStream(TStream& stream) {
  std::string b = SaveToBytes();
  stream.WriteBuffer(b.data(), int64_t(b.size()));
}

void TBitmap::ReadData(TStream& stream) {
  uint8_t size[4];
  stream.ReadBuffer(size, 4);
  uint32_t n = size[0] | (size[1] << 8) | (size[2] << 16) | (uint32_t(size[3]) << 24);
  if (n > stream.Size() - stream.Position()) throw EReadError(msg::ReadError);
  std::string bytes(n, '\0');
  stream.ReadBuffer(bytes.data(), n);
  if (n == 0) {
    SetImage(QImage());
    Changed();
    return;
  }
  LoadFromBytes(bytes);
}

void TBitmap::WriteData(TStream& stream) {
  std::string b = SaveToBytes();
  uint32_t n = uint32_t(b.size());
  uint8_t size[4] = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  stream.WriteBuffer(size, 4);
  stream.WriteBuffer(b.data(), n);
}

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    SetImage(QImage());
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    image_ = b->image_;
    width_ = b->width_;
    height_ = b->height_;
    pixelFormat_ = b->pixelFormat_;
    transparent_ = b->transparent_;
    transparentColor_ = b->transparentColor_;
    transparentMode_ = b->transparentMode_;
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(source)) {
    if (g->Empty()) {
      SetImage(QImage());
      Changed();
    } else {
      LoadFromImage(g->ToImage());
    }
    return;
  }
  TGraphic::Assign(source);
}

QImage TBitmap::ToImage() const {
  if (image_.isNull()) return {};
  return image_.format() == QImage::Format_RGB32 ? image_ : image_.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  if (Empty()) return;
  QImage* dest = canvas.Surface();
  if (!dest || dest->isNull()) throw EInvalidOperation(msg::NoCanvasHandle);
  QImage src = ToImage();
  canvas.Changing();
  if (transparent_) {
    uint32_t key = ColorToPixel(TransparentColor()) & 0xFFFFFFu;
    if (rect.Width() != width_ || rect.Height() != height_) {
      // Scaled: scale first, then copy what is not the key colour.
      src = src.scaled(std::max(1, rect.Width()), std::max(1, rect.Height()));
    }
    if (dest->format() != QImage::Format_RGB32 && dest->format() != QImage::Format_ARGB32)
      *dest = dest->convertToFormat(QImage::Format_RGB32);
    int x0 = std::max(0, -rect.Left), y0 = std::max(0, -rect.Top);
    int w = std::min(src.width(), dest->width() - rect.Left), h = std::min(src.height(), dest->height() - rect.Top);
    for (int y = y0; y < h; ++y) {
      const uint32_t* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
      uint32_t* d = reinterpret_cast<uint32_t*>(dest->scanLine(rect.Top + y)) + rect.Left;
      for (int x = x0; x < w; ++x)
        if ((s[x] & 0xFFFFFFu) != key) d[x] = s[x] | 0xFF000000u;
    }
  } else if (rect.Width() == width_ && rect.Height() == height_) {
    TBitmap* self = this;
    BitBlt(canvas, rect.Left, rect.Top, width_, height_, *self->Canvas(), 0, 0, canvas.CopyMode());
  } else {
    QPainter p(dest);
    p.drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), src);
  }
  canvas.Changed();
}

}  // namespace fw
