#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "assets/Resources.h"
#include "platform/Mp3Stream.h"

namespace {

TEST(Resources, LookupIgnoresCaseAndMissingNamesGiveNothing)
{
    const Resource exact = findResource("ZYT_MUCKE", "ZYT_MUCKE_DAT");
    ASSERT_TRUE(exact);
    const Resource lower = findResource("zyt_mucke", "Zyt_Mucke_Dat");
    EXPECT_EQ(lower.data, exact.data);
    EXPECT_EQ(lower.size, exact.size);
    EXPECT_FALSE(findResource("ZYT_MUCKE", "NOTHING.JPG"));
    EXPECT_FALSE(findResource("ZYT_SCENE", "ZYT_MUCKE_DAT"));   // right name, wrong type
    EXPECT_FALSE(findResource(nullptr, "ZYT_MUCKE_DAT"));
}

TEST(Resources, SyncDataIsTheStoredText)
{
    const Resource dat = findResource("ZYT_MUCKE", "ZYT_MUCKE_DAT");
    ASSERT_EQ(dat.size, 348u);
    const std::string text(reinterpret_cast<const char*>(dat.data), dat.size);
    EXPECT_EQ(text.substr(0, 17), "3\r\nSzenensync_1\r\n");
    EXPECT_NE(text.find("Part2_Wei\xDF" "flashes_2\r\n3\r\n19.1\r\n"), std::string::npos);
    EXPECT_NE(text.find("Tuch-Kr\xE4" "fte\r\n28\r\n140.0\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 7), "\r\n161.7");   // no line break after the last time
}

TEST(Resources, MusicDecodesToAboutFourAndAQuarterMinutesOfStereo)
{
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    ASSERT_TRUE(mp3);
    Mp3Stream stream;
    ASSERT_TRUE(stream.open(mp3.data, mp3.size));
    const double seconds = static_cast<double>(stream.lengthBytes()) / 176400.0;
    EXPECT_GE(seconds, 256.0);
    EXPECT_LE(seconds, 258.0);
    unsigned char pcm[4096];
    EXPECT_EQ(stream.read(pcm, sizeof pcm), sizeof pcm);

    Mp3Stream broken;
    const unsigned char noise[] = {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc};
    EXPECT_FALSE(broken.open(noise, sizeof noise));
    EXPECT_FALSE(broken.open(nullptr, 0));
    EXPECT_EQ(broken.read(pcm, sizeof pcm), 0u);
}

}  // namespace
