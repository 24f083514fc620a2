// Source files through the editor: every byte comes back as it was.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include "text/source_text.h"

namespace {
std::string RoundTrip(const std::string& bytes, bool* ok = nullptr)
{
    return Utf16ToSourceBytes(SourceBytesToUtf16(bytes), ok);
}
}  // namespace

TEST(SourceText, EveryByteValueInEveryPlaceComesBack)
{
    // Each high byte alone, before a newline, before ASCII, after a lead byte, and last in the file.
    std::string bytes = "; ";
    for (int b = 0x80; b <= 0xFF; ++b) {
        bytes += static_cast<char>(b);
        bytes += "x";
        bytes += static_cast<char>(b);
        bytes += "\r\n\x81";
        bytes += static_cast<char>(b);
        bytes += static_cast<char>(b);
        bytes += static_cast<char>(b);
    }
    bytes += "\x82";  // a lead byte without its trail at the very end
    bool ok = false;
    EXPECT_EQ(RoundTrip(bytes, &ok), bytes);
    EXPECT_TRUE(ok);
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_EQ(RoundTrip(pair), pair) << std::hex << lead << " " << trail;
        }
}

TEST(SourceText, CharactersDecodeAsCharactersAndStrayBytesAsKeptBytes)
{
    EXPECT_EQ(SourceBytesToUtf16("A\x82\xA0\xB1"), u"A\u3042\uFF71");
    EXPECT_EQ(SourceBytesToUtf16("\x80\xFF"), std::u16string({char16_t(kKeptByteBase + 0x80), char16_t(kKeptByteBase + 0xFF)}));
    // A lead byte before a byte that is no trail keeps only itself; the next byte is read anew.
    EXPECT_EQ(SourceBytesToUtf16("\x82\x0D"), std::u16string({char16_t(kKeptByteBase + 0x82), u'\r'}));
    // Of two codes for one character, the second is kept as bytes so that it is written back unchanged.
    const std::u16string nec = SourceBytesToUtf16("\xED\x40");
    EXPECT_EQ(Utf16ToSourceBytes(nec), "\xED\x40");
}

// A pane shows a line of bytes as the editor shows the same line of a file: a byte that
// is no character is the same kept byte in both, not a replacement character in one.
TEST(SourceText, PanesShowALineAsTheEditorDoes)
{
    const std::string lines[] = {"\tDC\t'A\xFF\x82\xA0'", "; \x81 lead without trail", "\x80\xA0\xFD\xFE\xFF",
                                 "stray\rCR", "\xED\x40 second code", "\x82", "plain ASCII", ""};
    for (const std::string& line : lines) {
        const std::u16string shown = Cp932LineToShown(line);
        EXPECT_EQ(shown, DecodeSource(line, TextEncoding::Cp932).text) << line;
        EXPECT_EQ(shown.find(u'\uFFFD'), std::u16string::npos) << line;
    }
    EXPECT_EQ(Cp932LineToShown("A\xFF\r"), (std::u16string{u'A', char16_t(kKeptByteBase + 0xFF), char16_t(kKeptByteBase + '\r')}));
}

TEST(SourceText, TypedCharactersOutsideTheCodePageBecomeOneQuestionMarkEach)
{
    bool ok = true;
    EXPECT_EQ(Utf16ToSourceBytes(u"a\u00E9b\U0001F600c", &ok), "a?b?c");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Utf16ToSourceBytes(u"\u3042\uFF71", &ok), "\x82\xA0\xB1");
    EXPECT_TRUE(ok);
}

namespace {
// The file again from decoded text, each line with its end, as the editor writes it.
std::string Encode(const CDecodedSource& source)
{
    return SourceToFileBytes(source.text, source.format, source.otherEnds);
}

std::u16string Kept(std::initializer_list<unsigned char> bytes)
{
    std::u16string text;
    for (unsigned char b : bytes) text += static_cast<char16_t>(kKeptByteBase + b);
    return text;
}
}  // namespace

