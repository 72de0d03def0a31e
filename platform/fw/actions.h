// Actions: one command that several clients (buttons, menu items, tool buttons) run. A client
// linked to an action takes over the action's caption, enabled state, check mark, hint and
// visibility, follows their changes, and runs the action when it is clicked. Actions are updated
// (OnUpdate) when the application goes idle and before a menu shows them, so that they can
// enable or check themselves. An action list groups actions (form descriptions keep them there)
// and may handle their execution and update itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/component.h"
#include "platform/fw/events.h"

namespace fw {

class TBasicAction;
class TActionList;

using TShortCut = uint16_t;

FW_ENUM(TActionListState, asNormal, asSuspended, asSuspendedEnabled)

using TActionEvent = rt::Event<void(TBasicAction* Action, bool& Handled)>;
using THintEvent = rt::Event<void(std::string& HintStr, bool& CanShow)>;
const rt::MethodType& ActionEventType();
const rt::MethodType& HintEventType();

// The tie between a client and its action. The client owns the link; the action knows its links
// and tells them when its state changes or when it goes away.
class TBasicActionLink {
 public:
  // `changed` runs when the action's state changes (the client takes it over).
  explicit TBasicActionLink(std::function<void()> changed);
  ~TBasicActionLink();
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  // Runs the action for `client`; true when it was handled.
  bool Execute(TComponent* client);
  // Asks the action to update itself; true when it was handled.
  bool Update();

 private:
  friend class TBasicAction;
  TBasicAction* action_ = nullptr;
  std::function<void()> changed_;
};

// Points `link` at `action`, making the link on first use with `changed` as its change handler, or
// drops the link when `action` is null. True when an action is now linked.
bool LinkAction(std::unique_ptr<TBasicActionLink>& link, TBasicAction* action, std::function<void()> changed);

class TBasicAction : public TComponent {
  RT_CLASS(TBasicAction)
 public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;

  // Fires OnExecute; true when there was a handler.
  virtual bool Execute();
  // Fires OnUpdate; true when there was a handler.
  virtual bool Update();
  // The client that runs the action right now (null outside Execute).
  TComponent* ActionComponent() const { return actionComponent_; }
  void SetActionComponent(TComponent* c) { actionComponent_ = c; }

  TNotifyEvent OnExecuteEvent() const { return onExecute_; }
  void SetOnExecute(TNotifyEvent handler);
  TNotifyEvent OnUpdateEvent() const { return onUpdate_; }
  void SetOnUpdate(TNotifyEvent handler);

  int ClientCount() const { return int(links_.size()); }

 protected:
  // Tells every client that the action's state changed.
  void Change();

 private:
  friend class TBasicActionLink;
  rt::Method GetOnExecute() const { return onExecute_.toMethod(); }
  void SetOnExecuteMethod(const rt::Method& m) { SetOnExecute(TNotifyEvent::fromMethod(m)); }
  rt::Method GetOnUpdate() const { return onUpdate_.toMethod(); }
  void SetOnUpdateMethod(const rt::Method& m) { SetOnUpdate(TNotifyEvent::fromMethod(m)); }

  TNotifyEvent onExecute_;
  TNotifyEvent onUpdate_;
  TComponent* actionComponent_ = nullptr;
  std::vector<TBasicActionLink*> links_;
};

// An action that may belong to an action list (which may handle it first).
class TContainedAction : public TBasicAction {
  RT_CLASS(TContainedAction)
 public:
  explicit TContainedAction(TComponent* owner);
  ~TContainedAction() override;

  TActionList* ActionList() const { return actionList_; }
  void SetActionList(TActionList* list);
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& c) { category_ = c; }
  // Position in the action list; -1 without one.
  int32_t Index() const;
  void SetIndex(int32_t index);

  bool Execute() override;
  bool Update() override;

  bool HasParent() const override { return actionList_ != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TActionList;
  TActionList* actionList_ = nullptr;
  std::string category_;
};

// An action with the state its clients show.
class TCustomAction : public TContainedAction {
  RT_CLASS(TCustomAction)
 public:
  explicit TCustomAction(TComponent* owner);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Checked() const { return checked_; }
  // Checking an action of a group (GroupIndex > 0) unchecks the others of its action list.
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t v);
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }

  // Updates first; a disabled action does not run. An auto-check action flips its check mark.
  bool Execute() override;
  // Fires OnHint for the hint a client is about to show; false when the hint is not to be shown.
  bool DoHint(std::string& hint);

  THintEvent OnHint;

 private:
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, autoCheck_ = false;
  int32_t groupIndex_ = 0, helpContext_ = 0, imageIndex_ = -1;
  std::string hint_;
  TShortCut shortCut_ = 0;
};

class TAction : public TCustomAction {
  RT_CLASS(TAction)
 public:
  explicit TAction(TComponent* owner);
};

class TActionList : public TComponent {
  RT_CLASS(TActionList)
 public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;

  int ActionCount() const { return int(actions_.size()); }
  // Raises EListError for an index outside 0..ActionCount - 1.
  TContainedAction* Actions(int index) const;
  TActionListState State() const { return state_; }
  void SetState(TActionListState s);

  // OnExecute / OnUpdate of the list for one of its actions; true when the list handled it.
  bool ExecuteAction(TBasicAction* action);
  bool UpdateAction(TBasicAction* action);

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

 private:
  friend class TContainedAction;
  void AddAction(TContainedAction* action);
  void RemoveAction(TContainedAction* action);
  void Changed();

  std::vector<TContainedAction*> actions_;
  TActionListState state_ = asNormal;
};

}  // namespace fw
