// `zelkora-cli test` on a small class: good, wrong, endless, broken and unreadable
// programs in one folder; the reports it writes; its exit statuses; Ctrl+C.
#include "file_bytes.h"
#include <gtest/gtest.h>
#include "temp_folder.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Sums the table and leaves the sum in GR0 and RESULT; it writes "SUM".
std::string SumProgram(const char* table)
{
    return std::string("S\tSTART\n\tLAD\tGR0,0\n\tLAD\tGR1,0\nL\tADDA\tGR0,T,GR1\n\tLAD\tGR1,1,GR1\n"
                       "\tCPA\tGR1,N\n\tJMI\tL\n\tST\tGR0,RESULT\n\tOUT\tM,ML\n\tRET\nT\tDC\t") +
           table + "\nN\tDC\t3\nRESULT\tDS\t1\nM\tDC\t'SUM'\nML\tDC\t3\n\tEND\n";
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        fs::create_directories(folder / "class" / "c");
        WriteBytes(folder / "sum.tests",
                   "# 合計のテスト\nsteps 100000\ncase 合計\nout SUM\nexpect GR0=6\nexpect RESULT=6\n"
                   "case 表\npoints 2\nexpect T+2=3\n");
        WriteBytes(folder / "class" / "a_good.asm", SumProgram("1,2,3"));
        WriteBytes(folder / "class" / "b_wrong.asm", SumProgram("1,2,4"));
        WriteBytes(folder / "class" / "c" / "endless.asm", "E\tSTART\nL\tJUMP\tL\n\tEND\n");
        WriteBytes(folder / "class" / "d_broken.asm", "B\tSTART\n\tLD\tGR9,X\n\tEND\n");
        WriteBytes(folder / "class" / "e_binary.asm", std::string("\x7F" "ELF\x02\x01\x01\0\0\0\xFF\xFE", 13));
        WriteBytes(folder / "class" / "notes.txt", "not a program");
        fs::create_symlink(folder / "nowhere.asm", folder / "class" / "f_gone.asm");
    }

    Outcome Test(const std::string& arguments)
    {
        const fs::path out = folder / "stdout", err = folder / "stderr";
        const std::string command = "cd '" + folder.Path().string() + "' && '" + ZELKORA_CLI + "' test " + arguments +
                                    " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    }

    CTempFolder folder;
};

TEST_F(CliTest, ReportsEveryProgramOfAClassAndWhyItFailed)
{
    const Outcome o = Test("sum.tests class --csv r.csv --junit r.xml");
    // An unreadable program is reported with the rest and makes the status 66.
    EXPECT_EQ(o.status, 66) << o.err;
    EXPECT_EQ(o.err, "");
    const char* const expected[] = {
        "class/a_good.asm: 合格 2/2 ケース, 3/3 点\n  ○ 合計\n  ○ 表\n",
        "class/b_wrong.asm: 不合格 0/2 ケース, 0/3 点\n  × 合計: GR0 が違います: 期待 6 (#0006)、実際 7 (#0007)\n"
        "  × 表: T+2 (#011D) が違います: 期待 3 (#0003)、実際 4 (#0004)\n",
        "class/c/endless.asm: 不合格 0/2 ケース, 0/3 点\n  × 合計: ステップ数の上限 100000 に達しました",
        "class/d_broken.asm: 不合格 0/2 ケース, 0/3 点\n  アセンブルできません (1 個のエラー)\n    ERROR #2: ",
        "class/e_binary.asm: 不合格 0/2 ケース, 0/3 点\n  アセンブルできません",
        "class/f_gone.asm: 不合格 0/2 ケース, 0/3 点\n  読めません: No such file or directory\n",
        "合計: 6 件中 1 件がすべて合格, ケース 2/12, 点 3/18\n",
    };
    size_t at = 0;
    for (const char* part : expected) {
        const size_t found = o.out.find(part, at);
        ASSERT_NE(found, std::string::npos) << part << "\nin\n" << o.out;
        at = found;
    }
    EXPECT_EQ(o.out.find("notes.txt"), std::string::npos);

    const std::string csv = ReadBytes(folder / "r.csv");
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFsubmission,case,result,points,max_points,steps,reason\r\n", 0), 0u);
    EXPECT_NE(csv.find("class/a_good.asm,表,pass,2,2,"), std::string::npos);
    // The JUnit report is one that CI servers' schema accepts.
    const std::string check = "xmllint --noout --schema '" ZELKORA_SOURCE_DIR "/tests/core/testdata/junit.xsd' '" +
                              (folder / "r.xml").string() + "' 2>/dev/null";
    EXPECT_EQ(std::system(check.c_str()), 0) << ReadBytes(folder / "r.xml");
}

TEST_F(CliTest, ExitStatusSaysWhatWentWrong)
{
    WriteBytes(folder / "bad.tests", "case a\nout 1\nexpect GR0\n");
    WriteBytes(folder / "input.tests", "case a\nin-file none.txt\n");
    const struct {
        const char* arguments;
        int status;
        const char* err;  // a part of standard error
    } cases[] = {
        {"sum.tests class/a_good.asm", 0, ""},
        {"sum.tests class/a_good.asm class/b_wrong.asm", 1, ""},
        {"bad.tests class", 65, "bad.tests:3: expect は 名前=値 の形で"},
        {"input.tests class", 66, "input.tests:2: 入力ファイル none.txt を読めません"},
        {"missing.tests class", 66, "cannot read missing.tests"},
        {"sum.tests", 64, "no program or folder given"},
        {"", 64, "no test file given"},
        {"--jobs 0 sum.tests class", 64, "--jobs needs a number"},
        {"--csv", 64, "--csv and --junit need a file name"},
        {"--colour sum.tests class", 64, "unknown option for test"},
        {"sum.tests class/a_good.asm --csv no/such/dir/r.csv", 74, "cannot write no/such/dir/r.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome o = Test(c.arguments);
        EXPECT_EQ(o.status, c.status);
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
    }
}

TEST_F(CliTest, OneJobAndManyGiveTheSameReport)
{
    const Outcome one = Test("--jobs 1 sum.tests class");
    const Outcome many = Test("--jobs 8 sum.tests class");
    EXPECT_EQ(one.out, many.out);
}

// Ctrl+C ends the runs under way and prints the report of the programs finished.
TEST_F(CliTest, InterruptPrintsTheReportSoFar)
{
    WriteBytes(folder / "long.tests", "case a\nsteps 1000000000000\n");
    const fs::path out = folder / "stdout";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::string tests = (folder / "long.tests").string(), program = (folder / "class/c").string();
        std::freopen(out.c_str(), "w", stdout);
        ::execl(ZELKORA_CLI, ZELKORA_CLI, "test", "--jobs", "1", tests.c_str(), program.c_str(), program.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::usleep(300'000);
    ::kill(pid, SIGINT);
    int raw = 0;
    bool ended = false;
    for (int tick = 0; tick < 1000 && !ended; ++tick) {
        ended = ::waitpid(pid, &raw, WNOHANG) == pid;
        if (!ended) ::usleep(10'000);
    }
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &raw, 0);
    }
    ASSERT_TRUE(ended);
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 4);
    // The program cut short is reported as such and passes nothing; the second never ran.
    const std::string report = ReadBytes(out);
    EXPECT_NE(report.find("endless.asm: 不合格 0/0 ケース, 0/0 点 (中断"), std::string::npos) << report;
    EXPECT_NE(report.find("合計: 1 件中 0 件がすべて合格"), std::string::npos) << report;
}
}  // namespace
