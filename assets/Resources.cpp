#include "assets/Resources.h"

#include <strings.h>

// The table the build generates from res/manifest.txt (see cmake/EmbedResources.cmake).
extern "C" const ResourceEntry qhEmbeddedResources[];
extern "C" const std::uint64_t qhEmbeddedResourceCount;

namespace {

const ResourceEntry* tableEntries = nullptr;
std::size_t tableCount = 0;
bool tableInstalled = false;

}  // namespace

const ResourceEntry* compiledInResources(std::size_t& count)
{
    count = static_cast<std::size_t>(qhEmbeddedResourceCount);
    return qhEmbeddedResources;
}

void useResourceTable(const ResourceEntry* entries, std::size_t count)
{
    tableEntries = entries;
    tableCount = count;
    tableInstalled = true;
}

Resource findResource(const char* type, const char* name)
{
    if (type == nullptr || name == nullptr)
        return {};
    if (!tableInstalled) {
        std::size_t count = 0;
        const ResourceEntry* entries = compiledInResources(count);
        useResourceTable(entries, count);
    }
    for (std::size_t i = 0; i < tableCount; ++i) {
        const ResourceEntry& entry = tableEntries[i];
        if (strcasecmp(entry.type, type) == 0 && strcasecmp(entry.name, name) == 0)
            return {entry.data, static_cast<std::size_t>(entry.size)};
    }
    return {};
}
