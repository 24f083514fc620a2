// What the panes draw beyond the values: what the last command changed in red, the
// statement run last on a tint, the markers in their own colours on every row, and every
// pane up to date while a message box is open. Checked on the pixels drawn.
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <gtest/gtest.h>
#include "pane_test.h"
#include "views/change_look.h"
#include "views/dump_view.h"
#include "views/watch_view.h"

namespace {
// Rows: 0 START, 1 LAD (0100), 2 ST (0102), 3 CALL (0104), 4 RET (0106), 5 RET (0107),
// 6 DC (0108), 7 END.
const QString kStore =
    "MAIN\tSTART\n"
    "\tLAD\tGR1,3\n"
    "\tST\tGR1,DATA\n"
    "\tCALL\tSUB\n"
    "\tRET\n"
    "SUB\tRET\n"
    "DATA\tDC\t0\n"
    "\tEND\n";

// Text drawn in the changed colour: red, where the usual text is grey to black. Edges of
// letters blend it with the background, so anything clearly redder than it is grey counts.
bool IsRed(QColor c) { return c.red() > 140 && c.red() - c.green() > 70 && c.red() - c.blue() > 70; }

int CountPixels(const QImage& image, const QRect& rect, const std::function<bool(QColor)>& test)
{
    int count = 0;
    const QRect inside = rect & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (test(image.pixelColor(x, y))) ++count;
    return count;
}

int CountColour(const QImage& image, const QRect& rect, QColor colour)
{
    return CountPixels(image, rect, [&](QColor c) { return c.rgb() == colour.rgb(); });
}

class PaneMarksTest : public PaneTest {
protected:
    // On a school screen's window, where every pane shows its columns.
    void Load(const QString& source)
    {
        PaneTest::Load(source);
        Frame()->resize(1280, 900);
        app->GetSimulatorFrame()->showMaximized();
        Focus(Listing());
    }
    QWidget* WorkView() const { return app->GetSimulatorFrame()->GetWorkView(); }
    CDumpView* Dump() const { return dynamic_cast<CDumpView*>(WorkView()); }
    CWatchView* Watches() const { return dynamic_cast<CWatchView*>(WorkView()); }

