// SPDX-License-Identifier: MIT
#pragma once

class QLabel;
class QLineEdit;
class QWidget;
class ScanInput;

namespace platform {
class BrowserPane;
}

// The main window's controls. Each one carries its name as objectName.
struct Form1Controls {
    ScanInput* Text1 = nullptr;                   // the scanner's keystrokes arrive here
    QLabel* Label2 = nullptr;                     // "Serial:"
    QLabel* Label3 = nullptr;                     // "UPC Type:"
    QLabel* Label4 = nullptr;                     // "UPC:"
    QLabel* Label5 = nullptr;                     // the last scan line
    QLineEdit* Text5 = nullptr;                   // decoded serial
    QLineEdit* Text6 = nullptr;                   // decoded barcode type
    QLineEdit* Text7 = nullptr;                   // decoded barcode data
    platform::BrowserPane* WebBrowser1 = nullptr; // the lookup page
    QLabel* Label6 = nullptr;                     // lookup status
};

// Places the controls on the client area at their design geometry, with their design
// texts, and sets the tab order. The browser pane must already be a child of client.
Form1Controls buildForm1Controls(QWidget& client, platform::BrowserPane& browserPane);
