// SPDX-License-Identifier: MIT
// Scan capture: every change of the input box, and what a completed scan line sets off.
#include "mainwindow/form1.h"

#include <string>

#include "mainwindow/form1_geometry.h"
#include "decoder/scanline.h"
#include "lookup/weblookup.h"

using Control = Form1View::Control;

void Form1::Text1_Change()
{
    // A scanner types a line in some 30 ms and every keystroke lands here: only the
    // line end sets off any work.
    if (view_.text(Control::Text1).ends_with(u"\r\n"))
        decodeScan();
}

void Form1::decodeScan()
{
    const std::u16string line = view_.text(Control::Text1);
    if (line.empty())
        return;
    view_.setText(Control::Label5, line);

    // A line too short to hold the fields (a word typed by hand, say) decodes to
    // nothing: the result boxes keep what they show and nothing is looked up.
    const auto fields = tarnixFuncs::decodeScanLine(line);
    if (fields) {
        view_.setText(Control::Text7, fields->data);
        view_.setText(Control::Text5, fields->serial);
        view_.setText(Control::Text6, fields->type);
    }
    // Emptied in every case: whatever stayed would be glued to the front of the next
    // scan and spoil it.
    view_.setText(Control::Text1, u"");

    if (fields && view_.lookupChecked()) {
        view_.setOuterHeightTwips(form1geometry::kExpandedOuterHeight);
        webLookup();
    }
}

void Form1::webLookup()
{
    const lookup::LookupRequest request
        = lookup::chooseLookup(view_.text(Control::Text6), view_.text(Control::Text7), hosts_);
    view_.setText(Control::Label6, request.status);
    // Starts the load and returns; the page arrives in the pane on its own.
    view_.navigate(request.address);
}
