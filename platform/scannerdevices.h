// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string_view>

class QObject;

namespace platform {

// What a keyboard-emulating barcode scanner typed, read from the scanner's own device
// instead of from the desktop: its keys then reach Tarnix whichever program has the
// keyboard, and nobody else.
struct ScannerTyping {
    // A lone Alt tap, with which the scanner opens each line.
    std::function<void()> altTapped;
    // A whole line, CR LF at its end; never a part of one.
    std::function<void(std::u16string_view line)> lineTyped;
};

// Finds the barcode scanners attached now and later, takes each one the program may open
// for itself and reports what it types, for as long as owner lives. A scanner that cannot
// be opened types through the desktop as any keyboard does; so does every scanner on a
// system without such access. Needs the application's event loop.
void readScannerDevices(QObject& owner, ScannerTyping typing);

} // namespace platform
