// The written-out musical material: chord progressions (one chord per bar),
// melodies (pitch:eighths) and one-bar step patterns (16 sixteenths).
#pragma once

namespace music::pat {

// Progressions, one chord per bar.
constexpr const char* kMain = "Am Am F F C C G G";
constexpr const char* kLift = "F F G G Em Em Am Am";
constexpr const char* kDark = "Am Am Dm Dm F F E E";
constexpr const char* kDescent = "Am Am G G F F E E";
constexpr const char* kClose = "F F G G Em Em F E A A";

// Hook over kMain, in two halves (Am Am F F | C C G G).
constexpr const char* kHookA =
    "A4:2 C5:1 E5:2 A5:1 G5:1 E5:1  D5:2 C5:1 B4:1 C5:2 E5:2 "
    "F5:2 E5:1 C5:2 A4:1 C5:2       A5:3 G5:1 F5:2 E5:2";
constexpr const char* kHookB =
    "E5:2 G5:1 C6:2 B5:1 G5:2       E5:3 D5:1 C5:2 D5:2 "
    "D5:2 G5:1 B5:2 A5:1 G5:1 D5:1  B4:3 -:1 D5:2 E5:2";

// Answer phrase over kMain: syncopated, climbs at the end.
constexpr const char* kAnswer =
    "E5:1 E5:1 -:1 A5:2 E5:1 G5:2   A5:1 G5:1 E5:1 D5:2 C5:1 D5:2 "
    "C5:1 C5:1 -:1 F5:2 C5:1 E5:2   F5:1 E5:1 C5:1 A4:3 -:2 "
    "G5:1 G5:1 -:1 C6:2 G5:1 B5:2   C6:1 B5:1 G5:1 E5:3 -:2 "
    "D5:1 D5:1 -:1 G5:2 D5:1 B5:2   A5:2 B5:2 C6:2 D6:2";

// Long soaring line over kLift for the peak of the piece.
constexpr const char* kSoar =
    "A5:4 C6:2 A5:2  G5:4 F5:2 E5:2  D5:4 G5:2 B5:2  A5:4 G5:2 D5:2 "
    "E5:4 G5:2 B5:2  D6:4 B5:2 G5:2  A5:6 C6:2       E6:4 D6:2 C6:2";

// Sparse bell figure over kDark.
constexpr const char* kBells =
    "A5:2 E5:2 C6:2 B5:2  A5:8  D6:2 A5:2 F5:2 E5:2  D5:8 "
    "C6:2 A5:2 F5:2 A5:2  C6:8  B5:2 G#5:2 E5:2 D6:2  B5:8";

// Falling line over kDescent.
constexpr const char* kFall =
    "E5:3 D5:3 C5:2  -:8  D5:3 C5:3 B4:2  -:8 "
    "C5:3 B4:3 A4:2  -:8  B4:3 G#4:3 E4:2  -:8";

// Farewell over kClose: eight bars, the leading tone G#5 closes the last one
// so the line resolves into the A major chord that follows.
constexpr const char* kFarewell =
    "A5:8  C6:4 A5:4  B5:8  D6:4 B5:4  G5:8  B5:4 E5:4  A5:8  B5:4 G#5:4";

// Drums: x hit, X accent, g ghost. Hats: x closed, o open.
constexpr const char* kFour = "X...X...X...X...";
constexpr const char* kHalf = "X.........x.....";
constexpr const char* kHalfLate = "..........x.....";
constexpr const char* kBreak = "X.....x...x..x..";
constexpr const char* kBackbeat = "....X.......X...";
constexpr const char* kHalfSnare = "........X.......";
constexpr const char* kBreakSnare = "....X..g.g..X..g";
constexpr const char* kHats16 = "x.oxx.oxx.oxx.ox";
constexpr const char* kHatsOff = "..o...o...o...o.";
constexpr const char* kHats8 = "x.x.x.x.x.x.x.x.";
constexpr const char* kHatsHalf = "x.xxx.xxx.xxx.xx";

// Bass: r root, o octave up, f fifth, '-' holds the previous note.
constexpr const char* kBassOff = "..r-..r-..r-..r-";
constexpr const char* kBassRoll = ".rrr.rrr.rrr.rro";
constexpr const char* kBassOct = "..r-.o..r-.o.ro.";
constexpr const char* kBassPulse = "r.r.r.r.r.r.r.r.";
constexpr const char* kBassWhole = "r---------------";
constexpr const char* kBassDrive = "r-.rr-.ro-.rr-.f";

// Arpeggios: digits index the chord tones upward over two octaves.
constexpr const char* kArpUp = "0123452301234523";
constexpr const char* kArpWave = "0241302413024130";
constexpr const char* kArpSparse = "0.2.4.3.1.3.5.2.";
constexpr const char* kArpLow = "0.1.2.1.0.1.2.3.";

}  // namespace music::pat
