// SPDX-License-Identifier: MIT
#include "decoder/codepage.h"

#include <array>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace tarnixFuncs {

namespace {

// The active code page cannot change while a process runs, so the 256 conversions
// are made once. A lead byte of a double-byte code page converted alone yields the
// code page's default character rather than an error.
CodePageTable buildActiveCodePageTable()
{
    CodePageTable table{};
    for (int code = 0; code < 256; ++code) {
        const char byte = static_cast<char>(code);
        wchar_t converted[2] = {L'?', 0};
        if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, converted, 2) < 1)
            converted[0] = L'?';
        table[static_cast<std::size_t>(code)] = static_cast<char16_t>(converted[0]);
    }
    return table;
}

} // namespace

const CodePageTable& activeCodePage()
{
    static const CodePageTable table = buildActiveCodePageTable();
    return table;
}

} // namespace tarnixFuncs
