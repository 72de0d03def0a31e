// Images: a picture shown in the control's box (at the top left, centred, or stretched).
#pragma once

#include <memory>

#include "platform/fw/canvas.h"
#include "platform/fw/control.h"
#include "platform/fw/picture.h"

namespace fw {

class TImage : public TGraphicControl {
  RT_CLASS(TImage)
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* picture) { picture_->Assign(picture); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool IncrementalDisplay() const { return incrementalDisplay_; }
  void SetIncrementalDisplay(bool v) { incrementalDisplay_ = v; }

  // The canvas of the picture's bitmap; an empty picture becomes a bitmap of the image's size
  // first. Raises EInvalidOperation when the picture holds another kind of graphic.
  TCanvas* Canvas();
  // Where the picture is drawn in the client area.
  TRect DestRect() const;

  TProgressEvent OnProgress;

 private:
  void PictureChanged(TObject*);

  std::unique_ptr<TPicture> picture_;
  bool autoSize_ = false, center_ = false, stretch_ = false, proportional_ = false, transparent_ = false;
  bool incrementalDisplay_ = false;
};

}  // namespace fw
