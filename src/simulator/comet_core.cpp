#include "simulator/comet_core.h"

#include "assembler/error_numbers.h"
#include "resources/message_ids.h"

CCometCore::CCometCore(IRunHost* host) : m_pHost(host)
{
    m_mem.Watch(m_programWords.data(), &CCometCore::OnProgramWrite, this);
}

void CCometCore::Reset()
{
    m_mem.Clear();
    m_reg.Clear();
    m_history.Clear();
    // Cleared memory holds no program: every statement verifies itself before it runs.
    for (std::uint8_t& look : m_look) look |= LOOK_WRITTEN;
}

void CCometCore::ShowMessage(int id)
{
    if (m_pHost) m_pHost->ShowMessage(id);
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
        const CMnemonic* statement = core->m_statements[start];
        if (statement && static_cast<WORD>(address - statement->GetAddress()) < statement->GetLength())
            core->m_look[start] |= LOOK_WRITTEN;
    }
}

void CCometCore::BuildTable(const CMnemonicArray& program)
{
    m_pTableProgram = &program;
    m_nTableRevision = program.GetRevision();
    std::fill(m_programWords.begin(), m_programWords.end(), 0);
    for (int address = 0; address < CMemory::kSize; ++address) {
        CMnemonic* statement = program.FindExecutable(static_cast<WORD>(address));
        m_statements[address] = statement;
        m_shapes[address] = statement ? CStepShape::From(statement->GetStepEffect()) : CStepShape{};
        // Until a statement has verified its words once, they count as written.
        m_look[address] = statement ? LOOK_WRITTEN : LOOK_MISSING;
        if (statement)
            for (WORD i = 0; i < statement->GetLength(); ++i) m_programWords[static_cast<WORD>(address + i)] = 1;
    }
    m_look[0] |= LOOK_END;
}

void CCometCore::MarkStops(bool on)
{
    for (int i = 0; i < m_stopAddresses.GetCount(); ++i) {
        std::uint8_t& look = m_look[m_stopAddresses.GetAddress(i)];
        look = on ? static_cast<std::uint8_t>(look | LOOK_STOP) : static_cast<std::uint8_t>(look & ~LOOK_STOP);
    }
}

void CCometCore::PrepareRun(const CMnemonicArray& program)
{
    if (m_pTableProgram != &program || m_nTableRevision != program.GetRevision()) BuildTable(program);
    // Breakpoints live in the statements and may have changed since the last run.
    for (int address = 0; address < CMemory::kSize; ++address) {
        const CMnemonic* statement = m_statements[address];
        if (statement && statement->HasBreakpoint())
            m_look[address] |= LOOK_BREAK;
        else
            m_look[address] &= static_cast<std::uint8_t>(~LOOK_BREAK);
    }
}

bool CCometCore::Run(const CMnemonicArray& program, int mode, WORD address)
{
    m_stopReason = RunEnd::None;
    m_nExecuted = 0;
    PrepareRun(program);
    CMnemonic* first = m_statements[m_reg[REG_PR]];
    if (!first) return Fail(RunEnd::NotExecutable, ERR_SIM_NOT_EXECUTABLE);
    switch (mode) {
    case RUN_TRACE: first->SetTraceStops(m_reg, m_mem, m_stopAddresses); break;
    case RUN_PASS: first->SetPassStops(m_reg, m_mem, m_stopAddresses); break;
    case RUN_TO_ADDRESS: SetStop(address); break;
    default: m_stopAddresses.Clear(); break;
    }

    MarkStops(true);
    if (m_bHistory) m_history.Attach(m_shapes.data(), m_mem);
    if (m_pHost) m_pHost->EnterRunningState();
    bool result;
    if (m_bHistory)
        result = m_pObserver ? Loop<true, true>(*first) : Loop<false, true>(*first);
    else
        result = m_pObserver ? Loop<true, false>(*first) : Loop<false, false>(*first);
    if (m_pHost) m_pHost->LeaveRunningState();
    MarkStops(false);
    return result;
}

bool CCometCore::StepBack(bool* user) { return m_history.Undo(m_reg, m_mem, user); }

void CCometCore::BeginUserChange()
{
    if (!m_bHistory) return;
    m_history.Attach(m_shapes.data(), m_mem);
    m_history.BeginUserChange(m_reg);
}

void CCometCore::EndUserChange()
{
    if (m_bHistory) m_history.EndUserChange();
}

// One statement with its check: the words in memory must still be its own (false when
// they are not). With the history on, what it changes is kept for stepping back.
template <bool kObserve, bool kRecord>
inline bool CCometCore::ExecuteChecked(CMnemonic& statement, WORD*& at)
{
    const WORD pr = m_reg[REG_PR];
    if (m_look[pr] & LOOK_WRITTEN) {
        if (!statement.VerifyCode(m_mem)) return false;
        m_look[pr] &= static_cast<std::uint8_t>(~LOOK_WRITTEN);
    }
    ++m_nExecuted;
    if (kObserve) m_pObserver->BeforeStep(statement);
    if (kRecord) at = m_history.Begin(at, m_shapes[pr], m_reg, pr);
    m_reg[REG_PR] = statement.Execute(m_reg, m_mem, m_pHost);
    if (kRecord) at = m_history.End(at);
    if (kObserve) m_pObserver->AfterStep(statement, m_reg);
    return true;
}

// The first statement and kPumpInterval - 1 more run between two checks of the history.
static_assert(CCometCore::kPumpInterval <= CRunHistory::kStepsBetweenChecks);

template <bool kObserve, bool kRecord>
bool CCometCore::Loop(CMnemonic& first)
{
    // The step limit of a headless run is checked before a statement, so that the state
    // after a limited run is the one after the last permitted statement.
    const std::uint64_t limit = m_nStepLimit;
    if (limit != 0 && m_nExecuted >= limit) {
        m_lastEnd = RunEnd::StepLimit;
        return true;
    }
    // The history's cursor stays a local while the loop runs, so that it can live in a register.
    WORD* at = kRecord ? m_history.StartRecording() : nullptr;
    RunEnd end = RunEnd::CodeOverwritten;
    // The first statement runs even when it carries a breakpoint.
    if (ExecuteChecked<kObserve, kRecord>(first, at)) {
        if (kRecord) m_history.MarkNewestAsRunStart();
        int untilPump = kPumpInterval;
        for (;;) {
            const WORD pr = m_reg[REG_PR];
            const std::uint8_t look = m_look[pr];
            if (look & (LOOK_END | LOOK_STOP | LOOK_MISSING | LOOK_BREAK)) {
                end = pr == 0                 ? RunEnd::ProgramEnd
                      : (look & LOOK_STOP)    ? RunEnd::StopAddress
                      : (look & LOOK_MISSING) ? RunEnd::NotExecutable
                                              : RunEnd::Breakpoint;
                break;
            }
            if (--untilPump == 0) {
                untilPump = kPumpInterval;
                if (kRecord) at = m_history.Check(at);
                if (m_pHost) {
                    // The window may change the machine in between: one step more.
                    if (kRecord) m_history.Sync(at);
                    m_pHost->Pump();
                    if (kRecord) at = m_history.GetCursor();
                }
                if (m_stopReason != RunEnd::None) {
                    end = m_stopReason;
                    break;
                }
            }
            if (limit != 0 && m_nExecuted >= limit) {
                end = RunEnd::StepLimit;
                break;
            }
            if (!ExecuteChecked<kObserve, kRecord>(*m_statements[pr], at)) break;
        }
    }
    if (kRecord) m_history.StopRecording(at);

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
