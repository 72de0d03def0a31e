// The peers of combo boxes (a QComboBox whose picks and edits go to the model), group boxes (a
// QGroupBox frame) and radio groups (a frame with one radio button per item, placed where the
// model lays its buttons out; the model decides which one is checked).
#include "platform/qt/list_peers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QGroupBox>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <vector>

#include "platform/fw/combo_box.h"
#include "platform/fw/group_box.h"
#include "platform/fw/splitter.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

class TComboWidget : public TForwarding<QComboBox> {
 public:
  using TForwarding<QComboBox>::TForwarding;
  std::function<void(bool)> onDropped;
  bool syncing = false;

  void showPopup() override {
    QComboBox::showPopup();
    if (!syncing && onDropped) onDropped(true);
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (!syncing && onDropped) onDropped(false);
  }
};

class TComboBoxPeer : public TQtPeer {
 public:
  TComboBoxPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TComboWidget(parent)) {
    auto* c = combo();
    c->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(c, &QComboBox::activated, c, [this](int index) {
      if (combo()->syncing) return;
      Guarded([&] { model().UserSelect(index); });
    });
    c->onDropped = [this](bool dropped) {
      Guarded([&] { model().SetDroppedDown(dropped); });
    };
  }

 protected:
  TComboWidget* combo() const { return static_cast<TComboWidget*>(Widget()); }
  fw::TCustomComboBox& model() const { return static_cast<fw::TCustomComboBox&>(Control()); }

  void Sync(TPeerChange what) override {
    TComboWidget* c = combo();
    if (!c) return;
    fw::TCustomComboBox& m = model();
    c->syncing = true;
    const bool editable = m.Style() != fw::csDropDownList;
    if (c->isEditable() != editable) {
      c->setEditable(editable);
      if (editable) {
        c->lineEdit()->setParent(c);
        QObject::connect(c->lineEdit(), &QLineEdit::textEdited, c, [this](const QString& text) {
          if (combo()->syncing) return;
          Guarded([&] { model().UserEdit(FromQString(text)); });
        });
      }
    }
    if (what == TPeerChange::Content || c->count() != m.Items()->Count()) {
      c->clear();
      for (int i = 0; i < m.Items()->Count(); ++i) c->addItem(ToQString(m.Items()->Get(i)));
    }
    c->setMaxVisibleItems(std::max(1, int(m.DropDownCount())));
    c->setCurrentIndex(m.ItemIndex());
    if (editable) {
      const QString text = ToQString(m.GetText());
      if (c->lineEdit()->text() != text) c->lineEdit()->setText(text);
      const int start = ByteToIndex(m.GetText(), m.SelStart());
      const int end = ByteToIndex(m.GetText(), m.SelStart() + m.SelLength());
      if (end > start) c->lineEdit()->setSelection(start, end - start);
    }
    if (m.DroppedDown() && c->isVisible() && !c->view()->isVisible()) c->showPopup();
    if (!m.DroppedDown() && c->view()->isVisible()) c->hidePopup();
    c->syncing = false;
  }

};

class TGroupBoxPeer : public TQtPeer {
 public:
  TGroupBoxPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TForwarding<QGroupBox>(parent)) {}

 protected:
  void Sync(TPeerChange what) override {
    auto* g = static_cast<QGroupBox*>(Widget());
    if (g && (what == TPeerChange::Text || what == TPeerChange::Content)) g->setTitle(ToQString(Control().Caption()));
  }
};

class TRadioItem : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;
  std::function<void()> onClick;

 protected:
  // The group's model checks the item; Qt changes nothing itself.
  void nextCheckState() override {
    if (onClick) onClick();
  }
};

