// Command routing, enable rules, the Assemble road and the running state.
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "shell/status_bar.h"
#include "test_shell.h"

namespace {
const QString kHello = "HELLO\tSTART\n\tOUT\tMSG,LEN\n\tRET\nMSG\tDC\t'Hi'\nLEN\tDC\t2\n\tEND\n";
const QString kEndless = "LOOP\tSTART\n\tJUMP\tLOOP\n\tEND\n";

QStringList MenuTitles(CMainFrame* frame)
{
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions()) titles << a->text();
    return titles;
}
}  // namespace

TEST_F(ShellTest, StartsWithOneUntitledSourceWindow)
{
    Start();
    ASSERT_NE(app->GetDocument(), nullptr);
    EXPECT_EQ(Frame()->GetMdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(app->GetSourceFrame()->windowTitle(), QString::fromUtf8("Source - (無題)"));
    EXPECT_EQ(Frame()->windowTitle(), "Zelkora II - Source");
    EXPECT_EQ(Frame()->GetMenuId(), 130);
    EXPECT_EQ(MenuTitles(Frame()),
              QStringList({QString::fromUtf8("ﾌｧｲﾙ(&F)"), QString::fromUtf8("編集(&E)"), QString::fromUtf8("操作(&O)"),
                           QString::fromUtf8("設定(&S)"), QString::fromUtf8("ﾍﾙﾌﾟ(&H)")}));
}

TEST_F(ShellTest, SourceWindowEnablesOnlyWhatItsPanesHandle)
{
    Start();
    SetSource("abc");
    struct Case {
        int id;
        bool enabled;
    };
    const Case cases[] = {
        {ID_ASSEMBLE, true},    {ID_FILE_NEW, true},     {ID_FILE_SAVE, true},      {ID_ENVIRONMENT, true},
        {ID_RUN_GO, false},     {ID_RUN_TRACE, false},   {ID_RESTART, false},       {ID_STOP, false},
        {ID_EDIT_CUT, false},   {ID_EDIT_COPY, false},   {ID_SET_REGISTER, false},  {ID_VIEW_DUMP, false},
        {ID_WATCH_ADD, false},  {ID_BP_TOGGLE, false},
    };
    for (const Case& c : cases) EXPECT_EQ(Enabled(c.id), c.enabled) << c.id;

    Editor()->selectAll();
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
}

TEST_F(ShellTest, F7AssemblesAndOpensTheSimulatorWindow)
{
    Start();
    SetSource(kHello);
    QTest::keyClick(Editor(), Qt::Key_F7);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QString::fromUtf8("ｱｾﾝﾌﾞﾙが正常に終了しました。"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(Frame()->GetMenuId(), 129);
    EXPECT_EQ(Frame()->windowTitle(), "Zelkora II - Simulator");

    // In the simulator window the run commands apply and Assemble does not.
    EXPECT_TRUE(Enabled(ID_RUN_GO));
    EXPECT_TRUE(Enabled(ID_RESTART));
    EXPECT_FALSE(Enabled(ID_ASSEMBLE));
    EXPECT_FALSE(Enabled(ID_STOP));
    EXPECT_TRUE(Checked(ID_VIEW_DUMP));
    EXPECT_FALSE(Checked(ID_VIEW_OUTPUT));
}

TEST_F(ShellTest, AssemblyErrorsFillTheErrorListAndKeepTheSimulatorClosed)
{
    Start();
    SetSource("PGM\tSTART\n\tLD\tGR8,X\n\tEND\n");
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    EXPECT_EQ(ui.MessageTexts(), QStringList(QString::fromUtf8("1個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。")));
    EXPECT_EQ(Output()->toPlainText(), QString::fromUtf8("ERROR #2: ｵﾍﾟﾗﾝﾄﾞ第1ﾊﾟﾗﾒｰﾀの記述に誤りがあります。\n"));
    EXPECT_EQ(app->GetSimulatorFrame(), nullptr);
}

TEST_F(ShellTest, AssemblingAgainClosesTheOpenSimulatorWindowFirst)
{
    Start();
    SetSource(kHello);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    Frame()->GetMdiArea()->setActiveSubWindow(app->GetSourceFrame());
    SetSource("BAD\n");
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    EXPECT_EQ(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(Frame()->GetMdiArea()->subWindowList().size(), 1);
}

TEST_F(ShellTest, GoRunsTheProgramAndTheOutputViewShowsItsLines)
{
    Start();
    SetSource(kHello);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    Frame()->ExecuteCommand(ID_VIEW_OUTPUT);
    EXPECT_TRUE(Checked(ID_VIEW_OUTPUT));
    Frame()->ExecuteCommand(ID_RUN_GO);
    EXPECT_TRUE(ui.MessageTexts().contains(QString::fromUtf8("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑの実行を終了します。")));
    auto* output = qobject_cast<QPlainTextEdit*>(app->GetSimulatorFrame()->GetWorkView());
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->toPlainText(), "OUTPUT : Hi\n");
    EXPECT_EQ(app->GetDocument()->GetCore().GetRegisters()[REG_PR], 0);
}

TEST_F(ShellTest, SwitchingToTheSameWorkViewKeepsIt)
{
    Start();
    SetSource(kHello);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    QWidget* before = app->GetSimulatorFrame()->GetWorkView();
    Frame()->ExecuteCommand(ID_VIEW_DUMP);
    EXPECT_EQ(app->GetSimulatorFrame()->GetWorkView(), before);
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    EXPECT_NE(app->GetSimulatorFrame()->GetWorkView(), before);
    EXPECT_TRUE(Checked(ID_VIEW_WATCH));
}

TEST_F(ShellTest, WhileRunningOnlyStopIsEnabledAndStopEndsTheRun)
{
    Start();
    SetSource(kEndless);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    struct Seen {
        bool running = false, stop = false, go = false, newFile = true, childEnabled = true, closed = true;
    } seen;
    // Looked at from inside the run, when the run loop dispatches events.
    QTimer::singleShot(0, Frame(), [&] {
        seen.running = Frame()->IsRunning();
        seen.stop = Enabled(ID_STOP);
        seen.go = Enabled(ID_RUN_GO);
        seen.newFile = Enabled(ID_FILE_NEW);
        seen.childEnabled = app->GetSimulatorFrame()->isEnabled();
        seen.closed = Frame()->close();
        Frame()->GetAction(ID_STOP)->trigger();
    });
    Frame()->ExecuteCommand(ID_RUN_GO);
    EXPECT_TRUE(seen.running);
    EXPECT_TRUE(seen.stop);
    EXPECT_FALSE(seen.go);
    EXPECT_FALSE(seen.newFile);
    EXPECT_FALSE(seen.childEnabled);
    EXPECT_FALSE(seen.closed);
    EXPECT_TRUE(ui.MessageTexts().contains(QString::fromUtf8("ﾕｰｻﾞの要求によりﾌﾟﾛｸﾞﾗﾑの実行を中断しました。")));

    // Afterwards everything is back.
    EXPECT_FALSE(Frame()->IsRunning());
    EXPECT_TRUE(app->GetSimulatorFrame()->isEnabled());
    EXPECT_TRUE(Enabled(ID_RUN_GO));
    EXPECT_FALSE(Enabled(ID_STOP));
    EXPECT_EQ(Frame()->GetStatusBar()->GetProgress()->value(), 0);
}

// Going back and the trace table are enabled as far as each can still do something; going
// back past what the history kept is said in a box.
TEST_F(ShellTest, StepBackCommandsAreEnabledForWhatEachCanStillDo)
{
    Start();
    SetSource("LOOP\tSTART\nL\tLAD\tGR1,1,GR1\n\tJUMP\tL\n\tEND\n");
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    CCometCore& core = app->GetDocument()->GetCore();
    core.GetHistory().SetBudget(CRunHistory::kMinBudget);
    ui.messages.clear();
    struct Case {
        const char* after;
        std::function<void()> action;
        bool back, toStart, table;
        int messages;  // boxes shown by the action
    } cases[] = {
        {"assembling", [] {}, false, false, false, 0},
        {"a trace", [&] { Frame()->ExecuteCommand(ID_RUN_TRACE); }, true, true, true, 0},
        {"going back over it", [&] { Frame()->ExecuteCommand(ID_STEP_BACK); }, false, false, false, 0},
        {"a Go longer than the history keeps",
         [&] {
             core.SetStepLimit(1'000'000);
             Frame()->ExecuteCommand(ID_RUN_GO);
             core.SetStepLimit(0);
         },
         true, true, true, 0},
        {"going back to the run's start, which was dropped", [&] { Frame()->ExecuteCommand(ID_BACK_TO_RUN_START); },
         false, false, true, 1},
        {"a restart", [&] { Frame()->ExecuteCommand(ID_RESTART); }, false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        c.action();
        EXPECT_EQ(Enabled(ID_STEP_BACK), c.back);
        EXPECT_EQ(Enabled(ID_BACK_TO_RUN_START), c.toStart);
        EXPECT_EQ(Enabled(ID_SAVE_TRACE_TABLE), c.table);
        EXPECT_EQ(static_cast<int>(ui.messages.size()), c.messages) << ui.MessageTexts().join("\n").toStdString();
        ui.messages.clear();
    }
}

TEST_F(ShellTest, KeyInputDialogFeedsIn)
{
    Start();
    SetSource("P\tSTART\n\tIN\tBUF,LEN\n\tOUT\tBUF,LEN\n\tRET\nBUF\tDS\t80\nLEN\tDS\t1\n\tEND\n");
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ui.keyLines.push_back("abc");
    Frame()->ExecuteCommand(ID_RUN_GO);
    const auto& log = app->GetDocument()->GetDeviceLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "INPUT  : abc");
    EXPECT_EQ(log[1], "OUTPUT : abc");
}

TEST_F(ShellTest, ManualOpensBesideTheProgram)
{
    Start();
    Frame()->ExecuteCommand(ID_MANUAL);
    ASSERT_EQ(ui.urls.size(), 1u);
    EXPECT_EQ(ui.urls[0].toLocalFile(), QApplication::applicationDirPath() + "/Help/zelkora.htm");
}

TEST_F(ShellTest, ClosingTheDocumentLeavesMenu128)
{
    Start();
    Frame()->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_EQ(app->GetDocument(), nullptr);
    EXPECT_EQ(Frame()->GetMenuId(), 128);
    EXPECT_EQ(Frame()->windowTitle(), "Zelkora II");
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_TRUE(Enabled(ID_FILE_OPEN));
}
