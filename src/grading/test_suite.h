#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A teacher's test file: cases, each with the input a program reads, the output it must
// write and the values it must leave behind. Texts are code page 932 as the machine
// reads and writes them; names and messages for people are UTF-8.

// One value the program must leave: a register, or the word at a label or address
// with an offset. The value is resolved against each program's own labels.
struct CExpectedValue {
    int reg = -1;            // 0-10 (GR0-GR7, SP, PR, FR); -1: a memory word
    std::string base;        // the word's label or address, in the value syntax
    int offset = 0;          // added to the word's address
    std::string value;       // the value syntax (FR: flag letters O, S, Z or '-')
    std::string target;      // as written before '=', for messages (UTF-8)
    int line = 0;
};

struct CTestCase {
    std::string name;  // UTF-8
    int line = 0;      // where "case" stands
    std::vector<std::string> input;
    bool inputEnds = false;  // after the lines, the end of input; without it, reading more is a failure
    std::vector<std::string> output;
    bool noOutput = false;  // the program must write nothing ("no-output")
    // Output is checked when the case says what it must be: its lines, or none at all.
    bool ChecksOutput() const { return noOutput || !output.empty(); }
    bool ignoreTrailingSpaces = false;
    std::vector<CExpectedValue> expected;
    std::uint64_t steps = 1'000'000;
    int points = 1;
};

struct CTestSuite {
    std::vector<CTestCase> cases;
    int TotalPoints() const;
};

struct CTestFileError {
    int line = 0;             // 0: not about a line
    std::string message;      // UTF-8
    bool unreadable = false;  // a file it names could not be read (not a wrong test file)
};

// Reads a file a test file names (an input file), relative to the test file.
using ReadNamedFile = std::function<bool(const std::string& name, std::string& bytes, std::string& reason)>;

// Reads a test file's bytes (code page 932 or UTF-8, by the usual rule). False with the
// first error and its line when the file is not a test file this program can use.
bool ParseTestSuite(std::string_view bytes, const ReadNamedFile& readFile, CTestSuite& suite, CTestFileError& error);
