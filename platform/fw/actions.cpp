#include "platform/fw/actions.h"

#include <algorithm>

#include "platform/fw/errors.h"
#include "platform/rt/persistent.h"

namespace fw {

namespace {
using P = rt::MethodParam;
}  // namespace

const rt::MethodType& ActionEventType() {
  static const rt::MethodType type{"TActionEvent", {P{"Action", "TBasicAction"}, P{"Handled", "Boolean", true}}};
  return type;
}

const rt::MethodType& HintEventType() {
  static const rt::MethodType type{"THintEvent", {P{"HintStr", "string", true}, P{"CanShow", "Boolean", true}}};
  return type;
}

// ---- links ----

TBasicActionLink::TBasicActionLink(std::function<void()> changed) : changed_(std::move(changed)) {}

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

bool LinkAction(std::unique_ptr<TBasicActionLink>& link, TBasicAction* action, std::function<void()> changed) {
  if (!action) {
    link.reset();
    return false;
  }
  if (!link) link = std::make_unique<TBasicActionLink>(std::move(changed));
  link->SetAction(action);
  return true;
}

void TBasicActionLink::SetAction(TBasicAction* action) {
  if (action == action_) return;
  if (action_) {
    auto& links = action_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  action_ = action;
  if (action_) action_->links_.push_back(this);
}

bool TBasicActionLink::Execute(TComponent* client) {
  if (!action_) return false;
  TBasicAction* action = action_;
  auto alive = action->LivenessToken();
  action->SetActionComponent(client);
  bool handled = false;
  try {
    handled = action->Execute();
  } catch (...) {
    if (!alive.expired()) action->SetActionComponent(nullptr);
    throw;
  }
  if (!alive.expired()) action->SetActionComponent(nullptr);
  return handled;
}

bool TBasicActionLink::Update() { return action_ && action_->Update(); }

// ---- TBasicAction ----

const rt::ClassInfo& TBasicAction::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TBasicAction>("TBasicAction", &TComponent::StaticClassInfo())
          .event("OnExecute", NotifyEventType(), &TBasicAction::GetOnExecute, &TBasicAction::SetOnExecuteMethod)
          .event("OnUpdate", NotifyEventType(), &TBasicAction::GetOnUpdate, &TBasicAction::SetOnUpdateMethod)
          .build();
  return info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  // The clients forget the action; their links stay, empty.
  for (TBasicActionLink* link : links_) {
    link->action_ = nullptr;
    if (link->changed_) link->changed_();
  }
  links_.clear();
}

bool TBasicAction::Execute() {
  if (!onExecute_) return false;
  onExecute_(this);
  return true;
}

bool TBasicAction::Update() {
  if (!onUpdate_) return false;
  onUpdate_(this);
  return true;
}

void TBasicAction::SetOnExecute(TNotifyEvent handler) {
  if (handler == onExecute_) return;
  onExecute_ = handler;
  Change();
}

void TBasicAction::SetOnUpdate(TNotifyEvent handler) { onUpdate_ = handler; }

void TBasicAction::Change() {
  // A client may unlink itself while it takes the change over.
  std::vector<TBasicActionLink*> links = links_;
  for (TBasicActionLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->changed_) link->changed_();
}

// ---- TContainedAction ----

const rt::ClassInfo& TContainedAction::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TContainedAction>("TContainedAction", &TBasicAction::StaticClassInfo())
          .property("Category", &TContainedAction::Category, &TContainedAction::SetCategory)
          .build();
  return info;
}

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TActionList* list) {
  if (list == actionList_) return;
  if (actionList_) actionList_->RemoveAction(this);
  if (list) list->AddAction(this);
}

int32_t TContainedAction::Index() const {
  if (!actionList_) return -1;
  auto& a = actionList_->actions_;
  return int32_t(std::find(a.begin(), a.end(), this) - a.begin());
}

void TContainedAction::SetIndex(int32_t index) {
  if (!actionList_) return;
  auto& a = actionList_->actions_;
  int32_t current = Index();
  index = std::clamp<int32_t>(index, 0, int32_t(a.size()) - 1);
  if (index == current) return;
  a.erase(a.begin() + current);
  a.insert(a.begin() + index, this);
  actionList_->Changed();
}

bool TContainedAction::Execute() {
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
}

// ---- TCustomAction ----

