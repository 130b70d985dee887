#include "webbrowserpane.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "webenginesandbox.h"

namespace platform {

BrowserPane* createWebBrowserPane(QWidget* parent)
{
    return new WebBrowserPane(parent);
}

WebBrowserPane::WebBrowserPane(QWidget* parent)
    : BrowserPane(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // Blank, as a browser with no page shows itself.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void WebBrowserPane::navigate(const QString& address)
{
    view().load(QUrl(address));
}

QWebEngineView& WebBrowserPane::view()
{
    if (view_)
        return *view_;

    // The engine reads its sandbox setting once, when the first view starts it.
    allowWebEngineWithoutSandboxAsRoot();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new QWebEngineView(this);
    // Scans are typed one after another into the input box: a page that is loading
    // must not pull the keyboard focus away from it.
    view_->settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    layout->addWidget(view_);
    // Tab and a click on the pane now reach the page itself.
    setFocusProxy(view_);
    return *view_;
}

} // namespace platform
