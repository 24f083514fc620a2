#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One numbered assembly error, with its 1-based line (-1: it belongs to no line).
class CAssembleError {
public:
    CAssembleError(int lineNumber, std::string sourceLine, int errorNumber);
    virtual ~CAssembleError() = default;

    int GetLineNumber() const { return m_nLine; }
    void SetLineNumber(int line) { m_nLine = line; }
    int GetErrorNumber() const { return m_nError; }
    std::string_view GetMessage() const { return m_message; }
    const std::string& GetSourceLine() const { return m_strSource; }
    // "ERROR #%d: %s", or "ERROR : %s" without a line.
    std::string GetText() const { return FormatText(m_nLine, m_message); }
    static std::string FormatText(int lineNumber, std::string_view message);

private:
    int m_nLine;
    int m_nError;
    std::string_view m_message;  // points into the string table, which lives as long as the program
    std::string m_strSource;
};

class CAssembleErrorArray {
public:
    CAssembleErrorArray() = default;
    CAssembleErrorArray(CAssembleErrorArray&&) = default;
    CAssembleErrorArray& operator=(CAssembleErrorArray&&) = default;
    // A copy holds copies of the errors (a view keeps its own list to renumber).
    CAssembleErrorArray(const CAssembleErrorArray& other) { *this = other; }
    CAssembleErrorArray& operator=(const CAssembleErrorArray& other)
    {
        if (this == &other) return *this;
        m_errors.clear();
        for (const auto& e : other.m_errors) m_errors.push_back(std::make_unique<CAssembleError>(*e));
        return *this;
    }

    void Add(int lineNumber, std::string sourceLine, int errorNumber)
    {
        m_errors.push_back(std::make_unique<CAssembleError>(lineNumber, std::move(sourceLine), errorNumber));
    }
    void RemoveAll() { m_errors.clear(); }
    size_t GetSize() const { return m_errors.size(); }
    bool IsEmpty() const { return m_errors.empty(); }
    CAssembleError& operator[](size_t i) const { return *m_errors[i]; }
    auto begin() const { return m_errors.begin(); }
    auto end() const { return m_errors.end(); }
    // Keeps the errors pointing at their lines after delta lines were inserted (delta > 0)
    // or deleted (delta < 0) with the caret ending on line (1-based): errors at or after
    // the change move with it, errors on deleted lines lose their line (-1).
    void RenumberLines(int line, int delta);

private:
    std::vector<std::unique_ptr<CAssembleError>> m_errors;
};
