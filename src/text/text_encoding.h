#pragma once
#include <string>
#include <string_view>

// Which encoding text of unknown origin is in: source files and IN lines. Programs here
// are written in code page 932 (Shift-JIS as Windows writes it), so that is the answer
// unless the bytes show UTF-8:
//  - they begin with the UTF-8 byte order mark; or
//  - they are well-formed UTF-8 that code page 932 cannot read as text (a byte that
//    starts no character, or a user-defined character, which is where four-byte UTF-8
//    sequences land); or
//  - both readings hold, and the UTF-8 reading has more three-byte characters of
//    Japanese text (U+3000-30FF kana and punctuation, U+4E00-9FFF kanji, U+FF00-FFEF
//    full-width and half-width forms) than two-byte characters (U+0080-07FF, Latin,
//    Greek, Cyrillic). Half-width katakana pairs in code page 932 read as the latter,
//    Japanese text in UTF-8 as the former.
// ASCII alone is code page 932 (and the same bytes in UTF-8).
enum class TextEncoding { Cp932, Utf8 };

TextEncoding DetectTextEncoding(std::string_view bytes);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline bool HasUtf8Bom(std::string_view bytes) { return bytes.substr(0, 3) == kUtf8Bom; }

// The text as code page 932, as the assembler and IN take it. Code page 932 text stays
// as it is; UTF-8 loses its byte order mark, characters become their code page 932
// codes ('?' for those it lacks), and bytes that are no UTF-8 stay as they are.
std::string TextToCp932(std::string_view bytes);
std::string TextToCp932(std::string_view bytes, TextEncoding encoding);
