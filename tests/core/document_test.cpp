// The document: assemble and load, reset, run wrapper, breakpoints and the view list.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "assembler/error_numbers.h"
#include "assemble_lines.h"
#include "recording_host.h"
#include "resources/message_ids.h"

namespace {
const char* const kProgram =
    "MAIN\tSTART\r\n"
    "\tLAD\tGR1,5\r\n"
    "\tST\tGR1,DATA\r\n"
    "\tOUT\tDATA,LEN\r\n"
    "\tRET\r\n"
    "DATA\tDC\t0\r\n"
    "LEN\tDC\t1\r\n"
    "\tEND\r\n";

// One error in line 3 (an unknown operation) and one in line 4.
const char* const kTwoErrors =
    "MAIN\tSTART\r\n"
    "\tLAD\tGR1,5\r\n"
    "\tFOO\tGR1\r\n"
    "\tBAR\r\n"
    "\tRET\r\n"
    "\tEND\r\n";

class Document : public ::testing::Test {
protected:
    Document() { t.host.simulateView = &simulateView; }

    bool Assemble(const std::string& source)
    {
        t.doc.SetSourceText(source);
        return t.doc.AssembleAndLoad();
    }
    bool HasView(const CView* view) const
    {
        const auto& views = t.doc.GetViews();
        return std::find(views.begin(), views.end(), view) != views.end();
    }

    CTestDocument t;
    CRecordingView simulateView{"CSimulateView", &t.host.events};
};

TEST_F(Document, SuccessfulAssembleSends1792ThenShows900ThenOpensLoadedMachine)
{
    EXPECT_TRUE(Assemble(kProgram));
    EXPECT_EQ(t.host.events, (std::vector<std::string>{"CTestView hint 1792", "message 900", "open"}));
    EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(t.host.prAtOpen, 0x0100);  // reset before the window opens
    EXPECT_TRUE(HasView(&simulateView));
    EXPECT_EQ(t.doc.FindViewByClass("CSimulateView"), &simulateView);
}

TEST_F(Document, AssembleClosesOpenSimulatorWindowFirst)
{
    ASSERT_TRUE(Assemble(kProgram));
    t.host.Forget();
    simulateView.hints.clear();

    EXPECT_TRUE(Assemble(kProgram));
    EXPECT_EQ(t.host.events, (std::vector<std::string>{"close", "CTestView hint 1792", "message 900", "open"}));
    EXPECT_TRUE(simulateView.hints.empty());  // closed before the first hint
    EXPECT_TRUE(HasView(&simulateView));
}

TEST_F(Document, AssembleClosesOpenSimulatorWindowAlsoWhenAssemblyFails)
{
    ASSERT_TRUE(Assemble(kProgram));
    t.host.Forget();

    EXPECT_FALSE(Assemble(kTwoErrors));
    EXPECT_EQ(t.host.events, (std::vector<std::string>{"close", "CTestView hint 1792", "CTestView hint 2048", "message 1000"}));
    EXPECT_FALSE(HasView(&simulateView));
    EXPECT_EQ(t.doc.FindViewByClass("CSimulateView"), nullptr);
    EXPECT_EQ(t.host.opens, 0);
}

TEST_F(Document, NoCloseRequestWithoutSimulatorWindow)
{
    EXPECT_FALSE(Assemble(kTwoErrors));
    EXPECT_EQ(t.host.closes, 0);
}

TEST_F(Document, AssemblyErrorsGoToErrorPaneAndMessage1000WithCount)
{
    EXPECT_FALSE(Assemble(kTwoErrors));
    const auto& hints = t.view.hints;
    ASSERT_EQ(t.view.Codes(), (std::vector<int>{HINT_ASSEMBLE_BEGIN, HINT_ASSEMBLE_ERRORS}));
    EXPECT_TRUE(hints[1].hasObject);
    EXPECT_EQ(hints[1].object, &t.doc.GetAssembler());
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0].id, MSG_ASSEMBLE_ERRORS);
    EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(t.host.messages[0].text, "2個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。");
    const auto& errors = t.doc.GetAssembler().GetErrors();
    ASSERT_EQ(errors.GetSize(), 2u);
    EXPECT_EQ(errors[0].GetLineNumber(), 3);
    EXPECT_EQ(errors[1].GetLineNumber(), 4);
}

TEST_F(Document, FailedAssemblyLeavesMachineStateAlone)
{
    ASSERT_TRUE(Assemble(kProgram));
    ASSERT_TRUE(t.doc.Run(RUN_TRACE));
    ASSERT_EQ(t.Reg()[1], 5);
    t.Mem().SetWord(0x3000, 0x4321);

    EXPECT_FALSE(Assemble(kTwoErrors));
    EXPECT_EQ(t.Reg()[1], 5);
    EXPECT_EQ(t.Reg()[REG_PR], 0x0102);
    EXPECT_EQ(t.Mem().GetWord(0x3000), 0x4321);
}

