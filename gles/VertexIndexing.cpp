#include "gles/VertexIndexing.h"

#include <cstring>

namespace {

static_assert(sizeof(Vertex) % sizeof(std::uint32_t) == 0, "a vertex is hashed as whole 32-bit words");

std::uint32_t hashOf(const Vertex& v)
{
    std::uint32_t words[sizeof(Vertex) / sizeof(std::uint32_t)];
    std::memcpy(words, &v, sizeof(Vertex));
    std::uint32_t hash = 2166136261u;
    for (std::uint32_t word : words)
        hash = (hash ^ word) * 16777619u;
    return hash ^ (hash >> 15);
}

bool worthIndexing(std::size_t given, std::size_t unique)
{
    return unique * 10 <= given * 9;
}

}  // namespace

bool indexVertices(const std::vector<Vertex>& vertices, std::vector<Vertex>& unique,
                   std::vector<std::uint32_t>& indices)
{
    unique.clear();
    indices.clear();
    if (vertices.size() < kIndexedAtLeast)
        return false;
    indices.reserve(vertices.size());
    // Open addressing at most half full: each slot holds a unique vertex's
    // index plus one, 0 where empty.
    std::size_t slots = 16;
    while (slots < 2 * vertices.size())
        slots *= 2;
    std::vector<std::uint32_t> table(slots, 0);
    const std::size_t mask = slots - 1;
    for (const Vertex& v : vertices) {
        std::size_t slot = hashOf(v) & mask;
        while (table[slot] != 0 && std::memcmp(&unique[table[slot] - 1], &v, sizeof(Vertex)) != 0)
            slot = (slot + 1) & mask;
        if (table[slot] == 0) {
            unique.push_back(v);
            table[slot] = static_cast<std::uint32_t>(unique.size());
        }
        indices.push_back(table[slot] - 1);
        if (indices.size() == kIndexedAtLeast && unique.size() == kIndexedAtLeast)
            return false;
    }
    return worthIndexing(vertices.size(), unique.size());
}
