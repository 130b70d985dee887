// SPDX-License-Identifier: MIT
// Scan capture with the recording pane: typed scans fill the boxes, the raw line and the
// emptied input box; lines without CR LF or too short to cut are handled; with web lookup
// on every scan grows the window and then requests its page once.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cmath>

#include "tests/gui/support/form1harness.h"
#include "platform/qt/scaninput.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

const lookup::LookupHosts kHosts{u"track.test", u"upc.test"};

const QString kTrackingHead = QStringLiteral(
    "http://track.test/etracking/tracking.cgi?tracknums_displayed=5&TypeOfInquiryNumber=T&HTMLVersion=4.0"
    "&sort_by=status&InquiryNumber1=");
const QString kTrackingTail
    = QStringLiteral("&InquiryNumber2=&InquiryNumber3=&InquiryNumber4=&InquiryNumber5=&track.x=20&track.y=14");

const TestScan kProduct = makeScan("SN0123456789ABCDEF", "UPA", "012345678905");
const TestScan kParcel = makeScan("SNPARCEL0000000042", "E28", "1Z999AA10123456784");

QString shown(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1Char('\r'), QLatin1String("<CR>")).replace(QLatin1Char('\n'), QLatin1String("<LF>"));
}

struct Started {
    Form1Harness h{kHosts};
    Started()
    {
        h.form().startUp();
        if (!QTest::qWaitForWindowActive(&h.form()))
            qWarning("the main window did not become active");
    }
    QString text(const char* name) const { return h.child<QLineEdit>(name).text(); }
    QString label(const char* name) const { return h.child<QLabel>(name).text(); }
    void switchLookupOn() const { h.form().findChild<QAction*>(QStringLiteral("mnu_lookup"))->trigger(); }
    int clientPx(int twips) const { return h.scale().y(twips); }
};

} // namespace

class ScanCaptureTest : public QObject {
    Q_OBJECT
private slots:
    void typedScanFillsTheBoxesAndEmptiesTheInput_data();
    void typedScanFillsTheBoxesAndEmptiesTheInput();
    void nothingHappensWithoutCrLf_data();
    void nothingHappensWithoutCrLf();
    void shortLineIsShownButNotDecoded();
    void lookupOffChangesNeitherHeightNorPane();
    void lookupOnGrowsTheWindowBeforeEachRequest();
    void lookupChoosesServiceAndEncodesData_data();
    void lookupChoosesServiceAndEncodesData();
    void severalScansInARowKeepTheFocusInTheInput();
};

void ScanCaptureTest::typedScanFillsTheBoxesAndEmptiesTheInput_data()
{
    QTest::addColumn<TestScan>("scan");
    QTest::newRow("product code") << kProduct;
    QTest::newRow("parcel code") << kParcel;
    QTest::newRow("no data") << makeScan("000000000000000000", "UPA", "");
}

void ScanCaptureTest::typedScanFillsTheBoxesAndEmptiesTheInput()
{
    QFETCH(TestScan, scan);
    Started s;
    QStringList order;
    for (const char* name : {"Text7", "Text5", "Text6", "Text1"}) {
        connect(&s.h.child<QLineEdit>(name), &QLineEdit::textChanged, this,
            [&order, name] { order << QLatin1String(name); });
    }

    QTest::keyClicks(&s.h.child("Text1"), scan.withoutLineEnd());
    QCOMPARE(order.size(), scan.withoutLineEnd().size()); // one change per keystroke, nothing else
    QCOMPARE(s.text("Text5"), QStringLiteral("Serial Number::"));
    order.clear();

    QTest::keyClick(&s.h.child("Text1"), Qt::Key_Return);
    QCOMPARE(shown(s.label("Label5")), shown(scan.line));
    QCOMPARE(s.text("Text7"), scan.data);
    QCOMPARE(s.text("Text5"), scan.serial);
    QCOMPARE(s.text("Text6"), scan.type);
    QCOMPARE(s.text("Text1"), QString());
    // Data, serial and type in that order, then the emptying; the window's handler of
    // the line end runs before this test's observer of it, which comes last.
    QCOMPARE(order, (QStringList{"Text7", "Text5", "Text6", "Text1", "Text1"}));
    QVERIFY(s.h.pane().requests().empty());
}

