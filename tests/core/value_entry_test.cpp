// The value-entry syntax of the dialogs and the texts of the register view.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include "assembler/label_bank.h"
#include "machine/register.h"
#include "simulator/register_text.h"
#include "simulator/value_entry.h"
#include "text/tabs.h"
#include "test_names.h"

namespace {
struct ValueCase {
    const char* text;
    std::optional<WORD> value;  // nullopt: the text is refused
};

class ParseWordValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ParseWordValueTest, Reads)
{
    CLabelBank labels;
    labels.DefineLabel("LOOP", 0x0123);
    labels.DefineLiteralLabel(0x0104, 0x0110);
    const ValueCase& c = GetParam();
    WORD value = 0xBEEF;
    const bool ok = ParseWordValue(c.text, &labels, value);
    ASSERT_EQ(ok, c.value.has_value()) << "'" << c.text << "'";
    if (ok) EXPECT_EQ(value, *c.value) << "'" << c.text << "'";
    else EXPECT_EQ(value, 0xBEEF) << "a refused text leaves the value alone";
}

const ValueCase kValueCases[] = {
    // Hexadecimal, read like strtoul with 32-bit longs.
    {"#FFFF", 0xFFFF}, {"#ffff", 0xFFFF}, {"#10000", 0x0000}, {"#1F", 0x001F}, {"# 1F", 0x001F},
    {"#0x1F", 0x001F}, {"#-1", 0xFFFF}, {"#+A", 0x000A}, {"#123456789", 0xFFFF}, {"#-123456789", 0xFFFF},
    {"#", std::nullopt}, {"#1F ", std::nullopt}, {"#G", std::nullopt}, {"#0x", std::nullopt},
    {"#- 1", std::nullopt},
    // Binary: any number of digits, the last 16 count.
    {"%1111111111111111", 0xFFFF}, {"%101", 0x0005}, {"%10000000000000001", 0x0001}, {"%0", 0x0000},
    {"%", std::nullopt}, {"%102", std::nullopt}, {"% 1", std::nullopt},
    // One byte after a quote, sign-extended.
    {"'A", 0x0041}, {"' ", 0x0020}, {"'\xB1", 0xFFB1}, {"'A'", std::nullopt}, {"'", std::nullopt},
    {"'\x82\xA0", std::nullopt},
    // Labels: upper case or "_" first, exact case, the hidden literal names too.
    {"LOOP", 0x0123}, {"__0104__", 0x0110}, {"LOOPS", std::nullopt}, {"loop", std::nullopt},
    {"Loop", std::nullopt},
    // Decimal, read like strtol: clamped to 32 bits, then the low 16 bits.
    {"-1", 0xFFFF}, {"65535", 0xFFFF}, {"70000", 0x1170}, {" 12", 0x000C}, {"+5", 0x0005}, {"-32768", 0x8000},
    {"99999999999", 0xFFFF}, {"-99999999999", 0x0000}, {"12 ", std::nullopt}, {"", std::nullopt},
    {"-", std::nullopt}, {"1A", std::nullopt}, {" ", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Forms, ParseWordValueTest, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return CaseName(info.index, info.param.text); });
}  // namespace

TEST(ParseWordValue, LabelsNeedALabelTable)
{
    WORD value = 0;
    EXPECT_FALSE(ParseWordValue("LOOP", nullptr, value));
    EXPECT_TRUE(ParseWordValue("#12", nullptr, value));
    EXPECT_EQ(value, 0x0012);
}

TEST(FormatBinaryWord, FourGroupsOfFour)
{
    EXPECT_EQ(FormatBinaryWord(0x0000), "0000 0000 0000 0000");
    EXPECT_EQ(FormatBinaryWord(0x1234), "0001 0010 0011 0100");
    EXPECT_EQ(FormatBinaryWord(0xFFFF), "1111 1111 1111 1111");
    EXPECT_EQ(FormatBinaryWord(0x8001).size(), 19u);
}

TEST(RegisterCells, GeneralRegisterInEveryColumn)
{
    struct Case {
        WORD value;
        const char* hex;
        const char* sign;
        const char* unsign;
        const char* binary;
        const char* chr;
    };
    const Case cases[] = {
        {0xFFFF, "FFFF", "-1", "65535", "1111 1111 1111 1111", "'.'"},
        {0x0041, "0041", "65", "65", "0000 0000 0100 0001", "'A'"},
        {0x0141, "0141", "321", "321", "0000 0001 0100 0001", "'.'"},
        {0x8000, "8000", "-32768", "32768", "1000 0000 0000 0000", "'.'"},
        {0x0020, "0020", "32", "32", "0000 0000 0010 0000", "' '"},
        {0x007F, "007F", "127", "127", "0000 0000 0111 1111", "'.'"},
    };
    for (const Case& c : cases) {
        CRegister reg;
        reg[3] = c.value;
        EXPECT_EQ(FormatRegisterCell(reg, 3, REG_COLUMN_HEX), c.hex);
        EXPECT_EQ(FormatRegisterCell(reg, 3, REG_COLUMN_SIGNED), c.sign);
        EXPECT_EQ(FormatRegisterCell(reg, 3, REG_COLUMN_UNSIGNED), c.unsign);
        EXPECT_EQ(FormatRegisterCell(reg, 3, REG_COLUMN_BINARY), c.binary);
        EXPECT_EQ(FormatRegisterCell(reg, 3, REG_COLUMN_CHR), c.chr);
    }
}

TEST(RegisterCells, AddressRegistersShowOnlyHexAndFlagsOnlyTheirBits)
{
    CRegister reg;
    reg[REG_SP] = 0xFFFF;
    reg[REG_PR] = 0x0100;
    for (int index : {REG_SP, REG_PR})
        for (int column : {REG_COLUMN_SIGNED, REG_COLUMN_UNSIGNED, REG_COLUMN_BINARY, REG_COLUMN_CHR})
            EXPECT_EQ(FormatRegisterCell(reg, index, column), "") << index << " " << column;
    EXPECT_EQ(FormatRegisterCell(reg, REG_SP, REG_COLUMN_HEX), "FFFF");

    const std::pair<WORD, const char*> flags[] = {{0, "---"}, {2, "-S-"}, {7, "VSZ"}, {0xFFFD, "V-Z"}};
    const char* bits[] = {"000", "010", "111", "101"};
    for (size_t i = 0; i < std::size(flags); ++i) {
        reg[REG_FR] = flags[i].first;
        EXPECT_EQ(FormatRegisterCell(reg, REG_FR, REG_COLUMN_HEX), flags[i].second);
        EXPECT_EQ(FormatRegisterCell(reg, REG_FR, REG_COLUMN_BINARY), bits[i]);
        EXPECT_EQ(FormatRegisterCell(reg, REG_FR, REG_COLUMN_SIGNED), "");
        EXPECT_EQ(FormatRegisterCell(reg, REG_FR, REG_COLUMN_CHR), "");
    }
}

TEST(ExpandTabs, ToMultiplesOfEightAndNoFurtherThanTheLimit)
{
    EXPECT_EQ(ExpandTabs("A\tB"), "A       B");
    EXPECT_EQ(ExpandTabs("ABCDEFGH\tI"), "ABCDEFGH        I");
    EXPECT_EQ(ExpandTabs("\t\tX", 12), "            ");
    EXPECT_EQ(ExpandTabs(std::string(100000, 'x'), 259).size(), 259u);
    EXPECT_EQ(ExpandTabs(""), "");
}
