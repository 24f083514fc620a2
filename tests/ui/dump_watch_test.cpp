// The memory dump, the watches and drag and drop between the panes, driven by keys,
// the mouse and drops as a user drives them.
#include <QButtonGroup>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include "pane_test.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "simulator/drag_block.h"
#include "views/dump_view.h"
#include "views/watch_dlg.h"
#include "views/watch_view.h"

namespace {
class WorkPaneTest : public PaneTest {
protected:
    CDumpView* Dump() const { return dynamic_cast<CDumpView*>(app->GetSimulatorFrame()->GetWorkView()); }
    CWatchView* Watches() const { return dynamic_cast<CWatchView*>(app->GetSimulatorFrame()->GetWorkView()); }
    void DumpKeys(std::initializer_list<int> keys)
    {
        Focus(Dump());
        for (int key : keys) QTest::keyClick(Dump(), static_cast<Qt::Key>(key));
    }
    void Type(const QString& text)
    {
        Focus(Dump());
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Dump(), &press);
        }
    }
    std::pair<int, int> Caret() const { return {Dump()->GetCaretColumn(), Dump()->GetCaretRow()}; }
    WORD Word(WORD address) const { return app->GetDocument()->GetCore().GetMemory().GetWord(address); }

    // Drops data carrying a block of format on the pane; whether the drop was taken.
    static bool Drop(QAbstractScrollArea* pane, std::initializer_list<const char*> formats, WORD value,
                     const std::string& name)
    {
        QMimeData data;
        const auto bytes = CDragBlock{value, name}.Encode();
        for (const char* format : formats) data.setData(format, QByteArray(bytes.data(), 18));
        const QPoint at = pane->viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane->viewport(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane->viewport(), &drop);
        return drop.isAccepted();
    }
    // Fills in the watch dialog when it opens, then presses OK (or cancels when target is null).
    void AnswerWatchDialog(const char* target, int length, int format, QString* preset = nullptr)
    {
        WhenDialogOpens<CWatchDlg>(std::function<void(CWatchDlg&)>([=](CWatchDlg& dialog) {
            if (preset) *preset = dialog.m_pTarget->text();
            if (!target) return dialog.reject();
            dialog.m_pTarget->setText(target);
            dialog.m_pLength->SetText(QString::number(length));
            dialog.m_pFormats->button(format)->click();
            dialog.accept();
            if (dialog.isVisible()) dialog.reject();  // refused: give up rather than wait
        }));
    }
    QStringList WatchRows() const
    {
        QStringList rows;
        for (int row = 0; row < Watches()->GetRows().GetRowCount(); ++row)
            rows << Text(Watches(), row, 0) + " = " + Text(Watches(), row, 1);
        return rows;
    }
};
}  // namespace

TEST_F(WorkPaneTest, DumpShowsEightWordsARowFrom0100)
{
    Load(kCall);
    ASSERT_NE(Dump(), nullptr);
    EXPECT_EQ(Dump()->GetTopAddress(), 0x0100u);
    EXPECT_EQ(Dump()->GetRowText(0), "ADDR :  +0   +1   +2   +3   +4   +5   +6   +7   : CHARECTOR");
    EXPECT_EQ(Dump()->GetRowText(1), "0100 : 121F 0003 80FF 0106 1401 8100 70F1 0000  : ........");
    EXPECT_EQ(Dump()->GetRowText(2), "0108 : 1211 0001 712F 8100 0005 0000 0000 0000  : ........");
    EXPECT_EQ(Caret(), std::make_pair(7, 1));
    EXPECT_EQ(Dump()->verticalScrollBar()->maximum(), 8185);
    EXPECT_EQ(Dump()->verticalScrollBar()->pageStep(), 8);
    EXPECT_EQ(Dump()->verticalScrollBar()->value(), 0x20);

    app->GetDocument()->SetMemoryWord(nullptr, 0x0110, 0x0041);
    app->GetDocument()->SetMemoryWord(nullptr, 0x0111, 0x0141);
    app->GetDocument()->SetMemoryWord(nullptr, 0x0112, 0x007E);
    // Each character stands in the column the caret, a click and the changed colour give
    // its word, under the header's CHARECTOR, and the separator under the header's.
    const std::string header = Dump()->GetRowText(0), row = Dump()->GetRowText(3);
    EXPECT_EQ(row.substr(CDumpView::kFirstChar), "A.~.....");
    EXPECT_EQ(header.substr(CDumpView::kFirstChar, 4), "CHAR");
    EXPECT_EQ(row.rfind(':'), header.rfind(':'));
}

