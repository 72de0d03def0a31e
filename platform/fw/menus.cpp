#include "platform/fw/menus.h"

#include <algorithm>
#include <cctype>

#include "platform/fw/dispatch.h"
#include "platform/fw/errors.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::MethodType& MenuChangeEventType() {
  using P = rt::MethodParam;
  static const rt::MethodType type{
      "TMenuChangeEvent", {P{"Sender", "TObject", false}, P{"Source", "TMenuItem"}, P{"Rebuild", "Boolean"}}};
  return type;
}

namespace {

// Command numbers: unique among the live items of the program, never 0.
std::vector<bool>& usedCommands() {
  static std::vector<bool> used(0x10000, false);
  return used;
}
uint16_t gNextCommand = 1;

uint16_t AllocateCommand() {
  auto& used = usedCommands();
  for (int tries = 0; tries < 0xFFFF; ++tries) {
    uint16_t c = gNextCommand;
    gNextCommand = gNextCommand == 0xFFFF ? 1 : uint16_t(gNextCommand + 1);
    if (!used[c]) {
      used[c] = true;
      return c;
    }
  }
  return 0;  // every number is taken: the item has none
}

void ReleaseCommand(uint16_t c) {
  if (c) usedCommands()[c] = false;
}

IPopupMenuService* gPopupService = nullptr;

std::string lowerAscii(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The accelerator key of a caption (lower case); 0 when it has none.
char HotkeyOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return char(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

bool InTree(const TMenuItem* item, const TMenuItem* root) {
  for (const TMenuItem* p = root; p; p = p->Parent())
    if (p == item) return true;
  return false;
}

}  // namespace

std::string StripHotkey(const std::string& caption) {
  std::string out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&x" is x with a mark; "&&" is one "&".
    if (caption[i] == '&' && ++i == caption.size()) break;
    out += caption[i];
  }
  return out;
}

IPopupMenuService* PopupMenuService() { return gPopupService; }
void SetPopupMenuService(IPopupMenuService* service) { gPopupService = service; }

// ---- TMenuItem ----

const rt::ClassInfo& TMenuItem::StaticClassInfo() {
  using T = TMenuItem;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TMenuItem", &TComponent::StaticClassInfo())
          .property("Action", &T::Action, &T::SetAction)
          .property("AutoCheck", &T::AutoCheck, &T::SetAutoCheck).defaultValue(false)
          .property("AutoHotkeys", &T::AutoHotkeys, &T::SetAutoHotkeys).defaultValue(maParent)
          .property("AutoLineReduction", &T::AutoLineReduction, &T::SetAutoLineReduction).defaultValue(maParent)
          .property("Break", &T::Break, &T::SetBreak).defaultValue(mbNone)
          .property("Caption", &T::Caption, &T::SetCaption)
          .property("Checked", &T::Checked, &T::SetChecked).defaultValue(false)
          .property("Default", &T::Default, &T::SetDefault).defaultValue(false)
          .property("Enabled", &T::Enabled, &T::SetEnabled).defaultValue(true)
          .property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).defaultValue(0)
          .property("HelpContext", &T::HelpContext, &T::SetHelpContext).defaultValue(0)
          .property("Hint", &T::Hint, &T::SetHint)
          .property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).defaultValue(-1)
          .property("RadioItem", &T::RadioItem, &T::SetRadioItem).defaultValue(false)
          .property("ShortCut", &T::ShortCut, &T::SetShortCut).defaultValue(0)
          .property("Visible", &T::Visible, &T::SetVisible).defaultValue(true)
          .event("OnClick", NotifyEventType(), &T::OnClick)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TMenuItem(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
  actionLink_.reset();
  // The children go with their item (those of a form leave the form's list as they go).
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    child->Free();
  }
  if (parent_) {
    TMenuItem* parent = parent_;
    auto& siblings = parent->items_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent_ = nullptr;
    parent->MenuChanged(true);
  }
  if (handle_) ReleaseHandle(handle_);
  ReleaseCommand(command_);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return items_[size_t(index)];
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int index) {
  if (!parent_) return;
  auto& siblings = parent_->items_;
  const int current = MenuIndex();
  index = std::clamp(index, 0, int(siblings.size()) - 1);
  if (index == current) return;
  siblings.erase(siblings.begin() + current);
  siblings.insert(siblings.begin() + index, this);
  parent_->MenuChanged(true);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Add(const std::vector<TMenuItem*>& items) {
  // Every item is checked before any goes in: all of them or none.
  for (size_t i = 0; i < items.size(); ++i) {
    TMenuItem* item = items[i];
    if (!item) continue;
    if (item->parent_ || item->menu_ || InTree(item, this)) raise<EMenuError>(msg::MenuReinserted);
    for (size_t j = 0; j < i; ++j)
      if (items[j] == item) raise<EMenuError>(msg::MenuReinserted);
  }
  bool added = false;
  for (TMenuItem* item : items) {
    if (!item) continue;
    items_.push_back(item);
    item->parent_ = this;
    added = true;
  }
  if (added) MenuChanged(true);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_ || item->menu_ || InTree(item, this)) raise<EMenuError>(msg::MenuReinserted);
  if (index < 0 || index > Count()) raise<EMenuError>(msg::MenuIndexError);
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  MenuChanged(true);
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  auto alive = LivenessToken();
  MenuChanged(true);
  if (item->madeByMenu_) FreeWhenIdle(item);
}

