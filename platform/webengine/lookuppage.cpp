// SPDX-License-Identifier: MIT
#include "platform/webengine/lookuppage.h"

#include <QCoreApplication>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

namespace platform {

namespace {

// The engine asks its leave-page question through javaScriptConfirm with this text.
QString leavePageQuestion()
{
    return QCoreApplication::translate(
        "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

void refuseAllRequests(LookupPage& page)
{
    QObject::connect(&page, &QWebEnginePage::featurePermissionRequested, &page,
        [&page](const QUrl& origin, QWebEnginePage::Feature feature) {
            page.setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
        });
    QObject::connect(&page, &QWebEnginePage::fullScreenRequested, &page,
        [](QWebEngineFullScreenRequest request) { request.reject(); });
    QObject::connect(
        &page, &QWebEnginePage::quotaRequested, &page, [](QWebEngineQuotaRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::registerProtocolHandlerRequested, &page,
        [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::fileSystemAccessRequested, &page,
        [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    // printRequested, authenticationRequired and selectClientCertificate are left
    // unconnected: unanswered, the engine cancels them without a dialog.
}

} // namespace

LookupPage::LookupPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    QWebEngineSettings* s = settings();
    // A page that is loading must not pull the keyboard focus to itself.
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    refuseAllRequests(*this);
}

void LookupPage::javaScriptAlert(const QUrl&, const QString&) { }

bool LookupPage::javaScriptConfirm(const QUrl&, const QString& message)
{
    return message == leavePageQuestion();
}

bool LookupPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*)
{
    return false;
}

QStringList LookupPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&)
{
    return {};
}

QWebEnginePage* LookupPage::createWindow(WebWindowType)
{
    return nullptr;
}

void LookupPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) { }

} // namespace platform
