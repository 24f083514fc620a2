// `zelkora-cli run`: its output formats, input and output files, exit statuses.
// Each test runs the real program as a child process.
#include "file_bytes.h"
#include <gtest/gtest.h>
#include "temp_folder.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include "assembler/error_numbers.h"
#include "recording_host.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "text/codepage.h"

namespace {
namespace fs = std::filesystem;

struct CliResult {
    int status;  // the exit status, or 128 + the signal that ended the program
    std::string out, err;
};

int StatusOf(int raw)
{
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

std::vector<char*> Argv(std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE((dir = folder.Path()).empty()); }

    // Writes a source file (lines joined with CR LF) and gives its path.
    std::string Source(const std::vector<std::string>& lines, const std::string& name = "prog.asm")
    {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        WriteBytes(dir / name, text);
        return (dir / name).string();
    }

    // Runs `zelkora-cli run` with the arguments and the bytes as standard input.
    CliResult Run(std::vector<std::string> args, const std::string& input = "", const char* stdoutPath = nullptr)
    {
        const fs::path in = dir / "stdin.bin", out = dir / "stdout.txt", err = dir / "stderr.txt";
        WriteBytes(in, input);
        args.insert(args.begin(), {ZELKORA_CLI, "run"});
        std::vector<char*> argv = Argv(args);
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (fileSizeLimit != 0) {
                // A write beyond the limit then fails (EFBIG) instead of ending the program.
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            const int fdIn = ::open(in.c_str(), O_RDONLY);
            const int fdOut = ::open(stdoutPath ? stdoutPath : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int fdErr = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fdIn, 0);
            ::dup2(fdOut, 1);
            ::dup2(fdErr, 2);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        int raw = 0;
        ::waitpid(pid, &raw, 0);
        return {StatusOf(raw), ReadBytes(out), ReadBytes(err)};
    }

    CTempFolder folder;
    fs::path dir;
    rlim_t fileSizeLimit = 0;  // for the program's files; 0: none
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

const std::string kEndMessage(LoadString(MSG_PROGRAM_END));

// Copies every input line to the output until the input ends.
const std::vector<std::string> kEcho = {
    "ECHO\tSTART",
    "LOOP\tIN\tBUF,LEN",
    "\tLD\tGR1,LEN",
    "\tJMI\tFIN",
    "\tOUT\tBUF,LEN",
    "\tJUMP\tLOOP",
    "FIN\tRET",
    "BUF\tDS\t80",
    "LEN\tDS\t1",
    "\tEND",
};

// #0100 LAD GR1,0   LOOP = #0102 LAD GR1,1,GR1   #0104 JUMP LOOP
const std::vector<std::string> kEndless = {
    "L\tSTART", "\tLAD\tGR1,0", "LOOP\tLAD\tGR1,1,GR1", "\tJUMP\tLOOP", "\tEND",
};

TEST_F(CliRun, OutputLinesGoToStandardOutputInUtf8)
{
    const auto r = Run({Source({"H\tSTART", "\tOUT\tMSG,LEN", "\tSVC\t5", "\tOUT\tMSG,ZERO", "\tRET",
                                "MSG\tDC\t'Hi!',#000A,#FFB1", "LEN\tDC\t5", "ZERO\tDC\t0", "\tEND"})});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Hi!\\0A\\B1\nｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 5\n\n");
    EXPECT_EQ(r.err, kEndMessage + "\n");
}

TEST_F(CliRun, InReadsStandardInputLineByLine)
{
    const auto r = Run({Source(kEcho)}, "one\r\ntwo\n\nlast");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "one\ntwo\n\nlast\n");
}

TEST_F(CliRun, InputInUtf8IsConvertedOtherBytesKept)
{
    // "あ" in UTF-8 and the same character as code page 932 bytes give the same words.
    const auto r = Run({Source(kEcho)}, "\xE3\x81\x82\n\x82\xA0\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\\82\\A0\n\\82\\A0\n");
}

TEST_F(CliRun, HalfWidthKatakanaInputThatIsAlsoUtf8StaysAsWritten)
{
    // "ﾏｲﾅｽ" in code page 932 reads as UTF-8 too; from a file and from standard input alike.
    WriteBytes(dir / "in.txt", "\xCF\xB2\xC5\xBD\r\n");
    const std::string echoed = "\\CF\\B2\\C5\\BD\n";
    EXPECT_EQ(Run({"--in", (dir / "in.txt").string(), Source(kEcho)}).out, echoed);
    EXPECT_EQ(Run({Source(kEcho)}, "\xCF\xB2\xC5\xBD\r\n").out, echoed);
    // The same text in UTF-8 gives the same bytes.
    EXPECT_EQ(Run({Source(kEcho)}, "\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD\n").out, echoed);
}

TEST_F(CliRun, InReadsTheInputFileInsteadOfStandardInput)
{
    WriteBytes(dir / "in.txt", "a\r\n\xE3\x81\x82\nc");
    const auto r = Run({"--in", (dir / "in.txt").string(), Source(kEcho)}, "not this\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "a\n\\82\\A0\nc\n");
}

TEST_F(CliRun, MissingInputFileIsReportedAndGivesEndOfInput)
{
    const std::string missing = (dir / "missing.txt").string();
    const auto r = Run({"--in", missing, Source(kEcho)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, FormatMessage(MSG_IN_FILE_OPEN, missing) + "\n" + kEndMessage + "\n");
}

TEST_F(CliRun, OutFileGetsCodePage932WithCrLf)
{
    const fs::path out = dir / "out.txt";
    const auto r = Run({"--out", out.string(), Source(kEcho)}, "abc\nSVC\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ReadBytes(out), "abc\r\nSVC\r\n");

    const auto s = Run({"--out", out.string(), Source({"S\tSTART", "\tSVC\t3", "\tSVC\t#FFFF", "\tRET", "\tEND"})});
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(ReadBytes(out), Utf8ToCp932("ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 3\r\nｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 65535\r\n"));
    EXPECT_EQ(s.out, "ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 3\nｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 65535\n");
}

TEST_F(CliRun, UncreatableOutFileIsReportedAtEveryOutAndStandardOutputStillGetsLines)
{
    const std::string out = (dir / "no-dir" / "out.txt").string();
    const auto r = Run({"--out", out, Source(kEcho)}, "a\nb\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "a\nb\n");
    const std::string message = FormatMessage(MSG_OUT_FILE_CREATE, out) + "\n";
    EXPECT_EQ(r.err, message + message + kEndMessage + "\n");
}

TEST_F(CliRun, StateLineAndMemoryDumpFollowTheOutput)
{
    const auto r = Run({"--state", "--dump-memory", "FFFE:3", Source({"S\tSTART", "\tLAD\tGR1,5", "\tLAD\tGR7,#ABCD",
                                                                      "\tST\tGR1,#0000", "\tST\tGR7,#FFFE",
                                                                      "\tSVC\t3", "\tRET", "\tEND"})});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 3\n"
              "PR=0000 SP=0000 FR=0003 GR0=0000 GR1=0005 GR2=0000 GR3=0000 GR4=0000 GR5=0000 GR6=0000 GR7=ABCD\n"
              "FFFE ABCD\n"
              "FFFF 0000\n"
              "0000 0005\n");
}

TEST_F(CliRun, TraceWritesEachExecutedStatementToStandardError)
{
    const auto r = Run({"--trace", Source({"T\tSTART", "\tLAD\tGR1,1 ; one", "\tRET", "\tEND"})});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "0100:         LAD     GR1,1 ; one\n0102:         RET\n" + kEndMessage + "\n");
}

TEST_F(CliRun, MaxStepsStopsWithStatus3AndTheStateAfterThatStatement)
{
    const std::string source = Source(kEndless);
    const auto r = Run({"--max-steps", "6", "--state", "--trace", source});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "PR=0104 SP=FFFF FR=0000 GR0=0000 GR1=0003 GR2=0000 GR3=0000 GR4=0000 GR5=0000 GR6=0000 GR7=0000\n");
    EXPECT_EQ(Lines(r.err).size(), 6u);

    const auto zero = Run({"--max-steps", "0", "--state", source});
    EXPECT_EQ(zero.status, 3);
    EXPECT_EQ(zero.out.substr(0, 16), "PR=0100 SP=FFFF ");

    // A limit the program stays below changes nothing.
    const auto ends = Run({"--max-steps", "1000", Source(kEcho)}, "x\n");
    EXPECT_EQ(ends.status, 0);
    EXPECT_EQ(ends.out, "x\n");
}

TEST_F(CliRun, AssemblyErrorsExit1WithNothingOnStandardOutput)
{
    const auto r = Run({"--state", Source({"E\tSTART", "\tFOO\tGR1", "\tRET", "\tEND"})});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "ERROR #2: " + std::string(LoadString(ERR_BAD_OPERATION)) + "\n" +
                         FormatMessage(MSG_ASSEMBLE_ERRORS, 1) + "\n");
}

TEST_F(CliRun, SimulationErrorsExit2)
{
    // A jump into data: 2100.
    const auto bad = Run({"--state", Source({"J\tSTART", "\tJUMP\tDATA", "DATA\tDC\t5", "\tEND"})});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, std::string(LoadString(ERR_SIM_NOT_EXECUTABLE)) + "\n");
    EXPECT_EQ(bad.out.substr(0, 8), "PR=0102 ");

    // A program that overwrites its own next instruction: 2101.
    const auto overwritten =
        Run({Source({"W\tSTART", "\tLAD\tGR1,0", "\tST\tGR1,NEXT", "NEXT\tLAD\tGR2,1", "\tRET", "\tEND"})});
    EXPECT_EQ(overwritten.status, 2);
    EXPECT_EQ(overwritten.err, std::string(LoadString(ERR_SIM_CODE_OVERWRITTEN)) + "\n");
}

TEST_F(CliRun, WrongArgumentsExit64)
{
    const std::string source = Source(kEcho);
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", source},
        {source, source},
        {"--max-steps", source},
        {"--max-steps", "-1", source},
        {"--max-steps", "12x", source},
        // Blanks, signs and prefixes are no digits either.
        {"--max-steps", " -1", source},
        {"--max-steps", "+5", source},
        {"--max-steps", " 5", source},
        {"--max-steps", "5 ", source},
        {"--max-steps", "\t5", source},
        {"--back", "+1", source},
        {"--back", " 1", source},
        {"--dump-memory", "0x10:1", source},
        {"--dump-memory", " 100:1", source},
        {"--dump-memory", "+100:1", source},
        {"--dump-memory", "0100: 1", source},
        {"--dump-memory", "0100:-1", source},
        {"--dump-memory", "FFFF", source},
        {"--dump-memory", "10000:1", source},
        {"--dump-memory", "GG:1", source},
        {"--dump-memory", "0100:x", source},
        {"--in"},
        {source, "--out"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto r = Run(args);
        EXPECT_EQ(r.status, 64);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
}

TEST_F(CliRun, UnreadableSourceExits66)
{
    EXPECT_EQ(Run({(dir / "missing.asm").string()}).status, 66);
    EXPECT_EQ(Run({dir.string()}).status, 66);
}

TEST_F(CliRun, MillionLinesOfOutput)
{
    const std::vector<std::string> source = {
        "MANY\tSTART",
        "\tLAD\tGR2,0",
        "OUTER\tLAD\tGR3,0",
        "INNER\tOUT\tMSG,LEN",
        "\tLAD\tGR3,1,GR3",
        "\tCPA\tGR3,=1000",
        "\tJNZ\tINNER",
        "\tLAD\tGR2,1,GR2",
        "\tCPA\tGR2,=1000",
        "\tJNZ\tOUTER",
        "\tRET",
        "MSG\tDC\t'LINE'",
        "LEN\tDC\t4",
        "\tEND",
    };
    const fs::path out = dir / "out.txt";
    const auto r = Run({"--out", out.string(), Source(source)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.size(), 5'000'000u);
    std::string expected;
    for (int i = 0; i < 1000; ++i) expected += "LINE\n";
    EXPECT_EQ(r.out.compare(0, expected.size(), expected), 0);
    EXPECT_EQ(r.out.compare(r.out.size() - expected.size(), expected.size(), expected), 0);
    EXPECT_EQ(fs::file_size(out), 6'000'000u);
}

TEST_F(CliRun, BinaryStandardInputIsReadSafely)
{
    // Bytes of every value, NULs included, short lines and one line far longer than 80.
    std::string input;
    unsigned state = 12345;
    for (int i = 0; i < 200'000; ++i) {
        state = state * 1103515245u + 12345u;
        const char c = static_cast<char>(state >> 16);
        input.push_back(i > 50'000 && i < 150'000 && c == '\n' ? 'x' : c);
    }
    size_t lines = 0;
    for (char c : input) lines += c == '\n';
    if (input.back() != '\n') ++lines;

    const auto r = Run({Source(kEcho)}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Lines(r.out).size(), lines);
}

// Whether the process has its own handler for SIGINT in place.
bool CatchesInterrupt(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGINT - 1)) & 1;
    return false;
}

// Ctrl+C is the Stop command, also while IN waits for a line that never comes or never
// ends: the run ends with status 4, and an IN it interrupted has not happened.
TEST_F(CliRun, InterruptStopsTheRunWithStatus4)
{
    // #0100 IN BUF,BLEN   #010C LOOP JUMP LOOP
    const std::string source =
        Source({"I\tSTART", "\tIN\tBUF,BLEN", "LOOP\tJUMP\tLOOP", "BUF\tDS\t80", "BLEN\tDS\t1", "\tEND"});
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* name;
        const char* stdinFile;  // null: a pipe the test holds open
        const char* input;      // written into that pipe first
        std::string inOption;   // the --in file, if any
        const char* pr;
    } cases[] = {
        {"a line read, then an endless loop", nullptr, "x\n", "", "010C"},
        {"standard input with no line yet", nullptr, "", "", "0100"},
        {"standard input with half a line", nullptr, "half", "", "0100"},
        {"standard input without line ends", "/dev/zero", "", "", "0100"},
        {"an input file without line ends", nullptr, "", "/dev/zero", "0100"},
        {"an input pipe nobody writes to", nullptr, "", fifo.string(), "0100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int toChild[2];
        ASSERT_EQ(::pipe(toChild), 0);
        ASSERT_EQ(::write(toChild[1], c.input, std::strlen(c.input)), static_cast<ssize_t>(std::strlen(c.input)));
        const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
        std::vector<std::string> args = {ZELKORA_CLI, "run", "--state", source};
        if (!c.inOption.empty()) args.insert(args.begin() + 2, {"--in", c.inOption});
        std::vector<char*> argv = Argv(args);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(c.stdinFile ? ::open(c.stdinFile, O_RDONLY) : toChild[0], 0);
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            ::close(toChild[1]);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(toChild[0]);
        // Once the handler is in place, one Ctrl+C; should the program not end, the test
        // fails instead of waiting forever.
        int raw = 0;
        bool interrupted = false, ended = false;
        for (int tick = 0; tick < 3000 && !ended; ++tick) {
            if (!interrupted && CatchesInterrupt(pid)) interrupted = ::kill(pid, SIGINT) == 0;
            ended = ::waitpid(pid, &raw, WNOHANG) == pid;
            if (!ended) ::usleep(10'000);
        }
        if (!ended) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &raw, 0);
        }
        ::close(toChild[1]);

        ASSERT_TRUE(ended);
        EXPECT_EQ(StatusOf(raw), 4);
        EXPECT_EQ(ReadBytes(out).substr(0, 8), std::string("PR=") + c.pr + " ");
        EXPECT_EQ(ReadBytes(err), std::string(LoadString(MSG_STOPPED_BY_USER)) + "\n");
    }
}
}  // namespace

