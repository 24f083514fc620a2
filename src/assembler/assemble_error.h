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
    // One GetText per line, each followed by CR LF.
    std::string GetListText() const;

private:
    std::vector<std::unique_ptr<CAssembleError>> m_errors;
};
