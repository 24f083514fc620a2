// The trace table written as its rows are made: after a run longer than the history
// keeps, it says where it starts and holds the run's last rows exactly (user's changes
// in between included), in little memory, and a sink that refuses ends it.
#include <gtest/gtest.h>

#include <string>
#include "allocation_counter.h"
#include "recording_host.h"
#include "simulator/trace_table.h"

namespace {
// Adds DATA into GR2 on every pass, so that a change of DATA by the user shows in every row after it.
const char* const kLoop =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,0\n"
    "LOOP\tLAD\tGR1,1,GR1\n"
    "\tADDL\tGR2,DATA\n"
    "\tST\tGR1,LAST\n"
    "\tJUMP\tLOOP\n"
    "DATA\tDC\t1\n"
    "LAST\tDS\t1\n"
    "\tEND\n";

// The rows of a run as it goes, from row first on: what zelkora-cli writes.
class CRowsAsTheyGo final : public IStepObserver {
public:
    CRowsAsTheyGo(const CMnemonicArray& program, std::uint64_t first) : m_writer(program, m_text), m_nFirst(first) {}
    void AfterStep(const CMnemonic& statement, const CRegister& reg) override
    {
        if (++m_nRow >= m_nFirst) m_writer.AddRow(m_nRow, statement.GetAddress(), reg);
    }
    std::string Text()
    {
        m_writer.Flush();
        return m_text.Text();
    }

private:
    CTraceString m_text;
    CTraceTableWriter m_writer;
    std::uint64_t m_nFirst, m_nRow = 0;
};

// The same run and user's changes on a document: long Go, a word and a register set, Go again.
void RunAndChange(CTestDocument& t)
{
    t.doc.GetCore().SetStepLimit(700'000);
    t.doc.Run(RUN_GO);
    t.doc.SetMemoryWord(nullptr, t.Label("DATA"), 0x0100);
    CRegister reg = t.Reg();
    reg[4] = 0x4444;
    t.doc.SetRegisters(nullptr, reg);
    t.doc.GetCore().SetStepLimit(1000);
    t.doc.Run(RUN_GO);
}

// Counts what it is given and keeps nothing; refuses from block refuseAt on (0: never).
class CCountingSink final : public ITraceSink {
public:
    explicit CCountingSink(int refuseAt = 0) : m_nRefuseAt(refuseAt) {}
    bool Write(std::string_view text, std::uint64_t rows) override
    {
        ++blocks;
        bytes += text.size();
        this->rows = rows;
        return blocks != m_nRefuseAt;
    }
    int blocks = 0;
    std::uint64_t bytes = 0, rows = 0;

private:
    int m_nRefuseAt;
};

TEST(TraceTable, AfterDroppedStepsItSaysWhereItStartsAndHoldsTheRunsLastRows)
{
    CTestDocument kept;
    ASSERT_TRUE(kept.Load(kLoop));
    kept.doc.GetCore().GetHistory().SetBudget(CRunHistory::kMinBudget);
    RunAndChange(kept);
    const CRunHistory& history = kept.doc.GetCore().GetHistory();
    const std::uint64_t dropped = history.GetDroppedStatementCount();
    ASSERT_GT(dropped, 0u);

    CTestDocument all;
    ASSERT_TRUE(all.Load(kLoop));
    all.doc.GetCore().SetHistoryEnabled(false);
    CRowsAsTheyGo rows(all.doc.GetProgram(), dropped + 1);
    all.doc.GetCore().SetStepObserver(&rows);
    RunAndChange(all);

    const std::string table = kept.doc.GetTraceTable();
    const std::string note = "# statements 1 to " + std::to_string(dropped) +
                             " were dropped from the step-back history: the table starts at step " +
                             std::to_string(dropped + 1) + "\r\n";
    ASSERT_EQ(table.substr(0, note.size()), note);
    EXPECT_EQ(table.find_first_of(",;"), note.size() + 4);  // the note is one cell; the header's first comma follows
    const std::string head = note + TraceTable::Header();
    EXPECT_TRUE(table.compare(head.size(), std::string::npos, rows.Text()) == 0) << "the rows differ from the run's";
    EXPECT_EQ(kept.doc.GetTraceTableRows(), history.GetStatementCount() - dropped);

    // The estimate that decides whether to ask first is near the size.
    const double estimate = static_cast<double>(kept.doc.EstimateTraceTableBytes());
    EXPECT_GT(estimate, 0.75 * static_cast<double>(table.size()));
    EXPECT_LT(estimate, 1.25 * static_cast<double>(table.size()));
}

TEST(TraceTable, WritingTakesLittleMemoryAndEndsWhenTheSinkRefuses)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kLoop));
    t.doc.GetCore().GetHistory().SetBudget(CRunHistory::kMinBudget);
    RunAndChange(t);

    CCountingSink whole;
    {
        CAllocationScope scope;
        ASSERT_TRUE(t.doc.WriteTraceTable(whole));
        // Tens of megabytes of rows; the writing holds a block and the copy of the memory.
        EXPECT_GT(whole.bytes, std::uint64_t{20} << 20);
        EXPECT_LT(scope.PeakBytes(), size_t{3} << 20);
    }
    EXPECT_EQ(whole.rows, t.doc.GetTraceTableRows());

    CCountingSink refusing(3);
    EXPECT_FALSE(t.doc.WriteTraceTable(refusing));
    EXPECT_EQ(refusing.blocks, 3);
    EXPECT_LT(refusing.rows, whole.rows);
}

TEST(TraceTable, NothingDroppedMeansNoNoteAndNoStatementsMeansTheHeaderAlone)
{
    CTestDocument t;
    ASSERT_TRUE(t.Load(kLoop));
    EXPECT_EQ(t.doc.GetTraceTable(), TraceTable::Header());
    EXPECT_FALSE(t.doc.HasTraceTable());
    t.doc.Run(RUN_TRACE);
    const std::string table = t.doc.GetTraceTable();
    EXPECT_EQ(table.substr(0, 5), "step,");
    EXPECT_EQ(table.substr(TraceTable::Header().size(), 7), "1,#0100");
}
}  // namespace
