// Assembles any byte string. Whatever the bytes, the assembler gives a program or error
// records, never more than one error per line, and a program that assembled loads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include "assembler/assembler.h"

namespace {
void Check(bool condition)
{
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitSourceLines(text);

    // One assembler for every input, as a document keeps one: each assembly starts afresh.
    static CAssembler assembler;
    const bool ok = assembler.AssembleSource(text);
    Check(ok == !assembler.HasErrors());

    int previous = 0;
    for (const auto& error : assembler.GetErrors()) {
        const int line = error->GetLineNumber();
        Check(!error->GetMessage().empty());
        if (line == -1) continue;
        Check(line > previous && line <= static_cast<int>(lines.size()));
        Check(error->GetSourceLine() == lines[static_cast<size_t>(line - 1)]);
        previous = line;
    }
    // Every statement is at most one line, at most one statement per line.
    Check(assembler.GetProgram().GetSize() <= lines.size());

    if (ok) {
        Check(assembler.GetStartCount() >= 1 && assembler.GetStartCount() == assembler.GetEndCount());
        static CMemory memory;  // what was there before does not matter here
        assembler.LoadProgram(memory);
    }

    // Line by line gives the same result as the whole text.
    static CAssembler byLines;
    Check(byLines.AssembleLines(lines) == ok);
    Check(byLines.GetErrors().GetListText() == assembler.GetErrors().GetListText());
    Check(byLines.GetProgram().GetSize() == assembler.GetProgram().GetSize());
    return 0;
}
