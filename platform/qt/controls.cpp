// The peers of the first-tier controls: forms (top-level windows showing the form's canvas),
// panels, labels, images, edits, memos, buttons and check boxes.
#include <QCheckBox>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>

#include "platform/fw/application.h"
#include "platform/fw/bitmap.h"
#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/image.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"
#include "platform/fw/panel.h"
#include "platform/qt/controls.h"
#include "platform/qt/menus.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

Qt::Alignment horizontal(fw::TAlignment a) {
  return a == fw::taCenter ? Qt::AlignHCenter : a == fw::taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
}

// ---- forms ----

class TFormWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;
  fw::TCustomForm* form() const { return static_cast<fw::TCustomForm*>(model); }
  // The client area starts below the menu bar (the peer keeps this current).
  QPoint offset() const { return clientOffset; }
  QPoint clientOffset;
  std::function<void()> onResized;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!form()) return;
    Guarded([&] {
      fw::TCustomForm* f = form();
      f->PaintWindow();
      QPainter p(this);
      const QPoint o = offset();
      p.drawImage(o.x(), o.y(), f->Surface());
    });
  }
  void closeEvent(QCloseEvent* e) override {
    // The form decides (OnCloseQuery, OnClose); the window follows its Visible.
    e->ignore();
    if (fw::TCustomForm* f = form()) Guarded([&] { f->Close(); });
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    if (onResized) onResized();
    const QPoint o = offset();
    if (fw::TCustomForm* f = form()) Guarded([&] { f->ClientResizedByUser(width() - o.x(), height() - o.y()); });
  }
  void changeEvent(QEvent* e) override {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !form()) return;
    fw::TCustomForm* f = form();
    const bool active = isActiveWindow();
    Guarded([&] { active ? f->Activated() : f->Deactivated(); });
  }
};

class TFormPeer : public TQtPeer {
 public:
  TFormPeer(fw::TControl& control, QWidget*) : TQtPeer(control, new TFormWidget(nullptr)) {
    Widget()->setFocusPolicy(Qt::StrongFocus);
    Widget()->setAttribute(Qt::WA_OpaquePaintEvent);
    Widget()->setAttribute(Qt::WA_InputMethodEnabled, false);
    static_cast<TFormWidget*>(Widget())->onResized = [this] { PlaceMenuBar(); };
    ApplyFlags();
    UpdateMenuBar();
  }
  ~TFormPeer() override {
    if (Widget()) static_cast<TFormWidget*>(Widget())->onResized = nullptr;
  }

  QPoint ClientOffset() const override {
    auto* w = static_cast<TFormWidget*>(Widget());
    return w ? w->clientOffset : QPoint();
  }

 protected:
  fw::TCustomForm& form() const { return static_cast<fw::TCustomForm&>(Control()); }

  // The bar of the form's main menu, made or dropped as the form's Menu changes.
  void UpdateMenuBar() {
    fw::TMainMenu* menu = form().Menu();
    if (menuBar_ && menuBar_->Menu() == menu) return;
    const bool had = menuBar_ != nullptr;
    menuBar_.reset();
    if (menu) menuBar_ = std::make_unique<TMenuBarView>(Widget(), *menu);
    if (auto* w = static_cast<TFormWidget*>(Widget())) w->clientOffset = menuBar_ ? QPoint(0, form().MenuBarHeight()) : QPoint();
    PlaceMenuBar();
    if (had != (menuBar_ != nullptr)) {
      // The client area moved: so do the children.
      for (int i = 0; i < form().ControlCount(); ++i)
        if (fw::TControlPeer* peer = form().Controls(i)->Peer()) peer->Changed(fw::TPeerChange::Bounds);
    }
  }
  void PlaceMenuBar() {
    if (menuBar_ && Widget()) menuBar_->Place(Widget()->width(), form().MenuBarHeight());
  }

  std::unique_ptr<TMenuBarView> menuBar_;

