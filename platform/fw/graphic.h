// Pictures that can draw themselves on a canvas and be stored in form data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fw/events.h"
#include "platform/fw/object.h"
#include "platform/fw/types.h"

class QImage;

namespace fw {

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
  RT_CLASS(TGraphic)
 public:
  ~TGraphic() override;

  virtual bool Empty() const = 0;
  virtual int32_t Width() const = 0;
  virtual void SetWidth(int32_t width) = 0;
  virtual int32_t Height() const = 0;
  virtual void SetHeight(int32_t height) = 0;
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName);

  // Draws the picture into `rect` of the canvas (scaled when the sizes differ).
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  // The picture as a 32-bit image (for display).
  virtual QImage ToImage() const = 0;

  // The bytes stored for the graphic in form data (after the class name).
  virtual void ReadData(TStream& stream);
  virtual void WriteData(TStream& stream);

  std::weak_ptr<const void> LivenessToken() const;

  TNotifyEvent OnChange;

  virtual void Changed();

 protected:
  bool transparent_ = false;
  bool modified_ = false;

 private:
  mutable std::shared_ptr<const void> alive_;
};

}  // namespace fw
