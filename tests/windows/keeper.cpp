// SPDX-License-Identifier: MIT
// keeper.exe: a window titled "keeper" whose text box keeps every key typed into it, for
// tests that must see where keys went. With neither a menu nor a system menu, a lone Alt
// does nothing here, as in many programs: an Alt-led line arrives whole.
#include <windows.h>

int main()
{
    const HWND window = CreateWindowW(
        L"STATIC", L"keeper", WS_CAPTION | WS_VISIBLE, 300, 300, 400, 200, nullptr, nullptr, nullptr, nullptr);
    SetFocus(CreateWindowW(
        L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 380, 150, window, nullptr, nullptr, nullptr));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
