#pragma once
#include <string>

// Reads text lines from a file descriptor in blocks: a line ends at LF, a CR before
// the LF is dropped, and a last line without a line end is still a line. A line
// longer than kMaxLine keeps its first kMaxLine bytes; the rest is read and dropped,
// so an endless line never fills memory. The descriptor is read with read(), which
// returns what there is: an interactive line is taken as soon as it is typed.
class CLineReader {
public:
    static constexpr size_t kMaxLine = 1 << 16;
    enum class Result { Line, End, Error };

    explicit CLineReader(int fd) : m_fd(fd) {}
    Result ReadLine(std::string& line);
    // Whether the next ReadLine can be answered without waiting for the descriptor.
    bool HasBufferedLine() const;
    // Whether reading the descriptor now may wait (nothing buffered and nothing ready).
    bool MayBlock() const;

private:
    bool Fill();

    int m_fd;
    std::string m_buffer;
    size_t m_pos = 0;
    bool m_bEnd = false;
    bool m_bError = false;
};
