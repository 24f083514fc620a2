// Which encoding a source file or an IN line is in, and what the assembler and IN get of it.
#include <gtest/gtest.h>

#include <string>
#include "known_text.h"
#include "text/text_encoding.h"

namespace {

struct EncodingCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    std::string cp932;  // what the assembler and IN take
};

// The bytes are written down as other editors write them (Shift-JIS as Windows writes it).
const EncodingCase kCases[] = {
    {"empty", "", TextEncoding::Cp932, ""},
    {"ASCII", "\tLD\tGR1,=1\t; count\r\n", TextEncoding::Cp932, "\tLD\tGR1,=1\t; count\r\n"},
    // Half-width katakana pairs read as two-byte UTF-8 (U+03F2 U+017D): Shift-JIS explains them.
    {"half-width katakana comment that is also UTF-8", "; \xCF\xB2\xC5\xBD", TextEncoding::Cp932,
     "; \xCF\xB2\xC5\xBD"},
    {"half-width katakana pair alone", "\xC5\xB2", TextEncoding::Cp932, "\xC5\xB2"},
    {"half-width katakana that is no UTF-8", "; \xC3\xDE\xB0\xC0", TextEncoding::Cp932, "; \xC3\xDE\xB0\xC0"},
    {"half-width katakana constant", "\tDC\t'\xCF\xB2\xC5\xBD'\r\n", TextEncoding::Cp932, "\tDC\t'\xCF\xB2\xC5\xBD'\r\n"},
    {"Shift-JIS kanji, short", "; \x93\xFA\x96{", TextEncoding::Cp932, "; \x93\xFA\x96{"},
    {"Shift-JIS kanji and kana, long",
     "; \x93\xFC\x97\xCD\x82\xB3\x82\xEA\x82\xBD\x95\xB6\x8E\x9A\x97\xF1\x82\xF0\x8Bt\x8F\x87\x82\xC9\x8Fo\x97\xCD"
     "\x82\xB7\x82\xE9",
     TextEncoding::Cp932,
     "; \x93\xFC\x97\xCD\x82\xB3\x82\xEA\x82\xBD\x95\xB6\x8E\x9A\x97\xF1\x82\xF0\x8Bt\x8F\x87\x82\xC9\x8Fo\x97\xCD"
     "\x82\xB7\x82\xE9"},
    {"Shift-JIS program line with a comment", "\tLD\tGR1,=1\t; \x8F\x89\x8A\xFA\x92l\r\n", TextEncoding::Cp932,
     "\tLD\tGR1,=1\t; \x8F\x89\x8A\xFA\x92l\r\n"},
    {"Shift-JIS half-width and full-width mixed",
     "; \xB6\xB3\xDD\xC0\x82\xF0" "1\x82\xC2\x91\x9D\x82\xE2\x82\xB7", TextEncoding::Cp932,
     "; \xB6\xB3\xDD\xC0\x82\xF0" "1\x82\xC2\x91\x9D\x82\xE2\x82\xB7"},
    {"UTF-8 kanji, short", "; \xE6\xBC\xA2\xE5\xAD\x97", TextEncoding::Utf8, "; \x8A\xBF\x8E\x9A"},
    {"UTF-8 kanji and kana, long",
     "; \xE5\x85\xA5\xE5\x8A\x9B\xE3\x81\x95\xE3\x82\x8C\xE3\x81\x9F\xE6\x96\x87\xE5\xAD\x97\xE5\x88\x97\xE3\x82\x92"
     "\xE9\x80\x86\xE9\xA0\x86\xE3\x81\xAB\xE5\x87\xBA\xE5\x8A\x9B\xE3\x81\x99\xE3\x82\x8B",
     TextEncoding::Utf8,
     "; \x93\xFC\x97\xCD\x82\xB3\x82\xEA\x82\xBD\x95\xB6\x8E\x9A\x97\xF1\x82\xF0\x8Bt\x8F\x87\x82\xC9\x8Fo\x97\xCD"
     "\x82\xB7\x82\xE9"},
    {"UTF-8 program line with a comment", "\tLD\tGR1,=1\t; \xE5\x88\x9D\xE6\x9C\x9F\xE5\x80\xA4\n",
     TextEncoding::Utf8, "\tLD\tGR1,=1\t; \x8F\x89\x8A\xFA\x92l\n"},
    // E3 81 AE reads in code page 932 as a kanji and a half-width katakana: both readings hold.
    {"UTF-8 lone hiragana that is also code page 932", "\xE3\x81\xAE", TextEncoding::Utf8, "\x82\xCC"},
    {"UTF-8 half-width katakana constant",
     "\tDC\t'\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD'\n", TextEncoding::Utf8, "\tDC\t'\xCF\xB2\xC5\xBD'\n"},
    {"UTF-8 full-width forms", "\xEF\xBC\x9B\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\xA3", TextEncoding::Utf8,
     "\x81G\x82`\x82" "a\x82" "b"},
    {"UTF-8 kana mixed with half-width katakana",
     "; \xEF\xBD\xB6\xEF\xBD\xB3\xEF\xBE\x9D\xEF\xBE\x80\xE3\x82\x92" "1\xE3\x81\xA4\xE5\xA2\x97\xE3\x82\x84"
     "\xE3\x81\x99",
     TextEncoding::Utf8, "; \xB6\xB3\xDD\xC0\x82\xF0" "1\x82\xC2\x91\x9D\x82\xE2\x82\xB7"},
    {"UTF-8 with a character beyond the BMP", "; \xF0\x9F\x98\x80 ok", TextEncoding::Utf8, "; ? ok"},
    {"UTF-8 wave dash, written as code page 932 writes its full-width tilde", "\xE3\x80\x9C", TextEncoding::Utf8,
     "\x81`"},
    {"byte order mark and ASCII", "\xEF\xBB\xBFPGM\tSTART\n", TextEncoding::Utf8, "PGM\tSTART\n"},
    {"byte order mark and Latin letters", "\xEF\xBB\xBF" "caf\xC3\xA9", TextEncoding::Utf8, "caf?"},
    {"byte order mark and ill-formed UTF-8", "\xEF\xBB\xBF\x82\xA0 \xE6\xBC\xA2", TextEncoding::Utf8,
     "\x82\xA0 \x8A\xBF"},
    {"bytes that are neither", "\x80\xFF\xFE abc", TextEncoding::Cp932, "\x80\xFF\xFE abc"},
    {"Shift-JIS with a stray byte", "; \x8A\xBF\xFF", TextEncoding::Cp932, "; \x8A\xBF\xFF"},
    // Latin text without a byte order mark reads as half-width katakana: the user reopens it as UTF-8.
    {"UTF-8 Latin letters without a byte order mark", "caf\xC3\xA9", TextEncoding::Cp932, "caf\xC3\xA9"},
};

