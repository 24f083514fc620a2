#include "simulator/comet_core.h"

#include <algorithm>

#include "assembler/error_numbers.h"
#include "resources/message_ids.h"

CCometCore::CCometCore(IRunHost* host) : m_pHost(host)
{
    m_mem.Watch(m_programWords.data(), &CCometCore::OnProgramWrite, this);
}

void CCometCore::Reset()
{
    m_lastEnd = RunEnd::None;  // nothing to go on with
    m_mem.Clear();
    m_reg.Clear();
    m_history.Clear();
    // Cleared memory holds no program: every statement verifies itself before it runs.
    for (CSlot& slot : m_slots) slot.look |= LOOK_WRITTEN;
}

void CCometCore::ShowMessage(int id)
{
    if (m_pHost) m_pHost->ShowRunMessage(id);
}

bool CCometCore::Fail(RunEnd end, int message)
{
    m_lastEnd = end;
    ShowMessage(message);
    return false;
}

void CCometCore::OnProgramWrite(void* context, WORD address)
{
    auto* core = static_cast<CCometCore*>(context);
    // After a new assembly the table is stale; the next run builds it again, all unverified.
    if (!core->m_pTableProgram || core->m_pTableProgram->GetRevision() != core->m_nTableRevision) return;
    // A statement holds at most kMaxCode words, so only those starting that far back can hold this one.
    for (int back = 0; back < CMnemonic::kMaxCode; ++back) {
        const WORD start = static_cast<WORD>(address - back);
        CSlot& slot = core->m_slots[start];
        if (slot.statement && static_cast<WORD>(address - slot.statement->GetAddress()) < slot.statement->GetLength())
            slot.look |= LOOK_WRITTEN;
    }
}

void CCometCore::BuildTable(const CMnemonicArray& program)
{
    m_pTableProgram = &program;
    m_nTableRevision = program.GetRevision();
    std::fill(m_programWords.begin(), m_programWords.end(), 0);
    for (int address = 0; address < CMemory::kSize; ++address) {
        CMnemonic* statement = program.FindExecutable(static_cast<WORD>(address));
        // Until a statement has verified its words once, they count as written.
        std::uint8_t look = statement ? LOOK_WRITTEN : LOOK_MISSING;
        if (statement && statement->WaitsForInput()) look |= LOOK_INPUT;
        m_slots[address] = {statement, look};
        if (statement)
            for (WORD i = 0; i < statement->GetLength(); ++i) m_programWords[static_cast<WORD>(address + i)] = 1;
    }
    m_slots[0].look |= LOOK_END;
}

void CCometCore::MarkStops(bool on)
{
    for (int i = 0; i < m_stopAddresses.GetCount(); ++i) {
        std::uint8_t& look = m_slots[m_stopAddresses.GetAddress(i)].look;
        look = on ? static_cast<std::uint8_t>(look | LOOK_STOP) : static_cast<std::uint8_t>(look & ~LOOK_STOP);
    }
}

void CCometCore::PrepareRun(const CMnemonicArray& program)
{
    if (m_pTableProgram != &program || m_nTableRevision != program.GetRevision()) BuildTable(program);
    // Breakpoints live in the statements and may have changed since the last run.
    for (int address = 0; address < CMemory::kSize; ++address) {
        CSlot& slot = m_slots[address];
        if (slot.statement && slot.statement->HasBreakpoint())
            slot.look |= LOOK_BREAK;
        else
            slot.look &= static_cast<std::uint8_t>(~LOOK_BREAK);
    }
}

bool CCometCore::Run(const CMnemonicArray& program, int mode, WORD address)
{
    m_stopReason = RunEnd::None;
    m_nExecuted = 0;
    m_wRunStart = m_reg[REG_PR];
    PrepareRun(program);
    CSlot& first = m_slots[m_reg[REG_PR]];
    if (!first.statement) return Fail(RunEnd::NotExecutable, ERR_SIM_NOT_EXECUTABLE);
    CMnemonic* statement = first.statement;
    switch (mode) {
    case RUN_TRACE: statement->SetTraceStops(m_reg, m_mem, m_stopAddresses); break;
    case RUN_PASS: statement->SetPassStops(m_reg, m_mem, m_stopAddresses); break;
    case RUN_TO_ADDRESS: SetStop(address); break;
    default: m_stopAddresses.Clear(); break;
    }
    return Go();
}

bool CCometCore::Resume(const CMnemonicArray& program)
{
    if (!CanResume()) return false;
    // The pause was the host's; a Stop of the user's stays and ends the run at once.
    if (m_stopReason == RunEnd::Paused) m_stopReason = RunEnd::None;
    PrepareRun(program);
    if (!m_slots[m_reg[REG_PR]].statement) return Fail(RunEnd::NotExecutable, ERR_SIM_NOT_EXECUTABLE);
    return Go();
}

