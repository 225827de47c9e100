// The executable's own resources as Windows reads them: the icon in four
// sizes, version information naming the same version as --version, and a
// manifest asking for per-monitor DPI awareness, common controls 6 and
// UTF-8 as the code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "tests/win32/ProgramRun.h"

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {   // GRPICONDIRENTRY
    BYTE width;           // 0 stands for 256
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {   // GRPICONDIR, followed by its entries
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

class ExecutableResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExW(wideFromUtf8(QUITTENHAIN_BINARY).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }

    // Types by number: RT_ICON 3, RT_GROUP_ICON 14, RT_MANIFEST 24.
    std::string resource(LPCWSTR type, LPCWSTR name) const
    {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr)
            return "";
        const void* bytes = LockResource(LoadResource(module_, found));
        return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(ExecutableResources, IconHasSizes16To256AndEachImageIsThere)
{
    const std::string group = resource(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(1));
    ASSERT_GE(group.size(), sizeof(IconGroup));
    const auto* header = reinterpret_cast<const IconGroup*>(group.data());
    ASSERT_EQ(header->type, 1);
    ASSERT_EQ(group.size(), sizeof(IconGroup) + header->count * sizeof(IconGroupEntry));
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(group.data() + sizeof(IconGroup));
    std::set<int> sizes;
    for (int i = 0; i < header->count; ++i) {
        const int size = entries[i].width == 0 ? 256 : entries[i].width;
        EXPECT_EQ(entries[i].width, entries[i].height);
        sizes.insert(size);
        const std::string image = resource(MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(entries[i].id));
        EXPECT_EQ(image.size(), entries[i].bytes) << "image of " << size << " pixels";
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
}

std::wstring versionValue(const std::vector<char>& info, const wchar_t* name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
        return L"";
    return std::wstring(value, length - 1);
}

TEST_F(ExecutableResources, VersionInformationNamesTheVersionThatVersionPrints)
{
    const std::wstring file = wideFromUtf8(QUITTENHAIN_BINARY);
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, info.data()));

    const ProgramRun version = runProgram("--version");
    ASSERT_EQ(version.status, 0);
    // "Quittenhain 1.0" and a line end.
    const std::string printed = version.output.substr(0, version.output.find_first_of("\r\n"));
    EXPECT_EQ(utf8FromWide(versionValue(info, L"ProductName")) + " " +
                  utf8FromWide(versionValue(info, L"ProductVersion")),
              printed);
    EXPECT_EQ(versionValue(info, L"FileVersion"), versionValue(info, L"ProductVersion"));
    EXPECT_FALSE(versionValue(info, L"FileDescription").empty());

    // The numeric version says the same: "1.0" is 1.0.0.0.
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string text = utf8FromWide(versionValue(info, L"ProductVersion"));
    unsigned major = 0;
    unsigned minor = 0;
    ASSERT_EQ(std::sscanf(text.c_str(), "%u.%u", &major, &minor), 2);
    EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
}

TEST_F(ExecutableResources, ManifestAsksForPerMonitorDpiCommonControls6AndUtf8)
{
    const std::string manifest = resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    auto has = [&](const char* text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(has("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"));
    EXPECT_TRUE(has("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"));
    EXPECT_TRUE(has("<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8"
                    "</activeCodePage>"));
    EXPECT_TRUE(has("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_TRUE(has("<windowsSettings>"));
}

}  // namespace
