// The window program: the main window and its load handler, whose polling loop is the
// program's event loop until a menu command or closing the window ends the process.
// Takes no options of its own; Qt's own (-platform, -display, -style, ...) work as usual.
#include <memory>

#include <QApplication>
#include <QIcon>

#include "altkeystyle.h"
#include "form1window.h"
#include "keystate.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tarnix"));
    QIcon icon(QStringLiteral(":/icons/tarnix-256.png"));
    icon.addFile(QStringLiteral(":/icons/tarnix-48.png"));
    QApplication::setWindowIcon(icon);
    platform::applyAltKeyStyle(app);

    // Needs the application: it picks its source by the window system in use.
    const std::unique_ptr<platform::KeyState> keys = platform::createKeyState();

    Form1Dependencies deps;
    deps.keys = keys.get();
    Form1Window form1(std::move(deps));
    form1.Form_Load();
}
