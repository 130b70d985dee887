// SPDX-License-Identifier: MIT
// The polling loop on its own, driven by a scripted key state.
#include <vector>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "mainwindow/keyboardpollingloop.h"
#include "platform/qt/qteventpump.h"
#include "tests/platform/scriptedkeystate.h"

class TestKeyboardPollingLoop : public QObject {
    Q_OBJECT

private slots:
    void altStateDecidesEachPass();
    void altActionRunsBeforeThePendingEvents();
    void idlePassesAskToWaitAtTheirBound();
    void idleLoopWakesOnlyAtItsBound();
    void heldAltPollsAtTheShortBound();
    void deferredDeletesFromOutsideHandlersAreCarriedOut();
    void nestedModalLoopSuspendsPolling();
};

// One pass per scripted value; the action runs exactly on the passes whose value is
// not zero, whatever bits are set, and only Alt is ever asked for.
void TestKeyboardPollingLoop::altStateDecidesEachPass()
{
    struct Case {
        const char* name;
        std::deque<std::int16_t> states;
        std::int16_t otherKeys;
        std::vector<int> expectedActionPasses;
    };
    const std::vector<Case> cases = {
        {"never pressed", {0, 0, 0}, 0, {}},
        {"down now (top bit)", {0, static_cast<std::int16_t>(0x8000), 0}, 0, {1}},
        {"pressed since last query (low bit)", {0x0001, 0, 0}, 0, {0}},
        {"both bits", {0, 0, static_cast<std::int16_t>(0x8001)}, 0, {2}},
        {"held across passes", {-32768, -32768, -32768, -32768}, 0, {0, 1, 2, 3}},
        {"other keys down, Alt not", {0, 0, 0}, static_cast<std::int16_t>(0x8001), {}},
    };
    for (const auto& c : cases) {
        ScriptedKeyState keys(c.states, c.otherKeys);
        std::vector<int> actionPasses;
        int pass = 0;
        KeyboardPollingLoop loop = platform::qtPollingLoop(keys, [&] { actionPasses.push_back(pass); });
        const int passes = static_cast<int>(c.states.size());
        for (pass = 0; pass < passes; ++pass)
            loop.runPass();
        QVERIFY2(actionPasses == c.expectedActionPasses, c.name);
        QVERIFY2(keys.queryCount() == static_cast<std::size_t>(passes), c.name);
        for (int key : keys.queriedKeys())
            QVERIFY2(key == platform::kAltKey, c.name);
    }
}

// A pass first answers Alt, then delivers what is waiting, so a key typed before the
// pass lands in the input box after it was emptied, not before.
void TestKeyboardPollingLoop::altActionRunsBeforeThePendingEvents()
{
    ScriptedKeyState keys({1});
    QStringList order;
    KeyboardPollingLoop loop = platform::qtPollingLoop(keys, [&] { order << "alt"; });
    QMetaObject::invokeMethod(
        this, [&] { order << "event"; }, Qt::QueuedConnection);
    loop.runPass();
    QCOMPARE(order, (QStringList{"alt", "event"}));
}

// Idle, every pass asks the toolkit to wait for an event, at most the bound: briefly for
// a key state that can only be polled, a quarter second for one that wakes the loop
// itself. A recording pump sees each wait asked for; a wait of zero would spin.
void TestKeyboardPollingLoop::idlePassesAskToWaitAtTheirBound()
{
    using std::chrono::milliseconds;
    for (const bool wakes : {false, true}) {
        ScriptedKeyState keys;
        keys.setWakesEventLoop(wakes);
        std::vector<milliseconds> waits;
        KeyboardPollingLoop loop(
            keys, [] {}, [&](milliseconds wait) { waits.push_back(wait); });
        for (int pass = 0; pass < 4; ++pass)
            loop.runPass();
        const milliseconds bound = wakes ? milliseconds(250) : milliseconds(10);
        QVERIFY2(waits == std::vector<milliseconds>(4, bound), wakes ? "key state wakes the loop" : "polled key state");
    }
}

