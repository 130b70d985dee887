// SPDX-License-Identifier: MIT
#pragma once

class QString;
class QWidget;

namespace platform {

// A modal message box with the given title and text, a single OK button and no icon.
// Returns when the user has closed it.
void showMessageBox(QWidget* parent, const QString& title, const QString& text);

} // namespace platform
