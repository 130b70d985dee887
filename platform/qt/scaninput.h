// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

// The box the scanner types into. Its text is exactly what arrived: Enter (Return or
// the keypad's Enter) puts CR LF into it, as a scanner's line end is read, and a bare
// CR or LF that is set or pasted stays as it is. It is one text line high, so line
// breaks inside the text show as blanks. There is no length limit.
//
// textChanged() fires on every change of the text, typed or set, and not when the text
// is set to what it already is.
class ScanInput final : public QLineEdit {
    Q_OBJECT
public:
    explicit ScanInput(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
