// The operand forms of the machine instructions: r1,r2 / r,adr[,x] / adr[,x] / r / none.
#include "assembler/error_numbers.h"
#include "assembler/instruction_bases.h"

namespace {
// Translates an address token's failure into the number that names its position.
struct PositionErrors {
    int labelName, undefined, decimal, other;
};
constexpr PositionErrors kFirst{ERR_OPERAND1_LABEL_NAME, ERR_OPERAND1_LABEL_UNDEFINED, ERR_OPERAND1_DECIMAL,
                                ERR_OPERAND1};
constexpr PositionErrors kSecond{ERR_OPERAND2_LABEL_NAME, ERR_OPERAND2_LABEL_UNDEFINED, ERR_OPERAND2_DECIMAL,
                                 ERR_OPERAND2};

int Translate(int error, const PositionErrors& p)
{
    switch (error) {
    case ERR_OPERAND_LABEL_NAME: return p.labelName;
    case ERR_OPERAND_LABEL_UNDEFINED: return p.undefined;
    case ERR_DECIMAL_CONSTANT: return p.decimal;
    default: return p.other;
    }
}
}  // namespace

bool CMnemonic::AssembleRegReg(TokenViews tokens)
{
    int r1, r2;
    if (tokens.size() != 2 || !ParseRegister(tokens[0], r1) || !ParseRegister(tokens[1], r2)) return false;
    m_code[0] = static_cast<WORD>(m_code[0] | 0x0400 | (r1 << 4) | r2);
    return true;
}

bool CMnemonic::AssembleRegAdr(TokenViews tokens)
{
    if (tokens.size() != 2 && tokens.size() != 3) return Fail(ERR_OPERAND_COUNT);
    int r, x = 0xF;
    if (!ParseRegister(tokens[0], r)) return Fail(ERR_OPERAND1);
    WORD adr;
    m_nError = 0;
    if (!ParseAddress(tokens[1], adr)) return Fail(Translate(m_nError, kSecond));
    if (tokens.size() == 3 && !ParseIndexRegister(tokens[2], x)) return Fail(ERR_OPERAND3);
    m_code[0] = static_cast<WORD>((m_code[0] & 0xFF00) | (r << 4) | x);
    m_code[1] = adr;
    return true;
}

bool CMnemonic::AssembleAdr(TokenViews tokens)
{
    if (tokens.size() != 1 && tokens.size() != 2) return Fail(ERR_OPERAND_COUNT);
    WORD adr;
    int x = 0xF;
    m_nError = 0;
    if (!ParseAddress(tokens[0], adr)) return Fail(Translate(m_nError, kFirst));
    if (tokens.size() == 2 && !ParseIndexRegister(tokens[1], x)) return Fail(ERR_OPERAND2);
    m_code[0] = static_cast<WORD>((m_code[0] & 0xFFF0) | 0x00F0 | x);
    m_code[1] = adr;
    return true;
}

bool CMnemonic::AssembleReg(TokenViews tokens)
{
    if (tokens.size() != 1) return Fail(ERR_OPERAND_COUNT);
    int r;
    if (!ParseRegister(tokens[0], r)) return Fail(ERR_OPERAND);
    m_code[0] = static_cast<WORD>((m_code[0] & 0xFF0F) | (r << 4) | 0x000F);
    m_code[1] = 0;
    return true;
}

bool CMnemonic::AssembleNoOperand(TokenViews tokens)
{
    if (!tokens.empty()) return Fail(ERR_OPERAND_COUNT);
    m_code[0] &= 0xFF00;
    m_code[1] = 0;
    return true;
}

bool CRegOrAdrInstruction::Assemble()
{
    const CTokenList tokens = OperandTokens();
    m_wLength = 1;
    if (AssembleRegReg(tokens)) return true;
    m_wLength = 2;
    return AssembleRegAdr(tokens);
}
