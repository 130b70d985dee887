// SPDX-License-Identifier: MIT
// The main window run by its polling loop, with a scripted key state: what the loop's
// passes do to the window, and that a handler waiting in the modal About box holds
// the loop.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "platform/qt/form1window.h"
#include "tests/gui/support/form1harness.h"
#include "mainwindow/keyboardpollingloop.h"
#include "platform/qt/qteventpump.h"
#include "tests/gui/support/recordingbrowserpane.h"
#include "tests/platform/scriptedkeystate.h"
#include "tests/gui/support/widgettestmain.h"

namespace {

constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kDownAndPressed = static_cast<std::int16_t>(0x8001);

// Form1Window as the program makes it, except that nothing is loaded and ending the program
// is only counted. Message boxes are the real, modal ones.
struct LoopedWindow {
    int endRequests = 0;
    std::unique_ptr<Form1Window> form;

    explicit LoopedWindow(platform::KeyState& keys)
    {
        Form1Dependencies deps;
        deps.keys = &keys;
        deps.createBrowserPane = [](QWidget* parent) { return new RecordingBrowserPane(parent); };
        deps.endProgram = [this] { ++endRequests; };
        form = std::make_unique<Form1Window>(std::move(deps));
        form->startUp();
    }

    KeyboardPollingLoop loopWith(platform::KeyState& keys)
    {
        return platform::qtPollingLoop(keys, [this] { form->onAltPressed(); });
    }

    QLineEdit& child(const char* name) const { return *form->findChild<QLineEdit*>(QLatin1String(name)); }
    QLineEdit& input() const { return child("Text1"); }
};

} // namespace

class TestStartUpLoop : public QObject {
    Q_OBJECT

private slots:
    void altFromTheKeyStateBringsTheWindowBackEmptyAndFocused();
    void heldAltEmptiesOnEveryPass();
    void keysWaitingBeforeAPassAreDeliveredByIt();
    void aboutBoxHoldsTheLoop();
};

void TestStartUpLoop::altFromTheKeyStateBringsTheWindowBackEmptyAndFocused()
{
    // What the Alt action does to the window is the menu commands' test; here, that a
    // pass runs it when the key state says so, and only then.
    ScriptedKeyState keys({0, kDownAndPressed});
    LoopedWindow w(keys);
    KeyboardPollingLoop loop = w.loopWith(keys);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QTest::keyClicks(&w.input(), QStringLiteral("leftover"));
    w.child("Text6").setFocus();

    loop.runPass(); // Alt up
    QCOMPARE(w.input().text(), QStringLiteral("leftover"));
    loop.runPass(); // Alt down
    QCOMPARE(w.input().text(), QString());
    QVERIFY(w.input().hasFocus());
    QCOMPARE(w.endRequests, 0);
}

void TestStartUpLoop::heldAltEmptiesOnEveryPass()
{
    ScriptedKeyState keys({kDown, kDown, kDown, kDown});
    LoopedWindow w(keys);
    KeyboardPollingLoop loop = w.loopWith(keys);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    for (int pass = 0; pass < 4; ++pass) {
        QTest::keyClicks(&w.input(), QStringLiteral("typed while Alt is held"));
        loop.runPass();
        QVERIFY2(w.input().text().isEmpty(), qPrintable(QStringLiteral("pass %1: %2").arg(pass).arg(w.input().text())));
    }
}

// Keystrokes wait in the event queue until a pass delivers them; the scan handler
// then runs inside that pass.
void TestStartUpLoop::keysWaitingBeforeAPassAreDeliveredByIt()
{
    ScriptedKeyState keys;
    LoopedWindow w(keys);
    KeyboardPollingLoop loop = w.loopWith(keys);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    const TestScan scan = makeScan("SN0000042TARNIX001", "UPC", "012345678905");
    for (QChar ch : scan.withoutLineEnd()) {
        QCoreApplication::postEvent(&w.input(), new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch)));
        QCoreApplication::postEvent(&w.input(), new QKeyEvent(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch)));
    }
    QCoreApplication::postEvent(&w.input(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r"));
    QCOMPARE(w.child("Text5").text(), QStringLiteral("Serial Number::"));

    loop.runPass();
    QCOMPARE(w.child("Text5").text(), scan.serial);
    QCOMPARE(w.child("Text6").text(), scan.type);
    QCOMPARE(w.child("Text7").text(), scan.data);
    QCOMPARE(w.input().text(), QString());
}

void TestStartUpLoop::aboutBoxHoldsTheLoop()
{
    ScriptedKeyState keys({0, kDownAndPressed, 0});
    LoopedWindow w(keys);
    KeyboardPollingLoop loop = w.loopWith(keys);
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QTest::keyClicks(&w.input(), QStringLiteral("keep"));

    // Watches the box from inside its own modal loop, then presses its OK.
    QString title;
    QString inputWhileOpen;
    std::size_t queriesWhenOpened = 0;
    std::size_t queriesWhenClosed = 0;
    int ticks = 0;
    QTimer watcher;
    watcher.setInterval(5);
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (ticks++ == 0) {
            title = box->windowTitle();
            queriesWhenOpened = keys.queryCount();
        }
        if (ticks == 10) {
            inputWhileOpen = w.input().text();
            queriesWhenClosed = keys.queryCount();
            box->accept();
        }
    });
    watcher.start();

    // The About command is chosen while the first pass delivers events.
    auto* about = w.form->findChild<QAction*>(QStringLiteral("mnu_About"));
    QVERIFY(about);
    QMetaObject::invokeMethod(about, &QAction::trigger, Qt::QueuedConnection);
    loop.runPass();
    QCOMPARE(ticks, 10);
    QCOMPARE(title, QStringLiteral("About"));
    QCOMPARE(queriesWhenOpened, std::size_t{1});
    QCOMPARE(queriesWhenClosed, queriesWhenOpened);
    QCOMPARE(inputWhileOpen, QStringLiteral("keep"));
    QCOMPARE(w.input().text(), QStringLiteral("keep"));

    // Closed again: the next pass asks at once and finds the Alt pressed meanwhile.
    loop.runPass();
    QCOMPARE(keys.queryCount(), std::size_t{2});
    QCOMPARE(w.input().text(), QString());
}

TARNIX_WIDGET_TEST_MAIN(TestStartUpLoop)
#include "test_startuploop.moc"
