#include "assembler/mnemonic.h"

#include "assembler/error_numbers.h"
#include "text/tabs.h"

CMnemonic::CMnemonic(WORD address, std::string operation, std::string operand, std::string source,
                     IAssemblyContext* assembler)
    : m_pAssembler(assembler),
      m_strSource(std::move(source)),
      m_strOperand(std::move(operand)),
      m_strOperation(std::move(operation)),
      m_wAddress(address)
{
}

void CMnemonic::SetPassStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const
{
    SetTraceStops(reg, mem, stops);
}

void CMnemonic::SetTraceStops(const CRegister&, const CMemory&, CStopList& stops) const
{
    stops.SetStop(static_cast<WORD>(m_wAddress + m_wLength));
}

bool CMnemonic::Step(CRegister& reg, CMemory& mem, IExecutionHost* host)
{
    if (!VerifyCode(mem)) {
        if (host) host->ShowWarning(ERR_SIM_CODE_OVERWRITTEN);
        return false;
    }
    if (!Execute(reg, mem, host)) return false;
    reg[REG_PR] = GetNextAddress();
    return true;
}

void CMnemonic::LoadCode(CMemory& mem) const
{
    WORD address = m_wAddress;
    for (WORD w : GetImage()) mem.SetWord(address++, w);
}

bool CMnemonic::Execute(CRegister&, CMemory&, IExecutionHost*)
{
    return true;
}

bool CMnemonic::VerifyCode(const CMemory& mem) const
{
    for (int i = 0; i < m_wLength && i < kMaxCode; ++i)
        if (mem.GetWord(static_cast<WORD>(m_wAddress + i)) != m_code[i]) return false;
    return true;
}

std::string CMnemonic::GetExpandedSource(size_t limit) const
{
    return ExpandTabs(m_strSource, limit);
}
