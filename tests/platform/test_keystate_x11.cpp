// SPDX-License-Identifier: MIT
// The desktop-wide key state on a real X server (run under Xvfb); keys are pressed
// with xdotool, the way another program or a scanner would press them.
#include <memory>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

#include "mainwindow/keyboardpollingloop.h"
#include "platform/qt/qteventpump.h"
#include "platform/x11/keystate.h"
#include "platform/x11/altguard.h"
#include "platform/x11/keyhold.h"

// Last: their macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

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
        return QStringLiteral("xdotool %1 failed: %2")
            .arg(arguments.join(' '), QString::fromLocal8Bit(process.readAllStandardError()));
    return {};
}

QString xdotoolOutput(const QStringList& arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")), arguments);
    process.waitForFinished(10'000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
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

// Whether the answers come back to zero within a few seconds and stay there.
bool settlesToZero(platform::KeyState& keys)
{
    const QDeadlineTimer deadline(5'000);
    while (keys.query(platform::kAltKey) != 0) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    QTest::qWait(50);
    return keys.query(platform::kAltKey) == 0;
}

std::unique_ptr<platform::KeyState> openDesktopKeys()
{
    return platform::X11KeyState::open({QStringLiteral(TARNIX_PRIVATE_BUILD_DIR)});
}

int grabRefused = 0;
int noteGrabRefused(Display*, XErrorEvent* error)
{
    grabRefused = error->error_code;
    return 0;
}

// Taps one key by its key code, as a keyboard does (xdotool adds Alt_L to a tap of Alt_R).
void tapKey(const char* keysym)
{
    Display* display = XOpenDisplay(nullptr);
    const KeyCode key = XKeysymToKeycode(display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(display, key, True, 0);
    XTestFakeKeyEvent(display, key, False, 0);
    XCloseDisplay(display);
}

// Whether some client holds the passive grab on Alt_L: another's grab of it is refused.
bool altGrabbedElsewhere()
{
    Display* other = XOpenDisplay(nullptr);
    if (!other)
        return false;
    grabRefused = 0;
    XErrorHandler previous = XSetErrorHandler(noteGrabRefused);
    const KeyCode alt = XKeysymToKeycode(other, XStringToKeysym("Alt_L"));
    XGrabKey(other, alt, AnyModifier, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);
    XSetErrorHandler(previous);
    XCloseDisplay(other);
    return grabRefused == BadAccess;
}

// The Alt guard runs in a process of its own: ready once its grab is there.
bool guardReady()
{
    const QDeadlineTimer deadline(5'000);
    while (!altGrabbedElsewhere()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Whether another client could take the keyboard now: not while a grab holds it.
bool keyboardFreeForOthers(Display* other)
{
    const int status = XGrabKeyboard(other, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XUngrabKeyboard(other, CurrentTime);
    XSync(other, False);
    return status == GrabSuccess;
}

bool keyboardFreeForOthers()
{
    Display* other = XOpenDisplay(nullptr);
    if (!other)
        return false;
    const bool free = keyboardFreeForOthers(other);
    XCloseDisplay(other);
    return free;
}

// Another program with a window to type into, focused by the X server itself (no
// window manager in these tests).
class OtherProgram {
public:
    OtherProgram()
    {
        process_.start(QStringLiteral("xmessage"),
            {QStringLiteral("-geometry"), QStringLiteral("+600+600"), QStringLiteral("another program")});
        if (process_.waitForStarted())
            window_
                = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                                    QStringLiteral("--classname"), QStringLiteral("xmessage")})
                      .section('\n', 0, 0);
    }
    ~OtherProgram()
    {
        process_.kill();
        process_.waitForFinished();
    }
    QString window() const { return window_; }

private:
    QProcess process_;
    QString window_;
};

// A window standing in for the main window: the Alt action focuses and empties its box.
struct ScanWindow {
    QWidget window;
    QLineEdit* box = new QLineEdit(&window);

    ScanWindow()
    {
        window.setWindowTitle(QStringLiteral("Tarnix test window"));
        (new QVBoxLayout(&window))->addWidget(box);
        window.show();
    }
    void onAltPressed()
    {
        window.activateWindow();
        box->setFocus(Qt::OtherFocusReason);
        box->clear();
    }
};

// Runs loop passes until the box shows want and nothing changes it for a while, or
// until a few seconds are over; returns what the box shows then.
QString settledText(KeyboardPollingLoop& loop, const QLineEdit& box, const QString& want)
{
    const QDeadlineTimer deadline(5'000);
    while (box.text() != want && !deadline.hasExpired())
        loop.runPass();
    const QDeadlineTimer quiet(300);
    while (!quiet.hasExpired())
        loop.runPass();
    return box.text();
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
    void factoryChoosesItOnX11();
    void altPressLetsTheWindowTakeTheFocusBack();
    void keysAfterEachAltPressAreKept();
    void lineTypedElsewhereRightAfterAltLandsWhole();
    void freezeOnAltEndsWithin200MsUnread();
    void keysHeldForAnUnaskedPressArriveAfterTheBound();
    void altInTarnixLeavesTheKeyboardToOthers();
};

void TestX11KeyState::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "needs an X server");
    // Make sure no key is left down by an earlier run.
    XDOTOOL("keyup", "Alt_L", "Alt_R");
}

// Alt pressed and released while no Tarnix window exists, let alone has the focus.
void TestX11KeyState::pressesAnywhereOnTheDesktopAreLatched()
{
    const auto keys = openDesktopKeys();
    QVERIFY2(keys, "the X server should offer the desktop-wide key state");
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});

    // The release waits with the other keys until the press is read, so the key may
    // still be down at the first answer; it is up once the release has come.
    for (const char* key : {"Alt_L", "Alt_R"}) {
        tapKey(key);
        const std::uint16_t state = firstNonZeroAltState(*keys);
        QVERIFY2(state & kPressedSince, qPrintable(QStringLiteral("%1: state 0x%2").arg(key).arg(state, 0, 16)));
        QVERIFY2(settlesToZero(*keys), key);
    }

    // Several presses in a burst: reported, then zero again.
    XDOTOOL("key", "alt", "alt", "alt");
    QVERIFY(firstNonZeroAltState(*keys) != 0);
    QVERIFY(settlesToZero(*keys));
}

// In Tarnix's own window, where a held Alt counts.
void TestX11KeyState::heldAltIsDownUntilReleased()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    ScanWindow scan;
    scan.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&scan.window));
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
    ScanWindow scan;
    scan.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&scan.window));
    // "a" comes last: once the box has it, every key before it has been read, each raw
    // event before the key's own.
    XDOTOOL("key", "Return", "Control_L", "Shift_L", "Super_L", "F10", "ctrl+x", "a");
    QTRY_COMPARE(scan.box->text(), QStringLiteral("a"));
    QCOMPARE(keys->query(platform::kAltKey), std::int16_t{0});
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
    KeyboardPollingLoop loop = platform::qtPollingLoop(*keys, [&] { ++altActions; });
    for (int pass = 0; pass < 5; ++pass)
        loop.runPass();
    QCOMPARE(altActions, 0);

    QProcess presser;
    presser.start(
        QStandardPaths::findExecutable(QStringLiteral("xdotool")), {QStringLiteral("key"), QStringLiteral("alt")});
    const QDeadlineTimer deadline(5'000);
    while (altActions == 0 && !deadline.hasExpired())
        loop.runPass();
    // The passes deliver the process's end too, so it may be over already.
    if (presser.state() != QProcess::NotRunning)
        QVERIFY(presser.waitForFinished(5'000));
    QCOMPARE(presser.exitCode(), 0);
    QCOMPARE(altActions, 1);
    for (int pass = 0; pass < 5; ++pass)
        loop.runPass();
    QCOMPARE(altActions, 1);
}

// The program picks this source on X11.
void TestX11KeyState::factoryChoosesItOnX11()
{
    const auto keys = platform::createKeyState();
    QVERIFY(dynamic_cast<platform::X11KeyState*>(keys.get()) != nullptr);
}

// The user has gone to another program and presses Alt there: the window's request
// for the focus must not be refused as older than that move, though Qt itself saw no
// event since.
void TestX11KeyState::altPressLetsTheWindowTakeTheFocusBack()
{
    const auto keys = platform::createKeyState();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarnix test window"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QString ownWindow = QString::number(window.winId());

    QProcess other;
    other.start(QStringLiteral("xmessage"),
        {QStringLiteral("-geometry"), QStringLiteral("+600+600"), QStringLiteral("another program")});
    QVERIFY2(other.waitForStarted(), "xmessage is not installed");
    const QString otherWindow
        = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                            QStringLiteral("--classname"), QStringLiteral("xmessage")})
              .section('\n', 0, 0);
    QVERIFY(!otherWindow.isEmpty());
    XDOTOOL("windowfocus", "--sync", otherWindow);

    // From here on no Qt event is delivered, so Qt learns of nothing newer by itself.
    XDOTOOL("key", "alt");
    QVERIFY(firstNonZeroAltState(*keys) != 0);
    window.activateWindow();
    QString focus;
    const QDeadlineTimer deadline(5'000);
    while (focus != ownWindow && !deadline.hasExpired())
        focus = xdotoolOutput({QStringLiteral("getwindowfocus")});
    other.kill();
    other.waitForFinished();
    QCOMPARE(focus, ownWindow);
}

// Alt and the keys after it come in one burst, faster than a pass of the loop: each
// press empties what came before it and nothing typed after it, the second press too.
// Another client grabs Alt first, so Tarnix's own grab cannot hold the keyboard still
// after the press: only the order of the events keeps the keys.
void TestX11KeyState::keysAfterEachAltPressAreKept()
{
    Display* other = XOpenDisplay(nullptr);
    QVERIFY(other);
    const auto closeOther = qScopeGuard([other] { XCloseDisplay(other); });
    XGrabKey(other, XKeysymToKeycode(other, XStringToKeysym("Alt_L")), AnyModifier, DefaultRootWindow(other), False,
        GrabModeAsync, GrabModeAsync);
    XSync(other, False);
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    ScanWindow scan;
    KeyboardPollingLoop loop = platform::qtPollingLoop(*keys, [&] { scan.onAltPressed(); });
    scan.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&scan.window));
    for (int round = 0; round < 10; ++round) {
        XDOTOOL(
            "key", "--delay", "0", "b", "e", "f", "o", "r", "e", "alt", "m", "i", "d", "alt", "a", "f", "t", "e", "r");
        QCOMPARE(settledText(loop, *scan.box, QStringLiteral("after")), QStringLiteral("after"));
    }
}

