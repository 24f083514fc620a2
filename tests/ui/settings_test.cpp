// Settings: the environment values, the dialog, the view font and the stored layouts.
#include <QButtonGroup>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <gtest/gtest.h>
#include "shell/environment.h"
#include "shell/environment_dlg.h"
#include "resources/command_ids.h"
#include "shell/layout_store.h"
#include "test_shell.h"
#include "views/view_font.h"

TEST_F(ShellTest, EnvironmentDefaultsAndRoundTrip)
{
    CEnvironment env;
    env.Load(*OpenSettings());
    EXPECT_TRUE(env.m_strSourcePath.isEmpty());
    EXPECT_EQ(env.m_nWorkView, 0);
    EXPECT_EQ(env.m_nInDeviceType, 0);
    EXPECT_EQ(env.m_nOutDeviceType, 0);

    env.m_strSourcePath = "/src";
    env.m_nWorkView = 2;
    env.m_nInDeviceType = 1;
    env.m_nOutDeviceType = 1;
    env.m_strInFileName = "/in.txt";
    env.m_strOutFileName = "/out.txt";
    EXPECT_TRUE(env.Save(*OpenSettings()));

    CEnvironment loaded;
    loaded.Load(*OpenSettings());
    EXPECT_EQ(loaded.m_strSourcePath, "/src");
    EXPECT_EQ(loaded.m_nWorkView, 2);
    EXPECT_EQ(loaded.m_nInDeviceType, 1);
    EXPECT_EQ(loaded.m_strOutFileName, "/out.txt");
    EXPECT_EQ(OpenSettings()->value("Env/OutDeviceType").toInt(), 1);
}

TEST_F(ShellTest, EnvironmentDialogEnablesFileFieldsWithTheirOptions)
{
    CEnvironment env;
    CEnvironmentDlg dialog(env, ui);
    EXPECT_FALSE(dialog.m_pInFile->isEnabled());
    EXPECT_FALSE(dialog.m_pBrowseOut->isEnabled());
    dialog.m_pOutDevice->button(1)->click();
    EXPECT_TRUE(dialog.m_pOutFile->isEnabled());
    EXPECT_TRUE(dialog.m_pBrowseOut->isEnabled());
    dialog.m_pOutFile->setText("/keep.txt");
    dialog.m_pOutDevice->button(0)->click();
    EXPECT_FALSE(dialog.m_pOutFile->isEnabled());
    EXPECT_EQ(dialog.m_pOutFile->text(), "/keep.txt");
}

TEST_F(ShellTest, EnvironmentDialogWritesOnlyOnOk)
{
    CEnvironment env;
    env.m_nWorkView = 5;  // outside the group: no button checked
    {
        CEnvironmentDlg dialog(env, ui);
        EXPECT_EQ(dialog.m_pWorkView->checkedId(), -1);
        dialog.m_pInDevice->button(1)->click();
        dialog.reject();
    }
    EXPECT_EQ(env.m_nInDeviceType, 0);
    {
        CEnvironmentDlg dialog(env, ui);
        ui.openNames.push_back("/picked/in.txt");
        dialog.m_pInDevice->button(1)->click();
        dialog.m_pBrowseIn->click();
        dialog.accept();
    }
    EXPECT_EQ(env.m_nInDeviceType, 1);
    EXPECT_EQ(env.m_strInFileName, "/picked/in.txt");
    EXPECT_EQ(env.m_nWorkView, -1);
}

TEST(ViewFont, SourceFontValues)
{
    struct Case {
        const char* value;
        const char* face;
        int points;
    } cases[] = {
        {"", "ＭＳ ゴシック", 10},
        {"Courier:12", "Courier", 12},
        {"Courier", "ＭＳ ゴシック", 10},
        {":12", "ＭＳ ゴシック", 10},
        {"Courier:", "Courier", 0},
        {"Courier:9pt", "Courier", 9},
    };
    for (const Case& c : cases) {
        std::string face;
        int points;
        ParseSourceFont(c.value, face, points);
        EXPECT_EQ(face, c.face) << c.value;
        EXPECT_EQ(points, c.points) << c.value;
    }
}

TEST(LayoutStore, PlacementStrings)
{
    EXPECT_EQ(FormatPlacement(QRect(10, 20, 300, 200), true), "10 20 310 220 1");
    QRect r;
    ASSERT_TRUE(ParsePlacement("10 20 310 220 0", r));
    EXPECT_EQ(r, QRect(10, 20, 300, 200));
    EXPECT_FALSE(ParsePlacement("10 20 310 220", r));
    EXPECT_FALSE(ParsePlacement("10 20 310 220 0 7", r));
    EXPECT_FALSE(ParsePlacement("a b c d e", r));
    QVector<int> v;
    ASSERT_TRUE(ParseIntegers("-1 300 -1 -1", 4, v));
    EXPECT_EQ(v, QVector<int>({-1, 300, -1, -1}));
}

