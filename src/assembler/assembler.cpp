#include "assembler/assembler.h"

#include "assembler/error_numbers.h"
#include "assembler/mnemonic_classes.h"
#include "assembler/operand_syntax.h"
#include "assembler/operation_table.h"

void CAssembler::BeginPass(int pass)
{
    m_nPass = pass;
    m_blocks = CBlockCounts{};
    m_nLine = 0;
    m_errors.RemoveAll();
    m_program.RemoveAll();
    m_wAddress = kOrigin;
    if (pass == 1) {
        m_literals.RemoveAll();
        m_labels.RemoveAll();
        m_arena.Clear();
    }
}

namespace {
// The line without its comment and trailing white space: the first ';' outside
// single quotes starts the comment.
std::string_view WithoutComment(std::string_view line)
{
    if (line.find(';') != std::string_view::npos) {  // most lines have no comment at all
        bool inQuote = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\'')
                inQuote = !inQuote;
            else if (line[i] == ';' && !inQuote) {
                line = line.substr(0, i);
                break;
            }
        }
    }
    return TrimRight(line);
}

// Position of the first space or tab, or npos.
size_t FindBlank(std::string_view s)
{
    for (size_t i = 0; i < s.size(); ++i)
        if (IsBlank(s[i])) return i;
    return std::string_view::npos;
}

std::uint32_t OffsetIn(std::string_view line, std::string_view part)
{
    return part.empty() ? 0 : static_cast<std::uint32_t>(part.data() - line.data());
}
}  // namespace

void CAssembler::AssembleLine(std::string_view line)
{
    ++m_nLine;
    if (TrimLeft(line).empty()) return AddError(line, ERR_EMPTY_LINE);

    const std::string_view stripped = WithoutComment(line);
    if (stripped.empty()) {
        CStatementPtr comment(m_arena.Make<CMnemonicComment>(m_wAddress, CStatementText{m_arena.Keep(line)}, this));
        comment->SetLineNumber(static_cast<std::uint32_t>(m_nLine));
        m_program.Add(std::move(comment));
        return;
    }

    const size_t blank = FindBlank(stripped);
    if (blank == std::string_view::npos) return AddError(line, ERR_NO_OPERATION);

    // An operation in the first column would be read as a label, so a line without a label starts with a blank.
    const std::string_view label = stripped.substr(0, blank);
    std::string_view rest = TrimLeft(stripped.substr(label.empty() ? 0 : blank + 1));
    const size_t opEnd = FindBlank(rest);
    const std::string_view operation = rest.substr(0, opEnd);
    const std::string_view operand =
        opEnd == std::string_view::npos ? std::string_view() : TrimLeft(rest.substr(opEnd + 1));

    if (m_nPass == 1 && !m_labels.DefineLabel(label, m_wAddress)) return AddError(line, m_labels.GetLastError());

    CStatementText text{m_arena.Keep(line), OffsetIn(line, operation), static_cast<std::uint32_t>(operation.size()),
                        OffsetIn(line, operand), static_cast<std::uint32_t>(operand.size())};
    CStatementPtr statement = CreateMnemonic(std::move(text));
    if (!statement) return AddError(line, ERR_BAD_OPERATION);
    statement->SetLineNumber(static_cast<std::uint32_t>(m_nLine));
    if (!statement->Assemble()) return AddError(line, statement->GetError());

    m_wAddress = static_cast<WORD>(m_wAddress + statement->GetLength());
    m_program.Add(std::move(statement));
    if (m_nPass == 1) m_literals.SetNextAddress(m_wAddress);
}

CStatementPtr CAssembler::CreateMnemonic(CStatementText&& text)
{
    const COperation* op = FindOperation(text.line.substr(text.operation, text.operationLength));
    if (!op) return nullptr;
    CStatementPtr statement(op->create(m_arena, m_wAddress, std::move(text), this));
    statement->InitCode(op->code);
    return statement;
}

void CAssembler::Reassemble(CMnemonicArray&& statements)
{
    // The same statements, at the addresses pass 2 gives them (the same as pass 1's
    // unless a line fails in this pass, which then ends the assembly anyway).
    for (size_t i = 0; i < statements.GetSize(); ++i) {
        CStatementPtr statement = statements.Take(i);
        m_nLine = static_cast<int>(statement->GetLineNumber());
        statement->SetAddress(m_wAddress);
        if (statement->IsExecutable() || !statement->GetOperation().empty())
            statement->InitCode(statement->GetBaseCode());
        if (!statement->Assemble()) {
            AddError(statement->GetSourceLine(), statement->GetError());
            continue;
        }
        m_wAddress = static_cast<WORD>(m_wAddress + statement->GetLength());
        m_program.Add(std::move(statement));
    }
}

bool CAssembler::AssembleSource(std::string_view text)
{
    BeginPass(1);
    ForEachSourceLine(text, [this](std::string_view line) { AssembleLine(line); });
    if (!HasErrors()) {
        CMnemonicArray statements = std::move(m_program);
        BeginPass(2);
        m_program.Reserve(statements.GetSize());
        m_literals.Reserve(statements.GetSize());
        Reassemble(std::move(statements));
    }
    CheckBlocks();
    return !HasErrors();
}

void CAssembler::LoadProgram(CMemory& mem) const
{
    m_program.LoadAll(mem);
    m_literals.LoadAll(mem);
}

void CAssembler::CheckBlocks()
{
    if (m_blocks.starts == 0) m_errors.Add(-1, std::string(), ERR_NO_START);
    if (m_blocks.starts != m_blocks.ends) m_errors.Add(-1, std::string(), ERR_NO_END);
}

bool CAssembler::LookupLabel(std::string_view name, WORD& value) const
{
    const CLabel* label = m_labels.Lookup(name);
    if (!label) return false;
    value = label->GetValue();
    return true;
}

int CAssembler::AddLiteral(std::string_view text, WORD instructionAddress, WORD& address)
{
    const CLiteral* literal = m_literals.AddLiteral(text);
    if (!literal) return m_literals.GetLastError();
    address = literal->GetAddress();
    m_labels.DefineLiteralLabel(instructionAddress, address);
    return 0;
}
