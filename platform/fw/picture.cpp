#include "platform/fw/picture.h"

#include <QImage>

#include "platform/fw/bitmap.h"
#include "platform/fw/errors.h"
#include "platform/fw/stream.h"
#include "platform/rt/utf8.h"

namespace fw {

const rt::ClassInfo& TPicture::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TPicture>("TPicture", &TPersistent::StaticClassInfo())
                                         .create([](TPersistent*) -> TPersistent* { return new TPicture; })
                                         .build();
  return info;
}

TPicture::TPicture() = default;

TPicture::~TPicture() { delete graphic_; }

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Take(TGraphic* graphic) {
  delete graphic_;
  graphic_ = graphic;
  if (graphic_) {
    graphic_->OnChange = TNotifyEvent([](void* self, TObject*) { static_cast<TPicture*>(self)->Changed(); }, this);
  }
  Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
  if (graphic == graphic_) return;
  if (!graphic) {
    Take(nullptr);
    return;
  }
  auto* copy = static_cast<TGraphic*>(graphic->ClassType().create ? graphic->ClassType().create(nullptr) : nullptr);
  if (!copy) copy = new TBitmap;
  try {
    copy->Assign(graphic);
  } catch (...) {
    delete copy;
    throw;
  }
  Take(copy);
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_)) return b;
  Take(new TBitmap);
  return static_cast<TBitmap*>(graphic_);
}

void TPicture::SetBitmap(TBitmap* bitmap) { SetGraphic(bitmap); }

int32_t TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int32_t TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

static std::string Extension(const std::string& fileName) {
  size_t slash = fileName.find_last_of('/');
  size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return rt::lowerCase(fileName.substr(dot));
}

void TPicture::LoadFromFile(const std::string& fileName) {
  std::string ext = Extension(fileName);
  auto* bitmap = new TBitmap;
  try {
    if (ext == ".bmp") {
      bitmap->LoadFromFile(fileName);
    } else if (ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".gif" || ext == ".ico") {
      TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
      std::string bytes = f.ReadRest();
      QImage img;
      if (!img.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size())))
        throw EInvalidGraphic(msg::InvalidGraphic);
      bitmap->LoadFromImage(img);
    } else {
      raise<EInvalidGraphic>(msg::UnknownGraphicFormat, {ext.empty() ? std::string(".") : ext.substr(1)});
    }
  } catch (...) {
    delete bitmap;
    throw;
  }
  Take(bitmap);
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<const TPicture*>(source)) {
    SetGraphic(p->graphic_);
  } else if (auto* g = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(const_cast<TGraphic*>(g));
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      graphic_ && !graphic_->Empty());
}

void TPicture::ReadData(TStream& stream) {
  uint8_t len;
  stream.ReadBuffer(&len, 1);
  std::string className(len, '\0');
  stream.ReadBuffer(className.data(), len);
  auto* bitmap = new TBitmap;
  try {
    if (rt::sameText(className, "TBitmap")) {
      bitmap->ReadData(stream);
    } else {
      // Other graphic classes are decoded into a bitmap: JPEG data has a size in front, icons and
      // PNG images do not.
      std::string rest = stream.ReadRest();
      if (rt::sameText(className, "TJPEGImage") && rest.size() >= 4) rest = rest.substr(4);
      QImage img;
      if (!img.loadFromData(reinterpret_cast<const uchar*>(rest.data()), int(rest.size())))
        throw EInvalidGraphic(msg::InvalidGraphic);
      bitmap->LoadFromImage(img);
    }
  } catch (...) {
    delete bitmap;
    throw;
  }
  Take(bitmap);
}

void TPicture::WriteData(TStream& stream) {
  if (!graphic_) return;
  std::string className = graphic_->ClassName();
  uint8_t len = uint8_t(className.size());
  stream.WriteBuffer(&len, 1);
  stream.WriteBuffer(className.data(), len);
  graphic_->WriteData(stream);
}

}  // namespace fw