TEST_F(WorkPaneTest, DumpScrollsWithinTheAddressSpace)
{
    Load(kCall);
    DumpKeys({Qt::Key_End});
    EXPECT_EQ(Dump()->GetTopAddress(), 0xFFF8u);
    EXPECT_EQ(Dump()->GetRowText(1).substr(0, 4), "FFF8");
    EXPECT_EQ(Dump()->GetRowText(2), "");
    EXPECT_EQ(Caret(), std::make_pair(7, 1)) << "the caret is brought back onto the address space";
    EXPECT_EQ(Dump()->verticalScrollBar()->value(), 8185);
    DumpKeys({Qt::Key_Down});
    EXPECT_EQ(Caret(), std::make_pair(7, 1));
    DumpKeys({Qt::Key_PageUp});
    EXPECT_EQ(Dump()->GetTopAddress(), 0xFFB8u);
    DumpKeys({Qt::Key_PageDown});
    EXPECT_EQ(Dump()->GetTopAddress(), 0xFFF8u);

    DumpKeys({Qt::Key_Home});
    EXPECT_EQ(Dump()->GetTopAddress(), 0u);
    DumpKeys({Qt::Key_Up, Qt::Key_PageUp});
    EXPECT_EQ(Dump()->GetTopAddress(), 0u);
    EXPECT_EQ(Caret(), std::make_pair(7, 1));
    QWheelEvent away(QPointF(10, 10), Dump()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Dump()->viewport(), &away);
    EXPECT_EQ(Dump()->GetTopAddress(), 0u);
    QWheelEvent towards(QPointF(10, 10), Dump()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -360),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Dump()->viewport(), &towards);
    EXPECT_EQ(Dump()->GetTopAddress(), 8u) << "one row a wheel message, whatever its amount";

    Dump()->verticalScrollBar()->setValue(0x200);  // the box dragged
    EXPECT_EQ(Dump()->GetTopAddress(), 0x1000u);
}

