#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// Exit statuses shared by the commands.
enum : int { EXIT_USAGE = 64, EXIT_NO_INPUT = 66, EXIT_IO_ERROR = 74 };

// The largest source file the commands read.
inline constexpr size_t kMaxSourceBytes = size_t{1} << 30;

// Reads a whole file as bytes; false and a reason when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& reason);

// Collects output and writes it to a stream in large blocks. A write that fails is
// remembered: the rest is dropped, and the command reports it at the end.
class COutputBuffer {
public:
    explicit COutputBuffer(std::FILE* stream) : m_stream(stream) {}
    ~COutputBuffer() { Flush(); }
    COutputBuffer(const COutputBuffer&) = delete;
    COutputBuffer& operator=(const COutputBuffer&) = delete;

    void Append(std::string_view text)
    {
        m_buffer += text;
        if (m_buffer.size() >= (1u << 16)) Flush();
    }
    // Code page 932 text as UTF-8; pure ASCII goes in as it is.
    void AppendCp932(std::string_view text);
    void AppendHex4(unsigned value);
    // Writes what is collected; false once a write has failed.
    bool Flush();
    bool Failed() const { return m_nError != 0; }
    int GetError() const { return m_nError; }

private:
    std::FILE* m_stream;
    std::string m_buffer;
    int m_nError = 0;  // errno of the first failed write
};

// The end of a command whose standard output could not be written: a message on
// standard error and exit status 74; otherwise status.
int FinishOutput(COutputBuffer& out, int status);

int UsageError(const char* message);
