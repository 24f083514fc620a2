#include "text/utf8.h"

CUtf8Step DecodeUtf8(std::string_view s, size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return {c, 1, true};
    const size_t expected = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    size_t n = 1;
    char32_t code = c & (0x7F >> expected);
    while (n < expected && i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) {
        code = (code << 6) | (static_cast<unsigned char>(s[i + n]) & 0x3F);
        ++n;
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = expected > 1 && c <= 0xF4 && n == expected && code >= kMin[expected] && code <= 0x10FFFF &&
                       (code < 0xD800 || code > 0xDFFF);
    return {valid ? code : 0, n, valid};
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
