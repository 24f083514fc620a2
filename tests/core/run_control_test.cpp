// The run loop: the four run modes, stop addresses, breakpoints, the end of the
// program, simulation errors, the Stop request and the pump every 101 statements.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "assembler/error_numbers.h"
#include "recording_host.h"
#include "resources/message_ids.h"

namespace {
// A main program that calls a routine.
//   #0100 LAD GR1,1   #0102 CALL SUB   #0104 LAD GR3,3   #0106 RET
//   SUB = #0107 LAD GR2,2   #0109 LAD GR4,4   #010B RET
const char* const kCallProgram =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,1\n"
    "\tCALL\tSUB\n"
    "\tLAD\tGR3,3\n"
    "\tRET\n"
    "SUB\tLAD\tGR2,2\n"
    "\tLAD\tGR4,4\n"
    "\tRET\n"
    "\tEND\n";

// Counts GR1 up to 5.
//   #0100 LAD GR1,0   LOOP = #0102 LAD GR1,1,GR1   #0104 CPA GR1,=5   #0106 JNZ LOOP   #0108 RET
const char* const kLoopProgram =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,0\n"
    "LOOP\tLAD\tGR1,1,GR1\n"
    "\tCPA\tGR1,=5\n"
    "\tJNZ\tLOOP\n"
    "\tRET\n"
    "\tEND\n";

// Never ends: #0100 LAD GR1,1,GR1   #0102 JUMP LOOP.
const char* const kEndlessProgram =
    "MAIN\tSTART\n"
    "LOOP\tLAD\tGR1,1,GR1\n"
    "\tJUMP\tLOOP\n"
    "\tEND\n";

class RunControl : public ::testing::Test {
protected:
    void Load(const char* source)
    {
        ASSERT_TRUE(t.Load(source));
        // A run that should stop by itself but does not is ended at the 50th pump
        // instead of hanging the suite; the test then fails on message 901.
        t.host.stopAtPump = 50;
    }
    void Breakpoint(WORD address)
    {
        CMnemonic* s = t.At(address);
        ASSERT_NE(s, nullptr);
        s->SetBreakpoint(true);
    }
    WORD Pr() { return t.Reg()[REG_PR]; }
    RunEnd End() { return t.doc.GetCore().GetLastRunEnd(); }

    CTestDocument t;
};

TEST_F(RunControl, TraceOnCallStopsAtFirstStatementOfRoutine)
{
    Load(kCallProgram);
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));
    ASSERT_EQ(Pr(), 0x0102);
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(Pr(), t.Label("SUB"));
    EXPECT_EQ(t.Reg()[2], 0);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFE);
    EXPECT_EQ(t.Mem().GetWord(0xFFFE), 0x0104);
    EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(RunControl, PassOnCallRunsRoutineAndStopsAfterCall)
{
    Load(kCallProgram);
    ASSERT_TRUE(t.doc.Run(RUN_PASS));  // pass on a plain statement is one step
    ASSERT_EQ(Pr(), 0x0102);
    EXPECT_TRUE(t.doc.Run(RUN_PASS));
    EXPECT_EQ(Pr(), 0x0104);
    EXPECT_EQ(t.Reg()[2], 2);
    EXPECT_EQ(t.Reg()[4], 4);
    EXPECT_EQ(t.Reg()[3], 0);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFF);
    EXPECT_EQ(End(), RunEnd::StopAddress);
    EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(RunControl, PassOnCallStopsAtBreakpointInsideRoutine)
{
    Load(kCallProgram);
    const WORD sub = t.Label("SUB");
    Breakpoint(sub + 2);
    t.Reg()[REG_PR] = 0x0102;
    EXPECT_TRUE(t.doc.Run(RUN_PASS));
    EXPECT_EQ(Pr(), sub + 2);
    EXPECT_EQ(t.Reg()[2], 2);
    EXPECT_EQ(t.Reg()[4], 0);
    EXPECT_EQ(End(), RunEnd::Breakpoint);
}

