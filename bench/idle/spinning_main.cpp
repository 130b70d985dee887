// Tarnix with the polling loop as it was first written: each pass asks for Alt and
// delivers the pending events without ever waiting, so it keeps a processor core busy.
// Built only to measure the difference against the real program; never installed.
#include <memory>

#include <QApplication>
#include <QEventLoop>

#include "altkeystyle.h"
#include "form1window.h"
#include "keystate.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::applyAltKeyStyle(app);
    const std::unique_ptr<platform::KeyState> keys = platform::createKeyState();

    Form1Dependencies deps;
    deps.keys = keys.get();
    Form1Window form1(std::move(deps));
    form1.startUp();
    for (;;) {
        if (keys->query(platform::kAltKey) != 0)
            form1.onAltPressed();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}
