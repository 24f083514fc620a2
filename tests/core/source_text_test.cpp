// Source files through the editor: every byte comes back as it was.
#include <gtest/gtest.h>

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

TEST(SourceText, TypedCharactersOutsideTheCodePageBecomeOneQuestionMarkEach)
{
    bool ok = true;
    EXPECT_EQ(Utf16ToSourceBytes(u"a\u00E9b\U0001F600c", &ok), "a?b?c");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Utf16ToSourceBytes(u"\u3042\uFF71", &ok), "\x82\xA0\xB1");
    EXPECT_TRUE(ok);
}