class TRadioGroupPeer : public TQtPeer {
 public:
  TRadioGroupPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TForwarding<QGroupBox>(parent)) {}

 protected:
  fw::TCustomRadioGroup& model() const { return static_cast<fw::TCustomRadioGroup&>(Control()); }

  void Sync(TPeerChange what) override {
    auto* g = static_cast<QGroupBox*>(Widget());
    if (!g) return;
    fw::TCustomRadioGroup& m = model();
    g->setTitle(ToQString(m.Caption()));
    const int count = m.Items()->Count();
    if (what == TPeerChange::Content || int(buttons_.size()) != count) {
      for (QRadioButton* b : buttons_) delete b;
      buttons_.clear();
      for (int i = 0; i < count; ++i) {
        auto* b = new TRadioItem(ToQString(m.Items()->Get(i)), g);
        b->setAutoExclusive(false);
        b->onClick = [this, i] { Guarded([&] { model().UserClick(i); }); };
        buttons_.push_back(b);
        b->show();
      }
    }
    for (int i = 0; i < count; ++i) {
      const fw::TRect r = m.ButtonRect(i);
      buttons_[size_t(i)]->setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
      buttons_[size_t(i)]->setChecked(i == m.ItemIndex());
      buttons_[size_t(i)]->setEnabled(m.Enabled());
    }
  }

 private:
  std::vector<QRadioButton*> buttons_;
};

class TProgressBarPeer : public TQtPeer {
 public:
  TProgressBarPeer(fw::TControl& control, QWidget* parent)
      : TQtPeer(control, new TForwarding<QProgressBar>(parent)) {
    static_cast<QProgressBar*>(Widget())->setTextVisible(false);
  }

 protected:
  void Sync(TPeerChange) override {
    auto* b = static_cast<QProgressBar*>(Widget());
    if (!b) return;
    auto& m = static_cast<fw::TProgressBar&>(Control());
    b->setRange(m.Min(), std::max(m.Min(), m.Max()));
    b->setValue(m.Position());
    b->setOrientation(m.Orientation() == fw::pbVertical ? Qt::Vertical : Qt::Horizontal);
  }
};

// The splitter bar: a drag from press to release resizes the control next to it.
class TSplitterWidget : public TForwarding<QFrame> {
 public:
  using TForwarding<QFrame>::TForwarding;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QFrame::paintEvent(e);
    if (auto* splitter = static_cast<fw::TSplitter*>(model)) Guarded([&] { splitter->Paint(); });
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) {
      dragging_ = true;
      start_ = e->globalPosition().toPoint();
    }
    TForwarding<QFrame>::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QPointer<QWidget> self(this);
    const bool finish = dragging_ && e->button() == Qt::LeftButton;
    dragging_ = false;
    const QPoint end = e->globalPosition().toPoint();
    TForwarding<QFrame>::mouseReleaseEvent(e);
    if (!self || !finish || !model) return;
    auto* splitter = static_cast<fw::TSplitter*>(model);
    const bool horizontal = splitter->Align() == fw::alLeft || splitter->Align() == fw::alRight;
    const int delta = horizontal ? end.x() - start_.x() : end.y() - start_.y();
    Guarded([&] { splitter->UserMoveBy(delta); });
  }

 private:
  bool dragging_ = false;
  QPoint start_;
};

class TSplitterPeer : public TQtPeer {
 public:
  TSplitterPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TSplitterWidget(parent)) {}

 protected:
  void Sync(TPeerChange) override {
    auto* w = static_cast<QFrame*>(Widget());
    if (!w) return;
    auto& m = static_cast<fw::TSplitter&>(Control());
    const bool horizontal = m.Align() == fw::alLeft || m.Align() == fw::alRight;
    w->setCursor(horizontal ? Qt::SplitHCursor : Qt::SplitVCursor);
    w->setFrameShape(m.Beveled() ? QFrame::Panel : QFrame::NoFrame);
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

void RegisterListPeers() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TCustomComboBox::StaticClassInfo(), Maker<TComboBoxPeer>());
  RegisterPeer(fw::TCustomGroupBox::StaticClassInfo(), Maker<TGroupBoxPeer>());
  RegisterPeer(fw::TCustomRadioGroup::StaticClassInfo(), Maker<TRadioGroupPeer>());
  RegisterPeer(fw::TProgressBar::StaticClassInfo(), Maker<TProgressBarPeer>());
  RegisterPeer(fw::TSplitter::StaticClassInfo(), Maker<TSplitterPeer>());
}

}  // namespace qtfw
