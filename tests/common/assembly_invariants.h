// What holds for the assembly of any source text, checked by the robustness tests and
// the fuzz targets alike: at most one error per line, in line order and with the
// line's text; at most one statement per line; a program that assembled has matching
// START and END blocks and loads.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "assembler/assembler.h"

// Empty when every invariant holds after assembler.AssembleSource(text) gave ok; else what failed.
inline std::string CheckAssemblyInvariants(const CAssembler& assembler, std::string_view text, bool ok)
{
    std::vector<std::string_view> lines;
    ForEachSourceLine(text, [&](std::string_view line) { lines.push_back(line); });
    if (ok != !assembler.HasErrors()) return "the result disagrees with the error list";
    int previous = 0;
    for (const auto& error : assembler.GetErrors()) {
        const int line = error->GetLineNumber();
        if (error->GetMessage().empty()) return "error " + std::to_string(error->GetErrorNumber()) + " has no text";
        if (line == -1) continue;
        if (line <= previous) return "two errors on line " + std::to_string(line) + ", or out of order";
        if (line > static_cast<int>(lines.size())) return "an error beyond the last line";
        if (error->GetSourceLine() != lines[static_cast<size_t>(line - 1)]) return "an error with another line's text";
        previous = line;
    }
    if (assembler.GetProgram().GetSize() > lines.size()) return "more statements than lines";
    if (!ok) return std::string();
    int starts = 0, ends = 0;
    for (const auto& statement : assembler.GetProgram()) {
        starts += statement->GetOperation() == "START";
        ends += statement->GetOperation() == "END";
    }
    if (starts < 1 || starts != ends) return "a program without complete blocks";
    CMemory memory;
    assembler.LoadProgram(memory);
    return std::string();
}
