#include "script/stdlib/host_ui.h"

namespace stdlib {

namespace {

std::shared_ptr<IHostUI>& CurrentUI() {
  static std::shared_ptr<IHostUI> ui = std::make_shared<TQuietHostUI>();
  return ui;
}

}  // namespace

int DefaultButton(int flags) {
  switch (flags & mbButtonMask) {
    case mbAbortRetryIgnore: return idAbort;
    case mbYesNoCancel:
    case mbYesNo: return idYes;
    case mbRetryCancel: return idRetry;
    default: return idOK;
  }
}

IHostUI& HostUI() { return *CurrentUI(); }

void SetHostUI(std::shared_ptr<IHostUI> ui) { CurrentUI() = ui ? std::move(ui) : std::make_shared<TQuietHostUI>(); }

}  // namespace stdlib
