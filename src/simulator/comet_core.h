#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>
#include "assembler/mnemonic_array.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "machine/stop_list.h"
#include "simulator/run_history.h"
#include "simulator/run_host.h"

// Run modes.
enum : int { RUN_GO = 0, RUN_TRACE = 1, RUN_PASS = 2, RUN_TO_ADDRESS = 3 };

// Why the last run ended.
enum class RunEnd {
    None,
    ProgramEnd,
    StopAddress,
    Breakpoint,
    UserStop,
    StepLimit,
    NotExecutable,
    CodeOverwritten,
    OutputFailed,
    // The run may go on (Resume): it ended before an IN that found no line waiting in a host
    // that cannot wait for one, or its host paused it to take its own messages.
    WaitingForInput,
    Paused
};

// Told before and after each statement of a run executes (the trace and the trace table).
class IStepObserver {
public:
    virtual ~IStepObserver() = default;
    virtual void BeforeStep(const CMnemonic& /*statement*/) {}
    virtual void AfterStep(const CMnemonic& /*statement*/, const CRegister& /*reg*/) {}
};

// The COMET II processor: memory, registers and the run loop.
//
// The loop looks up one table per address: the statement to execute there and a
// byte of reasons to look closer (PR = 0, a stop address, no executable statement, a
// breakpoint, words written since the statement last verified them). Ordinary
// statements have no reason, so most steps are a look-up and a call.
class CCometCore : private IStepReplayer {
public:
    static constexpr int kPumpInterval = 101;

    explicit CCometCore(IRunHost* host = nullptr);
    CCometCore(const CCometCore&) = delete;
    CCometCore& operator=(const CCometCore&) = delete;

    // Memory and registers cleared.
    void Reset();
    void SetStop(WORD address) { m_stopAddresses.SetStop(address); }
    void SetStops(WORD first, WORD second) { m_stopAddresses.SetStops(first, second); }
    bool IsStopAddress(WORD address) const { return m_stopAddresses.IsStopAddress(address); }

    // Runs the program from PR; true when the run ended in an orderly way, false after a simulation error.
    bool Run(const CMnemonicArray& program, int mode, WORD address);
    // Goes on with a run that ended waiting for input or paused, as the same run: its mode's
    // stops, its statement count and where it began stay. A Stop requested meanwhile ends it
    // before anything runs. Like Run's result; false too when there is no such run.
    bool Resume(const CMnemonicArray& program);
    bool CanResume() const { return m_lastEnd == RunEnd::WaitingForInput || m_lastEnd == RunEnd::Paused; }
    // Asks the run to end at its next pump; why it ended is then reason.
    void RequestStop(RunEnd reason = RunEnd::UserStop) { m_stopReason = reason; }
    bool IsStopRequested() const { return m_stopReason != RunEnd::None; }

    CRegister& GetRegisters() { return m_reg; }
    const CRegister& GetRegisters() const { return m_reg; }
    CMemory& GetMemory() { return m_mem; }
    const CMemory& GetMemory() const { return m_mem; }

    // The step-back history: kept in every run mode while it is on (it is by default).
    CRunHistory& GetHistory() { return m_history; }
    const CRunHistory& GetHistory() const { return m_history; }
    void SetHistoryEnabled(bool on) { m_bHistory = on; }
    bool IsHistoryEnabled() const { return m_bHistory; }
    // Takes up to count steps back; returns how many. user: whether the last one was a user's change.
    std::uint64_t StepBack(std::uint64_t count = 1, bool* user = nullptr);
    // The statements' steps the history holds, oldest first, for the trace table.
    bool VisitSteps(CRunHistory::IStepVisitor& visitor) const { return m_history.VisitSteps(m_mem, *this, visitor); }
    // A change the user makes (registers, PR, memory words through SetWord) as one step of its own.
    void BeginUserChange();
    void EndUserChange();

