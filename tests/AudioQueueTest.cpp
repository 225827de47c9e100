// The refill order of the audio queue against a device simulated on a
// virtual millisecond clock: it plays queued buffers back to back and hands
// each back when played; the refill thread wakes late by a varying delay.
// A refill delayed by less than the queue never lets the device run dry,
// and the music goes out in order.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/AudioQueue.h"

namespace {

struct Playback {
    int gaps = 0;            // moments the device found nothing queued
    int outOfOrder = 0;      // buffers played other than in the order filled
    std::int64_t played = 0; // buffers played
};

// `count` buffers of `bufferMs` each; the refill thread wakes every time
// after a delay from `delays` (cycled), in ms.
Playback play(int count, int bufferMs, const std::vector<int>& delays, int totalMs)
{
    AudioQueue queue(count);
    std::vector<bool> done(count, false);
    std::vector<std::int64_t> content(count);   // which piece of music each buffer holds
    std::deque<int> queued;
    std::int64_t nextPiece = 0;
    auto fill = [&](int i) {
        done[i] = false;
        content[i] = nextPiece++;
        queued.push_back(i);
    };
    for (int i = 0; i < count; ++i)   // all filled before playback starts
        fill(i);
    queue.refill([](int) { return false; }, fill);

    Playback result;
    std::int64_t expectedPiece = 0;
    int left = bufferMs;   // of the buffer playing
    bool starved = false;
    std::size_t delayIndex = 0;
    int wakeAt = delays[0];
    for (int now = 1; now <= totalMs; ++now) {
        if (!queued.empty()) {
            starved = false;
            if (--left == 0) {
                const int finished = queued.front();
                queued.pop_front();
                result.outOfOrder += content[finished] != expectedPiece;
                expectedPiece = content[finished] + 1;
                ++result.played;
                done[finished] = true;
                left = bufferMs;
            }
        } else if (!starved) {
            starved = true;
            ++result.gaps;
        }
        if (now == wakeAt) {
            queue.refill([&](int i) { return done[i]; }, fill);
            wakeAt = now + delays[++delayIndex % delays.size()];
        }
    }
    return result;
}

TEST(AudioQueue, ARefillLateByLessThanTheQueueNeverLetsTheDeviceRunDryAndKeepsTheOrder)
{
    // 8 buffers of 20 ms: 160 ms queued.  The refill thread is mostly
    // prompt but sometimes held up for up to 130 ms (well past several
    // buffers, so each late wake-up finds many done at once).
    const std::vector<int> delays = {1, 3, 130, 2, 45, 1, 90, 7, 120, 1, 1, 60};
    const Playback playback = play(8, 20, delays, 60000);
    EXPECT_EQ(playback.gaps, 0);
    EXPECT_EQ(playback.outOfOrder, 0);
    EXPECT_EQ(playback.played, 60000 / 20);
}

TEST(AudioQueue, ARefillLateByMoreThanTheQueueIsHeardAsAGap)
{
    // The same device, with the refill thread away for 200 ms once: the
    // simulation does see a device running dry.
    const Playback playback = play(8, 20, {1, 2, 200, 1, 1}, 3000);
    EXPECT_GT(playback.gaps, 0);
    EXPECT_EQ(playback.outOfOrder, 0);
}

TEST(AudioQueue, RefillsEveryDoneBufferOldestFirstAndStopsAtTheFirstStillPlaying)
{
    AudioQueue queue(4);
    std::vector<int> order;
    // Buffers 0 and 1 done, 2 still playing, 3 done (impossible for a real
    // device; the refill must not reach past 2 anyway).
    const std::vector<bool> done = {true, true, false, true};
    EXPECT_EQ(queue.refill([&](int i) { return done[i]; }, [&](int i) { order.push_back(i); }), 2);
    EXPECT_EQ(order, (std::vector<int>{0, 1}));
    EXPECT_EQ(queue.oldest(), 2);
    // All done after a long stall: 2, 3, then round to 0 and 1.
    order.clear();
    EXPECT_EQ(queue.refill([](int) { return true; }, [&](int i) { order.push_back(i); }), 4);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 0, 1}));
}

}  // namespace
