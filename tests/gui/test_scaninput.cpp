// SPDX-License-Identifier: MIT
// The input box keeps exactly what arrived: CR LF for Enter, bare CR and LF as set or
// pasted, no length limit, and one change notification per real change.
#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include "platform/qt/scaninput.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

QString visible(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1String("<CR>")).replace(QLatin1Char('\n'), QLatin1String("<LF>"));
    return out;
}

} // namespace

class ScanInputTest : public QObject {
    Q_OBJECT
private slots:
    void enterPutsCrLfIntoTheText_data();
    void enterPutsCrLfIntoTheText();
    void bareLineBreaksSurviveSettingAndPasting_data();
    void bareLineBreaksSurviveSettingAndPasting();
    void changeNotificationsCountRealChangesOnly();
    void hasNoLengthLimit();
};

void ScanInputTest::enterPutsCrLfIntoTheText_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
}

void ScanInputTest::enterPutsCrLfIntoTheText()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ScanInput box;
    QSignalSpy changes(&box, &QLineEdit::textChanged);
    QTest::keyClicks(&box, QStringLiteral("ab"));
    QTest::keyClick(&box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(visible(box.text()), QStringLiteral("ab<CR><LF>"));
    // One change for the whole line end, as a multi-line box reports it.
    QCOMPARE(changes.count(), 3);
    QCOMPARE(visible(changes.last().at(0).toString()), QStringLiteral("ab<CR><LF>"));

    QTest::keyClicks(&box, QStringLiteral("c"));
    QTest::keyClick(&box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(visible(box.text()), QStringLiteral("ab<CR><LF>c<CR><LF>"));
}

void ScanInputTest::bareLineBreaksSurviveSettingAndPasting_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("bare CR") << QStringLiteral("a\rb");
    QTest::newRow("bare LF") << QStringLiteral("a\nb");
    QTest::newRow("LF CR") << QStringLiteral("a\n\rb");
    QTest::newRow("CR alone") << QStringLiteral("\r");
    QTest::newRow("LF alone") << QStringLiteral("\n");
    QTest::newRow("line ending in LF") << QStringLiteral("scan\n");
    QTest::newRow("mixed") << QStringLiteral("x\ry\nz\r\n");
}

void ScanInputTest::bareLineBreaksSurviveSettingAndPasting()
{
    QFETCH(QString, text);
    ScanInput set;
    set.setText(text);
    QVERIFY2(set.text() == text,
        qPrintable(QStringLiteral("set ") + visible(text) + QStringLiteral(" read ") + visible(set.text())));

    ScanInput pasted;
    QGuiApplication::clipboard()->setText(text);
    pasted.setFocus();
    QTest::keyClicks(&pasted, QStringLiteral("<"));
    QTest::keyClick(&pasted, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(&pasted, QStringLiteral(">"));
    const QString expected = QLatin1Char('<') + text + QLatin1Char('>');
    QVERIFY2(pasted.text() == expected,
        qPrintable(QStringLiteral("pasted ") + visible(text) + QStringLiteral(" read ") + visible(pasted.text())));
}

void ScanInputTest::changeNotificationsCountRealChangesOnly()
{
    ScanInput box;
    QSignalSpy changes(&box, &QLineEdit::textChanged);

    QTest::keyClicks(&box, QStringLiteral("abc"));
    QCOMPARE(changes.count(), 3);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(changes.count(), 4);
    QCOMPARE(box.text(), QStringLiteral("ab"));

    box.setText(QStringLiteral("ab"));
    QCOMPARE(changes.count(), 4); // same text: no notification
    box.setText(QStringLiteral("xy"));
    QCOMPARE(changes.count(), 5);
    box.setText(QString());
    QCOMPARE(changes.count(), 6);
    box.setText(QString());
    QCOMPARE(changes.count(), 6); // emptying an empty box: none

    QGuiApplication::clipboard()->setText(QStringLiteral("p\r\n"));
    box.paste();
    QCOMPARE(changes.count(), 7);
    QCOMPARE(visible(changes.last().at(0).toString()), QStringLiteral("p<CR><LF>"));

    // Keys that change nothing raise nothing.
    box.setText(QString());
    const int before = changes.count();
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Shift);
    QCOMPARE(changes.count(), before);
}

void ScanInputTest::hasNoLengthLimit()
{
    ScanInput box;
    const QString longText(100000, QLatin1Char('A'));
    box.setText(longText);
    QCOMPARE(box.text().size(), longText.size());

    QGuiApplication::clipboard()->setText(longText);
    box.paste();
    QCOMPARE(box.text().size(), 2 * longText.size());
    QTest::keyClicks(&box, QStringLiteral("z"));
    QCOMPARE(box.text().size(), 2 * longText.size() + 1);
    QVERIFY(box.text().endsWith(QLatin1String("Az")));
}

TARNIX_WIDGET_TEST_MAIN(ScanInputTest)
#include "test_scaninput.moc"
