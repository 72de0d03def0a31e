// The file-dialog service: filters read from the system's syntax and written in Qt's, and the
// answer when no service is installed.
#include "platform/fw/file_dialogs.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(FileFilter, TranslatesToQtsForm) {
  struct Case {
    const char* filter;
    const char* qt;
  } cases[] = {
      {"", ""},
      {"Text|*.txt", "Text (*.txt)"},
      {"Text|*.txt|All|*.*", "Text (*.txt);;All (*)"},
      {" Text | *.txt ; *.LOG |All files (*.*)|*.*", "Text (*.txt *.LOG);;All files (*.*) (*)"},
      {"Pictures|*.bmp;*.png;;", "Pictures (*.bmp *.png)"},
      {"No pattern", ""},
      {"Text|*.txt|Dangling", "Text (*.txt)"},
      {"Empty|", ""},
      {"画像|*.bmp", "画像 (*.bmp)"},
  };
  for (const Case& c : cases) EXPECT_EQ(QtFileFilter(c.filter), c.qt) << c.filter;
  std::vector<TFileFilter> parsed = ParseFileFilter("A|*.a;*.b|B|*.*");
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[0].Masks, (std::vector<std::string>{"*.a", "*.b"}));
  EXPECT_EQ(parsed[1].Masks, (std::vector<std::string>{"*"}));
}

TEST(FileDialogService, CancelledWithoutAServiceOrAChoice) {
  std::vector<std::string> chosen{"stale"};
  EXPECT_FALSE(RunFileDialog({}, chosen));
  EXPECT_TRUE(chosen.empty());
  TScriptedFileDialogs dialogs;
  TFileDialogServiceScope scope(&dialogs);
  dialogs.OnRun = [](const TFileDialogRequest&, std::vector<std::string>& c) {
    c = {"half"};
    return false;  // cancelled after touching the list: nothing comes back
  };
  chosen = {"stale"};
  EXPECT_FALSE(RunFileDialog({TFileDialogKind::Save, "t", "", ""}, chosen));
  EXPECT_TRUE(chosen.empty());
  dialogs.OnRun = [](const TFileDialogRequest&, std::vector<std::string>&) { return true; };  // accepted, nothing chosen
  EXPECT_FALSE(RunFileDialog({}, chosen));
  ASSERT_EQ(dialogs.Log.size(), 2u);
  EXPECT_EQ(dialogs.Log[0].Title, "t");
}

}  // namespace
}  // namespace fw
