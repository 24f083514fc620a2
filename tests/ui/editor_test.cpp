// The source editor: caret pane, line tracking of the error list, jumps to error lines.
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "shell/status_bar.h"
#include "test_shell.h"

namespace {
QString CaretPane(CMainFrame* frame)
{
    frame->UpdateCommandUI();
    return frame->GetStatusBar()->GetCaretPane()->text();
}

void MoveCaret(QPlainTextEdit* editor, int position, int anchor = -1)
{
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(anchor < 0 ? position : anchor);
    if (anchor >= 0) cursor.setPosition(position, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

// Eleven lines; lines 3 and 10 are wrong.
const QString kErrors = "P\tSTART\n\tNOP\nBAD\n\tNOP\n\tNOP\n\tNOP\n\tNOP\n\tNOP\n\tNOP\nWRONG\n\tEND\n";
}  // namespace

TEST_F(ShellTest, CaretPaneShowsLineAndColumnRightAligned)
{
    Start();
    SetSource("AB\nCDEF\n");
    MoveCaret(Editor(), 0);
    EXPECT_EQ(CaretPane(Frame()), QString::fromUtf8("  1行 /   1列"));
    MoveCaret(Editor(), 6);
    EXPECT_EQ(CaretPane(Frame()), QString::fromUtf8("  2行 /   4列"));
}

TEST_F(ShellTest, CaretPaneFollowsTheMovingEndOfASelection)
{
    Start();
    SetSource("0123456789");
    MoveCaret(Editor(), 5);
    CaretPane(Frame());
    MoveCaret(Editor(), 2, 5);  // extended to the left: the caret is at the start
    EXPECT_EQ(CaretPane(Frame()), QString::fromUtf8("  1行 /   3列"));
    MoveCaret(Editor(), 8, 2);  // the end moves: the caret is at the end
    EXPECT_EQ(CaretPane(Frame()), QString::fromUtf8("  1行 /   9列"));
}

TEST_F(ShellTest, CaretPaneShowsTheSourceCaretInTheSimulatorWindow)
{
    Start();
    SetSource("P\tSTART\n\tRET\n\tEND\n");
    MoveCaret(Editor(), 8);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(CaretPane(Frame()), QString::fromUtf8("  2行 /   1列"));
    Frame()->ExecuteCommand(ID_FILE_CLOSE);
    CaretPane(Frame());
    EXPECT_FALSE(Frame()->GetStatusBar()->GetCaretPane()->isEnabled());
}

TEST_F(ShellTest, ErrorListFollowsInsertedAndDeletedLines)
{
    Start();
    SetSource(kErrors);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    const CAssembleErrorArray& errors = app->GetDocument()->GetAssembler().GetErrors();
    ASSERT_EQ(errors.GetSize(), 2u);

    // Enter in the middle of line 5: line 6, one more line.
    Output()->RenumberErrors(6, 1);
    EXPECT_EQ(Output()->GetErrorLine(0), 3);
    EXPECT_EQ(Output()->GetErrorLine(1), 11);
    // Two lines pasted above line 3.
    Output()->RenumberErrors(3, 2);
    EXPECT_EQ(Output()->GetErrorLine(0), 5);
    EXPECT_EQ(Output()->GetErrorLine(1), 13);
    // Line 5 deleted with the caret ending on line 5: that error loses its line.
    Output()->RenumberErrors(5, -1);
    EXPECT_EQ(Output()->GetErrorLine(0), -1);
    EXPECT_EQ(Output()->GetErrorLine(1), 12);
    EXPECT_EQ(Output()->toPlainText().split('\n').value(0),
              QString::fromUtf8("ERROR : 命令語がありません"));
}

TEST_F(ShellTest, TypingEnterSendsTheLineChangeToTheErrorList)
{
    Start();
    SetSource(kErrors);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    Editor()->setFocus();
    MoveCaret(Editor(), Editor()->document()->findBlockByNumber(4).position() + 2);  // inside line 5
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(Output()->GetErrorLine(0), 3);
    EXPECT_EQ(Output()->GetErrorLine(1), 11);
    // Backspace at the start of line 6 joins it with line 5 again.
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    EXPECT_EQ(Output()->GetErrorLine(1), 10);
    // Typing that keeps the line count sends nothing.
    QTest::keyClicks(Editor(), "XY");
    EXPECT_EQ(Output()->GetErrorLine(1), 10);
}

TEST_F(ShellTest, DoubleClickOnAnErrorMovesTheEditorToItsLine)
{
    Start();
    SetSource(kErrors);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    Output()->ActivateLine(1);
    EXPECT_EQ(Editor()->textCursor().blockNumber(), 9);
    EXPECT_EQ(Editor()->textCursor().positionInBlock(), 0);
    EXPECT_FALSE(Editor()->textCursor().hasSelection());

    // The same through the mouse, on the first line of the list.
    const QRect first = Output()->cursorRect(QTextCursor(Output()->document()->firstBlock()));
    QTest::mouseDClick(Output()->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(Editor()->textCursor().blockNumber(), 2);

    // An error without a line beeps; a click below the list does nothing.
    Output()->RenumberErrors(3, -1);
    Output()->ActivateLine(0);
    EXPECT_EQ(ui.beeps, 1);
    Output()->ActivateLine(5);
    EXPECT_EQ(ui.beeps, 1);
}

TEST_F(ShellTest, AssemblingWithF7KeepsTheErrorLinesOfAFreshlyOpenedFile)
{
    // The release of F7 reaches the editor without its press, which went to the accelerator.
    const QString path = WriteFile("errors.asm", kErrors.toStdString());
    Start({path});
    Editor()->setFocus();
    QTest::keyClick(Editor(), Qt::Key_F7);
    EXPECT_EQ(Output()->toPlainText().split('\n').value(0), QString::fromUtf8("ERROR #3: 命令語がありません"));
}
