#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/QueuedSink.h"

namespace {

// Records what it is given; can fail at one frame and hold the writing
// thread until released.
struct RecordingSink : FrameSink {
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<std::uint64_t> frames;
        std::vector<std::uint8_t> firstBytes;   // each frame's first byte
        bool held = false;
        bool finished = false;
        bool abandoned = false;
    };
    explicit RecordingSink(Shared& into, std::int64_t failingFrame = -1) : shared(into), failAt(failingFrame) {}

    bool open(std::string&) override { return true; }
    bool write(const FramePixels& pixels, std::string& error) override
    {
        std::unique_lock<std::mutex> lock(shared.mutex);
        shared.changed.wait(lock, [this] { return !shared.held; });
        if (static_cast<std::int64_t>(pixels.frame) == failAt) {
            error = "disk full at frame " + std::to_string(pixels.frame);
            return false;
        }
        shared.frames.push_back(pixels.frame);
        shared.firstBytes.push_back(pixels.rgba[0]);
        return true;
    }
    bool finish(std::string&) override
    {
        shared.finished = true;
        return true;
    }
    void abandon() override { shared.abandoned = true; }
    std::string leftBehind() const override { return std::to_string(shared.frames.size()) + " frames"; }

    Shared& shared;
    std::int64_t failAt;
};

// Writes frames from..to through the queue, from one buffer that is
// overwritten right after each write, as the mapped pixels are unmapped.
bool writeFrames(QueuedSink& queued, std::uint64_t from, std::uint64_t to, std::string& error)
{
    std::vector<std::uint8_t> rgba(4 * 4 * 4);
    for (std::uint64_t f = from; f <= to; ++f) {
        rgba.assign(rgba.size(), static_cast<std::uint8_t>(f));
        if (!queued.write({rgba.data(), 4, 4, f}, error))
            return false;
        rgba.assign(rgba.size(), 0xEE);
    }
    return true;
}

TEST(QueuedSink, WritesEveryFrameInOrderWithItsOwnBytesBeforeFinishing)
{
    RecordingSink::Shared shared;
    QueuedSink queued(std::make_unique<RecordingSink>(shared), 2);
    std::string error;
    ASSERT_TRUE(queued.open(error));
    ASSERT_TRUE(writeFrames(queued, 0, 49, error));
    ASSERT_TRUE(queued.finish(error)) << error;
    EXPECT_TRUE(shared.finished);
    ASSERT_EQ(shared.frames.size(), 50u);
    for (std::uint64_t f = 0; f < 50; ++f) {
        EXPECT_EQ(shared.frames[f], f);
        EXPECT_EQ(shared.firstBytes[f], f) << "frame " << f << " was written from a reused buffer";
    }
}

TEST(QueuedSink, DrawingGoesOnWhileTheSinkIsBusyUntilTheQueueIsFull)
{
    RecordingSink::Shared shared;
    shared.held = true;   // the writing thread stalls at its first frame
    QueuedSink queued(std::make_unique<RecordingSink>(shared), 2);
    std::string error;
    ASSERT_TRUE(queued.open(error));
    // One frame with the thread and two in the queue: none of these waits.
    ASSERT_TRUE(writeFrames(queued, 0, 2, error));
    {
        std::lock_guard<std::mutex> lock(shared.mutex);
        EXPECT_TRUE(shared.frames.empty());
        shared.held = false;
    }
    shared.changed.notify_all();
    ASSERT_TRUE(queued.finish(error));
    EXPECT_EQ(shared.frames, std::vector<std::uint64_t>({0, 1, 2}));
}

TEST(QueuedSink, AFailureReachesTheCallerAndNoLaterFrameIsWritten)
{
    RecordingSink::Shared shared;
    QueuedSink queued(std::make_unique<RecordingSink>(shared, 5), 2);
    std::string error;
    ASSERT_TRUE(queued.open(error));
    // The failure shows at a later write or, at the latest, at finish.
    const bool allWritten = writeFrames(queued, 0, 20, error);
    const bool finished = allWritten && queued.finish(error);
    EXPECT_FALSE(finished);
    EXPECT_EQ(error, "disk full at frame 5");
    EXPECT_EQ(shared.frames, std::vector<std::uint64_t>({0, 1, 2, 3, 4}));
    EXPECT_FALSE(shared.finished);
}

// The last frame fails only after every write has returned: only finish can
// still tell, and it must not complete the output.
TEST(QueuedSink, FailureOfTheLastQueuedFrameFailsTheFinish)
{
    RecordingSink::Shared shared;
    shared.held = true;   // all three frames are handed over before any is written
    QueuedSink queued(std::make_unique<RecordingSink>(shared, 2), 2);
    std::string error;
    ASSERT_TRUE(queued.open(error));
    ASSERT_TRUE(writeFrames(queued, 0, 2, error));
    {
        std::lock_guard<std::mutex> lock(shared.mutex);
        shared.held = false;
    }
    shared.changed.notify_all();
    EXPECT_FALSE(queued.finish(error));
    EXPECT_EQ(error, "disk full at frame 2");
    EXPECT_FALSE(shared.finished);
    EXPECT_EQ(shared.frames, std::vector<std::uint64_t>({0, 1}));
}

TEST(QueuedSink, WhatStaysCountsEveryQueuedFrameOnAnInterruption)
{
    RecordingSink::Shared shared;
    QueuedSink queued(std::make_unique<RecordingSink>(shared), 3);
    std::string error;
    ASSERT_TRUE(queued.open(error));
    ASSERT_TRUE(writeFrames(queued, 0, 9, error));
    // Asked at once, with frames possibly still queued: they are written first.
    EXPECT_EQ(queued.leftBehind(), "10 frames");
    // A frame read after that (the last ones flushed) is still written.
    ASSERT_TRUE(writeFrames(queued, 10, 10, error));
    EXPECT_EQ(queued.leftBehind(), "11 frames");
    queued.abandon();
    EXPECT_TRUE(shared.abandoned);
}

}  // namespace
