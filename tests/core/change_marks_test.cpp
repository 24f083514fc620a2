// What the last command changed: which registers, flags, words, stack rows and watch
// values differ from the copy taken when the command began, and which statement ran last.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>
#include "assembler/label_bank.h"
#include "recording_host.h"
#include "simulator/change_marks.h"
#include "simulator/watch.h"
#include "test_names.h"

namespace {
// The machine before each case's change.
struct Before {
    Before()
    {
        reg[1] = 5;
        reg[2] = 0x0200;
        reg[REG_SP] = 0xFFF0;
        reg[REG_PR] = 0x0100;
        reg[REG_FR] = FLAG_SF;
        for (WORD i = 0; i < 4; ++i) mem.SetWord(static_cast<WORD>(0x0200 + i), static_cast<WORD>(0x41 + i));
        mem.SetWord(0xFFF0, 0x1111);
        mem.SetWord(0xFFF1, 0x2222);
        labels.DefineLabel("DATA", 0x0200);
    }
    CRegister reg;
    CMemory mem;
    CLabelBank labels;
};

using Change = std::function<void(CRegister&, CMemory&)>;

// The marks taken from the machine before, and the machine after the change.
struct Changed {
    explicit Changed(const Change& change)
    {
        marks.Take(before.reg, before.mem);
        change(reg, mem);
    }
    const Before before;
    CChangeMarks marks;
    CRegister reg = before.reg;
    CMemory mem = before.mem;
};

// Registers whose rows differ, as a bit per index, and the flags that differ.
struct RegisterCase {
    const char* name;
    Change change;
    unsigned registers;
    WORD flags;
};

const RegisterCase kRegisterCases[] = {
    {"nothing", [](CRegister&, CMemory&) {}, 0, 0},
    {"one general register", [](CRegister& r, CMemory&) { r[3] = 1; }, 1u << 3, 0},
    {"set to what it held", [](CRegister& r, CMemory&) { r[1] = 5; }, 0, 0},
    {"PR and SP", [](CRegister& r, CMemory&) { r[REG_PR] = 0x0102, r[REG_SP] = 0xFFEF; },
     1u << REG_PR | 1u << REG_SP, 0},
    {"a flag set and one cleared", [](CRegister& r, CMemory&) { r[REG_FR] = FLAG_ZF; }, 1u << REG_FR,
     FLAG_SF | FLAG_ZF},
    {"overflow alone", [](CRegister& r, CMemory&) { r[REG_FR] = FLAG_SF | FLAG_OF; }, 1u << REG_FR, FLAG_OF},
    // FR shows three flags: a bit beyond them is no change anyone could see.
    {"a bit FR does not show", [](CRegister& r, CMemory&) { r[REG_FR] = FLAG_SF | 0x0008; }, 0, 0},
    {"memory only", [](CRegister&, CMemory& m) { m.SetWord(0x0200, 0); }, 0, 0},
};

class ChangedRegisters : public ::testing::TestWithParam<RegisterCase> {};

TEST_P(ChangedRegisters, AreTheRowsThatDifferFromBefore)
{
    const Changed after(GetParam().change);
    const CChangeMarks& marks = after.marks;
    const CRegister& reg = after.reg;
    const CMemory& mem = after.mem;

    unsigned changed = 0;
    for (int index = 0; index < REG_COUNT; ++index)
        if (marks.IsRegisterChanged(index, reg)) changed |= 1u << index;
    EXPECT_EQ(changed, GetParam().registers);
    EXPECT_EQ(marks.ChangedFlags(reg), GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(Marks, ChangedRegisters, ::testing::ValuesIn(kRegisterCases),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

// The stack rows shown from SP now (addresses SP to SP + 63) that are marked.
struct StackCase {
    const char* name;
    Change change;
    std::vector<WORD> marked;
};

const StackCase kStackCases[] = {
    {"nothing", [](CRegister&, CMemory&) {}, {}},
    {"push of a new value", [](CRegister& r, CMemory& m) { m.SetWord(--r[REG_SP], 7); }, {0xFFEF}},
    // The pushed word is new on the stack even where memory held the same value already.
    {"push of the value memory held", [](CRegister& r, CMemory&) { --r[REG_SP]; }, {0xFFEF}},
    {"two pushes", [](CRegister& r, CMemory&) { r[REG_SP] -= 2; }, {0xFFEE, 0xFFEF}},
    {"pop", [](CRegister& r, CMemory&) { ++r[REG_SP]; }, {}},
    {"a word below the top written", [](CRegister&, CMemory& m) { m.SetWord(0xFFF1, 9); }, {0xFFF1}},
    {"push past address 0",
     [](CRegister& r, CMemory&) { r[REG_SP] = 0x0001; },  // moved up: the stack shrank, nothing pushed
     {}},
    // Set far up in memory (more than half the space below): the stack shrank, it did not grow.
    {"SP set far away", [](CRegister& r, CMemory&) { r[REG_SP] = 0x6000; }, {}},
};

class ChangedStackRows : public ::testing::TestWithParam<StackCase> {};

TEST_P(ChangedStackRows, AreWordsWrittenOrPushed)
{
    const Changed after(GetParam().change);
    const CChangeMarks& marks = after.marks;
    const CRegister& reg = after.reg;
    const CMemory& mem = after.mem;

    std::vector<WORD> marked;
    for (int row = 0; row < 64; ++row) {
        const WORD address = static_cast<WORD>(reg[REG_SP] + row);
        if (marks.IsStackRowChanged(address, reg, mem)) marked.push_back(address);
    }
    EXPECT_EQ(marked, GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(Marks, ChangedStackRows, ::testing::ValuesIn(kStackCases),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

TEST(ChangedStackRowsAcrossTheEnd, ThePushedRowsWrapFromZeroToFFFF)
{
    CRegister reg;
    CMemory mem;
    reg[REG_SP] = 0x0001;
    CChangeMarks marks;
    marks.Take(reg, mem);
    reg[REG_SP] = 0xFFFE;  // three pushes: FFFE, FFFF and 0000 are new on the stack
    for (WORD address : {0xFFFE, 0xFFFF, 0x0000}) EXPECT_TRUE(marks.IsStackRowChanged(address, reg, mem)) << address;
    EXPECT_FALSE(marks.IsStackRowChanged(0x0001, reg, mem));
}

struct WatchCase {
    const char* name;
    const char* target;
    unsigned length;
    int format;
    Change change;
    bool changed;
};

const WatchCase kWatchCases[] = {
    {"word written", "DATA", 2, WATCH_HEX, [](CRegister&, CMemory& m) { m.SetWord(0x0201, 0); }, true},
    {"word beyond its length", "DATA", 2, WATCH_HEX, [](CRegister&, CMemory& m) { m.SetWord(0x0202, 0); }, false},
    {"written with what it held", "#0200", 1, WATCH_SIGNED, [](CRegister&, CMemory& m) { m.SetWord(0x0200, 0x41); },
     false},
    // A register target follows its register: moved on, it shows other words.
    {"register target moved", "$GR2", 1, WATCH_CHAR, [](CRegister& r, CMemory&) { ++r[2]; }, true},
    {"register target moved to equal words", "$SP", 1, WATCH_HEX,
     [](CRegister& r, CMemory& m) { m.SetWord(0xFFEF, 0x1111), --r[REG_SP]; }, false},
    {"another register", "$GR2", 1, WATCH_HEX, [](CRegister& r, CMemory&) { ++r[3]; }, false},
    {"never resolves", "NOLABEL", 1, WATCH_HEX, [](CRegister&, CMemory& m) { m.SetWord(0, 1); }, false},
};

class ChangedWatches : public ::testing::TestWithParam<WatchCase> {};

TEST_P(ChangedWatches, AreValueTextsThatDiffer)
{
    const Changed after(GetParam().change);
    const CChangeMarks& marks = after.marks;
    const CRegister& reg = after.reg;
    const CMemory& mem = after.mem;
    const CWatchInfo watch(GetParam().target, GetParam().length, GetParam().format);
    EXPECT_EQ(marks.IsWatchChanged(watch, reg, mem, &after.before.labels), GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(Marks, ChangedWatches, ::testing::ValuesIn(kWatchCases),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

TEST(ChangedWords, AreThoseWhoseValueDiffersWhateverWasWritten)
{
    const Before before;
    CChangeMarks marks;
    marks.Take(before.reg, before.mem);
    CMemory mem = before.mem;
    mem.SetWord(0x0200, 0x0041);  // the same value
    mem.SetWord(0x0201, 0x9999);
    mem.SetWord(0x0202, 0x9999);
    mem.SetWord(0x0202, 0x0043);  // and back
    mem.SetWord(0x8000, 1);
    std::vector<WORD> changed;
    for (int a = 0; a < CMemory::kSize; ++a)
        if (marks.IsWordChanged(static_cast<WORD>(a), mem)) changed.push_back(static_cast<WORD>(a));
    EXPECT_EQ(changed, (std::vector<WORD>{0x0201, 0x8000}));
}

TEST(ChangeMarksBeforeAnyCommand, MarkNothing)
{
    const CChangeMarks marks;
    CRegister reg;
    CMemory mem;
    reg[1] = 1;
    reg[REG_FR] = FLAG_ZF;
    reg[REG_SP] = 0xFF00;
    mem.SetWord(0xFF00, 1);
    EXPECT_FALSE(marks.IsRegisterChanged(1, reg));
    EXPECT_EQ(marks.ChangedFlags(reg), 0);
    EXPECT_FALSE(marks.IsWordChanged(0xFF00, mem));
    EXPECT_FALSE(marks.IsStackRowChanged(0xFF00, reg, mem));
    EXPECT_FALSE(marks.IsWatchChanged(CWatchInfo("$SP", 1, WATCH_HEX), reg, mem, nullptr));
    EXPECT_FALSE(marks.GetLastRun());
}

// --- the document's commands ------------------------------------------------------

const char* const kProgram =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,5\n"       // 0100
    "\tST\tGR1,DATA\n"     // 0102
    "\tPUSH\t3\n"          // 0104
    "\tCALL\tSUB\n"        // 0106
    "\tPOP\tGR2\n"         // 0108
    "\tRET\n"              // 0109
    "SUB\tLAD\tGR3,1\n"    // 010A
    "\tRET\n"              // 010C
    "DATA\tDC\t0\n"        // 010D
    "\tEND\n";

constexpr WORD kData = 0x010D;

// What the marks say after a command: the registers marked (a bit per index), the words
// of DATA and the stack top marked, and the statement marked as run last.
struct Marked {
    unsigned registers = 0;
    bool data = false;
    std::optional<WORD> lastRun;
    bool operator==(const Marked&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Marked& m)
{
    out << "registers " << m.registers << ", DATA " << m.data << ", last run ";
    if (m.lastRun)
        out << std::hex << *m.lastRun;
    else
        out << "none";
    return out;
}

Marked MarkedNow(CTestDocument& t)
{
    const CChangeMarks& marks = t.doc.GetChangeMarks();
    Marked m;
    for (int index = 0; index < REG_COUNT; ++index)
        if (marks.IsRegisterChanged(index, t.Reg())) m.registers |= 1u << index;
    m.data = marks.IsWordChanged(kData, t.Mem());
    m.lastRun = marks.GetLastRun();
    return m;
}

constexpr unsigned Regs(std::initializer_list<int> indices)
{
    unsigned bits = 0;
    for (int i : indices) bits |= 1u << i;
    return bits;
}

struct CommandCase {
    const char* name;
    std::function<void(CTestDocument&)> before;  // brings the machine to where the case starts
    std::function<void(CTestDocument&)> command;
    Marked marked;
};

void Trace(CTestDocument& t, int times)
{
    for (int i = 0; i < times; ++i) t.doc.Run(RUN_TRACE);
}

const CommandCase kCommandCases[] = {
    {"fresh load", [](CTestDocument&) {}, [](CTestDocument&) {}, {}},
    {"trace", [](CTestDocument&) {}, [](CTestDocument& t) { Trace(t, 1); }, {Regs({1, REG_PR}), false, 0x0100}},
    {"trace of a store: the word, not the register", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) { Trace(t, 1); }, {Regs({REG_PR}), true, 0x0102}},
    {"trace into a call", [](CTestDocument& t) { Trace(t, 3); }, [](CTestDocument& t) { Trace(t, 1); },
     {Regs({REG_SP, REG_PR}), false, 0x0106}},
    {"pass over a call: the last statement run is the routine's RET", [](CTestDocument& t) { Trace(t, 3); },
     [](CTestDocument& t) { t.doc.Run(RUN_PASS); }, {Regs({3, REG_PR}), false, 0x010C}},
    {"go to a breakpoint", [](CTestDocument& t) { t.At(0x0109)->SetBreakpoint(true); },
     [](CTestDocument& t) { t.doc.Run(RUN_GO); }, {Regs({1, 2, 3, REG_PR}), true, 0x0108}},
    {"run to cursor", [](CTestDocument&) {}, [](CTestDocument& t) { t.doc.Run(RUN_TO_ADDRESS, 0x0104); },
     {Regs({1, REG_PR}), true, 0x0102}},
    {"to the end", [](CTestDocument&) {}, [](CTestDocument& t) { t.doc.Run(RUN_GO); },
     {Regs({1, 2, 3, REG_SP, REG_PR}), true, 0x0109}},
    {"a run that cannot start", [](CTestDocument& t) { Trace(t, 1), t.Reg()[REG_PR] = 0x0101; },
     [](CTestDocument& t) { t.doc.Run(RUN_GO); }, {}},
    {"step back: what going back changed, nothing run", [](CTestDocument& t) { Trace(t, 2); },
     [](CTestDocument& t) { t.doc.StepBack(); }, {Regs({REG_PR}), true, std::nullopt}},
    {"back to the run's start", [](CTestDocument& t) { t.doc.Run(RUN_TO_ADDRESS, 0x0106); },
     [](CTestDocument& t) { t.doc.BackToRunStart(); }, {Regs({1, REG_SP, REG_PR}), true, std::nullopt}},
    {"nothing to step back: the marks stay", [](CTestDocument&) {},
     [](CTestDocument& t) { t.doc.StepBack(); }, {}},
    {"registers set", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) {
         CRegister values = t.Reg();
         values[4] = 9;
         values[REG_FR] = FLAG_OF;
         t.doc.SetRegisters(nullptr, values);
     },
     {Regs({4, REG_FR}), false, std::nullopt}},
    {"registers set to what they were: the last command's marks go", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) { t.doc.SetRegisters(nullptr, t.Reg()); }, {}},
    {"PR set", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) { t.doc.SetPRAt(nullptr, *t.At(0x0109)); }, {Regs({REG_PR}), false, std::nullopt}},
    {"a word edited", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) { t.doc.SetMemoryWord(nullptr, kData, 7); }, {0, true, std::nullopt}},
    {"restart", [](CTestDocument& t) { Trace(t, 2); }, [](CTestDocument& t) { t.doc.Restart(nullptr); }, {}},
    {"assembled again", [](CTestDocument& t) { Trace(t, 2); }, [](CTestDocument& t) { t.doc.AssembleAndLoad(); },
     {}},
    // A breakpoint or a watch changes no value: what the last command changed stays marked.
    {"breakpoint toggled", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) { t.doc.ToggleBreakpoint(*t.At(0x0109)); }, {Regs({1, REG_PR}), false, 0x0100}},
    {"breakpoints cleared", [](CTestDocument& t) { Trace(t, 1); },
     [](CTestDocument& t) { t.doc.ClearBreakpoints(); }, {Regs({1, REG_PR}), false, 0x0100}},
};

class CommandMarks : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandMarks, ShowWhatTheLastCommandChanged)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kProgram));
    GetParam().before(t);
    GetParam().command(t);
    EXPECT_EQ(MarkedNow(t), GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(Document, CommandMarks, ::testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

TEST(CommandMarksOfAStack, PushedRowAndCallsReturnAddress)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kProgram));
    Trace(t, 2);
    t.doc.Run(RUN_TRACE);  // PUSH 3 onto the cleared word FFFE
    const CChangeMarks& marks = t.doc.GetChangeMarks();
    EXPECT_TRUE(marks.IsStackRowChanged(0xFFFE, t.Reg(), t.Mem()));
    EXPECT_FALSE(marks.IsStackRowChanged(0xFFFF, t.Reg(), t.Mem()));
    t.doc.Run(RUN_TRACE);  // CALL: the return address below it
    EXPECT_TRUE(marks.IsStackRowChanged(0xFFFD, t.Reg(), t.Mem()));
    EXPECT_FALSE(marks.IsStackRowChanged(0xFFFE, t.Reg(), t.Mem()));
}

// A run of two statements at a time goes through the place where the history's ring
// of steps wraps: the statement run last is found on both sides of it.
TEST(LastRunStatement, IsFoundWhereTheHistoryWraps)
{
    CTestDocument t;
    t.doc.GetCore().GetHistory().SetBudget(CRunHistory::kMinBudget);
    ASSERT_TRUE(t.Load("MAIN\tSTART\nLOOP\tLAD\tGR1,1,GR1\n\tJUMP\tLOOP\n\tEND\n"));
    const CRunHistory& history = t.doc.GetCore().GetHistory();
    // Close to the wrap at once: the ring holds about half a million steps.
    t.doc.GetCore().SetStepLimit(515000);
    t.doc.Run(RUN_GO);
    t.doc.GetCore().SetStepLimit(0);
    ASSERT_EQ(history.GetDroppedCount(), 0u);
    int after = 0;
    for (int run = 0; run < 40000 && after < 50; ++run) {
        ASSERT_EQ(t.Reg()[REG_PR], 0x0100);
        t.doc.Run(RUN_TO_ADDRESS, 0x0100);  // LAD and JUMP
        ASSERT_EQ(t.doc.GetCore().GetExecutedCount(), 2u);
        ASSERT_EQ(t.doc.GetChangeMarks().GetLastRun(), std::optional<WORD>(0x0102)) << "run " << run;
        if (history.GetDroppedCount() > 0) ++after;
    }
    EXPECT_EQ(after, 50);
}

TEST(LastRunStatement, NeedsTheHistoryWhenMoreThanOneRan)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kProgram));
    t.doc.GetCore().SetHistoryEnabled(false);
    t.doc.Run(RUN_TRACE);
    EXPECT_EQ(t.doc.GetChangeMarks().GetLastRun(), std::optional<WORD>(0x0100));
    t.doc.Run(RUN_TO_ADDRESS, 0x0106);
    EXPECT_EQ(t.doc.GetChangeMarks().GetLastRun(), std::nullopt);
    EXPECT_EQ(MarkedNow(t).registers, Regs({REG_SP, REG_PR}));  // the values are marked all the same
}

// Where the run ended is told to the views before its message shows, with the marks of
// the run already in place, and only once.
TEST(RunEnd, IsToldBeforeItsMessageWithItsMarks)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kProgram));
    std::vector<std::string> seen;
    struct CMarksView : CRecordingView {
        CTestDocument* t;
        std::vector<std::string>* seen;
        void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override
        {
            CRecordingView::OnUpdate(sender, hint, object);
            const auto last = t->doc.GetChangeMarks().GetLastRun();
            std::ostringstream text;
            text << "hint " << hint << " last " << (last ? std::to_string(*last) : "none") << " message "
                 << t->host.messages.size();
            seen->push_back(text.str());
        }
    } view;
    view.t = &t;
    view.seen = &seen;
    t.doc.AddView(&view);
    t.doc.Run(RUN_GO);
    EXPECT_EQ(seen, (std::vector<std::string>{"hint 512 last 265 message 0"}));  // 0x0109, before message 902
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{902});
    t.doc.RemoveView(&view);
}
}  // namespace