TEST_F(CliRun, AStandardOutputThatCannotBeWrittenEndsTheRunWithStatus74)
{
    // A program that writes for ever: the step limit only keeps a broken runner from hanging the test.
    const auto flood = Run({"--max-steps", "50000000",
                            Source({"F\tSTART", "L\tOUT\tMSG,LEN", "\tJUMP\tL", "MSG\tDC\t'flood'", "LEN\tDC\t5", "\tEND"})},
                           "", "/dev/full");
    EXPECT_EQ(flood.status, 74);
    EXPECT_NE(flood.err.find("cannot write standard output"), std::string::npos) << flood.err;

    // A little output fails only when it is written out at the end.
    const auto little = Run({Source({"H\tSTART", "\tOUT\tMSG,LEN", "\tRET", "MSG\tDC\t'Hi'", "LEN\tDC\t2", "\tEND"})},
                            "", "/dev/full");
    EXPECT_EQ(little.status, 74);
    EXPECT_NE(little.err.find("cannot write standard output"), std::string::npos) << little.err;
}

// The exam's trace table: one row per statement with the registers after it, checked by hand.
TEST_F(CliRun, TraceTableHasOneRowPerStatementWithTheRegistersAfterIt)
{
    const std::vector<std::string> countdown = {"T START", " LAD GR1,3", "LOOP SUBA GR1,ONE", " JNZ LOOP",
                                                " RET",    "ONE DC 1",   " END"};
    const std::string table = (dir / "trace.csv").string();
    const auto r = Run({"--trace-table", table, Source(countdown)});
    EXPECT_EQ(r.status, 0);
    const std::string zeros6 = "#0000,#0000,#0000,#0000,#0000,#0000";
    auto row = [&](const char* head, const char* gr1, const char* tail) {
        return std::string(head) + ",#0000," + gr1 + "," + zeros6 + "," + tail + "\r\n";
    };
    const std::string expected = "step,address,source,GR0,GR1,GR2,GR3,GR4,GR5,GR6,GR7,SP,FR\r\n" +
                                 row("1,#0100,\" LAD GR1,3\"", "#0003", "#FFFF,---") +
                                 row("2,#0102,\"LOOP SUBA GR1,ONE\"", "#0002", "#FFFF,---") +
                                 row("3,#0104, JNZ LOOP", "#0002", "#FFFF,---") +
                                 row("4,#0102,\"LOOP SUBA GR1,ONE\"", "#0001", "#FFFF,---") +
                                 row("5,#0104, JNZ LOOP", "#0001", "#FFFF,---") +
                                 row("6,#0102,\"LOOP SUBA GR1,ONE\"", "#0000", "#FFFF,--Z") +
                                 row("7,#0104, JNZ LOOP", "#0000", "#FFFF,--Z") +
                                 row("8,#0106, RET", "#0000", "#0000,--Z");
    EXPECT_EQ(ReadBytes(table), expected);

    // The desktop program's table of the same run is the same, quotes and Japanese included.
    std::vector<std::string> quoted = {"Q START", " LAD GR1,1 ; \"引用\", そして", " RET", " END"};
    std::string source;
    for (std::string& line : quoted) source += (line = Utf8ToCp932(line)) + "\n";
    EXPECT_EQ(Run({"--trace-table", table, Source(quoted)}).status, 0);
    CTestDocument t;
    ASSERT_TRUE(t.Load(source));
    t.doc.Run(RUN_GO);
    EXPECT_EQ(t.doc.GetTraceTable(), ReadBytes(table));
    EXPECT_NE(ReadBytes(table).find(",\" LAD GR1,1 ; \"\"引用\"\", そして\","), std::string::npos);
}

