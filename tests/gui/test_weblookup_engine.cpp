// SPDX-License-Identifier: MIT
// Web lookup through the real web engine against a loopback server: the engine starts on
// the first lookup, the server receives exactly the addresses built from the decoded
// data, the pages load, and the keyboard focus stays in the input box throughout, so
// scans typed one after another all land there.
#include <algorithm>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QMetaMethod>
#include <QTest>

#include "tests/gui/support/form1harness.h"
#include "tests/gui/support/loopbackhttpserver.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

constexpr int kPageTimeoutMs = 60000;

const QByteArray kTrackingQueryHead = "/etracking/tracking.cgi?tracknums_displayed=5&TypeOfInquiryNumber=T"
                                      "&HTMLVersion=4.0&sort_by=status&InquiryNumber1=";
const QByteArray kTrackingQueryTail
    = "&InquiryNumber2=&InquiryNumber3=&InquiryNumber4=&InquiryNumber5=&track.x=20&track.y=14";

// The page view comes from a module the program loads at run time; its signals are
// reached through Qt's meta-object system, as the program itself never links it.
QMetaMethod loadFinishedOf(const QObject& view)
{
    return view.metaObject()->method(view.metaObject()->indexOfSignal("loadFinished(bool)"));
}

lookup::LookupHosts hostsAt(const LoopbackHttpServer& server)
{
    const std::u16string host = server.hostAndPort().toStdU16String();
    return {host, host};
}

} // namespace

class WebLookupEngineTest : public QObject {
    Q_OBJECT
private slots:
    void lookupsReachTheServerAndKeepTheFocusInTheInput();
    void tabReachesThePaneAndTheMenuKeysWorkThere();
};

void WebLookupEngineTest::lookupsReachTheServerAndKeepTheFocusInTheInput()
{
    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    Form1Harness h(hostsAt(server), Form1Harness::Pane::Real);
    h.form().startUp();
    h.form().activateWindow(); // no window manager does it on a bare X server
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    QWidget& input = h.child("Text1");
    QCOMPARE(QApplication::focusWidget(), &input);
    QVERIFY2(!Form1Harness::lookupPageView(), "the engine must wait until lookup is switched on");

    // Switching on makes the view at once, and requests nothing.
    h.form().findChild<QAction*>(QStringLiteral("mnu_lookup"))->trigger();
    QWidget* view = Form1Harness::lookupPageView();
    QVERIFY2(view, "switching lookup on made no page view");
    QCOMPARE(QApplication::focusWidget(), &input);
    QTest::qWait(300);
    QVERIFY2(server.targetsStartingWith("/").isEmpty(), "switching lookup on requested a page");
    QVERIFY2(QApplication::focusWidget() == &input, "switching lookup on took the focus from the input box");

    // A product code: the engine starts, the server gets the item page.
    const TestScan product = makeScan("SN0123456789ABCDEF", "UPA", "012345678905");
    h.typeLine(*QApplication::focusWidget(), product.withoutLineEnd());
    QCOMPARE(h.child<QLineEdit>("Text7").text(), product.data);
    QSignalSpy loads(view, loadFinishedOf(*view));
    QTRY_VERIFY_WITH_TIMEOUT(!server.targetsStartingWith("/item.pl").isEmpty(), kPageTimeoutMs);
    QCOMPARE(server.targetsStartingWith("/item.pl"), QList<QByteArray>{"/item.pl?upc=012345678905"});
    QTRY_VERIFY_WITH_TIMEOUT(!loads.isEmpty(), kPageTimeoutMs);
    QVERIFY2(loads.takeFirst().at(0).toBool(), "the item page did not load");
    QVERIFY2(QApplication::focusWidget() == &input, "the page took the focus from the input box");

    // A parcel code: the full tracking query, with the data percent-encoded.
    const TestScan parcel = makeScan("SNPARCEL0000000042", "E28", "1Z 999&AA10#123456");
    h.typeLine(*QApplication::focusWidget(), parcel.withoutLineEnd());
    QCOMPARE(h.child<QLabel>("Label6").text(), QStringLiteral("Connecting to UPS site..."));
    QTRY_VERIFY_WITH_TIMEOUT(!server.targetsStartingWith("/etracking/").isEmpty(), kPageTimeoutMs);
    QCOMPARE(server.targetsStartingWith("/etracking/"),
        QList<QByteArray>{kTrackingQueryHead + "1Z%20999%26AA10%23123456" + kTrackingQueryTail});
    QTRY_VERIFY_WITH_TIMEOUT(!loads.isEmpty(), kPageTimeoutMs);
    QVERIFY2(loads.takeFirst().at(0).toBool(), "the tracking page did not load");
    QVERIFY2(QApplication::focusWidget() == &input, "the page took the focus from the input box");

    // Scans typed one straight after another, without waiting for any page or letting
    // the engine answer in between: each one lands in the input box and is requested,
    // the same code twice included.
    QList<QByteArray> expected = server.targetsStartingWith("/item.pl");
    for (const char* data : {"111111111111", "222222222222", "222222222222", "333333333333"}) {
        const TestScan scan = makeScan("SN0123456789ABCDEF", "UPA", data);
        QVERIFY2(QApplication::focusWidget() == &input, data);
        h.typeLine(*QApplication::focusWidget(), scan.withoutLineEnd());
        QVERIFY2(h.child<QLineEdit>("Text7").text() == scan.data, data);
        expected << "/item.pl?upc=" + QByteArray(data);
    }
    QCOMPARE(Form1Harness::lookupPageView(), view);
    // Each one reaches the server, in the order of the scans; the page shown is the last.
    QTRY_VERIFY_WITH_TIMEOUT(server.targetsStartingWith("/item.pl").size() >= expected.size(), kPageTimeoutMs);
    QCOMPARE(server.targetsStartingWith("/item.pl"), expected);
    QTRY_VERIFY_WITH_TIMEOUT(
        view->property("url").toUrl().toString().endsWith(QLatin1String("upc=333333333333")), kPageTimeoutMs);
    QVERIFY2(QApplication::focusWidget() == &input, "the page took the focus from the input box");
    QCOMPARE(h.child<QLineEdit>("Text1").text(), QString());
}

// Tab goes from the input box through the three result boxes to the pane; with the focus
// there, the menu's keys run their items as anywhere in the window.
void WebLookupEngineTest::tabReachesThePaneAndTheMenuKeysWorkThere()
{
    LoopbackHttpServer server;
    Form1Harness h(hostsAt(server), Form1Harness::Pane::Real);
    h.form().startUp();
    h.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    auto* lookup = h.form().findChild<QAction*>(QStringLiteral("mnu_lookup"));
    lookup->trigger();
    QWidget& pane = h.child("WebBrowser1");
    const auto tabToPane = [&] {
        h.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.form()));
        h.child("Text1").setFocus();
        for (int tab = 0; tab < 4; ++tab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(pane.isAncestorOf(QApplication::focusWidget()),
            qPrintable(QApplication::focusWidget()->objectName() + QStringLiteral(" has the focus")));
    };
    tabToPane();
    const auto helpShown = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(),
            [](QWidget* w) { return w->objectName() == QLatin1String("Form2") && w->isVisible(); });
    };
    QVERIFY(!helpShown());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QVERIFY2(helpShown(), "F1 at the pane opened no help window");
    tabToPane();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    QCOMPARE(h.messages().size(), std::size_t(1));
    tabToPane();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY2(!lookup->isChecked(), "Ctrl+L at the pane left lookup on");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(h.endRequests(), 1);
}

TARNIX_WIDGET_TEST_MAIN(WebLookupEngineTest)
#include "test_weblookup_engine.moc"
