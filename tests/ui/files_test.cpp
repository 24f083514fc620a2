// New, Open, Save and Save As: byte for byte, and nothing lost on failure.
#include <QFileInfo>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "test_shell.h"

namespace {
// "; ｺﾒﾝﾄ 日本語" and a program, in code page 932 with CR LF line ends.
const std::string kCp932Source =
    "; \xBA\xD2\xDD\xC4 \x93\xFA\x96\x7B\x8C\xEA\r\nPGM\tSTART\r\n\tRET\r\n\tEND\r\n";
}  // namespace

TEST_F(ShellTest, OpenAndSaveAsRoundTripByteForByte)
{
    const QString source = WriteFile("in.asm", kCp932Source);
    Start({source});
    EXPECT_EQ(Editor()->toPlainText().left(6), QString::fromUtf8("; ｺﾒﾝﾄ"));
    EXPECT_EQ(app->GetSourceFrame()->windowTitle(), "Source - " + source);

    const QString copy = dir.filePath("out.asm");
    ui.saveNames.push_back(copy);
    Frame()->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadBytes(copy), kCp932Source);
    EXPECT_EQ(app->GetSourceFrame()->windowTitle(), "Source - " + copy);
    EXPECT_EQ(app->GetRecentFiles().first(), copy);
}

TEST_F(ShellTest, SavingAnUntitledDocumentAsksForANameAndAddsTheExtension)
{
    Start();
    SetSource("X");
    ui.saveNames.push_back(dir.filePath("named"));
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(dir.filePath("named.asm")), "X");
    EXPECT_FALSE(app->IsModified());
}

TEST_F(ShellTest, AFailedSaveKeepsTheEditsAndTheDocumentsName)
{
    const QString path = WriteFile("prog.asm", "OLD\r\n");
    Start({path});
    SetSource("NEW");
    ui.saveNames.push_back(dir.filePath("no/such/folder/x.asm"));
    Frame()->ExecuteCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), "OLD\r\n");
    EXPECT_EQ(Editor()->toPlainText(), "NEW");
    EXPECT_TRUE(app->IsModified());
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), path);
}

TEST_F(ShellTest, AnUnreadableFileLeavesTheOpenDocumentAlone)
{
    Start();
    SetSource("KEEP");
    CZelkoraDoc* before = app->GetDocument();
    EXPECT_EQ(app->OpenDocumentFile(dir.filePath("missing.asm")), nullptr);
    EXPECT_EQ(app->GetDocument(), before);
    EXPECT_EQ(Editor()->toPlainText(), "KEEP");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
}

TEST_F(ShellTest, NewAsksAboutUnsavedChangesAndCancelKeepsThem)
{
    Start();
    SetSource("EDITED");
    Editor()->document()->setModified(true);
    ui.yesNoCancel.push_back(QMessageBox::Cancel);
    Frame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(Editor()->toPlainText(), "EDITED");

    ui.yesNoCancel.push_back(QMessageBox::No);
    Frame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(Editor()->toPlainText(), "");
}

TEST_F(ShellTest, NewWithoutChangesAsksNothingAndClosesTheSimulatorToo)
{
    Start();
    SetSource("P\tSTART\n\tRET\n\tEND\n");
    Editor()->document()->setModified(false);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    Frame()->GetMdiArea()->setActiveSubWindow(app->GetSourceFrame());
    Frame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(Frame()->GetMdiArea()->subWindowList().size(), 1);
}

TEST_F(ShellTest, CancelledOpenDialogLeavesNoDocument)
{
    Start();
    Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(app->GetDocument(), nullptr);
}

TEST_F(ShellTest, RecentFilesKeepFourEntriesNewestFirst)
{
    Start();
    QStringList paths;
    for (int i = 0; i < 6; ++i) paths << WriteFile(QString("f%1.asm").arg(i), "X\r\n");
    for (const QString& p : paths) ASSERT_NE(app->OpenDocumentFile(p), nullptr);
    EXPECT_EQ(app->GetRecentFiles(), QStringList({paths[5], paths[4], paths[3], paths[2]}));
    // Opening through the list works like opening by path.
    Frame()->ExecuteCommand(ID_FILE_MRU_FIRST + 3);
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), paths[2]);
}

TEST_F(ShellTest, ClosingTheSourceWindowClosesTheDocumentSafely)
{
    Start();
    SetSource("MAIN\tSTART\n\tRET\n\tEND\n");
    ui.yesNoCancel.push_back(QMessageBox::No);
    EXPECT_TRUE(app->GetSourceFrame()->close());
    // The window and its panes go at the next turn of the event loop, the document with them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->GetDocument(), nullptr);
    EXPECT_TRUE(Frame()->GetMdiArea()->subWindowList().isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(Frame()->GetMenuId(), 128);
}
