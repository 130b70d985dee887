// SPDX-License-Identifier: MIT
#include "platform/win32/form1controls_win.h"

#include "platform/win32/widetext_win.h"

namespace platform::win32 {

namespace {

HWND createChild(DWORD exStyle, const wchar_t* className, std::u16string_view text, DWORD style, HWND parent, int id,
    RECT box, HFONT font)
{
    const HWND control = CreateWindowExW(exStyle, className, toWide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
        box.left, box.top, box.right - box.left, box.bottom - box.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control && font)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

} // namespace

int controlIdOf(std::size_t index)
{
    return 1000 + static_cast<int>(index);
}

HFONT createMessageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND createLabel(HWND parent, int id, RECT box, std::u16string_view text, bool centred, HFONT font)
{
    // SS_EDITCONTROL wraps as a multi-line edit does, breaking words too long for a line.
    const DWORD style = SS_NOPREFIX | SS_EDITCONTROL | (centred ? SS_CENTER : SS_LEFT);
    return createChild(0, L"STATIC", text, style, parent, id, box, font);
}

HWND createForm1Control(HWND parent, const form1geometry::ControlLayout& layout, int id, RECT box, HFONT font)
{
    using form1geometry::Kind;
    switch (layout.kind) {
    case Kind::InputBox: {
        // Multi-line so that Enter puts CR LF into the text as the scanner's line end;
        // ES_AUTOVSCROLL because a multi-line edit without it refuses a line that does
        // not fit its height. One line high, no scroll bars: it looks like a text box.
        const DWORD style = WS_TABSTOP | ES_LEFT | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
        const HWND edit = createChild(WS_EX_CLIENTEDGE, L"EDIT", layout.text, style, parent, id, box, font);
        if (edit)
            SendMessageW(edit, EM_SETLIMITTEXT, 0, 0); // 0: as much as the control can hold
        return edit;
    }
    case Kind::ResultBox:
        // Read-only but focusable, so the decoded fields can be selected and copied.
        return createChild(WS_EX_CLIENTEDGE, L"EDIT", layout.text, WS_TABSTOP | ES_LEFT | ES_READONLY | ES_AUTOHSCROLL,
            parent, id, box, font);
    case Kind::Label:
        return createLabel(parent, id, box, layout.text, layout.align == form1geometry::Align::Centre, font);
    case Kind::BrowserPane: break;
    }
    return nullptr;
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure, int backgroundColour, bool withIcon)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    if (withIcon) {
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

} // namespace platform::win32
