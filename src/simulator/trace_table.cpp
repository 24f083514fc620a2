#include "simulator/trace_table.h"

#include "assembler/mnemonic_array.h"
#include "machine/hex.h"
#include "simulator/register_text.h"
#include "simulator/run_history.h"
#include "text/codepage.h"

namespace {
void AppendWord(std::string& out, WORD value)
{
    out += ",#";
    out += Hex4(value);
}

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

void AppendRow(std::string& out, std::uint64_t number, WORD address, std::string_view source, const CRegister& after)
{
    out += std::to_string(number);
    AppendWord(out, address);
    out += ',';
    AppendField(out, Cp932ToUtf8(source));
    for (int r = REG_GR0; r <= REG_GR7; ++r) AppendWord(out, after[r]);
    AppendWord(out, after[REG_SP]);
    out += ',';
    out += FormatRegisterCell(after, REG_FR, REG_COLUMN_HEX);
    out += "\r\n";
}

std::string FromSteps(const std::vector<CRunHistory::CStepView>& steps, const CMnemonicArray& program)
{
    std::string out = Header();
    for (const CRunHistory::CStepView& step : steps) {
        const CMnemonic* statement = program.FindExecutable(step.address);
        AppendRow(out, step.number, step.address, statement ? statement->GetExpandedSource() : std::string(),
                  step.after);
    }
    return out;
}
}  // namespace TraceTable
