#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "machine/register.h"
#include "simulator/run_history.h"

class CMnemonicArray;

// The exam's trace table as CSV (UTF-8, one row per executed statement): the step's
// number, the statement's address and source line, and GR0-GR7, SP and FR after it.
// Words are written as "#hhhh" so that a spreadsheet keeps them as they are.
namespace TraceTable {
// The header row, ending with CR LF like every row.
std::string Header();
// One row; source is the statement's line in code page 932.
void AppendRow(std::string& out, std::uint64_t number, WORD address, std::string_view source, const CRegister& after);
// The whole table of the given statements' steps, as the history lists them.
std::string FromSteps(const std::vector<CRunHistory::CStepView>& steps, const CMnemonicArray& program);
}  // namespace TraceTable
