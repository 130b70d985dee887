// SPDX-License-Identifier: MIT
// The menu commands and the two ways out of the program.
#include "mainwindow/form1.h"

#include "mainwindow/abouttext.h"
#include "mainwindow/form1_geometry.h"

void Form1::mnu_lookup_Click()
{
    const bool on = !view_.lookupChecked();
    view_.setLookupChecked(on);
    view_.setOuterHeightTwips(on ? form1geometry::kExpandedOuterHeight : form1geometry::kCollapsedOuterHeight);
    // The pane gets its engine now, not with the first scan, so that scan is caught like
    // any other. No page is requested.
    if (on)
        view_.prepareBrowser();
}

void Form1::mnu_help_Click()
{
    view_.showHelp();
}

void Form1::mnu_About_Click()
{
    view_.showMessageBox(u"About", aboutText());
}

void Form1::mnu_exit_Click()
{
    view_.hideHelp();
    view_.hide();
    view_.endProgram();
}

void Form1::Form_Unload()
{
    // The close is never cancelled.
    view_.endProgram();
}
