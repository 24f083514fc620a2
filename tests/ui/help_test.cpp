// Help: the operating manual wherever the program is installed, and a word about where it
// is when nothing can show it.
#include <signal.h>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/url_opener.h"
#include "test_shell.h"

namespace {
void MakeFile(const QString& path, const QByteArray& bytes, QFile::Permissions extra = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    file.setPermissions(file.permissions() | extra);
}

struct ManualCase {
    const char* name;
    const char* manual;  // where the manual is, under a prefix whose bin/ holds the program; null: nowhere
    bool opens;          // whether a program can show it
    const char* opened;  // the file handed to that program; null: none
    int message;         // the message shown; 0: none
};

const ManualCase kManualCases[] = {
    {"beside_the_program", "bin/Help/zelkora.htm", true, "bin/Help/zelkora.htm", 0},
    {"installed_under_a_prefix", "share/zelkora/Help/zelkora.htm", true, "share/zelkora/Help/zelkora.htm", 0},
    {"nothing_to_show_it", "share/zelkora/Help/zelkora.htm", false, "share/zelkora/Help/zelkora.htm",
     MSG_MANUAL_NOT_SHOWN},
    {"no_manual", nullptr, true, nullptr, MSG_MANUAL_MISSING},
};

class Manual : public ShellTest, public testing::WithParamInterface<ManualCase> {};

TEST_P(Manual, OpensOrSaysWhereItIs)
{
    const ManualCase& c = GetParam();
    const QString prefix = dir.path();
    if (c.manual) MakeFile(prefix + "/" + c.manual, "<html></html>");
    QDir().mkpath(prefix + "/bin");
    ui.urlsOpen = c.opens;
    Start();
    app->SetProgramFolder(prefix + "/bin");
    Frame()->ExecuteCommand(ID_MANUAL);

    ASSERT_EQ(ui.urls.size(), c.opened ? 1u : 0u) << ui.MessageTexts().join("\n").toStdString();
    if (c.opened) {
        EXPECT_EQ(ui.urls[0].toLocalFile(), prefix + "/" + c.opened);
    }
    ASSERT_EQ(ui.messages.size(), c.message ? 1u : 0u) << ui.MessageTexts().join("\n").toStdString();
    if (!c.message) return;
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
    const QString text = ui.messages[0].text;
    // The message names the file in full, so that it can be opened some other way.
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(LoadString(c.message).data()).section("%1", 0, 0))) << text.toStdString();
    if (c.opened) {
        EXPECT_TRUE(text.endsWith("\n" + prefix + "/" + c.opened)) << text.toStdString();
    } else {
        EXPECT_TRUE(text.contains(prefix + "/bin/Help/zelkora.htm") &&
                    text.contains(prefix + "/share/zelkora/Help/zelkora.htm"))
            << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Help, Manual, testing::ValuesIn(kManualCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The real opener: xdg-open's answer decides, without the window waiting for it, and a
// browser it keeps running is left alone.
struct OpenerCase {
    const char* name;
    const char* script;  // the xdg-open on PATH; null: none
    bool shown;
};

// Each opener first notes the address it was given.
const OpenerCase kOpenerCases[] = {
    {"opener_shows_it", "exit 0", true},
    {"opener_finds_no_program", "exit 3", false},
    {"opener_fails", "exit 4", false},
    {"browser_keeps_running", "echo $$ > \"$0.pid\"; exec /bin/sleep 60", true},
    {"no_opener", nullptr, false},
};

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

class Opener : public testing::TestWithParam<OpenerCase> {
protected:
    void SetUp() override { m_path = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", m_path); }
    QByteArray m_path;
};

TEST_P(Opener, SaysWhetherTheAddressWasShown)
{
    const OpenerCase& c = GetParam();
    QTemporaryDir bin;
    const QString opener = bin.filePath("xdg-open");
    if (c.script)
        MakeFile(opener, QByteArray("#!/bin/sh\necho \"$1\" > \"$0.url\"\n") + c.script + "\n",
                  QFile::ExeOwner | QFile::ExeUser);
    qputenv("PATH", bin.path().toLocal8Bit());
    const QUrl url = QUrl::fromLocalFile(bin.filePath("manual.htm"));

    // A short wait for the opener's answer, so that the browser that keeps running counts soon.
    CUrlOpener* urlOpener = CUrlOpener::Open(url, 1000);
    QSignalSpy told(urlOpener, &CUrlOpener::Finished);
    ASSERT_TRUE(told.wait(20000));
    EXPECT_EQ(told.takeFirst().at(0).toBool(), c.shown);
    if (c.script) {
        EXPECT_EQ(ReadFile(opener + ".url"), url.toString().toUtf8());
    }
    if (const int pid = ReadFile(opener + ".pid").toInt()) {
        EXPECT_EQ(::kill(pid, 0), 0) << "the browser was stopped";
        ::kill(pid, SIGTERM);
    }
}

INSTANTIATE_TEST_SUITE_P(Help, Opener, testing::ValuesIn(kOpenerCases),
                         [](const auto& info) { return std::string(info.param.name); });
}  // namespace
