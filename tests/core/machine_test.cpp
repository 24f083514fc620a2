// Memory and register file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>
#include "machine/flags.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "test_names.h"

namespace {

TEST(Memory, StartsClearedAndClears)
{
    CMemory memory;
    EXPECT_EQ(memory.GetWord(0x0000), 0);
    EXPECT_EQ(memory.GetWord(0xFFFF), 0);
    memory.SetWord(0xFFFF, 0x1234);
    memory.SetWord(0x0000, 0xABCD);
    EXPECT_EQ(memory.GetWord(0xFFFF), 0x1234);
    EXPECT_EQ(memory.GetWord(0x0000), 0xABCD);
    memory.Clear();
    EXPECT_EQ(memory.GetWord(0xFFFF), 0);
    EXPECT_EQ(memory.GetWord(0x0000), 0);
}

TEST(Register, StartsClearedAndClears)
{
    CRegister reg;
    for (int i = 0; i < REG_COUNT; ++i) EXPECT_EQ(reg[i], 0) << i;
    for (int i = 0; i < REG_COUNT; ++i) reg[i] = static_cast<WORD>(i + 1);
    EXPECT_EQ(reg[REG_FR], 11);
    reg.Clear();
    for (int i = 0; i < REG_COUNT; ++i) EXPECT_EQ(reg[i], 0) << i;
}

struct ZeroSignCase {
    std::int16_t result;
    WORD frBefore;
    WORD frAfter;
};

class RegisterSetZeroSign : public testing::TestWithParam<ZeroSignCase> {};

TEST_P(RegisterSetZeroSign, SetsOnlyZfAndSf)
{
    CRegister reg;
    reg[REG_FR] = GetParam().frBefore;
    SetZeroSign(reg, GetParam().result);
    EXPECT_EQ(reg[REG_FR], GetParam().frAfter);
}

INSTANTIATE_TEST_SUITE_P(Register, RegisterSetZeroSign,
                         testing::Values(ZeroSignCase{0, 0x0000, FLAG_ZF}, ZeroSignCase{-1, 0x0000, FLAG_SF},
                                         ZeroSignCase{1, FLAG_ZF | FLAG_SF, 0x0000},
                                         ZeroSignCase{-32768, FLAG_ZF | FLAG_OF, FLAG_SF | FLAG_OF},
                                         ZeroSignCase{32767, FLAG_SF | FLAG_OF, FLAG_OF},
                                         ZeroSignCase{0, 0xFFF8 | FLAG_SF, 0xFFF8 | FLAG_ZF},
                                         ZeroSignCase{-5, 0xFFFF, 0xFFFF & ~FLAG_ZF}),
                         [](const auto& info) {
                             const int result = info.param.result;
                             return CaseName(info.index, (result < 0 ? "minus " : "") + std::to_string(std::abs(result)));
                         });

TEST(Register, NamesFindTheirIndexExactly)
{
    for (int i = 0; i < REG_COUNT; ++i) EXPECT_EQ(FindRegisterIndex(GetRegisterName(i)), i);
    EXPECT_EQ(FindRegisterIndex("FR"), REG_FR);
    for (const char* name : {"GR8", "gr1", "sp", "Gr1", "", "GR", "GR10", "GR1 ", " SP", "PC", "SPX"})
        EXPECT_EQ(FindRegisterIndex(name), -1) << '"' << name << '"';
}

}  // namespace
