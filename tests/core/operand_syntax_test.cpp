// Operand tokens: splitting, label names, registers, address and constant tokens.
#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "assembler/error_numbers.h"
#include "assembler/operand_syntax.h"
#include "test_names.h"

namespace {

using Tokens = std::vector<std::string>;

struct SplitCase {
    std::string operand;
    Tokens tokens;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.operand);
}

class SplitOperandsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitOperandsTest, Cuts)
{
    CTokenList tokens;
    SplitOperandViews(GetParam().operand, tokens);
    EXPECT_EQ(Tokens(tokens.begin(), tokens.end()), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Operands, SplitOperandsTest,
    testing::Values(SplitCase{"", {}}, SplitCase{"GR1", {"GR1"}}, SplitCase{"GR1, DATA", {"GR1", "DATA"}},
                    SplitCase{"GR1,,DATA", {"GR1", "", "DATA"}}, SplitCase{"GR1,", {"GR1"}},
                    SplitCase{",", {""}}, SplitCase{",,", {"", ""}}, SplitCase{",GR1", {"", "GR1"}},
                    SplitCase{"GR1,DATA,GR2", {"GR1", "DATA", "GR2"}},
                    SplitCase{" \tGR1 \t,\t DATA \v", {"GR1", "DATA"}},
                    SplitCase{"'A,B',C", {"'A,B'", "C"}}, SplitCase{"'A,B','C,D'", {"'A,B'", "'C,D'"}},
                    SplitCase{"'A\tB'", {"'A\tB'"}}, SplitCase{"1\t2", {"1\t2"}},
                    SplitCase{"'IT''S,X',Y", {"'IT''S,X'", "Y"}}, SplitCase{"'unclosed,X", {"'unclosed,X"}},
                    SplitCase{"' , '", {"' , '"}}, SplitCase{"=',',GR1", {"=','", "GR1"}}),
    [](const auto& info) { return CaseName(info.index, info.param.operand); });

struct LabelNameCase {
    std::string name;
    int error;
};

void PrintTo(const LabelNameCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.name);
}

class CheckLabelNameTest : public testing::TestWithParam<LabelNameCase> {};

TEST_P(CheckLabelNameTest, Checks)
{
    EXPECT_EQ(CheckLabelName(GetParam().name), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, CheckLabelNameTest,
    testing::Values(LabelNameCase{"A", 0}, LabelNameCase{"Z9", 0}, LabelNameCase{"ABCDEFGH", 0},
                    LabelNameCase{"GR1", 0}, LabelNameCase{"SP", 0}, LabelNameCase{"ABCDEFGHI", 2001},
                    LabelNameCase{"abcdefghi", 2001}, LabelNameCase{"9", 2003}, LabelNameCase{"a", 2003},
                    LabelNameCase{"_A", 2003}, LabelNameCase{"#A", 2003}, LabelNameCase{"=A", 2003},
                    LabelNameCase{"\xB1", 2003}, LabelNameCase{"Ab", 2004}, LabelNameCase{"A_B", 2004},
                    LabelNameCase{"A B", 2004}, LabelNameCase{"A\xB1", 2004}, LabelNameCase{"A-", 2004},
                    LabelNameCase{std::string("A\0B", 3), 2004}, LabelNameCase{"__0100__", 2003}),
    [](const auto& info) { return CaseName(info.index, info.param.name); });

TEST(Registers, GeneralAndIndex)
{
    for (int n = 0; n <= 7; ++n) {
        const std::string name = "GR" + std::to_string(n);
        int reg = -1;
        EXPECT_TRUE(CMnemonic::ParseRegister(name, reg));
        EXPECT_EQ(reg, n);
        reg = -1;
        EXPECT_EQ(CMnemonic::ParseIndexRegister(name, reg), n != 0) << name;
        if (n != 0) {
            EXPECT_EQ(reg, n);
        }
    }
    int reg = 0;
    for (const char* bad : {"GR8", "GR9", "gr1", "Gr1", "GR", "GR01", "GR1 ", " GR1", "SP", "PR", "FR", "", "G"}) {
        EXPECT_FALSE(CMnemonic::ParseRegister(bad, reg)) << bad;
        EXPECT_FALSE(CMnemonic::ParseIndexRegister(bad, reg)) << bad;
    }
}

// An assembler with DATA defined at #0100 and LONGNAME at #0234 by pass 1, ready for pass 2.
class ParseAddressTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_assembler.BeginPass(1);
        m_assembler.AssembleLine("DATA DS 308");
        m_assembler.AssembleLine("LONGNAME DS 0");
        ASSERT_FALSE(m_assembler.HasErrors());
        m_assembler.BeginPass(2);
    }

    // Parses one token at #0102 in the given pass; returns the value, or minus the error number.
    int Parse(std::string_view token, int pass)
    {
        CAssembler firstPass;
        firstPass.BeginPass(1);
        CMnemonic statement(0x0102, CStatementText{}, pass == 1 ? &firstPass : &m_assembler);
        WORD value = 0xEEEE;
        if (statement.ParseAddress(token, value)) {
            EXPECT_EQ(statement.GetError(), 0);
            return value;
        }
        EXPECT_NE(statement.GetError(), 0) << token;
        return -statement.GetError();
    }

    CAssembler m_assembler;
};

