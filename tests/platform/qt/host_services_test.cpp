// What the Qt host installs besides the peers: the file dialogs, the cursor position, and the
// question asked before a delete that is not silent.
#include "platform/qt/host.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <filesystem>
#include <fstream>

#include "platform/fw/cursor.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/file_dialogs.h"
#include "support/file_system.h"
#include "tests/support/temp_dir.h"

namespace qtfw {
namespace {

TEST(QtHostServices, FileDialogsCursorAndDeleteQuestion) {
  static int argc = 1;
  static char name[] = "qtfw_host_tests";
  static char* argv[] = {name, nullptr};
  TQtHost host(argc, argv);
  EXPECT_NE(fw::FileDialogService(), nullptr);
  QPoint p = QCursor::pos();
  EXPECT_EQ(fw::GetCursorPos().X, p.x());
  EXPECT_EQ(fw::GetCursorPos().Y, p.y());

  support_test::TempDir dir;
  std::string a = dir.write("a.txt", "a"), b = dir.write("b.txt", "b");
  fw::TScriptedDialogs dialogs;
  fw::TDialogServiceScope scope(&dialogs);
  int answer = fw::mrNo;
  dialogs.OnMessage = [&](const fw::TMessageRequest&) { return answer; };
  EXPECT_FALSE(support::ShellDelete(0, {a, b}, false, false));
  EXPECT_TRUE(std::filesystem::exists(a));
  answer = fw::mrYes;
  EXPECT_TRUE(support::ShellDelete(0, {a}, false, false));
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_TRUE(support::ShellDelete(0, {b}, false, true));  // silent: nobody is asked
  ASSERT_EQ(dialogs.Log.size(), 2u);
  EXPECT_EQ(dialogs.Log[0].text, "Delete 2 items for good?");
  EXPECT_EQ(dialogs.Log[1].text, "Delete \"" + a + "\" for good?");
}

}  // namespace
}  // namespace qtfw
