#include "platform/fw/clipboard.h"

namespace fw {

namespace {

std::shared_ptr<IClipboardService>& CurrentService() {
  static std::shared_ptr<IClipboardService> service = std::make_shared<TMemoryClipboard>();
  return service;
}

}  // namespace

void SetClipboardService(std::shared_ptr<IClipboardService> service) {
  CurrentService() = service ? std::move(service) : std::make_shared<TMemoryClipboard>();
}

IClipboardService& ClipboardService() { return *CurrentService(); }

const rt::ClassInfo& TClipboard::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TClipboard>("TClipboard", &TPersistent::StaticClassInfo()).build();
  return info;
}

std::string TClipboard::AsText() const { return ClipboardService().Text(); }

void TClipboard::SetAsText(const std::string& text) { ClipboardService().SetText(text); }

bool TClipboard::HasFormat(uint16_t format) const { return format == CF_TEXT && ClipboardService().HasText(); }

void TClipboard::Clear() { ClipboardService().Clear(); }

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

}  // namespace fw
