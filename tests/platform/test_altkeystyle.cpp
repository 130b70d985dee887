// SPDX-License-Identifier: MIT
// A lone Alt must leave the menu bar alone (so the scan that follows lands in the
// input box) while the access keys still open their menus.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyleFactory>
#include <QtTest>

#include "platform/qt/altkeystyle.h"

namespace {

// A window like the main one: a menu bar with access keys over a text box with the focus.
struct MenuWindow {
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* options = window.menuBar()->addMenu(QStringLiteral("&Options"));
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    QPlainTextEdit* input = new QPlainTextEdit(&window);

    MenuWindow()
    {
        file->addAction(QStringLiteral("E&xit"));
        options->addAction(QStringLiteral("&Web Lookup"));
        help->addAction(QStringLiteral("&About"));
        window.setCentralWidget(input);
        window.show();
        window.activateWindow();
    }
};

// Key events as the window system plugin reports them, shortcut handling included. The
// modifiers are the state before the event; Qt turns them into the state after it
// for presses and releases of modifier keys.
void systemKey(
    QWindow* window, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    qt_handleKeyEvent(window, type, key, modifiers, text);
    QCoreApplication::processEvents();
}

void loneAlt(QWindow* window)
{
    systemKey(window, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
    systemKey(window, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
}

void typeText(QWindow* window, const QString& text)
{
    for (QChar ch : text) {
        const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
        systemKey(window, QEvent::KeyPress, key, Qt::NoModifier, ch);
        systemKey(window, QEvent::KeyRelease, key, Qt::NoModifier, ch);
    }
}

// Alt+letter as a person types it, with the menu that opened closed again afterwards.
QMenu* menuOpenedByAccessKey(MenuWindow& w, Qt::Key letter)
{
    QWindow* handle = w.window.windowHandle();
    const QString text = QString(QChar(letter).toLower());
    systemKey(handle, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
    systemKey(handle, QEvent::KeyPress, letter, Qt::AltModifier, text);
    systemKey(handle, QEvent::KeyRelease, letter, Qt::AltModifier, text);
    systemKey(handle, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QMenu* opened = nullptr;
    for (QMenu* menu : {w.file, w.options, w.help}) {
        if (menu->isVisible())
            opened = menu;
    }
    if (opened) {
        opened->close();
        QCoreApplication::processEvents();
    }
    return opened;
}

} // namespace

class TestAltKeyStyle : public QObject {
    Q_OBJECT

private slots:
    void loneAltLeavesTheMenuBarAloneWithTheFix();
};

// The Windows style puts the menu bar into keyboard navigation at a lone Alt; wrapped,
// it leaves the text box the keyboard.
void TestAltKeyStyle::loneAltLeavesTheMenuBarAloneWithTheFix()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    platform::applyAltKeyStyle(*qApp);
    QVERIFY(qobject_cast<platform::AltKeyStyle*>(QApplication::style()) != nullptr);

    MenuWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.input->setFocus();
    loneAlt(w.window.windowHandle());
    QVERIFY2(w.window.menuBar()->activeAction() == nullptr, "a lone Alt put the menu bar into keyboard navigation");
    QVERIFY(w.input->hasFocus());
    typeText(w.window.windowHandle(), QStringLiteral("abc"));
    QCOMPARE(w.input->toPlainText(), QStringLiteral("abc"));

    const struct {
        Qt::Key letter;
        QMenu* menu;
    } accessKeys[] = {{Qt::Key_F, w.file}, {Qt::Key_O, w.options}, {Qt::Key_H, w.help}};
    for (const auto& accessKey : accessKeys) {
        QMenu* opened = menuOpenedByAccessKey(w, accessKey.letter);
        QVERIFY2(opened == accessKey.menu,
            qPrintable(QStringLiteral("Alt+%1 opened %2")
                           .arg(QChar(accessKey.letter))
                           .arg(opened ? opened->title() : QStringLiteral("nothing"))));
    }
}

QTEST_MAIN(TestAltKeyStyle)
#include "test_altkeystyle.moc"
