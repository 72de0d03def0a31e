// The script engine's dialogs on the framework's forms, answered by a scripted dialog service.
#include "script/host/dialogs/form_host_ui.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fw/application.h"
#include "script/host/dialogs/dialog_forms.h"

namespace hostdlg {
namespace {

class FormHostUITest : public ::testing::Test {
 protected:
  void SetUp() override { fw::Application()->SetTitle("霧の灯台"); }
  fw::TScriptedDialogs dialogs;
  fw::TDialogServiceScope scope{&dialogs};
  TFormHostUI ui;
};

TEST_F(FormHostUITest, MessageBoxesAskWithTheirButtonsAndIcon) {
  fw::TMessageRequest seen;
  dialogs.OnMessage = [&](const fw::TMessageRequest& r) {
    seen = r;
    return fw::mrCancel;
  };
  EXPECT_EQ(ui.MessageBox("sure?", "", 33), stdlib::idCancel);  // question icon, OK and Cancel
  EXPECT_EQ(seen.Caption, "霧の灯台");
  EXPECT_EQ(seen.Text, "sure?");
  EXPECT_EQ(seen.Type, fw::mtConfirmation);
  EXPECT_EQ(seen.Buttons, (fw::TMsgDlgButtons{fw::mbOK, fw::mbCancel}));

  struct Case {
    int flags;
    fw::TMsgDlgButtons buttons;
    fw::TMsgDlgType type;
  } cases[] = {{0, {fw::mbOK}, fw::mtCustom},
               {48, {fw::mbOK}, fw::mtWarning},
               {0x12, {fw::mbAbort, fw::mbRetry, fw::mbIgnore}, fw::mtError},
               {0x43, {fw::mbYes, fw::mbNo, fw::mbCancel}, fw::mtInformation},
               {4, {fw::mbYes, fw::mbNo}, fw::mtCustom},
               {5, {fw::mbRetry, fw::mbCancel}, fw::mtCustom}};
  for (const Case& c : cases) {
    fw::TMessageRequest r = MessageBoxRequest("t", "c", c.flags);
    EXPECT_EQ(r.Buttons, c.buttons) << c.flags;
    EXPECT_EQ(r.Type, c.type) << c.flags;
  }
}

TEST_F(FormHostUITest, AnswersAreButtonsOfTheBox) {
  EXPECT_EQ(MessageBoxAnswer(4, fw::mrNo), stdlib::idNo);
  EXPECT_EQ(MessageBoxAnswer(2, fw::mrIgnore), stdlib::idIgnore);
  // A result the box has no button for: Cancel when it has one, else its first button.
  EXPECT_EQ(MessageBoxAnswer(3, fw::mrOk), stdlib::idCancel);
  EXPECT_EQ(MessageBoxAnswer(4, fw::mrCancel), stdlib::idYes);
  EXPECT_EQ(MessageBoxAnswer(0, fw::mrNone), stdlib::idOK);
  dialogs.OnMessage = [](const fw::TMessageRequest&) { return fw::mrYes; };
  EXPECT_EQ(ui.MessageBox("t", "c", 4), stdlib::idYes);
}

TEST_F(FormHostUITest, PromptShowsTheLineFormAndGivesItsText) {
  std::weak_ptr<const void> alive;
  dialogs.OnModal = [&](fw::TCustomForm& form) {
    auto& prompt = dynamic_cast<TfrmPrompt&>(form);
    alive = form.LivenessToken();
    EXPECT_EQ(form.Caption(), "Login");
    EXPECT_EQ(prompt.lblText->Caption(), "password?");
    EXPECT_EQ(prompt.edtPrompt->Text(), "old");
    EXPECT_EQ(prompt.edtPrompt->PasswordChar(), '#');
    EXPECT_EQ(form.ClientWidth(), 200);  // asked for 50: at least 200
    EXPECT_EQ(form.ClientHeight(), 73);
    prompt.edtPrompt->SetText("s3cret");
    return fw::mrOk;
  };
  std::string text = "old";
  EXPECT_TRUE(ui.InputLine("password?", text, U'#', "Login", 50));
  EXPECT_EQ(text, "s3cret");
  EXPECT_TRUE(alive.expired());  // the form is freed afterwards

  dialogs.OnModal = [&](fw::TCustomForm& form) {
    auto& prompt = dynamic_cast<TfrmPrompt&>(form);
    EXPECT_EQ(form.Caption(), "霧の灯台");  // no caption: the application's title
    EXPECT_EQ(form.ClientWidth(), 492);     // no width: as designed
    EXPECT_EQ(prompt.edtPrompt->PasswordChar(), 0);
    prompt.edtPrompt->SetText("typed");
    return fw::mrCancel;
  };
  text = "kept";
  EXPECT_FALSE(ui.InputLine("name?", text, 0, "", 0));
  EXPECT_EQ(text, "kept");
}

TEST_F(FormHostUITest, TextAreaClearsWithoutClosing) {
  dialogs.OnModal = [&](fw::TCustomForm& form) {
    auto& area = dynamic_cast<TfrmTextArea&>(form);
    EXPECT_EQ(area.mmText->Lines()->Count(), 2);
    EXPECT_EQ(area.mmText->Lines()->Get(1), "two");
    EXPECT_EQ(form.ClientWidth(), 600);
    EXPECT_EQ(form.ClientHeight(), 200);
    area.btnClear->Click();
    EXPECT_EQ(area.mmText->Text(), "");
    EXPECT_EQ(form.ModalResult(), fw::mrNone);  // still open
    area.mmText->SetText("new\r\ntext");
    return fw::mrOk;
  };
  std::string text = "one\r\ntwo";
  EXPECT_TRUE(ui.InputText("notes", text, "", 600, 10));
  EXPECT_EQ(text, "new\r\ntext");
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(dialogs.Log[0].text, "TfrmTextArea");
}

TEST_F(FormHostUITest, CheckListFormHoldsACheckListBox) {
  auto* form = new TfrmCheckList(DialogOwner());
  EXPECT_EQ(form->ClientWidth(), 416);
  EXPECT_EQ(form->ClientHeight(), 243);
  EXPECT_EQ(form->lbCheck->ItemHeight(), 12);
  EXPECT_EQ(form->lbCheck->Anchors(), (fw::TAnchors{fw::akLeft, fw::akTop, fw::akRight, fw::akBottom}));
  EXPECT_TRUE(form->btnOK->Default());
  EXPECT_EQ(form->btnCancel->ModalResult(), fw::mrCancel);
  form->Free();
}

TEST_F(FormHostUITest, CheckListShowsItemsAndMarksAndGivesThemBackOnOK) {
  std::vector<std::string> items{"red", "green", "blue"};
  dialogs.OnModal = [&](fw::TCustomForm& form) {
    auto& list = dynamic_cast<TfrmCheckList&>(form);
    EXPECT_EQ(form.Caption(), "霧の灯台");  // no caption: the application title
    EXPECT_EQ(list.lblText->Caption(), "Colours?");
    EXPECT_EQ(form.ClientWidth(), 200);   // asked for 50
    EXPECT_EQ(form.ClientHeight(), 243);  // 0 keeps the designed height
    EXPECT_EQ(list.lbCheck->Items()->Count(), 3);
    EXPECT_EQ(list.lbCheck->Items()->Get(2), "blue");
    EXPECT_EQ(list.lbCheck->ItemIndex(), 1);
    EXPECT_TRUE(list.lbCheck->Checked(0));
    EXPECT_FALSE(list.lbCheck->Checked(1));
    list.lbCheck->SetChecked(0, false);
    list.lbCheck->SetChecked(2, true);
    list.lbCheck->SetItemIndex(2);
    return fw::mrOk;
  };
  std::vector<bool> marks{true, false, false};
  int32_t index = 1;
  EXPECT_TRUE(ui.CheckList("", "Colours?", items, marks, index, 50, 0));
  EXPECT_EQ(marks, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(index, 2);

  // Cancel: the marks stay as they were, the selected item still comes back.
  dialogs.OnModal = [&](fw::TCustomForm& form) {
    auto& list = dynamic_cast<TfrmCheckList&>(form);
    EXPECT_EQ(form.Caption(), "Pick");
    list.lbCheck->SetChecked(1, true);
    list.lbCheck->SetItemIndex(0);
    return fw::mrCancel;
  };
  EXPECT_FALSE(ui.CheckList("Pick", "", items, marks, index, 0, 0));
  EXPECT_EQ(marks, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(index, 0);
}

}  // namespace
}  // namespace hostdlg
