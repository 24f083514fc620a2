#include "simulator/comet_core.h"

#include "assembler/error_numbers.h"
#include "resources/message_ids.h"
#include "simulator/zelkora_doc.h"

void CCometCore::PumpMessages()
{
    if (m_pDoc) m_pDoc->GetHost().PumpMessages();
}

void CCometCore::ShowMessage(int id)
{
    if (m_pDoc) m_pDoc->ShowMessage(id);
}

// One statement: the step limit of a headless run is checked first, so that the
// state after a limited run is the one after the last permitted statement.
inline bool CCometCore::Execute(CMnemonic& statement)
{
    if (m_pObserver) m_pObserver->BeforeStep(statement);
    ++m_nExecuted;
    if (!statement.Step(m_reg, m_mem, m_pDoc)) {
        m_lastEnd = RunEnd::CodeOverwritten;
        return false;
    }
    return true;
}

bool CCometCore::Run(CMnemonicArray& program, int mode, WORD address)
{
    m_bStopRequested = 0;
    m_nExecuted = 0;
    CMnemonic* first = program.FindExecutable(m_reg[REG_PR]);
    if (!first) {
        m_lastEnd = RunEnd::NotExecutable;
        ShowMessage(ERR_SIM_NOT_EXECUTABLE);
        return false;
    }
    switch (mode) {
    case RUN_TRACE: first->SetTraceStops(m_reg, m_mem, m_stopAddresses); break;
    case RUN_PASS: first->SetPassStops(m_reg, m_mem, m_stopAddresses); break;
    case RUN_TO_ADDRESS: SetStop(address); break;
    default: m_stopAddresses.Clear(); break;
    }

    if (m_pDoc) m_pDoc->GetHost().EnterRunningState();
    const bool result = Loop(program, first);
    if (m_pDoc) m_pDoc->GetHost().LeaveRunningState();
    return result;
}

bool CCometCore::Loop(CMnemonicArray& program, CMnemonic* first)
{
    if (m_nStepLimit != 0 && m_nExecuted >= m_nStepLimit) {
        m_lastEnd = RunEnd::StepLimit;
        return true;
    }
    // The first statement runs even when it carries a breakpoint.
    if (!Execute(*first)) return false;

    int counter = 0;
    for (;;) {
        const WORD pr = m_reg[REG_PR];
        if (pr == 0) {
            if (m_pDoc) m_pDoc->CloseDeviceFiles();
            m_lastEnd = RunEnd::ProgramEnd;
            ShowMessage(MSG_PROGRAM_END);
            return true;
        }
        if (m_stopAddresses.IsStopAddress(pr)) {
            m_lastEnd = RunEnd::StopAddress;
            return true;
        }
        CMnemonic* statement = program.FindExecutable(pr);
        if (!statement) {
            m_lastEnd = RunEnd::NotExecutable;
            ShowMessage(ERR_SIM_NOT_EXECUTABLE);
            return false;
        }
        if (statement->HasBreakpoint()) {
            m_lastEnd = RunEnd::Breakpoint;
            return true;
        }
        if (counter == kPumpInterval - 1) {
            counter = 0;
            if (m_pDoc) m_pDoc->GetHost().AdvanceRunIndicator();
            PumpMessages();
            if (m_bStopRequested) {
                m_lastEnd = RunEnd::UserStop;
                ShowMessage(MSG_STOPPED_BY_USER);
                return true;
            }
        } else {
            ++counter;
        }
        if (m_nStepLimit != 0 && m_nExecuted >= m_nStepLimit) {
            m_lastEnd = RunEnd::StepLimit;
            return true;
        }
        if (!Execute(*statement)) return false;
    }
}
