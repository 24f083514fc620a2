// Watches: targets, value texts in every format, the dialog's checks; the drag block.
#include <gtest/gtest.h>

#include <string>
#include "assembler/label_bank.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "resources/message_ids.h"
#include "simulator/drag_block.h"
#include "simulator/watch.h"
#include "test_names.h"

namespace {
struct WatchMachine {
    WatchMachine()
    {
        labels.DefineLabel("DATA", 0x0200);
        reg[2] = 0x0200;
        reg[REG_SP] = 0xFFFE;
        reg[REG_PR] = 0x0300;
        const WORD words[] = {0x0041, 0x0042, 0x0100, 0x000A, 0x1234, 0xFFFF, 0x8000, 0x0020};
        for (WORD i = 0; i < 8; ++i) mem.SetWord(static_cast<WORD>(0x0200 + i), words[i]);
        mem.SetWord(0xFFFE, 0x1111);
        mem.SetWord(0xFFFF, 0x2222);
        mem.SetWord(0x0000, 0x3333);
        mem.SetWord(0x0001, 0x4444);
    }
    std::string Value(const char* target, unsigned length, int format) const
    {
        return FormatWatchValue(CWatchInfo(target, length, format), reg, mem, &labels);
    }
    CLabelBank labels;
    CRegister reg;
    CMemory mem;
};

struct ValueCase {
    const char* target;
    unsigned length;
    int format;
    const char* text;
};

const ValueCase kValueCases[] = {
    {"#0200", 2, WATCH_HEX, "#0041, #0042"},
    {"DATA", 8, WATCH_HEX, "#0041, #0042, #0100, #000A, #1234, #FFFF, #8000, #0020"},
    {"$GR2", 3, WATCH_SIGNED, "65, 66, 256"},
    {"#0205", 2, WATCH_SIGNED, "-1, -32768"},
    {"#0205", 2, WATCH_UNSIGNED, "65535, 32768"},
    {"#0204", 2, WATCH_BINARY, "%0001 0010 0011 0100, %1111 1111 1111 1111"},
    {"DATA", 4, WATCH_CHAR, "'AB..'"},
    {"#0207", 1, WATCH_CHAR, "' '"},
    {"#FFFE", 4, WATCH_HEX, "#1111, #2222, #3333, #4444"},
    {"$SP", 2, WATCH_HEX, "#1111, #2222"},
    // Targets that do not resolve now.
    {"NOWHERE", 1, WATCH_HEX, "???"},
    {"$PR", 1, WATCH_HEX, "???"},
    {"$gr2", 1, WATCH_HEX, "???"},
    {"#", 1, WATCH_HEX, "???"},
    {"1000", 1, WATCH_HEX, "???"},
    {"", 1, WATCH_HEX, "???"},
};

class WatchValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(WatchValueTest, Shows)
{
    const WatchMachine m;
    const ValueCase& c = GetParam();
    EXPECT_EQ(m.Value(c.target, c.length, c.format), c.text) << c.target << " " << c.length << " " << c.format;
}
std::string ValueCaseName(const testing::TestParamInfo<ValueCase>& info)
{
    static const char* const kFormats[] = {"hex", "signed", "unsigned", "binary", "char"};
    const ValueCase& c = info.param;
    return CaseName(info.index, std::string(c.target) + " " + std::to_string(c.length) + " " + kFormats[c.format]);
}
INSTANTIATE_TEST_SUITE_P(Formats, WatchValueTest, ::testing::ValuesIn(kValueCases), ValueCaseName);
}  // namespace

TEST(Watch, LongestValuesOfEachFormatFitTheCellBuffer)
{
    WatchMachine m;
    for (WORD i = 0; i < 80; ++i) m.mem.SetWord(static_cast<WORD>(0x0400 + i), 0x8000);
    const size_t longest[] = {54, 62, 54, 86, 82};
    for (int format = 0; format < WATCH_FORMAT_COUNT; ++format) {
        const std::string text = m.Value("#0400", WatchMaxLength(format), format);
        EXPECT_EQ(text.size(), longest[format]) << format;
    }
    EXPECT_EQ(WatchMaxLength(WATCH_HEX), 8u);
    EXPECT_EQ(WatchMaxLength(WATCH_BINARY), 4u);
    EXPECT_EQ(WatchMaxLength(WATCH_CHAR), 80u);
}

