// Going back through a run: every statement and every change of the user's taken
// back exactly, forward again as before, the input replayed, the budget kept.
#include "file_bytes.h"
#include <gtest/gtest.h>
#include "temp_folder.h"
#include "test_names.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>
#include "recording_host.h"
#include "resources/message_ids.h"
#include "simulator/run_history.h"

namespace {
namespace fs = std::filesystem;

struct CMachineState {
    CRegister reg;
    std::array<WORD, CMemory::kSize> mem;
};

CMachineState Snapshot(CTestDocument& t)
{
    CMachineState state{t.Reg(), {}};
    for (int a = 0; a < CMemory::kSize; ++a) state.mem[a] = t.Mem().GetWord(static_cast<WORD>(a));
    return state;
}

// Empty when equal, else what differs first.
std::string Difference(const CMachineState& a, const CMachineState& b)
{
    for (int r = 0; r < REG_COUNT; ++r)
        if (a.reg[r] != b.reg[r])
            return std::string(GetRegisterName(r)) + " " + std::to_string(a.reg[r]) + " != " + std::to_string(b.reg[r]);
    for (int m = 0; m < CMemory::kSize; ++m)
        if (a.mem[m] != b.mem[m]) return "word " + std::to_string(m);
    return {};
}

struct StepCase {
    const char* name;
    const char* source;
    std::vector<std::string> keys;  // key-input lines, then the end of input
};

// Each program ends by itself; together they execute every kind of statement.
const StepCase kStepCases[] = {
    {"arithmetic and flags",
     "MAIN\tSTART\n\tLD\tGR1,=#7FFF\n\tADDA\tGR1,=1\n\tSUBA\tGR1,=1\n\tADDL\tGR1,=#FFFF\n\tSUBL\tGR2,=1\n"
     "\tAND\tGR1,=#00F0\n\tOR\tGR1,GR2\n\tXOR\tGR1,=#5555\n\tCPA\tGR1,GR2\n\tCPL\tGR1,GR2\n\tSLA\tGR1,3\n"
     "\tSRA\tGR1,2,GR3\n\tSLL\tGR2,15\n\tSRL\tGR2,1\n\tLD\tGR3,GR1\n\tJOV\tNEXT\nNEXT\tJMI\tN2\nN2\tJZE\tN3\n"
     "N3\tJPL\tN4\nN4\tJNZ\tN5\nN5\tNOP\n\tJUMP\tDONE\nDONE\tRET\n\tEND\n",
     {}},
    {"store and address",
     "MAIN\tSTART\n\tLAD\tGR1,#1234\n\tLAD\tGR2,2\n\tST\tGR1,DATA\n\tST\tGR1,DATA,GR2\n\tST\tGR1,0,GR2\n"
     "\tLAD\tGR3,DATA,GR2\n\tRET\nDATA\tDS\t4\n\tEND\n",
     {}},
    {"stack and subroutines",
     "MAIN\tSTART\n\tPUSH\t#ABCD\n\tPUSH\t3,GR1\n\tCALL\tSUB\n\tPOP\tGR2\n\tPOP\tGR3\n\tRET\n"
     "SUB\tLAD\tGR1,1\n\tCALL\tSUB2\n\tRET\nSUB2\tLAD\tGR4,4\n\tRET\n\tEND\n",
     {}},
    {"input and output",
     "MAIN\tSTART\n\tIN\tBUF,LEN\n\tOUT\tBUF,LEN\n\tIN\tBUF,LEN\n\tOUT\tBUF,LEN\n\tIN\tBUF,LEN\n\tRET\n"
     "BUF\tDS\t80\nLEN\tDS\t1\n\tEND\n",
     {"HELLO WORLD", std::string(100, 'x')}},
    {"registers saved and restored",
     "MAIN\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR7,7\n\tRPUSH\n\tLAD\tGR1,11\n\tLAD\tGR7,77\n\tRPOP\n\tRET\n\tEND\n",
     {}},
    {"supervisor call", "MAIN\tSTART\n\tSVC\t10\n\tSVC\t3,GR1\n\tRET\n\tEND\n", {}},
};

class StepBack : public ::testing::TestWithParam<StepCase> {
protected:
    void Load(const StepCase& c)
    {
        ASSERT_TRUE(t.Load(c.source));
        for (const std::string& key : c.keys) t.host.keyLines.push_back(key);
        t.host.keyLines.push_back(std::nullopt);
    }
    CTestDocument t;
};

// Before and after every statement traced: back gives the state before it, forward
// again the state after it, and the key-input dialog is never asked twice.
TEST_P(StepBack, EachStatementGoesBackExactlyAndForwardAgainAsBefore)
{
    Load(GetParam());
    int steps = 0;
    std::vector<std::string> firstLog;
    while (t.Reg()[REG_PR] != 0 && steps < 100) {
        const CMachineState before = Snapshot(t);
        ASSERT_TRUE(t.doc.Run(RUN_TRACE));
        const CMachineState after = Snapshot(t);
        const int dialogs = t.host.keyDialogs;
        ASSERT_EQ(t.doc.StepBack(), 1u);
        ASSERT_EQ(Difference(Snapshot(t), before), "") << "back over step " << steps + 1;
        ASSERT_TRUE(t.doc.Run(RUN_TRACE));
        ASSERT_EQ(Difference(Snapshot(t), after), "") << "forward over step " << steps + 1;
        EXPECT_EQ(t.host.keyDialogs, dialogs);
        ++steps;
    }
    EXPECT_EQ(t.doc.GetCore().GetLastRunEnd(), RunEnd::ProgramEnd);

    // And the whole run back to the start at once, and through it all forward with Go.
    const CMachineState end = Snapshot(t);
    t.doc.StepBack(1000);
    EXPECT_FALSE(t.doc.CanStepBack());
    CTestDocument fresh;
    ASSERT_TRUE(fresh.Load(GetParam().source));
    EXPECT_EQ(Difference(Snapshot(t), Snapshot(fresh)), "");
    ASSERT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(Difference(Snapshot(t), end), "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, StepBack, ::testing::ValuesIn(kStepCases),
                         [](const auto& info) { return ReadableName(info.param.name); });

const char* const kLoop =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,0\n"
    "LOOP\tLAD\tGR1,1,GR1\n"
    "\tST\tGR1,DATA\n"
    "\tCPL\tGR1,=#FFFF\n"
    "\tJNZ\tLOOP\n"
    "\tRET\n"
    "DATA\tDS\t1\n"
    "\tEND\n";

TEST(StepBackUser, EachChangeOfTheUsersIsOneStepAndNoChangeIsNone)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kLoop));
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));
    const CMachineState traced = Snapshot(t);

    CRegister values = t.Reg();
    values[3] = 0x3333;
    values[REG_FR] = FLAG_SF;
    t.doc.SetRegisters(nullptr, values);
    const CMachineState registersSet = Snapshot(t);
    t.doc.SetRegisters(nullptr, values);  // the same values: nothing to take back
    ASSERT_TRUE(t.doc.SetPRAt(nullptr, *t.At(t.Label("LOOP") + 6)));
    const CMachineState prSet = Snapshot(t);
    t.doc.SetMemoryWord(nullptr, 0x2000, 0xBEEF);
    t.doc.SetMemoryWord(nullptr, 0x2000, 0xBEEF);
    EXPECT_EQ(t.doc.GetCore().GetHistory().GetStepCount(), 4u);

    t.doc.StepBack();
    EXPECT_EQ(Difference(Snapshot(t), prSet), "");
    t.doc.StepBack();
    EXPECT_EQ(Difference(Snapshot(t), registersSet), "");
    t.doc.StepBack();
    EXPECT_EQ(Difference(Snapshot(t), traced), "");
    // Every step back tells every view once.
    EXPECT_EQ(t.view.Count(HINT_MACHINE_STATE), 4);
}

