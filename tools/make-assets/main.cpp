// make-assets OUTPUT_FOLDER: writes the game's sprites, sound effects and tunes into the folder.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/make-assets/effects.h"
#include "tools/make-assets/sprites.h"
#include "tools/make-assets/tunes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-assets OUTPUT_FOLDER\n");
    return 2;
  }
  try {
    std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    auto out = [&](const std::string& name) { return (dir / name).string(); };
    for (const char* name : {"my.bmp", "e0.bmp", "e1.bmp", "e2.bmp", "e3.bmp", "e4.bmp", "e5.bmp"})
      assets::writeFile(out(name), assets::makeSprite(name).toBmp());
    for (const char* name : {"dam.wav", "tdam.wav", "med.wav", "bomb.wav", "crash.wav", "plzm.wav"})
      assets::writeFile(out(name), assets::toWav(assets::makeEffect(name), assets::kEffectRate));
    for (const char* name :
         {"giss.mid", "giss_old.mid", "run.mid", "op.mid", "noiz.mid", "nagi.mid", "night.MID", "cl.MID"})
      assets::writeFile(out(name), assets::makeTune(name).toSmf(name));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
