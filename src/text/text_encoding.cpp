#include "text/text_encoding.h"

#include "text/cp932_tables.h"
#include "text/utf8.h"

namespace {
bool IsJapanese(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool IsPrivateUse(char16_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// Whether code page 932 reads every byte as part of a character that is not user-defined.
bool IsCp932Text(std::string_view bytes)
{
    const CCp932Tables& tables = Cp932Tables();
    for (size_t i = 0; i < bytes.size();) {
        size_t length;
        const char16_t c = tables.Decode(bytes, i, length);
        if ((c == 0 && bytes[i] != '\0') || IsPrivateUse(c)) return false;
        i += length;
    }
    return true;
}
}  // namespace

TextEncoding DetectTextEncoding(std::string_view bytes)
{
    if (HasUtf8Bom(bytes)) return TextEncoding::Utf8;
    size_t japanese = 0, twoByte = 0;
    bool ascii = true;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const CUtf8Step step = DecodeUtf8(bytes, i);
        if (!step.valid) return TextEncoding::Cp932;
        i += step.length;
        if (step.length == 1) continue;
        ascii = false;
        if (step.length == 2) ++twoByte;
        if (step.length == 3 && IsJapanese(step.code)) ++japanese;
    }
    if (ascii) return TextEncoding::Cp932;
    if (!IsCp932Text(bytes)) return TextEncoding::Utf8;
    return japanese > twoByte ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::string TextToCp932(std::string_view bytes) { return TextToCp932(bytes, DetectTextEncoding(bytes)); }

std::string TextToCp932(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp932) return std::string(bytes);
    if (HasUtf8Bom(bytes)) bytes.remove_prefix(kUtf8Bom.size());
    const CCp932Tables& tables = Cp932Tables();
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const CUtf8Step step = DecodeUtf8(bytes, i);
        if (!step.valid) {
            out.append(bytes.substr(i, step.length));
        } else if (step.code < 0x80) {
            out += static_cast<char>(step.code);
        } else {
            const std::uint16_t code = step.code < 0x10000 ? tables.encode[step.code] : 0;
            if (code > 0xFF) out += static_cast<char>(code >> 8);
            out += code != 0 ? static_cast<char>(code & 0xFF) : '?';
        }
        i += step.length;
    }
    return out;
}
