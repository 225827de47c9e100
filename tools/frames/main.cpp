// Prints the measures of Measures.hpp for captured frames.
//
//   frame-measures card FRAME CARD_TEXTURE     letters, surround, contrast
//   frame-measures black FRAME                 share of black pixels
//   frame-measures lit FRAME SCENE OBJECT SCENE_FRAME FOVY [OVERLAY.png]
//                                              share of the object lit
//   frame-measures spread FRAME                luminance spread in the middle
//
// One number per line (the card: three), so a script can compare them.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "Measures.hpp"
#include "ObjectMask.hpp"

using namespace frames;

namespace {

// The frame with the mask's pixels tinted red, to check the mask by eye.
void writeOverlay(const std::string& path, Picture frame, const Mask& mask)
{
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (mask.at(x, y))
                frame.rgb[(size_t(y) * frame.width + x) * 3] = 255;
    stbi_write_png(path.c_str(), frame.width, frame.height, 3, frame.rgb.data(), frame.width * 3);
}

int usage()
{
    std::fprintf(stderr, "usage: frame-measures card FRAME CARD | black FRAME | spread FRAME |\n"
                         "       lit FRAME SCENE OBJECT SCENE_FRAME FOVY [OVERLAY]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string what = argv[1];
    try {
        const Picture frame = loadPicture(argv[2]);
        if (what == "card" && argc == 4) {
            const CardContrast c = cardContrast(frame, loadPicture(argv[3]));
            std::printf("%.3f %.3f %.3f\n", c.letters, c.surround, c.contrast);
        } else if (what == "black" && argc == 3) {
            std::printf("%.4f\n", blackShare(frame));
        } else if (what == "spread" && argc == 3) {
            std::printf("%.4f\n", centreSpread(frame));
        } else if (what == "lit" && (argc == 7 || argc == 8)) {
            const View view{std::atof(argv[6]), frame.width, frame.height};
            const Mask mask = objectMask(argv[3], argv[4], unsigned(std::atoi(argv[5])), view);
            if (argc == 8)
                writeOverlay(argv[7], frame, mask);
            std::printf("%.4f\n", mask.count() ? litShare(frame, mask) : 0.0);
        } else {
            return usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "frame-measures: %s\n", e.what());
        return 1;
    }
    return 0;
}
