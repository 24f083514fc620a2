#include "assembler/label_bank.h"

#include "assembler/error_numbers.h"
#include "assembler/operand_syntax.h"
#include "machine/register.h"

bool CLabelBank::DefineLabel(std::string_view name, WORD address)
{
    if (name.empty()) return true;
    if (const int error = CheckLabelName(name)) {
        m_nLastError = error;
        return false;
    }
    const int reg = FindRegisterIndex(name);
    if (reg >= REG_GR0 && reg <= REG_GR7) {
        m_nLastError = ERR_LABEL_REGISTER;
        return false;
    }
    auto [it, added] = m_map.try_emplace(std::string(name), nullptr);
    if (!added) {
        m_nLastError = ERR_LABEL_DUPLICATE;
        return false;
    }
    it->second = std::make_unique<CLabel>(std::string(name), address);
    return true;
}

std::string CLabelBank::LiteralLabelName(WORD instructionAddress)
{
    // "__%04X__", formatted by hand: this runs for every literal operand.
    static const char kDigits[] = "0123456789ABCDEF";
    std::string name = "__0000__";
    for (int i = 5, value = instructionAddress; i >= 2; --i, value >>= 4) name[i] = kDigits[value & 0xF];
    return name;
}

bool CLabelBank::DefineLiteralLabel(WORD instructionAddress, WORD literalAddress)
{
    std::string name = LiteralLabelName(instructionAddress);
    auto [it, added] = m_map.try_emplace(name, nullptr);
    if (!added) {
        m_nLastError = ERR_LABEL_DUPLICATE;
        return false;
    }
    it->second = std::make_unique<CLabel>(std::move(name), literalAddress);
    return true;
}

const CLabel* CLabelBank::Lookup(std::string_view name) const
{
    auto it = m_map.find(name);
    return it == m_map.end() ? nullptr : it->second.get();
}
