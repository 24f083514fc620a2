#include "assembler/literal_bank.h"

#include "assembler/error_numbers.h"
#include "assembler/operand_syntax.h"

void CLiteral::Load(CMemory& mem) const
{
    WORD address = m_wAddress;
    for (WORD w : m_words) mem.SetWord(address++, w);
}

const CLiteral* CLiteralBank::AddLiteral(std::string_view text)
{
    std::vector<WORD> words;
    const int error = ParseConstant(text, kLiteralErrors, words);
    if (error) {
        m_nLastError = error;
        return nullptr;
    }
    const WORD address = m_wNextAddress;
    m_wNextAddress = static_cast<WORD>(m_wNextAddress + words.size());
    m_literals.push_back(std::make_unique<CLiteral>(address, std::move(words)));
    return m_literals.back().get();
}

void CLiteralBank::LoadAll(CMemory& mem) const
{
    for (const auto& literal : m_literals) literal->Load(mem);
}
