// The example scripts, run as brsw runs them (Qt's event loop, offscreen) and used as a person
// would: buttons clicked, text typed, files opened and saved, the main window closed. Each run
// has a watchdog: a script whose loop does not end in time is stopped and the test fails.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "script/core/value_list.h"
#include "tools/brsw/window_host.h"

namespace {

namespace fsys = std::filesystem;
constexpr int kWatchdogPasses = 1000;  // about ten seconds of the event loop

class ExamplesTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "gui_examples_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
    brsw::InstallLibraries();
  }

  // Runs the example; `drive` is called once the script's body has run and its window is up,
  // from inside the event loop. The loop must end by the script's own means (its main form
  // closing).
  int RunExample(const std::string& name, const std::vector<std::string>& args, const std::function<void()>& drive) {
    std::string path = std::string(BR_SOURCE_DIR) + "/examples/" + name;
    std::ifstream in(path, std::ios::binary);
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    brsw::TWindowPump pump;
    engine::TBrindle component;
    component.Engine().Pump = &pump;
    component.LibraryPath().push_back(fsys::path(path).parent_path().string());
    component.Engine().ScriptFileName = path;
    component.SetOnStderr([&](engine::TBrindle*, const std::string& s) { err += s; });
    int passes = 0;
    bool driven = false;
    component.SetOnDoEvents([&](engine::TBrindle*, bool& abort) {
      if (++passes > kWatchdogPasses) {
        ADD_FAILURE() << name << ": the event loop did not end";
        abort = true;
        return;
      }
      if (driven) return;
      driven = true;
      drive();
    });
    EXPECT_TRUE(component.Compile(source)) << err;
    engine::TJValueList list;
    for (const std::string& a : args) list.AddString(a);
    int code = component.Run(&list);
    EXPECT_TRUE(driven) << name << ": no event loop ran";
    component.Clear();
    fw::Application()->ProcessMessages();
    return code;
  }

  static fw::TCustomForm* FormCaptioned(const std::string& caption) {
    for (int i = 0; i < fw::Screen()->FormCount(); ++i)
      if (fw::Screen()->Forms(i)->Caption() == caption) return fw::Screen()->Forms(i);
    return nullptr;
  }
  template <class T>
  static T* ControlOf(fw::TWinControl* parent, int index) {
    return parent && index < parent->ControlCount() ? dynamic_cast<T*>(parent->Controls(index)) : nullptr;
  }
  static QWidget* WidgetOf(fw::TControl* control) {
    auto* peer = control ? dynamic_cast<qtfw::TQtPeer*>(control->Peer()) : nullptr;
    return peer ? peer->Widget() : nullptr;
  }
  static void Click(fw::TControl* control) {
    QWidget* w = WidgetOf(control);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
    QApplication::processEvents();
  }

  static qtfw::TQtHost* host;
  std::string err;
};

qtfw::TQtHost* ExamplesTest::host = nullptr;

TEST_F(ExamplesTest, HelloFormGreetsAndClears) {
  std::string greeting, cleared;
  bool stillOpen = false;
  int code = RunExample("hello_form.brs", {}, [&] {
    fw::TCustomForm* form = FormCaptioned("Hello");
    ASSERT_NE(form, nullptr);
    auto* first = ControlOf<fw::TEdit>(form, 0);
    auto* greet = ControlOf<fw::TButton>(form, 2);
    auto* clear = ControlOf<fw::TButton>(form, 3);
    auto* answer = ControlOf<fw::TLabel>(form, 4);
    ASSERT_TRUE(first && greet && clear && answer);
    first->SetText("Grace");
    Click(greet);
    greeting = answer->Caption();
    Click(clear);
    cleared = answer->Caption() + "|" + first->Text();
    stillOpen = form->Visible();
    form->Close();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err, "");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(greeting, "Hello, Grace Lovelace!");
  EXPECT_EQ(cleared, "Cleared.|");
}

TEST_F(ExamplesTest, DescriptionFormAnswersFromItsLoadedControls) {
  std::string answer;
  int code = RunExample("description_form.brs", {}, [&] {
    fw::TCustomForm* form = FormCaptioned("Greeting from a description");
    ASSERT_NE(form, nullptr);
    auto* edit = dynamic_cast<fw::TEdit*>(form->FindComponent("NameEdit"));
    auto* button = dynamic_cast<fw::TButton*>(form->FindComponent("HelloButton"));
    auto* label = dynamic_cast<fw::TLabel*>(form->FindComponent("Answer"));
    ASSERT_TRUE(edit && button && label);
    edit->SetText("Qt");
    Click(button);
    answer = label->Caption();
    form->Close();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(answer, "Hello, Qt!");
}

TEST_F(ExamplesTest, TextEditorOpensEditsAndSaves) {
  fsys::path dir = fsys::temp_directory_path() / ("gui_editor_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  fsys::path file = dir / "note.txt";
  std::ofstream(file, std::ios::binary) << "first line\r\nsecond line\r\n";
  fw::TScriptedDialogs dialogs;
  dialogs.OnMessage = [](const fw::TMessageRequest&) { return fw::mrYes; };
  fw::TDialogServiceScope scope(&dialogs);
  std::string opened, saved;
  int code = RunExample("text_editor.brs", {file.string()}, [&] {
    fw::TCustomForm* form = FormCaptioned("Text editor");
    ASSERT_NE(form, nullptr);
    auto* open = ControlOf<fw::TButton>(form, 1);
    auto* save = ControlOf<fw::TButton>(form, 2);
    auto* memo = ControlOf<fw::TMemo>(form, 3);
    auto* status = ControlOf<fw::TLabel>(form, 4);
    ASSERT_TRUE(open && save && memo && status);
    Click(open);
    opened = status->Caption() + "|" + memo->Lines()->Get(1);
    memo->Lines()->Add("third line");
    Click(save);
    saved = status->Caption();
    QWidget* typing = WidgetOf(memo);
    ASSERT_NE(typing, nullptr);
    typing->setFocus();
    QTest::keyClicks(typing, "typed");  // a person's edit, not saved
    QApplication::processEvents();
    form->Close();  // asks first: there are unsaved changes
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(opened, "Opened " + file.string() + " (2 lines)|second line");
  EXPECT_EQ(saved, "Saved " + file.string());
  std::ifstream in(file, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "first line\r\nsecond line\r\nthird line\r\n");
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(dialogs.Log[0].text, "Close without saving?");
  fsys::remove_all(dir);
}

}  // namespace
