// Actions and their clients: state taken over and followed, clicks that run the action, action
// lists that handle their actions first, updates when the application goes idle.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fw/actions.h"
#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/form.h"
#include "platform/fw/menus.h"

namespace {

// Records the events it is given, by name.
struct TLog {
  std::vector<std::string> lines;
  void Execute(fw::TObject*) { lines.push_back("execute"); }
  void Update(fw::TObject*) { lines.push_back("update"); }
  void Click(fw::TObject*) { lines.push_back("click"); }
  void Disable(fw::TObject* sender) {
    lines.push_back("update");
    static_cast<fw::TAction*>(sender)->SetEnabled(false);
  }
  void ListExecute(fw::TBasicAction*, bool& handled) {
    lines.push_back("list execute");
    handled = handledByList;
  }
  void Hint(std::string& hint, bool& canShow) {
    hint = "[" + hint + "]";
    canShow = showHint;
  }
  bool handledByList = false;
  bool showHint = true;
};

TEST(Actions, ClientsTakeTheStateOverAndFollowIt) {
  fw::TForm form(nullptr);
  auto* action = new fw::TAction(&form);
  action->SetCaption("&Open");
  action->SetHint("Opens");
  action->SetEnabled(false);
  auto* button = new fw::TButton(&form);
  button->SetParent(&form);
  auto* item = new fw::TMenuItem(&form);
  auto* check = new fw::TCheckBox(&form);
  TLog log;
  check->OnClick = fw::TNotifyEvent::bind<&TLog::Click>(&log);

  button->SetAction(action);
  item->SetAction(action);
  check->SetAction(action);
  EXPECT_EQ(button->Caption(), "&Open");
  EXPECT_FALSE(button->Enabled());
  EXPECT_EQ(button->Hint(), "Opens");
  EXPECT_EQ(item->Caption(), "&Open");
  EXPECT_FALSE(item->Enabled());
  EXPECT_EQ(action->ClientCount(), 3);

  action->SetEnabled(true);
  action->SetCaption("Save");
  action->SetChecked(true);
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(item->Caption(), "Save");
  EXPECT_TRUE(item->Checked());
  // The check mark taken over from the action is no click of the check box.
  EXPECT_TRUE(check->Checked());
  EXPECT_TRUE(log.lines.empty());

  // Unlinked clients keep what they have and follow no more.
  button->SetAction(nullptr);
  action->SetCaption("Other");
  EXPECT_EQ(button->Caption(), "Save");
  EXPECT_EQ(item->Caption(), "Other");
  EXPECT_EQ(action->ClientCount(), 2);
}

TEST(Actions, FreedActionLeavesItsClientsUnlinked) {
  fw::TForm form(nullptr);
  auto* action = new fw::TAction(&form);
  auto* button = new fw::TButton(&form);
  auto* item = new fw::TMenuItem(&form);
  button->SetAction(action);
  item->SetAction(action);
  action->Free();
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(item->Action(), nullptr);
  // Clicks after the action went do nothing harmful.
  button->Click();
  item->Click();
}

TEST(Actions, ClickRunsTheActionUnlessTheClientHasItsOwnHandler) {
  fw::TForm form(nullptr);
  TLog log;
  auto* action = new fw::TAction(&form);
  action->SetOnExecute(fw::TNotifyEvent::bind<&TLog::Execute>(&log));
  auto* button = new fw::TButton(&form);
  button->SetAction(action);
  button->Click();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"execute"}));

  button->OnClick = fw::TNotifyEvent::bind<&TLog::Click>(&log);
  button->Click();
  // A handler that is the action's own runs through the action.
  button->OnClick = action->OnExecuteEvent();
  button->Click();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"execute", "click", "execute"}));

  // A disabled action runs nowhere.
  log.lines.clear();
  button->OnClick = {};
  action->SetEnabled(false);
  button->Click();
  EXPECT_FALSE(action->Execute());
  EXPECT_TRUE(log.lines.empty());
}

