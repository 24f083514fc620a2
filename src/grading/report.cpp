#include "grading/report.h"

#include <cstdio>
#include "resources/message_ids.h"
#include "resources/string_table.h"

CClassTotals SumResults(const std::vector<CSubmissionResult>& results)
{
    CClassTotals totals;
    for (const auto& s : results) {
        ++totals.submissions;
        totals.passedSubmissions += s.Passed() ? 1 : 0;
        totals.cases += static_cast<int>(s.cases.size());
        totals.passedCases += s.PassedCount();
        totals.points += s.Points();
        totals.maxPoints += s.MaxPoints();
    }
    return totals;
}

namespace {
struct Colours {
    const char *pass, *fail, *off;
};

std::string Format(const char* format, long long a, long long b)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// Text for XML: the markup characters escaped, and bytes XML cannot hold (control
// characters a program wrote) as U+FFFD, so that the file stays well-formed.
std::string Xml(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += "\xEF\xBF\xBD";
            else
                out += static_cast<char>(c);
        }
    }
    return out;
}
}  // namespace

std::string TextReport(const std::vector<CSubmissionResult>& results, bool colours)
{
    const Colours c = colours ? Colours{"\x1b[32m", "\x1b[31m", "\x1b[0m"} : Colours{"", "", ""};
    std::string out;
    for (const auto& s : results) {
        out += s.path + ": ";
        out += s.Passed() ? std::string(c.pass) + "合格" + c.off : std::string(c.fail) + "不合格" + c.off;
        out += Format(" %lld/%lld ケース, ", s.PassedCount(), static_cast<long long>(s.cases.size()));
        out += Format("%lld/%lld 点", s.Points(), s.MaxPoints());
        if (!s.complete) out += " (中断: 残りのケースは実行していません)";
        out += "\n";
        if (!s.problem.empty()) out += "  " + s.problem + "\n";
        for (const auto& error : s.assemblyErrors) out += "    " + error + "\n";
        if (!s.problem.empty()) continue;
        for (const auto& r : s.cases) {
            out += r.passed ? std::string("  ") + c.pass + "○" + c.off + " " : std::string("  ") + c.fail + "×" + c.off + " ";
            out += r.name;
            if (!r.passed) out += ": " + r.reason;
            out += "\n";
        }
    }
    const CClassTotals t = SumResults(results);
    out += Format("合計: %lld 件中 %lld 件がすべて合格", t.submissions, t.passedSubmissions);
    out += Format(", ケース %lld/%lld", t.passedCases, t.cases);
    out += Format(", 点 %lld/%lld\n", t.points, t.maxPoints);
    return out;
}

std::string CsvReport(const std::vector<CSubmissionResult>& results)
{
    std::string out = "\xEF\xBB\xBFsubmission,case,result,points,max_points,steps,reason\r\n";
    for (const auto& s : results)
        for (const auto& r : s.cases) {
            out += CsvField(s.path) + "," + CsvField(r.name) + "," + (r.passed ? "pass" : "fail") + ",";
            out += std::to_string(r.points) + "," + std::to_string(r.maxPoints) + "," + std::to_string(r.steps) + ",";
            out += CsvField(r.reason) + "\r\n";
        }
    return out;
}

std::string JUnitReport(const std::vector<CSubmissionResult>& results)
{
    const CClassTotals t = SumResults(results);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<testsuites name=\"zelkora\" tests=\"" + std::to_string(t.cases) + "\" failures=\"" +
           std::to_string(t.cases - t.passedCases) + "\">\n";
    for (const auto& s : results) {
        const int failures = static_cast<int>(s.cases.size()) - s.PassedCount();
        out += "  <testsuite name=\"" + Xml(s.path) + "\" tests=\"" + std::to_string(s.cases.size()) +
               "\" failures=\"" + std::to_string(failures) + "\" errors=\"0\" skipped=\"0\">\n";
        for (const auto& r : s.cases) {
            out += "    <testcase name=\"" + Xml(r.name) + "\" classname=\"" + Xml(s.path) + "\"";
            if (r.passed) {
                out += "/>\n";
                continue;
            }
            out += ">\n      <failure message=\"" + Xml(r.reason) + "\">" + Xml(r.reason);
            for (const auto& error : s.assemblyErrors) {
                out += '\n';
                out += Xml(error);
            }
            out += "</failure>\n    </testcase>\n";
        }
        out += "  </testsuite>\n";
    }
    out += "</testsuites>\n";
    return out;
}

std::vector<std::string> CaseResultLines(const CSubmissionResult& result, std::string_view testFileName)
{
    std::vector<std::string> lines;
    lines.push_back(
        FormatMessageArgs(result.Passed() ? MSG_TESTS_PASSED : MSG_TESTS_FAILED,
                          {testFileName, std::to_string(result.PassedCount()), std::to_string(result.cases.size()),
                           std::to_string(result.Points()), std::to_string(result.MaxPoints())}));
    for (const auto& c : result.cases) {
        std::string& line = lines.emplace_back(c.passed ? "○ " : "× ");
        line += c.name;
        if (!c.passed) line.append(": ").append(c.reason);
    }
    if (!result.Passed() && result.problem.empty()) lines.emplace_back(LoadString(MSG_TESTS_OPEN_HINT));
    lines.insert(lines.end(), result.assemblyErrors.begin(), result.assemblyErrors.end());
    return lines;
}