bool CCometCore::Go()
{
    CSlot& first = m_slots[m_reg[REG_PR]];
    MarkStops(true);
    if (m_bHistory) m_history.Attach(m_mem);
    if (m_pHost) m_pHost->EnterRunningState();
    bool result;
    if (m_bHistory)
        result = m_pObserver ? Loop<true, true>(first) : Loop<false, true>(first);
    else
        result = m_pObserver ? Loop<true, false>(first) : Loop<false, false>(first);
    if (m_pHost) m_pHost->LeaveRunningState();
    MarkStops(false);
    return result;
}

std::uint64_t CCometCore::StepBack(std::uint64_t count, bool* user)
{
    return m_history.Undo(m_reg, m_mem, *this, count, user);
}

std::optional<WORD> CCometCore::GetLastExecutedAddress() const
{
    if (m_nExecuted == 0) return std::nullopt;
    if (m_nExecuted == 1) return m_wRunStart;
    return m_bHistory ? m_history.GetNewestStatementAddress() : std::nullopt;
}

// Going back executes again the statements since the registers were last kept: the table
// of the run that recorded them still holds them (assembling clears the history).
void CCometCore::ReplayStep(CRegister& reg, CMemory& mem, IExecutionHost& input) const
{
    if (const CMnemonic* statement = m_slots[reg[REG_PR]].statement) reg[REG_PR] = statement->Execute(reg, mem, &input);
}

void CCometCore::BeginUserChange()
{
    if (!m_bHistory) return;
    m_history.Attach(m_mem);
    m_history.BeginUserChange(m_reg);
}

void CCometCore::EndUserChange()
{
    if (m_bHistory) m_history.EndUserChange(m_reg);
}

// Why the run stops before a statement whose look has one of kLookEnds.
RunEnd CCometCore::EndAt(std::uint8_t look) const
{
    return m_reg[REG_PR] == 0      ? RunEnd::ProgramEnd
           : (look & LOOK_STOP)    ? RunEnd::StopAddress
           : (look & LOOK_MISSING) ? RunEnd::NotExecutable
                                   : RunEnd::Breakpoint;
}

// A statement whose words were written since it last checked them must find them still
// its own; false (the run ends, end says why) when they are not.
bool CCometCore::Verify(CSlot& slot, RunEnd& end)
{
    if (!(slot.look & LOOK_WRITTEN)) return true;
    if (!slot.statement->VerifyCode(m_mem)) {
        end = RunEnd::CodeOverwritten;
        return false;
    }
    slot.look &= static_cast<std::uint8_t>(~LOOK_WRITTEN);
    return true;
}

// One statement, checked. With the history on, what it changes is kept for stepping back,
// and the memory's stamp alone counts the statements (CountRecorded brings the count up to date).
// kMayGiveUp: it may wait for input (IN); false tells that it was given up and so did not
// happen. The observer hears only of a statement that happened.
template <bool kObserve, bool kRecord, bool kMayGiveUp>
inline bool CCometCore::TakeStep(CSlot& slot, WORD*& at)
{
    const WORD pr = m_reg[REG_PR];
    CMnemonic& statement = *slot.statement;
    if (kRecord)
        m_mem.NextStamp();
    else
        ++m_nExecuted;
    if (kObserve) m_pObserver->BeforeStep(statement);
    if (kRecord) at = CRunHistory::Begin(at, pr);
    m_reg[REG_PR] = statement.Execute(m_reg, m_mem, m_pHost);
    if (kMayGiveUp && m_pHost && m_pHost->InputGivenUp()) {
        // It changed nothing: it is not counted, and the history forgets the step begun
        // for it, so that going back and the input lines read again stay in step with
        // the statements that did happen.
        if (kRecord) {
            m_mem.SetStamp(static_cast<WORD>(m_mem.GetStamp() - 1));
            at = CRunHistory::Withdraw(at);
        } else {
            --m_nExecuted;
        }
        return false;
    }
    if (kObserve) m_pObserver->AfterStep(statement, m_reg);
    return true;
}

// The usual step: nothing is asked after it.
template <bool kObserve, bool kRecord>
inline void CCometCore::Step(CSlot& slot, WORD*& at)
{
    TakeStep<kObserve, kRecord, false>(slot, at);
}

// A statement that may wait for input (IN), out of the loop's way. The cursor goes in and
// comes back by value, so that the loop's copy never has its address taken and can stay
// in a register. When the statement was given up, end says why.
template <bool kObserve, bool kRecord>
[[gnu::noinline]] WORD* CCometCore::StepMayGiveUp(CSlot& slot, WORD* at, RunEnd& end)
{
    if (!TakeStep<kObserve, kRecord, true>(slot, at))
        end = m_pHost->InputAwaited()        ? RunEnd::WaitingForInput
              : m_stopReason != RunEnd::None ? m_stopReason
                                             : RunEnd::UserStop;
    return at;
}

