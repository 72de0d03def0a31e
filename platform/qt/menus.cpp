#include "platform/qt/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>

#include "platform/fw/application.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

// The click of a chosen item waits for the loop: the menu closes first.
void PostClick(fw::TMenuItem* item) {
  auto alive = item->LivenessToken();
  fw::Application()->Post([item, alive] {
    if (!alive.expired()) item->Click();
  });
}

// Opening a submenu updates its items' actions and clicks its item, as the framework does.
void OpenSubmenu(fw::TMenuItem* item) {
  auto alive = item->LivenessToken();
  Guarded([&] {
    item->InitiateActions();
    if (!alive.expired()) item->Click();
  });
}

}  // namespace

QString ShortCutText(fw::TShortCut shortCut) {
  const int key = shortCut & 0xFF;
  QString text;
  if (shortCut & 0x4000) text += "Ctrl+";
  if (shortCut & 0x8000) text += "Alt+";
  if (shortCut & 0x2000) text += "Shift+";
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    text += QChar(key);
  else if (key >= 0x70 && key <= 0x87)
    text += QString("F%1").arg(key - 0x6F);
  else if (key == 0x2E)
    text += "Del";
  else if (key == 0x2D)
    text += "Ins";
  else if (key == 0x0D)
    text += "Return";
  else if (key == 0x1B)
    text += "Esc";
  else
    return {};
  return text;
}

// ---- TMenuBuilder ----

TMenuBuilder::~TMenuBuilder() { Reset(); }

QWidget* TMenuBuilder::holder() {
  if (!holder_) {
    holder_ = new QWidget;
    holder_->hide();
  }
  return holder_;
}

void TMenuBuilder::Reset() {
  actions_.clear();
  if (holder_) holder_->deleteLater();
  holder_ = nullptr;
}

void TMenuBuilder::Fill(QWidget* menu, fw::TMenuItem* parent) {
  std::vector<fw::TMenuItem*> items;
  for (int i = 0; i < parent->Count(); ++i) items.push_back(parent->Items(i));
  Fill(menu, items);
}

void TMenuBuilder::Fill(QWidget* menu, const std::vector<fw::TMenuItem*>& items) {
  for (fw::TMenuItem* item : items) {
    QAction* action;
    if (item->IsLine()) {
      action = new QAction(holder());
      action->setSeparator(true);
    } else if (item->Count() > 0) {
      auto* sub = new QMenu(holder());
      action = sub->menuAction();
      QObject::connect(sub, &QMenu::aboutToShow, sub, [item, alive = item->LivenessToken()] {
        if (!alive.expired()) OpenSubmenu(item);
      });
      Fill(sub, item);
    } else {
      action = new QAction(holder());
      QObject::connect(action, &QAction::triggered, action, [this, item, alive = item->LivenessToken()] {
        if (alive.expired()) return;
        // The check mark is the item's to change.
        Apply(item);
        if (OnChosen)
          OnChosen(item);
        else
          PostClick(item);
      });
    }
    menu->addAction(action);
    actions_[item] = action;
    Apply(item);
  }
}

QAction* TMenuBuilder::ActionOf(const fw::TMenuItem* item) const {
  auto it = actions_.find(item);
  return it == actions_.end() ? nullptr : it->second.data();
}

void TMenuBuilder::Apply(fw::TMenuItem* item) {
  QAction* action = ActionOf(item);
  if (!action) return;
  const QSignalBlocker block(action);
  action->setVisible(item->Visible());
  if (action->isSeparator()) return;
  action->setText(ToQString(item->Caption()));
  action->setEnabled(item->Enabled());
  const bool checkable = item->Checked() || item->AutoCheck() || item->RadioItem();
  action->setCheckable(checkable);
  if (checkable) action->setChecked(item->Checked());
  QFont font = action->font();
  font.setBold(item->Default());
  action->setFont(font);
  action->setToolTip(ToQString(item->Hint()));
  const QString keys = ShortCutText(item->ShortCut());
  action->setShortcut(keys.isEmpty() ? QKeySequence() : QKeySequence(keys));
}

// ---- TMenuBarView ----

TMenuBarView::TMenuBarView(QWidget* window, fw::TMainMenu& menu)
    : menu_(&menu), alive_(menu.LivenessToken()), bar_(new QMenuBar(window)) {
  bar_->setNativeMenuBar(false);
  viewId_ = menu.AddView([this](fw::TMenuItem* source, bool rebuild) {
    if (rebuild || !source)
      ScheduleRebuild();
    else
      builder_.Apply(source);
  });
  Rebuild();
  bar_->show();
  bar_->raise();
}

TMenuBarView::~TMenuBarView() {
  if (!alive_.expired()) menu_->RemoveView(viewId_);
  builder_.Reset();
  if (bar_) bar_->deleteLater();
}

void TMenuBarView::Place(int width, int height) {
  if (!bar_) return;
  bar_->setGeometry(0, 0, width, height);
  bar_->raise();
}

void TMenuBarView::ScheduleRebuild() {
  if (pending_ || !bar_) return;
  pending_ = true;
  QTimer::singleShot(0, bar_, [this, self = std::weak_ptr<bool>(self_)] {
    if (self.expired()) return;
    pending_ = false;
    Rebuild();
  });
}

void TMenuBarView::Rebuild() {
  pending_ = false;
  if (!bar_ || alive_.expired()) return;
  bar_->clear();
  builder_.Reset();
  // The bar shows the items of the menus merged into this one too.
  builder_.Fill(bar_, menu_->BarItems());
}

// ---- popup menus ----

void TQtPopupMenuService::Popup(fw::TPopupMenu& menu, int32_t x, int32_t y) {
  TMenuBuilder builder;
  // The chosen item is clicked once the menu has closed and Popup has returned.
  fw::TMenuItem* chosen = nullptr;
  std::weak_ptr<const void> chosenAlive;
  builder.OnChosen = [&](fw::TMenuItem* item) {
    chosen = item;
    chosenAlive = item->LivenessToken();
  };
  auto* popup = new QMenu;
  builder.Fill(popup, menu.Items());
  auto alive = menu.LivenessToken();
  const int id = menu.AddView([&builder](fw::TMenuItem* source, bool) {
    if (source) builder.Apply(source);
  });
  open_.emplace_back(popup);
  popup->exec(QPoint(x, y));
  std::erase_if(open_, [popup](const QPointer<QMenu>& m) { return !m || m == popup; });
  if (!alive.expired()) menu.RemoveView(id);
  popup->deleteLater();
  if (chosen && !chosenAlive.expired()) PostClick(chosen);
}

void TQtPopupMenuService::CancelPopups() {
  // From the innermost out; each one's exec returns once the handler that asked is over.
  for (auto it = open_.rbegin(); it != open_.rend(); ++it)
    if (*it) (*it)->close();
}

}  // namespace qtfw
