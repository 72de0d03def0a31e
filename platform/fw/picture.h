// A picture of any graphic class, as images and forms hold them. Form data stores it as
// "Picture.Data": the graphic's class name, then the graphic's own data.
#pragma once

#include <string>

#include "platform/fw/events.h"
#include "platform/fw/filer.h"
#include "platform/fw/graphic.h"
#include "platform/fw/object.h"

namespace fw {

class TBitmap;

class TPicture : public TPersistent, public IDefinesProperties {
  RT_CLASS(TPicture)
 public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_; }
  // Stores a copy of `graphic` (null empties the picture).
  void SetGraphic(TGraphic* graphic);
  // The picture as a bitmap; a picture that holds something else (or nothing) becomes an empty
  // bitmap first.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* bitmap);
  int32_t Width() const;
  int32_t Height() const;

  // By extension: .bmp as a bitmap; .png, .jpg, .jpeg, .gif and .ico decoded into a bitmap. Other
  // extensions raise EInvalidGraphic "Unknown picture file extension (.xyz)".
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;
  TPersistent* GetOwner() const override { return owner_; }
  void SetOwner(TPersistent* owner) { owner_ = owner; }

  TNotifyEvent OnChange;

 private:
  void Changed();
  void Take(TGraphic* graphic);
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

  TGraphic* graphic_ = nullptr;
  TPersistent* owner_ = nullptr;
};

}  // namespace fw
