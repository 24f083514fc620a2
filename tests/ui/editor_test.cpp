// The source editor: caret pane, line tracking of the error list, jumps to error lines.
#include <QLabel>
#include <QScrollBar>
#include <QTextLayout>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "shell/find_replace_dlg.h"
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

namespace {
// The colour the editor gave the text at a position of a line, or none.
QColor ColourAt(QPlainTextEdit* editor, int line, int column)
{
    const QTextBlock block = editor->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length) return range.format.foreground().color();
    return {};
}
}  // namespace

TEST_F(ShellTest, OnlyTheLinesShownAreColouredAndAnEditedLineIsColouredAgain)
{
    Start();
    QString text;
    for (int i = 0; i < 3000; ++i) text += "L\tLD\tGR1,#0001 ; c\n";
    SetSource(text);
    Editor()->viewport()->repaint();
    // The label, the operation and the register differ; a line far below has no colours yet.
    const QColor label = ColourAt(Editor(), 0, 0), operation = ColourAt(Editor(), 0, 2), reg = ColourAt(Editor(), 0, 5);
    EXPECT_TRUE(label.isValid() && operation.isValid() && reg.isValid());
    EXPECT_NE(label, operation);
    EXPECT_NE(operation, reg);
    EXPECT_FALSE(ColourAt(Editor(), 2999, 2).isValid());

    Editor()->verticalScrollBar()->setValue(Editor()->verticalScrollBar()->maximum());
    Editor()->viewport()->repaint();
    EXPECT_EQ(ColourAt(Editor(), 2999, 2), operation);

    // The operation of the last line edited into a comment.
    QTextCursor cursor(Editor()->document()->findBlockByNumber(2999));
    cursor.insertText(";");
    Editor()->viewport()->repaint();
    EXPECT_NE(ColourAt(Editor(), 2999, 3), operation);
    EXPECT_EQ(ColourAt(Editor(), 2999, 0), ColourAt(Editor(), 2999, 12));  // all of it one comment
}

TEST_F(ShellTest, TheErrorLinesAreMarkedAndTheMarksMoveWithTheText)
{
    Start();
    SetSource(kErrors);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    EXPECT_EQ(Editor()->GetErrorLines(), (std::vector<int>{3, 10}));
    QTextCursor(Editor()->document()).insertText("; new first line\n");
    EXPECT_EQ(Editor()->GetErrorLines(), (std::vector<int>{4, 11}));

    SetSource("P\tSTART\n\tRET\n\tEND\n");
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    EXPECT_TRUE(Editor()->GetErrorLines().empty());
}

TEST_F(ShellTest, ThePrLineFollowsTheRunForwardAndBackAndIsKeptInView)
{
    Start();
    QString text;
    for (int i = 0; i < 600; ++i) text += "; comment\n";
    SetSource(text + "P\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR2,2\n\tRET\n\tEND\n");
    EXPECT_EQ(Editor()->GetPrLine(), 0);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(Editor()->GetPrLine(), 602);
    const int top = Editor()->verticalScrollBar()->value();
    EXPECT_GT(top, 500);
    EXPECT_LE(top, 601);

    Frame()->ExecuteCommand(ID_RUN_TRACE);
    EXPECT_EQ(Editor()->GetPrLine(), 603);
    Frame()->ExecuteCommand(ID_STEP_BACK);
    EXPECT_EQ(Editor()->GetPrLine(), 602);

    app->GetSimulatorFrame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(app->GetSimulatorFrame(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(Editor()->GetPrLine(), 0);
}

TEST_F(ShellTest, FindAndReplaceGoThroughTheEditorsUndo)
{
    Start();
    SetSource("\tNOP\n\tnop\n\tNOP\n");
    Frame()->ExecuteCommand(ID_EDIT_REPLACE);
    CFindReplaceDlg* dialog = Editor()->GetFindDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->SetFindText("NOP");
    dialog->SetReplaceText("LD");
    dialog->SetMatchCase(true);
    EXPECT_EQ(dialog->ReplaceAll(), 2);
    EXPECT_EQ(Editor()->toPlainText(), "\tLD\n\tnop\n\tLD\n");
    EXPECT_EQ(dialog->GetStatus(), QString::fromUtf8("2 個の文字列を置換しました。"));
    Editor()->undo();  // all of them at once
    EXPECT_EQ(Editor()->toPlainText(), "\tNOP\n\tnop\n\tNOP\n");

    // Without the case: each in turn, round the end to the start.
    dialog->SetMatchCase(false);
    QTextCursor end(Editor()->document());
    end.movePosition(QTextCursor::End);
    Editor()->setTextCursor(end);
    ASSERT_TRUE(dialog->FindNext());
    EXPECT_EQ(Editor()->textCursor().blockNumber(), 0);
    EXPECT_EQ(dialog->GetStatus(), QString::fromUtf8("先頭から検索しました。"));
    ASSERT_TRUE(dialog->ReplaceOne());  // replaces the first, selects the second
    EXPECT_EQ(Editor()->textCursor().selectedText(), "nop");
    EXPECT_EQ(Editor()->toPlainText(), "\tLD\n\tnop\n\tNOP\n");

    dialog->SetFindText("JUMP");
    EXPECT_FALSE(dialog->FindNext());
    EXPECT_EQ(dialog->GetStatus(), QString::fromUtf8("「JUMP」が見つかりません。"));
}
