#include "cli/trace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <vector>

bool CTraceFile::Fail()
{
    if (m_nError == 0) m_nError = errno != 0 ? errno : EIO;
    return false;
}

bool CTraceFile::Open(const std::string& path)
{
    m_path = path;
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    errno = 0;
    if (exists && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return Fail();
    }
    if (exists && !S_ISREG(st.st_mode)) {
        m_fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
        return m_fd >= 0 || Fail();
    }
    // A file there that may not be written is not replaced either.
    if (exists && access(path.c_str(), W_OK) != 0) return Fail();
    std::string name = path + ".tmp-XXXXXX";
    m_fd = mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) return Fail();
    m_temp = name;
    // The table gets the mode a file there has, or that a new file would get.
    mode_t mode = st.st_mode & 07777;
    if (!exists) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(m_fd, mode);
    return true;
}

bool CTraceFile::Write(std::string_view text, std::uint64_t)
{
    if (m_fd < 0 || m_nError != 0) return false;
    while (!text.empty()) {
        const ssize_t n = write(m_fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail();
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool CTraceFile::DropRows(std::uint64_t count)
{
    if (count == 0) return true;
    if (m_fd < 0 || m_nError != 0 || m_temp.empty()) return false;
    // Back from the end to the line feed that ends the row before them.
    off_t end = lseek(m_fd, 0, SEEK_END);
    if (end < 0) return Fail();
    std::vector<char> block(1 << 16);
    std::uint64_t feeds = 0;
    for (off_t at = end; at > 0;) {
        const off_t from = at > static_cast<off_t>(block.size()) ? at - static_cast<off_t>(block.size()) : 0;
        const ssize_t n = pread(m_fd, block.data(), static_cast<size_t>(at - from), from);
        if (n != at - from) return Fail();
        for (ssize_t i = n; i-- > 0;)
            if (block[static_cast<size_t>(i)] == '\n' && ++feeds == count + 1) {
                const off_t cut = from + i + 1;
                return (ftruncate(m_fd, cut) == 0 && lseek(m_fd, cut, SEEK_SET) == cut) || Fail();
            }
        at = from;
    }
    errno = EINVAL;  // fewer rows than that: cannot be
    return Fail();
}

bool CTraceFile::Commit()
{
    if (m_fd < 0 || m_nError != 0) return false;
    const bool direct = m_temp.empty();
    const bool ok = (direct || fsync(m_fd) == 0) && close(m_fd) == 0;
    m_fd = -1;
    if (!ok || (!direct && std::rename(m_temp.c_str(), m_path.c_str()) != 0)) {
        Fail();
        Abort();
        return false;
    }
    m_temp.clear();
    return true;
}

void CTraceFile::Abort()
{
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) unlink(m_temp.c_str());
    m_temp.clear();
}
