// The tab control's peer (also the page control's: its pages are child windows the model places
// inside the tabs) draws the tabs where the model lays them out and sends clicks on a tab to the
// model, which asks its handlers before it changes the selection. The status bar's peer draws the
// panels (or the simple text) where the model places them, has OnDrawPanel draw the owner-drawn
// ones, and tells the bar the hint of the control under the mouse on its form.
#include "platform/qt/bar_peers.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/fw/page_control.h"
#include "platform/fw/status_bar.h"
#include "platform/fw/tab_control.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

QRect ToQRect(const fw::TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

class TTabWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  fw::TCustomTabControl* tabs() const { return static_cast<fw::TCustomTabControl*>(model); }

  void paintEvent(QPaintEvent*) override {
    fw::TCustomTabControl* m = tabs();
    if (!m) return;
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), ToQColor(m->Color()));
    fw::TRect frame = m->DisplayRect();
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(ToQRect(frame).adjusted(-2, -2, 1, 1));
    for (int i = 0; i < m->TabCount(); ++i) {
      QRect r = ToQRect(m->TabRect(i));
      if (!r.intersects(rect())) continue;
      const bool active = i == m->TabIndex();
      p.fillRect(r.adjusted(0, 0, -1, 0), active ? pal.color(QPalette::Base) : pal.color(QPalette::Button));
      p.setPen(pal.color(QPalette::Mid));
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.setPen(pal.color(QPalette::ButtonText));
      p.drawText(r, Qt::AlignCenter, ToQString(m->TabText(i)));
    }
  }

  void mousePressEvent(QMouseEvent* e) override {
    QPointer<QWidget> self(this);
    TForwarding<QWidget>::mousePressEvent(e);
    if (!self || !tabs() || e->button() != Qt::LeftButton) return;
    fw::TCustomTabControl* m = tabs();
    const QPoint at = e->position().toPoint();
    const int index = m->IndexOfTabAt(at.x(), at.y());
    if (index >= 0) Guarded([&] { m->SelectTab(index); });
    if (self) update();
  }
};

class TTabControlPeer : public TQtPeer {
 public:
  TTabControlPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TTabWidget(parent)) {}

 protected:
  void Sync(TPeerChange what) override {
    QWidget* w = Widget();
    if (!w) return;
    if (what == TPeerChange::State) {
      auto& m = static_cast<fw::TWinControl&>(Control());
      w->setFocusPolicy(m.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    }
    w->update();
  }
};

// ---- status bar ----