TEST(StepBackUser, RestartAssemblyAndAnEmptyHistoryLeaveNothingToGoBackTo)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kLoop));
    EXPECT_FALSE(t.doc.CanStepBack());
    EXPECT_EQ(t.doc.StepBack(), 0u);
    EXPECT_EQ(t.view.Count(HINT_MACHINE_STATE), 0);  // nothing changed, nothing told
    t.doc.Run(RUN_TRACE);
    EXPECT_TRUE(t.doc.CanStepBack());
    t.doc.Restart(nullptr);
    EXPECT_FALSE(t.doc.CanStepBack());
    t.doc.Run(RUN_TRACE);
    ASSERT_TRUE(t.Load(kLoop));
    EXPECT_FALSE(t.doc.CanStepBack());

    t.doc.GetCore().SetHistoryEnabled(false);
    t.doc.Run(RUN_TRACE);
    t.doc.SetMemoryWord(nullptr, 0x2000, 1);
    EXPECT_FALSE(t.doc.CanStepBack());
}

TEST(StepBackRuns, BackToRunStartGoesToWhereEachEarlierRunBegan)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kLoop));
    t.doc.Run(RUN_TRACE);
    t.doc.Run(RUN_TRACE);
    const CMachineState afterTwo = Snapshot(t);
    t.At(t.Label("LOOP") + 4)->SetBreakpoint(true);
    t.doc.Run(RUN_GO);  // ST, then the breakpoint on CPL
    const CMachineState afterFirstGo = Snapshot(t);
    t.doc.Run(RUN_GO);
    EXPECT_EQ(t.doc.BackToRunStart(), 4u);  // the last Go: CPL, JNZ, LAD, ST
    EXPECT_EQ(Difference(Snapshot(t), afterFirstGo), "");
    EXPECT_EQ(t.doc.BackToRunStart(), 1u);
    EXPECT_EQ(Difference(Snapshot(t), afterTwo), "");
    EXPECT_EQ(t.doc.BackToRunStart(), 1u);
    EXPECT_EQ(t.doc.BackToRunStart(), 1u);
    EXPECT_FALSE(t.doc.CanStepBack());
}

