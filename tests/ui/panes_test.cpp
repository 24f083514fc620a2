// The simulator window's list panes: listing, registers, stack and symbols, driven
// by keys and the mouse as a user drives them.
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "pane_test.h"
#include "test_shell.h"
#include "views/list_rows.h"
#include "views/register_dlg.h"
#include "views/register_view.h"
#include "views/simulate_view.h"
#include "views/stack_view.h"
#include "views/symbol_view.h"
#include "views/text_fit.h"


TEST_F(PaneTest, ListingShowsEveryStatementWithTheArrowAtPR)
{
    Load(kCall);
    ASSERT_EQ(Listing()->GetRows().GetRowCount(), 12);
    EXPECT_EQ(Listing()->model()->headerData(0, Qt::Horizontal).toString(), "ADDR");
    EXPECT_EQ(Listing()->model()->headerData(1, Qt::Horizontal).toString(), "Source Line");
    EXPECT_EQ(Text(Listing(), 0, 0), "0100");
    EXPECT_EQ(Text(Listing(), 0, 1), "; adds one in a subroutine");
    EXPECT_EQ(Text(Listing(), 2, 1), "        LAD     GR1,3");
    EXPECT_EQ(Text(Listing(), 10, 0), "010C");
    // The arrow marks the first executable statement at PR, not the comment or START there.
    EXPECT_EQ(ArrowRows(), QList<int>{2});
    EXPECT_EQ(Listing()->GetShownItem(2).image, 2);
}

TEST_F(PaneTest, TraceAndPassStepThroughACallWhileEveryPaneFollows)
{
    Load(kCall);
    Key(Qt::Key_F9);
    EXPECT_EQ(Reg()[REG_PR], 0x0102);
    EXPECT_EQ(ArrowRows(), QList<int>{3});
    EXPECT_EQ(RegisterRow(1), QStringList({"GR1", "0003", "3", "3", "0000 0000 0000 0011", "'.'"}));

    Key(Qt::Key_F9);  // into the call: the return address is on the stack
    EXPECT_EQ(ArrowRows(), QList<int>{6});
    EXPECT_EQ(Text(Stack(), 0, 0), "FFFE");
    EXPECT_EQ(Text(Stack(), 0, 1), "0104");
    EXPECT_EQ(Stack()->GetShownItem(0).image, 1);
    EXPECT_EQ(Stack()->GetShownItem(1).image, 0);
    EXPECT_EQ(Text(Stack(), 1, 0), "FFFF");

    Key(Qt::Key_F9);  // PUSH: the pushed word on top, the previous top below it
    EXPECT_EQ(Text(Stack(), 0, 0), "FFFD");
    EXPECT_EQ(Text(Stack(), 0, 1), "0003");
    EXPECT_EQ(Text(Stack(), 1, 1), "0104");

    Frame()->ExecuteCommand(ID_RESTART);
    EXPECT_EQ(ArrowRows(), QList<int>{2});
    Key(Qt::Key_F9);
    Key(Qt::Key_F10);  // over the call
    EXPECT_EQ(Reg()[REG_PR], 0x0104);
    EXPECT_EQ(Text(Registers(), 1, 1), "0004");
    EXPECT_EQ(Text(Registers(), 2, 1), "0003");
    EXPECT_EQ(Text(Registers(), REG_SP, 1), "FFFF");

    Key(Qt::Key_F5);
    EXPECT_EQ(Reg()[REG_PR], 0x0000);
    EXPECT_EQ(ArrowRows(), QList<int>{});
    EXPECT_EQ(ui.MessageTexts(), QStringList({QString::fromUtf8("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑの実行を終了します。")}));
}

TEST_F(PaneTest, BreakpointsToggleOnExecutableRowsStopGoAndClearAll)
{
    Load(kCall);
    Listing()->SelectRow(10);  // DC
    EXPECT_FALSE(Enabled(ID_BP_TOGGLE));
    EXPECT_FALSE(Enabled(ID_RUN_TO_CURSOR));
    EXPECT_TRUE(Enabled(ID_SET_PR));

    Listing()->SelectRow(7);
    Key(Qt::Key_F2);
    EXPECT_EQ(Listing()->GetShownItem(7).image, 3);
    Key(Qt::Key_F2);
    EXPECT_EQ(Listing()->GetShownItem(7).image, 2);
    Key(Qt::Key_F2);

    Key(Qt::Key_F5);
    EXPECT_EQ(Reg()[REG_PR], 0x0108);
    EXPECT_EQ(ArrowRows(), QList<int>{7});
    EXPECT_TRUE(ui.messages.empty());

    Frame()->ExecuteCommand(ID_BP_CLEAR_ALL);
    EXPECT_EQ(Listing()->GetShownItem(7).image, 2);
    Key(Qt::Key_F5);
    EXPECT_EQ(Reg()[REG_PR], 0x0000);
}