TEST_F(ShellTest, SourceLayoutIsStoredAndRestored)
{
    Start();
    QSplitter* splitter = app->GetSourceFrame()->GetSplitter();
    EXPECT_EQ(splitter->sizes().value(0), app->GetSourceFrame()->height() * 75 / 100);
    app->GetSourceFrame()->setGeometry(5, 6, 500, 400);
    splitter->setSizes({120, splitter->height() - splitter->handleWidth() - 120});
    ui.yesNoCancel.push_back(QMessageBox::No);
    Frame()->ExecuteCommand(57602);  // close
    EXPECT_EQ(OpenSettings()->value("Window/SourceSplit").toInt(), 120);
    EXPECT_EQ(OpenSettings()->value("Window/SourceFrame").toString(), "5 6 505 406 0");

    Frame()->ExecuteCommand(57600);  // new
    EXPECT_EQ(app->GetSourceFrame()->geometry(), QRect(5, 6, 500, 400));
    EXPECT_EQ(app->GetSourceFrame()->GetSplitter()->sizes().value(0), 120);
}

// A simulator window opened with the given stored values: its four splitters' first sizes
// in stored order (above the work pane, the listing's column, the registers above the stack
// and labels, the stack beside the labels), and the two values it stores when it closes.
struct SimulatorLayout {
    QList<int> sizes;
    QString split, panes;
};

class SimulatorLayoutTest : public ShellTest {
protected:
    SimulatorLayout Open(const char* split, const char* panes)
    {
        OpenSettings()->clear();
        if (split) OpenSettings()->setValue("Window/SimulateSplit", split);
        if (panes) OpenSettings()->setValue("Window/SimulatePanes", panes);
        Start();
        SetSource("P\tSTART\n\tRET\n\tEND\n");
        Frame()->ExecuteCommand(32771);
        SimulatorLayout layout;
        if (CZelkoraFrame* sim = app->GetSimulatorFrame()) {
            auto* outer = qobject_cast<QSplitter*>(sim->widget());
            auto* middle = qobject_cast<QSplitter*>(outer->widget(0));
            auto* right = qobject_cast<QSplitter*>(middle->widget(1));
            auto* below = qobject_cast<QSplitter*>(right->widget(1));
            for (QSplitter* s : {outer, middle, right, below}) layout.sizes << s->sizes().value(0);
        }
        ui.yesNoCancel.push_back(QMessageBox::No);
        app.reset();
        layout.split = ReadWindowValue("SimulateSplit");
        layout.panes = ReadWindowValue("SimulatePanes");
        return layout;
    }
};

TEST_F(SimulatorLayoutTest, StoredSizesChangeOnlyWhatTheyStillMean)
{
    const QList<int> first = Open(nullptr, nullptr).sizes;
    ASSERT_EQ(first.size(), 4);
    const struct {
        const char* split;
        const char* panes;
        QList<int> expected;  // -1: the first start's size
    } cases[] = {
        {"-1 300 -1 -1", nullptr, {-1, 300, -1, -1}},
        // Stored when the listing shared its column with the registers: its last two
        // numbers were heights of splitters that are gone, and are not put elsewhere.
        {"-1 300 120 90", nullptr, {-1, 300, -1, -1}},
        {"-1 -1 -1 -1", "80 100", {-1, -1, 80, 100}},
        {"-1 -1 -1 -1", "-1 100", {-1, -1, -1, 100}},
        {"-1 300 -1 -1", "80", {-1, 300, -1, -1}},  // not two numbers: ignored
        {"-1 300 -1", "80 100", {-1, -1, -1, -1}},   // no split: nothing is restored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.split);
        QList<int> expected = c.expected;
        for (int i = 0; i < 4; ++i)
            if (expected[i] == -1) expected[i] = first[i];
        EXPECT_EQ(Open(c.split, c.panes).sizes, expected);
    }
}

TEST_F(SimulatorLayoutTest, ClosingStoresWhatTheNextStartRestores)
{
    const SimulatorLayout stored = Open("210 320 -1 -1", "80 100");
    EXPECT_EQ(stored.split, "210 320 -1 -1");
    EXPECT_EQ(stored.panes, "80 100");
    // An older layout is stored the new way once the window has been open.
    const SimulatorLayout upgraded = Open("210 320 120 90", nullptr);
    EXPECT_EQ(upgraded.split, "210 320 -1 -1");
    EXPECT_EQ(upgraded.panes.split(' ').size(), 2);
    EXPECT_EQ(Open(qPrintable(upgraded.split), qPrintable(upgraded.panes)).sizes, upgraded.sizes);
}

