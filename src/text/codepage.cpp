#include "text/codepage.h"

#include "text/cp932_tables.h"
#include "text/utf8.h"

namespace {
bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}
}  // namespace

std::string Cp932ToUtf8(std::string_view cp932)
{
    // Plain ASCII needs no conversion; most source lines are.
    if (IsAscii(cp932)) return std::string(cp932);
    const CCp932Tables& tables = Cp932Tables();
    std::string out;
    out.reserve(cp932.size() * 3 / 2 + 8);
    for (size_t i = 0; i < cp932.size();) {
        size_t length;
        const char16_t c = tables.Decode(cp932, i, length);
        AppendUtf8(out, c != 0 || cp932[i] == '\0' ? c : 0xFFFD);
        i += length;
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8, bool* ok)
{
    if (ok) *ok = true;
    if (IsAscii(utf8)) return std::string(utf8);
    const CCp932Tables& tables = Cp932Tables();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const CUtf8Step step = DecodeUtf8(utf8, i);
        i += step.length;
        const std::uint16_t code = step.valid && step.code < 0x10000 ? tables.encode[step.code] : 0;
        if (step.valid && step.code < 0x80) {
            out += static_cast<char>(step.code);
        } else if (code == 0) {
            out += '?';
            if (ok) *ok = false;
        } else {
            if (code > 0xFF) out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const CUtf8Step step = DecodeUtf8(bytes, i);
        if (!step.valid) return false;
        i += step.length;
    }
    return true;
}
