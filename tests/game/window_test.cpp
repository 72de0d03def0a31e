// The game's window on Qt's offscreen platform: screenshots of the title screen and of a busy
// frame, checked for what they must show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "game/main_form.h"
#include "platform/audio/output.h"
#include "platform/fw/keys.h"
#include "platform/qt/host.h"
#include "platform/rt/random.h"

namespace {

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "game_window_tests";
    static char* argv[] = {name, nullptr};
    host = new qtfw::TQtHost(argc, argv);
    audio::Output::instance().startPulled();
  }

  void SetUp() override {
    game::TForm1::SaveFileName() = testing::TempDir() + "mirufen_window_sav.dat";
    std::remove(game::TForm1::SaveFileName().c_str());
    form = new game::TForm1(nullptr);
    form->AfterConstruction();
    form->Show();
    settle();
  }
  void TearDown() override {
    fw::ReleaseAllKeys();
    form->Free();
    settle();
  }

  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  QImage screenshot() {
    settle();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->width() == 600 && w->height() == 450) return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return {};
  }
  // Pixels in the rectangle brighter than `level` in every colour.
  static int bright(const QImage& img, QRect r, int level = 180) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        QRgb p = img.pixel(x, y);
        n += qRed(p) > level && qGreen(p) > level && qBlue(p) > level;
      }
    return n;
  }
  static int coloured(const QImage& img, QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) != 0;
    return n;
  }

  static qtfw::TQtHost* host;
  game::TForm1* form = nullptr;
};
qtfw::TQtHost* WindowTest::host = nullptr;

TEST_F(WindowTest, TitleScreen) {
  for (int i = 0; i < 30; ++i) form->Timer1Timer(form->Timer1);
  QImage shot = screenshot();
  ASSERT_EQ(shot.size(), QSize(600, 450));
  shot.save(QString::fromStdString(testing::TempDir() + "mirufen_title.png"));
  EXPECT_GT(bright(shot, {140, 70, 320, 70}, 150), 300);  // the game's name
  EXPECT_GT(bright(shot, {245, 232, 110, 45}), 100);      // the menu's two entries
  EXPECT_GT(coloured(shot, {150, 372, 300, 16}), 50);     // best score and plays
  EXPECT_EQ(coloured(shot, {0, 0, 100, 40}), 0);          // no game drawn yet
}

TEST_F(WindowTest, BusyFrame) {
  fw::SetKeyDown(game::VK_RETURN, true);
  form->Timer1Timer(form->Timer1);  // Enter on the title starts the game
  fw::SetKeyDown(game::VK_RETURN, false);
  game::Game& g = form->TheGame();
  ASSERT_EQ(g.Running, 1);
  rt::RandSeed = 31337;
  g.Life = 60;
  g.Frame = 14500;
  g.Shield = 300;
  for (int i = 0; i < 40; ++i) g.SpawnEnemy();
  fw::SetKeyDown(game::VK_Z, true);
  for (int i = 0; i < 240; ++i) {
    fw::SetKeyDown(game::VK_LEFT, i % 80 < 40);
    fw::SetKeyDown(game::VK_RIGHT, i % 80 >= 40);
    g.Step();
  }
  QImage shot = screenshot();
  ASSERT_EQ(shot.size(), QSize(600, 450));
  shot.save(QString::fromStdString(testing::TempDir() + "mirufen_busy.png"));
  EXPECT_GT(bright(shot, {0, 0, 110, 14}), 40);   // "SCORE :  ..." in white
  EXPECT_GT(bright(shot, {0, 15, 40, 14}), 15);   // "LIFE : "
  EXPECT_GT(coloured(shot, {43, 17, 300, 8}), 500);  // the life squares
  EXPECT_GT(coloured(shot, {0, 40, 600, 410}), 3000);  // enemies, shots, bullets, particles
  EXPECT_FALSE(form->Panel1->Visible());
}

// The game runs from the application's message loop: once started, every round of the loop that
// finds nothing to do calls the idle handler, which steps a frame when the clock says so and asks
// to be called again at once. Back on the title the loop waits for events again.
TEST_F(WindowTest, TheMessageLoopRunsTheGameFromItsIdleHandler) {
  game::Game& g = form->TheGame();
  uint32_t now = 0;
  g.Clock = [&] { return now += 7; };  // a frame every other call
  g.SleepMs = [](uint32_t) {};
  fw::SetKeyDown(game::VK_RETURN, true);
  form->Timer1Timer(form->Timer1);
  fw::SetKeyDown(game::VK_RETURN, false);
  ASSERT_EQ(g.Running, 1);
  for (int i = 0; i < 200 && g.Frame < 40; ++i) fw::Application()->HandleMessage();
  EXPECT_GE(g.Frame, 40);
  EXPECT_FALSE(fw::Application()->Idle());  // a running game wants the next call at once
  g.Life = 0;
  for (int i = 0; i < 200 && g.Running; ++i) {
    fw::SetKeyDown(game::VK_RETURN, i % 2 == 1);
    fw::Application()->HandleMessage();
  }
  EXPECT_EQ(g.Running, 0);
  EXPECT_TRUE(form->Panel1->Visible());
  EXPECT_TRUE(fw::Application()->Idle());  // the title waits for its timer
}

}  // namespace
