// SPDX-License-Identifier: MIT
#include "tests/gui/support/recordingbrowserpane.h"

RecordingBrowserPane::RecordingBrowserPane(QWidget* parent)
    : platform::BrowserPane(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void RecordingBrowserPane::navigate(const QString& address)
{
    requests_.push_back({address, parentWidget() ? parentWidget()->height() : -1});
}

QStringList RecordingBrowserPane::addresses() const
{
    QStringList list;
    for (const Request& request : requests_)
        list << request.address;
    return list;
}
