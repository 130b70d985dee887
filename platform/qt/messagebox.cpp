// SPDX-License-Identifier: MIT
#include "platform/qt/messagebox.h"

#include <QMessageBox>
#include <QString>

namespace platform {

void showMessageBox(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace platform
