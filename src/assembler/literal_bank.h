#pragma once
#include <memory>
#include <string_view>
#include <vector>
#include "machine/memory.h"

class CLiteral {
public:
    CLiteral(WORD address, std::vector<WORD> words) : m_wAddress(address), m_words(std::move(words)) {}
    virtual ~CLiteral() = default;
    WORD GetAddress() const { return m_wAddress; }
    const std::vector<WORD>& GetWords() const { return m_words; }
    void Load(CMemory& mem) const;

private:
    WORD m_wAddress;
    std::vector<WORD> m_words;
};

// The literal pool behind the program: every "=" operand gets its own entry, in the
// order the operands are met in pass 2, back to back from the pool's start.
class CLiteralBank {
public:
    // Parses the text after "=" and appends it at the next address; null and the
    // last error (2910-2914) when the text is not a literal.
    const CLiteral* AddLiteral(std::string_view text);
    int GetLastError() const { return m_nLastError; }
    void LoadAll(CMemory& mem) const;
    void RemoveAll() { m_literals.clear(); }
    // Room for count literals without moving the list.
    void Reserve(size_t count) { m_literals.reserve(count); }

    WORD GetNextAddress() const { return m_wNextAddress; }
    void SetNextAddress(WORD address) { m_wNextAddress = address; }
    const std::vector<std::unique_ptr<CLiteral>>& GetLiterals() const { return m_literals; }

private:
    std::vector<std::unique_ptr<CLiteral>> m_literals;
    int m_nLastError = 0;
    WORD m_wNextAddress = 0;
};
