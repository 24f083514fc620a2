#include "grading/test_suite.h"

#include <algorithm>
#include <charconv>
#include <set>
#include "grading/expected_value.h"
#include "text/codepage.h"
#include "text/text_encoding.h"

int CTestSuite::TotalPoints() const
{
    int total = 0;
    for (const auto& c : cases) total += c.points;
    return total;
}

namespace {
constexpr std::uint64_t kMaxSteps = 1'000'000'000'000ull;
constexpr int kMaxPoints = 100'000;

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

template <typename T>
bool ParseNumber(std::string_view text, T min, T max, T& value)
{
    T parsed{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

// Reads one test file; each method handles one keyword and says what is wrong with it.
class CParser {
public:
    CParser(const ReadNamedFile& readFile, CTestSuite& suite, CTestFileError& error)
        : m_readFile(readFile), m_suite(suite), m_error(error)
    {
    }

    bool Line(int number, std::string_view line)
    {
        m_line = number;
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';') return true;
        // The keyword, then (for in and out) the text after one blank exactly as written.
        const size_t start = line.find_first_not_of(" \t");
        std::string_view rest = line.substr(start);
        const size_t blank = rest.find_first_of(" \t");
        const std::string_view keyword = rest.substr(0, blank);
        const std::string_view text = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        const std::string_view argument = Trim(text);

        if (keyword == "case") return Case(argument);
        if (keyword == "steps") return Steps(argument);
        if (keyword == "points") return Points(argument);
        if (keyword == "trailing-spaces") return TrailingSpaces(argument);
        if (keyword == "in") return Input(text);
        if (keyword == "in-file") return InputFile(argument);
        if (keyword == "eof") return End(argument);
        if (keyword == "out") return Output(text);
        if (keyword == "no-output") return NoOutput(argument);
        if (keyword == "expect") return Expect(argument);
        return Fail("知らない指定です: " + Cp932ToUtf8(keyword) +
                    " (case, in, in-file, eof, out, no-output, expect, steps, points, trailing-spaces のどれかで始めてください)");
    }

    bool Finish()
    {
        m_line = 0;
        if (m_suite.cases.empty()) return Fail("ケースがひとつもありません (case 名前 の行で始めてください)");
        return true;
    }

private:
    bool Fail(std::string message)
    {
        m_error.line = m_line;
        m_error.message = std::move(message);
        return false;
    }
    // The case the line belongs to; a line of a case before the first one is wrong.
    CTestCase* Current(const char* keyword)
    {
        if (m_suite.cases.empty()) {
            Fail(std::string(keyword) + " はケースの中に書いてください (先に case 名前 の行が要ります)");
            return nullptr;
        }
        return &m_suite.cases.back();
    }

    bool Case(std::string_view name)
    {
        if (name.empty()) return Fail("case の後にケースの名前を書いてください");
        CTestCase c = m_defaults;
        c.name = Cp932ToUtf8(name);
        c.line = m_line;
        if (!m_names.insert(c.name).second) return Fail("ケースの名前 \"" + c.name + "\" は前にも使われています");
        m_suite.cases.push_back(std::move(c));
        return true;
    }
    // Before the first case a setting is every case's default; in a case, its own.
    CTestCase& Settings() { return m_suite.cases.empty() ? m_defaults : m_suite.cases.back(); }

    bool Steps(std::string_view text)
    {
        if (!ParseNumber<std::uint64_t>(text, 1, kMaxSteps, Settings().steps))
            return Fail("steps には 1 から 1000000000000 までの整数を書いてください");
        return true;
    }
    bool Points(std::string_view text)
    {
        if (!ParseNumber<int>(text, 0, kMaxPoints, Settings().points))
            return Fail("points には 0 から 100000 までの整数を書いてください");
        return true;
    }
    bool TrailingSpaces(std::string_view text)
    {
        if (text != "ignore" && text != "exact") return Fail("trailing-spaces には ignore か exact を書いてください");
        Settings().ignoreTrailingSpaces = text == "ignore";
        return true;
    }
    bool AddInput(CTestCase& c, std::string line)
    {
        if (c.inputEnds) return Fail("eof の後に入力は書けません");
        c.input.push_back(std::move(line));
        return true;
    }
    bool Input(std::string_view text)
    {
        CTestCase* c = Current("in");
        return c && AddInput(*c, std::string(text));
    }
    bool InputFile(std::string_view name)
    {
        CTestCase* c = Current("in-file");
        if (!c) return false;
        if (name.empty()) return Fail("in-file の後にファイル名を書いてください");
        std::string bytes, reason;
        const std::string path = Cp932ToUtf8(name);
        if (!m_readFile(path, bytes, reason)) {
            m_error.unreadable = true;
            return Fail("入力ファイル " + path + " を読めません: " + reason);
        }
        const std::string text = TextToCp932(bytes);  // outlives the lines that point into it
        for (std::string_view line : SplitLines(text))
            if (!AddInput(*c, std::string(line))) return false;
        return true;
    }
    bool End(std::string_view text)
    {
        CTestCase* c = Current("eof");
        if (!c) return false;
        if (!text.empty()) return Fail("eof の後には何も書けません");
        if (c->inputEnds) return Fail("eof はひとつのケースに 1 回だけ書けます");
        c->inputEnds = true;
        return true;
    }
    bool Output(std::string_view text)
    {
        CTestCase* c = Current("out");
        if (!c) return false;
        if (c->noOutput) return Fail("no-output のケースに out は書けません");
        c->output.emplace_back(text);
        return true;
    }
    bool NoOutput(std::string_view text)
    {
        CTestCase* c = Current("no-output");
        if (!c) return false;
        if (!text.empty()) return Fail("no-output の後には何も書けません");
        if (!c->output.empty()) return Fail("out のあるケースに no-output は書けません");
        c->noOutput = true;
        return true;
    }
    bool Expect(std::string_view text)
    {
        CTestCase* c = Current("expect");
        if (!c) return false;
        CExpectedValue value;
        std::string message;
        if (!ParseExpectedValue(text, value, message)) return Fail(message);
        value.line = m_line;
        c->expected.push_back(std::move(value));
        return true;
    }

    const ReadNamedFile& m_readFile;
    CTestSuite& m_suite;
    CTestFileError& m_error;
    CTestCase m_defaults;
    std::set<std::string> m_names;
    int m_line = 0;
};
}  // namespace

bool ParseTestSuite(std::string_view bytes, const ReadNamedFile& readFile, CTestSuite& suite, CTestFileError& error)
{
    suite = {};
    error = {};
    const std::string text = TextToCp932(bytes);
    CParser parser(readFile, suite, error);
    int number = 0;
    for (std::string_view line : SplitLines(text))
        if (!parser.Line(++number, line)) return false;
    return parser.Finish();
}
