#include "text/source_text.h"

#include <algorithm>
#include "text/cp932_tables.h"
#include "text/utf8.h"

namespace {
char16_t Kept(unsigned char b) { return static_cast<char16_t>(kKeptByteBase + b); }

// Characters that the editor does not hold as themselves: the kept bytes' own range,
// and those it takes for line or frame breaks.
bool EditorCannotHold(char32_t c)
{
    return (c >= kKeptByteBase && c <= kKeptByteBase + 0xFF) || c == 0x2028 || c == 0x2029 || c == 0xFDD0 ||
           c == 0xFDD1;
}

// Lines cut at CR LF or LF; a CR before anything else is a kept byte.
CDecodedSource SplitLines(std::u16string&& decoded, CSourceFormat format)
{
    CDecodedSource source;
    std::vector<bool> crlf;  // per line end, in order
    size_t crlfCount = 0;
    // In place: the text only shrinks (a CR LF becomes one character).
    char16_t* out = decoded.data();
    const char16_t* const end = decoded.data() + decoded.size();
    for (const char16_t* in = decoded.data(); in < end; ++in) {
        const char16_t c = *in;
        if (c == u'\r') {
            if (in + 1 < end && in[1] == u'\n') {
                crlf.push_back(true);
                ++crlfCount;
                *out++ = u'\n';
                ++in;
            } else {
                *out++ = Kept('\r');
            }
        } else {
            if (c == u'\n') crlf.push_back(false);
            *out++ = c;
        }
    }
    decoded.resize(static_cast<size_t>(out - decoded.data()));
    source.text = std::move(decoded);
    const size_t lfCount = crlf.size() - crlfCount;
    format.lineEnd = lfCount > crlfCount ? LineEnd::Lf : LineEnd::CrLf;
    format.mixed = lfCount > 0 && crlfCount > 0;
    if (format.mixed)
        for (size_t line = 0; line < crlf.size(); ++line)
            if (crlf[line] != (format.lineEnd == LineEnd::CrLf))
                source.otherEnds.push_back(static_cast<std::uint32_t>(line));
    source.format = format;
    return source;
}
}  // namespace

std::u16string SourceBytesToUtf16(std::string_view bytes)
{
    // Written through a pointer: most of a file is ASCII, and appending a character at a time costs more than it does.
    std::u16string text(bytes.size(), u'\0');
    char16_t* out = text.data();
    const CCp932Tables* tables = nullptr;
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *out++ = b;
            ++i;
            continue;
        }
        if (!tables) tables = &Cp932Tables();
        size_t length;
        const char16_t c = tables->Decode(bytes, i, length);
        // Only a code that the character is written with again stands for the character.
        const std::uint16_t code =
            length == 2 ? static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(bytes[i + 1])) : b;
        if (c != 0 && tables->encode[c] == code && !EditorCannotHold(c)) {
            *out++ = c;
            i += length;
        } else {
            *out++ = Kept(b);
            ++i;
        }
    }
    text.resize(static_cast<size_t>(out - text.data()));
    return text;
}

std::u16string Cp932LineToShown(std::string_view bytes)
{
    std::u16string text = SourceBytesToUtf16(bytes);
    for (char16_t& c : text)
        if (c == u'\r') c = Kept('\r');
    return text;
}

std::u16string Utf8SourceToUtf16(std::string_view bytes)
{
    // Never more UTF-16 units than bytes.
    std::u16string text(bytes.size(), u'\0');
    char16_t* out = text.data();
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *out++ = b;
            ++i;
            continue;
        }
        const CUtf8Step step = DecodeUtf8(bytes, i);
        if (step.valid && !EditorCannotHold(step.code)) {
            if (step.code < 0x10000) {
                *out++ = static_cast<char16_t>(step.code);
            } else {
                *out++ = static_cast<char16_t>(0xD800 + ((step.code - 0x10000) >> 10));
                *out++ = static_cast<char16_t>(0xDC00 + ((step.code - 0x10000) & 0x3FF));
            }
        } else {
            for (size_t k = 0; k < step.length; ++k) *out++ = Kept(static_cast<unsigned char>(bytes[i + k]));
        }
        i += step.length;
    }
    text.resize(static_cast<size_t>(out - text.data()));
    return text;
}

