// Saving the trace table in the desktop program after a long Go: the desktop's own
// command route (ﾌｧｲﾙ → ﾄﾚｰｽ表の保存) on a document that ran N statements of
// run/tight_loop.asm with Go. Prints the time of the run and of the save, the file's
// size and the peak resident memory before the save and after it; run it under
// /usr/bin/time -v for the whole process's figure. The progress dialog is the real one;
// a timer ticking every 10 ms while the table is saved shows how long the window went
// without handling its events (the longest gap between two ticks).
//   cmake --build build/bench --target trace_table_bench
//   build/bench/bench/trace_table_bench [STATEMENTS [OUT.csv]]   (default 10^8, /tmp/trace_table_bench.csv)
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "resources/command_ids.h"
#include "shell/main_frame.h"
#include "shell/shell_ui.h"
#include "shell/zelkora_app.h"
#include "simulator/zelkora_doc.h"

namespace {
using Clock = std::chrono::steady_clock;

// Answers the save dialog with the given name and every question with yes; shows the real progress.
class CSaveUi : public CQtShellUi {
public:
    explicit CSaveUi(QString path) : m_path(std::move(path)) {}
    void ShowMessage(QWidget*, MessageIcon, const QString& text) override
    {
        std::printf("message: %s\n", qPrintable(text));
    }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, bool) override { return m_path; }
    bool AskOkCancel(QWidget*, const QString& text) override
    {
        std::printf("question: %s\n", qPrintable(text));
        return true;
    }

private:
    QString m_path;
};

long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const unsigned long long statements = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100'000'000ull;
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString("/tmp/trace_table_bench.csv");
    CSaveUi ui(out);
    CZelkoraApp app(&ui);
    if (!app.InitInstance({}) || !app.OpenDocumentFile(ZELKORA_SOURCE_DIR "/bench/run/tight_loop.asm")) return 1;
    CMainFrame* frame = app.GetMainFrame();
    frame->ExecuteCommand(ID_ASSEMBLE);
    CZelkoraDoc* doc = app.GetDocument();
    doc->GetCore().SetStepLimit(statements);
    const auto run0 = Clock::now();
    frame->ExecuteCommand(ID_RUN_GO);
    const auto run1 = Clock::now();
    const long beforeSave = PeakKiB();
    QTimer tick;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    tick.start(10);
    sinceTick.start();
    frame->ExecuteCommand(ID_SAVE_TRACE_TABLE);
    const auto save1 = Clock::now();
    tick.stop();
    std::printf("Go: %llu statements in %.2f s; peak before saving %ld KiB\n", statements, Seconds(run1 - run0),
                beforeSave);
    std::printf("save: %.2f s, %lld bytes; peak after saving %ld KiB; longest time without events %lld ms\n",
                Seconds(save1 - run1), static_cast<long long>(QFileInfo(out).size()), PeakKiB(),
                static_cast<long long>(longestGap));
    return 0;
}
