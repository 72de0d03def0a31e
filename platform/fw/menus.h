// Menus: a tree of menu items under a menu's root item. A main menu is the bar of a form, a
// popup menu opens at a point of the screen. Every item has a command number (unique in the
// program) and, once asked for, a handle; a menu finds its items by either, or by short cut.
// Items whose caption is "-" are separator lines; "&" marks the accelerator key of a caption.
//
// Items read from a form description are owned by the form; each belongs to its parent item (the
// menu's root item for the top row), which frees its children when it goes. Whoever shows a menu
// (the form's menu bar, a popup) watches it through AddView and rebuilds on a structural change.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/actions.h"
#include "platform/fw/component.h"
#include "platform/fw/events.h"
#include "platform/fw/services.h"

namespace fw {

class TMenu;
class TMenuItem;
class TMainMenu;
class TPopupMenu;

FW_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
FW_ENUM(TMenuItemAutoFlag, maAutomatic, maManual, maParent)
FW_SCOPED_ENUM(TMenuAutoFlag, maAutomatic, maManual)
FW_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut)
FW_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
FW_ENUM(TTrackButton, tbRightButton, tbLeftButton)

using TMenuChangeEvent = rt::Event<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;
const rt::MethodType& MenuChangeEventType();

class EMenuError : public rt::Exception {
 public:
  using rt::Exception::Exception;
  const char* className() const override { return "EMenuError"; }
};

namespace msg {
inline constexpr const char* MenuIndexError = "Menu index out of range";
inline constexpr const char* MenuReinserted = "Menu inserted twice";
inline constexpr const char* MenuNotFound = "Sub-menu is not in menu";
}  // namespace msg

// The caption of a separator line.
inline constexpr const char* cLineCaption = "-";
// A caption without its accelerator marks ("&&" stays one "&").
std::string StripHotkey(const std::string& caption);

class TMenuItem : public TComponent {
  RT_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  // ---- the tree ----
  int Count() const { return int(items_.size()); }
  // Raises EListError for an index outside 0..Count - 1.
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return parent_; }
  // Position among the parent's children; -1 without a parent. Setting it moves the item (the
  // index is kept within the parent's children).
  int MenuIndex() const;
  void SetMenuIndex(int index);
  void Add(TMenuItem* item);
  // Adds them all at once, in order (one change for the whole lot).
  void Add(const std::vector<TMenuItem*>& items);
  // Raises EMenuError for an index outside 0..Count, an item that has a parent already, or an
  // item that would contain itself.
  void Insert(int index, TMenuItem* item);
  // Takes the child out (a separator the menu made itself is freed). Raises EListError for a
  // bad index.
  void Delete(int index);
  // Raises EMenuError when the item is not a child.
  void Remove(TMenuItem* item);
  // Frees every child.
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  // The child whose caption is `caption`, ignoring accelerator marks and the case of letters.
  TMenuItem* Find(const std::string& caption) const;
  bool IsLine() const { return caption_ == cLineCaption; }
  // The menu the item is in (through its parents); null when none.
  TMenu* GetParentMenu() const;

  // Separator lines; each answers the index of the new line.
  int NewTopLine();
  int NewBottomLine();
  // -1 when `item` is no child.
  int InsertNewLineBefore(TMenuItem* item);
  int InsertNewLineAfter(TMenuItem* item);
  // Gives the visible children accelerator keys that differ from each other; true when a caption
  // changed.
  bool RethinkHotkeys();
  // Hides separator lines that separate nothing (at the top, at the bottom, after another line);
  // true when one was hidden.
  bool RethinkLines();

  // A click: (as an auto-check item) flips the check mark, then OnClick or the action. A
  // disabled item does nothing.
  virtual void Click();
  // Updates the item's action.
  void InitiateAction();
  // Updates the actions of the children (before their submenu shows).
  void InitiateActions();

  uint16_t Command() const { return command_; }
  // The item's handle (made on first use).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }

  // ---- published ----
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  uint8_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(uint8_t v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t v) { helpContext_ = v; }
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak v);
  TMenuItemAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuItemAutoFlag v) { autoHotkeys_ = v; }
  TMenuItemAutoFlag AutoLineReduction() const { return autoLineReduction_; }
  void SetAutoLineReduction(TMenuItemAutoFlag v) { autoLineReduction_ = v; }
  TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
  void SetAction(TBasicAction* action);

  TNotifyEvent OnClick;

  // ---- streaming ----
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  void ActionChange(TBasicAction* sender, bool checkDefaults);
  // Tells the menu (and whoever shows it) that this item changed.
  void MenuChanged(bool rebuild);

 private:
  friend class TMenu;
  void TurnSiblingsOff();
  TMenuItem* NewLine();

  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> items_;
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false, radioItem_ = false;
  bool autoCheck_ = false;
  uint8_t groupIndex_ = 0;
  TShortCut shortCut_ = 0;
  std::string hint_;
  int32_t helpContext_ = 0, imageIndex_ = -1;
  TMenuBreak break_ = mbNone;
  TMenuItemAutoFlag autoHotkeys_ = maParent, autoLineReduction_ = maParent;
  uint16_t command_ = 0;
  HWND handle_ = 0;
  bool madeByMenu_ = false;  // a separator line the item made itself
  std::unique_ptr<TBasicActionLink> actionLink_;
};

