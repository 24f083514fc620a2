#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "text/text_encoding.h"

// Source files through the editor, byte for byte. Characters decode to UTF-16 as
// usual; every byte that is not part of a character that comes back as the same bytes
// (stray bytes, a lead byte without its trail, one of two codes for the same character,
// ill-formed UTF-8, a character the editor cannot hold as itself) stands for itself as
// the private-use character U+F700 + byte, and turns back into that byte when the text
// is encoded again.
inline constexpr char16_t kKeptByteBase = 0xF700;
inline bool IsKeptByte(char16_t c) { return c >= kKeptByteBase && c <= kKeptByteBase + 0xFF; }

std::u16string SourceBytesToUtf16(std::string_view bytes);
std::u16string Utf8SourceToUtf16(std::string_view bytes);

// One line of code page 932 text (a listing line, a label, a device line) as the editor
// shows the same bytes, so that every pane draws a byte that is no character alike: as
// its kept byte, a CR left inside the line included.
std::u16string Cp932LineToShown(std::string_view bytes);

// ok (when given) is false when some character cannot be stored in code page 932; it
// becomes '?'. With bestFit, a character is also written as the code of a similar one
// (U+301C as the code of U+FF5E), as the assembler takes typed text.
std::string Utf16ToSourceBytes(std::u16string_view text, bool* ok = nullptr, bool bestFit = false);
std::string Utf16ToUtf8Source(std::u16string_view text);

// How a source file is written: its encoding, whether it begins with a byte order mark,
// and its line ends. A file whose lines end in both ways keeps each line's end; lineEnd
// is then the end most of its lines have. A file is CR LF until a line shows otherwise.
enum class LineEnd : std::uint8_t { CrLf, Lf };
struct CSourceFormat {
    TextEncoding encoding = TextEncoding::Cp932;
    bool bom = false;
    LineEnd lineEnd = LineEnd::CrLf;
    bool mixed = false;
    bool operator==(const CSourceFormat&) const = default;
};

struct CDecodedSource {
    std::u16string text;  // lines separated by '\n'; a CR that ends no line is a kept byte
    CSourceFormat format;
    std::vector<std::uint32_t> otherEnds;  // the lines (from 0) that end otherwise than format.lineEnd
};

// The file's bytes for the editor, in the encoding the detection rule finds, or in the
// one given.
CDecodedSource DecodeSource(std::string_view bytes);
CDecodedSource DecodeSource(std::string_view bytes, TextEncoding encoding);

inline std::string_view LineEndBytes(LineEnd end) { return end == LineEnd::CrLf ? "\r\n" : "\n"; }
// One line of the editor's text (without its end) appended in the file's encoding.
void AppendSourceLine(std::string& out, std::u16string_view line, TextEncoding encoding, bool* ok = nullptr);

// The editor's text (lines separated by '\n') as the file is written in its format: the
// byte order mark, each line in the encoding, and the format's line end after every line
// but the last, or the other end after the lines in otherEnds (ascending). ok as above.
std::string SourceToFileBytes(std::u16string_view text, const CSourceFormat& format,
                              const std::vector<std::uint32_t>& otherEnds, bool* ok = nullptr);

// The encoding and line ends as a status bar shows them: "Shift-JIS CR LF", "UTF-8 BOM LF",
// "Shift-JIS LF/CR LF 混在" (UTF-8).
std::string DescribeSourceFormatText(const CSourceFormat& format);

// The editor's text (lines separated by '\n') as the assembler takes it: code page 932
// with CR LF line ends, the bytes of the file for kept bytes.
std::string SourceTextToCp932(std::u16string_view text, TextEncoding encoding);
