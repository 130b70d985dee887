// SPDX-License-Identifier: MIT
// Start-up and first-lookup figures of the main window with the program's own browser
// pane, printed as one line of name=value pairs:
//   shown_ms        main() entered to the window exposed
//   exec_shown_ms   the process started to the window exposed (10 ms resolution)
//   rss_mib         resident memory one second after the window appeared, no engine yet
// and with --navigate, after switching web lookup on and typing one scan:
//   lookup_ms       Enter of the scan to the page loaded from a loopback server
//   second_ms       the same for a second scan, with the engine running
//   rss_mib_after   resident memory of the process alone one second after the load
//   tree_rss_mib    the same summed over the process and its helper processes
//   tree_pss_mib    proportional set size over the same processes (shared pages split)
//   helpers         number of helper processes
// bench/gui/measure_lookup.sh runs it several times under a virtual X server.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "platform/qt/form1window.h"
#include "tests/gui/support/form1harness.h"
#include "tests/gui/support/loopbackhttpserver.h"
#include "bench/typicallines.h"

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A field of /proc/PID/status or smaps_rollup, in KiB.
long procKib(const QString& file, const QByteArray& field)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

long parentOf(const QString& pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The command name in parentheses may hold blanks: fields count from its end.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.value(1).toLong();
}

QList<long> descendantsOf(long root)
{
    QList<long> tree{root};
    bool grew = true;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    while (grew) {
        grew = false;
        for (const QString& pid : pids) {
            bool isPid = false;
            const long id = pid.toLong(&isPid);
            if (isPid && !tree.contains(id) && tree.contains(parentOf(pid))) {
                tree << id;
                grew = true;
            }
        }
    }
    return tree;
}

double execToNowMs()
{
    QFile f(QStringLiteral("/proc/self/stat"));
    f.open(QIODevice::ReadOnly);
    const QByteArray stat = f.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9) * 1000.0 - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

double mib(long kib)
{
    return kib / 1024.0;
}

double typeScanAndWaitForPage(Form1Window& form, QSignalSpy*& loads, const QString& body)
{
    auto* input = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    input->setText(body);
    const auto start = Clock::now();
    QTest::keyClick(input, Qt::Key_Return);
    if (!loads)
        loads = new QSignalSpy(
            qobject_cast<QWebEngineView*>(Form1Harness::lookupPageView()), &QWebEngineView::loadFinished);
    if (!loads->wait(60000)) {
        std::fprintf(stderr, "lookup_probe: the page did not load\n");
        std::exit(1);
    }
    const auto end = Clock::now();
    if (!loads->takeFirst().at(0).toBool()) {
        std::fprintf(stderr, "lookup_probe: the page failed to load\n");
        std::exit(1);
    }
    return msBetween(start, end);
}

} // namespace

int main(int argc, char** argv)
{
    const auto entered = Clock::now();
    QApplication app(argc, argv);
    const bool navigate = app.arguments().contains(QStringLiteral("--navigate"));

    LoopbackHttpServer server;
    Form1Dependencies deps;
    const std::u16string host = server.hostAndPort().toStdU16String();
    deps.hosts = {host, host};
    deps.endProgram = [] {};
    deps.createBrowserPane = &Form1Harness::createBuiltWebPane;
    deps.showMessageBox = [](QWidget*, const QString&, const QString&) {};
    Form1Window form(std::move(deps));
    form.startUp();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "lookup_probe: the window was not shown\n");
        return 1;
    }
    const auto shown = Clock::now();
    const double execShown = execToNowMs();
    QTest::qWait(1000);
    std::printf("shown_ms=%.1f exec_shown_ms=%.0f rss_mib=%.1f", msBetween(entered, shown), execShown,
        mib(procKib(QStringLiteral("/proc/self/status"), "VmRSS")));

    if (navigate) {
        form.findChild<QAction*>(QStringLiteral("mnu_lookup"))->trigger();
        const QString body = QString::fromStdU16String(benchdata::kTypicalLine).chopped(2);
        QSignalSpy* loads = nullptr;
        const double first = typeScanAndWaitForPage(form, loads, body);
        const double second = typeScanAndWaitForPage(form, loads, body);
        QTest::qWait(1000);
        long treeRss = 0;
        long treePss = 0;
        const QList<long> tree = descendantsOf(getpid());
        for (long pid : tree) {
            treeRss += procKib(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS");
            treePss += procKib(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), "Pss");
        }
        std::printf(
            " lookup_ms=%.0f second_ms=%.0f rss_mib_after=%.1f tree_rss_mib=%.1f tree_pss_mib=%.1f helpers=%lld", first,
            second, mib(procKib(QStringLiteral("/proc/self/status"), "VmRSS")), mib(treeRss), mib(treePss),
            static_cast<long long>(tree.size() - 1));
        delete loads;
    }
    std::printf("\n");
    std::fflush(stdout);
    std::_Exit(0);
}