TEST(TextEncoding, RealTextIsReadInTheEncodingItWasWrittenIn)
{
    for (const EncodingCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectTextEncoding(c.bytes), c.encoding);
        EXPECT_EQ(TextToCp932(c.bytes), c.cp932);
    }
}

TEST(TextEncoding, KnownTextOfEitherEncodingGivesItsCodePage932Bytes)
{
    // The fragments the tests and the fuzz target build lines from, each alone and in runs.
    for (const CKnownText& k : KnownTexts()) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(TextToCp932(k.bytes), k.cp932);
        const std::string run = k.bytes + " " + k.bytes + " " + k.bytes;
        EXPECT_EQ(TextToCp932(run), k.cp932 + " " + k.cp932 + " " + k.cp932);
    }
}

TEST(TextEncoding, AGivenEncodingIsTaken)
{
    EXPECT_EQ(TextToCp932("\xCF\xB2\xC5\xBD", TextEncoding::Utf8), "??");
    EXPECT_EQ(TextToCp932("\xE3\x81\xAE", TextEncoding::Cp932), "\xE3\x81\xAE");
    // Ill-formed UTF-8 stays as it was, byte for byte.
    EXPECT_EQ(TextToCp932("\x82\xA0\xE3\x81", TextEncoding::Utf8), "\x82\xA0\xE3\x81");
}

}  // namespace
