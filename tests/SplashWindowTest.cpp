#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/SplashWindow.h"
#include "assets/Resources.h"
#include "tests/TestPlatform.h"

namespace {

// A TGA file in a buffer of exactly its own size, so that a read past its
// end is a heap overflow the address sanitizer reports.
class TgaFile {
public:
    TgaFile(int width, int height, std::uint8_t descriptor = 0x08, std::size_t idLength = 0)
    {
        bytes_.assign(18 + idLength + static_cast<std::size_t>(width) * height * 4, 0);
        bytes_[0] = static_cast<std::uint8_t>(idLength);
        bytes_[2] = 2;
        bytes_[12] = static_cast<std::uint8_t>(width & 0xFF);
        bytes_[13] = static_cast<std::uint8_t>(width >> 8);
        bytes_[14] = static_cast<std::uint8_t>(height & 0xFF);
        bytes_[15] = static_cast<std::uint8_t>(height >> 8);
        bytes_[16] = 32;
        bytes_[17] = descriptor;
        for (std::size_t i = 0; i < idLength; ++i)
            bytes_[18 + i] = 0xEE;
        for (std::size_t i = 18 + idLength; i < bytes_.size(); ++i)
            bytes_[i] = static_cast<std::uint8_t>(i - 18 - idLength);
    }
    std::uint8_t& operator[](std::size_t i) { return bytes_[i]; }
    std::size_t size() const { return bytes_.size(); }

    // Parses the first size bytes, copied into an allocation of that size.
    std::optional<TgaImage> parse(std::size_t size) const
    {
        auto exact = std::make_unique<std::uint8_t[]>(size);
        std::memcpy(exact.get(), bytes_.data(), size);
        return decodeTga(exact.get(), size);
    }
    std::optional<TgaImage> parse() const { return parse(bytes_.size()); }

private:
    std::vector<std::uint8_t> bytes_;
};

TEST(SplashTga, ReadsSizeAndPixelsAfterTheIdField)
{
    const TgaFile file(3, 2, 0x08, 5);
    const std::optional<TgaImage> image = file.parse();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    ASSERT_EQ(image->pixels.size(), 24u);
    for (std::size_t i = 0; i < image->pixels.size(); ++i)
        EXPECT_EQ(image->pixels[i], i);   // the ID field's 0xEE bytes are not pixels
}

TEST(SplashTga, RowsStoredTopFirstAreTurnedRound)
{
    const TgaFile file(2, 3, 0x28);
    const std::optional<TgaImage> image = file.parse();
    ASSERT_TRUE(image);
    // Stored rows 0, 1, 2 (top first) become rows 2, 1, 0 (bottom first).
    EXPECT_EQ(image->pixels[0], 16);
    EXPECT_EQ(image->pixels[8], 8);
    EXPECT_EQ(image->pixels[16], 0);
}

TEST(SplashTga, TruncatedAndWrongFormatFilesAreRefused)
{
    const TgaFile good(4, 4);
    EXPECT_FALSE(good.parse(17)) << "header cut short";
    EXPECT_FALSE(good.parse(good.size() - 1)) << "last pixel byte missing";
    EXPECT_FALSE(good.parse(18)) << "no pixels at all";
    EXPECT_FALSE(decodeTga(nullptr, 0));

    TgaFile longId(4, 4, 0x08, 200);
    EXPECT_FALSE(longId.parse(18 + 100)) << "ID field runs past the end";

    TgaFile mapped = good;
    mapped[1] = 1;
    EXPECT_FALSE(mapped.parse()) << "colour map";
    TgaFile paletted = good;
    paletted[2] = 1;
    EXPECT_FALSE(paletted.parse()) << "colour-mapped image type";
    TgaFile compressed = good;
    compressed[2] = 10;
    EXPECT_FALSE(compressed.parse()) << "run-length encoded";
    TgaFile rgb = good;
    rgb[16] = 24;
    EXPECT_FALSE(rgb.parse()) << "24 bits per pixel";
    TgaFile empty = good;
    empty[12] = 0;
    EXPECT_FALSE(empty.parse()) << "zero width";

    // A header claiming the largest size with only a few pixels behind it.
    TgaFile huge = good;
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
    EXPECT_FALSE(huge.parse());
}

TEST(SplashTga, TheCompiledInPictureHasSoftEdgesAndNeverFullAlpha)
{
    const Resource resource = findResource("ZYT_JPEGTEX", "SPLASH.TGA");
    ASSERT_TRUE(resource);
    ASSERT_EQ(resource.size, 18u + 320u * 240u * 4u);
    EXPECT_EQ(resource.data[17], 0x08);   // 8 alpha bits, bottom row first
    const std::optional<TgaImage> image = decodeTga(resource.data, resource.size);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 320);
    ASSERT_EQ(image->height, 240);
    int largest = 0;
    int borderLargest = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const int alpha = image->pixels[(static_cast<std::size_t>(y) * 320 + x) * 4 + 3];
            largest = std::max(largest, alpha);
            if (x == 0 || y == 0 || x == 319 || y == 239)
                borderLargest = std::max(borderLargest, alpha);
        }
    EXPECT_EQ(largest, 253);
    EXPECT_EQ(borderLargest, 0);
    // The drop shadow falls down and to the right: below the plate's
    // bottom-right corner it is half transparent, above its top-left clear.
    const auto alphaAt = [&](int x, int yFromTop) {
        return image->pixels[(static_cast<std::size_t>(239 - yFromTop) * 320 + x) * 4 + 3];
    };
    EXPECT_GT(alphaAt(280, 210), 60);
    EXPECT_EQ(alphaAt(8, 8), 0);
}

