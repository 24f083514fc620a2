// 操作 → ﾃｽﾄ実行: the test file beside the source, its results in the error pane, and a
// failed case opened in the simulator with the case's input.
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/source_frame.h"
#include "simulator/zelkora_doc.h"
#include "test_shell.h"
#include "views/output_view.h"

namespace {
// Adds up one-digit input lines until the end of input; writes the sum's digit, leaves it in GR0.
const char* const kAdder =
    "ADD\tSTART\r\n\tLAD\tGR0,0\r\nLOOP\tIN\tBUF,LEN\r\n\tLD\tGR1,LEN\r\n\tJMI\tFIN\r\n\tLD\tGR2,BUF\r\n"
    "\tSUBA\tGR2,ZERO\r\n\tADDA\tGR0,GR2\r\n\tJUMP\tLOOP\r\nFIN\tLD\tGR3,GR0\r\n\tADDA\tGR3,ZERO\r\n"
    "\tST\tGR3,OUTB\r\n\tOUT\tOUTB,ONE\r\n\tRET\r\nBUF\tDS\t8\r\nLEN\tDS\t1\r\nOUTB\tDC\t' '\r\nONE\tDC\t1\r\n"
    "ZERO\tDC\t'0'\r\n\tEND\r\n";

const char* const kTests =
    "case 二つの数\nin 2\nin 3\neof\nout 5\nexpect GR0=5\n"
    "case 間違い\npoints 2\nin 4\neof\nout 5\n";

class ExerciseTests : public ShellTest {
protected:
    void Open(const char* tests)
    {
        const QString source = WriteFile("prog.asm", kAdder);
        if (tests) WriteFile("prog.tests", tests);
        Start({source});
    }
    QStringList PaneLines() const { return Output()->toPlainText().split('\n'); }
    CZelkoraDoc& Doc() const { return app->GetSourceFrame()->GetDocument(); }
};

TEST_F(ExerciseTests, AreOfferedOnlyWithATestFileBesideTheSource)
{
    Open(nullptr);
    EXPECT_FALSE(Enabled(ID_RUN_TESTS));
    WriteFile("prog.tests", kTests);
    EXPECT_TRUE(Enabled(ID_RUN_TESTS));
    WriteFile("other.tests", kTests);
    QFile::remove(dir.filePath("prog.tests"));
    EXPECT_FALSE(Enabled(ID_RUN_TESTS));
}

TEST_F(ExerciseTests, ListEveryCaseWithWhyItFailed)
{
    Open(kTests);
    Frame()->ExecuteCommand(ID_RUN_TESTS);
    EXPECT_EQ(PaneLines(),
              (QStringList{QString::fromStdString(FormatMessageArgs(MSG_TESTS_FAILED, {"prog.tests", "1", "2", "1", "3"})),
                           "○ 二つの数", "× 間違い: 出力 1 行目が違います: 期待 \"5\"、実際 \"4\"",
                           QString::fromStdString(std::string(LoadString(MSG_TESTS_OPEN_HINT)))}));
    EXPECT_EQ(ui.progressTotals, std::vector<std::uint64_t>{2});
    EXPECT_TRUE(ui.messages.empty());
    // The editor's text is what is tested, saved or not; the simulator stays closed.
    EXPECT_EQ(app->GetSimulatorFrame(), nullptr);
    SetSource(QString(kAdder).replace("LD\tGR3,GR0", "LAD\tGR3,1,GR0"));  // writes the sum + 1
    Frame()->ExecuteCommand(ID_RUN_TESTS);
    EXPECT_TRUE(PaneLines().value(0).contains("不合格 (0/2 ｹｰｽ, 0/3 点)")) << PaneLines().value(0).toStdString();
}

TEST_F(ExerciseTests, ADoubleClickOpensTheSimulatorOnTheCasesInput)
{
    Open(kTests);
    Frame()->ExecuteCommand(ID_RUN_TESTS);
    const QStringList results = PaneLines();
    int keyInputs = 0;
    ui.onKeyInput = [&] { ++keyInputs; };

    Output()->ActivateLine(2);  // × 間違い
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(PaneLines(), results);  // the results stay to open another case
    Frame()->ExecuteCommand(ID_RUN_GO);
    EXPECT_EQ(keyInputs, 0);
    EXPECT_EQ(Doc().GetCore().GetRegisters()[0], 4);
    EXPECT_EQ(Doc().GetDeviceLog().front(), "INPUT  : 4");
    // A restart gives the case's lines again; F7 goes back to the input device.
    Frame()->ExecuteCommand(ID_RESTART);
    Frame()->ExecuteCommand(ID_RUN_GO);
    EXPECT_EQ(Doc().GetCore().GetRegisters()[0], 4);
    EXPECT_EQ(keyInputs, 0);
    EXPECT_TRUE(Doc().HasCaseInput());

    // The totals line opens nothing.
    Output()->ActivateLine(0);
    EXPECT_EQ(ui.beeps, 1);
}

TEST_F(ExerciseTests, AWrongTestFileIsNamedWithItsLine)
{
    Open("case a\nout 1\nexpect GR0\n");
    Frame()->ExecuteCommand(ID_RUN_TESTS);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("prog.tests )の 3 行目に誤りがあります。"));
    EXPECT_TRUE(ui.messages[0].text.contains("expect は 名前=値 の形で"));
    EXPECT_EQ(Output()->toPlainText(), "");
}

TEST_F(ExerciseTests, CancelLeavesThePaneAsItWas)
{
    Open("case endless\nsteps 1000000000000\nin 1\n");
    SetSource("E\tSTART\nL\tJUMP\tL\n\tEND\n");
    ui.cancelAtStep = 3;
    Frame()->ExecuteCommand(ID_RUN_TESTS);
    EXPECT_GE(ui.progressSteps.size(), 3u);
    EXPECT_EQ(Output()->toPlainText(), "");
}
}  // namespace
