#include "simulator/trace_table.h"

#include <charconv>
#include "assembler/mnemonic_array.h"
#include "machine/hex.h"
#include "simulator/register_text.h"
#include "text/codepage.h"

namespace {
// A field that holds a comma, a quote or a line break is quoted, its quotes doubled.
void AppendField(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}
}  // namespace

namespace TraceTable {
std::string Header() { return "step,address,source,GR0,GR1,GR2,GR3,GR4,GR5,GR6,GR7,SP,FR\r\n"; }

std::string DroppedNote(std::uint64_t before)
{
    // No comma, no semicolon: one cell in every spreadsheet's reading of CSV.
    const std::string n = std::to_string(before);
    return "# statements 1 to " + n + " were dropped from the step-back history: the table starts at step " +
           std::to_string(before + 1) + "\r\n";
}
}  // namespace TraceTable

CTraceTableWriter::CTraceTableWriter(const CMnemonicArray& program, ITraceSink& sink)
    : m_program(program), m_sink(sink), m_prefixAt(65536, 0)
{
    m_buffer.reserve(kBlock + 4096);
    CRegister reg;
    for (WORD f = 0; f < 8; ++f) {
        reg[REG_FR] = f;
        m_flags[f] = ',';
        m_flags[f] += FormatRegisterCell(reg, REG_FR, REG_COLUMN_HEX);
        m_flags[f] += "\r\n";
    }
}

bool CTraceTableWriter::Begin(std::uint64_t dropped)
{
    if (dropped > 0) m_buffer += TraceTable::DroppedNote(dropped);
    m_buffer += TraceTable::Header();
    return Flush();
}

const std::string& CTraceTableWriter::Prefix(WORD address)
{
    std::uint32_t& at = m_prefixAt[address];
    if (at == 0) {
        const CMnemonic* statement = m_program.FindExecutable(address);
        std::string prefix = ",#";
        prefix += Hex4(address);
        prefix += ',';
        AppendField(prefix, Cp932ToUtf8(statement ? statement->GetExpandedSource() : std::string()));
        m_prefixes.push_back(std::move(prefix));
        at = static_cast<std::uint32_t>(m_prefixes.size());
    }
    return m_prefixes[at - 1];
}

size_t CTraceTableWriter::PrefixBytes(WORD address) { return Prefix(address).size(); }

void CTraceTableWriter::AppendRow(std::uint64_t number, WORD address, const CRegister& after)
{
    char text[24 + 10 * 6];
    char* at = std::to_chars(text, text + 24, number).ptr;
    const std::string& prefix = Prefix(address);
    m_buffer.append(text, at);
    m_buffer += prefix;
    at = text;
    for (int r = REG_GR0; r <= REG_SP; ++r, at += 6) {
        at[0] = ',';
        at[1] = '#';
        PutHex4(at + 2, after[r]);
    }
    m_buffer.append(text, at);
    m_buffer += m_flags[after[REG_FR] & 7];
}

bool CTraceTableWriter::Flush()
{
    if (!m_bFailed && !m_buffer.empty() && !m_sink.Write(m_buffer, m_nRows)) m_bFailed = true;
    m_buffer.clear();
    return !m_bFailed;
}
