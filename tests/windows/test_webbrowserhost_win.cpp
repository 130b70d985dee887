// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/windows/fakewebbrowser_win.h"
#include "platform/win32/webbrowserhost_win.h"

// Runs on a desktop of its own with Wine's null display driver (see CMakeLists.txt), so
// windows can be made without an X server.

using platform::WebBrowserHost;

namespace {

constexpr RECT kPaneArea{10, 40, 410, 340};

// A top-level window with an edit control holding the focus, as the main window's input
// line does.
class MainWindow {
public:
    MainWindow()
    {
        frame = CreateWindowExW(0, L"STATIC", L"tarnix host test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640,
            480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!frame)
            return;
        input = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24, frame, nullptr,
            GetModuleHandleW(nullptr), nullptr);
        ShowWindow(frame, SW_SHOW);
        SetForegroundWindow(frame);
        SetFocus(input);
    }
    ~MainWindow()
    {
        if (frame)
            DestroyWindow(frame);
    }

    HWND frame = nullptr;
    HWND input = nullptr;
};

void pumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::string narrow(const std::wstring& text)
{
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()), nullptr, nullptr);
    return out;
}

class WithFakeControl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.frame) << "no window: " << GetLastError(); }
    void TearDown() override
    {
        host.reset();
        fake->Release();
    }

    WebBrowserHost& makeHost()
    {
        host = std::make_unique<WebBrowserHost>(window.frame, kPaneArea, [this](IWebBrowser2** control) {
            ++made;
            fake->AddRef();
            *control = fake;
            return S_OK;
        });
        return *host;
    }

    MainWindow window;
    FakeWebBrowser* fake = new FakeWebBrowser;
    int made = 0;
    std::unique_ptr<WebBrowserHost> host;
};

} // namespace

TEST_F(WithFakeControl, MakesNothingBeforeTheFirstAddress)
{
    WebBrowserHost& pane = makeHost();
    EXPECT_EQ(made, 0);
    EXPECT_EQ(pane.window(), nullptr);
    EXPECT_TRUE(pane.failure().empty());
}

TEST_F(WithFakeControl, PassesTheAddressUnchangedWithNoOtherArgument)
{
    const std::wstring address = L"https://track.example.com/search?q=4006381333931%20x%26y&sid=a%23b&empty=#results";
    ASSERT_TRUE(makeHost().navigate(address)) << narrow(host->failure());

    ASSERT_EQ(fake->navigations.size(), 1u);
    const FakeWebBrowser::Navigation& call = fake->navigations[0];
    EXPECT_EQ(narrow(call.url), narrow(address));
    EXPECT_EQ(call.flags, VT_EMPTY);
    EXPECT_EQ(call.targetFrame, VT_EMPTY);
    EXPECT_EQ(call.postData, VT_EMPTY);
    EXPECT_EQ(call.headers, VT_EMPTY);
}

TEST_F(WithFakeControl, NavigatesOncePerCallOnOneControl)
{
    WebBrowserHost& pane = makeHost();
    const std::wstring addresses[] = {L"https://a.example/1", L"https://b.example/2", L"https://a.example/1"};
    for (const std::wstring& address : addresses)
        ASSERT_TRUE(pane.navigate(address)) << narrow(pane.failure());

    EXPECT_EQ(made, 1);
    ASSERT_EQ(fake->navigations.size(), std::size(addresses));
    for (size_t i = 0; i < std::size(addresses); ++i)
        EXPECT_EQ(narrow(fake->navigations[i].url), narrow(addresses[i])) << "call " << i;
}

TEST_F(WithFakeControl, ControlShowsNoDialogsAndTakesNoDrops)
{
    ASSERT_TRUE(makeHost().navigate(L"about:blank"));
    EXPECT_EQ(fake->silentSet, std::vector<VARIANT_BOOL>{VARIANT_TRUE});
    EXPECT_EQ(fake->dropTargetSet, std::vector<VARIANT_BOOL>{VARIANT_FALSE});
}

// UI activation (or OLEIVERB_SHOW) would give the page the keyboard focus.
TEST_F(WithFakeControl, ActivatesInPlaceInTheParentsArea)
{
    ASSERT_TRUE(makeHost().navigate(L"about:blank"));
    EXPECT_EQ(fake->verbs, std::vector<LONG>{OLEIVERB_INPLACEACTIVATE});
    EXPECT_EQ(fake->verbParent, window.frame);
    EXPECT_TRUE(EqualRect(&fake->verbArea, &kPaneArea));
    EXPECT_TRUE(EqualRect(&fake->siteArea, &kPaneArea)) << "the in-place site's position";
}

TEST_F(WithFakeControl, LetsGoOfTheControlWhenDestroyed)
{
    ASSERT_TRUE(makeHost().navigate(L"about:blank"));
    ASSERT_TRUE(fake->hadSite);
    host.reset();
    EXPECT_TRUE(fake->closed);
    EXPECT_FALSE(fake->holdsSite());
    EXPECT_EQ(fake->references, 1u) << "only the test's own reference is left";
}

TEST(WebBrowserHost, ReportsAControlThatCannotBeMadeAndDoesNotRetry)
{
    int attempts = 0;
    WebBrowserHost pane(nullptr, kPaneArea, [&](IWebBrowser2** control) {
        ++attempts;
        *control = nullptr;
        return REGDB_E_CLASSNOTREG;
    });
    EXPECT_FALSE(pane.navigate(L"about:blank"));
    EXPECT_NE(pane.failure().find(L"0x80040154"), std::wstring::npos) << narrow(pane.failure());
    EXPECT_EQ(pane.window(), nullptr);
    EXPECT_FALSE(pane.navigate(L"about:blank"));
    EXPECT_EQ(attempts, 1);
}

// The system's control: the page may stay empty (Wine without its HTML engine), but the
// host must either show the control in the pane without moving the focus, or say why not.
TEST(WebBrowserHost, RealControlLoadsABlankPageOrSaysWhyNot)
{
    MainWindow window;
    ASSERT_TRUE(window.frame);
    ASSERT_EQ(GetFocus(), window.input);

    WebBrowserHost pane(window.frame, kPaneArea);
    const bool navigated = pane.navigate(L"about:blank");
    pumpMessages(1500);
    wchar_t className[128] = {};
    if (pane.window())
        GetClassNameW(pane.window(), className, int(std::size(className)));
    std::cout << "navigate: " << (navigated ? "true" : "false") << ", failure: \"" << narrow(pane.failure())
              << "\", control window: " << pane.window() << " (" << narrow(className) << ")" << std::endl;

    if (!navigated) {
        EXPECT_FALSE(pane.failure().empty());
        EXPECT_EQ(pane.window(), nullptr);
        return;
    }
    EXPECT_TRUE(pane.failure().empty());
    ASSERT_NE(pane.window(), nullptr);
    EXPECT_TRUE(IsChild(window.frame, pane.window()));
    RECT placed{};
    GetWindowRect(pane.window(), &placed);
    MapWindowPoints(nullptr, window.frame, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(EqualRect(&placed, &kPaneArea))
        << placed.left << "," << placed.top << " " << placed.right << "," << placed.bottom;
    EXPECT_EQ(GetFocus(), window.input) << "the page took the keyboard";
}
