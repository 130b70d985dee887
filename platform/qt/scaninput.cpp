// SPDX-License-Identifier: MIT
#include "platform/qt/scaninput.h"

#include <QKeyEvent>

#include <limits>

namespace {

bool isEnterKey(const QKeyEvent& event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    // Alt+Enter and Meta+Enter belong to the window system, not to the text.
    return enter && !(event.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

ScanInput::ScanInput(QWidget* parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}

void ScanInput::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(*event) && !isReadOnly()) {
        insert(QStringLiteral("\r\n"));
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
