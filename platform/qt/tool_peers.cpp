// Tool bars draw their edges and hold one QToolButton per tool button, placed where the bar's
// model lays it out; a click goes to the model, which decides whether a check button stays down.
// Cool bars draw their bands (grip, text, border) and let the user drag a grip. Up-downs draw two
// arrows and hand each press to the model, which asks its handlers before it moves. Spin edits are
// spin boxes whose arrows, arrow keys and wheel step the model's value.
#include "platform/qt/tool_peers.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <QWidget>

#include "platform/fw/spin.h"
#include "platform/fw/tool_bar.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

QRect ToQRect(const fw::TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

template <class P>
TPeerMaker Maker() {
  return [](fw::TControl& control, QWidget* parent) -> std::unique_ptr<fw::TControlPeer> {
    auto peer = std::make_unique<P>(control, parent);
    peer->SyncAll();
    return peer;
  };
}

void drawEdges(QPainter& p, const QRect& area, const fw::TToolWindow& w) {
  const fw::TEdgeBorders b = w.EdgeBorders();
  const QColor light = ToQColor(fw::clBtnHighlight), dark = ToQColor(fw::clBtnShadow);
  QRect r = area;
  for (fw::TEdgeStyle style : {w.EdgeOuter(), w.EdgeInner()}) {
    if (style == fw::esNone) continue;
    const QColor& topLeft = style == fw::esRaised ? light : dark;
    const QColor& bottomRight = style == fw::esRaised ? dark : light;
    p.setPen(topLeft);
    if (b.has(fw::ebTop)) p.drawLine(r.left(), r.top(), r.right(), r.top());
    if (b.has(fw::ebLeft)) p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    if (b.has(fw::ebBottom)) p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    if (b.has(fw::ebRight)) p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    r.adjust(b.has(fw::ebLeft) ? 1 : 0, b.has(fw::ebTop) ? 1 : 0, b.has(fw::ebRight) ? -1 : 0,
             b.has(fw::ebBottom) ? -1 : 0);
  }
}

// ---- tool bar and tool buttons ----

class TToolBarWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  void paintEvent(QPaintEvent*) override {
    auto* bar = dynamic_cast<fw::TToolWindow*>(model);
    if (!bar) return;
    Guarded([&] {
      QPainter p(this);
      p.fillRect(rect(), ToQColor(bar->Color()));
      drawEdges(p, rect(), *bar);
    });
  }
};

class TToolBarPeer : public TQtPeer {
 public:
  TToolBarPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TToolBarWidget(parent)) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void Sync(TPeerChange) override {
    if (QWidget* w = Widget()) w->update();
  }
};

class TToolButtonWidget : public TForwarding<QToolButton> {
 public:
  using TForwarding<QToolButton>::TForwarding;
  fw::TToolButton* button() const { return static_cast<fw::TToolButton*>(model); }

 protected:
  // The model decides whether the button goes down.
  void nextCheckState() override {}

  void paintEvent(QPaintEvent* e) override {
    fw::TToolButton* b = button();
    if (b && b->IsSeparator()) {
      if (b->Style() != fw::tbsDivider) return;
      QPainter p(this);
      const int x = width() / 2;
      p.setPen(ToQColor(fw::clBtnShadow));
      p.drawLine(x - 1, 2, x - 1, height() - 3);
      p.setPen(ToQColor(fw::clBtnHighlight));
      p.drawLine(x, 2, x, height() - 3);
      return;
    }
    QToolButton::paintEvent(e);
  }
};

class TToolButtonPeer : public TQtPeer {
 public:
  TToolButtonPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TToolButtonWidget(parent)) {
    auto* w = static_cast<QToolButton*>(Widget());
    w->setFocusPolicy(Qt::NoFocus);
    w->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QObject::connect(w, &QToolButton::clicked, w, [this] {
      auto& m = static_cast<fw::TToolButton&>(Control());
      if (m.IsSeparator()) return;
      Guarded([&] { m.Click(); });
    });
  }

 protected:
  void Sync(TPeerChange what) override {
    QPointer<QWidget> alive(Widget());
    if (!alive) return;
    auto* w = static_cast<QToolButton*>(Widget());
    auto& m = static_cast<fw::TToolButton&>(Control());
    switch (what) {
      case TPeerChange::Text: w->setText(ToQString(m.Caption())); break;
      case TPeerChange::State:
      case TPeerChange::Content: {
        const bool pressable = m.Style() == fw::tbsCheck || m.Down();
        w->setCheckable(pressable && !m.IsSeparator());
        if (pressable && w->isChecked() != m.Down()) {
          QSignalBlocker block(w);
          w->setChecked(m.Down());
        }
        fw::TToolBar* bar = m.ToolBar();
        w->setAutoRaise(bar && bar->Flat());
        w->update();
        break;
      }
      default: break;
    }
  }
};

