#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/ResourcePack.h"
#include "assets/Resources.h"

#ifdef QUITTENHAIN_PACK
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "tests/RunDemo.h"
#endif

namespace {

const unsigned char kSync[] = {'3', '\r', '\n'};
const unsigned char kPicture[] = {0xFF, 0xD8, 0x00, 0x01, 0x02, 0xFF, 0xD9};

std::vector<unsigned char> twoResources()
{
    std::vector<PackedResource> resources(2);
    resources[0] = {"ZYT_MUCKE", "ZYT_MUCKE_DAT", kSync, sizeof kSync};
    resources[1] = {"ZYT_JPEGTEX", "WHITE.JPG", kPicture, sizeof kPicture};
    return writeResourcePack(resources);
}

// Puts a valid checksum back after a change, so that the reader's checks of
// the table themselves are what refuses the file.
void reseal(std::vector<unsigned char>& pack)
{
    const std::uint32_t sum = resourcePackChecksum(pack.data(), pack.size() - 4);
    for (int i = 0; i < 4; ++i)
        pack[pack.size() - 4 + i] = static_cast<unsigned char>(sum >> (8 * i));
}

void putU32(std::vector<unsigned char>& pack, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        pack[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The first entry's fixed fields start after the magic and the count.
constexpr std::size_t kFirstEntry = 12;

std::string refusal(const std::vector<unsigned char>& pack)
{
    const ResourcePack read = readResourcePack(pack.data(), pack.size());
    EXPECT_TRUE(read.entries.empty() || !read.error.empty());
    return read.error;
}

TEST(ResourcePack, WrittenResourcesReadBackWithTheirTypesNamesAndBytes)
{
    const std::vector<unsigned char> pack = twoResources();
    const ResourcePack read = readResourcePack(pack.data(), pack.size());
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0].type, "ZYT_MUCKE");
    EXPECT_EQ(read.entries[0].name, "ZYT_MUCKE_DAT");
    ASSERT_EQ(read.entries[0].size, sizeof kSync);
    EXPECT_EQ(std::memcmp(read.entries[0].data, kSync, sizeof kSync), 0);
    EXPECT_EQ(read.entries[1].name, "WHITE.JPG");
    ASSERT_EQ(read.entries[1].size, sizeof kPicture);
    EXPECT_EQ(std::memcmp(read.entries[1].data, kPicture, sizeof kPicture), 0);
    // Read in place: the entries point into the file's own bytes.
    EXPECT_GE(read.entries[1].data, pack.data());
    EXPECT_LE(read.entries[1].data + read.entries[1].size, pack.data() + pack.size());
}

TEST(ResourcePack, AnEmptyPackIsValid)
{
    const std::vector<unsigned char> pack = writeResourcePack({});
    const ResourcePack read = readResourcePack(pack.data(), pack.size());
    EXPECT_EQ(read.error, "");
    EXPECT_TRUE(read.entries.empty());
}

TEST(ResourcePack, WrongMagicIsRefusedAsNotADataFile)
{
    std::vector<unsigned char> pack = twoResources();
    pack[0] = '<';   // an HTML error page served in the data file's place
    reseal(pack);
    EXPECT_NE(refusal(pack).find("not one of this demo"), std::string::npos);
}

TEST(ResourcePack, EveryTruncationIsRefused)
{
    const std::vector<unsigned char> pack = twoResources();
    for (std::size_t size = 0; size < pack.size(); ++size) {
        const std::vector<unsigned char> cut(pack.begin(), pack.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(refusal(cut), "") << "cut to " << size << " bytes";
    }
    EXPECT_NE(readResourcePack(nullptr, 0).error, "");
}

TEST(ResourcePack, AnyChangedByteFailsTheChecksum)
{
    const std::vector<unsigned char> pack = twoResources();
    for (std::size_t at = 8; at < pack.size(); ++at) {
        std::vector<unsigned char> changed = pack;
        changed[at] ^= 0x10;
        EXPECT_NE(refusal(changed).find("damaged"), std::string::npos) << "byte " << at;
    }
}

TEST(ResourcePack, TableFieldsPastTheEndAreRefusedEvenWithAGoodChecksum)
{
    const std::vector<unsigned char> pack = twoResources();

    std::vector<unsigned char> count = pack;
    putU32(count, 8, 1000000);   // more entries than the file could hold
    reseal(count);
    EXPECT_NE(refusal(count).find("longer than the file"), std::string::npos);

    std::vector<unsigned char> count3 = pack;
    putU32(count3, 8, 3);   // one entry more than written: its fields lie in the data
    reseal(count3);
    EXPECT_NE(refusal(count3), "");

    std::vector<unsigned char> name = pack;
    name[kFirstEntry + 2] = 0xFF;   // a name longer than the rest of the file
    name[kFirstEntry + 3] = 0xFF;
    reseal(name);
    EXPECT_NE(refusal(name).find("runs past the end"), std::string::npos);

    std::vector<unsigned char> empty = pack;
    empty[kFirstEntry] = 0;   // no type
    empty[kFirstEntry + 1] = 0;
    reseal(empty);
    EXPECT_NE(refusal(empty).find("no type or no name"), std::string::npos);

    std::vector<unsigned char> offset = pack;
    putU32(offset, kFirstEntry + 4, static_cast<std::uint32_t>(pack.size()));   // starts in the checksum
    reseal(offset);
    EXPECT_NE(refusal(offset).find("past the end of the file"), std::string::npos);

    std::vector<unsigned char> size = pack;
    putU32(size, kFirstEntry + 8, static_cast<std::uint32_t>(pack.size()));   // runs over the end
    reseal(size);
    EXPECT_NE(refusal(size).find("(ZYT_MUCKE_DAT) lies past the end"), std::string::npos);

    // Exactly up to the checksum is inside; one byte more is not.
    const std::uint32_t firstOffset = pack[kFirstEntry + 4] | pack[kFirstEntry + 5] << 8 |
                                      pack[kFirstEntry + 6] << 16 | static_cast<std::uint32_t>(pack[kFirstEntry + 7]) << 24;
    const auto upToChecksum = static_cast<std::uint32_t>(pack.size() - 4 - firstOffset);
    for (const std::uint32_t extra : {0u, 1u}) {
        std::vector<unsigned char> edge = pack;
        putU32(edge, kFirstEntry + 8, upToChecksum + extra);
        reseal(edge);
        EXPECT_EQ(readResourcePack(edge.data(), edge.size()).error.empty(), extra == 0) << "size " << upToChecksum + extra;
    }

    std::vector<unsigned char> wrap = pack;
    putU32(wrap, kFirstEntry + 4, 0xFFFFFFF0u);   // offset + size would wrap round in 32 bits
    putU32(wrap, kFirstEntry + 8, 0x20);
    reseal(wrap);
    EXPECT_NE(refusal(wrap).find("lies past the end"), std::string::npos);
}

TEST(ResourcePack, AnInstalledTableIsWhatLookupsSearch)
{
    const std::vector<unsigned char> pack = twoResources();
    const ResourcePack read = readResourcePack(pack.data(), pack.size());
    ASSERT_EQ(read.error, "");
    std::vector<ResourceEntry> table;
    for (const PackedResource& entry : read.entries)
        table.push_back({entry.type.c_str(), entry.name.c_str(), entry.data, entry.size});
    useResourceTable(table.data(), table.size());
    const Resource picture = findResource("zyt_jpegtex", "white.jpg");
    const Resource music = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");   // compiled in, not in this table
    std::size_t compiledCount = 0;
    const ResourceEntry* compiled = compiledInResources(compiledCount);
    useResourceTable(compiled, compiledCount);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.size, sizeof kPicture);
    EXPECT_EQ(std::memcmp(picture.data, kPicture, sizeof kPicture), 0);
    EXPECT_FALSE(music);
    EXPECT_TRUE(findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3"));
}

TEST(ResourcePack, APackOfAnotherBuildIsToldByTheResourcesItLacks)
{
    const std::vector<unsigned char> bytes = twoResources();
    const ResourcePack pack = readResourcePack(bytes.data(), bytes.size());
    const ResourceEntry expected[] = {{"zyt_mucke", "zyt_mucke_dat", nullptr, 0},
                                      {"ZYT_JPEGTEX", "WHITE.JPG", nullptr, 0},
                                      {"ZYT_JPEGTEX", "ZYT_MUCKE_DAT", nullptr, 0},   // a name under another type
                                      {"ZYT_SCENE", "PART2_SCENE", nullptr, 0}};
    EXPECT_EQ(missingFromPack(pack, expected, 2), std::vector<std::string>{});
    EXPECT_EQ(missingFromPack(pack, expected, 4), (std::vector<std::string>{"ZYT_MUCKE_DAT", "PART2_SCENE"}));
}

#ifdef QUITTENHAIN_PACK
// The packing tool the browser build runs, built here for this machine.
class PackTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("quittenhain-pack-" + std::to_string(getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "sync.txt", std::ios::binary) << "3\r\n";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    RunResult pack(const std::filesystem::path& out, const std::string& type, const std::string& name) const
    {
        return runShell(std::string(QUITTENHAIN_PACK) + " '" + out.string() + "' '" + type + "' '" + name + "' '" +
                        (folder / "sync.txt").string() + "' 2>&1");
    }

    std::filesystem::path folder;
};

TEST_F(PackTool, WritesAPackTheReaderTakes)
{
    const std::filesystem::path out = folder / "quittenhain.data";
    ASSERT_EQ(pack(out, "ZYT_MUCKE", "ZYT_MUCKE_DAT").status, 0);
    std::ifstream in(out, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const ResourcePack read = readResourcePack(bytes.data(), bytes.size());
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.entries[0].data), read.entries[0].size), "3\r\n");
    EXPECT_FALSE(std::filesystem::exists(out.string() + ".part"));
}

