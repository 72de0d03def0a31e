// The script class "Clipboard" (a global instance under its name): the text on the clipboard,
// through the framework's clipboard service (the system clipboard in a windowed host; a clipboard
// private to the process in the console host).
#pragma once

#include <string>

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJClipboard : public engine::TJObject {
  RT_CLASS(TJClipboard)
 public:
  TJClipboard(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // The clipboard's text; empty when it holds no text.
  std::string AsText() const;
  void SetAsText(std::string text);

  void RegistMethods() override;
  std::string ToString(const engine::TJValue* argument) override { return AsText(); }

  // hasText(): the clipboard holds text.
  void DoHasText(engine::TJValueList* args, engine::TJValue& result);
};

}  // namespace host
