#include "form2.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>
#include <limits>

#include "twips.h"

namespace {

// Client area, in twips.
constexpr int kClientWidth = 4425;
constexpr int kClientHeight = 3060;

// The help texts never get smaller than this to fit.
constexpr double kSmallestPointSize = 6.0;

struct HelpParagraph {
    const char* name;
    int left, top, width, height; // twips
    const char* text;
};

// Each text is one line; the label wraps it. Label2's text ends in a blank.
constexpr HelpParagraph kParagraphs[] = {
    {"Label1", 120, 120, 4215, 495,
     "Forgive this limited help system, but this should cover any questions that you might have."},
    {"Label2", 360, 720, 3855, 975,
     "The main window must be up before you scan. It will automatically parse the data "
     "received, and if you have web lookup enabled, it will open another window and give "
     "relevant information related to the barcode you have just scanned. "},
    {"Label3", 360, 1920, 3975, 975,
     "There are two methods of web lookup, automatically detected upon scan. If it is a UPS "
     "tracking barcode, it will return the proper UPS page based on your tracking number, or "
     "if it is another barcode, it will automatically go to the UPC database."},
};

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Help"));

    const auto scale = platform::TwipsScale::of(*this);
    setFixedSize(scale.x(kClientWidth), scale.y(kClientHeight));

    for (const HelpParagraph& paragraph : kParagraphs) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(paragraph.name));
        label->setTextFormat(Qt::PlainText);
        label->setText(QLatin1String(paragraph.text));
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
