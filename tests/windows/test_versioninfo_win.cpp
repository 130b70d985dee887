// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/programversion.h"
#include "tarnix_version.h"
#include "platform/win32/versioninfo_win.h"

// This test program is linked with the same version resource as the shipped executables.
// It runs in the folder of tarnix-decode.exe, whose resource it reads too.

using platform::VersionInfo;

namespace {

// The project's version, as the build gives it.
const VersionInfo::Numbers kVersion{
    TARNIX_VERSION_MAJOR, TARNIX_VERSION_MINOR, TARNIX_VERSION_PATCH, TARNIX_VERSION_REVISION};

// Windows' file properties show major.minor.revision, the minor with two digits and the
// revision with four (1.00.0013).
std::wstring versionText()
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%d.%02d.%04d", TARNIX_VERSION_MAJOR, TARNIX_VERSION_MINOR, TARNIX_VERSION_REVISION);
    return text;
}

} // namespace

TEST(VersionResource, ReadsBackAsEmbedded)
{
    const auto info = VersionInfo::ofRunningProgram();
    ASSERT_TRUE(info.has_value()) << "no version resource in "
                                  << testing::PrintToString(platform::runningProgramPath());

    EXPECT_EQ(info->fileVersion(), kVersion);
    EXPECT_EQ(info->productVersion(), kVersion);
    EXPECT_EQ(info->text(L"FileVersion"), versionText());
    EXPECT_EQ(info->text(L"ProductVersion"), versionText());
    EXPECT_EQ(info->text(L"ProductName"), std::wstring(L"Tarnix"));
    EXPECT_EQ(info->text(L"OriginalFilename"), std::wstring(L"test_versioninfo_win.exe"));
    EXPECT_FALSE(info->text(L"NoSuchText").has_value());
}

TEST(VersionResource, GivesTheProgramVersionForTheCaption)
{
    const platform::ProgramVersion version = platform::programVersion();
    EXPECT_EQ(version.major, TARNIX_VERSION_MAJOR);
    EXPECT_EQ(version.minor, TARNIX_VERSION_MINOR);
    EXPECT_EQ(version.revision, TARNIX_VERSION_REVISION) << "the fourth number of the version, not the third";
}

TEST(VersionResource, IsAbsentFromFilesWithoutOne)
{
    EXPECT_FALSE(VersionInfo::ofFile(L"C:\\no\\such\\file.exe").has_value());
    EXPECT_FALSE(VersionInfo::ofFile(L"").has_value());
    EXPECT_FALSE(VersionInfo::ofFile(L"C:\\windows\\win.ini").has_value()) << "a text file";
}

TEST(VersionResource, ReadsSystemFilesToo)
{
    // kernel32.dll carries a resource of its own with a different version; reading it
    // shows the numbers come from the file asked for, not from this program.
    const auto info = VersionInfo::ofFile(L"C:\\windows\\system32\\kernel32.dll");
    ASSERT_TRUE(info.has_value());
    EXPECT_NE(info->fileVersion(), kVersion);
    EXPECT_NE(info->text(L"FileVersion"), versionText());
}

TEST(VersionResource, IsEmbeddedInTarnixDecode)
{
    wchar_t path[MAX_PATH];
    ASSERT_NE(GetFullPathNameW(L"tarnix-decode.exe", MAX_PATH, path, nullptr), 0u);
    const auto info = VersionInfo::ofFile(path);
    ASSERT_TRUE(info.has_value()) << "no version resource in " << testing::PrintToString(std::wstring(path));
    EXPECT_EQ(info->fileVersion(), kVersion);
    EXPECT_EQ(info->text(L"FileVersion"), versionText());
    EXPECT_EQ(info->text(L"OriginalFilename"), std::wstring(L"tarnix-decode.exe"));
}

TEST(VersionResource, ComesWithTheProgramIcon)
{
    // Icon group 1 lists the six sizes of the icon file; Windows draws it at any of them.
    const HMODULE program = GetModuleHandleW(nullptr);
    HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr) << "no icon group 1";
    const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(program, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(directory[1], 1) << "resource type: icon";
    EXPECT_EQ(directory[2], 6) << "number of sizes";

    for (const int size : {16, 32, 48}) {
        HICON icon
            = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << "size " << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << "size " << size;
        BITMAP bitmap{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size) << "size " << size;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}
