#include "web/web_panes.h"

#include <algorithm>
#include "machine/hex.h"
#include "simulator/register_text.h"
#include "simulator/value_entry.h"
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"
#include "text/source_text.h"

void CListingIndex::Build(const CMnemonicArray& program)
{
    m_nRows = static_cast<std::uint32_t>(program.GetSize());
    m_firstExecutable.assign(CMemory::kSize, -1);
    m_last.assign(CMemory::kSize, -1);
    for (std::uint32_t row = 0; row < m_nRows; ++row) {
        const CMnemonic* statement = program[row];
        const WORD at = statement->GetAddress();
        m_last[at] = static_cast<int>(row);
        if (statement->IsExecutable() && m_firstExecutable[at] < 0) m_firstExecutable[at] = static_cast<int>(row);
    }
}

std::vector<CListingRow> MakeListingRows(const CZelkoraDoc& doc, const CListingIndex& index, std::uint32_t first,
                                         std::uint32_t count)
{
    const CMnemonicArray& program = doc.GetAssembler().GetProgram();
    const std::uint32_t end = std::min<std::uint64_t>(index.GetRowCount(), std::uint64_t{first} + count);
    const int prRow = index.ExecutableRowAt(doc.GetCore().GetRegisters()[REG_PR]);
    const auto lastRun = doc.GetChangeMarks().GetLastRun();
    const int lastRunRow = lastRun ? index.ExecutableRowAt(*lastRun) : -1;
    std::vector<CListingRow> rows;
    for (std::uint32_t row = first; row < end; ++row) {
        const CMnemonic* statement = program[row];
        rows.push_back({Hex4(statement->GetAddress()), Cp932LineToShown(statement->GetExpandedSource()),
                        statement->GetLineNumber(), statement->IsExecutable(), statement->HasBreakpoint(),
                        static_cast<int>(row) == prRow, static_cast<int>(row) == lastRunRow});
    }
    return rows;
}

std::vector<CRegisterRow> MakeRegisterRows(const CZelkoraDoc& doc)
{
    const CRegister& reg = doc.GetCore().GetRegisters();
    const CChangeMarks& marks = doc.GetChangeMarks();
    std::vector<CRegisterRow> rows;
    for (int i = 0; i < REG_COUNT; ++i) {
        auto cell = [&](int column) { return FormatRegisterCell(reg, i, column); };
        rows.push_back({std::string(GetRegisterName(i)), cell(REG_COLUMN_HEX), cell(REG_COLUMN_SIGNED),
                        cell(REG_COLUMN_UNSIGNED), cell(REG_COLUMN_BINARY), cell(REG_COLUMN_CHR), reg[i],
                        marks.IsRegisterChanged(i, reg), i == REG_FR ? marks.ChangedFlags(reg) : 0});
    }
    return rows;
}

std::vector<CStackRow> MakeStackRows(const CZelkoraDoc& doc, std::uint32_t count)
{
    const CCometCore& core = doc.GetCore();
    const CRegister& reg = core.GetRegisters();
    std::vector<CStackRow> rows;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto address = static_cast<WORD>(reg[REG_SP] + i);
        rows.push_back({Hex4(address), Hex4(core.GetMemory().GetWord(address)),
                        doc.GetChangeMarks().IsStackRowChanged(address, reg, core.GetMemory())});
    }
    return rows;
}

std::vector<CLabelRow> MakeLabelRows(const CZelkoraDoc& doc, int column, bool descending)
{
    std::vector<const CLabel*> labels;
    for (const CLabel& label : doc.GetAssembler().GetLabels()) labels.push_back(&label);
    std::stable_sort(labels.begin(), labels.end(), [column, descending](const CLabel* a, const CLabel* b) {
        // std::string compares as unsigned bytes, so "_" (5F) follows the capitals and digits.
        const int order = column == 1 ? static_cast<int>(a->GetValue()) - static_cast<int>(b->GetValue())
                                      : a->GetName().compare(b->GetName());
        return descending ? order > 0 : order < 0;
    });
    std::vector<CLabelRow> rows;
    for (const CLabel* label : labels) rows.push_back({Cp932LineToShown(label->GetName()), Hex4(label->GetValue()), label->GetValue()});
    return rows;
}

std::vector<CDumpRow> MakeDumpRows(const CZelkoraDoc& doc, WORD first, std::uint32_t count)
{
    const CMemory& mem = doc.GetCore().GetMemory();
    std::vector<CDumpRow> rows;
    for (unsigned address = first & ~7u; address <= 0xFFFF && rows.size() < count; address += 8) {
        CDumpRow row{Hex4(address), {}, {}, 0};
        for (unsigned k = 0; k < 8; ++k) {
            const auto at = static_cast<WORD>(address + k);
            const WORD word = mem.GetWord(at);
            row.digits += Hex4(word);
            row.characters += IsPrintableWord(word) ? static_cast<char>(word) : '.';
            if (doc.GetChangeMarks().IsWordChanged(at, mem)) row.changed |= 1 << k;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<CWatchRow> MakeWatchRows(const CZelkoraDoc& doc)
{
    const CCometCore& core = doc.GetCore();
    const CLabelBank* labels = &doc.GetAssembler().GetLabels();
    std::vector<CWatchRow> rows;
    for (const auto& watch : doc.GetWatches()) {
        rows.push_back({Cp932ToUtf8(watch->GetTarget()), watch->GetLength(), watch->GetFormat(),
                        Cp932LineToShown(FormatWatchValue(*watch, core.GetRegisters(), core.GetMemory(), labels)),
                        doc.GetChangeMarks().IsWatchChanged(*watch, core.GetRegisters(), core.GetMemory(), labels)});
    }
    return rows;
}
