#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace {

// The scene parts captured headless compared with tests/golden/ (made by
// scripts/update-golden-frames.sh).  Tolerance: mean channel difference at
// most 1.5, and at most 0.5 % of the channel values off by more than 24.
struct Picture {
    int width = 0, height = 0;
    unsigned char* rgb = nullptr;
    explicit Picture(const std::string& path) { rgb = stbi_load(path.c_str(), &width, &height, nullptr, 3); }
    ~Picture() { stbi_image_free(rgb); }
};

TEST(GoldenFrames, ScenePartsMatchTheirReferences)
{
    const std::string dir = ::testing::TempDir() + "golden-capture";
    struct Shot {
        const char* part;
        const char* from;
        const char* until;
        const char* frame;
    };
    for (const Shot& shot : {Shot{"part2", "18.5", "18.6", "00037"}, Shot{"part3", "50", "50.1", "00100"},
                             Shot{"part9", "200", "200.1", "00400"}}) {
        SCOPED_TRACE(shot.part);
        const std::string out = dir + "/" + shot.part;
        const std::string command = std::string("mkdir -p ") + out + " && " + QUITTENHAIN_BINARY + " --capture " +
                                    out + " --fps 2 --from " + shot.from + " --until " + shot.until +
                                    " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const Picture actual(out + "/frame" + shot.frame + ".png");
        const Picture expected(std::string(QUITTENHAIN_SOURCE_DIR) + "/tests/golden/" + shot.part + ".png");
        ASSERT_NE(actual.rgb, nullptr);
        ASSERT_NE(expected.rgb, nullptr);
        ASSERT_EQ(actual.width, expected.width);
        ASSERT_EQ(actual.height, expected.height);
        const std::size_t values = static_cast<std::size_t>(actual.width) * actual.height * 3;
        double total = 0;
        std::size_t far = 0;
        for (std::size_t i = 0; i < values; ++i) {
            const int d = std::abs(actual.rgb[i] - expected.rgb[i]);
            total += d;
            far += d > 24;
        }
        EXPECT_LE(total / values, 1.5);
        EXPECT_LE(far, values / 200);
    }
}

}  // namespace