TEST_F(WorkPaneTest, DumpCaretMovesWrapBetweenRowsAndColumns)
{
    Load(kCall);
    DumpKeys({Qt::Key_Down, Qt::Key_Left});
    EXPECT_EQ(Caret(), std::make_pair(47, 1));
    DumpKeys({Qt::Key_Right});
    EXPECT_EQ(Caret(), std::make_pair(7, 2));
    DumpKeys({Qt::Key_Tab});
    EXPECT_EQ(Caret(), std::make_pair(50, 2));
    DumpKeys({Qt::Key_Tab});
    EXPECT_EQ(Caret(), std::make_pair(7, 2));
    DumpKeys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Tab});  // from the blank of word 0
    EXPECT_EQ(Caret(), std::make_pair(50, 2));
    DumpKeys({Qt::Key_Left});
    EXPECT_EQ(Caret(), std::make_pair(58, 1));
    DumpKeys({Qt::Key_Tab});
    EXPECT_EQ(Caret(), std::make_pair(47, 1));
    DumpKeys({Qt::Key_Tab});
    EXPECT_EQ(Caret(), std::make_pair(58, 1)) << "from the separator";
    DumpKeys({Qt::Key_Right});
    EXPECT_EQ(Caret(), std::make_pair(50, 2));
    EXPECT_EQ(QApplication::focusWidget(), Dump()) << "Tab stays in the dump";

    // Up from the first data row shows the row above.
    DumpKeys({Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(Dump()->GetTopAddress(), 0x00F8u);
    EXPECT_EQ(Caret(), std::make_pair(50, 1));

    // The mouse: a cell takes the caret; the address part and the separator do not; the header scrolls up.
    const int cw = Dump()->fontMetrics().averageCharWidth(), lh = Dump()->fontMetrics().height();
    auto click = [&](int column, int row) {
        QTest::mouseClick(Dump()->viewport(), Qt::LeftButton, {}, QPoint(8 + column * cw + cw / 2, row * lh + lh / 2));
    };
    click(23, 2);
    EXPECT_EQ(Caret(), std::make_pair(23, 2));
    click(2, 3);
    click(48, 3);
    EXPECT_EQ(Caret(), std::make_pair(23, 2));
    click(30, 0);
    EXPECT_EQ(Dump()->GetTopAddress(), 0x00F0u);
    EXPECT_EQ(Caret(), std::make_pair(30, 1));
}

TEST_F(WorkPaneTest, DumpEditsDigitsAndCharactersInPlace)
{
    Load(kCall);
    struct Listener : CView {
        std::vector<std::pair<int, WORD>> hints;
        void OnUpdate(CView*, int hint, CHintUpdateView* object) override
        {
            hints.push_back({hint, object ? object->m_wAddress : WORD(0)});
        }
        const char* GetClassName() const override { return "CTestView"; }
    } other;
    app->GetDocument()->AddView(&other);

    Type("a");  // lower case, shown upper case
    EXPECT_EQ(Word(0x0100), 0xA21F);
    EXPECT_EQ(Dump()->GetRowText(1).substr(7, 4), "A21F");
    EXPECT_EQ(Caret(), std::make_pair(8, 1));
    ASSERT_EQ(other.hints.size(), 1u);
    EXPECT_EQ(other.hints[0], std::make_pair(int(HINT_MEMORY_EDITED), WORD(0x0100)));

    Type("123");  // over the blank to word 1
    EXPECT_EQ(Word(0x0100), 0xA123);
    EXPECT_EQ(Caret(), std::make_pair(12, 1));
    // A digit on the blank or the separator, and anything but digits on digits, changes nothing.
    DumpKeys({Qt::Key_Left});
    Type("5G ");
    DumpKeys({Qt::Key_Right});
    Type("g");
    EXPECT_EQ(Word(0x0100), 0xA123);
    EXPECT_EQ(Word(0x0101), 0x0003);

    // Characters: a printable one becomes the word; katakana and the column after them are ignored.
    DumpKeys({Qt::Key_Tab});  // word 1's character
    Type(QString::fromUtf8("ｱ"));
    EXPECT_EQ(Word(0x0101), 0x0003);
    Type("Z");
    EXPECT_EQ(Word(0x0101), 0x005A);
    EXPECT_EQ(Dump()->GetRowText(1).substr(12, 4), "005A");
    EXPECT_EQ(Caret(), std::make_pair(52, 1));
    DumpKeys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});  // word 7's character
    Type("!");
    EXPECT_EQ(Word(0x0107), 0x0021);
    EXPECT_EQ(Caret(), std::make_pair(50, 2)) << "past word 7 to the next row";
    app->GetDocument()->RemoveView(&other);
}

TEST_F(WorkPaneTest, TypingPastWordSevenOfTheLastVisibleRowScrollsOneRow)
{
    Load(kCall);
    const int lh = Dump()->fontMetrics().height(), h = Dump()->viewport()->height();
    int last = 1;  // the last row whose next row reaches the bottom edge
    while ((last + 2) * lh < h) ++last;
    ASSERT_GE(last, 2) << "the dump pane is too small for this test";
    Dump()->setFocus();
    for (int i = 1; i < last; ++i) QTest::keyClick(Dump(), Qt::Key_Down);
    for (int i = 0; i < 35; ++i) QTest::keyClick(Dump(), Qt::Key_Right);
    ASSERT_EQ(Caret(), std::make_pair(42, last));
    const unsigned word7 = 0x0100 + 8 * (last - 1) + 7;
    Type("BEEF");
    EXPECT_EQ(Word(static_cast<WORD>(word7)), 0xBEEF);
    EXPECT_EQ(Dump()->GetTopAddress(), 0x0108u);
    EXPECT_EQ(Caret(), std::make_pair(7, last));
    EXPECT_EQ(Dump()->GetCaretAddress(), word7 + 1);
}

TEST_F(WorkPaneTest, OverwrittenProgramWordStopsTheRunWith2101)
{
    Load(kCall);
    DumpKeys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});  // word 1: LAD's address
    Type("0009");
    EXPECT_EQ(Text(Stack(), 0, 1), "0000");
    Frame()->ExecuteCommand(ID_RUN_GO);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(ui.messages.back().text.startsWith(QString::fromUtf8(LoadString(2101).data()).left(8)));
    EXPECT_EQ(Reg()[REG_PR], 0x0100);
}