  void ApplyFlags() {
    fw::TCustomForm& f = form();
    Qt::WindowFlags flags = Qt::Window;
    const auto style = f.BorderStyle();
    if (style == fw::bsNone) {
      flags |= Qt::FramelessWindowHint;
    } else {
      if (style == fw::bsToolWindow || style == fw::bsSizeToolWin) flags |= Qt::Tool;
      flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
      if (f.BorderIcons().has(fw::biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (style != fw::bsDialog && f.BorderIcons().has(fw::biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
      if ((style == fw::bsSizeable || style == fw::bsSizeToolWin) && f.BorderIcons().has(fw::biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    }
    const bool visible = Widget()->isVisible();
    Widget()->setWindowFlags(flags);
    if (visible) Widget()->show();
  }

  void ApplyBounds() override {
    fw::TCustomForm& f = form();
    QWidget* w = Widget();
    const QSize client(f.ClientWidth(), f.ClientHeight() + ClientOffset().y());
    const auto style = f.BorderStyle();
    if (style == fw::bsSizeable || style == fw::bsSizeToolWin) {
      w->setMinimumSize(0, 0);
      w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      if (w->size() != client) w->resize(client);
    } else {
      w->setFixedSize(client);
    }
    w->move(f.Left(), f.Top());
  }

  void ApplyVisible() override {
    fw::TCustomForm& f = form();
    QWidget* w = Widget();
    if (f.Visible()) {
      w->setWindowModality(f.Modal() ? Qt::ApplicationModal : Qt::NonModal);
      if (f.WindowState() == fw::wsMinimized)
        w->showMinimized();
      else if (f.WindowState() == fw::wsMaximized)
        w->showMaximized();
      else
        w->show();
      if (QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();  // it has no stacking
      w->activateWindow();
      if (!f.ActiveControl()) w->setFocus(Qt::ActiveWindowFocusReason);
    } else {
      w->hide();
    }
  }

  void Sync(TPeerChange what) override {
    switch (what) {
      case TPeerChange::Text: Widget()->setWindowTitle(ToQString(form().Caption())); break;
      case TPeerChange::State:
        UpdateMenuBar();
        ApplyFlags();
        ApplyBounds();
        if (form().Visible()) ApplyVisible();
        break;
      default: break;
    }
  }
};

// ---- panels and plain window controls ----

void drawBevel(QPainter& p, QRect& r, fw::TBevelCut cut, int width) {
  if (cut == fw::bvNone) return;
  const QColor light = ToQColor(fw::clBtnHighlight), dark = ToQColor(fw::clBtnShadow);
  for (int i = 0; i < width; ++i) {
    if (cut != fw::bvSpace) {
      const QColor& topLeft = cut == fw::bvRaised ? light : dark;
      const QColor& bottomRight = cut == fw::bvRaised ? dark : light;
      p.setPen(topLeft);
      p.drawLine(r.left(), r.top(), r.right(), r.top());
      p.drawLine(r.left(), r.top(), r.left(), r.bottom());
      p.setPen(bottomRight);
      p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
      p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    }
    r.adjust(1, 1, -1, -1);
  }
}

class TPanelWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!model) return;
    Guarded([&] {
      QPainter p(this);
      p.fillRect(rect(), ToQColor(model->Color()));
      auto* panel = dynamic_cast<fw::TPanel*>(model);
      if (!panel) return;
      QRect r = rect();
      if (panel->BorderStyle() == fw::TBorderStyle::bsSingle) {
        p.setPen(ToQColor(fw::clWindowFrame));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
      }
      drawBevel(p, r, panel->BevelOuter(), panel->BevelWidth());
      r.adjust(panel->BorderWidth(), panel->BorderWidth(), -panel->BorderWidth(), -panel->BorderWidth());
      drawBevel(p, r, panel->BevelInner(), panel->BevelWidth());
      const std::string caption = panel->Caption();
      if (caption.empty()) return;
      p.setFont(font());
      p.setPen(TextColor(*this, panel->Font()->Color()));
      p.drawText(r, int(horizontal(panel->Alignment()) | Qt::AlignVCenter | Qt::TextSingleLine),
                 ToQString(caption));
    });
  }
};

// A control that never takes the focus, shown by the widget W.
template <class W>
class TNoFocusPeer : public TQtPeer {
 public:
  TNoFocusPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new W(parent)) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  }
};
using TPanelPeer = TNoFocusPeer<TPanelWidget>;

// ---- labels ----

class TLabelWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  void paintEvent(QPaintEvent*) override {
    auto* label = dynamic_cast<fw::TLabel*>(model);
    if (!label) return;
    Guarded([&] {
      QPainter p(this);
      if (!label->Transparent()) p.fillRect(rect(), ToQColor(label->Color()));
      p.setFont(font());
      p.setPen(TextColor(*this, label->Font()->Color()));
      int flags = int(horizontal(label->Alignment()));
      flags |= label->Layout() == fw::tlCenter ? Qt::AlignVCenter
               : label->Layout() == fw::tlBottom ? Qt::AlignBottom
                                                 : Qt::AlignTop;
      if (label->WordWrap()) flags |= Qt::TextWordWrap;
      if (label->ShowAccelChar()) flags |= Qt::TextShowMnemonic;
      p.drawText(rect(), flags, ToQString(label->Caption()));
    });
  }
};

using TLabelPeer = TNoFocusPeer<TLabelWidget>;

// ---- images ----

class TImageWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  void paintEvent(QPaintEvent*) override {
    auto* image = dynamic_cast<fw::TImage*>(model);
    if (!image) return;
    Guarded([&] {
      fw::TGraphic* g = image->Picture()->Graphic();
      if (!g || g->Empty()) return;
      QImage picture = g->ToImage();
      if (image->Transparent()) {
        if (auto* b = dynamic_cast<fw::TBitmap*>(g)) {
          // The transparent colour's pixels let the parent show through.
          const QRgb key = fw::ColorToPixel(b->TransparentColor()) | 0xFF000000u;
          picture = picture.convertToFormat(QImage::Format_ARGB32);
          for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
              if ((line[x] | 0xFF000000u) == key) line[x] = 0;
          }
        }
      }
      const fw::TRect r = image->DestRect();
      QPainter p(this);
      p.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), picture);
    });
  }
};

