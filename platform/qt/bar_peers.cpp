// The tab control's peer draws the tabs where the model lays them out and sends clicks on a tab
// to the model, which asks its handlers before it changes the selection.
#include "platform/qt/bar_peers.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

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
    for (int i = 0; i < m->Tabs()->Count(); ++i) {
      QRect r = ToQRect(m->TabRect(i));
      if (!r.intersects(rect())) continue;
      const bool active = i == m->TabIndex();
      p.fillRect(r.adjusted(0, 0, -1, 0), active ? pal.color(QPalette::Base) : pal.color(QPalette::Button));
      p.setPen(pal.color(QPalette::Mid));
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.setPen(pal.color(QPalette::ButtonText));
      p.drawText(r, Qt::AlignCenter, ToQString(m->Tabs()->Get(i)));
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
}

}  // namespace qtfw
