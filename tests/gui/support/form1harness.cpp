// SPDX-License-Identifier: MIT
#include "tests/gui/support/form1harness.h"

#include <QApplication>
#include <QTest>

#include "tests/support/scanencoder.h"
#include "platform/qt/scaninput.h"
#include "platform/qt/webbrowserpane.h"

TestScan makeScan(const std::string& serial18, const std::string& type3, const std::string& data)
{
    using namespace testsupport;
    const std::u16string line = encodeScanLine(bytesOf(serial18), bytesOf(type3), bytesOf(data));
    return {QString::fromStdU16String(line), QString::fromStdString(serial18), QString::fromStdString(type3),
        QString::fromStdString(data)};
}

Form1Harness::Form1Harness(lookup::LookupHosts hosts, Pane paneKind)
{
    Form1Dependencies deps;
    deps.hosts = std::move(hosts);
    if (paneKind == Pane::Recording) {
        deps.createBrowserPane = [this](QWidget* parent) {
            pane_ = new RecordingBrowserPane(parent);
            return pane_;
        };
    } else {
        deps.createBrowserPane = &createBuiltWebPane;
    }
    deps.showMessageBox = [this](QWidget*, const QString& title, const QString& text) {
        messages_.push_back({title, text});
    };
    deps.endProgram = [this] {
        ++endRequests_;
        visibleWindowsAtEnd_.clear();
        for (const QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                visibleWindowsAtEnd_ << window->objectName();
    };
    form_ = std::make_unique<Form1Window>(std::move(deps));
}

platform::BrowserPane* Form1Harness::createBuiltWebPane(QWidget* parent)
{
    // The module is built beside the window program, not beside the tests.
    return new platform::WebBrowserPane(parent, {QStringLiteral(TARNIX_PRIVATE_BUILD_DIR)});
}

QWidget* Form1Harness::lookupPageView()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("WebBrowser1Page"))
            return window;
    return nullptr;
}

bool Form1Harness::showActive() const
{
    form_->show();
    form_->activateWindow();
    return QTest::qWaitForWindowActive(form_.get());
}

platform::TwipsScale Form1Harness::scale() const
{
    return platform::TwipsScale::of(*form_->centralWidget());
}

double Form1Harness::clientWidthTwips() const
{
    return twipsOf(form_->centralWidget()->width(), scale().dpiX());
}

double Form1Harness::clientHeightTwips() const
{
    return twipsOf(form_->centralWidget()->height(), scale().dpiY());
}

void Form1Harness::typeLine(QWidget& target, const QString& text) const
{
    QTest::keyClicks(&target, text);
    QTest::keyClick(&target, Qt::Key_Return);
}

void Form1Harness::typeScan(const TestScan& scan) const
{
    typeLine(child<ScanInput>("Text1"), scan.withoutLineEnd());
}