Qt::Alignment Horizontal(fw::TAlignment a) {
  switch (a) {
    case fw::taRightJustify: return Qt::AlignRight;
    case fw::taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

class TStatusBarWidget : public TForwarding<QWidget> {
 public:
  using TForwarding<QWidget>::TForwarding;

 protected:
  fw::TStatusBar* bar() const { return static_cast<fw::TStatusBar*>(model); }

  void paintEvent(QPaintEvent*) override {
    fw::TStatusBar* b = bar();
    if (!b) return;
    QPointer<QWidget> self(this);
    // Owner-drawn panels are drawn by the handler after the rest, each only while its panel
    // still exists (a handler may change the panels).
    std::vector<std::pair<std::weak_ptr<const void>, fw::TRect>> ownerDrawn;
    Guarded([&] {
      QPainter p(this);
      const QPalette& pal = palette();
      p.fillRect(rect(), ToQColor(b->Color()));
      p.setFont(font());
      const int flags = int(Qt::AlignVCenter | Qt::TextSingleLine);
      if (b->SimplePanel() || b->Panels()->Count() == 0) {
        const std::string text = !b->ShownHint().empty() ? b->ShownHint() : b->SimpleText();
        p.setPen(TextColor(*this, b->Font()->Color()));
        p.drawText(rect().adjusted(3, 0, -3, 0), flags, ToQString(text));
        return;
      }
      for (int i = 0; i < b->Panels()->Count(); ++i) {
        fw::TStatusPanel* panel = b->Panels()->Items(i);
        const fw::TRect fr = b->PanelRect(i);
        const QRect r(fr.Left, fr.Top, fr.Width(), fr.Height());
        if (panel->Bevel() != fw::pbNone) {
          const bool lowered = panel->Bevel() == fw::pbLowered;
          p.setPen(pal.color(lowered ? QPalette::Dark : QPalette::Light));
          p.drawLine(r.topLeft(), QPoint(r.right() - 1, r.top()));
          p.drawLine(r.topLeft(), QPoint(r.left(), r.bottom()));
          p.setPen(pal.color(lowered ? QPalette::Light : QPalette::Dark));
          p.drawLine(QPoint(r.left(), r.bottom()), QPoint(r.right() - 1, r.bottom()));
          p.drawLine(QPoint(r.right() - 1, r.top()), QPoint(r.right() - 1, r.bottom()));
        }
        if (panel->Style() == fw::psOwnerDraw) {
          ownerDrawn.push_back({panel->LivenessToken(), fw::TRect{fr.Left + 1, fr.Top + 1, fr.Right - 1, fr.Bottom - 1}});
          continue;
        }
        const std::string text = i == 0 && !b->ShownHint().empty() ? b->ShownHint() : panel->Text();
        p.setPen(TextColor(*this, b->Font()->Color()));
        p.drawText(r.adjusted(3, 0, -3, 0), int(Horizontal(panel->Alignment())) | flags, ToQString(text));
      }
    });
    for (auto& [alive, rect] : ownerDrawn) {
      if (!self || !bar() || alive.expired()) break;
      auto token = alive.lock();
      Guarded([&] {
        fw::TStatusBar* b = bar();
        for (int i = 0; i < b->Panels()->Count(); ++i)
          if (b->Panels()->Items(i)->LivenessToken().lock() == token) {
            b->DrawPanel(b->Panels()->Items(i), rect);
            break;
          }
      });
    }
  }
};

// Tells a status bar the hint of the control under the mouse on its form.
class THintWatcher : public QObject {
 public:
  explicit THintWatcher(QWidget* bar) : bar_(bar) { qApp->installEventFilter(this); }
  ~THintWatcher() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Enter && event->type() != QEvent::Leave) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!bar_ || !w || w->window() != bar_->window()) return false;
    auto* link = dynamic_cast<TModelLink*>(w);
    auto* barLink = dynamic_cast<TModelLink*>(bar_.data());
    if (!link || !link->model || !barLink || !barLink->model) return false;
    std::string hint = event->type() == QEvent::Enter ? link->model->Hint() : std::string();
    if (hint == last_) return false;
    last_ = hint;
    auto* b = static_cast<fw::TStatusBar*>(barLink->model);
    Guarded([&] { b->ExecuteHint(hint); });
    return false;
  }

 private:
  QPointer<QWidget> bar_;
  std::string last_;
};

class TStatusBarPeer : public TQtPeer {
 public:
  TStatusBarPeer(fw::TControl& control, QWidget* parent)
      : TQtPeer(control, new TStatusBarWidget(parent)), hints_(Widget()) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void Sync(TPeerChange) override {
    if (QWidget* w = Widget()) w->update();
  }

 private:
  THintWatcher hints_;
};

template <class P>
TPeerMaker Maker() {
  return [](fw::TControl& control, QWidget* parent) -> std::unique_ptr<fw::TControlPeer> {
    auto peer = std::make_unique<P>(control, parent);
    peer->SyncAll();
    return peer;
  };
}

}  // namespace

void RegisterBarPeers() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TCustomTabControl::StaticClassInfo(), Maker<TTabControlPeer>());
  RegisterPeer(fw::TStatusBar::StaticClassInfo(), Maker<TStatusBarPeer>());
}

}  // namespace qtfw
