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

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/evdev/inputnode.h"
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

void reportUnreadable(const InputNode& scanner, int error)
{
    const char* why = error == EBUSY ? "another program has taken it" : std::strerror(error);
    std::fprintf(stderr, "tarnix: barcode scanner \"%s\" (%s) not read, so it types through the desktop: %s\n",
        scanner.name.c_str(), scanner.path.c_str(), why);
}

} // namespace

ScannerWatch::ScannerWatch(ScannerTyping typing, QObject* parent)
    : QObject(parent)
    , typing_(std::move(typing))
    , inotify_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
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
    if (!node.starts_with("event") || devices_.contains(node))
        return;
    const auto scanner = findScanner(node);
    if (!scanner)
        return;
    const int fd = openAndTake(*scanner);
    if (fd < 0) {
        const int error = errno;
        // Gone again, or another device now: nothing to say.
        if (error == ENOENT || error == ENODEV)
            return;
        if (!settled)
            QTimer::singleShot(kAccessSettles, this, [this, node] { consider(node, true); });
        else if (reported_.insert(node).second)
            reportUnreadable(*scanner, error);
        return;
    }
    reported_.erase(node);
    auto* device = new ScannerDevice(fd, this);
    devices_[node] = device;
    connect(device, &ScannerDevice::altTapped, this, [this] { typing_.altTapped(); });
    connect(device, &ScannerDevice::lineTyped, this,
        [this](const QString& line) { typing_.lineTyped(line.toStdU16String()); });
    connect(device, &ScannerDevice::failed, this, [this, node, device = QPointer(device)] {
        // Arrives queued: the device may be forgotten already, its node another device's.
        const auto it = devices_.find(node);
        if (device && it != devices_.end() && it->second == device)
            forget(node);
    });
    device->start();
}

void ScannerWatch::forget(const std::string& node)
{
    reported_.erase(node);
    if (const auto it = devices_.find(node); it != devices_.end()) {
        delete it->second; // ends its thread and lets the device go
        devices_.erase(it);
    }
}

} // namespace platform::evdev
