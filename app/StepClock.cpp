#include "app/StepClock.h"

#include <algorithm>

namespace {

constexpr std::int64_t kBytesPerSecond = 176400;
constexpr std::int64_t kBytesPerStep = kBytesPerSecond / kStepsPerSecond;   // 2940

// Milliseconds at the start of 60 Hz frame `frame`, rounded down as a
// millisecond tick counter reads them.
std::int64_t frameMilliseconds(std::int64_t frame)
{
    return frame * 1000 / kStepsPerSecond;
}

std::int64_t byteMilliseconds(std::int64_t bytes)
{
    return bytes * 1000 / kBytesPerSecond;
}

// A switch seen more than this late is not believed: the position came
// from elsewhere (a loop, a device that restarted).
constexpr std::int64_t kLatestBelievedMs = 10 * 60 * 1000;

}  // namespace

int stepsDueBy(int partTime)
{
    if (partTime < 0)
        return 0;
    // round(0.3 t + 0.15): a 60 Hz frame is 10/3 ticks.
    return static_cast<int>((6 * static_cast<std::int64_t>(partTime) + 13) / 20);
}

int stepPartTime(std::int64_t startFrame, int step)
{
    const std::int64_t phase = startFrame % 3;
    return static_cast<int>((frameMilliseconds(phase + step) - frameMilliseconds(phase)) / 5);
}

StepPlan planSteps(int done, int due, int limit)
{
    StepPlan plan;
    const int owed = std::max(0, due - done);
    plan.run = limit > 0 ? std::min(owed, limit) : owed;
    plan.dropped = owed - plan.run;
    return plan;
}

PartStart partStartFromMusic(std::uint32_t now, std::uint32_t position, std::uint32_t switchTime)
{
    const std::int64_t noticedOn = (static_cast<std::int64_t>(switchTime) + kBytesPerStep - 1) / kBytesPerStep;
    const std::int64_t startFrame = noticedOn + 1;
    const std::int64_t late = byteMilliseconds(position) - frameMilliseconds(startFrame);
    if (position < switchTime || late > kLatestBelievedMs)
        return {now, startFrame};
    return {now - static_cast<std::uint32_t>(late), startFrame};
}