void TMenuItem::Remove(TMenuItem* item) {
  int index = IndexOf(item);
  if (index < 0) raise<EMenuError>(msg::MenuNotFound);
  Delete(index);
}

void TMenuItem::Clear() {
  if (items_.empty()) return;
  std::vector<TMenuItem*> children;
  children.swap(items_);
  for (TMenuItem* child : children) child->parent_ = nullptr;
  // Out of the menu at once; one whose click is running goes once no handler runs.
  for (auto it = children.rbegin(); it != children.rend(); ++it) FreeWhenIdle(*it);
  MenuChanged(true);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  const std::string wanted = lowerAscii(StripHotkey(caption));
  for (TMenuItem* item : items_)
    if (lowerAscii(StripHotkey(item->caption_)) == wanted) return item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* top = this;
  while (top->parent_) top = top->parent_;
  return top->menu_;
}

TMenuItem* TMenuItem::NewLine() {
  auto* line = new TMenuItem(nullptr);
  line->caption_ = cLineCaption;
  line->madeByMenu_ = true;
  return line;
}

int TMenuItem::NewTopLine() {
  Insert(0, NewLine());
  return 0;
}

int TMenuItem::NewBottomLine() {
  Insert(Count(), NewLine());
  return Count() - 1;
}

int TMenuItem::InsertNewLineBefore(TMenuItem* item) {
  int index = IndexOf(item);
  if (index < 0) return -1;
  Insert(index, NewLine());
  return index;
}

int TMenuItem::InsertNewLineAfter(TMenuItem* item) {
  int index = IndexOf(item);
  if (index < 0) return -1;
  Insert(index + 1, NewLine());
  return index + 1;
}

bool TMenuItem::RethinkHotkeys() {
  std::vector<bool> used(256, false);
  std::vector<TMenuItem*> pending;
  for (TMenuItem* item : items_) {
    if (!item->visible_ || item->IsLine() || item->caption_.empty()) continue;
    char key = HotkeyOf(item->caption_);
    if (key && !used[static_cast<unsigned char>(key)]) {
      used[static_cast<unsigned char>(key)] = true;
    } else {
      pending.push_back(item);
    }
  }
  bool changed = false;
  for (TMenuItem* item : pending) {
    const std::string plain = StripHotkey(item->caption_);
    for (size_t i = 0; i < plain.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(plain[i]);
      if (c >= 0x80 || !std::isalnum(c)) continue;
      unsigned char key = static_cast<unsigned char>(std::tolower(c));
      if (used[key]) continue;
      used[key] = true;
      // The plain caption with "&" doubled where it was doubled, and the new mark.
      std::string caption;
      for (size_t j = 0; j < plain.size(); ++j) {
        if (j == i) caption += '&';
        caption += plain[j];
        if (plain[j] == '&') caption += '&';
      }
      item->SetCaption(caption);
      changed = true;
      break;
    }
  }
  return changed;
}

bool TMenuItem::RethinkLines() {
  bool changed = false;
  bool lastWasLine = true;  // a line at the top separates nothing
  TMenuItem* lastLine = nullptr;
  for (TMenuItem* item : std::vector<TMenuItem*>(items_)) {
    if (!item->visible_) continue;
    if (item->IsLine()) {
      if (lastWasLine) {
        item->SetVisible(false);
        changed = true;
        continue;
      }
      lastWasLine = true;
      lastLine = item;
    } else {
      lastWasLine = false;
      lastLine = nullptr;
    }
  }
  if (lastWasLine && lastLine) {
    lastLine->SetVisible(false);
    changed = true;
  }
  return changed;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  auto alive = LivenessToken();
  TBasicAction* action = Action();
  if (autoCheck_ && !action) SetChecked(!checked_);
  if (alive.expired()) return;
  if (OnClick && (!action || !(OnClick == action->OnExecuteEvent())))
    OnClick(this);
  else if (action)
    actionLink_->Execute(this);
}

void TMenuItem::InitiateAction() {
  if (actionLink_) actionLink_->Update();
}

