// The peers of list boxes, check list boxes and radio buttons, and the system clipboard, on the
// offscreen platform: the user's clicks, keys and wheel turns reach the models, which decide.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "platform/fw/application.h"
#include "platform/fw/clipboard.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/fw/list_box.h"
#include "platform/fw/radio_button.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"

namespace {

using namespace fw;

class ChoicePeersTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qtfw_choice_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
  }
  void SetUp() override {
    form = new TForm(Application());
    form->SetClientSize(260, 200);
    form->AfterConstruction();
    events = new TApplicationEvents(form);
    events->OnException = TExceptionEvent::bind<&ChoicePeersTest::Failed>(this);
  }
  void TearDown() override {
    DestroyApplication();
    settle();
  }
  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  static QWidget* widgetOf(TControl* c) {
    auto* peer = dynamic_cast<qtfw::TQtPeer*>(c->Peer());
    return peer ? peer->Widget() : nullptr;
  }
  // A list of `n` items, 16 pixels a row, five rows high.
  TListBox* makeList(int n, TListBox* list = nullptr) {
    if (!list) list = new TListBox(form);
    list->SetParent(form);
    list->SetBorderStyle(TBorderStyle::bsNone);
    list->SetBounds(10, 10, 120, 80);
    list->SetItemHeight(16);
    for (int i = 0; i < n; ++i) list->Items()->Add("item " + std::to_string(i));
    list->OnClick = TNotifyEvent::bind<&ChoicePeersTest::Click>(this);
    return list;
  }
  static QWidget* viewportOf(TControl* c) { return static_cast<QAbstractScrollArea*>(widgetOf(c))->viewport(); }
  static QPoint row(int i, int x = 60) { return QPoint(x, i * 16 + 8); }

 public:
  void Failed(TObject*, const rt::Exception& e) { errors.push_back(e.message()); }
  void Click(TObject*) { ++clicks; }
  void DoubleClick(TObject*) { ++doubles; }
  void ClickCheck(TObject*) { ++checks; }
  void Throw(TObject*) { throw rt::Exception("list handler failed"); }
  void Swallow(TObject*, uint16_t& key, TShiftState) {
    if (key == VK_DOWN) key = 0;
  }

 protected:

  static qtfw::TQtHost* host;
  TForm* form = nullptr;
  TApplicationEvents* events = nullptr;
  std::vector<std::string> errors;
  int clicks = 0, checks = 0, doubles = 0;
};
qtfw::TQtHost* ChoicePeersTest::host = nullptr;

TEST_F(ChoicePeersTest, ClicksAndKeysMoveTheSelection) {
  TListBox* list = makeList(20);
  form->Show();
  settle();
  QWidget* vp = viewportOf(list);
  ASSERT_NE(vp, nullptr);
  QTest::mouseClick(vp, Qt::LeftButton, {}, row(2));
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  QTest::mouseClick(vp, Qt::LeftButton, {}, row(4));
  EXPECT_EQ(list->ItemIndex(), 4);
  list->OnDblClick = TNotifyEvent::bind<&ChoicePeersTest::DoubleClick>(this);
  QTest::mouseDClick(vp, Qt::LeftButton, {}, row(4));
  EXPECT_EQ(doubles, 1);
  const int afterDouble = clicks;

  widgetOf(list)->setFocus();
  QTest::keyClick(widgetOf(list), Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 5);
  EXPECT_EQ(list->TopIndex(), 1);  // scrolled to keep it in view
  QTest::keyClick(widgetOf(list), Qt::Key_End);
  EXPECT_EQ(list->ItemIndex(), 19);
  EXPECT_EQ(list->TopIndex(), 15);
  QTest::keyClick(widgetOf(list), Qt::Key_Home);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(clicks, afterDouble + 3);

  // A key handler that zeroes the key keeps it from the list.
  list->OnKeyDown = TKeyEvent::bind<&ChoicePeersTest::Swallow>(this);
  QTest::keyClick(widgetOf(list), Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 0);

  // The selection set from code shows without an event.
  list->SetItemIndex(3);
  EXPECT_EQ(clicks, afterDouble + 3);
}

