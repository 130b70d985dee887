// SPDX-License-Identifier: MIT
#include "platform/win32/form1menu_win.h"

#include <string>
#include <vector>

#include "mainwindow/form1_geometry.h"
#include "platform/win32/widetext_win.h"

namespace platform::win32 {

namespace {

constexpr UINT kFirstCommand = 100;
constexpr int kItemsPerMenu = 10;

} // namespace

UINT menuCommandOf(int menuIndex, int itemIndex)
{
    return kFirstCommand + static_cast<UINT>(menuIndex * kItemsPerMenu + itemIndex);
}

UINT menuCommandNamed(std::u16string_view itemName)
{
    for (int m = 0; m < static_cast<int>(form1geometry::kMenus.size()); ++m) {
        const auto& menu = form1geometry::kMenus[static_cast<std::size_t>(m)];
        for (int i = 0; i < menu.itemCount; ++i) {
            if (menu.items[static_cast<std::size_t>(i)].name == itemName)
                return menuCommandOf(m, i);
        }
    }
    return 0;
}

std::u16string_view menuItemNameOf(UINT command)
{
    for (int m = 0; m < static_cast<int>(form1geometry::kMenus.size()); ++m) {
        const auto& menu = form1geometry::kMenus[static_cast<std::size_t>(m)];
        for (int i = 0; i < menu.itemCount; ++i) {
            if (menuCommandOf(m, i) == command)
                return menu.items[static_cast<std::size_t>(i)].name;
        }
    }
    return {};
}

HMENU createForm1MenuBar()
{
    const HMENU bar = CreateMenu();
    for (int m = 0; m < static_cast<int>(form1geometry::kMenus.size()); ++m) {
        const auto& menu = form1geometry::kMenus[static_cast<std::size_t>(m)];
        const HMENU popup = CreatePopupMenu();
        for (int i = 0; i < menu.itemCount; ++i) {
            const auto& item = menu.items[static_cast<std::size_t>(i)];
            std::wstring caption = toWide(item.caption);
            if (!item.shortcut.empty())
                caption += L'\t' + toWide(item.shortcut);
            UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED);
            if (item.checkable)
                flags |= MF_UNCHECKED;
            AppendMenuW(popup, flags, menuCommandOf(m, i), caption.c_str());
        }
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), toWide(menu.caption).c_str());
    }
    return bar;
}

std::optional<ACCEL> acceleratorOf(std::u16string_view shortcut, WORD command)
{
    BYTE flags = FVIRTKEY;
    constexpr std::u16string_view kCtrl = u"Ctrl+";
    if (shortcut.starts_with(kCtrl)) {
        flags |= FCONTROL;
        shortcut.remove_prefix(kCtrl.size());
    }
    if (shortcut.size() == 1 && shortcut[0] >= u'A' && shortcut[0] <= u'Z')
        return ACCEL{flags, static_cast<WORD>(shortcut[0]), command};
    if (shortcut.size() >= 2 && shortcut.size() <= 3 && shortcut[0] == u'F') {
        int number = 0;
        for (const char16_t digit : shortcut.substr(1)) {
            if (digit < u'0' || digit > u'9')
                return std::nullopt;
            number = number * 10 + (digit - u'0');
        }
        if (number >= 1 && number <= 24)
            return ACCEL{flags, static_cast<WORD>(VK_F1 + number - 1), command};
    }
    return std::nullopt;
}

HACCEL createForm1Accelerators()
{
    std::vector<ACCEL> table;
    for (int m = 0; m < static_cast<int>(form1geometry::kMenus.size()); ++m) {
        const auto& menu = form1geometry::kMenus[static_cast<std::size_t>(m)];
        for (int i = 0; i < menu.itemCount; ++i) {
            const auto& item = menu.items[static_cast<std::size_t>(i)];
            if (!item.enabled)
                continue;
            if (const auto accel = acceleratorOf(item.shortcut, static_cast<WORD>(menuCommandOf(m, i))))
                table.push_back(*accel);
        }
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

} // namespace platform::win32
