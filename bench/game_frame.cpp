// The game's worst frame: every ring slot in use (401 enemies, 151 shots, 401 bullets, 301
// particles, 11 rings), the shield up and a discharge under way, so that every enemy whitens the
// picture and draws its lightning. Measured on the real frame code drawing into a real back buffer
// (text included); the game's frame budget is 13 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "game/abitmap.h"
#include "game/world.h"
#include "platform/rt/paths.h"
#include "platform/rt/random.h"

namespace {

struct BenchHost : game::FrameHost {
  game::TABitmap* back = nullptr;
  bool KeyDown(int vk) override { return vk == game::VK_Z || vk == game::VK_LEFT; }
  void PlayChannel(int) override {}
  bool MusicOn() override { return true; }
  void PlayTune(int) override {}
  void SmoothText(int x, int y, const std::string& text, int size) override {
    fw::TFont* font = back->Canvas()->Font();
    font->SetSize(size);
    font->SetColor(fw::clWhite);
    back->DrawSmoothText(x, y, text, *font);
  }
  void NewBestScore() override {}
  void SaveScores() override {}
  void ShowDebugMemo() override {}
  void BackToTitle() override {}
  void Present() override {}
};

// Fills every ring of the game with live entries.
void crowd(game::Game& g) {
  g.Start("");
  g.Life = 50;
  g.Frame = 12345;  // not a tenth frame: the discharge strikes but kills nobody
  g.Shield = 500;
  g.Discharge = 1;
  g.Graze = 1;
  for (int i = 0; i < game::Game::kEnemies; ++i)
    g.Enemies[i] = {int16_t(i % 30), int16_t(i * 440 / game::Game::kEnemies), int16_t(1 + i % 5), 30000};
  for (int i = 0; i < game::Game::kShots; ++i) g.Shots[i] = {int16_t(4 * i % 600), int16_t(40 + 2 * i), 3, 5};
  for (int i = 0; i < game::Game::kBullets; ++i) g.Bullets[i] = {37 * i % 600, 53 * i % 250, 1, 1, i % 6, i % 20};
  for (int i = 0; i < game::Game::kParticles; ++i) g.Particles[i] = {2 + i % 10, 17 * i % 600, 29 * i % 450, i, 1, -1, i % 2};
  for (int i = 0; i < game::Game::kEffects; ++i) g.Effects[i] = {10 + 4 * i, 55 * i, 200, 12 + i};
}

void WorstFrame(benchmark::State& state) {
  game::TABitmap back, sprites[7];
  back.SetSize(game::kClientWidth, game::kClientHeight);
  back.FillColor(0, 0, 0);
  const char* names[7] = {"my.bmp", "e1.bmp", "e2.bmp", "e3.bmp", "e4.bmp", "e0.bmp", "e5.bmp"};
  for (int i = 0; i < 7; ++i) sprites[i].LoadFromFile(rt::exeDir() + "dat/" + names[i]);
  BenchHost host;
  host.back = &back;
  game::Game g(host, back.Pixels());
  g.SetSprites(sprites[0].Pixels(), {sprites[1].Pixels(), sprites[2].Pixels(), sprites[3].Pixels(),
                                     sprites[4].Pixels(), sprites[5].Pixels(), sprites[6].Pixels()});
  crowd(g);
  const auto enemies = g.Enemies;
  const auto shots = g.Shots;
  const auto bullets = g.Bullets;
  const auto particles = g.Particles;
  const auto effects = g.Effects;
  for (auto _ : state) {
    state.PauseTiming();
    g.Enemies = enemies;
    g.Shots = shots;
    g.Bullets = bullets;
    g.Particles = particles;
    g.Effects = effects;
    g.Frame = 12345;
    g.Life = 50;
    g.Shield = 500;
    g.Discharge = 1;
    g.Graze = 1;
    g.PlayerX = g.PlayerY = 300;
    rt::RandSeed = 4711;
    state.ResumeTiming();
    g.Step();
  }
  state.counters["enemies"] = g.AliveCount;
}
BENCHMARK(WorstFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);  // fonts for the status line
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
