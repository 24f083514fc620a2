// What the run loop's pump costs: the tight loop run through the document with the
// command-line host (a pump that only checks for Ctrl+C) and with the desktop
// program's host (a pump that dispatches window events), offscreen.
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELKORA_BUILD_BENCH=ON
//   cmake --build build/bench --target pump_bench && QT_QPA_PLATFORM=offscreen build/bench/bench/pump_bench
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QUrl>
#include "shell/shell_ui.h"
#include "shell/zelkora_app.h"
#include "silent_ui.h"
#include "simulator/zelkora_doc.h"

namespace {
constexpr std::uint64_t kSteps = 20'000'000;

std::string TightLoop()
{
    QFile file(ZELKORA_SOURCE_DIR "/bench/run/tight_loop.asm");
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

class CHeadlessHost : public IDocumentHost {
public:
    void ShowMessage(int, MessageIcon, const std::string&) override {}
    void Beep() override {}
    bool RunKeyInputDialog(std::string&) override { return false; }
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    CDeviceSettings m_settings;
    void EnterRunningState() override {}
    void LeaveRunningState() override {}
    void AdvanceRunIndicator() override {}
    void PumpMessages() override { benchmark::DoNotOptimize(++pumps); }
    bool OpenSimulatorWindow(CZelkoraDoc&) override { return true; }
    void CloseSimulatorWindow(CZelkoraDoc&) override {}
    int pumps = 0;
};

void RunSteps(benchmark::State& state, CZelkoraDoc& doc)
{
    doc.GetCore().SetStepLimit(kSteps);
    for (auto _ : state) {
        doc.ResetMachine();
        doc.GetCore().Run(doc.GetProgram(), RUN_GO, 0);
    }
    state.counters["statements/s"] =
        benchmark::Counter(static_cast<double>(kSteps) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_HeadlessHost(benchmark::State& state)
{
    CHeadlessHost host;
    CZelkoraDoc doc(host);
    doc.SetSourceText(TightLoop());
    doc.AssembleAndLoad();
    RunSteps(state, doc);
}

void BM_DesktopHost(benchmark::State& state)
{
    CSilentUi ui;
    CZelkoraApp app(&ui);
    app.InitInstance({});
    CZelkoraDoc* doc = app.GetDocument();
    doc->SetSourceText(TightLoop());
    // Run through the core with the desktop host: running state, indicator and event dispatching.
    doc->GetAssembler().AssembleSource(doc->GetSourceText());
    RunSteps(state, *doc);
}
}  // namespace

BENCHMARK(BM_HeadlessHost)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DesktopHost)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