class TImagePeer : public TQtPeer {
 public:
  TImagePeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TImageWidget(parent)) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  }
};

// ---- edits ----

void applyBase(QWidget* w, const fw::TControl& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, ToQColor(c.Color()));
  w->setPalette(p);
}

Qt::FocusPolicy focusPolicy(const fw::TWinControl& c) { return c.TabStop() ? Qt::StrongFocus : Qt::ClickFocus; }

// The style of an edit that masks its text with its own password character, not the style's.
class TPasswordStyle : public QProxyStyle {
 public:
  explicit TPasswordStyle(QChar mask) : mask_(mask) {}
  QChar Mask() const { return mask_; }
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return mask_.unicode();
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }

 private:
  QChar mask_;
};

class TEditPeer : public TQtPeer {
 public:
  TEditPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TForwarding<QLineEdit>(parent)) {
    auto* e = edit();
    QObject::connect(e, &QLineEdit::textEdited, e, [this](const QString&) { ReportText(); });
    QObject::connect(e, &QLineEdit::selectionChanged, e, [this] { ReportSelection(); });
    QObject::connect(e, &QLineEdit::cursorPositionChanged, e, [this](int, int) { ReportSelection(); });
  }

 protected:
  QLineEdit* edit() const { return static_cast<QLineEdit*>(Widget()); }
  fw::TCustomEdit& model() const { return static_cast<fw::TCustomEdit&>(Control()); }

  void ReportText() {
    if (syncing_) return;
    QLineEdit* e = edit();
    const QString text = e->text();
    const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const int length = e->hasSelectedText() ? int(e->selectedText().size()) : 0;
    Guarded([&] {
      model().UserEdited(FromQString(text), IndexToByte(text, start),
                         IndexToByte(text, start + length) - IndexToByte(text, start));
    });
  }
  void ReportSelection() {
    if (syncing_) return;
    QLineEdit* e = edit();
    const QString text = e->text();
    const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const int length = e->hasSelectedText() ? int(e->selectedText().size()) : 0;
    Guarded([&] {
      model().UserSelected(IndexToByte(text, start), IndexToByte(text, start + length) - IndexToByte(text, start));
    });
  }

  void Sync(TPeerChange what) override {
    QLineEdit* e = edit();
    fw::TCustomEdit& m = model();
    syncing_ = true;
    switch (what) {
      case TPeerChange::Text:
      case TPeerChange::State: {
        const std::string text = m.Text();
        const QString q = ToQString(text);
        if (e->text() != q) e->setText(q);
        e->setReadOnly(m.ReadOnly());
        // The limit holds the user's typing only: a longer text set by the program is kept whole.
        e->setMaxLength(m.MaxLength() > 0 ? std::max<int>(m.MaxLength(), int(q.size())) : 0x3FFFFFFF);
        e->setEchoMode(m.PasswordChar() ? QLineEdit::Password : QLineEdit::Normal);
        applyMask(e, m.PasswordChar());
        e->setFrame(m.BorderStyle() == fw::TBorderStyle::bsSingle);
        const int start = ByteToIndex(text, m.SelStart());
        const int end = ByteToIndex(text, m.SelStart() + m.SelLength());
        if (end > start)
          e->setSelection(start, end - start);
        else
          e->setCursorPosition(start);
        e->setFocusPolicy(focusPolicy(m));
        break;
      }
      case TPeerChange::Color: applyBase(e, m); break;
      default: break;
    }
    syncing_ = false;
  }

 private:
  void applyMask(QLineEdit* e, char mask) {
    if (!mask) return;
    const QChar wanted{char16_t(uchar(mask))};
    if (maskStyle_ && maskStyle_->Mask() == wanted) return;
    // The widget does not own its style: this one lives as its child, the one it replaces goes.
    auto* style = new TPasswordStyle(wanted);
    style->setParent(e);
    e->setStyle(style);
    delete maskStyle_.data();
    maskStyle_ = style;
  }

  bool syncing_ = false;
  QPointer<TPasswordStyle> maskStyle_;
};

