// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "platform/qt/form1window.h"
#include "lookup/lookuphosts.h"
#include "tests/gui/support/recordingbrowserpane.h"
#include "platform/qt/twips.h"

// Pixels back to twips at a resolution, for checks and figures.
inline double twipsOf(int pixels, int dpi)
{
    return pixels * 1440.0 / dpi;
}

// A scan line as the scanner types it, made from known fields (ASCII).
struct TestScan {
    QString line; // CR LF included
    QString serial;
    QString type;
    QString data;

    QString withoutLineEnd() const { return line.chopped(2); }
};
TestScan makeScan(const std::string& serial18, const std::string& type3, const std::string& data);

// A main window wired to doubles: the browser pane records its requests, message boxes
// are recorded instead of shown, and ending the program is recorded instead of done.
class Form1Harness {
public:
    struct Message {
        QString title;
        QString text;
    };

    enum class Pane { Recording, Real };

    // With Pane::Real the window gets the program's own browser pane, and pane() must
    // not be used.
    explicit Form1Harness(lookup::LookupHosts hosts = {}, Pane paneKind = Pane::Recording);
    Form1Harness(const Form1Harness&) = delete;
    Form1Harness& operator=(const Form1Harness&) = delete;

    // The program's own browser pane, with the module from the build tree.
    static platform::BrowserPane* createBuiltWebPane(QWidget* parent);
    // The web page view of that pane once it is prepared (a window of its own,
    // embedded in the pane), else nullptr.
    static QWidget* lookupPageView();

    Form1Window& form() const { return *form_; }
    RecordingBrowserPane& pane() const
    {
        if (!pane_)
            qFatal("this window has the real browser pane");
        return *pane_;
    }
    const std::vector<Message>& messages() const { return messages_; }
    int endRequests() const { return endRequests_; }
    // The objectNames of the top-level windows still visible when the program was last
    // asked to end.
    const QStringList& visibleWindowsAtEnd() const { return visibleWindowsAtEnd_; }

    // A child by its objectName; aborts the test run when it is missing.
    template <class T = QWidget>
    T& child(const char* name) const
    {
        T* found = form_->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("Form1 has no %s named %s", T::staticMetaObject.className(), name);
        return *found;
    }

    // Shows the window and waits until it is the active window, as after a start.
    bool showActive() const;

    // The client area below the menu bar, in twips.
    double clientWidthTwips() const;
    double clientHeightTwips() const;
    platform::TwipsScale scale() const;

    // Types text into a widget as key presses, then Return.
    void typeLine(QWidget& target, const QString& text) const;
    // Types a scan into the input box as the scanner does: its characters, then Enter.
    void typeScan(const TestScan& scan) const;

private:
    RecordingBrowserPane* pane_ = nullptr;
    std::vector<Message> messages_;
    int endRequests_ = 0;
    QStringList visibleWindowsAtEnd_;
    std::unique_ptr<Form1Window> form_;
};
