#include "assembler/assemble_error.h"

#include "resources/string_table.h"

CAssembleError::CAssembleError(int lineNumber, std::string sourceLine, int errorNumber)
    : m_nLine(lineNumber), m_nError(errorNumber), m_message(LoadString(errorNumber)), m_strSource(std::move(sourceLine))
{
}

std::string CAssembleError::GetText() const
{
    std::string text = m_nLine != -1 ? "ERROR #" + std::to_string(m_nLine) + ": " : std::string("ERROR : ");
    text += m_message;
    return text;
}

std::string CAssembleErrorArray::GetListText() const
{
    std::string text;
    for (const auto& error : m_errors) {
        text += error->GetText();
        text += "\r\n";
    }
    return text;
}