TEST(Actions, ExecuteUpdatesFirstAndAnUpdateMayDisable) {
  TLog log;
  fw::TAction action(nullptr);
  EXPECT_FALSE(action.Execute());  // nobody handles it
  EXPECT_FALSE(action.Update());
  action.SetOnExecute(fw::TNotifyEvent::bind<&TLog::Execute>(&log));
  action.SetOnUpdate(fw::TNotifyEvent::bind<&TLog::Disable>(&log));
  EXPECT_FALSE(action.Execute());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"update"}));
  EXPECT_FALSE(action.Enabled());

  action.SetOnUpdate(fw::TNotifyEvent::bind<&TLog::Update>(&log));
  action.SetEnabled(true);
  action.SetAutoCheck(true);
  EXPECT_TRUE(action.Execute());
  EXPECT_TRUE(action.Checked());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"update", "update", "execute"}));
}

TEST(Actions, ActionListHandlesFirstAndKeepsOneCheckedPerGroup) {
  fw::TForm form(nullptr);
  TLog log;
  auto* list = new fw::TActionList(&form);
  auto* a = new fw::TAction(&form);
  auto* b = new fw::TAction(&form);
  a->SetActionList(list);
  b->SetActionList(list);
  EXPECT_EQ(list->ActionCount(), 2);
  EXPECT_EQ(b->Index(), 1);
  a->SetOnExecute(fw::TNotifyEvent::bind<&TLog::Execute>(&log));
  list->OnExecute = fw::TActionEvent::bind<&TLog::ListExecute>(&log);
  EXPECT_TRUE(a->Execute());
  log.handledByList = true;
  EXPECT_TRUE(a->Execute());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"list execute", "execute", "list execute"}));

  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());

  // A suspended list runs nothing.
  list->SetState(fw::asSuspended);
  log.lines.clear();
  EXPECT_FALSE(a->Execute());
  EXPECT_TRUE(log.lines.empty());

  // Freeing the list leaves the actions, outside any list.
  list->Free();
  EXPECT_EQ(a->ActionList(), nullptr);
  EXPECT_EQ(a->Index(), -1);
}

TEST(Actions, HintGoesThroughTheActionsHandler) {
  fw::TForm form(nullptr);
  TLog log;
  auto* action = new fw::TAction(&form);
  action->SetHint("Saves");
  action->OnHint = fw::THintEvent::bind<&TLog::Hint>(&log);
  auto* button = new fw::TButton(&form);
  button->SetAction(action);
  std::string hint;
  EXPECT_TRUE(button->HintToShow(hint));
  EXPECT_EQ(hint, "[Saves]");
  log.showHint = false;
  EXPECT_FALSE(button->HintToShow(hint));
}

TEST(Actions, IdleUpdatesTheActionsOfShowingFormsOnly) {
  TLog log;
  auto* action = new fw::TAction(nullptr);
  action->SetOnUpdate(fw::TNotifyEvent::bind<&TLog::Disable>(&log));
  auto* shown = new fw::TForm(nullptr);
  auto* hidden = new fw::TForm(nullptr);
  auto* button = new fw::TButton(shown);
  button->SetParent(shown);
  button->SetAction(action);
  auto* menu = new fw::TMainMenu(shown);
  auto* top = new fw::TMenuItem(shown);
  menu->Items()->Add(top);
  shown->SetMenu(menu);
  auto* other = new fw::TAction(nullptr);
  other->SetOnUpdate(fw::TNotifyEvent::bind<&TLog::Update>(&log));
  top->SetAction(other);
  auto* hiddenButton = new fw::TButton(hidden);
  hiddenButton->SetParent(hidden);
  hiddenButton->SetAction(other);

  EXPECT_TRUE(fw::Application()->Idle());
  EXPECT_TRUE(log.lines.empty());  // no form shows
  shown->SetVisible(true);
  EXPECT_TRUE(fw::Application()->Idle());
  // The menu bar's item, then the button; the hidden form's button is left alone.
  EXPECT_EQ(log.lines, (std::vector<std::string>{"update", "update"}));
  EXPECT_FALSE(button->Enabled());
  shown->Free();
  hidden->Free();
  action->Free();
  other->Free();
}

}  // namespace
