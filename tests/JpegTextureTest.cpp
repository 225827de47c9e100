#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <turbojpeg.h>
#include <vector>

#include "assets/JpegDecoder.h"
#include "assets/JpegTexture.h"
#include "assets/Resources.h"
#include "fx/Overlays.h"
#include "tests/TestPlatform.h"

namespace {

// A baseline JPEG of the given size whose stored rows are red in the first
// half and blue in the second.
std::vector<unsigned char> encodeTestJpeg(int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* texel = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            texel[0] = y < height / 2 ? 255 : 0;
            texel[1] = 0;
            texel[2] = y < height / 2 ? 0 : 255;
        }
    tjhandle compressor = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(compressor, rgb.data(), width, width * 3, height, TJPF_RGB, &jpeg, &size, TJSAMP_444, 95, 0);
    std::vector<unsigned char> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(compressor);
    return bytes;
}

GLint boundTextureSize(GLenum which)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

TEST(JpegDecoder, KeepsStoredRowOrderAndPadsRowsForOpenGL)
{
    const std::vector<unsigned char> jpeg = encodeTestJpeg(10, 8);
    const JpegImage image = decodeJpeg(jpeg.data(), jpeg.size());
    ASSERT_EQ(image.status, JpegImage::Status::Decoded);
    EXPECT_EQ(image.width, 10);
    EXPECT_EQ(image.height, 8);
    EXPECT_EQ(image.pitch, 32u);   // 30 bytes rounded up to a multiple of 4
    ASSERT_EQ(image.rgb.size(), 32u * 8u);
    EXPECT_GT(image.rgb[0], 200);                 // first stored row: red
    EXPECT_GT(image.rgb[7 * 32 + 2], 200);        // last stored row: blue
}

TEST(JpegDecoder, DamagedDataNeverReadsOrWritesOutOfBounds)
{
    const std::vector<unsigned char> jpeg = encodeTestJpeg(64, 64);
    for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{20}, jpeg.size() / 2, jpeg.size() - 2}) {
        const std::vector<unsigned char> truncated(jpeg.begin(), jpeg.begin() + static_cast<long>(cut));
        const JpegImage image = decodeJpeg(truncated.empty() ? nullptr : truncated.data(), truncated.size());
        EXPECT_NE(image.status, JpegImage::Status::Decoded) << "cut at " << cut;
        EXPECT_EQ(image.rgb.size(), image.pitch * static_cast<std::size_t>(image.height));
    }
    // A header claiming a picture of 65000 x 65000 is refused, not allocated.
    std::vector<unsigned char> forged = jpeg;
    for (std::size_t i = 0; i + 8 < forged.size(); ++i) {
        if (forged[i] == 0xFF && forged[i + 1] == 0xC0) {   // start of frame: height and width follow
            forged[i + 5] = forged[i + 7] = 0xFD;
            forged[i + 6] = forged[i + 8] = 0xE8;
            break;
        }
    }
    const JpegImage huge = decodeJpeg(forged.data(), forged.size());
    EXPECT_EQ(huge.status, JpegImage::Status::HeaderUnreadable);
    EXPECT_TRUE(huge.rgb.empty());
}

TEST(JpegTexture, EveryCompiledInPictureDecodesToItsSize)
{
    const struct {
        int side;
        std::vector<const char*> names;
    } sizes[] = {
        {128, {"WHITE.JPG", "BLACK.JPG"}},
        {256, {"PLASMA.JPG", "BLUR.JPG", "PART5ENVI.JPG", "GLOW.JPG", "GLOW2.JPG", "MARMORIT.JPG", "PART3ENVI2.JPG",
               "PART3ENVI.JPG", "PART3MAP1.JPG", "PART3MAP2.JPG", "PART3MAP3.JPG", "PART3MAP4.JPG"}},
        {512, {"TESTPATTERN.JPG", "MAP.JPG", "KOLBAR.JPG", "MERIDOS.JPG", "TWL.JPG", "TEMPELCOLUMN.JPG",
               "TEMPELDECAL.JPG", "TEMPELGROUND.JPG", "ENVIBLUM.JPG", "MGROUND.JPG", "MTCOLUMN.JPG", "MTGROUND.JPG",
               "MTROOF.JPG"}},
    };
    int pictures = 0;
    for (const auto& size : sizes) {
        for (const char* name : size.names) {
            const Resource jpeg = findResource("ZYT_JPEGTEX", name);
            ASSERT_TRUE(jpeg) << name;
            const JpegImage image = decodeJpeg(jpeg.data, jpeg.size);
            EXPECT_EQ(image.status, JpegImage::Status::Decoded) << name;
            EXPECT_EQ(image.width, size.side) << name;
            EXPECT_EQ(image.height, size.side) << name;
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 27);
    // The plain ones are plain, so the washes and fades they make are exact.
    const Resource white = findResource("ZYT_JPEGTEX", "WHITE.JPG");
    const JpegImage whiteImage = decodeJpeg(white.data, white.size);
    EXPECT_EQ(*std::min_element(whiteImage.rgb.begin(), whiteImage.rgb.end()), 255);
}

TEST(JpegTexture, MissingResourceShowsTheMessageAndStillGivesATexture)
{
    TestPlatform& system = testPlatform();
    system.messages.clear();
    GLuint name = 0;
    loadJpegTexture(name, "NO_SUCH_PICTURE.JPG");
    EXPECT_NE(name, 0u);
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].text, "ILJ-ParamRead failed!");
    EXPECT_EQ(system.messages[0].caption, "Meldung");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), name);
    EXPECT_EQ(boundTextureSize(GL_TEXTURE_WIDTH), 0);
}

TEST(JpegTexture, FirstStoredRowIsDrawnAtTheBottom)
{
    testPlatform();
    const std::vector<unsigned char> jpeg = encodeTestJpeg(16, 16);
    const GLuint first = createJpegTexture(jpeg.data(), jpeg.size());
    const GLuint second = createJpegTexture(jpeg.data(), jpeg.size());
    EXPECT_NE(first, second);   // the same picture twice is two textures
    EXPECT_EQ(boundTextureSize(GL_TEXTURE_WIDTH), 16);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);

    glViewport(0, 0, 640, 480);
    glDisable(GL_DEPTH_TEST);
    drawTexturedOverlay(first, 1, 1, 1, 1);
    const Pixel bottom = pixelAt(320, 10);
    const Pixel top = pixelAt(320, 470);
    EXPECT_GT(bottom.r, 200);
    EXPECT_LT(bottom.b, 60);
    EXPECT_GT(top.b, 200);
    EXPECT_LT(top.r, 60);
}

}  // namespace