void TMenuItem::InitiateActions() {
  auto alive = LivenessToken();
  for (TMenuItem* item : std::vector<TMenuItem*>(items_)) {
    if (alive.expired()) return;
    if (IndexOf(item) >= 0) item->InitiateAction();
  }
}

HWND TMenuItem::Handle() {
  if (!handle_) handle_ = AllocateHandle(this);
  return handle_;
}

void TMenuItem::SetCaption(const std::string& v) {
  if (v == caption_) return;
  // Turning into a line or out of one changes the shape of the menu.
  const bool shape = (v == cLineCaption) != IsLine();
  caption_ = v;
  MenuChanged(shape);
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (v && radioItem_) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ && sibling->checked_) {
      sibling->checked_ = false;
      sibling->MenuChanged(false);
    }
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  MenuChanged(false);
}

void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  // One default item among the siblings.
  if (v && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this) sibling->default_ = false;
  default_ = v;
  MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool v) {
  if (v == radioItem_) return;
  radioItem_ = v;
  if (v && checked_) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::SetGroupIndex(uint8_t v) {
  if (v == groupIndex_) return;
  groupIndex_ = v;
  if (radioItem_ && checked_) TurnSiblingsOff();
  // The bar of a merged main menu is ordered by group.
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (v == shortCut_) return;
  shortCut_ = v;
  MenuChanged(false);
}

void TMenuItem::SetImageIndex(int32_t v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  MenuChanged(false);
}

void TMenuItem::SetBreak(TMenuBreak v) {
  if (v == break_) return;
  break_ = v;
  MenuChanged(true);
}

void TMenuItem::SetAction(TBasicAction* action) {
  if (action == Action()) return;
  auto changed = [this] {
    if (TBasicAction* a = Action()) ActionChange(a, false);
  };
  if (LinkAction(actionLink_, action, changed)) ActionChange(action, HasState(csLoading));
}

void TMenuItem::ActionChange(TBasicAction* sender, bool checkDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(sender);
  if (!a) return;
  if (!checkDefaults || caption_.empty()) SetCaption(a->Caption());
  if (!checkDefaults || !checked_) SetChecked(a->Checked());
  if (!checkDefaults || enabled_) SetEnabled(a->Enabled());
  if (!checkDefaults || helpContext_ == 0) SetHelpContext(a->HelpContext());
  if (!checkDefaults || hint_.empty()) SetHint(a->Hint());
  if (!checkDefaults || imageIndex_ == -1) SetImageIndex(a->ImageIndex());
  if (!checkDefaults || shortCut_ == 0) SetShortCut(a->ShortCut());
  if (!checkDefaults || visible_) SetVisible(a->Visible());
}

void TMenuItem::MenuChanged(bool rebuild) {
  // Nobody hears of the changes while the item or its form goes.
  if (HasState(csDestroying) || (Owner() && Owner()->HasState(csDestroying))) return;
  TMenu* menu = GetParentMenu();
  if (!menu || menu->HasState(csDestroying)) return;
  menu->Changed(parent_ ? this : nullptr, rebuild);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_))
    if (item->Owner() == root) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
  if (auto* item = dynamic_cast<TMenuItem*>(child); item && item->parent_ == this) item->SetMenuIndex(order);
}

// ---- TMenu ----

const rt::ClassInfo& TMenu::StaticClassInfo() {
  using T = TMenu;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TMenu", &TComponent::StaticClassInfo())
          .property("AutoHotkeys", &T::AutoHotkeys, &T::SetAutoHotkeys).defaultValue(0)
          .property("AutoLineReduction", &T::AutoLineReduction, &T::SetAutoLineReduction).defaultValue(0)
          .property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).defaultValue(false)
          .event("OnChange", MenuChangeEventType(), &T::OnChange)
          .build();
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  views_.clear();
  items_->menu_ = nullptr;
  items_->Free();
  if (handle_) ReleaseHandle(handle_);
}

HWND TMenu::Handle() { return items_->Handle(); }

