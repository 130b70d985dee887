// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace platform {

// Where the program's own modules and helper programs are, in the order to look: beside
// the program (a build tree), then its private folder once installed (lib/tarnix).
// Needs the application.
QStringList privateProgramDirs();

} // namespace platform
