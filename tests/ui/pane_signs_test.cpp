// What the windows show besides the values: bytes that are no characters, which pane
// has the keyboard focus, the order of the labels, and a close box that cannot close.
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <gtest/gtest.h>
#include "pane_test.h"
#include "text/source_text.h"

namespace {
QString Shown(std::string_view bytes)
{
    const std::u16string text = DecodeSource(bytes, TextEncoding::Cp932).text;
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
}  // namespace

// The editor holds a byte that is no character as its kept byte; the listing and the
// output pane show the same character for it (drawn by the same font), never U+FFFD.
TEST_F(PaneTest, BytesThatAreNoCharactersShowAlikeInEveryPane)
{
    const std::string comment = "; bad \xFF byte \x81 here";
    const std::string input = "X\xFFY\x81";
    OpenSettings()->setValue("Env/InDeviceType", 1);
    OpenSettings()->setValue("Env/InFileName", WriteFile("in.txt", input + "\r\n"));
    OpenSettings()->setValue("Env/WorkView", 2);
    Start({WriteFile("bad.asm", comment + "\r\nP\tSTART\r\n\tIN\tBUF,LEN\r\n\tRET\r\nBUF\tDS\t80\r\n"
                                          "LEN\tDS\t1\r\n\tEND\r\n")});
    EXPECT_EQ(Editor()->document()->firstBlock().text(), Shown(comment));
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(Listing()->model()->index(0, 1).data().toString(), Shown(comment));
    Frame()->ExecuteCommand(ID_RUN_GO);
    auto* output = qobject_cast<QPlainTextEdit*>(app->GetSimulatorFrame()->GetWorkView());
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->toPlainText().split('\n').contains("INPUT  : " + Shown(input)));
    EXPECT_FALSE(output->toPlainText().contains(QChar(0xFFFD)));
}

// The pane that the keys go to has its header in the selection's colours, the others
// their usual ones: plain at a glance even where no row is selected.
TEST_F(PaneTest, OnlyThePaneWithTheFocusHasAHighlightedHeader)
{
    Load(kCall);
    const QList<CListViewEx*> panes = {Listing(), Registers(), Stack(), Symbols()};
    // How far the header's pixels lean to the highlight's colour from its background's.
    auto lean = [](CListViewEx* pane) {
        const QImage image = pane->header()->grab().toImage();
        const QColor highlight = pane->palette().highlight().color(), button = pane->palette().button().color();
        double toHighlight = 0, toButton = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                auto distance = [&c](const QColor& to) {
                    return std::abs(c.red() - to.red()) + std::abs(c.green() - to.green()) + std::abs(c.blue() - to.blue());
                };
                toHighlight += distance(highlight);
                toButton += distance(button);
            }
        return toButton - toHighlight;
    };
    for (CListViewEx* focused : panes) {
        Focus(focused);
        for (CListViewEx* pane : panes)
            EXPECT_EQ(lean(pane) > 0, pane == focused) << pane->GetClassName() << " with the focus in " << focused->GetClassName();
    }
    Focus(Editor());
    for (CListViewEx* pane : panes) EXPECT_LT(lean(pane), 0) << pane->GetClassName();
}

// The label header shows which column sorts and which way, as the rows are sorted.
TEST_F(PaneTest, TheLabelHeaderShowsTheSortColumnAndDirection)
{
    Load(kCall);
    QHeaderView* header = Symbols()->header();
    auto click = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    EXPECT_TRUE(header->isSortIndicatorShown());
    const struct {
        int click;  // -1: none, as the pane starts
        int section;
        Qt::SortOrder order;
    } steps[] = {{-1, 0, Qt::AscendingOrder},
                 {1, 1, Qt::AscendingOrder},
                 {1, 1, Qt::DescendingOrder},
                 {0, 0, Qt::AscendingOrder},
                 {0, 0, Qt::DescendingOrder}};
    for (const auto& step : steps) {
        if (step.click >= 0) click(step.click);
        EXPECT_EQ(header->sortIndicatorSection(), step.section) << step.click;
        EXPECT_EQ(header->sortIndicatorOrder(), step.order) << step.click;
        EXPECT_EQ(Symbols()->GetSortColumn(), step.section);
        EXPECT_EQ(Symbols()->GetSortDirection(), step.order == Qt::AscendingOrder ? 1 : -1);
    }
}

// While the program's simulator window is open the source window cannot close: its close
// box is greyed on its title bar and, maximized, among its buttons in the menu bar; it
// looks as before once the simulator window has closed.
TEST_F(PaneTest, TheSourceWindowsCloseBoxIsGreyedWhileTheSimulatorIsOpen)
{
    Start();
    Frame()->resize(900, 600);
    CSourceFrame* source = app->GetSourceFrame();
    auto closeBox = [&](bool maximized) {
        if (maximized)
            source->showMaximized();
        else
            source->showNormal();
        Frame()->GetMdiArea()->setActiveSubWindow(source);
        QApplication::processEvents();
        if (!maximized) return source->grab(QRect(0, 0, source->width(), source->widget()->geometry().top())).toImage();
        QWidget* buttons = source->maximizedButtonsWidget();
        return buttons ? buttons->grab().toImage() : QImage();
    };
    const QImage usable[2] = {closeBox(false), closeBox(true)};
    ASSERT_FALSE(usable[1].isNull()) << "the maximized window's buttons are in the menu bar";
    SetSource(kCall);
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    for (bool maximized : {false, true}) EXPECT_NE(closeBox(maximized), usable[maximized]) << maximized;

    app->GetSimulatorFrame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (bool maximized : {true, false}) EXPECT_EQ(closeBox(maximized), usable[maximized]) << maximized;
}
