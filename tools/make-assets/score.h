// A compact written score for the tunes: melodies as note names with lengths, harmony as one
// chord symbol per bar, and bass, arpeggio and drum parts as one-character-per-sixteenth patterns.
#pragma once

#include <string>
#include <vector>

#include "tools/make-assets/smf.h"

namespace assets {

// Melody text: "a4/4 c5/2 r/2 bb4 f#5/8": a note name (a-g), an optional '#' or 'b', the octave
// (c4 is middle C), and "/n" for a length of n sixteenths (the previous length when left out);
// "r" is a rest. Returns the number of sixteenths written.
int melody(Song& song, int channel, int startBar, const std::string& text, int velocity, int transpose = 0);

// Chord symbols, one per bar: root (A-G with '#' or 'b'), then "", "m", "7", "m7", "maj7", "sus4" or "dim".
struct Chord {
  int root = 0;                // pitch class, C = 0
  std::vector<int> intervals;  // semitones above the root
};
Chord parseChord(const std::string& symbol);
std::vector<Chord> parseChords(const std::string& symbols);

// Sustained chords, one per bar from `startBar`, voiced close between G3 and G4.
void pads(Song& song, int channel, int startBar, const std::vector<Chord>& chords, int velocity);

// A bass line over the chords; the pattern holds 16 characters per bar and repeats:
// 'R' root, 'F' fifth, 'O' octave, 'T' third, 'L' root an octave down, '-' holds, '.' rests.
void bass(Song& song, int channel, int startBar, const std::vector<Chord>& chords, const std::string& pattern,
          int velocity);

// Broken chords; pattern characters '0'-'3' pick a chord tone (wrapping up an octave), '4'-'7' the same
// an octave higher, '-' holds, '.' rests. `octave` places the chord (4 = around middle C).
void arpeggio(Song& song, int channel, int startBar, const std::vector<Chord>& chords, const std::string& pattern,
              int octave, int velocity);

// A drum part on the GM drum channel: `pattern` (16 characters per bar, repeating) for one drum
// note, 'x' a strong hit, 'o' a soft one, '.' nothing.
void drums(Song& song, int startBar, int bars, int drumNote, const std::string& pattern);

// General MIDI drum notes used by the tunes.
namespace drum {
constexpr int kKick = 36, kSnare = 38, kClap = 39, kClosedHat = 42, kOpenHat = 46, kLowTom = 45, kHighTom = 50,
              kCrash = 49, kRide = 51, kTambourine = 54;
}

}  // namespace assets
