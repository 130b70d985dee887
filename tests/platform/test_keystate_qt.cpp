// SPDX-License-Identifier: MIT
// The in-window key state, the fallback where no desktop-wide key source exists.
#include <memory>

#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest>

#include "platform/qt/qtkeystate.h"

namespace {

constexpr std::uint16_t kDown = 0x8000;
constexpr std::uint16_t kPressedSince = 0x0001;

std::uint16_t bits(std::int16_t state)
{
    return static_cast<std::uint16_t>(state);
}

void press(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&target, &event);
}

void release(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(&target, &event);
}

// The main window, shown and active: where every Alt press counts.
bool active(QLineEdit& box)
{
    box.show();
    box.activateWindow();
    return QTest::qWaitForWindowActive(&box);
}

} // namespace

class TestQtKeyState : public QObject {
    Q_OBJECT

private slots:
    void pressAndReleaseIsReportedOnce();
    void heldAltIsDownOnEveryQuery();
    void otherKeysAndOtherQueriesStayZero();
    void losingTheApplicationFocusEndsHeldAlt();
    void inTheHelpWindowOnlyATapCountsAndUnderAModalBoxNothing();
    void factoryPicksItOnPlatformsWithoutX11();
};

void TestQtKeyState::pressAndReleaseIsReportedOnce()
{
    platform::QtKeyState keys;
    QLineEdit box;
    QVERIFY(active(box));
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0});

    press(box, Qt::Key_Alt, Qt::AltModifier);
    release(box, Qt::Key_Alt, Qt::NoModifier);
    const auto first = bits(keys.query(platform::kAltKey));
    QVERIFY2(first & kPressedSince, qPrintable(QString::number(first, 16)));
    QVERIFY2(!(first & kDown), qPrintable(QString::number(first, 16)));
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0});

    // Two presses between queries still read as one non-zero answer, then zero.
    press(box, Qt::Key_Alt, Qt::AltModifier);
    release(box, Qt::Key_Alt, Qt::NoModifier);
    press(box, Qt::Key_Alt, Qt::AltModifier);
    release(box, Qt::Key_Alt, Qt::NoModifier);
    QVERIFY(keys.query(platform::kAltKey) != 0);
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0});
}

void TestQtKeyState::heldAltIsDownOnEveryQuery()
{
    platform::QtKeyState keys;
    QLineEdit box;
    QVERIFY(active(box));
    press(box, Qt::Key_Alt, Qt::AltModifier);
    QCOMPARE(bits(keys.query(platform::kAltKey)), std::uint16_t(kDown | kPressedSince));
    for (int query = 1; query <= 3; ++query)
        QVERIFY2(bits(keys.query(platform::kAltKey)) == kDown, qPrintable(QStringLiteral("query %1").arg(query)));
    // Keys typed while Alt is held (Alt+F) do not end it.
    press(box, Qt::Key_F, Qt::AltModifier);
    release(box, Qt::Key_F, Qt::AltModifier);
    QCOMPARE(bits(keys.query(platform::kAltKey)), kDown);
    release(box, Qt::Key_Alt, Qt::NoModifier);
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0});
}

void TestQtKeyState::otherKeysAndOtherQueriesStayZero()
{
    platform::QtKeyState keys;
    QLineEdit box;
    QVERIFY(active(box));
    const Qt::Key others[]
        = {Qt::Key_A, Qt::Key_Control, Qt::Key_Shift, Qt::Key_Meta, Qt::Key_AltGr, Qt::Key_Return, Qt::Key_F10};
    for (Qt::Key key : others) {
        press(box, key, Qt::NoModifier);
        QVERIFY2(keys.query(platform::kAltKey) == 0, qPrintable(QStringLiteral("key 0x%1 held").arg(key, 0, 16)));
        release(box, key, Qt::NoModifier);
        QVERIFY2(keys.query(platform::kAltKey) == 0, qPrintable(QStringLiteral("key 0x%1 released").arg(key, 0, 16)));
    }
    // Only Alt is answered: other virtual keys read zero even while Alt is down.
    press(box, Qt::Key_Alt, Qt::AltModifier);
    for (int virtualKey : {0x10, 0x11, 0x41, 0xA4, 0x5B})
        QVERIFY2(keys.query(virtualKey) == 0, qPrintable(QStringLiteral("virtual key 0x%1").arg(virtualKey, 0, 16)));
    QVERIFY(keys.query(platform::kAltKey) != 0);
}

// The release of an Alt held while the user switches to another program goes to that
// program; the key must not stay down for ever.
void TestQtKeyState::losingTheApplicationFocusEndsHeldAlt()
{
    platform::QtKeyState keys;
    QLineEdit box;
    QVERIFY(active(box));
    press(box, Qt::Key_Alt, Qt::AltModifier);
    QVERIFY(keys.query(platform::kAltKey) != 0);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &deactivate);
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0});
}

void TestQtKeyState::inTheHelpWindowOnlyATapCountsAndUnderAModalBoxNothing()
{
    platform::QtKeyState keys;
    QLineEdit main;
    QVERIFY(active(main));
    QLineEdit help;
    QVERIFY(active(help));
    press(help, Qt::Key_Alt, Qt::AltModifier);
    press(help, Qt::Key_F4, Qt::AltModifier);
    release(help, Qt::Key_F4, Qt::AltModifier);
    release(help, Qt::Key_Alt, Qt::NoModifier);
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0}); // a chord
    press(help, Qt::Key_Alt, Qt::AltModifier);
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0}); // undecided yet
    release(help, Qt::Key_Alt, Qt::NoModifier);
    QVERIFY(keys.query(platform::kAltKey) & kPressedSince); // a tap
    help.hide();
    help.setWindowModality(Qt::ApplicationModal); // as the About box is
    QVERIFY(active(help) && QGuiApplication::modalWindow());
    press(help, Qt::Key_Alt, Qt::AltModifier);
    release(help, Qt::Key_Alt, Qt::NoModifier);
    QCOMPARE(keys.query(platform::kAltKey), std::int16_t{0});
}

void TestQtKeyState::factoryPicksItOnPlatformsWithoutX11()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    const std::unique_ptr<platform::KeyState> keys = platform::createKeyState();
    QVERIFY(dynamic_cast<platform::QtKeyState*>(keys.get()) != nullptr);
    QLineEdit box;
    press(box, Qt::Key_Alt, Qt::AltModifier);
    release(box, Qt::Key_Alt, Qt::NoModifier);
    QVERIFY(keys->query(platform::kAltKey) != 0);
}

QTEST_MAIN(TestQtKeyState)
#include "test_keystate_qt.moc"