std::string Utf16ToSourceBytes(std::u16string_view text, bool* ok, bool bestFit)
{
    if (ok) *ok = true;
    std::string bytes;
    bytes.reserve(text.size());
    const CCp932Tables* tables = nullptr;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        if (IsKeptByte(c)) {
            bytes += static_cast<char>(c - kKeptByteBase);
            continue;
        }
        if (!tables) tables = &Cp932Tables();
        const std::uint16_t code = tables->encode[c];
        if (code == 0 || (!bestFit && !tables->Exact(c))) {
            // Outside code page 932; a character beyond the BMP is one '?' for its two halves.
            bytes += '?';
            if (ok) *ok = false;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                ++i;
        } else {
            if (code > 0xFF) bytes += static_cast<char>(code >> 8);
            bytes += static_cast<char>(code & 0xFF);
        }
    }
    return bytes;
}

std::string Utf16ToUtf8Source(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsKeptByte(c)) {
            bytes += static_cast<char>(c - kKeptByteBase);
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            AppendUtf8(bytes, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            // A lone surrogate half (typed, never read from a file) has no UTF-8.
            AppendUtf8(bytes, c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
        }
    }
    return bytes;
}

CDecodedSource DecodeSource(std::string_view bytes) { return DecodeSource(bytes, DetectTextEncoding(bytes)); }

CDecodedSource DecodeSource(std::string_view bytes, TextEncoding encoding)
{
    CSourceFormat format;
    format.encoding = encoding;
    if (encoding == TextEncoding::Cp932) return SplitLines(SourceBytesToUtf16(bytes), format);
    format.bom = HasUtf8Bom(bytes);
    if (format.bom) bytes.remove_prefix(kUtf8Bom.size());
    return SplitLines(Utf8SourceToUtf16(bytes), format);
}

void AppendSourceLine(std::string& out, std::u16string_view line, TextEncoding encoding, bool* ok)
{
    bool encoded = true;
    out += encoding == TextEncoding::Cp932 ? Utf16ToSourceBytes(line, &encoded) : Utf16ToUtf8Source(line);
    if (ok && !encoded) *ok = false;
}

std::string SourceTextToCp932(std::u16string_view text, TextEncoding encoding)
{
    // The assembler cuts lines at CR LF or LF; a kept CR before a line end stays part of its line.
    std::u16string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (char16_t c : text) {
        if (c == u'\n') crlf += u'\r';
        crlf += c;
    }
    if (encoding == TextEncoding::Cp932) return Utf16ToSourceBytes(crlf, nullptr, true);
    return TextToCp932(Utf16ToUtf8Source(crlf), TextEncoding::Utf8);
}

std::string SourceToFileBytes(std::u16string_view text, const CSourceFormat& format,
                              const std::vector<std::uint32_t>& otherEnds, bool* ok)
{
    if (ok) *ok = true;
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16 + 3);
    if (format.bom) bytes += kUtf8Bom;
    const LineEnd other = format.lineEnd == LineEnd::CrLf ? LineEnd::Lf : LineEnd::CrLf;
    auto nextOther = otherEnds.begin();
    std::uint32_t line = 0;
    for (size_t start = 0;; ++line) {
        const size_t end = std::min(text.find(u'\n', start), text.size());
        AppendSourceLine(bytes, text.substr(start, end - start), format.encoding, ok);
        if (end == text.size()) break;
        while (nextOther != otherEnds.end() && *nextOther < line) ++nextOther;
        bytes += LineEndBytes(nextOther != otherEnds.end() && *nextOther == line ? other : format.lineEnd);
        start = end + 1;
    }
    return bytes;
}

std::string DescribeSourceFormatText(const CSourceFormat& format)
{
    std::string text = format.encoding == TextEncoding::Cp932 ? "Shift-JIS" : "UTF-8";
    if (format.bom) text += " BOM";
    const char* main = format.lineEnd == LineEnd::CrLf ? "CR LF" : "LF";
    if (!format.mixed) return text + " " + main;
    return text + " " + main + "/" + (format.lineEnd == LineEnd::CrLf ? "LF" : "CR LF") + " 混在";
}