TEST_F(Document, EmptySourceGivesOnlyError2028)
{
    EXPECT_FALSE(Assemble(""));
    EXPECT_TRUE(SplitSourceLines(t.doc.GetSourceText()).empty());
    const auto& errors = t.doc.GetAssembler().GetErrors();
    ASSERT_EQ(errors.GetSize(), 1u);
    EXPECT_EQ(errors[0].GetErrorNumber(), ERR_NO_START);
    EXPECT_EQ(errors[0].GetLineNumber(), -1);
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0].text, "1個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。");
}

TEST_F(Document, OpenFailureShows1001AsStopBoxAndKeepsProgramLoaded)
{
    t.host.failOpen = true;
    EXPECT_FALSE(Assemble(kProgram));
    EXPECT_EQ(t.host.events, (std::vector<std::string>{"CTestView hint 1792", "message 900", "open", "message 1001"}));
    EXPECT_EQ(t.host.messages[1].icon, MessageIcon::Stop);
    EXPECT_EQ(t.Reg()[REG_PR], 0x0100);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFF);
    EXPECT_EQ(t.Mem().GetWord(0x0100), 0x121F);  // LAD GR1,5
    EXPECT_FALSE(HasView(&simulateView));
}

TEST_F(Document, SourceIsCutIntoLinesAtCrLfOrLf)
{
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\r\nB", {"A", "B"}},
        {"A\nB\n", {"A", "B"}},
        {"A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"A\r\n\n", {"A", ""}},
        {"\r\n", {""}},
        {"A\rB\r\n", {"A\rB"}},  // a lone CR is no line end
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.text));
        t.doc.SetSourceText(r.text);
        t.doc.AssembleAndLoad();
        EXPECT_EQ(SplitSourceLines(t.doc.GetSourceText()), r.lines);
        EXPECT_EQ(t.doc.GetAssembler().GetErrors().GetSize(), r.lines.size() + 1) << "one error a line, and 2028";
    }
}

TEST_F(Document, LfSourceAssemblesAndErrorLinesCountTheSame)
{
    std::string lf = kProgram;
    for (size_t i; (i = lf.find("\r\n")) != std::string::npos;) lf.erase(i, 1);
    EXPECT_TRUE(Assemble(lf));

    std::string errorsLf = kTwoErrors;
    for (size_t i; (i = errorsLf.find("\r\n")) != std::string::npos;) errorsLf.erase(i, 1);
    EXPECT_FALSE(Assemble(errorsLf));
    const auto& errors = t.doc.GetAssembler().GetErrors();
    ASSERT_EQ(errors.GetSize(), 2u);
    EXPECT_EQ(errors[0].GetLineNumber(), 3);
}

TEST_F(Document, ResetMachineRestoresLoadedStateAndKeepsBreakpoints)
{
    ASSERT_TRUE(Assemble(kProgram));
    CMnemonic* out = t.At(0x0104);
    ASSERT_NE(out, nullptr);
    out->SetBreakpoint(true);
    const WORD data = t.Label("DATA");
    ASSERT_TRUE(t.doc.Run(RUN_GO));  // stops at the OUT
    ASSERT_EQ(t.Reg()[REG_PR], 0x0104);
    ASSERT_TRUE(t.doc.Run(RUN_GO));  // the OUT and the end
    ASSERT_EQ(t.Mem().GetWord(data), 5);
    ASSERT_EQ(t.doc.GetDeviceLog().size(), 1u);
    t.Mem().SetWord(0x4000, 1);
    t.Mem().SetWord(0xFFFF, 0x9999);
    for (int r = 0; r < REG_COUNT; ++r) t.Reg()[r] = 0x7777;

    t.doc.ResetMachine();
    EXPECT_EQ(t.Reg()[REG_PR], 0x0100);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFF);
    EXPECT_EQ(t.Reg()[REG_FR], 0);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(t.Reg()[r], 0) << r;
    EXPECT_EQ(t.Mem().GetWord(0xFFFF), 0);
    EXPECT_EQ(t.Mem().GetWord(data), 0);
    EXPECT_EQ(t.Mem().GetWord(0x4000), 0);
    EXPECT_EQ(t.Mem().GetWord(0x0100), 0x121F);
    EXPECT_TRUE(t.doc.GetDeviceLog().empty());
    EXPECT_TRUE(out->HasBreakpoint());

    // The reloaded program runs again and stops at the same breakpoint.
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.Reg()[REG_PR], 0x0104);
}

