// The sample programs in examples/: each is a clean CR LF source that assembles
// without errors, and running it gives the output its header comment promises.
#include "file_bytes.h"
#include <gtest/gtest.h>

#include "assemble_lines.h"
#include "test_names.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <sys/wait.h>
#include "assembler/assembler.h"

namespace {
namespace fs = std::filesystem;

fs::path ExamplesDir()
{
    return fs::path(ZELKORA_SOURCE_DIR) / "examples";
}

std::vector<std::string> ExampleNames()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ExamplesDir(), ec))
        if (entry.is_regular_file() && entry.path().extension() == ".asm") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs a command through the shell and returns its standard output and exit status.
std::string Capture(const std::string& command, int& status)
{
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

class Example : public ::testing::TestWithParam<std::string> {
protected:
    fs::path Path() const { return ExamplesDir() / (GetParam() + ".asm"); }
};

TEST_P(Example, AssemblesWithoutErrors)
{
    CAssembler assembler;
    const bool ok = AssembleLines(assembler, SplitSourceLines(ReadBytes(Path())));
    std::string errors;
    for (const auto& error : assembler.GetErrors()) errors += error->GetText() + "\n";
    EXPECT_TRUE(ok) << errors;
    int starts = 0, ends = 0;
    for (const auto& statement : assembler.GetProgram()) {
        starts += statement->GetOperation() == "START";
        ends += statement->GetOperation() == "END";
    }
    EXPECT_EQ(starts, ends);
    EXPECT_GT(assembler.GetProgram().GetSize(), 0u);
}

// Sources are saved as the editor saves them: CR LF line ends, and kept to ASCII so
// that they read the same in any code page. Each starts with a comment that says
// what it shows.
TEST_P(Example, IsCrLfAsciiTextWithHeaderComment)
{
    const std::string text = ReadBytes(Path());
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text[0], ';') << "no header comment";
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << "the last line has no line end";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        ASSERT_LT(c, 0x80) << "non-ASCII byte at offset " << i;
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at offset " << i;
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at offset " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, Example, ::testing::ValuesIn(ExampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return ReadableName(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Example);

TEST(Examples, TheSamplesAreThere)
{
    const std::vector<std::string> names = ExampleNames();
    for (const char* required : {"hello", "sum", "subroutine", "literals", "echo", "twoblocks"})
        EXPECT_NE(std::find(names.begin(), names.end(), required), names.end()) << required << ".asm is missing";
}

// What each program prints, and the part of the final state that holds its result.
struct ExpectedRun {
    const char* name;
    const char* input;  // lines for IN, or null for none
    const char* output;
    const char* state;  // a piece of the --state line, or null
};

const ExpectedRun kRuns[] = {
    {"hello", nullptr, "Hello, COMET II!\n", nullptr},
    {"sum", nullptr, "", "GR0=00C8"},
    {"subroutine", nullptr, "casl ii: Call And Return\nCASL II: CALL AND RETURN\n", "GR2=0018"},
    {"literals", nullptr, "F?\nOK\n|\n", nullptr},
    {"echo", "first line\r\n\r\nlast, no line end", "first line\n\nlast, no line end\n", "GR1=FFFF"},
    {"twoblocks", nullptr, "*\n**\n***\n****\n*****\n", nullptr},
    {"mult", nullptr, "", "GR0=159F"},
    {"decimal", nullptr, "0\n7\n-7\n1234\n32767\n-32768\n10000\n", nullptr},
};

void PrintTo(const ExpectedRun& run, std::ostream* os)
{
    *os << run.name;
}

class ExampleRun : public ::testing::TestWithParam<ExpectedRun> {};

TEST_P(ExampleRun, PrintsWhatItPromisesAndEndsNormally)
{
    const ExpectedRun& run = GetParam();
    std::string inputOption = "--in /dev/null";
    fs::path inputPath;
    if (run.input) {
        inputPath = fs::temp_directory_path() / ("zelkora_example_" + std::string(run.name) + ".txt");
        std::ofstream(inputPath, std::ios::binary) << run.input;
        inputOption = "--in '" + inputPath.string() + "'";
    }
    const std::string command = std::string("'") + ZELKORA_CLI + "' run --state --max-steps 1000000 " + inputOption +
                                " '" + (ExamplesDir() / (std::string(run.name) + ".asm")).string() + "' </dev/null";
    int status = 0;
    const std::string out = Capture(command, status);
    if (!inputPath.empty()) fs::remove(inputPath);

    EXPECT_EQ(status, 0) << "the program did not end with PR = #0000";
    const size_t stateAt = out.rfind("PR=");
    ASSERT_NE(stateAt, std::string::npos) << out;
    EXPECT_EQ(out.substr(0, stateAt), run.output);
    const std::string state = out.substr(stateAt);
    EXPECT_EQ(state.substr(0, 15), "PR=0000 SP=0000");
    if (run.state) {
        EXPECT_NE(state.find(run.state), std::string::npos) << state;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleRun, ::testing::ValuesIn(kRuns),
                         [](const ::testing::TestParamInfo<ExpectedRun>& info) { return std::string(info.param.name); });

TEST(Examples, EverySampleHasAnExpectedRun)
{
    for (const std::string& name : ExampleNames())
        EXPECT_TRUE(std::any_of(std::begin(kRuns), std::end(kRuns), [&](const ExpectedRun& r) { return name == r.name; }))
            << name << ".asm has no entry in kRuns";
}
}  // namespace
