#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// Exit statuses shared by the commands.
enum : int { EXIT_USAGE = 64, EXIT_NO_INPUT = 66 };

// The largest source file the commands read.
inline constexpr size_t kMaxSourceBytes = size_t{1} << 30;

// Reads a whole file as bytes; false and a reason when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& reason);

// Collects output and writes it to a stream in large blocks.
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
    void AppendHex4(unsigned value);
    void Flush();

private:
    std::FILE* m_stream;
    std::string m_buffer;
};

int UsageError(const char* message);
