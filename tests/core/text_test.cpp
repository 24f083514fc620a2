// Source lines, error records, the string table and code page 932.
#include <gtest/gtest.h>

#include "assemble_lines.h"

#include "assembler/assemble_error.h"
#include "assembler/assembler.h"
#include "resources/string_table.h"
#include "text/codepage.h"

namespace {

using Lines = std::vector<std::string>;

TEST(ForEachSourceLine, LineEnds)
{
    struct Case {
        std::string text;
        Lines lines;
    };
    for (const Case& c : {Case{"", {}}, Case{"A", {"A"}}, Case{"A\r\nB\r\n", {"A", "B"}}, Case{"A\r\nB", {"A", "B"}},
                          Case{"A\nB\n", {"A", "B"}}, Case{"A\nB", {"A", "B"}}, Case{"A\r\nB\nC", {"A", "B", "C"}},
                          Case{"A\r\n\r\n", {"A", ""}}, Case{"A\r\n\r\n\r\n", {"A", "", ""}},
                          Case{"\r\n", {""}}, Case{"\n", {""}}, Case{"\n\n", {"", ""}}, Case{"A\rB", {"A\rB"}},
                          Case{"A\r", {"A\r"}}, Case{"\r", {"\r"}}, Case{"A\r\r\nB", {"A\r", "B"}},
                          Case{"\r\r\n", {"\r"}}, Case{"A\n\rB", {"A", "\rB"}},
                          Case{std::string("A\0B\r\n\0", 6), {std::string("A\0B", 3), std::string("\0", 1)}}})
    {
        Lines lines;
        ForEachSourceLine(c.text, [&](std::string_view line) { lines.emplace_back(line); });
        EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.text);
    }
}