// A device is written to, not replaced by a file renamed over it: a full
// one fails the run, and the name still leads to the device.
TEST_F(PackTool, ADeviceIsWrittenToNotReplaced)
{
    for (const auto& [device, status] : {std::pair{"/dev/full", 1}, {"/dev/null", 0}}) {
        const std::filesystem::path out = folder / "out";
        std::filesystem::remove(out);
        std::filesystem::create_symlink(device, out);
        const RunResult run = pack(out, "ZYT_MUCKE", "ZYT_MUCKE_DAT");
        EXPECT_EQ(run.status, status) << device << ": " << run.output;
        EXPECT_TRUE(std::filesystem::is_symlink(out)) << device;
        EXPECT_FALSE(std::filesystem::exists(out.string() + ".part")) << device;
    }
}

// The reader refuses a whole pack for one entry without a type or a name.
TEST_F(PackTool, AnEmptyTypeOrNameIsRefusedAndNothingWritten)
{
    const std::filesystem::path out = folder / "quittenhain.data";
    for (const auto& [type, name] : {std::pair{"", "ZYT_MUCKE_DAT"}, {"ZYT_MUCKE", ""}}) {
        const RunResult run = pack(out, type, name);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(run.output.find("has an empty type or name"), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}
#endif

}  // namespace
