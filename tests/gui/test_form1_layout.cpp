// SPDX-License-Identifier: MIT
// The main window as designed: control geometry, texts and flags, accessibility, tab
// order, frame, menu tree and the window height operation.
#include <QAction>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <cmath>

#include "tests/gui/support/form1harness.h"
#include "platform/qt/scaninput.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

// Rounding a twips value to whole pixels moves it by at most half a pixel.
bool withinHalfPixel(double actualTwips, int expectedTwips, int dpi)
{
    return std::abs(actualTwips - expectedTwips) <= 720.0 / dpi + 1e-9;
}

QString describeTwips(const char* what, double actual, int expected)
{
    return QStringLiteral("%1: %2 twips, expected %3").arg(QLatin1String(what)).arg(actual).arg(expected);
}

} // namespace

class Form1LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void controlsSitAtTheirTwipsGeometry_data();
    void controlsSitAtTheirTwipsGeometry();
    void designTextsAndFlags();
    void accessibleNamesAndBuddies();
    void tabWalksTheBoxesThenThePaneAndAround();
    void frameIsFixedWithoutMaximize();
    void lowerBandIsCutOffAtStart();
    void menuTreeAsDesigned();
    void heightOperationSetsClientHeightBelowMenu_data();
    void heightOperationSetsClientHeightBelowMenu();
    void heightOperationWorksWhileMinimized();
};

void Form1LayoutTest::controlsSitAtTheirTwipsGeometry_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("Text1") << 120 << 120 << 8895 << 285;
    QTest::newRow("Label2") << 2400 << 840 << 1095 << 255;
    QTest::newRow("Label3") << 2400 << 1200 << 1095 << 375;
    QTest::newRow("Label4") << 2400 << 1560 << 1095 << 255;
    QTest::newRow("Label5") << 120 << 480 << 8895 << 255;
    QTest::newRow("Text5") << 3600 << 840 << 2895 << 285;
    QTest::newRow("Text6") << 3600 << 1200 << 2895 << 285;
    QTest::newRow("Text7") << 3600 << 1560 << 2895 << 285;
    QTest::newRow("WebBrowser1") << 120 << 2400 << 9015 << 4935;
    QTest::newRow("Label6") << 600 << 2040 << 7695 << 255;
}

void Form1LayoutTest::controlsSitAtTheirTwipsGeometry()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    const QByteArray name = QTest::currentDataTag();
    Form1Harness h;
    const QWidget& control = h.child(name.constData());
    QCOMPARE(control.parentWidget(), h.form().centralWidget());

    const auto scale = h.scale();
    const QRect g = control.geometry();
    QVERIFY2(withinHalfPixel(twipsOf(g.x(), scale.dpiX()), left, scale.dpiX()),
        qPrintable(describeTwips("left", twipsOf(g.x(), scale.dpiX()), left)));
    QVERIFY2(withinHalfPixel(twipsOf(g.y(), scale.dpiY()), top, scale.dpiY()),
        qPrintable(describeTwips("top", twipsOf(g.y(), scale.dpiY()), top)));
    QVERIFY2(withinHalfPixel(twipsOf(g.width(), scale.dpiX()), width, scale.dpiX()),
        qPrintable(describeTwips("width", twipsOf(g.width(), scale.dpiX()), width)));
    QVERIFY2(withinHalfPixel(twipsOf(g.height(), scale.dpiY()), height, scale.dpiY()),
        qPrintable(describeTwips("height", twipsOf(g.height(), scale.dpiY()), height)));
}

void Form1LayoutTest::designTextsAndFlags()
{
    Form1Harness h;
    QCOMPARE(h.form().windowTitle(), QStringLiteral("Tarnix"));

    auto& text1 = h.child<ScanInput>("Text1");
    QCOMPARE(text1.text(), QString());
    QVERIFY(!text1.isReadOnly());
    QCOMPARE(text1.focusPolicy(), Qt::StrongFocus);

    struct Box {
        const char* name;
        const char* text;
    };
    for (const Box& box : {Box{"Text5", "Serial Number::"}, Box{"Text6", "UPC Type::"}, Box{"Text7", "UPC::"}}) {
        auto& edit = h.child<QLineEdit>(box.name);
        QVERIFY2(!qobject_cast<ScanInput*>(&edit), box.name);
        QVERIFY2(edit.text() == QLatin1String(box.text), box.name);
        QVERIFY2(edit.isReadOnly(), box.name);
        QVERIFY2(edit.focusPolicy() == Qt::StrongFocus, box.name);
        QVERIFY2(edit.hasFrame(), box.name);
    }

    struct Caption {
        const char* name;
        const char* text;
        Qt::Alignment horizontal;
    };
    for (const Caption& caption : {Caption{"Label2", "Serial:", Qt::AlignLeft},
             Caption{"Label3", "UPC Type:", Qt::AlignLeft}, Caption{"Label4", "UPC:", Qt::AlignLeft},
             Caption{"Label5", "Current scan code:", Qt::AlignHCenter}, Caption{"Label6", "", Qt::AlignHCenter}}) {
        auto& label = h.child<QLabel>(caption.name);
        QVERIFY2(label.text() == QLatin1String(caption.text), caption.name);
        QVERIFY2((label.alignment() & Qt::AlignHorizontal_Mask) == caption.horizontal, caption.name);
        QVERIFY2(label.alignment() & Qt::AlignTop, caption.name);
        QVERIFY2(label.wordWrap(), caption.name);
        QVERIFY2(label.textFormat() == Qt::PlainText, caption.name);
        QVERIFY2(label.focusPolicy() == Qt::NoFocus, caption.name);
        QVERIFY2(label.autoFillBackground(), caption.name);
    }

    QVERIFY(h.child("WebBrowser1").focusPolicy() & Qt::TabFocus);
    QVERIFY(h.pane().requests().empty());
}

