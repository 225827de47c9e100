#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/FrameReadback.h"
#include "tests/TestPlatform.h"

namespace {

struct Delivered {
    std::uint64_t frame;
    std::vector<std::uint8_t> rgba;
};

// Frame i: the whole picture in one colour and a 16x16 square of another
// whose place moves with i, so neighbouring frames differ everywhere and locally.
void drawFrame(int i)
{
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glClearColor(static_cast<float>(i * 17 % 256) / 255.0f, static_cast<float>(255 - i * 13 % 256) / 255.0f,
                 static_cast<float>(i * 5 % 256) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(10 * i, 7 * i, 16, 16);
    glClearColor(1.0f, 1.0f, static_cast<float>(i) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

// Draws and reads `count` frames, collecting what is delivered, in order.
std::vector<Delivered> readFrames(FrameReadback& readback, int count, std::vector<int>* waitingAfterRead = nullptr)
{
    std::vector<Delivered> delivered;
    const FrameReadback::Deliver keep = [&delivered](const FramePixels& pixels) {
        const std::size_t bytes = static_cast<std::size_t>(pixels.width) * pixels.height * 4;
        delivered.push_back({pixels.frame, std::vector<std::uint8_t>(pixels.rgba, pixels.rgba + bytes)});
        return true;
    };
    for (int i = 0; i < count; ++i) {
        drawFrame(i);
        EXPECT_TRUE(readback.read(static_cast<std::uint64_t>(i), keep));
        if (waitingAfterRead != nullptr)
            waitingAfterRead->push_back(readback.waiting());
    }
    EXPECT_TRUE(readback.flush(keep));
    return delivered;
}

FrameReadback::Lookup realLookup()
{
    return [](const char* name) { return testPlatform().glFunction(name); };
}

// The frames as glReadPixels into memory gives them, one at a time.
std::vector<Delivered> synchronousFrames(int count)
{
    FrameReadback synchronous(testPlatform().picture(), nullptr);
    return readFrames(synchronous, count);
}

TEST(FrameReadback, PixelBuffersDeliverEveryFrameOnceInOrderWithTheBytesOfADirectRead)
{
    testPlatform();
    constexpr int kFrames = 9;
    const std::vector<Delivered> expected = synchronousFrames(kFrames);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kFrames));
    for (const int inFlight : {2, 3}) {
        SCOPED_TRACE("frames in flight: " + std::to_string(inFlight));
        FrameReadback readback(testPlatform().picture(), realLookup(), inFlight);
        std::vector<int> waiting;
        const std::vector<Delivered> delivered = readFrames(readback, kFrames, &waiting);
        ASSERT_TRUE(readback.asynchronous()) << "this context has pixel pack buffers";
        // Really behind: inFlight - 1 frames wait after each read once the ring is full.
        EXPECT_EQ(waiting.back(), inFlight - 1);
        EXPECT_EQ(readback.waiting(), 0);
        ASSERT_EQ(delivered.size(), expected.size());
        for (std::size_t i = 0; i < delivered.size(); ++i) {
            EXPECT_EQ(delivered[i].frame, i);
            EXPECT_TRUE(delivered[i].rgba == expected[i].rgba) << "frame " << i << " is not the frame drawn as " << i;
        }
    }
    // Each frame differs from the next, so a frame swapped in the ring would show.
    EXPECT_FALSE(expected[3].rgba == expected[4].rgba);
    // And the synchronous frames are what was drawn: frame 4's square at (40, 28).
    const std::size_t square = (static_cast<std::size_t>(28) * testPlatform().picture().width() + 40) * 4;
    EXPECT_EQ(expected[4].rgba[square + 2], 4);
}

TEST(FrameReadback, WithoutPixelBufferCallsEachFrameIsReadAtOnce)
{
    testPlatform();
    const std::vector<Delivered> expected = synchronousFrames(3);
    int lookups = 0;
    // A driver that has every call but glMapBuffer cannot use the buffers.
    FrameReadback::Lookup noMapping = [&lookups](const char* name) -> void* {
        ++lookups;
        if (std::strncmp(name, "glMapBuffer", 11) == 0)
            return nullptr;
        return testPlatform().glFunction(name);
    };
    for (const FrameReadback::Lookup& lookup : {FrameReadback::Lookup(nullptr), noMapping}) {
        FrameReadback readback(testPlatform().picture(), lookup);
        std::vector<int> waiting;
        const std::vector<Delivered> delivered = readFrames(readback, 3, &waiting);
        EXPECT_FALSE(readback.asynchronous());
        EXPECT_EQ(waiting, std::vector<int>({0, 0, 0}));
        ASSERT_EQ(delivered.size(), 3u);
        for (std::size_t i = 0; i < delivered.size(); ++i) {
            EXPECT_EQ(delivered[i].frame, i);
            EXPECT_TRUE(delivered[i].rgba == expected[i].rgba) << "frame " << i;
        }
    }
    EXPECT_GT(lookups, 0);
}

TEST(FrameReadback, LeavesNoPackBufferBoundForOtherReads)
{
    testPlatform();
    FrameReadback readback(testPlatform().picture(), realLookup());
    readFrames(readback, 3);
    GLint bound = -1;
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    // A plain read into memory still lands in memory: frame 2's colour.
    drawFrame(2);
    const Pixel pixel = pixelAt(300, 300);
    EXPECT_EQ(pixel.r, 34);
    EXPECT_EQ(pixel.g, 229);
}

TEST(FrameReadback, ARefusedFrameStopsTheReading)
{
    testPlatform();
    FrameReadback readback(testPlatform().picture(), realLookup());
    std::vector<std::uint64_t> taken;
    const FrameReadback::Deliver refuseSecond = [&taken](const FramePixels& pixels) {
        taken.push_back(pixels.frame);
        return pixels.frame != 1;
    };
    bool allRead = true;
    for (int i = 0; i < 4 && allRead; ++i) {
        drawFrame(i);
        allRead = readback.read(static_cast<std::uint64_t>(i), refuseSecond);
    }
    EXPECT_FALSE(allRead);
    EXPECT_EQ(taken, std::vector<std::uint64_t>({0, 1}));
    EXPECT_TRUE(readback.failure().empty()) << "the refusal is the sink's to explain";
}

}  // namespace
