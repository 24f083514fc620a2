#pragma once
#include <string>
#include <string_view>

// What an executing statement may ask of the program around it: the input and output devices.
class IExecutionHost {
public:
    virtual ~IExecutionHost() = default;

    // The next input line (code page 932 bytes), or false at the end of input.
    virtual bool ReadInputLine(std::string& line) = 0;
    // One output line (code page 932 bytes, no line end).
    virtual void WriteOutputLine(std::string_view text) = 0;
};
