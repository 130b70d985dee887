#include "keyboardpollingloop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include "keystate.h"

KeyboardPollingLoop::KeyboardPollingLoop(platform::KeyState& keys, std::function<void()> onAltPressed)
    : keys_(keys)
    , onAltPressed_(std::move(onAltPressed))
{
    waitBound_.setInterval(keys_.wakesEventLoop() ? kLongestWaitWhenWoken : kLongestWait);
    waitBound_.start();
}

void KeyboardPollingLoop::runPass()
{
    if (keys_.query(platform::kAltKey) != 0)
        onAltPressed_();

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