TEST(SourceText, FilesKeepTheirEncodingByteOrderMarkAndLineEnds)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string text;
        CSourceFormat format;
        std::vector<std::uint32_t> otherEnds;
    };
    using enum TextEncoding;
    using enum LineEnd;
    const Case cases[] = {
        {"empty", "", u"", {Cp932, false, CrLf, false}, {}},
        {"CR LF", "A\r\nB\r\n", u"A\nB\n", {Cp932, false, CrLf, false}, {}},
        {"LF", "A\nB\n", u"A\nB\n", {Cp932, false, Lf, false}, {}},
        {"no end on the last line", "A\nB", u"A\nB", {Cp932, false, Lf, false}, {}},
        {"mixed, mostly LF", "A\nB\r\nC\nD", u"A\nB\nC\nD", {Cp932, false, Lf, true}, {1}},
        {"mixed, mostly CR LF", "A\r\nB\nC\r\n\n", u"A\nB\nC\n\n", {Cp932, false, CrLf, true}, {1, 3}},
        {"stray CRs", "A\rB\r\r\n\r", u"A" + Kept({'\r'}) + u"B" + Kept({'\r'}) + u"\n" + Kept({'\r'}),
         {Cp932, false, CrLf, false}, {}},
        {"half-width katakana that is also UTF-8", "; \xCF\xB2\xC5\xBD\n", u"; ﾏｲﾅｽ\n", {Cp932, false, Lf, false}, {}},
        {"UTF-8", "; \xE3\x81\xAE\r\n", u"; の\n", {Utf8, false, CrLf, false}, {}},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBFX\n", u"X\n", {Utf8, true, Lf, false}, {}},
        {"ill-formed UTF-8 after a byte order mark", "\xEF\xBB\xBF\xE3\x81\n\xFF", Kept({0xE3, 0x81}) + u"\n" + Kept({0xFF}),
         {Utf8, true, Lf, false}, {}},
        {"UTF-8 characters the editor cannot hold", "\xEF\xBB\xBF\xE2\x80\xA8\xEF\x9C\x80\xEF\xB7\x90 \xC2\xA0",
         Kept({0xE2, 0x80, 0xA8, 0xEF, 0x9C, 0x80, 0xEF, 0xB7, 0x90}) + u" \u00A0", {Utf8, true, CrLf, false}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CDecodedSource source = DecodeSource(c.bytes);
        EXPECT_TRUE(source.text == c.text);
        EXPECT_EQ(source.format, c.format);
        EXPECT_EQ(source.otherEnds, c.otherEnds);
        EXPECT_EQ(Encode(source), c.bytes);
    }
}

TEST(SourceText, TheFormatIsDescribedAsTheStatusBarShowsIt)
{
    using enum TextEncoding;
    using enum LineEnd;
    EXPECT_EQ(DescribeSourceFormatText({Cp932, false, CrLf, false}), "Shift-JIS CR LF");
    EXPECT_EQ(DescribeSourceFormatText({Utf8, true, Lf, false}), "UTF-8 BOM LF");
    EXPECT_EQ(DescribeSourceFormatText({Cp932, false, Lf, true}), "Shift-JIS LF/CR LF 混在");
    EXPECT_EQ(DescribeSourceFormatText({Utf8, false, CrLf, true}), "UTF-8 CR LF/LF 混在");
}

TEST(SourceText, AnyBytesComeBackInEitherEncoding)
{
    std::mt19937 random(7);
    // Short random texts over the bytes that matter: line ends, lead bytes, UTF-8 pieces, the BOM.
    const std::string pieces[] = {"\r", "\n", "\r\n", "A", "\x82", "\xA0", "\xE3", "\x81", "\xAE", "\xEF\xBB\xBF",
                                  "\xEF\x9C\x80", "\xE2\x80\xA8", "\xC2\xA0", "\xF0\x9F\x98\x80", "\xFF", std::string(1, '\0')};
    for (int i = 0; i < 3000; ++i) {
        std::string bytes;
        for (int n = random() % 12; n > 0; --n) bytes += pieces[random() % std::size(pieces)];
        for (TextEncoding encoding : {TextEncoding::Cp932, TextEncoding::Utf8})
            ASSERT_EQ(Encode(DecodeSource(bytes, encoding)), bytes) << testing::PrintToString(bytes);
    }
}

TEST(SourceText, TheAssemblerGetsCodePage932WithCrLfFromEitherEncoding)
{
    // The editor's text of "DC 'ﾏｲﾅｽ'" and a kept byte, from a code page 932 file and from a UTF-8 file.
    const std::u16string text = u"\tDC\t'ﾏｲﾅｽ'\n" + Kept({0xFF}) + u"\r";
    EXPECT_EQ(SourceTextToCp932(text, TextEncoding::Cp932), "\tDC\t'\xCF\xB2\xC5\xBD'\r\n\xFF\r");
    EXPECT_EQ(SourceTextToCp932(text, TextEncoding::Utf8), "\tDC\t'\xCF\xB2\xC5\xBD'\r\n\xFF\r");
    // Typed text takes the code of a similar character where the code page has no exact one.
    EXPECT_EQ(SourceTextToCp932(u"\u301C", TextEncoding::Cp932), "\x81`");
}
