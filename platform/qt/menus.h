// Menus on screen: a form's main menu as a QMenuBar at the top of its window, and popup menus as
// QMenus. Both are built from the framework's items and follow them: a change of an item's state
// is applied to its QAction in place, a change of the tree builds the Qt menus again. A chosen
// item is clicked from the message loop once the menu has closed, never inside Qt's signal.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/fw/menus.h"


namespace qtfw {

// The Qt actions of one framework menu's items, kept current.
class TMenuBuilder {
 public:
  TMenuBuilder() = default;
  ~TMenuBuilder();
  TMenuBuilder(const TMenuBuilder&) = delete;
  TMenuBuilder& operator=(const TMenuBuilder&) = delete;

  // Drops what was built (later: a menu may be on its way out of a signal).
  void Reset();
  // Adds the children of `parent` to `menu` (a QMenu or a QMenuBar).
  void Fill(QWidget* menu, fw::TMenuItem* parent);
  void Fill(QWidget* menu, const std::vector<fw::TMenuItem*>& items);
  // Shows the item's current state on its action.
  void Apply(fw::TMenuItem* item);
  QAction* ActionOf(const fw::TMenuItem* item) const;
  // What a chosen item does; by default its click is posted to the loop.
  std::function<void(fw::TMenuItem*)> OnChosen;

 private:
  QWidget* holder();

  QPointer<QWidget> holder_;
  std::unordered_map<const fw::TMenuItem*, QPointer<QAction>> actions_;
};

// A form's menu bar.
class TMenuBarView {
 public:
  TMenuBarView(QWidget* window, fw::TMainMenu& menu);
  ~TMenuBarView();

  QMenuBar* Bar() const { return bar_; }
  fw::TMainMenu* Menu() const { return alive_.expired() ? nullptr : menu_; }
  // Places the bar across the top of the window.
  void Place(int width, int height);
  void Rebuild();
  // Rebuilds from the loop: the tree may change inside a Qt signal of the bar itself.
  void ScheduleRebuild();

 private:
  std::shared_ptr<bool> self_ = std::make_shared<bool>(true);
  bool pending_ = false;
  fw::TMainMenu* menu_;
  std::weak_ptr<const void> alive_;
  int viewId_ = 0;
  QPointer<QMenuBar> bar_;
  TMenuBuilder builder_;
};

// Popup menus as QMenus at the screen point; Popup returns once the menu is closed.
class TQtPopupMenuService : public fw::IPopupMenuService {
 public:
  void Popup(fw::TPopupMenu& menu, int32_t x, int32_t y) override;
  void CancelPopups() override;

 private:
  // The menus showing now, the innermost last.
  std::vector<QPointer<QMenu>> open_;
};

// The QKeySequence text of a framework short cut (virtual key plus shift, ctrl and alt bits).
QString ShortCutText(fw::TShortCut shortCut);

}  // namespace qtfw