// ---- memos ----

std::string toCrLf(const QString& text) {
  std::string s = FromQString(text);
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

QString fromCrLf(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      s += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      s += text[i];
    }
  }
  return ToQString(s);
}

class TMemoPeer : public TQtPeer {
 public:
  TMemoPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TForwarding<QPlainTextEdit>(parent)) {
    auto* e = memo();
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [this] { Report(); });
    QObject::connect(e, &QPlainTextEdit::cursorPositionChanged, e, [this] { Report(); });
  }

 protected:
  QPlainTextEdit* memo() const { return static_cast<QPlainTextEdit*>(Widget()); }
  fw::TCustomMemo& model() const { return static_cast<fw::TCustomMemo&>(Control()); }

  void Report() {
    if (syncing_) return;
    QPlainTextEdit* e = memo();
    const QString text = e->toPlainText();
    QTextCursor c = e->textCursor();
    // Offsets in the model's text count two bytes for each line break.
    auto offset = [&](int index) {
      int breaks = int(text.left(index).count(QLatin1Char('\n')));
      return IndexToByte(text, index) + breaks;
    };
    const int start = c.selectionStart(), end = c.selectionEnd();
    Guarded([&] { model().UserEdited(toCrLf(text), offset(start), offset(end) - offset(start)); });
  }

  void Sync(TPeerChange what) override {
    QPlainTextEdit* e = memo();
    fw::TCustomMemo& m = model();
    syncing_ = true;
    switch (what) {
      case TPeerChange::Text:
      case TPeerChange::State: {
        const QString q = fromCrLf(m.Text());
        if (e->toPlainText() != q) e->setPlainText(q);
        e->setReadOnly(m.ReadOnly());
        e->setLineWrapMode(m.WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        const auto s = m.ScrollBars();
        e->setHorizontalScrollBarPolicy(s == fw::ssHorizontal || s == fw::ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                 : Qt::ScrollBarAlwaysOff);
        e->setVerticalScrollBarPolicy(s == fw::ssVertical || s == fw::ssBoth ? Qt::ScrollBarAlwaysOn
                                                                             : Qt::ScrollBarAlwaysOff);
        e->setTabChangesFocus(!m.WantTabs());
        e->setFocusPolicy(focusPolicy(m));
        break;
      }
      case TPeerChange::Color: applyBase(e, m); break;
      default: break;
    }
    syncing_ = false;
  }

 private:
  bool syncing_ = false;
};

