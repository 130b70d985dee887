// SPDX-License-Identifier: MIT
#include "platform/binarystdio.h"

#include <unistd.h>

namespace platform {

void setBinaryStdio()
{
    // POSIX streams do not translate line ends: nothing to switch.
}

} // namespace platform

std::ptrdiff_t platform::readAvailable(std::FILE* stream, char* buffer, std::size_t size)
{
    return ::read(fileno(stream), buffer, size);
}
