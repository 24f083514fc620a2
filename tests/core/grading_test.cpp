// Checking programs against a teacher's test file: the file's syntax and its messages,
// each kind of verdict, and the reports.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>
#include "grading/grade.h"
#include "grading/report.h"
#include "grading/test_suite.h"
#include "test_names.h"

namespace {
// Input files a test file names, from a table instead of a folder.
ReadNamedFile Files(std::map<std::string, std::string> files)
{
    return [files](const std::string& name, std::string& bytes, std::string& reason) {
        const auto it = files.find(name);
        if (it == files.end()) {
            reason = "No such file or directory";
            return false;
        }
        bytes = it->second;
        return true;
    };
}

CTestSuite Parse(const std::string& text)
{
    CTestSuite suite;
    CTestFileError error;
    EXPECT_TRUE(ParseTestSuite(text, Files({{"in.txt", "1\r\n2\r\n"}}), suite, error)) << error.message;
    return suite;
}

struct BadFile {
    const char* name;
    const char* text;
    int line;
    const char* message;  // a part of it
};

const BadFile kBadFiles[] = {
    {"empty", "", 0, "ケースがひとつもありません"},
    {"only comments", "# a\n; b\n\n", 0, "ケースがひとつもありません"},
    {"unknown keyword", "case a\nouput 5\n", 2, "知らない指定です: ouput"},
    {"input before a case", "in 5\ncase a\n", 1, "in はケースの中に"},
    {"expect before a case", "\n\nexpect GR0=1\n", 3, "expect はケースの中に"},
    {"nameless case", "case\n", 1, "ケースの名前を書いて"},
    {"same name twice", "case a\ncase b\ncase a\n", 3, "\"a\" は前にも"},
    {"steps zero", "case a\nsteps 0\n", 2, "steps には"},
    {"steps with a sign", "steps +5\ncase a\n", 1, "steps には"},
    {"steps beyond the limit", "case a\nsteps 1000000000001\n", 2, "steps には"},
    {"points as words", "case a\npoints two\n", 2, "points には"},
    {"negative points", "case a\npoints -1\n", 2, "points には"},
    {"trailing spaces what", "trailing-spaces maybe\ncase a\n", 1, "ignore か exact"},
    {"input after the end", "case a\neof\nin 5\n", 3, "eof の後に入力"},
    {"end twice", "case a\neof\neof\n", 3, "1 回だけ"},
    {"end with text", "case a\neof now\n", 2, "eof の後には何も"},
    {"input file missing", "case a\nin-file none.txt\n", 2, "none.txt を読めません"},
    {"expect without equals", "case a\nexpect GR0\n", 2, "名前=値"},
    {"expect without value", "case a\nexpect GR0=\n", 2, "名前=値"},
    {"expect value unreadable", "case a\nexpect GR0=#XYZ\n", 2, "値 #XYZ が読めません"},
    {"expect flags unreadable", "case a\nexpect FR=ZZ\n", 2, "FR は V (O), S, Z"},
    {"expect flags twice over", "case a\nexpect FR=OV\n", 2, "FR は V (O), S, Z"},
    {"expect target unreadable", "case a\nexpect gr0=1\n", 2, "レジスタでもラベルでも"},
    {"expect label too long", "case a\nexpect RESULTING9=1\n", 2, "レジスタでもラベルでも"},
    {"expect offset unreadable", "case a\nexpect BUF+x=1\n", 2, "ずれ x が読めません"},
    {"out after no-output", "case a\nno-output\nout 1\n", 3, "no-output のケースに out"},
    {"no-output after out", "case a\nout 1\nno-output\n", 3, "out のあるケースに no-output"},
    {"binary bytes", "case a\n\x7F" "ELF\x02\x01\x01\n", 2, "知らない指定です"},
};

class BadTestFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadTestFiles, NameTheirFirstWrongLine)
{
    CTestSuite suite;
    CTestFileError error;
    ASSERT_FALSE(ParseTestSuite(GetParam().text, Files({}), suite, error));
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.message;
    EXPECT_EQ(error.unreadable, std::string(GetParam().name) == "input file missing");
}

