// SPDX-License-Identifier: MIT
// The window program: the main window and its load handler, whose polling loop is the
// program's event loop until a menu command or closing the window ends the process.
// A second start on the same display brings the running Tarnix forward and ends.
// Takes no options of its own; Qt's own (-platform, -display, -style, ...) work as usual.
#include <QApplication>

#include "platform/desktopsession.h"
#include "platform/qt/scannerinputcontext.h"
#include "platform/qt/tarnixapp.h"

int main(int argc, char* argv[])
{
    platform::useScannerInputContext();
    QApplication app(argc, argv);
    const auto session = platform::claimDesktopSession();
    if (!session)
        return 0;
    const TarnixApp tarnix = makeTarnixApp(app);
    session->onComeForward([&window = *tarnix.form1] { window.onAltPressed(); });
    tarnix.form1->Form_Load();
}
