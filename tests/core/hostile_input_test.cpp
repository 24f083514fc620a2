// Hostile input: random bytes, very long lines, very many lines, NUL bytes and binary
// input for IN. Nothing may crash, every line must arrive as the line rules say, and
// memory and allocation work must stay within a fixed budget per line and per byte.
#include <gtest/gtest.h>
#include "temp_folder.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include "allocation_counter.h"
#include "recording_host.h"
#include "input_lines.h"
#include "known_text.h"
#include "simulator/line_reader.h"
#include "text/codepage.h"

namespace {
namespace fs = std::filesystem;

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

struct CHostileInput {
    const char* name;
    std::string bytes;
    // The lines IN stores, written down where their encoding matters; otherwise the lines
    // as they are (no line of these bytes is well-formed UTF-8 beyond ASCII: see below).
    std::vector<std::string> stored = {};
};

// Every known text as a line, each written twice: alone and after the one before it.
CHostileInput KnownTextLines()
{
    CHostileInput input{"known text of both encodings", ""};
    const CKnownText* previous = nullptr;
    for (const CKnownText& k : KnownTexts()) {
        input.bytes += k.bytes + "\n";
        input.stored.push_back(k.cp932);
        if (previous && previous->utf8 == k.utf8) {
            input.bytes += previous->bytes + k.bytes + "\r\n";
            input.stored.push_back(previous->cp932 + k.cp932);
        }
        previous = &k;
    }
    return input;
}

std::vector<CHostileInput> HostileInputs()
{
    std::string longLines, manyLines, nuls(3000, '\0');
    for (int i = 0; i < 12; ++i) {
        std::string line = RandomBytes(100'000, 100 + i);
        for (char& c : line)
            if (c == '\n') c = 'n';
        longLines += line + (i % 2 ? "\r\n" : "\n");
    }
    for (int i = 0; i < 200'000; ++i) manyLines += "line " + std::to_string(i) + (i % 3 ? "\n" : "\r\n");
    for (size_t i = 0; i < nuls.size(); i += 7) nuls[i] = '\n';
    return {
        {"random bytes", RandomBytes(400'000, 1)},
        {"lines of 100,000 bytes", longLines},
        {"200,000 lines", manyLines},
        {"NUL bytes", nuls},
        {"one line far beyond the longest kept", std::string(3 * CLineReader::kMaxLine + 5, 'x') + "\ntail"},
        {"carriage returns", "\r\r\r\n\r\n\r\rx\r\r\n\r"},
        {"code page 932, invalid and valid UTF-8", "\x82\xA0\xFF\xFE\n\xE3\x81\x82\n\xC0\x80\xED\xA0\x80\n\xF0\x9F\x98\x80",
         {"\x82\xA0\xFF\xFE", "\x82\xA0", "\xC0\x80\xED\xA0\x80", "?"}},
        KnownTextLines(),
        {"empty", ""},
    };
}

// What IN must store of an input.
std::vector<std::string> StoredLines(const CHostileInput& input)
{
    if (!input.stored.empty()) return input.stored;
    const std::vector<std::string> lines = ModelInputLines(input.bytes);
    // Kept as they are: no encoding can read them otherwise.
    for (const std::string& line : lines) {
        if (!IsValidUtf8(line)) continue;
        for (char c : line) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "a line of UTF-8: write down what IN stores";
    }
    return lines;
}

// Counts the lines it reads in GR3 and adds up the lengths that IN stored in GR4,
// until the end of input.
const char* const kCountLines =
    "COUNT\tSTART\n"
    "LOOP\tIN\tBUF,LEN\n"
    "\tLD\tGR1,LEN\n"
    "\tJMI\tFIN\n"
    "\tLAD\tGR3,1,GR3\n"
    "\tADDL\tGR4,LEN\n"
    "\tJUMP\tLOOP\n"
    "FIN\tRET\n"
    "BUF\tDS\t80\n"
    "LEN\tDS\t1\n"
    "\tEND\n";

// A view that only counts device lines, so that it holds no memory of its own.
class CCountingView : public CView {
public:
    void OnUpdate(CView*, int hint, CHintUpdateView*) override { lines += hint == HINT_DEVICE_OUTPUT; }
    const char* GetClassName() const override { return "CCountingView"; }
    int lines = 0;
};

// The statement index of a loaded program: one pointer per address, built at the first run.
constexpr size_t kIndexBytes = CMemory::kSize * sizeof(CMnemonic*);

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE((dir = folder.Path()).empty()); }

    // Runs kCountLines over the lines IN gets and checks what it stored.
    void CheckCountedRun(CTestDocument& t, const std::vector<std::string>& stored)
    {
        unsigned sum = 0;
        for (const std::string& line : stored) sum += static_cast<unsigned>(std::min<size_t>(line.size(), 80));
        EXPECT_TRUE(t.doc.Run(RUN_GO));
        EXPECT_EQ(t.doc.GetCore().GetLastRunEnd(), RunEnd::ProgramEnd);
        EXPECT_EQ(t.Reg()[3], static_cast<WORD>(stored.size()));
        EXPECT_EQ(t.Reg()[4], static_cast<WORD>(sum));
        EXPECT_EQ(t.Mem().GetWord(t.Label("LEN")), 0xFFFF);
        const auto& log = t.doc.GetDeviceLog();
        ASSERT_LE(log.size(), CZelkoraDoc::kDeviceLogLimit);
        EXPECT_EQ(log.back(), "INPUT  : <EOF>");
        if (stored.empty()) return;
        // Every line the log still holds is the line stored (compared in place: nothing is allocated).
        const size_t first = stored.size() - (log.size() - 1);
        for (size_t i = 0; i + 1 < log.size(); ++i) {
            const std::string_view entry = log[i];
            ASSERT_TRUE(entry.starts_with("INPUT  : ") && entry.substr(9) == stored[first + i]) << "line " << first + i;
        }
        // The buffer holds the last line's bytes, sign-extended (it is never cleared).
        const std::string& last = stored.back();
        for (size_t i = 0; i < std::min<size_t>(last.size(), 80); ++i)
            ASSERT_EQ(t.Mem().GetWord(static_cast<WORD>(t.Label("BUF") + i)), ByteToWord(last[i])) << i;
    }

    CTempFolder folder;
    fs::path dir;
};

TEST_F(HostileInput, InputFileOfAnyBytesIsReadLineByLine)
{
    for (const auto& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        const fs::path path = dir / "in.bin";
        std::ofstream(path, std::ios::binary) << input.bytes;

        CTestDocument t;
        CCountingView counter;
        t.doc.RemoveView(&t.view);
        t.doc.AddView(&counter);
        t.host.settings.inDeviceType = 1;
        t.host.settings.inFileName = path.string();
        // The step-back history keeps the lines read, within its own budget; here only the reading counts.
        t.doc.GetCore().SetHistoryEnabled(false);
        ASSERT_TRUE(t.Load(kCountLines));
        const std::vector<std::string> stored = StoredLines(input);

        CAllocationScope scope;
        CheckCountedRun(t, stored);
        // Only the lines in the device log stay; the file is never held whole.
        size_t logBytes = 0;
        for (const std::string& line : t.doc.GetDeviceLog()) logBytes += line.capacity() + 1 + sizeof line;
        EXPECT_LE(scope.PeakBytes(), kIndexBytes + 2 * logBytes + 2 * CLineReader::kMaxLine + 256 * 1024);
        EXPECT_EQ(counter.lines, static_cast<int>(stored.size()) + 1);
        EXPECT_TRUE(t.host.messages.size() == 1 && t.host.messages[0].id == 902);
    }
}

TEST_F(HostileInput, KeyInputOfAnyBytesIsStoredAsTyped)
{
    for (const auto& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        CTestDocument t;
        ASSERT_TRUE(t.Load(kCountLines));
        const std::vector<std::string> lines = ModelInputLines(input.bytes);
        for (const std::string& line : lines) t.host.keyLines.push_back(line);
        CheckCountedRun(t, lines);
    }
}
TEST_F(HostileInput, OutputFloodIsWrittenLineByLine)
{
    // 200,000 lines, far more than the device log keeps.
    const char* const flood =
        "FLOOD\tSTART\n"
        "\tLAD\tGR2,0\n"
        "LOOP\tOUT\tMSG,LEN\n"
        "\tLAD\tGR2,1,GR2\n"
        "\tCPL\tGR2,=50000\n"
        "\tJNZ\tLOOP\n"
        "\tLAD\tGR3,1,GR3\n"
        "\tLAD\tGR2,0\n"
        "\tCPA\tGR3,=4\n"
        "\tJNZ\tLOOP\n"
        "\tRET\n"
        "MSG\tDC\t'LINE',0\n"
        "LEN\tDC\t5\n"
        "\tEND\n";
    CTestDocument t;
    CCountingView counter;
    t.doc.RemoveView(&t.view);
    t.doc.AddView(&counter);
    t.host.settings.outDeviceType = 1;
    t.host.settings.outFileName = (dir / "out.txt").string();
    ASSERT_TRUE(t.Load(flood));
    // The step-back ring is taken once, before the run; output adds nothing to it.
    t.doc.GetCore().GetHistory().Attach(t.doc.GetCore().GetMemory());
    CAllocationScope scope;
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.doc.GetCore().GetLastRunEnd(), RunEnd::ProgramEnd);
    EXPECT_EQ(counter.lines, 200'000);
    EXPECT_EQ(t.doc.GetDeviceLog().size(), CZelkoraDoc::kDeviceLogLimit);
    EXPECT_EQ(t.doc.GetDeviceLog().back(), "OUTPUT : LINE\\00");
    EXPECT_EQ(fs::file_size(dir / "out.txt"), 200'000u * 9);
    // The document keeps only its log of the newest lines.
    EXPECT_LE(scope.PeakBytes(), kIndexBytes + 2 * CZelkoraDoc::kDeviceLogLimit * 64 + 256 * 1024);
}

// Random statements over a few labels: every program that assembles runs for a bounded
// number of statements in each run mode, whatever it does to itself.
TEST_F(HostileInput, RandomProgramsRunWithinTheStepLimit)
{
    static const char* const kOps[] = {"LD", "ST", "LAD", "ADDA", "ADDL", "SUBA", "SUBL", "AND", "OR", "XOR",
                                       "CPA", "CPL", "SLA", "SRA", "SLL", "SRL", "JPL", "JMI", "JNZ", "JZE",
                                       "JOV", "JUMP", "PUSH", "POP", "CALL", "RET", "SVC", "NOP", "IN", "OUT",
                                       "RPUSH", "RPOP", "DC", "DS"};
    static const char* const kAddresses[] = {"L0", "L1", "L2", "L3", "D0", "D1", "#0000", "#FFFF", "0",
                                             "65535", "=-1", "='AB'", "=#8000", "#0100", "L4"};
    std::mt19937 random(31337);
    auto pick = [&](auto& table) { return std::string(table[random() % std::size(table)]); };
    auto reg = [&] { return "GR" + std::to_string(random() % 8); };
    auto index = [&] { return random() % 3 ? std::string() : ",GR" + std::to_string(1 + random() % 7); };
    constexpr std::uint64_t kLimit = 20'000;
    int ran = 0;
    for (int program = 0; program < 400; ++program) {
        std::string source = "P\tSTART\n";
        const int statements = 3 + random() % 30;
        for (int i = 0; i < statements; ++i) {
            if (i % 6 == 0 && i / 6 < 5) source += "L" + std::to_string(i / 6);
            const std::string op = pick(kOps);
            source += "\t" + op + "\t";
            if (op == "RET" || op == "NOP" || op == "RPUSH" || op == "RPOP") {
            } else if (op == "POP") source += reg();
            else if (op == "IN" || op == "OUT") source += "D0,D1";
            else if (op == "DC") source += std::to_string(static_cast<int>(random() % 70000) - 35000) + ",'X'";
            else if (op == "DS") source += std::to_string(random() % 4);
            else if (op[0] == 'J' || op == "PUSH" || op == "CALL" || op == "SVC") source += pick(kAddresses) + index();
            else if (random() % 3 == 0 && op != "ST" && op != "LAD" && op[0] != 'S') source += reg() + "," + reg();
            else source += reg() + "," + pick(kAddresses) + index();
            source += "\n";
        }
        source += "D0\tDS\t80\nD1\tDC\t#00FF\n\tEND\n";

        CTestDocument t;
        t.doc.GetCore().SetStepLimit(kLimit);
        if (!t.Load(source)) continue;
        ++ran;
        for (int i = 0; i < 30; ++i) t.host.keyLines.push_back(RandomBytes(random() % 120, program * 100 + i));
        for (int mode : {RUN_GO, RUN_TRACE, RUN_PASS, RUN_TO_ADDRESS}) {
            SCOPED_TRACE(source);
            t.doc.ResetMachine();
            t.doc.Run(mode, static_cast<WORD>(random()));
            const CCometCore& core = t.doc.GetCore();
            ASSERT_LE(core.GetExecutedCount(), kLimit);
            ASSERT_NE(core.GetLastRunEnd(), RunEnd::None);
            if (core.GetLastRunEnd() == RunEnd::StepLimit) {
                ASSERT_EQ(core.GetExecutedCount(), kLimit);
            }
            if (core.GetLastRunEnd() == RunEnd::ProgramEnd) {
                ASSERT_EQ(t.Reg()[REG_PR], 0);
            }
            ASSERT_LE(t.doc.GetDeviceLog().size(), CZelkoraDoc::kDeviceLogLimit);
        }
    }
    EXPECT_GT(ran, 100);  // the generator makes mostly valid programs
}

// Assembling takes memory and allocation work in proportion to the source: four times the
// source takes at most about four times the memory held at once and four times the bytes
// allocated in all (a list copied over and over, or a line kept once per token, would show
// as sixteen times). Each source also stays within a fixed budget per line and per byte
// (an operand is cut into tokens of 16 bytes each, and a comma can end one).
TEST_F(HostileInput, AssemblyMemoryAndAllocationsAreLinearInTheSource)
{
    constexpr size_t kFixedBytes = size_t{1} << 20;
    const struct {
        const char* name;
        int n;  // the smaller size; the larger is four times as much
        std::string (*make)(int n);
    } sources[] = {
        {"empty lines", 50'000, [](int n) { return std::string(n, '\n'); }},
        {"comment lines", 50'000, [](int n) {
             std::string t = "P START\n";
             for (int i = 0; i < n; ++i) t += ";\n";
             return t + " END\n";
         }},
        {"wrong lines", 50'000, [](int n) { std::string t; for (int i = 0; i < n; ++i) t += " FOO\n"; return t; }},
        {"labels", 25'000, [](int n) {
             std::string t = "P START\n";
             for (int i = 0; i < n; ++i) t += "L" + std::to_string(i) + " NOP\n";
             return t + " END\n";
         }},
        {"literals", 25'000, [](int n) {
             std::string t = "P START\n";
             for (int i = 0; i < n; ++i) t += " LD GR1,='" + std::to_string(i) + "'\n";
             return t + " RET\n END\n";
         }},
        {"a constant of many strings", 10'000, [](int n) {
             std::string t = "P START\n DC 'A'";
             for (int i = 0; i < n; ++i) t += ",'AB'";
             return t + "\n END\n";
         }},
        {"a long string", 25'000, [](int n) {
             const std::string big(n, 'A');
             return "P START\n DC '" + big + "'\n LD GR1,='" + big + "'\n END\n";
         }},
        {"commas", 25'000, [](int n) { return "P START\n DC " + std::string(n, ',') + "\n END\n"; }},
        {"a long label", 25'000, [](int n) { return std::string(n, 'A') + " NOP\n"; }},
        {"random bytes", 250'000, [](int n) { return RandomBytes(n, 5); }},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        size_t peak[2], total[2];
        for (int k = 0; k < 2; ++k) {
            const std::string text = source.make(k == 0 ? source.n : 4 * source.n);
            size_t lines = 1;
            for (char c : text) lines += c == '\n';
            // In a thread of its own, so that nothing another test left behind counts.
            std::thread([&] {
                CAssembler assembler;
                CAllocationScope scope;
                assembler.AssembleSource(text);
                peak[k] = scope.PeakBytes();
                total[k] = scope.TotalBytes();
            }).join();
            // Bounds by the size of the source, with room for the first blocks of any table.
            EXPECT_LE(peak[k], 1024 * lines + 64 * text.size() + kFixedBytes) << text.size();
        }
        EXPECT_LE(peak[1], 5 * peak[0] + kFixedBytes);
        EXPECT_LE(total[1], 5 * total[0] + kFixedBytes);
    }
}
// zelkora-cli with standard input from a writer that never stops: standard output and
// error go to files in dir. Returns the exit status (128 + the signal when killed).
int RunCliOnEndlessInput(const fs::path& dir, std::vector<std::string> args, const std::string& chunk)
{
    args.insert(args.begin(), ZELKORA_CLI);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int toChild[2];
    if (::pipe(toChild) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(toChild[0], 0);
        ::close(toChild[1]);
        const int out = ::open((dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open((dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    auto previous = std::signal(SIGPIPE, SIG_IGN);
    // Writes until the program has gone and the pipe is closed.
    while (::write(toChild[1], chunk.data(), chunk.size()) > 0) {
    }
    ::close(toChild[1]);
    std::signal(SIGPIPE, previous);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(HostileInput, CliReadsAnEndlessInputStreamLineByLine)
{
    // Copies lines until the end of input, which never comes: the step limit ends it.
    const fs::path source = dir / "echo.asm";
    std::ofstream(source, std::ios::binary) << "ECHO\tSTART\nLOOP\tIN\tBUF,LEN\n\tOUT\tBUF,LEN\n\tJUMP\tLOOP\n"
                                               "BUF\tDS\t80\nLEN\tDS\t1\n\tEND\n";
    std::string chunk;
    for (int i = 0; i < 500; ++i) chunk += i % 2 ? std::string("text\n") : std::string("b\0\xFF\r\n", 5);
    EXPECT_EQ(RunCliOnEndlessInput(dir, {"run", "--max-steps", "30000", source.string()}, chunk), 3);
    const std::string out = ReadFile(dir / "stdout.txt");
    size_t lines = 0;
    for (char c : out) lines += c == '\n';
    EXPECT_EQ(lines, 10'000u);  // three statements a line
    EXPECT_EQ(out.substr(0, 13), "b\\00\\FF\ntext\n");
}

TEST_F(HostileInput, CliAssemblesAndRunsAnySourceFile)
{
    std::string manyLines, longLine = " DC '" + std::string(100'000, 'x') + "'\n";
    for (int i = 0; i < 200'000; ++i) manyLines += i % 2 ? " NOP\n" : "; c\r\n";
    const struct {
        const char* name;
        std::string text;
    } sources[] = {
        {"random bytes", RandomBytes(300'000, 9)},
        {"NUL bytes", std::string(10'000, '\0')},
        {"lines of 100,000 bytes", "P START\n" + longLine + longLine + RandomBytes(100'000, 10) + "\n END\n"},
        {"200,000 lines", "P START\n" + manyLines + " JUMP P\n END\n"},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        const fs::path path = dir / "hostile.asm";
        std::ofstream(path, std::ios::binary) << source.text;
        const int assembled = RunCliOnEndlessInput(dir, {"asm", path.string()}, "x\n");
        EXPECT_TRUE(assembled == 0 || assembled == 1) << assembled;
        EXPECT_EQ(RunCliOnEndlessInput(dir, {"asm", "--image", "--labels", path.string()}, "x\n"), assembled);
        const int ran = RunCliOnEndlessInput(dir, {"run", "--max-steps", "100000", path.string()}, "x\n");
        EXPECT_TRUE(ran >= 0 && ran <= 3) << ran;
        EXPECT_EQ(ran == 1, assembled == 1);
    }
}
}  // namespace
