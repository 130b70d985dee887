// SPDX-License-Identifier: MIT
#include "platform/qt/webbrowserpane.h"

#include <QLabel>
#include <QPluginLoader>
#include <QVBoxLayout>

#include "platform/qt/openglsharing.h"
#include "platform/privatedirs.h"
#include "platform/webpanemodule.h"

namespace platform {

namespace {

// The module's base name; the loader adds the system's prefix and suffix (libNAME.so).
constexpr char kModuleName[] = "tarnix-webpane";

void fillWith(QWidget& pane, QWidget& content)
{
    auto* layout = new QVBoxLayout(&pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&content);
}

} // namespace

BrowserPane* createWebBrowserPane(QWidget* parent)
{
    return new WebBrowserPane(parent, privateProgramDirs());
}

WebBrowserPane::WebBrowserPane(QWidget* parent, QStringList moduleDirs)
    : BrowserPane(parent)
    , moduleDirs_(std::move(moduleDirs))
{
    setFocusPolicy(Qt::StrongFocus);
    // Blank, as a browser with no page shows itself.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void WebBrowserPane::prepare()
{
    if (prepared_)
        return;
    prepared_ = true;
    QString whyNot;
    if (loadModule(&whyNot)) {
        view_ = module_->createView(this);
        fillWith(*this, *view_);
        // Tab and a click on the pane reach the page itself.
        setFocusProxy(view_);
        view_->show();
        return;
    }
    failure_ = new QLabel(this);
    failure_->setObjectName(QStringLiteral("webPaneFailure"));
    failure_->setTextFormat(Qt::PlainText);
    failure_->setWordWrap(true);
    failure_->setAlignment(Qt::AlignCenter);
    failure_->setText(QStringLiteral("Web lookup is not available: %1").arg(whyNot));
    fillWith(*this, *failure_);
    failure_->show();
}

void WebBrowserPane::navigate(const QString& address)
{
    prepare();
    if (view_)
        module_->navigate(*view_, address);
}

bool WebBrowserPane::loadModule(QString* whyNot)
{
    // The engine checks for a shared OpenGL context the moment its library is loaded.
    shareOpenGLContextsForWebEngine();
    QStringList errors;
    for (const QString& dir : moduleDirs_) {
        // Never unloaded: the engine's threads and helper processes live as long as the program.
        auto* loader = new QPluginLoader(dir + QLatin1Char('/') + QLatin1String(kModuleName), this);
        QObject* instance = loader->instance();
        module_ = qobject_cast<WebPaneModule*>(instance);
        if (module_)
            return true;
        errors << (instance ? QStringLiteral("%1 is not Tarnix's web page module").arg(loader->fileName())
                            : QStringLiteral("%1: %2").arg(dir, loader->errorString()));
        delete loader;
    }
    *whyNot
        = errors.isEmpty() ? QStringLiteral("no folder to look for its module in") : errors.join(QLatin1String("; "));
    return false;
}

} // namespace platform
