#include "platform/qt/peer.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <map>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"

namespace qtfw {

namespace {

int gDepth = 0;

std::map<const rt::ClassInfo*, TPeerMaker>& makers() {
  static std::map<const rt::ClassInfo*, TPeerMaker> m;
  return m;
}

Qt::CursorShape cursorShape(fw::TCursor c) {
  switch (c) {
    case fw::crNone: return Qt::BlankCursor;
    case fw::crCross: return Qt::CrossCursor;
    case fw::crIBeam: return Qt::IBeamCursor;
    case fw::crSizeNESW: return Qt::SizeBDiagCursor;
    case fw::crSizeNS: return Qt::SizeVerCursor;
    case fw::crSizeNWSE: return Qt::SizeFDiagCursor;
    case fw::crSizeWE: return Qt::SizeHorCursor;
    case fw::crUpArrow: return Qt::UpArrowCursor;
    case fw::crHourGlass:
    case fw::crSQLWait: return Qt::WaitCursor;
    case fw::crNoDrop:
    case fw::crNo: return Qt::ForbiddenCursor;
    case fw::crHSplit: return Qt::SplitHCursor;
    case fw::crVSplit: return Qt::SplitVCursor;
    case fw::crAppStart: return Qt::BusyCursor;
    case fw::crHelp: return Qt::WhatsThisCursor;
    case fw::crHandPoint: return Qt::PointingHandCursor;
    case fw::crSizeAll: return Qt::SizeAllCursor;
    case fw::crDrag:
    case fw::crMultiDrag: return Qt::DragCopyCursor;
    default: return Qt::ArrowCursor;
  }
}

fw::TMouseButton buttonOf(Qt::MouseButton b) {
  return b == Qt::RightButton ? fw::mbRight : b == Qt::MiddleButton ? fw::mbMiddle : fw::mbLeft;
}

fw::TShiftState shiftOf(QMouseEvent* e, bool dbl = false) {
  fw::TShiftState s = ShiftOf(e->modifiers(), e->buttons() | e->button());
  if (dbl) s.include(fw::ssDouble);
  return s;
}

}  // namespace

void Guarded(const std::function<void()>& f) {
  ++gDepth;
  try {
    f();
  } catch (...) {
    try {
      fw::Application()->HandleException(fw::Application());
    } catch (...) {
    }
  }
  --gDepth;
}

int GuardDepth() { return gDepth; }

QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

QColor ToQColor(fw::TColor color) {
  const uint32_t rgb = fw::ColorToRGB(color);
  return QColor(fw::GetRValue(rgb), fw::GetGValue(rgb), fw::GetBValue(rgb));
}

QColor TextColor(const QWidget& widget, fw::TColor color) {
  return ToQColor(widget.isEnabled() ? color : fw::clGrayText);
}

int VirtualKeyOf(const QKeyEvent& e) {
  const int k = e.key();
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9)
    return (e.modifiers() & Qt::KeypadModifier) ? fw::VK_NUMPAD0 + (k - Qt::Key_0) : '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return fw::VK_F1 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return fw::VK_RETURN;
    case Qt::Key_Escape: return fw::VK_ESCAPE;
    case Qt::Key_Space: return fw::VK_SPACE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return fw::VK_TAB;
    case Qt::Key_Backspace: return fw::VK_BACK;
    case Qt::Key_Left: return fw::VK_LEFT;
    case Qt::Key_Up: return fw::VK_UP;
    case Qt::Key_Right: return fw::VK_RIGHT;
    case Qt::Key_Down: return fw::VK_DOWN;
    case Qt::Key_PageUp: return fw::VK_PRIOR;
    case Qt::Key_PageDown: return fw::VK_NEXT;
    case Qt::Key_Home: return fw::VK_HOME;
    case Qt::Key_End: return fw::VK_END;
    case Qt::Key_Insert: return fw::VK_INSERT;
    case Qt::Key_Delete: return fw::VK_DELETE;
    case Qt::Key_Shift: return fw::VK_SHIFT;
    case Qt::Key_Control: return fw::VK_CONTROL;
    case Qt::Key_Alt: return fw::VK_MENU;
    case Qt::Key_Meta: return fw::VK_LWIN;
    case Qt::Key_Menu: return fw::VK_APPS;
    case Qt::Key_Pause: return fw::VK_PAUSE;
    case Qt::Key_CapsLock: return fw::VK_CAPITAL;
    case Qt::Key_NumLock: return fw::VK_NUMLOCK;
    case Qt::Key_ScrollLock: return fw::VK_SCROLL;
    case Qt::Key_Print: return fw::VK_SNAPSHOT;
    case Qt::Key_Asterisk: return (e.modifiers() & Qt::KeypadModifier) ? fw::VK_MULTIPLY : 0xBA;
    case Qt::Key_Plus: return (e.modifiers() & Qt::KeypadModifier) ? fw::VK_ADD : 0xBB;
    case Qt::Key_Minus: return (e.modifiers() & Qt::KeypadModifier) ? fw::VK_SUBTRACT : 0xBD;
    case Qt::Key_Slash: return (e.modifiers() & Qt::KeypadModifier) ? fw::VK_DIVIDE : 0xBF;
    case Qt::Key_Period: return (e.modifiers() & Qt::KeypadModifier) ? fw::VK_DECIMAL : 0xBE;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 0xBC;
    case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 0xDE;
    default: return 0;
  }
}

