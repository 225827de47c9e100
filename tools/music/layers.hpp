// Musical layers written into the mixer for a span of bars in one section:
// drum grooves, bass lines, pads, arpeggios, melodies and transition
// effects. The score combines them section by section.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "harmony.hpp"
#include "mixer.hpp"
#include "timeline.hpp"

namespace music {

struct Section {
    Mixer& mix;
    Grid grid;
    std::vector<Chord> chords;  // one per bar, repeated to fill the section
    Rng rng;

    int64_t at(double beat) const { return grid.sample(beat); }
    double seconds(double beat, double beats) const { return grid.time(beat + beats) - grid.time(beat); }
    const Chord& chordAt(double beat) const;
};

struct Groove {
    const char* kick = nullptr;
    const char* snare = nullptr;
    const char* clap = nullptr;
    const char* hats = nullptr;
    double level = 1.0;
};

struct LeadStyle {
    int octave = 0;         // shift in octaves
    int harmony = 0;        // scale steps of an added second voice, 0 = none
    double level = 1.0;
    double bright = 0.5;
    double echo = 0.3;
};

void groove(Section& s, int fromBar, int bars, const Groove& g);
void bassline(Section& s, int fromBar, int bars, const char* pattern, double level, double bright);
void pads(Section& s, int fromBar, int bars, double level, double brightFrom, double brightTo);
void arpeggio(Section& s, int fromBar, int bars, const char* pattern, int low, double level, double bright);
void melody(Section& s, int fromBar, const std::string& text, const LeadStyle& style);
void bells(Section& s, int fromBar, const std::string& text, double level);

void snareRoll(Section& s, double fromBeat, double toBeat, double levelFrom, double levelTo);
void tomFill(Section& s, double fromBeat);  // one beat of falling toms
void sweepUp(Section& s, double fromBeat, double toBeat, double level);
void crashAt(Section& s, double beat, double level);
// The big accent: crash, low impact and sub drop together.
void accentAt(Section& s, double beat, double level);
// A picture-wide event (a white flash): a riser over the bar before, then
// the accent at full weight with a kick under it.
void flashHit(Section& s, double beat);
// One irregular cloth hit at `seconds`: a snap with a tuned body and a kick,
// on top of the groove (which keeps playing at its level up to the hit).
void clothHitAt(Section& s, double seconds, double vel);

// Closing A major chord (the minor piece resolves to major) with low A and
// bells, after half a beat of held breath and with a full hit, left to ring
// into the cut.
void finale(Section& s, double beat);

}  // namespace music