TEST(StepBackBudget, TheOldestStepsGoFirstAndTheBudgetHolds)
{
    constexpr size_t kBudget = CRunHistory::kMinBudget;
    // Eight times round the counting loop: two million steps, more than the budget keeps.
    const char* const kLongLoop =
        "MAIN\tSTART\n"
        "\tLAD\tGR2,0\n"
        "OUTER\tLAD\tGR1,0\n"
        "LOOP\tLAD\tGR1,1,GR1\n"
        "\tST\tGR1,DATA\n"
        "\tCPL\tGR1,=#FFFF\n"
        "\tJNZ\tLOOP\n"
        "\tLAD\tGR2,1,GR2\n"
        "\tCPL\tGR2,=8\n"
        "\tJNZ\tOUTER\n"
        "\tRET\n"
        "DATA\tDS\t1\n"
        "\tEND\n";
    CTestDocument t;
    t.doc.GetCore().GetHistory().SetBudget(kBudget);
    ASSERT_TRUE(t.Load(kLongLoop));
    ASSERT_TRUE(t.doc.Run(RUN_GO));
    const CRunHistory& history = t.doc.GetCore().GetHistory();
    const std::uint64_t executed = t.doc.GetCore().GetExecutedCount();
    EXPECT_LE(history.GetBytes(), kBudget);
    EXPECT_GT(history.GetDroppedCount(), 0u);
    EXPECT_EQ(history.GetDroppedCount() + history.GetStepCount(), executed);

    // All that is kept taken back: the state after the dropped steps, as a run limited to them gives it.
    const std::uint64_t dropped = history.GetDroppedCount();
    EXPECT_EQ(t.doc.StepBack(executed), executed - dropped);
    CTestDocument limited;
    ASSERT_TRUE(limited.Load(kLongLoop));
    limited.doc.GetCore().SetStepLimit(dropped);
    limited.doc.Run(RUN_GO);
    EXPECT_EQ(Difference(Snapshot(t), Snapshot(limited)), "");
}

