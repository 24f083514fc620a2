// New, Open, Save and Save As: byte for byte, and nothing lost on failure.
#include <QDateTime>
#include <QFileInfo>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
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

TEST_F(ShellTest, AFailedSaveSpeaksOfThePreviousFileOnlyWhenThereWasOne)
{
    QDir(dir.path()).mkdir("taken.asm");  // a name that is there, but cannot take the file
    const struct {
        QString path;
        int message;
    } cases[] = {{dir.filePath("no/such/folder/x.asm"), MSG_NEW_FILE_SAVE_FAILED},
                 {dir.filePath("taken.asm"), MSG_FILE_SAVE_FAILED}};
    Start();
    SetSource("NEW");
    for (const auto& c : cases) {
        ui.messages.clear();
        ui.saveNames.push_back(c.path);
        Frame()->ExecuteCommand(ID_FILE_SAVE_AS);
        ASSERT_EQ(ui.messages.size(), 1u) << c.path.toStdString();
        const QString expected = QString::fromStdString(FormatMessage(c.message, c.path.toStdString()));
        EXPECT_EQ(ui.messages[0].text.section('\n', 0, 0), expected);
        EXPECT_EQ(ui.messages[0].text.contains(QString::fromUtf8("以前のﾌｧｲﾙ")), c.message == MSG_FILE_SAVE_FAILED);
    }
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

TEST_F(ShellTest, AFileWithNulBytesOpensOnlyAfterAQuestionAndStaysItsBytes)
{
    std::string binary("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    for (int b = 0; b < 256; ++b) binary += static_cast<char>(b);
    binary += "\r\n\0END";
    const QString path = WriteFile("picture.png", binary);
    const QString question = QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙではないようです。開きますか?");
    Start();
    SetSource("KEEP");
    CZelkoraDoc* before = app->GetDocument();

    ui.yesNo.push_back(false);
    EXPECT_EQ(app->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(ui.questions, QStringList({question})) << "asked before the unsaved text is";
    EXPECT_EQ(app->GetDocument(), before);
    EXPECT_EQ(Editor()->toPlainText(), "KEEP");
    EXPECT_TRUE(app->IsModified());

    ui.questions.clear();
    ui.yesNo.push_back(true);
    ui.yesNoCancel.push_back(QMessageBox::No);  // drop "KEEP"
    ASSERT_NE(app->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(ui.questions.first(), question);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), binary) << "opened and saved unchanged, the same bytes";

    // A text file asks nothing.
    ui.questions.clear();
    ASSERT_NE(app->OpenDocumentFile(WriteFile("text.asm", kCp932Source)), nullptr);
    EXPECT_TRUE(ui.questions.isEmpty());
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

// --- files changed by another program --------------------------------------------

namespace {
// Another program's window takes the focus and gives it back.
void ComeBackFromAnotherProgram(QWidget* mainWindow)
{
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    mainWindow->activateWindow();
    QApplication::processEvents();
    QApplication::processEvents();  // the check runs after the activation
}
}  // namespace

// prog.asm opened and edited ("MINE"), then changed by another program ("THEIRS").
class FileChangedElsewhere : public ShellTest {
protected:
    QString OpenEditAndChangeElsewhere()
    {
        const QString path = WriteFile("prog.asm", "OLD\r\n");
        Start({path});
        SetSource("MINE");
        WriteFile("prog.asm", "THEIRS\r\n");
        return path;
    }
};

TEST_F(FileChangedElsewhere, SavingOverItAsksFirst)
{
    const QString path = OpenEditAndChangeElsewhere();
    ui.okCancel.push_back(false);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(ui.questions[0].contains(QString::fromUtf8("ほかのﾌﾟﾛｸﾞﾗﾑによって変更されています")));
    EXPECT_EQ(ReadBytes(path), "THEIRS\r\n");
    EXPECT_EQ(Editor()->toPlainText(), "MINE");
    EXPECT_TRUE(app->IsModified());

    ui.okCancel.push_back(true);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), "MINE");
    // The program's own save is no change.
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    ComeBackFromAnotherProgram(Frame());
    EXPECT_EQ(ui.questions.size(), 2);
}

TEST_F(ShellTest, AnUnchangedTextOffersToReloadWhenTheProgramIsActivatedAgain)
{
    const QString path = WriteFile("prog.asm", "OLD\r\n");
    Start({path});
    WriteFile("prog.asm", "NEW\r\n");
    ui.yesNo.push_back(true);
    ComeBackFromAnotherProgram(Frame());
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(ui.questions[0].contains(QString::fromUtf8("読み込み直しますか")));
    EXPECT_EQ(Editor()->toPlainText(), "NEW\n");
    EXPECT_FALSE(app->IsModified());
    ComeBackFromAnotherProgram(Frame());
    EXPECT_EQ(ui.questions.size(), 1);

    // Kept: the text is then a version the file does not hold, so it counts as unsaved,
    // the same change is not asked about again, and saving over it asks.
    WriteFile("prog.asm", "NEWER\r\n");
    ui.yesNo.push_back(false);
    ComeBackFromAnotherProgram(Frame());
    EXPECT_EQ(ui.questions.size(), 2);
    EXPECT_EQ(Editor()->toPlainText(), "NEW\n");
    EXPECT_TRUE(app->IsModified());
    ComeBackFromAnotherProgram(Frame());
    EXPECT_EQ(ui.questions.size(), 2);
    ui.okCancel.push_back(true);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ui.questions.size(), 3);
    EXPECT_EQ(ReadBytes(path), "NEW\r\n");
}

