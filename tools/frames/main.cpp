// Prints the measures of Measures.hpp for captured frames.
//
//   frame-measures card FRAME CARD_TEXTURE     letters, surround, contrast
//   frame-measures black FRAME                 share of black pixels
//   frame-measures mean FRAME                  mean luminance
//   frame-measures lit FRAME SCENE OBJECT SCENE_FRAME FOVY [OVERLAY.png]
//                                              share of the object lit
//   frame-measures spread FRAME                luminance spread in the middle
//   frame-measures flicker FRAME...            over successive frames, a frame
//                                              the same as the one before left
//                                              out (the scene moves at 40 Hz):
//                                              the largest share of pixels
//                                              changing by more than 40 levels
//                                              and back, and the middle frame
//                                              of those three
//   frame-measures surface-flicker SCENE FIRST FAR_END FRAME...
//                                              the same without the pixels
//                                              the scene's geometry changes
//                                              (outlines, surfaces moving in
//                                              or out; the
//                                              frames named frameNNNNN.png, of
//                                              a part that begins at FIRST)
//   frame-measures still-banding FRAME OTHER_FRAME...
//                                              banding over what stays still:
//                                              the pixels that change from
//                                              FRAME to any other frame
//                                              (with two round them) left
//                                              out; then the share left out
//   frame-measures banding FRAME               steps between smooth regions:
//                                              how many pixel pairs, the
//                                              largest in levels, and where
//   frame-measures wash-rest CHART             banding of the picture the
//                                              finale's wash leaves of the
//                                              chart texture CHART, nothing
//                                              drawn over it
//   frame-measures streak-end FRAME Y0 Y1      how bright lettering over rows
//                                              Y0..Y1 streaks on past its ends
//                                              (the outer 80 columns), levels
//   frame-measures unlit-spread FRAME SCENE OBJECT SCENE_FRAME FOVY FOG_END
//                                              the same without the lamps
//   frame-measures lamps SCENE OBJECT FOVY FOG_END FIRST END
//                                              the lamps over demo frames
//                                              FIRST..END-1 of a part that
//                                              begins at FIRST (60 fps)
//
// One number per line (the card: three), so a script can compare them.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <stdexcept>
#include <map>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "Measures.hpp"
#include "LampView.hpp"
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

// The scene frame the demo draws at a 60 fps frame: 5 ms ticks since the
// part began, five ticks per scene frame.
unsigned sceneFrameAt(int frame, int partStart)
{
    return unsigned((((frame * 1000 / 60) - (partStart * 1000 / 60)) / 5) / 5 % 1200);
}

// Prints: the largest lamp's share of the frame in per cent and the frame
// that shows it, the frames with a lamp at the top edge, the frames with two
// lamps stacked in one column and the first of them (-1 for none), and the
// number of frames.
void lampsOverPart(char** argv)
{
    const View view{std::atof(argv[4]), 640, 480};
    const LampView lamps(argv[2], argv[3], view, std::atof(argv[5]));
    const int first = std::atoi(argv[6]), end = std::atoi(argv[7]);
    std::map<unsigned, LampFrame> seen;
    double largest = 0;
    int largestAt = first, top = 0, stacked = 0, firstStacked = -1;
    for (int f = first; f < end; ++f) {
        const unsigned scene = sceneFrameAt(f, first);
        auto found = seen.find(scene);
        if (found == seen.end())
            found = seen.emplace(scene, lamps.measure(scene)).first;
        const LampFrame& l = found->second;
        if (l.largestShare > largest)
            largest = l.largestShare, largestAt = f;
        top += l.atTopEdge;
        if (l.stacked && firstStacked < 0)
            firstStacked = f;
        stacked += l.stacked;
    }
    std::printf("%.2f %d %d %d %d %d\n", largest * 100, largestAt, top, stacked, firstStacked, end - first);
}

// The demo frame a captured file shows, from its name (frame01848.png).
int frameNumber(const std::string& path)
{
    const std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t digits = name.find_first_of("0123456789");
    if (digits == std::string::npos)
        throw std::runtime_error(path + ": no frame number in the name");
    return std::atoi(name.c_str() + digits);
}

