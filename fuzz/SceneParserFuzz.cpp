// libFuzzer target: any bytes given to the scene parser must be read without
// leaving them, and either parsed or refused.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scene/SceneParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Scene scene;
    std::string problem;
    const bool ok = parseScene(data, size, scene, SceneTextureHooks{}, problem);
    if (ok && !problem.empty())
        __builtin_trap();
    return 0;
}