INSTANTIATE_TEST_SUITE_P(Grading, BadTestFiles, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

TEST(TestFiles, DefaultsBeforeTheFirstCaseAndSettingsOfEachCase)
{
    const CTestSuite suite = Parse(
        "# 設定\r\nsteps 500\r\npoints 3\r\ntrailing-spaces ignore\r\n"
        "case 一つ目\r\nin 12 34\r\nin\r\nin   lead\r\nout  6\r\nexpect GR1=#FFFF\r\n"
        "case second\r\npoints 5\r\nsteps 7\r\ntrailing-spaces exact\r\nin-file in.txt\r\neof\r\n"
        "expect BUF+2='A'\r\nexpect TABLE-1=%101\r\nexpect FR=SZ\r\n");
    ASSERT_EQ(suite.cases.size(), 2u);
    const CTestCase& first = suite.cases[0];
    EXPECT_EQ(first.name, "一つ目");
    EXPECT_EQ(first.line, 5);
    EXPECT_EQ(first.steps, 500u);
    EXPECT_EQ(first.points, 3);
    EXPECT_TRUE(first.ignoreTrailingSpaces);
    // The text after the keyword's one blank, as written.
    EXPECT_EQ(first.input, (std::vector<std::string>{"12 34", "", "  lead"}));
    EXPECT_FALSE(first.inputEnds);
    EXPECT_EQ(first.output, (std::vector<std::string>{" 6"}));
    ASSERT_EQ(first.expected.size(), 1u);
    EXPECT_EQ(first.expected[0].reg, 1);

    const CTestCase& second = suite.cases[1];
    EXPECT_EQ(second.points, 5);
    EXPECT_EQ(second.steps, 7u);
    EXPECT_FALSE(second.ignoreTrailingSpaces);
    EXPECT_EQ(second.input, (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(second.inputEnds);
    ASSERT_EQ(second.expected.size(), 3u);
    EXPECT_EQ(second.expected[0].base, "BUF");
    EXPECT_EQ(second.expected[0].offset, 2);
    EXPECT_EQ(second.expected[0].value, "'A");
    EXPECT_EQ(second.expected[1].offset, -1);
    EXPECT_EQ(second.expected[2].reg, 10);
    EXPECT_EQ(suite.TotalPoints(), 8);
}

TEST(TestFiles, ReadShiftJisAndUtf8Alike)
{
    // "case 合計" and "out ﾃｽﾄ" in code page 932, and the same in UTF-8.
    const CTestSuite sjis = Parse("case \x8D\x87\x8C\x76\nout \xC3\xBD\xC4\n");
    const CTestSuite utf8 = Parse("case 合計\nout ﾃｽﾄ\n");
    ASSERT_EQ(sjis.cases.size(), 1u);
    ASSERT_EQ(utf8.cases.size(), 1u);
    EXPECT_EQ(sjis.cases[0].name, "合計");
    EXPECT_EQ(sjis.cases[0].name, utf8.cases[0].name);
    // The machine's text is code page 932 whatever the file was.
    EXPECT_EQ(sjis.cases[0].output, std::vector<std::string>{"\xC3\xBD\xC4"});
    EXPECT_EQ(utf8.cases[0].output, sjis.cases[0].output);
}

// Adds up the numbers of its input lines (one digit each) until the end of input,
// writes the sum's digit and leaves it in GR0 and SUM (whose address is in GR4). OUT
// leaves 1 in FR.
const char* const kAdder =
    "ADD\tSTART\n"
    "\tLAD\tGR0,0\n"
    "\tLAD\tGR4,SUM\n"
    "LOOP\tIN\tBUF,LEN\n"
    "\tLD\tGR1,LEN\n"
    "\tJMI\tFIN\n"
    "\tLD\tGR2,BUF\n"
    "\tSUBA\tGR2,ZERO\n"
    "\tADDA\tGR0,GR2\n"
    "\tJUMP\tLOOP\n"
    "FIN\tST\tGR0,SUM\n"
    "\tLD\tGR3,GR0\n"
    "\tADDA\tGR3,ZERO\n"
    "\tST\tGR3,OUTB\n"
    "\tOUT\tOUTB,ONE\n"
    "\tRET\n"
    "BUF\tDS\t8\n"
    "LEN\tDS\t1\n"
    "SUM\tDS\t1\n"
    "OUTB\tDC\t' '\n"
    "ONE\tDC\t1\n"
    "ZERO\tDC\t'0'\n"
    "\tEND\n";

struct Verdict {
    const char* name;
    const char* program;  // nullptr: kAdder
    const char* tests;    // one case
    const char* reason;   // "": passes; else a part of the reason
};

const Verdict kVerdicts[] = {
    {"all kinds of checks pass", nullptr,
     "case a\nin 2\nin 3\neof\nout 5\nexpect GR0=5\nexpect SUM=5\nexpect SUM-1=#FFFF\nexpect OUTB='5'\n", ""},
    {"values in every syntax", nullptr, "case a\nin 7\neof\nout 7\nexpect GR0=%111\nexpect GR3=#37\nexpect GR3='7\n", ""},
    {"a label as the value", nullptr, "case a\neof\nout 0\nexpect GR1=-1\nexpect GR4=SUM\nexpect SP=0\n", ""},
    {"flags as letters", nullptr, "case a\neof\nout 0\nexpect FR=Z\nexpect FR=--Z\nexpect FR=1\n", ""},
    {"overflow as V or O", "O\tSTART\n\tLAD\tGR0,#7FFF\n\tADDA\tGR0,=1\n\tRET\n\tEND\n",
     "case a\nexpect FR=VS\nexpect FR=SO\nexpect FR=VS-\nexpect GR0=#8000\n", ""},
    {"flags that differ", nullptr, "case a\neof\nout 0\nexpect FR=-\n", "FR が違います: 期待 ---、実際 --Z"},
    {"a register that differs", nullptr, "case a\nin 4\neof\nout 4\nexpect GR0=5\n",
     "GR0 が違います: 期待 5 (#0005)、実際 4 (#0004)"},
    {"a word that differs", nullptr, "case a\nin 4\neof\nout 4\nexpect SUM=-2\n",
     "SUM (#0138) が違います: 期待 -2 (#FFFE)、実際 4 (#0004)"},
    {"a label the program lacks", nullptr, "case a\neof\nout 0\nexpect RESULT=1\n", "ラベル RESULT がプログラムにありません"},
    {"an output line that differs", nullptr, "case a\nin 4\neof\nout 5\n", "出力 1 行目が違います: 期待 \"5\"、実際 \"4\""},
    {"an output line missing", nullptr, "case a\neof\nout 0\nout 1\n", "出力 2 行目がありません: 期待 \"1\""},
    {"an output line too many", nullptr, "case a\neof\nout 0\nout\n", "出力 2 行目がありません"},
    {"trailing spaces exact", nullptr, "case a\neof\nout 0 \n", "出力 1 行目が違います"},
    {"trailing spaces ignored", nullptr, "trailing-spaces ignore\ncase a\neof\nout 0   \n", ""},
    {"input short of the lines read", nullptr, "case a\nin 1\nout 1\n", "入力が足りません: 1 行を読んだ後に"},
    {"output unchecked without out lines", nullptr, "case a\neof\nexpect GR0=0\n", ""},
    {"no output wanted", nullptr, "case a\neof\nno-output\n", "出力 1 行目が余分です: \"0\""},
    {"input from nothing", nullptr, "case a\neof\nout 0\nexpect GR0=0\n", ""},
    {"the step limit", "E\tSTART\nL\tJUMP\tL\n\tEND\n", "case a\nsteps 1000\n", "ステップ数の上限 1000 に達しました"},
    {"a run into data", "E\tSTART\n\tJUMP\tX\nX\tDC\t0\n\tEND\n", "case a\n", "実行エラー: "},
    {"output flood stops at the first extra line", "F\tSTART\nL\tOUT\tA,N\n\tJUMP\tL\nA\tDC\t'x'\nN\tDC\t1\n\tEND\n",
     "case a\nsteps 100000000\nout x\nout x\n", "出力 3 行目が余分です: \"x\""},
};

class Verdicts : public ::testing::TestWithParam<Verdict> {};

TEST_P(Verdicts, SayWhyACaseFailed)
{
    const CTestSuite suite = Parse(GetParam().tests);
    const CSubmissionResult result = GradeSubmission("p.asm", GetParam().program ? GetParam().program : kAdder, suite);
    ASSERT_TRUE(result.problem.empty()) << result.problem;
    ASSERT_EQ(result.cases.size(), 1u);
    const CCaseResult& c = result.cases[0];
    const std::string expected = GetParam().reason;
    EXPECT_EQ(c.passed, expected.empty()) << c.reason;
    if (!expected.empty()) {
        EXPECT_NE(c.reason.find(expected), std::string::npos) << c.reason;
    }
    EXPECT_EQ(c.points, c.passed ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Grading, Verdicts, ::testing::ValuesIn(kVerdicts),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

TEST(Grading, EachCaseStartsFromAFreshMachine)
{
    // The first case writes SUM; the second must not find it written.
    const CTestSuite suite = Parse("case a\nin 9\neof\nout 9\ncase b\neof\nout 0\nexpect SUM=0\nexpect GR0=0\n");
    const CSubmissionResult result = GradeSubmission("p.asm", kAdder, suite);
    ASSERT_EQ(result.cases.size(), 2u);
    EXPECT_TRUE(result.Passed()) << result.cases[1].reason;
    EXPECT_EQ(result.Points(), 2);
}

TEST(Grading, AProgramThatDoesNotAssembleFailsEveryCaseWithItsErrors)
{
    const CTestSuite suite = Parse("case a\npoints 4\ncase b\n");
    const CSubmissionResult result = GradeSubmission("p.asm", "B\tSTART\n\tLD\tGR9,X\n\tEND\n", suite);
    EXPECT_NE(result.problem.find("アセンブルできません"), std::string::npos);
    ASSERT_EQ(result.assemblyErrors.size(), 1u);
    EXPECT_EQ(result.assemblyErrors[0].rfind("ERROR #2: ", 0), 0u);
    ASSERT_EQ(result.cases.size(), 2u);
    EXPECT_EQ(result.MaxPoints(), 5);
    EXPECT_EQ(result.Points(), 0);
    EXPECT_EQ(result.cases[1].reason, result.problem);
}

TEST(Grading, AnInterruptionLeavesTheRestUnrun)
{
    const CTestSuite suite = Parse("case a\nsteps 1000000000000\ncase b\n");
    std::atomic<bool> interrupted{true};
    const CSubmissionResult result = GradeSubmission("p.asm", "E\tSTART\nL\tJUMP\tL\n\tEND\n", suite, &interrupted);
    EXPECT_FALSE(result.complete);
    EXPECT_TRUE(result.cases.empty());
}

std::vector<CSubmissionResult> SomeResults()
{
    const CTestSuite suite = Parse("case \"quoted\", too\neof\nout 0\ncase b<&>\neof\nout 1\npoints 2\n");
    return {GradeSubmission("class/a.asm", kAdder, suite), UnreadableSubmission("class/b.asm", "Permission denied", suite)};
}

TEST(Reports, TextGivesEachVerdictAndTheTotals)
{
    const std::string text = TextReport(SomeResults(), false);
    EXPECT_EQ(text,
              "class/a.asm: 不合格 1/2 ケース, 1/3 点\n"
              "  ○ \"quoted\", too\n"
              "  × b<&>: 出力 1 行目が違います: 期待 \"1\"、実際 \"0\"\n"
              "class/b.asm: 不合格 0/2 ケース, 0/3 点\n"
              "  読めません: Permission denied\n"
              "合計: 2 件中 0 件がすべて合格, ケース 1/4, 点 1/6\n");
    EXPECT_NE(TextReport(SomeResults(), true).find("\x1b[31m不合格\x1b[0m"), std::string::npos);
}

TEST(Reports, CsvQuotesWhatASpreadsheetWouldSplit)
{
    const std::string csv = CsvReport(SomeResults());
    EXPECT_EQ(csv,
              "\xEF\xBB\xBFsubmission,case,result,points,max_points,steps,reason\r\n"
              "class/a.asm,\"\"\"quoted\"\", too\",pass,1,1,11,\r\n"
              "class/a.asm,b<&>,fail,0,2,11,\"出力 1 行目が違います: 期待 \"\"1\"\"、実際 \"\"0\"\"\"\r\n"
              "class/b.asm,\"\"\"quoted\"\", too\",fail,0,1,0,読めません: Permission denied\r\n"
              "class/b.asm,b<&>,fail,0,2,0,読めません: Permission denied\r\n");
}

TEST(Reports, JUnitEscapesMarkupAndCountsFailures)
{
    const std::string xml = JUnitReport(SomeResults());
    EXPECT_NE(xml.find("<testsuites name=\"zelkora\" tests=\"4\" failures=\"3\">"), std::string::npos);
    EXPECT_NE(xml.find("<testsuite name=\"class/a.asm\" tests=\"2\" failures=\"1\""), std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"&quot;quoted&quot;, too\" classname=\"class/a.asm\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"b&lt;&amp;&gt;\""), std::string::npos);
    EXPECT_EQ(xml.find("b<&>"), std::string::npos);
}
}  // namespace
