// What the output pane costs a run in the desktop program: Go (F5) on programs that
// write many OUT lines, or echo many IN lines read from a file, once with the memory
// dump in the lower pane and once with the output pane, each including the repaint
// after the run. The settings store is a temporary one, so that the user's stays as it is.
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELKORA_BUILD_BENCH=ON -DZELKORA_BUILD_TESTS=OFF
//   cmake --build build/bench --target output_pane_bench && build/bench/bench/output_pane_bench
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <string>
#include "resources/command_ids.h"
#include "shell/main_frame.h"
#include "shell/zelkora_app.h"
#include "silent_ui.h"
#include "simulator/zelkora_doc.h"
#include "views/settings_store.h"

namespace {
using Clock = std::chrono::steady_clock;

void Settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// Writes thousands x 1000 OUT lines.
QString OutProgram(const QString& dir, int thousands)
{
    const QString path = dir + QString("/out_%1.asm").arg(thousands);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QString("OUTB\tSTART\n"
                       "\tLAD\tGR2,0\n"
                       "OUTER\tLAD\tGR1,0\n"
                       "INNER\tOUT\tMSG,LEN\n"
                       "\tLAD\tGR1,1,GR1\n"
                       "\tCPA\tGR1,=1000\n"
                       "\tJNZ\tINNER\n"
                       "\tLAD\tGR2,1,GR2\n"
                       "\tCPA\tGR2,M\n"
                       "\tJNZ\tOUTER\n"
                       "\tRET\n"
                       "MSG\tDC\t'OUTPUT LINE 0123456789'\n"
                       "LEN\tDC\t22\n"
                       "M\tDC\t%1\n"
                       "\tEND\n")
                   .arg(thousands)
                   .toLatin1());
    return path;
}

// Seconds of Go, from the command to the repainted window, with the given work view.
double GoSeconds(CZelkoraApp& app, int workView)
{
    CMainFrame* frame = app.GetMainFrame();
    frame->ExecuteCommand(ID_RESTART);
    frame->ExecuteCommand(workView);
    Settle();
    const auto t0 = Clock::now();
    frame->ExecuteCommand(ID_RUN_GO);
    Settle();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void Compare(CZelkoraApp& app, const QString& source, const char* what)
{
    app.OpenDocumentFile(source);
    app.GetMainFrame()->ExecuteCommand(ID_ASSEMBLE);
    Settle();
    // Best of three each, alternating, so that a busy spell of the machine slows both alike.
    double dump = 1e9, pane = 1e9;
    for (int i = 0; i < 3; ++i) {
        dump = std::min(dump, GoSeconds(app, ID_VIEW_DUMP));
        pane = std::min(pane, GoSeconds(app, ID_VIEW_OUTPUT));
    }
    std::printf("%s (%llu statements): %.3f s with the dump shown, %.3f s with the output pane, ratio %.2f\n", what,
                static_cast<unsigned long long>(app.GetDocument()->GetCore().GetExecutedCount()), dump, pane,
                pane / dump);
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QApplication application(argc, argv);

    // The echo reads its lines from a file: 10,000 lines of 80 characters.
    const QString input = dir.path() + "/input.txt";
    {
        QFile file(input);
        file.open(QIODevice::WriteOnly);
        for (int i = 0; i < 10'000; ++i) file.write(QByteArray(80, 'a' + i % 26) + "\n");
    }
    {
        auto settings = OpenSettings();
        settings->setValue("Env/InDeviceType", 1);
        settings->setValue("Env/InFileName", input);
    }

    CSilentUi ui;
    CZelkoraApp app(&ui);
    app.InitInstance({});
    app.GetMainFrame()->resize(1280, 900);
    Settle();

    Compare(app, OutProgram(dir.path(), 100), "100,000 OUT lines");
    Compare(app, OutProgram(dir.path(), 1000), "1,000,000 OUT lines");
    Compare(app, ZELKORA_SOURCE_DIR "/examples/echo.asm", "10,000 IN lines from a file, echoed");
    return 0;
}