TEST_F(WorkPaneTest, WatchesByDialogInEveryFormatSurviveAViewSwitch)
{
    Load(kCall);
    EXPECT_FALSE(Enabled(ID_WATCH_ADD));
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    ASSERT_NE(Watches(), nullptr);
    EXPECT_EQ(Watches()->model()->headerData(0, Qt::Horizontal).toString(), "WATCH");
    EXPECT_EQ(Watches()->model()->headerData(1, Qt::Horizontal).toString(), "VALUES");
    EXPECT_TRUE(Enabled(ID_WATCH_ADD));
    app->GetDocument()->SetMemoryWord(nullptr, 0x0001, 0x1234);
    const struct {
        const char* target;
        int length, format;
    } adds[] = {{"#0100", 3, 0}, {"DATA", 1, 1}, {"$SP", 1, 2}, {"#010C", 2, 3}, {"MAIN", 4, 4}, {"#FFFE", 4, 0}};
    for (const auto& a : adds) {
        AnswerWatchDialog(a.target, a.length, a.format);
        Frame()->ExecuteCommand(ID_WATCH_ADD);
    }
    const QStringList expected = {"#0100 = #121F, #0003, #80FF", "DATA = 5", "$SP = 0",
                                  "#010C = %0000 0000 0000 0101, %0000 0000 0000 0000", "MAIN = '....'",
                                  "#FFFE = #0000, #0000, #0000, #1234"};
    EXPECT_EQ(WatchRows().join("|").toStdString(), expected.join("|").toStdString());

    // A PUSH moves SP; the watch follows at the next stop.
    Key(Qt::Key_F9);
    Key(Qt::Key_F9);
    Key(Qt::Key_F9);
    EXPECT_EQ(Text(Watches(), 2, 1), "3");
    Frame()->ExecuteCommand(ID_VIEW_DUMP);
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    EXPECT_EQ(WatchRows().size(), 6);
    EXPECT_EQ(Text(Watches(), 0, 0), "#0100");
    EXPECT_EQ(Text(Watches(), 5, 0), "#FFFE");

    // Re-assembling keeps them; a label that is gone shows "???".
    SetSource(QString(kCall).replace("DATA", "OTHER"));
    Frame()->GetMdiArea()->setActiveSubWindow(app->GetSourceFrame());
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    EXPECT_EQ(Text(Watches(), 1, 1), "???");
}

TEST_F(WorkPaneTest, WatchDialogChecksItsEntryInOrder)
{
    Load(kCall);
    CWatchDlg dialog(*app->GetDocument(), QString::fromUtf8("ｳｫｯﾁの新規追加"));
    dialog.show();
    EXPECT_EQ(dialog.m_pLength->cleanText(), "1");
    EXPECT_EQ(dialog.m_pFormats->checkedId(), 0);
    EXPECT_EQ(dialog.m_pLength->GetStepHigh(), 8);
    EXPECT_FALSE(dialog.m_pOk->isEnabled());
    dialog.m_pTarget->setText("   ");
    EXPECT_FALSE(dialog.m_pOk->isEnabled());
    dialog.m_pTarget->setText(" X");
    EXPECT_TRUE(dialog.m_pOk->isEnabled());

    dialog.m_pLength->SetText("5");
    dialog.m_pFormats->button(WATCH_BINARY)->click();
    EXPECT_EQ(dialog.m_pLength->GetStepHigh(), 4);
    EXPECT_EQ(dialog.m_pLength->cleanText(), "5") << "the length typed stays";
    dialog.m_pFormats->button(WATCH_CHAR)->click();
    EXPECT_EQ(dialog.m_pLength->GetStepHigh(), 80);
    dialog.m_pFormats->button(WATCH_BINARY)->click();

    const struct {
        const char* target;
        const char* length;
        int message;
    } steps[] = {{"$PR", "5", 1004}, {"1000", "5", 1006}, {"UNDEF", "5", 1003}, {"DATA", "5", 1005},
                 {"DATA", "0", 1005}, {"DATA", "x", 0}};
    for (const auto& s : steps) {
        ui.messages.clear();
        dialog.m_pTarget->setText(s.target);
        dialog.m_pLength->SetText(s.length);
        dialog.accept();
        ASSERT_EQ(ui.messages.size(), 1u) << s.target;
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        if (s.message) EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromUtf8(LoadString(s.message).data()).left(10)));
        else EXPECT_EQ(ui.messages[0].text, QString::fromUtf8("正の整数を入力してください。"));
        EXPECT_TRUE(dialog.isVisible());
    }
    ui.messages.clear();
    dialog.m_pTarget->setText("DATA");
    dialog.m_pLength->SetText("5");
    dialog.accept();
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8("2進数形式表示 : 1～4\n文字形式表示 : 1～80")));
    dialog.m_pLength->SetText("4");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetTarget(), "DATA");
    EXPECT_EQ(dialog.GetLength(), 4u);
    EXPECT_EQ(dialog.GetFormat(), WATCH_BINARY);
}

