// The Dialog and Clipboard objects over the real Qt services on Qt's offscreen platform: a real
// file dialog, answered by a responder that finds it once it is up, and the real clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QMimeData>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "platform/fw/clipboard.h"
#include "platform/fw/file_dialogs.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/file_dialogs.h"
#include "tests/script/host/script_runner.h"
#include "tests/support/temp_dir.h"

namespace hosttest {
namespace {

class QtSystemObjects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "host_system_qt_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    fw::SetClipboardService(std::make_shared<qtfw::TQtClipboard>());
    fw::SetFileDialogService(&dialogs);
  }
  void TearDown() override {
    fw::SetFileDialogService(nullptr);
    fw::SetClipboardService(nullptr);
  }

  // Answers the next modal file dialog with `act` as soon as it is shown.
  void Respond(std::function<void(QFileDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    });
    timer->start();
  }

  qtfw::TQtFileDialogs dialogs;
  support_test::TempDir dir;
};

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

TEST_F(QtSystemObjects, OpenFileShowsTheFiltersAndGivesTheChosenFile) {
  std::ofstream(dir.file("notes.txt")) << "n";
  std::ofstream(dir.file("other.log")) << "o";
  QStringList filters;
  QString title;
  Respond([&](QFileDialog& d) {
    filters = d.nameFilters();
    title = d.windowTitle();
    d.selectFile(QString::fromStdString(dir.file("notes.txt")));
    static_cast<QDialog&>(d).accept();
  });
  ScriptOutcome o = RunScriptText("var d = new Dialog('Text|*.txt', ' All|*.* ');\n"
                                  "println(d.openFile('Pick a note', " + quoted(dir.file("other.log")) + "));");
  EXPECT_EQ(o.out, dir.file("notes.txt") + "\n") << o.err;
  EXPECT_EQ(filters, (QStringList{"Text (*.txt)", "All (*)"}));
  EXPECT_EQ(title, "Pick a note");
}

TEST_F(QtSystemObjects, CancelledDialogsGiveNullOrAnEmptyList) {
  Respond([](QFileDialog& d) { d.reject(); });
  ScriptOutcome o = RunScriptText("println(Dialog.openFile());");
  EXPECT_EQ(o.out, "null\n") << o.err;
  Respond([](QFileDialog& d) { d.reject(); });
  o = RunScriptText("println(Dialog.openFiles().length);");
  EXPECT_EQ(o.out, "0\n") << o.err;
}

TEST_F(QtSystemObjects, OpenFolderStartsWhereAskedAndGivesTheFolder) {
  std::filesystem::create_directories(dir.file("sub"));
  QString start;
  bool dirsOnly = false;
  Respond([&](QFileDialog& d) {
    start = d.directory().absolutePath();
    dirsOnly = d.testOption(QFileDialog::ShowDirsOnly);
    d.selectFile(QString::fromStdString(dir.file("sub")));
    static_cast<QDialog&>(d).accept();
  });
  ScriptOutcome o = RunScriptText("println(Dialog.openFolder('Where', " + quoted(dir.path()) + "));");
  EXPECT_EQ(o.out, dir.file("sub") + "\n") << o.err;
  EXPECT_EQ(start.toStdString(), dir.path());
  EXPECT_TRUE(dirsOnly);
}

TEST_F(QtSystemObjects, ClipboardTextGoesThroughTheSystemClipboard) {
  ScriptOutcome o = RunScriptText("Clipboard.asText = 'コピー text'; println(Clipboard.hasText());");
  EXPECT_EQ(o.out, "true\n") << o.err;
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "コピー text");
  QGuiApplication::clipboard()->setText(QString::fromUtf8("from elsewhere"));
  o = RunScriptText("println(Clipboard.asText + '|' + Clipboard);");
  EXPECT_EQ(o.out, "from elsewhere|from elsewhere\n");
  // A picture on the clipboard: no text.
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(picture);
  o = RunScriptText("println(Clipboard.hasText() + '[' + Clipboard.asText + ']');");
  EXPECT_EQ(o.out, "false[]\n");
}

}  // namespace
}  // namespace hosttest
