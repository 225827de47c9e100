#pragma once
#include <cstddef>

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
