#include "tools/make-assets/tunes.h"

#include <stdexcept>
#include <vector>

#include "tools/make-assets/score.h"

namespace assets {

namespace {

enum Channel { kLead = 0, kPad = 1, kBass = 2, kArp = 3, kSecond = 4, kTimpani = 5 };

// General MIDI programs (numbered from 0).
namespace gm {
constexpr int kPiano = 0, kCelesta = 8, kMusicBox = 10, kVibraphone = 11, kFingerBass = 33,
              kAcousticBass = 32, kSynthBass = 38, kTremoloStrings = 44, kHarp = 46, kTimpani = 47,
              kStrings = 48, kSynthStrings = 50, kTrumpet = 56, kBrass = 61, kSynthBrass = 62, kFlute = 73,
              kSquareLead = 80, kSawLead = 81, kNewAgePad = 88, kWarmPad = 89;
}

// Writes a melody bar by bar, checking that each bar holds exactly sixteen sixteenths.
void melodyBars(Song& song, int channel, int startBar, const std::vector<std::string>& bars, int velocity,
                int transpose = 0) {
  for (size_t i = 0; i < bars.size(); ++i) {
    int steps = melody(song, channel, startBar + static_cast<int>(i), bars[i], velocity, transpose);
    if (steps != 16) throw std::logic_error("melody bar " + std::to_string(i + 1) + " is not a full bar: " + bars[i]);
  }
}

void crashAt(Song& song, int bar) { song.note(kDrumChannel, bar * kBar, kStep, drum::kCrash, 100); }

// The stage theme (A minor), shared by both of its arrangements.
const std::vector<std::string> kGissMelody = {
    "e5/2 a5/2 b5/2 c6/4 b5/2 a5/2 e5/2", "f5/4 a5/2 c6/2 a5/4 f5/4", "g5/2 b5/2 d6/4 c6/2 b5/2 g5/4",
    "e5/12 b4/4", "c5/2 e5/2 a5/4 g5/2 a5/2 b5/4", "c6/4 b5/2 a5/2 f5/8", "d6/4 c6/2 b5/2 g5/4 a5/2 b5/2",
    "g#5/12 e5/4", "a5/4 c6/4 f6/4 e6/2 c6/2", "d6/4 b5/4 g5/4 d6/4", "e6/6 d6/2 c6/4 b5/4", "a5/12 e5/4",
    "f5/4 a5/4 d6/4 c6/4", "b5/4 g5/4 e5/4 g5/4", "a5/2 b5/2 c6/4 d6/4 c6/2 b5/2", "g#5/8 e5/4 g#5/4"};
const char* kGissChords = "Am F G Em Am F G E F G Am Am Dm Em F E";

Song giss() {
  Song s(150);
  s.setBars(16);
  auto chords = parseChords(kGissChords);
  s.instrument(kLead, gm::kSawLead, 92, 64, 50);
  s.instrument(kPad, gm::kSynthStrings, 70, 50, 70);
  s.instrument(kBass, gm::kSynthBass, 100, 64, 10);
  s.instrument(kArp, gm::kVibraphone, 60, 84, 60);
  s.instrument(kDrumChannel, 0, 100, 64, 30);
  melodyBars(s, kLead, 0, kGissMelody, 92);
  pads(s, kPad, 0, chords, 64);
  bass(s, kBass, 0, chords, "R-.RO.R.R-.RO.RF", 96);
  arpeggio(s, kArp, 8, std::vector<Chord>(chords.begin() + 8, chords.end()), "0.1.2.4.2.1.0.1.", 4, 58);
  drums(s, 0, 16, drum::kKick, "x.....x.x.......");
  drums(s, 0, 16, drum::kSnare, "....x.......x...");
  drums(s, 0, 16, drum::kClosedHat, "o.o.o.o.o.o.o.oo");
  crashAt(s, 0);
  crashAt(s, 8);
  return s;
}

// The older arrangement of the stage theme: plainer and slower, square-wave lead over a busy arpeggio.
Song gissOld() {
  Song s(132);
  s.setBars(16);
  auto chords = parseChords(kGissChords);
  s.instrument(kLead, gm::kSquareLead, 88, 64, 30);
  s.instrument(kBass, gm::kFingerBass, 100, 64, 10);
  s.instrument(kArp, gm::kSquareLead, 50, 90, 20);
  s.instrument(kDrumChannel, 0, 90, 64, 20);
  melodyBars(s, kLead, 0, kGissMelody, 88);
  bass(s, kBass, 0, chords, "R.R.F.R.R.R.O.F.", 92);
  arpeggio(s, kArp, 0, chords, "0124012401240124", 4, 50);
  drums(s, 0, 16, drum::kKick, "x.......x.......");
  drums(s, 0, 16, drum::kSnare, "....x.......x..o");
  return s;
}

// Faster (E minor): the run after the first stretch.
Song run() {
  Song s(176);
  s.setBars(16);
  auto chords = parseChords("Em C D Bm Em C D B7 Em C D Bm Em C D B7");
  s.instrument(kLead, gm::kSawLead, 92, 64, 40);
  s.instrument(kPad, gm::kStrings, 68, 44, 70);
  s.instrument(kBass, gm::kSynthBass, 104, 64, 10);
  s.instrument(kDrumChannel, 0, 100, 64, 30);
  melodyBars(s, kLead, 0,
             {"b4/2 e5/2 g5/2 b5/2 a5/2 g5/2 f#5/2 g5/2", "e5/4 g5/4 c6/4 b5/4", "a5/2 f#5/2 d5/2 f#5/2 a5/4 d6/4",
              "b5/12 f#5/4", "g5/2 f#5/2 e5/2 b4/2 e5/4 g5/4", "c6/4 b5/2 a5/2 g5/4 e5/4",
              "f#5/4 a5/4 d6/4 c6/2 a5/2", "b5/8 d#5/4 f#5/4", "e6/4 d6/2 b5/2 g5/4 b5/4", "c6/4 e6/4 g6/4 e6/4",
              "f#6/4 e6/2 d6/2 a5/4 d6/4", "b5/8 d6/4 f#6/4", "g6/4 f#6/4 e6/4 b5/4", "c6/4 e6/4 g5/4 c6/4",
              "d6/2 e6/2 f#6/4 a6/4 f#6/4", "d#6/8 b5/4 f#5/4"},
             90);
  pads(s, kPad, 0, chords, 60);
  bass(s, kBass, 0, chords, "R.R.R.R.R.R.O.F.", 96);
  drums(s, 0, 16, drum::kKick, "x.x...x.x.x...x.");
  drums(s, 0, 16, drum::kSnare, "....x.......x..o");
  drums(s, 0, 16, drum::kClosedHat, "xoxoxoxoxoxoxoxo");
  crashAt(s, 0);
  crashAt(s, 8);
  return s;
}

// The title: a slow D minor air of bells and harp, the lighthouse in the fog.
Song opening() {
  Song s(96);
  s.setBars(16);
  auto chords = parseChords("Dm Bb F C Dm Gm Bb A7 Dm Bb F C Gm Dm Bb A7");
  s.instrument(kLead, gm::kCelesta, 96, 64, 80);
  s.instrument(kSecond, gm::kFlute, 70, 70, 80);
  s.instrument(kPad, gm::kWarmPad, 72, 64, 90);
  s.instrument(kBass, gm::kAcousticBass, 90, 64, 30);
  s.instrument(kArp, gm::kHarp, 66, 40, 70);
  std::vector<std::string> tune = {
      "a4/4 d5/4 e5/4 f5/4", "g5/6 f5/2 d5/8", "c5/4 f5/4 a5/4 g5/4", "e5/12 r/4", "f5/4 e5/4 d5/4 a4/4",
      "bb4/6 c5/2 d5/8", "d5/4 c5/4 bb4/4 g4/4", "a4/12 c#5/4", "d5/4 f5/4 a5/4 d6/4", "c6/6 bb5/2 a5/4 g5/4",
      "a5/4 c6/4 f5/4 a5/4", "g5/12 e5/4", "bb5/4 a5/4 g5/4 d5/4", "f5/6 e5/2 d5/8", "d5/4 e5/4 f5/4 g5/4",
      "e5/8 c#5/4 a4/4"};
  melodyBars(s, kLead, 0, tune, 84);
  melodyBars(s, kSecond, 8, std::vector<std::string>(tune.begin() + 8, tune.end()), 56, -12);
  pads(s, kPad, 0, chords, 58);
  bass(s, kBass, 0, chords, "R-------F-------", 80);
  arpeggio(s, kArp, 0, chords, "0.1.2.4.2.1.0.1.", 3, 60);
  return s;
}

// Tense (C minor): a chromatic ostinato under brass, then a saw lead an octave up.
Song noise() {
  Song s(140);
  s.setBars(16);
  auto chords = parseChords("Cm Cm Ab G Cm Db Cm G7 Cm Cm Ab G Cm Db Cm G7");
  std::vector<std::string> tune = {
      "c5/2 r/2 c5/2 eb5/2 f#5/4 g5/4", "eb5/2 d5/2 c5/4 r/4 g4/4", "ab4/2 c5/2 eb5/2 ab5/2 g5/4 f5/4",
      "g5/8 b4/4 d5/4", "c6/2 b5/2 c6/2 g5/2 ab5/2 g5/2 f#5/2 g5/2", "f5/4 ab5/4 db6/4 c6/4",
      "eb6/4 d6/2 c6/2 g5/4 eb5/4", "d5/4 f5/4 b5/4 g5/4"};
  s.instrument(kLead, gm::kSynthBrass, 90, 56, 40);
  s.instrument(kSecond, gm::kSawLead, 86, 72, 40);
  s.instrument(kPad, gm::kTremoloStrings, 66, 64, 60);
  s.instrument(kBass, gm::kSynthBass, 104, 64, 10);
  s.instrument(kDrumChannel, 0, 100, 64, 30);
  melodyBars(s, kLead, 0, tune, 90);
  melodyBars(s, kSecond, 8, tune, 86, 12);
  pads(s, kPad, 0, chords, 56);
  bass(s, kBass, 0, chords, "R.ROR.RFR.ROR.TF", 96);
  drums(s, 0, 16, drum::kKick, "x..x..x...x..x..");
  drums(s, 0, 16, drum::kSnare, "....x.......x...");
  drums(s, 0, 16, drum::kClosedHat, "xxoxxxoxxxoxxxox");
  drums(s, 7, 1, drum::kHighTom, "........x.x.....");
  drums(s, 7, 1, drum::kLowTom, "............x.x.");
  crashAt(s, 0);
  crashAt(s, 8);
  return s;
}

// Calm (C major), then ominous (C minor) with timpani, and calm again.
Song calm() {
  Song s(88);
  s.setBars(16);
  auto chords = parseChords("Cmaj7 Am7 Fmaj7 G Cmaj7 Am7 Fmaj7 G Cm Ab Fm G Cm Ab Fm G7");
  s.instrument(kLead, gm::kFlute, 92, 64, 70);
  s.instrument(kPad, gm::kStrings, 64, 50, 80);
  s.instrument(kBass, gm::kAcousticBass, 88, 64, 30);
  s.instrument(kArp, gm::kPiano, 70, 78, 60);
  s.instrument(kTimpani, gm::kTimpani, 96, 64, 50);
  melodyBars(s, kLead, 0,
             {"e5/8 g5/4 b5/4", "a5/8 g5/4 e5/4", "f5/4 a5/4 c6/4 e6/4", "d6/12 b5/4", "c6/6 b5/2 g5/8",
              "a5/4 c6/4 e5/8", "f5/4 e5/4 d5/4 c5/4", "d5/16", "c5/8 eb5/4 g5/4", "ab5/8 g5/4 eb5/4",
              "f5/4 ab5/4 c6/4 b5/4", "b5/12 g5/4", "eb6/6 d6/2 c6/8", "c6/4 ab5/4 eb5/8", "f5/4 ab5/4 g5/4 f5/4",
              "g5/8 f5/4 d5/4"},
             80);
  pads(s, kPad, 0, chords, 54);
  bass(s, kBass, 0, chords, "R-------R---F---", 80);
  arpeggio(s, kArp, 0, chords, "0.1.2.3.4.2.1.2.", 3, 58);
  for (int bar = 8; bar < 16; ++bar) {
    int root = 36 + chords[bar].root;
    s.note(kTimpani, bar * kBar, 4 * kStep, root, 96);
    s.note(kTimpani, bar * kBar + 12 * kStep, 2 * kStep, root, 70);
    s.note(kTimpani, bar * kBar + 14 * kStep, 2 * kStep, root, 80);
  }
  return s;
}

// A quiet night piece (A minor) for music box.
Song night() {
  Song s(80);
  s.setBars(8);
  auto chords = parseChords("Am Dm G C F Dm Esus4 E");
  s.instrument(kLead, gm::kMusicBox, 100, 64, 90);
  s.instrument(kPad, gm::kNewAgePad, 64, 64, 90);
  s.instrument(kBass, gm::kAcousticBass, 80, 64, 40);
  s.instrument(kArp, gm::kHarp, 60, 44, 80);
  melodyBars(s, kLead, 0,
             {"a5/4 c6/4 e6/4 c6/4", "d6/8 f6/4 d6/4", "b5/4 d6/4 g5/8", "c6/12 e5/4", "f5/4 a5/4 c6/4 a5/4",
              "d6/8 c6/4 a5/4", "a5/8 b5/8", "g#5/16"},
             84);
  pads(s, kPad, 0, chords, 56);
  bass(s, kBass, 0, chords, "R-------F-------", 76);
  arpeggio(s, kArp, 0, chords, "0.2.1.2.4.2.1.2.", 3, 54);
  return s;
}

// The clear: a brass fanfare in C major with timpani.
Song fanfare() {
  Song s(120);
  s.setBars(8);
  auto chords = parseChords("C F G C Am F G7 C");
  s.instrument(kLead, gm::kTrumpet, 100, 64, 60);
  s.instrument(kPad, gm::kBrass, 80, 52, 60);
  s.instrument(kBass, gm::kFingerBass, 96, 64, 20);
  s.instrument(kArp, gm::kStrings, 70, 80, 70);
  s.instrument(kTimpani, gm::kTimpani, 100, 64, 50);
  s.instrument(kDrumChannel, 0, 96, 64, 40);
  melodyBars(s, kLead, 0,
             {"g4/2 c5/2 e5/2 g5/6 e5/2 g5/2", "a5/6 g5/2 f5/4 a5/4", "g5/4 b5/4 d6/4 b5/4", "c6/16",
              "e6/4 c6/4 a5/4 c6/4", "f6/8 e6/4 d6/4", "d6/4 b5/4 g5/4 b5/4", "c6/16"},
             96);
  pads(s, kPad, 0, chords, 70);
  bass(s, kBass, 0, chords, "R---F---R---F-O-", 90);
  arpeggio(s, kArp, 0, chords, "0123456701234567", 4, 50);
  for (int bar = 0; bar < 8; ++bar)
    for (int beat = 0; beat < 4; beat += 2) s.note(kTimpani, bar * kBar + beat * 4 * kStep, 2 * kStep, 36 + chords[bar].root % 7, 90);
  drums(s, 0, 8, drum::kKick, "x.......x.......");
  drums(s, 0, 8, drum::kSnare, "....x.......x.oo");
  crashAt(s, 0);
  crashAt(s, 4);
  return s;
}

}  // namespace

Song makeTune(const std::string& fileName) {
  if (fileName == "giss.mid") return giss();
  if (fileName == "giss_old.mid") return gissOld();
  if (fileName == "run.mid") return run();
  if (fileName == "op.mid") return opening();
  if (fileName == "noiz.mid") return noise();
  if (fileName == "nagi.mid") return calm();
  if (fileName == "night.MID") return night();
  if (fileName == "cl.MID") return fanfare();
  throw std::invalid_argument("no tune named " + fileName);
}

}  // namespace assets
