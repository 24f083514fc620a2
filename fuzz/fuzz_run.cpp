// Assembles a source and runs it for a bounded number of statements with any key input.
// The data is the source, a NUL byte, and the input: the key-input dialog answers its
// lines (cut at LF) in order, then the end of input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include "simulator/zelkora_doc.h"

namespace {
constexpr std::uint64_t kStepLimit = 2000;

void Check(bool condition)
{
    if (!condition) std::abort();
}

class CFuzzHost final : public IDocumentHost {
public:
    void SetInput(std::string_view input)
    {
        m_input = input;
        m_done = false;
    }

    void ShowMessage(int, MessageIcon, const std::string& text) override { Check(!text.empty()); }
    void Beep() override {}
    bool RunKeyInputDialog(std::string& line) override
    {
        if (m_done) return false;
        const size_t lf = m_input.find('\n');
        line.assign(m_input.substr(0, lf));
        if (lf == std::string_view::npos)
            m_done = true;
        else
            m_input.remove_prefix(lf + 1);
        return true;
    }
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    void EnterRunningState() override
    {
        Check(!m_running);
        m_running = true;
    }
    void LeaveRunningState() override
    {
        Check(m_running);
        m_running = false;
    }
    void AdvanceRunIndicator() override { Check(m_running); }
    void PumpMessages() override { Check(m_running); }
    bool OpenSimulatorWindow(CZelkoraDoc&) override { return true; }
    void CloseSimulatorWindow(CZelkoraDoc&) override {}
    CDeviceSettings m_settings;

private:
    std::string_view m_input;
    bool m_done = false;
    bool m_running = false;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const size_t nul = all.find('\0');
    const std::string_view source = all.substr(0, nul);
    const std::string_view input = nul == std::string_view::npos ? std::string_view() : all.substr(nul + 1);

    // One document for every input, as the desktop program keeps one: assembling and
    // loading start it afresh.
    static CFuzzHost host;
    static CZelkoraDoc doc(host);
    host.SetInput(input);
    doc.SetSourceText(std::string(source));
    if (!doc.AssembleAndLoad()) return 0;

    // A run in go mode, bounded.
    CCometCore& core = doc.GetCore();
    core.SetStepLimit(kStepLimit);
    const CRegister loadedReg = core.GetRegisters();
    static CMemory loadedMem;
    loadedMem = core.GetMemory();
    doc.Run(RUN_GO);
    Check(core.GetExecutedCount() <= kStepLimit);
    Check(doc.GetDeviceLog().size() <= CZelkoraDoc::kDeviceLogLimit);
    const RunEnd end = core.GetLastRunEnd();
    Check(end != RunEnd::None);
    if (end == RunEnd::ProgramEnd) Check(core.GetRegisters()[REG_PR] == 0);

    // The trace table holds a row per statement the history kept, and going back over the
    // whole run gives the machine as it was loaded.
    const CRunHistory& history = core.GetHistory();
    Check(history.GetDroppedCount() == 0 && history.GetStepCount() == core.GetExecutedCount());
    struct CCount final : CRunHistory::IStepVisitor {
        std::uint64_t rows = 0;
        bool Visit(const CRunHistory::CStepView&) override { return ++rows > 0; }
    } count;
    Check(core.VisitSteps(count) && count.rows == core.GetExecutedCount());
    Check(doc.StepBack(history.GetStepCount()) == core.GetExecutedCount());
    Check(core.GetRegisters() == loadedReg);
    for (int address = 0; address < CMemory::kSize; ++address)
        Check(core.GetMemory().GetWord(static_cast<WORD>(address)) == loadedMem.GetWord(static_cast<WORD>(address)));

    // From the start again, statement by statement in trace and pass modes: each such run
    // executes at least one statement (or stops before the first) and stays bounded.
    doc.ResetMachine();
    for (int i = 0; i < 16; ++i) {
        const bool ran = doc.Run(i % 3 == 2 ? RUN_PASS : RUN_TRACE);
        Check(core.GetExecutedCount() <= kStepLimit);
        if (!ran || core.GetLastRunEnd() == RunEnd::ProgramEnd) break;
    }
    return 0;
}