// Going back as far as the history reaches after steps were dropped: the machine is as
// it was after the dropped steps, and a message says so, with the numbers; going back
// within what is kept says nothing. The trace table still has something to show.
TEST(StepBackBudget, ReachingTheOldestKeptStepIsSaid)
{
    const char* const kCount =
        "MAIN\tSTART\n\tLAD\tGR1,0\nLOOP\tLAD\tGR1,1,GR1\n\tST\tGR1,DATA\n\tJUMP\tLOOP\nDATA\tDS\t1\n\tEND\n";
    enum class Way { BackToRunStart, StepBackAll, StepBackOneByOne };
    struct Case {
        const char* name;
        Way way;
        std::uint64_t steps;  // the Go's length
        int message;          // 0: none
    } cases[] = {
        {"to the run's start, dropped", Way::BackToRunStart, 1'000'000, MSG_RUN_START_NOT_KEPT},
        {"step back past all kept", Way::StepBackAll, 1'000'000, MSG_OLDEST_STEP_REACHED},
        {"one by one to the oldest", Way::StepBackOneByOne, 1'000'000, MSG_OLDEST_STEP_REACHED},
        {"to the run's start, kept", Way::BackToRunStart, 1000, 0},
        {"step back past all, nothing dropped", Way::StepBackAll, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestDocument t;
        ASSERT_TRUE(t.Load(kCount));
        CRunHistory& history = t.doc.GetCore().GetHistory();
        history.SetBudget(CRunHistory::kMinBudget);
        t.doc.GetCore().SetStepLimit(c.steps);
        t.doc.Run(RUN_GO);
        const std::uint64_t kept = history.GetStepCount(), dropped = history.GetDroppedCount();
        ASSERT_EQ(kept + dropped, c.steps);
        ASSERT_EQ(dropped > 0, c.message != 0);
        t.host.Forget();

        std::uint64_t taken = 0;
        switch (c.way) {
        case Way::BackToRunStart: taken = t.doc.BackToRunStart(); break;
        case Way::StepBackAll: taken = t.doc.StepBack(c.steps); break;
        case Way::StepBackOneByOne:
            taken = t.doc.StepBack(kept - 3);  // the last few one by one
            while (t.doc.CanStepBack()) {
                ASSERT_TRUE(t.host.messages.empty()) << "said before the oldest step was reached";
                taken += t.doc.StepBack();
            }
            break;
        }
        EXPECT_EQ(taken, kept);
        EXPECT_FALSE(t.doc.CanStepBack());
        EXPECT_EQ(t.doc.HasTraceTable(), dropped > 0);
        EXPECT_EQ(t.Reg()[1], static_cast<WORD>((dropped + 1) / 3));  // GR1 counts the loop's passes
        if (c.message == 0) {
            EXPECT_TRUE(t.host.messages.empty());
            continue;
        }
        ASSERT_EQ(t.host.messages.size(), 1u);
        EXPECT_EQ(t.host.messages[0].id, c.message);
        EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Information);
        const std::string& text = t.host.messages[0].text;
        auto says = [&text](std::uint64_t n) {
            std::string spaced = " ";
            spaced += std::to_string(n);
            spaced += ' ';
            return text.find(spaced) != std::string::npos;
        };
        EXPECT_TRUE(says(dropped)) << text;
        EXPECT_NE(text.find("( 2 MiB )"), std::string::npos) << text;
        EXPECT_EQ(says(kept), c.message == MSG_RUN_START_NOT_KEPT) << text;
    }
}

TEST(StepBackBudget, InputLinesCountAgainstTheBudget)
{
    constexpr size_t kBudget = CRunHistory::kMinBudget;
    CTestDocument t;
    t.doc.GetCore().GetHistory().SetBudget(kBudget);
    ASSERT_TRUE(t.Load("MAIN\tSTART\nLOOP\tIN\tBUF,LEN\n\tLD\tGR1,LEN\n\tJNZ\tLOOP\n\tRET\nBUF\tDS\t80\nLEN\tDS\t1\n\tEND\n"));
    for (int i = 0; i < 5000; ++i) t.host.keyLines.push_back(std::string(200, 'a' + i % 26));
    t.host.keyLines.push_back(std::string());
    ASSERT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_LE(t.doc.GetCore().GetHistory().GetBytes(), kBudget);
    EXPECT_GT(t.doc.GetCore().GetHistory().GetDroppedCount(), 0u);
}