TEST_F(ParseAddressTest, Constants)
{
    struct Case {
        const char* token;
        int result;
    };
    for (const Case& c : {Case{"#0000", 0x0000}, Case{"#FFFF", 0xFFFF}, Case{"#09AF", 0x09AF}, Case{"#00ff", -2013},
                          Case{"#FFF", -2013}, Case{"#FFFF0", -2013}, Case{"#", -2013}, Case{"#G000", -2013},
                          Case{"# 123", -2013}, Case{"0", 0}, Case{"7", 7}, Case{"+7", 7}, Case{"-1", 0xFFFF},
                          Case{"65535", 0xFFFF}, Case{"65536", 0x0000}, Case{"-32768", 0x8000},
                          Case{"2147483647", 0xFFFF}, Case{"2147483648", 0xFFFF}, Case{"4294967296", 0xFFFF},
                          Case{"-2147483648", 0x0000}, Case{"-2147483649", 0x0000}, Case{"-4294967295", 0x0000},
                          Case{"123456789012345678901234567890", 0xFFFF}, Case{"7X", -2014}, Case{"-", -2014},
                          Case{"+", -2014}, Case{"--1", -2014}, Case{"1 2", -2014}, Case{" 1", -2014},
                          Case{"0x10", -2014}, Case{"loop", -2014}, Case{"'A'", -2014}, Case{"\xB1", -2014}})
        for (int pass : {1, 2}) EXPECT_EQ(Parse(c.token, pass), c.result) << c.token << " in pass " << pass;
}

TEST_F(ParseAddressTest, EmptyTokenFailsWithoutErrorNumber)
{
    CMnemonic statement(0x0102, CStatementText{}, &m_assembler);
    WORD value;
    EXPECT_FALSE(statement.ParseAddress("", value));
    EXPECT_EQ(statement.GetError(), 0);
}

TEST_F(ParseAddressTest, LabelsAreLookedUpInPass2Only)
{
    EXPECT_EQ(Parse("DATA", 2), 0x0100);
    EXPECT_EQ(Parse("LONGNAME", 2), 0x0234);
    EXPECT_EQ(Parse("NOWHERE", 2), -2006);
    EXPECT_EQ(Parse("GR1", 2), -2006);  // a well-formed name that can never be defined
    EXPECT_EQ(Parse("ABCDEFGHI", 2), -2005);
    EXPECT_EQ(Parse("A_B", 2), -2005);
    EXPECT_EQ(Parse("Data", 2), -2005);
    EXPECT_EQ(Parse("NOWHERE", 1), 0);
    EXPECT_EQ(Parse("A_B", 1), -2005);
}

TEST(ParseAddress, LiteralsAreNotExaminedInPass1)
{
    CAssembler assembler;
    assembler.BeginPass(1);
    CMnemonic statement(0x0102, CStatementText{}, &assembler);
    for (const char* token : {"=#12", "=5", "=", "=''"}) {
        WORD value = 0xEEEE;
        EXPECT_TRUE(statement.ParseAddress(token, value)) << token;
        EXPECT_EQ(value, 0) << token;
    }
    EXPECT_TRUE(assembler.GetLiterals().GetLiterals().empty());
    EXPECT_EQ(assembler.GetLabels().Lookup("__0102__"), nullptr);
}

TEST_F(ParseAddressTest, LiteralGetsPoolAddressAndHiddenLabel)
{
    EXPECT_EQ(Parse("=5", 2), 0x0234);
    const CLabel* hidden = m_assembler.GetLabels().Lookup("__0102__");
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->GetValue(), 0x0234);
    EXPECT_EQ(Parse("='AB'", 2), 0x0235);
    EXPECT_EQ(Parse("=#12", 2), -2913);
    EXPECT_EQ(Parse("=", 2), -2910);
    EXPECT_EQ(Parse("=DATA", 2), -2914);
    EXPECT_EQ(m_assembler.GetLiterals().GetNextAddress(), 0x0237);
}

TEST(ExpandedSource, TabsGoToTheNextMultipleOfEight)
{
    struct Case {
        const char* source;
        const char* expanded;
    };
    for (const Case& c : {Case{"", ""}, Case{"\t", "        "}, Case{"A\tB", "A       B"},
                          Case{"ABCDEFG\tX", "ABCDEFG X"}, Case{"ABCDEFGH\tX", "ABCDEFGH        X"},
                          Case{"\t\tX", "                X"}, Case{" LD\tGR1", " LD     GR1"},
                          Case{"\xB1\tX", "\xB1       X"}}) {
        CMnemonic statement(0x0100, CStatementText{c.source}, nullptr);
        EXPECT_EQ(statement.GetExpandedSource(), c.expanded) << c.source;
    }
}

}  // namespace
