// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu tree. Each menu and item carries its name as objectName.
struct Form1Menu {
    QMenu* mnu_file = nullptr;
    QAction* mnu_open = nullptr;  // greyed, does nothing
    QAction* mnu_close = nullptr; // greyed, does nothing
    QAction* mnu_exit = nullptr;
    QMenu* mnu_options = nullptr;
    QAction* mnu_lookup = nullptr; // check item: the web-lookup switch, off at start
    QMenu* mnu_helpm = nullptr;
    QAction* mnu_help = nullptr;
    QAction* mnu_About = nullptr;

    // Every item below the menu bar, each of which has a shortcut key.
    QList<QAction*> items() const;
};

Form1Menu buildForm1Menu(QMenuBar& bar);
