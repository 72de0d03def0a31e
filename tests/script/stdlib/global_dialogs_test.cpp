// The dialog functions of the Global object, seen from the host's side: what they ask the host's
// dialogs, and what they make of the answers.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "script/stdlib/global.h"
#include "script/stdlib/host_ui.h"
#include "stdlib_fixture.h"

using namespace stdlib;
using namespace stdlibtest;

namespace {

struct Asked {
  std::string kind, message, text, caption;
  int flags = 0, width = 0, height = 0;
  char32_t passwordChar = 0;
};

// Answers as told and notes every question.
struct Responder : IHostUI {
  int button = idOK;
  bool accept = true;
  std::string typed;
  std::vector<Asked> asked;

  int MessageBox(const std::string& text, const std::string& caption, int flags) override {
    asked.push_back({"box", text, "", caption, flags});
    return button;
  }
  bool InputLine(const std::string& message, std::string& text, char32_t passwordChar, const std::string& caption,
                 int width) override {
    Asked a{"line", message, text, caption, 0, width};
    a.passwordChar = passwordChar;
    asked.push_back(a);
    if (accept) text = typed;
    return accept;
  }
  bool InputText(const std::string& message, std::string& text, const std::string& caption, int width,
                 int height) override {
    asked.push_back({"area", message, text, caption, 0, width, height});
    if (accept) text = typed;
    return accept;
  }
  std::string ApplicationTitle() override { return "Title"; }
};

class GlobalDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ui = std::make_shared<Responder>();
    SetHostUI(ui);
    global = TJValue::Object(TJObject::Create<TJGlobalObject>(nullptr, nullptr, false));
  }
  void TearDown() override { SetHostUI(nullptr); }

  TJValue Run(const char* name, std::initializer_list<TJValue> args = {}) { return Call(global, name, args); }

  std::shared_ptr<Responder> ui;
  TJValue global;
};

}  // namespace

TEST_F(GlobalDialogs, MessageBoxesPassTheirFlagsAndCaption) {
  EXPECT_EQ(Run("alert", {S("careful")}).vObject(), global.vObject());
  EXPECT_EQ(Run("alert", {S("again"), S("Mine")}).vObject(), global.vObject());
  EXPECT_EQ(Run("alert").vObject(), global.vObject());  // no argument: no box
  ASSERT_EQ(ui->asked.size(), 2u);
  EXPECT_EQ(ui->asked[0].message, "careful");
  EXPECT_EQ(ui->asked[0].caption, "Title");
  EXPECT_EQ(ui->asked[0].flags, 48);
  EXPECT_EQ(ui->asked[1].caption, "Mine");

  ui->asked.clear();
  EXPECT_EQ(Show(Run("confirm", {S("sure?"), S("")})), "vtBool true");
  ui->button = idCancel;
  EXPECT_EQ(Show(Run("confirm", {S("sure?")})), "vtBool false");
  ui->button = idNo;  // anything but Cancel counts as yes
  EXPECT_EQ(Show(Run("confirm", {S("sure?")})), "vtBool true");
  EXPECT_EQ(ui->asked[0].flags, 33);
  EXPECT_EQ(ui->asked[0].caption, "Title");

  ui->asked.clear();
  ui->button = idRetry;
  EXPECT_EQ(Show(Run("msgBox", {S("go?"), I(0x35), S("Cap")})), "vtInteger 4");
  EXPECT_EQ(Show(Run("msgBox", {I(12)})), "vtInteger 4");
  EXPECT_EQ(ui->asked[0].flags, 0x35);
  EXPECT_EQ(ui->asked[0].caption, "Cap");
  EXPECT_EQ(ui->asked[1].message, "12");
  EXPECT_EQ(ui->asked[1].flags, 0);
  EXPECT_EQ(ui->asked[1].caption, "Title");
}

TEST_F(GlobalDialogs, PromptGivesTheTypedLineOrNull) {
  ui->typed = "typed";
  EXPECT_EQ(Show(Run("prompt", {S("name?"), S("def"), S("*"), S("Ask"), I(100)})), "vtString typed");
  ASSERT_EQ(ui->asked.size(), 1u);
  EXPECT_EQ(ui->asked[0].message, "name?");
  EXPECT_EQ(ui->asked[0].text, "def");
  EXPECT_EQ(ui->asked[0].passwordChar, U'*');
  EXPECT_EQ(ui->asked[0].caption, "Ask");
  EXPECT_EQ(ui->asked[0].width, 200);  // never narrower than 200

  Run("prompt", {S("q"), S(""), I(0), S(""), I(350)});
  EXPECT_EQ(ui->asked[1].passwordChar, 0u);
  EXPECT_EQ(ui->asked[1].caption, "Title");
  EXPECT_EQ(ui->asked[1].width, 350);
  Run("prompt", {S("q"), S(""), I(0), S(""), I(-5)});
  EXPECT_EQ(ui->asked[2].width, 0);

  ui->accept = false;
  EXPECT_EQ(Show(Run("prompt", {S("q")})), "vtNull null");
  EXPECT_EQ(Show(Run("prompt")), "vtUndefined undefined");
  EXPECT_EQ(ui->asked.size(), 4u);
}

TEST_F(GlobalDialogs, TextAreaGivesTheTypedTextOrNull) {
  ui->typed = "line 1\r\nline 2";
  EXPECT_EQ(Show(Run("textArea", {S("notes"), S("old"), S(""), I(50), I(400)})), "vtString line 1\r\nline 2");
  EXPECT_EQ(ui->asked[0].text, "old");
  EXPECT_EQ(ui->asked[0].caption, "Title");
  EXPECT_EQ(ui->asked[0].width, 200);
  EXPECT_EQ(ui->asked[0].height, 400);
  ui->accept = false;
  EXPECT_EQ(Show(Run("textArea", {S("notes")})), "vtNull null");
  EXPECT_EQ(ui->asked[1].width, 0);
  EXPECT_EQ(ui->asked[1].height, 0);
}