fw::TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
  fw::TShiftState s;
  if (m & Qt::ShiftModifier) s.include(fw::ssShift);
  if (m & Qt::AltModifier) s.include(fw::ssAlt);
  if (m & Qt::ControlModifier) s.include(fw::ssCtrl);
  if (b & Qt::LeftButton) s.include(fw::ssLeft);
  if (b & Qt::RightButton) s.include(fw::ssRight);
  if (b & Qt::MiddleButton) s.include(fw::ssMiddle);
  return s;
}

int ByteToIndex(const std::string& text, int32_t byteOffset) {
  byteOffset = std::clamp<int32_t>(byteOffset, 0, int32_t(text.size()));
  return int(QString::fromUtf8(text.data(), byteOffset).size());
}

int32_t IndexToByte(const QString& text, int index) {
  index = std::clamp<int>(index, 0, int(text.size()));
  return int32_t(text.left(index).toUtf8().size());
}

// ---- hints ----

namespace {

// Whether the control shows hints: its own ShowHint, or its parents' while it takes theirs.
bool ShowsHints(const fw::TControl* control) {
  while (control && control->ParentShowHint() && control->Parent()) control = control->Parent();
  return control && control->ShowHint();
}

// Shows a control's hint when Qt asks for a tool tip (the hint of its action, if it has one).
class THintFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* link = dynamic_cast<TModelLink*>(watched);
    fw::TControl* control = link ? link->model : nullptr;
    if (!control) return false;
    auto* help = static_cast<QHelpEvent*>(event);
    std::string hint;
    bool show = false;
    Guarded([&] { show = ShowsHints(control) && control->HintToShow(hint); });
    if (show && !hint.empty())
      QToolTip::showText(help->globalPos(), ToQString(hint), static_cast<QWidget*>(watched));
    else
      QToolTip::hideText();
    return true;
  }
};

}  // namespace

// ---- TQtPeer ----

TQtPeer::TQtPeer(fw::TControl& control, QWidget* widget) : control_(control), widget_(widget) {
  if (auto* link = dynamic_cast<TModelLink*>(widget)) link->model = &control;
  widget->setMouseTracking(true);
  static THintFilter hints;
  widget->installEventFilter(&hints);
}

TQtPeer::~TQtPeer() {
  if (!widget_) return;
  if (auto* link = dynamic_cast<TModelLink*>(widget_.data())) link->model = nullptr;
  widget_->hide();
  // A widget that may be delivering the event that freed its control goes later.
  if (GuardDepth() > 0)
    widget_->deleteLater();
  else
    delete widget_.data();
}

void TQtPeer::SyncAll() {
  using C = fw::TPeerChange;
  for (C c : {C::Bounds, C::Enabled, C::Font, C::Color, C::Cursor, C::Text, C::State, C::Order, C::Visible})
    Changed(c);
}

