// SPDX-License-Identifier: MIT
#include "platform/evdev/scannerdevice.h"

#include <linux/input.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace platform::evdev {

namespace {

ScannerKeys::KeysDown keysDown(int fd)
{
    unsigned char bits[ScannerKeys::kKeyCount / 8] = {};
    ScannerKeys::KeysDown down;
    if (::ioctl(fd, EVIOCGKEY(sizeof bits), bits) >= 0) {
        for (unsigned code = 0; code < ScannerKeys::kKeyCount; ++code)
            down.set(code, bits[code / 8] & (1u << (code % 8)));
    }
    return down;
}

} // namespace

ScannerDevice::ScannerDevice(int fd, QObject* parent)
    : QObject(parent)
    , fd_(fd)
    , stop_(::eventfd(0, EFD_CLOEXEC))
{
    if (stop_ < 0) {
        // No way to end a thread, so none: let go at once, to type through the desktop.
        ::close(fd_);
        fd_ = -1;
    }
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
        for (std::size_t i = 0; i < std::size_t(got) / sizeof(input_event); ++i) {
            const input_event& event = events[i];
            if (event.type == EV_SYN && event.code == SYN_DROPPED) {
                std::fputs("tarnix: keys of a barcode scanner were lost; the scan it was typing is dropped\n", stderr);
                keys_.eventsLost(keysDown(fd_));
            } else if (event.type == EV_KEY) {
                switch (keys_.key(event.code, event.value)) {
                case ScannerKeys::Typed::Nothing: break;
                case ScannerKeys::Typed::AltTap: emit altTapped(); break;
                case ScannerKeys::Typed::Line: emit lineTyped(QString::fromStdU16String(keys_.line())); break;
                }
            }
        }
    }
    emit failed();
}

} // namespace platform::evdev
