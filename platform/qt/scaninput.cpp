// SPDX-License-Identifier: MIT
#include "platform/qt/scaninput.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <limits>

#include "platform/uskeyboard.h"

namespace {

bool isEnterKey(const QKeyEvent& event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    // Alt+Enter and Meta+Enter belong to the window system, not to the text.
    return enter && !(event.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
}

// The key's PC scan code, where the platform tells it: on X11 and Wayland Qt passes the
// key code, which is Linux's key number (the scan code for these keys) plus 8.
unsigned scanCodeOf(const QKeyEvent& event)
{
    const QString platform = QGuiApplication::platformName();
    const bool linuxKeyCodes = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    return linuxKeyCodes && event.nativeScanCode() >= 8 ? event.nativeScanCode() - 8 : 0;
}

// What the key types on a US keyboard, or 0 when it is left to the line edit: a key with
// a command modifier (Ctrl+V pastes, AltGr counts as Ctrl+Alt) or without a character.
char16_t usCharacterOf(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    return platform::usKeyboardCharacter(scanCodeOf(event), event.modifiers() & Qt::ShiftModifier);
}

} // namespace

ScanInput::ScanInput(QWidget* parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}

QVariant ScanInput::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // Keys reach the box as pressed, not through the desktop's input method.
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void ScanInput::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (isEnterKey(*event)) {
        insert(QStringLiteral("\r\n"));
        event->accept();
        return;
    }
    if (const char16_t typed = usCharacterOf(*event)) {
        insert(QString(QChar(typed)));
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