// Often enough that the stamp cannot wrap in between (at every check of the history).
void CCometCore::CountRecorded()
{
    m_nExecuted += static_cast<WORD>(m_mem.GetStamp() - m_wCounted);
    m_wCounted = m_mem.GetStamp();
}

// The first statement and kPumpInterval - 1 more run between two checks of the history.
static_assert(CCometCore::kPumpInterval <= CRunHistory::kStepsBetweenChecks);

// Every kPumpInterval statements, and at the step limit: room in the history, time for the
// window, and the step limit. False when the run stops here (end says why).
template <bool kRecord>
inline bool CCometCore::Interval(WORD*& at, int& untilPump, RunEnd& end)
{
    if (kRecord) {
        CountRecorded();
        at = m_history.Check(at, m_reg);
    }
    if (m_pHost) {
        // The window may change the machine in between: one step more, which moves the stamp on.
        if (kRecord) m_history.Sync(at);
        m_pHost->Pump();
        if (kRecord) {
            at = m_history.GetCursor();
            m_wCounted = m_mem.GetStamp();
        }
    }
    if (m_stopReason != RunEnd::None) {
        end = m_stopReason;
        return false;
    }
    const std::uint64_t limit = m_nStepLimit;
    if (limit != 0 && m_nExecuted >= limit) {
        end = RunEnd::StepLimit;
        return false;
    }
    untilPump = Countdown(m_nExecuted);
    return true;
}

template <bool kObserve, bool kRecord>
bool CCometCore::Loop(CSlot& first)
{
    // The step limit of a headless run is checked before a statement, so that the state
    // after a limited run is the one after the last permitted statement.
    if (m_nStepLimit != 0 && m_nExecuted >= m_nStepLimit) {
        m_lastEnd = RunEnd::StepLimit;
        return true;
    }
    // Statements whose look needs more than running them, so that the usual step need not ask.
    constexpr std::uint8_t kUnusual = kLookEnds | LOOK_WRITTEN | LOOK_INPUT;
    // The history's cursor stays a local while the loop runs, so that it can live in a register.
    WORD* at = kRecord ? m_history.StartRecording(m_reg) : nullptr;
    if (kRecord) m_wCounted = m_mem.GetStamp();
    // A run that goes on after a pause began before: its start is marked once, at its first statement.
    const bool starting = m_nExecuted == 0;
    // Only a run that goes on can find a Stop already requested.
    RunEnd end = m_stopReason;
    // The first statement runs even when it carries a breakpoint.
    if (end == RunEnd::None && Verify(first, end)) {
        if (first.look & LOOK_INPUT)
            at = StepMayGiveUp<kObserve, kRecord>(first, at, end);
        else
            Step<kObserve, kRecord>(first, at);
    }
    if (end == RunEnd::None) {
        if (kRecord) {
            CountRecorded();
            if (starting) m_history.MarkNewestAsRunStart();
        }
        // The first statement was the first pass.
        int untilPump = Countdown(m_nExecuted - 1);
        // Before each statement, in this order: the end of the program, a stop address or a
        // breakpoint; the pump; the check of the statement's words.
        for (;;) {
            CSlot& slot = m_slots[m_reg[REG_PR]];
            const std::uint8_t look = slot.look;
            if (look & kUnusual) [[unlikely]] {
                if (look & kLookEnds) {
                    end = EndAt(look);
                    break;
                }
                if (--untilPump == 0 && !Interval<kRecord>(at, untilPump, end)) break;
                if (!Verify(slot, end)) break;
                if (slot.look & LOOK_INPUT) {
                    at = StepMayGiveUp<kObserve, kRecord>(slot, at, end);
                    if (end != RunEnd::None) break;
                    continue;
                }
            } else if (--untilPump == 0) {
                // The words are looked at after the pump, which may have written them.
                if (!Interval<kRecord>(at, untilPump, end) || !Verify(slot, end)) break;
            }
            Step<kObserve, kRecord>(slot, at);
        }
    }
    if (kRecord) {
        CountRecorded();
        m_history.StopRecording(at, m_reg);
    }

    switch (end) {
    case RunEnd::CodeOverwritten: return Fail(end, ERR_SIM_CODE_OVERWRITTEN);
    case RunEnd::NotExecutable: return Fail(end, ERR_SIM_NOT_EXECUTABLE);
    case RunEnd::ProgramEnd:
        m_lastEnd = end;
        if (m_pHost) m_pHost->ProgramEnded();
        ShowMessage(MSG_PROGRAM_END);
        return true;
    case RunEnd::UserStop:
        m_lastEnd = end;
        ShowMessage(MSG_STOPPED_BY_USER);
        return true;
    default: m_lastEnd = end; return true;
    }
}
