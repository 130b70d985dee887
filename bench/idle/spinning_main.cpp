// SPDX-License-Identifier: MIT
// Tarnix with the polling loop as it was first written: each pass asks for Alt and
// delivers the pending events without ever waiting, so it keeps a processor core busy.
// Started as the program starts; built only to measure the difference against the real
// program, never installed.
#include <QApplication>
#include <QEventLoop>

#include "platform/qt/scannerinputcontext.h"
#include "platform/qt/tarnixapp.h"

int main(int argc, char* argv[])
{
    platform::useScannerInputContext();
    QApplication app(argc, argv);
    const TarnixApp tarnix = makeTarnixApp(app);
    tarnix.form1->startUp();
    for (;;) {
        if (tarnix.keys->query(platform::kAltKey) != 0)
            tarnix.form1->onAltPressed();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}
