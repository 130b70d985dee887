// The menu commands and the two ways out of the program.
#include "form1.h"

#include <QAction>
#include <QCloseEvent>

#include "abouttext.h"
#include "browserpane.h"
#include "form1_geometry.h"
#include "form2.h"

void Form1::mnu_lookup_Click()
{
    // The item is checkable, so the menu has already moved the check mark by the time
    // the click arrives here; the mark is the switch, and the height follows it.
    const bool on = menu_.mnu_lookup->isChecked();
    setOuterHeightTwips(on ? form1geometry::kExpandedOuterHeight : form1geometry::kCollapsedOuterHeight);
    // The pane gets its engine now, not with the first scan, so that scan is caught like
    // any other. No page is requested.
    if (on)
        ui_.WebBrowser1->prepare();
}

void Form1::mnu_help_Click()
{
    if (!form2_)
        form2_ = std::make_unique<Form2>();
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

void Form1::mnu_About_Click()
{
    deps_.showMessageBox(this, QStringLiteral("About"), aboutText());
}

void Form1::mnu_exit_Click()
{
    if (form2_)
        form2_->hide();
    hide();
    deps_.endProgram();
}

void Form1::Form_Unload(QCloseEvent* event)
{
    // The close is never cancelled: the event stays accepted.
    Q_UNUSED(event);
    deps_.endProgram();
}
