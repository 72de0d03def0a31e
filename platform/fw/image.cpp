#include "platform/fw/image.h"

#include "platform/fw/bitmap.h"
#include "platform/fw/errors.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TImage::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TImage>("TImage", &TGraphicControl::StaticClassInfo())
          .property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).defaultValue(false)
          .property("Center", &TImage::Center, &TImage::SetCenter).defaultValue(false)
          .property("IncrementalDisplay", &TImage::IncrementalDisplay, &TImage::SetIncrementalDisplay)
          .defaultValue(false)
          .property("Picture", &TImage::Picture, &TImage::SetPicture)
          .property("Proportional", &TImage::Proportional, &TImage::SetProportional).defaultValue(false)
          .property("Stretch", &TImage::Stretch, &TImage::SetStretch).defaultValue(false)
          .property("Transparent", &TImage::Transparent, &TImage::SetTransparent).defaultValue(false)
          .event("OnProgress", ProgressEventType(), &TImage::OnProgress)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TImage(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(new TPicture) {
  picture_->SetOwner(this);
  picture_->OnChange = TNotifyEvent::bind<&TImage::PictureChanged>(this);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::PictureChanged(TObject*) {
  if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  if (TGraphic* g = picture_->Graphic()) g->SetTransparent(transparent_);
  Invalidate();
}

TCanvas* TImage::Canvas() {
  if (!picture_->Graphic()) {
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    picture_->SetGraphic(&bitmap);
  }
  auto* bitmap = dynamic_cast<TBitmap*>(picture_->Graphic());
  if (!bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return bitmap->Canvas();  // its drawing changes the picture, which repaints the image
}

TRect TImage::DestRect() const {
  const int32_t pw = picture_->Width(), ph = picture_->Height();
  int32_t w = pw, h = ph;
  const int32_t cw = ClientWidth(), ch = ClientHeight();
  if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
    if (proportional_ && pw > 0 && ph > 0) {
      if (int64_t(cw) * ph < int64_t(ch) * pw) {
        w = cw;
        h = int32_t(int64_t(ph) * cw / pw);
      } else {
        h = ch;
        w = int32_t(int64_t(pw) * ch / ph);
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Bounds(0, 0, w, h);
  if (center_) r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
  return r;
}

void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  if (v) PictureChanged(picture_.get());
}

void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}

void TImage::SetProportional(bool v) {
  proportional_ = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  transparent_ = v;
  if (TGraphic* g = picture_->Graphic()) g->SetTransparent(v);
  Invalidate();
}

}  // namespace fw