// With the toolkit's own pump an idle loop sleeps: over a second it wakes a few times at
// its quarter-second bound, not thousands of times.
void TestKeyboardPollingLoop::idleLoopWakesOnlyAtItsBound()
{
    ScriptedKeyState keys;
    keys.setWakesEventLoop(true);
    KeyboardPollingLoop loop = platform::qtPollingLoop(keys, [] {});
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000)
        loop.runPass();
    QVERIFY2(keys.queryCount() <= 8, qPrintable(QStringLiteral("%1 passes in a second").arg(keys.queryCount())));
}

// A key state that wakes the loop lets idle passes wait long, but while Alt is down
// no further key event comes to wake it, so the loop goes back to the short bound
// until Alt is released; a polled key state always uses the short bound.
void TestKeyboardPollingLoop::heldAltPollsAtTheShortBound()
{
    using std::chrono::milliseconds;
    const std::int16_t down = static_cast<std::int16_t>(0x8000);
    for (const bool wakes : {true, false}) {
        ScriptedKeyState keys({down, down, 0});
        keys.setWakesEventLoop(wakes);
        KeyboardPollingLoop loop = platform::qtPollingLoop(keys, [] {});
        const milliseconds idle
            = wakes ? KeyboardPollingLoop::kLongestWaitWhenWoken : KeyboardPollingLoop::kLongestWait;
        const QByteArray context = wakes ? "key state wakes the loop" : "polled key state";
        QVERIFY2(loop.longestWait() == idle, context);
        loop.runPass();
        QVERIFY2(loop.longestWait() == KeyboardPollingLoop::kLongestWait, context + ": first held pass");
        loop.runPass();
        QVERIFY2(loop.longestWait() == KeyboardPollingLoop::kLongestWait, context + ": second held pass");
        loop.runPass();
        QVERIFY2(loop.longestWait() == idle, context + ": after release");
    }
}

void TestKeyboardPollingLoop::deferredDeletesFromOutsideHandlersAreCarriedOut()
{
    ScriptedKeyState keys({1});
    QPointer<QObject> fromAltAction;
    QPointer<QObject> fromHandler;
    KeyboardPollingLoop loop = platform::qtPollingLoop(keys, [&] {
        // The Alt action runs straight from the loop, outside any event delivery.
        fromAltAction = new QObject;
        fromAltAction->deleteLater();
    });
    QMetaObject::invokeMethod(
        this,
        [&] {
            fromHandler = new QObject;
            fromHandler->deleteLater();
        },
        Qt::QueuedConnection);
    loop.runPass();
    loop.runPass();
    QVERIFY2(fromAltAction.isNull(), "object handed to deleteLater() by the Alt action");
    QVERIFY2(fromHandler.isNull(), "object handed to deleteLater() by an event handler");
}

// A handler that waits in a modal loop of its own (the About box) holds the polling
// loop: no key-state query happens until the handler returns.
void TestKeyboardPollingLoop::nestedModalLoopSuspendsPolling()
{
    ScriptedKeyState keys;
    KeyboardPollingLoop loop = platform::qtPollingLoop(keys, [] {});
    std::size_t queriesWhenModalOpened = 0;
    std::size_t queriesWhenModalClosed = 0;
    int modalTicks = 0;
    QMetaObject::invokeMethod(
        this,
        [&] {
            queriesWhenModalOpened = keys.queryCount();
            QEventLoop modal;
            QTimer ticker;
            ticker.setInterval(5);
            connect(&ticker, &QTimer::timeout, &modal, [&] {
                if (++modalTicks == 10)
                    modal.quit();
            });
            ticker.start();
            modal.exec();
            queriesWhenModalClosed = keys.queryCount();
        },
        Qt::QueuedConnection);
    for (int pass = 0; pass < 3; ++pass)
        loop.runPass();
    QCOMPARE(modalTicks, 10);
    QVERIFY(queriesWhenModalOpened > 0);
    QCOMPARE(queriesWhenModalClosed, queriesWhenModalOpened);
}

QTEST_MAIN(TestKeyboardPollingLoop)
#include "test_keyboardpollingloop.moc"
