// The desktop-wide key state on a real X server (run under Xvfb); keys are pressed
// with xdotool, the way another program or a scanner would press them.
#include <memory>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <QtTest>

#include "keyboardpollingloop.h"
#include "keystate_x11.h"

namespace {

constexpr std::uint16_t kDown = 0x8000;
constexpr std::uint16_t kPressedSince = 0x0001;

// Runs xdotool with the arguments given; an empty string when it succeeded, else why not.
QString xdotool(const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (program.isEmpty())
        return QStringLiteral("xdotool is not installed");
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("xdotool %1 failed: %2").arg(arguments.join(' '), QString::fromLocal8Bit(process.readAllStandardError()));
    return {};
}

#define XDOTOOL(...)                                                                                                   \
    do {                                                                                                               \
        const QString failure = xdotool(QStringList{__VA_ARGS__});                                                     \
        QVERIFY2(failure.isEmpty(), qPrintable(failure));                                                              \
    } while (false)

// The first non-zero answer within a few seconds (events travel through the server
// asynchronously), or zero.
std::uint16_t firstNonZeroAltState(platform::KeyState& keys)
{
    const QDeadlineTimer deadline(5'000);
    while (!deadline.hasExpired()) {
        if (const auto state = static_cast<std::uint16_t>(keys.query(platform::kAltKey)))
            return state;
        QTest::qWait(5);
    }
    return 0;
}

std::unique_ptr<platform::KeyState> openDesktopKeys()
{
    auto keys = platform::createKeyState();
    if (!dynamic_cast<platform::X11KeyState*>(keys.get()))
        return nullptr;
    return keys;
}

} // namespace

class TestX11KeyState : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pressesAnywhereOnTheDesktopAreLatched();
    void heldAltIsDownUntilReleased();
    void otherKeysStayZero();
    void waitingLoopWakesForAPressAndSeesIt();
};

void TestX11KeyState::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    // Make sure no key is left down by an earlier run.
    XDOTOOL("keyup", "Alt_L", "Alt_R");
}

// Alt pressed and released while no Tarnix window exists, let alone has the focus.
void TestX11KeyState::pressesAnywhereOnTheDesktopAreLatched()
{
    const auto keys = openDesktopKeys();
    QVERIFY2(keys, "the X server should offer the desktop-wide key state");
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});

    for (const char* key : {"Alt_L", "Alt_R"}) {
        XDOTOOL("key", key);
        const std::uint16_t state = firstNonZeroAltState(*keys);
        QVERIFY2(state & kPressedSince, qPrintable(QStringLiteral("%1: state 0x%2").arg(key).arg(state, 0, 16)));
        QVERIFY2(!(state & kDown), qPrintable(QStringLiteral("%1: state 0x%2").arg(key).arg(state, 0, 16)));
        QVERIFY2(keys->query(platform::kAltKey) == 0, key);
    }

    // Several presses between two queries: one non-zero answer, then zero again.
    XDOTOOL("key", "alt", "alt", "alt");
    QVERIFY(firstNonZeroAltState(*keys) != 0);
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});
}

void TestX11KeyState::heldAltIsDownUntilReleased()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    XDOTOOL("keydown", "Alt_L");
    const std::uint16_t first = firstNonZeroAltState(*keys);
    QVERIFY2(first == (kDown | kPressedSince), qPrintable(QString::number(first, 16)));
    for (int query = 1; query <= 3; ++query) {
        const auto state = static_cast<std::uint16_t>(keys->query(platform::kAltKey));
        QVERIFY2(state == kDown, qPrintable(QStringLiteral("query %1: 0x%2").arg(query).arg(state, 0, 16)));
    }
    // Alt+F held together: Alt stays down.
    XDOTOOL("key", "f");
    QVERIFY(static_cast<std::uint16_t>(keys->query(platform::kAltKey)) & kDown);
    XDOTOOL("keyup", "Alt_L");
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});

    // Held already when the key state is made (the program started with Alt down):
    // down, though no press was seen.
    XDOTOOL("keydown", "Alt_R");
    QTest::qWait(20);
    const auto lateKeys = openDesktopKeys();
    QVERIFY(lateKeys);
    const auto held = static_cast<std::uint16_t>(lateKeys->query(platform::kAltKey));
    XDOTOOL("keyup", "Alt_R");
    QVERIFY2(held == kDown, qPrintable(QString::number(held, 16)));
    QCOMPARE(lateKeys->query(platform::kAltKey), std::int16_t{0});
}

void TestX11KeyState::otherKeysStayZero()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    for (const char* key : {"a", "Return", "Control_L", "Shift_L", "Super_L", "F10", "ctrl+x"}) {
        XDOTOOL("key", key);
        // Give the server time to pass the events on before asking.
        QTest::qWait(20);
        QVERIFY2(keys->query(platform::kAltKey) == 0, key);
    }
    XDOTOOL("keydown", "Alt_L");
    for (int virtualKey : {0x10, 0x11, 0x41, 0xA4, 0x5B})
        QVERIFY2(keys->query(virtualKey) == 0, qPrintable(QStringLiteral("virtual key 0x%1").arg(virtualKey, 0, 16)));
    QVERIFY(firstNonZeroAltState(*keys) != 0);
    XDOTOOL("keyup", "Alt_L");
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});
}

// The loop's passes sleep while nothing happens; a press made by another program while
// a pass waits is still reported, on a later pass.
void TestX11KeyState::waitingLoopWakesForAPressAndSeesIt()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    int altActions = 0;
    KeyboardPollingLoop loop(*keys, [&] { ++altActions; });
    for (int pass = 0; pass < 5; ++pass)
        loop.runPass();
    QCOMPARE(altActions, 0);

    QProcess presser;
    presser.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")), {QStringLiteral("key"), QStringLiteral("alt")});
    const QDeadlineTimer deadline(5'000);
    while (altActions == 0 && !deadline.hasExpired())
        loop.runPass();
    QVERIFY(presser.waitForFinished(5'000));
    QCOMPARE(altActions, 1);
    for (int pass = 0; pass < 5; ++pass)
        loop.runPass();
    QCOMPARE(altActions, 1);
}

QTEST_MAIN(TestX11KeyState)
#include "test_keystate_x11.moc"
