// SPDX-License-Identifier: MIT
#include "platform/webengine/webenginepane.h"

#include <algorithm>

#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWindow>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformintegration.h>

#include <csignal>

#include "platform/webengine/lookuppage.h"

namespace platform {

namespace {

bool canEmbedWindows()
{
    const QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration();
    return integration && integration->hasCapability(QPlatformIntegration::NativeWidgets);
}

} // namespace

WebEnginePane::WebEnginePane(QWidget* parent)
    : QWidget(parent)
    , profile_(new QWebEngineProfile) // no storage name: off the record
    , page_(new LookupPage(profile_, nullptr))
    , view_(new QWebEngineView(page_))
{
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
        [](QWebEngineDownloadRequest* download) { download->cancel(); });

    // The page starts now, on the engine's empty document (no request goes out), and
    // brings its OpenGL drawing surface into the view; the view's window is made after
    // that, so it is made for OpenGL at once and never made anew.
    page_->runJavaScript(QStringLiteral("0"));
    view_->setObjectName(QStringLiteral("WebBrowser1Page"));
    view_->setAccessibleName(QStringLiteral("Lookup page"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (canEmbedWindows()) {
        view_->winId();
        QWidget* container = QWidget::createWindowContainer(view_->windowHandle(), this);
        container->setObjectName(QStringLiteral("WebBrowser1Window"));
        // A container takes no focus of its own: then Tab would pass the pane by, and a
        // click could not give the page the keyboard.
        container->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(container);
        setFocusProxy(container);
    } else {
        // No native child windows here (the offscreen platform): the view goes straight
        // into the pane.
        layout->addWidget(view_);
        setFocusProxy(view_);
    }

    hangTimer_.setSingleShot(true);
    hangTimer_.setInterval(kHangBound);
    connect(&hangTimer_, &QTimer::timeout, this, &WebEnginePane::endHungRenderer);
    loadTurn_.setSingleShot(true);
    loadTurn_.setInterval(kHangBound);
    connect(&loadTurn_, &QTimer::timeout, this, &WebEnginePane::startNext);
    connect(page_, &QWebEnginePage::loadFinished, this, [this] {
        // A load cut short by the next one ends too: only the last one's end counts.
        if (++loadsFinished_ < loadsStarted_)
            return;
        loadTurn_.stop();
        startNext();
    });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
        // A load that waited for the renderer goes to a fresh one now.
        if (pingAwaited_) {
            pingAwaited_ = 0;
            hangTimer_.stop();
            loadNext();
        }
    });
}

WebEnginePane::~WebEnginePane()
{
    // The view's window goes before the container that embeds it, and the page before
    // its profile.
    delete view_;
    delete page_;
    delete profile_;
}

void WebEnginePane::navigate(const QString& address)
{
    // Scans that come faster than pages load (a device flooding lines) must not queue up
    // without bound: the oldest address still waiting gives way to the newest.
    if (pending_.size() >= kMostWaiting)
        pending_.removeFirst();
    pending_.append(address);
    startNext();
}

void WebEnginePane::startNext()
{
    if (pending_.isEmpty() || pingAwaited_ || loadTurn_.isActive())
        return;
    if (page_->renderProcessPid() <= 0) {
        loadNext(); // no renderer to ask: the load starts a fresh one
        return;
    }
    const quint64 ping = ++pingsSent_;
    pingAwaited_ = ping;
    hangTimer_.start();
    QPointer<WebEnginePane> self(this);
    page_->runJavaScript(QStringLiteral("0"), [self, ping](const QVariant&) {
        if (!self || self->pingAwaited_ != ping)
            return;
        self->pingAwaited_ = 0;
        self->hangTimer_.stop();
        self->loadNext();
    });
}

void WebEnginePane::loadNext()
{
    if (pending_.isEmpty())
        return;
    page_->load(QUrl(pending_.takeFirst()));
    // Loads the page began itself (a redirect by script) finish too, uncounted: they
    // must not make a later load's own end look already come.
    loadsFinished_ = std::min(loadsFinished_, loadsStarted_);
    ++loadsStarted_;
    // The next address waits until this load has finished, or its turn is over.
    loadTurn_.start();
}

void WebEnginePane::endHungRenderer()
{
    const qint64 pid = page_->renderProcessPid();
    if (pid > 0) {
        // The engine reports the end through renderProcessTerminated, which loads.
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        return;
    }
    pingAwaited_ = 0;
    loadNext();
}

} // namespace platform
