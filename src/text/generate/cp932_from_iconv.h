// The code page 932 tables as the system's iconv ("CP932") gives them: the source of the
// generated tables, and what a test holds them against. Native builds only: the
// WebAssembly C library's iconv knows plain Shift-JIS but not the code page's extensions.
#pragma once
#include <iconv.h>
#include <optional>
#include <string>
#include "text/cp932_tables.h"
#include "text/utf8.h"

namespace Cp932FromIconv {

// One conversion of a few bytes; false when iconv refuses them.
inline bool Convert(iconv_t cd, const std::string& in, std::string& out)
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
inline char16_t SingleCharacter(const std::string& utf8)
{
    if (utf8.empty()) return 0;
    const CUtf8Step step = DecodeUtf8(utf8, 0);
    return step.valid && step.length == utf8.size() && step.code < 0x10000 ? static_cast<char16_t>(step.code) : 0;
}

// None when the system has no CP932 converter.
inline std::optional<CCp932Tables> Build()
{
    const iconv_t toUtf8 = iconv_open("UTF-8", "CP932");
    const iconv_t fromUtf8 = iconv_open("CP932", "UTF-8");
    const auto none = reinterpret_cast<iconv_t>(-1);
    if (toUtf8 == none || fromUtf8 == none) {
        if (toUtf8 != none) iconv_close(toUtf8);
        if (fromUtf8 != none) iconv_close(fromUtf8);
        return std::nullopt;
    }
    CCp932Tables t;
    std::string utf8;
    auto decode = [&](const std::string& bytes) -> char16_t {
        return Convert(toUtf8, bytes, utf8) ? SingleCharacter(utf8) : 0;
    };
    for (unsigned b = 0; b < 0x80; ++b) t.single[b] = static_cast<char16_t>(b);
    for (unsigned b = 0x80; b < 0x100; ++b)
        if (!IsCp932LeadByte(b)) t.single[b] = decode(std::string(1, static_cast<char>(b)));
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(lead)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) t.dual[lead << 8 | trail] = decode({static_cast<char>(lead), static_cast<char>(trail)});
    }
    std::string code, character;
    for (unsigned c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        character.clear();
        AppendUtf8(character, c);
        if (!Convert(fromUtf8, character, code)) continue;
        if (code.size() == 1) t.encode[c] = static_cast<unsigned char>(code[0]);
        if (code.size() == 2)
            t.encode[c] = static_cast<std::uint16_t>(static_cast<unsigned char>(code[0]) << 8 |
                                                     static_cast<unsigned char>(code[1]));
    }
    iconv_close(toUtf8);
    iconv_close(fromUtf8);
    return t;
}

}  // namespace Cp932FromIconv
