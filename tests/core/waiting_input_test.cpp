// A host that cannot wait for a line (a page, whose machine must never block): the run
// ends before an IN with no line waiting, and goes on as the same run when the line
// comes; a host may also pause a run to take its own messages. Hosts that can wait see
// nothing of either.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "recording_host.h"
#include "resources/message_ids.h"

namespace {

const char* const kCallsIn =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,5\n"
    "CALLS\tCALL\tSUB\n"
    "BACK\tLAD\tGR2,7\n"
    "\tRET\n"
    "SUB\tIN\tA,AL\n"
    "SHOW\tOUT\tA,AL\n"
    "\tRET\n"
    "A\tDS\t80\n"
    "AL\tDC\t#1234\n"
    "\tEND\n";

class WaitingInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.Load(kCallsIn));
        t.host.cannotWait = true;
    }
    std::vector<std::string> Log() const
    {
        return std::vector<std::string>(t.doc.GetDeviceLog().begin(), t.doc.GetDeviceLog().end());
    }
    std::uint64_t Executed() const { return t.doc.GetCore().GetExecutedCount(); }
    RunEnd End() const { return t.doc.GetCore().GetLastRunEnd(); }

    CTestDocument t;
};

TEST_F(WaitingInput, EveryRunModeWaitsBeforeTheInAndGoesOnAsTheSameRun)
{
    struct Case {
        const char* name;
        int mode;
        const char* from;     // PR's label when the run starts
        const char* to;       // RUN_TO_ADDRESS's label
        const char* stopsAt;  // PR's label after the line came; null: the program's end
        std::uint64_t before, after;  // statements executed when it waits, and in all
    };
    const Case cases[] = {
        {"go", RUN_GO, "MAIN", nullptr, nullptr, 2, 7},
        {"trace", RUN_TRACE, "SUB", nullptr, "SHOW", 0, 1},
        {"pass over the call", RUN_PASS, "CALLS", nullptr, "BACK", 1, 4},
        {"run to an address", RUN_TO_ADDRESS, "MAIN", "BACK", "BACK", 2, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.doc.Restart(nullptr);
        t.Reg()[REG_PR] = t.Label(c.from);
        t.Reg()[REG_FR] = 2;
        const CRegister start = t.Reg();
        t.host.Forget();
        t.view.hints.clear();

        EXPECT_TRUE(t.doc.Run(c.mode, c.to ? t.Label(c.to) : 0));
        // Stopped before the IN, which has not happened: no message, no dialog, no line.
        EXPECT_EQ(End(), RunEnd::WaitingForInput);
        EXPECT_EQ(t.Reg()[REG_PR], t.Label("SUB"));
        EXPECT_EQ(t.Reg()[REG_FR], 2);
        EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 0x1234);
        EXPECT_EQ(Executed(), c.before);
        EXPECT_EQ(t.doc.GetCore().GetHistory().GetStatementCount(), c.before);
        EXPECT_TRUE(t.host.messages.empty());
        EXPECT_EQ(t.host.keyDialogs, 0);
        EXPECT_TRUE(Log().empty());
        // The panes show where it waits.
        EXPECT_EQ(t.view.Count(HINT_MACHINE_STATE), 1);

        // Going on with still no line changes nothing.
        ASSERT_TRUE(t.doc.CanContinueRun());
        EXPECT_TRUE(t.doc.ContinueRun());
        EXPECT_EQ(End(), RunEnd::WaitingForInput);
        EXPECT_EQ(t.Reg()[REG_PR], t.Label("SUB"));
        EXPECT_EQ(Executed(), c.before);

        t.host.keyLines.push_back("hi");
        EXPECT_TRUE(t.doc.ContinueRun());
        EXPECT_EQ(t.Reg()[REG_PR], c.stopsAt ? t.Label(c.stopsAt) : 0);
        EXPECT_EQ(Executed(), c.after);
        EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 2);
        std::vector<std::string> log{"INPUT  : hi", "OUTPUT : hi"};
        if (c.mode == RUN_TRACE) log.pop_back();
        EXPECT_EQ(Log(), log);
        EXPECT_EQ(t.host.MessageIds(), c.stopsAt ? std::vector<int>{} : std::vector<int>{MSG_PROGRAM_END});
        EXPECT_FALSE(t.doc.CanContinueRun());
        EXPECT_FALSE(t.doc.ContinueRun());

        // One run: going back to where it started takes all of it back, the IN's words too.
        EXPECT_EQ(t.doc.BackToRunStart(), c.after);
        EXPECT_TRUE(t.Reg() == start);
        EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 0x1234);
    }
}