    // The cells of the visible rows drawn with red text, as "row:column" each.
    static QString RedCells(CListViewEx* pane)
    {
        QApplication::processEvents();
        const QImage image = pane->viewport()->grab().toImage();
        QStringList cells;
        for (int row = 0; row < pane->GetRows().GetRowCount(); ++row)
            for (int column = 0; column < pane->GetRows().GetColumnCount(); ++column) {
                QRect cell = pane->visualRect(pane->GetRows().index(row, column));
                if (column == 0 && pane->GetImageList()) cell.setLeft(cell.left() + 20);  // not the marker
                if (cell.isValid() && CountPixels(image, cell, IsRed) > 0) cells << QString("%1:%2").arg(row).arg(column);
            }
        return cells.join(' ');
    }
    // The words of the dump's visible rows whose digits or character are drawn red.
    QList<WORD> RedWords() const
    {
        QApplication::processEvents();
        const QImage image = Dump()->viewport()->grab().toImage();
        const QFontMetrics metrics(Dump()->font());
        const int width = std::max(1, metrics.averageCharWidth()), height = std::max(1, metrics.height());
        auto cells = [&](int column, int count, int row) {
            return QRect(8 + column * width, row * height, count * width, height);
        };
        QList<WORD> words;
        for (int row = 1; row <= Dump()->GetVisibleRows(); ++row)
            for (int k = 0; k < 8; ++k) {
                const bool digits = CountPixels(image, cells(CDumpView::kFirstDigit + 5 * k, 4, row), IsRed) > 0;
                const bool character = CountPixels(image, cells(CDumpView::kFirstChar + k, 1, row), IsRed) > 0;
                EXPECT_EQ(digits, character) << "row " << row << " word " << k;
                if (digits) words << static_cast<WORD>(Dump()->GetTopAddress() + 8 * (row - 1) + k);
            }
        return words;
    }
    // The listing's rows drawn on the tint of the statement run last.
    QList<int> TintedRows() const
    {
        QApplication::processEvents();
        const QImage image = Listing()->viewport()->grab().toImage();
        const QColor tint = LastRunBackground(Listing()->palette());
        QList<int> rows;
        for (int row = 0; row < Listing()->GetRows().GetRowCount(); ++row) {
            const QRect cell = Listing()->visualRect(Listing()->GetRows().index(row, 1));
            if (image.pixelColor(cell.left() + 3, cell.top() + 1) == tint) rows << row;
        }
        return rows;
    }
};

// Register rows: every value cell of GR1 (row 1) is columns 1-5; SP and PR show only column 1.
const QString kGR1 = "1:1 1:2 1:3 1:4 1:5";

TEST_F(PaneMarksTest, ATraceMarksWhatItChangedUntilTheNextCommand)
{
    Load(kStore);
    EXPECT_EQ(RedCells(Registers()), "");  // a fresh load marks nothing
    EXPECT_EQ(TintedRows(), QList<int>());

    Key(Qt::Key_F9);  // LAD GR1,3
    EXPECT_EQ(RedCells(Registers()), kGR1 + " 9:1");
    EXPECT_EQ(TintedRows(), QList<int>{1});
    EXPECT_EQ(RedWords(), QList<WORD>());

    Key(Qt::Key_F9);  // ST GR1,DATA: the word, not GR1 any more
    EXPECT_EQ(RedCells(Registers()), "9:1");
    EXPECT_EQ(RedWords(), QList<WORD>{0x0108});
    EXPECT_EQ(TintedRows(), QList<int>{2});

    Key(Qt::Key_F9);  // CALL: SP and the return address on the stack
    EXPECT_EQ(RedCells(Registers()), "8:1 9:1");
    EXPECT_EQ(RedCells(Stack()), "0:1");
    EXPECT_EQ(RedWords(), QList<WORD>());

    Key(Qt::Key_F9);  // RET: popped, nothing written
    EXPECT_EQ(RedCells(Stack()), "");

    Key(Qt::Key_F9);  // the program's RET: the end
    EXPECT_EQ(TintedRows(), QList<int>{4});
    Frame()->ExecuteCommand(ID_RESTART);
    EXPECT_EQ(RedCells(Registers()), "");
    EXPECT_EQ(TintedRows(), QList<int>());
}

TEST_F(PaneMarksTest, StepBackMarksWhatGoingBackChangedAndTintsNothing)
{
    Load(kStore);
    Key(Qt::Key_F9);
    Key(Qt::Key_F9);
    Frame()->ExecuteCommand(ID_STEP_BACK);
    EXPECT_EQ(RedCells(Registers()), "9:1");
    EXPECT_EQ(RedWords(), QList<WORD>{0x0108});
    EXPECT_EQ(TintedRows(), QList<int>());
}

TEST_F(PaneMarksTest, UserChangesMarkTheirValuesAndClearTheLastCommands)
{
    Load(kStore);
    Key(Qt::Key_F9);
    // A word typed into the dump: that word alone, and the listing's tint goes.
    Focus(Dump());
    QTest::keyClick(Dump(), Qt::Key_Right);  // word 0 digit 1 of 0100
    QTest::keyClick(Dump(), Qt::Key_7);
    EXPECT_EQ(RedWords(), QList<WORD>{0x0100});
    EXPECT_EQ(RedCells(Registers()), "");
    EXPECT_EQ(TintedRows(), QList<int>());
    QTest::keyClick(Dump(), Qt::Key_Tab);  // to the character of word 0
    QTest::keyClick(Dump(), Qt::Key_Right);
    QTest::keyClick(Dump(), Qt::Key_A);  // word 1
    EXPECT_EQ(RedWords(), QList<WORD>{0x0101});

    // The register dialog (F8): what it changed; the dump's mark goes.
    WhenRegisterDialogOpens([](CRegisterDlg& dialog) {
        dialog.m_pEdits[2]->setText("#0042");
        dialog.accept();
    });
    Key(Qt::Key_F8);
    QApplication::processEvents();
    EXPECT_EQ(RedCells(Registers()), "2:1 2:2 2:3 2:4 2:5");
    EXPECT_EQ(RedWords(), QList<WORD>());

    // Set PR at the cursor (F3).
    Focus(Listing());
    Listing()->SelectRow(3);
    Key(Qt::Key_F3);
    EXPECT_EQ(RedCells(Registers()), "9:1");
}

TEST_F(PaneMarksTest, WatchValuesThatChangedAreRed)
{
    Load(kStore);
    app->GetDocument()->GetWatches().Add("DATA", 1, WATCH_HEX);
    app->GetDocument()->GetWatches().Add("#0100", 2, WATCH_HEX);
    app->GetDocument()->GetWatches().Add("$SP", 1, WATCH_HEX);
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    ASSERT_NE(Watches(), nullptr);
    Key(Qt::Key_F9);
    Key(Qt::Key_F9);  // ST: DATA's watch
    EXPECT_EQ(RedCells(Watches()), "0:1");
    Key(Qt::Key_F9);  // CALL: SP points at the return address now
    EXPECT_EQ(RedCells(Watches()), "2:1");
}

// --- markers ---------------------------------------------------------------------

const QColor kYellow(255, 255, 0), kRed(255, 0, 0), kGreen(0, 255, 0);

// The marker's image at the left of a row's first column.
QRect MarkerRect(CListViewEx* pane, int row)
{
    const QRect cell = pane->visualRect(pane->GetRows().index(row, 0));
    return QRect(cell.left(), cell.top(), 20, cell.height());
}

struct MarkerCount {
    int yellow, red, green;
};

MarkerCount CountMarkers(CListViewEx* pane, int row)
{
    QApplication::processEvents();
    const QImage image = pane->viewport()->grab().toImage();
    const QRect rect = MarkerRect(pane, row);
    return {CountColour(image, rect, kYellow), CountColour(image, rect, kRed), CountColour(image, rect, kGreen)};
}

TEST_F(PaneMarksTest, MarkersKeepTheirColoursOnSelectedRows)
{
    Load(kStore);
    for (bool focused : {true, false}) {
        SCOPED_TRACE(focused ? "focused" : "not focused");
        Listing()->SelectRow(1);  // the PR row
        Focus(focused ? static_cast<QWidget*>(Listing()) : Registers());
        const MarkerCount pr = CountMarkers(Listing(), 1);
        EXPECT_GT(pr.yellow, 20);
        EXPECT_EQ(pr.green, 0);  // the highlight does not tint it

        Stack()->SelectRow(0);
        Focus(focused ? static_cast<QWidget*>(Stack()) : Registers());
        const MarkerCount sp = CountMarkers(Stack(), 0);
        EXPECT_GT(sp.green, 20);
    }
}

TEST_F(PaneMarksTest, PROnABreakpointShowsBothMarkers)
{
    Load(kStore);
    Listing()->SelectRow(2);
    Key(Qt::Key_F2);  // a breakpoint on the ST row
    const MarkerCount alone = CountMarkers(Listing(), 2);
    EXPECT_GT(alone.red, 20);
    EXPECT_EQ(alone.yellow, 0);

    Key(Qt::Key_F9);  // PR arrives on it
    ASSERT_EQ(ArrowRows(), QList<int>{2});
    for (bool selected : {true, false}) {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        Listing()->SelectRow(selected ? 2 : 5);
        const MarkerCount both = CountMarkers(Listing(), 2);
        EXPECT_GT(both.red, 40);
        EXPECT_GT(both.yellow, 10);
    }
    const MarkerCount before = CountMarkers(Listing(), 1);  // the row left behind: nothing
    EXPECT_EQ(before.red + before.yellow, 0);
}

// --- a message box sees every pane up to date ----------------------------------------

// What the screen shows of a widget: its part of its window's image as last painted.
QImage OnScreen(QWidget* widget)
{
    QWidget* top = widget->window();
    const QPixmap whole = top->screen()->grabWindow(top->winId());
    const qreal ratio = whole.devicePixelRatio();
    const QRect rect(widget->mapTo(top, QPoint(0, 0)) * ratio, widget->size() * ratio);
    return whole.copy(rect).toImage().convertToFormat(QImage::Format_RGB32);
}

// Runs long enough that the window is served during them (and so painted with the state
// of then), and change the dump's first row all the time: one ends by itself, one is stopped.
struct LongRun {
    const char* name;
    const char* source;
    bool stop;
};

const LongRun kLongRuns[] = {
    {"stopped", "MAIN\tSTART\nLOOP\tLAD\tGR1,1,GR1\n\tST\tGR1,DATA\n\tJUMP\tLOOP\nDATA\tDC\t0\n\tEND\n", true},
    {"ended",
     "MAIN\tSTART\n\tLAD\tGR2,200\nLOOP\tADDA\tGR1,=1\n\tST\tGR1,DATA\n\tJNZ\tLOOP\n\tSUBA\tGR2,=1\n"
     "\tJNZ\tLOOP\n\tRET\nDATA\tDC\t0\n\tEND\n",
     false},
};

TEST_F(PaneMarksTest, EveryPaneIsUpToDateWhenARunsMessageOpens)
{
    for (const LongRun& run : kLongRuns) {
        SCOPED_TRACE(run.name);
        Load(run.source);
        // Side by side, so that the screen shows all of each pane.
        app->GetSimulatorFrame()->showNormal();
        Frame()->GetMdiArea()->tileSubWindows();
        QApplication::processEvents();
        std::vector<std::string> stale;
        int boxes = 0;
        ui.onMessage = [&](const QString&) {
            ++boxes;
            for (QWidget* pane :
                 std::initializer_list<QWidget*>{Listing(), Registers(), Stack(), WorkView(), Editor()})
                if (OnScreen(pane) != pane->grab().toImage().convertToFormat(QImage::Format_RGB32))
                    stale.push_back(pane->metaObject()->className());
        };
        // The one that ends is stopped too should it not end within a long time.
        QTimer::singleShot(run.stop ? 300 : 20000, Frame(), [&] { Frame()->GetAction(ID_STOP)->trigger(); });
        Key(Qt::Key_F5);
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(app->GetDocument()->GetCore().GetLastRunEnd(), run.stop ? RunEnd::UserStop : RunEnd::ProgramEnd);
        EXPECT_EQ(stale, std::vector<std::string>());
        ui.onMessage = nullptr;
        app.reset();
        QApplication::processEvents();
    }
}
}  // namespace