TEST_F(CliRun, BackTakesStatementsBackAndForwardGoesOnAsTheRunDid)
{
    // Back from a step-limited run: the state of the shorter run.
    const std::string endless = Source(kEndless, "endless.asm");
    const auto shorter = Run({"--max-steps", "90", "--state", endless});
    const auto back = Run({"--max-steps", "100", "--back", "10", "--state", endless});
    EXPECT_EQ(back.status, 3);
    EXPECT_EQ(back.out, shorter.out);

    // Forward after back: the same state and memory; the output lines of the steps
    // taken back come again, and no input line is read twice.
    const std::string echo = Source(kEcho);
    const auto whole = Run({"--state", "--dump-memory", "0100:100", echo}, "one\ntwo\nthree\n");
    const auto again = Run({"--back", "7", "--forward", "--state", "--dump-memory", "0100:100", echo}, "one\ntwo\nthree\n");
    EXPECT_EQ(again.status, 0);
    const std::string state = whole.out.substr(whole.out.find("PR="));
    EXPECT_EQ(again.out, "one\ntwo\nthree\nthree\n" + state);

    // Further back than the run went: back to its start, and said so.
    const auto all = Run({"--back", "1000", "--state", echo}, "x\n");
    EXPECT_EQ(all.out, "x\nPR=0100 SP=FFFF FR=0000 GR0=0000 GR1=0000 GR2=0000 GR3=0000 GR4=0000 GR5=0000 GR6=0000 GR7=0000\n");
    EXPECT_NE(all.err.find("only 9 of 1000 statements could be taken back"), std::string::npos) << all.err;
}

