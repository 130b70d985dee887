#include "form1_layout.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

#include "browserpane.h"
#include "scaninput.h"
#include "twips.h"

namespace {

struct Place {
    int left, top, width, height; // twips, from the client area's top left corner
};

void place(QWidget& control, const char* name, const Place& where, const platform::TwipsScale& scale)
{
    control.setObjectName(QLatin1String(name));
    control.setGeometry(scale.rect(where.left, where.top, where.width, where.height));
}

QLabel* makeLabel(QWidget& client, const char* name, const Place& where, const QString& text,
                  Qt::Alignment horizontal, const platform::TwipsScale& scale)
{
    auto* label = new QLabel(&client);
    place(*label, name, where, scale);
    // Scan lines are shown as typed: never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    return label;
}

QLineEdit* makeResultBox(QWidget& client, const char* name, const Place& where, const QString& text,
                         const platform::TwipsScale& scale)
{
    auto* box = new QLineEdit(&client);
    place(*box, name, where, scale);
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setReadOnly(true); // focusable, selectable and copyable still
    box->setText(text);
    box->setCursorPosition(0);
    return box;
}

} // namespace

Form1Controls buildForm1Controls(QWidget& client, platform::BrowserPane& browserPane)
{
    const auto scale = platform::TwipsScale::of(client);
    Form1Controls c;

    c.Text1 = new ScanInput(&client);
    place(*c.Text1, "Text1", {120, 120, 8895, 285}, scale);
    c.Text1->setAccessibleName(QStringLiteral("Scan input"));

    c.Label2 = makeLabel(client, "Label2", {2400, 840, 1095, 255}, QStringLiteral("Serial:"), Qt::AlignLeft, scale);
    c.Label3 = makeLabel(client, "Label3", {2400, 1200, 1095, 375}, QStringLiteral("UPC Type:"), Qt::AlignLeft, scale);
    c.Label4 = makeLabel(client, "Label4", {2400, 1560, 1095, 255}, QStringLiteral("UPC:"), Qt::AlignLeft, scale);
    c.Label5 = makeLabel(client, "Label5", {120, 480, 8895, 255}, QStringLiteral("Current scan code:"),
                         Qt::AlignHCenter, scale);
    c.Label5->setAccessibleName(QStringLiteral("Current scan code"));

    c.Text5 = makeResultBox(client, "Text5", {3600, 840, 2895, 285}, QStringLiteral("Serial Number::"), scale);
    c.Text5->setAccessibleName(QStringLiteral("Serial"));
    c.Text6 = makeResultBox(client, "Text6", {3600, 1200, 2895, 285}, QStringLiteral("UPC Type::"), scale);
    c.Text6->setAccessibleName(QStringLiteral("UPC Type"));
    c.Text7 = makeResultBox(client, "Text7", {3600, 1560, 2895, 285}, QStringLiteral("UPC::"), scale);
    c.Text7->setAccessibleName(QStringLiteral("UPC"));
    c.Label2->setBuddy(c.Text5);
    c.Label3->setBuddy(c.Text6);
    c.Label4->setBuddy(c.Text7);

    c.WebBrowser1 = &browserPane;
    place(*c.WebBrowser1, "WebBrowser1", {120, 2400, 9015, 4935}, scale);
    c.WebBrowser1->setAccessibleName(QStringLiteral("Lookup page"));

    c.Label6 = makeLabel(client, "Label6", {600, 2040, 7695, 255}, QString(), Qt::AlignHCenter, scale);
    c.Label6->setAccessibleName(QStringLiteral("Lookup status"));

    // Labels take no focus, so Tab goes from box to box, then to the page, then around.
    QWidget::setTabOrder(c.Text1, c.Text5);
    QWidget::setTabOrder(c.Text5, c.Text6);
    QWidget::setTabOrder(c.Text6, c.Text7);
    QWidget::setTabOrder(c.Text7, c.WebBrowser1);
    return c;
}