TEST_F(RunControl, TraceOnInnerRetStopsAtReturnAddress)
{
    Load(kCallProgram);
    const WORD sub = t.Label("SUB");
    t.Reg()[REG_PR] = 0x0102;
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));  // into SUB
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));
    ASSERT_EQ(Pr(), sub + 4);
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(Pr(), 0x0104);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFF);
}

TEST_F(RunControl, TraceOnOuterRetEndsProgramWith902)
{
    Load(kCallProgram);
    t.Reg()[REG_PR] = 0x0106;
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(Pr(), 0x0000);
    EXPECT_EQ(t.Reg()[REG_SP], 0x0000);
    ASSERT_EQ(t.host.MessageIds(), std::vector<int>{MSG_PROGRAM_END});
    EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
}

TEST_F(RunControl, TraceOnConditionalJumpStopsAtTakenSuccessor)
{
    // A jump to itself: a trace that followed both successors wrongly would loop.
    const char* source =
        "MAIN\tSTART\n"
        "HERE\tJNZ\tHERE\n"
        "\tRET\n"
        "\tEND\n";
    Load(source);
    t.Reg()[REG_FR] = 0;  // taken
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(Pr(), 0x0100);
    EXPECT_EQ(t.doc.GetCore().GetExecutedCount(), 1u);
    t.Reg()[REG_FR] = 1;  // not taken
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(Pr(), 0x0102);
    EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(RunControl, GoRunsToTheEnd)
{
    Load(kLoopProgram);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.Reg()[1], 5);
    EXPECT_EQ(Pr(), 0x0000);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_PROGRAM_END});
    EXPECT_EQ(t.doc.GetCore().GetExecutedCount(), 17u);  // 1 + 5 * 3 + 1
}

TEST_F(RunControl, GoFromBreakpointExecutesItAndStopsAtNextOne)
{
    Load(kLoopProgram);
    Breakpoint(0x0102);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(Pr(), 0x0102);
    EXPECT_EQ(t.Reg()[1], 0);
    EXPECT_EQ(End(), RunEnd::Breakpoint);
    for (WORD expected = 1; expected <= 3; ++expected) {
        EXPECT_TRUE(t.doc.Run(RUN_GO));
        EXPECT_EQ(Pr(), 0x0102);
        EXPECT_EQ(t.Reg()[1], expected);
    }
    EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(RunControl, BreakpointOnFirstStatementDoesNotStopAtOnce)
{
    Load(kLoopProgram);
    Breakpoint(0x0100);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(Pr(), 0x0000);
    EXPECT_EQ(t.Reg()[1], 5);
}

TEST_F(RunControl, RunToAddress)
{
    Load(kLoopProgram);
    EXPECT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0106));
    EXPECT_EQ(Pr(), 0x0106);
    EXPECT_EQ(t.Reg()[1], 1);
    EXPECT_EQ(End(), RunEnd::StopAddress);
}

TEST_F(RunControl, RunToAddressAtPrRunsOneLoopPass)
{
    Load(kLoopProgram);
    ASSERT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0106));
    for (WORD expected = 2; expected <= 4; ++expected) {
        EXPECT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0106));
        EXPECT_EQ(Pr(), 0x0106);
        EXPECT_EQ(t.Reg()[1], expected);
    }
}

TEST_F(RunControl, RunToAddressNeverReachedRunsToTheEnd)
{
    Load(kLoopProgram);
    EXPECT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0300));
    EXPECT_EQ(Pr(), 0x0000);
    EXPECT_EQ(t.Reg()[1], 5);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_PROGRAM_END});
}

TEST_F(RunControl, RunToAddressStopsEarlierAtBreakpoint)
{
    Load(kLoopProgram);
    Breakpoint(0x0104);
    EXPECT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0108));
    EXPECT_EQ(Pr(), 0x0104);
    EXPECT_EQ(t.Reg()[1], 1);
    EXPECT_EQ(End(), RunEnd::Breakpoint);
}

TEST_F(RunControl, StopAddressIsCheckedBeforeBreakpoint)
{
    Load(kLoopProgram);
    Breakpoint(0x0106);
    EXPECT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0106));
    EXPECT_EQ(Pr(), 0x0106);
    EXPECT_EQ(End(), RunEnd::StopAddress);
}