TEST(AssembleError, Text)
{
    const CAssembleError onLine(12, " X NOP", 2002);
    EXPECT_EQ(onLine.GetText(), "ERROR #12: ﾗﾍﾞﾙの二重定義です。");
    EXPECT_EQ(onLine.GetErrorNumber(), 2002);
    EXPECT_EQ(onLine.GetSourceLine(), " X NOP");

    CAssembleError noLine(-1, "", 2028);
    EXPECT_EQ(noLine.GetText(), "ERROR : START命令がありません。");
    noLine.SetLineNumber(3);
    EXPECT_EQ(noLine.GetText(), "ERROR #3: START命令がありません。");

    CAssembleError deleted(7, "X", 2030);
    deleted.SetLineNumber(-1);  // its line was deleted in the editor
    EXPECT_EQ(deleted.GetText(), "ERROR : 空の行です。");
    EXPECT_EQ(CAssembleError(0, "", 2030).GetText(), "ERROR #0: 空の行です。");

    CAssembleErrorArray list;
    list.Add(2, "LOOP", 2000);
    list.Add(-1, "", 2029);
    ASSERT_EQ(list.GetSize(), 2u);
    EXPECT_EQ(list[0].GetText(), "ERROR #2: 命令語がありません");
    EXPECT_EQ(list[1].GetText(), "ERROR : END命令がありません。");
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(AssembleError, TheListFollowsInsertedAndDeletedLines)
{
    CAssembleErrorArray list;
    list.Add(3, "A", 2000);
    list.Add(10, "B", 2000);
    list.Add(-1, "", 2029);
    auto lines = [&] {
        std::vector<int> n;
        for (const auto& e : list) n.push_back(e->GetLineNumber());
        return n;
    };
    list.RenumberLines(6, 1);  // Enter in the middle of line 5: the caret on line 6
    EXPECT_EQ(lines(), (std::vector<int>{3, 11, -1}));
    list.RenumberLines(3, 2);  // two lines pasted above line 3
    EXPECT_EQ(lines(), (std::vector<int>{5, 13, -1}));
    list.RenumberLines(5, -1);  // line 5 deleted, the caret ends on line 5
    EXPECT_EQ(lines(), (std::vector<int>{-1, 12, -1}));

    const CAssembleErrorArray copy = list;  // copies are independent
    list.RenumberLines(1, 1);
    EXPECT_EQ(copy[1].GetLineNumber(), 12);
    EXPECT_EQ(list[1].GetLineNumber(), 13);
}

TEST(StringTable, EveryMessageHasText)
{
    std::vector<int> ids = {100, 200, 800, 900, 901, 902, 2033, 2100, 2101};
    for (int id = 1000; id <= 1010; ++id) ids.push_back(id);
    for (int id = 2000; id <= 2031; ++id) ids.push_back(id);
    for (int id = 2910; id <= 2914; ++id) ids.push_back(id);
    for (int id : ids) {
        EXPECT_FALSE(LoadString(id).empty()) << id;
        EXPECT_TRUE(IsValidUtf8(LoadString(id))) << id;
    }
    for (int id : {0, 1, 99, 901 + 2, 2032, 2034, 2909, 2915, -1, 100000}) EXPECT_TRUE(LoadString(id).empty()) << id;
}

TEST(StringTable, Formatting)
{
    EXPECT_EQ(FormatMessage(1000, 3), "3個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。");
    EXPECT_EQ(FormatMessage(1000, -12), "-12個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。");
    EXPECT_EQ(FormatMessage(1007, "out.txt"), "OUT命令出力ﾌｧｲﾙ( out.txt )の作成に失敗しました。");
    EXPECT_EQ(FormatMessage(1008, "%d"), "IN命令入力ﾌｧｲﾙ( %d )のｵｰﾌﾟﾝに失敗しました。");
    EXPECT_EQ(FormatMessage(1005, "1 ～ 10"), "長さの指定に誤りがあります。長さは、\n1 ～ 10\nの範囲で指定してください。");
    EXPECT_EQ(FormatMessage(900, 5), LoadString(900));  // no placeholder: unchanged
    EXPECT_EQ(FormatMessage(2032, 5), "");
    EXPECT_EQ(ReplaceFirst("%1 and %1", "%1", "x"), "x and %1");
}

// Code page 932 bytes and their UTF-8 text.
struct CodePagePair {
    std::string cp932;
    std::string utf8;
};

TEST(CodePage, KnownCharacters)
{
    for (const CodePagePair& p :
         {CodePagePair{"", ""}, CodePagePair{"LD GR1,DATA", "LD GR1,DATA"}, CodePagePair{"\xB1\xDD", "ｱﾝ"},
          CodePagePair{"\xA1\xDF", "｡ﾟ"}, CodePagePair{"\x8A\xBF\x8E\x9A", "漢字"}, CodePagePair{"\x81\x60", "～"},
          CodePagePair{"\x81\x7C", "－"}, CodePagePair{"\x87\x40", "①"}, CodePagePair{"\x81\x5F", "＼"},
          CodePagePair{"\xB1\\~", "ｱ\\~"}, CodePagePair{" DC '\xB1' ; \x83\x52\x83\x81\x83\x93\x83\x67", " DC 'ｱ' ; コメント"},
          CodePagePair{std::string("\xB1\0A", 3), std::string("ｱ\0A", 5)}}) {
        EXPECT_EQ(Cp932ToUtf8(p.cp932), p.utf8) << p.utf8;
        bool ok = false;
        EXPECT_EQ(Utf8ToCp932(p.utf8, &ok), p.cp932) << p.utf8;
        EXPECT_TRUE(ok) << p.utf8;
    }
}

TEST(CodePage, LongTextConvertsCompletely)
{
    std::string cp932, utf8;
    for (int i = 0; i < 5000; ++i) {
        cp932 += "\x8A\xBF\xB1" "A";
        utf8 += "漢ｱA";
    }
    // (EXPECT_TRUE: a failure would print 35,000 bytes.)
    EXPECT_TRUE(Cp932ToUtf8(cp932) == utf8);
    EXPECT_TRUE(Utf8ToCp932(utf8) == cp932);
    // An invalid lead byte far into the text: it alone is replaced, and its old trail byte
    // now reads as a half-width katakana.
    cp932[4000] = '\x80';
    EXPECT_TRUE(Cp932ToUtf8(cp932) == utf8.substr(0, 7000) + "\xEF\xBF\xBDｿ" + utf8.substr(7003));
}

TEST(CodePage, SingleBytesRoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        if (b >= 0x80 && b < 0xA1) continue;
        if (b > 0xDF) continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp932ToUtf8(byte);
        if (b >= 0xA1) {
            // Half-width katakana: U+FF61 to U+FF9F.
            const unsigned code = 0xFF61 + (b - 0xA1);
            const std::string expected = {static_cast<char>(0xE0 | (code >> 12)),
                                          static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                                          static_cast<char>(0x80 | (code & 0x3F))};
            EXPECT_EQ(utf8, expected) << b;
        } else {
            EXPECT_EQ(utf8, byte) << b;
        }
        EXPECT_EQ(Utf8ToCp932(utf8), byte) << b;
    }
}

