// SPDX-License-Identifier: MIT
// The menu commands and the two ways out: the web-lookup switch and its heights, the
// About box, Exit and closing the main window; and the start-up steps before the loop.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>

#include "tests/gui/support/form1harness.h"
#include "platform/qt/form2.h"
#include "platform/qt/messagebox.h"
#include "platform/qt/scaninput.h"
#include "tarnix_version.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

const TestScan kProduct = makeScan("SN0123456789ABCDEF", "UPA", "012345678905");

QAction& item(const Form1Harness& h, const char* name)
{
    auto* action = h.form().findChild<QAction*>(QLatin1String(name));
    if (!action)
        qFatal("no menu item %s", name);
    return *action;
}

bool clientIs(const Form1Harness& h, int twips)
{
    return h.form().centralWidget()->height() == h.scale().y(twips);
}

QString clientTwips(const Form1Harness& h)
{
    return QStringLiteral("client height %1 twips").arg(h.clientHeightTwips());
}

} // namespace

class MenuCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void webLookupTogglesItsMarkAndTheHeight();
    void webLookupOffAndOnKeepsPageAndStatus();
    void aboutTextIsThreeLinesJoinedByCrLf();
    void aboutBoxIsModalWithOneOkAndNoIcon();
    void exitHidesBothWindowsThenEnds();
    void closingTheMainWindowEnds();
    void startUpShowsTheVersionAndScansDecodeAtOnce();
    void altActionShowsFocusesAndEmptiesTheInput();
};

void MenuCommandsTest::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<Form2*>(w))
            w->hide();
}

void MenuCommandsTest::webLookupTogglesItsMarkAndTheHeight()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    QAction& lookup = item(h, "mnu_lookup");
    QVERIFY(!lookup.isChecked());
    QVERIFY2(clientIs(h, 2055), qPrintable(clientTwips(h)));

    for (int click = 1; click <= 4; ++click) {
        lookup.trigger();
        const bool on = click % 2 == 1;
        QVERIFY2(lookup.isChecked() == on, qPrintable(QStringLiteral("click %1").arg(click)));
        QVERIFY2(clientIs(h, on ? 7475 : 2055), qPrintable(QStringLiteral("click %1: ").arg(click) + clientTwips(h)));
    }
    // Switching requests nothing and writes no status.
    QVERIFY(h.pane().requests().empty());
    QCOMPARE(h.child<QLabel>("Label6").text(), QString());

    // Whatever the height was before, the switch sets its own.
    h.form().setOuterHeightTwips(5000);
    lookup.trigger();
    QVERIFY2(clientIs(h, 7475), qPrintable(clientTwips(h)));
    h.form().setOuterHeightTwips(5000);
    lookup.trigger();
    QVERIFY2(clientIs(h, 2055), qPrintable(clientTwips(h)));
}

void MenuCommandsTest::webLookupOffAndOnKeepsPageAndStatus()
{
    Form1Harness h;
    h.form().startUp();
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    QAction& lookup = item(h, "mnu_lookup");
    lookup.trigger();
    h.typeScan(kProduct);
    const QString status = h.child<QLabel>("Label6").text();
    QCOMPARE(status, QStringLiteral("Connecting to the UPC Database..."));

    lookup.trigger();
    QVERIFY(!lookup.isChecked());
    QVERIFY(h.child("WebBrowser1").visibleRegion().isEmpty());
    lookup.trigger();
    QVERIFY(lookup.isChecked());

    // The pane was not sent anywhere again, and the status line still says what it said.
    QCOMPARE(h.pane().requests().size(), std::size_t(1));
    QCOMPARE(h.child<QLabel>("Label6").text(), status);
    QCOMPARE(h.child<QLineEdit>("Text7").text(), kProduct.data);
    QVERIFY(!h.child("WebBrowser1").visibleRegion().isEmpty());
}

void MenuCommandsTest::aboutTextIsThreeLinesJoinedByCrLf()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    item(h, "mnu_About").trigger();
    QCOMPARE(h.messages().size(), std::size_t(1));
    const auto& about = h.messages().front();
    QCOMPARE(about.title, QStringLiteral("About"));

    const QString& text = about.text;
    QCOMPARE(text.count(QStringLiteral("\r\n")), 2);
    QCOMPARE(text.count(QLatin1Char('\r')), 2); // no other line breaks, bare or not
    QCOMPARE(text.count(QLatin1Char('\n')), 2);
    QVERIFY(!text.endsWith(QLatin1Char('\n')));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith(QLatin1String("Tarnix - By ")) && lines[0].size() > 12, qPrintable(lines[0]));
    QCOMPARE(lines[1], QStringLiteral("Questions and comments should be directed to:"));
    QVERIFY2(QRegularExpression(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[a-z]+$")).match(lines[2]).hasMatch(),
        qPrintable(lines[2]));

    // Each choice shows the box again; nothing else happens.
    QTest::keyClick(&h.child("Text1"), Qt::Key_F2);
    QCOMPARE(h.messages().size(), std::size_t(2));
    QCOMPARE(h.messages().back().text, text);
    QCOMPARE(h.endRequests(), 0);
}

