#include "text/cp932_tables.h"

#include <iconv.h>
#include <string>

namespace {
// One conversion of a few bytes with iconv; false when it refuses them.
bool Convert(iconv_t cd, const std::string& in, std::string& out)
{
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[16];
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) ||
        iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1))
        return false;
    out.assign(buffer, static_cast<size_t>(dst - buffer));
    return true;
}

// The one character of the BMP that UTF-8 text holds, or 0.
char16_t SingleCharacter(const std::string& utf8)
{
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.size() == 1 && s[0] < 0x80) return s[0];
    if (utf8.size() == 2 && (s[0] & 0xE0) == 0xC0) return static_cast<char16_t>(((s[0] & 0x1F) << 6) | (s[1] & 0x3F));
    if (utf8.size() == 3 && (s[0] & 0xF0) == 0xE0)
        return static_cast<char16_t>(((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F));
    return 0;
}

std::string Utf8Of(char16_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// The tables are asked of the system's converter once. (Where it lacks the code page,
// the tables are the one thing to supply.)
CCp932Tables Build()
{
    CCp932Tables t;
    const iconv_t toUtf8 = iconv_open("UTF-8", "CP932");
    const iconv_t fromUtf8 = iconv_open("CP932", "UTF-8");
    for (unsigned b = 0; b < 0x80; ++b) t.single[b] = static_cast<char16_t>(b);
    if (toUtf8 == reinterpret_cast<iconv_t>(-1) || fromUtf8 == reinterpret_cast<iconv_t>(-1)) {
        for (unsigned b = 0; b < 0x80; ++b) t.encode[b] = static_cast<std::uint16_t>(b);
        return t;
    }
    std::string utf8;
    auto decode = [&](const std::string& bytes) -> char16_t {
        return Convert(toUtf8, bytes, utf8) ? SingleCharacter(utf8) : 0;
    };
    for (unsigned b = 0x80; b < 0x100; ++b)
        if (!IsCp932LeadByte(b)) t.single[b] = decode(std::string(1, static_cast<char>(b)));
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(lead)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) t.dual[lead << 8 | trail] = decode({static_cast<char>(lead), static_cast<char>(trail)});
    }
    std::string code;
    for (unsigned c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (!Convert(fromUtf8, Utf8Of(static_cast<char16_t>(c)), code)) continue;
        if (code.size() == 1) t.encode[c] = static_cast<unsigned char>(code[0]);
        if (code.size() == 2)
            t.encode[c] = static_cast<std::uint16_t>(static_cast<unsigned char>(code[0]) << 8 |
                                                     static_cast<unsigned char>(code[1]));
    }
    iconv_close(toUtf8);
    iconv_close(fromUtf8);
    return t;
}
}  // namespace

char16_t CCp932Tables::Decode(std::string_view bytes, size_t i, size_t& length) const
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    length = 1;
    if (b < 0x80) return b;
    if (IsCp932LeadByte(b)) {
        if (i + 1 >= bytes.size()) return 0;
        const char16_t c = dual[b << 8 | static_cast<unsigned char>(bytes[i + 1])];
        if (c != 0) length = 2;
        return c;
    }
    return single[b];
}

bool CCp932Tables::Exact(char16_t c) const
{
    const std::uint16_t code = encode[c];
    if (code == 0) return c == 0;
    return (code > 0xFF ? dual[code] : single[code]) == c;
}

const CCp932Tables& Cp932Tables()
{
    static const CCp932Tables tables = Build();
    return tables;
}
