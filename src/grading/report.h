#pragma once
#include <string>
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
