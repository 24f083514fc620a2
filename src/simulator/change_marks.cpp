#include "simulator/change_marks.h"

#include "simulator/watch.h"

namespace {
constexpr WORD kShownFlags = FLAG_OF | FLAG_SF | FLAG_ZF;
// SP moving down by less than half the address space is the stack growing; further, or up, it shrank.
constexpr WORD kGrowthLimit = 0x8000;
}  // namespace

void CChangeMarks::Take(const CRegister& reg, const CMemory& mem)
{
    m_reg = reg;
    if (!m_pMemory) m_pMemory = std::make_unique<CMemory>();
    *m_pMemory = mem;
    // Only the words: the copy writes nowhere and tells nobody.
    m_pMemory->SetJournal(nullptr);
    m_pMemory->Watch(nullptr, nullptr, nullptr);
    m_lastRun.reset();
}

WORD CChangeMarks::ChangedFlags(const CRegister& now) const
{
    if (!IsTaken()) return 0;
    return static_cast<WORD>((m_reg[REG_FR] ^ now[REG_FR]) & kShownFlags);
}

bool CChangeMarks::IsRegisterChanged(int index, const CRegister& now) const
{
    if (!IsTaken()) return false;
    if (index == REG_FR) return ChangedFlags(now) != 0;
    return m_reg[index] != now[index];
}

bool CChangeMarks::IsWordChanged(WORD address, const CMemory& now) const
{
    return IsTaken() && m_pMemory->GetWord(address) != now.GetWord(address);
}

bool CChangeMarks::IsStackRowChanged(WORD address, const CRegister& reg, const CMemory& mem) const
{
    if (!IsTaken()) return false;
    if (IsWordChanged(address, mem)) return true;
    const WORD sp = reg[REG_SP];
    const WORD grown = static_cast<WORD>(m_reg[REG_SP] - sp);
    return grown < kGrowthLimit && static_cast<WORD>(address - sp) < grown;
}

bool CChangeMarks::IsWatchChanged(const CWatchInfo& watch, const CRegister& reg, const CMemory& mem,
                                  const CLabelBank* labels) const
{
    if (!IsTaken()) return false;
    return FormatWatchValue(watch, m_reg, *m_pMemory, labels) != FormatWatchValue(watch, reg, mem, labels);
}
