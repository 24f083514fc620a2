#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>
#include "text/text_encoding.h"

// 操作 → ﾃｽﾄ実行 for the page, which has no folder: the test file comes with the files
// its cases read (opened or dropped together), and the editor's text is what is tested.

struct CWebTestFile {
    std::string name;
    std::string bytes;
    std::map<std::string, std::string> beside;  // name -> bytes of the files opened with it
};

// What IN reads when the student opens a case in the simulator.
struct CWebCaseInput {
    std::vector<std::string> lines;  // code page 932
    bool ends = false;
};

struct CWebTestRun {
    std::string message;                // not empty: the test file is wrong (its line named) and nothing ran
    std::vector<std::string> lines;     // the error pane's, as the desktop program lists them
    std::vector<CWebCaseInput> inputs;  // case i is line 1 + i
};

// Runs every case on the program; progress(done, total) after each.
CWebTestRun RunWebTests(std::u16string_view text, TextEncoding encoding, const CWebTestFile& tests,
                        const std::function<void(int done, int total)>& progress = {});
