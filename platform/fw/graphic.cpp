#include "platform/fw/graphic.h"

#include "platform/fw/stream.h"

namespace fw {

const rt::ClassInfo& TGraphic::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TGraphic>("TGraphic", &TPersistent::StaticClassInfo()).build();
  return info;
}

TGraphic::~TGraphic() { alive_.reset(); }

void TGraphic::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Changed();
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

void TGraphic::ReadData(TStream& stream) { LoadFromStream(stream); }
void TGraphic::WriteData(TStream& stream) { SaveToStream(stream); }

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

std::weak_ptr<const void> TGraphic::LivenessToken() const {
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

}  // namespace fw
