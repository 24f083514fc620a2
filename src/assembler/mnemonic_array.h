#pragma once
#include <memory>
#include <vector>
#include "assembler/mnemonic.h"

// The program: one statement per line that assembled, in source order.
class CMnemonicArray {
public:
    void Add(CStatementPtr statement)
    {
        m_statements.push_back(std::move(statement));
        Changed();
    }
    void RemoveAll()
    {
        m_statements.clear();
        Changed();
    }
    size_t GetSize() const { return m_statements.size(); }
    // Room for count statements without moving the list.
    void Reserve(size_t count) { m_statements.reserve(count); }
    CMnemonic* operator[](size_t i) const { return m_statements[i].get(); }
    // Hands statement i over to the caller; its place stays empty until RemoveAll.
    CStatementPtr Take(size_t i)
    {
        Changed();
        return std::move(m_statements[i]);
    }
    // Counts every change of the list, so that a table built from it can tell it is stale.
    unsigned GetRevision() const { return m_nRevision; }
    auto begin() const { return m_statements.begin(); }
    auto end() const { return m_statements.end(); }

    void ClearBreakpoints();
    void LoadAll(CMemory& mem) const;

    // The first executable statement in source order at the address, or null.
    // Looked up in an index built on first use, so the run loop pays constant time.
    CMnemonic* FindExecutable(WORD address) const
    {
        if (m_index.empty()) BuildIndex();
        return m_index[address];
    }

private:
    void BuildIndex() const;
    void Changed()
    {
        m_index.clear();
        ++m_nRevision;
    }

    std::vector<CStatementPtr> m_statements;
    mutable std::vector<CMnemonic*> m_index;
    unsigned m_nRevision = 0;
};
