#pragma once
#include <cstdio>
#include <string>

// Reads text lines from a stream, one at a time: a line ends at LF, a CR before the
// LF is dropped, and a last line without a line end is still a line. A line longer
// than kMaxLine keeps its first kMaxLine bytes; the rest is read and dropped, so an
// endless line never fills memory.
class CLineReader {
public:
    static constexpr size_t kMaxLine = 1 << 16;
    enum class Result { Line, End, Error };

    explicit CLineReader(std::FILE* stream) : m_stream(stream) {}
    Result ReadLine(std::string& line);

private:
    std::FILE* m_stream;
};
