// The game itself: its state (one game at a time) and one frame of play, drawn into the 32-bit
// back buffer. It knows nothing of windows: keys, sound, music, text and the game-over services
// come through `FrameHost`, so a driver without a display can step it frame by frame.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "game/pixels.h"
#include "game/raster.h"

namespace game {

constexpr int kClientWidth = 600;
constexpr int kClientHeight = 450;

// Virtual key codes the game reads.
enum : int { VK_RETURN = 13, VK_SPACE = 32, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_Z = 90 };

struct TEnemy {
  int16_t Column, Y, Kind, HP;
};
struct TShot {
  int16_t X, Y, Size, Age;
};
struct TBullet {
  int32_t X, Y, DX, DY, Pattern, Age;
};
struct TParticle {
  int32_t Size, X, Y, Age, DX, DY, Hot;
};
struct TEffect {
  int32_t Radius, X, Y, Age;
};

class FrameHost {
 public:
  virtual ~FrameHost() = default;
  virtual bool KeyDown(int virtualKey) = 0;  // held down now
  virtual void PlayChannel(int channel) = 0;  // stop the sound channel, then play it from the start
  virtual bool MusicOn() = 0;                  // the Music box is checked
  virtual void PlayTune(int tune) = 0;
  // White anti-aliased text into the back buffer, in the back buffer's current font size.
  virtual void SmoothText(int x, int y, const std::string& text, int size) = 0;
  // A game ended with a shown score above the best: the best score is already stored; the score
  // certificate and the ranking come here.
  virtual void NewBestScore() = 0;
  virtual void SaveScores() = 0;  // save-file lines 1 and 2 := best score and plays, and write it
  virtual void ShowDebugMemo() = 0;
  virtual void BackToTitle() = 0;
  virtual void Present() = 0;  // copy the back buffer to the window
};

class Game {
 public:
  static constexpr int kEnemies = 401, kBullets = 401, kShots = 151, kParticles = 301, kEffects = 11;
  static constexpr int kClearFrame = 22800;

  // What the first command-line argument turned the game into.
  enum class Mode { Normal, Debug, Cheat };

  Game(FrameHost& host, PixelView backBuffer);

  // Where the frame draws (the back buffer's rows may move when the bitmap is reallocated).
  void SetBackBuffer(PixelView backBuffer) {
    back_ = backBuffer;
    raster_.setTarget(backBuffer);
  }
  // The sprites: the player's, and the enemies' by kind (0 the item .. 5).
  void SetSprites(PixelView player, const std::array<PixelView, 6>& enemies);
  // The fade blends by the plain or the processor-specific rule (chosen at start-up).
  void SetUseMMXFade(bool on) { UseMMXFade = on; }

  // The start of a game (the state part of the Start entry): clears the rings and the per-game
  // state, sets Running, and applies an access code ("tinkrow", "farowlide", compared exactly).
  Mode Start(const std::string& firstArgument);

  // The idle handler: while a game runs, steps one frame when more than 13 ms have passed since the
  // last one (only shows the picture while paused), otherwise sleeps 1 ms; keeps `done` false so it
  // is called again. Left alone when no game runs.
  void AEIdle(bool& done);
  // One frame of play.
  void Step();

  void SpawnEnemy();
  void FireVolley();
  void SpawnBullet(int32_t x, int32_t y, int type);
  void SpawnParticle(int32_t x, int32_t y, int hot, int maxSize);
  void SpawnEffect(int32_t x, int32_t y);

  // The clock and the sleep the idle handler uses (the multimedia clock by default).
  std::function<uint32_t()> Clock;
  std::function<void(uint32_t)> SleepMs;

  // Game state (the globals of the game's unit).
  uint8_t Running = 0, Paused = 0, Cleared = 0, DebugMode = 0, SpawnStopped = 0, EnterLatch = 0;
  int32_t Frame = 0, Score = 0, ShownScore = 0, BestScore = 0, PlayCount = 0;
  int32_t PlayerX = 300, PlayerY = 300, Life = 0, Shield = 0;
  uint8_t Discharge = 0, Graze = 0;
  int32_t ShotSize = 3, AliveCount = 0;
  uint32_t LastTick = 0;
  int32_t EnemyIndex = 0, BulletIndex = 0, ShotIndex = 0, ParticleIndex = 0, EffectIndex = 0;
  bool UseMMXFade = true;
  int32_t FontSize = 8;  // the back buffer's font size, which text drawing leaves set

  std::array<TEnemy, kEnemies> Enemies{};
  std::array<TShot, kShots> Shots{};
  std::array<TBullet, kBullets> Bullets{};
  std::array<TParticle, kParticles> Particles{};
  std::array<TEffect, kEffects> Effects{};

 private:
  bool enemyActive(const TEnemy& e) const;
  int chooseGrazeTarget() const;
  void stepEnemies();
  void fireFrom(TEnemy& e);
  void stepShots();
  void killByShot(TEnemy& e, int32_t x, int32_t y);
  void statusLine();
  void shieldRing();
  void stepBullets();
  void drawBullet(TBullet& b);
  void stepParticles();
  void stepEffects();
  void grazeLightning(int target);
  void gameOver();
  void bolt(const TEnemy& target, bool randomWidth);
  void text(int x, int y, const std::string& s);

  FrameHost& host_;
  PixelView back_;
  Raster raster_;
  PixelView playerSprite_;
  std::array<PixelView, 6> enemySprites_{};
  bool scoresSaved_ = false;  // this game-over has written the save file
};

}  // namespace game
