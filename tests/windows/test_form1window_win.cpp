// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "platform/win32/form1window_win.h"
#include "platform/win32/twips_win.h"

// The Win32 main window against what Form1 relies on. Runs on a desktop of its own with
// Wine's null display driver (see CMakeLists.txt). Keys are posted to the controls and
// modifiers set in the thread's key state, as the message pump and the accelerators
// read them.

using platform::win32::systemDpi;
using platform::win32::twipsToPixels;
using Control = Form1View::Control;

namespace {

struct Recorder final : Form1Handlers {
    explicit Recorder(Form1View& view)
        : view(view)
    {
    }
    void Text1_Change() override
    {
        ++text1Changes;
        seenText1 = view.text(Control::Text1);
    }
    void mnu_exit_Click() override { ++exits; }
    void mnu_lookup_Click() override { ++lookups; }
    void mnu_help_Click() override { ++helps; }
    void mnu_About_Click() override { ++abouts; }
    void Form_Unload() override { ++unloads; }
    int total() const { return text1Changes + exits + lookups + helps + abouts + unloads; }

    Form1View& view;
    int text1Changes = 0, exits = 0, lookups = 0, helps = 0, abouts = 0, unloads = 0;
    std::u16string seenText1;
};

void setKeyDown(int virtualKey, bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[virtualKey] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

SIZE clientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::wstring clipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

class Form1Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(view.window()) << "no window: " << GetLastError();
        view.setHandlers(recorder);
        // The expected pixels below are those of 96 dpi.
        ASSERT_EQ(systemDpi(), 96);
    }
    void TearDown() override
    {
        for (int key : {VK_CONTROL, VK_SHIFT, VK_MENU})
            setKeyDown(key, false);
    }

    // Posted as the keyboard would deliver it, then handled by the window's own pump.
    void press(HWND target, WPARAM key)
    {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        pump();
    }
    void pump()
    {
        for (int i = 0; i < 5; ++i)
            view.pumpEvents(std::chrono::milliseconds(0));
    }
    void showFocused()
    {
        view.show();
        view.focusText1();
        pump();
    }

    Win32Form1Window view;
    Recorder recorder{view};
};

} // namespace

TEST(Twips, ConvertAtTheGivenResolutionRoundingToNearest)
{
    EXPECT_EQ(twipsToPixels(285, 96), 19);
    EXPECT_EQ(twipsToPixels(285, 120), 24);   // 23.75
    EXPECT_EQ(twipsToPixels(9255, 144), 926); // 925.5 rounds up
    const RECT box = platform::win32::twipsBox(2400, 1200, 1095, 375, 120);
    // Edges rounded each on its own: right is 3495 twips (291.25), not 200 + 91.25.
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.right, 291);
    EXPECT_EQ(box.bottom, 131);
}