TEST_F(PaneTest, SetPRAtTheCursorRefusesCommentsAndFollowsDoubleClicks)
{
    Load(kCall);
    Listing()->SelectRow(0);
    Key(Qt::Key_F3);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(Reg()[REG_PR], 0x0100);

    Listing()->SelectRow(5);
    Key(Qt::Key_F3);
    EXPECT_EQ(Reg()[REG_PR], 0x0105);
    EXPECT_EQ(ArrowRows(), QList<int>{5});
    EXPECT_EQ(Text(Registers(), REG_PR, 1), "0105");

    DoubleClickRow(Listing(), 8);
    EXPECT_EQ(Reg()[REG_PR], 0x010A);
    EXPECT_EQ(ArrowRows(), QList<int>{8});
    EXPECT_EQ(ui.beeps, 1);
}

TEST_F(PaneTest, RunToTheCursorStopsAtTheSelectedStatement)
{
    Load(kCall);
    Listing()->SelectRow(8);  // POP, inside the subroutine
    Key(Qt::Key_F11);
    EXPECT_EQ(Reg()[REG_PR], 0x010A);
    EXPECT_EQ(Text(Registers(), 1, 1), "0004");
    EXPECT_EQ(Listing()->GetSelectedRow(), 8);
}

TEST_F(PaneTest, AStopScrollsThePRIntoViewButKeepsTheSelection)
{
    QString source = "MAIN\tSTART\n\tJUMP\tFAR\n";
    for (int i = 0; i < 300; ++i) source += "; filler\n";
    source += "FAR\tNOP\n\tRET\n\tEND\n";
    Load(source);
    Listing()->SelectRow(1);
    EXPECT_EQ(Listing()->GetTopRow(), 0);
    Key(Qt::Key_F9);
    const int far = 302;
    EXPECT_EQ(ArrowRows(), QList<int>{far});
    const int visible = Listing()->viewport()->height() / Listing()->GetRowHeight();
    EXPECT_GT(Listing()->GetTopRow(), 0);
    EXPECT_LE(Listing()->GetTopRow(), far);
    EXPECT_GT(Listing()->GetTopRow() + visible, far);
    EXPECT_EQ(Listing()->GetSelectedRow(), 1);

    // Setting PR does not scroll.
    Listing()->SelectRow(far + 1);
    const int top = Listing()->GetTopRow();
    Key(Qt::Key_F3);
    EXPECT_EQ(Listing()->GetTopRow(), top);
}

TEST_F(PaneTest, GoingToAnAddressSelectsTheLastStatementThere)
{
    Load(kCall);
    CHintUpdateView hint;
    hint.m_wAddress = 0x0100;  // comment, START and LAD share it
    app->GetDocument()->UpdateAllViews(nullptr, HINT_LISTING_GOTO, &hint);
    EXPECT_EQ(Listing()->GetSelectedRow(), 2);
    hint.m_wAddress = 0x0101;  // inside the LAD: no statement starts there
    app->GetDocument()->UpdateAllViews(nullptr, HINT_LISTING_GOTO, &hint);
    EXPECT_EQ(Listing()->GetSelectedRow(), 2);
}

TEST_F(PaneTest, FocusComesBackToThePaneAfterEveryKindOfRun)
{
    Load(kCall);
    Listing()->SelectRow(0);
    for (int key : {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F5}) {
        if (key == Qt::Key_F11) Listing()->SelectRow(9);
        Key(key);
        EXPECT_EQ(QApplication::focusWidget(), Listing()) << key;
        EXPECT_EQ(Frame()->GetMdiArea()->currentSubWindow(), app->GetSimulatorFrame()) << key;
    }
    // The keys still reach the listing.
    Listing()->SelectRow(0);
    Key(Qt::Key_Down);
    EXPECT_EQ(Listing()->GetSelectedRow(), 1);

    Registers()->setFocus();
    Frame()->ExecuteCommand(ID_RESTART);
    Frame()->ExecuteCommand(ID_RUN_TRACE);
    EXPECT_EQ(QApplication::focusWidget(), Registers());
}

