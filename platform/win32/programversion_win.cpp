// SPDX-License-Identifier: MIT
#include "platform/programversion.h"

#include "tarnix_version.h"
#include "platform/win32/versioninfo_win.h"

namespace platform {

ProgramVersion programVersion()
{
    // The executable's own version resource, as Explorer shows it; the build's numbers
    // only when the executable was linked without one.
    if (const auto info = VersionInfo::ofRunningProgram()) {
        const VersionInfo::Numbers numbers = info->fileVersion();
        return {numbers[0], numbers[1], numbers[3]};
    }
    return {TARNIX_VERSION_MAJOR, TARNIX_VERSION_MINOR, TARNIX_VERSION_REVISION};
}

} // namespace platform
