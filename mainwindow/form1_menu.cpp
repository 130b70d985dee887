#include "form1_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar& bar, const char* name, const QString& caption)
{
    QMenu* menu = bar.addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addItem(QMenu& menu, const char* name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* item = menu.addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    return item;
}

} // namespace

QList<QAction*> Form1Menu::items() const
{
    return {mnu_open, mnu_close, mnu_exit, mnu_lookup, mnu_help, mnu_About};
}

Form1Menu buildForm1Menu(QMenuBar& bar)
{
    Form1Menu menu;

    menu.mnu_file = addMenu(bar, "mnu_file", QStringLiteral("&File"));
    menu.mnu_open = addItem(*menu.mnu_file, "mnu_open", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    menu.mnu_open->setEnabled(false);
    menu.mnu_close = addItem(*menu.mnu_file, "mnu_close", QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_C));
    menu.mnu_close->setEnabled(false);
    menu.mnu_exit = addItem(*menu.mnu_file, "mnu_exit", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_X));

    menu.mnu_options = addMenu(bar, "mnu_options", QStringLiteral("&Options"));
    menu.mnu_lookup = addItem(*menu.mnu_options, "mnu_lookup", QStringLiteral("&Web Lookup"), QKeySequence(Qt::CTRL | Qt::Key_L));
    menu.mnu_lookup->setCheckable(true);

    menu.mnu_helpm = addMenu(bar, "mnu_helpm", QStringLiteral("&Help"));
    menu.mnu_help = addItem(*menu.mnu_helpm, "mnu_help", QStringLiteral("&Help"), QKeySequence(Qt::Key_F1));
    menu.mnu_About = addItem(*menu.mnu_helpm, "mnu_About", QStringLiteral("&About"), QKeySequence(Qt::Key_F2));

    return menu;
}
