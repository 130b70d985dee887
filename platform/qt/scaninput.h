// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

// The box the scanner types into. Its text is exactly what arrived: Enter (Return or
// the keypad's Enter) puts CR LF into it, as a scanner's line end is read, and a bare
// CR or LF that is set or pasted stays as it is. It is one text line high, so line
// breaks inside the text show as blanks. There is no length limit.
//
// A scanner sends the places of a US keyboard's keys, not characters, so each key typed
// into the box with neither Ctrl, Alt nor Meta down becomes the character that key gives
// on a US keyboard with the Shift state it came with: the desktop's layout, Caps Lock,
// dead keys and the input method play no part (the box takes no input method). Keys a
// US keyboard types no character with (Backspace, arrows, the keypad, ...) and keys of
// a platform that says nothing of the key's place edit as usual; pasted text stays as
// it is.
//
// textChanged() fires on every change of the text, typed or set, and not when the text
// is set to what it already is.
class ScanInput final : public QLineEdit {
    Q_OBJECT
public:
    explicit ScanInput(QWidget* parent = nullptr);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
