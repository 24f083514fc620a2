// zelkora-cli run [--in FILE] [--out FILE] [--max-steps N] [--trace] [--trace-table FILE.csv]
//                 [--back N [--forward]] [--state] [--dump-memory HHHH:N] [--stats] FILE.asm
#include <signal.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include "cli/assemble_file.h"
#include "cli/cli_util.h"
#include "cli/commands.h"
#include "cli/trace_file.h"
#include "resources/message_ids.h"
#include "simulator/file_identity.h"
#include "simulator/line_reader.h"
#include "simulator/trace_table.h"
#include "simulator/zelkora_doc.h"
#include "text/text_encoding.h"

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void OnInterrupt(int) { g_interrupted = 1; }

struct RunOptions {
    std::string inFile, outFile, source, traceTable;
    std::uint64_t maxSteps = 0, back = 0;
    bool hasMaxSteps = false, trace = false, state = false, stats = false, dump = false;
    bool hasBack = false, forward = false;
    WORD dumpStart = 0;
    unsigned long dumpCount = 0;
};

// The headless host: messages and trace to standard error, program output to standard
// output, key input from standard input, Ctrl+C as the Stop command.
class CConsoleHost final : public IDocumentHost, public IStepObserver {
public:
    CConsoleHost(const RunOptions& options, COutputBuffer& out, COutputBuffer& err)
        : m_out(out), m_err(err), m_stdin(STDIN_FILENO)
    {
        m_settings.inDeviceType = options.inFile.empty() ? 0 : 1;
        m_settings.inFileName = options.inFile;
        m_settings.outDeviceType = options.outFile.empty() ? 0 : 1;
        m_settings.outFileName = options.outFile;
    }
    void Attach(CZelkoraDoc* doc) { m_pDoc = doc; }
    void SetTrace(bool on) { m_bTrace = on; }
    // The trace table's rows go to table, numbered from 1; a row that cannot be written ends the run.
    void SetTraceTable(CTraceTableWriter* table) { m_pTable = table; }
    // Steps taken back: the rows after them number on from the last one kept.
    void TakeBackRows(std::uint64_t count) { m_nRow -= count; }

    void ShowMessage(int messageId, MessageIcon, const std::string& text) override
    {
        if (messageId == MSG_ASSEMBLE_OK) return;  // success is the exit status here
        // The error lines come before the message that counts them.
        if (messageId == MSG_ASSEMBLE_ERRORS && m_pDoc)
            for (const auto& error : m_pDoc->GetAssembler().GetErrors()) {
                m_err.Append(error->GetText());
                m_err.Append("\n");
            }
        m_err.Append(text);
        m_err.Append("\n");
    }
    void Beep() override {}
    bool RunKeyInputDialog(std::string& line) override
    {
        // An interactive user sees the output so far before typing; input from a file
        // or a filled pipe waits for nobody, so the output stays in its blocks.
        if (m_stdin.MayBlock()) {
            m_out.Flush();
            m_err.Flush();
        }
        // Ctrl+C gives the read up, however long the line or the wait: the IN does not
        // happen and the run stops before it.
        const auto result = m_stdin.ReadLine(line, [] { return !g_interrupted; });
        if (result == CLineReader::Result::GaveUp) {
            if (m_pDoc) m_pDoc->Stop();
            return false;
        }
        if (result != CLineReader::Result::Line) return false;
        line = TextToCp932(line);
        return true;
    }
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    void OnOutputLine(std::string_view text) override
    {
        // Once standard output has failed, the run ends; nothing more is written.
        if (m_out.Failed()) {
            if (m_pDoc) m_pDoc->Stop(RunEnd::OutputFailed);
            return;
        }
        m_out.AppendCp932(text);
        m_out.Append("\n");
    }
    void EnterRunningState() override {}
    void LeaveRunningState() override {}
    void AdvanceRunIndicator() override {}
    void PumpMessages() override
    {
        if (g_interrupted && m_pDoc) m_pDoc->Stop();
    }
    bool OpenSimulatorWindow(CZelkoraDoc&) override { return true; }
    void CloseSimulatorWindow(CZelkoraDoc&) override {}