TEST_F(RunControl, EndIsCheckedBeforeStopAddress)
{
    // Running to #0000 still ends the program properly (message 902).
    Load(kLoopProgram);
    EXPECT_TRUE(t.doc.Run(RUN_TO_ADDRESS, 0x0000));
    EXPECT_EQ(Pr(), 0x0000);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_PROGRAM_END});
    EXPECT_EQ(End(), RunEnd::ProgramEnd);
}

TEST_F(RunControl, GoAfterTheEndShows2100AndChangesNothing)
{
    Load(kLoopProgram);
    ASSERT_TRUE(t.doc.Run(RUN_GO));
    t.host.Forget();
    std::vector<WORD> before(CMemory::kSize);
    for (int a = 0; a < CMemory::kSize; ++a) before[a] = t.Mem().GetWord(static_cast<WORD>(a));
    CRegister regs = t.Reg();

    for (int mode : {RUN_GO, RUN_TRACE, RUN_PASS}) {
        EXPECT_FALSE(t.doc.Run(mode));
        EXPECT_EQ(End(), RunEnd::NotExecutable);
    }
    EXPECT_EQ(t.host.MessageIds(), (std::vector<int>{ERR_SIM_NOT_EXECUTABLE, ERR_SIM_NOT_EXECUTABLE, ERR_SIM_NOT_EXECUTABLE}));
    EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Warning);
    // The running state was never entered.
    EXPECT_EQ(t.host.enterCount, 0);
    EXPECT_EQ(t.host.leaveCount, 0);
    for (int r = 0; r < REG_COUNT; ++r) EXPECT_EQ(t.Reg()[r], regs[r]) << GetRegisterName(r);
    int changed = 0;
    for (int a = 0; a < CMemory::kSize; ++a) changed += t.Mem().GetWord(static_cast<WORD>(a)) != before[a];
    EXPECT_EQ(changed, 0);
}

TEST_F(RunControl, JumpIntoMiddleOfInstructionOrDataStopsWith2100)
{
    // #0100 NOP   #0101 JUMP x   #0103 LAD GR1,5   #0105 RET   DATA = #0106
    struct Row {
        const char* target;
        WORD pr;
    };
    const Row rows[] = {{"#0104", 0x0104}, {"DATA", 0x0106}, {"#0300", 0x0300}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.target);
        CTestDocument d;
        ASSERT_TRUE(d.Load(std::string("MAIN\tSTART\n\tNOP\n\tJUMP\t") + r.target +
                           "\n\tLAD\tGR1,5\n\tRET\nDATA\tDC\t5\n\tEND\n"));
        EXPECT_FALSE(d.doc.Run(RUN_GO));
        EXPECT_EQ(d.Reg()[REG_PR], r.pr);
        EXPECT_EQ(d.Reg()[1], 0);
        EXPECT_EQ(d.host.MessageIds(), std::vector<int>{ERR_SIM_NOT_EXECUTABLE});
        EXPECT_EQ(d.host.enterCount, 1);
        EXPECT_EQ(d.host.leaveCount, 1);
    }
}

TEST_F(RunControl, ProgramOverwritingItsCodeStopsWith2101)
{
    // ST writes over the first word of TARGET before TARGET runs.
    Load("MAIN\tSTART\n"
         "\tLD\tGR1,=#1234\n"
         "\tST\tGR1,TARGET\n"
         "TARGET\tLAD\tGR2,5\n"
         "\tRET\n"
         "\tEND\n");
    const WORD target = t.Label("TARGET");
    EXPECT_FALSE(t.doc.Run(RUN_GO));
    EXPECT_EQ(Pr(), target);
    EXPECT_EQ(t.Reg()[2], 0);
    EXPECT_EQ(t.Mem().GetWord(target), 0x1234);
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{ERR_SIM_CODE_OVERWRITTEN});
    EXPECT_EQ(End(), RunEnd::CodeOverwritten);
    EXPECT_EQ(t.host.leaveCount, 1);
}

