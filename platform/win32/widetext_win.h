// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

// Windows' wchar_t is a UTF-16 code unit, as char16_t is: texts pass unit for unit.
namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

inline std::wstring toWide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

// A window's text: its caption, or what an edit control or label holds.
inline std::u16string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return fromWide(text);
}

} // namespace platform::win32
