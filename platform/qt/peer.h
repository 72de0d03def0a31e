// The Qt side of controls: a peer owns one widget that shows its control's state and reports the
// user's input to it. Every call from Qt into the framework goes through Guarded, which hands any
// exception to the application's handler (nothing may cross Qt's event loop). Peer classes are
// registered per framework class; the factory picks the one of the nearest registered class.
#pragma once

#include <QPointer>
#include <QString>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/fw/control.h"
#include "platform/fw/services.h"

class QKeyEvent;
class QMouseEvent;
class QFocusEvent;
class QWheelEvent;

namespace qtfw {

// Runs `f`; an exception goes to the application's handler. Calls nest (a modal loop inside a
// click): the depth tells whether Qt is delivering an event to us right now.
void Guarded(const std::function<void()>& f);
int GuardDepth();

QString ToQString(const std::string& text);
std::string FromQString(const QString& text);
QColor ToQColor(fw::TColor color);
// The colour a peer writes its texts in: `color` while the user can reach the control, grey
// while it or one of its parents is disabled.
QColor TextColor(const QWidget& widget, fw::TColor color);
// The framework's virtual-key code of a Qt key event (0 when it has none).
int VirtualKeyOf(const QKeyEvent& event);
fw::TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// Byte offsets of UTF-8 text <-> indexes into its QString.
int ByteToIndex(const std::string& text, int32_t byteOffset);
int32_t IndexToByte(const QString& text, int index);

class TQtPeer : public fw::TControlPeer {
 public:
  // Takes the widget (already a child of the parent's widget) and shows the control's state.
  TQtPeer(fw::TControl& control, QWidget* widget);
  ~TQtPeer() override;

  QWidget* Widget() const { return widget_; }
  fw::TControl& Control() const { return control_; }

  void Changed(fw::TPeerChange what) override;
  void SetFocus() override;
  bool Focused() const override;
  void PaintNow() override;
  // Shows every part of the state (after construction).
  void SyncAll();
  // Where the control's client area starts in its widget (below a form's menu bar).
  virtual QPoint ClientOffset() const { return {}; }

 protected:
  // What a peer class shows beyond the common state.
  virtual void Sync(fw::TPeerChange what) {}
  virtual void ApplyBounds();
  virtual void ApplyVisible();

 private:
  fw::TControl& control_;
  QPointer<QWidget> widget_;
};

// The widget a child's widget goes into: the peer's widget.
QWidget* ParentWidgetOf(const fw::TControl& control);

using TPeerMaker = std::function<std::unique_ptr<fw::TControlPeer>(fw::TControl& control, QWidget* parent)>;
// Registers the peer class for `cls` and its descendants (unless they have their own).
void RegisterPeer(const rt::ClassInfo& cls, TPeerMaker maker);

class TQtPeerFactory : public fw::IPeerFactory {
 public:
  TQtPeerFactory();
  std::unique_ptr<fw::TControlPeer> CreatePeer(fw::TControl& control) override;
};

// Input forwarding shared by every widget class: mouse, keys and focus go to the control first;
// the widget's own handling follows unless the control swallowed the event (or was freed).
struct TModelLink {
  virtual ~TModelLink() = default;
  fw::TControl* model = nullptr;  // cleared when the peer goes
};

template <class Base>
class TForwarding : public Base, public TModelLink {
 public:
  using Base::Base;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
};

// Helpers the template uses (defined in peer.cpp).
namespace detail {
bool MousePress(fw::TControl* model, QMouseEvent* e);
bool MouseMove(fw::TControl* model, QMouseEvent* e);
bool MouseRelease(fw::TControl* model, QMouseEvent* e);
bool MouseDouble(fw::TControl* model, QMouseEvent* e);
// False when the widget must not see the event; `replacement` set when the key press handler
// changed the character.
bool KeyPress(fw::TControl* model, QKeyEvent* e, std::unique_ptr<QKeyEvent>& replacement);
bool KeyRelease(fw::TControl* model, QKeyEvent* e);
void FocusIn(fw::TControl* model);
void FocusOut(fw::TControl* model);
// Where a wheel event goes after the model (and through it the control's parents) saw it.
enum class TWheelRoute {
  Widget,       // the model had no say: the widget, then Qt's usual way up the widgets
  WidgetOnly,   // the widget (it may scroll); the control's parents were asked already
  Taken,        // a handler took it, or freed the control: nothing more
};
TWheelRoute Wheel(fw::TControl* model, QWheelEvent* e);
}  // namespace detail

template <class Base>
void TForwarding<Base>::mousePressEvent(QMouseEvent* e) {
  QPointer<QWidget> self(this);
  if (detail::MousePress(model, e) && self) Base::mousePressEvent(e);
}
template <class Base>
void TForwarding<Base>::mouseMoveEvent(QMouseEvent* e) {
  QPointer<QWidget> self(this);
  if (detail::MouseMove(model, e) && self) Base::mouseMoveEvent(e);
}
template <class Base>
void TForwarding<Base>::mouseReleaseEvent(QMouseEvent* e) {
  QPointer<QWidget> self(this);
  if (detail::MouseRelease(model, e) && self) Base::mouseReleaseEvent(e);
}
template <class Base>
void TForwarding<Base>::mouseDoubleClickEvent(QMouseEvent* e) {
  QPointer<QWidget> self(this);
  if (detail::MouseDouble(model, e) && self) Base::mouseDoubleClickEvent(e);
}
template <class Base>
void TForwarding<Base>::keyPressEvent(QKeyEvent* e) {
  QPointer<QWidget> self(this);
  std::unique_ptr<QKeyEvent> replacement;
  if (detail::KeyPress(model, e, replacement) && self) Base::keyPressEvent(replacement ? replacement.get() : e);
}
template <class Base>
void TForwarding<Base>::keyReleaseEvent(QKeyEvent* e) {
  QPointer<QWidget> self(this);
  if (detail::KeyRelease(model, e) && self) Base::keyReleaseEvent(e);
}
template <class Base>
void TForwarding<Base>::focusInEvent(QFocusEvent* e) {
  QPointer<QWidget> self(this);
  detail::FocusIn(model);
  if (self) Base::focusInEvent(e);
}
template <class Base>
void TForwarding<Base>::focusOutEvent(QFocusEvent* e) {
  QPointer<QWidget> self(this);
  detail::FocusOut(model);
  if (self) Base::focusOutEvent(e);
}

template <class Base>
void TForwarding<Base>::wheelEvent(QWheelEvent* e) {
  QPointer<QWidget> self(this);
  const detail::TWheelRoute route = detail::Wheel(model, e);
  if (route == detail::TWheelRoute::Taken || !self) return;
  Base::wheelEvent(e);
  if (route == detail::TWheelRoute::WidgetOnly) e->accept();
}

}  // namespace qtfw
