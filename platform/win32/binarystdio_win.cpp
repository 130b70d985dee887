// SPDX-License-Identifier: MIT
#include "platform/binarystdio.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include <fcntl.h>
#include <io.h>

namespace platform {

void setBinaryStdio()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace platform

std::ptrdiff_t platform::readAvailable(std::FILE* stream, char* buffer, std::size_t size)
{
    const auto count = static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX));
    return _read(_fileno(stream), buffer, count);
}
