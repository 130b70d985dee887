// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>

#include <fcntl.h>
#include <io.h>

#include "platform/binarystdio.h"

TEST(BinaryStdio, SwitchesStandardInputAndOutputToBinaryMode)
{
    // _setmode returns the mode it replaces: text before the call, binary after it.
    std::fflush(stdout);
    _setmode(_fileno(stdin), _O_TEXT);
    _setmode(_fileno(stdout), _O_TEXT);

    platform::setBinaryStdio();

    EXPECT_EQ(_setmode(_fileno(stdin), _O_TEXT), _O_BINARY) << "stdin";
    EXPECT_EQ(_setmode(_fileno(stdout), _O_TEXT), _O_BINARY) << "stdout";
}