void Form1LayoutTest::accessibleNamesAndBuddies()
{
    Form1Harness h;
    struct Named {
        const char* name;
        const char* accessible;
    };
    for (const Named& n : {Named{"Text1", "Scan input"}, Named{"Text5", "Serial"}, Named{"Text6", "UPC Type"},
             Named{"Text7", "UPC"}, Named{"WebBrowser1", "Lookup page"}}) {
        QVERIFY2(h.child(n.name).accessibleName() == QLatin1String(n.accessible), n.name);
    }
    // The two labels whose text changes are heard by what they show; the description
    // says what that is.
    h.child<QLabel>("Label6").setText(QStringLiteral("Connecting to UPS site..."));
    for (const Named& n : {Named{"Label5", "Current scan code"}, Named{"Label6", "Lookup status"}}) {
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&h.child(n.name));
        QVERIFY2(reader, n.name);
        QVERIFY2(reader->text(QAccessible::Name) == h.child<QLabel>(n.name).text(), n.name);
        QVERIFY2(reader->text(QAccessible::Description) == QLatin1String(n.accessible), n.name);
    }
    QCOMPARE(h.child<QLabel>("Label2").buddy(), &h.child("Text5"));
    QCOMPARE(h.child<QLabel>("Label3").buddy(), &h.child("Text6"));
    QCOMPARE(h.child<QLabel>("Label4").buddy(), &h.child("Text7"));
}

void Form1LayoutTest::tabWalksTheBoxesThenThePaneAndAround()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    QCOMPARE(QApplication::focusWidget(), &h.child("Text1"));

    const char* forward[] = {"Text5", "Text6", "Text7", "WebBrowser1", "Text1", "Text5"};
    for (const char* expected : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() == &h.child(expected),
            qPrintable(QStringLiteral("Tab should reach %1, focus is on %2")
                           .arg(QLatin1String(expected), QApplication::focusWidget()->objectName())));
    }
    const char* backward[] = {"Text1", "WebBrowser1", "Text7", "Text6", "Text5", "Text1"};
    for (const char* expected : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY2(QApplication::focusWidget() == &h.child(expected),
            qPrintable(QStringLiteral("Shift+Tab should reach %1, focus is on %2")
                           .arg(QLatin1String(expected), QApplication::focusWidget()->objectName())));
    }
}

void Form1LayoutTest::frameIsFixedWithoutMaximize()
{
    Form1Harness h;
    const Qt::WindowFlags flags = h.form().windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

    QVERIFY(h.showActive());
    // Fixed: the smallest and the largest size the window may take are its size.
    QCOMPARE(h.form().minimumSize(), h.form().size());
    QCOMPARE(h.form().maximumSize(), h.form().size());
    // The design client size, below the menu bar.
    QVERIFY2(withinHalfPixel(h.clientWidthTwips(), 9255, h.scale().dpiX()),
        qPrintable(describeTwips("client width", h.clientWidthTwips(), 9255)));
    QVERIFY2(withinHalfPixel(h.clientHeightTwips(), 2055, h.scale().dpiY()),
        qPrintable(describeTwips("client height", h.clientHeightTwips(), 2055)));
    QCOMPARE(h.form().centralWidget()->y(), h.form().menuBar()->height());

    // A resize request from outside does not change it.
    const QSize before = h.form().size();
    h.form().resize(before + QSize(200, 200));
    QCOMPARE(h.form().size(), before);
}

void Form1LayoutTest::lowerBandIsCutOffAtStart()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    QVERIFY(h.child("WebBrowser1").visibleRegion().isEmpty());
    // Of the status line at most its top edge (15 twips, one pixel at 96 dpi) shows.
    const QRect statusShown = h.child("Label6").visibleRegion().boundingRect();
    QVERIFY2(statusShown.height() <= h.scale().y(15), qPrintable(QString::number(statusShown.height())));
    // The upper band lies wholly inside the client area.
    const QRect client = h.form().centralWidget()->rect();
    for (const char* name : {"Text1", "Label5", "Text5", "Text6", "Text7", "Label2", "Label3", "Label4"})
        QVERIFY2(client.contains(h.child(name).geometry()), name);

    h.form().setOuterHeightTwips(8135);
    QCOMPARE(h.child("WebBrowser1").visibleRegion().boundingRect(), h.child("WebBrowser1").rect());
    QCOMPARE(h.child("Label6").visibleRegion().boundingRect(), h.child("Label6").rect());
}

