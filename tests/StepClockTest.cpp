#include <gtest/gtest.h>

#include <cstdint>

#include "app/StepClock.h"

namespace {

// The millisecond tick a virtual clock at `fps` reads after `frames` frames.
std::int64_t ticksAt(std::int64_t frames, int fps)
{
    return frames * 1000 / fps;
}

// partTime of frame `frame` of a part that began on frame `start`.
int partTimeAt(std::int64_t start, std::int64_t frame, int fps)
{
    return static_cast<int>((ticksAt(frame, fps) - ticksAt(start, fps)) / 5);
}

TEST(StepClock, EverySixtyFpsFrameRunsExactlyOneStepWhateverMillisecondItsPartBeganOn)
{
    // A 60 Hz frame is 16 2/3 ms, so its partTime depends on which of the
    // three millisecond phases the part began on; each phase must still
    // count one step per frame, and each step's own partTime must be the
    // frame's.
    for (std::int64_t start = 0; start < 3; ++start) {
        for (int frame = 0; frame < 20000; ++frame) {
            const int partTime = partTimeAt(start, start + frame, 60);
            ASSERT_EQ(stepsDueBy(partTime), frame) << "start " << start << ", partTime " << partTime;
            ASSERT_EQ(stepPartTime(start, frame), partTime) << "start " << start;
        }
    }
}

TEST(StepClock, OtherRatesRunAsManyStepsAsTheClockHasAdvanced)
{
    // 30 fps: two steps a frame; 120 fps: one every other frame; 144 fps:
    // five every twelve frames.  At the times shared with 60 fps the count
    // is the 60 fps frame's index.
    for (int frame = 0; frame < 3000; ++frame) {
        EXPECT_EQ(stepsDueBy(partTimeAt(0, frame, 30)), 2 * frame);
        EXPECT_EQ(stepsDueBy(partTimeAt(0, 2 * frame, 120)), frame);
        EXPECT_EQ(stepsDueBy(partTimeAt(0, 12 * frame, 144)), 5 * frame);
    }
    int previous = 0;
    for (int frame = 0; frame < 3000; ++frame) {
        const int due = stepsDueBy(partTimeAt(0, frame, 144));
        EXPECT_GE(due, previous);
        EXPECT_LE(due - previous, 1) << "frame " << frame;
        previous = due;
    }
    EXPECT_EQ(stepsDueBy(-1), 0);
    EXPECT_EQ(stepsDueBy(-100000), 0);
}

TEST(StepClock, CatchingUpRunsWhatIsOwedUpToTheLimitAndDropsTheRest)
{
    const auto expectPlan = [](int done, int due, int limit, int run, int dropped) {
        const StepPlan plan = planSteps(done, due, limit);
        EXPECT_EQ(plan.run, run) << done << " done, " << due << " due, limit " << limit;
        EXPECT_EQ(plan.dropped, dropped) << done << " done, " << due << " due, limit " << limit;
    };
    expectPlan(5, 5, 12, 0, 0);        // a frame faster than the steps
    expectPlan(5, 6, 12, 1, 0);        // 60 fps
    expectPlan(5, 9, 12, 4, 0);        // 15 fps
    expectPlan(5, 17, 12, 12, 0);      // at the limit
    expectPlan(5, 6005, 12, 12, 5988); // a tab back after 100 s
    expectPlan(5, 6005, 0, 6000, 0);   // no limit: a virtual clock at 1 fps, say
    expectPlan(40, 3, 12, 0, 0);       // a clock that jumped back runs nothing
}

TEST(StepClock, APartBeginsWhereASixtyFpsShowBeginsItWhicheverFrameNoticedTheSwitch)
{
    // The switch at 12.65 s (byte 2231460) is noticed on 60 Hz frame 759;
    // the part begins on frame 760, at 12666 ms.
    const std::uint32_t switchTime = 2231460;
    const auto startAt = [&](std::int64_t frame, int fps) {
        const std::uint32_t position = static_cast<std::uint32_t>(frame * 176400 / fps);
        return partStartFromMusic(static_cast<std::uint32_t>(ticksAt(frame, fps)), position, switchTime);
    };
    const PartStart at60 = startAt(760, 60);
    EXPECT_EQ(at60.ticks, 12666u);
    EXPECT_EQ(at60.startFrame, 760);
    EXPECT_EQ(startAt(381, 30).ticks, 12666u);    // noticed at 12.667 s, begun at 12.700 s
    EXPECT_EQ(startAt(1823, 144).ticks, 12666u);  // begun 7 ms before the 60 fps start
    EXPECT_EQ(startAt(1823, 144).startFrame, 760);

    // Positions that cannot belong to this switch keep the frame's own tick.
    EXPECT_EQ(partStartFromMusic(5000, 0xFFFFFFFFu, switchTime).ticks, 5000u);
    EXPECT_EQ(partStartFromMusic(5000, 1000, switchTime).ticks, 5000u);   // the music looped
    // A switch noticed late (a stalled frame) starts the part where it began.
    EXPECT_EQ(partStartFromMusic(20000, 2234400 + 176400 * 3, switchTime).ticks, 20000u - 3000u);
}

}  // namespace
