// SPDX-License-Identifier: MIT
#include "platform/qt/qtkeystate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

#include "platform/keystatebits.h"

namespace platform {

QtKeyState::QtKeyState(QObject* parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

QtKeyState::~QtKeyState()
{
    if (auto* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

std::int16_t QtKeyState::query(int virtualKey)
{
    if (virtualKey != kAltKey)
        return 0;
    const std::int16_t state = keyStateBits(altDown_, altPressedSinceQuery_);
    altPressedSinceQuery_ = false;
    return state;
}

bool QtKeyState::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        // An ignored key event travels up to the parents and passes here again; the
        // latch is set either way, so that does no harm.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
            altDown_ = true;
            altPressedSinceQuery_ = true;
        }
        break;
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt)
            altDown_ = false;
        break;
    case QEvent::ApplicationDeactivate:
        // The release will go to another application's window: stop calling the key down.
        altDown_ = false;
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
