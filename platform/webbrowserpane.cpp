#include "webbrowserpane.h"

#include <QApplication>
#include <QEvent>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWindow>

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
    keepFocusThroughWindowRecreation();

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


// The view draws through OpenGL. A window that so far drew without it has to be made
// anew by the window system for that, a moment after the view arrives, and the new
// window starts without the keyboard focus: the next scan would go nowhere. So once the
// new window exists, it is activated again and the focus goes back where it was.
void WebBrowserPane::keepFocusThroughWindowRecreation()
{
    QWidget* top = window();
    const QWindow* handle = top->windowHandle();
    if (!top->isActiveWindow() || !handle || handle->surfaceType() != QSurface::RasterSurface)
        return;
    focusBeforeView_ = QApplication::focusWidget();
    top->installEventFilter(this);
}

bool WebBrowserPane::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* top = window();
    if (watched == top && event->type() == QEvent::WinIdChange && top->internalWinId()) {
        top->removeEventFilter(this);
        top->activateWindow();
        if (focusBeforeView_)
            focusBeforeView_->setFocus(Qt::ActiveWindowFocusReason);
    }
    return BrowserPane::eventFilter(watched, event);
}

} // namespace platform