// ---- cool bar ----

constexpr int kGrip = 10;

class TCoolBarWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  fw::TCoolBar* bar() const { return dynamic_cast<fw::TCoolBar*>(model); }

  void paintEvent(QPaintEvent*) override {
    fw::TCoolBar* b = bar();
    if (!b) return;
    Guarded([&] {
      QPainter p(this);
      p.fillRect(rect(), ToQColor(b->Color()));
      drawEdges(p, rect(), *b);
      const QColor light = ToQColor(fw::clBtnHighlight), dark = ToQColor(fw::clBtnShadow);
      for (int i = 0; i < b->Bands()->Count(); ++i) {
        fw::TCoolBand* band = b->Bands()->Items(i);
        if (!band->Visible()) continue;
        const QRect r = ToQRect(band->BandRect());
        if (b->BandBorderStyle() == fw::TBorderStyle::bsSingle) {
          p.setPen(dark);
          p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        for (int x : {r.left() + 3, r.left() + 6}) {
          p.setPen(light);
          p.drawLine(x, r.top() + 3, x, r.bottom() - 3);
          p.setPen(dark);
          p.drawLine(x + 1, r.top() + 3, x + 1, r.bottom() - 3);
        }
        if (b->ShowText() && !band->Text().empty()) {
          p.setPen(TextColor(*this, b->Font()->Color()));
          p.drawText(QRect(r.left() + kGrip, r.top(), r.width() - kGrip, r.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ToQString(band->Text()));
        }
      }
    });
  }

  // Pressing a band's grip and moving resizes the band before it on the row.
  void mousePressEvent(QMouseEvent* e) override {
    QPointer<QWidget> self(this);
    TForwarding<QWidget>::mousePressEvent(e);
    dragging_ = -1;
    fw::TCoolBar* b = bar();
    if (!self || !b || e->button() != Qt::LeftButton) return;
    const QPoint at = e->position().toPoint();
    for (int i = 0; i < b->Bands()->Count(); ++i) {
      const QRect r = ToQRect(b->Bands()->Items(i)->BandRect());
      if (r.contains(at) && at.x() < r.left() + kGrip) {
        dragging_ = i;
        lastX_ = at.x();
      }
    }
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    QPointer<QWidget> self(this);
    TForwarding<QWidget>::mouseMoveEvent(e);
    fw::TCoolBar* b = bar();
    if (!self || !b || dragging_ < 0) return;
    const int x = e->position().toPoint().x();
    const int index = dragging_;
    const int delta = x - lastX_;
    bool moved = false;
    Guarded([&] { moved = b->UserResizeBand(index, delta); });
    if (!self) return;
    if (moved) lastX_ = x;
    update();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    dragging_ = -1;
    TForwarding<QWidget>::mouseReleaseEvent(e);
  }

 private:
  int dragging_ = -1;
  int lastX_ = 0;
};

class TCoolBarPeer : public TQtPeer {
 public:
  TCoolBarPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TCoolBarWidget(parent)) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void Sync(TPeerChange) override {
    if (QWidget* w = Widget()) w->update();
  }
};

// ---- up-down ----

class TUpDownWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

  // The half of the control that means "next" (up, or right when horizontal).
  QRect NextRect() const {
    auto* u = dynamic_cast<fw::TUpDown*>(model);
    if (u && u->Orientation() == fw::udHorizontal) return QRect(width() / 2, 0, width() - width() / 2, height());
    return QRect(0, 0, width(), height() / 2);
  }
  QRect PrevRect() const {
    auto* u = dynamic_cast<fw::TUpDown*>(model);
    if (u && u->Orientation() == fw::udHorizontal) return QRect(0, 0, width() / 2, height());
    return QRect(0, height() / 2, width(), height() - height() / 2);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    auto* u = dynamic_cast<fw::TUpDown*>(model);
    if (!u) return;
    QPainter p(this);
    const bool horizontal = u->Orientation() == fw::udHorizontal;
    auto drawHalf = [&](const QRect& r, QStyle::PrimitiveElement arrow, bool pressed) {
      QStyleOptionButton b;
      b.initFrom(this);
      b.rect = r;
      b.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
      style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &b, &p, this);
      QStyleOption a;
      a.initFrom(this);
      a.rect = r.adjusted(2, 2, -2, -2);
      style()->drawPrimitive(arrow, &a, &p, this);
    };
    drawHalf(NextRect(), horizontal ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowUp,
             pressed_ == fw::btNext && down_);
    drawHalf(PrevRect(), horizontal ? QStyle::PE_IndicatorArrowLeft : QStyle::PE_IndicatorArrowDown,
             pressed_ == fw::btPrev && down_);
  }

  void mousePressEvent(QMouseEvent* e) override {
    QPointer<QWidget> self(this);
    TForwarding<QWidget>::mousePressEvent(e);
    auto* u = dynamic_cast<fw::TUpDown*>(model);
    if (!self || !u || e->button() != Qt::LeftButton || !u->Enabled()) return;
    const QPoint at = e->position().toPoint();
    if (!NextRect().contains(at) && !PrevRect().contains(at)) return;
    pressed_ = NextRect().contains(at) ? fw::btNext : fw::btPrev;
    down_ = true;
    update();
    const fw::TUDBtnType button = pressed_;
    Guarded([&] { u->UserClick(button); });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    down_ = false;
    update();
    TForwarding<QWidget>::mouseReleaseEvent(e);
  }

 private:
  fw::TUDBtnType pressed_ = fw::btNext;
  bool down_ = false;
};

class TUpDownPeer : public TQtPeer {
 public:
  TUpDownPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TUpDownWidget(parent)) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void Sync(TPeerChange) override {
    if (QWidget* w = Widget()) w->update();
  }
};

// ---- spin edit ----

class TSpinWidget : public TForwarding<QAbstractSpinBox> {
 public:
  using TForwarding<QAbstractSpinBox>::TForwarding;
  std::function<void(int)> onStep;
  QLineEdit* edit() const { return lineEdit(); }
  void stepBy(int steps) override {
    if (onStep) onStep(steps);
  }

 protected:
  StepEnabled stepEnabled() const override {
    return isReadOnly() ? StepEnabled(StepNone) : (StepUpEnabled | StepDownEnabled);
  }
};

class TSpinEditPeer : public TQtPeer {
 public:
  TSpinEditPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TSpinWidget(parent)) {
    auto* w = spin();
    w->setKeyboardTracking(true);
    w->onStep = [this](int steps) {
      QPointer<QWidget> alive(Widget());
      Guarded([&] { model().UserStep(steps); });
      if (alive) Sync(TPeerChange::Text);
    };
    QLineEdit* e = w->edit();
    QObject::connect(e, &QLineEdit::textEdited, e, [this](const QString&) { Report(); });
  }

 protected:
  TSpinWidget* spin() const { return static_cast<TSpinWidget*>(Widget()); }
  fw::TSpinEdit& model() const { return static_cast<fw::TSpinEdit&>(Control()); }

  void Report() {
    if (syncing_) return;
    QLineEdit* e = spin()->edit();
    const QString text = e->text();
    const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const int length = e->hasSelectedText() ? int(e->selectedText().size()) : 0;
    Guarded([&] {
      model().UserEdited(FromQString(text), IndexToByte(text, start),
                         IndexToByte(text, start + length) - IndexToByte(text, start));
    });
  }

  void Sync(TPeerChange what) override {
    QPointer<QWidget> alive(Widget());
    if (!alive) return;
    TSpinWidget* w = spin();
    QLineEdit* e = w->edit();
    fw::TSpinEdit& m = model();
    syncing_ = true;
    switch (what) {
      case TPeerChange::Text:
      case TPeerChange::State: {
        const QString q = ToQString(m.Text());
        if (e->text() != q) e->setText(q);
        w->setReadOnly(m.ReadOnly());
        e->setReadOnly(m.ReadOnly() || !m.EditorEnabled());
        w->setFocusPolicy(m.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
        break;
      }
      case TPeerChange::Color: {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, ToQColor(m.Color()));
        w->setPalette(p);
        break;
      }
      default: break;
    }
    syncing_ = false;
  }

 private:
  bool syncing_ = false;
};

}  // namespace

void RegisterToolPeers() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TToolBar::StaticClassInfo(), Maker<TToolBarPeer>());
  RegisterPeer(fw::TToolButton::StaticClassInfo(), Maker<TToolButtonPeer>());
  RegisterPeer(fw::TCoolBar::StaticClassInfo(), Maker<TCoolBarPeer>());
  RegisterPeer(fw::TUpDown::StaticClassInfo(), Maker<TUpDownPeer>());
  RegisterPeer(fw::TSpinEdit::StaticClassInfo(), Maker<TSpinEditPeer>());
}

}  // namespace qtfw
