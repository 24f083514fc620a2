#pragma once
#include <memory>
#include <vector>
#include "assembler/mnemonic.h"

// The program: one statement per line that assembled, in source order.
class CMnemonicArray {
public:
    void Add(std::unique_ptr<CMnemonic> statement)
    {
        m_statements.push_back(std::move(statement));
        m_index.clear();
    }
    void RemoveAll()
    {
        m_statements.clear();
        m_index.clear();
    }
    size_t GetSize() const { return m_statements.size(); }
    // Room for count statements without moving the list.
    void Reserve(size_t count) { m_statements.reserve(count); }
    CMnemonic* operator[](size_t i) const { return m_statements[i].get(); }
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
    // Index of a statement in the list, or -1.
    int IndexOf(const CMnemonic* statement) const;

private:
    void BuildIndex() const;

    std::vector<std::unique_ptr<CMnemonic>> m_statements;
    mutable std::vector<CMnemonic*> m_index;
};
