// SPDX-License-Identifier: MIT
// The web engine module's entry point, loaded by the program when the browser pane is
// first needed.
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QObject>

#include "platform/webengine/webenginepane.h"
#include "platform/webengine/webenginesandbox.h"
#include "platform/webpanemodule.h"

namespace platform {

class WebPanePlugin final : public QObject, public WebPaneModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TARNIX_WEBPANE_MODULE_IID)
    Q_INTERFACES(platform::WebPaneModule)
public:
    QWidget* createView(QWidget* parent) override
    {
        // Both are read once, when the first page starts the engine.
        allowWebEngineWithoutSandboxAsRoot();
        // The engine lists its graphics set-up on stderr at start; it says nothing wrong.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        // Nothing is stored, compiled shaders included.
        QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
        return new WebEnginePane(parent);
    }

    void navigate(QWidget& view, const QString& address) override
    {
        if (auto* pane = qobject_cast<WebEnginePane*>(&view))
            pane->navigate(address);
    }
};

} // namespace platform

#include "webpaneplugin.moc"
