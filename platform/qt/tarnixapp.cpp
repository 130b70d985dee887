// SPDX-License-Identifier: MIT
#include "platform/qt/tarnixapp.h"

#include <QApplication>
#include <QIcon>

#include "platform/qt/altkeystyle.h"
#include "platform/qt/scannerinputcontext.h"
#include "platform/scannerdevices.h"
#include "mainwindow/scannertyping.h"

TarnixApp makeTarnixApp(QApplication& app)
{
    platform::restoreInputMethodSetting();
    QGuiApplication::setDesktopFileName(QStringLiteral("tarnix"));
    // From the program's resources; a program built without them shows the default icon.
    QIcon icon(QStringLiteral(":/icons/tarnix-256.png"));
    icon.addFile(QStringLiteral(":/icons/tarnix-48.png"));
    QApplication::setWindowIcon(icon);
    platform::applyAltKeyStyle(app);

    TarnixApp tarnix;
    tarnix.keys = platform::createKeyState();
    Form1Dependencies deps;
    deps.keys = tarnix.keys.get();
    tarnix.form1 = std::make_unique<Form1Window>(std::move(deps));

    // A scanner read from its own device opens each line with the Alt action and types
    // into the input box whichever program has the keyboard. Owned by the window.
    Form1Window& window = *tarnix.form1;
    platform::readScannerDevices(window,
        {.altTapped = [&window] { window.onAltPressed(); },
            .lineTyped = [&window](std::u16string_view line) { typeIntoText1(window, line); }});
    return tarnix;
}