const rt::ClassInfo& TCustomAction::StaticClassInfo() {
  using T = TCustomAction;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TCustomAction", &TContainedAction::StaticClassInfo())
          .property("AutoCheck", &T::AutoCheck, &T::SetAutoCheck).defaultValue(false)
          .property("Caption", &T::Caption, &T::SetCaption)
          .property("Checked", &T::Checked, &T::SetChecked).defaultValue(false)
          .property("Enabled", &T::Enabled, &T::SetEnabled).defaultValue(true)
          .property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).defaultValue(0)
          .property("HelpContext", &T::HelpContext, &T::SetHelpContext).defaultValue(0)
          .property("Hint", &T::Hint, &T::SetHint)
          .property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).defaultValue(-1)
          .property("ShortCut", &T::ShortCut, &T::SetShortCut).defaultValue(0)
          .property("Visible", &T::Visible, &T::SetVisible).defaultValue(true)
          .event("OnHint", HintEventType(), &T::OnHint)
          .build();
  return info;
}

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

void TCustomAction::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  Change();
}

void TCustomAction::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  // One checked action per group of an action list.
  if (v && groupIndex_ > 0 && ActionList()) {
    for (int i = 0; i < ActionList()->ActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
      if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Change();
}

void TCustomAction::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Change();
}

void TCustomAction::SetGroupIndex(int32_t v) {
  if (v == groupIndex_) return;
  groupIndex_ = v;
  Change();
}

void TCustomAction::SetHelpContext(int32_t v) {
  if (v == helpContext_) return;
  helpContext_ = v;
  Change();
}

void TCustomAction::SetHint(const std::string& v) {
  if (v == hint_) return;
  hint_ = v;
  Change();
}

void TCustomAction::SetImageIndex(int32_t v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  Change();
}

void TCustomAction::SetShortCut(TShortCut v) {
  if (v == shortCut_) return;
  shortCut_ = v;
  Change();
}

bool TCustomAction::Execute() {
  if (ActionList() && ActionList()->State() != asNormal) return false;
  auto alive = LivenessToken();
  Update();
  if (alive.expired() || !enabled_) return false;
  if (autoCheck_) SetChecked(!checked_);
  return TContainedAction::Execute();
}

bool TCustomAction::DoHint(std::string& hint) {
  bool canShow = true;
  if (OnHint) OnHint(hint, canShow);
  return canShow;
}

const rt::ClassInfo& TAction::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TAction>("TAction", &TCustomAction::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TAction(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TAction::TAction(TComponent* owner) : TCustomAction(owner) {}

// ---- TActionList ----

const rt::ClassInfo& TActionList::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TActionList>("TActionList", &TComponent::StaticClassInfo())
          .property("State", &TActionList::State, &TActionList::SetState).defaultValue(asNormal)
          .event("OnChange", NotifyEventType(), &TActionList::OnChange)
          .event("OnExecute", ActionEventType(), &TActionList::OnExecute)
          .event("OnUpdate", ActionEventType(), &TActionList::OnUpdate)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TActionList(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
  // The actions stay (their owner frees them), outside any list.
  while (!actions_.empty()) actions_.back()->SetActionList(nullptr);
}

TContainedAction* TActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return actions_[size_t(index)];
}

void TActionList::SetState(TActionListState s) {
  if (s == state_) return;
  state_ = s;
  Changed();
}

bool TActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnExecute) OnExecute(action, handled);
  return handled;
}

bool TActionList::UpdateAction(TBasicAction* action) {
  // A suspended list updates nothing; "suspended enabled" enables its actions instead.
  if (state_ == asSuspended) return true;
  if (state_ == asSuspendedEnabled) {
    if (auto* a = dynamic_cast<TCustomAction*>(action)) a->SetEnabled(true);
    return true;
  }
  bool handled = false;
  if (OnUpdate) OnUpdate(action, handled);
  return handled;
}

void TActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TContainedAction* a : std::vector<TContainedAction*>(actions_))
    if (a->Owner() == root) proc(a);
}

void TActionList::SetChildOrder(TComponent* child, int order) {
  if (auto* a = dynamic_cast<TContainedAction*>(child); a && a->ActionList() == this) a->SetIndex(order);
}

void TActionList::AddAction(TContainedAction* action) {
  actions_.push_back(action);
  action->actionList_ = this;
  Changed();
}

void TActionList::RemoveAction(TContainedAction* action) {
  actions_.erase(std::remove(actions_.begin(), actions_.end(), action), actions_.end());
  action->actionList_ = nullptr;
  Changed();
}

void TActionList::Changed() {
  if (OnChange && !HasState(csDestroying)) OnChange(this);
}

}  // namespace fw
