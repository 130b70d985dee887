// SPDX-License-Identifier: MIT
#include "platform/qt/form1_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "mainwindow/form1_geometry.h"
#include "platform/qt/u16text.h"

QList<QAction*> Form1Menu::items() const
{
    return {mnu_open, mnu_close, mnu_exit, mnu_lookup, mnu_help, mnu_About};
}

Form1Menu buildForm1Menu(QMenuBar& bar)
{
    for (const form1geometry::MenuLayout& layout : form1geometry::kMenus) {
        QMenu* menu = bar.addMenu(toQString(layout.caption));
        menu->setObjectName(toQString(layout.name));
        menu->menuAction()->setObjectName(toQString(layout.name));
        for (int i = 0; i < layout.itemCount; ++i) {
            const form1geometry::MenuItemLayout& item = layout.items[static_cast<std::size_t>(i)];
            QAction* action = menu->addAction(toQString(item.caption));
            action->setObjectName(toQString(item.name));
            action->setShortcut(QKeySequence(toQString(item.shortcut), QKeySequence::PortableText));
            action->setEnabled(item.enabled);
            action->setCheckable(item.checkable);
        }
    }
    auto find = [&bar](const char* name) { return bar.findChild<QAction*>(QLatin1String(name)); };
    auto findMenu = [&bar](const char* name) { return bar.findChild<QMenu*>(QLatin1String(name)); };
    Form1Menu menu;
    menu.mnu_file = findMenu("mnu_file");
    menu.mnu_open = find("mnu_open");
    menu.mnu_close = find("mnu_close");
    menu.mnu_exit = find("mnu_exit");
    menu.mnu_options = findMenu("mnu_options");
    menu.mnu_lookup = find("mnu_lookup");
    menu.mnu_helpm = findMenu("mnu_helpm");
    menu.mnu_help = find("mnu_help");
    menu.mnu_About = find("mnu_About");
    return menu;
}
