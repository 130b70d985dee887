// SPDX-License-Identifier: MIT
#include "platform/win32/form1window_win.h"

#include <cstdio>

#include <commctrl.h>

#include "platform/win32/browserpane_win.h"
#include "platform/win32/foreground_win.h"
#include "platform/win32/form1controls_win.h"
#include "platform/win32/form1menu_win.h"
#include "platform/win32/form2window_win.h"
#include "platform/win32/twips_win.h"
#include "platform/win32/widetext_win.h"
#include "platform/uskeyboard.h"

using namespace platform::win32;

namespace {

constexpr wchar_t kClassName[] = L"TarnixForm1";
// Fixed single border: the layout is fixed, so no sizing frame and no maximize.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;
constexpr unsigned kRightShiftScanCode = 0x36;

std::u16string_view nameOf(Form1View::Control control)
{
    switch (control) {
    case Form1View::Control::Text1: return u"Text1";
    case Form1View::Control::Label5: return u"Label5";
    case Form1View::Control::Text5: return u"Text5";
    case Form1View::Control::Text6: return u"Text6";
    case Form1View::Control::Text7: return u"Text7";
    case Form1View::Control::Label6: return u"Label6";
    }
    return {};
}

bool keyDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

void registerClass(WNDPROC windowProc)
{
    registerWindowClass(kClassName, windowProc, COLOR_BTNFACE, true);
}

} // namespace

Win32Form1Window::Win32Form1Window()
    : pump_(
        [this](MSG& message) { return filterMessage(message); }, [this] { return keysMustWait_ && keysMustWait_(); })
{
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    registerClass(windowProc);
    takeKeyboard_ = RegisterWindowMessageW(L"TarnixTakeKeyboard");

    const int dpi = systemDpi();
    const int clientWidth = twipsToPixels(form1geometry::kClientWidth, dpi);
    const int clientHeight = twipsToPixels(form1geometry::kClientHeight, dpi);
    const HMENU menu = createForm1MenuBar();
    window_ = CreateWindowExW(kExStyle, kClassName, L"Tarnix", kStyle, CW_USEDEFAULT, 0,
        outerWidthForClient(clientWidth, kStyle, kExStyle, true),
        outerHeightForClient(clientHeight, kStyle, kExStyle, true), nullptr, menu, GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        DestroyMenu(menu);
        return;
    }
    // From here on the window's messages reach this object; those of its creation need
    // only the defaults.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    setClientHeight(window_, clientHeight);

    accelerators_ = createForm1Accelerators();
    lookupCommand_ = menuCommandNamed(u"mnu_lookup");
    font_ = createMessageFont();
    for (std::size_t i = 0; i < form1geometry::kControls.size(); ++i) {
        const auto& layout = form1geometry::kControls[i];
        const RECT box = twipsBox(layout.left, layout.top, layout.width, layout.height, dpi);
        if (layout.kind == form1geometry::Kind::BrowserPane) {
            pane_ = std::make_unique<BrowserPane>(window_, controlIdOf(i), box, font_);
            controls_[i] = pane_->window();
        } else {
            controls_[i] = createForm1Control(window_, layout, controlIdOf(i), box, font_);
        }
    }
    text1_ = controlNamed(u"Text1");
    lastFocus_ = text1_;
}

Win32Form1Window::~Win32Form1Window()
{
    help_.reset();
    pane_.reset();
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
    if (font_)
        DeleteObject(font_);
}

void Win32Form1Window::setHandlers(Form1Handlers& handlers)
{
    handlers_ = &handlers;
}

