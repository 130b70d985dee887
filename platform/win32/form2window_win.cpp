// SPDX-License-Identifier: MIT
#include "form2window_win.h"

#include "form1controls_win.h"
#include "foreground_win.h"
#include "helptexts.h"
#include "twips_win.h"
#include "widetext_win.h"

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
    static const ATOM registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass);
    }();
    (void)registered;

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
