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
            if (line[i] == '\'') inQuote = !inQuote;
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
}  // namespace

void CAssembler::StripComment(std::string& line)
{
    line.resize(WithoutComment(line).size());
}

void CAssembler::AssembleLine(std::string_view line)
{
    ++m_nLine;
    if (TrimLeft(line).empty()) return AddError(line, ERR_EMPTY_LINE);

    const std::string_view stripped = WithoutComment(line);
    if (stripped.empty()) {
        if (m_bKeepStatements) m_program.Add(std::make_unique<CMnemonicComment>(m_wAddress, std::string(line), this));
        return;
    }

    const size_t blank = FindBlank(stripped);
    if (blank == std::string_view::npos) return AddError(line, ERR_NO_OPERATION);

    // An operation in the first column would be read as a label, so a line without a label starts with a blank.
    const std::string_view label = stripped.substr(0, blank);
    std::string_view rest = TrimLeft(stripped.substr(label.empty() ? 0 : blank + 1));
    const size_t opEnd = FindBlank(rest);
    const std::string_view operation = rest.substr(0, opEnd);
    const std::string_view operand = opEnd == std::string_view::npos ? std::string_view() : TrimLeft(rest.substr(opEnd + 1));

    if (m_nPass == 1 && !m_labels.DefineLabel(label, m_wAddress)) return AddError(line, m_labels.GetLastError());

    std::unique_ptr<CMnemonic> statement = CreateMnemonic(std::string(operation), std::string(operand), line);
    if (!statement) return;
    if (!statement->Assemble()) return AddError(line, statement->GetError());

    m_wAddress = static_cast<WORD>(m_wAddress + statement->GetLength());
    if (m_bKeepStatements) m_program.Add(std::move(statement));
    if (m_nPass == 1) m_literals.SetNextAddress(m_wAddress);
}

std::unique_ptr<CMnemonic> CAssembler::CreateMnemonic(std::string operation, std::string operand, std::string_view line)
{
    const COperation* op = FindOperation(operation);
    if (!op) {
        AddError(line, ERR_BAD_OPERATION);
        return nullptr;
    }
    // A statement that is dropped at once needs no copy of its line.
    std::unique_ptr<CMnemonic> statement = op->create(m_wAddress, std::move(operation), std::move(operand),
                                                      m_bKeepStatements ? std::string(line) : std::string(), this);
    statement->InitCode(op->code);
    return statement;
}

void CAssembler::LoadProgram(CMemory& mem) const
{
    m_program.LoadAll(mem);
    m_literals.LoadAll(mem);
}

template <class Lines>
bool CAssembler::RunPasses(const Lines& lines)
{
    // Pass 1 keeps its statements only when it fails (then they are the program that is
    // left): a clean pass 1 drops each statement as soon as it has its length, so the
    // source is held once, by pass 2, and pass 1 runs in memory that stays in cache.
    m_bKeepStatements = false;
    BeginPass(1);
    for (const auto& line : lines) AssembleLine(line);
    m_bKeepStatements = true;
    if (HasErrors()) {
        BeginPass(1);
        for (const auto& line : lines) AssembleLine(line);
    } else {
        BeginPass(2);
        // A line makes at most one statement and one literal.
        m_program.Reserve(lines.size());
        m_literals.Reserve(lines.size());
        for (const auto& line : lines) AssembleLine(line);
    }
    CheckBlocks();
    return !HasErrors();
}

bool CAssembler::AssembleLines(const std::vector<std::string>& lines)
{
    return RunPasses(lines);
}

bool CAssembler::AssembleSource(std::string_view text)
{
    return RunPasses(SplitSourceLineViews(text));
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

namespace {
template <class Line>
std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && text[end - 1] == '\r') --end;
        lines.emplace_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}
}  // namespace

std::vector<std::string> SplitSourceLines(std::string_view text)
{
    return SplitLines<std::string>(text);
}

std::vector<std::string_view> SplitSourceLineViews(std::string_view text)
{
    return SplitLines<std::string_view>(text);
}
