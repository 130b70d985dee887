// SPDX-License-Identifier: MIT
#include "platform/qt/qtkeystate.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QEvent>
#include <QKeyEvent>

#include "mainwindow/altpolicy.h"
#include "platform/keystatebits.h"

namespace platform {

namespace {

// Where the keys of an Alt go, as far as this program can see: only its own windows.
AltTarget altTarget()
{
    if (QGuiApplication::modalWindow())
        return AltTarget::Modal;
    const QWindow* focus = QGuiApplication::focusWindow();
    if (focus && focus->type() == Qt::Popup)
        return AltTarget::Modal;
    // The main window is the first top-level window the program made.
    const QWindow* main = nullptr;
    for (const QWindow* own : QGuiApplication::topLevelWindows()) {
        if (own->type() == Qt::Window) {
            main = own;
            break;
        }
    }
    while (focus && focus->parent())
        focus = focus->parent();
    return focus && focus == main ? AltTarget::MainWindow : AltTarget::Elsewhere;
}

} // namespace

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
    case QEvent::KeyRelease: {
        // An ignored key event travels up to the parents and passes here again; the rule
        // takes the copy for a repeat, or for a key it has decided on already.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool down = event->type() == QEvent::KeyPress;
        const bool alt = key->key() == Qt::Key_Alt; // AltGr comes as Key_AltGr
        const auto what = tap_.key({.code = unsigned(key->key()),
            .down = down,
            .alt = alt,
            .othersHeld = (key->modifiers() & ~Qt::AltModifier & ~Qt::KeypadModifier) != 0,
            .timeMs = std::uint32_t(key->timestamp())});
        if (alt && !down)
            altDown_ = false;
        if (what != AltTapRule::Event::None && altCounts(what, altTarget())) {
            altDown_ = down;
            altPressedSinceQuery_ = true;
        }
        break;
    }
    case QEvent::ApplicationDeactivate:
        // The release will go to another application's window: stop calling the key down.
        altDown_ = false;
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
