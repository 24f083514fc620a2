#include "web/web_grading.h"

#include "grading/grade.h"
#include "grading/report.h"
#include "grading/test_suite.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "text/source_text.h"

namespace {
// A file is found by the name the test file gives, or by its last part: a browser hands
// the page files without their folders.
const std::string* FindBeside(const CWebTestFile& tests, const std::string& name)
{
    if (auto it = tests.beside.find(name); it != tests.beside.end()) return &it->second;
    const size_t slash = name.find_last_of("/\\");
    if (slash == std::string::npos) return nullptr;
    const auto it = tests.beside.find(name.substr(slash + 1));
    return it != tests.beside.end() ? &it->second : nullptr;
}
}  // namespace

CWebTestRun RunWebTests(std::u16string_view text, TextEncoding encoding, const CWebTestFile& tests,
                        const std::function<void(int done, int total)>& progress)
{
    CWebTestRun run;
    const ReadNamedFile readBeside = [&tests](const std::string& name, std::string& bytes, std::string& reason) {
        if (const std::string* found = FindBeside(tests, name)) {
            bytes = *found;
            return true;
        }
        reason = LoadString(MSG_TESTS_FILE_NOT_GIVEN);
        return false;
    };
    CTestSuite suite;
    CTestFileError wrong;
    if (!ParseTestSuite(tests.bytes, readBeside, suite, wrong)) {
        run.message = FormatMessageArgs(MSG_TESTS_WRONG, {tests.name, std::to_string(wrong.line), wrong.message});
        return run;
    }
    const int total = static_cast<int>(suite.cases.size());
    int done = 0;
    const CSubmissionResult result = GradeProgram({}, SourceTextToCp932(text, encoding), suite, nullptr, [&] {
        if (progress) progress(++done, total);
    });
    run.lines = CaseResultLines(result, tests.name);
    for (const CTestCase& c : suite.cases) run.inputs.push_back({c.input, c.inputEnds});
    return run;
}