TEST(Watch, DialogChecksInItsOrder)
{
    const WatchMachine m;
    struct Case {
        const char* target;
        unsigned length;
        int format;
        int message;
    };
    const Case cases[] = {
        {"$GR7", 1, WATCH_HEX, 0},       {"$SP", 8, WATCH_HEX, 0},         {"DATA", 80, WATCH_CHAR, 0},
        {"#FFFE", 4, WATCH_BINARY, 0},   {"$PR", 1, WATCH_HEX, 1004},      {"$FR", 1, WATCH_HEX, 1004},
        {"$gr1", 1, WATCH_HEX, 1004},    {"$X", 1, WATCH_HEX, 1004},       {"$", 1, WATCH_HEX, 1004},
        {"1000", 1, WATCH_HEX, 1006},    {"%0101", 1, WATCH_HEX, 1006},    {"", 1, WATCH_HEX, 1006},
        {" DATA", 1, WATCH_HEX, 1006},   {"#", 1, WATCH_HEX, 1003},        {"UNDEF", 1, WATCH_HEX, 1003},
        {"#12G", 1, WATCH_HEX, 1003},    {"DATA", 5, WATCH_BINARY, 1005},  {"DATA", 0, WATCH_HEX, 1005},
        {"DATA", 9, WATCH_SIGNED, 1005}, {"$PR", 0, WATCH_HEX, 1004},      {"UNDEF", 99, WATCH_HEX, 1003},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidateWatch(c.target, c.length, c.format, &m.labels), c.message) << c.target << " " << c.length;
    EXPECT_EQ(ValidateWatch("DATA", 1, WATCH_HEX, nullptr), 1003) << "no label table";
    EXPECT_EQ(WatchLengthRangeText(), "16進数形式表示 : 1～8\n符号付10進数形式表示 : 1～8\n符号無10進数形式表示 : 1～8\n"
                                      "2進数形式表示 : 1～4\n文字形式表示 : 1～80");
}

TEST(Watch, ListKeepsOrderAndRemovesByIdentity)
{
    CWatchList list;
    CWatchInfo& a = list.Add("#0100", 1, WATCH_HEX);
    CWatchInfo& b = list.Add("#0100", 1, WATCH_HEX);
    CWatchInfo& c = list.Add("$SP", 2, WATCH_CHAR);
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    ASSERT_EQ(list.GetSize(), 2u);
    EXPECT_EQ(list.begin()->get(), &a);
    EXPECT_EQ(std::next(list.begin())->get(), &c);
    c.Set("DATA", 3, WATCH_BINARY);
    EXPECT_EQ(c.GetTarget(), "DATA");
    EXPECT_EQ(c.GetFormat(), WATCH_BINARY);
}

TEST(DragBlock, EncodesValueLowByteFirstAndAZeroFilledName)
{
    const CDragBlock block{0x1234, "LOOP"};
    const auto bytes = block.Encode();
    ASSERT_EQ(bytes.size(), 18u);
    EXPECT_EQ(bytes[0], 0x34);
    EXPECT_EQ(bytes[1], 0x12);
    EXPECT_EQ(std::string(bytes.data() + 2, 4), "LOOP");
    for (size_t i = 6; i < 18; ++i) EXPECT_EQ(bytes[i], 0) << i;

    CDragBlock back;
    ASSERT_TRUE(CDragBlock::Decode(std::string_view(bytes.data(), bytes.size()), back));
    EXPECT_EQ(back.value, 0x1234);
    EXPECT_EQ(back.name, "LOOP");

    // A name is cut to 15 bytes, so that its NUL always fits.
    const auto longName = CDragBlock{0xFFFF, std::string(20, 'N')}.Encode();
    ASSERT_TRUE(CDragBlock::Decode(std::string_view(longName.data(), longName.size()), back));
    EXPECT_EQ(back.name, std::string(15, 'N'));
    EXPECT_EQ(back.value, 0xFFFF);

    EXPECT_FALSE(CDragBlock::Decode(std::string_view(bytes.data(), 17), back));
    EXPECT_FALSE(CDragBlock::Decode(std::string(18, 'x'), back));
}
