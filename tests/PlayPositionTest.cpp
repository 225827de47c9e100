#include <gtest/gtest.h>

#include "platform/PlayPosition.h"

namespace {

constexpr std::uint64_t kLength = 1000 * 4;   // a 1000-sample-frame stream

TEST(PlayPosition, NeverGoesBackAndKeepsWholeSampleFrames)
{
    PlayPosition position;
    EXPECT_EQ(position.next(0, kLength, true), 0u);
    EXPECT_EQ(position.next(402, kLength, true), 400u);    // half a frame is not heard yet
    EXPECT_EQ(position.next(396, kLength, true), 400u);    // a device jittering back
    EXPECT_EQ(position.next(1203, kLength, true), 1200u);
}

TEST(PlayPosition, LoopingStreamWrapsAndAStreamPlayedOnceStopsAtItsEnd)
{
    PlayPosition looping;
    EXPECT_EQ(looping.next(kLength - 4, kLength, true), kLength - 4);
    EXPECT_EQ(looping.next(kLength, kLength, true), 0u);
    EXPECT_EQ(looping.next(kLength + 800, kLength, true), 800u);
    EXPECT_EQ(looping.next(3 * kLength + 12, kLength, true), 12u);

    PlayPosition once;
    EXPECT_EQ(once.next(kLength + 800, kLength, false), kLength);
    // Past 4 GiB of PCM (6.8 hours) the position still wraps correctly.
    PlayPosition longRun;
    const std::uint64_t heard = (std::uint64_t{1} << 32) + 8;
    EXPECT_EQ(longRun.next(heard, kLength, true), static_cast<std::uint32_t>(heard % kLength));
}

TEST(PlayPosition, ResetStartsAgainFromZero)
{
    PlayPosition position;
    position.next(2000, kLength, true);
    position.reset();
    EXPECT_EQ(position.next(8, kLength, true), 8u);
    EXPECT_EQ(position.next(0, 0, true), 0u);   // no stream length: nothing to wrap at
}

}  // namespace
