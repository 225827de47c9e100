#pragma once
#include <cstddef>
#include <cstdint>

// A resource compiled into the executable: its bytes and their count.
// data is null (and size 0) when the lookup found nothing.
struct Resource {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// Finds a compiled-in resource by type and name, both matched without
// regard to case.  Never fails loudly: a missing resource is an empty one.
Resource findResource(const char* type, const char* name);

// One row of the table findResource searches.  The build generates the
// table compiled into the executable from res/manifest.txt (see
// cmake/EmbedResources.cmake); a build without one installs its own.
struct ResourceEntry {
    const char* type;
    const char* name;
    const unsigned char* data;
    std::uint64_t size;
};

// The table compiled into the executable, searched until another is
// installed.  A build whose resources arrive in a data file compiles in a
// table that names them all, without bytes.
const ResourceEntry* compiledInResources(std::size_t& count);

// From now on findResource searches these entries, which must stay alive.
void useResourceTable(const ResourceEntry* entries, std::size_t count);
