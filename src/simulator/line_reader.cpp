#include "simulator/line_reader.h"

#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kBlock = 1 << 16;
}

bool CLineReader::Fill()
{
    if (m_bEnd || m_bError) return false;
    // Keep the unread rest, then read one more block after it.
    if (m_pos > 0) {
        m_buffer.erase(0, m_pos);
        m_pos = 0;
    }
    const size_t old = m_buffer.size();
    m_buffer.resize(old + kBlock);
    const ssize_t n = ::read(m_fd, m_buffer.data() + old, kBlock);
    m_buffer.resize(old + static_cast<size_t>(n > 0 ? n : 0));
    if (n == 0) m_bEnd = true;
    if (n < 0) m_bError = true;  // also an interrupted wait (Ctrl+C): the run then stops
    return n > 0;
}

bool CLineReader::HasBufferedLine() const
{
    return std::memchr(m_buffer.data() + m_pos, '\n', m_buffer.size() - m_pos) != nullptr || m_bEnd || m_bError;
}

bool CLineReader::MayBlock() const
{
    if (HasBufferedLine()) return false;
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 0;
}

CLineReader::Result CLineReader::ReadLine(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        const char* start = m_buffer.data() + m_pos;
        const size_t left = m_buffer.size() - m_pos;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', left));
        const size_t take = lf ? static_cast<size_t>(lf - start) : left;
        // One spare byte beyond the longest line, for a CR before the LF.
        if (line.size() < kMaxLine + 1) line.append(start, std::min(take, kMaxLine + 1 - line.size()));
        any = any || take > 0 || lf;
        m_pos += take;
        if (lf) {
            ++m_pos;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            break;
        }
        if (!Fill()) {
            if (m_bError) return Result::Error;
            if (!any) return Result::End;
            break;
        }
    }
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    return Result::Line;
}