// Going on after the program's end closed the files: the input goes on after the
// lines already read, the output file keeps what it holds.
TEST(StepBackDevices, FilesResumeAfterGoingBackOverTheEnd)
{
    CTempFolder folder;
    const fs::path dir = folder.Path();
    ASSERT_FALSE(dir.empty());
    WriteBytes(dir / "in.txt", "one\ntwo\nthree\n");
    CTestDocument t;
    t.host.settings.inDeviceType = 1;
    t.host.settings.inFileName = (dir / "in.txt").string();
    t.host.settings.outDeviceType = 1;
    t.host.settings.outFileName = (dir / "out.txt").string();
    ASSERT_TRUE(t.Load("MAIN\tSTART\nLOOP\tIN\tBUF,LEN\n\tLD\tGR1,LEN\n\tJMI\tEND\n\tOUT\tBUF,LEN\n\tJUMP\tLOOP\n"
                       "END\tRET\nBUF\tDS\t80\nLEN\tDS\t1\n\tEND\n"));
    ASSERT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(ReadBytes(dir / "out.txt"), "one\r\ntwo\r\nthree\r\n");
    const CMachineState end = Snapshot(t);

    // Back over RET, JMI, LD, IN (the end of input), JUMP and OUT "three".
    EXPECT_EQ(t.doc.StepBack(6), 6u);
    ASSERT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(Difference(Snapshot(t), end), "");
    EXPECT_EQ(ReadBytes(dir / "out.txt"), "one\r\ntwo\r\nthree\r\nthree\r\n");
    const std::vector<std::string> log(t.doc.GetDeviceLog().begin(), t.doc.GetDeviceLog().end());
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (std::vector<std::string>{"INPUT  : <EOF>", "OUTPUT : three", "INPUT  : <EOF>"}));

    // Back over RET only and on from the loop again: the file gives no line twice.
    EXPECT_EQ(t.doc.StepBack(1), 1u);
    ASSERT_TRUE(t.doc.SetPRAt(nullptr, *t.At(t.Label("LOOP"))));
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.Mem().GetWord(t.Label("LEN")), 0xFFFF);
}

// A made-up machine for the history alone: the statement at PR changes registers (SP
// among them) and memory as a function of PR, the registers and memory, and now and then
// reads an input line, so that executing it again gives the same.
struct CFakeMachine final : IStepReplayer {
    void ReplayStep(CRegister& reg, CMemory& mem, IExecutionHost& input) const override { Step(reg, mem, input); }
    static void Step(CRegister& reg, CMemory& mem, IExecutionHost& input)
    {
        const WORD pr = reg[REG_PR];
        for (int k = 0; k < pr % 5; ++k)
            reg[(pr + 3 * k) % 9] = static_cast<WORD>(reg[(pr + k) % 8] * 31 + pr + k + mem.GetWord(k % 2));
        reg[REG_FR] = static_cast<WORD>(pr % 8);
        if (pr % 2 == 1) {
            // As many words as IN writes, now and then.
            std::string line;
            int words = 1 + pr % 3;
            if (pr % 101 == 1) words = input.ReadInputLine(line) ? 1 + static_cast<int>(line.size()) : 1;
            for (int w = 0; w < words; ++w)
                mem.SetWord(static_cast<WORD>(w % 2), static_cast<WORD>(reg[w % 8] + w + line.size()));
        }
        reg[REG_PR] = static_cast<WORD>(pr * 7919 + reg[0] + 1);
    }
};

// The input of the run: lines read once, kept by the history, and after going back
// the same lines again, as the document's devices do.
struct CFakeInput final : IExecutionHost {
    CRunHistory& history;
    int serial = 0;
    explicit CFakeInput(CRunHistory& h) : history(h) {}
    bool ReadInputLine(std::string& line) override
    {
        bool ok;
        if (!history.TakeReplay(ok, line)) {
            ++serial;
            ok = serial % 5 != 0;
            line = ok ? std::string(static_cast<size_t>(serial % 81), static_cast<char>('A' + serial % 26)) : "";
        }
        history.NoteInput(ok, line);
        return ok;
    }
    void WriteOutputLine(std::string_view) override {}
};