TEST_F(PaneTest, RegisterDialogFromF8SetsRegistersAndFlags)
{
    Load(kCall);
    bool focusOnGr0 = false;
    WhenRegisterDialogOpens([&](CRegisterDlg& dialog) {
        focusOnGr0 = dialog.focusWidget() == dialog.m_pEdits[0];
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ﾚｼﾞｽﾀの設定"));
        EXPECT_EQ(dialog.m_pEdits[REG_SP]->text(), "#FFFF");
        EXPECT_EQ(dialog.m_pEdits[REG_PR]->text(), "#0100");
        dialog.m_pEdits[1]->setText("#FFFF");
        dialog.m_pEdits[2]->setText("MAIN");
        dialog.m_pEdits[3]->setText("'A");
        dialog.m_pV->setChecked(true);
        dialog.m_pZ->setChecked(true);
        dialog.accept();
    });
    Key(Qt::Key_F8);
    EXPECT_TRUE(focusOnGr0);
    EXPECT_EQ(RegisterRow(1), QStringList({"GR1", "FFFF", "-1", "65535", "1111 1111 1111 1111", "'.'"}));
    EXPECT_EQ(Text(Registers(), 2, 1), "0100");
    EXPECT_EQ(Text(Registers(), 3, 5), "'A'");
    EXPECT_EQ(Text(Registers(), REG_FR, 1), "V-Z");
    EXPECT_EQ(Text(Registers(), REG_FR, 4), "101");
}

TEST_F(PaneTest, RegisterDialogRefusesTheFirstBadValueAndKeepsEveryRegister)
{
    Load(kCall);
    CRegisterDlg dialog(*app->GetDocument(), 0);
    dialog.m_pEdits[4]->setText("#1F ");
    dialog.m_pEdits[6]->setText("%2");
    dialog.m_pEdits[0]->setText("#7");
    dialog.show();
    dialog.accept();
    EXPECT_EQ(ui.MessageTexts(), QStringList({QString::fromUtf8("ﾚｼﾞｽﾀ設定値の記述に誤りがあります。")}));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.m_pEdits[4]);
    EXPECT_EQ(dialog.m_pEdits[4]->selectedText(), "#1F ");
    EXPECT_EQ(Reg()[0], 0);

    dialog.m_pEdits[4]->setText(" 12");
    dialog.accept();
    EXPECT_EQ(dialog.focusWidget(), dialog.m_pEdits[6]);
    dialog.m_pEdits[6]->setText("%1010");
    dialog.m_pS->setChecked(false);
    dialog.m_pZ->setChecked(false);
    dialog.m_pV->setChecked(false);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetValues()[0], 0x0007);
    EXPECT_EQ(dialog.GetValues()[4], 0x000C);
    EXPECT_EQ(dialog.GetValues()[6], 0x000A);
    EXPECT_EQ(dialog.GetValues()[REG_FR], 0);
    EXPECT_EQ(Reg()[0], 0) << "the dialog itself changes nothing";
}

TEST_F(PaneTest, DoubleClickOnARegisterOpensTheDialogOnIt)
{
    Load(kCall);
    QString focused;  // the focused control of the dialog when it opened
    auto look = [&](CRegisterDlg& dialog) {
        QWidget* w = dialog.focusWidget();
        focused = w == dialog.m_pV ? "V" : w ? w->objectName() : QString();
        if (focused == "V") dialog.reject();
        else dialog.accept();  // unchanged values still tell the other panes
    };
    WhenRegisterDialogOpens(look);
    DoubleClickRow(Registers(), REG_FR);
    EXPECT_EQ(focused, "V");

    WhenRegisterDialogOpens(look);
    DoubleClickRow(Registers(), REG_SP);
    EXPECT_EQ(focused, "edit1108");
    EXPECT_EQ(Reg()[REG_SP], 0xFFFF);
}

TEST_F(PaneTest, StackWrapsPastFFFF)
{
    Load(kCall);
    CRegister values = Reg();
    values[REG_SP] = 0xFFF0;
    app->GetDocument()->SetRegisters(nullptr, values);
    ASSERT_EQ(Stack()->GetRows().GetRowCount(), CStackView::kRows);
    EXPECT_EQ(Text(Stack(), 0, 0), "FFF0");
    EXPECT_EQ(Text(Stack(), 15, 0), "FFFF");
    EXPECT_EQ(Text(Stack(), 16, 0), "0000");
    EXPECT_EQ(Text(Stack(), 63, 0), "002F");
    EXPECT_EQ(Text(Stack(), 16, 1), "0000");
    EXPECT_EQ(Stack()->model()->headerData(1, Qt::Horizontal).toString(), "VALUE");
}

