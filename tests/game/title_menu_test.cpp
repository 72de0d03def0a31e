#include "game/title_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "game/world.h"
#include "tests/game/qt_environment.h"

namespace {

const auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new game_test::QtEnvironment);

class TitleMenuTest : public ::testing::Test {
 protected:
  TitleMenuTest() {
    menu.KeyDown = [this](int vk) { return keys.count(vk) > 0; };
    menu.ClickStart = [this] { ++starts; };
    menu.ClickSetting = [this] { ++settings; };
    menu.ShowMusicBox = [this](bool shown) { musicShown = shown; };
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) menu.Tick(latch, image);
  }
  // Brightness of the menu picture's row (the sum of its blue bytes).
  long rowInk(int y) {
    long sum = 0;
    for (int x = 0; x < image.Width(); ++x) sum += image.ScanLine(y)[4 * x];
    return sum;
  }

  game::TitleMenu menu;
  game::TABitmap image;
  std::set<int> keys;
  uint8_t latch = 0;
  int starts = 0, settings = 0;
  bool musicShown = false;
};

TEST_F(TitleMenuTest, EnterHeldStartsOneGameOnly) {
  keys = {game::VK_RETURN};
  ticks(50);
  EXPECT_EQ(starts, 1);
  keys.clear();
  ticks(1);
  EXPECT_EQ(latch, 0);
  keys = {game::VK_RETURN};
  ticks(1);
  EXPECT_EQ(starts, 2);
}

TEST_F(TitleMenuTest, ArrowsChooseTheEntryAndShowTheMusicBox) {
  keys = {game::VK_DOWN};
  ticks(1);
  EXPECT_EQ(menu.MenuState, 1);
  EXPECT_TRUE(musicShown);
  keys = {game::VK_RETURN};
  ticks(1);
  EXPECT_EQ(settings, 1);
  EXPECT_EQ(starts, 0);
  menu.MenuState = 2;  // the dialog was opened: Enter does nothing more
  keys.clear();
  ticks(1);
  keys = {game::VK_RETURN};
  ticks(1);
  EXPECT_EQ(settings, 1);
  keys = {game::VK_UP};
  ticks(1);
  EXPECT_EQ(menu.MenuState, 0);
  EXPECT_FALSE(musicShown);
}

TEST_F(TitleMenuTest, GlowFadesInAboutTwoSecondsAndColoursFollowIt) {
  menu.Light(game::TitleMenu::kStart);
  EXPECT_EQ(menu.PanelColor(game::TitleMenu::kStart), fw::RGB(0, 50, 255));
  EXPECT_EQ(menu.CreditColor(), fw::RGB(50, 255, 255));
  ticks(100);
  EXPECT_EQ(menu.Glow[game::TitleMenu::kStart], 105);
  ticks(200);
  EXPECT_EQ(menu.Glow[game::TitleMenu::kStart], 0);
  EXPECT_EQ(menu.PanelColor(game::TitleMenu::kSetting), fw::RGB(0, 50, 50));
}

TEST_F(TitleMenuTest, PictureShowsBothEntriesAndTheChosenOnesBar) {
  ticks(80);
  EXPECT_EQ(image.Width(), 110);
  EXPECT_EQ(image.Height(), 100);
  EXPECT_EQ(menu.Highlight[0], 70);
  EXPECT_EQ(menu.Highlight[1], 0);
  long start = 0, setting = 0;
  for (int y = 0; y < 20; ++y) start += rowInk(y);
  for (int y = 25; y < 45; ++y) setting += rowInk(y);
  EXPECT_GT(start, setting);  // text plus the bar against text alone
  EXPECT_GT(setting, 0);
  EXPECT_EQ(rowInk(80), 0);
  keys = {game::VK_DOWN};
  ticks(80);
  EXPECT_EQ(menu.Highlight[0], 0);
  EXPECT_EQ(menu.Highlight[1], 70);
}

}  // namespace
