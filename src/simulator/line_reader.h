#pragma once
#include <functional>
#include <string>

// Reads text lines from a file descriptor in blocks: a line ends at LF, a CR before
// the LF is dropped, and a last line without a line end is still a line. A line
// longer than kMaxLine keeps its first kMaxLine bytes; the rest is read and dropped,
// so an endless line never fills memory. The descriptor is read with read(), which
// returns what there is: an interactive line is taken as soon as it is typed.
//
// Reading never waits out of the caller's reach: between two blocks of a line that has
// not ended, and whenever the descriptor has had nothing for kWaitMs (a pipe, a
// terminal), the caller's keepWaiting is asked; false gives the line up for now. What
// was read of it stays, and the next ReadLine goes on with it.
class CLineReader {
public:
    static constexpr size_t kMaxLine = 1 << 16;
    static constexpr int kWaitMs = 50;
    enum class Result { Line, End, Error, GaveUp };
    using KeepWaiting = std::function<bool()>;

    explicit CLineReader(int fd) : m_fd(fd) {}
    // Without keepWaiting the read waits as long as the descriptor does.
    Result ReadLine(std::string& line, const KeepWaiting& keepWaiting = {});
    // Whether the next ReadLine can be answered without waiting for the descriptor.
    bool HasBufferedLine() const;
    // Whether reading the descriptor now may wait (nothing buffered and nothing ready).
    bool MayBlock() const;

private:
    enum class Fill { Data, Nothing, End, Error };
    Fill ReadBlock(int waitMs);

    int m_fd;
    std::string m_buffer;
    size_t m_pos = 0;
    bool m_bEnd = false;
    bool m_bError = false;
    // The line being read: its first bytes (one spare for a CR before the LF), and
    // whether anything of it has come.
    std::string m_line;
    bool m_bStarted = false;
};
