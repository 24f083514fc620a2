// Runs the assembler over the cases in testdata/asm (see the README there).
#include <gtest/gtest.h>

#include "assemble_lines.h"
#include "test_names.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include "assembler/assembler.h"
#include "text/codepage.h"

namespace {

struct GoldenCase {
    std::string name;      // unique test name
    std::string location;  // file:line of the "===" line
    std::vector<std::string> source;
    std::optional<std::vector<std::string>> words, errors, labels;
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.location;
}

std::string Hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

std::vector<GoldenCase> ReadCases(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<GoldenCase> cases;
    std::vector<std::string>* section = nullptr;  // where the next line goes
    bool inSource = false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.starts_with("=== ")) {
            GoldenCase c;
            c.name = ReadableName(file.stem().string() + " " + line.substr(4));
            c.location = file.filename().string() + ":" + std::to_string(number);
            cases.push_back(std::move(c));
            section = &cases.back().source;
            inSource = true;
        } else if (line.starts_with("--- ") && !cases.empty()) {
            GoldenCase& c = cases.back();
            const std::string kind = line.substr(4);
            auto& target = kind == "words" ? c.words : kind == "errors" ? c.errors : c.labels;
            if (kind != "words" && kind != "errors" && kind != "labels")
                throw std::runtime_error(c.location + ": unknown section " + kind);
            target.emplace();
            section = &*target;
            inSource = false;
        } else if (section && inSource) {
            section->push_back(line);
        } else if (section && !line.empty() && line[0] != '#') {
            section->push_back(line);
        }
    }
    return cases;
}

std::vector<GoldenCase> LoadAllCases()
{
    const std::filesystem::path dir = std::filesystem::path(ZELKORA_SOURCE_DIR) / "tests/core/testdata/asm";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    std::vector<GoldenCase> all;
    std::set<std::string> names;
    for (const auto& file : files)
        for (GoldenCase& c : ReadCases(file)) {
            if (!names.insert(c.name).second) c.name += "_at_" + c.location.substr(c.location.find(':') + 1);
            names.insert(c.name);
            all.push_back(std::move(c));
        }
    return all;
}

const std::vector<GoldenCase>& AllCases()
{
    static const std::vector<GoldenCase> cases = LoadAllCases();
    return cases;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

class GoldenTest : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, Assembles)
{
    const GoldenCase& c = GetParam();
    SCOPED_TRACE(c.location);
    ASSERT_TRUE(c.words || c.errors) << "a case needs words or errors";

    std::vector<std::string> source;
    for (const std::string& line : c.source) {
        bool ok = false;
        source.push_back(Utf8ToCp932(line, &ok));
        ASSERT_TRUE(ok) << "source line not representable in code page 932: " << line;
    }

    CAssembler assembler;
    const bool assembled = AssembleLines(assembler, source);

    std::vector<std::string> errors;
    for (const auto& error : assembler.GetErrors()) errors.push_back(error->GetText());
    if (c.errors) {
        EXPECT_FALSE(assembled);
        EXPECT_EQ(Join(*c.errors), Join(errors));
    } else {
        EXPECT_TRUE(assembled) << Join(errors);
    }

    if (c.words) {
        std::vector<std::string> image;
        auto add = [&image](WORD address, std::span<const WORD> words) {
            for (WORD w : words) image.push_back(Hex4(address++) + " " + Hex4(w));
        };
        for (const auto& statement : assembler.GetProgram()) add(statement->GetAddress(), statement->GetImage());
        for (const auto& literal : assembler.GetLiterals().GetLiterals())
            add(literal->GetAddress(), literal->GetWords());
        EXPECT_EQ(Join(*c.words), Join(image));

        // Loading writes the same words; everything else stays as it was.
        CMemory memory;
        for (int a = 0; a < CMemory::kSize; ++a) memory.SetWord(static_cast<WORD>(a), 0xDEAD);
        assembler.LoadProgram(memory);
        std::map<unsigned, unsigned> expected;
        for (const std::string& line : *c.words)
            expected[std::stoul(line.substr(0, 4), nullptr, 16)] = std::stoul(line.substr(5), nullptr, 16);
        int wrong = 0;
        for (int a = 0; a < CMemory::kSize && wrong < 5; ++a) {
            const auto it = expected.find(static_cast<unsigned>(a));
            const unsigned want = it == expected.end() ? 0xDEAD : it->second;
            if (memory.GetWord(static_cast<WORD>(a)) != want) {
                ++wrong;
                ADD_FAILURE() << "memory " << Hex4(a) << " holds " << Hex4(memory.GetWord(static_cast<WORD>(a)))
                              << ", expected " << Hex4(want);
            }
        }
        for (const auto& statement : assembler.GetProgram())
            EXPECT_TRUE(statement->VerifyCode(memory)) << statement->GetSourceLine();
    }

    if (c.labels) {
        std::vector<std::string> labels;
        for (const CLabel& label : assembler.GetLabels()) labels.push_back(label.GetName() + " " + Hex4(label.GetValue()));
        std::sort(labels.begin(), labels.end());
        EXPECT_EQ(Join(*c.labels), Join(labels));
    }
}

INSTANTIATE_TEST_SUITE_P(Asm, GoldenTest, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

TEST(GoldenData, IsPresent)
{
    EXPECT_GE(AllCases().size(), 40u);
}

}  // namespace
