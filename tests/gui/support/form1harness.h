#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

#include "form1.h"
#include "lookuphosts.h"
#include "recordingbrowserpane.h"
#include "twips.h"

// A main window wired to doubles: the browser pane records its requests, message boxes
// are recorded instead of shown, and ending the program is recorded instead of done.
class Form1Harness {
public:
    struct Message {
        QString title;
        QString text;
    };

    explicit Form1Harness(lookup::LookupHosts hosts = {});
    Form1Harness(const Form1Harness&) = delete;
    Form1Harness& operator=(const Form1Harness&) = delete;

    Form1& form() const { return *form_; }
    RecordingBrowserPane& pane() const { return *pane_; }
    const std::vector<Message>& messages() const { return messages_; }
    int endRequests() const { return endRequests_; }

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

    // Types text into the focused widget of the window as key presses, then Return.
    void typeLine(QWidget& target, const QString& text) const;

private:
    RecordingBrowserPane* pane_ = nullptr;
    std::vector<Message> messages_;
    int endRequests_ = 0;
    std::unique_ptr<Form1> form_;
};