    void BeforeStep(const CMnemonic& statement) override
    {
        if (!m_bTrace) return;
        m_err.AppendHex4(statement.GetAddress());
        m_err.Append(": ");
        m_err.AppendCp932(statement.GetExpandedSource());
        m_err.Append("\n");
    }
    void AfterStep(const CMnemonic& statement, const CRegister& reg) override
    {
        if (m_pTable && !m_pTable->AddRow(++m_nRow, statement.GetAddress(), reg) && m_pDoc)
            m_pDoc->Stop(RunEnd::OutputFailed);
    }

private:
    COutputBuffer& m_out;
    COutputBuffer& m_err;
    CLineReader m_stdin;
    CDeviceSettings m_settings;
    CZelkoraDoc* m_pDoc = nullptr;
    bool m_bTrace = false;
    CTraceTableWriter* m_pTable = nullptr;
    std::uint64_t m_nRow = 0;
};

// Digits of the base and nothing else: strtoull alone would also take leading blanks, a
// sign (" -1" is then the largest number) and, in base 16, a "0x".
bool ParseUnsigned(const char* text, int base, unsigned long long max, unsigned long long& value)
{
    const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (!*text || text[std::strspn(text, digits)] != '\0') return false;
    errno = 0;
    value = std::strtoull(text, nullptr, base);
    return errno == 0 && value <= max;
}

bool ParseDump(const char* text, RunOptions& options)
{
    const char* colon = std::strchr(text, ':');
    if (!colon || colon == text || colon - text > 4) return false;
    unsigned long long start, count;
    if (!ParseUnsigned(std::string(text, colon).c_str(), 16, 0xFFFF, start)) return false;
    if (!ParseUnsigned(colon + 1, 10, 1ull << 32, count)) return false;
    options.dump = true;
    options.dumpStart = static_cast<WORD>(start);
    options.dumpCount = static_cast<unsigned long>(count);
    return true;
}

int ParseOptions(int argc, char** argv, RunOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        auto count = [&](std::uint64_t& into, bool& given) {
            const char* n = value();
            unsigned long long parsed;
            if (!n || !ParseUnsigned(n, 10, ~0ull, parsed)) return false;
            into = parsed;
            given = true;
            return true;
        };
        if (std::strcmp(arg, "--in") == 0 || std::strcmp(arg, "--out") == 0) {
            const char* file = value();
            if (!file || !*file) return UsageError("--in and --out need a file name");
            (arg[2] == 'i' ? options.inFile : options.outFile) = file;
        } else if (std::strcmp(arg, "--max-steps") == 0) {
            if (!count(options.maxSteps, options.hasMaxSteps)) return UsageError("--max-steps needs a number");
        } else if (std::strcmp(arg, "--dump-memory") == 0) {
            const char* range = value();
            if (!range || !ParseDump(range, options)) return UsageError("--dump-memory needs HHHH:N");
        } else if (std::strcmp(arg, "--back") == 0) {
            if (!count(options.back, options.hasBack)) return UsageError("--back needs a number");
        } else if (std::strcmp(arg, "--forward") == 0) {
            options.forward = true;
        } else if (std::strcmp(arg, "--trace-table") == 0) {
            const char* file = value();
            if (!file || !*file) return UsageError("--trace-table needs a file name");
            options.traceTable = file;
        } else if (std::strcmp(arg, "--trace") == 0) {
            options.trace = true;
        } else if (std::strcmp(arg, "--state") == 0) {
            options.state = true;
        } else if (std::strcmp(arg, "--stats") == 0) {
            options.stats = true;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return UsageError("unknown option for run");
        } else if (!options.source.empty()) {
            return UsageError("more than one source file given");
        } else {
            options.source = arg;
        }
    }
    if (options.source.empty()) return UsageError("no source file given");
    if (options.forward && !options.hasBack) return UsageError("--forward needs --back");
    return 0;
}

int ExitStatus(RunEnd end)
{
    switch (end) {
    case RunEnd::NotExecutable:
    case RunEnd::CodeOverwritten: return 2;
    case RunEnd::StepLimit: return 3;
    case RunEnd::UserStop: return 4;
    case RunEnd::OutputFailed: return EXIT_IO_ERROR;
    default: return 0;
    }
}

int TableError(const std::string& path, int error)
{
    std::fprintf(stderr, "zelkora-cli: cannot write %s: %s\n", path.c_str(), std::strerror(error));
    return EXIT_IO_ERROR;
}

void PrintState(const CRegister& reg, COutputBuffer& out)
{
    static const int kOrder[] = {REG_PR, REG_SP, REG_FR, 0, 1, 2, 3, 4, 5, 6, 7};
    bool first = true;
    for (int r : kOrder) {
        if (!first) out.Append(" ");
        first = false;
        out.Append(GetRegisterName(r));
        out.Append("=");
        out.AppendHex4(reg[r]);
    }
    out.Append("\n");
}
}  // namespace