LRESULT CALLBACK Win32Form1Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == takeKeyboard_ && takeKeyboard_ != 0) {
        show();
        focusText1();
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0) { // a menu item (0) or an accelerator (1)
            onMenuCommand(LOWORD(wParam));
            return 0;
        }
        if (reinterpret_cast<HWND>(lParam) == text1_ && HIWORD(wParam) == EN_CHANGE) {
            if (!settingText1_ && handlers_)
                handlers_->Text1_Change();
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // A lone Alt press or release would put the menu bar in charge of the keyboard,
        // and the scan typed next would go to the menus. The start-up loop uses Alt to
        // call the window forward, so Alt alone does not open the menus; Alt+F and the
        // mouse still do. (F10 arrives the same way and is kept from the menus too.)
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0)
            return 0;
        break;
    case WM_CLOSE:
        if (handlers_)
            handlers_->Form_Unload();
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wParam && handlers_)
            handlers_->Form_Unload();
        return 0;
    case WM_ACTIVATE:
        shiftKeys_ = 0; // a release elsewhere is never seen here
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                lastFocus_ = focus;
        }
        break; // the default activation focuses the frame, and WM_SETFOCUS passes it on
    case WM_SETFOCUS: SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : text1_); return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Form1Window::onMenuCommand(UINT command)
{
    if (!handlers_)
        return;
    const std::u16string_view item = menuItemNameOf(command);
    // mnu_open and mnu_close are greyed and have no accelerators: nothing reaches here.
    if (item == u"mnu_exit")
        handlers_->mnu_exit_Click();
    else if (item == u"mnu_lookup")
        handlers_->mnu_lookup_Click();
    else if (item == u"mnu_help")
        handlers_->mnu_help_Click();
    else if (item == u"mnu_About")
        handlers_->mnu_About_Click();
}

bool Win32Form1Window::filterMessage(MSG& message)
{
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    forgetStaleAlt(message);
    if (message.wParam == VK_SHIFT && message.message >= WM_KEYDOWN && message.message <= WM_SYSKEYUP) {
        const unsigned side = ((message.lParam >> 16) & 0xFF) == kRightShiftScanCode ? 2 : 1;
        const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        shiftKeys_ = down ? shiftKeys_ | side : shiftKeys_ & ~side;
    }
    // The shortcuts work wherever the focus is in the window, the page included.
    if (accelerators_ && TranslateAcceleratorW(window_, accelerators_, &message))
        return true;
    // Tab and Shift+Tab go round the focusable controls. Handled here rather than by
    // IsDialogMessage, which leaves Tab to a multi-line edit that asks for every key
    // and would turn Enter in Text1 into a default-button press.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !keyDown(VK_CONTROL) && !keyDown(VK_MENU)) {
        moveFocus(keyDown(VK_SHIFT));
        return true;
    }
    if (message.hwnd == text1_ && typeAsUsKeyboard(message))
        return true;
    return false;
}

void Win32Form1Window::forgetStaleAlt(const MSG& message)
{
    // The system sends a key typed while Alt is down (without Ctrl) as WM_SYSKEY*, so a
    // plain WM_KEY* says Alt was up. If this thread's key state still holds Alt down, its
    // release went to another window: a chord that closed the program it was typed in, or
    // the window activated while Alt was held. Left so, no shortcut key would match and
    // the input box would take no key, so the state is set right here.
    const bool plain = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
    if (!plain || message.wParam == VK_MENU || !keyDown(VK_MENU) || keyDown(VK_CONTROL))
        return;
    BYTE state[256];
    if (!GetKeyboardState(state))
        return;
    for (const int alt : {VK_MENU, VK_LMENU, VK_RMENU})
        state[alt] &= 0x7F;
    SetKeyboardState(state);
}

bool Win32Form1Window::typeAsUsKeyboard(const MSG& message)
{
    // A scanner sends the places of a US keyboard's keys: in Text1 a key with neither Ctrl
    // nor Alt down types what it types on a US keyboard with the Shift state it came with.
    // The key is not translated, so the layout's own character or dead key for it never
    // arrives, and Caps Lock plays no part. Shift is taken from the key messages, not from
    // the thread's key state, which Wine resets to the X server's when the window gets the
    // X focus: by then the keys of a line typed at once have long been released there.
    if (message.message != WM_KEYDOWN || keyDown(VK_CONTROL) || keyDown(VK_MENU))
        return false;
    const bool extended = (message.lParam >> 24) & 1; // the keypad's Enter and /, arrows, ...
    const auto scanCode = static_cast<unsigned>((message.lParam >> 16) & 0xFF);
    const char16_t typed = extended ? u'\0' : platform::usKeyboardCharacter(scanCode, shiftKeys_ != 0);
    if (!typed)
        return false;
    SendMessageW(text1_, WM_CHAR, typed, message.lParam);
    return true;
}

