// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "platform/qt/browserpane.h"

// A browser pane that loads nothing and records where it was sent, together with the
// height of the area it sits in at that moment.
class RecordingBrowserPane final : public platform::BrowserPane {
    Q_OBJECT
public:
    struct Request {
        QString address;
        int clientHeightPx; // height of the pane's parent when the request came
    };

    explicit RecordingBrowserPane(QWidget* parent);

    void navigate(const QString& address) override;

    const std::vector<Request>& requests() const { return requests_; }
    QStringList addresses() const;

private:
    std::vector<Request> requests_;
};
