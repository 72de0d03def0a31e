// Push buttons. A button with a ModalResult sets its form's ModalResult when clicked (ending a
// modal form); the form's Default button answers Enter, its Cancel button Escape.
#pragma once

#include "platform/fw/control.h"
#include "platform/fw/form.h"

namespace fw {

class TButtonControl : public TWinControl {
  RT_CLASS(TButtonControl)
 public:
  explicit TButtonControl(TComponent* owner);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

 private:
  bool wordWrap_ = false;
};

class TButton : public TButtonControl {
  RT_CLASS(TButton)
 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }

  void Click() override;

 private:
  bool default_ = false, cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

}  // namespace fw
