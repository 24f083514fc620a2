// Pieces of text as other programs write them, each with the code page 932 bytes the
// program must make of it, written down (not computed), so that tests and fuzz targets
// can tell whether the encoding of a line is found. Lines are built of pieces of one
// encoding: Shift-JIS pieces never hold a byte from E0 to F4, so that no run of them
// reads as a three- or four-byte UTF-8 character; UTF-8 pieces hold Japanese text.
#pragma once
#include <string>
#include <vector>

struct CKnownText {
    const char* name;
    bool utf8;          // written as UTF-8 (else as code page 932)
    std::string bytes;  // as written
    std::string cp932;  // what the assembler and IN take
};

inline const std::vector<CKnownText>& KnownTexts()
{
    static const std::vector<CKnownText> texts = {
        {"ASCII", false, "LD GR1,=1 ", "LD GR1,=1 "},
        {"Shift-JIS ﾏｲﾅｽ", false, "\xCF\xB2\xC5\xBD", "\xCF\xB2\xC5\xBD"},
        {"Shift-JIS ﾅｲ", false, "\xC5\xB2", "\xC5\xB2"},
        {"Shift-JIS ﾃﾞｰﾀ", false, "\xC3\xDE\xB0\xC0", "\xC3\xDE\xB0\xC0"},
        {"Shift-JIS ｱｲｳｴｵ", false, "\xB1\xB2\xB3\xB4\xB5", "\xB1\xB2\xB3\xB4\xB5"},
        {"Shift-JIS 日本", false, "\x93\xFA\x96{", "\x93\xFA\x96{"},
        {"Shift-JIS 入力", false, "\x93\xFC\x97\xCD", "\x93\xFC\x97\xCD"},
        {"Shift-JIS 漢字", false, "\x8A\xBF\x8E\x9A", "\x8A\xBF\x8E\x9A"},
        {"Shift-JIS カナ", false, "\x83J\x83i", "\x83J\x83i"},
        {"Shift-JIS ～", false, "\x81`", "\x81`"},
        {"UTF-8 ﾏｲﾅｽ", true, "\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD", "\xCF\xB2\xC5\xBD"},
        {"UTF-8 の", true, "\xE3\x81\xAE", "\x82\xCC"},
        {"UTF-8 漢字", true, "\xE6\xBC\xA2\xE5\xAD\x97", "\x8A\xBF\x8E\x9A"},
        {"UTF-8 カナ", true, "\xE3\x82\xAB\xE3\x83\x8A", "\x83J\x83i"},
        {"UTF-8 ；Ａ", true, "\xEF\xBC\x9B\xEF\xBC\xA1", "\x81G\x82`"},
        {"UTF-8 emoji", true, "\xF0\x9F\x98\x80", "?"},
    };
    return texts;
}