TEST_F(Document, LiteralPoolIsLoadedByReset)
{
    ASSERT_TRUE(Assemble("MAIN\tSTART\n\tLD\tGR1,=#ABCD\n\tRET\n\tEND\n"));
    t.Mem().Clear();
    t.doc.ResetMachine();
    EXPECT_EQ(t.Mem().GetWord(0x0103), 0xABCD);
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.Reg()[1], 0xABCD);
}

// #FFFF is cleared before the program is written, so a program word there stays.
TEST_F(Document, ProgramWordAtFFFFIsLoadedOverTheReturnAddress)
{
    // RET at #0100, PAD from #0101 to #FFFE, LAST = #FFFF.
    ASSERT_TRUE(Assemble("MAIN\tSTART\n\tRET\nPAD\tDS\t65278\nLAST\tDC\t#0100\n\tEND\n"));
    ASSERT_EQ(t.Label("LAST"), 0xFFFF);
    EXPECT_EQ(t.Mem().GetWord(0xFFFF), 0x0100);
    t.doc.ResetMachine();
    EXPECT_EQ(t.Mem().GetWord(0xFFFF), 0x0100);
}

TEST_F(Document, RunSends512WhateverTheResult)
{
    ASSERT_TRUE(Assemble(kProgram));
    t.view.hints.clear();
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.view.Codes(), std::vector<int>{HINT_MACHINE_STATE});

    t.view.hints.clear();
    t.Reg()[REG_PR] = 0x0101;  // not a statement
    EXPECT_FALSE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.view.Codes(), std::vector<int>{HINT_MACHINE_STATE});

    t.view.hints.clear();
    t.Reg()[REG_PR] = 0x0100;
    t.Mem().SetWord(0x0101, 0);
    EXPECT_FALSE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.view.Codes(), std::vector<int>{HINT_MACHINE_STATE});
}

TEST_F(Document, ClearBreakpointsClearsAllAndSends304)
{
    ASSERT_TRUE(Assemble(kProgram));
    for (const auto& s : t.doc.GetProgram()) s->SetBreakpoint(true);
    t.view.hints.clear();
    t.doc.ClearBreakpoints();
    for (const auto& s : t.doc.GetProgram()) EXPECT_FALSE(s->HasBreakpoint());
    EXPECT_EQ(t.view.Codes(), std::vector<int>{HINT_BREAKPOINTS_CLEARED});
    EXPECT_EQ(simulateView.Codes().back(), HINT_BREAKPOINTS_CLEARED);
}

TEST(DocumentViews, UpdateAllViewsSkipsSenderAndKeepsOrder)
{
    CRecordingHost host;
    CZelkoraDoc doc(host);
    std::vector<std::string> events;
    CRecordingView a("CA", &events), b("CB", &events), c("CC", &events);
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&c);
    doc.AddView(&b);  // added once only

    CHintUpdateView hint;
    hint.m_wAddress = 0x1234;
    doc.UpdateAllViews(&b, HINT_MEMORY_EDITED, &hint);
    EXPECT_EQ(events, (std::vector<std::string>{"CA hint 275", "CC hint 275"}));
    EXPECT_EQ(a.hints[0].sender, &b);

    events.clear();
    doc.UpdateAllViews(nullptr, HINT_REGISTERS_CHANGED);
    EXPECT_EQ(events, (std::vector<std::string>{"CA hint 288", "CB hint 288", "CC hint 288"}));
    EXPECT_FALSE(a.hints.back().hasObject);
}

TEST(DocumentViews, FindViewByClassGivesFirstMatchOrNone)
{
    CRecordingHost host;
    CZelkoraDoc doc(host);
    CRecordingView source("CSourceView"), sim1("CSimulateView"), sim2("CSimulateView");
    doc.AddView(&source);
    doc.AddView(&sim1);
    doc.AddView(&sim2);
    EXPECT_EQ(doc.FindViewByClass("CSimulateView"), &sim1);
    EXPECT_EQ(doc.FindViewByClass("CSourceView"), &source);
    EXPECT_EQ(doc.FindViewByClass("CSimulate"), nullptr);
    doc.RemoveView(&sim1);
    EXPECT_EQ(doc.FindViewByClass("CSimulateView"), &sim2);
}

