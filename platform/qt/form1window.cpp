// SPDX-License-Identifier: MIT
#include "platform/qt/form1window.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalBlocker>

#include <algorithm>

#include "mainwindow/form1_geometry.h"
#include "platform/qt/form2.h"
#include "platform/qt/menushortcutguard.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/scaninput.h"
#include "platform/qt/twips.h"
#include "platform/qt/u16text.h"

namespace {

// Fixed frame: title, system menu, minimize and close, no maximize.
constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace

Form1Window::Form1Window(Form1Dependencies deps, QWidget* parent)
    : QMainWindow(parent, kFrameFlags)
    , deps_(std::move(deps))
    , pump_(platform::qtEventPump())
    , form1_(*this, deps_.keys, deps_.hosts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarnix"));

    // In the window on every platform, so the client area always starts below it.
    menuBar()->setNativeMenuBar(false);
    menu_ = buildForm1Menu(*menuBar());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    ui_ = buildForm1Controls(*client, *deps_.createBrowserPane(client));
    ui_.Text1->setFocus();

    // The window takes exactly the size of menu bar plus client area: the user cannot
    // drag it bigger or smaller, and the window system offers no maximize.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setOuterHeightTwips(form1geometry::kCollapsedOuterHeight);

    new MenuShortcutGuard(*this, menu_.items());
    connectHandlers();
}

Form1Window::~Form1Window() = default;

void Form1Window::connectHandlers()
{
    connect(ui_.Text1, &QLineEdit::textChanged, this, [this] { handlers_->Text1_Change(); });
    connect(menu_.mnu_exit, &QAction::triggered, this, [this] { handlers_->mnu_exit_Click(); });
    connect(menu_.mnu_lookup, &QAction::triggered, this, [this] {
        // A checkable item moves its own mark before the click arrives; the handler is
        // the one to move it, so the mark goes back first.
        const QSignalBlocker quiet(menu_.mnu_lookup);
        menu_.mnu_lookup->setChecked(!menu_.mnu_lookup->isChecked());
        handlers_->mnu_lookup_Click();
    });
    connect(menu_.mnu_help, &QAction::triggered, this, [this] { handlers_->mnu_help_Click(); });
    connect(menu_.mnu_About, &QAction::triggered, this, [this] { handlers_->mnu_About_Click(); });
}

void Form1Window::show()
{
    QMainWindow::show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    // Asked every time: right after the user moved to another program Qt may still
    // count this window as active (on X11 it takes the loss in a little later).
    raise();
    activateWindow();
}

std::u16string Form1Window::caption() const
{
    return windowTitle().toStdU16String();
}

void Form1Window::setCaption(std::u16string_view caption)
{
    setWindowTitle(toQString(caption));
}

void Form1Window::setOuterHeightTwips(int outerTwips)
{
    const auto scale = platform::TwipsScale::of(*centralWidget());
    const int clientHeight = std::max(0, outerTwips - form1geometry::kFrameHeight);
    centralWidget()->setFixedSize(scale.x(form1geometry::kClientWidth), scale.y(clientHeight));
    // Now, not on the next event: callers go on with the window at its new size.
    layout()->activate();
}

void Form1Window::hide()
{
    QMainWindow::hide();
}

std::u16string Form1Window::text(Control control) const
{
    switch (control) {
    case Control::Text1: return ui_.Text1->text().toStdU16String();
    case Control::Label5: return ui_.Label5->text().toStdU16String();
    case Control::Text5: return ui_.Text5->text().toStdU16String();
    case Control::Text6: return ui_.Text6->text().toStdU16String();
    case Control::Text7: return ui_.Text7->text().toStdU16String();
    case Control::Label6: return ui_.Label6->text().toStdU16String();
    }
    return {};
}

void Form1Window::setText(Control control, std::u16string_view text)
{
    // The start of a long value is what matters, so a result shows from its first character.
    auto showResult = [&](QLineEdit& box) {
        box.setText(toQString(text));
        box.setCursorPosition(0);
    };
    switch (control) {
    case Control::Text1: ui_.Text1->setText(toQString(text)); break;
    case Control::Label5: ui_.Label5->setText(toQString(text)); break;
    case Control::Text5: showResult(*ui_.Text5); break;
    case Control::Text6: showResult(*ui_.Text6); break;
    case Control::Text7: showResult(*ui_.Text7); break;
    case Control::Label6: ui_.Label6->setText(toQString(text)); break;
    }
}

void Form1Window::focusText1()
{
    ui_.Text1->setFocus(Qt::OtherFocusReason);
}

bool Form1Window::lookupChecked() const
{
    return menu_.mnu_lookup->isChecked();
}

void Form1Window::setLookupChecked(bool checked)
{
    menu_.mnu_lookup->setChecked(checked);
}

void Form1Window::prepareBrowser()
{
    ui_.WebBrowser1->prepare();
}

void Form1Window::navigate(std::u16string_view address)
{
    ui_.WebBrowser1->navigate(toQString(address));
}

void Form1Window::showHelp()
{
    if (!form2_)
        form2_ = std::make_unique<Form2>();
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

void Form1Window::hideHelp()
{
    if (form2_)
        form2_->hide();
}

void Form1Window::showMessageBox(std::u16string_view title, std::u16string_view text)
{
    deps_.showMessageBox(this, toQString(title), toQString(text));
}

void Form1Window::pumpEvents(std::chrono::milliseconds longestWait)
{
    pump_(longestWait);
}

void Form1Window::endProgram()
{
    deps_.endProgram();
}

void Form1Window::closeEvent(QCloseEvent* event)
{
    // The close is never cancelled: the event stays accepted.
    Q_UNUSED(event);
    handlers_->Form_Unload();
}