// Wine's screen has 96 dots per inch: 15 twips to a pixel.
TEST_F(Form1Window, StartsHiddenWithTheDesignedClientAreaAndCaption)
{
    EXPECT_FALSE(IsWindowVisible(view.window()));
    const SIZE client = clientSize(view.window());
    EXPECT_EQ(client.cx, 617); // 9255 twips
    EXPECT_EQ(client.cy, 137); // 2055 twips
    EXPECT_EQ(view.caption(), u"Tarnix");
    const LONG_PTR style = GetWindowLongPtrW(view.window(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(GetMenu(view.window()));
}

TEST_F(Form1Window, ControlsSitAtTheirTwipsBoxes)
{
    // Left, top, right, bottom in pixels: the twips of the design divided by 15.
    const struct {
        std::u16string_view name;
        RECT box;
    } expected[] = {
        {u"Text1", {8, 8, 601, 27}},
        {u"Label2", {160, 56, 233, 73}},
        {u"Label3", {160, 80, 233, 105}},
        {u"Label4", {160, 104, 233, 121}},
        {u"Label5", {8, 32, 601, 49}},
        {u"Text5", {240, 56, 433, 75}},
        {u"Text6", {240, 80, 433, 99}},
        {u"Text7", {240, 104, 433, 123}},
        {u"WebBrowser1", {8, 160, 609, 489}},
        {u"Label6", {40, 136, 553, 153}},
    };
    for (const auto& [name, want] : expected) {
        const HWND control = view.controlNamed(name);
        ASSERT_TRUE(control) << std::string(name.begin(), name.end());
        RECT box{};
        GetWindowRect(control, &box);
        MapWindowPoints(nullptr, view.window(), reinterpret_cast<POINT*>(&box), 2);
        EXPECT_TRUE(EqualRect(&box, &want)) << std::string(name.begin(), name.end()) << " at " << box.left << ","
                                            << box.top << "," << box.right << "," << box.bottom;
    }
}

TEST_F(Form1Window, OuterHeightKeepsTheClientBelowTheMenuAtHeightMinusFrame)
{
    // 8135 twips tall makes a client area of 7475 twips, 498 pixels; 2715 makes 2055, 137.
    const int width = clientSize(view.window()).cx;
    view.setOuterHeightTwips(8135); // while hidden
    EXPECT_EQ(clientSize(view.window()).cy, 498);
    EXPECT_EQ(clientSize(view.window()).cx, width);

    view.show();
    view.setOuterHeightTwips(2715);
    EXPECT_EQ(clientSize(view.window()).cy, 137);

    ShowWindow(view.window(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(view.window()));
    view.setOuterHeightTwips(8135);
    EXPECT_TRUE(IsIconic(view.window())); // not restored by the change
    view.show();
    EXPECT_FALSE(IsIconic(view.window()));
    EXPECT_EQ(clientSize(view.window()).cy, 498);
    EXPECT_EQ(clientSize(view.window()).cx, width);
}

TEST_F(Form1Window, SettingText1NotifiesOnceOnlyWhenTheTextChanges)
{
    view.setText(Control::Text1, u"");
    EXPECT_EQ(recorder.text1Changes, 0);
    view.setText(Control::Text1, u"A&B\r\n");
    EXPECT_EQ(recorder.text1Changes, 1);
    EXPECT_EQ(recorder.seenText1, u"A&B\r\n"); // the new text, already in place
    pump();
    EXPECT_EQ(recorder.text1Changes, 1);
    view.setText(Control::Text1, u"A&B\r\n");
    EXPECT_EQ(recorder.text1Changes, 1);
    view.setText(Control::Text1, u"");
    EXPECT_EQ(recorder.text1Changes, 2);
    // The other controls notify nothing.
    view.setText(Control::Text5, u"12345");
    view.setText(Control::Label6, u"Connecting...");
    pump();
    EXPECT_EQ(recorder.total(), 2);
    EXPECT_EQ(view.text(Control::Text5), u"12345");
    EXPECT_EQ(view.text(Control::Label6), u"Connecting...");
}

TEST_F(Form1Window, TypingIntoText1NotifiesEachChangeAndEnterAddsCrLf)
{
    showFocused();
    const HWND text1 = view.controlNamed(u"Text1");
    ASSERT_EQ(GetFocus(), text1);
    for (const wchar_t c : std::wstring(L"a&b"))
        PostMessageW(text1, WM_CHAR, c, 1);
    pump();
    EXPECT_EQ(recorder.text1Changes, 3);
    press(text1, VK_RETURN); // translated into '\r' by the pump, as a key press is
    EXPECT_EQ(view.text(Control::Text1), u"a&b\r\n");
    EXPECT_EQ(recorder.text1Changes, 4);
    EXPECT_EQ(GetFocus(), text1);
}

TEST_F(Form1Window, TabAndShiftTabGoRoundTheFocusableControls)
{
    showFocused();
    const char16_t* chain[] = {u"Text1", u"Text5", u"Text6", u"Text7", u"WebBrowser1", u"Text1"};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        press(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), view.controlNamed(chain[i])) << i;
    }
    setKeyDown(VK_SHIFT, true);
    press(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), view.controlNamed(u"WebBrowser1"));
    press(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), view.controlNamed(u"Text7"));
    EXPECT_EQ(recorder.total(), 0);
    EXPECT_EQ(view.text(Control::Text1), u""); // no tab character typed
}

