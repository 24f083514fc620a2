// The program's input and output in the desktop program: an IN that waits for a line
// that never ends gives way to Stop, and the output pane keeps up with millions of lines.
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "test_shell.h"

namespace {
// Writes "LINE" and its number from 1 to #0000 (the count at N), then reads one line and writes it.
const QString kWriteThenRead =
    "P\tSTART\n"
    "\tLAD\tGR1,0\n"
    "LOOP\tLAD\tGR1,1,GR1\n"
    "\tST\tGR1,NUM\n"
    "\tOUT\tMSG,LEN\n"
    "\tCPA\tGR1,N\n"
    "\tJNZ\tLOOP\n"
    "\tIN\tBUF,BLEN\n"
    "\tOUT\tBUF,BLEN\n"
    "\tRET\n"
    "MSG\tDC\t'LINE'\n"
    "NUM\tDS\t1\n"
    "LEN\tDC\t5\n"
    "N\tDC\t%1\n"
    "BUF\tDS\t80\n"
    "BLEN\tDS\t1\n"
    "\tEND\n";

class DeviceIo : public ShellTest {
protected:
    QPlainTextEdit* Pane() const { return qobject_cast<QPlainTextEdit*>(app->GetSimulatorFrame()->GetWorkView()); }
    // The last line of the pane's text (which ends with a line end).
    QString LastLine() const
    {
        const QStringList lines = Pane()->toPlainText().split('\n');
        return lines.size() >= 2 ? lines[lines.size() - 2] : QString();
    }
    // The line "OUTPUT : LINE" with the character of the word n (its low byte, as OUT writes it).
    static QString OutLine(int n)
    {
        const int c = n & 0xFF;
        return c >= 0x20 && c <= 0x7E ? QString("OUTPUT : LINE%1").arg(QChar(c))
                                      : QString("OUTPUT : LINE\\%1").arg(c, 2, 16, QChar('0')).toUpper();
    }
};

TEST_F(DeviceIo, StopGivesUpAnInReadingALineThatNeverEnds)
{
    OpenSettings()->setValue("Env/InDeviceType", 1);
    OpenSettings()->setValue("Env/InFileName", "/dev/zero");
    Start();
    SetSource("P\tSTART\n\tIN\tBUF,LEN\n\tRET\nBUF\tDS\t80\nLEN\tDC\t7\n\tEND\n");
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    ui.messages.clear();
    bool stopEnabled = false;
    // Looked at while the IN reads: the window is served and Stop can be given.
    QTimer::singleShot(0, Frame(), [&] {
        stopEnabled = Enabled(ID_STOP);
        Frame()->GetAction(ID_STOP)->trigger();
    });
    Frame()->ExecuteCommand(ID_RUN_GO);
    EXPECT_TRUE(stopEnabled);
    EXPECT_EQ(ui.MessageTexts(), QStringList{QString::fromUtf8("ﾕｰｻﾞの要求によりﾌﾟﾛｸﾞﾗﾑの実行を中断しました。")});
    EXPECT_FALSE(Frame()->IsRunning());
    // The IN did not happen.
    CZelkoraDoc* doc = app->GetDocument();
    EXPECT_EQ(doc->GetCore().GetRegisters()[REG_PR], 0x0100);
    WORD length = 0;
    ASSERT_TRUE(doc->GetAssembler().LookupLabel("LEN", length));
    EXPECT_EQ(doc->GetCore().GetMemory().GetWord(length), 7);
    EXPECT_TRUE(doc->GetDeviceLog().empty());
}

TEST_F(DeviceIo, OutputPaneKeepsTheNewestThousandLinesAndIsCompleteWhenTheUserLooks)
{
    Start();
    SetSource(kWriteThenRead.arg(2500));
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    Frame()->ExecuteCommand(ID_VIEW_OUTPUT);
    ASSERT_NE(Pane(), nullptr);
    Pane()->resize(400, 200);
    int changes = 0;
    QObject::connect(Pane()->document(), &QTextDocument::contentsChange, [&] { ++changes; });
    // At the key-input dialog and at the end message, the pane shows every line so far.
    QString atKeyInput, atMessage;
    ui.onKeyInput = [&] { atKeyInput = LastLine(); };
    ui.onMessage = [&](const QString&) { atMessage = LastLine(); };
    ui.keyLines.push_back("typed");
    Frame()->ExecuteCommand(ID_RUN_GO);
    EXPECT_EQ(atKeyInput, OutLine(2500));
    EXPECT_EQ(atMessage, "OUTPUT : typed");

    // The newest thousand lines, newest last, scrolled to the end.
    QStringList expected;
    for (int n = 1503; n <= 2500; ++n) expected << OutLine(n);
    expected << "INPUT  : typed"
             << "OUTPUT : typed"
             << "";
    EXPECT_EQ(Pane()->toPlainText().split('\n'), expected);
    // Scrolled to the end: the newest line shows (where the pane stops scrolling depends on its height).
    const QTextCursor newest(Pane()->document()->lastBlock().previous());
    EXPECT_TRUE(Pane()->viewport()->rect().contains(Pane()->cursorRect(newest)));
    // The lines came in batches, not one change of the text each.
    EXPECT_LT(changes, 50);

    // A new pane starts with the document's lines, the same ones.
    Frame()->ExecuteCommand(ID_VIEW_DUMP);
    Frame()->ExecuteCommand(ID_VIEW_OUTPUT);
    EXPECT_EQ(Pane()->toPlainText().split('\n'), expected);
}
}  // namespace
