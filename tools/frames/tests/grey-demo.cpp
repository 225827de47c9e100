// A stand-in for the demo in capture mode that draws every frame plain grey:
//   grey-demo --capture DIR --fps N --frames LIST
// Writes DIR/frameNNNNN.png for each listed frame and reports part 3's first
// frame and those of parts 9 and 10 as the demo does, so check-frames.sh
// can run without the demo.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

int main(int argc, char** argv)
{
    std::string dir, frames;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--capture")
            dir = argv[++i];
        else if (option == "--frames")
            frames = argv[++i];
    }
    if (dir.empty() || frames.empty())
        return 2;
    std::fprintf(stderr, "part 2 begins at frame 760 (music 12.667 s)\n");
    std::fprintf(stderr, "part 3 begins at frame 2299 (music 38.317 s)\n");
    std::fprintf(stderr, "part 9 begins at frame 11275 (music 187.917 s)\n");
    std::fprintf(stderr, "part 10 begins at frame 12715 (music 211.917 s)\n");
    const std::vector<unsigned char> grey(640 * 480 * 3, 128);
    std::stringstream list(frames);
    for (std::string f; std::getline(list, f, ',');) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame%05d.png", std::stoi(f));
        if (!stbi_write_png((dir + name).c_str(), 640, 480, 3, grey.data(), 640 * 3))
            return 3;
    }
    return 0;
}
