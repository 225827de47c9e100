#include <gtest/gtest.h>

#include "platform/PieceSchedule.h"

namespace {

TEST(PieceSchedule, PiecesFollowOnAtExactSampleTimesUpToTheReach)
{
    PieceSchedule schedule(2.0);
    schedule.start(10.05);
    EXPECT_DOUBLE_EQ(schedule.nextPieceTime(), 10.05);
    int pieces = 0;
    while (schedule.wantsMore(10.0)) {
        schedule.handedOver(22050);   // half a second each
        ++pieces;
    }
    EXPECT_EQ(pieces, 4);   // 10.05 to 12.05 reaches past 10.0 + 2.0
    EXPECT_DOUBLE_EQ(schedule.nextPieceTime(), 12.05);
    // A few hundred odd-sized pieces still end exactly where their samples do.
    for (int i = 0; i < 500; ++i)
        schedule.handedOver(1153);
    EXPECT_DOUBLE_EQ(schedule.nextPieceTime(), 10.05 + (4 * 22050 + 500 * 1153) / 44100.0);
}

TEST(PieceSchedule, AfterAStallThePiecesAlreadyDueAreLateAndTheRestPlay)
{
    PieceSchedule schedule(2.0);
    schedule.start(0.0);
    schedule.handedOver(44100);   // up to 1 s scheduled, then nobody tops up until 5.2 s
    const double now = 5.2;
    int late = 0;
    int played = 0;
    while (schedule.wantsMore(now)) {
        (schedule.late(now) ? late : played) += 1;
        schedule.handedOver(22050);
    }
    EXPECT_EQ(late, 9);     // the pieces from 1.0 s to 5.5 s would start in the past
    EXPECT_EQ(played, 4);   // 5.5 s to 7.5 s
    EXPECT_FALSE(schedule.late(now));
}

TEST(PieceSchedule, HeardBytesAreWholeSampleFramesSinceTheFirstSampleLessTheLatency)
{
    PieceSchedule schedule(2.0);
    schedule.start(3.0);
    EXPECT_EQ(schedule.heardBytes(2.5, 0.0), 0u);   // before the first sample
    EXPECT_EQ(schedule.heardBytes(3.01, 0.02), 0u);  // played but not heard yet
    EXPECT_EQ(schedule.heardBytes(4.0, 0.0), 176400u);
    EXPECT_EQ(schedule.heardBytes(4.0, 0.25), 132300u);
    // Three quarters into a sample frame: that frame is not heard yet, and
    // no part of it is counted.
    for (const double frames : {10.75, 44100.0 / 3.0 + 0.75, 441000.25}) {
        const std::uint64_t odd = schedule.heardBytes(3.0 + frames / 44100.0, 0.0);
        EXPECT_EQ(odd % 4, 0u) << frames;
        EXPECT_EQ(odd, static_cast<std::uint64_t>(frames) * 4) << frames;
    }
}

}  // namespace
