#include "game/world.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/rt/random.h"
#include "tests/game/fake_host.h"
#include "tests/game/pixel_image.h"

namespace {

using game::Game;
using game_test::FakeHost;
using game_test::Image;

class WorldTest : public ::testing::Test {
 protected:
  WorldTest() : back(game::kClientWidth, game::kClientHeight), game(host, back.view()) {
    host.game = &game;
    sprite.px.assign(sprite.px.size(), 0xFF808080u);
    game.SetSprites(sprite.view(), {sprite.view(), sprite.view(), sprite.view(), sprite.view(), sprite.view(),
                                    sprite.view()});
    rt::RandSeed = 20240101;
  }

  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      host.texts.clear();
      game.Step();
    }
  }
  void place(int slot, int column, int y, int kind, int hp) { game.Enemies[slot] = {int16_t(column), int16_t(y), int16_t(kind), int16_t(hp)}; }
  void bulletAt(int slot, int x, int y) { game.Bullets[slot] = {x, y, 0, 0, 5, 0}; }

  FakeHost host;
  Image back;
  Image sprite{20, 20};
  Game game;
};

TEST_F(WorldTest, HoldingFireGivesOneVolleyEveryEightFramesAtOnePointEach) {
  game.Start("");
  game.SpawnStopped = 1;  // nothing to hit
  host.keys = {game::VK_Z, game::VK_SPACE};
  frames(80);
  EXPECT_EQ(game.Score, -10);
  EXPECT_EQ(game.ShotIndex, 20);
  host.keys = {game::VK_SPACE};
  frames(8);
  EXPECT_EQ(game.Score, -11);
  host.keys.clear();
  frames(16);
  EXPECT_EQ(game.Score, -11);
}

TEST_F(WorldTest, TheItemGivesALifeAndAShieldOtherEnemiesTakeTen) {
  game.Start("");
  game.SpawnStopped = 1;
  place(0, 15, 299, 0, 1);  // the item, about to touch the player at (300, 300)
  frames(1);
  EXPECT_EQ(game.Life, 3);
  EXPECT_EQ(game.Shield, 599);  // 600, less the frame's own tick
  EXPECT_EQ(host.channelPlays[3], 1);
  EXPECT_EQ(game.ParticleIndex, 21);
  EXPECT_EQ(game.Enemies[0].Y, 500);

  place(1, 15, 299, 1, 10);
  game.Life = 20;
  frames(1);
  EXPECT_EQ(game.Life, 10);
  EXPECT_EQ(host.channelPlays[0], 1);
}

TEST_F(WorldTest, ABulletHitWithTheShieldUpStartsADischargeThatCostsNoLife) {
  game.Start("");
  game.SpawnStopped = 1;
  game.Frame = 1;
  game.Shield = 50;
  place(5, 3, 100, 1, 10);
  place(6, 25, 40, 2, 6);
  bulletAt(200, 305, 305);  // away from the slots the enemies' own shots take
  frames(1);
  EXPECT_EQ(game.Discharge, 1);
  EXPECT_EQ(game.Shield, 0);
  EXPECT_EQ(game.Life, 2);
  EXPECT_EQ(host.channelPlays[4], 1);
  EXPECT_EQ(host.channelPlays[2], 0);

  for (int frame = 2; frame < 10; ++frame) {  // more hits while it lasts cost nothing
    bulletAt(201, 305, 305);
    frames(1);
    EXPECT_EQ(game.Life, 2) << frame;
  }
  EXPECT_EQ(game.Enemies[5].Y, 109);  // still there...
  int32_t before = game.Score;
  frames(1);                          // ...until frame 10 strikes every enemy
  EXPECT_EQ(game.Score - before, 200);
  EXPECT_EQ(game.Enemies[5].Y, 500);
  EXPECT_EQ(game.Enemies[6].Y, 500);
  EXPECT_EQ(game.Discharge, 0);
  EXPECT_EQ(game.BulletIndex, 1 + 7);  // its shot on frame 1, then the Round(10 / 1500) + 7 it leaves

  bulletAt(202, 305, 305);
  frames(1);
  EXPECT_EQ(game.Life, 1);
  EXPECT_EQ(host.channelPlays[2], 1);
}