// The scanner's Alt and line typed at once while another program has the keyboard:
// the whole line reaches the window, though the focus moves only after the Alt press.
void TestX11KeyState::lineTypedElsewhereRightAfterAltLandsWhole()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    OtherProgram other;
    QVERIFY2(!other.window().isEmpty(), "xmessage is not installed");
    QVERIFY2(guardReady(), "the Alt guard holds no grab on Alt");
    ScanWindow scan;
    KeyboardPollingLoop loop = platform::qtPollingLoop(*keys, [&] { scan.onAltPressed(); });
    const QString line = QStringLiteral("SN000042TX99999957");
    for (int round = 0; round < 10; ++round) {
        XDOTOOL("windowfocus", "--sync", other.window());
        QProcess scanner;
        scanner.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")),
            {QStringLiteral("key"), QStringLiteral("alt"), QStringLiteral("type"), QStringLiteral("--delay"),
                QStringLiteral("0"), line});
        // Busy for 100 ms while the scanner types, as a loaded program may be, well within
        // the freeze's bound: the keys typed meanwhile must wait for the window.
        scanner.waitForFinished(100);
        QCOMPARE(settledText(loop, *scan.box, line), line);
        QVERIFY(scanner.state() == QProcess::NotRunning || scanner.waitForFinished(10'000));
        QCOMPARE(scanner.exitCode(), 0);
    }
}

