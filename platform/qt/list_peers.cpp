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
#include <QLineEdit>
#include <QRadioButton>
#include <vector>

#include "platform/fw/combo_box.h"
#include "platform/fw/group_box.h"
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
}

}  // namespace qtfw
