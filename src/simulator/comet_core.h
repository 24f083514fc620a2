#pragma once
#include <cstdint>
#include "assembler/mnemonic_array.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "machine/stop_list.h"

class CZelkoraDoc;

// Run modes.
enum : int { RUN_GO = 0, RUN_TRACE = 1, RUN_PASS = 2, RUN_TO_ADDRESS = 3 };

// Why the last run ended.
enum class RunEnd { None, ProgramEnd, StopAddress, Breakpoint, UserStop, StepLimit, NotExecutable, CodeOverwritten };

// Told before each statement of a run executes (used for tracing).
class IStepObserver {
public:
    virtual ~IStepObserver() = default;
    virtual void BeforeStep(const CMnemonic& statement) = 0;
};

// The COMET II processor: memory, registers and the run loop.
class CCometCore {
public:
    static constexpr int kPumpInterval = 101;

    explicit CCometCore(CZelkoraDoc* doc = nullptr) : m_pDoc(doc) {}

    void Reset()
    {
        m_mem.Clear();
        m_reg.Clear();
    }
    void SetStop(WORD address) { m_stopAddresses.SetStop(address); }
    void SetStops(WORD first, WORD second) { m_stopAddresses.SetStops(first, second); }
    bool IsStopAddress(WORD address) const { return m_stopAddresses.IsStopAddress(address); }
    void PumpMessages();

    // Runs from PR; true when the run ended in an orderly way, false after a simulation error.
    bool Run(CMnemonicArray& program, int mode, WORD address);
    void RequestStop() { m_bStopRequested = 1; }

    CRegister& GetRegisters() { return m_reg; }
    const CRegister& GetRegisters() const { return m_reg; }
    CMemory& GetMemory() { return m_mem; }
    const CMemory& GetMemory() const { return m_mem; }

    // Headless runs: an optional cap on executed statements (0: none) and a trace observer.
    void SetStepLimit(std::uint64_t limit) { m_nStepLimit = limit; }
    void SetStepObserver(IStepObserver* observer) { m_pObserver = observer; }
    std::uint64_t GetExecutedCount() const { return m_nExecuted; }
    RunEnd GetLastRunEnd() const { return m_lastEnd; }

private:
    bool Loop(CMnemonicArray& program, CMnemonic* first);
    bool Execute(CMnemonic& statement);
    void ShowMessage(int id);

    volatile int m_bStopRequested = 0;
    CZelkoraDoc* m_pDoc;
    CStopList m_stopAddresses;
    CRegister m_reg;
    CMemory m_mem;

    std::uint64_t m_nStepLimit = 0;
    std::uint64_t m_nExecuted = 0;
    IStepObserver* m_pObserver = nullptr;
    RunEnd m_lastEnd = RunEnd::None;
};