TEST_F(Form1Window, ShortcutsRunTheirItemsWhereverTheFocusIs)
{
    showFocused();
    const HWND text6 = view.controlNamed(u"Text6");
    SetFocus(text6);
    setKeyDown(VK_CONTROL, true);
    press(text6, 'L');
    EXPECT_EQ(recorder.lookups, 1);
    EXPECT_FALSE(view.lookupChecked()); // the handler moves the check mark, not the window
    press(text6, 'X');
    EXPECT_EQ(recorder.exits, 1);
    press(text6, 'O'); // the greyed items' shortcuts run nothing
    setKeyDown(VK_CONTROL, false);
    press(view.controlNamed(u"WebBrowser1"), VK_F1);
    EXPECT_EQ(recorder.helps, 1);
    press(view.controlNamed(u"Text1"), VK_F2);
    EXPECT_EQ(recorder.abouts, 1);
    EXPECT_EQ(recorder.total(), 4);
    EXPECT_EQ(view.text(Control::Text6), u"UPC Type::"); // Ctrl+X did not cut
}

TEST_F(Form1Window, CtrlCInAResultBoxCopiesAndRunsNoItem)
{
    showFocused();
    view.setText(Control::Text7, u"036000291452");
    const HWND text7 = view.controlNamed(u"Text7");
    SetFocus(text7);
    SendMessageW(text7, EM_SETSEL, 0, -1);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    setKeyDown(VK_CONTROL, true);
    press(text7, 'C');
    setKeyDown(VK_CONTROL, false);
    EXPECT_EQ(clipboardText(), L"036000291452");
    EXPECT_EQ(recorder.total(), 0);
}

TEST_F(Form1Window, MenuItemsAsDesignedAndTheLookupCheckMark)
{
    const HMENU bar = GetMenu(view.window());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    wchar_t caption[64] = {};
    const HMENU file = GetSubMenu(bar, 0);
    GetMenuStringW(file, 2, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"&Exit\tCtrl+X");
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);

    const HMENU options = GetSubMenu(bar, 1);
    EXPECT_FALSE(view.lookupChecked());
    view.setLookupChecked(true);
    EXPECT_TRUE(view.lookupChecked());
    EXPECT_TRUE(GetMenuState(options, 0, MF_BYPOSITION) & MF_CHECKED);
    view.setLookupChecked(false);
    EXPECT_FALSE(GetMenuState(options, 0, MF_BYPOSITION) & MF_CHECKED);

    // Choosing the item (as a click does) calls the handler and moves no check mark.
    SendMessageW(view.window(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(options, 0), 0), 0);
    EXPECT_EQ(recorder.lookups, 1);
    EXPECT_FALSE(view.lookupChecked());
}

TEST_F(Form1Window, ClosingTheWindowCallsFormUnloadOnly)
{
    view.show();
    SendMessageW(view.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(recorder.unloads, 1);
    EXPECT_TRUE(IsWindow(view.window())); // ending the program is the handler's to do
}

TEST_F(Form1Window, HelpWindowIsMadeOnceAndItsCloseButtonOnlyHidesIt)
{
    EXPECT_FALSE(FindWindowW(L"TarnixForm2", nullptr)) << "made before it was asked for";
    view.showHelp();
    const HWND help = FindWindowW(L"TarnixForm2", nullptr);
    ASSERT_TRUE(help);
    EXPECT_TRUE(IsWindowVisible(help));
    view.showHelp();
    EXPECT_EQ(FindWindowW(L"TarnixForm2", nullptr), help);
    EXPECT_FALSE(FindWindowExW(nullptr, help, L"TarnixForm2", nullptr)) << "a second help window";

    wchar_t title[16] = {};
    GetWindowTextW(help, title, 16);
    EXPECT_STREQ(title, L"Help");
    EXPECT_FALSE(GetWindow(help, GW_OWNER));
    const LONG_PTR style = GetWindowLongPtrW(help, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    const SIZE client = clientSize(help);
    EXPECT_EQ(client.cx, 295); // 4425 twips
    EXPECT_EQ(client.cy, 204); // 3060 twips
    wchar_t first[128] = {};
    GetWindowTextW(GetDlgItem(help, 1), first, 128);
    EXPECT_STREQ(first, L"Forgive this limited help system, but this should cover any questions that you might have.");

    SendMessageW(help, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(help));
    EXPECT_FALSE(IsWindowVisible(help));
    view.showHelp();
    EXPECT_TRUE(IsWindowVisible(help));
    view.hideHelp();
    EXPECT_FALSE(IsWindowVisible(help));
    EXPECT_EQ(recorder.total(), 0);
}
