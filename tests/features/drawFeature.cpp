// draw_feature NAME OUT.png: draws one feature scene on the headless
// context of this build and writes it as a PNG, top row first.
#include <GL/gl.h>
#include <cstdio>
#include <cstring>
#include <stb/stb_image_write.h>
#include <vector>

#include "platform/HeadlessPlatform.h"
#include "tests/features/FeatureScenes.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: draw_feature NAME OUT.png\nnames:");
        for (const FeatureScene& scene : featureScenes())
            std::fprintf(stderr, " %s", scene.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    const FeatureScene* scene = findFeatureScene(argv[1]);
    if (scene == nullptr) {
        std::fprintf(stderr, "draw_feature: no scene named %s\n", argv[1]);
        return 2;
    }
    HeadlessPlatform headless(60, {kFeatureSize, kFeatureSize});
    if (!headless.init() || !headless.createGLContext(headless.createMainWindow("feature", false))) {
        std::fprintf(stderr, "draw_feature: no headless OpenGL context\n");
        return 1;
    }
    scene->draw();
    glFinish();
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "draw_feature: OpenGL error 0x%x drawing %s\n", error, scene->name);
        return 1;
    }
    std::vector<std::uint8_t> rgba;
    headless.picture().readPixels(rgba);
    const int stride = kFeatureSize * 4;
    std::vector<std::uint8_t> topDown(rgba.size());
    for (int y = 0; y < kFeatureSize; ++y)
        std::memcpy(&topDown[static_cast<std::size_t>(y) * stride],
                    &rgba[static_cast<std::size_t>(kFeatureSize - 1 - y) * stride], stride);
    if (stbi_write_png(argv[2], kFeatureSize, kFeatureSize, 4, topDown.data(), stride) == 0) {
        std::fprintf(stderr, "draw_feature: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
