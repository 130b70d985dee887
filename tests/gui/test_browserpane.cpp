// The program's browser pane before its first navigation, and the twips scale.
#include <QTest>
#include <QWebEngineView>

#include "browserpane.h"
#include "twips.h"
#include "widgettestmain.h"

class BrowserPaneTest : public QObject {
    Q_OBJECT
private slots:
    void twipsScaleRoundsEachValue();
    void paneStartsWithoutAnEngine();
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
    QCOMPARE(at96.twipsY(498), 7470.0);

    const platform::TwipsScale at144x120(144, 120);
    QCOMPARE(at144x120.x(1440), 144);
    QCOMPARE(at144x120.y(1440), 120);
    QCOMPARE(at144x120.x(8895), 890); // 889.5 rounds away from zero
    QCOMPARE(at144x120.y(285), 24);   // 23.75
    QCOMPARE(at144x120.twipsX(144), 1440.0);
    QCOMPARE(at144x120.twipsY(12), 144.0);
}

void BrowserPaneTest::paneStartsWithoutAnEngine()
{
    QWidget window;
    platform::BrowserPane* pane = platform::createWebBrowserPane(&window);
    QVERIFY(pane);
    QCOMPARE(pane->parentWidget(), &window);
    pane->setGeometry(0, 0, 200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(!pane->findChild<QWebEngineView*>());
    QVERIFY(pane->findChildren<QWidget*>().isEmpty());
    // A tab stop from the start, though it has no page yet.
    QVERIFY(pane->focusPolicy() & Qt::TabFocus);
    QCOMPARE(pane->focusProxy(), nullptr);
}

TARNIX_WIDGET_TEST_MAIN(BrowserPaneTest)
#include "test_browserpane.moc"
