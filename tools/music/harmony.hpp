// Chords, voicings and melody notation used by the score. Pitches are MIDI
// note numbers; the piece is in A minor.
#pragma once
#include <string>
#include <vector>

namespace music {

struct Chord {
    int root = 57;  // pitch class carried as a MIDI note in octave 3
    bool minor = true;
    std::vector<int> triad() const;  // root position, from `root`
};

// "Am", "F", "C#m", "Bb": letter, optional accidental, optional 'm'.
Chord parseChord(const std::string& name);
// Space-separated chord names, one per bar.
std::vector<Chord> parseProgression(const std::string& text);

// Chord tones closest to the middle of [low, low + 12), so successive chords
// move by small steps instead of jumping in parallel.
std::vector<int> closeVoicing(const Chord& c, int low);
int bassNote(const Chord& c);  // root in the octave from A1

struct MelodyNote {
    double beat, beats;
    int pitch;
};
// Space-separated "E5:2" tokens (pitch, length in eighths); "-:n" rests.
std::vector<MelodyNote> parseMelody(const std::string& text);

// Moves a pitch by scale steps within A natural minor (leading-tone G# is
// treated as G), used to add a diatonic harmony line under a melody.
int scaleShift(int pitch, int steps);

}  // namespace music
