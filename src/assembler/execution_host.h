#pragma once
#include <string>

// What an executing statement may ask of the program's document: the input and
// output devices, and a warning box for a simulation error.
class IExecutionHost {
public:
    virtual ~IExecutionHost() = default;

    // The next input line (code page 932 bytes), or false at the end of input.
    virtual bool ReadInputLine(std::string& line) = 0;
    // One output line (code page 932 bytes, no line end).
    virtual void WriteOutputLine(const std::string& text) = 0;
    // Shows a string-table message as a warning box.
    virtual void ShowWarning(int messageId) = 0;
};
