// Packs the resources into the browser build's data file:
//   pack-resources OUT TYPE NAME FILE [TYPE NAME FILE ...]
// A regular file (or a name not taken yet) is written under OUT.part and
// renamed when whole, so a failed run leaves no half-written data file
// behind.  Anything else at OUT (a device, a pipe) is written to directly:
// renaming over it would put a plain file in its place.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "assets/ResourcePack.h"

namespace {

bool readWhole(const std::string& path, std::vector<unsigned char>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int fail(const std::string& why)
{
    std::fprintf(stderr, "pack-resources: %s\n", why.c_str());
    return 1;
}

bool isOtherThanARegularFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}

bool writeWhole(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0)
        return fail("usage: pack-resources OUT TYPE NAME FILE [TYPE NAME FILE ...]");
    const std::string out = argv[1];
    std::vector<std::vector<unsigned char>> contents;
    contents.reserve(static_cast<std::size_t>(argc - 2) / 3);
    std::vector<PackedResource> resources;
    for (int i = 2; i + 2 < argc; i += 3) {
        contents.emplace_back();
        if (!readWhole(argv[i + 2], contents.back()))
            return fail(std::string("cannot read ") + argv[i + 2]);
        PackedResource resource;
        resource.type = argv[i];
        resource.name = argv[i + 1];
        // The reader refuses a pack with an empty type or name as a whole.
        if (resource.type.empty() || resource.name.empty())
            return fail("the resource from " + std::string(argv[i + 2]) + " has an empty type or name");
        if (resource.type.size() > 0xFFFF || resource.name.size() > 0xFFFF)
            return fail(std::string("name too long: ") + argv[i + 1]);
        resource.data = contents.back().data();
        resource.size = contents.back().size();
        resources.push_back(resource);
    }
    const std::vector<unsigned char> pack = writeResourcePack(resources);
    if (pack.size() > UINT32_MAX)
        return fail("the resources do not fit in one data file (offsets are 32 bits)");
    if (isOtherThanARegularFile(out))
        return writeWhole(out, pack) ? 0 : fail("cannot write " + out);
    const std::string part = out + ".part";
    if (!writeWhole(part, pack)) {
        std::remove(part.c_str());
        return fail("cannot write " + part);
    }
    if (std::rename(part.c_str(), out.c_str()) != 0) {
        std::remove(part.c_str());
        return fail("cannot rename " + part + " to " + out);
    }
    return 0;
}