void Form1LayoutTest::menuTreeAsDesigned()
{
    Form1Harness h;
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        bool enabled;
    };
    struct Menu {
        const char* name;
        const char* caption;
        std::vector<Item> items;
    };
    const std::vector<Menu> tree = {
        {"mnu_file", "&File",
            {{"mnu_open", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O), false},
                {"mnu_close", "&Close", QKeySequence(Qt::CTRL | Qt::Key_C), false},
                {"mnu_exit", "&Exit", QKeySequence(Qt::CTRL | Qt::Key_X), true}}},
        {"mnu_options", "&Options", {{"mnu_lookup", "&Web Lookup", QKeySequence(Qt::CTRL | Qt::Key_L), true}}},
        {"mnu_helpm", "&Help",
            {{"mnu_help", "&Help", QKeySequence(Qt::Key_F1), true},
                {"mnu_About", "&About", QKeySequence(Qt::Key_F2), true}}},
    };

    const QList<QAction*> bar = h.form().menuBar()->actions();
    QCOMPARE(bar.size(), int(tree.size()));
    for (std::size_t m = 0; m < tree.size(); ++m) {
        QMenu* menu = bar[int(m)]->menu();
        QVERIFY2(menu && menu->objectName() == QLatin1String(tree[m].name), tree[m].name);
        QVERIFY2(menu->title() == QLatin1String(tree[m].caption), tree[m].name);
        QVERIFY2(bar[int(m)]->isEnabled() && bar[int(m)]->isVisible(), tree[m].name);
        const QList<QAction*> items = menu->actions();
        QVERIFY2(items.size() == int(tree[m].items.size()), tree[m].name);
        for (std::size_t i = 0; i < tree[m].items.size(); ++i) {
            const Item& want = tree[m].items[i];
            QAction* item = items[int(i)];
            QVERIFY2(item->objectName() == QLatin1String(want.name), want.name);
            QVERIFY2(item->text() == QLatin1String(want.caption), want.name);
            QVERIFY2(item->shortcut() == want.shortcut, want.name);
            QVERIFY2(item->isEnabled() == want.enabled, want.name);
            QVERIFY2(item->isVisible() && !item->isSeparator() && !item->menu(), want.name);
            QVERIFY2(!item->isChecked(), want.name);
            QVERIFY2(item->isCheckable() == (QLatin1String(want.name) == QLatin1String("mnu_lookup")), want.name);
        }
    }
}

void Form1LayoutTest::heightOperationSetsClientHeightBelowMenu_data()
{
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("client");
    QTest::newRow("web lookup on") << 8135 << 7475;
    QTest::newRow("web lookup off") << 2715 << 2055;
    QTest::newRow("in between") << 5000 << 4340;
}

void Form1LayoutTest::heightOperationSetsClientHeightBelowMenu()
{
    QFETCH(int, outer);
    QFETCH(int, client);
    Form1Harness h;
    QVERIFY(h.showActive());
    h.form().setOuterHeightTwips(outer);
    QVERIFY2(withinHalfPixel(h.clientHeightTwips(), client, h.scale().dpiY()),
        qPrintable(describeTwips("client height", h.clientHeightTwips(), client)));
    QVERIFY2(withinHalfPixel(h.clientWidthTwips(), 9255, h.scale().dpiX()),
        qPrintable(describeTwips("client width", h.clientWidthTwips(), 9255)));
    QCOMPARE(h.form().height(), h.form().menuBar()->height() + h.form().centralWidget()->height());
    // Still fixed at the new size.
    QCOMPARE(h.form().minimumSize(), h.form().size());
    QCOMPARE(h.form().maximumSize(), h.form().size());
}

void Form1LayoutTest::heightOperationWorksWhileMinimized()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    h.form().showMinimized();
    QVERIFY(h.form().isMinimized());
    for (int outer : {8135, 2715, 8135}) {
        h.form().setOuterHeightTwips(outer);
        QVERIFY2(withinHalfPixel(h.clientHeightTwips(), outer - 660, h.scale().dpiY()),
            qPrintable(describeTwips("client height", h.clientHeightTwips(), outer - 660)));
    }
    QVERIFY(h.form().isMinimized());
    QCOMPARE(h.endRequests(), 0);

    h.form().showNormal();
    QVERIFY2(withinHalfPixel(h.clientHeightTwips(), 7475, h.scale().dpiY()),
        qPrintable(describeTwips("client height after restore", h.clientHeightTwips(), 7475)));
}

TARNIX_WIDGET_TEST_MAIN(Form1LayoutTest)
#include "test_form1_layout.moc"
