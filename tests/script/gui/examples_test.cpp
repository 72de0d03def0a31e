// The example scripts, run as brsw runs them (Qt's event loop, offscreen) and used as a person
// would: buttons clicked, text typed, files opened and saved, the main window closed. Each run
// has a watchdog: a script whose loop does not end in time is stopped and the test fails.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>
#include <algorithm>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/combo_box.h"
#include "platform/fw/common_dialogs.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/label.h"
#include "platform/fw/list_box.h"
#include "platform/fw/list_view.h"
#include "platform/fw/memo.h"
#include "platform/fw/menus.h"
#include "platform/fw/status_bar.h"
#include "platform/fw/tree_view.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "script/core/value_list.h"
#include "tests/script/gui/qt_script_fixture.h"
#include "tests/support/temp_dir.h"
#include "tools/brsw/window_host.h"

namespace {

namespace fsys = std::filesystem;
constexpr int kWatchdogPasses = 1000;  // about ten seconds of the event loop

class ExamplesTest : public guitest::QtHostTest {
 protected:
  static void SetUpTestSuite() {
    StartHost();
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
  static void Click(fw::TControl* control) {
    QWidget* w = WidgetOf(control);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
    QApplication::processEvents();
  }

  std::string err;
};

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
  support_test::TempDir tmp;
  fsys::path dir = tmp.path();
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

// The folder browser on a scratch folder: the tree shows the folders (each read when it opens),
// clicking a folder lists its files with sizes, the status bar counts them, and the list's
// column headers can be dragged into another order.
TEST_F(ExamplesTest, FolderBrowserShowsFoldersFilesAndCounts) {
  fsys::path dir = fsys::temp_directory_path() / ("gui_folders_" + std::to_string(::getpid()));
  fsys::remove_all(dir);
  fsys::create_directories(dir / "alpha" / "deep");
  fsys::create_directories(dir / "beta");
  std::ofstream(dir / "a.txt", std::ios::binary) << "hello";
  std::ofstream(dir / "b.bin", std::ios::binary) << std::string(1000, 'x');
  std::ofstream(dir / "alpha" / "c.txt", std::ios::binary) << "abc";
  std::string top, firstList, firstStatus, secondList, secondStatus, afterExpand, path, columns;
  bool betaButton = true;
  int code = RunExample("folder_browser.brs", {dir.string()}, [&] {
    fw::TCustomForm* form = FormCaptioned("Folders");
    ASSERT_NE(form, nullptr);
    fw::TCustomTreeView* tree = nullptr;
    fw::TCustomListView* list = nullptr;
    fw::TStatusBar* status = nullptr;
    for (int i = 0; i < form->ControlCount(); ++i) {
      if (!tree) tree = dynamic_cast<fw::TCustomTreeView*>(form->Controls(i));
      if (!list) list = dynamic_cast<fw::TCustomListView*>(form->Controls(i));
      if (!status) status = dynamic_cast<fw::TStatusBar*>(form->Controls(i));
    }
    ASSERT_TRUE(tree && list && status);
    auto listed = [&] {
      std::string s;
      for (int i = 0; i < list->Items()->Count(); ++i) {
        fw::TListItem* item = list->Items()->Item(i);
        s += item->Caption() + ":" + item->SubItems()->Get(0) + " ";
        if (item->SubItems()->Get(1).size() != 16) s += "(bad date) ";
      }
      return s;
    };
    auto shape = [&] {
      std::string s;
      for (int i = 0; i < tree->Items()->Count(); ++i) {
        fw::TTreeNode* n = tree->Items()->Item(i);
        s += std::to_string(n->Level()) + (i == 0 ? std::string("top") : n->Text()) + " ";
      }
      return s;
    };
    top = shape();
    firstList = listed();
    firstStatus = status->Panels()->Items(0)->Text();
    path = status->Panels()->Items(1)->Text();
    fw::TTreeNode* alpha = tree->Items()->Item(1);
    fw::TTreeNode* beta = tree->Items()->Item(2);
    betaButton = beta->HasChildren();
    auto* area = dynamic_cast<QAbstractScrollArea*>(WidgetOf(tree));
    ASSERT_NE(area, nullptr);
    QApplication::processEvents();
    const fw::TRect label = alpha->DisplayRect(true);
    QTest::mouseClick(area->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(label.Left + 3, (label.Top + label.Bottom) / 2));
    QApplication::processEvents();
    secondList = listed();
    secondStatus = status->Panels()->Items(0)->Text();
    // The expand button sits half an indent left of the label.
    QTest::mouseClick(area->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(label.Left - fw::TCustomTreeView::TextMargin - tree->Indent() / 2,
                             (label.Top + label.Bottom) / 2));
    QApplication::processEvents();
    afterExpand = shape();
    // The Name header dragged onto Size: the columns change places.
    auto* listArea = dynamic_cast<QAbstractScrollArea*>(WidgetOf(list));
    ASSERT_NE(listArea, nullptr);
    QTest::mousePress(listArea->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::mouseMove(listArea->viewport(), QPoint(120, 10));
    QTest::mouseMove(listArea->viewport(), QPoint(230, 10));
    QTest::mouseRelease(listArea->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(230, 10));
    QApplication::processEvents();
    for (int i = 0; i < list->Columns()->Count(); ++i) columns += list->Columns()->Items(i)->Caption() + " ";
    form->Close();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(top, "0top 1alpha 1beta ");
  EXPECT_FALSE(betaButton);
  EXPECT_EQ(firstList, "a.txt:5 b.bin:1000 ");
  EXPECT_EQ(firstStatus, "2 files, 1005 bytes");
  EXPECT_EQ(path, dir.string() + "/");
  EXPECT_EQ(secondList, "c.txt:3 ");
  EXPECT_EQ(secondStatus, "1 file, 3 bytes");
  EXPECT_EQ(afterExpand, "0top 1alpha 2deep 1beta ");
  EXPECT_EQ(columns, "Size Name Modified ");
  fsys::remove_all(dir);
}

TEST_F(ExamplesTest, ReadingListAddsSortsPreviewsAndRemovesFiles) {
  fsys::path dir = fsys::temp_directory_path() / ("gui_reading_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  std::ofstream(dir / "b.txt", std::ios::binary) << "one\ntwo\nthree\n";
  std::ofstream(dir / "a.txt", std::ios::binary) << "a single line, but the longest file of the three\n";
  std::ofstream(dir / "c.md", std::ios::binary) << "# c\n";
  fw::TScriptedDialogs dialogs;
  int asked = 0;
  dialogs.OnFileDialog = [&](fw::TOpenDialog& d) {
    // The first time the user picks two files, the second time one of them again and a third.
    ++asked;
    EXPECT_EQ(d.InitialDir(), dir.string());
    EXPECT_TRUE(d.Options().has(fw::ofAllowMultiSelect));
    if (asked == 1) return d.Choose({(dir / "b.txt").string(), (dir / "a.txt").string()});
    return d.Choose({(dir / "a.txt").string(), (dir / "c.md").string()});
  };
  fw::TDialogServiceScope scope(&dialogs);
  std::string start, added, byName, bySize, preview, removed, cleared, menu;
  bool removeAtStart = true, clearAtStart = true, removeWithSelection = false, clearWhenEmpty = true;
  std::vector<int> captionShades;
  int code = RunExample("file_list.brs", {dir.string()}, [&] {
    fw::TCustomForm* form = FormCaptioned("Reading list");
    ASSERT_NE(form, nullptr);
    auto* add = ControlOf<fw::TButton>(form, 0);
    auto* remove = ControlOf<fw::TButton>(form, 1);
    auto* clear = ControlOf<fw::TButton>(form, 2);
    auto* sortBy = ControlOf<fw::TComboBox>(form, 3);
    auto* files = ControlOf<fw::TListBox>(form, 4);
    auto* lines = ControlOf<fw::TListBox>(form, 5);
    auto* status = ControlOf<fw::TLabel>(form, 6);
    ASSERT_TRUE(add && remove && clear && sortBy && files && lines && status);
    // The List menu holds one item per command, made in a loop through one variable.
    if (fw::TMainMenu* bar = form->Menu(); bar && bar->Items()->Count() > 0) {
      fw::TMenuItem* list = bar->Items()->Items(0);
      menu = list->Caption() + ":";
      for (int i = 0; i < list->Count(); ++i) menu += (i ? "," : "") + list->Items(i)->Caption();
    }
    auto names = [&] {
      std::string text;
      for (int i = 0; i < files->Items()->Count(); ++i)
        text += (i ? "," : "") + fsys::path(files->Items()->Get(i)).filename().string();
      return text;
    };
    fw::Application()->Idle();  // the actions update themselves
    start = status->Caption();
    removeAtStart = remove->Enabled();
    clearAtStart = clear->Enabled();
    // What the user sees of that: the darkest pixel of each caption (the middle of the face).
    auto darkest = [](fw::TControl* c) {
      QImage img = WidgetOf(c)->grab().toImage();
      int least = 255;
      for (int y = img.height() / 3; y < img.height() * 2 / 3; ++y)
        for (int x = img.width() / 4; x < img.width() * 3 / 4; ++x) least = std::min(least, qGray(img.pixel(x, y)));
      return least;
    };
    captionShades = {darkest(add), darkest(remove), darkest(clear)};
    Click(add);
    added = status->Caption() + "|" + names();
    Click(add);  // a.txt is in the list already
    // The sort order picked with the keyboard, as a person would.
    QWidget* combo = WidgetOf(sortBy);
    ASSERT_NE(combo, nullptr);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QApplication::processEvents();
    byName = status->Caption() + "|" + names();
    QTest::keyClick(combo, Qt::Key_Down);
    QApplication::processEvents();
    bySize = names();
    // A file clicked shows its first lines; Remove can run now.
    auto* area = dynamic_cast<QAbstractScrollArea*>(WidgetOf(files));
    ASSERT_NE(area, nullptr);
    QWidget* list = area->viewport();
    const fw::TRect second = files->ItemRect(1);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(second.Left + 5, second.Top + 3));
    QApplication::processEvents();
    preview = status->Caption() + "|" + lines->Items()->Text();
    fw::Application()->Idle();
    removeWithSelection = remove->Enabled();
    Click(remove);
    removed = status->Caption() + "|" + names();
    Click(clear);
    fw::Application()->Idle();
    cleared = status->Caption() + "|" + names();
    clearWhenEmpty = clear->Enabled();
    form->Close();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(start, "0 file(s)");
  EXPECT_EQ(menu, "&List:&Add files...,&Remove,&Clear");
  EXPECT_FALSE(removeAtStart);
  EXPECT_FALSE(clearAtStart);
  // Disabled buttons grey their captions: no dark text on Remove and Clear, as there is on Add.
  ASSERT_EQ(captionShades.size(), 3u);
  EXPECT_LT(captionShades[0], 60);
  EXPECT_GT(captionShades[1], 90);
  EXPECT_GT(captionShades[2], 90);
  EXPECT_EQ(added, "Added 2, 2 file(s) in the list|b.txt,a.txt");
  EXPECT_EQ(byName, "3 file(s)|a.txt,b.txt,c.md");
  EXPECT_EQ(bySize, "a.txt,b.txt,c.md");
  EXPECT_EQ(preview, "b.txt: 3 line(s)|one\r\ntwo\r\nthree\r\n");
  EXPECT_TRUE(removeWithSelection);
  EXPECT_EQ(removed, "2 file(s)|a.txt,c.md");
  EXPECT_EQ(cleared, "0 file(s)|");
  EXPECT_FALSE(clearWhenEmpty);
  ASSERT_EQ(dialogs.Log.size(), 2u);
  EXPECT_EQ(dialogs.Log[0].kind, "open");
  EXPECT_EQ(dialogs.Log[0].caption, "Add text files");
  fsys::remove_all(dir);
}

}  // namespace