bool TMenu::DispatchCommand(uint16_t command) {
  TMenuItem* item = FindItem(command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HWND handle) {
  TMenuItem* item = FindItem(int32_t(handle), fkHandle);
  if (!item) return false;
  auto alive = item->LivenessToken();
  item->InitiateActions();
  if (!alive.expired()) item->Click();
  return true;
}

TMenuItem* TMenu::FindItem(int32_t value, TFindItemKind kind) const {
  std::vector<TMenuItem*> stack(items_->items_.rbegin(), items_->items_.rend());
  while (!stack.empty()) {
    TMenuItem* item = stack.back();
    stack.pop_back();
    bool match = false;
    switch (kind) {
      case fkCommand: match = item->command_ != 0 && value == item->command_; break;
      case fkHandle: match = item->handle_ != 0 && HWND(value) == item->handle_; break;
      case fkShortCut: match = item->shortCut_ != 0 && item->shortCut_ == value; break;
    }
    if (match) return item;
    stack.insert(stack.end(), item->items_.rbegin(), item->items_.rend());
  }
  return nullptr;
}

int32_t TMenu::GetHelpContext(int32_t value, bool byCommand) const {
  TMenuItem* item = FindItem(value, byCommand ? fkCommand : fkHandle);
  return item ? item->HelpContext() : 0;
}

int TMenu::AddView(TView view) {
  views_.emplace_back(nextView_, std::move(view));
  return nextView_++;
}

void TMenu::RemoveView(int id) {
  views_.erase(std::remove_if(views_.begin(), views_.end(), [id](const auto& v) { return v.first == id; }),
               views_.end());
}

void TMenu::Changed(TMenuItem* source, bool rebuild) {
  if (HasState(csDestroying) || (Owner() && Owner()->HasState(csDestroying))) return;
  auto alive = LivenessToken();
  if (OnChange) OnChange(this, source, rebuild);
  if (alive.expired()) return;
  auto views = views_;
  for (auto& [id, view] : views) {
    bool still = std::any_of(views_.begin(), views_.end(), [id = id](const auto& v) { return v.first == id; });
    if (still) view(source, rebuild);
    if (alive.expired()) return;
  }
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { items_->GetChildren(proc, root); }

void TMenu::SetChildOrder(TComponent* child, int order) { items_->SetChildOrder(child, order); }

// ---- TMainMenu ----

const rt::ClassInfo& TMainMenu::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClassInfo())
          .property("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge).defaultValue(false)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TMainMenu(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  for (TMainMenu* m : merged_) m->RemoveFreeNotification(this);
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (!menu || menu == this || std::find(merged_.begin(), merged_.end(), menu) != merged_.end()) return;
  merged_.push_back(menu);
  menu->FreeNotification(this);
  Changed(nullptr, true);
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  auto it = std::find(merged_.begin(), merged_.end(), menu);
  if (it == merged_.end()) return;
  merged_.erase(it);
  menu->RemoveFreeNotification(this);
  Changed(nullptr, true);
}

std::vector<TMenuItem*> TMainMenu::BarItems() const {
  std::vector<TMenuItem*> bar;
  for (int i = 0; i < Items()->Count(); ++i) bar.push_back(Items()->Items(i));
  for (TMainMenu* other : merged_) {
    const TMenuItem* top = other->Items();
    for (int i = 0; i < top->Count(); ++i) {
      TMenuItem* item = top->Items(i);
      // The merged item replaces the items of its group that came before it from elsewhere.
      bar.erase(std::remove_if(bar.begin(), bar.end(),
                               [&](TMenuItem* b) {
                                 return b->GroupIndex() == item->GroupIndex() && b->Parent() != top;
                               }),
                bar.end());
      auto at = std::find_if(bar.begin(), bar.end(), [&](TMenuItem* b) { return b->GroupIndex() > item->GroupIndex(); });
      bar.insert(at, item);
    }
  }
  return bar;
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation != opRemove) return;
  auto it = std::find(merged_.begin(), merged_.end(), component);
  if (it == merged_.end()) return;
  merged_.erase(it);
  Changed(nullptr, true);
}

// ---- TPopupMenu ----

const rt::ClassInfo& TPopupMenu::StaticClassInfo() {
  using T = TPopupMenu;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TPopupMenu", &TMenu::StaticClassInfo())
          .property("Alignment", &T::Alignment, &T::SetAlignment).defaultValue(paLeft)
          .property("AutoPopup", &T::AutoPopup, &T::SetAutoPopup).defaultValue(true)
          .property("HelpContext", &T::HelpContext, &T::SetHelpContext).defaultValue(0)
          .property("TrackButton", &T::TrackButton, &T::SetTrackButton).defaultValue(tbRightButton)
          .event("OnPopup", NotifyEventType(), &T::OnPopup)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TPopupMenu(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int32_t x, int32_t y) {
  popupPoint_ = {x, y};
  auto alive = LivenessToken();
  if (OnPopup) OnPopup(this);
  if (alive.expired()) return;
  Items()->InitiateActions();
  if (alive.expired()) return;
  if (IPopupMenuService* service = PopupMenuService()) {
    // The menu's own loop stands on the menu (and its caller on more): what its handlers free waits.
    TDispatchScope scope;
    service->Popup(*this, x, y);
  }
}

void TPopupMenu::SetPopupComponent(TComponent* c) {
  if (c == popupComponent_) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = c;
  if (c) c->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

}  // namespace fw
