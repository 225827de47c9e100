#include "assets/ResourcePack.h"

#include <array>
#include <cstring>
#include <strings.h>

namespace {

constexpr char kMagic[8] = {'Q', 'H', 'D', 'A', 'T', 'A', '\r', '\n'};
constexpr std::size_t kHeaderBytes = 12;      // magic and count
constexpr std::size_t kEntryFixedBytes = 12;  // lengths, offset, size
constexpr std::size_t kChecksumBytes = 4;

std::uint32_t readU32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint16_t readU16(const unsigned char* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

void appendU32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void appendU16(std::vector<unsigned char>& out, std::uint16_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

// The characters as the bytes they are: a name's bytes above 127 are
// negative chars, which must not go through a conversion to unsigned char.
void appendText(std::vector<unsigned char>& out, const std::string& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    out.insert(out.end(), bytes, bytes + text.size());
}

std::array<std::uint32_t, 256> crcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

ResourcePack refused(const std::string& why)
{
    ResourcePack pack;
    pack.error = why;
    return pack;
}

}  // namespace

std::uint32_t resourcePackChecksum(const unsigned char* bytes, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

ResourcePack readResourcePack(const unsigned char* bytes, std::size_t size)
{
    if (bytes == nullptr || size < kHeaderBytes + kChecksumBytes)
        return refused("the data file is too short to be one (" + std::to_string(size) + " bytes)");
    if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
        return refused("the data file is not one of this demo (its first bytes are wrong)");
    // Everything but the checksum itself; the table is trusted only once the
    // sum over the whole file matches.
    const std::size_t body = size - kChecksumBytes;
    if (resourcePackChecksum(bytes, body) != readU32(bytes + body))
        return refused("the data file is damaged (its checksum does not match)");

    const std::uint32_t count = readU32(bytes + 8);
    if (count > (body - kHeaderBytes) / kEntryFixedBytes)
        return refused("the data file's table is longer than the file");
    ResourcePack pack;
    pack.entries.reserve(count);
    std::size_t at = kHeaderBytes;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string which = "entry " + std::to_string(i + 1) + " of the data file's table";
        if (body - at < kEntryFixedBytes)
            return refused(which + " runs past the end of the file");
        const std::size_t typeLength = readU16(bytes + at);
        const std::size_t nameLength = readU16(bytes + at + 2);
        const std::uint64_t offset = readU32(bytes + at + 4);
        const std::uint64_t length = readU32(bytes + at + 8);
        at += kEntryFixedBytes;
        if (typeLength == 0 || nameLength == 0)
            return refused(which + " has no type or no name");
        if (body - at < typeLength + nameLength)
            return refused(which + " runs past the end of the file");
        PackedResource entry;
        entry.type.assign(reinterpret_cast<const char*>(bytes + at), typeLength);
        entry.name.assign(reinterpret_cast<const char*>(bytes + at + typeLength), nameLength);
        at += typeLength + nameLength;
        if (offset > body || length > body - offset)
            return refused(which + " (" + entry.name + ") lies past the end of the file");
        entry.data = bytes + offset;
        entry.size = static_cast<std::size_t>(length);
        pack.entries.push_back(std::move(entry));
    }
    return pack;
}

std::vector<std::string> missingFromPack(const ResourcePack& pack, const ResourceEntry* expected, std::size_t count)
{
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < count; ++i) {
        bool found = false;
        for (const PackedResource& entry : pack.entries)
            found = found || (strcasecmp(entry.type.c_str(), expected[i].type) == 0 &&
                              strcasecmp(entry.name.c_str(), expected[i].name) == 0);
        if (!found)
            missing.push_back(expected[i].name);
    }
    return missing;
}

std::vector<unsigned char> writeResourcePack(const std::vector<PackedResource>& resources)
{
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    appendU32(out, static_cast<std::uint32_t>(resources.size()));
    std::size_t tableBytes = 0;
    for (const PackedResource& resource : resources)
        tableBytes += kEntryFixedBytes + resource.type.size() + resource.name.size();
    std::size_t offset = kHeaderBytes + tableBytes;
    for (const PackedResource& resource : resources) {
        appendU16(out, static_cast<std::uint16_t>(resource.type.size()));
        appendU16(out, static_cast<std::uint16_t>(resource.name.size()));
        appendU32(out, static_cast<std::uint32_t>(offset));
        appendU32(out, static_cast<std::uint32_t>(resource.size));
        appendText(out, resource.type);
        appendText(out, resource.name);
        offset += resource.size;
    }
    for (const PackedResource& resource : resources)
        out.insert(out.end(), resource.data, resource.data + resource.size);
    appendU32(out, resourcePackChecksum(out.data(), out.size()));
    return out;
}
