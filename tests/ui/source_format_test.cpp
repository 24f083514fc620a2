// Source files through the editor keep their encoding, byte order mark and line ends;
// what they are is found by the one encoding rule, shown in the status bar, and can be
// chosen again by reopening.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <random>
#include "resources/command_ids.h"
#include "shell/source_file.h"
#include "shell/status_bar.h"
#include "test_shell.h"

namespace {
// The bytes the editor writes back after it was given bytes: what Open and Save do.
std::string ThroughTheEditor(CSourceView& editor, const std::string& bytes)
{
    LoadSourceIntoEditor(editor, DecodeSource(bytes));
    return EditorToFileBytes(*editor.document(), editor.GetFormat());
}

std::string RandomText(std::mt19937& random, std::span<const std::string> pieces)
{
    std::string bytes;
    for (int n = random() % 24; n > 0; --n) bytes += pieces[random() % pieces.size()];
    return bytes;
}
}  // namespace

TEST_F(ShellTest, AnyFileOpenedAndSavedUnchangedIsTheSameBytes)
{
    Start();
    CSourceView& editor = *Editor();
    // Bytes the editor could lose: stray CRs, NUL, the kept-byte range and the characters
    // Qt takes as line or frame breaks or turns into spaces, in files of either encoding.
    const std::vector<std::string> special = {
        "", "A", "A\n", "A\r\n", "A\r", "\r", "\r\r\n", "\n\r", std::string("A\0B\r\n\0", 7),
        "\xEF\xBB\xBF", "\xEF\xBB\xBF\r\n", "\xEF\xBB\xBF\xFF\xFE\n\x82", "\xEF\xBB\xBF\xEF\xBB\xBF",
        "; \xE3\x81\xAE \xEF\x9C\x80 \xEF\x9F\xBF\n",          // U+F700 and U+F7FF in a UTF-8 file
        "; \xE3\x81\xAE \xC2\xA0 \xE2\x80\xA8 \xE2\x80\xA9 \xEF\xB7\x90 \xEF\xB7\x91 \xEF\xBF\xBC\n",
        "; \xE3\x81\xAE \xF0\x9F\x98\x80\r\n\xEF\xBB\xBF\n",   // a character beyond the BMP, a BOM inside
        "; \xCF\xB2\xC5\xBD\r\nX\nY\r\nZ", "\x82\xA0\x82", "\xED\x40\xFA\x55\x81\xCA",  // NEC and IBM codes
        "\xF0\x40\x81\x0D\x0A\x82",
    };
    for (const std::string& bytes : special) ASSERT_EQ(ThroughTheEditor(editor, bytes), bytes) << testing::PrintToString(bytes);

    std::mt19937 random(17);
    const std::string pieces[] = {"\r", "\n", "\r\n", "AB", "\t", std::string(1, '\0'), "\x82", "\xA0", "\xE3\x81\xAE",
                                  "\xEF\xBB\xBF", "\xEF\x9C\x80", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xC2\xA0",
                                  "\xEF\xB7\x90", "\xF0\x9F\x98\x80", "\xFF", "\xCF\xB2", "\x8A\xBF", "\xB1"};
    for (int i = 0; i < 400; ++i) {
        const std::string bytes = RandomText(random, pieces);
        ASSERT_EQ(ThroughTheEditor(editor, bytes), bytes) << testing::PrintToString(bytes);
    }
    for (int i = 0; i < 100; ++i) {
        std::string bytes(random() % 64, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        ASSERT_EQ(ThroughTheEditor(editor, bytes), bytes) << testing::PrintToString(bytes);
    }
}

TEST_F(ShellTest, OpenAndSaveKeepEncodingByteOrderMarkAndLineEnds)
{
    struct Case {
        const char* name;
        std::string bytes;
        QString text;    // as the editor shows it
        QString status;  // the status bar's format pane
    };
    const Case cases[] = {
        {"Shift-JIS, CR LF", "; \xCF\xB2\xC5\xBD\r\n\tEND\r\n", QString::fromUtf8("; ﾏｲﾅｽ\n\tEND\n"), "Shift-JIS CR LF"},
        {"Shift-JIS, LF", "; \x8A\xBF\x8E\x9A\n\tEND\n", QString::fromUtf8("; 漢字\n\tEND\n"), "Shift-JIS LF"},
        {"UTF-8, LF", "; \xE3\x81\xAE\n\tEND", QString::fromUtf8("; の\n\tEND"), "UTF-8 LF"},
        {"UTF-8 with a BOM, CR LF", "\xEF\xBB\xBF; \xE6\xBC\xA2\r\n", QString::fromUtf8("; 漢\n"), "UTF-8 BOM CR LF"},
        {"mixed line ends", "A\nB\r\nC\n", "A\nB\nC\n", QString::fromUtf8("Shift-JIS LF/CR LF 混在")},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteFile("file.asm", c.bytes);
        ASSERT_NE(app->OpenDocumentFile(path), nullptr);
        EXPECT_EQ(Editor()->toPlainText(), c.text);
        Frame()->UpdateCommandUI();
        EXPECT_EQ(Frame()->GetStatusBar()->GetFormatPane()->text(), c.status);
        ui.saveNames.push_back(dir.filePath("copy.asm"));
        Frame()->ExecuteCommand(ID_FILE_SAVE_AS);
        EXPECT_EQ(ReadBytes(dir.filePath("copy.asm")), c.bytes);
    }
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(ShellTest, NewFilesAreShiftJisWithCrLf)
{
    Start();
    SetSource(QString::fromUtf8("; ﾏｲﾅｽ\n\tEND\n"));
    Frame()->UpdateCommandUI();
    EXPECT_EQ(Frame()->GetStatusBar()->GetFormatPane()->text(), "Shift-JIS CR LF");
    ui.saveNames.push_back(dir.filePath("new.asm"));
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(dir.filePath("new.asm")), "; \xCF\xB2\xC5\xBD\r\n\tEND\r\n");
}

TEST_F(ShellTest, LinesAddedToAMixedFileTakeASensibleEnd)
{
    // Mostly CR LF; line 2 ends in LF.
    const QString path = WriteFile("mixed.asm", "A\r\nBB\nC\r\n");
    Start({path});
    // Enter in the middle of the LF line and at the end of a CR LF line.
    QTextCursor cursor(Editor()->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::NextCharacter);
    Editor()->setTextCursor(cursor);
    QTest::keyClick(Editor(), Qt::Key_Return);
    cursor = QTextCursor(Editor()->document()->findBlockByNumber(0));
    cursor.movePosition(QTextCursor::EndOfBlock);
    Editor()->setTextCursor(cursor);
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClick(Editor(), Qt::Key_X);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    const std::string saved = ReadBytes(path);
    // Every line is still there with an end of the file's; the line split keeps LF on one half.
    EXPECT_TRUE(saved == "A\r\nx\r\nB\nB\r\nC\r\n" || saved == "A\r\nx\r\nB\r\nB\nC\r\n") << saved;
}

TEST_F(ShellTest, TheDesktopProgramAssemblesUtf8AndShiftJisSourcesAlike)
{
    // DC 'ﾏｲﾅｽ' gives four words from either file, as zelkora-cli does.
    const std::string sjis = "P\tSTART\r\n\tDC\t'\xCF\xB2\xC5\xBD'\r\n\tEND\r\n";
    const std::string utf8 = "P\tSTART\n\tDC\t'\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD'\n\tEND\n";
    Start();
    for (const std::string& bytes : {sjis, utf8}) {
        ASSERT_NE(app->OpenDocumentFile(WriteFile("dc.asm", bytes)), nullptr);
        Frame()->ExecuteCommand(ID_ASSEMBLE);
        ASSERT_NE(app->GetSimulatorFrame(), nullptr);
        const CMemory& memory = app->GetDocument()->GetCore().GetMemory();
        EXPECT_EQ(memory.GetWord(0x0100), 0xFFCF);
        EXPECT_EQ(memory.GetWord(0x0103), 0xFFBD);
        EXPECT_EQ(memory.GetWord(0x0104), 0x0000);
        Frame()->GetMdiArea()->setActiveSubWindow(app->GetSourceFrame());
    }
}

TEST_F(ShellTest, CharactersShiftJisLacksOfferUtf8AndCancelKeepsTheFile)
{
    const QString path = WriteFile("keep.asm", "OLD\r\n");
    Start({path});
    SetSource(QString::fromUtf8("; \xF0\x9F\x98\x80 \xE3\x81\xAE\n"));
    ui.yesNoCancel.push_back(QMessageBox::Cancel);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(ui.questions[0].contains("UTF-8"));
    EXPECT_EQ(ReadBytes(path), "OLD\r\n");
    EXPECT_TRUE(app->IsModified());

    // No: Shift-JIS with '?' for what it lacks.
    ui.yesNoCancel.push_back(QMessageBox::No);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), "; ? \x82\xCC\r\n");

    // Yes: UTF-8, nothing lost, and the file stays UTF-8 without another question.
    SetSource(QString::fromUtf8("; \xF0\x9F\x98\x80 \xE3\x81\xAE\n"));
    ui.yesNoCancel.push_back(QMessageBox::Yes);
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), "; \xF0\x9F\x98\x80 \xE3\x81\xAE\r\n");
    EXPECT_FALSE(app->IsModified());
    SetSource(QString::fromUtf8("; \xF0\x9F\x98\x81\n"));
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), "; \xF0\x9F\x98\x81\r\n");
    EXPECT_EQ(ui.questions.size(), 3);
}

