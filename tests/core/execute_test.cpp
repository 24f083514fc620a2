// What each instruction and macro does to registers, flags and memory, one
// statement at a time: each case loads a small program, sets the machine up,
// traces the first statement and compares the whole register file and memory.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include "recording_host.h"
#include "assembler/error_numbers.h"
#include "resources/message_ids.h"
#include "text/codepage.h"

namespace {
using Regs = std::vector<std::pair<int, WORD>>;
using Words = std::vector<std::pair<WORD, WORD>>;

constexpr int GR0 = 0, GR1 = 1, GR2 = 2, GR3 = 3, GR7 = 7, SP = REG_SP, PR = REG_PR, FR = REG_FR;

// The statements of code start at #0100; a RET and the data follow them.
std::string Program(const std::string& code, const std::string& data = "")
{
    return "PROG\tSTART\n" + code + "\n\tRET\n" + data + (data.empty() ? "" : "\n") + "\tEND\n";
}

struct ExecCase {
    std::string name;
    std::string code;
    Regs regs;          // set after loading (the loaded state has SP = #FFFF, PR = #0100)
    Words mem;          // written after loading
    Regs expectRegs;    // every register not named here must be unchanged; PR is always named
    Words expectMem;    // every word not named here must be unchanged
    std::vector<int> messages = {};
};

std::ostream& operator<<(std::ostream& os, const ExecCase& c) { return os << c.name << ": " << c.code; }

struct Snapshot {
    std::array<WORD, REG_COUNT> regs;
    std::vector<WORD> mem;
};

Snapshot Take(CTestDocument& t)
{
    Snapshot s;
    for (int r = 0; r < REG_COUNT; ++r) s.regs[r] = t.Reg()[r];
    s.mem.resize(CMemory::kSize);
    for (int a = 0; a < CMemory::kSize; ++a) s.mem[a] = t.Mem().GetWord(static_cast<WORD>(a));
    return s;
}

void ExpectMachine(CTestDocument& t, const Snapshot& before, const Regs& regs, const Words& words)
{
    Snapshot expected = before;
    for (auto [r, v] : regs) expected.regs[r] = v;
    for (auto [a, v] : words) expected.mem[a] = v;
    const Snapshot actual = Take(t);
    for (int r = 0; r < REG_COUNT; ++r)
        EXPECT_EQ(actual.regs[r], expected.regs[r]) << GetRegisterName(r) << std::hex << " expected #" << expected.regs[r]
                                                    << " got #" << actual.regs[r];
    int wrong = 0;
    for (int a = 0; a < CMemory::kSize && wrong < 8; ++a)
        if (actual.mem[a] != expected.mem[a]) {
            ++wrong;
            ADD_FAILURE() << std::hex << "memory #" << a << " expected #" << expected.mem[a] << " got #" << actual.mem[a];
        }
}

// Loads, applies the set-up, traces one statement and checks the result.
void RunCase(const ExecCase& c)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(Program(c.code))) << c.code;
    for (auto [r, v] : c.regs) t.Reg()[r] = v;
    for (auto [a, v] : c.mem) t.Mem().SetWord(a, v);
    const Snapshot before = Take(t);
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.host.MessageIds(), c.messages);
    ExpectMachine(t, before, c.expectRegs, c.expectMem);
}

// One statement line without a label: a tab, the operation, a tab, the operand.
std::string Line(const char* op, const std::string& operand)
{
    std::string line = "\t";
    line += op;
    line += '\t';
    line += operand;
    return line;
}

std::string Hex(WORD w)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", w);
    return text;
}

// ---------------------------------------------------------------------------
// LD and the arithmetic, logic and compare instructions, in all three operand
// forms (r1,r2; r,adr; r,adr,x with the address wrapping), each from FR = 0 and
// FR = 7 so that every flag is seen to be set and cleared.

struct AluRow {
    const char* op;
    WORD v, m;
    WORD result;  // GR1 afterwards (CPA/CPL: unchanged)
    WORD fr;
};

