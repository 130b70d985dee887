// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// Qt gives every key to the desktop's input method first (its compose sequences and dead
// keys, or an input method such as IBus), whichever box has the focus. A dead key then
// swallows the key after it or combines with it, which is right for a person typing and
// wrong for a scanner, whose keys stand for themselves. So Tarnix starts Qt with an input
// context of its own in front of the desktop's: keys for an object that accepts input
// methods go on to the desktop's input method as before, and an object that answers the
// query Qt::ImEnabled with false gets each key exactly as it was pressed.

// Before the QApplication is made: Qt picks its input context as it starts.
void useScannerInputContext();

// Once the application exists: the environment gets the desktop's own setting back, so
// that programs started from Tarnix (the web engine's) use the desktop's input method.
void restoreInputMethodSetting();

} // namespace platform
