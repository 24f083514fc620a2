// Japanese throughout, tab stops that line up with the listing, source files byte for
// byte, saving in place when the folder takes no new file, the first window size.
#include <QFileDialog>
#include <QMessageBox>
#include <QTreeView>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include "resources/command_ids.h"
#include "shell/source_file.h"
#include "test_shell.h"
#include "views/device_view.h"

TEST_F(ShellTest, QtsOwnTextsAreJapanese)
{
    Start();
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains(QString::fromUtf8("はい")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().contains(QString::fromUtf8("キャンセル")));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QString::fromUtf8("フォルダ"))
        << "the file dialog's type column";
    // The error pane offers no menu of Qt's own.
    EXPECT_EQ(Output()->contextMenuPolicy(), Qt::PreventContextMenu);
}

// Qt's file dialog writes sizes and dates with the system locale: Japanese whatever the
// environment's locale (LANG=C.UTF-8 gives "2 Jan 2024 15:04:00"); the environment
// itself stays as it was for the programs started from here.
TEST_F(ShellTest, TheFileDialogWritesDatesTheJapaneseWay)
{
    Start();
    EXPECT_EQ(QLocale::system().language(), QLocale::Japanese);
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    EXPECT_NE(qgetenv("LC_ALL"), "ja_JP.UTF-8") << "the environment is given back";
    const QString path = WriteFile("dated.asm", std::string(1536, 'x'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 1, 2), QTime(15, 4)), QFileDevice::FileModificationTime));
    file.close();

    QFileDialog dialog(nullptr, QString(), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    auto* list = dialog.findChild<QTreeView*>("treeView");
    ASSERT_NE(list, nullptr);
    QModelIndex row;
    // The dialog reads the folder in the background.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const QModelIndexList found = list->model()->match(list->model()->index(0, 0, list->rootIndex()),
                                                           Qt::DisplayRole, "dated.asm", 1, Qt::MatchExactly);
        if (!found.isEmpty()) row = found.first();
        return row.isValid();
    }));
    EXPECT_EQ(row.siblingAtColumn(3).data().toString(), "2024/01/02 15:04");
    EXPECT_EQ(row.siblingAtColumn(1).data().toString(), QLocale(QLocale::Japanese).formattedDataSize(1536));
}

TEST_F(ShellTest, TabsStopEveryEightColumnsInEveryTextPane)
{
    Start();
    SetSource("ABCDEFG\tX\nABCDEFGH\tX\nABCDEFGHI\tX\nABCDEFGHIJKLMNOP\tX\n0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QApplication::processEvents();
    auto x = [&](QPlainTextEdit* edit, int line, int column) {
        QTextCursor cursor(edit->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        return edit->cursorRect(cursor).x();
    };
    // Where X lands after the tab, against the column it should land in on the ruler line.
    const struct {
        int line, xColumn, stop;
    } cases[] = {{0, 8, 8}, {1, 9, 16}, {2, 10, 16}, {3, 17, 24}};
    for (const auto& c : cases) EXPECT_EQ(x(Editor(), c.line, c.xColumn), x(Editor(), 4, c.stop)) << c.line;

    CDeviceView device(*app->GetDocument());
    device.setPlainText(Editor()->toPlainText());
    device.resize(600, 200);
    device.show();
    for (const auto& c : cases) EXPECT_EQ(x(&device, c.line, c.xColumn), x(&device, 4, c.stop)) << c.line;
}

TEST_F(ShellTest, StrayBytesSurviveOpenEditAndSaveAndReachTheAssembler)
{
    std::string bytes = "; ";
    for (int b = 0x80; b <= 0xFF; b += 3) {
        bytes += static_cast<char>(b);
        bytes += 'x';
    }
    bytes += "\rlone CR\r\nPGM\tSTART\r\n\tRET\r\nS\tDC\t'\xA0\xFD\x80'\r\n\tEND\r\n";
    const QString path = WriteFile("stray.asm", bytes);
    Start({path});
    EXPECT_FALSE(ui.messages.size());
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), bytes) << "saved unchanged";

    // An edit on another line leaves every stray byte where it was.
    QTextCursor end(Editor()->document());
    end.movePosition(QTextCursor::End);
    end.insertText("; more");
    Frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_TRUE(ui.questions.isEmpty()) << "kept bytes need no question";
    EXPECT_EQ(ReadBytes(path), bytes + "; more");

    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    WORD s = 0;
    ASSERT_TRUE(app->GetDocument()->GetAssembler().LookupLabel("S", s));
    const CMemory& mem = app->GetDocument()->GetCore().GetMemory();
    EXPECT_EQ(mem.GetWord(s), 0xFFA0);
    EXPECT_EQ(mem.GetWord(static_cast<WORD>(s + 1)), 0xFFFD);
    EXPECT_EQ(mem.GetWord(static_cast<WORD>(s + 2)), 0xFF80);
}

namespace {
// Runs the program's save as a user for whom the folder is closed; as root, as nobody.
int SaveAs(const QString& path, const QString& text, QString& output, bool asNobody)
{
    QProcess process;
    const QStringList save = {ZELKORA_WRITE_FILE, path, text};
    if (asNobody) process.start("setpriv", QStringList({"--reuid=65534", "--regid=65534", "--clear-groups"}) + save);
    else process.start(save[0], save.mid(1));
    process.waitForFinished(30000);
    output = QString::fromUtf8(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
}  // namespace

TEST(SourceFiles, AWritableFileInAClosedFolderIsSavedInPlace)
{
    const bool root = geteuid() == 0;
    if (root && QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "running as root without setpriv: a closed folder does not bind root";
    QTemporaryDir dir;
    const QString folder = dir.filePath("closed");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + "/prog.asm";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("OLD\r\n");
    }
    chmod(dir.path().toLocal8Bit().constData(), 0755);
    if (root) ASSERT_EQ(chown(path.toLocal8Bit().constData(), 65534, 65534), 0);
    else chmod(path.toLocal8Bit().constData(), 0644);
    chmod(folder.toLocal8Bit().constData(), 0555);

    QString output;
    EXPECT_EQ(SaveAs(path, "NEW\r\n", output, root), 0) << output.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "NEW\r\n");
    file.close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"prog.asm"}) << "no temporary file left";

    // A file that may not be written is refused, says why in Japanese, and stays as it was.
    chmod(path.toLocal8Bit().constData(), 0444);
    EXPECT_EQ(SaveAs(path, "LOST\r\n", output, root), 1);
    EXPECT_EQ(output, QString::fromUtf8("書き込みが許可されていません。"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "NEW\r\n");
    chmod(folder.toLocal8Bit().constData(), 0755);
}

TEST_F(ShellTest, TheFirstStartTakesTheScreen)
{
    Start();
    const QRect available = Frame()->screen()->availableGeometry();
    // All of it but room for the title bar, the frame within the screen but for its border.
    const QRect frame = Frame()->frameGeometry();
    EXPECT_TRUE(available.adjusted(-4, 0, 4, 4).contains(frame));
    EXPECT_GE(frame.width(), available.width() - 4);
    EXPECT_GE(frame.height(), available.height() - 40);
}
