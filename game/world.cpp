#include "game/world.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/rt/clock.h"
#include "platform/rt/numtext.h"
#include "platform/rt/random.h"

namespace game {

namespace {

using rt::Random;

// The runtime's rounding: halves go to the even neighbour.
int32_t Round(double x) { return static_cast<int32_t>(std::nearbyint(x)); }

int sign(int32_t v) { return (v > 0) - (v < 0); }

// Two boxes overlap (each covers [x, x + w) by [y, y + h)).
bool boxesMeet(int32_t ax, int32_t ay, int32_t aw, int32_t ah, int32_t bx, int32_t by, int32_t bw, int32_t bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

constexpr int kRemovedEnemyY = 500, kRemovedShotY = -20, kRemovedBulletY = 500;
constexpr int kBulletDiscAlpha = 255;  // the solid core of a round bullet

const int16_t kHitPoints[6] = {1, 10, 6, 8, 12, 6};

}  // namespace

Game::Game(FrameHost& host, PixelView backBuffer)
    : Clock(rt::timeGetTime), SleepMs(rt::Sleep), host_(host), back_(backBuffer), raster_(backBuffer) {}

void Game::SetSprites(PixelView player, const std::array<PixelView, 6>& enemies) {
  playerSprite_ = player;
  enemySprites_ = enemies;
}

Game::Mode Game::Start(const std::string& firstArgument) {
  for (auto& e : Enemies) e.Y = 1600;
  for (auto& b : Bullets) b.Y = 700;
  for (auto& s : Shots) s.Y = -100;
  Discharge = 0;
  Score = ShownScore = 0;
  EnemyIndex = BulletIndex = 0;
  Life = 2;
  Shield = 0;
  ShotSize = 3;
  Frame = 0;
  PlayerX = PlayerY = 300;
  Paused = Cleared = SpawnStopped = 0;
  scoresSaved_ = false;
  Running = 1;
  if (firstArgument == "tinkrow") {
    Life = 1000000;
    Score = -1000000;
    DebugMode = 1;
    Frame = 10000;
    return Mode::Debug;
  }
  if (firstArgument == "farowlide") {
    Life = 60;
    Score = -1000000;
    return Mode::Cheat;
  }
  return Mode::Normal;
}

void Game::AEIdle(bool& done) {
  if (!Running) return;
  uint32_t now = Clock();
  if (now - LastTick > 13) {  // unsigned difference: the clock may wrap
    LastTick = now;
    if (Paused) host_.Present();
    else Step();
  } else {
    SleepMs(1);
  }
  done = false;
}

bool Game::enemyActive(const TEnemy& e) const { return e.Y <= kClientHeight && e.HP >= 0; }

void Game::Step() {
  // 1. Spawning.
  if (Frame < 0) Frame = 0;
  for (int i = 0, attempts = Frame / 3000 + 3; i < attempts; ++i)
    if (Random(800) == 0) SpawnEnemy();
  if (AliveCount == 0) SpawnEnemy();

  // 2. The fade leaves trails.
  if (UseMMXFade) BlendRectColorMMX(back_, 0, 0, back_.width, back_.height, RGB(0, 0, 0), 100);
  else BlendRectColor(back_, 0, 0, back_.width, back_.height, RGB(0, 0, 0), 100);

  // 3. The player.
  int grazeTarget = -1;
  if (Life > 0) {
    if (host_.KeyDown(VK_LEFT)) PlayerX -= 2;
    if (host_.KeyDown(VK_RIGHT)) PlayerX += 2;
    if (host_.KeyDown(VK_UP)) PlayerY -= 2;
    if (host_.KeyDown(VK_DOWN)) PlayerY += 2;
    if (host_.KeyDown(VK_Z) || host_.KeyDown(VK_SPACE)) FireVolley();
    if (Graze) grazeTarget = chooseGrazeTarget();
    PlayerX = std::clamp(PlayerX, 0, kClientWidth - 20);
    PlayerY = std::clamp(PlayerY, 0, kClientHeight - 20);
    raster_.drawSprite(PlayerX, PlayerY, playerSprite_);
    if (Shield > 0 && Random(2) == 0) SpawnParticle(PlayerX + 5, PlayerY + 5, 0, 5);
  }

  // 4, 5. Enemies; a discharge ends on every tenth frame.
  stepEnemies();
  if (Frame % 10 == 0) Discharge = 0;

  stepShots();     // 6
  statusLine();    // 7
  shieldRing();    // 8
  stepBullets();   // 9
  stepParticles(); // 10
  stepEffects();   // 11
  // 12. The target was chosen before the shots and the discharge: one removed since then is gone,
  // and must not die (and pay out) a second time.
  if (grazeTarget >= 0 && Life > 0 && Enemies[grazeTarget].Y <= kClientHeight) grazeLightning(grazeTarget);
  if (Life < 1) gameOver();                                        // 13

  // 14, 15.
  ++Frame;
  if (Life < 1) Grayscale(back_);
  host_.Present();

  // 16. The clear.
  if (Frame == kClearFrame) {
    Life = 0;
    Cleared = 1;
    Score += 1000;
  }
  // 17. Music changes.
  if (host_.MusicOn()) {
    if (Life > 0) {
      if (Frame == 5200) host_.PlayTune(2);
      if (Frame == 10700) host_.PlayTune(4);
      if (Frame == 14100) host_.PlayTune(5);
    }
    if (Frame == kClearFrame) host_.PlayTune(7);
  }
}

// The nearest enemy above the bottom edge; slot 0 is the first candidate whatever its state.
int Game::chooseGrazeTarget() const {
  auto distance = [&](const TEnemy& e) { return std::abs(e.Column * 20 - PlayerX) + std::abs(e.Y - PlayerY); };
  int target = 0;
  int32_t best = distance(Enemies[0]);
  for (int i = 1; i < kEnemies; ++i) {
    if (Enemies[i].Y < kClientHeight && distance(Enemies[i]) < best) {
      target = i;
      best = distance(Enemies[i]);
    }
  }
  if (Life < 0 || Enemies[target].Y > kClientHeight) return -1;
  return target;
}

void Game::stepEnemies() {
  AliveCount = 0;
  const bool discharging = Discharge;
  if (discharging) raster_.beginWhitenBatch(6);
  for (TEnemy& e : Enemies) {
    if (!enemyActive(e)) continue;
    ++AliveCount;
    e.Y = static_cast<int16_t>(e.Y + 1);
    if (e.Kind == 3 && e.Y > kClientHeight / 2 - 50) e.Y = kClientHeight / 2 - 50;

    if (boxesMeet(e.Column * 20, e.Y, 20, 20, PlayerX, PlayerY, 20, 20)) {
      if (e.Kind == 0) {
        Life = Life + 1;
        Shield = 600;
        host_.PlayChannel(3);
        for (int i = 0; i < 21; ++i) SpawnParticle(PlayerX, PlayerY, 0, 3);
      } else {
        Life -= 10;
        host_.PlayChannel(0);
        for (int i = 0; i < 11; ++i) SpawnParticle(PlayerX, PlayerY, 1, 4);
      }
      e.Y = kRemovedEnemyY;
    }

    fireFrom(e);

    if (Discharge) {
      raster_.whiten(6);
      bolt(e, false);
      bolt(e, false);
      if (Frame % 10 == 0) {
        const int32_t x = e.Column * 20, y = e.Y;
        Score += 100;
        SpawnEffect(x, y);
        for (int i = 0; i < 9; ++i) SpawnParticle(x, y, 0, 10);
        if (e.Kind == 2)
          for (int i = 0, n = Round(Frame / 1500.0) + 7; i < n; ++i) SpawnBullet(x, y, 1);
        if (e.Kind == 0) Score -= 50;
        if (e.Kind == 3) Score += 50;
        e.Y = kRemovedEnemyY;
      }
    }
    if (e.Kind >= 0 && e.Kind < 6) raster_.drawSprite(e.Column * 20, e.Y, enemySprites_[e.Kind]);
  }
  if (discharging) raster_.endWhitenBatch();
}

void Game::fireFrom(TEnemy& e) {
  const int32_t x = e.Column * 20 + 10, y = e.Y + 10;
  const int32_t L = Frame / 2000 < 43 ? 50 - Frame / 2000 : 8;
  switch (e.Kind) {
    case 1:
      if (Frame % L == 0) SpawnBullet(x, y, 5);
      break;
    case 2:
      if (Frame % (L + 10) == 1) SpawnBullet(x, y, 0);
      break;
    case 3:
      if (Frame % 8 == 0) SpawnBullet(x, y, 2);
      break;
    case 4:
      if (Frame % L == 0) SpawnBullet(x, y, 4);
      break;
    case 5:
      if (Frame > 15000 && Random(80) + 10 == e.Y)
        for (int i = 0; i < 10; ++i) SpawnBullet(x, y, 3);
      break;
  }
}

void Game::stepShots() {
  for (TShot& s : Shots) {
    if (s.Y < -10) continue;
    s.Y = static_cast<int16_t>(s.Y - (s.Age / 30 + 5));
    for (TEnemy& e : Enemies) {
      if (!enemyActive(e) || !boxesMeet(s.X, s.Y, s.Size, s.Size, e.Column * 20, e.Y, 20, 20)) continue;
      for (int i = 0; i < 4; ++i) SpawnParticle(s.X, s.Y, 0, 3);
      SpawnParticle(s.X, s.Y, 0, 4);
      e.HP = static_cast<int16_t>(e.HP - 1);
      Score += 4;
      if (e.HP < 1) killByShot(e, s.X, s.Y);
      s.Y = kRemovedShotY;
      break;
    }
    s.Age = static_cast<int16_t>(s.Age + 1);
    BlendRectColorMMX(back_, s.X - 1, s.Y - 1, s.Size + 1, s.Size + 7, RGB(0, s.Age % 256, 100), 90);
    raster_.fillEllipse(s.X, s.Y, s.X + s.Size, s.Y + s.Size + 6, RGB(s.Age % 256, 100, 205));
  }
}

void Game::killByShot(TEnemy& e, int32_t x, int32_t y) {
  host_.PlayChannel(5);
  Shield += 10;
  Score += 100;
  SpawnEffect(x, y);
  for (int i = 0; i < 8; ++i) SpawnParticle(x, y, 0, 10);
  if (e.Kind == 2)
    for (int i = 0, n = Round(Frame / 1500.0) + 7; i < n; ++i) SpawnBullet(e.Column * 20, e.Y, 1);
  if (e.Kind == 0) {
    Life += 1;
    Score -= 100;
  }
  if (e.Kind == 3 || e.Kind == 5) Score += 100;
  e.Y = kRemovedEnemyY;
}

void Game::text(int x, int y, const std::string& s) { host_.SmoothText(x, y, s, FontSize); }

void Game::statusLine() {
  if (Frame % 5 == 0 && Life > 0) ShownScore = Score;
  text(0, 0, "SCORE :  " + rt::IntToStr(ShownScore) + " ");
  text(0, 15, "LIFE : ");
  if (Life > 0 && Life < 100)
    for (int i = 0; i <= Life; ++i)
      BlendRectColorMMX(back_, 43 + 12 * i, 17, 8, 8, 0x00FF00, (Frame * 15) % 155 + 100);
}

void Game::shieldRing() {
  if (Shield <= 0 || Life <= 0) return;
  // Three circles on the 50 x 50 scratch (boxes (8,8)-(42,42), (0,17)-(33,50), (17,0)-(50,33)),
  // each blended onto the back buffer with black as the key.
  const int ox = PlayerX - 15, oy = PlayerY - 15;
  const std::array<int, 4> scratch = {ox, oy, 50, 50};
  const int alpha = Shield / 10 + 20;
  raster_.blendRingKeyed(ox + 25, oy + 25, 17, 2, RGB(0, 255, 255), alpha, scratch);
  raster_.blendRingKeyed(ox + 16.5, oy + 33.5, 16.5, 2, RGB(0, 255, 255), alpha, scratch);
  raster_.blendRingKeyed(ox + 33.5, oy + 16.5, 16.5, 2, RGB(0, 255, 255), alpha, scratch);
  Shield -= 1;
}

void Game::stepBullets() {
  Graze = 0;
  for (TBullet& b : Bullets) {
    if (!(b.Y >= 0 && b.Y <= kClientHeight && b.X >= 0 && b.X <= kClientWidth)) continue;
    b.X += b.DX;
    if (b.Pattern != 3 || Frame % 2 == 1) b.Y += b.DY;
    if (b.Pattern == 1 && Frame % 9 == 0) {
      b.Age += 1;
      if (b.Age > 10) {
        if (std::abs(b.DX) < 5) b.DX += sign(PlayerX - b.X);
        if (std::abs(b.DY) < 5) b.DY += sign(PlayerY - b.Y);
      }
    }
    if (b.Pattern == 2 && Frame % 8 == 0) {
      if (Frame % 16 == 0) b.Age += 1;
      double t = ((3 * Frame) % 314) * static_cast<double>(b.Age) / 50;
      b.DX = Round(3 * std::sin(t));
      b.DY = Round(3 * std::cos(t));
      if (b.DX == 0 && b.DY == 0) b.DY = 3;
      if (Frame > 10600) b.DY = -10;
    }
    if (std::abs(b.X - PlayerX) + std::abs(b.Y - PlayerY) < 30) Graze = 1;
    if (boxesMeet(b.X, b.Y, 5, 5, PlayerX, PlayerY, 20, 20)) {
      if (Shield > 0) {
        Discharge = 1;
        Shield = 0;
        host_.PlayChannel(4);
      }
      for (int i = 0; i < 2; ++i) SpawnParticle(b.X, b.Y, 1, 10);
      b.Y = kRemovedBulletY;
      if (!Discharge) {
        Life -= 1;
        host_.PlayChannel(2);
      }
    }
    drawBullet(b);
  }
}

void Game::drawBullet(TBullet& b) {
  const int pulse = (Frame * 15) % 255;
  switch (b.Pattern) {
    case 0:
    case 1:
    case 2:
    case 3: {
      TColor disc = RGB(255, pulse, 255), halo;
      if (b.Pattern == 1) disc = RGB(0, 255, (Frame * 15) % 256);
      if (b.Pattern == 3) disc = RGB(150, 150, pulse);
      halo = b.Pattern == 3 ? RGB(150, 150, 150) : disc;
      raster_.blendEllipseKeyed(b.X, b.Y, b.X + 6, b.Y + 6, disc, kBulletDiscAlpha);
      b.Age += 1;
      raster_.blendEllipseKeyed(b.X - 4, b.Y - 4, b.X + 10, b.Y + 10, halo, std::abs(b.Age % 30 - 15) + 9);
      break;
    }
    case 4:
      raster_.line(b.X, b.Y, b.X - b.DX, b.Y - b.DY, RGB(Random(255), 255, 255), 2);
      if (Frame % 10 == 0 && b.Age > 1) b.Age -= 1;
      break;
    case 5:
      raster_.fillEllipse(b.X, b.Y, b.X + 6, b.Y + 6, RGB(0, 255, pulse));
      break;
  }
}

void Game::stepParticles() {
  for (TParticle& p : Particles) {
    if (p.Size <= 0) continue;
    p.Age += 1;
    p.X += p.DX;
    p.Y += p.DY;
    if (Frame % 8 == 0 && p.Size > 2 && Random(5) < p.Size) p.Size -= 1;
    if (Frame % 30 == 0) {
      if (p.Size == 2) {
        if (Random(2) == 0) p.Size = 1;
      } else if (p.Size == 1) {
        if (Random(4) == 0) p.Size = 0;
      }
    }
    TColor color = p.Hot ? RGB(255, (p.Age * 15) % 255, 100) : RGB(0, (p.Age * 15) % 255, 255);
    if (p.Size == 1) {
      int r = 100 + Random(155), g = 100 + Random(155), b = 100 + Random(155);
      color = RGB(r, g, b);
    }
    if (p.Size > 1) raster_.blendEllipseKeyed(p.X, p.Y, p.X + 2 * p.Size, p.Y + 2 * p.Size, color, 100);
    const int32_t x = p.X + p.Size / 2, y = p.Y + p.Size / 2;
    raster_.blendEllipseKeyed(x, y, x + p.Size, y + p.Size, color, 100);
  }
}

void Game::stepEffects() {
  for (TEffect& fx : Effects) {
    if (!(fx.Radius > 0 && fx.Radius <= back_.width)) continue;
    fx.Age += 1;
    fx.Radius = fx.Radius - fx.Age / 4 + 5;
    const int32_t r = fx.Radius, a = fx.Age;
    const int32_t blue = 255 - Round(a / 4.0);
    raster_.ring(fx.X, fx.Y, r, r / 2, RGB(0, Round(25 * a / 2.0) % 255, 255 - Round(a / 2.0)));
    raster_.ring(fx.X, fx.Y, r + Round(2.5 * a), 1, RGB(0, Round(25 * a / 4.0), blue));
    raster_.ring(fx.X, fx.Y, r + Round(2.5 * (a - 1)), 1, RGB(0, Round(25 * a / 8.0), Round(blue / 2.0)));
    raster_.ring(fx.X, fx.Y, r + Round(2.5 * (a - 2)), 1, RGB(0, Round(25 * a / 16.0), Round(blue / 4.0)));
  }
}

void Game::grazeLightning(int target) {
  TEnemy& e = Enemies[target];
  host_.PlayChannel(6);
  bolt(e, true);
  if (Random(7) != 0) return;
  e.HP = static_cast<int16_t>(e.HP - 1);
  for (int i = 0; i < 4; ++i) SpawnParticle(e.Column * 20 + 10, e.Y + 10, 0, 3);
  Score += 3;
  if (e.HP >= 0) return;
  host_.PlayChannel(5);
  SpawnEffect(e.Column * 20, e.Y);
  Score += 100;
  if (e.Kind == 2)
    for (int i = 0, n = Frame / 1500 + 7; i < n; ++i) SpawnBullet(e.Column * 20, e.Y, 1);
  if (e.Kind == 0) {
    Life += 1;
    Score -= 100;
  }
  if (e.Kind == 3 || e.Kind == 5) Score += 100;
  e.Y = kRemovedEnemyY;
}

void Game::bolt(const TEnemy& target, bool randomWidth) {
  const TColor color = RGB(0, 150 + Random(105), 255);
  const int32_t sx = Round((target.Column * 20 - PlayerX + 10) / 20.0), sy = Round((target.Y - PlayerY) / 20.0);
  int32_t x = PlayerX + 10, y = PlayerY;
  for (int i = 1; i <= 20; ++i) {
    const int width = randomWidth ? Random(2) + 1 : 1;
    int32_t nx, ny;
    if (i < 20) {
      nx = PlayerX + i * sx + Random(11) - 5;
      ny = PlayerY + i * sy + Random(11) - 5;
    } else {
      nx = target.Column * 20 + 5;
      ny = target.Y + 5;
    }
    raster_.line(x, y, nx, ny, color, width);
    x = nx;
    y = ny;
  }
}

void Game::gameOver() {
  FontSize = 30;
  text(190, 150, Cleared ? "クリア！　" : "おしまい！　");
  Life = -100;
  if (ShownScore > BestScore) {
    BestScore = ShownScore;
    host_.NewBestScore();
  }
  FontSize = 11;
  text(200, 190, "SCORE : " + rt::IntToStr(ShownScore) + "  (Hi:" + rt::IntToStr(BestScore) + ") ");
  // The save file's content cannot change after the first game-over frame: write it once.
  if (!scoresSaved_) {
    scoresSaved_ = true;
    host_.SaveScores();
  }
  if (DebugMode) host_.ShowDebugMemo();
  if (host_.KeyDown(VK_RETURN)) {
    if (EnterLatch) {
      EnterLatch = 0;
    } else {
      EnterLatch = 1;
      host_.BackToTitle();
    }
  } else {
    EnterLatch = 0;
  }
  if (Frame % 20 < 10) text(460, 430, "PRESS THE ENTER! ");
}

void Game::SpawnEnemy() {
  if (Life < 1 || SpawnStopped) return;
  TEnemy& e = Enemies[EnemyIndex];
  EnemyIndex = EnemyIndex + 1 < kEnemies ? EnemyIndex + 1 : 0;
  e.Column = static_cast<int16_t>(Random(30));
  e.Y = 0;
  int kind = Random(3);
  if (kind == 0 && Random(2) == 0) kind = 2;
  if (Frame > 5350 && Frame < 10320) kind = 4;
  if (Frame > 10500) kind = Random(4);
  if (Frame > 14350) {
    kind = Random(4);
    if (kind == 1) kind = 5;
    if (kind == 3 && Random(5) == 0) kind = 2;
  }
  if (Frame > 23050) SpawnStopped = 1;
  e.Kind = static_cast<int16_t>(kind);
  e.HP = kHitPoints[kind];
}

void Game::FireVolley() {
  if (Frame % 8 != 0) return;
  Score -= 1;
  for (int32_t dx : {14, 6}) {
    TShot& s = Shots[ShotIndex];
    ShotIndex = ShotIndex + 1 < kShots ? ShotIndex + 1 : 0;
    s.X = static_cast<int16_t>(PlayerX + dx);
    s.Y = static_cast<int16_t>(PlayerY);
    s.Size = static_cast<int16_t>(ShotSize);
    s.Age = 0;
  }
}

void Game::SpawnBullet(int32_t x, int32_t y, int type) {
  TBullet& b = Bullets[BulletIndex];
  BulletIndex = BulletIndex + 1 < kBullets ? BulletIndex + 1 : 0;
  b.X = x;
  b.Y = y;
  auto noStill = [&b] {
    if (b.DX == 0 && b.DY == 0) b.DY = 3;
  };
  switch (type) {
    case 0:
      b.DX = 0;
      b.DY = 1;
      b.Pattern = 3;
      break;
    case 1: {
      const int32_t c = Frame / 5000;
      b.DX = Random(2 * c + 3) - (c + 1);
      b.DY = Random(2 * c + 3) - (c + 1);
      noStill();
      b.Pattern = 0;
      break;
    }
    case 2: {
      const double s = ((3 * Frame) % 314) / 50.0;
      b.DX = Round(3 * std::sin(s));
      b.DY = Round(3 * std::cos(s));
      b.Pattern = 5;
      break;
    }
    case 3:
    case 4:
      b.DX = Random(3) - 1;
      b.DY = Random(3) - 1;
      noStill();
      b.Pattern = type == 3 ? 1 : 2;
      b.Age = 0;
      break;
    case 5: {
      // Aimed at the player. Right on top of the player there is no direction to aim in: the
      // bullet then falls straight, as a bullet with no speed does.
      const double e = PlayerX - x + 10, g = PlayerY - y + 10, length = std::sqrt(e * e + g * g);
      b.DX = length > 0 ? Round(4 * e / length) : 0;
      b.DY = length > 0 ? Round(4 * g / length) : 0;
      noStill();
      b.Pattern = 4;
      b.Age = 6;
      break;
    }
  }
}

void Game::SpawnParticle(int32_t x, int32_t y, int hot, int maxSize) {
  TParticle& p = Particles[ParticleIndex];
  ParticleIndex = ParticleIndex + 1 < kParticles ? ParticleIndex + 1 : 0;
  p.Size = Random(maxSize) + 2;
  p.X = x;
  p.Y = y;
  const double a = (Random(Frame + 10) % 314) / 50.0;
  const double b = (Random(Frame + 10) % 314) / 50.0;
  p.DX = Round(std::sin(a));
  p.DY = Round(std::cos(b));
  if (p.DY == 0) p.DY = -1;
  p.Hot = hot;
}

void Game::SpawnEffect(int32_t x, int32_t y) {
  TEffect& fx = Effects[EffectIndex];
  EffectIndex = EffectIndex + 1 < kEffects ? EffectIndex + 1 : 0;
  fx.Radius = 5;
  fx.X = x;
  fx.Y = y;
  fx.Age = 10;
}

}  // namespace game
