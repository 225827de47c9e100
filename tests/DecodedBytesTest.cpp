// The music and the pictures decode to the same bytes on every system the
// demo is built for (both builds use the same libmpg123 and TurboJPEG), so
// sync positions and pictures agree between them.  The expected checksums
// were taken from the Linux build; the Windows build must reproduce them.
// They belong to the compiled-in music and PLASMA.JPG: re-rendering either
// asset means taking them again.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "assets/JpegDecoder.h"
#include "assets/Resources.h"
#include "platform/Mp3Stream.h"

namespace {

// 64-bit FNV-1a, continued over several blocks.
std::uint64_t fnv1a(std::uint64_t hash, const unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}
constexpr std::uint64_t kFnvStart = 0xcbf29ce484222325ull;

TEST(DecodedBytes, MusicIsGaplessAndItsPcmIsTheSameOnEverySystem)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    ASSERT_TRUE(mp3);
    Mp3Stream stream;
    ASSERT_TRUE(stream.open(mp3.data, mp3.size));
    // The music alone, without the encoder's delay and padding.
    EXPECT_EQ(stream.lengthBytes(), 11333700u * 4u);

    std::vector<unsigned char> block(65536);
    std::uint64_t hash = kFnvStart;
    std::uint64_t total = 0;
    for (std::size_t got; (got = stream.read(block.data(), block.size())) > 0;) {
        hash = fnv1a(hash, block.data(), got);
        total += got;
    }
    EXPECT_EQ(total, stream.lengthBytes());
    EXPECT_EQ(hash, 0xc3a6a1b388ac436eull) << std::hex << hash;
}

TEST(DecodedBytes, PicturePixelsAreTheSameOnEverySystem)
{
    const Resource jpeg = findResource("ZYT_JPEGTEX", "PLASMA.JPG");
    ASSERT_TRUE(jpeg);
    const JpegImage image = decodeJpeg(jpeg.data, jpeg.size);
    ASSERT_EQ(image.status, JpegImage::Status::Decoded);
    ASSERT_EQ(image.width, 256);
    const std::uint64_t hash = fnv1a(kFnvStart, image.rgb.data(), image.rgb.size());
    EXPECT_EQ(hash, 0xfc16ee9ac459edaeull) << std::hex << hash;
}

}  // namespace
