// SPDX-License-Identifier: MIT
#include "platform/qt/form1_layout.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

#include "platform/qt/browserpane.h"
#include "mainwindow/form1_geometry.h"
#include "platform/qt/scaninput.h"
#include "platform/qt/twips.h"
#include "platform/qt/u16text.h"

namespace {

using form1geometry::ControlLayout;

void place(QWidget& control, const ControlLayout& where, const platform::TwipsScale& scale)
{
    control.setObjectName(toQString(where.name));
    control.setGeometry(scale.rect(where.left, where.top, where.width, where.height));
    if (!where.accessibleName.empty())
        control.setAccessibleName(toQString(where.accessibleName));
    if (!where.accessibleDescription.empty())
        control.setAccessibleDescription(toQString(where.accessibleDescription));
}

QLabel* makeLabel(QWidget& client, const ControlLayout& where, const platform::TwipsScale& scale)
{
    auto* label = new QLabel(&client);
    place(*label, where, scale);
    // Scan lines are shown as typed: never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(where.text));
    const Qt::Alignment horizontal = where.align == form1geometry::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    return label;
}

QLineEdit* makeResultBox(QWidget& client, const ControlLayout& where, const platform::TwipsScale& scale)
{
    auto* box = new QLineEdit(&client);
    place(*box, where, scale);
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setReadOnly(true); // focusable, selectable and copyable still
    box->setText(toQString(where.text));
    box->setCursorPosition(0);
    return box;
}

} // namespace

Form1Controls buildForm1Controls(QWidget& client, platform::BrowserPane& browserPane)
{
    const auto scale = platform::TwipsScale::of(client);
    Form1Controls c;
    QList<QWidget*> tabOrder;
    for (const ControlLayout& where : form1geometry::kControls) {
        QWidget* made = nullptr;
        switch (where.kind) {
        case form1geometry::Kind::InputBox:
            c.Text1 = new ScanInput(&client);
            place(*c.Text1, where, scale);
            made = c.Text1;
            break;
        case form1geometry::Kind::Label: makeLabel(client, where, scale); break;
        case form1geometry::Kind::ResultBox: made = makeResultBox(client, where, scale); break;
        case form1geometry::Kind::BrowserPane:
            place(browserPane, where, scale);
            made = &browserPane;
            break;
        }
        if (made)
            tabOrder << made;
    }
    c.WebBrowser1 = &browserPane;
    c.Label2 = client.findChild<QLabel*>(QStringLiteral("Label2"));
    c.Label3 = client.findChild<QLabel*>(QStringLiteral("Label3"));
    c.Label4 = client.findChild<QLabel*>(QStringLiteral("Label4"));
    c.Label5 = client.findChild<QLabel*>(QStringLiteral("Label5"));
    c.Label6 = client.findChild<QLabel*>(QStringLiteral("Label6"));
    c.Text5 = client.findChild<QLineEdit*>(QStringLiteral("Text5"));
    c.Text6 = client.findChild<QLineEdit*>(QStringLiteral("Text6"));
    c.Text7 = client.findChild<QLineEdit*>(QStringLiteral("Text7"));
    c.Label2->setBuddy(c.Text5);
    c.Label3->setBuddy(c.Text6);
    c.Label4->setBuddy(c.Text7);

    // Labels take no focus, so Tab goes from box to box, then to the page, then around.
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    return c;
}
