#include "script/stdlib/host_ui.h"

#include <gtest/gtest.h>

#include <memory>

using namespace stdlib;

TEST(HostUI, NobodyToAskGivesTheFirstButtonAndCancelsInput) {
  struct Case {
    int flags;
    int answer;
  };
  const Case cases[] = {
      {mbOK, idOK},           {mbOKCancel | 0x20, idOK}, {mbAbortRetryIgnore, idAbort},
      {mbYesNoCancel, idYes}, {mbYesNo | 0x30, idYes},   {mbRetryCancel, idRetry},
  };
  SetHostUI(nullptr);
  for (const auto& c : cases) EXPECT_EQ(HostUI().MessageBox("text", "caption", c.flags), c.answer) << c.flags;
  std::string text = "default";
  EXPECT_FALSE(HostUI().InputLine("name?", text, 0, "caption", 0));
  EXPECT_FALSE(HostUI().InputText("notes?", text, "caption", 0, 0));
}

TEST(HostUI, AnInstalledResponderAnswers) {
  struct Responder : TQuietHostUI {
    int MessageBox(const std::string&, const std::string&, int) override { return idNo; }
  };
  SetHostUI(std::make_shared<Responder>());
  EXPECT_EQ(HostUI().MessageBox("sure?", "caption", mbYesNo), idNo);
  SetHostUI(nullptr);
  EXPECT_EQ(HostUI().MessageBox("sure?", "caption", mbYesNo), idYes);
}
