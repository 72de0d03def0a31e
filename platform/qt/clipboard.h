// The system clipboard behind the framework's Clipboard object (needs a QGuiApplication).
#pragma once

#include "platform/fw/clipboard.h"

namespace qtfw {

class TQtClipboard : public fw::IClipboardService {
 public:
  bool HasText() override;
  std::string Text() override;
  void SetText(const std::string& text) override;
  void Clear() override;
};

}  // namespace qtfw
