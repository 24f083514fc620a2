// ﾌｧｲﾙ → ﾄﾚｰｽ表の保存: written as it is made with a progress bar, cancelled or failed
// without a half file, and asked about first when it is large.
#include <QDir>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "test_shell.h"

namespace {
const QString kLoop = "LOOP\tSTART\nL\tLAD\tGR1,1,GR1\n\tJUMP\tL\n\tEND\n";

class TraceTableSave : public ShellTest {
protected:
    // Assembles the loop and runs it for the given statements with Go.
    void RunLoop(std::uint64_t statements, size_t budget = CRunHistory::kMinBudget)
    {
        Start();
        SetSource(kLoop);
        Frame()->ExecuteCommand(ID_ASSEMBLE);
        ASSERT_NE(app->GetSimulatorFrame(), nullptr);
        CCometCore& core = app->GetDocument()->GetCore();
        core.GetHistory().SetBudget(budget);
        core.SetStepLimit(statements);
        Frame()->ExecuteCommand(ID_RUN_GO);
        ui.messages.clear();
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};
}  // namespace

TEST_F(TraceTableSave, TheTableIsWrittenWithProgressAndSaysWhereItStarts)
{
    RunLoop(1'000'000);
    const QString path = dir.filePath("t.csv");
    ui.saveNames.push_back(path);
    Frame()->ExecuteCommand(ID_SAVE_TRACE_TABLE);
    EXPECT_TRUE(ui.messages.empty()) << ui.MessageTexts().join("\n").toStdString();
    EXPECT_TRUE(ui.questions.isEmpty());  // tens of megabytes: no question
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, app->GetDocument()->GetTraceTable());
    EXPECT_EQ(bytes.substr(0, 18), "# statements 1 to ");

    // One progress, its steps counting the rows up to all of them.
    ASSERT_EQ(ui.progressTexts, QStringList(QString::fromUtf8(LoadString(MSG_TRACE_TABLE_SAVING).data())));
    const std::uint64_t rows = app->GetDocument()->GetTraceTableRows();
    EXPECT_EQ(ui.progressTotals, std::vector<std::uint64_t>{rows});
    ASSERT_GT(ui.progressSteps.size(), 10u);
    EXPECT_TRUE(std::is_sorted(ui.progressSteps.begin(), ui.progressSteps.end()));
    EXPECT_EQ(ui.progressSteps.back(), rows);
}

TEST_F(TraceTableSave, CancelledOrFailedLeavesNoHalfFile)
{
    RunLoop(1'000'000);
    const QString path = WriteFile("t.csv", "earlier");
    const QStringList before = Files();

    ui.cancelAtStep = 3;
    ui.saveNames.push_back(path);
    Frame()->ExecuteCommand(ID_SAVE_TRACE_TABLE);
    EXPECT_EQ(ui.progressSteps.size(), 3u);
    EXPECT_TRUE(ui.messages.empty());  // the user knows
    EXPECT_EQ(ReadBytes(path), "earlier");
    EXPECT_EQ(Files(), before);

    // A folder that is not there: said (there was no file before), and nothing made.
    const QString missing = dir.filePath("no-such-folder/t.csv");
    ui.saveNames.push_back(missing);
    Frame()->ExecuteCommand(ID_SAVE_TRACE_TABLE);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromStdString(FormatMessage(MSG_NEW_FILE_SAVE_FAILED, missing.toStdString()) + "\n")));
    EXPECT_EQ(Files(), before);
}

TEST_F(TraceTableSave, ALargeTableIsSavedOnlyAfterAQuestion)
{
    // The whole default budget of steps: about a gigabyte of rows.
    RunLoop(20'000'000, CRunHistory::kDefaultBudget);
    ui.okCancel.push_back(false);
    ui.saveNames.push_back(dir.filePath("t.csv"));
    Frame()->ExecuteCommand(ID_SAVE_TRACE_TABLE);
    ASSERT_EQ(ui.questions.size(), 1);
    const std::string rows = std::to_string(app->GetDocument()->GetTraceTableRows());
    EXPECT_TRUE(ui.questions[0].contains(QString::fromStdString(" " + rows + " "))) << ui.questions[0].toStdString();
    EXPECT_EQ(ui.saveNames.size(), 1u);  // no name asked for
    EXPECT_TRUE(ui.progressTexts.isEmpty());
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(TraceTableSave, TheSourceFileIsNeverWrittenOver)
{
    const std::string source = "LOOP\tSTART\r\nL\tLAD\tGR1,1,GR1\r\n\tJUMP\tL\r\n\tEND\r\n";
    const QString path = WriteFile("loop.asm", source);
    Start({path});
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    app->GetDocument()->GetCore().SetStepLimit(1000);
    Frame()->ExecuteCommand(ID_RUN_GO);
    ui.messages.clear();

    // Named as it is, and by another way to it.
    for (const QString& name : {path, dir.filePath("./loop.asm")}) {
        ui.saveNames.push_back(name);
        Frame()->ExecuteCommand(ID_SAVE_TRACE_TABLE);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, QString::fromStdString(FormatMessage(MSG_TRACE_TABLE_OVER_SOURCE, name.toStdString())));
        EXPECT_EQ(ReadBytes(path), source);
        EXPECT_TRUE(ui.progressTexts.isEmpty());
        ui.messages.clear();
    }
}
