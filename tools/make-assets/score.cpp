#include "tools/make-assets/score.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace assets {

namespace {

int pitchClass(char letter) {
  switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'c': return 0;
    case 'd': return 2;
    case 'e': return 4;
    case 'f': return 5;
    case 'g': return 7;
    case 'a': return 9;
    case 'b': return 11;
  }
  throw std::invalid_argument(std::string("not a note name: ") + letter);
}

// Reads an accidental at `pos` (advancing past it): +1, -1 or 0.
int accidental(const std::string& s, size_t& pos) {
  if (pos < s.size() && s[pos] == '#') return ++pos, 1;
  if (pos < s.size() && s[pos] == 'b') return ++pos, -1;
  return 0;
}

// Where pattern character `i` of a repeating pattern falls: bar `startBar + i / 16`.
struct PatternStep {
  int bar;
  uint32_t tick;
  int holdSteps;  // the step itself plus the '-' that follow it
};

template <typename F>
void walkPattern(const std::string& pattern, int startBar, int bars, F onStep) {
  if (pattern.empty() || pattern.size() % 16 != 0) throw std::invalid_argument("pattern length must be 16n: " + pattern);
  int total = bars * 16;
  for (int i = 0; i < total; ++i) {
    char c = pattern[i % pattern.size()];
    if (c == '.' || c == '-') continue;
    int hold = 1;
    while (i + hold < total && pattern[(i + hold) % pattern.size()] == '-') ++hold;
    onStep(c, PatternStep{startBar + i / 16, static_cast<uint32_t>(startBar * kBar + i * kStep), hold});
  }
}

}  // namespace

int melody(Song& song, int channel, int startBar, const std::string& text, int velocity, int transpose) {
  std::istringstream in(text);
  std::string token;
  int steps = 0, length = 4;
  while (in >> token) {
    size_t slash = token.find('/');
    if (slash != std::string::npos) length = std::stoi(token.substr(slash + 1));
    std::string name = token.substr(0, slash);
    if (name != "r") {
      size_t pos = 1;
      int pc = pitchClass(name.at(0));
      pc += accidental(name, pos);
      if (pos >= name.size() || !std::isdigit(static_cast<unsigned char>(name[pos])))
        throw std::invalid_argument("note without octave: " + token);
      int octave = name[pos] - '0';
      int pitch = 12 * (octave + 1) + pc + transpose;
      // Slightly detached notes; accented on the beat.
      uint32_t tick = startBar * kBar + steps * kStep;
      int vel = velocity + (steps % 4 == 0 ? 8 : 0);
      song.note(channel, tick, length * kStep - kStep / 6, pitch, vel);
    }
    steps += length;
  }
  return steps;
}

Chord parseChord(const std::string& symbol) {
  if (symbol.empty()) throw std::invalid_argument("empty chord symbol");
  Chord c;
  size_t pos = 1;
  c.root = (pitchClass(symbol[0]) + accidental(symbol, pos) + 12) % 12;
  std::string quality = symbol.substr(pos);
  if (quality.empty()) c.intervals = {0, 4, 7};
  else if (quality == "m") c.intervals = {0, 3, 7};
  else if (quality == "7") c.intervals = {0, 4, 7, 10};
  else if (quality == "m7") c.intervals = {0, 3, 7, 10};
  else if (quality == "maj7") c.intervals = {0, 4, 7, 11};
  else if (quality == "sus4") c.intervals = {0, 5, 7};
  else if (quality == "dim") c.intervals = {0, 3, 6};
  else throw std::invalid_argument("unknown chord: " + symbol);
  return c;
}

std::vector<Chord> parseChords(const std::string& symbols) {
  std::istringstream in(symbols);
  std::vector<Chord> chords;
  std::string s;
  while (in >> s) chords.push_back(parseChord(s));
  return chords;
}

void pads(Song& song, int channel, int startBar, const std::vector<Chord>& chords, int velocity) {
  for (size_t i = 0; i < chords.size(); ++i) {
    for (int interval : chords[i].intervals) {
      int pitch = 55 + ((chords[i].root + interval - 55) % 12 + 12) % 12;
      song.note(channel, (startBar + i) * kBar, kBar - kStep / 4, pitch, velocity);
    }
  }
}

void bass(Song& song, int channel, int startBar, const std::vector<Chord>& chords, const std::string& pattern,
          int velocity) {
  walkPattern(pattern, startBar, static_cast<int>(chords.size()), [&](char c, PatternStep step) {
    const Chord& chord = chords[step.bar - startBar];
    int root = 40 + ((chord.root - 4) % 12 + 12) % 12;  // E2..D#3
    int pitch;
    switch (c) {
      case 'R': pitch = root; break;
      case 'F': pitch = root + 7; break;
      case 'O': pitch = root + 12; break;
      case 'T': pitch = root + chord.intervals.at(1); break;
      case 'L': pitch = root - 12; break;
      default: throw std::invalid_argument(std::string("bass pattern character: ") + c);
    }
    song.note(channel, step.tick, step.holdSteps * kStep - kStep / 5, pitch, velocity + (step.tick % (4 * kStep) == 0 ? 10 : 0));
  });
}

void arpeggio(Song& song, int channel, int startBar, const std::vector<Chord>& chords, const std::string& pattern,
              int octave, int velocity) {
  walkPattern(pattern, startBar, static_cast<int>(chords.size()), [&](char c, PatternStep step) {
    if (c < '0' || c > '7') throw std::invalid_argument(std::string("arpeggio pattern character: ") + c);
    const Chord& chord = chords[step.bar - startBar];
    int index = c - '0';
    int n = static_cast<int>(chord.intervals.size());
    int up = (index >= 4 ? 12 : 0) + ((index % 4) / n) * 12;
    int pitch = 12 * (octave + 1) + chord.root + chord.intervals[(index % 4) % n] + up;
    song.note(channel, step.tick, step.holdSteps * kStep - kStep / 5, pitch, velocity);
  });
}

void drums(Song& song, int startBar, int bars, int drumNote, const std::string& pattern) {
  walkPattern(pattern, startBar, bars, [&](char c, PatternStep step) {
    int velocity = c == 'x' ? 112 : 72;
    if (c != 'x' && c != 'o') throw std::invalid_argument(std::string("drum pattern character: ") + c);
    song.note(kDrumChannel, step.tick, kStep / 2, drumNote, velocity);
  });
}

}  // namespace assets