TEST_F(FileChangedElsewhere, EditsAreDroppedForTheOtherVersionOnlyWhenTheUserSaysSo)
{
    const QString path = OpenEditAndChangeElsewhere();
    ui.yesNo.push_back(false);
    ComeBackFromAnotherProgram(Frame());
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(ui.questions[0].contains(QString::fromUtf8("編集中の変更を破棄して")));
    EXPECT_EQ(Editor()->toPlainText(), "MINE");
    EXPECT_EQ(ReadBytes(path), "THEIRS\r\n");

    WriteFile("prog.asm", "THEIRS AGAIN\r\n");
    ui.yesNo.push_back(true);
    ComeBackFromAnotherProgram(Frame());
    EXPECT_EQ(Editor()->toPlainText(), "THEIRS AGAIN\n");
    EXPECT_FALSE(app->IsModified());
}

TEST_F(ShellTest, AFileTouchedButUnchangedIsNoChangeAndOneOfTheSameSizeIs)
{
    const QString path = WriteFile("prog.asm", "ABC\r\n");
    Start({path});
    auto later = [&](int seconds) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime));
    };
    later(10);
    ComeBackFromAnotherProgram(Frame());
    EXPECT_TRUE(ui.questions.isEmpty());

    WriteFile("prog.asm", "XYZ\r\n");
    later(20);
    ui.yesNo.push_back(true);
    ComeBackFromAnotherProgram(Frame());
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(Editor()->toPlainText(), "XYZ\n");
}

TEST_F(ShellTest, AFileDeletedOrRenamedElsewhereIsNoticedAndSavingMakesItAgain)
{
    for (const bool renamed : {false, true}) {
        SCOPED_TRACE(renamed ? "renamed" : "deleted");
        const QString path = WriteFile("prog.asm", "KEEP\r\n");
        ui.messages.clear();
        if (!app) Start({path});
        else ASSERT_NE(app->OpenDocumentFile(path), nullptr);
        ASSERT_TRUE(renamed ? QFile::rename(path, dir.filePath("moved.asm")) : QFile::remove(path));
        ComeBackFromAnotherProgram(Frame());
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8("見つかりません")));
        EXPECT_TRUE(app->IsModified());  // closing asks to save it
        ComeBackFromAnotherProgram(Frame());
        EXPECT_EQ(ui.messages.size(), 1u);

        Frame()->ExecuteCommand(ID_FILE_SAVE);
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[1].icon, MessageIcon::Information);
        EXPECT_EQ(ReadBytes(path), "KEEP\r\n");
        EXPECT_FALSE(app->IsModified());
        EXPECT_TRUE(ui.questions.isEmpty());
    }
}

TEST_F(ShellTest, TheSourceWindowBecomingActiveLooksAtTheFile)
{
    const QString path = WriteFile("prog.asm", "P\tSTART\r\n\tRET\r\n\tEND\r\n");
    Start({path});
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    ComeBackFromAnotherProgram(Frame());  // the main window is active, the simulator window too
    WriteFile("prog.asm", "P\tSTART\r\n\tNOP\r\n\tRET\r\n\tEND\r\n");
    QApplication::processEvents();
    EXPECT_TRUE(ui.questions.isEmpty());
    ui.yesNo.push_back(true);
    Frame()->GetMdiArea()->setActiveSubWindow(app->GetSourceFrame());
    QApplication::processEvents();
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(Editor()->toPlainText(), "P\tSTART\n\tNOP\n\tRET\n\tEND\n");
}

TEST_F(ShellTest, ACommandLinePathNamesAFileFromTheStartingFolder)
{
    // The folder setting is where dialogs start; a relative path given to the program is not read from there.
    ASSERT_TRUE(QDir(dir.path()).mkpath("start") && QDir(dir.path()).mkpath("sources"));
    WriteFile("start/prog.asm", "MINE\r\n");
    WriteFile("sources/prog.asm", "OTHER\r\n");
    OpenSettings()->setValue("Env/SourcePath", dir.filePath("sources"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.filePath("start"));
    Start({"prog.asm"});
    const QString current = QDir::currentPath();
    QDir::setCurrent(before);
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), QDir(dir.filePath("start")).absoluteFilePath("prog.asm"));
    EXPECT_EQ(Editor()->toPlainText(), "MINE\n");
    EXPECT_EQ(QDir(current).canonicalPath(), QDir(dir.filePath("sources")).canonicalPath());
}
