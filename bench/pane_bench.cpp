// The simulator window's speed, measured in the desktop program itself:
//  - one Trace step (F9) and one step back (Shift+F9) including the repaint of every
//    pane, on a large source;
//  - opening and scrolling through that source in the editor, with colours and without;
//  - Go (F5) on a tight loop against `zelkora-cli run` on the same program;
//  - holding Page Down through the whole memory dump;
//  - how long Stop takes to end a Go run.
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELKORA_BUILD_BENCH=ON
//   cmake --build build/bench --target pane_bench zelkora-cli
//   build/bench/bench/pane_bench [SOURCE.asm [--open-only]]   (offscreen unless QT_QPA_PLATFORM says otherwise)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "resources/command_ids.h"
#include "shell/main_frame.h"
#include "shell/source_frame.h"
#include "shell/source_view.h"
#include "shell/shell_ui.h"
#include "shell/zelkora_app.h"
#include "shell/zelkora_frame.h"
#include "silent_ui.h"
#include "simulator/zelkora_doc.h"
#include "views/dump_view.h"

namespace {
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Lets every pending paint happen, as the event loop does right after a command.
void Settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void TraceSteps(CZelkoraApp& app, const QString& source)
{
    const auto open0 = Clock::now();
    if (!app.OpenDocumentFile(source)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(source));
        std::exit(1);
    }
    Settle();
    const auto assemble0 = Clock::now();
    CMainFrame* frame = app.GetMainFrame();
    frame->ExecuteCommand(ID_ASSEMBLE);
    Settle();
    const auto assemble1 = Clock::now();
    CZelkoraDoc* doc = app.GetDocument();
    std::printf(
        "source: %zu lines, %zu statements; open the file %.0f ms; assemble and open the simulator window %.0f ms\n",
        static_cast<size_t>(std::count(doc->GetSourceText().begin(), doc->GetSourceText().end(), '\n')),
        doc->GetProgram().GetSize(), Ms(assemble0 - open0), Ms(assemble1 - assemble0));

    // A command 300 times, each with the repaint of every pane.
    auto timeCommand = [&](int id, const char* what) {
        std::vector<double> times;
        for (int i = 0; i < 300; ++i) {
            const auto t0 = Clock::now();
            frame->ExecuteCommand(id);
            Settle();
            times.push_back(Ms(Clock::now() - t0));
        }
        std::sort(times.begin(), times.end());
        std::printf("%s with repaint: median %.2f ms, 90th percentile %.2f ms, max %.2f ms (PR now %04X)\n", what,
                    Median(times), times[times.size() * 9 / 10], times.back(), doc->GetCore().GetRegisters()[REG_PR]);
    };
    timeCommand(ID_RUN_TRACE, "trace step");
    timeCommand(ID_STEP_BACK, "step back");
}

// Opens the source and pages through the first 2,000 screens of the editor.
double OpenAndScroll(CZelkoraApp& app, const QString& source, bool colours)
{
    CSourceView::SetSyntaxColouring(colours);
    const auto t0 = Clock::now();
    app.OpenDocumentFile(source);
    Settle();
    CSourceView* editor = app.GetSourceFrame()->GetEditor();
    editor->setFocus();
    for (int i = 0; i < 2000; ++i) {
        QTest::keyClick(editor, Qt::Key_PageDown);
        editor->viewport()->repaint();
    }
    const double ms = Ms(Clock::now() - t0);
    app.GetMainFrame()->ExecuteCommand(ID_FILE_CLOSE);
    Settle();
    CSourceView::SetSyntaxColouring(true);
    return ms;
}

double GoRate(CZelkoraApp& app, const QString& source, std::uint64_t statements)
{
    app.OpenDocumentFile(source);
    app.GetMainFrame()->ExecuteCommand(ID_ASSEMBLE);
    Settle();
    CZelkoraDoc* doc = app.GetDocument();
    doc->GetCore().SetStepLimit(statements);
    const auto t0 = Clock::now();
    app.GetMainFrame()->ExecuteCommand(ID_RUN_GO);
    const double seconds = Ms(Clock::now() - t0) / 1000;
    doc->GetCore().SetStepLimit(0);
    return static_cast<double>(doc->GetCore().GetExecutedCount()) / seconds;
}

