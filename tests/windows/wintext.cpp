// SPDX-License-Identifier: MIT
// wintext.exe "<window title>": prints what a top-level window shows, for tests that
// drive a Windows program from outside and must read its controls back.
//
// Output (UTF-8, LF line ends, fields separated by TAB):
//   window  <title>  <left>,<top>,<right>,<bottom>  <client width>x<client height>  foreground|background
//   then one line per control, in EnumChildWindows order (descendants included):
//   <control id>  <class>  <left>,<top>,<right>,<bottom>  visible|hidden  <text>
// A control's rectangle is in pixels of the top-level window's client area, the outer
// rectangle in screen pixels. Texts have CR, LF, TAB and backslash escaped as \r \n \t \\.
// Exit status 1 if no window has exactly that title, 2 on wrong usage.

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()), nullptr, nullptr);
    return out;
}

// One line per control, whatever the text holds.
std::wstring escaped(const std::wstring& text)
{
    std::wstring out;
    for (const wchar_t c : text) {
        switch (c) {
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        case L'\t': out += L"\\t"; break;
        case L'\\': out += L"\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

// Through a timeout, so a hung program cannot hang the reader too.
std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(
            window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    text.resize(copied);
    return text;
}

std::string rectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom);
}

void printLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

BOOL CALLBACK printControl(HWND control, LPARAM topLevel)
{
    wchar_t className[256] = {};
    GetClassNameW(control, className, int(std::size(className)));
    RECT area{};
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(topLevel), reinterpret_cast<POINT*>(&area), 2);
    printLine(std::to_string(GetDlgCtrlID(control)) + "\t" + utf8(className) + "\t" + rectText(area) + "\t"
        + (IsWindowVisible(control) ? "visible" : "hidden") + "\t" + utf8(escaped(textOf(control))));
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Binary: lines end in LF alone, as the reader on the other side expects.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) {
        std::fputs("usage: wintext \"<window title>\"\n", stderr);
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (!window) {
        std::fprintf(stderr, "no window titled \"%s\"\n", utf8(argv[1]).c_str());
        return 1;
    }
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    printLine("window\t" + utf8(escaped(textOf(window))) + "\t" + rectText(outer) + "\t"
        + std::to_string(client.right - client.left) + "x" + std::to_string(client.bottom - client.top) + "\t"
        + (GetForegroundWindow() == window ? "foreground" : "background"));
    EnumChildWindows(window, printControl, reinterpret_cast<LPARAM>(window));
    return 0;
}
