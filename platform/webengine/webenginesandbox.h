// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// Chromium refuses to start as root unless its sandbox is switched off. When the
// program runs as root and neither the environment nor the command line already
// decides, switches the sandbox off and says so in one line on stderr. Must run
// before the first web engine view is created; does nothing where the sandbox can run.
void allowWebEngineWithoutSandboxAsRoot();

} // namespace platform