    // Headless runs: an optional cap on executed statements (0: none) and a trace observer.
    void SetStepLimit(std::uint64_t limit) { m_nStepLimit = limit; }
    void SetStepObserver(IStepObserver* observer) { m_pObserver = observer; }
    std::uint64_t GetExecutedCount() const { return m_nExecuted; }
    // The address of the statement the last run executed last: its first one when it ran
    // only that, else the newest step of the history; none when it ran none, or when more
    // than one ran without the history.
    std::optional<WORD> GetLastExecutedAddress() const;
    RunEnd GetLastRunEnd() const { return m_lastEnd; }

private:
    enum : std::uint8_t {
        LOOK_END = 1,       // address 0: the program has ended
        LOOK_STOP = 2,      // a stop address of this run
        LOOK_MISSING = 4,   // no executable statement starts here
        LOOK_BREAK = 8,     // the statement carries a breakpoint
        LOOK_WRITTEN = 16,  // words written since the statement last verified them
        LOOK_INPUT = 32,    // the statement may wait for input, and a Stop may give it up
    };
    static constexpr std::uint8_t kLookEnds = LOOK_END | LOOK_STOP | LOOK_MISSING | LOOK_BREAK;

    void BuildTable(const CMnemonicArray& program);
    void PrepareRun(const CMnemonicArray& program);
    void MarkStops(bool on);
    // A write into a program word: every statement that may hold the word verifies itself again.
    static void OnProgramWrite(void* core, WORD address);
    // What the run loop looks up at an address, together, so that one index reaches it all.
    struct CSlot {
        CMnemonic* statement = nullptr;
        std::uint8_t look = 0;
    };
    // Runs from PR with the stops set; the first statement runs even when it carries a breakpoint.
    bool Go();
    template <bool kObserve, bool kRecord>
    bool Loop(CSlot& first);
    RunEnd EndAt(std::uint8_t look) const;
    [[gnu::noinline]] void CountRecorded();  // out of the loop: it is seldom called
    void ReplayStep(CRegister& reg, CMemory& mem, IExecutionHost& input) const override;
    bool Verify(CSlot& slot, RunEnd& end);
    template <bool kObserve, bool kRecord, bool kMayGiveUp>
    bool TakeStep(CSlot& slot, WORD*& at);
    template <bool kObserve, bool kRecord>
    void Step(CSlot& slot, WORD*& at);
    template <bool kObserve, bool kRecord>
    WORD* StepMayGiveUp(CSlot& slot, WORD* at, RunEnd& end);
    template <bool kRecord>
    bool Interval(WORD*& at, int& untilPump, RunEnd& end);
    // Passes through the loop to the next pump, which comes at the step limit too, so that
    // the loop looks at the limit only then; executed: the statements run before the first of them.
    int Countdown(std::uint64_t executed) const
    {
        if (m_nStepLimit == 0) return kPumpInterval;
        return static_cast<int>(std::min<std::uint64_t>(kPumpInterval, m_nStepLimit - executed));
    }
    bool Fail(RunEnd end, int message);
    void ShowMessage(int id);

    IRunHost* m_pHost;
    CStopList m_stopAddresses;
    CRegister m_reg;
    CMemory m_mem;
    std::vector<CSlot> m_slots = std::vector<CSlot>(CMemory::kSize);
    std::vector<std::uint8_t> m_programWords = std::vector<std::uint8_t>(CMemory::kSize, 0);
    CRunHistory m_history;
    bool m_bHistory = true;
    const CMnemonicArray* m_pTableProgram = nullptr;
    unsigned m_nTableRevision = 0;

    volatile RunEnd m_stopReason = RunEnd::None;
    std::uint64_t m_nStepLimit = 0;
    std::uint64_t m_nExecuted = 0;
    WORD m_wRunStart = 0;  // PR when the last run began
    WORD m_wCounted = 0;   // the memory's stamp when m_nExecuted was last brought up to date
    IStepObserver* m_pObserver = nullptr;
    RunEnd m_lastEnd = RunEnd::None;
};
