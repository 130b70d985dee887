// SPDX-License-Identifier: MIT
// One Tarnix for each user session: a named mutex in the session's own namespace marks
// the first, which Windows frees with the process however it ends; a message-only window
// of the first is where later starts send their request.
#include "platform/desktopsession.h"

#include <windows.h>

namespace platform {

namespace {

constexpr wchar_t kMutexName[] = L"Local\\Tarnix.DesktopSession";
constexpr wchar_t kClassName[] = L"TarnixDesktopSession";
constexpr wchar_t kComeForwardMessage[] = L"TarnixComeForward";
// The first makes its window right after the mutex: a later start looks for it a while.
constexpr int kLookFor = 100;
constexpr DWORD kLookAgainMs = 20;

// A copy of its own: the mutex could not be made or opened (another user's, say).
class UnclaimedSession final : public DesktopSession {
public:
    void onComeForward(std::function<void()>) override { }
};

class Win32DesktopSession final : public DesktopSession {
public:
    explicit Win32DesktopSession(HANDLE mutex)
        : mutex_(mutex)
        , comeForwardMessage_(RegisterWindowMessageW(kComeForwardMessage))
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassW(&windowClass);
        window_
            = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
        if (window_)
            SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    ~Win32DesktopSession() override
    {
        if (window_)
            DestroyWindow(window_);
        CloseHandle(mutex_);
    }

    Win32DesktopSession(const Win32DesktopSession&) = delete;
    Win32DesktopSession& operator=(const Win32DesktopSession&) = delete;

    void onComeForward(std::function<void()> comeForward) override { comeForward_ = std::move(comeForward); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<Win32DesktopSession*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == self->comeForwardMessage_ && self->comeForwardMessage_ != 0) {
            if (self->comeForward_)
                self->comeForward_();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HANDLE mutex_;
    UINT comeForwardMessage_;
    HWND window_ = nullptr;
    std::function<void()> comeForward_;
};

// This start is the user's, so it may take the foreground: it lets the first take it
// instead, then asks it to come forward. A first that has not made its window in time is
// still starting and shows its window by itself.
void askFirstToComeForward()
{
    const UINT message = RegisterWindowMessageW(kComeForwardMessage);
    for (int look = 0; look < kLookFor; ++look) {
        if (const HWND first = FindWindowExW(HWND_MESSAGE, nullptr, kClassName, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(first, &process);
            AllowSetForegroundWindow(process);
            PostMessageW(first, message, 0, 0);
            return;
        }
        Sleep(kLookAgainMs);
    }
}

} // namespace

std::unique_ptr<DesktopSession> claimDesktopSession()
{
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!mutex)
        return std::make_unique<UnclaimedSession>();
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return std::make_unique<Win32DesktopSession>(mutex);
    CloseHandle(mutex);
    askFirstToComeForward();
    return nullptr;
}

} // namespace platform