void Win32Form1Window::moveFocus(bool backwards)
{
    std::array<HWND, form1geometry::kControls.size()> chain{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (form1geometry::kControls[i].kind != form1geometry::Kind::Label && controls_[i])
            chain[count++] = controls_[i];
    }
    if (count == 0)
        return;
    const HWND focus = GetFocus();
    std::size_t next = 0;
    for (std::size_t i = 0; i < count; ++i) {
        // The page's own windows count as the pane.
        if (chain[i] == focus || IsChild(chain[i], focus)) {
            next = backwards ? (i + count - 1) % count : (i + 1) % count;
            break;
        }
    }
    const HWND target = chain[next];
    SetFocus(target);
    // As a dialog does: the text of a box entered by Tab is selected.
    wchar_t className[8] = {};
    GetClassNameW(target, className, 8);
    if (lstrcmpiW(className, L"EDIT") == 0)
        SendMessageW(target, EM_SETSEL, 0, -1);
}

HWND Win32Form1Window::controlNamed(std::u16string_view name) const
{
    for (std::size_t i = 0; i < form1geometry::kControls.size(); ++i) {
        if (form1geometry::kControls[i].name == name)
            return controls_[i];
    }
    return nullptr;
}

HWND Win32Form1Window::controlOf(Control control) const
{
    return controlNamed(nameOf(control));
}

void Win32Form1Window::show()
{
    if (window_)
        bringToForeground(window_);
}

std::u16string Win32Form1Window::caption() const
{
    return window_ ? windowText(window_) : std::u16string();
}

void Win32Form1Window::setCaption(std::u16string_view caption)
{
    if (window_)
        SetWindowTextW(window_, toWide(caption).c_str());
}

void Win32Form1Window::setOuterHeightTwips(int twips)
{
    if (window_)
        setClientHeight(window_, twipsToPixels(twips - form1geometry::kFrameHeight, systemDpi()));
}

void Win32Form1Window::hide()
{
    if (window_)
        ShowWindow(window_, SW_HIDE);
}

std::u16string Win32Form1Window::text(Control control) const
{
    const HWND target = controlOf(control);
    return target ? windowText(target) : std::u16string();
}

void Win32Form1Window::setText(Control control, std::u16string_view text)
{
    const HWND target = controlOf(control);
    if (!target)
        return;
    if (target != text1_) {
        SetWindowTextW(target, toWide(text).c_str());
        return;
    }
    if (windowText(target) == text)
        return;
    // A multi-line edit sends no EN_CHANGE for WM_SETTEXT (a single-line one does), so
    // the change is reported here, exactly once, whichever the control does.
    settingText1_ = true;
    SetWindowTextW(target, toWide(text).c_str());
    settingText1_ = false;
    if (handlers_)
        handlers_->Text1_Change();
}

void Win32Form1Window::focusText1()
{
    if (text1_)
        SetFocus(text1_);
}

bool Win32Form1Window::lookupChecked() const
{
    const UINT state = window_ ? GetMenuState(GetMenu(window_), lookupCommand_, MF_BYCOMMAND) : 0;
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void Win32Form1Window::setLookupChecked(bool checked)
{
    if (window_)
        CheckMenuItem(GetMenu(window_), lookupCommand_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Form1Window::prepareBrowser()
{
    if (pane_)
        pane_->prepare();
}

void Win32Form1Window::navigate(std::u16string_view address)
{
    if (pane_)
        pane_->navigate(toWide(address));
}

void Win32Form1Window::showHelp()
{
    if (!help_)
        help_ = std::make_unique<Win32Form2Window>(font_);
    help_->show();
}

void Win32Form1Window::hideHelp()
{
    if (help_)
        help_->hide();
}

void Win32Form1Window::showMessageBox(std::u16string_view title, std::u16string_view text)
{
    MessageBoxW(window_, toWide(text).c_str(), toWide(title).c_str(), MB_OK);
}

void Win32Form1Window::pumpEvents(std::chrono::milliseconds longestWait)
{
    pump_.pump(longestWait);
}

void Win32Form1Window::endProgram()
{
    std::fflush(nullptr);
    ExitProcess(0);
}
