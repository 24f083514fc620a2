#include "simulator/line_reader.h"

#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr size_t kBlock = 1 << 16;
}

// Waits up to waitMs (-1: as long as it takes) for the descriptor, then reads one more
// block after the unread rest.
CLineReader::Fill CLineReader::ReadBlock(int waitMs)
{
    if (m_bError) return Fill::Error;
    if (m_bEnd) return Fill::End;
    pollfd p{m_fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, waitMs);
    // An interrupted wait (Ctrl+C) is a wait with nothing: the caller decides.
    if (ready == 0 || (ready < 0 && errno == EINTR)) return Fill::Nothing;
    if (m_pos > 0) {
        m_buffer.erase(0, m_pos);
        m_pos = 0;
    }
    const size_t old = m_buffer.size();
    m_buffer.resize(old + kBlock);
    const ssize_t n = ::read(m_fd, m_buffer.data() + old, kBlock);
    m_buffer.resize(old + static_cast<size_t>(n > 0 ? n : 0));
    if (n > 0) return Fill::Data;
    if (n == 0) {
        m_bEnd = true;
        return Fill::End;
    }
    if (errno == EINTR || errno == EAGAIN) return Fill::Nothing;
    m_bError = true;
    return Fill::Error;
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

CLineReader::Result CLineReader::ReadLine(std::string& line, const KeepWaiting& keepWaiting)
{
    line.clear();
    bool waited = false;  // a block was asked for in this call
    for (;;) {
        const char* start = m_buffer.data() + m_pos;
        const size_t left = m_buffer.size() - m_pos;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', left));
        const size_t take = lf ? static_cast<size_t>(lf - start) : left;
        if (m_line.size() < kMaxLine + 1) m_line.append(start, std::min(take, kMaxLine + 1 - m_line.size()));
        m_bStarted = m_bStarted || take > 0 || lf;
        m_pos += take;
        if (lf) {
            ++m_pos;
            if (!m_line.empty() && m_line.back() == '\r') m_line.pop_back();
            break;
        }
        if (waited && keepWaiting && !keepWaiting()) return Result::GaveUp;
        waited = true;
        const Fill fill = ReadBlock(keepWaiting ? kWaitMs : -1);
        if (fill == Fill::Error) {
            m_line.clear();
            m_bStarted = false;
            return Result::Error;
        }
        if (fill == Fill::End) {
            if (!m_bStarted) return Result::End;
            break;
        }
    }
    if (m_line.size() > kMaxLine) m_line.resize(kMaxLine);
    line.swap(m_line);
    m_line.clear();
    m_bStarted = false;
    return Result::Line;
}