void TQtPeer::ApplyBounds() {
  QPoint offset;
  if (control_.Parent())
    if (auto* parent = dynamic_cast<TQtPeer*>(control_.Parent()->Peer())) offset = parent->ClientOffset();
  widget_->setGeometry(control_.Left() + offset.x(), control_.Top() + offset.y(), control_.Width(), control_.Height());
}

void TQtPeer::ApplyVisible() { widget_->setVisible(control_.Visible()); }

void TQtPeer::Changed(fw::TPeerChange what) {
  if (!widget_) return;
  using C = fw::TPeerChange;
  switch (what) {
    case C::Bounds: ApplyBounds(); break;
    case C::Visible: ApplyVisible(); break;
    case C::Enabled: widget_->setEnabled(control_.Enabled()); break;
    case C::Font: {
      widget_->setFont(control_.Font()->ToQFont());
      // The font's colour is the text of an enabled control; a disabled one greys its text
      // whatever the font says.
      QPalette p = widget_->palette();
      const QColor c = ToQColor(control_.Font()->Color()), grey = ToQColor(fw::clGrayText);
      for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Active, role, c);
        p.setColor(QPalette::Inactive, role, c);
        p.setColor(QPalette::Disabled, role, grey);
      }
      widget_->setPalette(p);
      widget_->update();
      break;
    }
    case C::Color: widget_->update(); break;
    case C::Cursor:
      // The default cursor is the parent's (a form that hides the cursor hides it over its controls).
      if (control_.Cursor() == fw::crDefault && control_.Parent())
        widget_->unsetCursor();
      else
        widget_->setCursor(cursorShape(control_.Cursor()));
      break;
    case C::Text:
    case C::Content:
    case C::State: widget_->update(); break;
    case C::Order:
      if (auto* w = dynamic_cast<fw::TWinControl*>(&control_)) {
        // Controls without a window lie under those with one, each group in list order.
        for (int pass = 0; pass < 2; ++pass)
          for (int i = 0; i < w->ControlCount(); ++i) {
            fw::TControl* c = w->Controls(i);
            auto* peer = dynamic_cast<TQtPeer*>(c->Peer());
            if (peer && peer->Widget() && c->IsWindowed() == (pass == 1)) peer->Widget()->raise();
          }
      }
      break;
  }
  Sync(what);
}

void TQtPeer::SetFocus() {
  if (!widget_) return;
  widget_->activateWindow();
  widget_->setFocus(Qt::OtherFocusReason);
}

bool TQtPeer::Focused() const { return widget_ && widget_->hasFocus(); }

void TQtPeer::PaintNow() {
  if (widget_) widget_->repaint();
}

QWidget* ParentWidgetOf(const fw::TControl& control) {
  if (!control.Parent()) return nullptr;
  auto* peer = dynamic_cast<TQtPeer*>(control.Parent()->Peer());
  return peer ? peer->Widget() : nullptr;
}

void RegisterPeer(const rt::ClassInfo& cls, TPeerMaker maker) { makers()[&cls] = std::move(maker); }

TQtPeerFactory::TQtPeerFactory() = default;

std::unique_ptr<fw::TControlPeer> TQtPeerFactory::CreatePeer(fw::TControl& control) {
  QWidget* parent = ParentWidgetOf(control);
  if (control.Parent() && !parent) return nullptr;
  for (const rt::ClassInfo* c = &control.ClassType(); c; c = c->parent) {
    auto it = makers().find(c);
    if (it != makers().end()) return it->second(control, parent);
  }
  return nullptr;
}

// ---- input forwarding ----

