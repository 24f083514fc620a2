#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "machine/register.h"

class CMnemonicArray;

// The exam's trace table as CSV (UTF-8, one row per executed statement): the step's
// number, the statement's address and source line, and GR0-GR7, SP and FR after it.
// Words are written as "#hhhh" so that a spreadsheet keeps them as they are. When the
// first statements are not in the table (the history dropped them), a line before the
// header says how many; it is one field, so a spreadsheet shows it as one cell.
namespace TraceTable {
// The header row, ending with CR LF like every row.
std::string Header();
// The line before the header when the first before statements are not in the table.
std::string DroppedNote(std::uint64_t before);
}  // namespace TraceTable

// Where the table's text goes, a block at a time. rows: how many rows the text so far
// holds. False when the text cannot be taken (or should not be: cancelled); the writing ends.
class ITraceSink {
public:
    virtual ~ITraceSink() = default;
    virtual bool Write(std::string_view text, std::uint64_t rows) = 0;
};

// Writes the table into a sink in blocks as its rows come, so that the table is never
// held whole. The address and source part of a statement's rows is made once.
class CTraceTableWriter {
public:
    CTraceTableWriter(const CMnemonicArray& program, ITraceSink& sink);
    // The note (when statements before the first row were dropped) and the header.
    bool Begin(std::uint64_t dropped = 0);
    // One row: the statement at address was the number-th, and left the registers after.
    bool AddRow(std::uint64_t number, WORD address, const CRegister& after)
    {
        AppendRow(number, address, after);
        ++m_nRows;
        return m_buffer.size() < kBlock || Flush();
    }
    // Hands what is collected to the sink; false once the sink has refused.
    bool Flush();
    std::uint64_t GetRowCount() const { return m_nRows; }
    // What a row of the statement at address adds to the number and the registers.
    size_t PrefixBytes(WORD address);

    static constexpr size_t kBlock = size_t{1} << 20;

private:
    void AppendRow(std::uint64_t number, WORD address, const CRegister& after);
    const std::string& Prefix(WORD address);

    const CMnemonicArray& m_program;
    ITraceSink& m_sink;
    std::string m_buffer;
    std::uint64_t m_nRows = 0;
    bool m_bFailed = false;
    std::vector<std::uint32_t> m_prefixAt;  // per address: 1 + the index of its prefix, 0 before it is made
    std::vector<std::string> m_prefixes;    // ",#hhhh,source" of each statement met
    std::string m_flags[8];                 // the FR cell for each value of the three flags
};

// A sink that keeps the whole text, for small tables and tests.
class CTraceString final : public ITraceSink {
public:
    bool Write(std::string_view text, std::uint64_t) override
    {
        m_text += text;
        return true;
    }
    std::string& Text() { return m_text; }

private:
    std::string m_text;
};
