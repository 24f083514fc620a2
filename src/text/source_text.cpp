#include "text/source_text.h"

#include <cstdint>
#include <vector>
#include "text/codepage.h"

namespace {
bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The one code point of a UTF-8 text that holds exactly one character of the BMP, or 0.
char16_t SingleCharacter(const std::string& utf8)
{
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.size() == 1 && s[0] < 0x80) return s[0];
    if (utf8.size() == 2 && (s[0] & 0xE0) == 0xC0) return static_cast<char16_t>(((s[0] & 0x1F) << 6) | (s[1] & 0x3F));
    if (utf8.size() == 3 && (s[0] & 0xF0) == 0xE0)
        return static_cast<char16_t>(((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F));
    return 0;
}

// Every code of code page 932 that round-trips, in both directions, found once with
// the converter: decoding and encoding are then plain look-ups.
struct CCodeTables {
    std::vector<char16_t> single = std::vector<char16_t>(256, 0);              // byte -> character, 0: none
    std::vector<char16_t> dual = std::vector<char16_t>(65536, 0);              // lead << 8 | trail -> character
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(65536, 0);  // character -> code, 0: none

    CCodeTables()
    {
        for (unsigned b = 0; b < 0x80; ++b) {
            single[b] = static_cast<char16_t>(b);
            encode[b] = static_cast<std::uint16_t>(b);
        }
        for (unsigned b = 0x80; b < 0x100; ++b)
            if (!IsLeadByte(b)) Add(std::string(1, static_cast<char>(b)), b, single[b]);
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(lead)) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
                Add(bytes, lead << 8 | trail, dual[lead << 8 | trail]);
            }
        }
    }
    void Add(const std::string& bytes, unsigned code, char16_t& slot)
    {
        const std::string utf8 = Cp932ToUtf8(bytes);
        const char16_t c = SingleCharacter(utf8);
        if (c == 0 || c == 0xFFFD || (c >= kKeptByteBase && c <= kKeptByteBase + 0xFF)) return;
        bool ok = false;
        if (Utf8ToCp932(utf8, &ok) != bytes || !ok) return;
        slot = c;
        encode[c] = static_cast<std::uint16_t>(code);
    }
};

const CCodeTables& Tables()
{
    static const CCodeTables tables;
    return tables;
}
}  // namespace

std::u16string SourceBytesToUtf16(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    const CCodeTables* tables = nullptr;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += static_cast<char16_t>(b);
            continue;
        }
        if (!tables) tables = &Tables();
        if (IsLeadByte(b) && i + 1 < bytes.size()) {
            const char16_t c = tables->dual[b << 8 | static_cast<unsigned char>(bytes[i + 1])];
            if (c != 0) {
                text += c;
                ++i;
                continue;
            }
        }
        const char16_t c = tables->single[b];
        text += c != 0 ? c : static_cast<char16_t>(kKeptByteBase + b);
    }
    return text;
}

std::string Utf16ToSourceBytes(std::u16string_view text, bool* ok)
{
    if (ok) *ok = true;
    std::string bytes;
    bytes.reserve(text.size());
    const CCodeTables* tables = nullptr;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        if (c >= kKeptByteBase && c <= kKeptByteBase + 0xFF) {
            bytes += static_cast<char>(c - kKeptByteBase);
            continue;
        }
        if (!tables) tables = &Tables();
        const std::uint16_t code = tables->encode[c];
        if (code == 0) {
            // Outside code page 932; a character beyond the BMP is one '?' for its two halves.
            bytes += '?';
            if (ok) *ok = false;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                ++i;
        } else if (code > 0xFF) {
            bytes += static_cast<char>(code >> 8);
            bytes += static_cast<char>(code & 0xFF);
        } else {
            bytes += static_cast<char>(code);
        }
    }
    return bytes;
}