// A ring that wraps many times, going back and on again across its blocks and its wrap,
// keeps the newest steps, each of them exact, user's changes among them.
TEST(StepBackHistory, TheRingWrapsAndKeepsTheNewestStepsExactly)
{
    CRunHistory history;
    history.SetBudget(CRunHistory::kMinBudget);
    CRegister reg;
    CMemory mem;
    history.Attach(mem);
    const CFakeMachine machine;
    CFakeInput input(history);
    struct Kept {
        CRegister reg;
        WORD word0, word1;
        bool user;
    };
    std::vector<Kept> before;  // the state before each step not taken back, oldest first
    int serial = 0;            // never repeats, so that steps redone after going back differ
    // One step of a run under way: mostly statements, now and then a change of the user's
    // between two of them, as the window may make one while the run pumps its events.
    auto step = [&](WORD*& at) {
        const int i = serial++;
        before.push_back({reg, mem.GetWord(0), mem.GetWord(1), i % 97 == 0});
        if (i % 97 == 0) {
            history.Sync(at);
            history.BeginUserChange(reg);
            reg[i % 9] = static_cast<WORD>(~i);
            mem.SetWord(1, static_cast<WORD>(i));
            history.EndUserChange(reg);
            at = history.GetCursor();
            return;
        }
        mem.NextStamp();
        at = CRunHistory::Begin(at, reg[REG_PR]);
        CFakeMachine::Step(reg, mem, input);
        if (i % CCometCore::kPumpInterval == 0) at = history.Check(at, reg);
    };
    auto expectBefore = [&](const Kept& expected, bool user, std::uint64_t k) {
        ASSERT_EQ(user, expected.user) << k;
        ASSERT_EQ(reg, expected.reg) << k;
        ASSERT_EQ(mem.GetWord(0), expected.word0) << k;
        ASSERT_EQ(mem.GetWord(1), expected.word1) << k;
    };
    // Step by step at first, then the rest at once.
    auto back = [&](std::uint64_t count) {
        bool user = false;
        const std::uint64_t single = std::min<std::uint64_t>(count, 3000);
        for (std::uint64_t k = 0; k < single; ++k) {
            ASSERT_EQ(history.Undo(reg, mem, machine, 1, &user), 1u);
            expectBefore(before.back(), user, k);
            before.pop_back();
        }
        if (count == single) return;
        ASSERT_EQ(history.Undo(reg, mem, machine, count - single, &user), count - single);
        before.resize(before.size() - static_cast<size_t>(count - single - 1));
        expectBefore(before.back(), user, count);
        before.pop_back();
    };

    // Forward far enough to wrap, then back and on by amounts that cross blocks and the
    // wrap (a negative amount: all but that many).
    const std::vector<std::pair<int, int>> phases{{400000, 30000}, {15000, 25000}, {600000, -50}, {300000, 1}};
    for (const auto& [on, off] : phases) {
        WORD* at = history.StartRecording(reg);
        for (int k = 0; k < on; ++k) {
            step(at);
            if (k % 1000 == 0) {
                ASSERT_LE(history.GetBytes(), history.GetBudget());
            }
        }
        history.StopRecording(at, reg);
        ASSERT_LE(history.GetBytes(), history.GetBudget());
        const std::uint64_t count = off < 0 ? history.GetStepCount() - static_cast<std::uint64_t>(-off) : static_cast<std::uint64_t>(off);
        ASSERT_GE(history.GetStepCount(), count);
        back(count);
        if (HasFatalFailure()) return;
    }
    const std::uint64_t kept = history.GetStepCount();
    ASSERT_GT(history.GetDroppedCount(), 0u);
    ASSERT_GT(kept, 1000u);
    ASSERT_EQ(history.GetDroppedCount() + kept, before.size());

    // The trace table's view: the statements only, numbered on from the dropped ones,
    // each with the registers the next step began with.
    struct CList final : CRunHistory::IStepVisitor {
        std::vector<CRunHistory::CStepView> steps;
        bool Visit(const CRunHistory::CStepView& step) override
        {
            steps.push_back(step);
            return true;
        }
    } list;
    ASSERT_TRUE(history.VisitSteps(mem, machine, list));
    const auto& steps = list.steps;
    const auto first = before.end() - static_cast<std::ptrdiff_t>(kept);
    const auto users = static_cast<std::uint64_t>(std::count_if(first, before.end(), [](const Kept& k) { return k.user; }));
    ASSERT_EQ(steps.size(), kept - users);
    size_t row = 0;
    for (auto it = first; it != before.end(); ++it) {
        if (it->user) continue;
        ASSERT_EQ(steps[row].address, it->reg[REG_PR]) << row;
        ASSERT_EQ(steps[row].after, it + 1 == before.end() ? reg : (it + 1)->reg) << row;
        ++row;
    }

    back(kept);
    EXPECT_EQ(history.Undo(reg, mem, machine), 0u);
}
}  // namespace
