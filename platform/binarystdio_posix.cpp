#include "binarystdio.h"

namespace platform {

void setBinaryStdio()
{
    // POSIX streams do not translate line ends: nothing to switch.
}

} // namespace platform
