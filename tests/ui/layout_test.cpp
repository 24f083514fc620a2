// Room to see: where the windows and panes go on a first start, the last column of
// every list pane reaching the pane's edge, and the listing keeping rows below PR.
#include <QCheckBox>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include "pane_test.h"
#include "shell/first_layout.h"
#include "views/dump_view.h"
#include "views/scroll_band.h"
#include "views/watch_view.h"

namespace {

// --- the first-start layout, computed ------------------------------------------------

// The rows a simulator window of client pixels shows with the first split.
struct CShownRows {
    int listing, registers, dump;
};
CShownRows RowsShown(const QSize& client, const CSimulatorMetrics& m)
{
    const CSimulatorSplit split = FirstSimulatorSplit(client, m);
    const int work = client.height() - m.handle - split.top;
    return {(split.top - m.listChrome) / m.listRow, (split.registersHeight - m.listChrome) / m.listRow,
            (work - m.dumpChrome) / m.dumpLine - 1};
}

TEST(FirstLayout, SchoolScreensShowTheRowsAStudentNeedsWithBothWindowsSideBySide)
{
    // The panes as they measure with the view font at 96 dpi; the window's own parts (menu,
    // toolbar and status bar, about 72 pixels; a child window's title bar and border) with
    // some to spare, on a bare screen and on a desktop with a tall panel and title bars.
    CSimulatorMetrics m;
    m.listRow = 18, m.listChrome = 22, m.registersWidth = 436, m.dumpLine = 14, m.dumpChrome = 2, m.handle = 6;
    const struct {
        const char* name;
        QRect available;
        int titleBar;  // of the main window
    } screens[] = {
        {"1280x900", QRect(0, 0, 1280, 900), 0},
        {"1280x900 with a panel and a title bar", QRect(0, 0, 1280, 856), 30},
        {"1366x768", QRect(0, 0, 1366, 768), 0},
        {"1366x768 with a panel and a title bar", QRect(0, 44, 1366, 724), 30},
    };
    const int chrome = 76;
    const QMargins childFrame(4, 26, 4, 4);
    for (const auto& s : screens) {
        SCOPED_TRACE(s.name);
        const QRect main = FirstMainWindowRect(s.available, s.titleBar);
        EXPECT_TRUE(s.available.contains(main));
        EXPECT_EQ(main.width(), s.available.width());
        EXPECT_EQ(main.height(), s.available.height() - s.titleBar);

        const QSize area(main.width(), main.height() - chrome);
        const QRect source = FirstSourceWindowRect(area), simulator = FirstSimulatorWindowRect(area, source);
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(source));
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(simulator));
        EXPECT_EQ(simulator.left(), source.right() + 1);
        EXPECT_EQ(simulator.right(), area.width() - 1);
        EXPECT_GE(source.width(), area.width() / 4);  // the editor stays usable beside the simulator

        const QSize client = simulator.marginsRemoved(childFrame).size();
        const CShownRows rows = RowsShown(client, m);
        EXPECT_GE(rows.listing, kFirstListingRows);
        EXPECT_GE(rows.registers, kRegisterRows);
        EXPECT_GE(rows.dump, kFirstDumpRows);
        const CSimulatorSplit split = FirstSimulatorSplit(client, m);
        EXPECT_GE(client.width() - m.handle - split.listingWidth, m.registersWidth);
        EXPECT_GT(split.stackWidth, 0);
    }
}

TEST(FirstLayout, ASmallWindowSharesItsHeightByNeedAndEveryPaneKeepsSome)
{
    CSimulatorMetrics m;
    m.registersWidth = 436;
    for (const QSize client : {QSize(400, 300), QSize(100, 80), QSize(0, 0), QSize(2000, 1400)}) {
        SCOPED_TRACE(client.width());
        const CSimulatorSplit split = FirstSimulatorSplit(client, m);
        const int height = std::max(0, client.height() - m.handle), width = std::max(0, client.width() - m.handle);
        EXPECT_GE(split.top, 0);
        EXPECT_LE(split.top, height);
        EXPECT_GE(split.listingWidth, width * 45 / 100);  // the listing keeps nearly half
        EXPECT_LE(split.listingWidth, width);
        EXPECT_GE(split.registersHeight, 0);
        EXPECT_LE(split.registersHeight, split.top);
        EXPECT_GE(split.stackWidth, 0);
    }
    // Too low for both: the listing and the dump lose rows alike.
    const CShownRows low = RowsShown(QSize(1000, 400), m);
    EXPECT_LT(low.listing, kFirstListingRows);
    EXPECT_LT(low.dump, kFirstDumpRows);
    EXPECT_GT(low.dump, kFirstDumpRows / 2);
    // Tall: the work pane takes 30 %, the listing the rest.
    const CSimulatorSplit tall = FirstSimulatorSplit(QSize(1800, 1206), m);
    EXPECT_EQ(tall.top, 1200 - 1200 * 30 / 100);
}