double CliRate(const QString& cli, const QString& source, std::uint64_t statements)
{
    const std::string command = "\"" + cli.toStdString() + "\" run --stats --max-steps " + std::to_string(statements) +
                                " \"" + source.toStdString() + "\" 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    double rate = 0;
    char line[256];
    while (pipe && std::fgets(line, sizeof line, pipe))
        if (std::sscanf(line, "statements per second: %lf", &rate) == 1) break;
    if (pipe) pclose(pipe);
    return rate;
}

// Holds Page Down in the memory dump from #0000 until it shows #FFF8, with the
// repaint after every key, as auto-repeat would deliver them.
void DumpPageDown(CZelkoraApp& app, const QString& source)
{
    app.OpenDocumentFile(source);
    app.GetMainFrame()->ExecuteCommand(ID_ASSEMBLE);
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_DUMP);
    Settle();
    auto* dump = dynamic_cast<CDumpView*>(app.GetSimulatorFrame()->GetWorkView());
    // A tall dump: most of the window's height.
    app.GetSimulatorFrame()->showMaximized();
    if (auto* splitter = qobject_cast<QSplitter*>(dump->parentWidget())) splitter->setSizes({60, 2000});
    Settle();
    dump->setFocus();
    QTest::keyClick(dump, Qt::Key_Home);
    Settle();
    int keys = 0;
    const auto t0 = Clock::now();
    while (dump->GetTopAddress() < 0xFFF8) {
        QTest::keyClick(dump, Qt::Key_PageDown);
        Settle();
        ++keys;
    }
    std::printf("dump: Page Down held from 0000 to FFF8: %d keys, %.0f ms (%d rows visible)\n", keys,
                Ms(Clock::now() - t0), dump->GetVisibleRows());
}

void StopLatency(CZelkoraApp& app, const QString& endless)
{
    app.OpenDocumentFile(endless);
    app.GetMainFrame()->ExecuteCommand(ID_ASSEMBLE);
    Settle();
    std::vector<double> latencies;
    for (int i = 0; i < 10; ++i) {
        // The stop request counts from the moment it was due, so the wait for the
        // next event dispatch is part of it, as it is for a user's click.
        const int delay = 200 + 7 * i;
        const auto due = Clock::now() + std::chrono::milliseconds(delay);
        QTimer::singleShot(delay, app.GetMainFrame(), [&app] { app.GetMainFrame()->GetAction(ID_STOP)->trigger(); });
        app.GetMainFrame()->ExecuteCommand(ID_RUN_GO);
        latencies.push_back(Ms(Clock::now() - due));
        app.GetMainFrame()->ExecuteCommand(ID_RESTART);
        Settle();
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("stop latency: median %.1f ms, max %.1f ms (%zu runs)\n", Median(latencies), latencies.back(),
                latencies.size());
}
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString dir = ZELKORA_SOURCE_DIR "/bench";
    QString big = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (big.isEmpty()) {
        big = "/tmp/zelkora_pane_bench.asm";
        const std::string command = "python3 \"" + dir.toStdString() + "/gen_trace_source.py\" -o " + big.toStdString();
        if (std::system(command.c_str()) != 0) return 1;
    }

    CSilentUi ui;
    CZelkoraApp app(&ui);
    app.InitInstance({});
    app.GetMainFrame()->resize(1280, 900);
    Settle();

    TraceSteps(app, big);
    // "--open-only": just that, to profile opening and assembling.
    if (argc > 2 && std::string(argv[2]) == "--open-only") return 0;
    app.GetMainFrame()->ExecuteCommand(ID_FILE_CLOSE);
    Settle();
    std::vector<double> plain, coloured;
    for (int i = 0; i < 3; ++i) {
        plain.push_back(OpenAndScroll(app, big, false));
        coloured.push_back(OpenAndScroll(app, big, true));
    }
    std::sort(plain.begin(), plain.end());
    std::sort(coloured.begin(), coloured.end());
    std::printf("editor: open and 2000 pages down: %.0f ms without colours, %.0f ms with them, ratio %.2f\n",
                Median(plain), Median(coloured), Median(coloured) / Median(plain));

    const QString tight = dir + "/run/tight_loop.asm";
    constexpr std::uint64_t kStatements = 100'000'000;
    const double desktop = GoRate(app, tight, kStatements);
    const double cli = CliRate(ZELKORA_CLI, tight, kStatements);
    std::printf(
        "go, tight loop, %llu statements: desktop %.0f statements/s, zelkora-cli %.0f statements/s, ratio %.2f\n",
        static_cast<unsigned long long>(kStatements), desktop, cli, cli > 0 ? desktop / cli : 0);

    DumpPageDown(app, tight);
    StopLatency(app, tight);
    return 0;
}
