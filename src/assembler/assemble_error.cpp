#include "assembler/assemble_error.h"

#include "resources/string_table.h"

CAssembleError::CAssembleError(int lineNumber, std::string sourceLine, int errorNumber)
    : m_nLine(lineNumber), m_nError(errorNumber), m_message(LoadString(errorNumber)), m_strSource(std::move(sourceLine))
{
}

std::string CAssembleError::FormatText(int lineNumber, std::string_view message)
{
    std::string text = lineNumber != -1 ? "ERROR #" + std::to_string(lineNumber) + ": " : std::string("ERROR : ");
    text += message;
    return text;
}

void CAssembleErrorArray::RenumberLines(int line, int delta)
{
    for (const auto& error : m_errors) {
        const int n = error->GetLineNumber();
        if (n == -1) continue;
        if (delta >= 1) {
            if (n >= line - delta) error->SetLineNumber(n + delta);
        } else if (n >= line) {
            error->SetLineNumber(n < line - delta ? -1 : n + delta);
        }
    }
}
