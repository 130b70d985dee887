// SPDX-License-Identifier: MIT
// Renders the windows as they appear on the screen and saves them as PNG files, for the
// documentation. Run on an X server (scripts/screenshot starts a virtual one):
//   tarnix_screenshots OUTPUT_DIR
// Writes form1.png (just started), form1-lookup.png (after a scan with web lookup on,
// the page served from a loopback server) and form2.png (the help window).
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <QWindow>

#include <cstdio>

#include "platform/qt/form1window.h"
#include "tests/gui/support/form1harness.h"
#include "platform/qt/form2.h"
#include "tests/gui/support/loopbackhttpserver.h"

namespace {

bool save(QWidget& window, const QString& path)
{
    QTest::qWait(300); // let the last paint reach the screen
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull() || !shot.save(path)) {
        std::fprintf(stderr, "tarnix_screenshots: could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: tarnix_screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(app.arguments().at(1));

    LoopbackHttpServer server;
    const std::u16string host = server.hostAndPort().toStdU16String();
    Form1Dependencies deps;
    deps.hosts = {host, host};
    deps.endProgram = [] {};
    deps.createBrowserPane = &Form1Harness::createBuiltWebPane;
    Form1Window form(std::move(deps));
    form.startUp();
    form.activateWindow();
    if (!QTest::qWaitForWindowExposed(&form) || !save(form, out.filePath(QStringLiteral("form1.png"))))
        return 1;

    form.findChild<QAction*>(QStringLiteral("mnu_lookup"))->trigger();
    const TestScan scan = makeScan("SN0123456789ABCDEF", "UPA", "012345678905");
    QWidget* input = form.findChild<QWidget*>(QStringLiteral("Text1"));
    QTest::keyClicks(input, scan.withoutLineEnd());
    QTest::keyClick(input, Qt::Key_Return);
    auto* view = qobject_cast<QWebEngineView*>(Form1Harness::lookupPageView());
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    if (!view || !loaded.wait(60000)) {
        std::fprintf(stderr, "tarnix_screenshots: the lookup page did not load\n");
        return 1;
    }
    QTest::qWait(700);
    if (!save(form, out.filePath(QStringLiteral("form1-lookup.png"))))
        return 1;

    Form2 help;
    help.show();
    if (!QTest::qWaitForWindowExposed(&help) || !save(help, out.filePath(QStringLiteral("form2.png"))))
        return 1;
    return 0;
}
