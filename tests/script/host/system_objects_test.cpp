// The files-and-system objects driven by scripts with the services replaced by fakes: programs
// started without a shell, the key state the game shares, the cursor, the clipboard, the file
// dialogs, and the safety rails of Directory.clear.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fw/clipboard.h"
#include "platform/fw/cursor.h"
#include "platform/fw/file_dialogs.h"
#include "platform/fw/keys.h"
#include "platform/shell/shell.h"
#include "tests/script/host/script_runner.h"
#include "tests/support/temp_dir.h"

namespace hosttest {
namespace {

namespace fs = std::filesystem;
using support_test::TempDir;

// Text for a script string literal.
std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

TEST(Win32Object, StartsProgramsWithTheirWordsAndNoShell) {
  shell::TRecordingLauncher launcher;
  shell::SetLauncher(&launcher);
  ScriptOutcome o = RunScriptText(
      "println(Win32.winExec('true \"two words\" a;b $(rm -rf x) `id` ' + \"'q'\" + ' | cat > out'));\n"
      "println(Win32.winExec('no-such-program-anywhere'));\n"
      "println(Win32.shellExecute('open', 'true', '-x \"y z\";w', '/tmp'));\n"
      "println(Win32.shellExecute('', 'true'));\n"
      "println(Win32.shellExecute('print', 'true'));\n"
      "println(Win32.shellExecute('open', 'no-such-document.txt', '', '/tmp'));\n");  // file not found
  shell::SetLauncher(nullptr);
  EXPECT_EQ(o.out, "true\nfalse\ntrue\ntrue\nfalse\nfalse\n") << o.err;
  std::string program = shell::FindProgram("true");
  ASSERT_FALSE(program.empty());
  ASSERT_EQ(launcher.Calls.size(), 3u);
  EXPECT_EQ(launcher.Calls[0].argv, (std::vector<std::string>{program, "two words", "a;b", "$(rm", "-rf", "x)", "`id`",
                                                              "'q'", "|", "cat", ">", "out"}));
  EXPECT_EQ(launcher.Calls[0].folder, "");
  EXPECT_EQ(launcher.Calls[1].argv, (std::vector<std::string>{program, "-x", "y z;w"}));
  EXPECT_EQ(launcher.Calls[1].folder, "/tmp");
  EXPECT_EQ(launcher.Calls[2].argv, (std::vector<std::string>{program}));

  // A launcher that fails reports false; missing arguments are the object's errors.
  launcher.Result = false;
  shell::SetLauncher(&launcher);
  o = RunScriptText("println(Win32.winExec('true'));");
  EXPECT_EQ(o.out, "false\n");
  o = RunScriptText("Win32.winExec();");
  EXPECT_NE(o.err.find("EWin32Error(1) => winExec error"), std::string::npos) << o.err;
  o = RunScriptText("Win32.shellExecute('open');");
  EXPECT_NE(o.err.find("EWin32Error(1) => shellExecute error"), std::string::npos) << o.err;
  shell::SetLauncher(nullptr);
}

TEST(KeyboardAndMouse, ReadTheSharedKeyStateAndTheCursorLive) {
  fw::ReleaseAllKeys();
  fw::SetKeyDown('A', true);
  fw::SetKeyDown(fw::VK_SHIFT, true);
  fw::SetKeyDown(fw::VK_RBUTTON, true);
  fw::SetCursorSource([n = 0]() mutable {
    ++n;
    return fw::TCursorPos{100 + n, -20 - n};
  });
  ScriptOutcome o = RunScriptText(
      "println(Keyboard.isDown('A') + ' ' + Keyboard.isDown('a') + ' ' + Keyboard.isDown(65) + ' ' + Keyboard.isDown('Apple'));\n"
      "println(Keyboard.shift + ' ' + Keyboard.ctrl + ' ' + Keyboard.alt);\n"
      "println(Mouse.lbutton + ' ' + Mouse.rbutton + ' ' + Mouse.mbutton);\n"
      "var x1 = Mouse.x; var x2 = Mouse.x; println(x1 + ' ' + x2 + ' ' + Mouse.y);\n");
  EXPECT_EQ(o.out, "true false true true\ntrue false false\nfalse true false\n101 102 -23\n") << o.err;

  // "a" is the numeric keypad's 1; a change is seen at once, without any event handling.
  fw::SetKeyDown(fw::VK_NUMPAD0 + 1, true);
  fw::SetKeyDown('A', false);
  o = RunScriptText("println(Keyboard.isDown('a') + ' ' + Keyboard.isDown('A'));");
  EXPECT_EQ(o.out, "true false\n");
  fw::ReleaseAllKeys();
  fw::SetCursorSource(nullptr);
}

TEST(ClipboardObject, TextOnlyWhenTheClipboardHoldsText) {
  auto clipboard = std::make_shared<fw::TMemoryClipboard>();
  fw::SetClipboardService(clipboard);
  clipboard->SetOther();  // a picture, say
  ScriptOutcome o = RunScriptText("println(Clipboard.hasText() + ' [' + Clipboard.asText + '] [' + Clipboard + ']');");
  EXPECT_EQ(o.out, "false [] []\n");
  o = RunScriptText("Clipboard.asText = \"line 1\\nline 2\"; println(Clipboard.hasText());");
  EXPECT_EQ(o.out, "true\n");
  EXPECT_EQ(clipboard->Text(), "line 1\r\nline 2");
  fw::SetClipboardService(nullptr);
}

TEST(DialogObject, AsksTheDialogServiceWithTheFilterAndTitle) {
  fw::TScriptedFileDialogs dialogs;
  fw::TFileDialogServiceScope scope(&dialogs);
  dialogs.OnRun = [](const fw::TFileDialogRequest& r, std::vector<std::string>& chosen) {
    if (r.Title == "cancel") return false;
    if (r.Kind == fw::TFileDialogKind::OpenMany) chosen = {"/d/one.txt", "/d/two.txt"};
    else chosen = {"/d/picked"};
    return true;
  };
  ScriptOutcome o = RunScriptText(
      "var d = new Dialog(' Text|*.txt ', 'All|*.*');\n"
      "println(d.openFile());\n"
      "println(d.openFile('Open a text', 'start.txt'));\n"
      "println(d.openFile('cancel'));\n"
      "var many = d.openFiles('Several');\n"
      "println(many.length + ' ' + many[0] + ' ' + many[1]);\n"
      "println(d.openFiles('cancel').length);\n"
      "println(d.saveFile('Save as', 'out.txt'));\n"
      "println(d.saveFile('cancel'));\n"
      "println(d.openFolder('Folder', '/srv'));\n"
      "println(d.openFolder('cancel'));\n"
      "d.openFolder();\n"
      "println(Dialog.openFile('global'));\n");
  EXPECT_EQ(o.out, "/d/picked\n/d/picked\nnull\n2 /d/one.txt /d/two.txt\n0\n/d/picked\nnull\n/d/picked\nnull\n/d/picked\n")
      << o.err;
  ASSERT_EQ(dialogs.Log.size(), 11u);
  const fw::TFileDialogRequest& first = dialogs.Log[0];
  EXPECT_EQ(first.Kind, fw::TFileDialogKind::Open);
  EXPECT_EQ(first.Filter, "Text|*.txt|All|*.*");
  EXPECT_EQ(first.Title, "host_system_tests");  // the program's name without its extension
  EXPECT_EQ(dialogs.Log[1].Initial, "start.txt");
  EXPECT_EQ(dialogs.Log[3].Kind, fw::TFileDialogKind::OpenMany);
  EXPECT_EQ(dialogs.Log[5].Kind, fw::TFileDialogKind::Save);
  EXPECT_EQ(dialogs.Log[7].Kind, fw::TFileDialogKind::Folder);
  EXPECT_EQ(dialogs.Log[7].Initial, "/srv");
  EXPECT_EQ(dialogs.Log[7].Filter, "");
  char cwd[4096];
  ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
  EXPECT_EQ(fs::path(dialogs.Log[9].Initial).lexically_normal(), fs::path(std::string(cwd) + "/").lexically_normal());
  EXPECT_EQ(dialogs.Log[10].Filter, "");  // the global instance has no filters
}

class DirectoryClear : public ::testing::Test {
 protected:
  void SetUp() override {
    saveEnv("HOME", home_);
    saveEnv("XDG_DATA_HOME", data_);
    ::setenv("HOME", dir.file("home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    fs::create_directories(dir.file("home"));
    fs::create_directories(dir.file("target/inner"));
    fs::create_directories(dir.file("outside/keep"));
    std::ofstream(dir.file("outside/keep/precious.txt")) << "keep me";
    std::ofstream(dir.file("outside/file.txt")) << "keep me too";
    std::ofstream(dir.file("target/inner/x.txt")) << "x";
    // Links inside the folder that point out of it.
    fs::create_directory_symlink(dir.file("outside/keep"), dir.file("target/link-to-folder"));
    fs::create_symlink(dir.file("outside/file.txt"), dir.file("target/link-to-file"));
    fs::create_symlink(dir.file("nowhere"), dir.file("target/dangling"));
  }
  void TearDown() override {
    restoreEnv("HOME", home_);
    restoreEnv("XDG_DATA_HOME", data_);
  }
  static void saveEnv(const char* name, std::optional<std::string>& slot) {
    if (const char* v = std::getenv(name)) slot = v;
  }
  static void restoreEnv(const char* name, const std::optional<std::string>& slot) {
    if (slot) ::setenv(name, slot->c_str(), 1); else ::unsetenv(name);
  }
  bool outsideWhole() const {
    return fs::exists(dir.file("outside/keep/precious.txt")) && fs::exists(dir.file("outside/file.txt"));
  }
  TempDir dir;
  std::optional<std::string> home_, data_;
};

TEST_F(DirectoryClear, RemovesLinksNotWhatTheyPointTo) {
  ScriptOutcome o = RunScriptText("new Directory(" + quoted(dir.file("target")) + ").clear(false); println('cleared');");
  EXPECT_EQ(o.out, "cleared\n") << o.err;
  EXPECT_TRUE(fs::is_empty(dir.file("target")));
  EXPECT_TRUE(outsideWhole());
}

TEST_F(DirectoryClear, SendsLinksToTheTrashNotWhatTheyPointTo) {
  ScriptOutcome o = RunScriptText("new Directory(" + quoted(dir.file("target")) + ").clear(); println('trashed');");
  EXPECT_EQ(o.out, "trashed\n") << o.err;
  EXPECT_TRUE(fs::is_empty(dir.file("target")));
  EXPECT_TRUE(outsideWhole());
  EXPECT_TRUE(fs::exists(dir.file("data/Trash/files/inner/x.txt")));
  EXPECT_TRUE(fs::is_symlink(dir.file("data/Trash/files/link-to-folder")));
}

TEST_F(DirectoryClear, RefusesTheHomeAndTheRootAndReportsWhatStays) {
  // The home folder, also when reached through a link or with "..". The root goes through the same
  // check; it is not tried for real, since a broken check would then empty the machine (tests run as root).
  fs::create_directory_symlink(dir.file("home"), dir.file("home-link"));
  std::ofstream(dir.file("home/.profile")) << "mine";
  for (const std::string& path : {dir.file("home"), dir.file("home-link"), dir.file("target/../home/")}) {
    ScriptOutcome o = RunScriptText("new Directory(" + quoted(path) + ").clear(false);");
    EXPECT_NE(o.err.find("EDirectoryError"), std::string::npos) << path;
    EXPECT_NE(o.err.find("clear error: "), std::string::npos) << o.err;
  }
  EXPECT_TRUE(fs::exists(dir.file("home/.profile")));
  // A folder that does not exist, and a file that cannot go (its folder is not writable).
  ScriptOutcome o = RunScriptText("new Directory(" + quoted(dir.file("missing")) + ").clear(false);");
  EXPECT_NE(o.err.find("clear error: " + dir.file("missing") + "/"), std::string::npos) << o.err;
  if (::geteuid() != 0) {
    fs::permissions(dir.file("target/inner"), fs::perms::owner_read | fs::perms::owner_exec);
    o = RunScriptText("new Directory(" + quoted(dir.file("target")) + ").clear(false);");
    fs::permissions(dir.file("target/inner"), fs::perms::owner_all);
    EXPECT_NE(o.err.find("EDirectoryError"), std::string::npos) << o.err;
    EXPECT_TRUE(fs::exists(dir.file("target/inner/x.txt")));
  }
  EXPECT_TRUE(outsideWhole());
}

TEST(DirectoryObject, SearchErrorsNameTheFolder) {
  TempDir dir;
  ScriptOutcome o = RunScriptText("new Directory(" + quoted(dir.path()) + ").findNext();");
  EXPECT_NE(o.err.find("EDirectoryError(1) => findNext error: " + dir.path() + "/"), std::string::npos) << o.err;
  o = RunScriptText("var d = new Directory(" + quoted(dir.path()) + "); d.remove(); d.remove();");
  EXPECT_NE(o.err.find("remove error: " + dir.path() + "/"), std::string::npos) << o.err;
  fs::create_directories(dir.path());
  std::ofstream(dir.file("plain")) << "x";
  o = RunScriptText("new Directory(" + quoted(dir.file("plain/sub")) + ").make();");
  EXPECT_NE(o.err.find("make error: " + dir.file("plain/sub") + "/"), std::string::npos) << o.err;
  o = RunScriptText("Directory.changeTo(" + quoted(dir.file("plain")) + ");");
  EXPECT_NE(o.err.find("changeTo error: " + dir.file("plain")), std::string::npos) << o.err;
}

}  // namespace
}  // namespace hosttest