TEST(CodePage, EveryDoubleByteCharacterRoundTripsThroughUtf8)
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string bytes = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = Cp932ToUtf8(bytes);
            ASSERT_TRUE(IsValidUtf8(utf8));
            if (utf8.find("\xEF\xBF\xBD") != std::string::npos) continue;  // no character there
            ++characters;
            bool ok = false;
            const std::string back = Utf8ToCp932(utf8, &ok);
            ASSERT_TRUE(ok) << std::hex << lead << trail;
            ASSERT_EQ(back.size(), 2u) << std::hex << lead << trail;
            // Some characters have two codes (NEC and IBM rows); text survives either way.
            ASSERT_EQ(Cp932ToUtf8(back), utf8) << std::hex << lead << trail;
        }
    }
    EXPECT_GT(characters, 7500);
}

TEST(CodePage, InvalidBytesBecomeReplacementCharacters)
{
    const std::string r = "\xEF\xBF\xBD";
    for (const CodePagePair& p : {CodePagePair{"\x80", r}, CodePagePair{"\xA0", r}, CodePagePair{"\xFD", r},
                                  CodePagePair{"\xFF", r}, CodePagePair{"\x81", r}, CodePagePair{"A\x81", "A" + r},
                                  CodePagePair{"\x81\x20" "B", r + " B"}, CodePagePair{"\x80\xB1", r + "ｱ"},
                                  CodePagePair{"\x8A\xBF\xFF\x8A\xBF", "漢" + r + "漢"}}) {
        EXPECT_EQ(Cp932ToUtf8(p.cp932), p.utf8) << testing::PrintToString(p.cp932);
    }
}

TEST(CodePage, UnconvertibleTextBecomesQuestionMarks)
{
    for (const CodePagePair& p :
         {CodePagePair{"?", "\xF0\x9F\x98\x80"}, CodePagePair{"A?B", "A\xF0\x9F\x98\x80" "B"}, CodePagePair{"?", "é"},
          CodePagePair{"?", "\xC3"}, CodePagePair{"?A", "\xC3" "A"}, CodePagePair{"?", "\xE3\x81"},
          CodePagePair{"\xB1?\xB1", "ｱ\xFF" "ｱ"}, CodePagePair{"?", "\xED\xA0\x80"}}) {
        bool ok = true;
        EXPECT_EQ(Utf8ToCp932(p.utf8, &ok), p.cp932) << testing::PrintToString(p.utf8);
        EXPECT_FALSE(ok) << testing::PrintToString(p.utf8);
    }
}

TEST(CodePage, IsValidUtf8)
{
    for (const char* good : {"", "ASCII", "ｱ", "漢字", "\xF0\x9F\x98\x80", "\xC2\x80", "\xEF\xBF\xBF", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(good)) << testing::PrintToString(std::string(good));
    for (const char* bad : {"\x80", "\xB1", "\xC3", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE3\x81", "\xED\xA0\x80",
                            "\xF0\x80\x80\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "A\xE3\x81" "A",
                            "\x8A\xBF"})
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
}

}  // namespace
