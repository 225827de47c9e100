#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

#include "tests/PngImage.h"
#include "tests/features/FeatureScenes.h"

namespace {

// How far the OpenGL ES picture of a scene may be from the desktop one.  A
// pixel counts as different when any channel is off by more than `step`;
// at most `share` of the pixels may.  Lighting, fog and texturing are
// computed in the same precision by both, so their pixels agree within a
// step or two; where rasterisation rules differ (the edges of wide lines,
// points and outlines) single pixels may be missing or added along them.
// `drawn` is how many pixels the scene must colour at least, so that two
// empty pictures cannot pass.
struct Tolerance {
    const char* scene;
    int step;
    double share;
    int drawn;
};

constexpr Tolerance kTolerances[] = {
    {"lit-sphere", 3, 0.002, 7000},     {"fog", 3, 0.002, 4000},
    {"sphere-map", 3, 0.002, 7000},     {"wireframe-torus", 3, 0.005, 2000},
    {"flat-lit-wireframe", 3, 0.005, 2000}, {"wide-line", 3, 0.005, 550},       {"large-points", 3, 0.002, 36 * 64},
    {"additive-blending", 3, 0.002, 4000},  {"light-attenuation", 3, 0.002, 15000},
    {"alpha-rounding", 0, 0.0, kFeatureSize * kFeatureSize},
};

constexpr unsigned char kClear[3] = {26, 26, 51};

Image drawn(const char* program, const std::string& scene, const std::filesystem::path& dir)
{
    const std::filesystem::path file = dir / (scene + ".png");
    const std::string command = std::string(program) + " " + scene + " " + file.string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return loadPng(file);
}

struct Comparison {
    int differing = 0;
    int coloured = 0;
};

Comparison compare(const Image& es, const Image& desktop, int step)
{
    Comparison result;
    for (std::size_t pixel = 0; pixel + 2 < desktop.rgb.size(); pixel += 3) {
        int worst = 0;
        bool background = true;
        for (std::size_t c = 0; c < 3; ++c) {
            worst = std::max(worst, std::abs(int(es.rgb[pixel + c]) - int(desktop.rgb[pixel + c])));
            background = background && std::abs(int(desktop.rgb[pixel + c]) - int(kClear[c])) <= 1;
        }
        result.differing += worst > step;
        result.coloured += !background;
    }
    return result;
}

}  // namespace

TEST(FeaturePictures, EveryFeatureDrawsTheSamePictureOnOpenGlEsAsOnDesktopOpenGl)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quittenhain-features-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "desktop");
    std::filesystem::create_directories(dir / "es");
    ASSERT_TRUE(std::filesystem::exists(QUITTENHAIN_DESKTOP_DRAW_FEATURE))
        << "the desktop build's " << QUITTENHAIN_DESKTOP_DRAW_FEATURE << " is missing: build the desktop variant first";
    ASSERT_EQ(std::size(kTolerances), featureScenes().size());
    for (const Tolerance& tolerance : kTolerances) {
        SCOPED_TRACE(tolerance.scene);
        const Image desktop = drawn(QUITTENHAIN_DESKTOP_DRAW_FEATURE, tolerance.scene, dir / "desktop");
        const Image es = drawn(QUITTENHAIN_ES_DRAW_FEATURE, tolerance.scene, dir / "es");
        ASSERT_EQ(desktop.width, kFeatureSize);
        ASSERT_EQ(es.width, kFeatureSize);
        const Comparison result = compare(es, desktop, tolerance.step);
        const double share = static_cast<double>(result.differing) / (kFeatureSize * kFeatureSize);
        std::cout << tolerance.scene << ": " << result.differing << " pixels off by more than " << tolerance.step
                  << " (share " << share << "), " << result.coloured << " drawn\n";
        EXPECT_GE(result.coloured, tolerance.drawn) << "the desktop picture shows too little of the scene";
        EXPECT_LE(share, tolerance.share) << result.differing << " pixels differ";
    }
    // Kept for a look when something failed.
    if (!::testing::Test::HasFailure())
        std::filesystem::remove_all(dir);
    else
        std::cout << "pictures kept in " << dir << '\n';
}