TEST(SplashRectangle, IsCentredAndExactlyThePictureSize)
{
    const ScreenRect large = splashRectangle(1024, 768, 320, 240);
    EXPECT_EQ(large.left, 352);
    EXPECT_EQ(large.top, 264);
    EXPECT_EQ(large.left + large.width, 672);
    EXPECT_EQ(large.top + large.height, 504);
    const ScreenRect small = splashRectangle(640, 480, 320, 240);
    EXPECT_EQ(small.left, 160);
    EXPECT_EQ(small.top, 120);
    EXPECT_EQ(small.left + small.width, 480);
    EXPECT_EQ(small.top + small.height, 360);
    // Odd sizes: the rectangle still holds every pixel of the picture and
    // stays on the screen.
    const ScreenRect odd = splashRectangle(11, 7, 5, 7);
    EXPECT_EQ(odd.left, 3);
    EXPECT_EQ(odd.top, 0);
    EXPECT_EQ(odd.width, 5);
    EXPECT_EQ(odd.height, 7);
}

TEST(SplashComposition, DividesBy256AndLeavesTheDesktopWhereClear)
{
    EXPECT_EQ(composeChannel(200, 77, 0), 77);
    EXPECT_EQ(composeChannel(255, 255, 0), 255);
    EXPECT_EQ(composeChannel(255, 0, 255), 254);     // full alpha still loses a step
    EXPECT_EQ(composeChannel(255, 255, 255), 254);
    EXPECT_EQ(composeChannel(0, 255, 255), 0);
    EXPECT_EQ(composeChannel(255, 0, 253), 252);     // the picture's strongest alpha
    EXPECT_EQ(composeChannel(255, 255, 253), 254);
    EXPECT_EQ(composeChannel(100, 200, 253), 100);   // (25300 + 400) >> 8
    EXPECT_EQ(composeChannel(0, 255, 1), 253);       // 254 * 255 >> 8
}

TEST(SplashComposition, WorksRowByRowOverPaddedDesktopRows)
{
    TgaImage image;
    image.width = 3;   // 9 bytes of colour, 3 of padding per desktop row
    image.height = 2;
    image.pixels = {
        10, 20, 30, 0,   255, 255, 255, 255,   0, 0, 0, 253,   // bottom row
        1, 2, 3, 128,    4, 5, 6, 0,           7, 8, 9, 1,     // top row
    };
    std::vector<std::uint8_t> desktop(24, 200);
    composeSplash(image, desktop);
    const std::vector<std::uint8_t> expected = {
        200, 200, 200,   254, 254, 254,   1, 1, 1,   200, 200, 200,
        (1 * 128 + 200 * 127) >> 8, (2 * 128 + 200 * 127) >> 8, (3 * 128 + 200 * 127) >> 8,
        200, 200, 200,
        (7 + 200 * 254) >> 8, (8 + 200 * 254) >> 8, (9 + 200 * 254) >> 8,
        200, 200, 200,
    };
    EXPECT_EQ(desktop, expected);   // padding bytes untouched

    std::vector<std::uint8_t> wrongSize(18, 200);   // rows not padded: not a capture of this picture
    composeSplash(image, wrongSize);
    EXPECT_EQ(wrongSize, std::vector<std::uint8_t>(18, 200));
}

// A desktop that records what the splash asks of it.
class FakeDesktop : public HeadlessPlatform {
public:
    FakeDesktop() : HeadlessPlatform(60) {}

    ScreenRect screen{0, 0, 1024, 768};
    bool hasScreen = true;
    bool canCapture = true;
    std::uint8_t desktopBlue = 40, desktopGreen = 90, desktopRed = 160;

    int captures = 0;
    int shows = 0;
    int hides = 0;
    ScreenRect shownRect;
    std::vector<std::uint8_t> shownPixels;
    std::string shownTitle;

