#include "assembler/mnemonic.h"

#include "assembler/error_numbers.h"
#include "text/tabs.h"

CMnemonic::CMnemonic(WORD address, CStatementText&& text, IAssemblyContext* assembler)
    : m_pAssembler(assembler), m_text(std::move(text)), m_wAddress(address)
{
}

void CMnemonic::SetPassStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const
{
    SetTraceStops(reg, mem, stops);
}

void CMnemonic::SetTraceStops(const CRegister&, const CMemory&, CStopList& stops) const
{
    stops.SetStop(GetNextAddress());
}

void CMnemonic::LoadCode(CMemory& mem) const
{
    WORD address = m_wAddress;
    for (WORD w : GetImage()) mem.SetWord(address++, w);
}

WORD CMnemonic::Execute(CRegister&, CMemory&, IExecutionHost*) const { return GetNextAddress(); }

bool CMnemonic::VerifyCode(const CMemory& mem) const
{
    WORD address = m_wAddress;
    for (WORD w : GetImage())
        if (mem.GetWord(address++) != w) return false;
    return true;
}

std::string CMnemonic::GetExpandedSource(size_t limit) const { return ExpandTabs(m_text.line, limit); }
