// SPDX-License-Identifier: MIT
// Keys in the main window: the result boxes refuse typing but copy, the menu's
// shortcuts act wherever the focus is and win over the text boxes' own use of a key,
// and greyed items neither act nor swallow their key.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "tests/gui/support/form1harness.h"
#include "platform/qt/form2.h"
#include "platform/qt/scaninput.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

Form2* shownHelpWindow()
{
    Form2* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<Form2*>(w); help && help->isVisible())
            found = help;
    }
    return found;
}

} // namespace

class Form1KeysTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void resultBoxesRefuseTypingButCopy_data();
    void resultBoxesRefuseTypingButCopy();
    void greyedItemsDoNothingAndLeaveTheirKeys();
    void exitShortcutWinsInEveryTextBox_data();
    void exitShortcutWinsInEveryTextBox();
    void shortcutsReachTheirHandlersFromAnyBox_data();
    void shortcutsReachTheirHandlersFromAnyBox();
};

void Form1KeysTest::cleanup()
{
    // Help windows have no owner; close what a test left open.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<Form2*>(w))
            w->hide();
}

void Form1KeysTest::resultBoxesRefuseTypingButCopy_data()
{
    QTest::addColumn<QString>("design");
    QTest::newRow("Text5") << QStringLiteral("Serial Number::");
    QTest::newRow("Text6") << QStringLiteral("UPC Type::");
    QTest::newRow("Text7") << QStringLiteral("UPC::");
}

void Form1KeysTest::resultBoxesRefuseTypingButCopy()
{
    QFETCH(QString, design);
    Form1Harness h;
    QVERIFY(h.showActive());
    auto& box = h.child<QLineEdit>(QTest::currentDataTag());
    box.setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("junk"));

    QTest::keyClicks(&box, QStringLiteral("typed"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.text(), design);

    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box.selectedText(), design);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), design);
    QCOMPARE(box.text(), design);
}

void Form1KeysTest::greyedItemsDoNothingAndLeaveTheirKeys()
{
    Form1Harness h;
    QVERIFY(h.showActive());
    auto* open = h.form().findChild<QAction*>(QStringLiteral("mnu_open"));
    auto* close = h.form().findChild<QAction*>(QStringLiteral("mnu_close"));
    QVERIFY(open && close);
    QSignalSpy opened(open, &QAction::triggered);
    QSignalSpy closed(close, &QAction::triggered);

    open->trigger();
    close->trigger();

    auto& text1 = h.child<ScanInput>("Text1");
    text1.setFocus();
    QTest::keyClick(&text1, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(text1.text(), QString());

    // Ctrl+C belongs to the greyed Close item, yet still copies in any box.
    for (const char* name : {"Text1", "Text5", "Text7"}) {
        auto& box = h.child<QLineEdit>(name);
        if (box.text().isEmpty())
            box.setText(QStringLiteral("copy me"));
        const QString content = box.text();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        box.setFocus();
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
        QVERIFY2(QGuiApplication::clipboard()->text() == content, name);
    }

    QCOMPARE(opened.count(), 0);
    QCOMPARE(closed.count(), 0);
    QCOMPARE(h.endRequests(), 0);
    QVERIFY(h.messages().empty());
    QVERIFY(h.form().isVisible());
}

void Form1KeysTest::exitShortcutWinsInEveryTextBox_data()
{
    QTest::addColumn<QString>("content");
    QTest::newRow("Text1") << QStringLiteral("half a scan");
    QTest::newRow("Text5") << QString();
    QTest::newRow("Text6") << QString();
    QTest::newRow("Text7") << QString();
}

void Form1KeysTest::exitShortcutWinsInEveryTextBox()
{
    QFETCH(QString, content);
    Form1Harness h;
    QVERIFY(h.showActive());
    auto& box = h.child<QLineEdit>(QTest::currentDataTag());
    if (!content.isEmpty())
        box.setText(content);
    const QString before = box.text();
    box.setFocus();
    box.selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));

    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);

    QCOMPARE(h.endRequests(), 1);
    QVERIFY(!h.form().isVisible());
    // The key went to the menu, not to the box: nothing was cut.
    QCOMPARE(box.text(), before);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
}

void Form1KeysTest::shortcutsReachTheirHandlersFromAnyBox_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("in Text1") << QStringLiteral("Text1");
    QTest::newRow("in Text6") << QStringLiteral("Text6");
}

void Form1KeysTest::shortcutsReachTheirHandlersFromAnyBox()
{
    QFETCH(QString, focus);
    Form1Harness h;
    QVERIFY(h.showActive());
    auto& box = h.child<QLineEdit>(focus.toLatin1().constData());
    box.setFocus();
    auto* lookup = h.form().findChild<QAction*>(QStringLiteral("mnu_lookup"));

    QTest::keyClick(&box, Qt::Key_L, Qt::ControlModifier);
    QVERIFY(lookup->isChecked());

    QVERIFY(!shownHelpWindow());
    QTest::keyClick(&box, Qt::Key_F1);
    QVERIFY(shownHelpWindow());

    h.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.form()));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_F2);
    QCOMPARE(h.messages().size(), std::size_t(1));
    QCOMPARE(h.messages().front().title, QStringLiteral("About"));

    QCOMPARE(h.endRequests(), 0);
    QVERIFY(h.pane().requests().empty());
}

TARNIX_WIDGET_TEST_MAIN(Form1KeysTest)
#include "test_form1_keys.moc"