const AluRow kAluRows[] = {
    {"LD", 0x5555, 0x8000, 0x8000, 2},   // negative value loaded: SF, and OF cleared
    {"LD", 0x5555, 0x0000, 0x0000, 1},
    {"LD", 0x5555, 0x0001, 0x0001, 0},
    {"ADDA", 0x7FFF, 0x0001, 0x8000, 6},  // positive overflow
    {"ADDA", 0xFFFF, 0x0001, 0x0000, 1},  // -1 + 1: no overflow
    {"ADDA", 0x8000, 0xFFFF, 0x7FFF, 4},  // negative overflow
    {"ADDA", 0x0003, 0x0004, 0x0007, 0},
    {"ADDA", 0xFFFE, 0x0001, 0xFFFF, 2},
    {"ADDA", 0x7FFE, 0x0001, 0x7FFF, 0},  // just inside the range
    {"ADDL", 0x7FFF, 0x0001, 0x8000, 2},  // no carry
    {"ADDL", 0xFFFF, 0x0001, 0x0000, 5},  // carry
    {"ADDL", 0x8000, 0x8000, 0x0000, 5},
    {"ADDL", 0xFFFF, 0xFFFF, 0xFFFE, 6},
    {"ADDL", 0xFFFE, 0x0001, 0xFFFF, 2},  // the largest sum without a carry
    {"SUBA", 0x8000, 0x0001, 0x7FFF, 4},  // negative overflow
    {"SUBA", 0x7FFF, 0xFFFF, 0x8000, 6},  // 32767 - (-1)
    {"SUBA", 0x0005, 0x0005, 0x0000, 1},
    {"SUBA", 0x0000, 0x0001, 0xFFFF, 2},
    {"SUBA", 0x8001, 0x0001, 0x8000, 2},  // just inside the range
    {"SUBL", 0x0000, 0x0001, 0xFFFF, 6},  // borrow
    {"SUBL", 0x8000, 0x0001, 0x7FFF, 0},
    {"SUBL", 0x0005, 0x0005, 0x0000, 1},
    {"SUBL", 0x0001, 0xFFFF, 0x0002, 4},
    {"AND", 0xFF0F, 0xF0FF, 0xF00F, 2},
    {"AND", 0x00F0, 0x0F00, 0x0000, 1},
    {"OR", 0x0F00, 0x00F0, 0x0FF0, 0},
    {"OR", 0x8000, 0x0000, 0x8000, 2},
    {"XOR", 0xFFFF, 0xFFFF, 0x0000, 1},
    {"XOR", 0x1234, 0xFFFF, 0xEDCB, 2},
    {"CPA", 0xFFFF, 0x0001, 0xFFFF, 2},  // -1 < 1
    {"CPL", 0xFFFF, 0x0001, 0xFFFF, 0},  // 65535 > 1
    {"CPA", 0x0001, 0xFFFF, 0x0001, 0},
    {"CPL", 0x0001, 0xFFFF, 0x0001, 2},
    {"CPA", 0x8000, 0x7FFF, 0x8000, 2},
    {"CPL", 0x8000, 0x7FFF, 0x8000, 0},
    {"CPA", 0x0005, 0x0005, 0x0005, 1},
    {"CPL", 0x0005, 0x0005, 0x0005, 1},
};

std::vector<ExecCase> AluCases()
{
    std::vector<ExecCase> cases;
    int row = 0;
    for (const AluRow& r : kAluRows) {
        for (WORD fr0 : {WORD{0}, WORD{7}}) {
            const std::string stem = std::string(r.op) + "_" + std::to_string(row) + "_FR" + std::to_string(fr0);
            // r1,r2: one word, the second register is left alone.
            cases.push_back({stem + "_reg", Line(r.op, "GR1,GR2"),
                             {{GR1, r.v}, {GR2, r.m}, {FR, fr0}}, {},
                             {{GR1, r.result}, {FR, r.fr}, {PR, 0x0101}}, {}});
            cases.push_back({stem + "_adr", Line(r.op, "GR1,#0200"),
                             {{GR1, r.v}, {FR, fr0}}, {{0x0200, r.m}},
                             {{GR1, r.result}, {FR, r.fr}, {PR, 0x0102}}, {}});
            // #0300 + #FF00 wraps to #0200.
            cases.push_back({stem + "_idx", Line(r.op, "GR1,#0300,GR3"),
                             {{GR1, r.v}, {GR3, 0xFF00}, {FR, fr0}}, {{0x0200, r.m}},
                             {{GR1, r.result}, {FR, r.fr}, {PR, 0x0102}}, {}});
        }
        ++row;
    }
    return cases;
}

