// draw_feature NAME OUT.png: draws one feature scene on the headless
// context of this build and writes it as a PNG, top row first.
// In a web page (the browser build's quittenhain_features.js) the page makes
// the module with a canvas and the scene's name as its one argument; the
// picture is left in Module.featurePicture ({width, height, rgba}, rows
// bottom first as glReadPixels gives them) before main returns 0.
#include <GL/gl.h>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/HeadlessPlatform.h"
#include "tests/features/FeatureScenes.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

EM_JS(void, qh_feature_picture, (int width, int height, const unsigned char* rgba), {
    Module["featurePicture"] = {width : width, height : height, rgba : HEAPU8.slice(rgba, rgba + width * height * 4)};
});
constexpr int kArguments = 2;
#else
#include <stb/stb_image_write.h>
constexpr int kArguments = 3;
#endif

namespace {

bool handOver(const std::vector<std::uint8_t>& rgba, const char* where)
{
#ifdef __EMSCRIPTEN__
    (void)where;
    qh_feature_picture(kFeatureSize, kFeatureSize, rgba.data());
    return true;
#else
    const int stride = kFeatureSize * 4;
    std::vector<std::uint8_t> topDown(rgba.size());
    for (int y = 0; y < kFeatureSize; ++y)
        std::memcpy(&topDown[static_cast<std::size_t>(y) * stride],
                    &rgba[static_cast<std::size_t>(kFeatureSize - 1 - y) * stride], stride);
    if (stbi_write_png(where, kFeatureSize, kFeatureSize, 4, topDown.data(), stride) == 0) {
        std::fprintf(stderr, "draw_feature: cannot write %s\n", where);
        return false;
    }
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != kArguments) {
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
    return handOver(rgba, argv[kArguments - 1]) ? 0 : 1;
}
