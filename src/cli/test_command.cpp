// zelkora-cli test [--csv FILE] [--junit FILE] [--jobs N] TESTFILE FILE.asm|FOLDER...
// Runs every case of a test file against every program, in this one process, on all cores.
#include <signal.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>
#include "cli/cli_util.h"
#include "cli/commands.h"
#include "grading/grade.h"
#include "grading/report.h"

namespace {
std::atomic<bool> g_interrupted{false};
extern "C" void OnTestInterrupt(int) { g_interrupted.store(true); }

constexpr int EXIT_TEST_FAILED = 1, EXIT_BAD_TEST_FILE = 65;

struct TestOptions {
    std::string testFile, csv, junit;
    std::vector<std::string> paths;
    unsigned jobs = 0;  // 0: one a core
};

int ParseTestOptions(int argc, char** argv, TestOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc && *argv[i + 1] ? argv[++i] : nullptr; };
        if (std::strcmp(arg, "--csv") == 0 || std::strcmp(arg, "--junit") == 0) {
            const char* file = value();
            if (!file) return UsageError("--csv and --junit need a file name");
            (arg[2] == 'c' ? options.csv : options.junit) = file;
        } else if (std::strcmp(arg, "--jobs") == 0) {
            const char* n = value();
            if (!n || std::strspn(n, "0123456789") != std::strlen(n) || std::strlen(n) > 3 || std::atoi(n) < 1)
                return UsageError("--jobs needs a number from 1 to 999");
            options.jobs = static_cast<unsigned>(std::atoi(n));
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return UsageError("unknown option for test");
        } else if (options.testFile.empty()) {
            options.testFile = arg;
        } else {
            options.paths.emplace_back(arg);
        }
    }
    if (options.testFile.empty()) return UsageError("no test file given");
    if (options.paths.empty()) return UsageError("no program or folder given");
    return 0;
}

bool IsSource(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".asm";
}

// The programs named: files as given, folders by the .asm files in them and below, in order.
std::vector<std::string> CollectPrograms(const std::vector<std::string>& paths)
{
    namespace fs = std::filesystem;
    std::vector<std::string> programs;
    for (const auto& path : paths) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            programs.push_back(path);
            continue;
        }
        std::vector<std::string> found;
        for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error))
            if (IsSource(it->path()) && !it->is_directory(error)) found.push_back(it->path().string());
        std::sort(found.begin(), found.end());
        programs.insert(programs.end(), found.begin(), found.end());
    }
    return programs;
}

bool WriteReport(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file && std::fclose(file) != 0) written = false;
    if (!written) std::fprintf(stderr, "zelkora-cli: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return written;
}

// The test file's input files are named relative to it.
ReadNamedFile BesideTestFile(const std::string& testFile)
{
    const std::filesystem::path folder = std::filesystem::path(testFile).parent_path();
    return [folder](const std::string& name, std::string& bytes, std::string& reason) {
        const std::filesystem::path path(name);
        return ReadFileBytes((path.is_absolute() ? path : folder / path).string(), bytes, reason);
    };
}
}  // namespace

int TestCommand(int argc, char** argv)
{
    TestOptions options;
    if (const int status = ParseTestOptions(argc, argv, options)) return status;

    CTestSuite suite;
    {
        std::string bytes, reason;
        if (!ReadFileBytes(options.testFile, bytes, reason)) {
            std::fprintf(stderr, "zelkora-cli: cannot read %s: %s\n", options.testFile.c_str(), reason.c_str());
            return EXIT_NO_INPUT;
        }
        CTestFileError error;
        if (!ParseTestSuite(bytes, BesideTestFile(options.testFile), suite, error)) {
            if (error.line > 0)
                std::fprintf(stderr, "zelkora-cli: %s:%d: %s\n", options.testFile.c_str(), error.line,
                             error.message.c_str());
            else
                std::fprintf(stderr, "zelkora-cli: %s: %s\n", options.testFile.c_str(), error.message.c_str());
            return error.unreadable ? EXIT_NO_INPUT : EXIT_BAD_TEST_FILE;
        }
    }

    const std::vector<std::string> programs = CollectPrograms(options.paths);
    std::vector<CSubmissionResult> results(programs.size());
    std::vector<char> done(programs.size(), 0), unreadable(programs.size(), 0);
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; !g_interrupted.load() && (i = next.fetch_add(1)) < programs.size();) {
            std::string bytes, reason;
            if (ReadFileBytes(programs[i], bytes, reason)) {
                results[i] = GradeSubmission(programs[i], bytes, suite, &g_interrupted);
            } else {
                results[i] = UnreadableSubmission(programs[i], reason, suite);
                unreadable[i] = 1;
            }
            done[i] = 1;
        }
    };

    struct sigaction action {};
    action.sa_handler = OnTestInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t jobs = std::min<size_t>(options.jobs ? options.jobs : cores, std::max<size_t>(1, programs.size()));
    std::vector<std::thread> workers;
    for (size_t j = 1; j < jobs; ++j) workers.emplace_back(work);
    work();
    for (auto& worker : workers) worker.join();
    std::signal(SIGINT, SIG_DFL);

    // Interrupted: the report of what was done, a program cut short shown as such.
    std::vector<CSubmissionResult> reported;
    bool anyUnreadable = false;
    for (size_t i = 0; i < programs.size(); ++i) {
        if (!done[i]) continue;
        reported.push_back(std::move(results[i]));
        anyUnreadable |= unreadable[i] != 0;
    }
    COutputBuffer out(stdout);
    out.Append(TextReport(reported, isatty(STDOUT_FILENO) == 1));
    bool written = true;
    if (!options.csv.empty()) written &= WriteReport(options.csv, CsvReport(reported));
    if (!options.junit.empty()) written &= WriteReport(options.junit, JUnitReport(reported));

    const CClassTotals totals = SumResults(reported);
    int status = totals.passedSubmissions == totals.submissions ? 0 : EXIT_TEST_FAILED;
    if (anyUnreadable) status = EXIT_NO_INPUT;
    if (g_interrupted.load()) status = 4;
    if (!written) status = EXIT_IO_ERROR;
    return FinishOutput(out, status);
}