void ScanCaptureTest::nothingHappensWithoutCrLf_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("no line end") << QString();
    QTest::newRow("LF alone") << QStringLiteral("\n");
    QTest::newRow("CR alone") << QStringLiteral("\r");
    QTest::newRow("LF CR") << QStringLiteral("\n\r");
}

void ScanCaptureTest::nothingHappensWithoutCrLf()
{
    QFETCH(QString, ending);
    Started s;
    s.switchLookupOn();
    auto& input = s.h.child<ScanInput>("Text1");
    const QString text = kProduct.withoutLineEnd() + ending;

    QTest::keyClicks(&input, kProduct.withoutLineEnd());
    input.insert(ending);
    QCOMPARE(shown(input.text()), shown(text));
    input.setText(QString());
    input.setText(text); // set at once, as a paste would
    QCOMPARE(shown(input.text()), shown(text));

    QCOMPARE(s.label("Label5"), QStringLiteral("Current scan code:"));
    QCOMPARE(s.text("Text5"), QStringLiteral("Serial Number::"));
    QCOMPARE(s.text("Text6"), QStringLiteral("UPC Type::"));
    QCOMPARE(s.text("Text7"), QStringLiteral("UPC::"));
    QVERIFY(s.h.pane().requests().empty());
}

void ScanCaptureTest::shortLineIsShownButNotDecoded()
{
    Started s;
    s.switchLookupOn();
    s.h.typeScan(kProduct);
    QCOMPARE(s.h.pane().requests().size(), std::size_t(1));

    for (const QString& junk : {QStringLiteral("hello"), QString(33 - 2, QLatin1Char('a')), QString()}) {
        s.h.typeLine(s.h.child("Text1"), junk);
        QVERIFY2(shown(s.label("Label5")) == shown(junk + QStringLiteral("\r\n")), qPrintable(junk));
        QVERIFY2(s.text("Text1").isEmpty(), qPrintable(junk));
        QVERIFY2(s.text("Text7") == kProduct.data, qPrintable(junk)); // the last scan's results stay
        QVERIFY2(s.text("Text5") == kProduct.serial, qPrintable(junk));
        QVERIFY2(s.text("Text6") == kProduct.type, qPrintable(junk));
        QVERIFY2(s.h.pane().requests().size() == 1, qPrintable(junk));
    }
    QCOMPARE(s.h.endRequests(), 0);

    // Nothing of the junk is left to spoil the next scan.
    s.h.typeScan(kParcel);
    QCOMPARE(s.text("Text7"), kParcel.data);
    QCOMPARE(s.text("Text6"), kParcel.type);
    QCOMPARE(s.h.pane().requests().size(), std::size_t(2));
}

void ScanCaptureTest::lookupOffChangesNeitherHeightNorPane()
{
    Started s;
    const int collapsed = s.h.form().centralWidget()->height();
    s.h.typeScan(kProduct);
    s.h.typeScan(kParcel);
    QCOMPARE(s.text("Text6"), QStringLiteral("E28"));
    QCOMPARE(s.h.form().centralWidget()->height(), collapsed);
    QVERIFY(s.h.pane().requests().empty());
    QCOMPARE(s.label("Label6"), QString());

    // Switched off again after a lookup: the same.
    s.switchLookupOn();
    s.h.typeScan(kProduct);
    s.switchLookupOn(); // off
    s.h.typeScan(kParcel);
    QCOMPARE(s.h.pane().requests().size(), std::size_t(1));
    QCOMPARE(s.h.form().centralWidget()->height(), collapsed);
    QCOMPARE(s.label("Label6"), QStringLiteral("Connecting to the UPC Database..."));
}