TEST_F(ShellTest, WorkViewSettingChoosesTheOutputView)
{
    Start();
    app->GetEnvironment().m_nWorkView = 2;
    SetSource("P\tSTART\n\tRET\n\tEND\n");
    Frame()->ExecuteCommand(32771);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_STREQ(app->GetSimulatorFrame()->GetWorkViewClass(), "CDeviceView");
    EXPECT_TRUE(Checked(32798));
}

TEST_F(ShellTest, AClosedMaximizedSimulatorWindowStoresItsNormalRectangle)
{
    Start();
    SetSource("P\tSTART\n\tRET\n\tEND\n");
    Frame()->ExecuteCommand(32771);
    CZelkoraFrame* sim = app->GetSimulatorFrame();
    ASSERT_NE(sim, nullptr);
    const QRect normal = sim->geometry();
    sim->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(sim->isMaximized());
    sim->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QStringList stored = ReadWindowValue("SimulateFrame").split(' ');
    ASSERT_EQ(stored.size(), 5);
    EXPECT_EQ(stored[4], "1");
    QRect rect;
    ASSERT_TRUE(ParsePlacement(ReadWindowValue("SimulateFrame"), rect));
    EXPECT_EQ(rect, normal);
    EXPECT_EQ(ReadWindowValue("SimulateSplit").split(' ').size(), 4);
}

// The settings store is text anyone can edit. Whatever it holds, the program starts, its
// windows fit where they are shown and can be reached, its panes keep some room, and its
// text can be read.
class HostileSettings : public ShellTest {
protected:
    static bool Inside(const QRect& inner, const QRect& outer) { return outer.contains(inner); }
    // Every pane of a splitter, nested ones too, keeps some room.
    static void ExpectPanesKeepRoom(QSplitter* splitter)
    {
        for (int size : splitter->sizes()) EXPECT_GE(size, kMinStoredPane);
        for (int i = 0; i < splitter->count(); ++i)
            if (auto* inner = qobject_cast<QSplitter*>(splitter->widget(i))) ExpectPanesKeepRoom(inner);
    }
    void Assemble()
    {
        SetSource("P\tSTART\n\tRET\n\tEND\n");
        Frame()->ExecuteCommand(32771);
        ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    }
    QRect AreaRect() const { return QRect(QPoint(0, 0), Frame()->GetMdiArea()->viewport()->size()); }
};

const char* const kBadPlacements[] = {
    "0 0 100000 100000 0",                                // larger than any screen
    "5000 5000 5600 5400 0",                              // beyond the right and bottom edges
    "-60000 -60000 -59000 -59500 1",                      // far beyond the left and top edges
    "10 10 20 20 0",                                      // too small to use
    "2147483000 2147483000 2147483647 2147483647 0",      // at the end of the numbers
    "-2147483648 -2147483648 2147483647 2147483647 0",    // wider than a number holds
};

TEST_F(HostileSettings, MainWindowPlacementsFitTheScreen)
{
    for (const char* value : kBadPlacements) {
        SCOPED_TRACE(value);
        OpenSettings()->setValue("Window/MainFrame", value);
        Start();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The window fits the screen, and so does its frame but for its border.
        EXPECT_TRUE(Inside(Frame()->geometry().translated(screen.topLeft() - Frame()->geometry().topLeft()), screen));
        EXPECT_TRUE(Inside(Frame()->frameGeometry(), screen.adjusted(-4, 0, 4, 4)));
        EXPECT_GE(Frame()->width(), std::min(320, screen.width()));
        EXPECT_GE(Frame()->height(), std::min(240, screen.height()));
        ui.yesNoCancel.push_back(QMessageBox::No);
        app.reset();
    }
    // A placement that fits stays as it was.
    OpenSettings()->setValue("Window/MainFrame", "100 120 700 520 0");
    Start();
    EXPECT_EQ(Frame()->geometry(), QRect(100, 120, 600, 400));
}

TEST_F(HostileSettings, ChildWindowPlacementsFitTheMainWindow)
{
    for (const char* value : kBadPlacements) {
        SCOPED_TRACE(value);
        OpenSettings()->setValue("Window/SourceFrame", value);
        OpenSettings()->setValue("Window/SimulateFrame", value);
        OpenSettings()->setValue("Window/SimulateSplit", "-1 -1 -1 -1");
        Start();
        EXPECT_TRUE(Inside(app->GetSourceFrame()->geometry(), AreaRect()));
        EXPECT_GE(app->GetSourceFrame()->width(), std::min(160, AreaRect().width()));
        Assemble();
        EXPECT_TRUE(Inside(app->GetSimulatorFrame()->geometry(), AreaRect()));
        EXPECT_GE(app->GetSimulatorFrame()->height(), std::min(120, AreaRect().height()));
        ui.yesNoCancel.push_back(QMessageBox::No);
        app.reset();
    }
}

