#include "assembler/mnemonic_array.h"

void CMnemonicArray::ClearBreakpoints()
{
    for (auto& s : m_statements) s->SetBreakpoint(false);
}

void CMnemonicArray::LoadAll(CMemory& mem) const
{
    for (const auto& s : m_statements) s->LoadCode(mem);
}

void CMnemonicArray::BuildIndex() const
{
    m_index.assign(CMemory::kSize, nullptr);
    // Walking backwards leaves the first statement in source order at each address.
    for (auto it = m_statements.rbegin(); it != m_statements.rend(); ++it)
        if ((*it)->IsExecutable()) m_index[(*it)->GetAddress()] = it->get();
}