class TMenu : public TComponent {
  RT_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // The root item; its children are the menu's top row.
  TMenuItem* Items() const { return items_; }
  HWND Handle();
  HWND WindowHandle() const { return windowHandle_; }
  void SetWindowHandle(HWND h) { windowHandle_ = h; }

  // Clicks the item with that command; true when there is one.
  bool DispatchCommand(uint16_t command);
  // Updates the actions of the submenu with that handle and clicks its item; true when found.
  bool DispatchPopup(HWND handle);
  // The first item (depth first) with that command, handle or short cut; null when none.
  TMenuItem* FindItem(int32_t value, TFindItemKind kind) const;
  // The help context of the item with that command (or handle); 0 when none.
  int32_t GetHelpContext(int32_t value, bool byCommand) const;

  TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuAutoFlag v) { autoHotkeys_ = v; }
  TMenuAutoFlag AutoLineReduction() const { return autoLineReduction_; }
  void SetAutoLineReduction(TMenuAutoFlag v) { autoLineReduction_ = v; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; }

  TMenuChangeEvent OnChange;

  // Someone showing the menu: told of every change (`rebuild` when the tree changed, not only an
  // item's state). Answers a number for RemoveView.
  using TView = std::function<void(TMenuItem* source, bool rebuild)>;
  int AddView(TView view);
  void RemoveView(int id);
  // An item of the menu changed: OnChange, then the views.
  virtual void Changed(TMenuItem* source, bool rebuild);

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 private:
  TMenuItem* items_;
  HWND handle_ = 0;
  HWND windowHandle_ = 0;
  TMenuAutoFlag autoHotkeys_ = TMenuAutoFlag::maAutomatic, autoLineReduction_ = TMenuAutoFlag::maAutomatic;
  bool ownerDraw_ = false;
  std::vector<std::pair<int, TView>> views_;
  int nextView_ = 1;
};

class TMainMenu : public TMenu {
  RT_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;

  bool AutoMerge() const { return autoMerge_; }
  void SetAutoMerge(bool v) { autoMerge_ = v; }
  // Shows another main menu's top items in this one's bar: an item of the other menu takes the
  // place of this menu's items of the same GroupIndex, and the bar stays ordered by GroupIndex.
  // Merging a menu twice, or this menu itself, changes nothing.
  void Merge(TMainMenu* menu);
  void Unmerge(TMainMenu* menu);
  // The items the bar shows, merged menus included.
  std::vector<TMenuItem*> BarItems() const;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool autoMerge_ = false;
  std::vector<TMainMenu*> merged_;
};

// Shows popup menus on screen; the host installs it. `Popup` returns once the menu is closed; the
// click on the chosen item arrives afterwards, from the message loop.
class IPopupMenuService {
 public:
  virtual ~IPopupMenuService() = default;
  // Shows the menu and returns once it is closed (an item chosen, the user gone elsewhere, or
  // CancelPopups).
  virtual void Popup(TPopupMenu& menu, int32_t x, int32_t y) = 0;
  // Closes every popup menu that is showing, as if the user had dismissed it.
  virtual void CancelPopups() {}
};
IPopupMenuService* PopupMenuService();
void SetPopupMenuService(IPopupMenuService* service);

class TPopupMenu : public TMenu {
  RT_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* owner);

  // Updates the actions of the items, fires OnPopup, then shows the menu at the screen point.
  virtual void Popup(int32_t x, int32_t y);
  TPoint PopupPoint() const { return popupPoint_; }
  // The component that last popped the menu up (null when none, or once it is freed).
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c);

  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment v) { alignment_ = v; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t v) { helpContext_ = v; }
  TTrackButton TrackButton() const { return trackButton_; }
  void SetTrackButton(TTrackButton v) { trackButton_ = v; }

  TNotifyEvent OnPopup;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TPoint popupPoint_;
  TComponent* popupComponent_ = nullptr;
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  int32_t helpContext_ = 0;
  TTrackButton trackButton_ = tbRightButton;
};

}  // namespace fw