TEST_F(WaitingInput, LinesAndTheEndOfInputComeOneAtATime)
{
    ASSERT_TRUE(t.Load("MAIN\tSTART\n\tIN\tA,AL\n\tIN\tB,BL\n\tRET\nA\tDS\t4\nAL\tDS\t1\nB\tDS\t4\nBL\tDS\t1\n\tEND\n"));
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(End(), RunEnd::WaitingForInput);
    t.host.keyLines.push_back("abc");
    EXPECT_TRUE(t.doc.ContinueRun());
    EXPECT_EQ(End(), RunEnd::WaitingForInput);
    EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 3);
    t.host.keyLines.push_back(std::nullopt);  // the EOF button
    EXPECT_TRUE(t.doc.ContinueRun());
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
    EXPECT_EQ(t.Mem().GetWord(t.Label("BL")), 0xFFFF);
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : abc", "INPUT  : <EOF>"}));
    EXPECT_EQ(t.host.keyDialogs, 2);
}

TEST_F(WaitingInput, AStopWhileWaitingEndsTheRunWithTheInUndone)
{
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(End(), RunEnd::WaitingForInput);
    t.doc.Stop();
    t.host.keyLines.push_back("late");
    EXPECT_TRUE(t.doc.ContinueRun());
    EXPECT_EQ(End(), RunEnd::UserStop);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_STOPPED_BY_USER});
    EXPECT_EQ(t.Reg()[REG_PR], t.Label("SUB"));
    EXPECT_EQ(Executed(), 2u);
    EXPECT_EQ(t.host.keyDialogs, 0);
    EXPECT_FALSE(t.doc.CanContinueRun());

    // A new run reads the line it did not take then.
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : late", "OUTPUT : late"}));
}

TEST_F(WaitingInput, NothingGoesOnAfterARestart)
{
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_TRUE(t.doc.CanContinueRun());
    t.doc.Restart(nullptr);
    EXPECT_FALSE(t.doc.CanContinueRun());
    t.host.keyLines.push_back("x");
    EXPECT_FALSE(t.doc.ContinueRun());
    EXPECT_EQ(t.Reg()[REG_PR], t.Label("MAIN"));
}

TEST_F(WaitingInput, ALineTakenBackIsReadAgainWithoutWaiting)
{
    t.host.keyLines.push_back("one");
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(End(), RunEnd::ProgramEnd);
    // Back over RET, LAD, RET, OUT and the IN.
    EXPECT_EQ(t.doc.StepBack(5), 5u);
    ASSERT_EQ(t.Reg()[REG_PR], t.Label("SUB"));
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
    EXPECT_EQ(t.host.keyDialogs, 1);
    EXPECT_EQ(Log().back(), "OUTPUT : one");
}

TEST_F(WaitingInput, AHostThatCanWaitIsNeverAskedToContinue)
{
    // The EOF of an empty queue, as the key-input dialog's button gives it.
    t.host.cannotWait = false;
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
    EXPECT_EQ(t.host.keyDialogs, 1);
    EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 0xFFFF);
    EXPECT_FALSE(t.doc.CanContinueRun());
}

TEST_F(WaitingInput, APausedRunGoesOnInSlicesToTheSameEnd)
{
    // 1 + 3 * 1000 + 1 statements.
    const char* const kLoop =
        "MAIN\tSTART\n\tLAD\tGR1,0\nLOOP\tLAD\tGR1,1,GR1\n\tCPA\tGR1,=1000\n\tJMI\tLOOP\n\tST\tGR1,N\n\tRET\nN\tDS\t1\n\tEND\n";
    ASSERT_TRUE(t.Load(kLoop));
    const CRegister start = t.Reg();
    t.host.pauseEvery = 2;
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    int slices = 1;
    while (End() == RunEnd::Paused) {
        // A pause tells the panes nothing, marks nothing anew and says nothing.
        EXPECT_EQ(t.view.Count(HINT_MACHINE_STATE), 0);
        EXPECT_TRUE(t.host.messages.empty());
        ASSERT_TRUE(t.doc.ContinueRun());
        ++slices;
    }
    EXPECT_GT(slices, 10);
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_PROGRAM_END});
    EXPECT_EQ(t.view.Count(HINT_MACHINE_STATE), 1);
    EXPECT_EQ(t.Mem().GetWord(t.Label("N")), 1000);
    EXPECT_EQ(Executed(), 3003u);
    EXPECT_EQ(t.doc.GetTraceTableRows(), 3003u);
    // What the whole run changed is marked, from where it began.
    EXPECT_TRUE(t.doc.GetChangeMarks().IsWordChanged(t.Label("N"), t.Mem()));
    EXPECT_EQ(t.doc.BackToRunStart(), 3003u);
    EXPECT_TRUE(t.Reg() == start);

    // A Stop between two slices ends the run there, as the user's.
    t.host.Forget();
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(End(), RunEnd::Paused);
    const WORD pr = t.Reg()[REG_PR];
    t.doc.Stop();
    EXPECT_TRUE(t.doc.ContinueRun());
    EXPECT_EQ(End(), RunEnd::UserStop);
    EXPECT_EQ(t.Reg()[REG_PR], pr);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_STOPPED_BY_USER});
}

}  // namespace
