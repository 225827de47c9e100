// The Win32 platform's own pieces, on the display Wine (or Windows) gives:
// the splash window shows exactly the composed pixels at exactly its
// rectangle and takes no input; the main window's client area is the
// picture, shown pixel for pixel; the clock steps by a millisecond; waveOut
// playback either works or fails cleanly into the no-sound path.
#include <windows.h>

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <mmsystem.h>
#include <vector>

#include "assets/Resources.h"
#include "platform/win32/WaveOutAudio.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Splash.h"

namespace {

// A picture no desktop shows by chance: colour bands that differ per row
// and column, 24-bit, bottom row first, rows padded to 4 bytes.
std::vector<std::uint8_t> bandPicture(int width, int height)
{
    std::vector<std::uint8_t> pixels(screenRowBytes(width) * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * screenRowBytes(width) + x * 3;
            p[0] = static_cast<std::uint8_t>(x * 7);
            p[1] = static_cast<std::uint8_t>(y * 5);
            p[2] = static_cast<std::uint8_t>(200 - (x + y) % 50);
        }
    return pixels;
}

void pumpMessages()
{
    for (int i = 0; i < 20; ++i) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
}

TEST(Win32Splash, ShowsTheComposedPixelsAtItsRectangleWithoutFrameOrInput)
{
    Win32Splash splash;
    ScreenRect screen;
    ASSERT_TRUE(splash.screenArea(screen));
    // Off-centre and of odd width: both the position and the row padding count.
    const ScreenRect rect{screen.width / 2 - 61, screen.height / 2 - 40, 123, 80};
    // One pixel larger all round: the frame and caption must be cut away, so
    // that ring stays desktop.
    const ScreenRect around{rect.left - 1, rect.top - 1, rect.width + 2, rect.height + 2};
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> ringBefore;
    ASSERT_TRUE(splash.capture(rect, before));
    ASSERT_TRUE(splash.capture(around, ringBefore));
    ASSERT_EQ(before.size(), screenRowBytes(rect.width) * rect.height);

    const std::vector<std::uint8_t> picture = bandPicture(rect.width, rect.height);
    ASSERT_TRUE(splash.show(rect, picture, "Bildo.exe"));
    pumpMessages();
    std::vector<std::uint8_t> shown;
    std::vector<std::uint8_t> ring;
    ASSERT_TRUE(splash.capture(rect, shown));
    ASSERT_TRUE(splash.capture(around, ring));
    EXPECT_TRUE(shown == picture) << "the screen under the splash is not the picture 1:1";
    const std::size_t stride = screenRowBytes(around.width);
    for (int y = 0; y < around.height; ++y)
        for (int x : {0, around.width - 1})
            for (int c = 0; c < 3; ++c) {
                const std::size_t at = static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3 + c;
                ASSERT_EQ(ring[at], ringBefore[at]) << "frame visible at row " << y << ", column " << x;
            }

    HWND window = FindWindowA("MegaSplash", "Bildo.exe");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowEnabled(window));

    splash.hide();
    pumpMessages();
    std::vector<std::uint8_t> after;
    ASSERT_TRUE(splash.capture(rect, after));
    EXPECT_TRUE(after == before) << "the desktop did not come back when the splash was hidden";
}

TEST(Win32Platform, WindowedClientAreaIsThePictureAndTheFrameGrowsOutside)
{
    Win32Platform platform(false);
    ASSERT_TRUE(platform.init());
    PlatformWindow* handle = platform.createMainWindow("Quittenhain", false);
    ASSERT_NE(handle, nullptr);
    platform.showWindow(handle, true);
    pumpMessages();
    HWND window = reinterpret_cast<HWND>(handle);
    RECT client{};
    RECT outer{};
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    // A title bar above the picture: the outer size is larger than 640x480.
    EXPECT_GT(outer.bottom - outer.top, 480 + 10);
    EXPECT_GE(outer.right - outer.left, 640);
    DestroyWindow(window);
}

