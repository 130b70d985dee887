// SPDX-License-Identifier: MIT
#include "platform/evdev/scannerdevice.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <QPointer>
#include <QSocketNotifier>

#include "platform/evdev/inputnode.h"

namespace platform::evdev {

ScannerDevice::ScannerDevice(int fd, QObject* parent)
    : QObject(parent)
    , fd_(fd)
    , stop_(::eventfd(0, EFD_CLOEXEC))
    , wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (stop_ < 0 || wake_ < 0) {
        // No way to end a thread or hear from it, so none: let go at once, to type
        // through the desktop.
        for (const int fd : {fd_, stop_, wake_}) {
            if (fd >= 0)
                ::close(fd);
        }
        fd_ = -1;
        return;
    }
    // The thread's only word to this one is a count on an eventfd: what it typed passes
    // through waiting_ under the mutex, with no object of the toolkit's shared.
    woken_ = new QSocketNotifier(wake_, QSocketNotifier::Read, this);
    connect(woken_, &QSocketNotifier::activated, this, &ScannerDevice::deliver);
}

void ScannerDevice::start()
{
    if (fd_ >= 0 && !reader_.joinable())
        reader_ = std::thread(&ScannerDevice::readUntilStopped, this);
}

ScannerDevice::~ScannerDevice()
{
    if (fd_ < 0)
        return;
    const std::uint64_t one = 1;
    // Cannot fail: the counter is far from full.
    [[maybe_unused]] const ssize_t woken = ::write(stop_, &one, sizeof one);
    if (reader_.joinable())
        reader_.join();
    // The notifier, a child, outlives this body: it must not watch a closed descriptor.
    woken_->setEnabled(false);
    ::close(wake_);
    ::close(stop_);
    ::close(fd_);
}

void ScannerDevice::readUntilStopped()
{
    pollfd waitFor[] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
    for (;;) {
        if (::poll(waitFor, 2, -1) < 0 && errno != EINTR)
            break;
        if (waitFor[1].revents)
            return;
        input_event events[64];
        const ssize_t got = ::read(fd_, events, sizeof events);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got <= 0)
            break; // ENODEV once unplugged; any other error would only repeat
        for (std::size_t i = 0; i < std::size_t(got) / sizeof(input_event); ++i)
            handle(events[i]);
    }
    hand({ScannerKeys::Typed::Nothing, {}});
}

void ScannerDevice::handle(const input_event& event)
{
    // The kernel's queue overflowed: the events up to the next report are no whole
    // picture, so they are dropped, and the keys held are asked afresh after it.
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        std::fputs("tarnix: keys of a barcode scanner were lost; the scan it was typing is dropped\n", stderr);
        resynchronising_ = true;
    } else if (resynchronising_) {
        if (event.type == EV_SYN && event.code == SYN_REPORT) {
            resynchronising_ = false;
            keys_.eventsLost(keysDown(fd_).value_or(KeyBits()));
        }
    } else if (event.type == EV_KEY) {
        switch (const auto what = keys_.key(event.code, event.value,
                    std::uint32_t(event.input_event_sec * 1000 + event.input_event_usec / 1000))) {
        case ScannerKeys::Typed::Nothing: break;
        case ScannerKeys::Typed::TooLong:
            std::fprintf(stderr,
                "tarnix: a barcode scanner typed over %zu characters without a line end; the line is dropped\n",
                ScannerKeys::kLongestLine);
            break;
        case ScannerKeys::Typed::AltTap: hand({what, {}}); break;
        case ScannerKeys::Typed::Line: hand({what, keys_.line()}); break;
        }
    }
}

void ScannerDevice::hand(Typed typed)
{
    const bool end = typed.what == ScannerKeys::Typed::Nothing;
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        if (waiting_.empty())
            floodTold_ = false;
        // The end always gets through, so the window learns of it.
        if (waiting_.size() >= kMostWaiting && !end) {
            if (!std::exchange(floodTold_, true))
                std::fputs("tarnix: a barcode scanner types faster than Tarnix can take its lines; lines are dropped\n",
                    stderr);
            return;
        }
        wake = waiting_.empty();
        waiting_.push_back(std::move(typed));
    }
    if (wake) {
        const std::uint64_t one = 1;
        // Cannot fail: the window's thread empties the counter at each delivery.
        [[maybe_unused]] const ssize_t woken = ::write(wake_, &one, sizeof one);
    }
}

void ScannerDevice::deliver()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(wake_, &count, sizeof count);
    std::deque<Typed> typed;
    {
        const std::lock_guard lock(mutex_);
        typed.swap(waiting_);
    }
    // What the window does with a line may delete this device (a nested event loop that
    // hears of its unplugging): nothing more is emitted then.
    const QPointer self(this);
    for (const Typed& each : typed) {
        switch (each.what) {
        case ScannerKeys::Typed::AltTap: emit altTapped(); break;
        case ScannerKeys::Typed::Line: emit lineTyped(QString::fromStdU16String(each.line)); break;
        default: emit failed(); break;
        }
        if (!self)
            return;
    }
}

} // namespace platform::evdev