namespace detail {

namespace {

// Hands a mouse event to the model; false when the model did not survive its handler.
template <class Call>
bool ForwardMouse(fw::TControl* model, QMouseEvent* e, Call call) {
  if (!model) return true;
  auto alive = model->LivenessToken();
  QPoint p = e->position().toPoint();
  if (auto* peer = dynamic_cast<TQtPeer*>(model->Peer())) p -= peer->ClientOffset();
  Guarded([&] { call(p.x(), p.y()); });
  return !alive.expired();
}

}  // namespace

bool MousePress(fw::TControl* model, QMouseEvent* e) {
  return ForwardMouse(model, e, [&](int x, int y) { model->MouseDown(buttonOf(e->button()), shiftOf(e), x, y); });
}

bool MouseMove(fw::TControl* model, QMouseEvent* e) {
  return ForwardMouse(model, e, [&](int x, int y) { model->MouseMove(shiftOf(e), x, y); });
}

bool MouseRelease(fw::TControl* model, QMouseEvent* e) {
  return ForwardMouse(model, e, [&](int x, int y) { model->MouseUp(buttonOf(e->button()), shiftOf(e), x, y); });
}

bool MouseDouble(fw::TControl* model, QMouseEvent* e) {
  return ForwardMouse(model, e,
                      [&](int x, int y) { model->MouseDoubleClick(buttonOf(e->button()), shiftOf(e), x, y); });
}

bool KeyPress(fw::TControl* model, QKeyEvent* e, std::unique_ptr<QKeyEvent>& replacement) {
  auto* w = dynamic_cast<fw::TWinControl*>(model);
  if (!w) return true;
  auto alive = w->LivenessToken();
  bool pass = true;
  Guarded([&] {
    uint16_t key = uint16_t(VirtualKeyOf(*e));
    const fw::TShiftState shift = ShiftOf(e->modifiers(), QApplication::mouseButtons());
    if (key && w->KeyDown(key, shift)) {
      pass = false;
      return;
    }
    if (alive.expired()) return;
    // Characters of one byte are key presses; longer ones go in without one.
    const QByteArray text = e->text().toUtf8();
    if (text.size() != 1) return;
    char c = text[0];
    if (w->KeyPress(c)) {
      pass = false;
      return;
    }
    if (c != text[0])
      replacement = std::make_unique<QKeyEvent>(e->type(), e->key(), e->modifiers(), QString(QChar(uchar(c))),
                                                e->isAutoRepeat(), e->count());
  });
  return pass && !alive.expired();
}

bool KeyRelease(fw::TControl* model, QKeyEvent* e) {
  auto* w = dynamic_cast<fw::TWinControl*>(model);
  if (!w) return true;
  auto alive = w->LivenessToken();
  bool pass = true;
  Guarded([&] {
    uint16_t key = uint16_t(VirtualKeyOf(*e));
    if (key && w->KeyUp(key, ShiftOf(e->modifiers(), QApplication::mouseButtons()))) pass = false;
  });
  return pass && !alive.expired();
}

TWheelRoute Wheel(fw::TControl* model, QWheelEvent* e) {
  // The wheel of a mouse turns the vertical axis; a sideways tilt is the widget's alone.
  const int delta = e->angleDelta().y();
  if (!model || delta == 0) return TWheelRoute::Widget;
  auto alive = model->LivenessToken();
  // From the screen, since the event may come through an inner widget (a scroll area's viewport).
  QPoint p = e->position().toPoint();
  if (auto* peer = dynamic_cast<TQtPeer*>(model->Peer()); peer && peer->Widget())
    p = peer->Widget()->mapFromGlobal(e->globalPosition()).toPoint() - peer->ClientOffset();
  bool handled = false;
  Guarded([&] {
    const fw::TPoint screen = model->ClientToScreen({p.x(), p.y()});
    handled = model->MouseWheel(ShiftOf(e->modifiers(), e->buttons()), delta, screen);
  });
  if (!handled && !alive.expired()) return TWheelRoute::WidgetOnly;
  e->accept();
  return TWheelRoute::Taken;
}

void FocusIn(fw::TControl* model) {
  if (auto* w = dynamic_cast<fw::TWinControl*>(model)) Guarded([&] { w->FocusIn(); });
}

void FocusOut(fw::TControl* model) {
  if (auto* w = dynamic_cast<fw::TWinControl*>(model)) Guarded([&] { w->FocusOut(); });
}

}  // namespace detail

}  // namespace qtfw
