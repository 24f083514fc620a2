// Settings: the environment values, the dialog, the view font and the stored layouts.
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <gtest/gtest.h>
#include "shell/environment.h"
#include "shell/environment_dlg.h"
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

TEST_F(ShellTest, SimulatorLayoutOnlyChangesTheStoredSizes)
{
    OpenSettings()->setValue("Window/SimulateSplit", "-1 300 -1 -1");
    Start();
    SetSource("P\tSTART\n\tRET\n\tEND\n");
    Frame()->ExecuteCommand(32771);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    CZelkoraFrame* sim = app->GetSimulatorFrame();
    auto* outer = qobject_cast<QSplitter*>(sim->widget());
    auto* middle = qobject_cast<QSplitter*>(outer->widget(0));
    EXPECT_EQ(middle->sizes().value(0), 300);
    EXPECT_EQ(outer->sizes().value(0), sim->height() * 75 / 100);
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