TEST_F(PaneTest, SymbolsSortByNameOrAddressBothWays)
{
    Load("MAIN\tSTART\n\tLD\tGR1,=3\n\tRET\nZED\tDC\t1\nALPHA\tDC\t2\n\tEND\n");
    auto names = [&] {
        QStringList list;
        for (int row = 0; row < Symbols()->GetRows().GetRowCount(); ++row) list << Text(Symbols(), row, 0);
        return list;
    };
    auto click = [&](int column) {
        QHeaderView* header = Symbols()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    EXPECT_EQ(names(), QStringList({"ALPHA", "MAIN", "ZED", "__0100__"}));
    EXPECT_EQ(Text(Symbols(), 2, 1), "0103");
    click(1);
    EXPECT_EQ(names(), QStringList({"MAIN", "ZED", "ALPHA", "__0100__"}));
    click(1);
    EXPECT_EQ(names(), QStringList({"__0100__", "ALPHA", "ZED", "MAIN"}));
    EXPECT_EQ(Text(Symbols(), 0, 1), "0105");
    click(0);
    EXPECT_EQ(names(), QStringList({"ALPHA", "MAIN", "ZED", "__0100__"}));
    click(0);
    EXPECT_EQ(names(), QStringList({"__0100__", "ZED", "MAIN", "ALPHA"}));

    const CLabel high("HIGH", 0x8000), low("LOW", 0x7FFF), prefix("HIG", 0x9000);
    EXPECT_LT(CompareLabels(low, high, 1), 0) << "addresses compare unsigned";
    EXPECT_LT(CompareLabels(prefix, high, 0), 0) << "a prefix sorts first";
}

TEST_F(PaneTest, TheSourceWindowCannotCloseWhileTheSimulatorIsOpen)
{
    Load(kCall);
    CSourceFrame* source = app->GetSourceFrame();
    QAction* close = source->systemMenu()->actions().last();
    EXPECT_FALSE(close->isEnabled());
    EXPECT_FALSE(source->close());
    EXPECT_NE(app->GetSourceFrame(), nullptr);

    app->GetSimulatorFrame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(close->isEnabled());
    EXPECT_TRUE(source->close());
}

TEST_F(PaneTest, ListingContextMenuIsMenu131)
{
    Load(kCall);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(Listing(), &event);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pos(), Listing()->mapToGlobal(QPoint(5, 5)));
    QList<int> ids;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) ids << 0;
        for (int id : {ID_BP_TOGGLE, ID_SET_PR, ID_RUN_TO_CURSOR, ID_RESTART})
            if (a == Frame()->GetAction(id)) ids << id;
    }
    EXPECT_EQ(ids, QList<int>({ID_BP_TOGGLE, ID_SET_PR, ID_RUN_TO_CURSOR, 0, ID_RESTART}));
    menu->close();
}

TEST_F(PaneTest, ASwitchedOutWorkViewHearsNoMoreHints)
{
    Load(kCall);
    QWidget* old = app->GetSimulatorFrame()->GetWorkView();
    Frame()->ExecuteCommand(ID_VIEW_OUTPUT);
    const auto& views = app->GetDocument()->GetViews();
    EXPECT_EQ(std::find(views.begin(), views.end(), dynamic_cast<CView*>(old)), views.end());
    Key(Qt::Key_F9);  // before the old view is deleted
    EXPECT_EQ(Reg()[REG_PR], 0x0102);
}

TEST_F(PaneTest, TheSelectionIsHighlightedOnlyWhileThePaneHasTheFocus)
{
    Load(kCall);
    Listing()->SelectRow(4);
    auto colourAt = [&] {
        QApplication::processEvents();
        const QRect rect = Listing()->visualRect(Listing()->GetRows().index(4, 1));
        return Listing()->viewport()->grab().toImage().pixelColor(rect.left() + 3, rect.top() + 1);
    };
    EXPECT_EQ(colourAt(), Listing()->palette().highlight().color());
    Registers()->setFocus();
    EXPECT_EQ(colourAt(), Listing()->palette().base().color());
    Listing()->setFocus();
    EXPECT_EQ(colourAt(), Listing()->palette().highlight().color());
}

TEST(ShortenToWidth, CutsWithDotsAndKeepsOneCharacter)
{
    const QFontMetrics metrics(QFont("monospace", 10));
    const int w = metrics.horizontalAdvance('M');
    const int dots = metrics.horizontalAdvance("...");
    EXPECT_EQ(ShortenToWidth("", 1, 4, metrics), "");
    EXPECT_EQ(ShortenToWidth("MMMM", 4 * w + 4, 4, metrics), "MMMM");
    bool shortened = false;
    EXPECT_EQ(ShortenToWidth("MMMMMMMM", 3 * w + dots + 4, 4, metrics, &shortened), "MMM...");
    EXPECT_TRUE(shortened);
    EXPECT_EQ(ShortenToWidth("MMMMMMMM", 1, 12, metrics), "M...");
    EXPECT_EQ(ShortenToWidth("MM", 2 * w + 3, 4, metrics), "M...");
}

TEST_F(PaneTest, PanesWithoutAMenuShowNoneNotEvenTheWindowMenu)
{
    Load(kCall);
    auto visibleMenus = [] {
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(w) && w->isVisible()) ++count;
        return count;
    };
    for (QWidget* pane : std::initializer_list<QWidget*>{Registers(), Stack(), Symbols(), Output()}) {
        QWidget* target = qobject_cast<QAbstractScrollArea*>(pane) ? qobject_cast<QAbstractScrollArea*>(pane)->viewport() : pane;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &event);
        EXPECT_EQ(visibleMenus(), 0) << pane->metaObject()->className();
    }
}
