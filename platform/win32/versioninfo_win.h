// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The version resource (VERSIONINFO) of an executable or DLL file, read with
// GetFileVersionInfoW and VerQueryValueW.
class VersionInfo {
public:
    using Numbers = std::array<std::uint16_t, 4>; // e.g. 1, 0, 0, 13

    // Nothing when the file cannot be read or carries no version resource.
    static std::optional<VersionInfo> ofFile(const std::wstring& path);
    // The version resource of the running program's executable file.
    static std::optional<VersionInfo> ofRunningProgram();

    Numbers fileVersion() const;
    Numbers productVersion() const;

    // A text of the string table, such as L"FileVersion" or L"ProductVersion", taken from
    // the first language the resource lists. Nothing when the resource has no such text.
    std::optional<std::wstring> text(const std::wstring& name) const;

private:
    explicit VersionInfo(std::vector<std::uint8_t> block);

    std::vector<std::uint8_t> block_;
};

// The full path of the running program's executable file.
std::wstring runningProgramPath();

} // namespace platform
