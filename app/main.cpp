// SPDX-License-Identifier: MIT
// The window program: the main window and its load handler, whose polling loop is the
// program's event loop until a menu command or closing the window ends the process.
// Takes no options of its own; Qt's own (-platform, -display, -style, ...) work as usual.
#include <QApplication>

#include "platform/qt/scannerinputcontext.h"
#include "platform/qt/tarnixapp.h"

int main(int argc, char* argv[])
{
    platform::useScannerInputContext();
    QApplication app(argc, argv);
    const TarnixApp tarnix = makeTarnixApp(app);
    tarnix.form1->Form_Load();
}
