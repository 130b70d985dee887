// SPDX-License-Identifier: MIT
// The input box's work per keystroke, measured through the real widgets: an ordinary
// keystroke of a scan, and the Enter that ends it, up to the three result boxes filled
// (with web lookup off, and on with a pane that only takes the address).
//
//   QT_QPA_PLATFORM=offscreen build/bench/gui/bench_scan_display
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <chrono>
#include <memory>

#include "platform/qt/browserpane.h"
#include "platform/qt/form1window.h"
#include "bench/typicallines.h"

namespace {

// Takes the address and loads nothing: the figure is the window's own work.
class AddressOnlyPane final : public platform::BrowserPane {
public:
    using platform::BrowserPane::BrowserPane;
    void navigate(const QString& address) override { last_ = address; }

private:
    QString last_;
};

struct ShownWindow {
    std::unique_ptr<Form1Window> form;
    QLineEdit* input = nullptr;
    QLineEdit* data = nullptr;

    explicit ShownWindow(bool lookupOn)
    {
        Form1Dependencies deps;
        deps.createBrowserPane = [](QWidget* parent) { return new AddressOnlyPane(parent); };
        deps.endProgram = [] {};
        deps.showMessageBox = [](QWidget*, const QString&, const QString&) {};
        form = std::make_unique<Form1Window>(std::move(deps));
        form->startUp();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the window did not become active");
        if (lookupOn)
            form->findChild<QAction*>(QStringLiteral("mnu_lookup"))->trigger();
        input = form->findChild<QLineEdit*>(QStringLiteral("Text1"));
        data = form->findChild<QLineEdit*>(QStringLiteral("Text7"));
    }
};

const QString kLineBody = QString::fromStdU16String(benchdata::kTypicalLine).chopped(2);

void enterToResults(benchmark::State& state, bool lookupOn)
{
    ShownWindow w(lookupOn);
    for (auto _ : state) {
        w.input->setText(kLineBody);
        w.data->setText(QString());
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(w.input, Qt::Key_Return);
        const auto end = std::chrono::steady_clock::now();
        if (w.data->text().isEmpty() || !w.input->text().isEmpty()) {
            state.SkipWithError("the scan was not decoded");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_EnterToResultBoxes_LookupOff(benchmark::State& state)
{
    enterToResults(state, false);
}
void BM_EnterToResultBoxes_LookupOn(benchmark::State& state)
{
    enterToResults(state, true);
}

void BM_OrdinaryScanKeystroke(benchmark::State& state)
{
    ShownWindow w(false);
    for (auto _ : state) {
        w.input->setText(kLineBody.left(30));
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(w.input, Qt::Key_A);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

} // namespace

BENCHMARK(BM_EnterToResultBoxes_LookupOff)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnterToResultBoxes_LookupOn)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrdinaryScanKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