// --- the band PR is kept in ------------------------------------------------------------

TEST(ScrollBand, TheListScrollsOnlyWhenTheRowLeavesTheBandAndThenCentresIt)
{
    const struct {
        int row, top, visible, count, expected;
    } cases[] = {
        {0, 0, 20, 500, 0},        // at the top: stays
        {14, 0, 20, 500, 0},       // five rows still show below: stays
        {15, 0, 20, 500, 5},       // fewer than a quarter below: to the middle
        {19, 0, 20, 500, 9},       // on the last row
        {60, 0, 20, 500, 50},      // far below
        {9, 10, 20, 500, 0},       // above the top
        {3, 10, 20, 500, 0},       // above the top, near the start: as far as the list goes
        {498, 480, 20, 500, 480},  // near the end the list cannot scroll further
        {10, 0, 20, 12, 0},        // a list shorter than the pane
        {5, 0, 1, 500, 5},         // one row showing
        {5, 0, 0, 500, 5},         // none showing: as if one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(BandTopRow(c.row, c.top, c.visible, c.count), c.expected);
    }
}

class ListingBand : public PaneTest {};

TEST_F(ListingBand, TracingKeepsAQuarterOfThePaneBelowPRAndScrollsOnlyNowAndThen)
{
    QString source = "MAIN\tSTART\n";
    for (int i = 0; i < 200; ++i) source += "\tNOP\n";
    source += "\tRET\n\tEND\n";
    Load(source);
    const int visible = Listing()->GetVisibleRowCount();
    ASSERT_GE(visible, 8);
    int scrolls = 0, top = Listing()->GetTopRow();
    for (int step = 0; step < 120; ++step) {
        Key(Qt::Key_F9);
        const int pr = ArrowRows().value(0, -1);
        ASSERT_EQ(pr, step + 2) << step;
        EXPECT_GE(pr, Listing()->GetTopRow());
        EXPECT_GE(Listing()->GetTopRow() + visible - 1 - pr, visible / 4) << step;
        if (Listing()->GetTopRow() != top) ++scrolls;
        top = Listing()->GetTopRow();
    }
    // Not on every step: about once for every quarter of a pane stepped over.
    EXPECT_LE(scrolls, 120 / (visible / 4) + 1);
}

// --- the last column --------------------------------------------------------------------

class LastColumn : public PaneTest {
protected:
    static int RightEdge(CListViewEx* pane)
    {
        const QHeaderView* h = pane->header();
        const int last = h->count() - 1;
        return h->sectionViewportPosition(last) + h->sectionSize(last);
    }
    CWatchView* Watches() const { return dynamic_cast<CWatchView*>(app->GetSimulatorFrame()->GetWorkView()); }
};

TEST_F(LastColumn, ReachesTheRightEdgeOfEveryListPaneWideOrNarrow)
{
    const QString comment = "; " + QString(100, 'x');
    Load("MAIN\tSTART\n\tNOP\t" + comment + "\n\tRET\n\tEND\n");
    app->GetDocument()->GetWatches().Add("MAIN", 4, 3);  // four binary words: 86 characters
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    ASSERT_NE(Watches(), nullptr);
    CZelkoraFrame* sim = app->GetSimulatorFrame();
    const QFontMetrics metrics(Listing()->font());
    const QString value = QString::fromStdString(Watches()->GetShownText(0, 1));
    // Wide: every last column reaches the edge; the long comment and the binary watch value show whole.
    sim->resize(2400, 700);
    QApplication::processEvents();
    for (CListViewEx* pane :
         std::initializer_list<CListViewEx*>{Listing(), Registers(), Stack(), Symbols(), Watches()}) {
        SCOPED_TRACE(pane->metaObject()->className());
        EXPECT_EQ(RightEdge(pane), pane->viewport()->width());
    }
    EXPECT_GE(Listing()->header()->sectionSize(1), metrics.horizontalAdvance(Text(Listing(), 2, 1)) + 12);
    EXPECT_GE(Watches()->header()->sectionSize(1), metrics.horizontalAdvance(value) + 12);
    // Narrow: the text is cut at the pane's edge, no further.
    sim->resize(500, 700);
    QApplication::processEvents();
    for (CListViewEx* pane : std::initializer_list<CListViewEx*>{Listing(), Watches()}) {
        SCOPED_TRACE(pane->metaObject()->className());
        EXPECT_EQ(RightEdge(pane), pane->viewport()->width());
        EXPECT_LT(pane->header()->sectionSize(1), metrics.horizontalAdvance(value));
    }
    // The columns before the last keep the widths they were made with.
    EXPECT_EQ(Listing()->header()->sectionSize(0), 8 * metrics.averageCharWidth());
    EXPECT_EQ(Registers()->header()->sectionSize(4), 22 * metrics.averageCharWidth());
}