int RunCommand(int argc, char** argv)
{
    RunOptions options;
    if (const int status = ParseOptions(argc, argv, options)) return status;
    // The table never takes the place of a file that the run reads or writes.
    if (!options.traceTable.empty())
        for (const std::string* other : {&options.source, &options.inFile, &options.outFile})
            if (!other->empty() && IsSameFile(options.traceTable, *other)) {
                std::fprintf(stderr,
                             "zelkora-cli: --trace-table %s is the same file as %s; the table would take its place\n",
                             options.traceTable.c_str(), other->c_str());
                return EXIT_USAGE;
            }

    COutputBuffer out(stdout), err(stderr);
    CConsoleHost host(options, out, err);
    CZelkoraDoc doc(host);
    host.Attach(&doc);

    {
        std::string reason;
        std::string text;
        if (!ReadFileBytes(options.source, text, reason)) {
            std::fprintf(stderr, "zelkora-cli: cannot read %s: %s\n", options.source.c_str(), reason.c_str());
            return EXIT_NO_INPUT;
        }
        doc.SetSourceText(TextToCp932(text));
        doc.SetSourcePath(options.source);
    }
    if (!doc.AssembleAndLoad()) return 1;

    CCometCore& core = doc.GetCore();
    // Only stepping back needs the history; without it a run is a little faster.
    core.SetHistoryEnabled(options.hasBack);
    CTraceFile tableFile;
    std::unique_ptr<CTraceTableWriter> table;
    if (!options.traceTable.empty()) {
        if (!tableFile.Open(options.traceTable)) return TableError(options.traceTable, tableFile.GetError());
        table = std::make_unique<CTraceTableWriter>(doc.GetProgram(), tableFile);
        table->Begin();
        host.SetTraceTable(table.get());
    }
    host.SetTrace(options.trace);
    if (options.trace || table) core.SetStepObserver(&host);
    if (options.hasMaxSteps) core.SetStepLimit(options.maxSteps);

    // Without SA_RESTART, so that Ctrl+C also ends a wait for input at once.
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    const auto started = std::chrono::steady_clock::now();
    // With --max-steps 0 nothing may run; executed counts the statements of both runs.
    const bool ran = !(options.hasMaxSteps && options.maxSteps == 0);
    std::uint64_t executed = 0;
    if (ran) {
        doc.Run(RUN_GO);
        executed = core.GetExecutedCount();
    }
    if (options.hasBack) {
        const std::uint64_t taken = doc.StepBack(options.back);
        // The table says what the run finally did: the rows of the statements taken back leave it.
        host.TakeBackRows(taken);
        if (table && !(table->Flush() && tableFile.DropRows(taken)) && tableFile.GetError() == 0)
            std::fprintf(stderr,
                         "zelkora-cli: %s is no regular file: the rows of the statements taken back stay in it\n",
                         options.traceTable.c_str());
        if (taken < options.back)
            std::fprintf(stderr, "zelkora-cli: only %llu of %llu statements could be taken back\n",
                         static_cast<unsigned long long>(taken), static_cast<unsigned long long>(options.back));
        // Going on again: input read before comes again from the history, not from the device.
        // Only what was taken back is left to do: with nothing taken back the run stays where
        // it ended (after the program's end PR is #0000, where a second run finds no statement).
        // The step limit counts the program's statements, so the two runs share it.
        if (options.forward && taken > 0 && !g_interrupted) {
            if (options.hasMaxSteps) core.SetStepLimit(options.maxSteps - (executed - taken));
            doc.Run(RUN_GO);
            executed += core.GetExecutedCount();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::signal(SIGINT, SIG_DFL);
    doc.CloseDeviceFiles();

    if (options.state) PrintState(core.GetRegisters(), out);
    if (options.dump) {
        WORD address = options.dumpStart;
        for (unsigned long i = 0; i < options.dumpCount; ++i, ++address) {
            out.AppendHex4(address);
            out.Append(" ");
            out.AppendHex4(core.GetMemory().GetWord(address));
            out.Append("\n");
        }
    }
    if (options.stats) {
        const std::uint64_t steps = executed;
        char line[160];
        std::snprintf(line, sizeof line, "statements: %llu\ntime: %.6f s\nstatements per second: %.0f\n",
                      static_cast<unsigned long long>(steps), seconds, seconds > 0 ? steps / seconds : 0.0);
        err.Append(line);
    }
    err.Flush();
    if (table && !(table->Flush() && tableFile.Commit())) return TableError(options.traceTable, tableFile.GetError());
    return FinishOutput(out, ran ? ExitStatus(core.GetLastRunEnd()) : 3);
}
