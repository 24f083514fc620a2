// The main window: dropped files, exit, the context menu, the version box and its placement.
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "shell/about_dlg.h"
#include "shell/layout_store.h"
#include "test_shell.h"

namespace {
void DropFiles(QWidget* target, const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}
}  // namespace

TEST_F(ShellTest, DroppingFilesOpensOnlyTheFirst)
{
    Start();
    const QString first = WriteFile("a.asm", "FIRST\r\n");
    const QString second = WriteFile("b.asm", "SECOND\r\n");
    DropFiles(Frame(), {first, second, first});
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), first);
    EXPECT_EQ(Editor()->toPlainText(), "FIRST\n");
    EXPECT_EQ(Frame()->GetMdiArea()->subWindowList().size(), 1);

    // The second drop replaces the document, asking first about unsaved changes.
    Editor()->document()->setModified(true);
    ui.yesNoCancel.push_back(QMessageBox::Cancel);
    DropFiles(Frame(), {second});
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), first);
    ui.yesNoCancel.push_back(QMessageBox::No);
    DropFiles(Frame(), {second});
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), second);
}

TEST_F(ShellTest, ExitAsksAboutChangesAndStoresThePlacement)
{
    Start();
    SetSource("X");
    Frame()->setGeometry(30, 40, 800, 600);
    ui.yesNoCancel.push_back(QMessageBox::Cancel);
    Frame()->ExecuteCommand(ID_APP_EXIT);
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(ui.questions[0].startsWith(QString::fromUtf8("(無題) への変更を保存しますか")));

    ui.yesNoCancel.push_back(QMessageBox::No);
    Frame()->ExecuteCommand(ID_APP_EXIT);
    EXPECT_FALSE(Frame()->isVisible());
    QRect stored;
    ASSERT_TRUE(ParsePlacement(ReadWindowValue("MainFrame"), stored));
    EXPECT_EQ(stored.size(), QSize(800, 600));

    // The next start comes back where this one was.
    app.reset();
    Start();
    EXPECT_EQ(Frame()->geometry().size(), QSize(800, 600));
}

TEST_F(ShellTest, ContextMenuOfTheEditorOffersMenu104)
{
    Start();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(Editor(), &event);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    QList<int> ids;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) ids << 0;
        for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_ASSEMBLE, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE,
                       ID_FILE_SAVE, ID_FILE_SAVE_AS})
            if (a == Frame()->GetAction(id)) ids << id;
    }
    EXPECT_EQ(ids, QList<int>({ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_ASSEMBLE, 0, ID_FILE_NEW, ID_FILE_OPEN,
                               ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS}));
    menu->close();
}

TEST_F(ShellTest, ToolbarButtonsCarryTheirTooltipsAndPrompts)
{
    Start();
    QAction* assemble = Frame()->GetAction(ID_ASSEMBLE);
    EXPECT_EQ(assemble->toolTip(), QString::fromUtf8("ｱｾﾝﾌﾞﾙ"));
    EXPECT_EQ(assemble->statusTip(), QString::fromUtf8("CASLｿｰｽﾌｧｲﾙをｱｾﾝﾌﾞﾙする"));
    EXPECT_EQ(Frame()->GetAction(ID_STOP)->toolTip(), QString::fromUtf8("停止"));
    int buttons = 0;
    for (QAction* a : Frame()->GetToolBar()->actions())
        if (!a->isSeparator()) ++buttons;
    EXPECT_EQ(buttons, 20);
}

TEST(AboutBox, ShowsTheProgramsVersion)
{
    CAboutDlg dialog;
    auto* version = dialog.findChild<QLabel*>("control1025");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), VersionText());
    EXPECT_EQ(VersionText().count('.'), 3);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Zelkora IIのﾊﾞｰｼﾞｮﾝ情報"));
}