TEST(Win32Platform, WindowShowsThePicturePixelForPixel)
{
    Win32Platform platform(false);
    ASSERT_TRUE(platform.init());
    PlatformWindow* handle = platform.createMainWindow("Quittenhain", false);
    ASSERT_NE(handle, nullptr);
    ASSERT_TRUE(platform.createGLContext(handle));
    platform.showWindow(handle, true);
    pumpMessages();
    // A picture whose every column and row differ from their neighbours:
    // any scaling on the way to the screen mixes them.
    std::vector<std::uint8_t> rgba(640 * 480 * 4);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            std::uint8_t* p = rgba.data() + (static_cast<std::size_t>(y) * 640 + x) * 4;
            p[0] = static_cast<std::uint8_t>(x * 7);
            p[1] = static_cast<std::uint8_t>(y * 5);
            p[2] = static_cast<std::uint8_t>((x ^ y) * 3);
            p[3] = 255;
        }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int frame = 0; frame < 2; ++frame) {   // into both buffers
        glRasterPos2f(-1.0f, -1.0f);
        glDrawPixels(640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        platform.swapBuffers(handle);
    }
    pumpMessages();

    HWND window = reinterpret_cast<HWND>(handle);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Win32Splash screen;
    std::vector<std::uint8_t> shown;
    ASSERT_TRUE(screen.capture({origin.x, origin.y, 640, 480}, shown));
    // The capture is 24-bit BGR, bottom row first, as OpenGL's rows are.
    int different = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const std::uint8_t* want = rgba.data() + (static_cast<std::size_t>(y) * 640 + x) * 4;
            const std::uint8_t* got = shown.data() + static_cast<std::size_t>(y) * screenRowBytes(640) + x * 3;
            different += got[2] != want[0] || got[1] != want[1] || got[0] != want[2];
        }
    EXPECT_EQ(different, 0) << "pixels of the window that are not the picture's own";
    DestroyWindow(window);
}

TEST(Win32Platform, ClockStepsByAMillisecond)
{
    Win32Platform platform(true);
    timeBeginPeriod(1);
    // The smallest step the clock takes: 1 ms here, about 15.6 ms with
    // GetTickCount, which would miss most 5 ms ticks.  A loaded machine that
    // preempts the loop makes some steps longer, never the smallest one.
    std::uint32_t smallestStep = 0xFFFFFFFFu;
    std::uint32_t previous = platform.tickCount();
    const std::uint32_t start = previous;
    for (int steps = 0; steps < 50 && previous - start < 2000;) {
        const std::uint32_t now = platform.tickCount();
        if (now != previous) {
            smallestStep = std::min(smallestStep, now - previous);
            ++steps;
        }
        previous = now;
    }
    timeEndPeriod(1);
    EXPECT_EQ(smallestStep, 1u);
}

TEST(WaveOutAudio, PlaysThroughTheDeviceOrFailsIntoTheNoSoundPath)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    ASSERT_TRUE(mp3);
    WaveOutAudio output;
    if (!output.init(kDefaultAudioDevice, 44100, 0, nullptr)) {
        // No wave device (Wine without a sound server): the music player
        // then asks for the no-sound device, which always works.
        EXPECT_EQ(waveOutGetNumDevs(), 0u);
        ASSERT_TRUE(output.init(kNoSoundDevice, 44100, 0, nullptr));
    }
    EXPECT_EQ(output.channelGetPosition(1), kPositionUnknown);   // no stream yet
    const AudioStream stream = output.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(output.start());
    ASSERT_TRUE(output.streamPlay(stream, false, kStreamLoop));
    std::uint32_t previous = output.channelGetPosition(stream);
    for (int i = 0; i < 10; ++i) {
        Sleep(20);
        const std::uint32_t position = output.channelGetPosition(stream);
        EXPECT_GE(position, previous);
        EXPECT_EQ(position % 4, 0u);
        previous = position;
    }
    // 200 ms of music is 35280 bytes; a device that starts late still moves.
    EXPECT_GT(previous, 0u);
    EXPECT_LT(previous, 176400u * 2);
    output.stop();
    output.streamFree(stream);
    EXPECT_EQ(output.channelGetPosition(stream), kPositionUnknown);
    output.free();
}

}  // namespace