TEST_F(WorldTest, GameOverRecordsABestScoreOnlyWhenStrictlyGreaterAndSavesOnce) {
  for (int score : {50, 51}) {
    game.Start("");
    game.SpawnStopped = 1;
    game.BestScore = 50;
    game.Score = score;
    frames(1);  // frame 0 shows the score
    game.Life = 0;
    int best = host.newBest, saves = host.saves;
    frames(12);
    EXPECT_EQ(host.newBest - best, score > 50 ? 1 : 0) << score;
    EXPECT_EQ(game.BestScore, std::max(score, 50));
    EXPECT_EQ(host.saves - saves, 1) << score;
    EXPECT_EQ(game.Life, -100);
    EXPECT_TRUE(host.shown("おしまい！　"));
    EXPECT_TRUE(host.shown("SCORE : " + std::to_string(score) + "  (Hi:" + std::to_string(std::max(score, 50)) + ") "));
  }
}

TEST_F(WorldTest, EnterLeavesTheGameOverScreenOnlyAfterTheStartPressIsReleasedOrHeldTwoFrames) {
  game.Start("");
  game.EnterLatch = 1;  // set by the Enter press that started the game
  game.Life = 0;
  host.keys = {game::VK_RETURN};
  frames(1);
  EXPECT_EQ(host.titles, 0);  // the latch is cleared first
  frames(1);
  EXPECT_EQ(host.titles, 1);
  EXPECT_EQ(game.Running, 0);
}

TEST_F(WorldTest, TheClearAtFrame22800AndASecondGameAfterIt) {
  game.Start("");
  game.Frame = game::Game::kClearFrame - 1;
  frames(1);
  EXPECT_EQ(game.Cleared, 1);
  EXPECT_EQ(game.Life, 0);
  EXPECT_EQ(host.tunes.back(), 7);
  frames(1);
  EXPECT_TRUE(host.shown("クリア！　"));
  host.keys = {game::VK_RETURN};
  frames(2);
  EXPECT_EQ(host.titles, 1);

  host.keys.clear();
  game.Start("");
  EXPECT_EQ(game.Cleared, 0);
  EXPECT_EQ(game.SpawnStopped, 0);
  frames(3);
  EXPECT_GT(game.AliveCount, 0);  // enemies spawn again
  game.Life = 0;
  frames(1);
  EXPECT_TRUE(host.shown("おしまい！　"));
}

TEST_F(WorldTest, AccessCodesAreExact) {
  EXPECT_EQ(game.Start("tinkrow"), Game::Mode::Debug);
  EXPECT_EQ(game.Life, 1000000);
  EXPECT_EQ(game.Score, -1000000);
  EXPECT_EQ(game.Frame, 10000);
  EXPECT_EQ(game.DebugMode, 1);
  EXPECT_EQ(game.Start("farowlide"), Game::Mode::Cheat);
  EXPECT_EQ(game.Life, 60);
  EXPECT_EQ(game.Score, -1000000);
  EXPECT_EQ(game.Frame, 0);
  game.DebugMode = 0;
  for (const char* other : {"", "Tinkrow", "farowlide ", "x"}) {
    EXPECT_EQ(game.Start(other), Game::Mode::Normal) << other;
    EXPECT_EQ(game.Life, 2);
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(game.DebugMode, 0);
  }
}

TEST_F(WorldTest, BulletKinds) {
  game.Start("");
  game.SpawnBullet(game.PlayerX + 10, game.PlayerY + 10, 5);  // aimed from the player's own corner
  EXPECT_EQ(game.Bullets[0].DX, 0);
  EXPECT_EQ(game.Bullets[0].DY, 3);
  game.SpawnBullet(game.PlayerX + 10, game.PlayerY - 90, 5);  // straight below
  EXPECT_EQ(game.Bullets[1].DX, 0);
  EXPECT_EQ(game.Bullets[1].DY, 4);
  EXPECT_EQ(game.Bullets[1].Pattern, 4);
  EXPECT_EQ(game.Bullets[1].Age, 6);
  game.Frame = 100;  // s = 300 / 50 = 6: Round(3 sin 6) = -1, Round(3 cos 6) = 3
  game.SpawnBullet(0, 0, 2);
  EXPECT_EQ(game.Bullets[2].DX, -1);
  EXPECT_EQ(game.Bullets[2].DY, 3);
  EXPECT_EQ(game.Bullets[2].Pattern, 5);
  for (int i = 0; i < 50; ++i) {
    game.SpawnBullet(0, 0, 1);
    const auto& b = game.Bullets[(3 + i) % Game::kBullets];
    EXPECT_TRUE(b.DX != 0 || b.DY != 0);
    EXPECT_LE(std::abs(b.DX), 1);
  }
  game.Bullets[400].Age = 77;
  game.BulletIndex = 400;
  game.SpawnBullet(5, 6, 0);
  EXPECT_EQ(game.Bullets[400].Age, 77);  // type 0 keeps the slot's age
  EXPECT_EQ(game.Bullets[400].Pattern, 3);
  EXPECT_EQ(game.BulletIndex, 0);  // the ring wraps
}

