// SPDX-License-Identifier: MIT
#include "platform/qt/form2.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>
#include <limits>

#include "help/helptexts.h"
#include "platform/qt/twips.h"
#include "platform/qt/u16text.h"

namespace {

// The help texts never get smaller than this to fit.
constexpr double kSmallestPointSize = 6.0;

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(toQString(helptexts::kCaption));

    const auto scale = platform::TwipsScale::of(*this);
    setFixedSize(scale.x(helptexts::kClientWidth), scale.y(helptexts::kClientHeight));

    for (const helptexts::Paragraph& paragraph : helptexts::kParagraphs) {
        auto* label = new QLabel(this);
        label->setObjectName(toQString(paragraph.name));
        label->setTextFormat(Qt::PlainText);
        label->setText(toQString(paragraph.text));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setAutoFillBackground(true);
        // A fixed geometry cuts the text off at the box's bottom edge.
        label->setGeometry(scale.rect(paragraph.left, paragraph.top, paragraph.width, paragraph.height));
    }
    fitTextsToTheirBoxes();
}

namespace {

bool textFits(const QLabel& label, const QFont& font)
{
    const QRect box = label.contentsRect();
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), std::numeric_limits<int>::max() / 2),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label.text());
    return needed.height() <= box.height();
}

} // namespace

// The boxes were sized for a small dialog font. With the larger font many desktops use,
// the texts would be cut off at the bottom of their boxes; the window then takes the same
// font at the largest size at which every text fits.
void Form2::fitTextsToTheirBoxes()
{
    QFont fitted = font();
    if (fitted.pointSizeF() <= 0)
        return; // a font sized in pixels: left as the system gives it
    const auto labels = findChildren<QLabel*>();
    auto allFit = [&] {
        return std::all_of(labels.begin(), labels.end(), [&](const QLabel* l) { return textFits(*l, fitted); });
    };
    while (!allFit() && fitted.pointSizeF() - 0.5 >= kSmallestPointSize)
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    if (fitted != font())
        setFont(fitted);
}
