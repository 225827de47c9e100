// Paints every texture of the demo and writes them as baseline JPEGs (and
// the pictures with an alpha channel as TGA).
// Usage: textures OUT_DIR [NAME...]
//        textures --icons OUT_DIR   (the program's icon, see icon.hpp)
//        textures --windows-icon FILE.ico
// Pictures are composed upright and stored bottom row first, because the
// demo hands the decoded rows to OpenGL as they are (t = 0 is the bottom).
// Also writes OUT_DIR/manifest-lines.txt with one resource line per file.
#include <cstdio>
#include <exception>
#include <string>

#include "icon.hpp"
#include "jpeg.hpp"
#include "recipes.hpp"

using namespace tex;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR [NAME...]\n", argv[0]);
        return 2;
    }
    if (argc == 3 && (std::string(argv[1]) == "--icons" || std::string(argv[1]) == "--windows-icon")) {
        try {
            if (std::string(argv[1]) == "--icons")
                writeIcons(argv[2]);
            else
                writeWindowsIcon(argv[2]);
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "error: %s\n", e.what());
            return 1;
        }
    }
    const std::string dir = argv[1];
    auto wanted = [&](const std::string& name) {
        if (argc == 2) return true;
        for (int i = 2; i < argc; ++i)
            if (name == argv[i]) return true;
        return false;
    };
    try {
        std::string manifest;
        for (const Recipe& r : allRecipes()) {
            manifest += "ZYT_JPEGTEX   " + r.name + "   textures/" + r.name + "\n";
            if (!wanted(r.name)) continue;
            Image img = r.make(r.size);
            if (img.w != r.size || img.h != r.size) {
                std::fprintf(stderr, "%s: recipe painted %dx%d, expected %d\n", r.name.c_str(), img.w,
                             img.h, r.size);
                return 1;
            }
            writeJpeg(dir + "/" + r.name, flipVertical(img), r.quality, r.subsample420);
            std::printf("%-18s %dx%d\n", r.name.c_str(), r.size, r.size);
        }
        for (const AlphaRecipe& r : allAlphaRecipes()) {
            manifest += "ZYT_JPEGTEX   " + r.name + "   textures/" + r.name + "\n";
            if (!wanted(r.name)) continue;
            AlphaImage img = r.make(r.width, r.height);
            if (img.colour.w != r.width || img.colour.h != r.height) {
                std::fprintf(stderr, "%s: recipe painted %dx%d, expected %dx%d\n", r.name.c_str(), img.colour.w,
                             img.colour.h, r.width, r.height);
                return 1;
            }
            writeTga(dir + "/" + r.name, img, r.maxAlpha);
            std::printf("%-18s %dx%d\n", r.name.c_str(), r.width, r.height);
        }
        if (argc == 2) {
            FILE* f = std::fopen((dir + "/manifest-lines.txt").c_str(), "wb");
            if (!f || std::fwrite(manifest.data(), 1, manifest.size(), f) != manifest.size()) {
                std::fprintf(stderr, "cannot write manifest-lines.txt\n");
                return 1;
            }
            std::fclose(f);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
