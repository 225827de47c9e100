#include "assets/Resources.h"

#include <cstdint>
#include <strings.h>

// The table the build generates from res/manifest.txt (see cmake/EmbedResources.cmake).
struct EmbeddedResource {
    const char* type;
    const char* name;
    const unsigned char* data;
    std::uint64_t size;
};
extern "C" const EmbeddedResource qhEmbeddedResources[];
extern "C" const std::uint64_t qhEmbeddedResourceCount;

Resource findResource(const char* type, const char* name)
{
    if (type == nullptr || name == nullptr)
        return {};
    for (std::uint64_t i = 0; i < qhEmbeddedResourceCount; ++i) {
        const EmbeddedResource& entry = qhEmbeddedResources[i];
        if (strcasecmp(entry.type, type) == 0 && strcasecmp(entry.name, name) == 0)
            return {entry.data, static_cast<std::size_t>(entry.size)};
    }
    return {};
}
