#include "simulator/run_history.h"

CRunHistory::CRunHistory() = default;

void CRunHistory::SetBudget(size_t bytes)
{
    m_nBudget = bytes;
    m_pWords.reset();
    Clear();
}

void CRunHistory::Allocate()
{
    // Half the budget for the ring (a power of two of words), half for input lines.
    std::uint64_t words = 4096;
    while (words * 2 * sizeof(WORD) <= m_nBudget / 2) words *= 2;
    m_nCapacity = words;
    m_nMask = words - 1;
    // Not value-initialized: the pages are taken from the system only as steps fill them.
    m_pWords.reset(new WORD[words]);
}

void CRunHistory::Clear()
{
    if (!m_pWords) Allocate();
    m_nHead = m_nTail = m_nStart = 0;
    m_nSteps = m_nDropped = m_nDroppedUser = 0;
    m_bInStep = false;
    m_inputs.clear();
    m_replay.clear();
    m_nInputBytes = 0;
    m_wPending = 0;
}

size_t CRunHistory::GetBytes() const { return static_cast<size_t>(m_nTail - m_nHead) * sizeof(WORD) + m_nInputBytes; }

void CRunHistory::DropOldest()
{
    const WORD length = At(m_nHead);
    if (At(m_nHead + 1) & STEP_USER) ++m_nDroppedUser;
    if (At(m_nHead + 1) & STEP_INPUT) {
        m_nInputBytes -= InputCost(m_inputs.front());
        m_inputs.pop_front();
    }
    m_nHead += length;
    --m_nSteps;
    ++m_nDropped;
}

void CRunHistory::MakeRoom()
{
    // Only complete steps go; the one under way lies after them and stays.
    while (m_nSteps > 0 && m_nCapacity - (m_nTail - m_nHead) < kReserve) DropOldest();
}

void CRunHistory::NoteInput(bool ok, const std::string& line)
{
    if (!m_bInStep) return;
    m_pWords[(m_nStart + 1) & m_nMask] |= STEP_INPUT;
    m_inputs.push_back({ok, line});
    m_nInputBytes += InputCost(m_inputs.back());
    // Input lines count against the budget too.
    while (m_nInputBytes > m_nBudget / 2 && m_nSteps > 0) DropOldest();
}

bool CRunHistory::TakeReplay(bool& ok, std::string& line)
{
    if (m_replay.empty()) return false;
    ok = m_replay.front().ok;
    line = std::move(m_replay.front().line);
    m_replay.pop_front();
    return true;
}

bool CRunHistory::Undo(CRegister& reg, CMemory& mem, bool* user)
{
    if (m_nSteps == 0) return false;
    const WORD length = At(m_nTail - 1);
    const std::uint64_t start = m_nTail - length;
    const WORD mask = At(start + 1);
    std::uint64_t at = start + 2;
    CRegister restored = reg;
    for (WORD bits = mask & STEP_REGISTERS; bits; bits &= static_cast<WORD>(bits - 1))
        restored[__builtin_ctz(bits)] = At(at++);
    // The writes go back newest first, so that a word written twice gets its first old value.
    for (auto w = static_cast<std::int64_t>(m_nTail) - 3; w >= static_cast<std::int64_t>(at); w -= 2)
        mem.SetWord(At(static_cast<std::uint64_t>(w)), At(static_cast<std::uint64_t>(w) + 1));
    reg = restored;
    if (mask & STEP_INPUT) {
        m_nInputBytes -= InputCost(m_inputs.back());
        m_replay.push_front(std::move(m_inputs.back()));
        m_inputs.pop_back();
    }
    m_nTail = start;
    --m_nSteps;
    if (user) *user = (mask & STEP_USER) != 0;
    return true;
}

std::vector<CRunHistory::CStepView> CRunHistory::ListSteps(const CRegister& now) const
{
    std::vector<CStepView> steps(static_cast<size_t>(m_nSteps));
    CRegister reg = now;
    std::uint64_t end = m_nTail;
    for (size_t k = steps.size(); k-- > 0;) {
        const WORD length = At(end - 1);
        const std::uint64_t start = end - length;
        const WORD mask = At(start + 1);
        CStepView& step = steps[k];
        step.user = (mask & STEP_USER) != 0;
        step.after = reg;
        std::uint64_t at = start + 2;
        for (WORD bits = mask & STEP_REGISTERS; bits; bits &= static_cast<WORD>(bits - 1))
            reg[__builtin_ctz(bits)] = At(at++);
        step.address = reg[REG_PR];
        end = start;
    }
    std::uint64_t number = m_nDropped - m_nDroppedUser;
    for (CStepView& step : steps) step.number = step.user ? number : ++number;
    return steps;
}

std::uint64_t CRunHistory::StepsToLastRunStart() const
{
    std::uint64_t count = 0;
    for (std::uint64_t end = m_nTail; count < m_nSteps;) {
        const std::uint64_t start = end - At(end - 1);
        ++count;
        if (At(start + 1) & STEP_RUN_START) break;
        end = start;
    }
    return count;
}
