// Scan capture: every change of the input box, and what a completed scan line sets off.
#include "form1.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include "form1_geometry.h"
#include "scaninput.h"
#include "scanline.h"
#include "u16text.h"
#include "weblookup.h"

namespace {

// The start of a long value is what matters, so show it from its first character.
void showResult(QLineEdit& box, std::u16string_view value)
{
    box.setText(toQString(value));
    box.setCursorPosition(0);
}

} // namespace

void Form1::Text1_Change()
{
    // A scanner types a line in some 30 ms and every keystroke lands here: only the
    // line end sets off any work.
    if (ui_.Text1->text().endsWith(QLatin1String("\r\n")))
        decodeScan();
}

void Form1::decodeScan()
{
    const QString line = ui_.Text1->text();
    if (line.isEmpty())
        return;
    ui_.Label5->setText(line);

    // A line too short to hold the fields (a word typed by hand, say) decodes to
    // nothing: the result boxes keep what they show and nothing is looked up.
    const auto fields = tarnixFuncs::decodeScanLine(u16View(line));
    if (fields) {
        showResult(*ui_.Text7, fields->data);
        showResult(*ui_.Text5, fields->serial);
        showResult(*ui_.Text6, fields->type);
    }
    // Emptied in every case: whatever stayed would be glued to the front of the next
    // scan and spoil it.
    ui_.Text1->setText(QString());

    if (fields && menu_.mnu_lookup->isChecked()) {
        setOuterHeightTwips(form1geometry::kExpandedOuterHeight);
        webLookup();
    }
}

void Form1::webLookup()
{
    const lookup::LookupRequest request =
        lookup::chooseLookup(u16View(ui_.Text6->text()), u16View(ui_.Text7->text()), deps_.hosts);
    ui_.Label6->setText(toQString(request.status));
    // Starts the load and returns; the page arrives in the pane on its own.
    ui_.WebBrowser1->navigate(toQString(request.address));
}
