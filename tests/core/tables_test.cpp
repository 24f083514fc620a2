// The label table and the literal table.
#include <gtest/gtest.h>

#include "assembler/label_bank.h"
#include "assembler/literal_bank.h"
#include "test_names.h"

namespace {

TEST(LabelBank, DefineLabelChecksNameRegisterAndDuplicate)
{
    struct Case {
        const char* name;
        int error;  // 0: defined
    };
    CLabelBank labels;
    WORD address = 0x0100;
    for (const Case& c : {Case{"A", 0}, Case{"LOOP", 0}, Case{"ABCDEFGH", 0}, Case{"SP", 0}, Case{"PR", 0},
                          Case{"FR", 0}, Case{"GR8", 0}, Case{"ABCDEFGHI", 2001}, Case{"1A", 2003}, Case{"a", 2003},
                          Case{"_X", 2003}, Case{"__0100__", 2003}, Case{"A_B", 2004}, Case{"Ab", 2004},
                          Case{"GR0", 2031}, Case{"GR1", 2031}, Case{"GR7", 2031}, Case{"LOOP", 2002},
                          Case{"SP", 2002}}) {
        const bool defined = labels.DefineLabel(c.name, address);
        EXPECT_EQ(defined, c.error == 0) << c.name;
        if (!defined) {
            EXPECT_EQ(labels.GetLastError(), c.error) << c.name;
        }
        ++address;
    }
    EXPECT_EQ(labels.GetCount(), 7u);
    // A refused definition changes nothing: LOOP keeps its first address.
    ASSERT_NE(labels.Lookup("LOOP"), nullptr);
    EXPECT_EQ(labels.Lookup("LOOP")->GetValue(), 0x0101);
    EXPECT_EQ(labels.Lookup("LOOP")->GetName(), "LOOP");
    EXPECT_EQ(labels.Lookup("SP")->GetValue(), 0x0103);
    EXPECT_EQ(labels.Lookup("GR1"), nullptr);
    EXPECT_EQ(labels.Lookup("loop"), nullptr);
    EXPECT_EQ(labels.Lookup("LOO"), nullptr);
}

TEST(LabelBank, EmptyNameDefinesNothing)
{
    CLabelBank labels;
    EXPECT_TRUE(labels.DefineLabel("", 0x0100));
    EXPECT_TRUE(labels.DefineLabel("", 0x0101));
    EXPECT_EQ(labels.GetCount(), 0u);
    EXPECT_EQ(labels.GetLastError(), 0);
}

TEST(LabelBank, HiddenLiteralLabels)
{
    CLabelBank labels;
    EXPECT_EQ(CLabelBank::LiteralLabelName(0x0102), "__0102__");
    EXPECT_EQ(CLabelBank::LiteralLabelName(0xABCD), "__ABCD__");
    EXPECT_EQ(CLabelBank::LiteralLabelName(0x0000), "__0000__");

    ASSERT_TRUE(labels.DefineLiteralLabel(0x0102, 0x0200));
    ASSERT_TRUE(labels.DefineLiteralLabel(0xFFFE, 0x0201));
    ASSERT_NE(labels.Lookup("__0102__"), nullptr);
    EXPECT_EQ(labels.Lookup("__0102__")->GetValue(), 0x0200);
    EXPECT_EQ(labels.Lookup("__FFFE__")->GetValue(), 0x0201);

    EXPECT_FALSE(labels.DefineLiteralLabel(0x0102, 0x0300));
    EXPECT_EQ(labels.GetLastError(), 2002);
    EXPECT_EQ(labels.Lookup("__0102__")->GetValue(), 0x0200);

    // User labels and hidden entries never collide.
    EXPECT_TRUE(labels.DefineLabel("L0102", 0x0100));
    EXPECT_EQ(labels.GetCount(), 3u);

    labels.RemoveAll();
    EXPECT_EQ(labels.GetCount(), 0u);
    EXPECT_EQ(labels.Lookup("__0102__"), nullptr);
    EXPECT_TRUE(labels.DefineLabel("L0102", 0x0100));
}

struct LiteralCase {
    std::string text;
    std::vector<WORD> words;  // empty: refused
    int error;
};

void PrintTo(const LiteralCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.text);
}

class LiteralBankAdd : public testing::TestWithParam<LiteralCase> {};

