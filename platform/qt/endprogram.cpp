// SPDX-License-Identifier: MIT
#include "platform/qt/endprogram.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void endProgramNow()
{
    std::fflush(nullptr);
    // Not exit(): static destructors would tear the toolkit and the web engine down
    // while they may still be in use by the handler that called us.
    std::_Exit(0);
}

} // namespace platform
