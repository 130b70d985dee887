// SPDX-License-Identifier: MIT
// The program's browser pane: nothing of the web engine is loaded until the pane is
// prepared, a missing module leaves a readable reason in the pane, and the twips scale.
#include <QFile>
#include <QLabel>
#include <QTest>

#include "tests/gui/support/form1harness.h"
#include "platform/qt/twips.h"
#include "platform/qt/webbrowserpane.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

bool webEngineLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

} // namespace

class BrowserPaneTest : public QObject {
    Q_OBJECT
private slots:
    void twipsScaleRoundsEachValue();
    // In this order: once loaded, the engine stays in the process.
    void missingModuleIsReportedInThePane();
    void engineLoadsOnlyWhenPrepared();
};

void BrowserPaneTest::twipsScaleRoundsEachValue()
{
    const platform::TwipsScale at96(96, 96);
    QCOMPARE(at96.x(15), 1);
    QCOMPARE(at96.x(1440), 96);
    QCOMPARE(at96.y(9255), 617);
    QCOMPARE(at96.y(7475), 498); // 498.33
    QCOMPARE(at96.y(7), 0);
    QCOMPARE(at96.y(8), 1); // 0.53 rounds up
    QCOMPARE(at96.rect(120, 2400, 9015, 4935), QRect(8, 160, 601, 329));

    const platform::TwipsScale at144x120(144, 120);
    QCOMPARE(at144x120.x(1440), 144);
    QCOMPARE(at144x120.y(1440), 120);
    QCOMPARE(at144x120.x(8895), 890); // 889.5 rounds away from zero
    QCOMPARE(at144x120.y(285), 24);   // 23.75
}

void BrowserPaneTest::missingModuleIsReportedInThePane()
{
    QWidget window;
    platform::WebBrowserPane pane(&window, {QStringLiteral("/nonexistent/tarnix")});
    pane.navigate(QStringLiteral("http://127.0.0.1:9/item.pl?upc=1"));
    pane.navigate(QStringLiteral("http://127.0.0.1:9/item.pl?upc=2")); // still nothing, no crash
    auto* shown = pane.findChild<QLabel*>(QStringLiteral("webPaneFailure"));
    QVERIFY(shown);
    QVERIFY2(shown->text().startsWith(QLatin1String("Web lookup is not available: ")), qPrintable(shown->text()));
    QVERIFY2(shown->text().contains(QLatin1String("/nonexistent/tarnix")), qPrintable(shown->text()));
    QCOMPARE(shown->textFormat(), Qt::PlainText);
    QVERIFY(!webEngineLoaded());
}

void BrowserPaneTest::engineLoadsOnlyWhenPrepared()
{
    QWidget window;
    platform::BrowserPane* pane = Form1Harness::createBuiltWebPane(&window);
    pane->setGeometry(0, 0, 200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(pane->focusPolicy() & Qt::TabFocus); // a tab stop before it has a page
    QVERIFY(pane->findChildren<QWidget*>().isEmpty());
    QVERIFY2(!webEngineLoaded(), "the web engine was loaded before the pane was prepared");

    const WId windowId = window.winId();
    pane->prepare();
    QVERIFY(webEngineLoaded());
    QVERIFY2(Form1Harness::lookupPageView(), "preparing made no page view");
    QVERIFY(pane->focusProxy());
    // The window the pane sits in is never made anew for the engine.
    QTest::qWait(200);
    QCOMPARE(window.winId(), windowId);
}

TARNIX_WIDGET_TEST_MAIN(BrowserPaneTest)
#include "test_browserpane.moc"