    bool screenArea(ScreenRect& area) override
    {
        area = screen;
        return hasScreen;
    }
    bool captureScreen(const ScreenRect& rect, std::vector<std::uint8_t>& pixels) override
    {
        ++captures;
        if (!canCapture)
            return false;
        pixels.assign(screenRowBytes(rect.width) * rect.height, 0);
        for (int y = 0; y < rect.height; ++y)
            for (int x = 0; x < rect.width; ++x) {
                std::uint8_t* p = pixels.data() + y * screenRowBytes(rect.width) + x * 3;
                p[0] = desktopBlue;
                p[1] = desktopGreen;
                p[2] = desktopRed;
            }
        return true;
    }
    bool showSplash(const ScreenRect& rect, const std::vector<std::uint8_t>& pixels, const char* title) override
    {
        ++shows;
        shownRect = rect;
        shownPixels = pixels;
        shownTitle = title;
        return true;
    }
    void hideSplash() override { ++hides; }
};

class SplashWindowTest : public ::testing::Test {
protected:
    void SetUp() override { setPlatform(&desktop); }
    void TearDown() override { testPlatform(); }

    // The expected window content: the picture over the fake desktop colour,
    // or over black.
    std::vector<std::uint8_t> composedOver(std::uint8_t blue, std::uint8_t green, std::uint8_t red) const
    {
        const Resource resource = findResource("ZYT_JPEGTEX", "SPLASH.TGA");
        const TgaImage image = *decodeTga(resource.data, resource.size);
        std::vector<std::uint8_t> pixels(screenRowBytes(320) * 240);
        for (std::size_t i = 0; i < pixels.size(); i += 3) {
            pixels[i] = blue;
            pixels[i + 1] = green;
            pixels[i + 2] = red;
        }
        composeSplash(image, pixels);
        return pixels;
    }

    FakeDesktop desktop;
};

TEST_F(SplashWindowTest, ShowsThePictureOverTheCapturedScreenAndHidesItAtTeardown)
{
    {
        SplashWindow splash("splash.tga");   // names match without regard to case
        EXPECT_TRUE(splash.shown());
        EXPECT_EQ(desktop.captures, 1);
        ASSERT_EQ(desktop.shows, 1);
        EXPECT_EQ(desktop.shownRect.left, 352);
        EXPECT_EQ(desktop.shownRect.top, 264);
        EXPECT_EQ(desktop.shownRect.width, 320);
        EXPECT_EQ(desktop.shownRect.height, 240);
        EXPECT_EQ(desktop.shownTitle, "Bildo.exe");
        EXPECT_EQ(desktop.shownPixels, composedOver(40, 90, 160));
        EXPECT_EQ(desktop.hides, 0);
    }
    EXPECT_EQ(desktop.hides, 1);
}

TEST_F(SplashWindowTest, ComposesOverBlackWhenTheScreenCannotBeRead)
{
    desktop.canCapture = false;
    SplashWindow splash("SPLASH.TGA");
    EXPECT_TRUE(splash.shown());
    EXPECT_EQ(desktop.shownPixels, composedOver(0, 0, 0));
}

TEST_F(SplashWindowTest, ScreensOffsetFromTheOriginPlaceTheSplashOnThem)
{
    desktop.screen = {1920, 0, 640, 480};
    SplashWindow splash("SPLASH.TGA");
    EXPECT_EQ(desktop.shownRect.left, 1920 + 160);
    EXPECT_EQ(desktop.shownRect.top, 120);
}

TEST_F(SplashWindowTest, NoSplashWithoutScreenOnSmallScreensOrWithoutPicture)
{
    desktop.hasScreen = false;
    {
        SplashWindow splash("SPLASH.TGA");
        EXPECT_FALSE(splash.shown());
    }
    desktop.hasScreen = true;
    desktop.screen = {0, 0, 319, 480};   // one pixel too narrow for the picture
    {
        SplashWindow splash("SPLASH.TGA");
        EXPECT_FALSE(splash.shown());
    }
    desktop.screen = {0, 0, 1024, 768};
    {
        SplashWindow splash("NOSUCH.TGA");
        EXPECT_FALSE(splash.shown());
        SplashWindow jpeg("WHITE.JPG");   // a resource, but not a TGA
        EXPECT_FALSE(jpeg.shown());
    }
    EXPECT_EQ(desktop.captures, 0);
    EXPECT_EQ(desktop.shows, 0);
    EXPECT_EQ(desktop.hides, 0);
}

TEST(SplashWindowHeadless, ShowsNothing)
{
    testPlatform();
    SplashWindow splash("SPLASH.TGA");
    EXPECT_FALSE(splash.shown());
}

}  // namespace
