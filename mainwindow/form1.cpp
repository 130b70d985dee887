#include "form1.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

#include <algorithm>

#include "form1_geometry.h"
#include "form2.h"
#include "menushortcutguard.h"
#include "scaninput.h"
#include "twips.h"

namespace {

// Fixed frame: title, system menu, minimize and close, no maximize.
constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace

Form1::Form1(Form1Dependencies deps, QWidget* parent)
    : QMainWindow(parent, kFrameFlags)
    , deps_(std::move(deps))
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

Form1::~Form1() = default;

void Form1::connectHandlers()
{
    connect(ui_.Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(menu_.mnu_exit, &QAction::triggered, this, &Form1::mnu_exit_Click);
    connect(menu_.mnu_lookup, &QAction::triggered, this, &Form1::mnu_lookup_Click);
    connect(menu_.mnu_help, &QAction::triggered, this, &Form1::mnu_help_Click);
    connect(menu_.mnu_About, &QAction::triggered, this, &Form1::mnu_About_Click);
}

void Form1::setOuterHeightTwips(int outerTwips)
{
    const auto scale = platform::TwipsScale::of(*centralWidget());
    const int clientHeight = std::max(0, outerTwips - form1geometry::kFrameHeight);
    centralWidget()->setFixedSize(scale.x(form1geometry::kClientWidth), scale.y(clientHeight));
    // Now, not on the next event: callers go on with the window at its new size.
    layout()->activate();
}

void Form1::onAltPressed()
{
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    // Asked every time: right after the user moved to another program Qt may still
    // count this window as active (on X11 it takes the loss in a little later).
    raise();
    activateWindow();
    ui_.Text1->setFocus(Qt::OtherFocusReason);
    ui_.Text1->setText(QString());
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload(event);
}
