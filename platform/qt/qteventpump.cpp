// SPDX-License-Identifier: MIT
#include "platform/qt/qteventpump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace platform {

KeyboardPollingLoop::Pump qtEventPump()
{
    // Its ticks end a wait when nothing else happens. Shared by the copies of the pump,
    // and started by the first pump: a timer running before that, at its default
    // interval of zero, would fire without pause.
    auto bound = std::make_shared<QTimer>();
    return [bound](std::chrono::milliseconds longestWait) {
        // Starting or setting the interval restarts the timer, so only on a change.
        if (!bound->isActive())
            bound->start(longestWait);
        else if (bound->intervalAsDuration() != longestWait)
            bound->setInterval(longestWait);
        // This loop is not QCoreApplication::exec(), so objects handed to deleteLater()
        // outside any event handler would never be deleted by processEvents() alone.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    };
}

KeyboardPollingLoop qtPollingLoop(KeyState& keys, std::function<void()> onAltPressed)
{
    return KeyboardPollingLoop(keys, std::move(onAltPressed), qtEventPump());
}

} // namespace platform