TEST_F(ChoicePeersTest, TheWheelAndTheScrollBarMoveTheTopRow) {
  TListBox* list = makeList(20);
  form->Show();
  settle();
  QWidget* vp = viewportOf(list);
  QWheelEvent down(QPointF(20, 20), vp->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(vp, &down);
  EXPECT_EQ(list->TopIndex(), 3);
  QTest::mouseClick(vp, Qt::LeftButton, {}, row(0));  // rows count from the top one
  EXPECT_EQ(list->ItemIndex(), 3);
  auto* area = static_cast<QAbstractScrollArea*>(widgetOf(list));
  area->verticalScrollBar()->setValue(10);
  EXPECT_EQ(list->TopIndex(), 10);
  list->SetTopIndex(2);
  EXPECT_EQ(area->verticalScrollBar()->value(), 2);
}

TEST_F(ChoicePeersTest, CheckBoxesOfACheckListToggle) {
  auto* list = new TCheckListBox(form);
  makeList(4, list);
  list->OnClickCheck = TNotifyEvent::bind<&ChoicePeersTest::ClickCheck>(this);
  list->SetItemEnabled(3, false);
  form->Show();
  settle();
  QWidget* vp = viewportOf(list);
  QTest::mouseClick(vp, Qt::LeftButton, {}, row(1, 6));  // in the box column
  EXPECT_TRUE(list->Checked(1));
  EXPECT_EQ(list->ItemIndex(), -1);  // a click on the box does not select
  EXPECT_EQ(checks, 1);
  QTest::mouseClick(vp, Qt::LeftButton, {}, row(2));  // on the text: selects
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_FALSE(list->Checked(2));
  widgetOf(list)->setFocus();
  QTest::keyClick(widgetOf(list), Qt::Key_Space);
  EXPECT_TRUE(list->Checked(2));
  EXPECT_EQ(checks, 2);
  QTest::mouseClick(vp, Qt::LeftButton, {}, row(3, 6));  // disabled
  EXPECT_FALSE(list->Checked(3));
  EXPECT_EQ(checks, 2);
}

TEST_F(ChoicePeersTest, FailuresOfListHandlersGoToTheApplication) {
  TListBox* list = makeList(3);
  list->OnClick = TNotifyEvent::bind<&ChoicePeersTest::Throw>(this);
  form->Show();
  settle();
  QTest::mouseClick(viewportOf(list), Qt::LeftButton, {}, row(1));
  EXPECT_EQ(errors, std::vector<std::string>{"list handler failed"});
  EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(ChoicePeersTest, RadioButtonsFollowTheirModels) {
  TRadioButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = new TRadioButton(form);
    b[i]->SetParent(form);
    b[i]->SetBounds(140, 10 + 24 * i, 100, 20);
    b[i]->SetCaption("choice " + std::to_string(i));
    b[i]->OnClick = TNotifyEvent::bind<&ChoicePeersTest::Click>(this);
  }
  b[0]->SetChecked(true);
  form->Show();
  settle();
  auto* q1 = dynamic_cast<QRadioButton*>(widgetOf(b[1]));
  auto* q0 = dynamic_cast<QRadioButton*>(widgetOf(b[0]));
  ASSERT_TRUE(q0 && q1);
  EXPECT_TRUE(q0->isChecked());
  EXPECT_EQ(q1->text(), "choice 1");
  QTest::mouseClick(q1, Qt::LeftButton, {}, QPoint(8, q1->height() / 2));
  EXPECT_TRUE(b[1]->Checked());
  EXPECT_FALSE(b[0]->Checked());
  EXPECT_TRUE(q1->isChecked());
  EXPECT_FALSE(q0->isChecked());
  EXPECT_EQ(clicks, 2);
  QTest::mouseClick(q1, Qt::LeftButton, {}, QPoint(8, q1->height() / 2));  // checked already
  EXPECT_TRUE(q1->isChecked());
  EXPECT_EQ(clicks, 2);
  b[2]->SetChecked(true);
  EXPECT_FALSE(q1->isChecked());
}

TEST_F(ChoicePeersTest, TheClipboardIsTheSystemOne) {
  Clipboard()->SetAsText("日本語 text");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("日本語 text"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("from elsewhere ✓"));
  EXPECT_EQ(Clipboard()->AsText(), "from elsewhere ✓");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(picture);
  EXPECT_EQ(Clipboard()->AsText(), "");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

}  // namespace