void ScanCaptureTest::lookupOnGrowsTheWindowBeforeEachRequest()
{
    Started s;
    s.switchLookupOn();
    const int tall = s.clientPx(7475);

    // Whatever height the window had, each request finds it tall, and the same code
    // scanned twice is requested twice.
    for (int before : {2715, 8135, 5000, 8135}) {
        s.h.form().setOuterHeightTwips(before);
        s.h.typeScan(kProduct);
        const auto& last = s.h.pane().requests().back();
        QVERIFY2(last.clientHeightPx == tall,
            qPrintable(QStringLiteral("height before the scan %1 twips: request at %2 px, expected %3")
                           .arg(before)
                           .arg(last.clientHeightPx)
                           .arg(tall)));
    }
    QCOMPARE(s.h.pane().requests().size(), std::size_t(4));
    for (const auto& request : s.h.pane().requests())
        QCOMPARE(request.address, QStringLiteral("http://upc.test/item.pl?upc=012345678905"));
    QCOMPARE(s.h.form().centralWidget()->height(), tall);
}

void ScanCaptureTest::lookupChoosesServiceAndEncodesData_data()
{
    QTest::addColumn<TestScan>("scan");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("address");
    QTest::newRow("product") << kProduct << QStringLiteral("Connecting to the UPC Database...")
                             << QStringLiteral("http://upc.test/item.pl?upc=012345678905");
    QTest::newRow("parcel") << kParcel << QStringLiteral("Connecting to UPS site...")
                            << kTrackingHead + QStringLiteral("1Z999AA10123456784") + kTrackingTail;
    // The choice of service for other types and the encoding of every character are
    // the lookup's own tests'; here, that the data reaches the address encoded.
    QTest::newRow("query characters in the data")
        << makeScan("000000000000000000", "E28", "A&B=C#?D % x") << QStringLiteral("Connecting to UPS site...")
        << kTrackingHead + QStringLiteral("A%26B%3DC%23%3FD%20%25%20x") + kTrackingTail;
}

void ScanCaptureTest::lookupChoosesServiceAndEncodesData()
{
    QFETCH(TestScan, scan);
    QFETCH(QString, status);
    QFETCH(QString, address);
    Started s;
    s.switchLookupOn();
    s.h.typeScan(scan);
    QCOMPARE(s.text("Text7"), scan.data);
    QCOMPARE(s.label("Label6"), status);
    QCOMPARE(s.h.pane().addresses(), QStringList{address});
}

void ScanCaptureTest::severalScansInARowKeepTheFocusInTheInput()
{
    Started s;
    s.switchLookupOn();
    QStringList expected;
    for (int i = 0; i < 12; ++i) {
        const TestScan scan = (i % 3 == 2)
            ? makeScan(
                "SNPARCEL00000000" + std::to_string(10 + i), "E28", "1Z" + std::to_string(100000000 + i) + "ABCDEFG")
            : makeScan("SN0123456789ABCD" + std::to_string(10 + i), "UPA", "0000000000" + std::to_string(10 + i));
        // Straight into whatever has the focus, as a scanner types.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus == &s.h.child("Text1"), qPrintable(QStringLiteral("before scan %1").arg(i)));
        s.h.typeLine(*focus, scan.withoutLineEnd());
        QVERIFY2(s.text("Text5") == scan.serial, qPrintable(QStringLiteral("scan %1").arg(i)));
        QVERIFY2(s.text("Text7") == scan.data, qPrintable(QStringLiteral("scan %1").arg(i)));
        QVERIFY2(s.text("Text1").isEmpty(), qPrintable(QStringLiteral("scan %1").arg(i)));
        expected << (scan.type == QLatin1String("E28") ? kTrackingHead + scan.data + kTrackingTail
                                                       : QStringLiteral("http://upc.test/item.pl?upc=") + scan.data);
    }
    QCOMPARE(s.h.pane().addresses(), expected);
}

TARNIX_WIDGET_TEST_MAIN(ScanCaptureTest)
#include "test_scancapture.moc"