// Over the frames named from argv[first] on, a frame the same as the one
// before left out (the scene moves at 40 Hz), prints the largest share of
// pixels flipping over three frames and the middle frame of those three.
// With `outlines`, the pixels it gives for the three frames (where the
// geometry changes them) are left out.
int flickerOver(int argc, char** argv, int first, const std::function<Mask(const std::vector<std::string>&)>& outlines)
{
    std::vector<Picture> run;
    std::vector<std::string> names;
    double worst = 0;
    std::string worstAt = "-";
    for (int i = first; i < argc; ++i) {
        Picture p = loadPicture(argv[i]);
        if (!run.empty() && p.rgb == run.back().rgb)
            continue;
        run.push_back(std::move(p));
        names.push_back(argv[i]);
        const size_t n = run.size();
        if (n >= 3) {
            const Mask leftOut = outlines ? outlines({names[n - 3], names[n - 2], names[n - 1]})
                                          : Mask{run[0].width, run[0].height,
                                                 std::vector<unsigned char>(run[0].rgb.size() / 3, 0)};
            const double share = flickerShareWithout(run[n - 3], run[n - 2], run[n - 1], leftOut);
            if (share > worst)
                worst = share, worstAt = names[n - 2];
        }
        if (run.size() > 3)
            run.erase(run.begin()), names.erase(names.begin());
    }
    std::printf("%.4f %s\n", worst, worstAt.c_str());
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: frame-measures card FRAME CARD | black FRAME | mean FRAME | spread FRAME |\n"
                         "       banding FRAME | streak-end FRAME Y0 Y1 |\n"
                         "       flicker FRAME... | surface-flicker SCENE FIRST FAR_END FRAME... |\n"
                         "       still-banding FRAME OTHER_FRAME... | wash-rest CHART |\n"
                         "       lit FRAME SCENE OBJECT SCENE_FRAME FOVY [OVERLAY] |\n"
                         "       unlit-spread FRAME SCENE OBJECT SCENE_FRAME FOVY FOG_END |\n"
                         "       lamps SCENE OBJECT FOVY FOG_END FIRST END\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string what = argv[1];
    try {
        if (what == "flicker")
            return flickerOver(argc, argv, 2, nullptr);
        if (what == "surface-flicker") {
            if (argc < 6)
                return usage();
            const std::string scene = argv[2];
            const int partStart = std::atoi(argv[3]);
            const double farEnd = std::atof(argv[4]);
            const View view{45, 640, 480};
            return flickerOver(argc, argv, 5, [&](const std::vector<std::string>& names) {
                std::vector<unsigned> sceneFrames;
                for (const std::string& name : names)
                    sceneFrames.push_back(sceneFrameAt(frameNumber(name), partStart));
                return geometryChanges(scene, sceneFrames, view, farEnd);
            });
        }
        if (what == "lamps") {
            if (argc != 8)
                return usage();
            lampsOverPart(argv);
            return 0;
        }
        const Picture frame = loadPicture(argv[2]);
        if (what == "card" && argc == 4) {
            const CardContrast c = cardContrast(frame, loadPicture(argv[3]));
            std::printf("%.3f %.3f %.3f\n", c.letters, c.surround, c.contrast);
        } else if (what == "black" && argc == 3) {
            std::printf("%.4f\n", blackShare(frame));
        } else if (what == "mean" && argc == 3) {
            std::printf("%.4f\n", meanLuma(frame));
        } else if (what == "banding" && argc == 3) {
            const Banding b = bandSteps(frame);
            std::printf("%d %d %d,%d\n", b.steps, b.largest, b.x, b.y);
        } else if (what == "wash-rest" && argc == 3) {
            const Banding b = bandSteps(washRest(frame));
            std::printf("%d %d %d,%d\n", b.steps, b.largest, b.x, b.y);
        } else if (what == "still-banding" && argc >= 4) {
            std::vector<Picture> others;
            for (int i = 3; i < argc; ++i)
                others.push_back(loadPicture(argv[i]));
            const Mask moving = changing(frame, others);
            const Banding b = bandStepsWithout(frame, moving);
            std::printf("%d %d %d,%d %.4f\n", b.steps, b.largest, b.x, b.y,
                        double(moving.count()) / (double(frame.width) * frame.height));
        } else if (what == "streak-end" && argc == 5) {
            std::printf("%.1f\n", streakEnd(frame, std::atoi(argv[3]), std::atoi(argv[4])));
        } else if (what == "spread" && argc == 3) {
            std::printf("%.4f\n", centreSpread(frame));
        } else if (what == "unlit-spread" && argc == 8) {
            const View view{std::atof(argv[6]), frame.width, frame.height};
            const LampView lamps(argv[3], argv[4], view, std::atof(argv[7]));
            const std::vector<int> ids = lamps.lampPixels(unsigned(std::atoi(argv[5])));
            Mask mask{frame.width, frame.height, std::vector<unsigned char>(ids.size())};
            for (size_t i = 0; i < ids.size(); ++i)
                mask.on[i] = ids[i] != 0;
            std::printf("%.4f\n", centreSpreadWithout(frame, mask));
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
