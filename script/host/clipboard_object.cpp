#include "script/host/clipboard_object.h"

#include "platform/fw/clipboard.h"
#include "platform/rt/persistent.h"
#include "script/core/value_list.h"
#include "script/host/guarded.h"

namespace host {

using namespace engine;

namespace {
constexpr const char* kClipboardError = "EClipboardError";
}

const rt::ClassInfo& TJClipboard::StaticClassInfo() {
  using T = TJClipboard;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJClipboard", &TJObject::StaticClassInfo())
                                         .property("asText", &T::AsText, &T::SetAsText)
                                         .build();
  return info;
}

TJClipboard::TJClipboard(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("Clipboard"); }

void TJClipboard::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("hasText", &TJClipboard::DoHasText);
}

std::string TJClipboard::AsText() const {
  return Guarded(kClipboardError, "asText error", [] {
    fw::IClipboardService& clipboard = fw::ClipboardService();
    return clipboard.HasText() ? clipboard.Text() : std::string();
  });
}

void TJClipboard::SetAsText(std::string text) {
  Guarded(kClipboardError, "asText error", [&] { fw::ClipboardService().SetText(text); });
}

void TJClipboard::DoHasText(TJValueList*, TJValue& result) {
  result.SetBool(Guarded(kClipboardError, "hasText error", [] { return fw::ClipboardService().HasText(); }));
}

}  // namespace host