// A view that removes another one while handling a hint (a frame closing its
// panes): the removed view is not called afterwards.
TEST(DocumentViews, ViewRemovedDuringBroadcastIsNotCalled)
{
    struct Closer : CRecordingView {
        CZelkoraDoc* doc = nullptr;
        CView* victim = nullptr;
        void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override
        {
            CRecordingView::OnUpdate(sender, hint, object);
            doc->RemoveView(victim);
        }
    };
    CRecordingHost host;
    CZelkoraDoc doc(host);
    Closer closer;
    CRecordingView victim("CVictim");
    closer.doc = &doc;
    closer.victim = &victim;
    doc.AddView(&closer);
    doc.AddView(&victim);
    doc.UpdateAllViews(nullptr, HINT_MACHINE_STATE);
    EXPECT_EQ(closer.hints.size(), 1u);
    EXPECT_TRUE(victim.hints.empty());
}
}  // namespace

TEST_F(Document, UserChangesGoThroughTheDocumentWithTheirHints)
{
    ASSERT_TRUE(t.Load(kProgram));
    CRecordingView listing{"CSimulateView"};
    t.doc.AddView(&listing);
    CMnemonic* lad = t.At(0x0100);
    CMnemonic* data = nullptr;
    for (const auto& s : t.doc.GetProgram())
        if (s->GetSourceLine().rfind("DATA", 0) == 0) data = s.get();
    ASSERT_NE(data, nullptr);

    // Breakpoints: executable statements only; no hint, the listing redraws its row itself.
    EXPECT_TRUE(t.doc.ToggleBreakpoint(*lad));
    EXPECT_TRUE(lad->HasBreakpoint());
    EXPECT_TRUE(t.doc.ToggleBreakpoint(*lad));
    EXPECT_FALSE(lad->HasBreakpoint());
    EXPECT_FALSE(t.doc.ToggleBreakpoint(*data));
    EXPECT_EQ(t.host.beeps, 1);

    // Set PR: refused with a beep on a DC line; otherwise 288 to all but the sender.
    EXPECT_FALSE(t.doc.SetPRAt(&listing, *data));
    EXPECT_EQ(t.host.beeps, 2);
    EXPECT_EQ(t.Reg()[REG_PR], 0x0100);
    EXPECT_TRUE(t.doc.SetPRAt(&listing, *t.At(0x0102)));
    EXPECT_EQ(t.Reg()[REG_PR], 0x0102);
    EXPECT_EQ(t.view.Codes(), std::vector<int>{HINT_REGISTERS_CHANGED});
    EXPECT_TRUE(listing.hints.empty());

    CRegister values;
    values[1] = 0xFFFF;
    values[REG_FR] = FLAG_SF;
    t.doc.SetRegisters(nullptr, values);
    EXPECT_EQ(t.Reg()[1], 0xFFFF);
    EXPECT_EQ(t.Reg()[REG_PR], 0);
    EXPECT_EQ(listing.Codes(), std::vector<int>{HINT_REGISTERS_CHANGED});

    t.doc.Restart(&listing);
    EXPECT_EQ(t.Reg()[REG_PR], 0x0100);
    EXPECT_EQ(t.Reg()[REG_SP], 0xFFFF);
    EXPECT_EQ(t.view.Codes(), (std::vector<int>{HINT_REGISTERS_CHANGED, HINT_REGISTERS_CHANGED, HINT_MACHINE_STATE}));

    lad->SetBreakpoint(true);
    t.doc.ClearBreakpoints(&listing);
    EXPECT_FALSE(lad->HasBreakpoint());
    EXPECT_EQ(t.view.Codes().back(), HINT_BREAKPOINTS_CLEARED);
    EXPECT_EQ(listing.Count(HINT_BREAKPOINTS_CLEARED), 0);
    t.doc.RemoveView(&listing);
}

TEST_F(Document, MemoryEditsTellTheOtherViewsAndWatchesOutliveAssembly)
{
    ASSERT_TRUE(t.Load(kProgram));
    CRecordingView dump{"CDumpView"};
    t.doc.AddView(&dump);
    t.doc.SetMemoryWord(&dump, 0x0123, 0xBEEF);
    EXPECT_EQ(t.Mem().GetWord(0x0123), 0xBEEF);
    EXPECT_EQ(t.view.Codes(), std::vector<int>{HINT_MEMORY_EDITED});
    EXPECT_TRUE(dump.hints.empty());
    t.doc.RemoveView(&dump);

    t.doc.GetWatches().Add("DATA", 1, WATCH_HEX);
    ASSERT_TRUE(t.Load(kProgram));
    ASSERT_EQ(t.doc.GetWatches().GetSize(), 1u);
    EXPECT_EQ(FormatWatchValue(**t.doc.GetWatches().begin(), t.Reg(), t.Mem(), &t.doc.GetAssembler().GetLabels()),
              "#0000");
}
