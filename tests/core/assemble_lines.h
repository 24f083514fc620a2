// Source lines for tests: a list of lines as one source text, and a text as its lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "assembler/assembler.h"

inline std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Assembles the lines as the source text they make.
inline bool AssembleLines(CAssembler& assembler, const std::vector<std::string>& lines)
{
    return assembler.AssembleSource(JoinLines(lines));
}

inline std::vector<std::string> SplitSourceLines(std::string_view text)
{
    std::vector<std::string> lines;
    ForEachSourceLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}