TEST_F(WorldTest, SpawnRulesFollowTheFrame) {
  game.Start("");
  game.Frame = 6000;
  for (int i = 0; i < 30; ++i) game.SpawnEnemy();
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(game.Enemies[i].Kind, 4);
    EXPECT_EQ(game.Enemies[i].HP, 12);
  }
  game.Frame = 15000;
  for (int i = 0; i < 200; ++i) game.SpawnEnemy();
  for (int i = 30; i < 230; ++i) EXPECT_NE(game.Enemies[i].Kind, 1);
  game.Frame = 23051;
  game.SpawnEnemy();
  EXPECT_EQ(game.SpawnStopped, 1);
  int index = game.EnemyIndex;
  game.SpawnEnemy();
  EXPECT_EQ(game.EnemyIndex, index);
  game.SpawnStopped = 0;
  game.Life = 0;
  game.SpawnEnemy();
  EXPECT_EQ(game.EnemyIndex, index);
}

TEST_F(WorldTest, GrazingABulletStrikesTheNearestEnemyWithLightning) {
  game.Start("");
  game.SpawnStopped = 1;
  place(3, 15, 100, 1, 10);
  place(9, 0, 10, 1, 10);
  game.Bullets[200] = {322, 300, 0, 0, 0, 0};  // close on the right, not touching
  frames(1);
  EXPECT_EQ(game.Graze, 1);
  frames(1);
  EXPECT_EQ(host.channelPlays[6], 1);  // lightning on the frame after the graze
}

// The lightning's target is chosen before the shots fly. A target that a shot kills in the same
// frame is gone: the lightning must not kill it a second time (a second 100 points, and for the
// item a second life).
TEST_F(WorldTest, LightningDoesNotStrikeATargetKilledEarlierInTheFrame) {
  int struck = 0;
  for (uint32_t start = 1; start <= 60; ++start) {
    game.Start("");
    game.SpawnStopped = 1;
    game.Frame = 1;
    game.Graze = 1;                 // a bullet passed close in the last frame
    place(0, 15, 250, 0, 1);        // the item, nearest to the player at (300, 300)
    game.Shots[0] = {305, 270, 3, 0};  // about to hit it
    rt::RandSeed = start;
    host.channelPlays.clear();
    frames(1);
    ASSERT_EQ(game.Enemies[0].Y, 500) << start;
    EXPECT_EQ(game.Life, 3) << start;   // one life from the one item
    EXPECT_EQ(game.Score, 4) << start;  // the hit, the kill, less the item's 100
    EXPECT_EQ(host.channelPlays[5], 1) << start;
    struck += host.channelPlays[6];
  }
  EXPECT_EQ(struck, 0);

  // A target still in play after the shots is struck as before.
  game.Start("");
  game.SpawnStopped = 1;
  game.Frame = 1;
  game.Graze = 1;
  place(0, 15, 250, 1, 10);
  host.channelPlays.clear();
  frames(1);
  EXPECT_EQ(host.channelPlays[6], 1);
}

TEST_F(WorldTest, MusicChangesOnlyWithTheBoxCheckedAndWhileAlive) {
  game.Start("");
  game.SpawnStopped = 1;
  game.Frame = 5199;
  frames(1);
  game.Frame = 10699;
  frames(1);
  game.Frame = 14099;
  host.music = false;
  frames(1);
  EXPECT_EQ(host.tunes, (std::vector<int>{2, 4}));
  host.music = true;
  game.Frame = 14099;
  game.Life = 0;  // dead by then: no change
  frames(1);
  EXPECT_EQ(host.tunes, (std::vector<int>{2, 4}));
}

TEST_F(WorldTest, IdlePacesFramesAndOnlyShowsThePictureWhilePaused) {
  uint32_t now = 1000;
  int slept = 0;
  game.Clock = [&] { return now; };
  game.SleepMs = [&](uint32_t) { ++slept; };
  bool done = true;
  game.AEIdle(done);
  EXPECT_TRUE(done);  // no game: left alone
  game.Start("");
  game.LastTick = 990;
  game.AEIdle(done);
  EXPECT_FALSE(done);
  EXPECT_EQ(slept, 1);
  EXPECT_EQ(game.Frame, 0);
  now = 1004;
  game.AEIdle(done);
  EXPECT_EQ(game.Frame, 1);
  EXPECT_EQ(game.LastTick, 1004u);
  game.Paused = 1;
  now = 1100;
  int presents = host.presents;
  game.AEIdle(done);
  EXPECT_EQ(game.Frame, 1);
  EXPECT_EQ(host.presents, presents + 1);
  game.Paused = 0;
  game.LastTick = 0xFFFFFFF0u;  // the clock wrapped since
  now = 5;
  game.AEIdle(done);
  EXPECT_EQ(game.Frame, 2);
}