// Alt in another program while the main thread reads no events (busy, or stopped): the
// keyboard is frozen at once and free again within 200 ms, whether the Alt was a tap or
// is held alone; timed from the press, as another program waiting for the keyboard sees it.
void TestX11KeyState::freezeOnAltEndsWithin200MsUnread()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    QVERIFY2(guardReady(), "the Alt guard holds no grab on Alt");
    OtherProgram other;
    QVERIFY2(!other.window().isEmpty(), "xmessage is not installed");
    XDOTOOL("windowfocus", "--sync", other.window());
    Display* display = XOpenDisplay(nullptr);
    QVERIFY(display);
    const auto closeDisplay = qScopeGuard([display] { XCloseDisplay(display); });
    const KeyCode alt = XKeysymToKeycode(display, XStringToKeysym("Alt_L"));

    for (const bool tap : {false, true}) {
        XTestFakeKeyEvent(display, alt, True, 0);
        if (tap)
            XTestFakeKeyEvent(display, alt, False, 0);
        XSync(display, False);
        QElapsedTimer sincePress;
        sincePress.start();
        QVERIFY2(!keyboardFreeForOthers(display), "the keyboard is not frozen after Alt");
        while (!keyboardFreeForOthers(display) && sincePress.elapsed() < 2'000) { }
        const qint64 frozen = sincePress.elapsed();
        XTestFakeKeyEvent(display, alt, False, 0);
        XSync(display, False);
        qInfo("Alt %s in another program, unread: the keyboard frozen for %lld ms", tap ? "tapped" : "held",
            static_cast<long long>(frozen));
        QVERIFY2(
            frozen <= 200, qPrintable(QStringLiteral("%1: frozen for %2 ms").arg(tap ? "tap" : "held").arg(frozen)));
    }
    // The tap was read late; Alt is held for the keys after it again.
    QVERIFY(firstNonZeroAltState(*keys) != 0);
    QVERIFY2(guardReady(), "the Alt guard does not take Alt back once Tarnix reads again");
}

