// SPDX-License-Identifier: MIT
#include "platform/win32/form2window_win.h"

#include "platform/win32/form1controls_win.h"
#include "platform/win32/foreground_win.h"
#include "help/helptexts.h"
#include "platform/win32/twips_win.h"
#include "platform/win32/widetext_win.h"

using namespace platform::win32;

namespace {

constexpr wchar_t kClassName[] = L"TarnixForm2";
// Fixed single border with the system menu and a close button; no minimize or maximize.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

} // namespace

LRESULT CALLBACK Win32Form2Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        // The one copy is kept: the next showHelp shows it again.
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

Win32Form2Window::Win32Form2Window(HFONT font)
{
    registerWindowClass(kClassName, windowProc, COLOR_BTNFACE, true);

    const int dpi = systemDpi();
    const int width = outerWidthForClient(twipsToPixels(helptexts::kClientWidth, dpi), kStyle, 0, false);
    const int height = outerHeightForClient(twipsToPixels(helptexts::kClientHeight, dpi), kStyle, 0, false);
    window_ = CreateWindowExW(0, kClassName, toWide(helptexts::kCaption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
        width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_)
        return;
    for (std::size_t i = 0; i < helptexts::kParagraphs.size(); ++i) {
        const auto& paragraph = helptexts::kParagraphs[i];
        createLabel(window_, static_cast<int>(i) + 1,
            twipsBox(paragraph.left, paragraph.top, paragraph.width, paragraph.height, dpi), paragraph.text, false,
            font);
    }
}

Win32Form2Window::~Win32Form2Window()
{
    if (window_)
        DestroyWindow(window_);
}

void Win32Form2Window::show()
{
    if (window_)
        bringToForeground(window_);
}

void Win32Form2Window::hide()
{
    if (window_)
        ShowWindow(window_, SW_HIDE);
}