TEST_P(LiteralBankAdd, ParsesOrRefuses)
{
    const LiteralCase& c = GetParam();
    CLiteralBank literals;
    literals.SetNextAddress(0x0150);
    ASSERT_NE(literals.AddLiteral("1"), nullptr);

    const CLiteral* literal = literals.AddLiteral(c.text);
    if (c.error) {
        EXPECT_EQ(literal, nullptr);
        EXPECT_EQ(literals.GetLastError(), c.error);
        EXPECT_EQ(literals.GetNextAddress(), 0x0151);
        EXPECT_EQ(literals.GetLiterals().size(), 1u);
        return;
    }
    ASSERT_NE(literal, nullptr);
    EXPECT_EQ(literal->GetAddress(), 0x0151);
    EXPECT_EQ(literal->GetWords(), c.words);
    EXPECT_EQ(literals.GetNextAddress(), 0x0151 + c.words.size());
    EXPECT_EQ(literals.GetLiterals().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Literals, LiteralBankAdd,
    testing::Values(LiteralCase{"", {}, 2910}, LiteralCase{"'", {}, 2911}, LiteralCase{"'A", {}, 2911},
                    LiteralCase{"'A'B", {}, 2911}, LiteralCase{"'IT''S'", {}, 2911}, LiteralCase{"''''", {}, 2911},
                    LiteralCase{"''", {}, 2912}, LiteralCase{"#00ff", {}, 2913}, LiteralCase{"#FFF", {}, 2913},
                    LiteralCase{"#FFFF0", {}, 2913}, LiteralCase{"#", {}, 2913}, LiteralCase{"#12G4", {}, 2913},
                    LiteralCase{"ABC", {}, 2914}, LiteralCase{"1X", {}, 2914}, LiteralCase{"-", {}, 2914},
                    LiteralCase{"=1", {}, 2914}, LiteralCase{" 1", {}, 2914}, LiteralCase{"a", {}, 2914},
                    LiteralCase{"'A'", {0x0041}, 0}, LiteralCase{"'AB'", {0x0041, 0x0042}, 0},
                    LiteralCase{"' '", {0x0020}, 0}, LiteralCase{"','", {0x002C}, 0},
                    LiteralCase{"'\x7F'", {0x007F}, 0}, LiteralCase{"'\x80'", {0xFF80}, 0},
                    LiteralCase{"'\xB1\xDF'", {0xFFB1, 0xFFDF}, 0}, LiteralCase{"'\x8A\xBF'", {0xFF8A, 0xFFBF}, 0},
                    LiteralCase{"'\xFF'", {0xFFFF}, 0}, LiteralCase{std::string("'\0'", 3), {0x0000}, 0},
                    LiteralCase{"#0010", {0x0010}, 0}, LiteralCase{"#FFFF", {0xFFFF}, 0},
                    LiteralCase{"5", {5}, 0}, LiteralCase{"+7", {7}, 0}, LiteralCase{"-1", {0xFFFF}, 0},
                    LiteralCase{"65536", {0x0000}, 0}, LiteralCase{"-32768", {0x8000}, 0},
                    LiteralCase{"4294967297", {0xFFFF}, 0}, LiteralCase{"-4294967295", {0x0000}, 0}),
    [](const auto& info) { return CaseName(info.index, info.param.text); });

TEST(LiteralBank, EqualLiteralsAreNotSharedAndLoadInOrder)
{
    CLiteralBank literals;
    literals.SetNextAddress(0xFFFE);
    const CLiteral* a = literals.AddLiteral("5");
    const CLiteral* b = literals.AddLiteral("5");
    const CLiteral* c = literals.AddLiteral("'XY'");
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->GetAddress(), 0xFFFE);
    EXPECT_EQ(b->GetAddress(), 0xFFFF);
    EXPECT_EQ(c->GetAddress(), 0x0000);  // the pool wraps like every address
    EXPECT_EQ(literals.GetNextAddress(), 0x0002);

    CMemory memory;
    memory.SetWord(0x0002, 0x1234);
    literals.LoadAll(memory);
    EXPECT_EQ(memory.GetWord(0xFFFE), 5);
    EXPECT_EQ(memory.GetWord(0xFFFF), 5);
    EXPECT_EQ(memory.GetWord(0x0000), 0x0058);
    EXPECT_EQ(memory.GetWord(0x0001), 0x0059);
    EXPECT_EQ(memory.GetWord(0x0002), 0x1234);

    literals.RemoveAll();
    EXPECT_TRUE(literals.GetLiterals().empty());
}

}  // namespace