// --forward goes on with what --back took back, within the same --max-steps: the end is the
// run's without --back, and --stats counts the statements of both runs.
TEST_F(CliRun, ForwardSharesTheStepLimitWithTheFirstRun)
{
    const std::string endless = Source(kEndless, "endless.asm");
    const std::string ends = Source({"H\tSTART", "\tLAD\tGR1,1", "\tRET", "\tEND"}, "ends.asm");
    const std::string tenSteps = Run({"--max-steps", "10", "--state", endless}).out;
    const std::string ended = "PR=0000 SP=0000 FR=0000 GR0=0000 GR1=0001 GR2=0000 GR3=0000 GR4=0000 GR5=0000 GR6=0000 GR7=0000\n";
    const std::string notExecutable(LoadString(ERR_SIM_NOT_EXECUTABLE));
    struct Case {
        std::vector<std::string> args;
        std::string source, state;
        int status;
        const char* statements;  // as --stats counts them
    } cases[] = {
        {{"--max-steps", "10", "--back", "4", "--forward"}, endless, tenSteps, 3, "statements: 14\n"},
        {{"--max-steps", "10", "--back", "0", "--forward"}, endless, tenSteps, 3, "statements: 10\n"},
        {{"--max-steps", "10", "--back", "10", "--forward"}, endless, tenSteps, 3, "statements: 20\n"},
        {{"--back", "0", "--forward"}, ends, ended, 0, "statements: 2\n"},
        {{"--max-steps", "1000", "--back", "5", "--forward"}, ends, ended, 0, "statements: 4\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--state", "--stats", c.source});
        const auto r = Run(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.state);
        EXPECT_NE(r.err.find(c.statements), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(notExecutable), std::string::npos) << r.err;
    }
}

