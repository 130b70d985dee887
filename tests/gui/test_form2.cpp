// SPDX-License-Identifier: MIT
// The help window: fixed texts at their places, a fixed frame with only a close button,
// and one window however often Help is chosen.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include <cmath>

#include "tests/gui/support/form1harness.h"
#include "platform/qt/form2.h"
#include "platform/qt/twips.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

bool withinHalfPixel(double actualTwips, int expectedTwips, int dpi)
{
    return std::abs(actualTwips - expectedTwips) <= 720.0 / dpi + 1e-9;
}

QList<Form2*> helpWindows()
{
    QList<Form2*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<Form2*>(w))
            found << help;
    return found;
}

} // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void labelsHoldTheirTextsAtTheirPlaces_data();
    void labelsHoldTheirTextsAtTheirPlaces();
    void frameHasOnlyCloseAndAFixedClientArea();
    void helpShowsOneWindowWhateverHowOften();
};

void Form2Test::labelsHoldTheirTextsAtTheirPlaces_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label1") << 120 << 120 << 4215 << 495
                            << QStringLiteral("Forgive this limited help system, but this should cover any "
                                              "questions that you might have.");
    QTest::newRow("Label2") << 360 << 720 << 3855 << 975
                            << QStringLiteral("The main window must be up before you scan. It will automatically "
                                              "parse the data received, and if you have web lookup enabled, it "
                                              "will open another window and give relevant information related to "
                                              "the barcode you have just scanned. ");
    QTest::newRow("Label3") << 360 << 1920 << 3975 << 975
                            << QStringLiteral("There are two methods of web lookup, automatically detected upon "
                                              "scan. If it is a UPS tracking barcode, it will return the proper UPS "
                                              "page based on your tracking number, or if it is another barcode, it "
                                              "will automatically go to the UPC database.");
}

void Form2Test::labelsHoldTheirTextsAtTheirPlaces()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, text);
    Form2 help;
    auto* label = help.findChild<QLabel*>(QLatin1String(QTest::currentDataTag()));
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), &help);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);

    // The whole text fits its box, in the window's font, of the system's family.
    QVERIFY(!label->testAttribute(Qt::WA_SetFont));
    QCOMPARE(label->font().family(), QApplication::font().family());
    const QRect box = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(
        QRect(0, 0, box.width(), 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    QVERIFY2(needed.height() <= box.height(),
        qPrintable(QStringLiteral("text needs %1 px, box is %2 px, font %3 pt")
                       .arg(needed.height())
                       .arg(box.height())
                       .arg(label->font().pointSizeF())));
    QVERIFY(label->font().pointSizeF() <= QApplication::font().pointSizeF());

    const auto scale = platform::TwipsScale::of(help);
    const QRect g = label->geometry();
    QVERIFY2(withinHalfPixel(twipsOf(g.x(), scale.dpiX()), left, scale.dpiX()), "left");
    QVERIFY2(withinHalfPixel(twipsOf(g.y(), scale.dpiY()), top, scale.dpiY()), "top");
    QVERIFY2(withinHalfPixel(twipsOf(g.width(), scale.dpiX()), width, scale.dpiX()), "width");
    QVERIFY2(withinHalfPixel(twipsOf(g.height(), scale.dpiY()), height, scale.dpiY()), "height");
}

void Form2Test::frameHasOnlyCloseAndAFixedClientArea()
{
    Form2 help;
    QCOMPARE(help.windowTitle(), QStringLiteral("Help"));
    QVERIFY(help.isWindow());
    const Qt::WindowFlags flags = help.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!help.findChild<QMenuBar*>());
    QCOMPARE(help.findChildren<QLabel*>().size(), 3);
    for (QWidget* child : help.findChildren<QWidget*>())
        QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));

    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    const auto scale = platform::TwipsScale::of(help);
    QVERIFY(withinHalfPixel(twipsOf(help.width(), scale.dpiX()), 4425, scale.dpiX()));
    QVERIFY(withinHalfPixel(twipsOf(help.height(), scale.dpiY()), 3060, scale.dpiY()));
    QCOMPARE(help.minimumSize(), help.size());
    QCOMPARE(help.maximumSize(), help.size());
}

void Form2Test::helpShowsOneWindowWhateverHowOften()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    QVERIFY(helpWindows().isEmpty()); // not made before it is first needed
    auto* help = h.form().findChild<QAction*>(QStringLiteral("mnu_help"));

    help->trigger();
    help->trigger();
    QCOMPARE(helpWindows().size(), 1);
    Form2* first = helpWindows().front();
    QVERIFY(first->isVisible());
    QVERIFY(!first->parentWidget()); // no owner window
    QVERIFY(!first->isModal());

    first->close();
    QVERIFY(!first->isVisible());
    QVERIFY(h.form().isVisible()); // closing help leaves the main window alone
    QCOMPARE(h.endRequests(), 0);

    help->trigger();
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(helpWindows().front(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
        QStringLiteral("Forgive this limited help system, but this should cover any questions that you might "
                       "have."));
}

TARNIX_WIDGET_TEST_MAIN(Form2Test)
#include "test_form2.moc"
