// SPDX-License-Identifier: MIT
// A scanner's reader thread, fed input_event records through a pipe as the kernel would
// send them: what reaches the window's thread, and what a hostile device cannot do.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "platform/evdev/scannerdevice.h"

namespace {

using platform::evdev::ScannerDevice;

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_scannerdevice";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// A device on a pipe; what it typed, an Alt tap as "<Alt>", its end as "<end>".
struct PipedScanner {
    int in = -1;
    ScannerDevice* device = nullptr;
    std::vector<std::u16string> typed;

    PipedScanner()
    {
        app();
        int ends[2];
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
        in = ends[1];
        device = new ScannerDevice(ends[0], nullptr);
        QObject::connect(device, &ScannerDevice::altTapped, [this] { typed.push_back(u"<Alt>"); });
        QObject::connect(
            device, &ScannerDevice::lineTyped, [this](const QString& l) { typed.push_back(l.toStdU16String()); });
        QObject::connect(device, &ScannerDevice::failed, [this] { typed.push_back(u"<end>"); });
        device->start();
    }
    ~PipedScanner()
    {
        delete device;
        if (in >= 0)
            ::close(in);
    }
    void event(unsigned short type, unsigned short code, int value)
    {
        input_event e{};
        e.type = type, e.code = code, e.value = value;
        ASSERT_EQ(::write(in, &e, sizeof e), ssize_t(sizeof e));
    }
    void tap(unsigned short code)
    {
        event(EV_KEY, code, 1), event(EV_SYN, SYN_REPORT, 0), event(EV_KEY, code, 0), event(EV_SYN, SYN_REPORT, 0);
    }
    void line(int letters) // Alt, then that many a's, then Enter
    {
        tap(KEY_LEFTALT);
        for (int i = 0; i < letters; ++i)
            tap(KEY_A);
        tap(KEY_ENTER);
    }
    bool waitFor(std::size_t count)
    {
        QElapsedTimer clock;
        clock.start();
        while (typed.size() < count && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return typed.size() >= count;
    }
};

TEST(ScannerDevice, LinesReachTheWindowWholeAndInOrderAndTheEndIsTold)
{
    PipedScanner s;
    s.line(2), s.line(1);
    ASSERT_TRUE(s.waitFor(4));
    ::close(std::exchange(s.in, -1));
    ASSERT_TRUE(s.waitFor(5));
    EXPECT_EQ(s.typed, (std::vector<std::u16string>{u"<Alt>", u"aa\r\n", u"<Alt>", u"a\r\n", u"<end>"}));
}

// A device that types for ever without a line end: the line is dropped at its cap, the
// next one decodes.
TEST(ScannerDevice, ALineLongerThanAnyScanIsDroppedAndTheNextComesWhole)
{
    PipedScanner s;
    s.line(int(platform::evdev::ScannerKeys::kLongestLine) + 1);
    s.line(3);
    ASSERT_TRUE(s.waitFor(3));
    EXPECT_EQ(s.typed, (std::vector<std::u16string>{u"<Alt>", u"<Alt>", u"aaa\r\n"}));
}

// Events lost by the kernel: the rest of that report is no whole picture and is dropped
// (its Enter would end a line with keys missing), then the next line comes whole.
TEST(ScannerDevice, AfterDroppedEventsTheReportIsIgnoredAndTheNextLineComesWhole)
{
    PipedScanner s;
    s.tap(KEY_LEFTALT), s.tap(KEY_A);
    s.event(EV_SYN, SYN_DROPPED, 0);
    s.event(EV_KEY, KEY_B, 1), s.event(EV_KEY, KEY_ENTER, 1), s.event(EV_SYN, SYN_REPORT, 0);
    s.event(EV_KEY, KEY_ENTER, 0), s.tap(KEY_C), s.tap(KEY_ENTER);
    s.line(1);
    ASSERT_TRUE(s.waitFor(3));
    EXPECT_EQ(s.typed, (std::vector<std::u16string>{u"<Alt>", u"<Alt>", u"a\r\n"}));
}

// A flood of lines while the window is busy: only a bounded number wait for it, and a
// line after the flood still arrives.
TEST(ScannerDevice, AFloodOfLinesWaitsInABoundedQueue)
{
    PipedScanner s;
    for (int i = 0; i < 1000; ++i)
        s.tap(KEY_ENTER);
    int unread = 1;
    for (int tries = 0; unread > 0 && tries < 1000; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(::ioctl(s.in, FIONREAD, &unread), 0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the last block read is handled
    QCoreApplication::processEvents();
    EXPECT_GE(s.typed.size(), 1u);
    EXPECT_LE(s.typed.size(), ScannerDevice::kMostWaiting);
    const std::size_t before = s.typed.size();
    s.line(1);
    ASSERT_TRUE(s.waitFor(before + 2));
    EXPECT_EQ(s.typed.back(), u"a\r\n");
}

} // namespace
