// Assembling START, END, DS, DC and the macros IN, OUT, RPUSH, RPOP.
#include "assembler/error_numbers.h"
#include "assembler/mnemonic_classes.h"
#include "assembler/operand_syntax.h"

bool CMnemonicSTART::Assemble()
{
    CBlockCounts& blocks = m_pAssembler->GetBlockCounts();
    if (blocks.starts > blocks.ends) return Fail(ERR_START_TWICE);
    if (blocks.starts == 0 && m_wAddress != 0x0100) return Fail(ERR_START_NOT_FIRST);
    ++blocks.starts;
    m_wEntry = m_wAddress;
    if (!GetOperand().empty() && !ResolveLabel(GetOperand(), m_wEntry)) return false;
    if (blocks.starts == 1) blocks.entry = m_wEntry;
    return true;
}

bool CMnemonicEND::Assemble()
{
    CBlockCounts& blocks = m_pAssembler->GetBlockCounts();
    if (blocks.starts <= blocks.ends) return Fail(ERR_END_TWICE);
    ++blocks.ends;
    return GetOperand().empty() || Fail(ERR_OPERAND_NOT_ALLOWED);
}

bool CMnemonicDS::Assemble()
{
    if (GetOperand().empty()) return Fail(ERR_OPERAND_MISSING);
    long count;
    if (!ParseDecimal(GetOperand(), count)) return Fail(ERR_DECIMAL_CONSTANT);
    if (count < 0) return Fail(ERR_DECIMAL_NEGATIVE);
    m_wLength = static_cast<WORD>(count);
    return true;
}

bool CMnemonicDC::Assemble()
{
    if (GetOperand().empty()) return Fail(ERR_OPERAND_MISSING);
    m_words.clear();
    const CTokenList tokens = OperandTokens();
    size_t words = 0;  // one word per constant, one per character of a string
    for (const std::string_view token : tokens) words += token.size() > 2 && token[0] == '\'' ? token.size() - 2 : 1;
    m_words.reserve(words);
    for (const std::string_view token : tokens) {
        if (!token.empty() && token[0] >= 'A' && token[0] <= 'Z') {
            WORD value;
            if (!ResolveLabel(token, value)) return false;
            m_words.push_back(value);
        } else if (const int error = ParseConstant(token, kDcErrors, m_words)) {
            return Fail(error);
        }
    }
    m_wLength = static_cast<WORD>(m_words.size());
    return true;
}

bool CMnemonicIN::Assemble()
{
    const CTokenList tokens = OperandTokens();
    if (tokens.size() != 2) return Fail(ERR_OPERAND_COUNT);
    if (!ResolveLabel(tokens[0], m_wBuffer) || !ResolveLabel(tokens[1], m_wLengthWord)) return false;
    // The standard expansion: PUSH 0,GR1 / PUSH 0,GR2 / LAD GR1,buf / LAD GR2,len / SVC n / POP GR2 / POP GR1.
    const WORD words[12] = {0x7001, 0x0000,        0x7002, 0x0000,         0x121F, m_wBuffer,
                            0x122F, m_wLengthWord, 0xF00F, GetSvcNumber(), 0x7120, 0x7110};
    std::copy(std::begin(words), std::end(words), m_code);
    return true;
}

bool CMnemonicRPUSH::Assemble()
{
    for (int k = 1; k <= 7; ++k) {
        m_code[2 * (k - 1)] = static_cast<WORD>(0x70F0 | k);  // PUSH 0,GRk
        m_code[2 * (k - 1) + 1] = 0;
    }
    return true;
}

bool CMnemonicRPOP::Assemble()
{
    for (int k = 7; k >= 1; --k) m_code[7 - k] = static_cast<WORD>(0x710F | (k << 4));  // POP GRk
    return true;
}
