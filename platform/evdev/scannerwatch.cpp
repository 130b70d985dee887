// SPDX-License-Identifier: MIT
#include "platform/evdev/scannerwatch.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include <QPointer>
#include <QSocketNotifier>

#include "platform/evdev/scannerdevice.h"

namespace platform {

void readScannerDevices(QObject& owner, ScannerTyping typing)
{
    new evdev::ScannerWatch(std::move(typing), &owner);
}

} // namespace platform

namespace platform::evdev {

namespace {

constexpr const char* kInputDir = "/dev/input";
// udev grants access a moment after a node appears: a refusal is told only if it lasts.
constexpr std::chrono::seconds kAccessSettles{2};
// Nothing says when another program lets a device go, so it is asked this often.
constexpr std::chrono::seconds kBusyRetry{3};
// A key of the scanner is down: it is tried again after the key will have gone up.
constexpr std::chrono::milliseconds kKeysUp{100};

void tell(const InputNode& scanner, const char* what)
{
    std::fprintf(stderr, "tarnix: barcode scanner \"%s\" (%s) %s\n", scanner.name.c_str(), scanner.path.c_str(), what);
}

} // namespace

ScannerWatch::ScannerWatch(ScannerTyping typing, QObject* parent)
    : QObject(parent)
    , typing_(std::move(typing))
    , inotify_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    retry_.setInterval(kBusyRetry);
    connect(&retry_, &QTimer::timeout, this, &ScannerWatch::retryWaiting);
    // Watched before the first look, so that nothing plugged in meanwhile is missed.
    if (inotify_ < 0
        || inotify_add_watch(inotify_, kInputDir, IN_CREATE | IN_ATTRIB | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM)
            < 0) {
        // No input devices here at all (a container, a machine without evdev).
        if (inotify_ >= 0)
            ::close(inotify_);
        inotify_ = -1;
        return;
    }
    changes_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
    connect(changes_, &QSocketNotifier::activated, this, &ScannerWatch::readChanges);
    lookAtAll();
}

ScannerWatch::~ScannerWatch()
{
    // The notifier, a child, outlives this body: it must not watch a closed descriptor.
    if (changes_)
        changes_->setEnabled(false);
    if (inotify_ >= 0)
        ::close(inotify_);
}

void ScannerWatch::readChanges()
{
    alignas(inotify_event) char buffer[4096];
    const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
    for (ssize_t at = 0; got > 0 && at < got;) {
        const auto* change = reinterpret_cast<const inotify_event*>(buffer + at);
        at += ssize_t(sizeof(inotify_event) + change->len);
        if (change->mask & IN_Q_OVERFLOW) {
            lookAtAll();
        } else if (change->len > 0) {
            const std::string node = change->name;
            if (change->mask & (IN_DELETE | IN_MOVED_FROM))
                forget(node);
            else
                consider(node, false);
        }
    }
}

void ScannerWatch::lookAtAll()
{
    for (auto it = devices_.begin(); it != devices_.end();) {
        const std::string node = (it++)->first;
        if (::access((std::string(kInputDir) + "/" + node).c_str(), F_OK) != 0)
            forget(node);
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(kInputDir), &::closedir);
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        consider(entry->d_name, true);
    }
}

void ScannerWatch::consider(const std::string& node, bool settled)
{
    if (!node.starts_with("event"))
        return;
    if (const auto held = devices_.find(node); held != devices_.end()) {
        // Its access changed: the kernel would let this process read on, so it lets go.
        // (A node being removed changes too, on its way out.)
        if (const int error = accessError(held->second.node); error == ENOENT) {
            forget(node);
        } else if (error != 0) {
            const InputNode scanner = held->second.node;
            forget(node);
            reported_[node] = EACCES;
            tell(scanner, "let go: this user may no longer read it");
        }
        return;
    }
    const auto scanner = findScanner(node);
    if (!scanner) {
        waiting_.erase(node);
        return;
    }
    const int fd = openAndTake(*scanner);
    if (fd >= 0) {
        take(node, *scanner, fd);
        return;
    }
    const int error = errno;
    if (error == EBUSY) {
        if (waiting_.insert(node).second && !retry_.isActive())
            retry_.start();
        if (std::exchange(reported_[node], EBUSY) != EBUSY)
            tell(*scanner, "not read, so it types through the desktop: another program has taken it");
    } else if (error == EAGAIN && !settled) {
        QTimer::singleShot(kKeysUp, this, [this, node] { consider(node, true); });
    } else if (error == EAGAIN) {
        waiting_.insert(node); // a key held down for long: tried again with the busy ones
        if (!retry_.isActive())
            retry_.start();
    } else if (error != ENOENT && error != ENODEV) { // gone again, or another device now
        if (!settled)
            QTimer::singleShot(kAccessSettles, this, [this, node] { consider(node, true); });
        else if (std::exchange(reported_[node], error) != error)
            tell(*scanner, (std::string("not read, so it types through the desktop: ") + std::strerror(error)).c_str());
    }
}

void ScannerWatch::take(const std::string& node, const InputNode& scanner, int fd)
{
    waiting_.erase(node);
    if (reported_.erase(node))
        tell(scanner, "is read by Tarnix now");
    auto* device = new ScannerDevice(fd, this);
    devices_[node] = {device, scanner};
    connect(device, &ScannerDevice::altTapped, this, [this] { typing_.altTapped(); });
    connect(device, &ScannerDevice::lineTyped, this,
        [this](const QString& line) { typing_.lineTyped(line.toStdU16String()); });
    connect(device, &ScannerDevice::failed, this, [this, node, device = QPointer(device)] {
        // The device may be forgotten already, its node another device's.
        const auto it = devices_.find(node);
        if (device && it != devices_.end() && it->second.device == device)
            forget(node);
    });
    device->start();
}

void ScannerWatch::forget(const std::string& node)
{
    reported_.erase(node);
    waiting_.erase(node);
    if (const auto it = devices_.find(node); it != devices_.end()) {
        delete it->second.device; // ends its thread and lets the device go
        devices_.erase(it);
    }
}

void ScannerWatch::retryWaiting()
{
    for (const std::string& node : std::set(waiting_))
        consider(node, true);
    if (waiting_.empty())
        retry_.stop();
}

} // namespace platform::evdev
