// SPDX-License-Identifier: MIT
#include "platform/qt/scannerinputcontext.h"

#include <QByteArray>
#include <QMetaObject>
#include <QRectF>
#include <QtPlugin>
#include <qpa/qplatforminputcontext.h>
#include <qpa/qplatforminputcontextfactory_p.h>
#include <qpa/qplatforminputcontextplugin_p.h>

struct xkb_context;

namespace {

// The environment variable Qt picks its input context by, and this context's name in
// it. The desktop's own choice rides along after a colon: "tarnix:ibus".
constexpr char kVariable[] = "QT_IM_MODULE";
constexpr char kName[] = "tarnix";

// Passes everything on to the desktop's input context, except the keys for a focused
// object that accepts no input method.
class ScannerInputContext final : public QPlatformInputContext {
    Q_OBJECT
public:
    explicit ScannerInputContext(QPlatformInputContext* desktop)
        : desktop_(desktop)
    {
        if (!desktop_)
            return;
        desktop_->setParent(this);
        // Qt's platform code hands the compose context its keymap state only when the
        // context it holds carries the compose context's name.
        setObjectName(desktop_->objectName());
    }

    // How that state arrives: by name, from the platform's keyboard code.
    Q_INVOKABLE void setXkbContext(struct xkb_context* context)
    {
        if (desktop_)
            QMetaObject::invokeMethod(
                desktop_, "setXkbContext", Qt::DirectConnection, QGenericArgument("xkb_context*", &context));
    }

    bool isValid() const override { return true; }
    bool hasCapability(Capability capability) const override { return desktop_ && desktop_->hasCapability(capability); }
    void reset() override
    {
        if (desktop_)
            desktop_->reset();
    }
    void commit() override
    {
        if (desktop_)
            desktop_->commit();
    }
    void update(Qt::InputMethodQueries queries) override
    {
        if (desktop_)
            desktop_->update(queries);
    }
    void invokeAction(QInputMethod::Action action, int cursorPosition) override
    {
        if (desktop_)
            desktop_->invokeAction(action, cursorPosition);
    }
    bool filterEvent(const QEvent* event) override
    {
        return desktop_ && inputMethodAccepted() && desktop_->filterEvent(event);
    }
    QRectF keyboardRect() const override { return desktop_ ? desktop_->keyboardRect() : QRectF(); }
    bool isAnimating() const override { return desktop_ && desktop_->isAnimating(); }
    void showInputPanel() override
    {
        if (desktop_)
            desktop_->showInputPanel();
    }
    void hideInputPanel() override
    {
        if (desktop_)
            desktop_->hideInputPanel();
    }
    bool isInputPanelVisible() const override { return desktop_ && desktop_->isInputPanelVisible(); }
    QLocale locale() const override { return desktop_ ? desktop_->locale() : QPlatformInputContext::locale(); }
    Qt::LayoutDirection inputDirection() const override
    {
        return desktop_ ? desktop_->inputDirection() : QPlatformInputContext::inputDirection();
    }
    void setFocusObject(QObject* object) override
    {
        if (desktop_)
            desktop_->setFocusObject(object);
    }

private:
    QPlatformInputContext* desktop_; // a child, or none when the desktop asked for none
};

} // namespace

// Built into the program, so Qt finds it without a plugin folder.
class TarnixInputContextPlugin final : public QPlatformInputContextPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformInputContextFactoryInterface_iid FILE "scannerinputcontext.json")
public:
    QPlatformInputContext* create(const QString& key, const QStringList& desktopChoice) override
    {
        if (key.compare(QLatin1String(kName), Qt::CaseInsensitive) != 0)
            return nullptr;
        // Nothing asked for: the one Qt starts on X11 and uses on Wayland without a
        // compositor's input method.
        const QString desktop = desktopChoice.isEmpty() ? QStringLiteral("compose") : desktopChoice.join(u':');
        return new ScannerInputContext(QPlatformInputContextFactory::create(desktop));
    }
};

Q_IMPORT_PLUGIN(TarnixInputContextPlugin)

namespace platform {

void useScannerInputContext()
{
    const QByteArray desktop = qgetenv(kVariable);
    qputenv(kVariable, desktop.isEmpty() ? QByteArray(kName) : QByteArray(kName) + ':' + desktop);
}

void restoreInputMethodSetting()
{
    const QByteArray value = qgetenv(kVariable);
    if (!value.startsWith(kName))
        return;
    const QByteArray desktop = value.mid(int(sizeof(kName)) - 1);
    if (desktop.startsWith(':'))
        qputenv(kVariable, desktop.mid(1));
    else
        qunsetenv(kVariable);
}

} // namespace platform

#include "scannerinputcontext.moc"