// ---- buttons and check boxes ----

class TButtonPeer : public TQtPeer {
 public:
  TButtonPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TForwarding<QPushButton>(parent)) {
    auto* b = static_cast<QPushButton*>(Widget());
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, b, [this] {
      fw::TControl& c = Control();
      Guarded([&] { c.Click(); });
    });
  }

 protected:
  void Sync(TPeerChange what) override {
    auto* b = static_cast<QPushButton*>(Widget());
    auto& m = static_cast<fw::TButton&>(Control());
    if (what == TPeerChange::Text) b->setText(ToQString(m.Caption()));
    if (what == TPeerChange::State || what == TPeerChange::Text) {
      b->setDefault(m.Default());
      b->setFocusPolicy(focusPolicy(m));
    }
  }
};

class TCheckWidget : public TForwarding<QCheckBox> {
 public:
  using TForwarding<QCheckBox>::TForwarding;
  std::function<void()> onToggle;

 protected:
  // The click goes to the control, which decides the next state (and fires OnClick).
  void nextCheckState() override {
    if (onToggle) onToggle();
  }
};

class TCheckBoxPeer : public TQtPeer {
 public:
  TCheckBoxPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TCheckWidget(parent)) {
    auto* w = static_cast<TCheckWidget*>(Widget());
    w->onToggle = [this] {
      auto& m = static_cast<fw::TCheckBox&>(Control());
      Guarded([&] { m.Toggle(); });
      Sync(TPeerChange::State);
    };
  }

 protected:
  void Sync(TPeerChange what) override {
    QPointer<QWidget> alive(Widget());
    if (!alive) return;
    auto* b = static_cast<QCheckBox*>(Widget());
    auto& m = static_cast<fw::TCheckBox&>(Control());
    switch (what) {
      case TPeerChange::Text: b->setText(ToQString(m.Caption())); break;
      case TPeerChange::State: {
        b->setTristate(m.AllowGrayed());
        const Qt::CheckState s = m.State() == fw::cbChecked   ? Qt::Checked
                                 : m.State() == fw::cbGrayed ? Qt::PartiallyChecked
                                                             : Qt::Unchecked;
        if (b->checkState() != s) {
          QSignalBlocker block(b);
          b->setCheckState(s);
        }
        b->setLayoutDirection(m.Alignment() == fw::taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
        b->setFocusPolicy(focusPolicy(m));
        break;
      }
      case TPeerChange::Color: {
        QPalette p = b->palette();
        p.setColor(QPalette::Window, ToQColor(m.Color()));
        b->setPalette(p);
        b->setAutoFillBackground(true);
        break;
      }
      default: break;
    }
  }
};

// A window control of a class without its own peer: its colour.
class TWinControlPeer : public TQtPeer {
 public:
  TWinControlPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TPanelWidget(parent)) {
    Widget()->setFocusPolicy(focusPolicy(static_cast<fw::TWinControl&>(control)));
  }
};

template <class P>
TPeerMaker maker() {
  return [](fw::TControl& control, QWidget* parent) -> std::unique_ptr<fw::TControlPeer> {
    auto peer = std::make_unique<P>(control, parent);
    peer->SyncAll();
    return peer;
  };
}

}  // namespace

void RegisterStandardPeers() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TCustomForm::StaticClassInfo(), maker<TFormPeer>());
  RegisterPeer(fw::TWinControl::StaticClassInfo(), maker<TWinControlPeer>());
  RegisterPeer(fw::TPanel::StaticClassInfo(), maker<TPanelPeer>());
  RegisterPeer(fw::TLabel::StaticClassInfo(), maker<TLabelPeer>());
  RegisterPeer(fw::TImage::StaticClassInfo(), maker<TImagePeer>());
  RegisterPeer(fw::TCustomEdit::StaticClassInfo(), maker<TEditPeer>());
  RegisterPeer(fw::TCustomMemo::StaticClassInfo(), maker<TMemoPeer>());
  RegisterPeer(fw::TButton::StaticClassInfo(), maker<TButtonPeer>());
  RegisterPeer(fw::TCheckBox::StaticClassInfo(), maker<TCheckBoxPeer>());
}

}  // namespace qtfw
