// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "platform/qt/browserpane.h"

class QLabel;

namespace platform {
class WebPaneModule;
}

namespace platform {

// The program's browser pane. Until it is first prepared or sent to a page it is an
// empty page-coloured area that takes its turn in the tab order; then it loads the web
// engine module and puts the module's pane in its place. When the module cannot be
// loaded, the pane says why in plain text and every later request does nothing, so
// the rest of the program goes on as before.
class WebBrowserPane final : public BrowserPane {
    Q_OBJECT
public:
    // Looks for the module in each folder of moduleDirs, in order.
    WebBrowserPane(QWidget* parent, QStringList moduleDirs);

    void navigate(const QString& address) override;
    void prepare() override;

private:
    bool loadModule(QString* whyNot);

    QStringList moduleDirs_;
    bool prepared_ = false;
    WebPaneModule* module_ = nullptr;
    QWidget* view_ = nullptr; // the module's, once loaded
    QLabel* failure_ = nullptr;
};

} // namespace platform
