#include "keyboardpollingloop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include "keystate.h"

KeyboardPollingLoop::KeyboardPollingLoop(platform::KeyState& keys, std::function<void()> onAltPressed)
    : keys_(keys)
    , onAltPressed_(std::move(onAltPressed))
{
    setLongestWait(keys_.wakesEventLoop() ? kLongestWaitWhenWoken : kLongestWait);
    waitBound_.start();
}

std::chrono::milliseconds KeyboardPollingLoop::longestWait() const
{
    return waitBound_.intervalAsDuration();
}

void KeyboardPollingLoop::setLongestWait(std::chrono::milliseconds wait)
{
    // Setting the interval restarts the timer, so only on a change.
    if (waitBound_.intervalAsDuration() != wait)
        waitBound_.setInterval(wait);
}

void KeyboardPollingLoop::runPass()
{
    const bool altDown = keys_.query(platform::kAltKey) != 0;
    if (altDown)
        onAltPressed_();
    // A held Alt sends no further key events to wake the loop, yet must keep emptying
    // the box: poll at the short bound until it is released.
    setLongestWait(altDown || !keys_.wakesEventLoop() ? kLongestWait : kLongestWaitWhenWoken);

    // This loop is not QCoreApplication::exec(), so objects handed to deleteLater()
    // outside any event handler would never be deleted by processEvents() alone.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Handles what is waiting; if nothing is, sleeps until the next event, at the
    // latest the next tick of waitBound_.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void KeyboardPollingLoop::runForever()
{
    for (;;)
        runPass();
}
