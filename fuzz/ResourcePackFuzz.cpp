// libFuzzer target: any bytes given to the resource pack reader must be read
// without leaving them, and either refused whole or read into entries that
// lie inside them; an accepted pack, written again, reads back the same.
// Nearly every change to a pack breaks its checksum, which refuses it before
// the table is looked at, so each input is also read with its last four
// bytes made the right checksum: the table's own checks then see it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "assets/ResourcePack.h"

namespace {

void check(const std::vector<unsigned char>& bytes)
{
    const ResourcePack pack = readResourcePack(bytes.data(), bytes.size());
    if (!pack.error.empty()) {
        if (!pack.entries.empty())
            __builtin_trap();   // a refused pack hands nothing out
        return;
    }
    const unsigned char* begin = bytes.data();
    const unsigned char* end = begin + bytes.size() - 4;   // the checksum is no resource's
    for (const PackedResource& entry : pack.entries)
        if (entry.type.empty() || entry.name.empty() || entry.data < begin || entry.data > end ||
            entry.size > static_cast<std::size_t>(end - entry.data))
            __builtin_trap();

    const std::vector<unsigned char> again = writeResourcePack(pack.entries);
    const ResourcePack reread = readResourcePack(again.data(), again.size());
    if (!reread.error.empty() || reread.entries.size() != pack.entries.size())
        __builtin_trap();
    for (std::size_t i = 0; i < pack.entries.size(); ++i) {
        const PackedResource& before = pack.entries[i];
        const PackedResource& after = reread.entries[i];
        if (after.type != before.type || after.name != before.name || after.size != before.size ||
            (after.size > 0 && std::memcmp(after.data, before.data, after.size) != 0))
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Copies of exactly the input's size, so that AddressSanitizer sees any
    // read past the end.
    std::vector<unsigned char> bytes(data, data + size);
    check(bytes);
    if (size >= 4) {
        const std::uint32_t sum = resourcePackChecksum(bytes.data(), size - 4);
        for (std::size_t i = 0; i < 4; ++i)
            bytes[size - 4 + i] = static_cast<unsigned char>(sum >> (8 * i));
        check(bytes);
    }
    return 0;
}
