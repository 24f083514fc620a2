#pragma once
#include <string>
#include <string_view>

// What an executing statement may ask of the program around it: the input and output devices.
class IExecutionHost {
public:
    virtual ~IExecutionHost() = default;

    // The next input line (code page 932 bytes), or false at the end of input.
    virtual bool ReadInputLine(std::string& line) = 0;
    // Whether the last ReadInputLine was given up while it waited (a Stop): then no line
    // was read and the statement does not happen.
    virtual bool InputGivenUp() const { return false; }
    // Whether that read was given up because no line was waiting and the host cannot wait
    // for one (a page, whose machine must never block): the run then ends waiting for input.
    virtual bool InputAwaited() const { return false; }
    // One output line (code page 932 bytes, no line end).
    virtual void WriteOutputLine(std::string_view text) = 0;
};
