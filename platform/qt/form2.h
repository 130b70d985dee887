// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// The help window: three fixed paragraphs of help, nothing to operate. Closing it only
// hides it; the main window shows the same window again next time.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

private:
    void fitTextsToTheirBoxes();
};
