// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// Ends the process at once with exit status 0: no handler, destructor or event runs
// afterwards. Output already written is flushed first. The web engine's helper
// processes end by themselves when their parent is gone.
[[noreturn]] void endProgramNow();

} // namespace platform