TEST_F(WorldTest, StatusLineAndLifeSquares) {
  game.Start("");
  game.SpawnStopped = 1;
  game.Score = 1234;
  frames(1);
  EXPECT_TRUE(host.shown("SCORE :  1234 "));
  EXPECT_TRUE(host.shown("LIFE : "));
  // Life 2: three green squares at x = 43, 55, 67 on row 17.
  for (int i = 0; i < 4; ++i) EXPECT_EQ((back.rgb(43 + 12 * i + 2, 20) >> 8 & 0xFF) > 50, i < 3) << i;
}

TEST_F(WorldTest, TheGameOverPictureIsGrey) {
  game.Start("");
  rt::RandSeed = 7;
  for (int i = 0; i < 40; ++i) game.SpawnBullet(100 + 10 * i, 50, i % 6);
  frames(5);
  game.Life = 0;
  frames(1);
  for (uint32_t p : back.px) ASSERT_TRUE((p & 0xFF) == (p >> 8 & 0xFF) && (p & 0xFF) == (p >> 16 & 0xFF));
}

// The debug code's game played through to the clear by a player who keeps firing and weaves: every
// phase of the spawner and every bullet pattern runs, and the game ends cleared, once.
TEST_F(WorldTest, ADebugGamePlaysThroughToTheClear) {
  ASSERT_EQ(game.Start("tinkrow"), Game::Mode::Debug);
  rt::RandSeed = 4242;
  std::set<int> kinds, patterns;
  int peakBullets = 0;
  while (game.Frame < Game::kClearFrame) {
    host.keys = {game::VK_Z, game.Frame / 120 % 2 ? game::VK_LEFT : game::VK_RIGHT};
    if (game.Frame / 300 % 2) host.keys.insert(game::VK_UP);
    frames(1);
    int live = 0;
    for (const auto& e : game.Enemies)
      if (e.Y <= game::kClientHeight && e.HP >= 0) kinds.insert(e.Kind);
    for (const auto& b : game.Bullets)
      if (b.Y >= 0 && b.Y <= game::kClientHeight && b.X >= 0 && b.X <= game::kClientWidth) {
        patterns.insert(b.Pattern);
        ++live;
      }
    peakBullets = std::max(peakBullets, live);
    ASSERT_GE(game.PlayerX, 0);
    ASSERT_LE(game.PlayerX, game::kClientWidth - 20);
  }
  EXPECT_EQ(game.Cleared, 1);
  EXPECT_EQ(game.Life, 0);
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(patterns, (std::set<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_GT(peakBullets, 20);
  frames(1);
  EXPECT_TRUE(host.shown("クリア！　"));
  EXPECT_EQ(host.saves, 1);
  EXPECT_EQ(host.debugMemo, 1);
}

// The same starting state and keys give the same game, pixel for pixel.
TEST_F(WorldTest, PlayIsReproducible) {
  auto play = [](uint32_t start) {
    FakeHost host;
    Image back(game::kClientWidth, game::kClientHeight), sprite(20, 20, 0xFF4080C0u);
    Game g(host, back.view());
    host.game = &g;
    g.SetSprites(sprite.view(), {sprite.view(), sprite.view(), sprite.view(), sprite.view(), sprite.view(),
                                 sprite.view()});
    rt::RandSeed = start;
    g.Start("farowlide");
    g.Frame = 14000;
    for (int f = 0; f < 600; ++f) {
      host.keys.clear();
      if (f % 3) host.keys.insert(game::VK_Z);
      host.keys.insert(f / 40 % 2 ? game::VK_LEFT : game::VK_RIGHT);
      if (f % 100 == 50) g.Shield = 200;
      g.Step();
    }
    return std::make_pair(back.px, std::vector<int32_t>{g.Score, g.Life, g.AliveCount, g.EnemyIndex, g.BulletIndex});
  };
  auto a = play(99), b = play(99), c = play(100);
  EXPECT_EQ(a.second, b.second);
  EXPECT_TRUE(a.first == b.first);
  EXPECT_FALSE(a.first == c.first);
  EXPECT_GT(a.second[3], 5);  // enemies came
}

}  // namespace
