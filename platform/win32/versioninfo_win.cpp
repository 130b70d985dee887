// SPDX-License-Identifier: MIT
#include "platform/win32/versioninfo_win.h"

#include <cstdio>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

const VS_FIXEDFILEINFO* fixedInfo(const std::vector<std::uint8_t>& block)
{
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\", &value, &size) || size < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    return info->dwSignature == VS_FFI_SIGNATURE ? info : nullptr;
}

VersionInfo::Numbers splitVersion(DWORD mostSignificant, DWORD leastSignificant)
{
    return {HIWORD(mostSignificant), LOWORD(mostSignificant), HIWORD(leastSignificant), LOWORD(leastSignificant)};
}

} // namespace

VersionInfo::VersionInfo(std::vector<std::uint8_t> block)
    : block_(std::move(block))
{
}

std::optional<VersionInfo> VersionInfo::ofFile(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()) || !fixedInfo(block))
        return std::nullopt;
    return VersionInfo(std::move(block));
}

std::optional<VersionInfo> VersionInfo::ofRunningProgram()
{
    return ofFile(runningProgramPath());
}

VersionInfo::Numbers VersionInfo::fileVersion() const
{
    const VS_FIXEDFILEINFO* info = fixedInfo(block_);
    return splitVersion(info->dwFileVersionMS, info->dwFileVersionLS);
}

VersionInfo::Numbers VersionInfo::productVersion() const
{
    const VS_FIXEDFILEINFO* info = fixedInfo(block_);
    return splitVersion(info->dwProductVersionMS, info->dwProductVersionLS);
}

std::optional<std::wstring> VersionInfo::text(const std::wstring& name) const
{
    // Each entry of the translation list is a language id and a code page, and names the
    // string table "\StringFileInfo\llllcccc\".
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &size) || size < sizeof(Translation))
        return std::nullopt;
    const auto* first = static_cast<const Translation*>(value);

    wchar_t table[32];
    std::swprintf(table, 32, L"\\StringFileInfo\\%04x%04x\\", first->language, first->codePage);
    const std::wstring query = table + name;
    if (!VerQueryValueW(block_.data(), query.c_str(), &value, &size) || size == 0)
        return std::nullopt;
    // size counts the characters with the terminating zero.
    return std::wstring(static_cast<const wchar_t*>(value), size - 1);
}

std::wstring runningProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut off: try a larger buffer
    }
}

} // namespace platform