void MenuCommandsTest::aboutBoxIsModalWithOneOkAndNoIcon()
{
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const QString text = QStringLiteral("one\r\ntwo\r\nthree");
    bool inspected = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        inspected = true;
        QVERIFY(box->isModal());
        QCOMPARE(box->windowTitle(), QStringLiteral("About"));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().front()), QMessageBox::Ok);
        box->buttons().front()->click();
    });
    // Returns only once the box is closed.
    platform::showMessageBox(&owner, QStringLiteral("About"), text);
    QVERIFY(inspected);
    QVERIFY(!QApplication::activeModalWidget());
}

void MenuCommandsTest::exitHidesBothWindowsThenEnds()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    item(h, "mnu_help").trigger();
    QVERIFY(h.form().isVisible());

    item(h, "mnu_exit").trigger();
    QCOMPARE(h.endRequests(), 1);
    // Both windows were hidden before the end came.
    QVERIFY2(h.visibleWindowsAtEnd().isEmpty(), qPrintable(h.visibleWindowsAtEnd().join(QLatin1Char(' '))));
    QVERIFY(!h.form().isVisible());

    // Without a help window ever shown, the same.
    Form1Harness plain;
    QVERIFY(plain.showActive());
    item(plain, "mnu_exit").trigger();
    QCOMPARE(plain.endRequests(), 1);
    QVERIFY(!plain.visibleWindowsAtEnd().contains(QStringLiteral("Form1")));
}

void MenuCommandsTest::closingTheMainWindowEnds()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    item(h, "mnu_help").trigger();
    Form2* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Form2*>(w); f && f->isVisible())
            help = f;
    QVERIFY(help);

    // Closing the help window is no way out.
    QVERIFY(help->close());
    QCOMPARE(h.endRequests(), 0);
    item(h, "mnu_help").trigger();

    // Closing the main window is, and is not cancelled.
    QVERIFY(h.form().close());
    QCOMPARE(h.endRequests(), 1);
    QVERIFY(!h.form().isVisible());
}

void MenuCommandsTest::startUpShowsTheVersionAndScansDecodeAtOnce()
{
    Form1Harness h;
    QVERIFY(!h.form().isVisible());
    h.form().startUp();
    QVERIFY(h.form().isVisible());
    QCOMPARE(h.form().windowTitle(), QStringLiteral("Tarnix v" TARNIX_CAPTION_VERSION));
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    QCOMPARE(QApplication::focusWidget(), &h.child("Text1"));

    // Typed into whatever has the focus right after start.
    h.typeLine(*QApplication::focusWidget(), kProduct.withoutLineEnd());
    QCOMPARE(h.child<QLineEdit>("Text5").text(), kProduct.serial);
    QCOMPARE(h.child<QLineEdit>("Text6").text(), kProduct.type);
    QCOMPARE(h.child<QLineEdit>("Text7").text(), kProduct.data);
}

void MenuCommandsTest::altActionShowsFocusesAndEmptiesTheInput()
{
    Form1Harness h;
    h.form().startUp();
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    auto& input = h.child<ScanInput>("Text1");
    QTest::keyClicks(&input, QStringLiteral("half a scan"));
    h.child("Text6").setFocus();
    // Another window has the focus, as when the user works in another program.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QSignalSpy changes(&input, &QLineEdit::textChanged);

    h.form().onAltPressed();
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    QTRY_COMPARE(QApplication::focusWidget(), &input);
    QCOMPARE(input.text(), QString());
    QCOMPARE(changes.count(), 1);
    QCOMPARE(h.child<QLineEdit>("Text5").text(), QStringLiteral("Serial Number::")); // nothing decoded

    // Hidden or minimized, it comes back.
    h.form().hide();
    h.form().onAltPressed();
    QVERIFY(h.form().isVisible());
    h.form().showMinimized();
    h.form().onAltPressed();
    QVERIFY(!h.form().isMinimized());
    QCOMPARE(h.endRequests(), 0);
}

TARNIX_WIDGET_TEST_MAIN(MenuCommandsTest)
#include "test_menucommands.moc"