// Alt in Tarnix while no pass of the loop asks for the press (the About box is open: its
// own loop delivers events, the polling loop waits): the keys after it are held no
// longer than the hold's bound, then arrive in the box.
void TestX11KeyState::keysHeldForAnUnaskedPressArriveAfterTheBound()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    QVERIFY2(guardReady(), "the Alt guard holds no grab on Alt");
    ScanWindow scan;
    scan.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&scan.window));
    XDOTOOL("key", "--delay", "0", "alt", "a", "b", "c");
    QTest::qWait(100);
    QVERIFY2(scan.box->text().isEmpty(), qPrintable(QStringLiteral("not held: %1").arg(scan.box->text())));
    QTRY_COMPARE_WITH_TIMEOUT(scan.box->text(), QStringLiteral("abc"), 2 * platform::X11KeyHold::kLongestHold.count());
}

// Alt held in Tarnix itself, as for Alt+Tab: the keyboard is free for the window
// manager at once, not only when Alt is let go.
void TestX11KeyState::altInTarnixLeavesTheKeyboardToOthers()
{
    const auto keys = openDesktopKeys();
    QVERIFY(keys);
    ScanWindow scan;
    scan.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&scan.window));
    XDOTOOL("keydown", "Alt_L");
    QVERIFY(firstNonZeroAltState(*keys) != 0);
    const bool free = keyboardFreeForOthers();
    XDOTOOL("keyup", "Alt_L");
    QVERIFY2(free, "Alt in Tarnix kept the keyboard from others");
}

QTEST_MAIN(TestX11KeyState)
#include "test_keystate_x11.moc"
