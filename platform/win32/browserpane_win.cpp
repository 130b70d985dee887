// SPDX-License-Identifier: MIT
#include "platform/win32/browserpane_win.h"

#include "platform/win32/form1controls_win.h"
#include "platform/win32/widetext_win.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TarnixBrowserPane";
constexpr int kFailureLabelId = 1;

} // namespace

LRESULT CALLBACK BrowserPane::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control draws itself; until it exists the pane is an empty white page, and the
    // failure text is written on that page rather than on the dialog grey of labels.
    if (message == WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BrowserPane::BrowserPane(HWND parent, int id, RECT box, HFONT font)
    : font_(font)
{
    registerWindowClass(kClassName, windowProc, COLOR_WINDOW, false);
    // WS_CLIPCHILDREN: the control paints its own part of the pane.
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, box.left,
        box.top, box.right - box.left, box.bottom - box.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
}

BrowserPane::~BrowserPane()
{
    host_.reset(); // the control goes before the window it lives in
    if (window_)
        DestroyWindow(window_);
}

void BrowserPane::prepare()
{
    if (host_ || !window_)
        return;
    RECT area{};
    GetClientRect(window_, &area);
    host_ = std::make_unique<platform::WebBrowserHost>(window_, area);
}

void BrowserPane::navigate(const std::wstring& address)
{
    prepare();
    if (!host_)
        return;
    if (host_->navigate(address)) {
        showFailure({});
        return;
    }
    // A control that exists shows its own error page for an address it refused; only a
    // control that could not be made leaves the pane to say why.
    if (!host_->window())
        showFailure(host_->failure());
}

std::wstring BrowserPane::failureShown() const
{
    if (!failureLabel_ || !IsWindowVisible(failureLabel_))
        return {};
    const std::u16string text = windowText(failureLabel_);
    return std::wstring(text.begin(), text.end());
}

void BrowserPane::showFailure(const std::wstring& reason)
{
    if (reason.empty()) {
        if (failureLabel_)
            ShowWindow(failureLabel_, SW_HIDE);
        return;
    }
    if (!failureLabel_) {
        RECT area{};
        GetClientRect(window_, &area);
        InflateRect(&area, -8, -8);
        failureLabel_ = createLabel(window_, kFailureLabelId, area, u"", false, font_);
    }
    if (!failureLabel_)
        return;
    const std::wstring text = L"The web page cannot be shown: " + reason;
    SetWindowTextW(failureLabel_, text.c_str());
    ShowWindow(failureLabel_, SW_SHOW);
}

} // namespace platform::win32