// The table says what the run finally did: the rows of statements taken back leave it,
// and going on again adds the rows of the run without --back.
TEST_F(CliRun, TraceTableHoldsWhatTheRunFinallyDid)
{
    const std::string endless = Source(kEndless, "endless.asm");
    const fs::path table = dir / "t.csv", expected = dir / "expected.csv";
    const struct Case {
        std::vector<std::string> args, same;  // the same table as with same
    } cases[] = {
        {{"--max-steps", "100", "--back", "7"}, {"--max-steps", "93"}},
        {{"--max-steps", "100", "--back", "7", "--forward"}, {"--max-steps", "100"}},
        {{"--max-steps", "100", "--back", "100"}, {"--max-steps", "0"}},
        {{"--max-steps", "100", "--back", "0"}, {"--max-steps", "100"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> args = c.args, same = c.same;
        args.insert(args.end(), {"--trace-table", table.string(), endless});
        same.insert(same.end(), {"--trace-table", expected.string(), endless});
        Run(args);
        Run(same);
        EXPECT_EQ(ReadBytes(table), ReadBytes(expected));
    }
}

// However the name is written, the table never takes the place of the source or the input.
TEST_F(CliRun, TraceTableRefusesToReplaceAFileTheRunReads)
{
    const std::string source = Source(kEcho);
    const std::string bytes = ReadBytes(source);
    WriteBytes(dir / "in.txt", "line\n");
    fs::create_symlink(source, dir / "link.asm");
    fs::create_directory(dir / "sub");
    const std::vector<std::vector<std::string>> cases = {
        {"--trace-table", source, source},
        {"--trace-table", (dir / "link.asm").string(), source},
        {"--trace-table", (dir / "sub" / ".." / "prog.asm").string(), source},
        {"--in", (dir / "in.txt").string(), "--trace-table", (dir / "." / "in.txt").string(), source},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto r = Run(args);
        EXPECT_EQ(r.status, 64);
        EXPECT_NE(r.err.find("is the same file as"), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(source), bytes);
        EXPECT_EQ(ReadBytes(dir / "in.txt"), "line\n");
    }
}

// A table that cannot be written in full leaves no part of itself: the file that had
// the name keeps it, and no temporary file stays.
TEST_F(CliRun, ATraceTableThatCannotBeWrittenLeavesNothingHalfWritten)
{
    const std::string endless = Source(kEndless, "endless.asm");
    const fs::path table = dir / "t.csv";
    WriteBytes(table, "earlier\n");
    fileSizeLimit = 1 << 20;
    const auto r = Run({"--max-steps", "100000", "--trace-table", table.string(), endless});
    fileSizeLimit = 0;
    EXPECT_EQ(r.status, 74);
    EXPECT_NE(r.err.find("cannot write " + table.string()), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(table), "earlier\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"endless.asm", "stderr.txt", "stdin.bin", "stdout.txt", "t.csv"}));

    EXPECT_EQ(Run({"--max-steps", "100000", "--trace-table", "/dev/full", endless}).status, 74);
}

TEST_F(CliRun, BackAndTraceTableOptionsAreChecked)
{
    const std::string echo = Source(kEcho);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--back", echo}, {"--back", "-1", echo}, {"--forward", echo}, {"--trace-table", echo}})
        EXPECT_EQ(Run(args).status, 64) << args[0] << " " << args[1];
    const auto r = Run({"--trace-table", (dir / "missing" / "t.csv").string(), echo});
    EXPECT_EQ(r.status, 74);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);
}
