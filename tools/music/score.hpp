// The arrangement: turns the sync times into section grids and writes every
// section's layers into the mixer.
#pragma once
#include <vector>

#include "mixer.hpp"
#include "sync.hpp"
#include "timeline.hpp"

namespace music {

struct SongTimes {
    std::vector<double> sections;  // starts of sections 1..10, then the end
    std::vector<double> accents;   // big hits inside section 1
    std::vector<double> hits;      // irregular percussive hits
};

// Integrated loudness of the demo's part `part` (1 to 11: the first runs
// up to the first section time, part k from section time k - 1 to k).
double partLoudness(const SongTimes& times, const Stereo& s, int part);
// The smallest loudness step between neighbouring parts among 3 to 9, in
// LU: the middle of the piece should move from one part to the next.
double partsClosestLu(const SongTimes& times, const Stereo& s);

// Picks the three tracks by position and checks their sizes.
SongTimes songTimes(const std::vector<SyncTrack>& tracks);

// Eleven grids: the intro from 0 s, then one per sync interval.
std::vector<Grid> sectionGrids(const SongTimes& times);

void compose(const SongTimes& times, const std::vector<Grid>& grids, Mixer& mix);

// When the closing chord sounds.
double finaleSeconds(const std::vector<Grid>& grids);

// The grid of the section playing at `seconds`.
const Grid& gridAt(const std::vector<Grid>& grids, double seconds);

// Dotted-eighth echo time for the tempo playing at `seconds`.
double echoSeconds(const std::vector<Grid>& grids, double seconds);

}  // namespace music