// Typed with the keys and confirmed with the mouse or with Enter, as a user does: the spin
// box must not turn a text that is no number into the last number (or into 0).
TEST_F(WorkPaneTest, WatchLengthIsCheckedAsTyped)
{
    Load(kCall);
    const QString notANumber = QString::fromUtf8("正の整数を入力してください。");
    const QString range = QString::fromUtf8(LoadString(MSG_WATCH_LENGTH).data()).left(10);
    const struct {
        const char* typed;
        const QString* message;  // null: accepted
    } cases[] = {{"abc", &notANumber}, {"1a", &notANumber}, {"", &notANumber},       {"-3", &notANumber},
                 {"0", &range},        {"9", &range},       {"99999999999", &range}, {"8", nullptr}};
    for (bool byEnter : {false, true}) {
        for (const auto& c : cases) {
            CWatchDlg dialog(*app->GetDocument(), QString::fromUtf8("ｳｫｯﾁの新規追加"));
            dialog.show();
            dialog.activateWindow();
            QApplication::processEvents();
            dialog.m_pTarget->setText("DATA");
            dialog.m_pLength->setFocus();
            dialog.m_pLength->selectAll();
            QTest::keyClick(dialog.m_pLength, Qt::Key_Delete);
            QTest::keyClicks(dialog.m_pLength, c.typed);
            ui.messages.clear();
            if (byEnter)
                QTest::keyClick(dialog.m_pLength, Qt::Key_Return);
            else
                QTest::mouseClick(dialog.m_pOk, Qt::LeftButton);
            const std::string name = std::string(c.typed) + (byEnter ? " Enter" : " click");
            if (!c.message) {
                EXPECT_TRUE(ui.messages.empty()) << name;
                EXPECT_EQ(dialog.result(), QDialog::Accepted) << name;
                EXPECT_EQ(dialog.GetLength(), 8u) << name;
                continue;
            }
            ASSERT_EQ(ui.messages.size(), 1u) << name;
            EXPECT_TRUE(ui.messages[0].text.startsWith(*c.message)) << name << ": " << ui.messages[0].text.toStdString();
            EXPECT_TRUE(dialog.isVisible()) << name;
            EXPECT_EQ(dialog.m_pLength->text(), QString(c.typed)) << name << ": the entry stays as typed";
        }
    }
}

