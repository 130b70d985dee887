// SPDX-License-Identifier: MIT
#include "platform/win32/twips_win.h"

namespace platform::win32 {

int systemDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int twipsToPixels(int twips, int dpi)
{
    return MulDiv(twips, dpi, kTwipsPerInch);
}

RECT twipsBox(int left, int top, int width, int height, int dpi)
{
    return {twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(left + width, dpi),
        twipsToPixels(top + height, dpi)};
}

int outerHeightForClient(int clientHeight, DWORD style, DWORD exStyle, bool hasMenu)
{
    RECT frame{0, 0, 0, clientHeight};
    AdjustWindowRectEx(&frame, style, hasMenu, exStyle);
    return frame.bottom - frame.top;
}

int outerWidthForClient(int clientWidth, DWORD style, DWORD exStyle, bool hasMenu)
{
    RECT frame{0, 0, clientWidth, 0};
    AdjustWindowRectEx(&frame, style, hasMenu, exStyle);
    return frame.right - frame.left;
}

void setClientHeight(HWND window, int clientHeight)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const int outer = outerHeightForClient(clientHeight, style, exStyle, GetMenu(window) != nullptr);

    if (IsIconic(window)) {
        // A minimized window's own rectangle is the icon's; the size it comes back with
        // is its placement's normal position.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (!GetWindowPlacement(window, &placement))
            return;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + outer;
        placement.flags = 0;
        placement.showCmd = IsWindowVisible(window) ? SW_SHOWMINNOACTIVE : SW_HIDE;
        SetWindowPlacement(window, &placement);
        return;
    }

    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    constexpr UINT kKeepRest = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SetWindowPos(window, nullptr, 0, 0, width, outer, kKeepRest);
    // The frame as it really is, a wrapped menu bar included.
    RECT client{};
    GetClientRect(window, &client);
    if (client.bottom != clientHeight)
        SetWindowPos(window, nullptr, 0, 0, width, outer + clientHeight - client.bottom, kKeepRest);
}

} // namespace platform::win32
