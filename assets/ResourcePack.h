#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/Resources.h"

// The resources of res/manifest.txt in one data file, for a build that
// cannot compile them into the executable (the browser's: the page fetches
// the file and hands its bytes over).  Layout, little-endian:
//   8 bytes  magic "QHDATA\r\n"
//   4 bytes  entry count
//   per entry: 2 bytes type length, 2 bytes name length, 4 bytes offset,
//              4 bytes size, then the type's and the name's characters
//   the resources' bytes, each at its offset from the file's start
//   4 bytes  CRC-32 of every byte before it
// A damaged file is refused whole with a reason; nothing of it is used.

struct PackedResource {
    std::string type;
    std::string name;
    const unsigned char* data = nullptr;   // inside the bytes read or given to the writer
    std::size_t size = 0;
};

struct ResourcePack {
    std::vector<PackedResource> entries;
    std::string error;   // empty when the file was read whole
};

// Reads a pack in place: the entries point into `bytes`, which must outlive them.
ResourcePack readResourcePack(const unsigned char* bytes, std::size_t size);

// The names of the resources in `expected` (matched by type and name
// without regard to case) that the pack lacks; empty when it holds them all.
std::vector<std::string> missingFromPack(const ResourcePack& pack, const ResourceEntry* expected, std::size_t count);

// Writes the resources into one pack.
std::vector<unsigned char> writeResourcePack(const std::vector<PackedResource>& resources);

// CRC-32 (the polynomial of zip and PNG) of the bytes.
std::uint32_t resourcePackChecksum(const unsigned char* bytes, std::size_t size);
