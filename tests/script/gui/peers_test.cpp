// Script-built windows on Qt's offscreen platform: real input made with QTest reaches the script's
// handlers (clicks, typing, focus, drops), handlers change what is shown, and every class of the
// first GUI families draws itself. Waits are bounded (a condition with a time limit), so a broken
// peer fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "platform/fw/application.h"
#include "platform/fw/control.h"
#include "platform/fw/form.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

using ScriptPeersTest = guitest::QtScriptTest;

const char kForm[] = R"(
  var f = new VCLForm(true);
  f.Name = "Main";
  f.setBounds(10, 10, 320, 240);
  var e = new VCLEdit(f);  e.Name = "Edit1";  e.setBounds(8, 8, 200, 24);
  var b = new VCLButton(f); b.Name = "Button1"; b.setBounds(8, 40, 90, 28); b.Caption = "Add";
  var l = new VCLLabel(f);  l.Name = "Label1";  l.setBounds(8, 80, 200, 20); l.Caption = "none";
  var m = new VCLMemo(f);   m.Name = "Memo1";   m.setBounds(8, 110, 200, 100);
  b.onClick = function(sender) { l.Caption = "got " + e.Text; println("click " + (sender === b)); };
  e.onKeyPress = function(sender, key) { if (key.int == 120) key.int = 0; };
  e.onChange = function(sender) { println("change " + e.Text + " " + e.SelStart); };
  e.onEnter = function(sender) { println("enter"); };
  m.acceptDrop = true;
  m.onDragDropFiles = function(sender, x, y, files) { println("files " + x + "," + y + " " + files.count + " " + files[0]); };
  m.onDragDropText = function(sender, x, y, text) { println("text " + x + "," + y + " " + text); };
  f.show();
)";

