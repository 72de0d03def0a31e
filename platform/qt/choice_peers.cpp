// The peers of the controls the user picks with: radio buttons (a QRadioButton whose clicks go to
// the model, which keeps the group exclusive) and list boxes (our own list view).
#include "platform/qt/choice_peers.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include "platform/fw/list_box.h"
#include "platform/fw/radio_button.h"
#include "platform/qt/list_box_view.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

Qt::FocusPolicy FocusPolicyOf(const fw::TWinControl& c) { return c.TabStop() ? Qt::StrongFocus : Qt::ClickFocus; }

class TRadioWidget : public TForwarding<QRadioButton> {
 public:
  using TForwarding<QRadioButton>::TForwarding;
  std::function<void()> onClick;

 protected:
  // The control's colour behind the button and its caption (the style's polish would replace a
  // palette colour with its own).
  void paintEvent(QPaintEvent* event) override {
    if (model) QPainter(this).fillRect(rect(), ToQColor(model->Color()));
    QRadioButton::paintEvent(event);
  }
  // The model checks the button (and unchecks its siblings); Qt changes nothing itself.
  void nextCheckState() override {
    if (onClick) onClick();
  }
};

class TRadioButtonPeer : public TQtPeer {
 public:
  TRadioButtonPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TRadioWidget(parent)) {
    auto* w = static_cast<TRadioWidget*>(Widget());
    w->setAutoExclusive(false);
    w->onClick = [this] {
      auto& m = static_cast<fw::TRadioButton&>(Control());
      auto alive = m.LivenessToken();
      Guarded([&] { m.UserClick(); });
      if (!alive.expired()) Sync(TPeerChange::State);
    };
  }

 protected:
  void Sync(TPeerChange what) override {
    auto* b = static_cast<QRadioButton*>(Widget());
    if (!b) return;
    auto& m = static_cast<fw::TRadioButton&>(Control());
    switch (what) {
      case TPeerChange::Text: b->setText(ToQString(m.Caption())); break;
      case TPeerChange::State:
        if (b->isChecked() != m.Checked()) {
          QSignalBlocker block(b);
          b->setChecked(m.Checked());
        }
        b->setLayoutDirection(m.Alignment() == fw::taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
        b->setFocusPolicy(FocusPolicyOf(m));
        break;
      case TPeerChange::Color: b->update(); break;
      default: break;
    }
  }
};

class TListBoxPeer : public TQtPeer {
 public:
  TListBoxPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TListBoxView(parent)) {}

 protected:
  void Sync(TPeerChange what) override {
    auto* view = static_cast<TListBoxView*>(Widget());
    if (!view) return;
    if (what == TPeerChange::State) view->setFocusPolicy(FocusPolicyOf(static_cast<fw::TWinControl&>(Control())));
    view->Sync();
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

void RegisterChoicePeers() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TRadioButton::StaticClassInfo(), Maker<TRadioButtonPeer>());
  RegisterPeer(fw::TCustomListBox::StaticClassInfo(), Maker<TListBoxPeer>());
}

}  // namespace qtfw
