// SPDX-License-Identifier: MIT
#include "platform/programversion.h"

#include "tarnix_version.h"

namespace platform {

ProgramVersion programVersion()
{
    return {TARNIX_VERSION_MAJOR, TARNIX_VERSION_MINOR, TARNIX_VERSION_REVISION};
}

} // namespace platform