TEST_F(WorkPaneTest, WatchesChangeOneAtATimeAndDeleteTogether)
{
    Load(kCall);
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    for (const char* target : {"#0100", "#0101", "#0102", "#0103"}) {
        AnswerWatchDialog(target, 1, 0);
        Frame()->ExecuteCommand(ID_WATCH_ADD);
    }
    Focus(Watches());
    Watches()->SelectRow(1);
    Watches()->selectionModel()->select(Watches()->GetRows().index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_FALSE(Enabled(ID_WATCH_CHANGE));
    EXPECT_TRUE(Enabled(ID_WATCH_DELETE));

    Watches()->SelectRow(3);
    QString preset;
    AnswerWatchDialog("DATA", 1, 2, &preset);
    DoubleClickRow(Watches(), 3);
    EXPECT_EQ(preset, "#0103");
    EXPECT_EQ(WatchRows().value(3), "DATA = 5");

    Watches()->selectAll();
    Watches()->selectionModel()->select(Watches()->GetRows().index(0, 0),
                                        QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    Frame()->UpdateCommandUI();
    Frame()->ExecuteCommand(ID_WATCH_DELETE);
    EXPECT_EQ(WatchRows(), QStringList{"#0100 = #121F"});
    EXPECT_EQ(app->GetDocument()->GetWatches().GetSize(), 1u);
    EXPECT_FALSE(Enabled(ID_WATCH_DELETE));
}

TEST_F(WorkPaneTest, DropsOnTheListingTheDumpAndTheWatches)
{
    Load(kCall);
    // The listing takes labels only, and selects the statement at the label.
    EXPECT_FALSE(Drop(Listing(), {kRegisterFormat}, 0x0106, "GR1"));
    EXPECT_EQ(Listing()->GetSelectedRow(), -1);
    EXPECT_TRUE(Drop(Listing(), {kSymbolFormat}, 0x0106, "SUB"));
    EXPECT_EQ(Listing()->GetSelectedRow(), 6);
    EXPECT_EQ(QApplication::focusWidget(), Listing());

    // The dump takes both, a label first; it shows the row and the word of the value.
    EXPECT_TRUE(Drop(Dump(), {kRegisterFormat}, 0x1234, "GR2"));
    EXPECT_EQ(Dump()->GetTopAddress(), 0x1230u);
    EXPECT_EQ(Caret(), std::make_pair(27, 1));
    EXPECT_EQ(QApplication::focusWidget(), Dump());
    EXPECT_TRUE(Drop(Dump(), {kRegisterFormat, kSymbolFormat}, 0x010C, "DATA"));
    EXPECT_EQ(Dump()->GetTopAddress(), 0x0108u);
    EXPECT_FALSE(Drop(Dump(), {"text/plain"}, 0x0200, "X"));
    EXPECT_EQ(Dump()->GetTopAddress(), 0x0108u);

    // The watches open the add dialog with the name, "$" before a register.
    Frame()->ExecuteCommand(ID_VIEW_WATCH);
    QString preset;
    AnswerWatchDialog(nullptr, 0, 0, &preset);
    EXPECT_TRUE(Drop(Watches(), {kRegisterFormat}, 0, "GR2"));
    for (int i = 0; i < 50 && preset.isEmpty(); ++i) QTest::qWait(10);
    EXPECT_EQ(preset, "$GR2");
    EXPECT_EQ(Watches()->GetRows().GetRowCount(), 0) << "cancelled";
    preset.clear();
    AnswerWatchDialog("DATA", 1, 0, &preset);
    EXPECT_TRUE(Drop(Watches(), {kSymbolFormat}, 0x010C, "DATA"));
    for (int i = 0; i < 50 && preset.isEmpty(); ++i) QTest::qWait(10);
    EXPECT_EQ(preset, "DATA");
    EXPECT_EQ(WatchRows(), QStringList{"DATA = #0005"});
}

TEST_F(WorkPaneTest, DragSourcesOfferLabelsAndRegistersButNotPROrFR)
{
    Load(kCall);
    CDragBlock block;
    Reg()[2] = 0xBEEF;
    ASSERT_TRUE(Registers()->GetDragBlock(2, block));
    EXPECT_EQ(block.value, 0xBEEF);
    EXPECT_EQ(block.name, "GR2");
    ASSERT_TRUE(Registers()->GetDragBlock(REG_SP, block));
    EXPECT_EQ(block.name, "SP");
    EXPECT_FALSE(Registers()->GetDragBlock(REG_PR, block));
    EXPECT_FALSE(Registers()->GetDragBlock(REG_FR, block));
    ASSERT_TRUE(Symbols()->GetDragBlock(1, block));  // sorted by name: DATA, MAIN, SUB
    EXPECT_EQ(block.name, "MAIN");
    EXPECT_EQ(block.value, 0x0100);
    EXPECT_FALSE(Symbols()->GetDragBlock(7, block));
    // Qt starts a drag only from rows that say they can be dragged.
    for (CListViewEx* source : std::initializer_list<CListViewEx*>{Symbols(), Registers()}) {
        EXPECT_TRUE(source->dragEnabled());
        EXPECT_TRUE(source->model()->flags(source->model()->index(0, 0)) & Qt::ItemIsDragEnabled);
    }
    EXPECT_FALSE(Listing()->dragEnabled());
}
