#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include "grading/test_suite.h"

// What one case gave for one program.
struct CCaseResult {
    std::string name;    // the case's (UTF-8)
    bool passed = false;
    std::string reason;  // why it failed (UTF-8)
    int points = 0;      // earned
    int maxPoints = 0;
    std::uint64_t steps = 0;  // statements executed
};

// One handed-in program against every case.
struct CSubmissionResult {
    std::string path;
    // Why no case could run (unreadable, not assembled); then every case failed with it.
    std::string problem;
    std::vector<std::string> assemblyErrors;  // "ERROR #line: message" (UTF-8)
    std::vector<CCaseResult> cases;
    bool complete = false;  // every case ran to its verdict (no interruption)

    int PassedCount() const;
    int Points() const;
    int MaxPoints() const;
    bool Passed() const { return complete && problem.empty() && PassedCount() == static_cast<int>(cases.size()); }
};

// Assembles a program's source bytes (code page 932 or UTF-8, by the usual rule) and runs
// every case on a machine of its own, each from a fresh start. interrupted, when set,
// ends the run under way and the rest are not run.
CSubmissionResult GradeSubmission(std::string path, std::string_view source, const CTestSuite& suite,
                                  const std::atomic<bool>* interrupted = nullptr);
// The same for a source already in code page 932 (an editor's text); caseDone, when
// given, is called as each case finishes (to show progress).
CSubmissionResult GradeProgram(std::string path, std::string cp932, const CTestSuite& suite,
                               const std::atomic<bool>* interrupted = nullptr,
                               const std::function<void()>& caseDone = {});

// A submission that could not be read: every case fails with the reason.
CSubmissionResult UnreadableSubmission(std::string path, const std::string& reason, const CTestSuite& suite);
