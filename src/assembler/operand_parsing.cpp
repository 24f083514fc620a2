// Reading one operand token: registers, addresses, labels and literals.
#include "assembler/error_numbers.h"
#include "assembler/mnemonic.h"
#include "assembler/operand_syntax.h"

bool CMnemonic::ParseRegister(std::string_view token, int& reg)
{
    if (token.size() != 3 || token[0] != 'G' || token[1] != 'R' || token[2] < '0' || token[2] > '7') return false;
    reg = token[2] - '0';
    return true;
}

bool CMnemonic::ParseIndexRegister(std::string_view token, int& reg) { return ParseRegister(token, reg) && reg != 0; }

bool CMnemonic::ParseAddress(std::string_view token, WORD& value)
{
    if (token.empty()) return false;
    const char first = token[0];
    if (first >= 'A' && first <= 'Z') return ResolveLabel(token, value);
    if (first == '=') return ResolveLiteral(token.substr(1), value);
    if (first == '#') return ParseHexConstant(token, value) || Fail(ERR_HEX_CONSTANT);
    long number;
    if (!ParseDecimal(token, number)) return Fail(ERR_DECIMAL_CONSTANT);
    value = static_cast<WORD>(number);
    return true;
}

bool CMnemonic::ResolveLabel(std::string_view token, WORD& value)
{
    if (CheckLabelName(token) != 0) return Fail(ERR_OPERAND_LABEL_NAME);
    value = 0;
    if (GetPass() == 1) return true;
    if (!m_pAssembler->LookupLabel(token, value)) return Fail(ERR_OPERAND_LABEL_UNDEFINED);
    return true;
}

bool CMnemonic::ResolveLiteral(std::string_view text, WORD& value)
{
    value = 0;
    if (GetPass() == 1) return true;
    const int error = m_pAssembler->AddLiteral(text, m_wAddress, value);
    return error == 0 || Fail(error);
}