TEST_F(RunControl, StopIsNoticedAtThePumpWithPrAtNextStatement)
{
    struct Row {
        int pump;
        std::uint64_t executed;
        WORD gr1;
    };
    // The first pump comes after 101 statements, then one every 101.
    const Row rows[] = {{1, 101, 51}, {3, 303, 152}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pump);
        CTestDocument d;
        ASSERT_TRUE(d.Load(kEndlessProgram));
        d.host.stopAtPump = r.pump;
        EXPECT_TRUE(d.doc.Run(RUN_GO));
        ASSERT_EQ(d.host.MessageIds(), std::vector<int>{MSG_STOPPED_BY_USER});
        EXPECT_EQ(d.host.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(d.doc.GetCore().GetLastRunEnd(), RunEnd::UserStop);
        EXPECT_EQ(d.doc.GetCore().GetExecutedCount(), r.executed);
        EXPECT_EQ(d.host.pumps, r.pump);
        EXPECT_EQ(d.Reg()[1], r.gr1);
        EXPECT_EQ(d.Reg()[REG_PR], 0x0102);  // the last statement run was the LAD

        // A further Go continues from there.
        d.host.Forget();
        d.host.stopAtPump = 1;
        EXPECT_TRUE(d.doc.Run(RUN_GO));
        EXPECT_EQ(d.Reg()[1], r.gr1 + 50);
        EXPECT_EQ(d.Reg()[REG_PR], 0x0100);
    }
}

TEST_F(RunControl, StopRequestedBeforeRunIsForgotten)
{
    Load(kLoopProgram);
    t.doc.Stop();
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_PROGRAM_END});
}

TEST_F(RunControl, PumpsOnceEvery101StatementsWhileRunning)
{
    struct Row {
        int count;       // loop passes; the run executes 3 * count + 2 statements
        int pumps;
    };
    const Row rows[] = {{33, 0}, {34, 1}, {66, 1}, {67, 2}, {1000, 29}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count);
        CTestDocument d;
        ASSERT_TRUE(d.Load("MAIN\tSTART\n\tLAD\tGR1,0\nLOOP\tLAD\tGR1,1,GR1\n\tCPA\tGR1,=" + std::to_string(r.count) +
                           "\n\tJNZ\tLOOP\n\tRET\n\tEND\n"));
        EXPECT_TRUE(d.doc.Run(RUN_GO));
        EXPECT_EQ(d.doc.GetCore().GetExecutedCount(), static_cast<std::uint64_t>(3 * r.count + 2));
        EXPECT_EQ(d.host.pumps, r.pumps);
        EXPECT_EQ(d.host.indicatorSteps, r.pumps);
        EXPECT_EQ(d.host.callsOutsideRun, 0);
    }
}

TEST_F(RunControl, RunningStateIsEnteredAndLeftOnce)
{
    Load(kLoopProgram);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    // The views hear where the run ended before its message shows, and only once.
    EXPECT_EQ(t.host.events,
              (std::vector<std::string>{"enter", "CTestView hint 512", "message 902", "leave"}));
    t.host.Forget();
    ASSERT_TRUE(t.Load(kLoopProgram));
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.host.events, (std::vector<std::string>{"enter", "leave", "CTestView hint 512"}));
}

TEST_F(RunControl, MacroIsTracedAsOneStatement)
{
    Load("MAIN\tSTART\n\tRPUSH\n\tRPOP\n\tRET\n\tEND\n");
    t.Reg()[1] = 7;
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(Pr(), 0x010E);
    EXPECT_EQ(t.doc.GetCore().GetExecutedCount(), 1u);
    EXPECT_TRUE(t.doc.Run(RUN_PASS));
    EXPECT_EQ(Pr(), 0x0115);
    EXPECT_EQ(t.Reg()[1], 7);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFF);
}

TEST_F(RunControl, StepLimitStopsAfterThatManyStatements)
{
    Load(kEndlessProgram);
    t.doc.GetCore().SetStepLimit(6);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(End(), RunEnd::StepLimit);
    EXPECT_EQ(t.doc.GetCore().GetExecutedCount(), 6u);
    EXPECT_EQ(t.Reg()[1], 3);
    EXPECT_EQ(Pr(), 0x0100);
}
}  // namespace
