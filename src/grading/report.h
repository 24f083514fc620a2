#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "grading/grade.h"

// The results of a class's programs, as people and other programs read them.

struct CClassTotals {
    int submissions = 0, passedSubmissions = 0;
    int cases = 0, passedCases = 0;
    long long points = 0, maxPoints = 0;
};
CClassTotals SumResults(const std::vector<CSubmissionResult>& results);

// For a person: per program each case's verdict and why it failed, then the totals.
// colours: ANSI colours for a terminal.
std::string TextReport(const std::vector<CSubmissionResult>& results, bool colours);
// One row per program and case, for a spreadsheet (UTF-8 with a byte order mark, so that
// spreadsheet programs read the Japanese as such).
std::string CsvReport(const std::vector<CSubmissionResult>& results);
// JUnit XML: a test suite per program, a test case per case.
std::string JUnitReport(const std::vector<CSubmissionResult>& results);

// One program's run of a test file as the desktop program and the page list it (UTF-8):
// the totals, then a line per case in the suite's order (line 1 + i is case i), then how
// to open a case when one failed, or the assembly errors.
std::vector<std::string> CaseResultLines(const CSubmissionResult& result, std::string_view testFileName);
