#include "text/codepage.h"

#include <iconv.h>
#include <cerrno>

namespace {
// One iconv descriptor per direction and thread, opened on first use.
class CConverter {
public:
    CConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CConverter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    // Converts, replacing each unconvertible input sequence (one step of skipBytes) by replacement.
    std::string Convert(std::string_view in, std::string_view replacement, bool* ok, bool utf8Input)
    {
        if (ok) *ok = true;
        std::string out;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            if (ok) *ok = false;
            return std::string(in);
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.reserve(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one character of input and put the replacement in its place.
            if (ok) *ok = false;
            out += replacement;
            size_t skip = 1;
            if (utf8Input) {
                const unsigned char lead = static_cast<unsigned char>(*src);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                if (skip > srcLeft) skip = srcLeft;
                for (size_t i = 1; i < skip; ++i)
                    if ((static_cast<unsigned char>(src[i]) & 0xC0) != 0x80) {
                        skip = i;
                        break;
                    }
            }
            src += skip;
            srcLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        return out;
    }

private:
    iconv_t m_cd;
};
}  // namespace

std::string Cp932ToUtf8(std::string_view cp932)
{
    // Plain ASCII needs no conversion; most source lines are.
    bool ascii = true;
    for (char c : cp932)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return std::string(cp932);
    thread_local CConverter converter("UTF-8", "CP932");
    return converter.Convert(cp932, "\xEF\xBF\xBD", nullptr, false);
}

std::string Utf8ToCp932(std::string_view utf8, bool* ok)
{
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        if (ok) *ok = true;
        return std::string(utf8);
    }
    thread_local CConverter converter("CP932", "UTF-8");
    return converter.Convert(utf8, "?", ok, true);
}

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t n;
        unsigned min;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            min = 0x10000;
        } else
            return false;
        if (i + n >= bytes.size()) return false;
        unsigned cp = c & (0x3F >> n);
        for (size_t k = 1; k <= n; ++k) {
            const unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}