class Alu : public ::testing::TestWithParam<ExecCase> {};
TEST_P(Alu, SetsResultAndEveryFlag) { RunCase(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Execute, Alu, ::testing::ValuesIn(AluCases()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Single cases: store, address, same register on both sides, GR0, NOP, stack.

const ExecCase kSingleCases[] = {
    {"ST_keeps_flags", "\tST\tGR1,#0200", {{GR1, 0xABCD}, {FR, 7}}, {}, {{PR, 0x0102}}, {{0x0200, 0xABCD}}},
    {"ST_indexed_wraps", "\tST\tGR1,#0300,GR2", {{GR1, 0xABCD}, {GR2, 0xFF00}}, {}, {{PR, 0x0102}}, {{0x0200, 0xABCD}}},
    {"ST_GR0", "\tST\tGR0,#0200", {{GR0, 0x0042}}, {}, {{PR, 0x0102}}, {{0x0200, 0x0042}}},
    {"LAD_keeps_flags", "\tLAD\tGR1,#1234", {{FR, 7}}, {}, {{GR1, 0x1234}, {PR, 0x0102}}, {}},
    {"LAD_indexed_wraps", "\tLAD\tGR1,#FFFF,GR2", {{GR2, 2}}, {}, {{GR1, 0x0001}, {PR, 0x0102}}, {}},
    {"LAD_zero_sets_no_flag", "\tLAD\tGR1,1,GR1", {{GR1, 0xFFFF}}, {}, {{GR1, 0}, {PR, 0x0102}}, {}},
    {"LD_GR0_from_GR7", "\tLD\tGR0,GR7", {{GR7, 0xFFFF}, {FR, 4}}, {}, {{GR0, 0xFFFF}, {FR, 2}, {PR, 0x0101}}, {}},
    {"ADDA_register_to_itself", "\tADDA\tGR1,GR1", {{GR1, 0x4000}}, {}, {{GR1, 0x8000}, {FR, 6}, {PR, 0x0101}}, {}},
    {"SUBL_register_from_itself", "\tSUBL\tGR1,GR1", {{GR1, 0x8000}, {FR, 6}}, {}, {{GR1, 0}, {FR, 1}, {PR, 0x0101}}, {}},
    {"NOP", "\tNOP", {{GR1, 5}, {FR, 5}}, {}, {{PR, 0x0101}}, {}},
    // Stack: push decrements first, pop reads first; SP wraps; flags stay.
    {"PUSH_effective_address", "\tPUSH\t0,GR1", {{GR1, 0x1234}, {FR, 7}}, {}, {{SP, 0xFFFE}, {PR, 0x0102}}, {{0xFFFE, 0x1234}}},
    {"PUSH_constant", "\tPUSH\t#0005", {}, {}, {{SP, 0xFFFE}, {PR, 0x0102}}, {{0xFFFE, 0x0005}}},
    {"PUSH_wraps_SP", "\tPUSH\t#0010,GR1", {{GR1, 0xFFF5}, {SP, 0x0000}}, {}, {{SP, 0xFFFF}, {PR, 0x0102}}, {{0xFFFF, 0x0005}}},
    {"POP", "\tPOP\tGR2", {{SP, 0xFFFE}, {FR, 7}}, {{0xFFFE, 0xABCD}}, {{GR2, 0xABCD}, {SP, 0xFFFF}, {PR, 0x0101}}, {}},
    {"POP_wraps_SP", "\tPOP\tGR2", {}, {{0xFFFF, 0x0042}}, {{GR2, 0x0042}, {SP, 0x0000}, {PR, 0x0101}}, {}},
    {"CALL", "\tCALL\t#0200", {{FR, 7}}, {}, {{SP, 0xFFFE}, {PR, 0x0200}}, {{0xFFFE, 0x0102}}},
    {"CALL_indexed", "\tCALL\t#0100,GR1", {{GR1, 0x0100}}, {}, {{SP, 0xFFFE}, {PR, 0x0200}}, {{0xFFFE, 0x0102}}},
    {"CALL_wraps_SP", "\tCALL\t#0200", {{SP, 0x0000}}, {}, {{SP, 0xFFFF}, {PR, 0x0200}}, {{0xFFFF, 0x0102}}},
    {"RET", "\tRET", {{SP, 0xFFFE}, {FR, 7}}, {{0xFFFE, 0x0300}}, {{SP, 0xFFFF}, {PR, 0x0300}}, {}},
    {"RET_wraps_SP", "\tRET", {}, {{0xFFFF, 0x0200}}, {{SP, 0x0000}, {PR, 0x0200}}, {}},
    // The outermost RET reads the #0000 that loading put at #FFFF: the program ends.
    {"RET_outermost_ends_program", "\tRET", {}, {}, {{SP, 0x0000}, {PR, 0x0000}}, {}, {MSG_PROGRAM_END}},
    // RPUSH: GR1 first, GR7 on top. RPOP: GR7 first.
    {"RPUSH",
     "\tRPUSH",
     {{GR1, 0x11}, {2, 0x22}, {3, 0x33}, {4, 0x44}, {5, 0x55}, {6, 0x66}, {GR7, 0x77}, {FR, 7}},
     {},
     {{SP, 0xFFF8}, {PR, 0x010E}},
     {{0xFFFE, 0x11}, {0xFFFD, 0x22}, {0xFFFC, 0x33}, {0xFFFB, 0x44}, {0xFFFA, 0x55}, {0xFFF9, 0x66}, {0xFFF8, 0x77}}},
    {"RPUSH_wraps_SP",
     "\tRPUSH",
     {{GR1, 0x11}, {2, 0x22}, {3, 0x33}, {4, 0x44}, {5, 0x55}, {6, 0x66}, {GR7, 0x77}, {SP, 0x0003}},
     {},
     {{SP, 0xFFFC}, {PR, 0x010E}},
     {{0x0002, 0x11}, {0x0001, 0x22}, {0x0000, 0x33}, {0xFFFF, 0x44}, {0xFFFE, 0x55}, {0xFFFD, 0x66}, {0xFFFC, 0x77}}},
    {"RPOP",
     "\tRPOP",
     {{SP, 0xFFF8}, {FR, 7}},
     {{0xFFF8, 0x0700}, {0xFFF9, 0x0600}, {0xFFFA, 0x0500}, {0xFFFB, 0x0400}, {0xFFFC, 0x0300}, {0xFFFD, 0x0200}, {0xFFFE, 0x0100}},
     {{GR7, 0x0700}, {6, 0x0600}, {5, 0x0500}, {4, 0x0400}, {3, 0x0300}, {GR2, 0x0200}, {GR1, 0x0100}, {SP, 0xFFFF}, {PR, 0x0107}},
     {}},
    {"RPOP_wraps_SP",
     "\tRPOP",
     {{SP, 0xFFFD}},
     {{0xFFFD, 0x0700}, {0xFFFE, 0x0600}, {0xFFFF, 0x0500}, {0x0000, 0x0400}, {0x0001, 0x0300}, {0x0002, 0x0200}, {0x0003, 0x0100}},
     {{GR7, 0x0700}, {6, 0x0600}, {5, 0x0500}, {4, 0x0400}, {3, 0x0300}, {GR2, 0x0200}, {GR1, 0x0100}, {SP, 0x0004}, {PR, 0x0107}},
     {}},
};

class Single : public ::testing::TestWithParam<ExecCase> {};
TEST_P(Single, ChangesExactlyWhatItShould) { RunCase(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Execute, Single, ::testing::ValuesIn(kSingleCases),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Shifts. The count is the effective address: given directly, and through an
// index register with the address wrapping (#FFF0 + count + #10).

struct ShiftRow {
    const char* op;
    WORD v, n, fr0;
    WORD result, fr;
};

const ShiftRow kShiftRows[] = {
    {"SLA", 0xC000, 1, 0, 0x8000, 6},   // OF from bit 14
    {"SLA", 0xA000, 1, 0, 0xC000, 2},
    {"SLA", 0x0003, 1, 4, 0x0006, 0},
    {"SLA", 0x8001, 0, 0, 0x8001, 6},   // n = 0: OF is the sign bit
    {"SLA", 0x4001, 0, 4, 0x4001, 0},
    {"SLA", 0x0001, 14, 0, 0x4000, 0},
    {"SLA", 0x0001, 15, 0, 0x0000, 5},  // bit 0 reaches bit 15: lost, but it is OF
    {"SLA", 0xFFFF, 15, 0, 0x8000, 6},
    {"SLA", 0xFFFF, 16, 4, 0x8000, 2},  // only the sign bit is left, OF = 0
    {"SLA", 0x7FFF, 16, 4, 0x0000, 1},
    {"SLA", 0xFFFF, 17, 4, 0x8000, 2},
    {"SLA", 0xFFFF, 40, 4, 0x8000, 2},
    {"SLA", 0x7FFF, 0xFFFF, 4, 0x0000, 1},
    {"SRA", 0x8000, 15, 0, 0xFFFF, 2},
    {"SRA", 0x8000, 16, 0, 0xFFFF, 6},  // OF from bit 15
    {"SRA", 0x8000, 17, 4, 0xFFFF, 2},
    {"SRA", 0x8000, 40, 4, 0xFFFF, 2},
    {"SRA", 0x7FFF, 15, 0, 0x0000, 5},
    {"SRA", 0x7FFF, 16, 4, 0x0000, 1},
    {"SRA", 0x4000, 0xFFFF, 4, 0x0000, 1},
    {"SRA", 0x0003, 1, 0, 0x0001, 4},
    {"SRA", 0x0001, 1, 0, 0x0000, 5},
    {"SRA", 0xFFFE, 1, 4, 0xFFFF, 2},
    {"SRA", 0x8000, 0, 4, 0x8000, 6},   // n = 0: OF stays as it was
    {"SRA", 0x8000, 0, 0, 0x8000, 2},
    {"SRA", 0x0000, 0, 4, 0x0000, 5},
    {"SLL", 0x8001, 1, 0, 0x0002, 4},
    {"SLL", 0x4000, 1, 4, 0x8000, 2},
    {"SLL", 0x8001, 0, 4, 0x8001, 2},   // n = 0: OF cleared
    {"SLL", 0x0003, 15, 0, 0x8000, 6},  // OF from bit 1
    {"SLL", 0x0001, 15, 4, 0x8000, 2},
    {"SLL", 0x8001, 16, 0, 0x0000, 5},  // OF from bit 0
    {"SLL", 0x8000, 16, 4, 0x0000, 1},
    {"SLL", 0xFFFF, 17, 4, 0x0000, 1},
    {"SLL", 0xFFFF, 40, 4, 0x0000, 1},
    {"SRL", 0x8001, 1, 0, 0x4000, 4},
    {"SRL", 0x8001, 0, 4, 0x8001, 6},   // n = 0: OF stays as it was
    {"SRL", 0x8001, 0, 0, 0x8001, 2},
    {"SRL", 0x8000, 15, 4, 0x0001, 0},
    {"SRL", 0xC000, 15, 0, 0x0001, 4},  // OF from bit 14
    {"SRL", 0x8000, 16, 0, 0x0000, 5},  // OF from bit 15
    {"SRL", 0x7FFF, 16, 4, 0x0000, 1},
    {"SRL", 0xFFFF, 17, 4, 0x0000, 1},
    {"SRL", 0xFFFF, 40, 4, 0x0000, 1},
    {"SRL", 0xFFFF, 0xFFFF, 4, 0x0000, 1},
};

std::vector<ExecCase> ShiftCases()
{
    std::vector<ExecCase> cases;
    int row = 0;
    for (const ShiftRow& r : kShiftRows) {
        const std::string stem = std::string(r.op) + "_" + Hex(r.v) + "_by_" + std::to_string(r.n) + "_FR" +
                                 std::to_string(r.fr0) + "_" + std::to_string(row++);
        cases.push_back({stem + "_imm", Line(r.op, "GR1,#" + Hex(r.n)),
                         {{GR1, r.v}, {FR, r.fr0}}, {},
                         {{GR1, r.result}, {FR, r.fr}, {PR, 0x0102}}, {}});
        cases.push_back({stem + "_idx", Line(r.op, "GR1,#FFF0,GR2"),
                         {{GR1, r.v}, {GR2, static_cast<WORD>(r.n + 0x10)}, {FR, r.fr0}}, {},
                         {{GR1, r.result}, {FR, r.fr}, {PR, 0x0102}}, {}});
    }
    // The shifted register may be GR0.
    cases.push_back({"SLL_GR0", "\tSLL\tGR0,4", {{GR0, 0x0123}}, {}, {{GR0, 0x1230}, {PR, 0x0102}}, {}});
    return cases;
}

class Shift : public ::testing::TestWithParam<ExecCase> {};
TEST_P(Shift, ResultAndOverflow) { RunCase(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Execute, Shift, ::testing::ValuesIn(ShiftCases()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Jumps: taken or not from a given FR (only bits 0-2 count); nothing else changes.

struct JumpRow {
    const char* op;
    WORD fr;
    bool taken;
};

const JumpRow kJumpRows[] = {
    {"JPL", 0, true},   {"JPL", 1, false},  {"JPL", 2, false}, {"JPL", 3, false},
    {"JPL", 4, true},   {"JPL", 0xFFF8, true},
    {"JMI", 2, true},   {"JMI", 3, true},   {"JMI", 0, false}, {"JMI", 5, false},
    {"JNZ", 0, true},   {"JNZ", 6, true},   {"JNZ", 1, false}, {"JNZ", 0xFFF9, false},
    {"JZE", 1, true},   {"JZE", 7, true},   {"JZE", 0, false}, {"JZE", 6, false},
    {"JOV", 4, true},   {"JOV", 7, true},   {"JOV", 3, false}, {"JOV", 0xFFFB, false},
    {"JUMP", 0, true},  {"JUMP", 7, true},
};

std::vector<ExecCase> JumpCases()
{
    std::vector<ExecCase> cases;
    for (const JumpRow& r : kJumpRows) {
        const std::string stem = std::string(r.op) + "_FR" + Hex(r.fr) + (r.taken ? "_taken" : "_not_taken");
        const WORD next = r.taken ? 0x0200 : 0x0102;
        cases.push_back({stem, Line(r.op, "#0200"), {{FR, r.fr}, {GR1, 0x0100}}, {}, {{PR, next}}, {}});
        cases.push_back({stem + "_idx", Line(r.op, "#0100,GR1"), {{FR, r.fr}, {GR1, 0x0100}}, {},
                         {{PR, next}}, {}});
    }
    return cases;
}

class Jump : public ::testing::TestWithParam<ExecCase> {};
TEST_P(Jump, TakenOrNot) { RunCase(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Execute, Jump, ::testing::ValuesIn(JumpCases()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// SVC: one output line with the call number, FR = n mod 7 as a whole.

TEST(ExecuteSvc, WritesLineAndSetsFrToNumberModSeven)
{
    struct Row {
        std::string operand;
        WORD gr1, fr0;
        std::string number;
        WORD fr;
    };
    const Row rows[] = {
        {"3", 0, 0, "3", 3},
        {"7", 0, 7, "7", 0},
        {"#FFFF", 0, 0, "65535", 1},
        {"2,GR1", 8, 0xFFF8, "10", 3},
        {"0", 0, 6, "0", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("SVC " + r.operand);
        CTestDocument t;
        ASSERT_TRUE(t.Load(Program("\tSVC\t" + r.operand)));
        t.Reg()[GR1] = r.gr1;
        t.Reg()[FR] = r.fr0;
        const Snapshot before = Take(t);
        EXPECT_TRUE(t.doc.Run(RUN_TRACE));
        ExpectMachine(t, before, {{FR, r.fr}, {PR, 0x0102}}, {});
        const std::string line = "OUTPUT : " + Utf8ToCp932("ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ ") + r.number;
        EXPECT_EQ(t.view.DeviceLines(), std::vector<std::string>{line});
        EXPECT_TRUE(t.host.messages.empty());
    }
}

// ---------------------------------------------------------------------------
// IN: at most 80 bytes, each sign-extended; the end of input gives #FFFF and FR = 0.
// GR1, GR2 and SP are not touched although the expansion uses them.

struct InRow {
    std::string name;
    std::optional<std::string> line;  // none: the EOF button
    WORD length;
    std::vector<WORD> words;          // expected from BUF on; the rest keeps its fill
    WORD fr;
};

std::vector<InRow> InRows()
{
    std::string hundred;
    for (int i = 0; i < 100; ++i) hundred.push_back(static_cast<char>('0' + i % 10));
    std::vector<WORD> first80;
    for (int i = 0; i < 80; ++i) first80.push_back(static_cast<WORD>('0' + i % 10));
    std::vector<WORD> exactly80 = first80;
    return {
        {"ascii", std::string("ABC"), 3, {0x41, 0x42, 0x43}, 1},
        {"empty_line", std::string(), 0, {}, 1},
        {"high_bytes_sign_extended", std::string("\x82\xA0\x7F\x80\xFF\x01"), 6, {0xFF82, 0xFFA0, 0x007F, 0xFF80, 0xFFFF, 0x0001}, 1},
        {"longer_than_80_keeps_80", hundred, 80, first80, 1},
        {"exactly_80", hundred.substr(0, 80), 80, exactly80, 1},
        {"end_of_input", std::nullopt, 0xFFFF, {}, 0},
    };
}

TEST(ExecuteIn, StoresLineLengthAndFlags)
{
    constexpr WORD kFill = 0x1111;
    for (const InRow& r : InRows()) {
        SCOPED_TRACE(r.name);
        CTestDocument t;
        ASSERT_TRUE(t.Load(Program("\tIN\tBUF,LEN", "BUF\tDS\t100\nLEN\tDC\t#2222")));
        const WORD buf = t.Label("BUF"), len = t.Label("LEN");
        for (int i = 0; i < 100; ++i) t.Mem().SetWord(static_cast<WORD>(buf + i), kFill);
        t.Reg()[GR1] = 0xAAAA;
        t.Reg()[GR2] = 0xBBBB;
        t.Reg()[SP] = 0xFFF0;
        t.Reg()[FR] = 6;
        t.host.keyLines = {r.line};
        const Snapshot before = Take(t);
        EXPECT_TRUE(t.doc.Run(RUN_TRACE));
        EXPECT_EQ(t.host.keyDialogs, 1);
        Words words = {{len, r.length}};
        for (size_t i = 0; i < r.words.size(); ++i) words.push_back({static_cast<WORD>(buf + i), r.words[i]});
        ExpectMachine(t, before, {{FR, r.fr}, {PR, 0x010C}}, words);
    }
}

// ---------------------------------------------------------------------------
// OUT: at most 256 words, the low 8 bits of each; printable ASCII as itself,
// everything else as a backslash and two hex digits; FR = count mod 7.

struct OutRow {
    std::string name;
    WORD length;
    std::vector<WORD> words;
    std::string text;
    WORD fr;
};

std::vector<OutRow> OutRows()
{
    std::vector<WORD> alphabet(300);
    std::string first256;
    for (int i = 0; i < 300; ++i) {
        alphabet[i] = static_cast<WORD>('A' + i % 26);
        if (i < 256) first256.push_back(static_cast<char>('A' + i % 26));
    }
    return {
        {"ascii", 3, {0x0041, 0x0042, 0x0043}, "ABC", 3},
        {"low_8_bits", 2, {0xFF41, 0x1242}, "AB", 2},
        {"escapes", 10, {0x0009, 0x0082, 0x007F, 0x0020, 0x007E, 0x000A, 0x0000, 0xFF80, 0x005C, 0x001F}, "\\09\\82\\7F ~\\0A\\00\\80\\\\1F", 3},
        {"empty", 0, {0x0041}, "", 0},
        {"seven", 7, {'a', 'b', 'c', 'd', 'e', 'f', 'g'}, "abcdefg", 0},
        {"length_FFFF_gives_256", 0xFFFF, alphabet, first256, 4},
        {"length_257_gives_256", 257, alphabet, first256, 4},
        {"length_8000_gives_256", 0x8000, alphabet, first256, 4},
    };
}

TEST(ExecuteOut, BuildsLineAndSetsFr)
{
    for (const OutRow& r : OutRows()) {
        SCOPED_TRACE(r.name);
        CTestDocument t;
        ASSERT_TRUE(t.Load(Program("\tOUT\tBUF,LEN", "BUF\tDS\t300\nLEN\tDS\t1")));
        const WORD buf = t.Label("BUF"), len = t.Label("LEN");
        for (size_t i = 0; i < r.words.size(); ++i) t.Mem().SetWord(static_cast<WORD>(buf + i), r.words[i]);
        t.Mem().SetWord(len, r.length);
        t.Reg()[GR1] = 0xAAAA;
        t.Reg()[GR2] = 0xBBBB;
        t.Reg()[FR] = 7;
        const Snapshot before = Take(t);
        EXPECT_TRUE(t.doc.Run(RUN_TRACE));
        ExpectMachine(t, before, {{FR, r.fr}, {PR, 0x010C}}, {});
        EXPECT_EQ(t.view.DeviceLines(), std::vector<std::string>{"OUTPUT : " + r.text});
    }
}

// A buffer that runs past #FFFF continues at #0000, for IN and for OUT.
TEST(ExecuteInOut, BufferWrapsAtTheEndOfMemory)
{
    // #0100 IN, #010C OUT, #0118 RET, PAD = #0119, BUF = #FFFE, LEN = #0002.
    CTestDocument t;
    ASSERT_TRUE(t.Load("MAIN\tSTART\n\tIN\tBUF,LEN\n\tOUT\tBUF,LEN\n\tRET\nPAD\tDS\t65253\nBUF\tDS\t4\nLEN\tDS\t1\n\tEND\n"));
    ASSERT_EQ(t.Label("BUF"), 0xFFFE);
    t.host.keyLines = {std::string("ABCD")};
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.Mem().GetWord(0xFFFE), 'A');
    EXPECT_EQ(t.Mem().GetWord(0xFFFF), 'B');
    EXPECT_EQ(t.Mem().GetWord(0x0000), 'C');
    EXPECT_EQ(t.Mem().GetWord(0x0001), 'D');
    EXPECT_EQ(t.Mem().GetWord(0x0002), 4);
    t.Mem().SetWord(0x0000, 'c');
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.view.DeviceLines(), (std::vector<std::string>{"INPUT  : ABCD", "OUTPUT : ABcD"}));
}

// ---------------------------------------------------------------------------
// A statement whose words in memory differ from its own does not execute.

TEST(ExecuteVerify, OverwrittenWordStopsWith2101AndChangesNothing)
{
    struct Row {
        std::string name, code;
        WORD address;  // the word that is changed
    };
    const Row rows[] = {
        {"operand_word", "\tLAD\tGR1,5", 0x0101},
        {"operation_word", "\tLAD\tGR1,5", 0x0100},
        {"one_word_instruction", "\tLD\tGR1,GR2", 0x0100},
        {"inside_a_macro", "\tIN\tBUF,LEN", 0x0106},
        {"last_word_of_RPUSH", "\tRPUSH", 0x010D},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CTestDocument t;
        ASSERT_TRUE(t.Load(Program(r.code, "BUF\tDS\t80\nLEN\tDS\t1")));
        t.Reg()[GR2] = 9;
        t.Mem().SetWord(r.address, static_cast<WORD>(t.Mem().GetWord(r.address) ^ 0x0001));
        const Snapshot before = Take(t);
        EXPECT_FALSE(t.doc.Run(RUN_TRACE));
        ASSERT_EQ(t.host.MessageIds(), std::vector<int>{ERR_SIM_CODE_OVERWRITTEN});
        EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(t.host.keyDialogs, 0);
        ExpectMachine(t, before, {}, {});

        // Putting the word back makes the statement run again.
        t.Mem().SetWord(r.address, static_cast<WORD>(t.Mem().GetWord(r.address) ^ 0x0001));
        t.host.Forget();
        t.host.keyLines = {std::string("X")};
        EXPECT_TRUE(t.doc.Run(RUN_TRACE));
        EXPECT_NE(t.Reg()[PR], 0x0100);
    }
}
}  // namespace