TEST_F(HostileSettings, SplitterSizesLeaveEveryPaneSomeRoom)
{
    const struct {
        const char* source;
        const char* simulate;
    } cases[] = {
        {"100000", "100000 100000 100000 100000"},
        {"2147483647", "2147483647 2147483647 2147483647 2147483647"},
        {"1", "0 0 0 0"},
        {"-7", "-7 -2147483648 5 1"},
        {"1", "1 1 1 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.simulate);
        OpenSettings()->setValue("Window/SourceSplit", c.source);
        OpenSettings()->setValue("Window/SimulateSplit", c.simulate);
        // The registers' height and the stack's width, from the same numbers.
        OpenSettings()->setValue("Window/SimulatePanes", QString(c.simulate).section(' ', 2));
        Start();
        ExpectPanesKeepRoom(app->GetSourceFrame()->GetSplitter());
        Assemble();
        ExpectPanesKeepRoom(qobject_cast<QSplitter*>(app->GetSimulatorFrame()->widget()));
        ui.yesNoCancel.push_back(QMessageBox::No);
        app.reset();
    }
}

TEST_F(HostileSettings, ViewFontSizesStayReadable)
{
    const int platform = QApplication::font().pointSize();
    const struct {
        const char* value;
        int points;  // 0: the platform's default size
    } cases[] = {
        {"Courier:99999", 10},   {"Courier:73", 10},   {"Courier:5", 10},     {"Courier:-12", 10},
        {"Courier:99999999999999999999", 10},          {"Courier:abc", 0},    {"Courier:0", 0},
        {"Courier:72", 72},      {"Courier:6", 6},     {"Courier: 12pt", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string face;
        int points;
        ParseSourceFont(c.value, face, points);
        EXPECT_EQ(points, c.points);
        OpenSettings()->setValue("Env/SourceFont", c.value);
        Start();
        EXPECT_EQ(Editor()->font().pointSize(), c.points ? c.points : platform);
        app.reset();
    }
}

TEST_F(HostileSettings, OutputFileIsNeverTheSourceNorTheInputFile)
{
    const std::string input = "line\n";
    const QString in = WriteFile("in.txt", input);
    const std::string program = "P\tSTART\r\n\tIN\tB,L\r\n\tOUT\tB,L\r\n\tRET\r\nB\tDS\t80\r\nL\tDS\t1\r\n\tEND\r\n";
    const QString source = WriteFile("prog.asm", program);
    for (const QString& out : {source, in, dir.filePath("./in.txt")}) {
        SCOPED_TRACE(out.toStdString());
        OpenSettings()->setValue("Env/InDeviceType", 1);
        OpenSettings()->setValue("Env/InFileName", in);
        OpenSettings()->setValue("Env/OutDeviceType", 1);
        OpenSettings()->setValue("Env/OutFileName", out);
        Start({source});
        Frame()->ExecuteCommand(32771);
        ui.messages.clear();
        Frame()->ExecuteCommand(32779);  // Go
        EXPECT_EQ(ReadBytes(source), program);
        EXPECT_EQ(ReadBytes(in), input);
        EXPECT_TRUE(ui.MessageTexts().contains(
            QString::fromUtf8("OUT命令出力ﾌｧｲﾙ( %1 )の作成に失敗しました。").arg(out)));
        app.reset();
    }
}

TEST_F(HostileSettings, RecentFilesOfAnyNameShowShortAndOpenSafely)
{
    const QString longName = "/" + QString(5000, 'd') + "/x.asm";
    const QString ampersand = WriteFile("a&b.asm", "X\r\n");
    auto settings = OpenSettings();
    settings->setValue("Recent File List/File1", longName);
    settings->setValue("Recent File List/File2", "/dev/zero");
    settings->setValue("Recent File List/File3", ampersand);
    settings->setValue("Recent File List/File4", dir.path());
    settings.reset();
    Start();
    for (int i = 0; i < 4; ++i) EXPECT_LE(Frame()->GetAction(ID_FILE_MRU_FIRST + i)->text().size(), 90) << i;
    EXPECT_TRUE(Frame()->GetAction(ID_FILE_MRU_FIRST + 2)->text().endsWith("a&&b.asm"));
    // A device or a folder is no source: a message, and the document stays.
    for (int i : {1, 3}) {
        ui.messages.clear();
        Frame()->ExecuteCommand(ID_FILE_MRU_FIRST + i);
        EXPECT_EQ(ui.messages.size(), 1u) << i;
        EXPECT_EQ(app->GetDocument()->GetSourcePath(), CZelkoraDoc::kUntitled);
    }
    Frame()->ExecuteCommand(ID_FILE_MRU_FIRST + 2);
    EXPECT_EQ(QString::fromStdString(app->GetDocument()->GetSourcePath()), ampersand);
}
