#pragma once
#include <cstdint>

// The clock every per-frame effect steps on: 60 steps for each second of
// the part's clock, whatever the rate frames are drawn at.  A frame runs
// the steps its part's clock has reached since the frame before (none, one
// or several), so particles, the cloth, part 7's impulses, the metaballs
// and the trails move at the same speed at 30, 60 or 144 frames a second,
// and at 60 frames a second every frame runs exactly one step, as the show
// was authored.

constexpr int kStepsPerSecond = 60;

// Steps due by partTime (5 ms ticks): the 60 Hz frames that have begun,
// counted from 0.  Rounded so that a 60 fps frame's partTime maps to its
// own index whatever millisecond the part began on (a 60 Hz frame is
// 16 2/3 ms, so its partTime may fall one tick either way).
int stepsDueBy(int partTime);

// The partTime of step `step` of a part that began on 60 Hz frame number
// `startFrame` of the music: the partTime a 60 fps show draws that frame at.
int stepPartTime(std::int64_t startFrame, int step);

// How many steps a frame runs: those due but not yet run, at most `limit`
// (0 for no limit); `dropped` are skipped without running, so that a frame
// after a stall (a window drag, a tab in the background) catches up only
// the last `limit` steps instead of spinning through thousands.
struct StepPlan {
    int run = 0;
    int dropped = 0;
};
StepPlan planSteps(int done, int due, int limit);

// How many steps a real-time frame catches up at most: a fifth of a second.
// Slower than 5 frames a second the effects fall behind the music instead.
constexpr int kRealTimeCatchUpLimit = kStepsPerSecond / 5;

// Where a part's clock starts when the music's position says it began.  A
// 60 fps show notices a switch time on the first 60 Hz frame at or after it
// and begins the next part on the frame after that; every rate starts the
// part's clock there, so the same music time shows the same partTime.
struct PartStart {
    std::uint32_t ticks = 0;        // on the tick counter, in ms
    std::int64_t startFrame = 0;    // the 60 Hz frame of the music it began on
};
// `now` and `position` (a byte position of the 44100 Hz 16-bit stereo
// stream) are read at the same moment; `switchTime` is the byte position
// of the switch that ended the part before.  A position that disagrees with
// the switch (unknown, looped back, or far past it) keeps `now`.
PartStart partStartFromMusic(std::uint32_t now, std::uint32_t position, std::uint32_t switchTime);