TEST_F(ScriptPeersTest, ClicksAndTypingReachHandlers) {
  Run(kForm);
  QWidget* edit = Child("Main", "Edit1");
  QWidget* button = Child("Main", "Button1");
  ASSERT_TRUE(edit && button);
  ASSERT_TRUE(Exposed(button));
  edit->setFocus();
  settle();
  QTest::keyClicks(edit, "axb");
  for (const char* ch : {"日", "本"}) {
    // Characters without a key of their own, as an input method commits them.
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(ch));
    QCoreApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString::fromUtf8(ch));
    QCoreApplication::sendEvent(edit, &release);
  }
  settle();
  EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), QString::fromUtf8("ab日本"));
  QTest::mouseClick(button, Qt::LeftButton);
  settle();
  fw::TControl* label = FormNamed("Main")->FindChildControl("Label1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), "got ab日本");
  EXPECT_NE(out.find("enter"), std::string::npos) << out;
  // Positions count characters: after typing the four characters the caret is at 4.
  EXPECT_NE(out.find("change ab日本 4\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find("click true"), std::string::npos) << out;
  EXPECT_EQ(err, "");
}

TEST_F(ScriptPeersTest, DropsReachHandlersInClientCoordinates) {
  Run(kForm);
  QWidget* memo = Child("Main", "Memo1");
  ASSERT_NE(memo, nullptr);
  ASSERT_TRUE(Exposed(memo));
  ASSERT_TRUE(memo->acceptDrops());
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/dropped one.txt"), QUrl::fromLocalFile("/tmp/two.txt")});
  QDragEnterEvent enter(QPoint(5, 6), Qt::CopyAction | Qt::LinkAction, &files, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(memo, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDropEvent drop(QPointF(15, 25), Qt::CopyAction | Qt::LinkAction, &files, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(memo, &drop);
  QMimeData text;
  text.setText(QString::fromUtf8("テキスト"));
  QDragEnterEvent enterText(QPoint(1, 2), Qt::CopyAction | Qt::LinkAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(memo, &enterText);
  EXPECT_EQ(enterText.dropAction(), Qt::LinkAction);
  QDropEvent dropText(QPointF(3, 4), Qt::CopyAction | Qt::LinkAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(memo, &dropText);
  EXPECT_EQ(out, "files 15,25 2 /tmp/dropped one.txt\r\ntext 3,4 テキスト\r\n");
}

TEST_F(ScriptPeersTest, ClosingTheMainWindowEndsTheScriptsLoop) {
  Run(kForm);
  fw::TForm* form = FormNamed("Main");
  ASSERT_NE(form, nullptr);
  QWidget* window = WidgetOf(form);
  ASSERT_TRUE(window && Exposed(window));
  component->Engine().Global()->StartEventLoop();
  window->close();
  settle();
  EXPECT_TRUE(component->Engine().Global()->Terminated());
  EXPECT_FALSE(form->Visible());
}

TEST_F(ScriptPeersTest, EveryClassOfTheFormDraws) {
  Run(R"(
    var f = new VCLForm();
    f.Name = "Shot";
    f.Color = 0xFFFFFF;
    f.setBounds(0, 0, 300, 220);
    var e = new VCLEdit(f);  e.Name = "E"; e.setBounds(10, 10, 120, 24); e.Text = "MMMM";
    var b = new VCLButton(f); b.Name = "B"; b.setBounds(10, 44, 90, 28); b.Caption = "MMMM";
    var l = new VCLLabel(f);  l.Name = "L"; l.setBounds(10, 80, 120, 20); l.Caption = "MMMMMMMM";
    var m = new VCLMemo(f);   m.Name = "M"; m.setBounds(150, 10, 120, 90); m.text = "MMMM\nMMMM";
    var c = new VCLCheckBox(f); c.Name = "C"; c.setBounds(10, 110, 120, 24); c.Caption = "MMMM"; c.Checked = true;
    var r = new VCLRadioButton(f); r.Name = "R"; r.setBounds(10, 140, 120, 24); r.Caption = "MMMM";
    f.show();
  )");
  fw::TForm* form = FormNamed("Shot");
  ASSERT_NE(form, nullptr);
  QWidget* window = WidgetOf(form);
  ASSERT_TRUE(window && Exposed(window));
  settle();
  QImage img = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(img.isNull());
  const QRgb background = qRgb(255, 255, 255);
  for (const char* name : {"E", "B", "L", "M", "C", "R"}) {
    fw::TControl* c = form->FindChildControl(name);
    ASSERT_NE(c, nullptr) << name;
    fw::TRect r = c->BoundsRect();
    int drawn = 0;
    for (int y = r.Top; y < r.Bottom && y < img.height(); ++y)
      for (int x = r.Left; x < r.Right && x < img.width(); ++x) drawn += img.pixel(x, y) != background;
    // Text, frames or faces: a good part of the box is not the form's white.
    EXPECT_GT(drawn, r.Width() * r.Height() / 20) << name;
  }
  // The form's own face outside every control stays white.
  EXPECT_EQ(img.pixel(img.width() - 3, img.height() - 3), background);
}

TEST_F(ScriptPeersTest, TabClicksAskTheScriptBeforeTheSelectionMoves) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Tabs";
    f.setBounds(10, 10, 300, 200);
    var t = new VCLTabControl(f);
    t.Name = "Tab1"; t.setBounds(0, 0, 280, 160); t.TabWidth = 60; t.TabHeight = 20;
    t.tabs.add("One"); t.tabs.add("Two"); t.tabs.add("Three");
    t.TabIndex = 0;
    var calls = 0;
    t.onChanging = function(sender, allow) { calls++; println("changing " + t.TabIndex); allow.bool = calls > 1; };
    t.onChange = function(sender) { println("change " + t.TabIndex); };
    f.show();
  )");
  QWidget* tabs = Child("Tabs", "Tab1");
  ASSERT_NE(tabs, nullptr);
  ASSERT_TRUE(Exposed(tabs));
  auto* model = dynamic_cast<fw::TWinControl*>(FormNamed("Tabs")->FindChildControl("Tab1"));
  ASSERT_NE(model, nullptr);
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
  settle();
  EXPECT_EQ(out, "changing 0\r\n");
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
  settle();
  EXPECT_EQ(out, "changing 0\r\nchanging 0\r\nchange 1\r\n");
  // The selected tab is drawn in the base colour, the others in the button colour.
  QImage shot = tabs->grab().toImage();
  EXPECT_NE(shot.pixelColor(80, 4), shot.pixelColor(20, 4));
  EXPECT_EQ(err, "");
}

}  // namespace