TEST_F(ShellTest, AFileReadInTheWrongEncodingCanBeReopenedInTheOther)
{
    // Latin text in UTF-8 without a byte order mark reads as half-width katakana.
    const QString path = WriteFile("latin.asm", "; caf\xC3\xA9\n");
    Start({path});
    EXPECT_EQ(Editor()->toPlainText(), QString::fromUtf8("; cafﾃｩ\n"));
    EXPECT_TRUE(Checked(ID_REOPEN_CP932));
    EXPECT_FALSE(Checked(ID_REOPEN_UTF8));

    // The menu item is a submenu of the file menu holding both encodings.
    QMenu* fileMenu = Frame()->menuBar()->actions().value(0)->menu();
    ASSERT_NE(fileMenu, nullptr);
    QMenu* reopen = nullptr;
    for (QAction* action : fileMenu->actions())
        if (action->menu() && action->text().startsWith(QString::fromUtf8("ｴﾝｺｰﾃﾞｨﾝｸﾞを指定して開き直す"))) reopen = action->menu();
    ASSERT_NE(reopen, nullptr);
    EXPECT_EQ(reopen->actions(), QList<QAction*>({Frame()->GetAction(ID_REOPEN_CP932), Frame()->GetAction(ID_REOPEN_UTF8)}));

    // Edits are dropped only when the user says so.
    SetSource("EDITED");
    ui.okCancel.push_back(false);
    Frame()->ExecuteCommand(ID_REOPEN_UTF8);
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(Editor()->toPlainText(), "EDITED");
    ui.okCancel.push_back(true);
    Frame()->ExecuteCommand(ID_REOPEN_UTF8);
    EXPECT_EQ(Editor()->toPlainText(), QString::fromUtf8("; café\n"));
    EXPECT_FALSE(app->IsModified());
    EXPECT_TRUE(Checked(ID_REOPEN_UTF8));
    Frame()->UpdateCommandUI();
    EXPECT_EQ(Frame()->GetStatusBar()->GetFormatPane()->text(), "UTF-8 LF");

    // It stays UTF-8: an unchanged save gives the file back, and typed text is UTF-8.
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), "; caf\xC3\xA9\n");
    Editor()->moveCursor(QTextCursor::End);
    Editor()->textCursor().insertText(QString::fromUtf8("é"));
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), "; caf\xC3\xA9\n\xC3\xA9");
    EXPECT_EQ(ui.questions.size(), 2);

    // And back: the same bytes as Shift-JIS.
    Frame()->ExecuteCommand(ID_REOPEN_CP932);
    EXPECT_EQ(Editor()->toPlainText(), QString::fromUtf8("; cafﾃｩ\nﾃｩ"));
}

TEST_F(ShellTest, AnUntitledDocumentHasNothingToReopen)
{
    Start();
    EXPECT_FALSE(Enabled(ID_REOPEN_CP932));
    EXPECT_FALSE(Enabled(ID_REOPEN_UTF8));
    Frame()->ExecuteCommand(ID_REOPEN_UTF8);
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}
