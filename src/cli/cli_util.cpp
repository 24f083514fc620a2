#include "cli/cli_util.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstring>
#include <fstream>
#include "machine/hex.h"
#include "text/codepage.h"

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& reason)
{
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        reason = "is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno);
        return false;
    }
    bytes.clear();
    if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<size_t>(st.st_size));
    char block[1 << 16];
    while (in) {
        in.read(block, sizeof block);
        bytes.append(block, static_cast<size_t>(in.gcount()));
        // A device or pipe without end (/dev/zero) must not fill memory.
        if (bytes.size() > kMaxSourceBytes) {
            reason = "larger than 1 GiB";
            return false;
        }
    }
    if (in.bad()) {
        reason = "read error";
        return false;
    }
    return true;
}

void COutputBuffer::AppendHex4(unsigned value)
{
    char text[4];
    PutHex4(text, value);
    Append(std::string_view(text, 4));
}

void COutputBuffer::AppendCp932(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return Append(Cp932ToUtf8(text));
    Append(text);
}

bool COutputBuffer::Flush()
{
    if (m_nError == 0) {
        errno = 0;
        const bool written =
            m_buffer.empty() || std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream) == m_buffer.size();
        if (!written || std::fflush(m_stream) != 0) m_nError = errno != 0 ? errno : EIO;
    }
    m_buffer.clear();
    return m_nError == 0;
}

int FinishOutput(COutputBuffer& out, int status)
{
    if (out.Flush()) return status;
    std::fprintf(stderr, "zelkora-cli: cannot write standard output: %s\n", std::strerror(out.GetError()));
    return EXIT_IO_ERROR;
}

int UsageError(const char* message)
{
    std::fprintf(stderr,
                 "zelkora-cli: %s\n"
                 "usage: zelkora-cli asm [--image] [--labels] FILE.asm\n"
                 "       zelkora-cli run [--in FILE] [--out FILE] [--max-steps N] [--trace] [--trace-table FILE.csv]\n"
                 "                       [--back N [--forward]] [--state] [--dump-memory HHHH:N] [--stats] FILE.asm\n"
                 "       zelkora-cli test [--csv FILE] [--junit FILE] [--jobs N] TESTFILE FILE.asm|FOLDER...\n",
                 message);
    return EXIT_USAGE;
}