TEST_F(LastColumn, ColumnsTheUserWidenedKeepTheirWidth)
{
    Load(kCall);
    Listing()->header()->resizeSection(0, 150);
    app->GetSimulatorFrame()->resize(1500, 700);
    QApplication::processEvents();
    EXPECT_EQ(Listing()->header()->sectionSize(0), 150);
    EXPECT_EQ(RightEdge(Listing()), Listing()->viewport()->width());
}

// --- a click leaves the row where it was -------------------------------------------------

TEST_F(PaneTest, AClickOnAPartlyShownRowDoesNotScrollSoADoubleClickHitsIt)
{
    Load(kCall);
    CRegisterView* registers = Registers();
    auto* column = qobject_cast<QSplitter*>(registers->parentWidget());
    ASSERT_NE(column, nullptr);
    // FR half hidden at the bottom.
    const int rowHeight = registers->GetRowHeight();
    const int chrome = registers->height() - registers->viewport()->height();
    const QList<int> sizes = column->sizes();
    column->setSizes({chrome + 10 * rowHeight + rowHeight / 2, sizes[0] + sizes[1] - chrome - 10 * rowHeight - rowHeight / 2});
    QApplication::processEvents();
    ASSERT_EQ(registers->GetTopRow(), 0);
    const QPoint at(20, 10 * rowHeight + rowHeight / 4);
    bool onFR = false;  // the dialog opened with the focus on FR's flags
    WhenRegisterDialogOpens([&](CRegisterDlg& dialog) {
        onFR = dialog.focusWidget() == dialog.m_pV;
        dialog.reject();
    });
    // A click, a pause as a user makes it (longer than a double click takes), then a double click.
    QTest::mouseClick(registers->viewport(), Qt::LeftButton, {}, at);
    QTest::qWait(QApplication::doubleClickInterval() + 300);
    EXPECT_EQ(registers->GetTopRow(), 0);
    QTest::mouseDClick(registers->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(registers->GetSelectedRow(), REG_FR);
    EXPECT_TRUE(onFR);
}

// --- the first start on the screens of a school, end to end --------------------------------
// Runs on an offscreen screen of that size (see CMakeLists.txt).

class SchoolScreen : public PaneTest {};

TEST_F(SchoolScreen, TheFirstStartShowsBothWindowsAndTheRowsAStudentNeeds)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    if (available.size() != QSize(1280, 900) && available.size() != QSize(1366, 768))
        GTEST_SKIP() << "needs a screen of 1280 x 900 or 1366 x 768";
    QString program = "MAIN\tSTART\n";
    for (int i = 0; i < 100; ++i) program += "\tNOP\n";
    program += "\tRET\n\tEND\n";
    Load(program);

    // The main window takes the screen.
    EXPECT_GE(Frame()->frameGeometry().width(), available.width() - 8);
    EXPECT_GE(Frame()->frameGeometry().height(), available.height() - 40);
    // The source and simulator windows side by side inside the main window's area.
    const QRect area(QPoint(0, 0), Frame()->GetMdiArea()->viewport()->size());
    const QRect source = app->GetSourceFrame()->geometry(), simulator = app->GetSimulatorFrame()->geometry();
    EXPECT_TRUE(area.contains(source));
    EXPECT_TRUE(area.contains(simulator));
    EXPECT_FALSE(source.intersects(simulator));
    EXPECT_GE(source.width(), area.width() / 4);

    auto* dump = dynamic_cast<CDumpView*>(app->GetSimulatorFrame()->GetWorkView());
    ASSERT_NE(dump, nullptr);
    const int listingRows = Listing()->GetVisibleRowCount();
    const int dumpRows = dump->viewport()->height() / dump->fontMetrics().height() - 1;  // whole rows below the header
    EXPECT_GE(listingRows, kFirstListingRows);
    EXPECT_GE(dumpRows, kFirstDumpRows);
    // Every register shows whole, nothing to scroll, no column cut.
    EXPECT_EQ(Registers()->verticalScrollBar()->maximum(), 0);
    EXPECT_GE(Registers()->GetVisibleRowCount(), kRegisterRows);
    EXPECT_GE(Registers()->viewport()->width(), Registers()->GetColumnsWidth() - 2 * Registers()->frameWidth());
    RecordProperty("listing_rows", listingRows);
    RecordProperty("dump_rows", dumpRows);
    std::printf("screen %dx%d: listing %d rows, dump %d rows, registers %d of %d rows\n", available.width(),
                available.height(), listingRows, dumpRows, Registers()->GetVisibleRowCount(), kRegisterRows);
}

}  // namespace
